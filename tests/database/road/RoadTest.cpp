// One copy on the database road: open with log-on, add, save, delete with the person cascade,
// the deleted-data report, compaction, the nesting database lock and the date prompts.

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/QuestionBox.h"
#include "records/RecordBuffer.h"
#include "database/Database.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"
#include "database/UserRegData.h"
#include "dialogs/DatabaseDialogs.h"
#include "dialogs/DialogGetPurgeDates.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"
#include "studio/ScheduleConflict.h"

namespace {

using dqtest::UserEntry;

class RoadTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dqtest::StartScriptedUi();
        folder_ = dqtest::MakeTempFolder("dq_road_");
        ASSERT_FALSE(folder_.empty());
        name_ = folder_ + "/studio";
        std::ofstream(name_ + ".rgs", std::ios::binary) << UserEntry("boss", "secret", 1, 9);
    }
    void TearDown() override
    {
        db_.reset();
        SetRefreshHold(nullptr);
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
        ui::test::ResetHooks();
    }
    static void ScriptPassword(const std::string& text)
    {
        ui::test::GetHooks().dialogScripts.push_back([=](ui::Dialog& d) {
            ui::test::SetText(d, 1005, text);
            ui::test::Click(d, ui::IDOK);
        });
    }
    // A fresh object opening the database with a scripted log-on.
    bool Open()
    {
        db_ = std::make_unique<CDatabase>();
        db_->m_bNetworkDisabled = true;
        db_->SetUi(&ui_);
        ScriptPassword("SECRET");
        bool ok = db_->OpenDatabase(name_, 0);
        for (auto& f : ui::test::GetHooks().failures) ADD_FAILURE() << f;
        return ok;
    }
    void Answer(std::initializer_list<int> answers)
    {
        for (int a : answers) ui::test::GetHooks().messageBoxAnswers.push_back(a);
    }
    const std::vector<std::string>& Boxes() { return ui::test::GetHooks().messageBoxTexts; }

    uint32_t AddPerson(const std::string& last, const std::string& first)
    {
        CPerson p('C');
        p.m_sLastName = last;
        p.m_sFirstName = first;
        EXPECT_EQ(db_->AddTableItem(TABLE_PERSON, LOC_NONE, &p, 0, 0, nullptr), 1);
        return p.m_nCode;
    }

    std::string folder_;
    std::string name_;
    std::unique_ptr<CDatabase> db_;
    std::vector<std::string> report_;
    // The program's dialogs; a report's lines are kept for the test.
    class ReportUi : public CDatabaseDialogs {
    public:
        explicit ReportUi(std::vector<std::string>& report) : report_(report) {}
        void ShowReport(const std::string&, const std::vector<std::string>& lines) override { report_ = lines; }

    private:
        std::vector<std::string>& report_;
    } ui_{report_};
};

TEST_F(RoadTest, NewDatabaseKeepsWhatWasSavedAcrossReopening)
{
    ASSERT_TRUE(Open());
    EXPECT_TRUE(db_->IsDatabaseOpen());
    const uint32_t code = AddPerson("Smith", "Ann");
    ASSERT_NE(code, NO_CODE);
    CPerson* stored = static_cast<CPerson*>(db_->GetItem(TABLE_PERSON, code));
    ASSERT_NE(stored, nullptr);
    stored->m_sFirstName = "Anna";
    EXPECT_EQ(db_->SaveModifiedItem(TABLE_PERSON, code, stored), 1);
    db_->CloseDatabase();
    EXPECT_FALSE(db_->IsOpen());

    // A normal close leaves the file marked closed with every lock byte free.
    std::ifstream in(name_ + ".dbs", std::ios::binary);
    std::vector<char> head(1024);
    in.read(head.data(), 1024);
    EXPECT_EQ(head[4], 1);
    for (int i = 256; i < 256 + 13; ++i) EXPECT_EQ(head[i], 0) << i;

    ASSERT_TRUE(Open());
    const CPerson* again = static_cast<const CPerson*>(db_->GetItem(TABLE_PERSON, code));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->m_sFirstName, "Anna");
    EXPECT_EQ(db_->GetFormatCount(), 38u);
    EXPECT_TRUE(ui::test::GetHooks().failures.empty());
}

