#pragma once
// Where the grids place an entry: its day and its time of day, both taken from the entry's date
// rounded to the second, so that an axis value and an entry compare alike whatever the
// floating-point noise of the stored dates.

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/DateTime.h"
#include "database/SettingsRecords.h"

// The date in whole seconds, rounded to the nearest.
int64_t RoundToSeconds(DATE date);
// The day of the date at 00:00.
DATE GetGridDay(DATE date);
// The time of day of the date on 1 January 1900 (day 2).
DATE GetGridTime(DATE date);
// Adds the default time rows of the schedule settings: from the first slot's hour and minute, the
// number of slots, each the slot length after the one before.
void AddDefaultGridTimes(const stParameters& settings, std::vector<DATE>& times);
// Appends the value unless one within a second of it is there already.
void AddToGridAxis(DATE value, std::vector<DATE>& axis);

// Finds an axis position by a value rounded to the second; the first of equal values wins.
class CGridAxisIndex {
public:
    explicit CGridAxisIndex(const std::vector<DATE>& axis);
    // The position of the value in the axis, -1 when absent.
    int Find(DATE value) const;

private:
    std::unordered_map<int64_t, int> m_Positions;
};

// An entry's text as one line of a cell: its "|" (the cells' line break) become blanks.
std::string MakeCellLine(const std::string& text);
