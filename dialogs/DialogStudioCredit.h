#pragma once
// A credit the studio grants a person (payment record type 'c'): to whom, what for, amount,
// account and tax category. Edits the caller's record on OK; the caller stores it.

#include <cstdint>
#include <string>

#include "dialogs/PaymentRecordDialog.h"
#include "records/PaymentRecord.h"
#include "widgets/ComboMenu.h"

class CDialogStudioCredit : public CPaymentRecordDialog {
public:
    CDialogStudioCredit(CDatabase* database, CPaymentRecord* payment, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;
    void LookUpPerson();

    CPaymentRecord* m_pPayment = nullptr;
    CPaymentRecord m_Copy;
    CComboMenu m_Account;
    CComboMenu m_Tax;
    std::string m_strDescription;
    double m_dAmount = 0.0;

protected:
    void OnOkButton() override;
};
