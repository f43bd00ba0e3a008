#include "dialogs/DialogEditScheduledPayment.h"

#include <cmath>

#include "common/QuestionBox.h"
#include "database/CreditLedger.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kIdPayer = 1130;
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
constexpr int kIdBalance = 1138;
constexpr int kIdApplyCredit = 1458;
constexpr int kIdReceipt = 1371;
constexpr int kIdPrintReceipt = 1372;
constexpr int kIdAccount = 1147;
constexpr int kIdTax = 1148;
constexpr int kIdStamps = 1054;
constexpr int kIdPayerLabel = 1367;
constexpr int kIdOk = 1000;
constexpr double kLeast = 0.001;
constexpr double kHalfCent = 0.005;

const ui::DialogTemplate kScheduledPaymentTemplate{236, "Payment data", 329, 162, {
    {ui::Ctl::Label, kIdPayerLabel, "By"},
    {ui::Ctl::ComboBox, kIdPayer, ""},
    {ui::Ctl::Label, -1, "For"},
    {ui::Ctl::Edit, kIdFor, ""},
    {ui::Ctl::Label, -1, "Amount"},
    {ui::Ctl::Edit, kIdAmount, ""},
    {ui::Ctl::Button, kIdBalance, "Calculate as balance"},
    {ui::Ctl::Button, kIdApplyCredit, "Apply credit"},
    {ui::Ctl::Radio, kIdCheck, "Check", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdCard, "Credit card"},
    {ui::Ctl::Radio, kIdCash, "Cash"},
    {ui::Ctl::Label, -1, "ID"},
    {ui::Ctl::Edit, kIdID, ""},
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
    {ui::Ctl::Label, -1, "Tax category"},
    {ui::Ctl::ComboBox, kIdTax, ""},
    {ui::Ctl::Label, kIdStamps, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

bool ReadPaymentDate(const CDateTime& field, DATE& date)
{
    const std::string text = field.GetText();
    bool empty = true;
    for (char c : text.substr(0, 10))
        if (c >= '1' && c <= '9') empty = false;
    if (empty) {
        date = 0.0;
        return true;
    }
    date = field.GetValue();
    // A text that forms no real day (month 13, 31 February) is refused rather than moved.
    return date != 0.0 && FormatDateTime(date, "%m/%d/%Y") == text.substr(0, 10);
}

CDialogEditScheduledPayment::ReceiptPrinter& CDialogEditScheduledPayment::ReceiptPrinterSeam()
{
    static ReceiptPrinter printer;
    return printer;
}

CDialogEditScheduledPayment::CDialogEditScheduledPayment(CDatabase* database, ui::Window* parent)
    : CPaymentRecordDialog(kScheduledPaymentTemplate, parent, database, "CDialogEditScheduledPayment", kIdOk)
{
}

CDialogEditScheduledPayment::~CDialogEditScheduledPayment() = default;

CCreditLedger& CDialogEditScheduledPayment::Ledger()
{
    if (m_pLedger) return *m_pLedger;
    if (!m_pOwnLedger) m_pOwnLedger = std::make_unique<CCreditLedger>(*m_pDatabase);
    return *m_pOwnLedger;
}

bool CDialogEditScheduledPayment::OnInitDialog()
{
    if (!BeginRecord(m_pPayment, {{kIdPayer, &m_Payer}, {kIdAccount, &m_Account}, {kIdTax, &m_Tax}}, kIdStamps))
        return false;
    CSchedulePayment& p = *m_pPayment;
    m_strFor = p.m_sDescription;
    m_dAmount = p.m_dAmount;
    m_strID = p.m_sMethodText;
    if (p.m_nReference != NO_CODE) {
        m_nReceipt = p.m_nReference;
    } else {
        m_nOffered = m_pDatabase->GetLastReceiptNumber() + 1;
        m_nReceipt = m_nOffered;
    }
    m_pDatabase->FillPersonTypeCombo(&m_Payer, 'C', p.m_nPayer);
    if (m_pExtraPerson) {
        const int at = m_Payer.AddString(
            Format("%s, %s", m_pExtraPerson->m_sLastName.c_str(), m_pExtraPerson->m_sFirstName.c_str()));
        m_Payer.SetItemData(at, static_cast<intptr_t>(m_pExtraPerson->m_nCode));
        m_Payer.SetCurSel(at);
    } else {
        SelectCode(m_Payer, p.m_nPayer, true);
    }
    ShowDlgItem(kIdApplyCredit, m_nCreditAllowed != 0);
    AddRadioPair(m_StatusButtons, kIdScheduled, 'S');
    AddRadioPair(m_StatusButtons, kIdUnscheduled, 'U');
    AddRadioPair(m_StatusButtons, kIdPaid, 'R');
    if (IsRefund()) {
        for (int id : {kIdScheduled, kIdUnscheduled, kIdPaid}) EnableDlgItem(id, false);
        CheckRadioButton(kIdScheduled, kIdPaid, kIdPaid);
        SetDlgItemText(kIdPayerLabel, "To");
        SetWindowText("Refund information");
    } else {
        SetRadioGroup(*this, m_StatusButtons, static_cast<uint8_t>(p.m_cKind));
    }
    AddRadioPair(m_MethodButtons, kIdCheck, 'C');
    AddRadioPair(m_MethodButtons, kIdCard, 'R');
    AddRadioPair(m_MethodButtons, kIdCash, 'A');
    SetRadioGroup(*this, m_MethodButtons, static_cast<uint8_t>(p.m_cMethod));
    m_Date.Attach(this, kIdDate, p.m_dDate, 1);
    CentreDateSpin(*this, kIdSpin);
    ShowCategoryCode(m_Account, 'A', p.m_nCategory);
    ShowCategoryCode(m_Tax, 'T', p.m_nField7);
    EnableDlgItem(kIdPrintReceipt, static_cast<bool>(ReceiptPrinterSeam()));
    KeepSnapshot(p, m_Snapshot);
    UpdateData(false);
    return true;
}

void CDialogEditScheduledPayment::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdFor, m_strFor);
    dx.Text(kIdAmount, m_dAmount);
    dx.Text(kIdID, m_strID);
    dx.Text(kIdReceipt, m_nReceipt);
}

bool CDialogEditScheduledPayment::ValidateAndStore()
{
    if (!UpdateData(true)) return false;
    if (m_strFor.empty()) {
        GetResponse("No description of payment", MB_OK);
        return false;
    }
    if (m_dAmount < kLeast && !m_bCreditApplied) {
        GetResponse("Zero amount payment", MB_OK);
        return false;
    }
    if (IsRefund() && m_pPurchase) {
        // What was received less the purchase's other refunds (this one, or the entry it is a
        // working copy of, is not counted).
        double otherRefunds = 0.0;
        bool skippedOwn = false;
        for (const auto& other : m_pPurchase->m_Payments) {
            if (other->m_cKind != 'F') continue;
            if (other.get() == m_pPayment || (!skippedOwn && other->IsEqual(m_Snapshot))) {
                skippedOwn = true;
                continue;
            }
            otherRefunds += other->m_dAmount;
        }
        if (m_dAmount > m_pPurchase->GetReceived() - otherRefunds + kHalfCent) {
            GetResponse("Refund greater than amount paid.", MB_OK);
            return false;
        }
    }
    CSchedulePayment& p = *m_pPayment;
    p.m_nPayer = GetSelectedCode(m_Payer);
    p.m_sDescription = m_strFor;
    p.m_dAmount = m_dAmount;
    p.m_sMethodText = m_strID;
    if (!IsRefund()) {
        uint8_t status = static_cast<uint8_t>(p.m_cKind);
        GetRadioGroup(*this, m_StatusButtons, status);
        p.m_cKind = static_cast<char>(status);
    }
    uint8_t method = static_cast<uint8_t>(p.m_cMethod);
    GetRadioGroup(*this, m_MethodButtons, method);
    p.m_cMethod = static_cast<char>(method);
    DATE date = 0.0;
    if (!ReadPaymentDate(m_Date, date) || !IsDateAllowed(date, false)) {
        GetResponse("Invalid payment date.", MB_OK);
        return false;
    }
    p.m_dDate = date;
    p.m_nCategory = GetSelectedCode(m_Account);
    p.m_nField7 = GetSelectedCode(m_Tax);
    if (m_nReceipt != m_nConfirmed) {
        const uint32_t last = m_pDatabase->GetLastReceiptNumber();
        const bool offered = m_Snapshot.m_nReference == NO_CODE;
        if (offered || m_nReceipt > last) {
            bool confirmed = false;
            const uint32_t number = m_pDatabase->ConfirmReceiptNumber(m_nReceipt, offered ? m_nOffered : 0, &confirmed);
            // Unconfirmed, the number could be another desk's: the dialog stays for another try.
            if (!confirmed) return false;
            m_nReceipt = number;
            UpdateData(false);
        }
        m_nConfirmed = m_nReceipt;
    }
    p.m_nReference = m_nReceipt;
    return true;
}

void CDialogEditScheduledPayment::OnOkButton()
{
    if (!ValidateAndStore()) return;
    if (m_pPayment->IsEqual(m_Snapshot) && !m_bCreditApplied) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    m_pPayment->m_cStamp2User = GetStampUserCode();
    m_pPayment->m_dStamp2Date = GetNow();
    if (m_pOwnLedger) m_pOwnLedger->Commit();
    EndDialog(ui::IDOK);
}

void CDialogEditScheduledPayment::OnCancel()
{
    // Nor the credits applied in this run.
    m_aNewCredits.clear();
    m_bCreditApplied = false;
    if (m_pOwnLedger) m_pOwnLedger->Release();
    CPaymentRecordDialog::OnCancel();
}

bool CDialogEditScheduledPayment::OnCommand(int id, int code)
{
    if (id == kIdSpin) {
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, kIdSpin, m_Date);
        return true;
    }
    if (code != ui::BN_CLICKED) return CPaymentRecordDialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOkButton(); return true;
    case kIdBalance: CalculateAsBalance(); return true;
    case kIdPrintReceipt: PrintReceipt(); return true;
    case kIdApplyCredit: ApplyCredit(); return true;
    case kIdPaid:
        m_Date.SetNow();
        return true;
    default: return CPaymentRecordDialog::OnCommand(id, code);
    }
}

