#include "common/DateTime.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "platform/host/Clock.h"

namespace {

// Day 0 (30 December 1899) counted from 1 January 1970.
constexpr int64_t kEpochOffsetDays = 25569;
// The years a date may hold, as the date types of the stored files allow.
constexpr int kMinYear = 100;
constexpr int kMaxYear = 9999;
constexpr double kMinDate = -657434.0;        // 1 January 100
constexpr double kMaxDate = 2958465.99999999; // 31 December 9999, 23:59:59

const char* const kDayNames[7] = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                  "Thursday", "Friday", "Saturday"};
const char* const kMonthNames[12] = {"January", "February", "March",     "April",
                                     "May",     "June",     "July",      "August",
                                     "September", "October", "November", "December"};

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

bool IsLeapYear(int64_t y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int64_t y, int m) {
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsLeapYear(y)) ? 29 : kDays[m - 1];
}

// Days since 1 January 1970 of a proleptic Gregorian date.
int64_t DaysFromCivil(int64_t y, int m, int d) {
    y -= m <= 2;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, int& m, int& d) {
    z += 719468;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = yoe + era * 400 + (m <= 2);
}

// A day number and seconds into that day as a date value. Before day 0 the fraction counts
// forward from the (negative) day number, as the stored date format has it: -1.25 is 29 December
// 1899 at 06:00.
DATE ComposeDate(int64_t dayNumber, int64_t secondsOfDay) {
    const double time = static_cast<double>(secondsOfDay) / 86400.0;
    const double day = static_cast<double>(dayNumber);
    return dayNumber >= 0 ? day + time : day - time;
}

// Day number and seconds of a date, rounded to the nearest second.
void SplitDate(DATE date, int64_t& dayNumber, int64_t& secondsOfDay) {
    const double whole = std::trunc(date);
    const double fraction = std::fabs(date - whole);
    dayNumber = static_cast<int64_t>(whole);
    secondsOfDay = static_cast<int64_t>(std::floor(fraction * 86400.0 + 0.5));
    if (secondsOfDay >= 86400) {
        secondsOfDay -= 86400;
        ++dayNumber;
    }
}

// Sign of x - y to the nearest second, so that spans built by adding minutes compare exactly.
int CompareMoments(DATE x, DATE y) {
    const long long seconds = std::llround((x - y) * 86400.0);
    return seconds < 0 ? -1 : (seconds > 0 ? 1 : 0);
}

void AppendNumber(std::string& out, long long value, int width) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%0*lld", width, value);
    out += buffer;
}

std::string FormatFields(const DateFields& f, const std::string& pattern) {
    std::string out;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c != '%' || i + 1 == pattern.size()) {
            out += c;
            continue;
        }
        const char code = pattern[++i];
        switch (code) {
        case 'm': AppendNumber(out, f.month, 2); break;
        case 'd': AppendNumber(out, f.day, 2); break;
        case 'Y': AppendNumber(out, f.year, 4); break;
        case 'y': AppendNumber(out, f.year % 100, 2); break;
        case 'H': AppendNumber(out, f.hour, 2); break;
        case 'I': AppendNumber(out, f.hour % 12 == 0 ? 12 : f.hour % 12, 2); break;
        case 'M': AppendNumber(out, f.minute, 2); break;
        case 'S': AppendNumber(out, f.second, 2); break;
        case 'j': AppendNumber(out, f.dayOfYear, 3); break;
        case 'p': out += f.hour < 12 ? "AM" : "PM"; break;
        case 'A': out += kDayNames[f.dayOfWeek - 1]; break;
        case 'a': out.append(kDayNames[f.dayOfWeek - 1], 3); break;
        case 'B': out += kMonthNames[f.month - 1]; break;
        case 'b': out.append(kMonthNames[f.month - 1], 3); break;
        case '%': out += '%'; break;
        default:
            // Not a conversion we know: kept as written.
            out += '%';
            out += code;
            break;
        }
    }
    return out;
}

DATE DateOfFields(const DateFields& f, int hour, int minute) {
    DATE date = 0.0;
    FieldsToDate(f.year, f.month, f.day, hour, minute, 0, date);
    return date;
}

// Whether two dates agree in year, month and day (and hour and minute with `toTheMinute`); two
// values that cannot be converted count as equal.
bool AgreeInFields(DATE a, DATE b, bool toTheMinute) {
    DateFields fa;
    DateFields fb;
    const bool okA = DateToFields(a, fa);
    const bool okB = DateToFields(b, fb);
    if (!okA || !okB)
        return okA == okB;
    const bool sameDay = fa.year == fb.year && fa.month == fb.month && fa.day == fb.day;
    return sameDay && (!toTheMinute || (fa.hour == fb.hour && fa.minute == fb.minute));
}

} // namespace

