#include "dialogs/PagePaymentSchedule.h"

#include <cstdlib>

#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "database/CreditLedger.h"
#include "database/Database.h"
#include "database/MoneyRequests.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "records/PurchaseMoney.h"
#include "widgets/Prompts.h"

namespace {

constexpr int kIdList = 1114;
constexpr int kIdTotals = 1457;
constexpr int kIdAdd = 1012;
constexpr int kIdEdit = 1017;
constexpr int kIdDelete = 1014;
constexpr int kIdSplit = 1128;
constexpr int kIdEqualize = 1125;
constexpr int kIdMarkPaid = 1341;
constexpr int kIdRefund = 1343;
constexpr int kIdDiscount = 1080;
constexpr int kIdCredit = 1081;

const ui::DialogTemplate kPaymentPageTemplate{208, "Purchase payments", 340, 220, {
    {ui::Ctl::ListBox, kIdList, ""},
    {ui::Ctl::Edit, kIdTotals, "", ui::ES_MULTILINE | ui::ES_READONLY},
    {ui::Ctl::Button, kIdAdd, "Add payment"},
    {ui::Ctl::Button, kIdEdit, "Edit"},
    {ui::Ctl::Button, kIdDelete, "Delete"},
    {ui::Ctl::Button, kIdSplit, "Split"},
    {ui::Ctl::Button, kIdEqualize, "Equalize all"},
    {ui::Ctl::Button, kIdMarkPaid, "Mark paid"},
    {ui::Ctl::Button, kIdRefund, "Add refund"},
    {ui::Ctl::Button, kIdDiscount, "Apply discount"},
    {ui::Ctl::Button, kIdCredit, "Apply credit"},
}};

}  // namespace

CPagePaymentSchedule::CPagePaymentSchedule(CDatabase* database)
    : ui::PropertyPage(kPaymentPageTemplate), m_pDatabase(database)
{
}

bool CPagePaymentSchedule::OnInitDialog()
{
    ui::PropertyPage::OnInitDialog();
    if (ui::ListBox* list = List(kIdList)) list->SetHorizontalExtent(1200);
    if (m_pPerson != nullptr) EnableDlgItem(kIdEqualize, false);
    return true;
}

bool CPagePaymentSchedule::OnSetActive()
{
    OnEnterPage();
    return ui::PropertyPage::OnSetActive();
}

bool CPagePaymentSchedule::OnKillActive()
{
    OnExitPage();
    return ui::PropertyPage::OnKillActive();
}

void CPagePaymentSchedule::OnEnterPage()
{
    if (m_bEntered) return;
    m_bEntered = true;
    Refill();
    UpdateButtons();
}

void CPagePaymentSchedule::OnExitPage()
{
    m_bEntered = false;
}

void CPagePaymentSchedule::Refill()
{
    if (m_pPerson != nullptr) FillFromPerson();
    else FillFromPurchase();
}

bool CPagePaymentSchedule::OnCommand(int id, int code)
{
    if (id == kIdList && code == ui::LBN_SELCHANGE) {
        UpdateButtons();
        return true;
    }
    if (id == kIdList && code == ui::LBN_DBLCLK) {
        OnEditPayment();
        return true;
    }
    if (code != ui::BN_CLICKED) return ui::PropertyPage::OnCommand(id, code);
    switch (id) {
    case kIdAdd: AddPayment('U'); return true;
    case kIdEdit: OnEditPayment(); return true;
    case kIdDelete: OnDeletePayment(); return true;
    case kIdSplit: OnSplitPayment(); return true;
    case kIdEqualize: OnEqualizeAll(); return true;
    case kIdMarkPaid: OnMarkPaid(); return true;
    case kIdRefund: AddPayment('F'); return true;
    case kIdDiscount: AddPayment('d'); return true;
    case kIdCredit: AddPayment('c'); return true;
    default: return ui::PropertyPage::OnCommand(id, code);
    }
}

