#include "dialogs/DialogReceivedPayment.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "dialogs/DialogEditScheduledPayment.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kIdFrom = 1143;
constexpr int kIdLookUp = 1146;
constexpr int kIdAddPerson = 1406;
constexpr int kIdFor = 1077;
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
constexpr int kIdReceipt = 1371;
constexpr int kIdPrintReceipt = 1372;
constexpr int kIdAccount = 1147;
constexpr int kIdTeacher = 1148;
constexpr int kIdStamps = 1054;
constexpr int kIdOk = 1000;
constexpr double kLeast = 0.001;

const ui::DialogTemplate kReceivedTemplate{303, "Payment data", 327, 174, {
    {ui::Ctl::Label, -1, "From"},
    {ui::Ctl::Edit, kIdFrom, ""},
    {ui::Ctl::Button, kIdLookUp, "Look up in database"},
    {ui::Ctl::Button, kIdAddPerson, "Add to database"},
    {ui::Ctl::Label, -1, "For"},
    {ui::Ctl::Edit, kIdFor, ""},
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
    {ui::Ctl::Label, -1, "Receipt number"},
    {ui::Ctl::Edit, kIdReceipt, "", ui::ES_NUMBER},
    {ui::Ctl::Button, kIdPrintReceipt, "Print receipt"},
    {ui::Ctl::Label, -1, "Account"},
    {ui::Ctl::ComboBox, kIdAccount, ""},
    {ui::Ctl::Label, -1, "Teacher credit"},
    {ui::Ctl::ComboBox, kIdTeacher, ""},
    {ui::Ctl::Label, kIdStamps, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogReceivedPayment::ReceiptPrinter& CDialogReceivedPayment::ReceiptPrinterSeam()
{
    static ReceiptPrinter printer;
    return printer;
}

CDialogReceivedPayment::CDialogReceivedPayment(CDatabase* database, ui::Window* parent)
    : CPaymentRecordDialog(kReceivedTemplate, parent, database, "CDialogReceivedPayment", kIdOk)
{
}

bool CDialogReceivedPayment::OnInitDialog()
{
    if (!BeginRecord(m_pPayment, {{kIdAccount, &m_Account}, {kIdTeacher, &m_Teacher}}, kIdStamps)) return false;
    CPaymentRecord& p = *m_pPayment;
    m_nPerson = p.m_nPerson;
    m_strFrom = p.m_sName;
    if (m_nPerson != NO_CODE) {
        m_pDatabase->GetPersonName(m_strFrom, m_nPerson, 0);
        EnableDlgItem(kIdFrom, false);
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
    m_dAmount = p.m_dAmount;
    m_strID = p.m_sMethodText;
    m_Date.Attach(this, kIdDate, p.m_dDate, 1);
    CentreDateSpin(*this, kIdSpin);
    ShowCategoryCode(m_Account, 'A', p.m_nField15);
    ShowPersonCode(m_Teacher, 'E', p.m_nField16);
    if (p.m_nReference != NO_CODE) {
        m_nReceipt = p.m_nReference;
    } else {
        m_nOffered = m_pDatabase->GetLastReceiptNumber() + 1;
        m_nReceipt = m_nOffered;
    }
    KeepSnapshot(p, m_Copy);
    UpdateData(false);
    EnableDlgItem(kIdPrintReceipt, static_cast<bool>(ReceiptPrinterSeam()));
    SetWindowText("Non-contract payment/purchase");
    return true;
}

void CDialogReceivedPayment::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdFrom, m_strFrom);
    dx.Text(kIdFor, m_strDescription);
    dx.Text(kIdAmount, m_dAmount);
    dx.Text(kIdID, m_strID);
    dx.Text(kIdReceipt, m_nReceipt);
}

bool CDialogReceivedPayment::OnCommand(int id, int code)
{
    if (id == kIdSpin) {
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, kIdSpin, m_Date);
        return true;
    }
    if (code != ui::BN_CLICKED) return CPaymentRecordDialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOkButton(); return true;
    case kIdLookUp: LookUpPerson(); return true;
    case kIdAddPerson: AddPerson(); return true;
    case kIdPrintReceipt: PrintReceipt(); return true;
    case kIdPaid: m_Date.SetNow(); return true;
    default: return CPaymentRecordDialog::OnCommand(id, code);
    }
}

bool CDialogReceivedPayment::ValidateAndStore()
{
    if (!UpdateData(true)) return false;
    if (m_strDescription.empty()) {
        GetResponse("No description of payment", MB_OK);
        return false;
    }
    if (m_dAmount < kLeast) {
        GetResponse("Zero amount payment", MB_OK);
        return false;
    }
    CPaymentRecord& p = *m_pPayment;
    p.m_nPerson = m_nPerson;
    p.m_sName = m_strFrom;
    p.m_sText = m_strDescription;
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
        return false;
    }
    p.m_dDate = date;
    p.m_nField15 = GetSelectedCode(m_Account);
    p.m_nField16 = GetSelectedCode(m_Teacher);
    // The counter only rises; an offered number another desk took meanwhile moves on.
    if (m_nReceipt != m_nConfirmed) {
        const bool offered = m_Copy.m_nReference == NO_CODE;
        if (offered || m_nReceipt > m_pDatabase->GetLastReceiptNumber()) {
            m_nReceipt = m_pDatabase->ConfirmReceiptNumber(m_nReceipt, offered ? m_nOffered : 0);
            UpdateData(false);
        }
        m_nConfirmed = m_nReceipt;
    }
    p.m_nReference = m_nReceipt;
    return true;
}

void CDialogReceivedPayment::OnOkButton()
{
    if (!ValidateAndStore()) return;
    if (m_pPayment->IsEqual(m_Copy)) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    m_pPayment->m_cStamp2User = GetStampUserCode();
    m_pPayment->m_dStamp2Date = GetNow();
    EndDialog(ui::IDOK);
}

void CDialogReceivedPayment::LookUpPerson()
{
    const int32_t chosen = m_pDatabase->SelectPerson(0, 0, 1, 0);
    UpdateData(true);
    m_nPerson = static_cast<uint32_t>(chosen);
    if (chosen == -1) {
        m_strFrom.clear();
        EnableDlgItem(kIdFrom, true);
    } else {
        m_pDatabase->GetPersonName(m_strFrom, m_nPerson, 0);
        EnableDlgItem(kIdFrom, false);
    }
    UpdateData(false);
}

void CDialogReceivedPayment::AddPerson()
{
    // The new customer's short form.
    const stDataToken request = MakeDataToken('c', 0.0, nullptr);
    if (m_pDatabase->AddTableItem(TABLE_PERSON, LOC_NONE, nullptr, 1, 0, &request) != 1) return;
    UpdateData(true);
    // The payment is linked to the person just added, not only named after them.
    m_nPerson = m_pDatabase->m_nLastSavedCode;
    m_pDatabase->GetPersonName(m_strFrom, m_nPerson, 0);
    EnableDlgItem(kIdFrom, false);
    UpdateData(false);
}

void CDialogReceivedPayment::PrintReceipt()
{
    if (!ReceiptPrinterSeam() || !ValidateAndStore()) return;
    const CPaymentRecord& p = *m_pPayment;
    m_aReceiptTexts = {p.m_sText};
    m_aReceiptAmounts = {p.m_dAmount};
    ReceiptPrinterSeam()(*m_pDatabase, p.m_nPerson, p.m_nPerson == NO_CODE ? p.m_sName : std::string(), m_aReceiptTexts,
                         m_aReceiptAmounts, p.m_nReference);
}