bool DateToFields(DATE date, DateFields& fields) {
    if (!std::isfinite(date) || date < kMinDate || date > kMaxDate)
        return false;
    int64_t dayNumber = 0;
    int64_t seconds = 0;
    SplitDate(date, dayNumber, seconds);
    int64_t year = 0;
    int month = 0;
    int day = 0;
    const int64_t unixDays = dayNumber - kEpochOffsetDays;
    CivilFromDays(unixDays, year, month, day);
    if (year < kMinYear || year > kMaxYear)
        return false;
    fields.year = static_cast<int>(year);
    fields.month = month;
    fields.day = day;
    fields.hour = static_cast<int>(seconds / 3600);
    fields.minute = static_cast<int>(seconds / 60 % 60);
    fields.second = static_cast<int>(seconds % 60);
    // 1 January 1970 was a Thursday (day 5 counting Sunday as 1).
    fields.dayOfWeek = static_cast<int>(unixDays + 4 - FloorDiv(unixDays + 4, 7) * 7) + 1;
    fields.dayOfYear = static_cast<int>(unixDays - DaysFromCivil(year, 1, 1)) + 1;
    return true;
}

bool FieldsToDate(int year, int month, int day, int hour, int minute, int second, DATE& date) {
    if (year < kMinYear || year > kMaxYear || month < 1 || month > 12 || day < 1 ||
        day > DaysInMonth(year, month) || hour < 0 || hour > 23 || minute < 0 || minute > 59 ||
        second < 0 || second > 59)
        return false;
    date = ComposeDate(DaysFromCivil(year, month, day) + kEpochOffsetDays,
                       int64_t(hour) * 3600 + minute * 60 + second);
    return true;
}

DATE GetNow() {
    DateFields now;
    if (!GetCurrentLocalFields(now))
        return 0.0;
    return DateOfFields(now, now.hour, now.minute);
}

DATE GetToday(int hour) {
    DateFields now;
    if (!GetCurrentLocalFields(now))
        return 0.0;
    return DateOfFields(now, hour, 0);
}

int ClockHour(int hour, char half) {
    if (hour < 0) return -1;
    if (half == 'P' || half == 'A') {
        if (hour > 12) return -1;
        if (half == 'P' && hour < 12) return hour + 12;
        if (half == 'A' && hour == 12) return 0;
        return hour;
    }
    return hour <= 23 ? hour : -1;
}

DATE MakeDate(int year, int month, int day, int hour, int minute) {
    DATE date = 0.0;
    FieldsToDate(year, month, day, hour, minute, 0, date);
    return date;
}

DATE AddToDate(DATE date, int days, int hours, int minutes, int seconds) {
    return date + days + hours / 24.0 + minutes / 1440.0 + seconds / 86400.0;
}

DATE AddToDateFields(DATE date, int years, int months, int days, int hours, int minutes) {
    DateFields f;
    if (!DateToFields(date, f))
        return date;
    const int64_t monthIndex = int64_t(f.year) * 12 + (f.month - 1) + int64_t(years) * 12 + months;
    const int64_t year = FloorDiv(monthIndex, 12);
    const int month = static_cast<int>(monthIndex - year * 12) + 1;
    const int day = std::min(f.day, DaysInMonth(year, month));
    const int64_t minuteOfDay = int64_t(f.hour) * 60 + f.minute + int64_t(hours) * 60 + minutes;
    const int64_t dayNumber = DaysFromCivil(year, month, day) + kEpochOffsetDays + days +
                              FloorDiv(minuteOfDay, 1440);
    const int64_t minuteInDay = minuteOfDay - FloorDiv(minuteOfDay, 1440) * 1440;
    return ComposeDate(dayNumber, minuteInDay * 60);
}

void SetDateOnly(DATE& date) {
    int64_t dayNumber = 0;
    int64_t seconds = 0;
    if (!std::isfinite(date))
        return;
    SplitDate(date, dayNumber, seconds);
    date = ComposeDate(dayNumber, 0);
}

void GetNextDay(DATE& date) {
    int64_t dayNumber = 0;
    int64_t seconds = 0;
    if (!std::isfinite(date))
        return;
    SplitDate(date, dayNumber, seconds);
    date = ComposeDate(dayNumber + 1, 0);
}

DATE SetMinimumStartTime(DATE date) {
    DateFields f;
    if (!DateToFields(date, f) || f.hour >= 8)
        return date;
    return DateOfFields(f, 8, 0);
}

DATE GetDateThisYear(DATE date) {
    DateFields f;
    DateFields now;
    if (!DateToFields(date, f) || !GetCurrentLocalFields(now))
        return 0.0;
    return MakeDate(now.year, f.month, f.day, 8, 0);
}

bool IsSameDay(DATE a, DATE b) { return AgreeInFields(a, b, false); }

