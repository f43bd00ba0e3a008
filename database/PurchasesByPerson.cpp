#include "database/PurchasesByPerson.h"

#include <algorithm>

#include "records/PurchaseRecord.h"

namespace {

// How far an entry is looked for around where it stood before the grouping is built again.
constexpr long kSearchReach = 64;

uint32_t PersonAt(const stIndex& e)
{
    const auto* purchase = static_cast<const CPurchaseRecord*>(e.pItem);
    return purchase ? purchase->m_nPerson : 0xFFFFFFFF;
}

}  // namespace

void CPurchasesByPerson::Reset()
{
    m_bBuilt = false;
    m_ByPerson.clear();
    m_PersonOf.clear();
}

void CPurchasesByPerson::Build(const std::vector<stIndex>& index)
{
    Reset();
    m_bBuilt = true;
    m_PersonOf.reserve(index.size());
    for (size_t i = 0; i < index.size(); ++i) {
        const uint32_t person = PersonAt(index[i]);
        m_ByPerson[person].push_back({index[i].nCode, static_cast<uint32_t>(i)});
        m_PersonOf[index[i].nCode] = person;
    }
}

void CPurchasesByPerson::Unfile(uint32_t code)
{
    auto was = m_PersonOf.find(code);
    if (was == m_PersonOf.end()) return;
    auto list = m_ByPerson.find(was->second);
    if (list != m_ByPerson.end()) {
        std::erase_if(list->second, [code](const stEntry& e) { return e.nCode == code; });
        if (list->second.empty()) m_ByPerson.erase(list);
    }
    m_PersonOf.erase(was);
}

void CPurchasesByPerson::Note(const std::vector<stIndex>& index, size_t position)
{
    if (!m_bBuilt || position >= index.size()) return;
    const uint32_t code = index[position].nCode;
    const uint32_t person = PersonAt(index[position]);
    Unfile(code);
    m_ByPerson[person].push_back({code, static_cast<uint32_t>(position)});
    m_PersonOf[code] = person;
}

void CPurchasesByPerson::Forget(uint32_t code)
{
    if (m_bBuilt) Unfile(code);
}

long CPurchasesByPerson::Locate(const std::vector<stIndex>& index, stEntry& entry)
{
    const long size = static_cast<long>(index.size());
    const long from = entry.nPosition;
    for (long step = 0; step <= kSearchReach; ++step)
        for (long at : {from - step, from + step}) {
            if (at < 0 || at >= size || index[static_cast<size_t>(at)].nCode != entry.nCode) continue;
            entry.nPosition = static_cast<uint32_t>(at);
            return at;
        }
    return -1;
}

bool CPurchasesByPerson::TryFind(const std::vector<stIndex>& index, uint32_t person,
                                 std::vector<std::pair<uint32_t, const CPurchaseRecord*>>& found)
{
    found.clear();
    if (!m_bBuilt || m_PersonOf.size() != index.size()) return false;
    auto list = m_ByPerson.find(person);
    if (list == m_ByPerson.end()) return true;
    for (stEntry& entry : list->second) {
        const long at = Locate(index, entry);
        if (at < 0) return false;
        const stIndex& e = index[static_cast<size_t>(at)];
        if (PersonAt(e) != person) return false;
        found.emplace_back(entry.nPosition, static_cast<const CPurchaseRecord*>(e.pItem));
    }
    return true;
}

std::vector<const CPurchaseRecord*> CPurchasesByPerson::Find(const std::vector<stIndex>& index, uint32_t person)
{
    std::vector<std::pair<uint32_t, const CPurchaseRecord*>> found;
    if (!TryFind(index, person, found)) {
        Build(index);
        if (!TryFind(index, person, found)) {
            // An index the grouping cannot follow (a code twice): read it all.
            found.clear();
            for (size_t i = 0; i < index.size(); ++i)
                if (index[i].pItem && PersonAt(index[i]) == person)
                    found.emplace_back(static_cast<uint32_t>(i), static_cast<const CPurchaseRecord*>(index[i].pItem));
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<const CPurchaseRecord*> purchases;
    purchases.reserve(found.size());
    for (const auto& f : found)
        if (f.second) purchases.push_back(f.second);
    return purchases;
}
