// The database alone, without the program's dialogs: every question it puts goes through a
// scripted IDatabaseUi. This suite links the database library and what lies below it only.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "database/Database.h"
#include "database/DatabaseUi.h"
#include "platform/ui/TestHooks.h"
#include "records/Person.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

// Answers the log-on with the next scripted password and counts what it was asked.
class ScriptedDoor : public IDatabaseUi {
public:
    std::vector<std::string> passwords;
    std::vector<std::string> asked;
    std::vector<uint8_t> refreshed;

    bool AskPassword(const std::string& databaseTitle, std::string& password) override
    {
        asked.push_back(databaseTitle);
        if (passwords.empty()) return false;
        password = passwords.front();
        passwords.erase(passwords.begin());
        return true;
    }
    void TableRefreshed(uint8_t table) override { refreshed.push_back(table); }
};

class DatabaseDoorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dqtest::StartScriptedUi();
        folder_ = dqtest::MakeTempFolder("dq_door_");
        ASSERT_FALSE(folder_.empty());
        name_ = folder_ + "/studio";
        std::ofstream(name_ + ".rgs", std::ios::binary) << dqtest::UserEntry("boss", "secret", 1, 9);
    }
    void TearDown() override
    {
        db_.reset();
        SetRefreshHold(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        ui::test::ResetHooks();
    }
    bool Open(const std::string& password)
    {
        db_ = std::make_unique<CDatabase>();
        db_->m_bNetworkDisabled = true;
        db_->SetUi(&door_);
        door_.passwords = {password};
        return db_->OpenDatabase(name_, 0);
    }

    std::string folder_;
    std::string name_;
    ScriptedDoor door_;
    std::unique_ptr<CDatabase> db_;
};

TEST_F(DatabaseDoorTest, LogsOnThroughTheDoorAndKeepsAPersonAcrossReopening)
{
    ASSERT_TRUE(Open("SECRET"));
    EXPECT_EQ(door_.asked, std::vector<std::string>{"studio"});
    CPerson person('C');
    person.m_sLastName = "Smith";
    person.m_sFirstName = "Ann";
    ASSERT_EQ(db_->AddTableItem(TABLE_PERSON, LOC_NONE, &person, 0, 0, nullptr), 1);
    const uint32_t code = person.m_nCode;
    db_->CloseDatabase();

    ASSERT_TRUE(Open("secret"));  // the password is matched without regard to case
    const CPerson* again = static_cast<const CPerson*>(db_->GetItem(TABLE_PERSON, code));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_sLastName, "Smith");
    EXPECT_EQ(again->m_sFirstName, "Ann");
    EXPECT_TRUE(ui::test::GetHooks().failures.empty());
}

TEST_F(DatabaseDoorTest, CancelledLogOnOpensNothing)
{
    db_ = std::make_unique<CDatabase>();
    db_->m_bNetworkDisabled = true;
    db_->SetUi(&door_);  // no password scripted: the door answers Cancel
    EXPECT_FALSE(db_->OpenDatabase(name_, 0));
    EXPECT_FALSE(db_->IsDatabaseOpen());
    EXPECT_EQ(door_.asked.size(), 1u);
}

TEST_F(DatabaseDoorTest, WithoutAnyDoorNothingIsAskedAndNothingOpens)
{
    db_ = std::make_unique<CDatabase>();
    db_->m_bNetworkDisabled = true;
    EXPECT_FALSE(db_->OpenDatabase(name_, 0));
    EXPECT_EQ(ui::test::GetHooks().dialogsRun, std::vector<int>{});
}

}  // namespace
