#pragma once
// The person and period texts of the schedule computations' trace lines.

#include <cstdint>
#include <string>

#include "common/DateTime.h"

class CDatabase;

// "All people" for -1 (and -2), else "<name> <code>".
std::string MakeTracePersonText(CDatabase& database, int32_t person);
// "All dates" when `start` is 0.0, else "<start> - <end>" as "%m/%d/%Y %H:%M".
std::string MakeTraceRangeText(DATE start, DATE end);
// A person's name for a trace line ("" for no person).
std::string MakeTraceName(CDatabase& database, uint32_t person);
// "%m/%d/%Y %H:%M".
std::string FormatTraceDate(DATE date);
