#include "studio/ScheduleOccurrences.h"

#include "records/ScheduleRecord.h"

std::vector<stOccurrence> GetShownOccurrences(CScheduleRecord& record)
{
    record.BuildOccurrences(false);
    std::vector<stOccurrence> shown;
    shown.reserve(record.m_Occurrences.size());
    for (size_t i = 0; i < record.m_Occurrences.size(); ++i) {
        stOccurrence o;
        o.index = static_cast<int32_t>(i);
        o.date = record.m_Occurrences[i];
        const int change = record.FindCode(o.index);
        if (change >= 0) o.date = record.m_Changes[static_cast<size_t>(change)].value;
        if (o.date == 0.0) continue;
        shown.push_back(o);
    }
    return shown;
}