void CPagePaymentSchedule::FillFromPurchase()
{
    m_aRows.clear();
    if (m_pPurchase == nullptr) return;
    for (size_t i = 0; i < m_pPurchase->m_Payments.size(); ++i) {
        CSchedulePayment& p = *m_pPurchase->m_Payments[i];
        if (p.m_cKind == 'U') p.m_dDate = 0.0;
        m_aRows.push_back(MakeDataToken(p.m_cKind, p.m_dDate, m_pPurchase, static_cast<int32_t>(i)));
    }
    ShowTotals(m_pPurchase->GetTotal(1));
}

void CPagePaymentSchedule::FillFromPerson()
{
    m_aRows.clear();
    if (m_pPerson == nullptr) return;
    const uint32_t person = m_pPerson->m_nCode;
    double total = 0.0;
    for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_PURCHASE)) {
        CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(e.pItem);
        if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
        if (purchase->m_nPerson != person && purchase->m_nSecondPerson != person && purchase->m_nPayer != person)
            continue;
        total += purchase->GetTotal(1);
        for (size_t i = 0; i < purchase->m_Payments.size(); ++i) {
            CSchedulePayment& p = *purchase->m_Payments[i];
            if (p.m_cKind == 'U') p.m_dDate = 0.0;
            m_aRows.push_back(MakeDataToken(p.m_cKind, p.m_dDate, purchase, static_cast<int32_t>(i)));
        }
    }
    ShowTotals(total);
}

CSchedulePayment* CPagePaymentSchedule::PaymentOf(const stDataToken& row) const
{
    CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(row.record);
    if (purchase == nullptr || row.index1 < 0 || static_cast<size_t>(row.index1) >= purchase->m_Payments.size())
        return nullptr;
    return purchase->m_Payments[static_cast<size_t>(row.index1)].get();
}

void CPagePaymentSchedule::ShowTotals(double total)
{
    SortIndexedDates(m_aRows);
    CPurchaseMoney::stSums sums;
    std::vector<const CPurchaseRecord*> seen;
    ui::ListBox* list = List(kIdList);
    if (list) list->ResetContent();
    for (size_t r = 0; r < m_aRows.size(); ++r) {
        const CPurchaseRecord* purchase = static_cast<const CPurchaseRecord*>(m_aRows[r].record);
        const CSchedulePayment* p = PaymentOf(m_aRows[r]);
        if (p == nullptr) continue;
        if (list) list->SetItemData(list->AddString(p->GetText(purchase->m_sDescription)), static_cast<intptr_t>(r));
        if (std::find(seen.begin(), seen.end(), purchase) == seen.end()) {
            seen.push_back(purchase);
            CPurchaseMoney::AddSums(*purchase, sums);
        }
    }
    m_strTotals = CPurchaseMoney::TotalsText(total, sums);
    SetDlgItemText(kIdTotals, m_strTotals);
}

void CPagePaymentSchedule::CheckPaymentTotal(const CPurchaseRecord& purchase)
{
    std::string warning;
    if (!CPurchaseMoney::CheckPaymentTotal(purchase, &warning)) GetResponse(warning, MB_OK);
}

const stDataToken* CPagePaymentSchedule::SelectedRow(bool tell)
{
    ui::ListBox* list = List(kIdList);
    const int at = list ? list->GetCurSel() : -1;
    if (at < 0) {
        if (tell) GetResponse("No item selected", MB_OK);
        return nullptr;
    }
    const size_t row = static_cast<size_t>(list->GetItemData(at));
    return row < m_aRows.size() ? &m_aRows[row] : nullptr;
}

void CPagePaymentSchedule::UpdateButtons()
{
    const stDataToken* row = SelectedRow(false);
    if (row == nullptr) return;
    EnableDlgItem(kIdMarkPaid, row->type == 'U');
    EnableDlgItem(kIdSplit, row->type == 'U');
    EnableDlgItem(kIdEdit, row->type != 'd' && row->type != 'c');
}

