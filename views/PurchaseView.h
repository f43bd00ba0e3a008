#pragma once
// CPurchaseView: the purchases of the studio (view 5, menu 110), one line each, sorted by date,
// person or item. Adding, editing, deleting, cancelling, reinstating and converting purchases,
// a refund on a contract, printing and the view's format.

#include "views/ScrollBase.h"
#include "views/ViewEntry.h"

#include <cstdint>
#include <vector>

class CPurchaseRecord;

class CPurchaseView : public CScrollBase {
public:
    static constexpr int kMenuId = 110;
    static constexpr uint32_t kFormatIndex = 5;
    enum : int {
        kCmdMainView = 30036,
        kCmdFindFirst = 30046,
        kCmdFindRepeat = 30049,
        kCmdAdd = 30045,
        kCmdCart = 32874,
        kCmdEdit = 30047,
        kCmdDelete = 30048,
        kCmdCancel = 32871,
        kCmdUncancel = 32882,
        kCmdConvert = 32872,
        kCmdRefund = 32864,
        kCmdFormat = 30066,
        kCmdSortDate = 32917,
        kCmdSortPerson = 32918,
        kCmdSortItem = 32919,
        kCmdPrint = 30056,
        kCmdHelp = 57670,
    };

    CPurchaseView();
    static void RegisterMenu();

    void ClearLines() override;
    void SetUpLines() override;
    void EditHighlighted() override;
    void DeleteHighlighted() override;
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override;
    bool OnCommand(int id, int code) override;

    // Sorts by 'D' date, 'P' person (last, first) or 'I' item, and repaints.
    void Sort(char order);
    void CancelHighlighted();
    void UncancelHighlighted();
    void ConvertHighlighted();
    // A refund on the highlighted contract through the scheduled-payment dialog.
    void RefundHighlighted();
    // The highlighted purchase as the database has it now, or null.
    CPurchaseRecord* GetHighlightedPurchase() const;

    char m_cSortOrder = 0;
    std::vector<stViewEntry> m_aLines;

private:
    void InstallUpdaters();
    void ApplySort();
};
