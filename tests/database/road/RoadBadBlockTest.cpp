// Loading a database with a damaged record block: the "Problems found in data" question and each
// way the user may answer it, then the backup question of the repair that follows.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "dialogs/DatabaseDialogs.h"
#include "database/DataHeader.h"
#include "database/Database.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"
#include "database/UserRegData.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"

namespace {

const char* const kProblemsTail =
    "You have the option of making just enough repairs to allow DORVALQUINTEX to continue to load the "
    "database.\r\nIf you continue, you will probably have to do further repairs to the database to make it "
    "usable\r\n(see main menu 'Miscellaneous/Integrity tests' for test and repair options) and the repairs "
    "may cause\r\nthe loss of some of your data. Your alternative is to abort loading the database and "
    "attempt to repair\r\nit without opening it (see menu item 'Miscellaneous/Diagnostic and repair "
    "functions/Analyze and repair DB')\r\nor restore from a backup file. Click on help for more "
    "information.\r\n\r\nDo you want to abort loading the database?";
const char* const kBackupQuestion =
    "You have the option of making a backup file before attempting to make the repair.\nThis is not "
    "necessary if you just restored  from a backup file, since that backup file still exists.\nDo you "
    "want to make a backup file?";

const char* const kSequenceQuestion =
    "Errors found in data sequencing, and repairs were made.\nDo you want to see full report?";

using dqtest::UserEntry;

std::string ReadAll(const std::string& path) { return dqtest::ReadBytes(path); }

class RoadBadBlockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dqtest::StartScriptedUi();
        SetDefaultDatabaseUi(&CDatabaseDialogs::Instance());
        folder_ = dqtest::MakeTempFolder("dq_badblock_");
        ASSERT_FALSE(folder_.empty());
        name_ = folder_ + "/studio";
        std::ofstream(name_ + ".rgs", std::ios::binary) << UserEntry("boss", "secret", 1, 9);
        MakeDamagedFixture();
    }
    void TearDown() override
    {
        db_.reset();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        ui::test::ResetHooks();
    }
    static void ScriptPassword()
    {
        ui::test::GetHooks().dialogScripts.push_front([](ui::Dialog& d) {
            ui::test::SetText(d, 1005, "secret");
            ui::test::Click(d, ui::IDOK);
        });
    }
    // The program's own Yes/No box: Yes is its first button, No its second.
    void AnswerProblems(bool yes)
    {
        ui::test::GetHooks().dialogScripts.push_back([this, yes](ui::Dialog& d) {
            problemsTitle_ = d.GetWindowText();
            problemsShown_ = true;
            ui::test::Click(d, yes ? ui::IDOK : ui::IDCANCEL);
        });
    }
    bool Open()
    {
        db_ = std::make_unique<CDatabase>();
        db_->m_bNetworkDisabled = true;
        ScriptPassword();
        return db_->OpenDatabase(name_, 0);
    }
    // Two persons; the block of the second has its record bytes overwritten.
    void MakeDamagedFixture()
    {
        ASSERT_TRUE(Open());
        kept_ = AddPerson("Smith", "Ann");
        damaged_ = AddPerson("Jones", "Bob");
        for (const stIndex& e : *db_->GetItemList(TABLE_PERSON))
            if (e.nCode == damaged_) damagedLoc_ = e.nFileLoc;
        db_->CloseDatabase();
        db_.reset();
        ASSERT_NE(damagedLoc_, LOC_NONE);
        std::fstream f(name_ + ".dbs", std::ios::in | std::ios::out | std::ios::binary);
        uint8_t raw[DB_HEADER_LEN];
        f.seekg(damagedLoc_);
        f.read(reinterpret_cast<char*>(raw), DB_HEADER_LEN);
        stDataHeader h;
        h.Unpack(raw);
        ASSERT_EQ(h.nTable, TABLE_PERSON);
        f.seekp(damagedLoc_ + DB_HEADER_LEN);
        f.write(std::string(h.nDataLen, '\xFF').data(), h.nDataLen);
        f.close();
        ui::test::GetHooks().messageBoxTexts.clear();
        ui::test::GetHooks().dialogsRun.clear();
        original_ = ReadAll(name_ + ".dbs");
    }
    uint32_t AddPerson(const std::string& last, const std::string& first)
    {
        CPerson p('C');
        p.m_sLastName = last;
        p.m_sFirstName = first;
        EXPECT_EQ(db_->AddTableItem(TABLE_PERSON, LOC_NONE, &p, 0, 0, nullptr), 1);
        return p.m_nCode;
    }
    char StatusAt(uint32_t loc)
    {
        const std::string bytes = ReadAll(name_ + ".dbs");
        stDataHeader h;
        h.Unpack(reinterpret_cast<const uint8_t*>(bytes.data()) + loc);
        return h.cStatus;
    }
    void ExpectNoFailures()
    {
        for (const std::string& f : ui::test::GetHooks().failures) ADD_FAILURE() << f;
        EXPECT_TRUE(ui::test::GetHooks().messageBoxAnswers.empty());
        EXPECT_TRUE(ui::test::GetHooks().dialogScripts.empty());
    }
    const std::vector<std::string>& Boxes() { return ui::test::GetHooks().messageBoxTexts; }

    std::string folder_, name_, original_;
    std::unique_ptr<CDatabase> db_;
    uint32_t kept_ = 0, damaged_ = 0, damagedLoc_ = LOC_NONE;
    bool problemsShown_ = false;
    std::string problemsTitle_;
};

