// The schedule item dialogs and the schedule cell dialog on the studio fixture, through the
// database's add and edit and a reopened file.

#include "tests/studio/StudioFixture.h"

#include "dialogs/DatabaseDialogs.h"
#include "dialogs/DialogScheduleCell.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ListBox.h"

namespace {

using ui::test::Click;
using ui::test::SelectItem;
using ui::test::SetText;

constexpr int kTeacher = 1159;  // <None>, Teach, Lead, Boss
constexpr int kStudent = 1064;  // <None>, Student
constexpr int kEndDate = 1011;
constexpr int kViewDates = 1436;

class ScheduleDialogsTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildStudio();
        Reopen();
        Use();
    }
    void Use()
    {
        db_->SetUi(&dialogs_);
        db_->SetUserAccessLevel(10);
    }
    static void Script(std::function<void(ui::Dialog&)> script)
    {
        ui::test::GetHooks().dialogScripts.push_back(std::move(script));
    }
    static void Answer(std::initializer_list<int> answers) { dqtest::QueueAnswers(answers); }
    static std::vector<std::string>& BoxTexts() { return ui::test::GetHooks().messageBoxTexts; }
    // Adds a schedule item from a hint as the cell dialog does; the add's result.
    int AddFromHint(char kind, DATE when, int32_t teacher = -1)
    {
        stDataToken hint;
        hint.type = kind;
        hint.date = when;
        hint.index1 = teacher;
        return db_->AddTableItem(TABLE_SCHEDULE, LOC_NONE, nullptr, 1, LOC_NONE,
                                 &hint);
    }
    const CScheduleRecord* FindSchedule(const std::string& text) const
    {
        for (const stIndex& e : *db_->GetItemList(TABLE_SCHEDULE)) {
            const auto* r = static_cast<const CScheduleRecord*>(e.pItem);
            if (r->m_sText == text) return r;
        }
        return nullptr;
    }
    static std::vector<std::string> Lines(ui::Dialog& d, int id)
    {
        std::vector<std::string> lines;
        ui::ListBox* list = d.List(id);
        for (int i = 0; list && i < list->GetCount(); ++i) lines.push_back(list->GetText(i));
        return lines;
    }

    CDatabaseDialogs dialogs_;
};

// ---- Schedule editors ----

TEST_F(ScheduleDialogsTest, ScheduledPurchaseWithoutQualifyingItemCloses)
{
    Get<CPriceListItem>(TABLE_PRICELIST, codes_.practice)->m_nNumber = 2;
    const size_t before = db_->GetItemList(TABLE_SCHEDULE)->size();
    Answer({IDOK});
    EXPECT_EQ(AddFromHint('S', D(2026, 3, 9, 18, 0)), 2);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              "No price list items suitable for scheduled purchase have been specified."}));
    EXPECT_EQ(db_->GetItemList(TABLE_SCHEDULE)->size(), before);
}

TEST_F(ScheduleDialogsTest, ScheduledPurchaseTeacherQuestionNoTakesTheItemsTeacher)
{
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Scheduled purchase");
        EXPECT_FALSE(d.GetDlgItem(kEndDate)->IsWindowEnabled());  // one time
        SelectItem(d, 1160, 0);                                   // the item's teacher and room
        EXPECT_EQ(d.Combo(kTeacher)->GetCurSel(), 1);
        Click(d, 1000);                                           // no student yet
        EXPECT_FALSE(d.HasEnded());
        SelectItem(d, kTeacher, 2);
        SelectItem(d, kStudent, 1);
        Click(d, 1000);
    });
    Answer({IDOK, IDNO});
    EXPECT_EQ(AddFromHint('S', D(2026, 3, 9, 18, 0), static_cast<int32_t>(codes_.bob)), 1);
    ASSERT_EQ(BoxTexts().size(), 2u);
    EXPECT_EQ(BoxTexts()[0], "Please select student.");
    EXPECT_EQ(BoxTexts()[1].rfind("Price list item teacher is ", 0), 0u) << BoxTexts()[1];
    Reopen();
    const CScheduleRecord* r = FindSchedule("Practice party");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->m_cKind, 'S');
    EXPECT_EQ(r->m_nTeacher, codes_.ann);
    EXPECT_EQ(r->m_nStudent, codes_.carl);
    EXPECT_EQ(r->m_nRoom, codes_.roomA);
    EXPECT_EQ(r->m_nPriceListCode, codes_.practice);
    EXPECT_EQ(r->m_dFirstDate, D(2026, 3, 9, 18, 0));
}

