#include "dialogs/DialogRefund.h"

#include <cmath>

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "dialogs/DialogEditScheduledPayment.h"
#include "dialogs/DialogPaymentEdit.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kIdTo = 1143;
constexpr int kIdLookUp = 1146;
constexpr int kIdDate = 1010;
constexpr int kIdSpin = 1037;
constexpr int kIdFor = 1364;
constexpr int kIdAmount = 1136;
constexpr int kIdCheck = 1212;
constexpr int kIdCard = 1133;
constexpr int kIdCash = 1132;
constexpr int kIdID = 1134;
constexpr int kIdAccount = 1147;
constexpr int kIdTax = 1148;
constexpr int kIdPrintCheck = 1150;
constexpr int kIdStamps = 1054;
constexpr int kIdOk = 1000;
constexpr double kLeast = 0.001;

const ui::DialogTemplate kRefundTemplate{304, "Refund data", 327, 122, {
    {ui::Ctl::Label, -1, "To"},
    {ui::Ctl::Edit, kIdTo, ""},
    {ui::Ctl::Button, kIdLookUp, "Look up"},
    {ui::Ctl::Label, -1, "Date"},
    {ui::Ctl::Edit, kIdDate, ""},
    {ui::Ctl::Spin, kIdSpin, ""},
    {ui::Ctl::Label, -1, "For"},
    {ui::Ctl::Edit, kIdFor, ""},
    {ui::Ctl::Label, -1, "Amount"},
    {ui::Ctl::Edit, kIdAmount, ""},
    {ui::Ctl::Radio, kIdCheck, "Check", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdCard, "Credit card"},
    {ui::Ctl::Radio, kIdCash, "Cash"},
    {ui::Ctl::Label, -1, "ID"},
    {ui::Ctl::Edit, kIdID, ""},
    {ui::Ctl::Label, -1, "Account"},
    {ui::Ctl::ComboBox, kIdAccount, ""},
    {ui::Ctl::Label, -1, "Tax category"},
    {ui::Ctl::ComboBox, kIdTax, ""},
    {ui::Ctl::Button, kIdPrintCheck, "Print check"},
    {ui::Ctl::Label, kIdStamps, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogRefund::CDialogRefund(CDatabase* database, ui::Window* parent)
    : CPaymentRecordDialog(kRefundTemplate, parent, database, "CDialogRefund", kIdOk)
{
}

bool CDialogRefund::OnInitDialog()
{
    if (!BeginRecord(m_pPayment, {{kIdAccount, &m_Account}, {kIdTax, &m_Tax}}, kIdStamps)) return false;
    CPaymentRecord& p = *m_pPayment;
    m_nPerson = p.m_nPerson;
    m_strTo = p.m_sName;
    AddRadioPair(m_MethodButtons, kIdCheck, 'C');
    AddRadioPair(m_MethodButtons, kIdCard, 'R');
    AddRadioPair(m_MethodButtons, kIdCash, 'A');
    SetRadioGroup(*this, m_MethodButtons, static_cast<uint8_t>(p.m_cMethod));
    m_strDescription = p.m_sText;
    m_dAmount = p.m_dAmount;
    m_strID = p.m_sMethodText;
    m_Date.Attach(this, kIdDate, p.m_dDate, 1);
    CentreDateSpin(*this, kIdSpin);
    ShowCategoryCode(m_Account, 'A', p.m_nField15);
    ShowCategoryCode(m_Tax, 'T', p.m_nField14);
    KeepSnapshot(p, m_Copy);
    UpdateData(false);
    EnableDlgItem(kIdPrintCheck, static_cast<bool>(CDialogPaymentEdit::CheckPrinterSeam()));
    SetWindowText("Payment by studio");
    return true;
}

void CDialogRefund::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdTo, m_strTo);
    dx.Text(kIdFor, m_strDescription);
    dx.Text(kIdAmount, m_dAmount);
    dx.Text(kIdID, m_strID);
}

bool CDialogRefund::OnCommand(int id, int code)
{
    if (id == kIdSpin) {
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, kIdSpin, m_Date);
        return true;
    }
    if (code != ui::BN_CLICKED) return CPaymentRecordDialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOkButton(); return true;
    case kIdLookUp: LookUpPerson(); return true;
    case kIdPrintCheck: PrintCheck(); return true;
    default: return CPaymentRecordDialog::OnCommand(id, code);
    }
}

void CDialogRefund::LookUpPerson()
{
    const int32_t chosen = m_pDatabase->SelectPerson(0, 0, 1, 0);
    m_nPerson = static_cast<uint32_t>(chosen);
    UpdateData(true);
    if (chosen != -1) {
        m_pDatabase->GetPersonName(m_strTo, m_nPerson, 0);
        EnableDlgItem(kIdTo, false);
    } else {
        // The name stays as typed, and can be typed again.
        EnableDlgItem(kIdTo, true);
    }
    UpdateData(false);
}

void CDialogRefund::PrintCheck()
{
    if (!CDialogPaymentEdit::CheckPrinterSeam() || !UpdateData(true)) return;
    DATE date = 0.0;
    if (!ReadPaymentDate(m_Date, date)) {
        GetResponse("Invalid payment date.", MB_OK);
        return;
    }
    stCheckData check;
    check.dDate = std::floor(date);
    check.sPayee = m_strTo;
    check.dAmount = m_dAmount;
    check.sMemo = "Refund";
    CDialogPaymentEdit::CheckPrinterSeam()(*m_pDatabase, check);
}

void CDialogRefund::OnOkButton()
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
    p.m_nPerson = m_nPerson;
    p.m_sName = m_strTo;
    p.m_sText = m_strDescription;
    p.m_dAmount = m_dAmount;
    p.m_sMethodText = m_strID;
    uint8_t method = static_cast<uint8_t>(p.m_cMethod);
    GetRadioGroup(*this, m_MethodButtons, method);
    p.m_cMethod = static_cast<char>(method);
    DATE date = 0.0;
    if (!ReadPaymentDate(m_Date, date) || !IsDateAllowed(date, false)) {
        GetResponse("Invalid refund date.", MB_OK);
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
