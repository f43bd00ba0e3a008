#include "platform/host/Clock.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

using host::Clock;
using host::LocalTime;

class ClockTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* tz = std::getenv("TZ");
        hadTz_ = tz != nullptr;
        if (hadTz_) oldTz_ = tz;
        setenv("TZ", "America/New_York", 1);
        Clock::ResetTimeZone();
    }
    void TearDown() override {
        if (hadTz_) setenv("TZ", oldTz_.c_str(), 1);
        else unsetenv("TZ");
        Clock::ResetTimeZone();
        Clock::ResetTestHooks();
    }
    static LocalTime Fields(int y, int mo, int d, int h, int mi, int s, int dst = -1) {
        LocalTime t;
        t.year = y; t.month = mo; t.day = d; t.hour = h; t.minute = mi; t.second = s; t.isDst = dst;
        return t;
    }

private:
    bool hadTz_ = false;
    std::string oldTz_;
};

TEST_F(ClockTest, FixedWallTime) {
    Clock::SetFixedTime(1719849600, 250);  // 2024-07-01 16:00:00.250 UTC
    EXPECT_EQ(Clock::Now(), 1719849600);
    EXPECT_EQ(Clock::NowMilliseconds(), 1719849600250LL);
    LocalTime now = Clock::LocalNow();
    EXPECT_EQ(now.year, 2024);
    EXPECT_EQ(now.month, 7);
    EXPECT_EQ(now.day, 1);
    EXPECT_EQ(now.hour, 12);
    EXPECT_EQ(now.millisecond, 250);
    EXPECT_EQ(now.dayOfWeek, 1);  // Monday
    EXPECT_EQ(now.isDst, 1);
    Clock::ClearFixedTime();
    EXPECT_GT(Clock::Now(), 1719849600);
}

TEST_F(ClockTest, InstantSleepAdvancesFixedTicks) {
    Clock::SetFixedTicks(1000);
    Clock::SetInstantSleep(true);
    Clock::Sleep(4000);
    EXPECT_EQ(Clock::TickCount(), 5000u);
    Clock::Sleep(50);
    Clock::AdvanceTicks(10);
    EXPECT_EQ(Clock::TickCount(), 5060u);
    // Wall time is not moved by the monotonic hooks.
    Clock::SetFixedTime(100);
    Clock::Sleep(60000);
    EXPECT_EQ(Clock::Now(), 100);
}

TEST_F(ClockTest, InstantSleepFixesTheCounterWhenNotFixed) {
    Clock::SetInstantSleep(true);
    uint64_t before = Clock::TickCount();
    Clock::Sleep(3600 * 1000);  // returns at once
    EXPECT_GE(Clock::TickCount(), before + 3600 * 1000);
}

TEST_F(ClockTest, RealTicksAndSleepMoveForward) {
    uint64_t a = Clock::TickCount();
    Clock::Sleep(5);
    EXPECT_GE(Clock::TickCount(), a + 5);
}

TEST_F(ClockTest, LocalToTimeAcrossDaylightSaving) {
    struct Case { const char* what; LocalTime fields; time_t expected; };
    const Case cases[] = {
        {"summer", Fields(2024, 7, 1, 12, 0, 0), 1719849600},
        {"winter", Fields(2024, 1, 15, 7, 0, 0), 1705320000},
        {"gap: 02:30 does not exist, lands at 03:30 EDT", Fields(2024, 3, 10, 2, 30, 0), 1710055800},
        {"repeated hour, no hint: the earlier (EDT)", Fields(2024, 11, 3, 1, 30, 0, -1), 1730611800},
        {"repeated hour, daylight hint", Fields(2024, 11, 3, 1, 30, 0, 1), 1730611800},
        {"repeated hour, standard hint", Fields(2024, 11, 3, 1, 30, 0, 0), 1730615400},
        {"month 13 normalised", Fields(2023, 13, 1, 0, 0, 0), 1704085200},
        {"hour 24 normalised", Fields(2024, 6, 30, 24, 0, 0), 1719806400},
    };
    for (const Case& c : cases) {
        time_t t = 0;
        ASSERT_TRUE(Clock::FromLocal(c.fields, t)) << c.what;
        EXPECT_EQ(t, c.expected) << c.what;
    }
}

TEST_F(ClockTest, TimeToLocalShowsBothRepeatedHours) {
    LocalTime a, b;
    ASSERT_TRUE(Clock::ToLocal(1730611800, a));
    ASSERT_TRUE(Clock::ToLocal(1730615400, b));
    EXPECT_EQ(a.hour, 1);
    EXPECT_EQ(b.hour, 1);
    EXPECT_EQ(a.minute, 30);
    EXPECT_EQ(a.isDst, 1);
    EXPECT_EQ(b.isDst, 0);
    EXPECT_EQ(a.dayOfYear, 307);
}

TEST_F(ClockTest, RoundTripEveryHourOfAYear) {
    for (time_t t = 1704085200; t < 1704085200 + 366 * 86400; t += 3600) {
        LocalTime f;
        ASSERT_TRUE(Clock::ToLocal(t, f));
        time_t back = 0;
        ASSERT_TRUE(Clock::FromLocal(f, back));
        ASSERT_EQ(back, t) << f.year << "-" << f.month << "-" << f.day << " " << f.hour;
    }
}

}  // namespace
