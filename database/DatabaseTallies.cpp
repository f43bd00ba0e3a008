// CDatabase: the per-category tallies that the report grids and statistics start from, the
// date-indexed payment list, and the account settings kept in a category's parameter bytes.
//
// Periods are from <= date < to. A tally code of -1 or of a category that no longer exists is
// counted as TALLY_OTHER (-2); a purchase of several items as TALLY_SEVERAL (-3).

#include "database/Database.h"

#include <algorithm>

#include "common/ListHelpers.h"
#include "platform/host/Format.h"

namespace {

bool InPeriod(DATE date, DATE from, DATE to)
{
    return from <= date && date < to;
}

// The purchase field that holds its contract-type category.
uint32_t ContractTypeOf(const CPurchaseRecord& purchase)
{
    return purchase.m_nField12;
}

// Where account settings stand in a category's parameter bytes.
constexpr uint32_t ACCOUNT_TYPE_AT = 0;
constexpr uint32_t ACCOUNT_TRANSACTION_AT = 1;
constexpr uint32_t ACCOUNT_DISTRIBUTION_AT = 5;
constexpr uint32_t ACCOUNT_FLAGS_AT = 9;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Adding into tallies

void AddToContractTotal(int32_t kind, uint32_t code, double amount, std::vector<stContractTotal>& list)
{
    const int at = FindEntryByCode(code, list);
    if (at < 0) return;
    stContractTotal& t = list[static_cast<size_t>(at)];
    if (kind == -1 || kind == -2) {
        t.dTotal += amount;
        ++t.nContracts;
    } else if (kind == 'F') {
        t.dRefunds += amount;
    } else if (kind == 'V') {
        ++t.nVisits;
    }
}

void AddToActivityTotal(char letter, uint32_t code, uint32_t units, std::vector<stActivityCount>& list,
                        uint32_t count)
{
    const int at = FindEntryByCode(code, list);
    if (at < 0) return;
    stActivityCount& t = list[static_cast<size_t>(at)];
    switch (letter) {
    case 'E':
        t.nEnrolled += count;
        t.nEnrolledUnits += units * count;
        break;
    case 'U':
        t.nTaken += count;
        t.nTakenUnits += units * count;
        break;
    case 'C':
        t.nCancelled += count;
        t.nCancelledUnits += units * count;
        break;
    default: break;
    }
}

void AddScheduledActivity(DATE from, DATE to, uint32_t code, const CScheduleToken& token,
                          std::vector<stActivityCount>& list)
{
    if (token.m_cKind != 'p' && token.m_cKind != 's' && token.m_cKind != 'N') return;
    if (token.m_cState != 'c' && token.m_cState != 'U') return;
    // A cancelled token counts when it was cancelled, which its stamp records.
    const DATE date = token.m_cState == 'c' ? token.m_dStampDate : token.m_dDate;
    if (!InPeriod(date, from, to)) return;
    uint32_t units = static_cast<uint32_t>(token.m_nLessonValue);
    if (token.m_nSplitCount != 0) units /= token.m_nSplitCount;
    AddToActivityTotal(token.m_cState == 'c' ? 'C' : 'U', code, units, list, 1);
}

bool IsEntryDone(const stDataToken& entry, int tokenMode)
{
    if (tokenMode == 1 && entry.type == 'T') {
        const auto* purchase = static_cast<const CPurchaseRecord*>(entry.record);
        if (purchase == nullptr || entry.index1 < 0 ||
            static_cast<size_t>(entry.index1) >= purchase->m_Items.size())
            return false;
        const CPurchaseItem& item = *purchase->m_Items[static_cast<size_t>(entry.index1)];
        if (entry.index2 < 0 || static_cast<size_t>(entry.index2) >= item.m_Tokens.size()) return false;
        return item.m_Tokens[static_cast<size_t>(entry.index2)]->m_cState == 'U';
    }
    return entry.type == 'p' || entry.type == 'P';
}

// ---------------------------------------------------------------------------------------------
// Account settings of a category

void GetCategoryAccountParams(const CCategory& category, uint8_t& type, uint32_t& transactionAccount,
                              uint32_t& distributionAccount, std::array<int, 5>& flags)
{
    const std::array<uint8_t, 64>& p = category.m_Params;
    type = p[ACCOUNT_TYPE_AT];
    CRecordReader transaction(p.data() + ACCOUNT_TRANSACTION_AT, 4);
    GetUInt32(transaction, transactionAccount);
    CRecordReader distribution(p.data() + ACCOUNT_DISTRIBUTION_AT, 4);
    GetUInt32(distribution, distributionAccount);
    for (size_t i = 0; i < flags.size(); ++i) flags[i] = p[ACCOUNT_FLAGS_AT + i];
}

void SetCategoryAccountParams(CCategory& category, uint8_t type, uint32_t transactionAccount,
                              uint32_t distributionAccount, const std::array<int, 5>& flags)
{
    std::array<uint8_t, 64>& p = category.m_Params;
    p[ACCOUNT_TYPE_AT] = type;
    CRecordWriter transaction(p.data() + ACCOUNT_TRANSACTION_AT, 4);
    PutUInt32(transaction, transactionAccount);
    CRecordWriter distribution(p.data() + ACCOUNT_DISTRIBUTION_AT, 4);
    PutUInt32(distribution, distributionAccount);
    for (size_t i = 0; i < flags.size(); ++i) p[ACCOUNT_FLAGS_AT + i] = static_cast<uint8_t>(flags[i]);
}

// ---------------------------------------------------------------------------------------------
// Preparing and summing

uint32_t CDatabase::GetTallyCode(uint32_t categoryCode) const
{
    return CheckCategoryCode(categoryCode) == NO_CODE ? TALLY_OTHER : categoryCode;
}

void CDatabase::SumSalesByCategory(int mode, DATE from, DATE to, std::vector<stCodeTotal>& list,
                                   std::vector<stCodeTotal>* second) const
{
    SumSalesByCategory(mode, {{from, to, &list, second}});
}

void CDatabase::SumSalesByCategory(int mode, const std::vector<stTallyPeriod<stCodeTotal>>& periods) const
{
    for (const stIndex& e : m_aIndex[TABLE_PURCHASE]) {
        const CPurchaseRecord* purchase = static_cast<const CPurchaseRecord*>(e.pItem);
        if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
        // A purchase of one item counts under that item's category; of several under "several";
        // one without items has no category at all.
        uint32_t code = TALLY_OTHER;
        uint32_t count = 1;
        if (purchase->m_Items.size() == 1) {
            code = GetTallyCode(purchase->m_Items[0]->m_nType);
            count = static_cast<uint32_t>(purchase->m_Items[0]->m_nCount);
        } else if (purchase->m_Items.size() > 1) {
            code = TALLY_SEVERAL;
        }
        if (mode == 1)
            for (const auto& period : periods)
                if (InPeriod(purchase->m_dDate, period.from, period.to))
                    AddToCodeTotal(code, count, purchase->GetTotal(0), *period.list);
        if (mode == 2) {
            for (const auto& payment : purchase->m_Payments)
                for (const auto& period : periods) {
                    if (!InPeriod(payment->m_dDate, period.from, period.to)) continue;
                    if (payment->m_cKind == 'R') AddToCodeTotal(code, 1, payment->m_dAmount, *period.list);
                    else if (payment->m_cKind == 'F' && period.second != nullptr)
                        AddToCodeTotal(code, 1, payment->m_dAmount, *period.second);
                }
        }
    }
    if (mode != 2 && mode != 4) return;
    for (const stIndex& e : m_aIndex[TABLE_PAYMENT]) {
        const CPaymentRecord* payment = static_cast<const CPaymentRecord*>(e.pItem);
        if (payment->m_cReceived != 'R') continue;
        for (const auto& period : periods) {
            if (!InPeriod(payment->m_dDate, period.from, period.to)) continue;
            if (mode == 2) {
                if (payment->m_cType == 'R') AddToCodeTotal(TALLY_OTHER, 1, payment->m_dAmount, *period.list);
                else if (payment->m_cType == 'q' && period.second != nullptr)
                    AddToCodeTotal(TALLY_OTHER, 1, payment->m_dAmount, *period.second);
            } else if (payment->m_cType == 'P') {
                AddToCodeTotal(GetTallyCode(payment->m_nField14), 1, payment->m_dAmount, *period.list);
            }
        }
    }
}

void CDatabase::PrepareContractTypeTotals(std::vector<stContractTotal>& list) const
{
    list.clear();
    for (const stIndex& e : m_aIndex[TABLE_CATEGORY]) {
        const CCategory* c = static_cast<const CCategory*>(e.pItem);
        if (c->m_cType == 'C') list.push_back(stContractTotal{c->m_nCode});
    }
    list.push_back(stContractTotal{TALLY_OTHER});
}

void CDatabase::SumContractsByType(DATE from, DATE to, std::vector<stContractTotal>& list,
                                   std::vector<stContractTotal>& second) const
{
    SumContractsByType({{from, to, &list, &second}});
}

void CDatabase::SumContractsByType(const std::vector<stTallyPeriod<stContractTotal>>& periods) const
{
    for (const stIndex& e : m_aIndex[TABLE_PURCHASE]) {
        const CPurchaseRecord* purchase = static_cast<const CPurchaseRecord*>(e.pItem);
        const uint32_t code = GetTallyCode(ContractTypeOf(*purchase));
        const bool cancelled = purchase->m_nStatus == CPurchaseRecord::STATUS_CANCELLED;
        for (const auto& period : periods) {
            if (InPeriod(purchase->m_dDate, period.from, period.to))
                AddToContractTotal(-1, code, purchase->GetTotal(0), *period.list);
            // A cancellation writes its date into the second stamp.
            if (cancelled && InPeriod(purchase->m_dStamp2Date, period.from, period.to))
                AddToContractTotal(-2, code, purchase->GetTotal(0), *period.second);
        }
        for (const auto& payment : purchase->m_Payments) {
            if (payment->m_cKind != 'F') continue;
            for (const auto& period : periods)
                if (InPeriod(payment->m_dDate, period.from, period.to))
                    AddToContractTotal('F', code, payment->m_dAmount, *period.second);
        }
    }
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* person = static_cast<const CPerson*>(e.pItem);
        for (const auto& interview : person->m_Interviews) {
            if (interview->m_cKind != 'V') continue;
            const uint32_t code = interview->m_nField9 == NO_CODE ? TALLY_OTHER : interview->m_nField9;
            for (const auto& period : periods)
                if (InPeriod(interview->m_dDate, period.from, period.to)) AddToContractTotal('V', code, 0.0, *period.list);
        }
    }
}