void CPagePaymentSchedule::AddPayment(char type)
{
    CPurchaseRecord* purchase = m_pPurchase;
    if (m_pPerson != nullptr) {
        // Person mode: the purchase of the person this payment is for.
        std::vector<CPurchaseRecord*> own;
        for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_PURCHASE)) {
            CPurchaseRecord* p = static_cast<CPurchaseRecord*>(e.pItem);
            if (p->m_nStatus == CPurchaseRecord::STATUS_ACTIVE && p->m_nPerson == m_pPerson->m_nCode) own.push_back(p);
        }
        if (m_pDatabase->GetItemList(TABLE_PURCHASE)->empty()) {
            GetResponse("No purchases specified", MB_OK);
            return;
        }
        if (own.size() == 1) {
            purchase = own.front();
        } else {
            CDialogMenu menu(m_pDatabase, "Select purchase for this payment", 'S', 'N', -1, 0, "", this);
            for (const CPurchaseRecord* p : own) menu.AddItem(p->m_nCode, p->m_sDescription);
            const int chosen = own.empty() ? -1 : menu.DoModal();
            purchase = chosen < 0 ? nullptr
                                  : static_cast<CPurchaseRecord*>(m_pDatabase->GetItem(TABLE_PURCHASE, static_cast<uint32_t>(chosen)));
        }
        if (purchase == nullptr) {
            GetResponse("No purchases specified for person.", MB_OK);
            return;
        }
    }
    if (purchase == nullptr) return;
    auto payment = std::make_unique<CSchedulePayment>();
    if (m_pPerson == nullptr) {
        if (!InitNewPayment(type, *purchase, *payment)) return;
        purchase->m_Payments.push_back(std::move(payment));
    } else {
        // Person mode changes the stored purchase under its lock, on what the file holds.
        const uint32_t code = purchase->m_nCode;
        bool accepted = false;
        m_pDatabase->ChangeItem(TABLE_PURCHASE, code, [&](void* item) {
            CPurchaseRecord& copy = *static_cast<CPurchaseRecord*>(item);
            accepted = InitNewPayment(type, copy, *payment);
            if (accepted) copy.m_Payments.push_back(std::move(payment));
            return accepted;
        });
        purchase = static_cast<CPurchaseRecord*>(m_pDatabase->GetItem(TABLE_PURCHASE, code));
        if (!accepted || purchase == nullptr) {
            Refill();
            return;
        }
    }
    Refill();
    CheckPaymentTotal(*purchase);
}

bool CPagePaymentSchedule::InitNewPayment(char type, CPurchaseRecord& purchase, CSchedulePayment& payment)
{
    payment.m_cKind = type;
    payment.m_sMethodText.clear();
    payment.m_nPayer = purchase.m_nPerson;
    payment.m_sDescription = purchase.m_sDescription;
    switch (type) {
    case 'U':
        payment.m_nCategory = m_pDatabase->GetDefaultAccount(param::kAccountPayments);
        payment.m_cMethod = 'C';
        break;
    case 'F':
        payment.m_nCategory = m_pDatabase->GetDefaultAccount(param::kAccountRefunds);
        payment.m_cMethod = 'C';
        break;
    case 'd':
        payment.m_nCategory = NO_CODE;
        payment.m_cMethod = 'A';
        return SelectDiscount(payment);
    case 'c':
        payment.m_nCategory = m_pDatabase->GetDefaultAccount(param::kAccountCredits);
        payment.m_cMethod = 'A';
        return ApplyCredit(purchase, payment);
    default:
        break;
    }
    stPaymentEditRequest request;
    request.payment = &payment;
    request.purchase = &purchase;
    request.extraPerson = m_pSheetPerson;
    request.ledger = m_pLedger;
    if (m_pDatabase->Ui().EditScheduledPayment(*m_pDatabase, request) != 1) return false;
    for (auto& credit : request.newCredits) purchase.m_Payments.push_back(std::move(credit));
    return true;
}

bool CPagePaymentSchedule::SelectDiscount(CSchedulePayment& payment)
{
    CDialogMenu menu(m_pDatabase, "Select discount", 'S', 'S', -1, 0, "", this);
    int count = 0;
    for (const stIndex& e : *m_pDatabase->GetItemList(TABLE_PRICELIST)) {
        const CPriceListItem* item = static_cast<const CPriceListItem*>(e.pItem);
        if (item->m_cKind != 'D') continue;
        menu.AddItem(item->m_nCode, item->m_sName);
        ++count;
    }
    if (count == 0) {
        GetResponse("No discounts been specified.", MB_OK);
        return false;
    }
    const int chosen = menu.DoModal();
    const CPriceListItem* item =
        chosen < 0 ? nullptr : static_cast<const CPriceListItem*>(m_pDatabase->GetItem(TABLE_PRICELIST, static_cast<uint32_t>(chosen)));
    if (item == nullptr) return false;
    // A discount item's number is its fixed-amount flag: 0 a percentage.
    payment.m_nReference = item->m_nNumber == 0 ? 0 : 1;
    payment.m_dAmount = item->m_dPrice;
    payment.m_sDescription = item->m_sName;
    return true;
}