void CDialogEditScheduledPayment::CalculateAsBalance()
{
    if (!UpdateData(true) || m_pPurchase == nullptr) return;
    m_dAmount = m_pPurchase->GetTotal(0) - m_pPurchase->GetReceived();
    UpdateData(false);
}

void CDialogEditScheduledPayment::PrintReceipt()
{
    if (!ReceiptPrinterSeam() || !ValidateAndStore()) return;
    m_aReceiptTexts = {m_pPayment->m_sDescription};
    m_aReceiptAmounts = {m_pPayment->m_dAmount};
    ReceiptPrinterSeam()(*m_pDatabase, m_pPayment->m_nPayer, m_nReceipt, m_aReceiptTexts, m_aReceiptAmounts);
}

void CDialogEditScheduledPayment::ApplyCredit()
{
    if (!UpdateData(true) || m_pDatabase == nullptr) return;
    auto entry = std::make_unique<CSchedulePayment>();
    entry->m_cKind = 'c';
    entry->m_cMethod = 'A';
    if (m_pPurchase) {
        entry->m_nPayer = m_pPurchase->m_nPerson;
        entry->m_sDescription = m_pPurchase->m_sDescription;
    }
    entry->m_nCategory = m_pDatabase->GetDefaultAccount(param::kAccountCredits);
    const uint32_t payer = GetSelectedCode(m_Payer);
    const std::vector<CCreditLedger::stOffer> offers = Ledger().CollectOffers(payer);
    if (offers.empty()) {
        GetResponse("No credits due for this person.", MB_OK);
        return;
    }
    CDialogMenu menu(m_pDatabase, "Select credit", 'S', 'N', -1, 0, "", this);
    for (const auto& offer : offers)
        menu.AddItem(offer.nCode, Format("%s ($%.2f)", offer.sDescription.c_str(), offer.dOpen));
    const int chosen = menu.DoModal();
    if (chosen < 0) return;
    double taken = 0.0;
    std::string description;
    if (!Ledger().Take(static_cast<uint32_t>(chosen), m_dAmount, taken, description)) return;
    entry->m_sDescription = description;
    entry->m_dAmount = taken;
    m_aNewCredits.push_back(std::move(entry));
    m_bCreditApplied = true;
    m_dAmount -= taken;
    if (std::fabs(m_dAmount) < kLeast / 10) m_dAmount = 0.0;
    UpdateData(false);
}
