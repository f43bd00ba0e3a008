#include "platform/host/Clock.h"

#include <atomic>
#include <mutex>
#include <time.h>

namespace host {
namespace {

struct Hooks {
    std::mutex mutex;
    bool timeFixed = false;
    time_t fixedTime = 0;
    int fixedMs = 0;
    bool ticksFixed = false;
    uint64_t fixedTicks = 0;
    bool instantSleep = false;
};

Hooks& TheHooks() {
    static Hooks hooks;
    return hooks;
}

uint64_t RealTicks() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
}

void FieldsFromTm(const tm& t, LocalTime& out) {
    out.year = t.tm_year + 1900;
    out.month = t.tm_mon + 1;
    out.day = t.tm_mday;
    out.hour = t.tm_hour;
    out.minute = t.tm_min;
    out.second = t.tm_sec;
    out.dayOfWeek = t.tm_wday;
    out.dayOfYear = t.tm_yday;
    out.isDst = t.tm_isdst > 0 ? 1 : 0;
}

bool SameWallTime(const tm& a, const tm& b) {
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday &&
           a.tm_hour == b.tm_hour && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec;
}

// mktime of the wall time `wall` read as standard (dst 0) or daylight (dst 1) time;
// true when the result shows that very wall time with that very flag.
bool TryMktime(const tm& wall, int dst, time_t& out) {
    tm t = wall;
    t.tm_isdst = dst;
    time_t r = mktime(&t);
    if (r == static_cast<time_t>(-1) && !(t.tm_year == 69 && t.tm_mon == 11 && t.tm_mday == 31))
        return false;
    tm back{};
    if (localtime_r(&r, &back) == nullptr) return false;
    out = r;
    return SameWallTime(back, wall) && (back.tm_isdst > 0) == (dst > 0);
}

}  // namespace

time_t Clock::Now() {
    Hooks& h = TheHooks();
    {
        std::lock_guard<std::mutex> lock(h.mutex);
        if (h.timeFixed) return h.fixedTime;
    }
    return time(nullptr);
}

int64_t Clock::NowMilliseconds() {
    Hooks& h = TheHooks();
    {
        std::lock_guard<std::mutex> lock(h.mutex);
        if (h.timeFixed) return static_cast<int64_t>(h.fixedTime) * 1000 + h.fixedMs;
    }
    timespec ts{};
    clock_gettime(CLOCK_REALTIME, &ts);
    return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

LocalTime Clock::LocalNow() {
    int64_t ms = NowMilliseconds();
    int64_t secs = ms >= 0 ? ms / 1000 : -((-ms + 999) / 1000);
    LocalTime out;
    ToLocal(static_cast<time_t>(secs), out);
    out.millisecond = static_cast<int>(ms - secs * 1000);
    return out;
}

uint64_t Clock::TickCount() {
    Hooks& h = TheHooks();
    {
        std::lock_guard<std::mutex> lock(h.mutex);
        if (h.ticksFixed) return h.fixedTicks;
    }
    return RealTicks();
}

void Clock::Sleep(uint32_t ms) {
    Hooks& h = TheHooks();
    {
        std::lock_guard<std::mutex> lock(h.mutex);
        if (h.instantSleep) {
            if (!h.ticksFixed) {
                h.ticksFixed = true;
                h.fixedTicks = RealTicks();
            }
            h.fixedTicks += ms;
            return;
        }
    }
    timespec req{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&req, &req) != 0) {
    }
}

bool Clock::ToLocal(time_t t, LocalTime& out) {
    tm fields{};
    if (localtime_r(&t, &fields) == nullptr) return false;
    FieldsFromTm(fields, out);
    out.millisecond = 0;
    return true;
}

bool Clock::FromLocal(const LocalTime& fields, time_t& out) {
    // Normalise out-of-range fields on the zone-free calendar first.
    tm wall{};
    wall.tm_year = fields.year - 1900;
    wall.tm_mon = fields.month - 1;
    wall.tm_mday = fields.day;
    wall.tm_hour = fields.hour;
    wall.tm_min = fields.minute;
    wall.tm_sec = fields.second;
    time_t flat = timegm(&wall);
    if (flat == static_cast<time_t>(-1) && wall.tm_year != 69) return false;
    if (gmtime_r(&flat, &wall) == nullptr) return false;

    time_t asStd = 0, asDst = 0;
    bool stdOk = TryMktime(wall, 0, asStd);
    bool dstOk = TryMktime(wall, 1, asDst);
    if (stdOk && dstOk) {
        // The repeated hour: the hint decides, else the earlier instant.
        if (fields.isDst == 0) out = asStd;
        else if (fields.isDst > 0) out = asDst;
        else out = asStd < asDst ? asStd : asDst;
        return true;
    }
    if (stdOk) { out = asStd; return true; }
    if (dstOk) { out = asDst; return true; }
    // A wall time that does not exist: read it with the offset in force before the gap.
    tm t = wall;
    t.tm_isdst = -1;
    time_t guess = mktime(&t);
    if (guess == static_cast<time_t>(-1)) return false;
    tm before{};
    time_t probe = guess - 3 * 3600;
    if (localtime_r(&probe, &before) == nullptr) return false;
    out = flat - before.tm_gmtoff;
    return true;
}

namespace {
std::atomic<unsigned> g_timeZoneGeneration{0};
}  // namespace

void Clock::ResetTimeZone()
{
    tzset();
    ++g_timeZoneGeneration;
}

unsigned Clock::TimeZoneGeneration() { return g_timeZoneGeneration.load(); }

void Clock::SetFixedTime(time_t t, int milliseconds) {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.timeFixed = true;
    h.fixedTime = t;
    h.fixedMs = milliseconds;
}

void Clock::ClearFixedTime() {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.timeFixed = false;
}

void Clock::SetFixedTicks(uint64_t ms) {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.ticksFixed = true;
    h.fixedTicks = ms;
}

void Clock::AdvanceTicks(uint64_t ms) {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    if (!h.ticksFixed) {
        h.ticksFixed = true;
        h.fixedTicks = RealTicks();
    }
    h.fixedTicks += ms;
}

void Clock::ClearFixedTicks() {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.ticksFixed = false;
}

void Clock::SetInstantSleep(bool on) {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.instantSleep = on;
}

void Clock::ResetTestHooks() {
    Hooks& h = TheHooks();
    std::lock_guard<std::mutex> lock(h.mutex);
    h.timeFixed = false;
    h.ticksFixed = false;
    h.instantSleep = false;
}

}  // namespace host
