#pragma once
// The purchase table's entries grouped by the person each purchase is for, so that one person's
// purchases are found without reading every purchase. The grouping is built from the index at the
// first lookup after the table was read, then follows its changes. An entry keeps the record's
// code and where it stood in the index; a lookup finds it there or near there (entries shift when
// others are inserted or erased) and reads the record the index holds now. An entry gone or moved
// far, a record found to be for someone else, or a count that differs from the index's makes the
// grouping be built again.

#include <cstddef>
#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

#include "database/Index.h"

class CPurchaseRecord;

class CPurchasesByPerson {
public:
    // The table is read anew: the grouping is built at the next lookup.
    void Reset();
    // The entry at `position` of the index was added or re-read, or its record was saved: filed
    // under the person its record is for now.
    void Note(const std::vector<stIndex>& index, size_t position);
    // The record of `code` left the index.
    void Forget(uint32_t code);
    // The purchases of `person` in the index now, in index order.
    std::vector<const CPurchaseRecord*> Find(const std::vector<stIndex>& index, uint32_t person);

private:
    struct stEntry {
        uint32_t nCode;
        uint32_t nPosition;
    };
    void Build(const std::vector<stIndex>& index);
    void Unfile(uint32_t code);
    // Where the entry stands in the index now (its position brought up to date), or -1.
    static long Locate(const std::vector<stIndex>& index, stEntry& entry);
    // One lookup on the grouping as it is; false when the grouping proved out of date.
    bool TryFind(const std::vector<stIndex>& index, uint32_t person,
                 std::vector<std::pair<uint32_t, const CPurchaseRecord*>>& found);

    bool m_bBuilt = false;
    std::unordered_map<uint32_t, std::vector<stEntry>> m_ByPerson;
    std::unordered_map<uint32_t, uint32_t> m_PersonOf;  // code -> person
};
