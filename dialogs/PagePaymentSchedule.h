#pragma once
// "Purchase payments": the scheduled payments of one purchase (purchase mode, in the purchase
// sheet) or of all of a person's active purchases (person mode), listed by date with the totals
// box, and the buttons that add, edit, delete, split, equalize and mark them paid, and apply
// discounts, refunds and credits. Every sum and amount change goes through CPurchaseMoney.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/PropertyPage.h"
#include "studio/DataToken.h"

class CCreditLedger;
class CDatabase;
class CPerson;
class CPurchaseRecord;
class CSchedulePayment;

class CPagePaymentSchedule : public ui::PropertyPage {
public:
    explicit CPagePaymentSchedule(CDatabase* database);

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnCommand(int id, int code) override;

    void OnEnterPage();
    void OnExitPage();
    void FillFromPurchase();
    void FillFromPerson();
    // Sorts the rows, lists them and shows the totals for `total`.
    void ShowTotals(double total);
    void CheckPaymentTotal(const CPurchaseRecord& purchase);
    void UpdateButtons();

    void AddPayment(char type);
    // Prepares a new payment of `type` for `purchase` and runs its chooser or dialog; true when
    // accepted.
    bool InitNewPayment(char type, CPurchaseRecord& purchase, CSchedulePayment& payment);
    bool SelectDiscount(CSchedulePayment& payment);
    bool ApplyCredit(CPurchaseRecord& purchase, CSchedulePayment& payment);
    void OnEditPayment();
    void OnMarkPaid();
    void OnDeletePayment();
    void OnSplitPayment();
    void OnEqualizeAll();

    CDatabase* m_pDatabase = nullptr;
    CPerson* m_pPerson = nullptr;          // person mode
    CPurchaseRecord* m_pPurchase = nullptr;  // purchase mode
    CPerson* m_pSheetPerson = nullptr;     // whose credits are offered
    // The credits drawn on while the sheet is open (the sheet's).
    CCreditLedger* m_pLedger = nullptr;
    bool m_bEntered = false;
    std::vector<stDataToken> m_aRows;
    std::string m_strTotals;

private:
    // The selected row, or null after "No item selected".
    const stDataToken* SelectedRow(bool tell);
    CSchedulePayment* PaymentOf(const stDataToken& row) const;
    void Refill();
};
