#pragma once
// The question asked once per apparent double booking of a person.

#include <cstdint>

#include "common/DateTime.h"

class CDatabase;

// Asks "Apparent conflict for <name> at <date>.\nAllow it?"; true when the user answers Yes.
bool ConfirmScheduleConflict(CDatabase* database, int32_t personCode, DATE dateTime);
