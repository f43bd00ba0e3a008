#include "studio/PersonLookup.h"

#include <algorithm>

#include "platform/host/Format.h"
#include "records/Person.h"

CPersonLookup::CPersonLookup(const std::vector<stIndex>& persons)
{
    m_ByCode.reserve(persons.size());
    for (const stIndex& e : persons) m_ByCode.emplace_back(e.nCode, static_cast<const CPerson*>(e.pItem));
    // Of two entries with one code (a damaged file) the first in the table is found.
    std::stable_sort(m_ByCode.begin(), m_ByCode.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
}

const CPerson* CPersonLookup::Find(uint32_t code) const
{
    const auto it = std::lower_bound(m_ByCode.begin(), m_ByCode.end(), code,
                                     [](const auto& entry, uint32_t c) { return entry.first < c; });
    return it == m_ByCode.end() || it->first != code ? nullptr : it->second;
}

std::string CPersonLookup::GetName(uint32_t code, int order) const
{
    std::string text;
    AppendName(text, code, order);
    return text;
}

void CPersonLookup::AppendName(std::string& text, uint32_t code, int order) const
{
    const CPerson* p = Find(code);
    if (p == nullptr) {
        text += Format("Person code %u", code);
        return;
    }
    const std::string& first = order == 1 ? p->m_sLastName : p->m_sFirstName;
    const std::string& second = order == 1 ? p->m_sFirstName : p->m_sLastName;
    text.append(first).append(order == 1 ? ", " : " ").append(second);
}
