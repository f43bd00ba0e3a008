#include "studio/GridPlacement.h"

#include <algorithm>
#include <cmath>

#include "common/ListHelpers.h"

namespace {
constexpr int64_t kSecondsPerDay = 86400;
constexpr DATE kFirstOfJanuary1900 = 2.0;
}  // namespace

int64_t RoundToSeconds(DATE date)
{
    return std::llround(date * static_cast<double>(kSecondsPerDay));
}

DATE GetGridDay(DATE date)
{
    const int64_t seconds = RoundToSeconds(date);
    int64_t day = seconds / kSecondsPerDay;
    if (seconds % kSecondsPerDay < 0) --day;
    return static_cast<DATE>(day);
}

DATE GetGridTime(DATE date)
{
    int64_t second = RoundToSeconds(date) % kSecondsPerDay;
    if (second < 0) second += kSecondsPerDay;
    return kFirstOfJanuary1900 + static_cast<double>(second) / static_cast<double>(kSecondsPerDay);
}

void AddToGridAxis(DATE value, std::vector<DATE>& axis)
{
    AddUniqueDate(value, axis, 'A');
}

CGridAxisIndex::CGridAxisIndex(const std::vector<DATE>& axis)
{
    for (size_t i = 0; i < axis.size(); ++i) m_Positions.emplace(RoundToSeconds(axis[i]), static_cast<int>(i));
}

int CGridAxisIndex::Find(DATE value) const
{
    const auto it = m_Positions.find(RoundToSeconds(value));
    return it == m_Positions.end() ? -1 : it->second;
}

void AddDefaultGridTimes(const stParameters& settings, std::vector<DATE>& times)
{
    const int first = settings.GetInt(param::kStartHour) * 60 + settings.GetInt(param::kStartMinute);
    const int slots = std::max(0, settings.GetInt(param::kIncrements));
    const int length = std::max(1, settings.GetInt(param::kMinutesPerIncrement));
    for (int k = 0; k < slots; ++k) {
        const int64_t second = static_cast<int64_t>(first + k * length) * 60;
        AddToGridAxis(kFirstOfJanuary1900 + static_cast<double>(second) / static_cast<double>(kSecondsPerDay), times);
    }
}

std::string MakeCellLine(const std::string& text)
{
    std::string line = text;
    for (char& c : line)
        if (c == '|') c = ' ';
    return line;
}
