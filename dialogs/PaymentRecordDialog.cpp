#include "dialogs/PaymentRecordDialog.h"

#include "database/Database.h"
#include "dialogs/ComboCodes.h"

void CPaymentRecordDialog::OnCancel()
{
    if (m_fnRestore) m_fnRestore();
    EndDialog(ui::IDCANCEL);
}

void CPaymentRecordDialog::ShowCategoryCode(CComboMenu& combo, char kind, uint32_t code)
{
    m_pDatabase->FillCategoryComboBox(&combo, kind, code, 1, 0, NO_CODE);
    SelectCode(combo, code, true);
}

void CPaymentRecordDialog::ShowPersonCode(CComboMenu& combo, char kind, uint32_t code)
{
    m_pDatabase->FillPersonTypeCombo(&combo, kind, code);
    SelectCode(combo, code, true);
}

void CPaymentRecordDialog::ShowStamps(int id, uint8_t user1, double date1, uint8_t user2, double date2)
{
    SetDlgItemText(id, m_pDatabase->FormatStampLine(user1, date1, user2, date2));
}
