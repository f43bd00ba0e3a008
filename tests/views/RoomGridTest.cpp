// The room grid window on the studio fixture (today Wednesday 4 March 2026): the day and the
// week, their titles and cells as the period moves.

#include "tests/views/GridWindowFixture.h"

#include "platform/ui/FrameWindow.h"
#include "views/RoomGrid.h"

namespace {

class RoomGridTest : public GridWindowTest<CRoomGrid> {
protected:
    CRoomGrid& Open(char mode)
    {
        grid_ = new CRoomGrid(main_.get(), db_.get(), mode);
        return *grid_;
    }
    std::string Cell(int row, int column) const { return grid_->m_Cells.GetText(row, column); }
    int RowOf(const std::string& time) const
    {
        for (int r = 0; r < grid_->m_Cells.GetRows(); ++r)
            if (Cell(r, 0) == time) return r;
        return -1;
    }
};

TEST_F(RoomGridTest, TheDayMovesByOneDayAndItsTitleFollows)
{
    CRoomGrid& grid = Open('D');
    EXPECT_EQ(grid.GetWindowText(), "Daily room schedule");
    EXPECT_EQ(db_->m_pRoomGrid, &grid);
    EXPECT_FALSE(main_->IsWindowVisible());
    struct Step {
        int command;
        const char* title;
        const char* salsaAt7pm;  // Studio B at 07:00PM
    };
    for (const Step& s : {Step{30062, "Daily room schedule for Tuesday March 03, 2026", "Group salsa"},
                          Step{30062, "Daily room schedule for Monday March 02, 2026", ""},
                          Step{30061, "Daily room schedule for Tuesday March 03, 2026", "Group salsa"},
                          Step{32850, "Daily room schedule for Wednesday March 04, 2026", ""}}) {
        grid.SendCommand(s.command);
        EXPECT_EQ(grid.m_strTitle, s.title) << s.command;
        EXPECT_EQ(Cell(0, 1), "Studio A");
        EXPECT_EQ(Cell(0, 2), "Studio B");
        EXPECT_EQ(grid.m_dEnd, grid.m_dStart + 1.0);
        EXPECT_EQ(Cell(RowOf("07:00PM"), 2), s.salsaAt7pm) << s.title;
    }
    grid.SendCommand(30055);
    grid_ = nullptr;
    ui::test::DeleteDestroyedWindows();
    EXPECT_TRUE(main_->IsWindowVisible());
    EXPECT_EQ(db_->m_pRoomGrid, nullptr);
}

TEST_F(RoomGridTest, CurrentReturnsFromWeeksAheadToTheWeekOfToday)
{
    CRoomGrid& grid = Open('M');
    EXPECT_EQ(grid.GetWindowText(), "Weekly room schedule");
    EXPECT_EQ(grid.m_strTitle, "Weekly room schedule");
    EXPECT_EQ(grid.m_dStart, D(2026, 3, 1));
    for (int i = 0; i < 3; ++i) grid.SendCommand(30061);
    EXPECT_EQ(grid.m_dStart, D(2026, 3, 22));
    EXPECT_EQ(grid.m_dEnd, D(2026, 3, 29));
    grid.SendCommand(32850);
    EXPECT_EQ(grid.m_dStart, D(2026, 3, 1));
    EXPECT_EQ(grid.m_dEnd, D(2026, 3, 8));
    EXPECT_TRUE(grid.m_bLandscape == 1 && grid.m_bRepeatLabelRow == 1 && grid.m_bRepeatLabelColumn == 1);
}

}  // namespace
