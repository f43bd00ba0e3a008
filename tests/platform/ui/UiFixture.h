#pragma once
// Shared fixture of the window-layer tests: one offscreen application, hooks reset around each
// test, and whatever the hooks found wrong reported as a failure.

#include "platform/ui/Application.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"

#include <gtest/gtest.h>

class UiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::test::EnsureApplication();
        hooks = &ui::test::ResetHooks();
    }
    void TearDown() override
    {
        for (const std::string& f : hooks->failures) ADD_FAILURE() << f;
        ui::test::ResetHooks();
        ui::SetDialogLifeHook(nullptr);
        ui::Application::PumpMessages();
    }

    ui::test::Hooks* hooks = nullptr;
};