bool CPagePaymentSchedule::ApplyCredit(CPurchaseRecord& purchase, CSchedulePayment& payment)
{
    size_t due = 0;
    const double dueSum = CPurchaseMoney::DueTotal(purchase, &due);
    if (due == 0) {
        GetResponse("No payments due to apply credit.", MB_OK);
        return false;
    }
    if (m_pLedger == nullptr) return false;
    const uint32_t owner = m_pSheetPerson ? m_pSheetPerson->m_nCode : purchase.GetPayer();
    const std::vector<CCreditLedger::stOffer> offers = m_pLedger->CollectOffers(owner);
    if (offers.empty()) {
        GetResponse("No credits due for this person.", MB_OK);
        return false;
    }
    CDialogMenu menu(m_pDatabase, "Select credit", 'S', 'N', -1, 0, "", this);
    for (const auto& offer : offers)
        menu.AddItem(offer.nCode, Format("%s ($%.2f)", offer.sDescription.c_str(), offer.dOpen));
    const int chosen = menu.DoModal();
    if (chosen < 0) return false;
    double taken = 0.0;
    std::string description;
    if (!m_pLedger->Take(static_cast<uint32_t>(chosen), dueSum, taken, description)) return false;
    payment.m_sDescription = description;
    payment.m_dAmount = CPurchaseMoney::SpreadCredit(purchase, taken);
    payment.m_nReference = static_cast<uint32_t>(chosen);
    return true;
}

void CPagePaymentSchedule::OnEditPayment()
{
    const stDataToken* row = SelectedRow(true);
    if (row == nullptr) return;
    if (row->type == 'd' || row->type == 'c') return;
    CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(row->record);
    const int32_t index = row->index1;
    if (m_pPerson != nullptr) {
        const stDataToken request = MakeDataToken('p', 0.0, nullptr, index);
        m_pDatabase->EditTableItem(TABLE_PURCHASE, purchase->m_nCode, &request);
        Refill();
        return;
    }
    stPaymentEditRequest request;
    request.payment = PaymentOf(*row);
    request.purchase = purchase;
    request.extraPerson = m_pSheetPerson;
    request.ledger = m_pLedger;
    if (request.payment == nullptr || m_pDatabase->Ui().EditScheduledPayment(*m_pDatabase, request) != 1) return;
    for (auto& credit : request.newCredits) purchase->m_Payments.push_back(std::move(credit));
    Refill();
    CheckPaymentTotal(*purchase);
}

void CPagePaymentSchedule::OnMarkPaid()
{
    const stDataToken* row = SelectedRow(true);
    if (row == nullptr) return;
    CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(row->record);
    CSchedulePayment* payment = PaymentOf(*row);
    if (payment == nullptr) return;
    // The dialog works on a copy: Cancel leaves the payment due.
    CSchedulePayment copy;
    copy.CopyFrom(*payment);
    copy.m_cKind = 'R';
    if (copy.m_dDate == 0.0) copy.m_dDate = GetToday(0);
    stPaymentEditRequest request;
    request.payment = &copy;
    request.purchase = purchase;
    request.extraPerson = m_pSheetPerson;
    request.ledger = m_pLedger;
    if (m_pDatabase->Ui().EditScheduledPayment(*m_pDatabase, request) != 1) return;
    if (m_pPerson != nullptr) {
        const size_t index = static_cast<size_t>(row->index1);
        m_pDatabase->ChangeItem(TABLE_PURCHASE, purchase->m_nCode, [&](void* item) {
            CPurchaseRecord& stored = *static_cast<CPurchaseRecord*>(item);
            if (index >= stored.m_Payments.size()) return false;
            stored.m_Payments[index]->CopyFrom(copy);
            return true;
        });
    } else {
        payment->CopyFrom(copy);
        for (auto& credit : request.newCredits) purchase->m_Payments.push_back(std::move(credit));
    }
    Refill();
}

