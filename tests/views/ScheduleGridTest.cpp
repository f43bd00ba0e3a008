// The schedule grid window on the studio fixture (week of Sunday 1 to Saturday 7 March 2026,
// today Wednesday 4 March): opening over the main frame, the weeks, dragging an entry to another
// cell, clicks and the click menu, and the schedule entry changes behind them.

#include "tests/studio/StudioFixture.h"

#include <algorithm>

#include "dialogs/DialogMenu.h"
#include "platform/ui/Application.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/View.h"
#include "views/ScheduleGrid.h"
#include "platform/ui/ListBox.h"

namespace {

constexpr int kSelectList = 1394;  // the person selection's list

class ScheduleGridTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildStudio();
        Reopen();
        main_ = std::make_unique<ui::FrameWindow>();
        ASSERT_TRUE(main_->CreateFrame("main", {0, 0, 900, 700}));
        main_->ShowWindow(true);
        ui::Application::Instance()->SetMainWindow(main_.get());
    }
    void TearDown() override
    {
        Close();
        ui::Application::Instance()->SetMainWindow(nullptr);
        main_.reset();
        StudioTest::TearDown();
    }
    CScheduleGrid& Open(int32_t mode)
    {
        grid_ = new CScheduleGrid(main_.get(), db_.get(), mode);
        grid_->MoveWindow({0, 0, 1400, 1000});
        ui::test::RecordPaint(grid_->GridView());  // lays out and sets the line height
        return *grid_;
    }
    void Close()
    {
        if (grid_ && grid_->IsCreated()) grid_->SendCommand(30055);
        grid_ = nullptr;
        ui::test::DeleteDestroyedWindows();
    }
    // A client point on line `line` of day/time cell (row, column).
    std::pair<int, int> Point(int row, int column, int line = 0) const
    {
        const int x = static_cast<int>(grid_->m_aColumnEdges[column + 1] + grid_->m_aColumnEdges[column + 2]) / 2;
        const int y = static_cast<int>(grid_->m_aRowEdges[row + 1]) + line * grid_->m_nLineHeight + 2;
        return {x - grid_->m_nHScroll, y - grid_->m_nVScroll};
    }
    // Where the grid placed the entry of that kind and record: (row, column, line in its cell).
    std::tuple<int, int, int> Place(char type, const void* record, int index1) const
    {
        std::vector<int> order;
        for (const stDataToken& e : grid_->m_aEntries) {
            int line = 0;
            for (const stDataToken& o : grid_->m_aEntries) {
                if (&o == &e) break;
                if (o.row == e.row && o.column == e.column) ++line;
            }
            if (e.type == type && e.record == record && e.index1 == index1) return {e.row, e.column, line};
        }
        ADD_FAILURE() << "no entry " << type;
        return {-1, -1, 0};
    }
    void Drag(std::pair<int, int> from, std::pair<int, int> to)
    {
        ui::test::DragAt(grid_->GridView(), from.first, from.second, to.first, to.second);
    }
    int RowOf(int hour) const
    {
        for (size_t i = 0; i < grid_->m_aTimes.size(); ++i)
            if (FormatDateTime(grid_->m_aTimes[i], "%H:%M") == Format("%02d:00", hour)) return static_cast<int>(i);
        return -1;
    }

    std::unique_ptr<ui::FrameWindow> main_;
    CScheduleGrid* grid_ = nullptr;  // deletes itself
};

TEST_F(ScheduleGridTest, OpensOverTheMainFrameMovesByWeeksAndExitRestores)
{
    CScheduleGrid& grid = Open(-1);
    EXPECT_EQ(grid.GetWindowText(), "Weekly schedule");
    EXPECT_EQ(grid.m_strTitle, "Weekly Schedule");
    EXPECT_EQ(db_->m_pScheduleGrid, &grid);
    EXPECT_FALSE(main_->IsWindowVisible());
    EXPECT_EQ(grid.m_dWeekStart, D(2026, 3, 1));
    EXPECT_EQ(grid.m_Cells.GetText(0, 1), "Sun 03/01/26");
    EXPECT_TRUE(grid.m_bLandscape == 1 && grid.m_bRepeatLabelRow == 1 && grid.m_bRepeatLabelColumn == 1);

    struct Step {
        int command;
        DATE start;
    };
    for (const Step& s : {Step{30061, D(2026, 3, 8)}, Step{30061, D(2026, 3, 15)}, Step{30062, D(2026, 3, 8)},
                          Step{32850, D(2026, 3, 1)}}) {
        grid.SendCommand(s.command);
        EXPECT_EQ(grid.m_dWeekStart, s.start) << s.command;
        EXPECT_EQ(grid.m_dWeekEnd, s.start + 7.0) << s.command;
        EXPECT_EQ(grid.m_aDays.front(), s.start) << s.command;
    }
    Close();
    EXPECT_TRUE(main_->IsWindowVisible());
    EXPECT_EQ(db_->m_pScheduleGrid, nullptr);
}

