#include "common/DateTime.h"

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "platform/host/Clock.h"

namespace {

// Runs each test in a chosen time zone with the host clock fixed; puts both back afterwards.
class ClockFixture : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        hadTz_ = tz != nullptr;
        if (hadTz_)
            savedTz_ = tz;
        SetZone("UTC");
    }
    void TearDown() override {
        host::Clock::ClearFixedTime();
        if (hadTz_)
            setenv("TZ", savedTz_.c_str(), 1);
        else
            unsetenv("TZ");
        host::Clock::ResetTimeZone();
    }
    static void SetZone(const char* zone) {
        setenv("TZ", zone, 1);
        host::Clock::ResetTimeZone();
    }
    // Fixes the clock at a UTC moment.
    static void FixUtc(int year, int month, int day, int hour, int minute, int second) {
        std::tm t{};
        t.tm_year = year - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_min = minute;
        t.tm_sec = second;
        host::Clock::SetFixedTime(timegm(&t));
    }

    bool hadTz_ = false;
    std::string savedTz_;
};

DATE Seconds(int year, int month, int day, int hour, int minute, int second) {
    DATE d = 0.0;
    EXPECT_TRUE(FieldsToDate(year, month, day, hour, minute, second, d));
    return d;
}

std::string Show(DATE d) { return FormatDateTime(d, "%m/%d/%Y %H:%M:%S"); }

} // namespace

TEST(DateFieldsTest, KnownDayNumbersConvertBothWays) {
    struct Row {
        double date;
        int year, month, day, dayOfWeek;
    };
    const Row rows[] = {
        {1.0, 1899, 12, 31, 1},       {2.0, 1900, 1, 1, 2},        {60.0, 1900, 2, 28, 4},
        {61.0, 1900, 3, 1, 5},        {36526.0, 2000, 1, 1, 7},    {45351.0, 2024, 2, 29, 5},
        {45477.0, 2024, 7, 4, 5},     {25568.0, 1969, 12, 31, 4},  {2958465.0, 9999, 12, 31, 6},
        {-657434.0, 100, 1, 1, 6},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.date);
        DateFields f;
        ASSERT_TRUE(DateToFields(r.date, f));
        EXPECT_EQ(f.year, r.year);
        EXPECT_EQ(f.month, r.month);
        EXPECT_EQ(f.day, r.day);
        EXPECT_EQ(f.dayOfWeek, r.dayOfWeek);
        EXPECT_EQ(f.hour, 0);
        EXPECT_EQ(MakeDate(r.year, r.month, r.day, 0, 0), r.date);
    }
}

TEST(DateFieldsTest, TimeOfDayRoundsToTheNearestSecond) {
    DateFields f;
    ASSERT_TRUE(DateToFields(45477.5, f));
    EXPECT_EQ(f.hour, 12);
    // 23:59:59.6 reads as the next day's midnight.
    ASSERT_TRUE(DateToFields(45477.0 + 86399.6 / 86400.0, f));
    EXPECT_EQ(f.day, 5);
    EXPECT_EQ(f.hour, 0);
    EXPECT_EQ(f.second, 0);
    ASSERT_TRUE(DateToFields(45477.0 + 86399.4 / 86400.0, f));
    EXPECT_EQ(f.day, 4);
    EXPECT_EQ(f.second, 59);
    // Before day 0 the fraction counts forward from the day: -1.25 is 29 December 1899 06:00.
    ASSERT_TRUE(DateToFields(-1.25, f));
    EXPECT_EQ(f.day, 29);
    EXPECT_EQ(f.hour, 6);
    EXPECT_EQ(Seconds(1899, 12, 29, 6, 0, 0), -1.25);
}

TEST(DateFieldsTest, FieldsThatFormNoDateAreRefused) {
    struct Row {
        int year, month, day, hour, minute;
    };
    const Row invalid[] = {
        {2023, 2, 29, 0, 0}, {1900, 2, 29, 0, 0}, {2024, 2, 30, 0, 0}, {2024, 4, 31, 0, 0},
        {2024, 13, 1, 0, 0}, {2024, 0, 1, 0, 0},  {2024, 1, 0, 0, 0},  {2024, 1, 1, 24, 0},
        {2024, 1, 1, 0, 60}, {99, 1, 1, 0, 0},    {10000, 1, 1, 0, 0}, {2024, 6, 31, 8, 0},
    };
    for (const Row& r : invalid) {
        SCOPED_TRACE(testing::Message() << r.year << "-" << r.month << "-" << r.day << " "
                                        << r.hour << ":" << r.minute);
        DATE d = 123.0;
        EXPECT_FALSE(FieldsToDate(r.year, r.month, r.day, r.hour, r.minute, 0, d));
        EXPECT_EQ(d, 123.0);
        EXPECT_EQ(MakeDate(r.year, r.month, r.day, r.hour, r.minute), 0.0);
    }
    EXPECT_NE(MakeDate(2000, 2, 29, 0, 0), 0.0);
    EXPECT_NE(MakeDate(2024, 2, 29, 23, 59), 0.0);
    DateFields f;
    EXPECT_FALSE(DateToFields(3000000.0, f));
    EXPECT_FALSE(DateToFields(std::nan(""), f));
}

