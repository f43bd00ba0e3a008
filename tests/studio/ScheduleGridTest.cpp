// The week's schedule grid and the room grid: axes, headers, cells and entry placement.

#include "tests/studio/StudioFixture.h"

#include <algorithm>

namespace {

constexpr uint32_t kHeader = 0x00C0C0C0;
constexpr uint32_t kCell = 0x00E0FFFF;

class GridTest : public StudioTest {
protected:
    struct Grid {
        CTextArray2D cells;
        std::vector<DATE> days, times;
        std::vector<stDataToken> list;
    };
    Grid Week(int32_t person, int32_t hideTaken, DATE end = D(2026, 3, 8))
    {
        Grid g;
        db_->MakeScheduleGrid(person, D(2026, 3, 1), end, g.cells, g.days, g.times, g.list, kHeader, kCell, hideTaken);
        return g;
    }
    Grid Rooms(char mode, DATE start, DATE end)
    {
        Grid g;
        db_->MakeScheduleGridText(mode, start, end, g.cells, g.days, g.times, g.list, kHeader, kCell);
        return g;
    }
    static std::vector<std::string> Column(const CTextArray2D& cells, int column)
    {
        std::vector<std::string> out;
        for (int r = 0; r < cells.GetRows(); ++r) out.push_back(cells.GetText(r, column));
        return out;
    }
    static std::vector<std::string> Row(const CTextArray2D& cells, int row)
    {
        std::vector<std::string> out;
        for (int c = 0; c < cells.GetColumns(); ++c) out.push_back(cells.GetText(row, c));
        return out;
    }
    // The row of a time label, -1 when absent.
    static int RowOf(const CTextArray2D& cells, const std::string& label)
    {
        for (int r = 0; r < cells.GetRows(); ++r)
            if (cells.GetText(r, 0) == label) return r;
        return -1;
    }
    CScheduleToken& LessonToken(size_t index) const
    {
        return *Purchase(codes_.purchase)->m_Items[0]->m_Tokens[index];
    }
};

const std::vector<std::string> kDefaultTimes = {"Time/day", "08:00AM", "09:00AM", "10:00AM", "11:00AM", "12:00PM",
                                                "01:00PM", "02:00PM", "03:00PM", "04:00PM", "05:00PM", "06:00PM",
                                                "07:00PM", "08:00PM", "09:00PM", "Payments due", "Payments received"};

TEST_F(GridTest, EmptyStudioWithDefaultSettings)
{
    Reopen();
    Grid g = Week(-1, 1);
    ASSERT_EQ(g.cells.GetRows(), 17);
    ASSERT_EQ(g.cells.GetColumns(), 8);
    EXPECT_EQ(Column(g.cells, 0), kDefaultTimes);
    EXPECT_EQ(Row(g.cells, 0), (std::vector<std::string>{"Time/day", "Sun 03/01/26", "Mon 03/02/26", "Tue 03/03/26",
                                                         "Wed 03/04/26", "Thu 03/05/26", "Fri 03/06/26", "Sat 03/07/26"}));
    ASSERT_EQ(g.days.size(), 7u);
    EXPECT_EQ(g.days[0], D(2026, 3, 1));
    ASSERT_EQ(g.times.size(), 14u);
    EXPECT_EQ(g.times[0], D(1900, 1, 1, 8, 0));
    for (int c = 1; c < 8; ++c) {
        EXPECT_EQ(g.cells.GetText(15, c), "0.00 Total");
        EXPECT_EQ(g.cells.GetText(16, c), "0.00 Total");
        EXPECT_EQ(g.cells.GetText(5, c), "");
        EXPECT_EQ(g.cells.GetColour(5, c), kCell);
        EXPECT_EQ(g.cells.GetColour(0, c), kHeader);
    }
    EXPECT_EQ(g.cells.GetColour(0, 0), kHeader);
    EXPECT_EQ(g.cells.GetColour(16, 0), kHeader);
    EXPECT_TRUE(g.list.empty());
    // A second call into the same table starts from empty cells.
    g.cells.SetAt(5, 3, "left over", 0);
    db_->MakeScheduleGrid(-2, D(2026, 3, 1), D(2026, 3, 8), g.cells, g.days, g.times, g.list, kHeader, kCell, 1);
    EXPECT_EQ(g.cells.GetRows(), 15);  // no payment rows for the class dates alone
    EXPECT_EQ(g.cells.GetText(5, 3), "");
}

class StudioGridTest : public GridTest {
protected:
    void SetUp() override
    {
        GridTest::SetUp();
        BuildStudio();
        Reopen();
    }
};

TEST_F(StudioGridTest, LessonsPaymentsAndPlacement)
{
    // Floating-point noise of a few hundredths of a second on either side of 10:30.
    LessonToken(1).m_dDate += 3e-7;
    LessonToken(2).m_dDate -= 3e-7;
    Grid g = Week(-1, 1);
    const int r1030 = RowOf(g.cells, "10:30AM");
    ASSERT_EQ(r1030, 4);  // between 10:00 and 11:00
    EXPECT_EQ(g.times.size(), 15u);
    EXPECT_EQ(g.cells.GetText(r1030, 3), "A.Teach/C.Student, Private lesson|");  // Tuesday
    EXPECT_EQ(g.cells.GetText(r1030, 5), "B.Lead/C.Student, Private lesson|");   // Thursday
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "07:00PM"), 2), "B.Lead, Tango practice|");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "08:00PM"), 7), "Studio party|");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "03:00PM"), 4), "A.Teach/C.Student, Phone|");
    // The taken lesson is hidden.
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "10:00AM"), 2), "");
    const int due = g.cells.GetRows() - 2;
    const int received = g.cells.GetRows() - 1;
    EXPECT_EQ(Row(g.cells, received),
              (std::vector<std::string>{"Payments received", "0.00 Total", "0.00 Total", "0.00 Total",
                                        "55.50 Total|*C.Student, Payment $25.00|*Payment, C.Student", "0.00 Total",
                                        "0.00 Total", "0.00 Total"}));
    EXPECT_EQ(g.cells.GetText(due, 6), "100.00 Total|C.Student, Payment $100.00");
    EXPECT_EQ(g.cells.GetText(due, 2), "0.00 Total");  // a discount is no payment

    // Placement in the list: the row and column of the time and day axes.
    for (const stDataToken& e : g.list) {
        if (e.type == 'T' && e.index2 == 1) {
            EXPECT_EQ(std::make_pair(e.row, e.column), std::make_pair(3, 2));
        }
        if (e.type == 'p' || e.type == 'P') {
            EXPECT_EQ(std::make_pair(e.row, e.column), std::make_pair(-1, -1));
        }
    }
    EXPECT_EQ(g.list.size(), 16u);  // the week's entries only
}