TEST_F(ScheduleGridTest, DraggedClassDateKeepsItsNewMomentAfterReopening)
{
    Open(-1);
    auto* salsa = Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa);
    const auto [row, column, line] = Place('$', salsa, 0);
    ASSERT_EQ(column, 2) << "Tuesday";
    const int target = RowOf(18);
    ASSERT_GE(target, 0);
    Drag(Point(row, column, line), Point(target, 3));
    EXPECT_EQ(grid_->m_bDragMode, 0);
    EXPECT_EQ(grid_->GridView().GetCursorShape(), ui::CursorShape::Arrow);
    // The grid shows the move at once.
    const auto [newRow, newColumn, newLine] = Place('$', Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa), 0);
    EXPECT_EQ(newRow, target);
    EXPECT_EQ(newColumn, 3);
    Close();
    Reopen();
    EXPECT_EQ(Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa)->m_Dates,
              (std::vector<DATE>{D(2026, 3, 4, 18, 0), D(2026, 3, 5, 19, 0)}));
}

TEST_F(ScheduleGridTest, DropsOutsideTheCellsOrFromAnEmptyLineAreRefused)
{
    Open(-1);
    auto* salsa = Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa);
    const auto [row, column, line] = Place('$', salsa, 0);
    const int empty = RowOf(8);
    struct Case {
        std::pair<int, int> from, to;
        const char* message;
    };
    const std::pair<int, int> labelRow{Point(row, column).first, static_cast<int>(grid_->m_aRowEdges[0]) + 2};
    const std::pair<int, int> labelColumn{static_cast<int>(grid_->m_aColumnEdges[0]) + 2, Point(row, column).second};
    for (const Case& c : {Case{Point(row, column, line), labelRow, "Can't drop outside of grid."},
                          Case{Point(row, column, line), labelColumn, "Can't drop outside of grid."},
                          Case{Point(empty, 0), Point(empty, 1), "Selected item not found"}}) {
        dqtest::QueueAnswers({ui::IDOK});
        Drag(c.from, c.to);
        ASSERT_FALSE(ui::test::GetHooks().messageBoxTexts.empty());
        EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(), c.message);
    }
    EXPECT_EQ(Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa)->m_Dates.front(), D(2026, 3, 3, 19, 0));
}

TEST_F(ScheduleGridTest, APressAndReleaseInOneCellOffersTheClickMenu)
{
    Open(-1);
    auto* salsa = Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa);
    const auto [row, column, line] = Place('$', salsa, 0);
    std::vector<std::string> offered;
    ui::test::GetHooks().dialogScripts.push_back([&offered](ui::Dialog& d) {
        offered = dynamic_cast<CDialogMenu&>(d).m_aTexts;
        d.EndDialog(-1);
    });
    // The mouse moves inside the cell between press and release: still a click.
    const auto at = Point(row, column, line);
    Drag(at, {at.first + 3, at.second});
    ASSERT_GE(offered.size(), 3u);
    EXPECT_EQ(offered[0], "Add schedulable non-pricelist event");
    EXPECT_EQ(offered[1], "Add schedulable pricelist event (e.g. standing lesson)");
    EXPECT_NE(offered[2].find("Take and pay for "), std::string::npos);

    // Taking and paying hands the class, the student picked and the cell's moment to the sale.
    uint32_t soldItem = 0, soldTo = 0;
    DATE soldAt = 0.0;
    db_->m_fnSellItemNow = [&](uint32_t item, uint32_t person, DATE when) {
        soldItem = item;
        soldTo = person;
        soldAt = when;
        return 1;
    };
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) {
        dynamic_cast<CDialogMenu&>(d).GetShownList()->SetCurSel(2);
        ui::test::Click(d, ui::IDOK);
    });
    ui::test::GetHooks().dialogScripts.push_back([this](ui::Dialog& d) {
        auto* list = dynamic_cast<ui::ListBox*>(d.GetDlgItem(kSelectList));
        ASSERT_NE(list, nullptr);
        for (int i = 0; i < list->GetCount(); ++i)
            if (list->GetItemData(i) == codes_.carl) ui::test::DoubleClickItem(d, kSelectList, i);
    });
    ui::test::ClickAt(grid_->GridView(), at.first, at.second);
    EXPECT_EQ(soldItem, codes_.salsa);
    EXPECT_EQ(soldTo, codes_.carl);
    EXPECT_EQ(soldAt, D(2026, 3, 3, 19, 0));
}