void CDatabase::PrepareInterviewSourceTotals(std::vector<stSourceTotal>& list) const
{
    list.clear();
    for (const stIndex& e : m_aIndex[TABLE_CATEGORY]) {
        const CCategory* c = static_cast<const CCategory*>(e.pItem);
        if (c->m_cType == 'I') list.push_back(stSourceTotal{c->m_nCode});
    }
    list.push_back(stSourceTotal{TALLY_OTHER});
}

void CDatabase::SumInterviewSources(DATE from, DATE to, std::vector<stSourceTotal>& list) const
{
    // The entry of a code, appended when the list has none yet.
    auto entryOf = [&list](uint32_t code) -> stSourceTotal& {
        const int at = FindEntryByCode(code, list);
        if (at >= 0) return list[static_cast<size_t>(at)];
        list.push_back(stSourceTotal{code});
        return list.back();
    };
    auto orOther = [](uint32_t code) { return code == NO_CODE ? TALLY_OTHER : code; };

    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* person = static_cast<const CPerson*>(e.pItem);
        if (InPeriod(person->m_dStamp1Date, from, to)) ++entryOf(orOther(person->m_nReferredBy)).nNewPersons;
        for (const auto& interview : person->m_Interviews) {
            if (!InPeriod(interview->m_dDate, from, to)) continue;
            stSourceTotal& t = entryOf(orOther(interview->m_nDueTo));
            if (interview->m_cKind == 'P') ++t.nPhoneInterviews;
            else if (interview->m_nField8 == 1) ++t.nVisits;
        }
    }
    for (const stIndex& e : m_aIndex[TABLE_PAYMENT]) {
        const CPaymentRecord* payment = static_cast<const CPaymentRecord*>(e.pItem);
        if (payment->m_cType != 'P' || payment->m_cReceived != 'R') continue;
        if (GetCategoryType(payment->m_nField12) != 'I' || !InPeriod(payment->m_dDate, from, to)) continue;
        entryOf(payment->m_nField12).dAmount += payment->m_dAmount;
    }
}

