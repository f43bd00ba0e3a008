// The report grids on the report studio: the cell tables of every grid and mode for the three
// periods, the periods as they step, and the grids' life beside the database's refresh hold.

#include "tests/views/ReportGridFixture.h"

#include "platform/ui/Menu.h"
#include "platform/ui/PageModel.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/View.h"
#include "reports/Reports.h"
#include "views/ActivityHourGrid.h"
#include "views/AdvertisingGrid.h"
#include "views/DailyBalanceGrid.h"
#include "views/EnrollmentGrid.h"
#include "views/FinanceGrid.h"
#include "views/ProgramStatisticsGrid.h"

#include <gmock/gmock.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

const std::string kLabel7 = " | ~ | ~ | ~ | ~ | ~ | ~";
const std::string kLabel5 = " | ~ | ~ | ~ | ~";

}  // namespace

// ---- Cell tables ------------------------------------------------------------------------------

TEST_F(ReportGridTest, ActivityBreakdownCountsEachPeriod)
{
    auto* grid = new CActivityHourGrid(main_.get(), db_.get());
    grid_ = grid;
    EXPECT_EQ(grid->m_strTitle, "Activity breakdown: 03/01/2026 to 03/08/2026");
    EXPECT_EQ(grid->GetWindowText(), "Activity breakdown");
    EXPECT_THAT(Table(*grid),
                ElementsAre("Type | Number|enrolled | Units|enrolled | Number|taken | Units|taken | "
                            "Number|cancelled|or converted | Units|cancelled|or converted",
                            "~Week" + kLabel7,
                            "Private lesson | 6 | 18 | 1 | 3 | 2 | 6",
                            "Group class | 0 | 0 | 0 | 0 | 1 | 3",
                            "~Year-to-date" + kLabel7,
                            "Private lesson | 38 | 114 | 9 | 27 | 2 | 6",
                            "Group class | 1 | 3 | 0 | 0 | 1 | 3",
                            "~Previous year" + kLabel7,
                            "Private lesson | 208 | 624 | 52 | 156 | 0 | 0",
                            "Group class | 2 | 6 | 0 | 0 | 0 | 0"));
    EXPECT_EQ(grid->m_nTitleFontSize, 120);
    EXPECT_EQ(grid->m_nCellFontSize, 90);
    EXPECT_EQ(grid->m_bRepeatLabelRow, 1);
    EXPECT_EQ(grid->m_bRepeatLabelColumn, 1);
    EXPECT_EQ(grid->m_bLandscape, 0);
}

TEST_F(ReportGridTest, ActivityUnitsFollowTheDivisor)
{
    // Divisors outside 1 to 59 leave the units as they are; the remainder is dropped.
    const struct {
        int32_t divisor;
        const char* week;
    } cases[] = {
        {0, "Private lesson | 6 | 270 | 1 | 45 | 2 | 90"},
        {4, "Private lesson | 6 | 67 | 1 | 11 | 2 | 22"},
        {59, "Private lesson | 6 | 4 | 1 | 0 | 2 | 1"},
        {60, "Private lesson | 6 | 270 | 1 | 45 | 2 | 90"},
    };
    for (const auto& c : cases) {
        db_->m_Parameters.SetInt(param::kActivityUnitMinutes, c.divisor);
        auto* grid = new CActivityHourGrid(main_.get(), db_.get());
        EXPECT_EQ(Table(*grid)[2], c.week) << c.divisor;
        grid->SendCommand(CReportGrid::kCmdExit);
        ui::test::DeleteDestroyedWindows();
    }
}

TEST_F(ReportGridTest, AdvertisingGrowsRowsOnlyWhereASourceOccurs)
{
    auto* grid = new CAdvertisingGrid(main_.get(), db_.get());
    grid_ = grid;
    EXPECT_EQ(grid->m_strTitle, "Weekly advertising data: 03/01/2026 to 03/08/2026");
    EXPECT_THAT(Table(*grid),
                ElementsAre("Category/Period | Calls|due to | Initial|Interviews | Students added|to database | "
                            "Amount|spent",
                            "~Week" + kLabel5,
                            "Newspaper | 1 | 1 | 1 | 20.00",
                            "Radio | 0 | 0 | 0 | 0.00",
                            "Other | 0 | 0 | 1 | 0.00",
                            "Total | 1 | 1 | 2 | 20.00",
                            "~Year-to-date" + kLabel5,
                            "Newspaper | 9 | 9 | 9 | 180.00",
                            "Radio | 0 | 0 | 0 | 0.00",
                            "Other | 0 | 0 | 1 | 0.00",
                            "Total | 9 | 9 | 10 | 180.00",
                            "~Previous year" + kLabel5,
                            "Newspaper | 52 | 52 | 52 | 1040.00",
                            "Radio | 0 | 0 | 0 | 0.00",
                            "Other | 0 | 0 | 0 | 0.00",
                            "Standard | 0 | 0 | 1 | 0.00",
                            "Total | 52 | 52 | 53 | 1040.00"));
}

