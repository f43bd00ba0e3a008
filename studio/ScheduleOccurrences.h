#pragma once
// The occurrences of a schedule item as the schedules show them.

#include <cstdint>
#include <vector>

#include "common/DateTime.h"

class CScheduleRecord;

struct stOccurrence {
    int32_t index = -1;  // the occurrence's own index: the key of its change
    DATE date = 0.0;
};

// Rebuilds the item's occurrence list without its changes, then gives each occurrence with its
// own index and its date: a changed one at its new date, a removed one (changed to 0.0) left
// out. The indexes stay those of the unchanged list, so a change is always found by them.
std::vector<stOccurrence> GetShownOccurrences(CScheduleRecord& record);