TEST(ClockHourTest, TwelveHourReadingsAndPlainHours) {
    struct Case {
        int hour;
        char half;
        int expected;
    };
    for (const Case& c : {Case{7, 'P', 19}, Case{12, 'P', 12}, Case{12, 'A', 0}, Case{7, 'A', 7}, Case{13, 'P', -1},
                          Case{13, 'A', -1}, Case{19, 0, 19}, Case{0, 0, 0}, Case{24, 0, -1}, Case{-1, 'P', -1}})
        EXPECT_EQ(ClockHour(c.hour, c.half), c.expected) << c.hour << c.half;
}

TEST(DateArithmeticTest, AddToDateAddsEachUnit) {
    const DATE start = MakeDate(2024, 2, 28, 22, 0);
    EXPECT_EQ(Show(AddToDate(start, 1, 0, 0, 0)), "02/29/2024 22:00:00");
    EXPECT_EQ(Show(AddToDate(start, 0, 3, 0, 0)), "02/29/2024 01:00:00");
    EXPECT_EQ(Show(AddToDate(start, 0, 0, -90, 0)), "02/28/2024 20:30:00");
    EXPECT_EQ(Show(AddToDate(start, 0, 0, 0, 59)), "02/28/2024 22:00:59");
    EXPECT_EQ(Show(AddToDate(start, 2, 0, 0, 0)), "03/01/2024 22:00:00");
}

TEST(DateArithmeticTest, AddToDateFieldsMovesMonthsAndClampsToMonthEnd) {
    struct Row {
        DATE start;
        int years, months, days, hours, minutes;
        const char* expected;
    };
    const Row rows[] = {
        {MakeDate(2024, 1, 31, 10, 0), 0, 1, 0, 0, 0, "02/29/2024 10:00:00"},
        {MakeDate(2023, 1, 31, 10, 0), 0, 1, 0, 0, 0, "02/28/2023 10:00:00"},
        {MakeDate(2024, 3, 31, 10, 0), 0, -1, 0, 0, 0, "02/29/2024 10:00:00"},
        {MakeDate(2024, 5, 31, 10, 0), 0, 1, 0, 0, 0, "06/30/2024 10:00:00"},
        {MakeDate(2024, 2, 29, 10, 0), 1, 0, 0, 0, 0, "02/28/2025 10:00:00"},
        {MakeDate(2024, 2, 29, 10, 0), 4, 0, 0, 0, 0, "02/29/2028 10:00:00"},
        {MakeDate(2024, 12, 15, 10, 0), 0, 1, 0, 0, 0, "01/15/2025 10:00:00"},
        {MakeDate(2024, 1, 15, 10, 0), 0, -13, 0, 0, 0, "12/15/2022 10:00:00"},
        {MakeDate(2024, 1, 31, 10, 0), 0, 1, 1, 0, 0, "03/01/2024 10:00:00"},
        {MakeDate(2024, 12, 31, 23, 30), 0, 0, 0, 0, 45, "01/01/2025 00:15:00"},
        {MakeDate(2024, 3, 1, 0, 10), 0, 0, 0, -1, 0, "02/29/2024 23:10:00"},
        {Seconds(2024, 7, 4, 9, 15, 42), 0, 0, 0, 0, 0, "07/04/2024 09:15:00"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.expected);
        EXPECT_EQ(Show(AddToDateFields(r.start, r.years, r.months, r.days, r.hours, r.minutes)),
                  r.expected);
    }
}

TEST(DateArithmeticTest, MonthlySeriesFromTheThirtyFirstEnds) {
    // A loop that steps a month at a time always reaches its end.
    const DATE end = MakeDate(2024, 12, 31, 23, 0);
    DATE d = MakeDate(2024, 1, 31, 19, 0);
    std::vector<std::string> seen;
    while (d <= end && seen.size() < 50) {
        seen.push_back(FormatDateTime(d, "%m/%d"));
        d = AddToDateFields(d, 0, 1, 0, 0, 0);
    }
    ASSERT_EQ(seen.size(), 12u);
    EXPECT_EQ(seen[1], "02/29");
    EXPECT_EQ(seen[2], "03/29");
}

