// The teacher activity grid on the studio fixture (week of Sunday 1 to Saturday 7 March 2026):
// Ann held Carl's first interview on 2 March, which sold the purchase of ten 45-minute privates
// she teaches (one taken that day; 480.00 less its 10% discount); the grid holds off the refresh while its window is up.

#include "tests/views/GridWindowFixture.h"

#include "platform/host/Format.h"
#include "views/TeacherActivityGrid.h"

namespace {

class TeacherActivityGridTest : public GridWindowTest<CTeacherActivityGrid> {
protected:
    CTeacherActivityGrid& Open(char mode)
    {
        grid_ = new CTeacherActivityGrid(main_.get(), db_.get(), mode);
        return *grid_;
    }
    int ColumnOf(const std::string& header) const
    {
        for (int c = 0; c < grid_->m_Cells.GetColumns(); ++c)
            if (grid_->m_Cells.GetText(0, c) == header) return c;
        return -1;
    }
    int RowOf(const std::string& typeName) const
    {
        for (int r = 0; r < grid_->m_Cells.GetRows(); ++r)
            if (grid_->m_Cells.GetText(r, 0).rfind(typeName + "|", 0) == 0) return r;
        return -1;
    }
};

TEST_F(TeacherActivityGridTest, TeachersFiguresOfTheWeekByRow)
{
    CTeacherActivityGrid& grid = Open('T');
    EXPECT_EQ(grid.GetWindowText(), "Weekly activities");
    EXPECT_EQ(grid.m_strTitle, "Teacher weekly activities: 03/01/2026 to 03/08/2026");
    EXPECT_FALSE(main_->IsWindowVisible());
    EXPECT_TRUE(grid.GetMenu().HasItem(30061) && grid.GetMenu().HasItem(30062) && grid.GetMenu().HasItem(32850) &&
                grid.GetMenu().HasItem(30056));

    // Two activity types below the seven fixed rows; a column per active employee.
    ASSERT_EQ(grid.m_Cells.GetRows(), 9);
    ASSERT_EQ(grid.m_Cells.GetColumns(), 4);
    const std::vector<std::string> labels = {"Item/Person",
                                             "First interviews|Number sales|Value|Cancellations|Value",
                                             "Later interviews|Number sales|Value|Cancellations|Value",
                                             "Total sales|Value|Cancellations|Value",
                                             "Merchandise sold|Refunds",
                                             "Other sales|Refunds",
                                             "Guests",
                                             "PRIVATE lesson|Enrolled number (units)|Used number (units)|Cancelled number (units)",
                                             "group class|Enrolled number (units)|Used number (units)|Cancelled number (units)"};
    for (int r = 0; r < 9; ++r) EXPECT_EQ(grid.m_Cells.GetText(r, 0), labels[static_cast<size_t>(r)]) << r;

    const int ann = ColumnOf("Ann|Teach");
    ASSERT_GT(ann, 0) << "first and last name on two lines";
    EXPECT_EQ(grid.m_Cells.GetText(1, ann), "1|1|432.00|0|0.00");
    EXPECT_EQ(grid.m_Cells.GetText(2, ann), "0|0|0.00|0|0.00");
    EXPECT_EQ(grid.m_Cells.GetText(4, ann), "0.00|0.00");
    EXPECT_EQ(grid.m_Cells.GetText(6, ann), "0");

    // The week after holds nothing of Ann's; Current comes back.
    grid.SendCommand(30061);
    EXPECT_EQ(grid.m_strTitle, "Teacher weekly activities: 03/08/2026 to 03/15/2026");
    EXPECT_EQ(grid.m_Cells.GetText(1, ann), "0|0|0.00|0|0.00");
    grid.SendCommand(30062);
    grid.SendCommand(30062);
    EXPECT_EQ(grid.m_dStart, D(2026, 2, 22));
    grid.SendCommand(32850);
    EXPECT_EQ(grid.m_dStart, D(2026, 3, 1));
    EXPECT_EQ(grid.m_Cells.GetText(1, ann), "1|1|432.00|0|0.00");
}

// Ten privates of 45 minutes enrolled, one taken: the units are minutes divided by a unit
// length between 1 and 59, and left as they are otherwise.
TEST_F(TeacherActivityGridTest, UnitFiguresFollowTheUnitLength)
{
    struct Case {
        int32_t unit;
        const char* cell;
    };
    for (const Case& c : {Case{0, " |10 (450)|1 (45)|0 (0)"}, Case{30, " |10 (15)|1 (1)|0 (0)"},
                          Case{15, " |10 (30)|1 (3)|0 (0)"}, Case{60, " |10 (450)|1 (45)|0 (0)"}}) {
        db_->m_Parameters.SetInt(param::kActivityUnitMinutes, c.unit);
        CTeacherActivityGrid& grid = Open('T');
        EXPECT_EQ(grid.m_Cells.GetText(RowOf("PRIVATE lesson"), ColumnOf("Ann|Teach")), c.cell) << c.unit;
        grid.SendCommand(30055);
        ui::test::DeleteDestroyedWindows();
        grid_ = nullptr;
    }
}

TEST_F(TeacherActivityGridTest, SupervisorsAndOneWordNames)
{
    // Sue supervises Bob; a teacher named with one word keeps it on one line.
    Person(codes_.bob)->m_nCode28 = codes_.sue;
    Person(codes_.ann)->m_sLastName.clear();
    CTeacherActivityGrid& grid = Open('S');
    EXPECT_EQ(grid.m_strTitle, "Supervisor weekly activities: 03/01/2026 to 03/08/2026");
    EXPECT_EQ(ColumnOf("Sue|Boss"), 1);
    EXPECT_EQ(grid.m_Cells.GetColumns(), 2) << "only supervisors";
    grid.SendCommand(30055);
    ui::test::DeleteDestroyedWindows();
    grid_ = &Open('T');
    EXPECT_GT(ColumnOf("Ann"), 0);
}

TEST_F(TeacherActivityGridTest, TheRefreshIsHeldWhileTheWindowIsUp)
{
    const uint32_t before = db_->m_nDisableRefreshCount;
    CTeacherActivityGrid& grid = Open('T');
    EXPECT_EQ(db_->m_nDisableRefreshCount, before + 1);
    EXPECT_EQ(db_->m_pScheduleGrid, nullptr);
    EXPECT_EQ(db_->m_pTeacherGrid, nullptr);
    grid.SendCommand(30055);
    EXPECT_EQ(db_->m_nDisableRefreshCount, before) << "ended when the window went";
    ui::test::DeleteDestroyedWindows();
    grid_ = nullptr;
    EXPECT_EQ(db_->m_nDisableRefreshCount, before);
    EXPECT_TRUE(main_->IsWindowVisible());
}

}  // namespace
