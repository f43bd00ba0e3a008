#include "dialogs/DialogDefaultAccounts.h"

#include "database/Database.h"
#include "dialogs/ComboCodes.h"

namespace {

constexpr int kIdOk = 1000;
constexpr int kComboIds[4] = {1445, 1148, 1149, 1150};
constexpr uint32_t kSettings[4] = {param::kAccountPayments, param::kAccountPaymentsByStudio, param::kAccountCredits,
                                   param::kAccountRefunds};

const ui::DialogTemplate kDefaultAccountsTemplate{153, "Default Accounts", 194, 106, {
    {ui::Ctl::Label, -1, "For payments to studio"},
    {ui::Ctl::ComboBox, 1445, ""},
    {ui::Ctl::Label, -1, "For payments by studio"},
    {ui::Ctl::ComboBox, 1148, ""},
    {ui::Ctl::Label, -1, "For credits to students"},
    {ui::Ctl::ComboBox, 1149, ""},
    {ui::Ctl::Label, -1, "For refunds to students"},
    {ui::Ctl::ComboBox, 1150, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogDefaultAccounts::CDialogDefaultAccounts(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kDefaultAccountsTemplate, parent, database, "CDialogDefaultAccounts", kIdOk)
{
}

bool CDialogDefaultAccounts::OnInitDialog()
{
    for (int i = 0; i < 4; ++i) SubclassDlgItem(kComboIds[i], m_Combos[i]);
    CRefreshHoldDialog::OnInitDialog();
    if (m_pDatabase == nullptr) return true;
    for (int i = 0; i < 4; ++i) {
        // A deleted category shows "<None>".
        const uint32_t code = m_pDatabase->GetDefaultAccount(kSettings[i]);
        m_pDatabase->FillCategoryComboBox(&m_Combos[i], 'A', code, 1, 0, NO_CODE);
        SelectCode(m_Combos[i], code, false);
    }
    return true;
}

bool CDialogDefaultAccounts::OnCommand(int id, int code)
{
    if (id == kIdOk && code == ui::BN_CLICKED) {
        OnOkButton();
        return true;
    }
    return CRefreshHoldDialog::OnCommand(id, code);
}

void CDialogDefaultAccounts::OnOkButton()
{
    if (m_pDatabase == nullptr) return;
    uint32_t chosen[4];
    for (int i = 0; i < 4; ++i) chosen[i] = GetSelectedCode(m_Combos[i]);
    // Only these four fields go onto the Parameters record as the other desks left it.
    m_pDatabase->SaveParameterFields([&](stParameters& p) {
        for (int i = 0; i < 4; ++i) p.SetUInt(kSettings[i], chosen[i]);
        return true;
    });
    EndDialog(ui::IDOK);
}