TEST_F(ReportGridTest, AdvertisingWeekIncludesItsFirstInstant)
{
    // A payment for the source at the week's very start counts in the week.
    CPaymentRecord payment;
    payment.m_cType = 'P';
    payment.m_cReceived = 'R';
    payment.m_dAmount = 7.0;
    payment.m_dDate = D(2026, 3, 1);
    payment.m_nField12 = report_.radio;
    uint32_t code = 0;
    const uint32_t loc = db_->SaveItem(TABLE_PAYMENT, &payment, &code);
    db_->AddItemToIndex(TABLE_PAYMENT, new CPaymentRecord(std::move(payment)), loc, 0xFFFFFFFE);
    auto* grid = new CAdvertisingGrid(main_.get(), db_.get());
    grid_ = grid;
    EXPECT_EQ(Table(*grid)[3], "Radio | 0 | 0 | 0 | 7.00");
}

TEST_F(ReportGridTest, EnrollmentCountsWrittenCancelledAndRefunded)
{
    auto* grid = new CEnrollmentGrid(main_.get(), db_.get());
    grid_ = grid;
    EXPECT_EQ(grid->m_strTitle, "Weekly enrollment data: 03/01/2026 to 03/08/2026");
    // Written and cancelled in the week counts in both; the converted purchase is not cancelled.
    EXPECT_THAT(Table(*grid),
                ElementsAre("Type | Number of|interviews | Number of|contracts | Value of|contracts | "
                            "Number cancelled|or converted | Value cancelled|or converted | Actual|refunds",
                            "~Week" + kLabel7,
                            "Standard | 1 | 2 | 300.00 | 1 | 100.00 | 15.00",
                            "Other | 0 | 0 | 0.00 | 0 | 0.00 | 0.00",
                            "Totals | 1 | 2 | 300.00 | 1 | 100.00 | 15.00",
                            "~Year-to-date" + kLabel7,
                            "Standard | 9 | 11 | 1930.00 | 1 | 100.00 | 15.00",
                            "Other | 0 | 0 | 0.00 | 0 | 0.00 | 0.00",
                            "Totals | 9 | 11 | 1930.00 | 1 | 100.00 | 15.00",
                            "~Previous year" + kLabel7,
                            "Standard | 52 | 52 | 10400.00 | 0 | 0.00 | 0.00",
                            "Other | 0 | 2 | 180.00 | 0 | 0.00 | 0.00",
                            "Totals | 52 | 54 | 10580.00 | 0 | 0.00 | 0.00"));
}

