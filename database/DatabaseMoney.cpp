// CDatabase: selling on the spot, checking out the shopping cart, recording a payment against an
// open purchase, and opening the editor of a schedule entry.

#include "database/Database.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/CreditLedger.h"
#include "database/MoneyRequests.h"
#include "platform/host/Format.h"

namespace {

constexpr double kLeastAmount = 0.001;
constexpr double kHalfCent = 0.005;

// Choices of the payment selection beside the purchases (as item data; purchases use their code).
constexpr uint32_t kPaymentByStudio = 0xFFFFFFF0;
constexpr uint32_t kCreditByStudio = 0xFFFFFFF1;
constexpr uint32_t kPayAsYouGo = 0xFFFFFFF2;

// A purchase item as the price-list item makes it: code, name, price and the values it carries
// over (basic type, kind, quantity, teacher, lesson value).
std::unique_ptr<CPurchaseItem> MakePurchaseItem(const CPriceListItem& from)
{
    auto item = std::make_unique<CPurchaseItem>();
    item->m_nPriceListCode = from.m_nCode;
    item->m_sName = from.m_sName;
    item->m_dAmount = from.m_dPrice;
    item->m_nType = from.m_nBasicType;
    item->m_cKind = from.m_cKind;
    item->m_nCount = from.m_nNumber;
    item->m_nTeacher = from.m_nTeacher;
    item->m_nLessonValue = from.m_nDuration;
    return item;
}

std::unique_ptr<CScheduleToken> MakeToken(const CPurchaseItem& item, char state, DATE date, uint32_t priceListCode,
                                          uint32_t teacher, uint32_t further)
{
    auto token = std::make_unique<CScheduleToken>();
    token->m_cKind = item.m_cKind;
    token->m_cState = state;
    token->m_dDate = date;
    token->m_nLessonValue = item.m_nLessonValue;
    token->m_nActivity = priceListCode;
    token->m_nField8 = teacher;
    token->m_nField9 = further;
    token->m_cStampUser = GetStampUserCode();
    token->m_dStampDate = GetNow();
    return token;
}

}  // namespace

bool CDatabase::IsRepeatSale(const CPurchaseRecord& earlier, const CPurchaseRecord& sale) const
{
    if (earlier.m_nStatus != sale.m_nStatus || earlier.m_nPerson != sale.m_nPerson ||
        earlier.m_dPrice != sale.m_dPrice || earlier.m_cPricing != sale.m_cPricing ||
        earlier.m_sDescription != sale.m_sDescription)
        return false;
    if (earlier.m_Items.size() != 1 || sale.m_Items.size() != 1) return false;
    const CPurchaseItem& a = *earlier.m_Items[0];
    const CPurchaseItem& b = *sale.m_Items[0];
    if (a.m_nPriceListCode != b.m_nPriceListCode || a.m_Tokens.size() != 1 || b.m_Tokens.size() != 1) return false;
    const CScheduleToken& ta = *a.m_Tokens[0];
    const CScheduleToken& tb = *b.m_Tokens[0];
    return ta.m_cKind == tb.m_cKind && IsSameDay(ta.m_dDate, tb.m_dDate) && ta.m_nField8 == tb.m_nField8 &&
           ta.m_nField9 == tb.m_nField9;
}

std::vector<const CPurchaseRecord*> CDatabase::FindRepeatSales(const CPurchaseRecord& sale)
{
    std::vector<const CPurchaseRecord*> repeats;
    for (size_t at : FindPurchasesOf(sale.m_nPerson)) {
        const auto* earlier = static_cast<const CPurchaseRecord*>(m_aIndex[TABLE_PURCHASE][at].pItem);
        if (IsRepeatSale(*earlier, sale)) repeats.push_back(earlier);
    }
    return repeats;
}

int CDatabase::SellItemNow(uint32_t priceListCode, uint32_t person, DATE when)
{
    if (m_fnSellItemNow) return m_fnSellItemNow(priceListCode, person, when);
    const CPriceListItem* item = static_cast<const CPriceListItem*>(GetItem(TABLE_PRICELIST, priceListCode));
    if (item == nullptr) return 2;
    return SellItemNow(person, item->m_nTeacher, NO_CODE, item, 1, when) == 1 ? 1 : 2;
}