void CPagePaymentSchedule::OnDeletePayment()
{
    const stDataToken* row = SelectedRow(true);
    if (row == nullptr) return;
    CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(row->record);
    const CSchedulePayment* selected = PaymentOf(*row);
    if (selected == nullptr) return;
    const size_t index = static_cast<size_t>(row->index1);
    // A credit entry's amount goes back to its credit once the purchase no longer carries it. The
    // credit is held first, so that no other desk spends it meanwhile; a credit used up since is
    // given back as a new credit of its owner.
    const bool credit = selected->m_cKind == 'c' && selected->m_nReference != NO_CODE && m_pLedger != nullptr;
    const uint32_t creditCode = selected->m_nReference;
    const double amount = selected->m_dAmount;
    const std::string description = selected->m_sDescription;
    const uint32_t owner = m_pSheetPerson ? m_pSheetPerson->m_nCode : purchase->GetPayer();
    int held = 0;
    if (credit && (held = m_pLedger->Hold(creditCode)) == 0) return;
    auto remove = [&](CPurchaseRecord& p) {
        if (index >= p.m_Payments.size()) return false;
        const CSchedulePayment& entry = *p.m_Payments[index];
        // The stored purchase must still carry the same credit entry (another desk may have
        // taken it out meanwhile).
        if (credit && (entry.m_cKind != 'c' || entry.m_nReference != creditCode)) return false;
        if (entry.m_cKind == 'U') {
            int undated = 0;
            for (const auto& pay : p.m_Payments)
                if (pay->m_cKind == 'U') ++undated;
            if (undated < 2) {
                GetResponse("Can not delete all payments for a purchase.", MB_OK);
                return false;
            }
        }
        p.m_Payments.erase(p.m_Payments.begin() + static_cast<std::ptrdiff_t>(index));
        return true;
    };
    const uint32_t code = purchase->m_nCode;
    if (m_pPerson != nullptr) {
        if (!m_pDatabase->ChangeItem(TABLE_PURCHASE, code, [&](void* item) { return remove(*static_cast<CPurchaseRecord*>(item)); }))
            return;
        purchase = static_cast<CPurchaseRecord*>(m_pDatabase->GetItem(TABLE_PURCHASE, code));
    } else if (!remove(*purchase)) {
        return;
    }
    if (credit) {
        if (held == 1) m_pLedger->GiveBack(creditCode, amount);
        else m_pLedger->AddNewCredit(owner, amount, description);
        // Person mode stored the purchase already: the credit follows at once.
        if (m_pPerson != nullptr) m_pLedger->Commit();
    }
    Refill();
    if (purchase) CheckPaymentTotal(*purchase);
}

void CPagePaymentSchedule::OnSplitPayment()
{
    const stDataToken* row = SelectedRow(true);
    if (row == nullptr) return;
    CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(row->record);
    const int parts = std::atoi(PromptForString("Number", 10, "", 0).c_str());
    if (parts < 2) return;
    const size_t index = static_cast<size_t>(row->index1);
    if (m_pPerson != nullptr) {
        const uint32_t code = purchase->m_nCode;
        m_pDatabase->ChangeItem(TABLE_PURCHASE, code, [&](void* item) {
            return CPurchaseMoney::Split(*static_cast<CPurchaseRecord*>(item), index, parts);
        });
        purchase = static_cast<CPurchaseRecord*>(m_pDatabase->GetItem(TABLE_PURCHASE, code));
    } else if (!CPurchaseMoney::Split(*purchase, index, parts)) {
        return;
    }
    Refill();
    if (purchase) CheckPaymentTotal(*purchase);
}

void CPagePaymentSchedule::OnEqualizeAll()
{
    if (m_pPerson != nullptr || m_pPurchase == nullptr) return;
    std::string message;
    if (!CPurchaseMoney::Equalize(*m_pPurchase, &message)) {
        GetResponse(message, MB_OK);
        return;
    }
    Refill();
}
