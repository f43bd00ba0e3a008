#include "dialogs/DialogShoppingCart.h"

#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "dialogs/DialogEditScheduledPayment.h"
#include "dialogs/DialogReceivedPayment.h"
#include "platform/host/Format.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/ListBox.h"

namespace {

constexpr int kIdLookUp = 1146;
constexpr int kIdAddPerson = 1406;
constexpr int kIdPurchaser = 1417;
constexpr int kIdPriceList = 1373;
constexpr int kIdSelect = 1375;
constexpr int kIdCart = 1374;
constexpr int kIdDelete = 1014;
constexpr int kIdScheduled = 1210;
constexpr int kIdUnscheduled = 1127;
constexpr int kIdPaid = 1129;
constexpr int kIdCheck = 1212;
constexpr int kIdCard = 1133;
constexpr int kIdCash = 1132;
constexpr int kIdAmount = 1136;
constexpr int kIdID = 1134;
constexpr int kIdReceipt = 1371;
constexpr int kIdDate = 1010;
constexpr int kIdSpin = 1037;
constexpr int kIdAccount = 1147;
constexpr int kIdPrintReceipt = 1372;
constexpr int kIdOk = 1000;

const ui::DialogTemplate kCartTemplate{305, "Shopping cart", 340, 200, {
    {ui::Ctl::Button, kIdLookUp, "Look up in database"},
    {ui::Ctl::Button, kIdAddPerson, "Add to database"},
    {ui::Ctl::Label, kIdPurchaser, "Purchaser"},
    {ui::Ctl::ListBox, kIdPriceList, ""},
    {ui::Ctl::Button, kIdSelect, "Select->"},
    {ui::Ctl::ListBox, kIdCart, ""},
    {ui::Ctl::Button, kIdDelete, "Delete"},
    {ui::Ctl::Radio, kIdScheduled, "Scheduled", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdUnscheduled, "Unscheduled"},
    {ui::Ctl::Radio, kIdPaid, "Paid"},
    {ui::Ctl::Radio, kIdCheck, "Check", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdCard, "Credit card"},
    {ui::Ctl::Radio, kIdCash, "Cash"},
    {ui::Ctl::Label, -1, "Amount"},
    {ui::Ctl::Edit, kIdAmount, ""},
    {ui::Ctl::Label, -1, "ID"},
    {ui::Ctl::Edit, kIdID, ""},
    {ui::Ctl::Label, -1, "Receipt number"},
    {ui::Ctl::Edit, kIdReceipt, "", ui::ES_NUMBER},
    {ui::Ctl::Edit, kIdDate, ""},
    {ui::Ctl::Spin, kIdSpin, ""},
    {ui::Ctl::Label, -1, "Account"},
    {ui::Ctl::ComboBox, kIdAccount, ""},
    {ui::Ctl::Button, kIdPrintReceipt, "Print receipt"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogShoppingCart::CDialogShoppingCart(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kCartTemplate, parent, database, "CDialogShoppingCart", kIdOk)
{
}

bool CDialogShoppingCart::OnInitDialog()
{
    if (m_pDatabase == nullptr) {
        EndDialog(ui::IDCANCEL);
        return false;
    }
    SubclassDlgItem(kIdAccount, m_Account);
    CRefreshHoldDialog::OnInitDialog();
    AddRadioPair(m_StatusButtons, kIdScheduled, 'S');
    AddRadioPair(m_StatusButtons, kIdUnscheduled, 'U');
    AddRadioPair(m_StatusButtons, kIdPaid, 'R');
    SetRadioGroup(*this, m_StatusButtons, static_cast<uint8_t>(m_cStatus));
    AddRadioPair(m_TypeButtons, kIdCheck, 'C');
    AddRadioPair(m_TypeButtons, kIdCard, 'R');
    AddRadioPair(m_TypeButtons, kIdCash, 'A');
    SetRadioGroup(*this, m_TypeButtons, static_cast<uint8_t>(m_cType));
    FillPriceList();
    ShowCart();
    m_dDate = GetToday(0);
    m_Date.Attach(this, kIdDate, m_dDate, 1);
    CentreDateSpin(*this, kIdSpin);
    m_nAccount = m_pDatabase->GetDefaultAccount(param::kAccountPayments);
    m_pDatabase->FillCategoryComboBox(&m_Account, 'A', m_nAccount, 1, 0, NO_CODE);
    SelectCode(m_Account, m_nAccount, true);
    EnableDlgItem(kIdAmount, false);
    m_nOffered = m_pDatabase->GetLastReceiptNumber() + 1;
    m_nReceipt = m_nOffered;
    UpdateData(false);
    ShowPurchaser();
    EnableDlgItem(kIdPrintReceipt, static_cast<bool>(CDialogReceivedPayment::ReceiptPrinterSeam()));
    return true;
}

void CDialogShoppingCart::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdID, m_strID);
    dx.Text(kIdReceipt, m_nReceipt);
}

bool CDialogShoppingCart::OnCommand(int id, int code)
{
    if (id == kIdSpin) {
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, kIdSpin, m_Date);
        return true;
    }
    if (id == kIdPriceList && code == ui::LBN_DBLCLK) {
        OnSelect();
        return true;
    }
    if (code != ui::BN_CLICKED) return CRefreshHoldDialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOkButton(); return true;
    case kIdLookUp: LookUpPerson(); return true;
    case kIdAddPerson: AddPerson(); return true;
    case kIdSelect: OnSelect(); return true;
    case kIdDelete: OnDelete(); return true;
    case kIdPrintReceipt: PrintReceipt(); return true;
    default: return CRefreshHoldDialog::OnCommand(id, code);
    }
}

