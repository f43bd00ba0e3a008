#include "dialogs/DialogPaymentEdit.h"

#include <cmath>

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "dialogs/DialogEditScheduledPayment.h"
#include "dialogs/DialogMenu.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kIdPayee = 1143;
constexpr int kIdPayeeLabel = 1142;
constexpr int kIdLookUpPerson = 1146;
constexpr int kIdFor = 1077;
constexpr int kIdLookUp = 1358;
constexpr int kIdAmount = 1136;
constexpr int kIdCheck = 1212;
constexpr int kIdCard = 1133;
constexpr int kIdCash = 1132;
constexpr int kIdID = 1134;
constexpr int kIdScheduled = 1210;
constexpr int kIdUnscheduled = 1127;
constexpr int kIdPaid = 1129;
constexpr int kIdDate = 1010;
constexpr int kIdSpin = 1037;
constexpr int kIdPrintCheck = 1150;
constexpr int kIdAccount = 1147;
constexpr int kIdTax = 1148;
constexpr int kIdStamps = 1054;
constexpr int kIdOk = 1000;
// The least amount: 0.001 itself is accepted.
constexpr double kLeast = 0.001;
constexpr uint32_t kClearItem = 0xFFFFFFFE;

const ui::DialogTemplate kPaymentEditTemplate{237, "Payment data", 327, 174, {
    {ui::Ctl::Label, kIdPayeeLabel, "From"},
    {ui::Ctl::Edit, kIdPayee, ""},
    {ui::Ctl::Button, kIdLookUpPerson, "Look up in database"},
    {ui::Ctl::Label, -1, "For"},
    {ui::Ctl::Edit, kIdFor, ""},
    {ui::Ctl::Button, kIdLookUp, "Look up"},
    {ui::Ctl::Label, -1, "Amount"},
    {ui::Ctl::Edit, kIdAmount, ""},
    {ui::Ctl::Radio, kIdCheck, "Check", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdCard, "Credit card"},
    {ui::Ctl::Radio, kIdCash, "Cash"},
    {ui::Ctl::Label, -1, "ID"},
    {ui::Ctl::Edit, kIdID, ""},
    {ui::Ctl::GroupBox, -1, "Status"},
    {ui::Ctl::Radio, kIdScheduled, "Scheduled", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdUnscheduled, "Unscheduled"},
    {ui::Ctl::Radio, kIdPaid, "Paid"},
    {ui::Ctl::Edit, kIdDate, ""},
    {ui::Ctl::Spin, kIdSpin, ""},
    {ui::Ctl::Button, kIdPrintCheck, "Print check", ui::WS_HIDDEN},
    {ui::Ctl::Label, 1174, "Account"},
    {ui::Ctl::ComboBox, kIdAccount, ""},
    {ui::Ctl::Label, 1175, "Tax category"},
    {ui::Ctl::ComboBox, kIdTax, ""},
    {ui::Ctl::Label, kIdStamps, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogPaymentEdit::CheckPrinter& CDialogPaymentEdit::CheckPrinterSeam()
{
    static CheckPrinter printer;
    return printer;
}

CDialogPaymentEdit::CDialogPaymentEdit(CDatabase* database, ui::Window* parent)
    : CPaymentRecordDialog(kPaymentEditTemplate, parent, database, "CDialogPaymentEdit", kIdOk)
{
}

bool CDialogPaymentEdit::OnInitDialog()
{
    if (!BeginRecord(m_pPayment, {{kIdAccount, &m_Account}, {kIdTax, &m_Tax}}, kIdStamps)) return false;
    CPaymentRecord& p = *m_pPayment;
    m_strPayee = p.m_sName;
    if (p.m_nPerson != NO_CODE) {
        m_pDatabase->GetPersonName(m_strPayee, p.m_nPerson, 0);
        EnableDlgItem(kIdPayee, false);
    }
    AddRadioPair(m_StatusButtons, kIdScheduled, 'S');
    AddRadioPair(m_StatusButtons, kIdUnscheduled, 'U');
    AddRadioPair(m_StatusButtons, kIdPaid, 'R');
    SetRadioGroup(*this, m_StatusButtons, static_cast<uint8_t>(p.m_cReceived));
    AddRadioPair(m_MethodButtons, kIdCheck, 'C');
    AddRadioPair(m_MethodButtons, kIdCard, 'R');
    AddRadioPair(m_MethodButtons, kIdCash, 'A');
    SetRadioGroup(*this, m_MethodButtons, static_cast<uint8_t>(p.m_cMethod));
    m_strDescription = p.m_sText;
    m_nLookedUpItem = p.m_nField12;
    if (m_nLookedUpItem != NO_CODE) {
        if (const CCategory* c = static_cast<const CCategory*>(m_pDatabase->GetItem(TABLE_CATEGORY, m_nLookedUpItem))) {
            m_strDescription = c->m_sName;
            EnableDlgItem(kIdFor, false);
        }
    }
    m_dAmount = p.m_dAmount;
    m_strID = p.m_sMethodText;
    m_Date.Attach(this, kIdDate, p.m_dDate, 0);
    CentreDateSpin(*this, kIdSpin);
    ShowCategoryCode(m_Account, 'A', p.m_nField15);
    ShowCategoryCode(m_Tax, 'T', p.m_nField14);
    KeepSnapshot(p, m_Copy);
    UpdateData(false);
    SetWindowText("Payment by studio");
    SetDlgItemText(kIdPayeeLabel, "To");
    ShowDlgItem(kIdPrintCheck, true);
    EnableDlgItem(kIdPrintCheck, static_cast<bool>(CheckPrinterSeam()));
    return true;
}

void CDialogPaymentEdit::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdPayee, m_strPayee);
    dx.Text(kIdFor, m_strDescription);
    dx.Text(kIdAmount, m_dAmount);
    dx.Text(kIdID, m_strID);
}

bool CDialogPaymentEdit::OnCommand(int id, int code)
{
    if (id == kIdSpin) {
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, kIdSpin, m_Date);
        return true;
    }
    if (code != ui::BN_CLICKED) return CPaymentRecordDialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOkButton(); return true;
    case kIdLookUpPerson: LookUpPerson(); return true;
    case kIdLookUp: LookUpItem(); return true;
    case kIdPrintCheck: PrintCheck(); return true;
    case kIdPaid: m_Date.SetNow(); return true;
    default: return CPaymentRecordDialog::OnCommand(id, code);
    }
}