TEST_F(StudioGridTest, TwoEntriesInACellAndBarsInTexts)
{
    LessonToken(2).m_dDate = D(2026, 3, 3, 10, 30);
    Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.party)->m_sText = "Party|Gala";
    Grid g = Week(-1, 1);
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "10:30AM"), 3),
              "A.Teach/C.Student, Private lesson|B.Lead/C.Student, Private lesson|");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "08:00PM"), 7), "Party Gala|");
}

TEST_F(StudioGridTest, TakenLessonsShownOrHidden)
{
    LessonToken(0).m_dDate = D(2026, 3, 2, 12, 15);
    Grid hidden = Week(-1, 1);
    EXPECT_EQ(RowOf(hidden.cells, "12:15PM"), -1);
    Grid shown = Week(-1, 0);
    const int row = RowOf(shown.cells, "12:15PM");
    ASSERT_GT(row, 0);
    EXPECT_EQ(shown.cells.GetText(row, 2), "*A.Teach/C.Student, Private lesson|");
}

TEST_F(StudioGridTest, EntryAtTheEndBeyondTheWeek)
{
    Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.party)->m_dFirstDate = D(2026, 3, 8, 8, 0);
    Grid g = Week(-1, 1, D(2026, 3, 8, 8, 0));
    const auto party = std::find_if(g.list.begin(), g.list.end(), [](const stDataToken& e) { return e.type == 'S'; });
    ASSERT_NE(party, g.list.end());
    EXPECT_EQ(std::make_pair(party->row, party->column), std::make_pair(-1, -1));
    EXPECT_TRUE(ui::test::GetHooks().messageBoxTexts.empty());
}

// An entry before 08:00 stands at 08:00 of its day, and the period is tested on that time.
TEST_F(StudioGridTest, EarlyEntriesStandAtEight)
{
    Get<CPriceListItem>(TABLE_PRICELIST, codes_.practice)->m_Dates.push_back(D(2026, 3, 3, 7, 0));
    Grid g;
    db_->MakeScheduleGrid(-2, D(2026, 3, 3, 7, 30), D(2026, 3, 10), g.cells, g.days, g.times, g.list, kHeader, kCell, 1);
    EXPECT_EQ(g.cells.GetText(0, 1), "Tue 03/03/26");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "08:00AM"), 1), "Practice party|");
    Get<CPriceListItem>(TABLE_PRICELIST, codes_.practice)->m_Dates.back() = D(2026, 3, 10, 7, 0);
    db_->MakeScheduleGrid(-2, D(2026, 3, 3), D(2026, 3, 10, 7, 30), g.cells, g.days, g.times, g.list, kHeader, kCell, 1);
    EXPECT_TRUE(std::none_of(g.list.begin(), g.list.end(), [](const stDataToken& e) { return e.date >= D(2026, 3, 10); }));
}

