#include "studio/PersonLookup.h"

#include "platform/host/Format.h"
#include "records/Person.h"

CPersonLookup::CPersonLookup(const std::vector<stIndex>& persons)
{
    m_ByCode.reserve(persons.size());
    for (const stIndex& e : persons) m_ByCode.emplace(e.nCode, static_cast<const CPerson*>(e.pItem));
}

const CPerson* CPersonLookup::Find(uint32_t code) const
{
    const auto it = m_ByCode.find(code);
    return it == m_ByCode.end() ? nullptr : it->second;
}

std::string CPersonLookup::GetName(uint32_t code, int order) const
{
    const CPerson* p = Find(code);
    if (p == nullptr) return Format("Person code %u", code);
    return order == 1 ? Format("%s, %s", p->m_sLastName.c_str(), p->m_sFirstName.c_str())
                      : Format("%s %s", p->m_sFirstName.c_str(), p->m_sLastName.c_str());
}
