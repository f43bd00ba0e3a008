#pragma once
// A payment made by the studio (type 'P'): to whom, what for (typed, or an interview-source
// category looked up), amount, method, identifier, status, date, account and tax category; prints
// a cheque for it. Edits the caller's payment on OK; the caller stores it.

#include <functional>
#include <string>

#include "dialogs/PaymentRecordDialog.h"
#include "records/PaymentRecord.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

// What the cheque dialog is handed: date (08:00 of the payment's day), payee, amount, memo.
struct stCheckData {
    DATE dDate = 0.0;
    std::string sPayee;
    double dAmount = 0.0;
    std::string sMemo;
};

class CDialogPaymentEdit : public CPaymentRecordDialog {
public:
    explicit CDialogPaymentEdit(CDatabase* database, ui::Window* parent = nullptr);

    // The cheque dialog; while it is unset "Print check" is greyed.
    using CheckPrinter = std::function<void(CDatabase& database, const stCheckData& check)>;
    static CheckPrinter& CheckPrinterSeam();

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;

    void LookUpPerson();
    void LookUpItem();
    void PrintCheck();

    CPaymentRecord* m_pPayment = nullptr;
    CPaymentRecord m_Copy;
    uint32_t m_nLookedUpItem = 0xFFFFFFFF;
    CDateTime m_Date;
    RadioGroup m_StatusButtons;
    RadioGroup m_MethodButtons;
    CComboMenu m_Account;
    CComboMenu m_Tax;
    double m_dAmount = 0.0;
    std::string m_strID;
    std::string m_strPayee;
    std::string m_strDescription;

protected:
    void OnOkButton() override;
};