TEST_F(ScheduleGridTest, TheClassScheduleIgnoresTheMouse)
{
    Open(-2);
    EXPECT_TRUE(grid_->GetMenu().HasItem(32923));
    auto* salsa = Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa);
    const auto [row, column, line] = Place('$', salsa, 0);
    const auto at = Point(row, column, line);
    ui::test::ClickAt(grid_->GridView(), at.first, at.second);
    Drag(at, Point(row, column + 1));
    ui::test::RightClickAt(grid_->GridView(), at.first, at.second);
    EXPECT_TRUE(ui::test::GetHooks().dialogsRun.empty());
    EXPECT_EQ(Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa)->m_Dates.front(), D(2026, 3, 3, 19, 0));
}

TEST_F(ScheduleGridTest, TheRightClickOpensTheCellDialogAndTheGridRebuilds)
{
    Open(-1);
    int calls = 0;
    std::pair<int, int> cell;
    db_->m_fnScheduleCellDialog = [&](std::vector<stDataToken>&, int row, int column, int32_t mode, DATE start,
                                      DATE end, CTextArray2D&, std::vector<DATE>&, std::vector<DATE>&) {
        ++calls;
        cell = {row, column};
        EXPECT_EQ(mode, -1);
        EXPECT_EQ(start, D(2026, 3, 1));
        EXPECT_EQ(end, D(2026, 3, 8));
    };
    const auto at = Point(3, 4);
    ui::test::RightClickAt(grid_->GridView(), at.first, at.second);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(cell, std::make_pair(3, 4));
    // Outside the day/time cells nothing opens.
    ui::test::RightClickAt(grid_->GridView(), 1, 1);
    EXPECT_EQ(calls, 1);
}

// A refresh that reloads the tables leaves the grid's entries pointing at freed records: the grid
// builds again before it paints or acts, and the database tells it to rebuild.
TEST_F(ScheduleGridTest, AfterARefreshTheGridRebuildsBeforeItUsesItsEntries)
{
    Open(-1);
    ASSERT_TRUE(db_->RefreshDatabase());
    ui::test::RecordPaint(grid_->GridView());
    auto* salsa = Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa);
    const auto [row, column, line] = Place('$', salsa, 0);
    EXPECT_EQ(column, 2);
    ui::Application::PumpMessages();  // the grid-update message
    Place('$', Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa), 0);
}

// The changes behind a drop, on the records the grid hands over.
TEST_F(ScheduleGridTest, RescheduleEntriesByKind)
{
    auto* received = Get<CPaymentRecord>(TABLE_PAYMENT, codes_.received);
    const DATE before = received->m_dDate;
    stDataToken payment;
    payment.type = 'P';
    payment.record = received;
    EXPECT_EQ(db_->RescheduleEntry(payment, D(2026, 3, 6, 10, 0)), 1);
    EXPECT_EQ(Get<CPaymentRecord>(TABLE_PAYMENT, codes_.received)->m_dDate, D(2026, 3, 6, 10, 0));
    EXPECT_EQ(db_->RescheduleEntry(payment, 0.0), 1);
    EXPECT_EQ(Get<CPaymentRecord>(TABLE_PAYMENT, codes_.received)->m_cReceived, 'U');
    EXPECT_EQ(Get<CPaymentRecord>(TABLE_PAYMENT, codes_.received)->m_dDate, D(2026, 3, 6, 10, 0)) << before;

    // Occurrence indexes count the series before its changes: 2 March to 30 March is five.
    auto* tango = Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.tango);
    struct Case {
        int32_t index;
        int result;
    };
    for (const Case& c : {Case{5, 0}, Case{9, 0}, Case{4, 1}}) {
        EXPECT_EQ(db_->RescheduleScheduleItem(Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.tango), c.index,
                                              D(2026, 3, 31, 19, 0)),
                  c.result)
            << c.index;
    }
    tango = Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.tango);
    EXPECT_EQ(tango->m_Changes.back(), (stCodeValuePair{4, D(2026, 3, 31, 19, 0)}));
    // Onto the studio party, which names nobody: no one's time is taken twice, no question.
    EXPECT_EQ(db_->RescheduleScheduleItem(tango, 3, D(2026, 3, 7, 20, 0)), 1);
    EXPECT_TRUE(ui::test::GetHooks().messageBoxTexts.empty());

    stDataToken birthday;
    birthday.type = 'B';
    birthday.record = Person(codes_.carl);
    dqtest::QueueAnswers({ui::IDOK});
    EXPECT_EQ(db_->RescheduleEntry(birthday, D(2026, 3, 6)), 0);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(),
              "Can't reschedule this type of schedule item from this. Go to master list of scheduled items.");

    Reopen();
    tango = Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.tango);
    EXPECT_EQ(tango->m_Changes[static_cast<size_t>(tango->FindCode(4))], (stCodeValuePair{4, D(2026, 3, 31, 19, 0)}));
    EXPECT_EQ(tango->m_Changes.back(), (stCodeValuePair{3, D(2026, 3, 7, 20, 0)}));
}