bool IsSameMinute(DATE a, DATE b) { return AgreeInFields(a, b, true); }

DATE KeepStoredDate(DATE shown, DATE stored, int withTime) {
    if (shown == 0.0 || stored == 0.0) return shown;
    const bool same = withTime != 0 ? IsSameMinute(shown, stored) : IsSameDay(shown, stored);
    return same ? stored : shown;
}

int GetDaysBetween(DATE a, DATE b) {
    double span = b - a;
    span += span < 0 ? -kDateHalfSecond : kDateHalfSecond;
    return static_cast<int>(std::trunc(span));
}

bool IsTimeInside(DATE startA, int minutesA, DATE startB, int minutesB) {
    const DATE endA = AddToDate(startA, 0, 0, minutesA, 0);
    const DATE endB = AddToDate(startB, 0, 0, minutesB, 0);
    if (CompareMoments(startA, startB) >= 0 && CompareMoments(startA, endB) < 0)
        return true; // a starts inside b
    if (CompareMoments(endA, startB) <= 0)
        return false; // a ends before b starts
    // a ends inside b, or begins before b and ends after it
    return CompareMoments(endA, endB) <= 0 || CompareMoments(startA, startB) < 0;
}

int GetWeekdayOccurrence(DATE date) {
    DateFields f;
    if (!DateToFields(date, f))
        return 0;
    return (f.day - 1) / 7 + 1;
}

int WeekOfYear(DATE date) {
    DateFields f;
    if (!DateToFields(date, f))
        return 0;
    return (f.dayOfYear - 1) / 7 + 1;
}

void GetWeekStart(DATE& start, DATE& end, int weekday, int days) {
    if (weekday < 1 || weekday > 7)
        weekday = 1;
    DateFields today;
    if (!GetCurrentLocalFields(today)) {
        start = end = 0.0;
        return;
    }
    start = DateOfFields(today, 0, 0);
    const int back = (today.dayOfWeek - weekday + 7) % 7;
    start = AddToDate(start, -back, 0, 0, 0);
    end = AddToDate(start, days, 0, 0, 0);
}

void GetYearRanges(DATE date, DATE& yearStart, DATE& datePlusWeek, DATE& lastYearStart,
                   DATE& lastYearEnd) {
    DateFields f;
    if (!DateToFields(date, f)) {
        yearStart = lastYearStart = lastYearEnd = 0.0;
        datePlusWeek = AddToDate(date, 7, 0, 0, 0);
        return;
    }
    yearStart = MakeDate(f.year, 1, 1, 0, 0);
    datePlusWeek = AddToDate(date, 7, 0, 0, 0);
    lastYearStart = MakeDate(f.year - 1, 1, 1, 0, 0);
    lastYearEnd = MakeDate(f.year - 1, 12, 31, 0, 0);
}

bool IsDateAllowed(DATE date, bool allowAny) {
    if (date == 0.0 || allowAny)
        return true;
    DateFields f;
    return DateToFields(date, f) && f.year >= 1970;
}

std::string FormatDateTime(DATE date, const std::string& pattern) {
    DateFields f;
    if (!(date >= 1.0) || !DateToFields(date, f))
        return "Invalid date/time";
    return FormatFields(f, pattern);
}

std::string FormatCurrentTime(char code) {
    const char* pattern = "%m/%d/%Y %I:%M%p";
    switch (code) {
    case 'S': pattern = "%I:%M:%S%p"; break;
    case 'T': pattern = "%I:%M%p"; break;
    case 'D': pattern = "%m/%d/%Y"; break;
    case 'A': pattern = "%A %B %d, %Y, %I:%M%p"; break;
    case 'd': pattern = "%B %d, %Y"; break;
    default: break;
    }
    DateFields now;
    if (!GetCurrentLocalFields(now))
        return "Invalid date/time";
    return FormatFields(now, pattern);
}

bool GetCurrentLocalFields(DateFields& fields) {
    // Records made in bulk (a load builds every token and payment) each ask for the time: the
    // conversion is done once per second of the clock and time zone.
    struct Cached {
        bool valid = false;
        time_t now = 0;
        unsigned zone = 0;
        DateFields fields;
    };
    thread_local Cached cached;
    const time_t now = host::Clock::Now();
    const unsigned zone = host::Clock::TimeZoneGeneration();
    if (cached.valid && cached.now == now && cached.zone == zone) {
        fields = cached.fields;
        return true;
    }
    host::LocalTime local;
    if (!host::Clock::ToLocal(now, local))
        return false;
    // A leap second reads as the last second of its minute.
    DATE date = 0.0;
    if (!FieldsToDate(local.year, local.month, local.day, local.hour, local.minute,
                      local.second > 59 ? 59 : local.second, date))
        return false;
    if (!DateToFields(date, fields)) return false;
    cached = Cached{true, now, zone, fields};
    return true;
}