void CDatabase::PrepareBasicItemTotals(std::vector<stActivityCount>& list) const
{
    list.clear();
    for (const stIndex& e : m_aIndex[TABLE_CATEGORY]) {
        const CCategory* c = static_cast<const CCategory*>(e.pItem);
        if (c->m_cType != 'B') continue;
        stActivityCount entry;
        entry.nCode = c->m_nCode;
        list.push_back(entry);
    }
}

void CDatabase::SumItemActivity(DATE from, DATE to, std::vector<stActivityCount>& list) const
{
    for (const stIndex& e : m_aIndex[TABLE_PURCHASE]) {
        const CPurchaseRecord* purchase = static_cast<const CPurchaseRecord*>(e.pItem);
        const bool active = purchase->m_nStatus == CPurchaseRecord::STATUS_ACTIVE;
        const bool sold = InPeriod(purchase->m_dDate, from, to);
        const bool closed = !active && InPeriod(purchase->m_dStamp2Date, from, to);
        for (const auto& item : purchase->m_Items) {
            const uint32_t code = item->m_nType;
            const bool lessons = item->m_cKind == 'p' || item->m_cKind == 's' || item->m_cKind == 'N';
            const uint32_t units = static_cast<uint32_t>(item->m_nLessonValue);
            if (lessons && sold)
                AddToActivityTotal('E', code, units, list, static_cast<uint32_t>(item->m_nCount));
            if (active) {
                for (const auto& token : item->m_Tokens) AddScheduledActivity(from, to, code, *token, list);
            } else if (lessons && closed) {
                const uint32_t unused = item->GetUnusedCount();
                if (unused > 0) AddToActivityTotal('C', code, units, list, unused);
                for (const auto& token : item->m_Tokens)
                    if (token->m_cState == 'U') AddScheduledActivity(from, to, code, *token, list);
            }
        }
    }
}