TEST(DateArithmeticTest, DayCutsAndStartTimes) {
    DATE d = MakeDate(2024, 7, 4, 14, 5);
    SetDateOnly(d);
    EXPECT_EQ(d, MakeDate(2024, 7, 4, 0, 0));
    d = MakeDate(2024, 2, 28, 14, 5);
    GetNextDay(d);
    EXPECT_EQ(d, MakeDate(2024, 2, 29, 0, 0));
    d = MakeDate(2024, 12, 31, 23, 59);
    GetNextDay(d);
    EXPECT_EQ(d, MakeDate(2025, 1, 1, 0, 0));

    EXPECT_EQ(SetMinimumStartTime(MakeDate(2024, 7, 4, 7, 59)), MakeDate(2024, 7, 4, 8, 0));
    const DATE eight = MakeDate(2024, 7, 4, 8, 0);
    EXPECT_EQ(SetMinimumStartTime(eight), eight);
    EXPECT_EQ(SetMinimumStartTime(MakeDate(2024, 7, 4, 0, 0)), eight);
    const DATE evening = MakeDate(2024, 7, 4, 20, 0);
    EXPECT_EQ(SetMinimumStartTime(evening), evening);
}

TEST(DateArithmeticTest, Comparisons) {
    const DATE a = Seconds(2024, 7, 4, 9, 15, 10);
    EXPECT_TRUE(IsSameDay(a, MakeDate(2024, 7, 4, 23, 59)));
    EXPECT_FALSE(IsSameDay(a, MakeDate(2024, 7, 5, 0, 0)));
    EXPECT_TRUE(IsSameDay(-1e12, std::nan("")));
    EXPECT_FALSE(IsSameDay(a, -1e12));
    EXPECT_TRUE(IsSameMinute(a, Seconds(2024, 7, 4, 9, 15, 50)));
    EXPECT_FALSE(IsSameMinute(a, MakeDate(2024, 7, 4, 9, 16)));
}

TEST(DateArithmeticTest, DaysBetweenRoundsByHalfASecond) {
    const DATE a = MakeDate(2024, 7, 4, 9, 0);
    EXPECT_EQ(GetDaysBetween(a, a + (86399.6 / 86400.0)), 1);
    EXPECT_EQ(GetDaysBetween(a, a + (86399.4 / 86400.0)), 0);
    EXPECT_EQ(GetDaysBetween(a + (86399.6 / 86400.0), a), -1);
    EXPECT_EQ(GetDaysBetween(MakeDate(2024, 1, 1, 0, 0), MakeDate(2025, 1, 1, 0, 0)), 366);
    EXPECT_EQ(GetDaysBetween(MakeDate(2024, 3, 1, 12, 0), MakeDate(2024, 2, 28, 13, 0)), -1);
}

