// CDatabase: a person's balance sheet entries and balance, shown by the balance sheet report and
// told, without a report, by the sign-in dialog.

#include "database/Database.h"

#include <algorithm>

void CDatabase::CollectBalanceEntries(uint32_t person, std::vector<stDataToken>& entries) const
{
    entries.clear();
    const std::vector<stIndex>& purchases = *GetItemList(TABLE_PURCHASE);
    for (size_t i : FindPurchasesOf(person)) {
        CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(purchases[i].pItem);
        if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE || purchase->m_nPerson != person) continue;
        entries.push_back(MakeDataToken('U', purchase->m_dDate, purchase, static_cast<int32_t>(i)));
        for (size_t j = 0; j < purchase->m_Payments.size(); ++j) {
            const char kind = purchase->m_Payments[j]->m_cKind;
            if (kind == 'R' || kind == 'F')
                entries.push_back(MakeDataToken('p', purchase->m_dDate, purchase, static_cast<int32_t>(i),
                                                static_cast<int32_t>(j)));
        }
    }
    const std::vector<stIndex>& payments = *GetItemList(TABLE_PAYMENT);
    for (size_t i : FindPaymentsOf(person)) {
        CPaymentRecord* payment = static_cast<CPaymentRecord*>(payments[i].pItem);
        if (payment->m_cType == 'R' && payment->m_nPerson == person)
            entries.push_back(MakeDataToken('P', payment->m_dDate, payment, static_cast<int32_t>(i)));
    }
    // By date, then 'P' before 'U' before 'p'; the rest in gathering order.
    std::stable_sort(entries.begin(), entries.end(), [](const stDataToken& a, const stDataToken& b) {
        if (a.date != b.date) return a.date < b.date;
        return static_cast<signed char>(a.type) < static_cast<signed char>(b.type);
    });
}

double CDatabase::GetBalanceChange(const stDataToken& entry)
{
    switch (entry.type) {
    case 'U':
        return static_cast<const CPurchaseRecord*>(entry.record)->GetTotal(0);
    case 'p': {
        const auto* purchase = static_cast<const CPurchaseRecord*>(entry.record);
        return -purchase->m_Payments[static_cast<size_t>(entry.index2)]->m_dAmount;
    }
    case 'P': {
        // Bought and paid at once ('R') leaves the balance; a payment still due adds to it.
        const auto* payment = static_cast<const CPaymentRecord*>(entry.record);
        return payment->m_cReceived == 'S' || payment->m_cReceived == 'U' ? payment->m_dAmount : 0.0;
    }
    default:
        return 0.0;
    }
}

double CDatabase::GetPersonBalance(uint32_t person) const
{
    std::vector<stDataToken> entries;
    CollectBalanceEntries(person, entries);
    double balance = 0.0;
    for (const stDataToken& entry : entries) balance += GetBalanceChange(entry);
    return balance;
}
