#pragma once
// A fixture for dialog tests: one offscreen application, scripted message boxes and dialogs, a
// fixed clock; every hook failure fails the test.

#include "platform/host/Clock.h"
#include "tests/support/FixedClock.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"
#include "tests/support/ScriptedUi.h"

#include <gtest/gtest.h>

#include <ctime>
#include <functional>
#include <string>

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override { dqtest::StartScriptedUi(); }
    void TearDown() override
    {
        dqtest::ExpectScriptsUsed();
        ui::test::ResetHooks();
        host::Clock::ResetTestHooks();
    }

    static ui::test::Hooks& Hooks() { return ui::test::GetHooks(); }
    static void Script(std::function<void(ui::Dialog&)> script)
    {
        Hooks().dialogScripts.push_back(std::move(script));
    }
    // Fixes the clock at a local wall time.
    static void FixClock(int year, int month, int day, int hour, int minute)
    {
        dqtest::FixClock(year, month, day, hour, minute);
    }
};