TEST_F(ReportGridTest, FinanceModes)
{
    const std::string categoryHeader =
        "Category/Period | Current week|# items | Current week|Income | Current week|Refunds | Year-to-date|# items | "
        "Year-to-date|Income | Year-to-date|Refunds | Previous year|# items | Previous year|Income | "
        "Previous year|Refunds";
    const std::string zeros = " | 0 |     0.00 |     0.00 | 0 |     0.00 |     0.00 | 0 |     0.00 |     0.00";
    const struct {
        int mode;
        const char* name;
        std::vector<std::string> table;
    } cases[] = {
        {1, "All purchases",
         {categoryHeader,
          "Private lesson | 4 |   200.00 |     0.00 | 36 |  1800.00 |     0.00 | 208 | 10400.00 |     0.00",
          "Group class" + zeros,
          "Shoes | 0 |     0.00 |     0.00 | 0 |     0.00 |     0.00 | 1 |    80.00 |     0.00",
          "Contracts | 0 |     0.00 |     0.00 | 0 |     0.00 |     0.00 | 1 |   100.00 |     0.00",
          "Other" + zeros,
          "Total | 4 | 200.00 | 0.00 | 36 | 1800.00 | 0.00 | 210 | 10580.00 | 0.00"}},
        {2, "Payments received",
         {categoryHeader,
          "Private lesson | 1 |    50.00 |    15.00 | 9 |   450.00 |    15.00 | 52 |  2600.00 |     0.00",
          "Group class" + zeros, "Shoes" + zeros, "Contracts" + zeros,
          "Other | 1 |    30.50 |     0.00 | 1 |    30.50 |     0.00 | 0 |     0.00 |     0.00",
          "Total | 2 | 80.50 | 15.00 | 10 | 480.50 | 15.00 | 52 | 2600.00 | 0.00"}},
        {3, "Summary of payments received",
         {"Category/Period | Current week|Income | Current week|Refunds | Year-to-date|Income | "
          "Year-to-date|Refunds | Previous year|Income | Previous year|Refunds",
          "Dance items |    50.00 |    15.00 |   450.00 |    15.00 |  2600.00 |     0.00",
          "Merchandise |     0.00 |     0.00 |     0.00 |     0.00 |     0.00 |     0.00",
          "Other |    30.50 |     0.00 |    30.50 |     0.00 |     0.00 |     0.00",
          "Total |    80.50 |    15.00 |   480.50 |    15.00 |  2600.00 |     0.00"}},
        // The 5.00 paid out under an interview source is in no row.
        {4, "Payments made",
         {"Category/Period | Current week | Year-to-date | Previous year", "Rent |    20.00 |   180.00 |  1040.00",
          "Other |     0.00 |     0.00 |     0.00", "Total |    20.00 |   180.00 |  1040.00"}},
        {5, "Murchandise purchases",
         {categoryHeader, "Shoes" + zeros, "Total | 0 | 0.00 | 0.00 | 0 | 0.00 | 0.00 | 0 | 0.00 | 0.00"}},
    };
    for (const auto& c : cases) {
        auto* grid = new CFinanceGrid(main_.get(), db_.get(), c.mode);
        EXPECT_EQ(grid->GetWindowText(), "Weekly Finance schedule");
        EXPECT_EQ(grid->m_strTitle, std::string(c.name) + ": 03/01/2026 to 03/08/2026");
        EXPECT_THAT(Table(*grid), ElementsAreArray(c.table)) << c.mode;
        EXPECT_EQ(grid->m_cMode, c.mode == 3 ? 2 : c.mode);
        EXPECT_EQ(grid->m_bSummary, c.mode == 3 ? 1 : 0);
        grid->SendCommand(CReportGrid::kCmdExit);
        ui::test::DeleteDestroyedWindows();
    }
}

TEST_F(ReportGridTest, ProgramStatisticsColumnsPerPeriod)
{
    auto* grid = new CProgramStatisticsGrid(main_.get(), db_.get(), 'P');
    grid_ = grid;
    EXPECT_EQ(grid->GetWindowText(), "Weekly program statistics");
    EXPECT_EQ(grid->m_strTitle, "Weekly program statistics: 03/01/2026 to 03/08/2026");
    const std::string block = " | Activities | First interviews | Resulting sales | Renewal interviews | Resulting sales";
    const std::string none = " | ~ | 0 | 0 | (0) $0.00 | 0 | (0) $0.00";
    const std::string bronze = " | ~ | 79 | 1 | (1) $200.00 | 0 | (0) $0.00 | ~ | 79 | 9 | (9) $1800.00 | 0 | (0) $0.00"
                               " | ~ | 70 | 52 | (52) $10400.00 | 0 | (0) $0.00";
    EXPECT_THAT(Table(*grid), ElementsAre("Period/Program | Week" + block + " | Year-to-date" + block +
                                              " | Previous year" + block,
                                          "Bronze" + bronze, "Silver" + none + none + none, "Totals" + bronze));
}