TEST_F(ScheduleDialogsTest, ScheduleEventTypeRuleDescriptionAndConflict)
{
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Schedule event");
        EXPECT_FALSE(d.GetDlgItem(kEndDate)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(kViewDates)->IsWindowVisible());
        Click(d, 1154);  // weekly
        EXPECT_TRUE(d.GetDlgItem(kEndDate)->IsWindowEnabled());
        EXPECT_TRUE(d.GetDlgItem(kViewDates)->IsWindowVisible());
        Click(d, 1151);  // back to one time
        EXPECT_FALSE(d.GetDlgItem(kEndDate)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(kViewDates)->IsWindowVisible());
        Click(d, 1000);  // no description
        EXPECT_FALSE(d.HasEnded());
        SetText(d, 1077, "Waltz class");
        Click(d, 1000);
    });
    Answer({IDOK});
    EXPECT_EQ(AddFromHint('N', D(2026, 3, 10, 18, 0)), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Please enter description."}));

    // Ann teaches at 10:30 on Tuesday: the conflict refused keeps the dialog open.
    BoxTexts().clear();
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.Combo(kTeacher)->GetCurSel(), 1);
        SetText(d, 1077, "Clash");
        Click(d, 1000);
        EXPECT_FALSE(d.HasEnded());
        Click(d, ui::IDCANCEL);
    });
    Answer({IDNO});
    EXPECT_EQ(AddFromHint('N', D(2026, 3, 3, 10, 30), static_cast<int32_t>(codes_.ann)), 2);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0].rfind("Apparent conflict for ", 0), 0u) << BoxTexts()[0];

    Reopen();
    const CScheduleRecord* waltz = FindSchedule("Waltz class");
    ASSERT_NE(waltz, nullptr);
    EXPECT_EQ(waltz->m_dFirstDate, D(2026, 3, 10, 18, 0));
    EXPECT_EQ(waltz->m_cRepeat, 'O');
    EXPECT_EQ(FindSchedule("Clash"), nullptr);
}

TEST_F(ScheduleDialogsTest, ScheduleEventStampsOnChangeOnly)
{
    const DATE stamp = Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.party)->m_dStamp2Date;
    FixClock(2026, 3, 5, 9, 15);
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1077), "Studio party");
        Click(d, 1000);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_SCHEDULE, codes_.party, nullptr), 1);
    EXPECT_EQ(Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.party)->m_dStamp2Date, stamp);
    Script([](ui::Dialog& d) {
        SetText(d, 1077, "Spring party");
        Click(d, 1000);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_SCHEDULE, codes_.party, nullptr), 1);
    Reopen();
    const CScheduleRecord* party = Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.party);
    EXPECT_EQ(party->m_sText, "Spring party");
    EXPECT_EQ(party->m_dStamp2Date, D(2026, 3, 5, 9, 15));
    EXPECT_EQ(party->m_cStamp2User, GetStampUserCode());
}

// ---- Schedule cell ----

class ScheduleCellTest : public ScheduleDialogsTest {
protected:
    void SetUp() override
    {
        ScheduleDialogsTest::SetUp();
        db_->m_Parameters.SetInt(param::kMinutesPerIncrement, 30);
        db_->m_Parameters.SetInt(param::kIncrements, 28);
        Build();
    }
    void Build()
    {
        db_->MakeScheduleGrid(-1, D(2026, 3, 1), D(2026, 3, 8), cells_, days_, times_, entries_, 0xC0C0C0,
                              0xDCDCDC, 0);
        row_ = column_ = -1;
        for (size_t i = 0; i < days_.size(); ++i)
            if (IsSameDay(days_[i], D(2026, 3, 3))) column_ = static_cast<int>(i);
        for (size_t i = 0; i < times_.size(); ++i) {
            DateFields f{};
            if (DateToFields(times_[i], f) && f.hour == 10 && f.minute == 30) row_ = static_cast<int>(i);
        }
        ASSERT_GE(row_, 0);
        ASSERT_GE(column_, 0);
    }
    std::unique_ptr<CDialogScheduleCell> Make()
    {
        auto dialog = std::make_unique<CDialogScheduleCell>(db_.get(), entries_, cells_, days_, times_);
        dialog->m_nRow = row_;
        dialog->m_nColumn = column_;
        dialog->m_nPerson = -1;
        dialog->m_dStart = D(2026, 3, 1);
        dialog->m_dEnd = D(2026, 3, 8);
        return dialog;
    }
    int CountLessonsAt(DATE when) const
    {
        int n = 0;
        const auto* purchase = Get<CPurchaseRecord>(TABLE_PURCHASE, codes_.purchase);
        for (const auto& token : purchase->m_Items[0]->m_Tokens)
            if (token->m_cState == 'S' && token->m_dDate == when) ++n;
        return n;
    }

