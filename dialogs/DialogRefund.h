#pragma once
// A refund paid by the studio (payment record type 'q'): to whom, what for, amount, method,
// date, account and tax category; prints a cheque for it. Edits the caller's record; the caller
// stores it on IDOK.

#include <cstdint>
#include <string>

#include "dialogs/PaymentRecordDialog.h"
#include "records/PaymentRecord.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CDialogRefund : public CPaymentRecordDialog {
public:
    explicit CDialogRefund(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;

    void LookUpPerson();
    // Hands date, payee, amount and "Refund" to the cheque printer (greyed while there is none).
    void PrintCheck();

    CPaymentRecord* m_pPayment = nullptr;
    CPaymentRecord m_Copy;
    uint32_t m_nPerson = 0xFFFFFFFF;
    CDateTime m_Date;
    RadioGroup m_MethodButtons;
    CComboMenu m_Account;
    CComboMenu m_Tax;
    std::string m_strTo;
    std::string m_strDescription;
    double m_dAmount = 0.0;
    std::string m_strID;

protected:
    void OnOkButton() override;
};
