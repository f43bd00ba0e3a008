#pragma once
// CDialogSelfCheckinSelect: "Student self check-in": the student picks today's activities and
// signs in; the chosen lessons are used, limited-quantity items charged (the item with the
// fewest uses left first), classes and walk-in items bought with their payment due, and a name
// tag (name, the chosen activities, the date) previewed in frame 1399 and printed on request.
//
// The opener sets the student, calls GetActivityTokens (0: nothing to offer, do not show it) and
// DoModal, and afterwards reads m_strPaymentNotice.

#include <cstdint>
#include <string>
#include <vector>

#include "dialogs/RefreshHoldDialog.h"
#include "studio/DataToken.h"

class CPerson;
class CPurchaseItem;

// The message the dialog posts itself after its first paint: draw the first preview.
constexpr uint32_t MSG_SELFSIGNIN = 0x0402;

class CDialogSelfCheckinSelect : public CRefreshHoldDialog {
public:
    CDialogSelfCheckinSelect(CDatabase* database, ui::Window* parent = nullptr);

    // Builds the rows offered to the student today; their number.
    int GetActivityTokens();
    // The row to charge for a use of a limited-quantity item of the price-list code: the one
    // whose item has the fewest uses left (more than 0), the first of equals; -1 when none.
    int SelectFixedNumberItemToCharge(uint32_t priceListCode) const;
    // The uses left over the limited-quantity items of the rows of that code, each item once.
    uint32_t NumberRemainingOfFixedNumberItems(uint32_t priceListCode) const;
    // The selected rows' texts into m_aSelected (refusing lines past an item's limit); their number.
    int GetData();
    void OnMyOk();
    void OnSelchangeSelectlist();
    // The tag: the name line, the selected activities and the date line from (x, y).
    void DrawNameTag(ui::DC& dc, int x, int y);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    CPerson* m_pStudent = nullptr;
    std::vector<stDataToken> m_aTokens;
    std::string m_strNameLine;
    std::string m_strDateLine;
    std::vector<std::string> m_aSelected;
    int m_bShown = 0;
    std::string m_strPaymentNotice;

protected:
    void OnOkButton() override { OnMyOk(); }

private:
    // The frame the tag is previewed in.
    class CTagPreview : public ui::Window {
    public:
        explicit CTagPreview(CDialogSelfCheckinSelect& owner) : m_Owner(owner) {}
        void OnPaint(ui::DC& dc) override;

    private:
        CDialogSelfCheckinSelect& m_Owner;
    };

    void FillList();
    void PrintNameTag();
    // A message to the student, with the dialog out of the way while it is shown.
    void TellStudent(const std::string& text);
    std::string RowName(const stDataToken& row) const;
    // The purchase item of a lesson row, null for other rows.
    const CPurchaseItem* RowItem(const stDataToken& row) const;
    bool IsLimitedQuantityRow(const stDataToken& row) const;

    CTagPreview m_Preview{*this};
};
