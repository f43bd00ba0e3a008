#pragma once
// Fixes the host clock at a local wall time (the test hooks of host::Clock).

#include "platform/host/Clock.h"

#include <ctime>

#include <gtest/gtest.h>

namespace dqtest {

inline void FixClock(int year, int month, int day, int hour, int minute)
{
    host::LocalTime t;
    t.year = year;
    t.month = month;
    t.day = day;
    t.hour = hour;
    t.minute = minute;
    t.isDst = -1;
    time_t when = 0;
    ASSERT_TRUE(host::Clock::FromLocal(t, when));
    host::Clock::SetFixedTime(when);
}

}  // namespace dqtest
