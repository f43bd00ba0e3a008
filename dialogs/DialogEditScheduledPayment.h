#pragma once
// One scheduled payment of a purchase (or a refund): payer, what for, amount, method, status,
// date, account, tax category and receipt number; fills in the purchase's open balance, prints a
// receipt and applies the payer's credits. Edits the caller's payment in place; Cancel puts it
// back as it was.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/PaymentRecordDialog.h"
#include "records/SchedulePayment.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CCreditLedger;
class CPerson;
class CPurchaseRecord;

class CDialogEditScheduledPayment : public CPaymentRecordDialog {
public:
    explicit CDialogEditScheduledPayment(CDatabase* database, ui::Window* parent = nullptr);
    ~CDialogEditScheduledPayment() override;

    // The receipt document's printer (payer, receipt number, line texts, line amounts); while it
    // is unset "Print receipt" is greyed.
    using ReceiptPrinter = std::function<void(CDatabase& database, uint32_t payer, uint32_t number,
                                              const std::vector<std::string>& texts,
                                              const std::vector<double>& amounts)>;
    static ReceiptPrinter& ReceiptPrinterSeam();

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;
    void OnCancel() override;

    // Read the controls and store them into the payment; false (after its message) on the first
    // failed check.
    bool ValidateAndStore();
    void CalculateAsBalance();
    void PrintReceipt();
    void ApplyCredit();

    CSchedulePayment* m_pPayment = nullptr;
    CSchedulePayment m_Snapshot;
    CPerson* m_pExtraPerson = nullptr;
    CPurchaseRecord* m_pPurchase = nullptr;
    int m_nCreditAllowed = 0;
    // The caller's ledger of the credits applied; null: the dialog's own, written on OK.
    CCreditLedger* m_pLedger = nullptr;
    RadioGroup m_StatusButtons;
    RadioGroup m_MethodButtons;
    CComboMenu m_Payer;
    CComboMenu m_Account;
    CComboMenu m_Tax;
    CDateTime m_Date;
    std::vector<std::string> m_aReceiptTexts;
    std::vector<double> m_aReceiptAmounts;
    std::vector<std::unique_ptr<CSchedulePayment>> m_aNewCredits;
    bool m_bCreditApplied = false;
    std::string m_strFor;
    double m_dAmount = 0.0;
    std::string m_strID;
    unsigned m_nReceipt = 0;

protected:
    void OnOkButton() override;

private:
    CCreditLedger& Ledger();
    bool IsRefund() const { return m_pPayment && m_pPayment->m_cKind == 'F'; }

    std::unique_ptr<CCreditLedger> m_pOwnLedger;
    // The number offered to a payment without one, and the last number confirmed in this run.
    uint32_t m_nOffered = 0;
    uint32_t m_nConfirmed = 0xFFFFFFFF;
};

// The payment date in a date field: 0.0 for the empty pattern; false when the text is no date.
bool ReadPaymentDate(const CDateTime& field, DATE& date);
