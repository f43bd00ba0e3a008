#pragma once
// Dates and times as day counts: whole days since 30 December 1899 00:00 (day 0), the fraction
// being the time of day, local time. 0.0 stands for "no date". Conversions use our own proleptic
// Gregorian arithmetic, so results never depend on the C library or the process locale; the
// current time comes from the host clock, which tests can fix.

#include <string>

using DATE = double;

// One second and half a second in days.
constexpr double kDateOneSecond = 1.0 / 86400.0;
constexpr double kDateHalfSecond = 5.787037037037037e-6;

// Calendar fields of a date. dayOfWeek: 1 = Sunday ... 7 = Saturday; dayOfYear: 1 = 1 January.
struct DateFields {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int dayOfWeek = 0;
    int dayOfYear = 0;
};

// Converts a date to its fields, rounded to the nearest second. False for values outside the years
// 100 to 9999 (and for NaN or infinities).
bool DateToFields(DATE date, DateFields& fields);
// Builds a date only when the fields form that exact date and time (year 100 to 9999); false and
// `date` untouched otherwise.
bool FieldsToDate(int year, int month, int day, int hour, int minute, int second, DATE& date);

// The hour of the day of a 12-hour clock reading: half 'P' afternoon (1-11 gain 12, 12 is noon),
// 'A' morning (12 is midnight), any other value none (the hour as it is). -1 when the result is
// no hour of the day: an afternoon or morning hour past 12, or any hour past 23.
int ClockHour(int hour, char half);

// The current local date and time, seconds set to 0.
DATE GetNow();
// Today at the given hour, minutes and seconds 0.
DATE GetToday(int hour);
// The date of those fields with seconds 0; 0.0 (no date) when they form no real date and time.
DATE MakeDate(int year, int month, int day, int hour, int minute);
// date + days + hours/24 + minutes/1440 + seconds/86400.
DATE AddToDate(DATE date, int days, int hours, int minutes, int seconds);
// Adds to the calendar fields (seconds become 0). Years and months move the month; a day that the
// new month lacks (31 January plus a month) becomes that month's last day. Days, hours and minutes
// then roll over into the following fields, so the result is always a real date.
DATE AddToDateFields(DATE date, int years, int months, int days, int hours, int minutes);
// Cuts the time of day off in place.
void SetDateOnly(DATE& date);
// 00:00 of the following day, in place.
void GetNextDay(DATE& date);
// The date unchanged when its hour is 8 or later, else 08:00 of that day.
DATE SetMinimumStartTime(DATE date);
// The same month and day in the current year at 08:00; 0.0 for 29 February in a common year.
DATE GetDateThisYear(DATE date);
bool IsSameDay(DATE a, DATE b);
bool IsSameMinute(DATE a, DATE b);
// What a date field read back stores: `stored` itself when the field still shows it (the same day,
// or with `withTime` the same minute; 0.0 for 0.0), else the field's value `shown`.
DATE KeepStoredDate(DATE shown, DATE stored, int withTime);
// Whole days of b - a, rounded toward zero after adding half a second away from zero.
int GetDaysBetween(DATE a, DATE b);
// Whether span a (start, length in minutes) meets span b: a starting inside b, a ending inside b,
// or a enclosing b. A span that ends where the other begins does not meet it.
bool IsTimeInside(DATE startA, int minutesA, DATE startB, int minutesB);
// Which occurrence of its weekday within its month the date is (1 for days 1-7, ...); 0 for a
// value that is no date.
int GetWeekdayOccurrence(DATE date);
// The week of the year the date lies in: 1 for 1-7 January, 2 for 8-14 January, ...; 0 for a
// value outside the calendar (NaN, years before 100 or after 9999).
int WeekOfYear(DATE date);
// start = the latest day, today or earlier, on that weekday (1 = Sunday; outside 1-7 counts as 1),
// at 00:00; end = start + days.
void GetWeekStart(DATE& start, DATE& end, int weekday, int days);
// 1 January of the date's year; the date plus 7 days; 1 January and 31 December of the year before
// (all at 00:00 but the second).
void GetYearRanges(DATE date, DATE& yearStart, DATE& datePlusWeek, DATE& lastYearStart,
                   DATE& lastYearEnd);
// True for 0.0, when `allowAny` is set, or when the date's year is 1970 or later.
bool IsDateAllowed(DATE date, bool allowAny);

// Formats with strftime conversions (%m %d %Y %y %H %I %M %S %p %A %a %B %b %j %%), English names
// whatever the locale; "Invalid date/time" for a date below 1.0 or one that cannot be converted.
std::string FormatDateTime(DATE date, const std::string& pattern);
// The current local time by code: 'S' "%I:%M:%S%p", 'T' "%I:%M%p", 'D' "%m/%d/%Y",
// 'A' "%A %B %d, %Y, %I:%M%p", 'd' "%B %d, %Y", any other "%m/%d/%Y %I:%M%p".
std::string FormatCurrentTime(char code);

// The current local date and time to the second, read once from the host clock. False when the
// clock cannot be converted.
bool GetCurrentLocalFields(DateFields& fields);
