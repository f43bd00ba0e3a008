#include "views/ViewEntry.h"

#include "database/Database.h"

uint8_t TableOfEntryKind(char kind)
{
    switch (kind) {
    case '$': return TABLE_PRICELIST;
    case 'S': case 's': return TABLE_SCHEDULE;
    case 'T': case 'p': case 'U': return TABLE_PURCHASE;
    case 'P': return TABLE_PAYMENT;
    case 'B': case 'A': case 'D': case 'M': case 'N': return TABLE_PERSON;
    default: return 0;
    }
}

stViewEntry MakeViewEntry(const stDataToken& entry)
{
    stViewEntry kept;
    kept.entry = entry;
    kept.nTable = TableOfEntryKind(entry.type);
    VisitTableItem(kept.nTable, entry.record, [&kept](const auto& record) { kept.nCode = record.m_nCode; });
    return kept;
}

bool ResolveViewEntry(const CDatabase& database, const stViewEntry& kept, stDataToken& entry)
{
    entry = kept.entry;
    entry.record = kept.nTable != 0 ? database.GetItem(kept.nTable, kept.nCode) : nullptr;
    return entry.record != nullptr;
}