void CDialogPaymentEdit::LookUpPerson()
{
    const int32_t chosen = m_pDatabase->SelectPerson(0, 0, 1, 0);
    m_pPayment->m_nPerson = static_cast<uint32_t>(chosen);
    if (chosen == -1) return;
    UpdateData(true);
    m_pDatabase->GetPersonName(m_strPayee, static_cast<uint32_t>(chosen), 0);
    EnableDlgItem(kIdPayee, false);
    UpdateData(false);
}

void CDialogPaymentEdit::LookUpItem()
{
    if (!UpdateData(true)) return;
    CDialogMenu menu(m_pDatabase, "Select item", 'S', 'S', -1, 0, "", this);
    std::vector<CCategory*> sources;
    m_pDatabase->CollectCategoriesByType('I', sources);
    for (const CCategory* c : sources) menu.AddItem(c->m_nCode, c->m_sName);
    if (m_nLookedUpItem != NO_CODE) menu.AddItem(kClearItem, "<Clear selected item in description>");
    const int chosen = menu.DoModal();
    if (chosen == -2) {
        m_strDescription.clear();
        m_nLookedUpItem = NO_CODE;
        if (m_Tax.FindStringExact(-1, "<None>") < 0) m_Tax.SetItemData(m_Tax.AddString("<None>"), -1);
        m_Tax.SetCurSel(m_Tax.FindStringExact(-1, "<None>"));
        EnableDlgItem(kIdTax, true);
    } else if (chosen >= 0) {
        m_nLookedUpItem = static_cast<uint32_t>(chosen);
        m_strDescription = m_pDatabase->GetCategoryName(m_nLookedUpItem);
    }
    EnableDlgItem(kIdFor, m_nLookedUpItem == NO_CODE);
    UpdateData(false);
}

void CDialogPaymentEdit::PrintCheck()
{
    if (!CheckPrinterSeam() || !UpdateData(true)) return;
    if (m_strPayee.empty()) {
        GetResponse("To whom payment is made is not specified", MB_OK);
        return;
    }
    DATE date = 0.0;
    if (!ReadPaymentDate(m_Date, date)) {
        GetResponse("Invalid payment date.", MB_OK);
        return;
    }
    stCheckData check;
    check.dDate = std::floor(date) + 8.0 / 24.0;
    check.sPayee = m_strPayee;
    check.dAmount = m_dAmount;
    check.sMemo = m_strDescription;
    CheckPrinterSeam()(*m_pDatabase, check);
}

void CDialogPaymentEdit::OnOkButton()
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
    p.m_sName = m_strPayee;
    p.m_sText = m_strDescription;
    p.m_nField12 = m_nLookedUpItem;
    p.m_dAmount = m_dAmount;
    p.m_sMethodText = m_strID;
    uint8_t status = static_cast<uint8_t>(p.m_cReceived);
    GetRadioGroup(*this, m_StatusButtons, status);
    p.m_cReceived = static_cast<char>(status);
    uint8_t method = static_cast<uint8_t>(p.m_cMethod);
    GetRadioGroup(*this, m_MethodButtons, method);
    p.m_cMethod = static_cast<char>(method);
    DATE date = 0.0;
    if (!ReadPaymentDate(m_Date, date) || !IsDateAllowed(date, false)) {
        GetResponse("Invalid payment date.", MB_OK);
        return;
    }
    p.m_dDate = date;
    p.m_nField15 = GetSelectedCode(m_Account);
    p.m_nField14 = GetSelectedCode(m_Tax);
    if (!p.IsEqual(m_Copy)) {
        p.m_cStamp2User = GetStampUserCode();
        p.m_dStamp2Date = GetNow();
    }
    EndDialog(ui::IDOK);
}
