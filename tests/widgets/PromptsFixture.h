#pragma once
// Offscreen application, scripted message boxes, and an empty window list for each test.

#include "widgets/WindowList.h"
#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"

#include <gtest/gtest.h>

class PromptsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::test::EnsureApplication();
        hooks = &ui::test::ResetHooks();
        hooks->scriptMessageBoxes = true;
        WndList().clear();
    }
    void TearDown() override
    {
        for (const std::string& f : hooks->failures) ADD_FAILURE() << f;
        ui::test::ResetHooks();
        WndList().clear();
        ui::Application::PumpMessages();
    }

    ui::test::Hooks* hooks = nullptr;
};
