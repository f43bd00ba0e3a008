#include "database/RecordsByPerson.h"

#include <algorithm>

namespace {

// How far an entry is looked for around where it stood before the grouping is built again.
constexpr long kSearchReach = 64;

}  // namespace

CRecordsByPerson::stFiled CRecordsByPerson::PersonsAt(const stIndex& e) const
{
    stFiled filed{};
    if (e.pItem == nullptr) return filed;
    stPersons named{};
    const size_t count = std::min(m_fnPersonsOf(e.pItem, named), kMostPersons);
    for (size_t i = 0; i < count; ++i)
        if (named[i] != kNoPerson && std::find(filed.aPersons.begin(), filed.aPersons.begin() + static_cast<long>(filed.nCount), named[i]) ==
            filed.aPersons.begin() + static_cast<long>(filed.nCount))
            filed.aPersons[filed.nCount++] = named[i];
    return filed;
}

bool CRecordsByPerson::Names(const stIndex& e, uint32_t person) const
{
    if (person == kNoPerson) {
        if (e.pItem == nullptr) return false;
        stPersons named{};
        const size_t count = std::min(m_fnPersonsOf(e.pItem, named), kMostPersons);
        return std::find(named.begin(), named.begin() + static_cast<long>(count), kNoPerson) !=
               named.begin() + static_cast<long>(count);
    }
    const stFiled filed = PersonsAt(e);
    return std::find(filed.aPersons.begin(), filed.aPersons.begin() + static_cast<long>(filed.nCount), person) !=
           filed.aPersons.begin() + static_cast<long>(filed.nCount);
}

void CRecordsByPerson::Reset()
{
    m_bBuilt = false;
    m_ByPerson.clear();
    m_PersonsOf.clear();
}

void CRecordsByPerson::File(const stIndex& e, size_t position)
{
    const stFiled filed = PersonsAt(e);
    for (size_t i = 0; i < filed.nCount; ++i)
        m_ByPerson[filed.aPersons[i]].push_back({e.nCode, static_cast<uint32_t>(position)});
    m_PersonsOf[e.nCode] = filed;
}

void CRecordsByPerson::Build(const std::vector<stIndex>& index)
{
    Reset();
    m_bBuilt = true;
    m_PersonsOf.reserve(index.size());
    for (size_t i = 0; i < index.size(); ++i) File(index[i], i);
}

void CRecordsByPerson::Unfile(uint32_t code)
{
    auto was = m_PersonsOf.find(code);
    if (was == m_PersonsOf.end()) return;
    for (size_t i = 0; i < was->second.nCount; ++i) {
        auto list = m_ByPerson.find(was->second.aPersons[i]);
        if (list == m_ByPerson.end()) continue;
        std::erase_if(list->second, [code](const stEntry& e) { return e.nCode == code; });
        if (list->second.empty()) m_ByPerson.erase(list);
    }
    m_PersonsOf.erase(was);
}

void CRecordsByPerson::Note(const std::vector<stIndex>& index, size_t position)
{
    if (!m_bBuilt || position >= index.size()) return;
    Unfile(index[position].nCode);
    File(index[position], position);
}

void CRecordsByPerson::Forget(uint32_t code)
{
    if (m_bBuilt) Unfile(code);
}

long CRecordsByPerson::Locate(const std::vector<stIndex>& index, stEntry& entry)
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

bool CRecordsByPerson::TryFind(const std::vector<stIndex>& index, uint32_t person, std::vector<size_t>& found)
{
    found.clear();
    if (!m_bBuilt || m_PersonsOf.size() != index.size()) return false;
    auto list = m_ByPerson.find(person);
    if (list == m_ByPerson.end()) return true;
    for (stEntry& entry : list->second) {
        const long at = Locate(index, entry);
        if (at < 0 || !Names(index[static_cast<size_t>(at)], person)) return false;
        found.push_back(static_cast<size_t>(at));
    }
    return true;
}

std::vector<size_t> CRecordsByPerson::Find(const std::vector<stIndex>& index, uint32_t person)
{
    std::vector<size_t> found;
    if (person == kNoPerson) {
        for (size_t i = 0; i < index.size(); ++i)
            if (Names(index[i], person)) found.push_back(i);
        return found;
    }
    if (!TryFind(index, person, found)) {
        Build(index);
        if (!TryFind(index, person, found)) {
            // An index the grouping cannot follow (a code twice): read it all.
            found.clear();
            for (size_t i = 0; i < index.size(); ++i)
                if (Names(index[i], person)) found.push_back(i);
        }
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}