TEST_F(ReportGridTest, ProgramStatisticsKinds)
{
    const struct {
        char kind;
        const char* frame;
        const char* name;
        const char* first;
    } cases[] = {
        {'D', "Weekly department statistics", "Weekly department statistics", "Ballroom"},
        {'C', "Weekly contract statistics", "Weekly contract type statistics", "standard"},
        // No category of the kind: the header and a zero total.
        {'Z', "Weekly program statistics", "Weekly program statistics", "Totals"},
    };
    for (const auto& c : cases) {
        auto* grid = new CProgramStatisticsGrid(main_.get(), db_.get(), c.kind);
        EXPECT_EQ(grid->GetWindowText(), c.frame);
        EXPECT_EQ(grid->m_strTitle, std::string(c.name) + ": 03/01/2026 to 03/08/2026");
        const std::vector<std::string> table = Table(*grid);
        ASSERT_GE(table.size(), 2u);
        EXPECT_EQ(table[1].substr(0, table[1].find(' ')), c.first);
        if (c.kind == 'Z') {
            EXPECT_EQ(table[1], "Totals | ~ | 0 | 0 | (0) $0.00 | 0 | (0) $0.00 | ~ | 0 | 0 | (0) $0.00 | 0 | (0) $0.00"
                                " | ~ | 0 | 0 | (0) $0.00 | 0 | (0) $0.00");
        }
        grid->SendCommand(CReportGrid::kCmdExit);
        ui::test::DeleteDestroyedWindows();
    }
}

TEST_F(ReportGridTest, DailyBalanceRunsFromZeroEachDay)
{
    auto* grid = new CDailyBalanceGrid(main_.get(), db_.get());
    grid_ = grid;
    EXPECT_EQ(grid->GetWindowText(), "Daily balance");
    EXPECT_EQ(grid->m_strTitle, "Daily balance: Wednesday March 04, 2026");
    const std::string header = "Receipt | Date | Transaction type | To/from | Amount | Status | Description | Balance";
    // The cancelled purchase's payment due today is not listed.
    EXPECT_THAT(Table(*grid),
                ElementsAre(header,
                            "Check 2001 | 03/04/2026 | Purchase list refund to | Student78, Pat | 15.00 | Applied | "
                            "Refund | -15.00",
                            "#777 | 03/04/2026 | Non-purchase list payment from | Walk-in | 30.50 | Paid | Class fee | "
                            "15.50",
                            " | 03/04/2026 | Payment by studio to | Supply Co | 5.00 | Paid | Tape | 10.50"));
    grid->SendCommand(CReportGrid::kCmdPrevious);
    EXPECT_EQ(grid->m_strTitle, "Daily balance: Tuesday March 03, 2026");
    EXPECT_THAT(Table(*grid), ElementsAre(header));
    grid->SendCommand(CReportGrid::kCmdPrevious);
    EXPECT_THAT(Table(*grid),
                ElementsAre(header,
                            "Check 101 | 03/02/2026 | Purchase list payment from | Student78, Pat | 50.00 | Received | "
                            " | 50.00",
                            " | 03/02/2026 | Payment by studio to | Daily News | 20.00 | Paid | Advert | 30.00"));
    grid->SendCommand(CReportGrid::kCmdCurrent);
    EXPECT_EQ(grid->m_strTitle, "Daily balance: Wednesday March 04, 2026");
    EXPECT_EQ(grid->m_Cells.GetRows(), 4);
}

// ---- Periods ----------------------------------------------------------------------------------

TEST_F(ReportGridTest, WeekStartOutsideOneToSevenIsSunday)
{
    for (int32_t weekday : {0, 8}) {
        db_->m_Parameters.SetInt(param::kStartDayOfWeek, weekday);
        auto* grid = new CEnrollmentGrid(main_.get(), db_.get());
        EXPECT_EQ(grid->m_dWeekStart, D(2026, 3, 1)) << weekday;
        grid->SendCommand(CReportGrid::kCmdExit);
        ui::test::DeleteDestroyedWindows();
    }
    db_->m_Parameters.SetInt(param::kStartDayOfWeek, 2);  // Monday
    auto* grid = new CEnrollmentGrid(main_.get(), db_.get());
    grid_ = grid;
    EXPECT_EQ(grid->m_strTitle, "Weekly enrollment data: 03/02/2026 to 03/09/2026");
}

