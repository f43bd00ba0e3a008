#include "ScriptedUi.h"

#include <gtest/gtest.h>

namespace dqtest {

ui::test::Hooks& StartScriptedUi()
{
    ui::test::EnsureApplication();
    ui::test::Hooks& h = ui::test::ResetHooks();
    h.scriptMessageBoxes = true;
    h.driveDialogs = true;
    return h;
}

void ExpectScriptsUsed()
{
    ui::test::Hooks& h = ui::test::GetHooks();
    EXPECT_TRUE(h.failures.empty()) << h.failures.front();
    EXPECT_TRUE(h.messageBoxAnswers.empty()) << "unused answers";
    EXPECT_TRUE(h.dialogScripts.empty()) << "unused dialog scripts";
}

void QueueAnswers(std::initializer_list<int> answers)
{
    for (int a : answers)
        ui::test::GetHooks().messageBoxAnswers.push_back(a);
}

void DiskChangeSpy::DisableRefreshOn(const std::string& label)
{
    if (label.find(needle_) == std::string::npos || folders_.empty())
        return;
    const std::string folder = folders_.front();
    folders_.pop_front();
    insert_(folder);
}

}  // namespace dqtest