TEST_F(StudioGridTest, ClassDatesOnlyAndAStudentsWeek)
{
    Grid classes = Week(-2, 1);
    EXPECT_EQ(classes.cells.GetRows(), 15);
    EXPECT_EQ(classes.cells.GetText(RowOf(classes.cells, "07:00PM"), 3), "Group salsa|");
    EXPECT_EQ(classes.list.size(), 3u);
    Grid carl = Week(static_cast<int32_t>(codes_.carl), 1);
    EXPECT_EQ(carl.cells.GetRows(), 18);
    EXPECT_EQ(carl.cells.GetText(RowOf(carl.cells, "07:00PM"), 3), "");
    EXPECT_EQ(carl.cells.GetText(carl.cells.GetRows() - 1, 4),
              "55.50 Total|*C.Student, Payment $25.00|*Payment, C.Student");
}

TEST_F(StudioGridTest, RoomWeek)
{
    LessonToken(2).m_dDate = D(2026, 3, 3, 10, 30);  // Bob's lesson in room B beside Ann's in room A
    Grid g = Rooms('M', D(2026, 3, 1), D(2026, 3, 8));
    ASSERT_EQ(g.cells.GetColumns(), 8);
    EXPECT_EQ(g.cells.GetText(0, 0), "Time/day");
    EXPECT_EQ(g.cells.GetText(0, 3), "Tue 03/03/26");
    EXPECT_EQ(g.cells.GetRows(), 16);  // 14 default times and 10:30, no payment rows
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "10:30AM"), 3),
              "Studio A:A.Teach/C.Student, Private lesson|Studio B:B.Lead/C.Student, Private lesson|");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "07:00PM"), 2), "Studio A:B.Lead, Tango practice|");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "07:00PM"), 3), "Studio B:Group salsa|");
    // Taken lessons, lessons without a room and class dates of type 'p' are not bookings.
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "10:00AM"), 2), "");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "08:00PM"), 6), "");
    EXPECT_EQ(g.list.size(), 5u);
    // Another mode lays out the week with empty cells.
    Grid other = Rooms('X', D(2026, 3, 1), D(2026, 3, 8));
    EXPECT_EQ(other.cells.GetText(0, 3), "Tue 03/03/26");
    EXPECT_EQ(other.cells.GetRows(), 16);
    for (int r = 1; r < other.cells.GetRows(); ++r)
        for (int c = 1; c < 8; ++c) EXPECT_EQ(other.cells.GetText(r, c), "") << r << "," << c;
}

TEST_F(StudioGridTest, RoomWeekKeepsChangedOccurrences)
{
    Grid moved = Rooms('M', D(2026, 3, 15), D(2026, 3, 22));
    const int row = RowOf(moved.cells, "08:00PM");
    EXPECT_EQ(moved.cells.GetText(row, 3), "Studio A:B.Lead, Tango practice|");  // Tuesday 17th
    ASSERT_EQ(moved.list.size(), 1u);
    EXPECT_EQ(moved.list[0].index1, 2);  // the occurrence's own index, the key of its change
    EXPECT_EQ(std::make_pair(moved.list[0].row, moved.list[0].column), std::make_pair(row - 1, 2));
    Grid removed = Rooms('M', D(2026, 3, 8), D(2026, 3, 15));
    EXPECT_TRUE(removed.list.empty());
    Grid later = Rooms('M', D(2026, 3, 22), D(2026, 3, 29));
    ASSERT_EQ(later.list.size(), 1u);
    EXPECT_EQ(later.list[0].index1, 3);
}

TEST_F(StudioGridTest, RoomEntryOnAnEighthDayLandsInNoCell)
{
    Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa)->m_Dates.push_back(D(2026, 3, 8, 19, 0));
    Grid g = Rooms('M', D(2026, 3, 1), D(2026, 3, 8, 19, 0));
    EXPECT_EQ(g.days.size(), 8u);
    const auto last = std::find_if(g.list.begin(), g.list.end(),
                                   [](const stDataToken& e) { return e.type == '$' && e.index1 == 2; });
    ASSERT_NE(last, g.list.end());
    EXPECT_EQ(std::make_pair(last->row, last->column), std::make_pair(-1, -1));
    EXPECT_TRUE(ui::test::GetHooks().messageBoxTexts.empty());
}

TEST_F(StudioGridTest, RoomDay)
{
    Grid g = Rooms('D', D(2026, 3, 3), D(2026, 3, 4));
    EXPECT_EQ(Row(g.cells, 0), (std::vector<std::string>{"Time/room", "Studio A", "Studio B"}));
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "10:30AM"), 1), "A.Teach/C.Student, Private lesson");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "07:00PM"), 2), "Group salsa");
    // Two bookings of one room at one time: the later in list order stands.
    CScheduleToken& bob = LessonToken(2);
    bob.m_dDate = D(2026, 3, 3, 10, 30);
    bob.m_nField9 = codes_.roomA;
    g = Rooms('D', D(2026, 3, 3), D(2026, 3, 4));
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "10:30AM"), 1), "B.Lead/C.Student, Private lesson");
    EXPECT_EQ(g.cells.GetText(RowOf(g.cells, "10:30AM"), 2), "");
}

}  // namespace