void CDatabase::SumCategoryTotalsByType(std::string& text, const std::vector<stCodeTotal>& list, char type,
                                        int contracts) const
{
    double sum = 0.0;
    for (const stCodeTotal& t : list)
        if ((contracts == 1 && t.nCode == TALLY_SEVERAL) || (t.nCode != TALLY_SEVERAL && t.nCode != TALLY_OTHER &&
                                                             GetCategoryType(t.nCode) == type))
            sum += t.dAmount;
    text = Format("%8.2f", sum);
}

// ---------------------------------------------------------------------------------------------
// Payments by date

namespace {

// Asks for a record's memory before it is read: records are visited in index order, not in the
// order they stand in memory, and each visit reads little of one.
template <class Record>
void PrefetchRecord(const void* record)
{
    const char* bytes = static_cast<const char*>(record);
    for (size_t at = 0; at < sizeof(Record); at += 64) __builtin_prefetch(bytes + at);
}

// Each record of `index` at `positions`, in their order; every record when `positions` is null.
template <class Record, class Visit>
void ForEachRecordAt(const std::vector<stIndex>& index, const std::vector<size_t>* positions, Visit&& visit)
{
    constexpr size_t kAhead = 8;
    const size_t count = positions == nullptr ? index.size() : positions->size();
    auto recordAt = [&](size_t i) { return index[positions == nullptr ? i : (*positions)[i]].pItem; };
    for (size_t i = 0; i < count; ++i) {
        if (i + kAhead < count) PrefetchRecord<Record>(recordAt(i + kAhead));
        visit(static_cast<Record*>(recordAt(i)));
    }
}

// The records a gathering of payment dates reads: payments and purchases, each at the positions
// given (all when null).
struct stPaymentSources {
    const std::vector<stIndex>& payments;
    const std::vector<size_t>* paymentPositions;
    const std::vector<stIndex>& purchases;
    const std::vector<size_t>* purchasePositions;
};

// The 'P' entries of the payments and the 'p' entries of the scheduled payments of the active
// purchases, handed to `visit` in that order (the order that breaks ties of date and kind).
template <class Visit>
void VisitPaymentDates(bool dueOnly, const stPaymentSources& from, Visit&& visit)
{
    ForEachRecordAt<CPaymentRecord>(from.payments, from.paymentPositions, [&](CPaymentRecord* payment) {
        if (dueOnly && (payment->m_cType != 'R' || payment->m_cReceived == 'R')) return;
        // An unscheduled payment has no date: it sorts first.
        if (payment->m_cReceived == 'U') payment->m_dDate = 0.0;
        stDataToken entry;
        entry.type = 'P';
        entry.date = payment->m_dDate;
        entry.record = payment;
        visit(entry);
    });
    ForEachRecordAt<CPurchaseRecord>(from.purchases, from.purchasePositions, [&](CPurchaseRecord* purchase) {
        if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) return;
        for (const auto& payment : purchase->m_Payments) PrefetchRecord<CSchedulePayment>(payment.get());
        for (size_t i = 0; i < purchase->m_Payments.size(); ++i) {
            CSchedulePayment& payment = *purchase->m_Payments[i];
            if (dueOnly && payment.m_cKind != 'U' && payment.m_cKind != 'S') continue;
            if (payment.m_cKind == 'U') payment.m_dDate = 0.0;
            stDataToken entry;
            entry.type = 'p';
            entry.date = payment.m_dDate;
            entry.record = purchase;
            entry.index1 = static_cast<int32_t>(i);
            visit(entry);
        }
    });
}