    CTextArray2D cells_;
    std::vector<DATE> days_;
    std::vector<DATE> times_;
    std::vector<stDataToken> entries_;
    int row_ = -1;
    int column_ = -1;
};

TEST_F(ScheduleCellTest, ListsRescheduleCancelledAndALessonGivenTheCell)
{
    auto dialog = Make();
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Scheduled items for Tuesday March 03, 2026, 10:30AM");
        EXPECT_EQ(Lines(d, 1210).size(), 1u);
        // The unscheduled private lessons (one line for the five) and the unscheduled payment.
        EXPECT_EQ(Lines(d, 1338).size(), 2u);
        for (const std::string& line : Lines(d, 1338))
            EXPECT_NE(line.find(" associated with purchase "), std::string::npos) << line;
        for (int id : {1017, 1014, 1439, 1117}) EXPECT_FALSE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
        SelectItem(d, 1210, 0);
        for (int id : {1017, 1014, 1439}) EXPECT_TRUE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
        Click(d, 1439);  // the date prompt is cancelled: nothing changes
        EXPECT_EQ(Lines(d, 1210).size(), 1u);
        SelectItem(d, 1338, 0);
        EXPECT_TRUE(d.GetDlgItem(1117)->IsWindowEnabled());
        Click(d, 1117);
        EXPECT_EQ(Lines(d, 1210).size(), 2u);
        EXPECT_EQ(Lines(d, 1338).size(), 2u);  // four lessons left
        Click(d, 1439);  // no line selected after the rebuild
        Click(d, ui::IDOK);
    });
    Script([](ui::Dialog& d) { Click(d, ui::IDCANCEL); });
    Answer({IDOK});
    EXPECT_EQ(dialog->DoModal(), ui::IDOK);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"No item selected"}));
    EXPECT_EQ(CountLessonsAt(D(2026, 3, 3, 10, 30)), 2);
    Reopen();
    EXPECT_EQ(CountLessonsAt(D(2026, 3, 3, 10, 30)), 2);
}

TEST_F(ScheduleCellTest, CancelTakesTheLessonOutOfTheCell)
{
    auto dialog = Make();
    Script([&](ui::Dialog& d) {
        ASSERT_EQ(Lines(d, 1210).size(), 1u);
        SelectItem(d, 1210, 0);
        Click(d, 1014);
        EXPECT_TRUE(Lines(d, 1210).empty());
        Click(d, ui::IDOK);
    });
    EXPECT_EQ(dialog->DoModal(), ui::IDOK);
    EXPECT_EQ(CountLessonsAt(D(2026, 3, 3, 10, 30)), 0);
    Reopen();
    EXPECT_EQ(CountLessonsAt(D(2026, 3, 3, 10, 30)), 0);
}

TEST_F(ScheduleCellTest, AddNewItemClosesAndAddsAtTheCell)
{
    for (bool keep : {false, true}) {
        auto dialog = Make();
        Script([](ui::Dialog& d) { Click(d, 1425); });
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Schedule event");
            if (!keep) {
                Click(d, ui::IDCANCEL);
                return;
            }
            SetText(d, 1077, "Cell class");
            Click(d, 1000);
        });
        EXPECT_EQ(dialog->DoModal(), ui::IDOK);
        EXPECT_EQ(FindSchedule("Cell class") != nullptr, keep);
    }
    Reopen();
    const CScheduleRecord* added = FindSchedule("Cell class");
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->m_dFirstDate, D(2026, 3, 3, 10, 30));
    EXPECT_EQ(added->m_cKind, 'N');
}

}  // namespace
