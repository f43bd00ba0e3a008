#include "ScriptedUi.h"

#include <gtest/gtest.h>

#include "database/UserRegData.h"

namespace dqtest {

std::string UserEntry(const std::string& id, const std::string& password, uint8_t code,
                      uint8_t level)
{
    stUserRegData e;
    e.SetUserID(id);
    e.SetPassword(password);
    e.nUserCode = code;
    e.nAccessLevel = level;
    uint8_t raw[USER_REG_SIZE];
    e.Pack(raw);
    return std::string(reinterpret_cast<char*>(raw), USER_REG_SIZE);
}

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