// The entries `keep` accepts (all without it), appended and sorted by date; stable: entries of
// one date and kind keep the order they were gathered in.
void GatherPaymentDates(std::vector<stDataToken>& list, bool dueOnly, const stPaymentSources& from,
                        const std::function<bool(const stDataToken&)>& keep)
{
    VisitPaymentDates(dueOnly, from, [&](const stDataToken& entry) {
        if (!keep || keep(entry)) list.push_back(entry);
    });
    std::stable_sort(list.begin(), list.end(), [](const stDataToken& a, const stDataToken& b) {
        if (a.date != b.date) return a.date < b.date;
        return static_cast<signed char>(a.type) < static_cast<signed char>(b.type);
    });
}

}  // namespace

void CDatabase::CollectPaymentDates(std::vector<stDataToken>& list, uint32_t filter,
                                    const std::function<bool(const stDataToken&)>& keep)
{
    if (filter != 0 && filter != PAYMENTS_DUE) return;
    list.reserve(list.size() + m_aIndex[TABLE_PAYMENT].size());
    GatherPaymentDates(list, filter == PAYMENTS_DUE,
                       {m_aIndex[TABLE_PAYMENT], nullptr, m_aIndex[TABLE_PURCHASE], nullptr}, keep);
}

void CDatabase::ForEachPaymentDate(uint32_t filter, const std::function<void(const stDataToken&)>& visit)
{
    if (filter != 0 && filter != PAYMENTS_DUE) return;
    VisitPaymentDates(filter == PAYMENTS_DUE, {m_aIndex[TABLE_PAYMENT], nullptr, m_aIndex[TABLE_PURCHASE], nullptr},
                      visit);
}

void CDatabase::CollectPersonPaymentDates(std::vector<stDataToken>& list, uint32_t person,
                                          const std::function<bool(const stDataToken&)>& keep)
{
    const std::vector<size_t> payments = FindPaymentsOf(person);
    const std::vector<size_t> purchases = FindPurchasesOf(person);
    GatherPaymentDates(list, false, {m_aIndex[TABLE_PAYMENT], &payments, m_aIndex[TABLE_PURCHASE], &purchases},
                       keep);
}