TEST_F(RoadTest, DeletingAPersonTakesPaymentsAndScheduleItemsAndIsReported)
{
    ASSERT_TRUE(Open());
    const uint32_t person = AddPerson("Smith", "Ann");
    const uint32_t other = AddPerson("Jones", "Bob");
    CPaymentRecord pay;
    pay.m_nPerson = person;
    pay.m_sText = "Lesson fee";
    ASSERT_EQ(db_->AddTableItem(TABLE_PAYMENT, LOC_NONE, &pay, 0, 0, nullptr), 1);
    CScheduleRecord lesson;
    lesson.m_nStudent = person;
    lesson.m_nTeacher = other;
    lesson.m_sText = "Waltz";
    ASSERT_EQ(db_->AddTableItem(TABLE_SCHEDULE, LOC_NONE, &lesson, 0, 0, nullptr), 1);

    // Payment and schedule references, the final question, then one question per dependant.
    Answer({ui::IDYES, ui::IDYES, ui::IDYES, ui::IDYES, ui::IDYES});
    EXPECT_EQ(db_->DeleteTableItem(TABLE_PERSON, person, 1), 1);
    EXPECT_EQ(db_->GetItem(TABLE_PERSON, person), nullptr);
    EXPECT_NE(db_->GetItem(TABLE_PERSON, other), nullptr);
    EXPECT_TRUE(db_->GetItemList(TABLE_PAYMENT)->empty());
    EXPECT_TRUE(db_->GetItemList(TABLE_SCHEDULE)->empty());
    EXPECT_EQ(Boxes(), (std::vector<std::string>{
                           "Person referenced in payment data. Are you sure you want to delete?",
                           "Person referenced in schedule data. Are you sure you want to delete?",
                           "Are you sure you want to delete person and associated data?",
                           "Are you sure you want to delete payment?",
                           "Are you sure you want to delete schedule item?"}));

    db_->DeletedDataReport();
    auto has = [&](const std::string& text) {
        for (const std::string& l : report_)
            if (l == text) return true;
        return false;
    };
    auto startsWith = [&](const std::string& prefix) {
        for (const std::string& l : report_)
            if (l.compare(0, prefix.size(), prefix) == 0) return true;
        return false;
    };
    ASSERT_FALSE(report_.empty());
    EXPECT_EQ(report_[0], "Deleted data report");
    EXPECT_TRUE(has("Persons deleted 1"));
    EXPECT_TRUE(has("\tPersons deleted by boss: 1"));
    EXPECT_TRUE(has("Payments deleted 1"));
    EXPECT_TRUE(has("Schedule deleted 1"));
    EXPECT_TRUE(has("Purchases deleted 0"));
    EXPECT_TRUE(startsWith("Smith, Ann deleted by boss at "));
    EXPECT_TRUE(startsWith("Lesson fee deleted by boss at "));

    // Compaction drops the kept blocks and the data stays.
    EXPECT_EQ(db_->CompactDatabase(name_), 1);
    std::vector<uint32_t> deleted;
    db_->GetDeletedLocsFromFile(deleted, 255);
    EXPECT_TRUE(deleted.empty());
    EXPECT_NE(db_->GetItem(TABLE_PERSON, other), nullptr);
    db_->CloseDatabase();
    ASSERT_TRUE(Open());
    EXPECT_NE(db_->GetItem(TABLE_PERSON, other), nullptr);
    EXPECT_EQ(db_->GetItemList(TABLE_PERSON)->size(), 1u);
}

TEST_F(RoadTest, RefusedDeleteChangesNothing)
{
    ASSERT_TRUE(Open());
    const uint32_t person = AddPerson("Smith", "Ann");
    Answer({ui::IDNO});
    EXPECT_EQ(db_->DeleteTableItem(TABLE_PERSON, person, 1), 2);
    EXPECT_NE(db_->GetItem(TABLE_PERSON, person), nullptr);
    std::vector<uint32_t> deleted;
    db_->GetDeletedLocsFromFile(deleted, 255);
    EXPECT_TRUE(deleted.empty());
}

TEST_F(RoadTest, DatabaseLockNests)
{
    ASSERT_TRUE(Open());
    ASSERT_TRUE(db_->LockDatabaseFor("outer", 0));
    ASSERT_TRUE(db_->LockDatabaseFor("inner", 0));
    EXPECT_EQ(db_->GetDatabaseLockDepth(), 2u);
    db_->UnlockDatabaseAfter();
    EXPECT_EQ(db_->IsDatabaseLocked(3), 1);
    db_->UnlockDatabaseAfter();
    EXPECT_EQ(db_->IsDatabaseLocked(1), 0);
}

TEST_F(RoadTest, ConflictQuestionNamesPersonAndTime)
{
    ASSERT_TRUE(Open());
    const uint32_t person = AddPerson("Smith", "Ann");
    Answer({ui::IDYES, ui::IDNO});
    const DATE when = MakeDate(2026, 3, 3, 14, 5);
    EXPECT_TRUE(ConfirmScheduleConflict(db_.get(), static_cast<int32_t>(person), when));
    EXPECT_FALSE(ConfirmScheduleConflict(db_.get(), static_cast<int32_t>(person), when));
    EXPECT_EQ(Boxes().back(), "Apparent conflict for Ann Smith at Tuesday March 03, 2026, 02:05PM.\nAllow it?");
}

TEST_F(RoadTest, PurgeDatesAreKeptWhenOkIsPressed)
{
    CDialogGetPurgeDates dialog(nullptr);
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) {
        auto& prompt = static_cast<CDialogGetPurgeDates&>(d);
        prompt.m_NoActivities.SetValue(MakeDate(2020, 3, 1, 0, 0));
        prompt.m_WithActivities.SetValue(MakeDate(2021, 4, 2, 0, 0));
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_DOUBLE_EQ(std::floor(dialog.m_dNoActivities), MakeDate(2020, 3, 1, 0, 0));
    EXPECT_DOUBLE_EQ(std::floor(dialog.m_dWithActivities), MakeDate(2021, 4, 2, 0, 0));

    CDialogGetPurgeDates empty(nullptr);
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, 1000); });
    EXPECT_EQ(empty.DoModal(), ui::IDOK);
    EXPECT_EQ(empty.m_dNoActivities, 0.0);
    EXPECT_EQ(empty.m_dWithActivities, 0.0);
}

}  // namespace
