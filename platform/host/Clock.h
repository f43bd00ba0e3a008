#pragma once
// The program's one clock: local wall time, a monotonic millisecond counter and Sleep,
// with test hooks to fix them. Local-time conversions go through the system time zone
// (TZ), daylight saving time included.

#include <cstdint>
#include <ctime>

namespace host {

// Broken-down local time, as the calendar shows it.
struct LocalTime {
    int year = 1970;      // e.g. 2024
    int month = 1;        // 1-12
    int day = 1;          // 1-31
    int hour = 0;         // 0-23
    int minute = 0;       // 0-59
    int second = 0;       // 0-59 (60 for a leap second from the system)
    int millisecond = 0;  // 0-999
    int dayOfWeek = 4;    // 0 Sunday - 6 Saturday (filled in by conversions)
    int dayOfYear = 0;    // 0-365 (filled in by conversions)
    int isDst = 0;        // 1 daylight saving time, 0 standard, -1 unknown
};

class Clock {
public:
    // Wall time now, seconds since the epoch (the fixed time when one is set).
    static time_t Now();
    // Wall time now in milliseconds since the epoch.
    static int64_t NowMilliseconds();
    // Wall time now as local calendar fields.
    static LocalTime LocalNow();

    // Monotonic millisecond counter (arbitrary origin); never goes back.
    static uint64_t TickCount();
    // Pauses the calling thread. With instant sleep set, returns at once and
    // advances the fixed monotonic counter by ms instead.
    static void Sleep(uint32_t ms);

    // time_t -> local fields. False when the system cannot represent the time.
    static bool ToLocal(time_t t, LocalTime& out);
    // Local fields -> time_t. Out-of-range fields are normalised (month 13 is January of
    // the next year). A time that does not exist (skipped by a spring-forward change)
    // is taken as the same wall time before the change, i.e. it lands one hour later;
    // an ambiguous time (the repeated hour in the autumn) takes isDst as a hint
    // (-1: the earlier of the two). The millisecond field is ignored.
    static bool FromLocal(const LocalTime& fields, time_t& out);
    // Re-reads TZ (after a test changes it).
    static void ResetTimeZone();
    // Counts the calls of ResetTimeZone: a local time kept from before another count is stale.
    static unsigned TimeZoneGeneration();

    // Test hooks. The fixed wall time stays where it is set until changed.
    static void SetFixedTime(time_t t, int milliseconds = 0);
    static void ClearFixedTime();
    // Fixes the monotonic counter at ms; AdvanceTicks moves a fixed counter forward.
    static void SetFixedTicks(uint64_t ms);
    static void AdvanceTicks(uint64_t ms);
    static void ClearFixedTicks();
    // Instant sleep: Sleep returns at once and advances the monotonic counter (which is
    // fixed at its current value when it was not fixed yet).
    static void SetInstantSleep(bool on);
    // Clears every hook.
    static void ResetTestHooks();
};

}  // namespace host
