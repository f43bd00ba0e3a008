#include "studio/SalesByInterview.h"

#include "records/PurchaseRecord.h"
#include "studio/GridPlacement.h"

CSalesByInterview::CSalesByInterview(const std::vector<stIndex>& purchases,
                                     const std::unordered_set<uint32_t>& persons)
{
    if (persons.empty()) return;
    for (const stIndex& e : purchases) {
        const CPurchaseRecord* purchase = static_cast<const CPurchaseRecord*>(e.pItem);
        if (persons.count(purchase->m_nPerson) != 0) m_ByPerson[purchase->m_nPerson].push_back(purchase);
    }
}

std::vector<const CPurchaseRecord*> CSalesByInterview::Find(uint32_t person, DATE interviewDate) const
{
    std::vector<const CPurchaseRecord*> found;
    const auto it = m_ByPerson.find(person);
    if (it == m_ByPerson.end()) return found;
    const int64_t when = RoundToSeconds(interviewDate);
    for (const CPurchaseRecord* purchase : it->second)
        if (RoundToSeconds(purchase->m_dField17) == when) found.push_back(purchase);
    return found;
}