TEST_F(ReportGridTest, StepsAcrossTheNewYearAndBack)
{
    auto* grid = new CFinanceGrid(main_.get(), db_.get(), 1);
    grid_ = grid;
    for (int i = 0; i < 9; ++i) grid->SendCommand(CReportGrid::kCmdPrevious);
    // The week of 28 December 2025: its year is 2025, the previous one 2024.
    EXPECT_EQ(grid->m_strTitle, "All purchases: 12/28/2025 to 01/04/2026");
    EXPECT_EQ(grid->m_dYearStart, D(2025, 1, 1));
    EXPECT_EQ(grid->m_dYearEnd, D(2026, 1, 4));
    EXPECT_EQ(grid->m_dPreviousStart, D(2024, 1, 1));
    EXPECT_EQ(grid->m_dPreviousEnd, D(2025, 1, 1));
    // The shoes of 31 December 2025 are in this week and in 2025's year to date.
    EXPECT_EQ(Table(*grid)[3], "Shoes | 1 |    80.00 |     0.00 | 1 |    80.00 |     0.00 | 0 |     0.00 |     0.00");

    grid->SendCommand(CReportGrid::kCmdNext);
    EXPECT_EQ(grid->m_strTitle, "All purchases: 01/04/2026 to 01/11/2026");
    EXPECT_EQ(grid->m_dYearStart, D(2026, 1, 1));
    EXPECT_EQ(grid->m_dPreviousStart, D(2025, 1, 1));
    EXPECT_EQ(grid->m_dPreviousEnd, D(2026, 1, 1));
    EXPECT_EQ(Table(*grid)[3], "Shoes | 0 |     0.00 |     0.00 | 0 |     0.00 |     0.00 | 1 |    80.00 |     0.00");

    grid->SendCommand(CReportGrid::kCmdCurrent);
    EXPECT_EQ(grid->m_strTitle, "All purchases: 03/01/2026 to 03/08/2026");
    EXPECT_EQ(grid->m_dWeekStart, D(2026, 3, 1));
    EXPECT_EQ(grid->m_dYearStart, D(2026, 1, 1));
    EXPECT_EQ(grid->m_dPreviousStart, D(2025, 1, 1));
}

TEST_F(ReportGridTest, NoCellKeepsTheWeekBefore)
{
    auto* grid = new CAdvertisingGrid(main_.get(), db_.get());
    grid_ = grid;
    const std::vector<std::string> before = Table(*grid);
    grid->SendCommand(CReportGrid::kCmdNext);  // a week without business, the table as large
    const std::vector<std::string> after = Table(*grid);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_EQ(after[2], "Newspaper | 0 | 0 | 0 | 0.00");
    EXPECT_EQ(after[4], "Other | 0 | 0 | 0 | 0.00");
    EXPECT_EQ(after[5], "Total | 0 | 0 | 0 | 0.00");
    EXPECT_EQ(after[1], "~Week" + kLabel5);
}

// ---- Life ---------------------------------------------------------------------------------------

TEST_F(ReportGridTest, HoldsTheRefreshWhileOpenBesideAReportAndHidesItsOpener)
{
    const uint32_t before = db_->m_nDisableRefreshCount;
    auto* first = new CActivityHourGrid(main_.get(), db_.get());
    EXPECT_FALSE(main_->IsWindowVisible());
    EXPECT_EQ(db_->m_nDisableRefreshCount, before + 1);
    auto* second = new CProgramStatisticsGrid(main_.get(), db_.get(), 'P');
    EXPECT_EQ(db_->m_nDisableRefreshCount, before + 2);
    {
        // A report made meanwhile holds it too, and lets go of its own hold only.
        CReports report(db_.get());
        EXPECT_EQ(db_->m_nDisableRefreshCount, before + 3);
    }
    EXPECT_EQ(db_->m_nDisableRefreshCount, before + 2);
    second->SendCommand(CReportGrid::kCmdExit);
    ui::test::DeleteDestroyedWindows();
    EXPECT_EQ(db_->m_nDisableRefreshCount, before + 1);
    first->SendCommand(CReportGrid::kCmdExit);
    ui::test::DeleteDestroyedWindows();
    EXPECT_EQ(db_->m_nDisableRefreshCount, before);
    EXPECT_TRUE(main_->IsWindowVisible());
}

