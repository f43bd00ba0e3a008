// Occurrences of schedule items.

#include <gtest/gtest.h>

#include "RecordTestSupport.h"
#include "records/ScheduleRecord.h"

namespace {

class ScheduleTest : public RecordTest {};

struct Day {
    int y, m, d;
};

std::vector<DATE> Days(std::initializer_list<Day> days, int hour, int minute)
{
    std::vector<DATE> out;
    for (const Day& day : days)
        out.push_back(MakeDate(day.y, day.m, day.d, hour, minute));
    return out;
}

TEST_F(ScheduleTest, Occurrences)
{
    struct Case {
        const char* name;
        char repeat;
        DATE first, last;
        std::vector<stCodeValuePair> changes;
        bool apply;
        std::vector<DATE> expected;
    };
    const DATE mon = MakeDate(2026, 3, 2, 18, 0);  // a Monday
    const Case cases[] = {
        {"weekly, four Mondays", 'W', mon, MakeDate(2026, 3, 23, 18, 0), {}, true,
         Days({{2026, 3, 2}, {2026, 3, 9}, {2026, 3, 16}, {2026, 3, 23}}, 18, 0)},
        {"weekly, one removed", 'W', mon, MakeDate(2026, 3, 23, 18, 0), {{1, 0.0}}, true,
         Days({{2026, 3, 2}, {2026, 3, 16}, {2026, 3, 23}}, 18, 0)},
        {"weekly, changes not applied", 'W', mon, MakeDate(2026, 3, 23, 18, 0), {{1, 0.0}}, false,
         Days({{2026, 3, 2}, {2026, 3, 9}, {2026, 3, 16}, {2026, 3, 23}}, 18, 0)},
        {"weekly, one moved, others out of range", 'W', mon, MakeDate(2026, 3, 16, 18, 0),
         {{2, MakeDate(2026, 3, 17, 19, 0)}, {3, 0.0}, {-1, 0.0}}, true,
         {mon, MakeDate(2026, 3, 9, 18, 0), MakeDate(2026, 3, 17, 19, 0)}},
        {"daily, last before the end of the day", 'D', mon, MakeDate(2026, 3, 4, 17, 59), {}, true,
         Days({{2026, 3, 2}, {2026, 3, 3}}, 18, 0)},
        {"daily, first after last", 'D', mon, MakeDate(2026, 3, 1, 0, 0), {}, true, {mon}},
        {"monthly from the 31st", 'M', MakeDate(2026, 1, 31, 14, 30), MakeDate(2026, 7, 31, 14, 30),
         {}, true,
         Days({{2026, 1, 31}, {2026, 2, 28}, {2026, 3, 31}, {2026, 4, 30}, {2026, 5, 31},
               {2026, 6, 30}, {2026, 7, 31}},
              14, 30)},
        {"monthly from the 30th over February of a leap year", 'M', MakeDate(2028, 1, 30, 9, 0),
         MakeDate(2028, 4, 1, 0, 0), {}, true,
         Days({{2028, 1, 30}, {2028, 2, 29}, {2028, 3, 30}}, 9, 0)},
        {"monthly over the year's end, changes kept on their index", 'M',
         MakeDate(2026, 11, 29, 10, 0), MakeDate(2027, 3, 29, 10, 0), {{3, 0.0}}, true,
         Days({{2026, 11, 29}, {2026, 12, 29}, {2027, 1, 29}, {2027, 3, 29}}, 10, 0)},
        {"yearly from 29 February", 'Y', MakeDate(2024, 2, 29, 8, 0), MakeDate(2029, 3, 1, 0, 0),
         {}, true,
         Days({{2024, 2, 29}, {2025, 2, 28}, {2026, 2, 28}, {2027, 2, 28}, {2028, 2, 29},
               {2029, 2, 28}},
              8, 0)},
        {"one time", 'O', mon, mon, {}, true, {}},
        {"unknown repeat", 'Q', mon, MakeDate(2026, 4, 1, 0, 0), {}, true, {}},
        {"no first date", 'W', 0.0, MakeDate(2026, 4, 1, 0, 0), {}, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CScheduleRecord s;
        s.m_cRepeat = c.repeat;
        s.m_dFirstDate = c.first;
        s.m_dLastDate = c.last;
        s.m_Changes = c.changes;
        s.m_Occurrences = {1.0, 2.0};
        s.BuildOccurrences(c.apply);
        ASSERT_EQ(s.m_Occurrences.size(), c.expected.size());
        for (size_t i = 0; i < c.expected.size(); ++i)
            EXPECT_NEAR(s.m_Occurrences[i], c.expected[i], kDateHalfSecond) << i;
    }
}

TEST_F(ScheduleTest, LoopsEndForDatesOutsideTheCalendar)
{
    const struct {
        char repeat;
        DATE first, last;
        size_t atLeast, atMost;
    } cases[] = {
        {'M', MakeDate(2026, 1, 31, 0, 0), 1e300, 90000, 100000},
        {'Y', MakeDate(2026, 1, 31, 0, 0), std::numeric_limits<double>::infinity(), 7000, 8000},
        {'W', MakeDate(9999, 12, 1, 0, 0), 1e300, 5, 5},
        {'D', -1e300, 10.0, 1, 1},
        {'M', 1e300, 1e301, 1, 1},
        {'D', 45000.0, std::numeric_limits<double>::quiet_NaN(), 1, 1},
    };
    for (const auto& c : cases) {
        CScheduleRecord s;
        s.m_cRepeat = c.repeat;
        s.m_dFirstDate = c.first;
        s.m_dLastDate = c.last;
        s.BuildOccurrences(false);
        EXPECT_GE(s.m_Occurrences.size(), c.atLeast) << c.repeat << " " << c.first;
        EXPECT_LE(s.m_Occurrences.size(), c.atMost) << c.repeat << " " << c.first;
    }
}

TEST_F(ScheduleTest, RepeatTextsAndFindCode)
{
    const std::pair<char, const char*> texts[] = {{'O', "One time"}, {'D', "Daily"}, {'W', "Weekly"},
                                                  {'M', "Monthly"},  {'Y', "Yearly"}, {'x', "Unknown"}};
    for (const auto& [repeat, text] : texts) {
        CScheduleRecord s;
        s.m_cRepeat = repeat;
        EXPECT_EQ(s.GetRepeatText(), text);
    }
    CScheduleRecord s;
    s.m_Changes = {{4, 1.0}, {2, 0.0}, {4, 3.0}};
    EXPECT_EQ(s.FindCode(4), 0);
    EXPECT_EQ(s.FindCode(2), 1);
    EXPECT_EQ(s.FindCode(3), -1);
}

TEST_F(ScheduleTest, ReadingKeepsTheOccurrenceListAndCopyTakesIt)
{
    CScheduleRecord s;
    s.m_cRepeat = 'W';
    s.m_dFirstDate = MakeDate(2026, 3, 2, 18, 0);
    s.m_dLastDate = MakeDate(2026, 3, 9, 18, 0);
    s.BuildOccurrences(true);
    CScheduleRecord copy;
    copy.CopyFrom(s);
    EXPECT_EQ(copy.m_Occurrences, s.m_Occurrences);
    EXPECT_TRUE(copy.IsEqual(s));
    copy.m_Occurrences.clear();
    EXPECT_TRUE(copy.IsEqual(s));  // the list is not stored
}

}  // namespace
