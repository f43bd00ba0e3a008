#include "studio/ScheduleTrace.h"

#include "database/Database.h"
#include "platform/host/Format.h"

std::string MakeTracePersonText(CDatabase& database, int32_t person)
{
    if (person < 0) return "All people";
    std::string name;
    database.GetPersonName(name, static_cast<uint32_t>(person), 0);
    return Format("%s %u", name.c_str(), static_cast<uint32_t>(person));
}

std::string MakeTraceRangeText(DATE start, DATE end)
{
    if (start == 0.0) return "All dates";
    return Format("%s - %s", FormatTraceDate(start).c_str(), FormatTraceDate(end).c_str());
}

std::string MakeTraceName(CDatabase& database, uint32_t person)
{
    if (person == NO_CODE) return "";
    std::string name;
    database.GetPersonName(name, person, 0);
    return name;
}

std::string FormatTraceDate(DATE date)
{
    return FormatDateTime(date, "%m/%d/%Y %H:%M");
}