// The first occurrence (index 0 or -1) moved to 0 is the whole series: deleted only when the
// question of the deletion is answered Yes.
TEST_F(ScheduleGridTest, MovingTheFirstOccurrenceToNoDateDeletesTheSeriesAfterTheQuestion)
{
    struct Case {
        int32_t index;
        int answer;
        int result;
    };
    for (const Case& c : {Case{0, ui::IDNO, 0}, Case{-1, ui::IDNO, 0}, Case{0, ui::IDYES, 1}}) {
        auto* tango = Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.tango);
        ASSERT_NE(tango, nullptr) << c.index;
        dqtest::QueueAnswers({c.answer});
        EXPECT_EQ(db_->RescheduleScheduleItem(tango, c.index, 0.0), c.result) << c.index;
        EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(), "Are you sure you want to delete schedule item?");
    }
    EXPECT_EQ(Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.tango), nullptr);
    Reopen();
    EXPECT_EQ(Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.tango), nullptr);
    EXPECT_NE(Get<CScheduleRecord>(TABLE_SCHEDULE, codes_.party), nullptr);
}

// A cancelled lesson carries the desk's stamp and the moment, and is stored; indexes that name
// no token change nothing.
TEST_F(ScheduleGridTest, CancelLessonTokenStampsAndStoresTheToken)
{
    SetStampUserCode(7);
    FixClock(2026, 3, 4, 11, 15);
    struct Case {
        uint32_t item, token;
        int result;
    };
    for (const Case& c : {Case{0, 8, 0}, Case{1, 0, 0}, Case{0, 1, 1}})
        EXPECT_EQ(db_->CancelLessonToken(Purchase(codes_.purchase), c.item, c.token), c.result)
            << c.item << "/" << c.token;
    EXPECT_EQ(db_->CancelLessonToken(nullptr, 0, 0), 0);
    Reopen();
    const auto& tokens = Purchase(codes_.purchase)->m_Items[0]->m_Tokens;
    EXPECT_EQ(tokens[1]->m_cState, 'c');
    EXPECT_EQ(tokens[1]->m_cStampUser, 7);
    EXPECT_EQ(tokens[1]->m_dStampDate, D(2026, 3, 4, 11, 15));
    EXPECT_EQ(tokens[2]->m_cState, 'S') << "the others as they were";
    EXPECT_EQ(tokens[0]->m_cState, 'U');
}

TEST_F(ScheduleGridTest, AScheduledPaymentIsDeletedUnlessItIsTheLastUnscheduledOne)
{
    CPurchaseRecord purchase;
    for (char kind : {'U', 'S', 'U'}) {
        auto p = std::make_unique<CSchedulePayment>();
        p->m_cKind = kind;
        purchase.m_Payments.push_back(std::move(p));
    }
    EXPECT_EQ(db_->DeleteScheduledPayment(&purchase, 1), 1);
    EXPECT_EQ(db_->DeleteScheduledPayment(&purchase, 0), 1);
    dqtest::QueueAnswers({ui::IDOK});
    EXPECT_EQ(db_->DeleteScheduledPayment(&purchase, 0), 2);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(), "Can not delete all payments for a purchase.");
    EXPECT_EQ(purchase.m_Payments.size(), 1u);
    EXPECT_EQ(db_->DeleteScheduledPayment(&purchase, 3), 2);
}

}  // namespace