int CDatabase::SellItemNow(uint32_t person, uint32_t teacher, uint32_t further, const CPriceListItem* item,
                           int askPayment, DATE date)
{
    if (item == nullptr) return 0;
    if (date == 0.0) date = GetNow();
    CPurchaseRecord purchase;
    purchase.m_nStatus = CPurchaseRecord::STATUS_ACTIVE;
    purchase.m_nPerson = person;
    purchase.m_dPrice = item->m_dPrice;
    purchase.m_cPricing = 'T';
    purchase.m_sDescription = item->m_sName;
    auto purchaseItem = MakePurchaseItem(*item);
    purchaseItem->m_Tokens.push_back(MakeToken(*purchaseItem, 'U', date, item->m_nCode, teacher, further));
    purchase.m_Items.push_back(std::move(purchaseItem));

    auto payment = std::make_unique<CSchedulePayment>();
    payment->m_cKind = 'R';
    payment->m_cMethod = 'A';
    payment->m_nPayer = person;
    payment->m_sDescription = purchase.m_sDescription;
    payment->m_dAmount = purchase.m_dPrice;
    payment->m_dDate = date;
    payment->m_nCategory = GetDefaultAccount(param::kAccountPayments);

    for (const CPurchaseRecord* earlier : FindRepeatSales(purchase)) {
        if (GetResponse(Format("This person has already purchased\n%s\non this date.\nIs this a different purchase?",
                               earlier->m_sDescription.c_str()),
                        MB_YESNO) != IDYES)
            return 0;
    }

    CCreditLedger ledger(*this);
    if (askPayment == 1) {
        stPaymentEditRequest request;
        request.payment = payment.get();
        request.purchase = &purchase;
        request.creditAllowed = 1;
        request.ledger = &ledger;
        if (Ui().EditScheduledPayment(*this, request) != IDOK) return 0;
        if (std::fabs(payment->m_dAmount) > kLeastAmount || request.creditApplied)
            purchase.m_Payments.push_back(std::move(payment));
        for (auto& credit : request.newCredits)
            if (credit && std::fabs(credit->m_dAmount) > kLeastAmount) purchase.m_Payments.push_back(std::move(credit));
    } else {
        payment->m_cKind = 'U';
        purchase.m_Payments.push_back(std::move(payment));
    }
    if (AddTableItem(TABLE_PURCHASE, LOC_NONE, &purchase, 0, 0, nullptr) != 1) {
        // Nothing was stored: the credits stay as they were.
        ledger.Release();
        return 0;
    }
    ledger.Commit();
    return 1;
}

int CDatabase::CheckoutShoppingCart()
{
    stShoppingCart cart;
    if (!Ui().RunShoppingCart(*this, cart) || cart.aItems.empty()) return 2;
    CPurchaseRecord purchase;
    purchase.m_nStatus = CPurchaseRecord::STATUS_ACTIVE;
    purchase.m_nPerson = cart.nPerson;
    purchase.m_dPrice = cart.dTotal;
    purchase.m_cPricing = 'T';
    purchase.m_sDescription = "Shopping cart";
    for (uint32_t code : cart.aItems) {
        const CPriceListItem* from = static_cast<const CPriceListItem*>(GetItem(TABLE_PRICELIST, code));
        if (from == nullptr) continue;
        auto item = MakePurchaseItem(*from);
        const uint32_t teacher = item->m_nTeacher != NO_CODE ? item->m_nTeacher : from->m_nTeacher;
        if (from->IsKindPS()) {
            for (int32_t i = 0; i < item->m_nCount; ++i) {
                const bool dated = static_cast<size_t>(i) < from->m_Dates.size();
                item->m_Tokens.push_back(MakeToken(*item, dated ? 'S' : 'N', dated ? from->m_Dates[static_cast<size_t>(i)] : 0.0,
                                                   from->m_nCode, teacher, NO_CODE));
            }
        } else if (from->m_cKind == 'T' || from->m_cKind == 'N') {
            item->m_Tokens.push_back(MakeToken(*item, 'N', 0.0, NO_CODE, item->m_nTeacher, NO_CODE));
        }
        purchase.m_Items.push_back(std::move(item));
    }
    auto payment = std::make_unique<CSchedulePayment>();
    // A sale the cart left unpaid is due ('U' or 'S') rather than received.
    payment->m_cKind = cart.cType == 'R' && (cart.cStatus == 'U' || cart.cStatus == 'S') ? cart.cStatus : cart.cType;
    payment->m_cMethod = cart.cMethod;
    payment->m_sMethodText = cart.sMethodText;
    payment->m_nCategory = cart.nAccount;
    payment->m_nPayer = cart.nPerson;
    payment->m_sDescription = purchase.m_sDescription;
    payment->m_dAmount = purchase.m_dPrice;
    if (cart.dDate != 0.0) payment->m_dDate = cart.dDate;
    payment->m_nReference = cart.nReceipt;
    purchase.m_Payments.push_back(std::move(payment));
    return AddTableItem(TABLE_PURCHASE, LOC_NONE, &purchase, 0, 0, nullptr);
}

int CDatabase::AddOrSelectStudent()
{
    std::string first, last;
    const int32_t chosen = Ui().AddOrSelectPerson(*this, first, last);
    if (chosen == -1) return 2;
    if (chosen == -2) {
        CPerson person('C');
        WriteMemoryTraceAlloc(&person, "pPerson in CDialogAddPerson::OnMyOk");
        person.m_sFirstName = first;
        person.m_sLastName = last;
        const stDataToken source = MakeDataToken('R', 0.0, &person);
        const int result = AddTableItem(TABLE_PERSON, LOC_NONE, nullptr, 1, LOC_NONE, &source);
        WriteMemoryTraceFree(&person);
        return result;
    }
    return EditTableItem(TABLE_PERSON, static_cast<uint32_t>(chosen), nullptr);
}