TEST(DateArithmeticTest, TimeInsideTable) {
    const DATE b = MakeDate(2024, 7, 4, 10, 0); // b runs 10:00-11:00
    struct Row {
        int hour, minute, length;
        bool expected;
        const char* what;
    };
    const Row rows[] = {
        {10, 0, 30, true, "a starts with b"},
        {10, 30, 60, true, "a starts inside b"},
        {11, 0, 30, false, "a starts exactly at b's end"},
        {9, 0, 60, false, "a ends exactly at b's start"},
        {9, 30, 60, true, "a ends inside b"},
        {9, 30, 90, true, "a ends exactly at b's end"},
        {9, 0, 180, true, "a encloses b"},
        {9, 0, 30, false, "a before b"},
        {11, 30, 30, false, "a after b"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        EXPECT_EQ(IsTimeInside(MakeDate(2024, 7, 4, r.hour, r.minute), r.length, b, 60), r.expected);
    }
    // Enclosure is seen from both sides.
    EXPECT_TRUE(IsTimeInside(b, 60, MakeDate(2024, 7, 4, 9, 0), 180));
}

TEST(DateArithmeticTest, WeekdayOccurrenceWithinTheMonth) {
    const std::pair<int, int> rows[] = {{1, 1}, {7, 1}, {8, 2}, {14, 2}, {15, 3}, {28, 4}, {31, 5}};
    for (auto [day, expected] : rows) {
        EXPECT_EQ(GetWeekdayOccurrence(MakeDate(2024, 1, day, 12, 0)), expected) << day;
        EXPECT_EQ(GetWeekdayOccurrence(MakeDate(2024, 12, day, 12, 0)), expected) << day;
    }
}

TEST(DateArithmeticTest, WeekOfYearCountsSevenDaysFromTheFirstOfJanuary) {
    struct Row {
        int year, month, day, expected;
    } rows[] = {{2007, 1, 1, 1},  {2007, 1, 5, 1},  {2007, 1, 7, 1},    {2007, 1, 8, 2},   {2007, 1, 14, 2},
                {2007, 2, 1, 5},  {2007, 12, 31, 53}, {2024, 12, 30, 53}, {2024, 12, 31, 53}, {2024, 3, 1, 9}};
    for (const Row& r : rows)
        EXPECT_EQ(WeekOfYear(MakeDate(r.year, r.month, r.day, 23, 59)), r.expected) << r.year << "-" << r.month << "-" << r.day;
    EXPECT_EQ(WeekOfYear(std::nan("")), 0);
}

TEST(DateArithmeticTest, YearRangesAndAllowedDates) {
    const DATE d = MakeDate(2024, 5, 5, 14, 30);
    DATE yearStart = 0, plusWeek = 0, lastStart = 0, lastEnd = 0;
    GetYearRanges(d, yearStart, plusWeek, lastStart, lastEnd);
    EXPECT_EQ(yearStart, MakeDate(2024, 1, 1, 0, 0));
    EXPECT_EQ(plusWeek, MakeDate(2024, 5, 12, 14, 30));
    EXPECT_EQ(lastStart, MakeDate(2023, 1, 1, 0, 0));
    EXPECT_EQ(lastEnd, MakeDate(2023, 12, 31, 0, 0));

    EXPECT_TRUE(IsDateAllowed(0.0, false));
    EXPECT_FALSE(IsDateAllowed(MakeDate(1969, 12, 31, 23, 59), false));
    EXPECT_TRUE(IsDateAllowed(MakeDate(1969, 12, 31, 23, 59), true));
    EXPECT_TRUE(IsDateAllowed(MakeDate(1970, 1, 1, 0, 0), false));
}

TEST(DateFormatTest, EveryPatternInUse) {
    const DATE afternoon = Seconds(2024, 7, 4, 14, 5, 9);
    struct Row {
        const char* pattern;
        const char* expected;
    };
    const Row rows[] = {
        {"%m/%d/%Y", "07/04/2024"},
        {"%m/%d/%Y %H:%M", "07/04/2024 14:05"},
        {"%A %B %d, %Y, %I:%M%p", "Thursday July 04, 2024, 02:05PM"},
        {"%m/%d/%Y, %I:%M%p", "07/04/2024, 02:05PM"},
        {"%I:%M%p", "02:05PM"},
        {"%A %B %d, %Y", "Thursday July 04, 2024"},
        {"%m/%d/%y", "07/04/24"},
        {"%a %m/%d/%y", "Thu 07/04/24"},
        {"%m/%d/%Y %I:%M%p", "07/04/2024 02:05PM"},
        {"%m/%d", "07/04"},
        {"%m_%d_%Y", "07_04_2024"},
        {"%I:%M:%S%p", "02:05:09PM"},
        {"%B %d, %Y", "July 04, 2024"},
        {"%b %j 100%%", "Jul 186 100%"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(FormatDateTime(afternoon, r.pattern), r.expected) << r.pattern;

    EXPECT_EQ(FormatDateTime(MakeDate(2024, 1, 1, 0, 0), "%I:%M%p"), "12:00AM");
    EXPECT_EQ(FormatDateTime(MakeDate(2024, 1, 1, 12, 0), "%I:%M%p"), "12:00PM");
    EXPECT_EQ(FormatDateTime(MakeDate(2024, 1, 1, 23, 59), "%I:%M%p"), "11:59PM");
    EXPECT_EQ(FormatDateTime(MakeDate(2024, 12, 29, 0, 0), "%A %a"), "Sunday Sun");
    EXPECT_EQ(FormatDateTime(MakeDate(2024, 12, 28, 0, 0), "%A %a"), "Saturday Sat");
}

TEST(DateFormatTest, NoDateIsInvalid) {
    EXPECT_EQ(FormatDateTime(0.0, "%m/%d/%Y"), "Invalid date/time");
    EXPECT_EQ(FormatDateTime(0.75, "%m/%d/%Y"), "Invalid date/time");
    EXPECT_EQ(FormatDateTime(-5.0, "%m/%d/%Y"), "Invalid date/time");
    EXPECT_EQ(FormatDateTime(3000000.0, "%m/%d/%Y"), "Invalid date/time");
    EXPECT_EQ(FormatDateTime(std::nan(""), "%m/%d/%Y"), "Invalid date/time");
    EXPECT_EQ(FormatDateTime(1.0, "%m/%d/%Y"), "12/31/1899");
}

TEST_F(ClockFixture, NowTodayAndCurrentTimeCodes) {
    FixUtc(2024, 7, 3, 14, 5, 9); // a Wednesday
    EXPECT_EQ(GetNow(), MakeDate(2024, 7, 3, 14, 5));
    EXPECT_EQ(GetToday(0), MakeDate(2024, 7, 3, 0, 0));
    EXPECT_EQ(GetToday(9), MakeDate(2024, 7, 3, 9, 0));
    const std::pair<char, const char*> codes[] = {
        {'S', "02:05:09PM"},
        {'T', "02:05PM"},
        {'D', "07/03/2024"},
        {'A', "Wednesday July 03, 2024, 02:05PM"},
        {'d', "July 03, 2024"},
        {'x', "07/03/2024 02:05PM"},
    };
    for (auto [code, expected] : codes)
        EXPECT_EQ(FormatCurrentTime(code), expected) << code;
}

TEST_F(ClockFixture, WeekStartGoesBackToTheWeekday) {
    FixUtc(2024, 7, 3, 15, 0, 0); // Wednesday
    struct Row {
        int weekday;
        DATE expected;
    };
    const Row rows[] = {
        {4, MakeDate(2024, 7, 3, 0, 0)},  // today already is Wednesday
        {1, MakeDate(2024, 6, 30, 0, 0)}, // Sunday
        {0, MakeDate(2024, 6, 30, 0, 0)}, // outside 1-7 counts as Sunday
        {9, MakeDate(2024, 6, 30, 0, 0)},
        {5, MakeDate(2024, 6, 27, 0, 0)}, // Thursday of last week
        {3, MakeDate(2024, 7, 2, 0, 0)},
    };
    for (const Row& r : rows) {
        DATE start = 0, end = 0;
        GetWeekStart(start, end, r.weekday, 7);
        EXPECT_EQ(start, r.expected) << r.weekday;
        EXPECT_EQ(end, AddToDate(r.expected, 7, 0, 0, 0)) << r.weekday;
    }
}

TEST_F(ClockFixture, DateThisYear) {
    FixUtc(2023, 3, 10, 12, 0, 0);
    EXPECT_EQ(GetDateThisYear(MakeDate(2020, 5, 5, 19, 0)), MakeDate(2023, 5, 5, 8, 0));
    EXPECT_EQ(GetDateThisYear(MakeDate(2024, 2, 29, 0, 0)), 0.0); // no 29 February in 2023
    FixUtc(2028, 3, 10, 12, 0, 0);
    EXPECT_EQ(GetDateThisYear(MakeDate(2024, 2, 29, 0, 0)), MakeDate(2028, 2, 29, 8, 0));
}

TEST_F(ClockFixture, LocalTimeFollowsDaylightSavingChanges) {
    struct Row {
        const char* zone;
        int utcYear, utcMonth, utcDay, utcHour, utcMinute;
        const char* expected;
    };
    const Row rows[] = {
        // New York springs forward at 02:00 on 10 March 2024 and falls back at 02:00 on 3 November.
        {"America/New_York", 2024, 3, 10, 6, 59, "03/10/2024 01:59"},
        {"America/New_York", 2024, 3, 10, 7, 0, "03/10/2024 03:00"},
        {"America/New_York", 2024, 11, 3, 5, 30, "11/03/2024 01:30"},
        {"America/New_York", 2024, 11, 3, 6, 30, "11/03/2024 01:30"},
        {"America/New_York", 2024, 11, 3, 7, 0, "11/03/2024 02:00"},
        // Berlin changes at 01:00 UTC on 31 March and 27 October 2024.
        {"Europe/Berlin", 2024, 3, 31, 0, 59, "03/31/2024 01:59"},
        {"Europe/Berlin", 2024, 3, 31, 1, 0, "03/31/2024 03:00"},
        {"Europe/Berlin", 2024, 10, 27, 0, 30, "10/27/2024 02:30"},
        {"Europe/Berlin", 2024, 10, 27, 1, 30, "10/27/2024 02:30"},
        {"UTC", 2024, 2, 29, 23, 59, "02/29/2024 23:59"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(testing::Message() << r.zone << " " << r.expected);
        SetZone(r.zone);
        FixUtc(r.utcYear, r.utcMonth, r.utcDay, r.utcHour, r.utcMinute, 0);
        EXPECT_EQ(FormatDateTime(GetNow(), "%m/%d/%Y %H:%M"), r.expected);
        EXPECT_EQ(FormatCurrentTime('D'), std::string(r.expected).substr(0, 10));
    }
}