TEST_F(ReportGridTest, MenusAreBarsOfCommands)
{
    const struct {
        int menu;
        std::vector<int> ids;
    } cases[] = {
        {114, {30055, 30061, 30062, 32850, 30056}}, {117, {30055, 30061, 30062, 32850, 30056}},
        {118, {30055, 30061, 30062, 32850, 30056}}, {119, {30055, 30061, 30062, 32850, 30056}},
        {120, {30055, 30061, 30062, 32850, 30056}}, {121, {30055, 30061, 30062, 32850, 30056, 57670}},
    };
    std::vector<CReportGrid*> grids = {new CFinanceGrid(main_.get(), db_.get(), 1),
                                       new CAdvertisingGrid(main_.get(), db_.get()),
                                       new CProgramStatisticsGrid(main_.get(), db_.get(), 'C'),
                                       new CEnrollmentGrid(main_.get(), db_.get()),
                                       new CActivityHourGrid(main_.get(), db_.get()),
                                       new CDailyBalanceGrid(main_.get(), db_.get())};
    for (const auto& c : cases) {
        const ui::MenuTemplate* menu = ui::FindMenuTemplate(c.menu);
        ASSERT_NE(menu, nullptr) << c.menu;
        std::vector<int> ids;
        for (const ui::MenuItem& item : menu->items) ids.push_back(item.id);
        EXPECT_EQ(ids, c.ids) << c.menu;
    }
    for (CReportGrid* g : grids) g->SendCommand(CReportGrid::kCmdExit);
    ui::test::DeleteDestroyedWindows();
}

// ---- Printing -----------------------------------------------------------------------------------

TEST_F(ReportGridTest, ProgramStatisticsPrintsPortraitColumnBlocks)
{
    auto* grid = new CProgramStatisticsGrid(main_.get(), db_.get(), 'P');
    grid_ = grid;
    ui::PageModel model;
    ui::test::SetPrintRecorder(&model);
    {
        ui::PrinterDC printer;
        ASSERT_TRUE(printer.Open("PDF file"));
        if (grid->m_bLandscape == 1) printer.SetLandscape(true);
        ASSERT_GT(printer.StartDoc("Grid print job"), 0);
        grid->PrintSections(printer, grid->m_bLandscape);
        printer.EndDoc();
    }
    ui::test::SetPrintRecorder(nullptr);
    // 19 columns do not fit one portrait page: blocks of columns, each led by column 0.
    ASSERT_GE(model.pages.size(), 2u);
    for (size_t p = 0; p < model.pages.size(); ++p) {
        EXPECT_LT(model.pages[p].width, model.pages[p].height) << p;
        EXPECT_NE(model.pages[p].Find("Period/Program"), nullptr) << p;
        EXPECT_NE(model.pages[p].Find("Bronze"), nullptr) << p;
    }
}

TEST_F(ReportGridTest, FinancePrintsToAPdfFile)
{
    auto* grid = new CFinanceGrid(main_.get(), db_.get(), 1);
    grid_ = grid;
    ui::test::SetPrintRecorder(nullptr);
    const std::string pdf = folder_ + "/finance.pdf";
    ui::test::Hooks& hooks = ui::test::GetHooks();
    hooks.scriptFileDialogs = true;
    hooks.fileDialogAnswers = {pdf};
    {
        ui::PrinterDC printer;
        ASSERT_TRUE(printer.Open("PDF file"));
        ASSERT_GT(printer.StartDoc("Grid print job"), 0);
        grid->PrintSections(printer, grid->m_bLandscape);
        printer.EndDoc();
    }
    hooks.scriptFileDialogs = false;
    const std::string text = pdf + ".txt";
    ASSERT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + text + "'").c_str()), 0);
    std::ifstream in(text, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    EXPECT_NE(all.str().find("All purchases: 03/01/2026 to 03/08/2026"), std::string::npos) << all.str();
    EXPECT_NE(all.str().find("Total"), std::string::npos);
    EXPECT_NE(all.str().find("10580.00"), std::string::npos);
}

TEST_F(ReportGridTest, PaintsTheTitleAndTheCells)
{
    auto* grid = new CEnrollmentGrid(main_.get(), db_.get());
    grid_ = grid;
    const ui::RecordedPage page = ui::test::RecordPaint(grid->GridView());
    EXPECT_NE(page.Find("Weekly enrollment data: 03/01/2026 to 03/08/2026"), nullptr);
    EXPECT_NE(page.Find("Year-to-date"), nullptr);
    EXPECT_NE(page.Find("1930.00"), nullptr);
    // The label rows are filled cyan.
    bool cyan = false;
    for (const ui::RecordedRect& r : page.rects)
        if (r.brush.colour == CReportGrid::kCyan) cyan = true;
    EXPECT_TRUE(cyan);
}
