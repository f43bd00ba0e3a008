// The teacher grid window on the studio fixture (today Wednesday 4 March 2026; Ann teaches on
// Tuesday 3 March at 10:30, Bob on Thursday 5 March at 10:30, Ann's Monday 10:00 lesson is
// unscheduled): columns of active teachers, slot rows and lesson rows, the click menu.

#include "tests/views/GridWindowFixture.h"

#include <algorithm>

#include "dialogs/DialogMenu.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/View.h"
#include "views/TeacherGrid.h"

namespace {

class TeacherGridTest : public GridWindowTest<CTeacherGrid> {
protected:
    CTeacherGrid& Open()
    {
        grid_ = new CTeacherGrid(main_.get(), db_.get());
        grid_->MoveWindow({0, 0, 1400, 1000});
        return *grid_;
    }
    std::vector<std::string> Column(int column) const
    {
        std::vector<std::string> out;
        for (int r = 0; r < grid_->m_Cells.GetRows(); ++r) out.push_back(grid_->m_Cells.GetText(r, column));
        return out;
    }
    int RowOf(const std::string& time) const
    {
        const std::vector<std::string> times = Column(0);
        const auto at = std::find(times.begin(), times.end(), time);
        return at == times.end() ? -1 : static_cast<int>(at - times.begin());
    }
    int ColumnOf(uint32_t teacher) const
    {
        for (size_t t = 0; t < grid_->m_aTeachers.size(); ++t)
            if (grid_->m_aTeachers[t].pPerson->m_nCode == teacher) return static_cast<int>(t) + 1;
        return -1;
    }
    CScheduleToken& AnnsTuesdayLesson()
    {
        return *Purchase(codes_.purchase)->m_Items[0]->m_Tokens[1];
    }
};

TEST_F(TeacherGridTest, ActiveTeachersBySlotAndLessonTimesDayByDay)
{
    CTeacherGrid& grid = Open();
    EXPECT_EQ(grid.GetWindowText(), "Teacher schedule");
    EXPECT_EQ(db_->m_pTeacherGrid, &grid);
    EXPECT_EQ(grid.m_strTitle, "Wednesday March 04, 2026");
    EXPECT_EQ(grid.m_Cells.GetText(0, 0), "Time/Teacher");
    EXPECT_EQ(grid.m_aTeachers.size(), 3u) << "Ann, Bob and Sue";
    // Fourteen hourly slots from 08:00 and no lesson today.
    EXPECT_EQ(grid.m_aTimes.size(), 14u);

    grid.SendCommand(30078);
    EXPECT_EQ(grid.m_strTitle, "Tuesday March 03, 2026");
    const int at = RowOf("10:30AM");
    ASSERT_GT(at, 0) << "a lesson between slots gets its own row";
    EXPECT_EQ(RowOf("10:00AM") + 1, at);
    EXPECT_NE(grid.m_Cells.GetText(at, ColumnOf(codes_.ann)), "");
    EXPECT_EQ(grid.m_Cells.GetText(at, ColumnOf(codes_.bob)), "");

    // Monday: Ann's unscheduled lesson at 10:00 shows nowhere.
    grid.SendCommand(30078);
    EXPECT_EQ(grid.m_aTimes.size(), 14u);
    EXPECT_EQ(grid.m_Cells.GetText(RowOf("10:00AM"), ColumnOf(codes_.ann)), "");

    grid.SendCommand(32850);
    EXPECT_EQ(grid.m_dStart, D(2026, 3, 4));
    grid.SendCommand(30077);
    EXPECT_EQ(grid.m_dStart, D(2026, 3, 5));
    EXPECT_NE(grid.m_Cells.GetText(RowOf("10:30AM"), ColumnOf(codes_.bob)), "");

    // An inactive employee has no column.
    Person(codes_.sue)->m_cStatus = 'I';
    grid.SendCommand(32850);
    EXPECT_EQ(grid.m_aTeachers.size(), 2u);
    EXPECT_EQ(ColumnOf(codes_.sue), -1);
}

TEST_F(TeacherGridTest, ALessonAt1007BetweenQuarterHourSlotsHasItsOwnRow)
{
    db_->m_Parameters.SetInt(param::kStartHour, 9);
    db_->m_Parameters.SetInt(param::kStartMinute, 0);
    db_->m_Parameters.SetInt(param::kIncrements, 8);
    db_->m_Parameters.SetInt(param::kMinutesPerIncrement, 15);
    AnnsTuesdayLesson().m_dDate = D(2026, 3, 3, 10, 7);
    CTeacherGrid& grid = Open();
    grid.SendCommand(30078);
    const std::vector<std::string> times = Column(0);
    EXPECT_EQ(times, (std::vector<std::string>{"Time/Teacher", "09:00AM", "09:15AM", "09:30AM", "09:45AM", "10:00AM",
                                               "10:07AM", "10:15AM", "10:30AM", "10:45AM"}));
    EXPECT_NE(grid.m_Cells.GetText(6, ColumnOf(codes_.ann)), "");
}

TEST_F(TeacherGridTest, ACellClickOffersToAddAndToEditItsLessons)
{
    CTeacherGrid& grid = Open();
    grid.SendCommand(30078);
    ui::test::RecordPaint(grid.GridView());
    const int row = RowOf("10:30AM") - 1;  // over the time rows
    const int column = ColumnOf(codes_.ann) - 1;
    const int x = static_cast<int>(grid.m_aColumnEdges[column + 1] + grid.m_aColumnEdges[column + 2]) / 2;
    const int y = static_cast<int>(grid.m_aRowEdges[row + 1]) + 3;

    std::vector<std::string> offered;
    auto capture = [&offered](ui::Dialog& d) {
        offered = dynamic_cast<CDialogMenu&>(d).m_aTexts;
        d.EndDialog(-1);
    };
    // Without an entry editor only the additions are offered.
    ui::test::GetHooks().dialogScripts.push_back(capture);
    ui::test::ClickAt(grid.GridView(), x, y);
    EXPECT_EQ(offered, (std::vector<std::string>{"Add schedulable non-pricelist event",
                                                 "Add schedulable pricelist event (e.g. standing lesson)"}));

    std::vector<char> edited;
    db_->m_fnEditScheduleEntry = [&edited](const stDataToken& e) {
        edited.push_back(e.type);
        return 1;
    };
    ui::test::GetHooks().dialogScripts.push_back([&offered](ui::Dialog& d) {
        offered = dynamic_cast<CDialogMenu&>(d).m_aTexts;
        dynamic_cast<CDialogMenu&>(d).GetShownList()->SetCurSel(2);
        ui::test::Click(d, ui::IDOK);
    });
    ui::test::ClickAt(grid.GridView(), x, y);
    ASSERT_EQ(offered.size(), 3u);
    EXPECT_EQ(offered[2].rfind("Edit: ", 0), 0u);
    EXPECT_EQ(edited, std::vector<char>{'T'});
}

// The day's entries are gathered once and dealt out: each teacher gets the lessons a gathering
// for that teacher alone gives, in its order.
TEST_F(TeacherGridTest, EachTeacherHasTheLessonsOfItsOwnGathering)
{
    CTeacherGrid& grid = Open();
    for (int day = 0; day < 4; ++day) {
        grid.SendCommand(day == 0 ? 30078 : 30077);  // Tuesday to Friday
        for (const stTeacherIndex& t : grid.m_aTeachers) {
            std::vector<stDataToken> own;
            db_->GetAllScheduleItems(static_cast<int32_t>(t.pPerson->m_nCode), own, 1, grid.m_dStart, grid.m_dEnd, 1);
            std::erase_if(own, [](const stDataToken& e) { return e.type != 'T'; });
            EXPECT_EQ(Describe(t.entries), Describe(own)) << t.pPerson->m_sFirstName << " " << day;
        }
    }
}

// A "|" in an entry's text would split it over two lines of its cell and make the line clicked
// name another entry: it shows as a blank.
TEST_F(TeacherGridTest, ABarInAnEntryShowsAsABlank)
{
    Get<CCategory>(TABLE_CATEGORY, codes_.privateType)->m_sName = "PRIVATE|lesson";
    CTeacherGrid& grid = Open();
    grid.SendCommand(30078);
    const std::string cell = grid.m_Cells.GetText(RowOf("10:30AM"), ColumnOf(codes_.ann));
    EXPECT_NE(cell.find(" lesson"), std::string::npos) << cell;
    EXPECT_EQ(cell.find('|'), std::string::npos) << "one entry, one line";
}

}  // namespace
