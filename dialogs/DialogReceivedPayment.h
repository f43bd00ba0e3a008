#pragma once
// A payment received outside a contract (payment record type 'R'): from whom (typed, looked up or
// added as a new person), what for, amount, method, status, date, receipt number, account and the
// teacher credited; prints a receipt. Edits the caller's record; the caller stores it on IDOK.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dialogs/PaymentRecordDialog.h"
#include "records/PaymentRecord.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CDialogReceivedPayment : public CPaymentRecordDialog {
public:
    explicit CDialogReceivedPayment(CDatabase* database, ui::Window* parent = nullptr);

    // The receipt document (person or -1, payer text when no person is linked, line texts, line
    // amounts, receipt number); while it is unset "Print receipt" is greyed.
    using ReceiptPrinter = std::function<void(CDatabase& database, uint32_t person, const std::string& payer,
                                              const std::vector<std::string>& texts,
                                              const std::vector<double>& amounts, uint32_t number)>;
    static ReceiptPrinter& ReceiptPrinterSeam();

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;

    // Reads the controls into the record; false (after its message) on the first failed check.
    bool ValidateAndStore();
    void LookUpPerson();
    void AddPerson();
    void PrintReceipt();

    CPaymentRecord* m_pPayment = nullptr;
    CPaymentRecord m_Copy;
    uint32_t m_nPerson = 0xFFFFFFFF;
    CDateTime m_Date;
    RadioGroup m_StatusButtons;
    RadioGroup m_MethodButtons;
    CComboMenu m_Account;
    CComboMenu m_Teacher;
    std::string m_strFrom;
    std::string m_strDescription;
    double m_dAmount = 0.0;
    std::string m_strID;
    unsigned m_nReceipt = 0;
    std::vector<std::string> m_aReceiptTexts;
    std::vector<double> m_aReceiptAmounts;

protected:
    void OnOkButton() override;

private:
    uint32_t m_nOffered = 0;
    uint32_t m_nConfirmed = 0xFFFFFFFF;
};