TEST_F(RoadBadBlockTest, AbortLeavesTheFileAsItWas)
{
    AnswerProblems(true);
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    EXPECT_FALSE(Open());
    EXPECT_TRUE(problemsShown_);
    EXPECT_EQ(problemsTitle_, "Problems found in data");
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Database file could not be opened.\n"});
    EXPECT_FALSE(db_->IsDatabaseOpen());
    EXPECT_TRUE(ReadAll(name_ + ".dbs") == original_);
    ExpectNoFailures();
}

TEST_F(RoadBadBlockTest, QuestionNamesTheDamage)
{
    std::string message;
    ui::test::GetHooks().dialogScripts.push_back([&](ui::Dialog& d) {
        message = d.GetDlgItemText(2082);
        ui::test::Click(d, ui::IDOK);
    });
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    EXPECT_FALSE(Open());
    const std::string prefix = "1 corrupted records in " + db_->GetTableName(TABLE_PERSON) + "\r\nUnable to load 1 out of ";
    EXPECT_EQ(message.compare(0, prefix.size(), prefix), 0) << message;
    const std::string tail = kProblemsTail;
    ASSERT_GE(message.size(), tail.size());
    EXPECT_EQ(message.substr(message.size() - tail.size()), tail) << message;
    ExpectNoFailures();
}

TEST_F(RoadBadBlockTest, ContinueWithoutBackupMarksTheBlockDeleted)
{
    AnswerProblems(false);
    ui::test::GetHooks().messageBoxAnswers = {ui::IDNO, ui::IDNO};
    ASSERT_TRUE(Open());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{kBackupQuestion, kSequenceQuestion}));
    EXPECT_NE(db_->GetItem(TABLE_PERSON, kept_), nullptr);
    EXPECT_EQ(db_->GetItem(TABLE_PERSON, damaged_), nullptr);
    db_->CloseDatabase();
    EXPECT_EQ(StatusAt(damagedLoc_), DB_STATUS_DELETED);
    EXPECT_FALSE(std::filesystem::exists(name_ + ".BAK"));

    // The next load finds nothing to ask about.
    ui::test::GetHooks().messageBoxTexts.clear();
    problemsShown_ = false;
    ASSERT_TRUE(Open());
    EXPECT_FALSE(problemsShown_);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_NE(db_->GetItem(TABLE_PERSON, kept_), nullptr);
    ExpectNoFailures();
}

TEST_F(RoadBadBlockTest, ContinueWithBackupRewritesAndKeepsTheOriginal)
{
    AnswerProblems(false);
    ui::test::GetHooks().messageBoxAnswers = {ui::IDYES, ui::IDNO, ui::IDOK};
    ASSERT_TRUE(Open());
    // The backup question, the repairs made (the rewrite leaves a gap where the damaged record
    // stood), then where the backup went.
    ASSERT_EQ(Boxes().size(), 3u);
    EXPECT_EQ(Boxes()[0], kBackupQuestion);
    EXPECT_EQ(Boxes()[1], "Errors found in data sequencing, and repairs were made.\nDo you want to see full report?");
    const std::string backupPrefix = "A backup of the original file was made to file ";
    ASSERT_EQ(Boxes()[2].compare(0, backupPrefix.size(), backupPrefix), 0) << Boxes()[2];
    const std::string rest = Boxes()[2].substr(backupPrefix.size());
    const std::string backup = rest.substr(0, rest.find(".\nNow you should run integrity tests."));
    EXPECT_EQ(Boxes()[2].substr(backupPrefix.size() + backup.size()),
              ".\nNow you should run integrity tests. Then you should examine your database closely to see\n"
              "whether all of the data (e.g. lists of studios and persons, dance entries, etc.) look\ncorrect "
              "to you. If not, you should restore from the backup file just made");
    // The backup is the file as it was before the repair, damage included.
    EXPECT_TRUE(ReadAll(backup) == original_);
    EXPECT_NE(db_->GetItem(TABLE_PERSON, kept_), nullptr);
    db_->CloseDatabase();

    ui::test::GetHooks().messageBoxTexts.clear();
    problemsShown_ = false;
    ASSERT_TRUE(Open());
    EXPECT_FALSE(problemsShown_);
    EXPECT_TRUE(Boxes().empty());
    const CPerson* p = static_cast<const CPerson*>(db_->GetItem(TABLE_PERSON, kept_));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_sFirstName, "Ann");
    EXPECT_EQ(db_->GetItemList(TABLE_PERSON)->size(), 1u);
    ExpectNoFailures();
}

}  // namespace
