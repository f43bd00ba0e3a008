#pragma once
// A schedule or payment entry as a list view keeps it between database calls: the entry, and
// the table and code of its record. A database call may free or replace record objects, so the
// views look the record up again by its code before they use an entry.

#include <cstdint>

#include "studio/DataToken.h"

class CDatabase;

struct stViewEntry {
    stDataToken entry;
    uint8_t nTable = 0;
    uint32_t nCode = 0xFFFFFFFF;
};

// The table of the record behind an entry kind (0 for an unknown kind).
uint8_t TableOfEntryKind(char kind);
// The entry with the table and code of its record.
stViewEntry MakeViewEntry(const stDataToken& entry);
// The entry with its record as the database has it now; false when the record is gone.
bool ResolveViewEntry(const CDatabase& database, const stViewEntry& kept, stDataToken& entry);