int CDatabase::AddPurchaseForStudent()
{
    const int32_t chosen = SelectPerson('C', 0, 0, 1);
    if (chosen == -1) return 2;
    if (chosen == -2) return AddOrSelectStudent();
    CPerson* student = static_cast<CPerson*>(GetItem(TABLE_PERSON, static_cast<uint32_t>(chosen)));
    if (student == nullptr) return 2;
    const stDataToken source = MakeDataToken('R', 0.0, student, static_cast<int32_t>(student->m_nCode));
    return AddTableItem(TABLE_PURCHASE, LOC_NONE, nullptr, 1, LOC_NONE, &source);
}

void CDatabase::RecordPayment()
{
    std::vector<std::pair<uint32_t, std::string>> items = {
        {kPaymentByStudio, "<Payment by studio>"},
        {kCreditByStudio, "<Credit by studio>"},
        {kPayAsYouGo, "<Payment (non-contract/pay-as-you-go)>"},
    };
    for (const stIndex& e : *GetItemList(TABLE_PURCHASE)) {
        const CPurchaseRecord* p = static_cast<const CPurchaseRecord*>(e.pItem);
        if (p->m_nStatus != CPurchaseRecord::STATUS_ACTIVE || p->GetBalance() <= kHalfCent) continue;
        std::string name;
        GetPersonName(name, p->m_nPerson, 0);
        items.emplace_back(p->m_nCode, Format("By %s for %s", name.c_str(), p->m_sDescription.c_str()));
    }
    const uint32_t choice = static_cast<uint32_t>(Ui().SelectOne("Select item", items));
    if (choice == NO_CODE) return;
    char kind = 0;
    if (choice == kPaymentByStudio) kind = 'P';
    else if (choice == kCreditByStudio) kind = 'c';
    else if (choice == kPayAsYouGo) kind = 'R';
    if (kind != 0) {
        const stDataToken request = MakeDataToken(kind, 0.0, nullptr);
        AddTableItem(TABLE_PAYMENT, LOC_NONE, nullptr, 1, 0, &request);
        return;
    }
    const CPurchaseRecord* purchase = static_cast<const CPurchaseRecord*>(GetItem(TABLE_PURCHASE, choice));
    if (purchase == nullptr) return;
    // The open payments by date; one not yet scheduled counts as undated.
    std::vector<std::pair<DATE, uint32_t>> open;
    for (size_t i = 0; i < purchase->m_Payments.size(); ++i) {
        const CSchedulePayment& p = *purchase->m_Payments[i];
        if (p.m_cKind == 'U' || p.m_cKind == 'S') open.emplace_back(p.m_cKind == 'U' ? 0.0 : p.m_dDate, static_cast<uint32_t>(i));
    }
    std::stable_sort(open.begin(), open.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    if (open.empty()) return;
    uint32_t index = open.front().second;
    if (open.size() > 1) {
        std::vector<std::pair<uint32_t, std::string>> lines;
        for (const auto& [date, i] : open) {
            CSchedulePayment shown;
            shown.CopyFrom(*purchase->m_Payments[i]);
            shown.m_dDate = date;
            lines.emplace_back(i, shown.GetText(purchase->m_sDescription));
        }
        const int32_t picked = Ui().SelectOne("Select payment", lines);
        if (picked < 0) return;
        index = static_cast<uint32_t>(picked);
    }
    // Edited on the purchase as the file holds it, under its record lock.
    const stDataToken request = MakeDataToken('p', 0.0, nullptr, static_cast<int32_t>(index));
    EditTableItem(TABLE_PURCHASE, purchase->m_nCode, &request);
}

int CDatabase::EditScheduleEntry(const stDataToken* entry)
{
    if (entry == nullptr || entry->record == nullptr) return 2;
    switch (entry->type) {
    case 'S':
    case 's':
        return EditTableItem(TABLE_SCHEDULE, static_cast<const CScheduleRecord*>(entry->record)->m_nCode, nullptr);
    case 'T':
    case 'p':
        return EditTableItem(TABLE_PURCHASE, static_cast<const CPurchaseRecord*>(entry->record)->m_nCode, entry);
    case '$':
        return EditTableItem(TABLE_PRICELIST, static_cast<const CPriceListItem*>(entry->record)->m_nCode, entry);
    case 'P':
        return EditTableItem(TABLE_PAYMENT, static_cast<const CPaymentRecord*>(entry->record)->m_nCode, nullptr);
    case 'D':
    case 'M':
    case 'N':
        return EditTableItem(TABLE_PERSON, static_cast<const CPerson*>(entry->record)->m_nCode, entry);
    case 'B':
    case 'A': {
        const CPerson* person = static_cast<const CPerson*>(entry->record);
        DATE date = entry->type == 'B' ? person->m_dBirthday : person->m_dAnniversary;
        if (!Ui().AskDate(*this, date)) return 2;
        const char kind = entry->type;
        const int stored = ChangeItem(TABLE_PERSON, person->m_nCode, [&](void* copy) {
            CPerson* p = static_cast<CPerson*>(copy);
            if (kind == 'B') p->m_dBirthday = date;
            else p->m_dAnniversary = date;
            return true;
        });
        return stored == 1 ? 1 : 2;
    }
    default:
        return 2;
    }
}
