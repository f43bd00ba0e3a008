#pragma once
// A temporary folder per test, the application object for wait boxes, scripted message boxes
// (every box a test does not expect fails it) and user 1 logged on.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/QuestionBox.h"
#include "records/RecordBuffer.h"
#include "platform/ui/TestHooks.h"

class DbTestBase : public ::testing::Test {
protected:
    void SetUp() override {
        ui::test::EnsureApplication();
        ui::test::Hooks& hooks = ui::test::ResetHooks();
        hooks.scriptMessageBoxes = true;
        char pattern[] = "/tmp/dq_dbfile_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        SetStampUserCode(1);
    }
    void TearDown() override {
        EXPECT_TRUE(ui::test::GetHooks().failures.empty())
            << "unexpected: " << (ui::test::GetHooks().failures.empty() ? "" : ui::test::GetHooks().failures[0]);
        ui::test::ResetHooks();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }
    // Answers the next message boxes with these buttons.
    static void ExpectBoxes(std::initializer_list<int> answers) {
        for (int a : answers) ui::test::GetHooks().messageBoxAnswers.push_back(a);
    }
    static const std::vector<std::string>& BoxTexts() { return ui::test::GetHooks().messageBoxTexts; }

    std::string folder_;
};
