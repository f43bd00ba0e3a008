#pragma once
// A table's entries grouped by each person their record names (a purchase its student, second
// person and payer; a payment its person), so that one person's records are found without reading
// every record. The grouping is built from the index at the first lookup after the table was read,
// then follows its changes. An entry keeps the record's code and where it stood in the index; a
// lookup finds it there or near there (entries shift when others are inserted or erased) and reads
// the record the index holds now. An entry gone or moved far, a record found no longer to name the
// person, or a count that differs from the index's makes the grouping be built again.

#include <array>
#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "database/Index.h"

class CRecordsByPerson {
public:
    static constexpr size_t kMostPersons = 3;
    // "No person": not filed (most records name nobody in some role); a lookup of it reads the
    // whole index.
    static constexpr uint32_t kNoPerson = 0xFFFFFFFF;
    using stPersons = std::array<uint32_t, kMostPersons>;
    // Writes the persons a record names into `persons` and returns how many (a person named
    // twice may be written twice).
    using PersonsOf = size_t (*)(const void* item, stPersons& persons);

    explicit CRecordsByPerson(PersonsOf personsOf) : m_fnPersonsOf(personsOf) {}

    // The table is read anew: the grouping is built at the next lookup.
    void Reset();
    // The entry at `position` of the index was added or re-read, or its record was saved: filed
    // under the persons its record names now.
    void Note(const std::vector<stIndex>& index, size_t position);
    // The record of `code` left the index.
    void Forget(uint32_t code);
    // Where the records naming `person` stand in the index now, in index order, each once.
    std::vector<size_t> Find(const std::vector<stIndex>& index, uint32_t person);

private:
    struct stEntry {
        uint32_t nCode;
        uint32_t nPosition;
    };
    struct stFiled {
        stPersons aPersons;
        size_t nCount;
    };
    // The distinct persons the entry's record names.
    stFiled PersonsAt(const stIndex& e) const;
    bool Names(const stIndex& e, uint32_t person) const;
    void File(const stIndex& e, size_t position);
    void Build(const std::vector<stIndex>& index);
    void Unfile(uint32_t code);
    // Where the entry stands in the index now (its position brought up to date), or -1.
    static long Locate(const std::vector<stIndex>& index, stEntry& entry);
    // One lookup on the grouping as it is; false when the grouping proved out of date.
    bool TryFind(const std::vector<stIndex>& index, uint32_t person, std::vector<size_t>& found);

    PersonsOf m_fnPersonsOf;
    bool m_bBuilt = false;
    std::unordered_map<uint32_t, std::vector<stEntry>> m_ByPerson;
    std::unordered_map<uint32_t, stFiled> m_PersonsOf;  // code -> persons filed under
};
