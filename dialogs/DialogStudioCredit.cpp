#include "dialogs/DialogStudioCredit.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kIdTo = 1143;
constexpr int kIdLookUp = 1146;
constexpr int kIdFor = 1077;
constexpr int kIdAmount = 1136;
constexpr int kIdAccount = 1147;
constexpr int kIdTax = 1148;
constexpr int kIdStamps = 1054;
constexpr int kIdOk = 1000;
constexpr double kLeast = 0.001;

const ui::DialogTemplate kCreditTemplate{311, "Create a credit", 300, 120, {
    {ui::Ctl::Label, -1, "To"},
    {ui::Ctl::Label, kIdTo, ""},
    {ui::Ctl::Button, kIdLookUp, "Look up in database"},
    {ui::Ctl::Label, -1, "For"},
    {ui::Ctl::Edit, kIdFor, ""},
    {ui::Ctl::Label, -1, "Amount"},
    {ui::Ctl::Edit, kIdAmount, ""},
    {ui::Ctl::Label, -1, "Account"},
    {ui::Ctl::ComboBox, kIdAccount, ""},
    {ui::Ctl::Label, -1, "Tax category"},
    {ui::Ctl::ComboBox, kIdTax, ""},
    {ui::Ctl::Label, kIdStamps, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogStudioCredit::CDialogStudioCredit(CDatabase* database, CPaymentRecord* payment, ui::Window* parent)
    : CPaymentRecordDialog(kCreditTemplate, parent, database, "CDialogStudioCredit", kIdOk), m_pPayment(payment)
{
}

bool CDialogStudioCredit::OnInitDialog()
{
    if (!BeginRecord(m_pPayment, {{kIdAccount, &m_Account}, {kIdTax, &m_Tax}}, kIdStamps)) return false;
    CPaymentRecord& p = *m_pPayment;
    std::string name;
    if (p.m_nPerson != NO_CODE) m_pDatabase->GetPersonName(name, p.m_nPerson, 0);
    SetDlgItemText(kIdTo, name);
    m_strDescription = p.m_sText;
    m_dAmount = p.m_dAmount;
    ShowCategoryCode(m_Account, 'A', p.m_nField15);
    ShowCategoryCode(m_Tax, 'T', p.m_nField14);
    KeepSnapshot(p, m_Copy);
    UpdateData(false);
    return true;
}

void CDialogStudioCredit::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdFor, m_strDescription);
    dx.Text(kIdAmount, m_dAmount);
}

bool CDialogStudioCredit::OnCommand(int id, int code)
{
    if (code != ui::BN_CLICKED) return CPaymentRecordDialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOkButton(); return true;
    case kIdLookUp: LookUpPerson(); return true;
    default: return CPaymentRecordDialog::OnCommand(id, code);
    }
}

void CDialogStudioCredit::LookUpPerson()
{
    const int32_t chosen = m_pDatabase->SelectPerson(0, 0, 1, 0);
    if (chosen == -1) return;
    m_pPayment->m_nPerson = static_cast<uint32_t>(chosen);
    std::string name;
    m_pDatabase->GetPersonName(name, m_pPayment->m_nPerson, 0);
    SetDlgItemText(kIdTo, name);
}

void CDialogStudioCredit::OnOkButton()
{
    if (!UpdateData(true)) return;
    if (m_strDescription.empty()) {
        GetResponse("No description of payment", MB_OK);
        return;
    }
    if (m_dAmount < kLeast) {
        GetResponse("Zero amount payment", MB_OK);
        return;
    }
    CPaymentRecord& p = *m_pPayment;
    p.m_sText = m_strDescription;
    p.m_dAmount = m_dAmount;
    p.m_nField15 = GetSelectedCode(m_Account);
    p.m_nField14 = GetSelectedCode(m_Tax);
    if (!p.IsEqual(m_Copy)) {
        p.m_cStamp2User = GetStampUserCode();
        p.m_dStamp2Date = GetNow();
    }
    EndDialog(ui::IDOK);
}
