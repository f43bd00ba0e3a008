#pragma once
// The texts of schedule entries for the computations that make many of them at once.

#include <cstdint>
#include <string>

#include "studio/DataToken.h"

class CDatabase;
class CPersonLookup;

// CDatabase::MakeScheduleText with the persons named through `persons` (the database's person
// table when null).
void MakeEntryTexts(CDatabase& database, const CPersonLookup* persons, const stDataToken* entry, std::string& kindText,
                    std::string& shortText, std::string& longText, int32_t withTeacher);
