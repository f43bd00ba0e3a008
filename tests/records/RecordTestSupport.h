#pragma once
// A fixture that fixes the clock and the logged-on user, so that the stamps of new records are
// known.

#include <gtest/gtest.h>

#include "common/DateTime.h"
#include "records/RecordBuffer.h"
#include "platform/host/Clock.h"

// 10 December 2026 12:00 UTC as the fixed wall time.
constexpr time_t kFixedTime = 1796904000;
constexpr uint8_t kUser = 7;

class RecordTest : public testing::Test {
protected:
    void SetUp() override
    {
        host::Clock::SetFixedTime(kFixedTime);
        SetStampUserCode(kUser);
        kNow = GetNow();
    }
    void TearDown() override
    {
        host::Clock::ResetTestHooks();
        SetStampUserCode(0);
    }

    DATE kNow = 0.0;
};