void CDialogShoppingCart::FillPriceList()
{
    ui::ListBox* list = List(kIdPriceList);
    if (list == nullptr) return;
    list->ResetContent();
    for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_PRICELIST)) {
        const CPriceListItem* item = static_cast<const CPriceListItem*>(e.pItem);
        // Items marked "Package only" are sold with their package, discounts only on a contract.
        if (item->m_cPackageOnly != 0 || item->m_cKind == 'D') continue;
        const int at = list->AddString(Format("%s [%.2f]", item->m_sName.c_str(), item->m_dPrice));
        list->SetItemData(at, static_cast<intptr_t>(item->m_nCode));
    }
}

void CDialogShoppingCart::ShowCart()
{
    ui::ListBox* list = List(kIdCart);
    if (list == nullptr) return;
    list->ResetContent();
    m_dTotal = 0.0;
    for (size_t i = 0; i < m_aCodes.size(); ++i) {
        const int at = list->AddString(Format("%s [%.2f]", m_aNames[i].c_str(), m_aPrices[i]));
        list->SetItemData(at, static_cast<intptr_t>(i));
        m_dTotal += m_aPrices[i];
    }
    SetDlgItemText(kIdAmount, FormatMoney(m_dTotal, 0));
}

void CDialogShoppingCart::OnSelect()
{
    ui::ListBox* list = List(kIdPriceList);
    const int at = list ? list->GetCurSel() : -1;
    if (at < 0) {
        GetResponse("No item selected", MB_OK);
        return;
    }
    const uint32_t code = static_cast<uint32_t>(list->GetItemData(at));
    const CPriceListItem* item = static_cast<const CPriceListItem*>(m_pDatabase->GetItem(TABLE_PRICELIST, code));
    if (item == nullptr) return;
    m_aCodes.push_back(code);
    m_aNames.push_back(item->m_sName);
    m_aPrices.push_back(item->m_dPrice);
    ShowCart();
}

void CDialogShoppingCart::OnDelete()
{
    ui::ListBox* list = List(kIdCart);
    const int at = list ? list->GetCurSel() : -1;
    if (at < 0) {
        GetResponse("No item selected", MB_OK);
        return;
    }
    const size_t index = static_cast<size_t>(list->GetItemData(at));
    if (index >= m_aCodes.size()) return;
    m_aCodes.erase(m_aCodes.begin() + static_cast<std::ptrdiff_t>(index));
    m_aNames.erase(m_aNames.begin() + static_cast<std::ptrdiff_t>(index));
    m_aPrices.erase(m_aPrices.begin() + static_cast<std::ptrdiff_t>(index));
    ShowCart();
}

void CDialogShoppingCart::ShowPurchaser()
{
    std::string name = "Purchaser";
    if (m_nPerson != NO_CODE) m_pDatabase->GetPersonName(name, m_nPerson, 0);
    SetDlgItemText(kIdPurchaser, name);
}

void CDialogShoppingCart::LookUpPerson()
{
    m_nPerson = static_cast<uint32_t>(m_pDatabase->SelectPerson(0, 0, 1, 0));
    ShowPurchaser();
}

void CDialogShoppingCart::AddPerson()
{
    // The new customer's short form.
    const stDataToken request = MakeDataToken('c', 0.0, nullptr);
    if (m_pDatabase->AddTableItem(TABLE_PERSON, LOC_NONE, nullptr, 1, 0, &request) != 1) return;
    m_nPerson = m_pDatabase->m_nLastSavedCode;
    ShowPurchaser();
}

bool CDialogShoppingCart::CollectData()
{
    if (!UpdateData(true)) return false;
    if (m_nPerson == NO_CODE) {
        GetResponse("No purchaser name", MB_OK);
        return false;
    }
    uint8_t status = static_cast<uint8_t>(m_cStatus);
    GetRadioGroup(*this, m_StatusButtons, status);
    m_cStatus = static_cast<char>(status);
    uint8_t type = static_cast<uint8_t>(m_cType);
    GetRadioGroup(*this, m_TypeButtons, type);
    m_cType = static_cast<char>(type);
    DATE date = 0.0;
    if (!ReadPaymentDate(m_Date, date) || !IsDateAllowed(date, false)) {
        GetResponse("Invalid payment date.", MB_OK);
        return false;
    }
    m_dDate = date;
    m_nAccount = GetSelectedCode(m_Account);
    if (m_nAccount != m_pDatabase->GetDefaultAccount(param::kAccountPayments)) {
        const uint32_t account = m_nAccount;
        m_pDatabase->SaveParameterFields([account](stParameters& p) {
            p.SetUInt(param::kAccountPayments, account);
            return true;
        });
    }
    // The counter only rises; an offered number another desk took meanwhile moves on.
    if (m_nReceipt != m_nConfirmed) {
        const bool offered = m_nReceipt == m_nOffered;
        if (offered || m_nReceipt > m_pDatabase->GetLastReceiptNumber()) {
            m_nReceipt = m_pDatabase->ConfirmReceiptNumber(m_nReceipt, offered ? m_nOffered : 0);
            m_nOffered = 0;
            UpdateData(false);
        }
        m_nConfirmed = m_nReceipt;
    }
    return true;
}

void CDialogShoppingCart::OnOkButton()
{
    if (!CollectData()) return;
    EndDialog(ui::IDOK);
}

void CDialogShoppingCart::PrintReceipt()
{
    if (!CDialogReceivedPayment::ReceiptPrinterSeam() || !CollectData()) return;
    CDialogReceivedPayment::ReceiptPrinterSeam()(*m_pDatabase, m_nPerson, std::string(), m_aNames, m_aPrices,
                                                 m_nReceipt);
}
