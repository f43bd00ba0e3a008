#pragma once
// One entry of a date-indexed list (schedules, payment listings): what kind of entry, its date
// (0.0 when it has none yet), the record it comes from, indexes into that record by kind, where
// a grid placed it, and for a lesson the number of unscheduled lessons it stands for.
//
// Kinds (upper and lower case differ): '$' class date of a price-list item (index1: the date),
// 'S' schedule item as a whole, 's' one occurrence of it (index1: the occurrence's own index,
// the key of its change), 'T' lesson token (index1: item, index2: token), 'p' scheduled payment
// of a purchase (index1), 'P' payment record, 'B' birthday, 'A' anniversary, and the dates of
// an interview of a person: 'D' deadline, 'M' mail-out, 'N' next contact (index1: interview).
// A check-in row also names the price-list activity it signs in to (none: all ones).

#include <cstdint>

#include "common/DateTime.h"

struct stDataToken {
    char type = 0;
    DATE date = 0.0;
    void* record = nullptr;
    int32_t index1 = -1;
    int32_t index2 = -1;
    int32_t row = -1;
    int32_t column = -1;
    uint32_t count = 1;
    uint32_t activity = 0xFFFFFFFF;
};

// An entry of the kind, date and record, with its indexes.
inline stDataToken MakeDataToken(char type, DATE date, void* record, int32_t index1 = -1, int32_t index2 = -1)
{
    stDataToken entry;
    entry.type = type;
    entry.date = date;
    entry.record = record;
    entry.index1 = index1;
    entry.index2 = index2;
    return entry;
}
