#pragma once
// "List of purchases": the page of the person sheet that lists every purchase the person takes
// part in (student, partner or bill-to) and adds, edits, deletes, converts, cancels and
// uncancels them through the database.

#include <cstdint>
#include <vector>

#include "platform/ui/PropertyPage.h"

class CDatabase;
class CPerson;

class CDialogPurchaseList : public ui::PropertyPage {
public:
    static constexpr int kIdList = 1105;
    static constexpr int kIdAdd = 1107;
    static constexpr int kIdEdit = 1109;
    static constexpr int kIdDelete = 1111;
    static constexpr int kIdConvert = 1369;
    static constexpr int kIdCancel = 1368;
    static constexpr int kIdUncancel = 1354;

    explicit CDialogPurchaseList(CDatabase* database);

    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    void FillList();
    void UpdateButtons();

    CDatabase* m_pDatabase = nullptr;
    CPerson* m_pPerson = nullptr;
    // The listed purchases that are cancelled or converted.
    std::vector<uint32_t> m_aInactive;
    int m_nFilled = 0;

private:
    // The selected purchase's code; false after "No item selected".
    bool SelectedCode(uint32_t& code);
};
