// The grid frame: cell sizes, layout and hit tests, scrolling, painting and printing in blocks.
// Sizes come from the recording context's fixed metrics: Times New Roman at 10 pt on a 96 dpi
// screen has an em of 13 pixels, a lower-case letter 6 pixels wide.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/Application.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/PageModel.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/RecordingDC.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/View.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"
#include "views/GridFrame.h"
#include "views/ViewFrame.h"

namespace {

constexpr uint32_t kWhite = 0xFFFFFF;

class GridFrameTest : public ::testing::Test {
protected:
    void SetUp() override { dqtest::StartScriptedUi(); }
    void TearDown() override
    {
        Close();
        dqtest::ExpectScriptsUsed();
        ui::test::ResetHooks();
    }
    // A grid window of the given client size with the cells.
    CGridFrame& Make(const std::vector<std::vector<std::string>>& cells, int width = 600, int height = 400)
    {
        Close();
        grid_ = new CGridFrame;
        EXPECT_TRUE(grid_->CreateGridFrame("Grid", 0));
        grid_->MoveWindow({0, 0, width, height});
        Fill(cells);
        return *grid_;
    }
    void Fill(const std::vector<std::vector<std::string>>& cells)
    {
        grid_->m_Cells.SetSize(static_cast<int>(cells.size()), cells.empty() ? 0 : static_cast<int>(cells[0].size()));
        for (size_t r = 0; r < cells.size(); ++r)
            for (size_t c = 0; c < cells[r].size(); ++c)
                grid_->m_Cells.SetAt(static_cast<int>(r), static_cast<int>(c), cells[r][c], kWhite);
    }
    // Lays out and paints as the window does, on the recording context.
    ui::RecordedPage Paint() { return ui::test::RecordPaint(grid_->GridView()); }
    // Destroys the grid's window; the grid deletes itself once the event loop runs.
    void Close()
    {
        if (grid_) grid_->DestroyWindow();
        grid_ = nullptr;
        ui::test::DeleteDestroyedWindows();
    }

    CGridFrame* grid_ = nullptr;  // deletes itself
};

TEST_F(GridFrameTest, CellSizesTakeTheWidestLineTheSumOfLinesAndTheMaximums)
{
    CGridFrame& grid = Make({{"ab", "x"}, {"abcd|ab|a", "yy"}});
    ui::RecordingDC dc(600, 400, 96);
    std::vector<unsigned> widths, heights;
    grid.GetCellPixelSizes(dc, 2, widths, heights);
    // Column 0: "abcd" 24 px + 4 x 2; row 1: three lines of 13 px + 8.
    EXPECT_EQ(widths, (std::vector<unsigned>{32, 20}));
    EXPECT_EQ(heights, (std::vector<unsigned>{21, 47}));

    struct Case {
        float maximum;
        unsigned width;
    };
    for (const Case& c : {Case{1.0f, 32}, Case{0.25f, 24}, Case{0.0f, 0}}) {
        grid.m_aColumnMaxWidths = {c.maximum};
        grid.GetCellPixelSizes(dc, 2, widths, heights);
        EXPECT_EQ(widths[0], c.width) << c.maximum;
        EXPECT_EQ(widths[1], 20u) << "no maximum beyond the array";
    }
    // A one-inch maximum on a 96 dpi screen is 96 pixels.
    Fill({{std::string(40, 'a')}});
    grid.m_aColumnMaxWidths = {1.0f};
    grid.GetCellPixelSizes(dc, 2, widths, heights);
    EXPECT_EQ(widths[0], 96u);
}

TEST_F(GridFrameTest, HitTestsFindTheCellRightOfAndBelowThePoint)
{
    CGridFrame& grid = Make({{"ab", "cd"}, {"ef", "gh"}});
    Paint();
    // The table starts a twentieth of the client width in and a tenth down; columns are 20
    // wide, rows 21 high.
    const ui::DCRect client = grid.GridView().GetClientRect();
    const int left = client.Width() / 20, top = client.Height() / 10;
    ASSERT_EQ(grid.m_aColumnEdges, (std::vector<unsigned>{unsigned(left), unsigned(left + 20), unsigned(left + 40)}));
    ASSERT_EQ(grid.m_aRowEdges, (std::vector<unsigned>{unsigned(top), unsigned(top + 21), unsigned(top + 42)}));
    struct Case {
        int x, y;
        int column, row, line;
    };
    const Case cases[] = {
        {-5, -5, 0, 0, 0},    // left of and above the table
        {0, 0, 1, 1, 0},      // exactly on the first edges: the first cell (column and row 1)
        {19, 20, 1, 1, 1},    // its last pixel, in its second text line
        {20, 21, 2, 2, 0},    // on the next edges: the next cell
        {39, 41, 2, 2, 1},
        {40, 42, -1, -1, 0},  // past the table
    };
    for (const Case& c : cases) {
        grid.CellFromPoint(0, left + c.x, top + c.y);
        EXPECT_EQ(grid.m_nHitColumn, c.column) << c.x << "," << c.y;
        EXPECT_EQ(grid.m_nHitRow, c.row) << c.x << "," << c.y;
        EXPECT_EQ(grid.m_nHitLine, c.line) << c.x << "," << c.y;
    }
    grid.m_nHScroll = 20;
    grid.CellFromPoint(0, left, top + 5);
    EXPECT_EQ(grid.m_nHitColumn, 2) << "scrolled, the same point lies further in";
}

TEST_F(GridFrameTest, BarsShowWhenTheTableOutgrowsTheWindowAndStay)
{
    CGridFrame& grid = Make({{"a"}}, 300, 200);
    Paint();
    EXPECT_FALSE(grid.GridView().IsScrollBarVisible(ui::SB_VERT));
    EXPECT_FALSE(grid.GridView().IsScrollBarVisible(ui::SB_HORZ));

    std::vector<std::vector<std::string>> tall(30, std::vector<std::string>{"a"});
    Fill(tall);
    Paint();
    EXPECT_TRUE(grid.GridView().IsScrollBarVisible(ui::SB_VERT));
    EXPECT_FALSE(grid.GridView().IsScrollBarVisible(ui::SB_HORZ));
    const int total = grid.m_nTotalHeight;

    Fill({{"a"}});
    Paint();
    EXPECT_TRUE(grid.GridView().IsScrollBarVisible(ui::SB_VERT)) << "a bar is never hidden again";
    EXPECT_EQ(grid.m_nTotalHeight, total) << "the totals never shrink";
}

TEST_F(GridFrameTest, ScrollRequestsMoveWithinTheTotals)
{
    CGridFrame& grid = Make({{"a"}}, 300, 200);
    grid.m_nTotalHeight = 500;
    struct Case {
        int code, pos;
        int expected;
    };
    const Case steps[] = {
        {ui::SB_LINEDOWN, 0, 10}, {ui::SB_PAGEDOWN, 0, 110}, {ui::SB_LINEUP, 0, 100},
        {ui::SB_THUMBTRACK, 260, 260}, {ui::SB_BOTTOM, 0, 500}, {ui::SB_PAGEDOWN, 0, 500},
        {ui::SB_TOP, 0, 0}, {ui::SB_PAGEUP, 0, 0},
    };
    for (const Case& s : steps) {
        grid.OnGridVScroll(s.code, s.pos);
        EXPECT_EQ(grid.m_nVScroll, s.expected) << s.code;
    }
}

TEST_F(GridFrameTest, PaintDrawsRulesTitleAndEveryLineOfACell)
{
    CGridFrame& grid = Make({{"Time", "Mon"}, {"10:00AM", "Waltz|Tango|"}});
    grid.m_Cells.SetAt(1, 1, "Waltz|Tango|", 0x00FFFF);
    grid.m_aFootnotes = {"Note one"};
    grid.m_strTitle = "Grid";
    const ui::RecordedPage page = Paint();
    std::vector<std::string> texts;
    for (const ui::RecordedText& t : page.texts) texts.push_back(t.text);
    EXPECT_EQ(texts, (std::vector<std::string>{"Grid", "Time", "Mon", "10:00AM", "Waltz", "Tango", "Note one"}));
    const ui::RecordedText* title = page.Find("Grid");
    ASSERT_NE(title, nullptr);
    EXPECT_TRUE(title->font.bold);
    const ui::RecordedText* waltz = page.Find("Waltz");
    const ui::RecordedText* tango = page.Find("Tango");
    ASSERT_TRUE(waltz && tango);
    EXPECT_EQ(tango->y - waltz->y, 13) << "the next line lower by the line's height";
    EXPECT_EQ(grid.m_nLineHeight, 13);
    // Three vertical and three horizontal rules of pen width 2.
    ASSERT_EQ(page.lines.size(), 6u);
    for (const ui::RecordedLine& l : page.lines) EXPECT_EQ(l.pen.width, 2);
    bool filled = false;
    for (const ui::RecordedRect& r : page.rects) filled = filled || r.brush.colour == 0x00FFFF;
    EXPECT_TRUE(filled);
}

TEST_F(GridFrameTest, WideTablesPrintInBlocksRepeatingTheLabelColumn)
{
    std::vector<std::vector<std::string>> cells(2, std::vector<std::string>(12));
    for (int c = 0; c < 12; ++c) {
        cells[0][c] = "Head" + std::to_string(c);
        cells[1][c] = std::string(30, 'w');  // wide enough that the columns fill several pages
    }
    for (int repeat : {1, 0}) {
        SCOPED_TRACE(repeat);
        CGridFrame& grid = Make(cells);
        grid.m_bRepeatLabelColumn = repeat;
        ui::PageModel model;
        ui::test::SetPrintRecorder(&model);
        {
            ui::PrinterDC printer;
            ASSERT_TRUE(printer.Open("PDF file"));
            ASSERT_GT(printer.StartDoc("Grid print job"), 0);
            grid.PrintSections(printer, 0);
            printer.EndDoc();
        }
        ui::test::SetPrintRecorder(nullptr);
        ASSERT_GE(model.pages.size(), 2u);
        for (size_t p = 0; p < model.pages.size(); ++p) {
            const bool hasLabel = model.pages[p].Find("Head0") != nullptr;
            EXPECT_EQ(hasLabel, p == 0 || repeat == 1) << "page " << p;
            for (const ui::RecordedLine& l : model.pages[p].lines) EXPECT_EQ(l.pen.width, 6);
        }
        Close();
    }
}

// A grid hides the main window and shows it again as it was; it deletes itself only once the
// handler that closed it has returned.
TEST_F(GridFrameTest, ClosingShowsTheMainWindowAsItWasAndDeletesTheGridLater)
{
    struct Watched : CGridFrame {
        explicit Watched(bool& gone) : gone_(gone) {}
        ~Watched() override { gone_ = true; }
        bool& gone_;
    };
    // The main frame keeps the windows that hold records, to close them before the database.
    struct MainFrame : ui::FrameWindow, IViewFrame {
        void ShowLineNumber(uint32_t) override {}
        void SetViewModeText(const std::string&) override {}
        void ReturnToMainView() override {}
        stPrinterDef& GetPrinterDef() override { return printer; }
        void AddRecordWindow(ui::Window* w) override { records.push_back(w); }
        void RemoveRecordWindow(ui::Window* w) override { std::erase(records, w); }
        stPrinterDef printer;
        std::vector<ui::Window*> records;
    } main;
    ASSERT_TRUE(main.CreateFrame("main", {0, 0, 640, 480}));
    ui::Application::Instance()->SetMainWindow(&main);
    for (bool maximised : {false, true}) {
        SCOPED_TRACE(maximised);
        if (maximised)
            main.ShowMaximized();
        else
            main.ShowWindow(true);
        bool gone = false;
        auto* grid = new Watched(gone);
        ASSERT_TRUE(grid->CreateGridFrame("Grid", 0));
        EXPECT_FALSE(main.IsWindowVisible());
        EXPECT_EQ(grid->IsZoomed(), maximised);
        EXPECT_EQ(main.records, std::vector<ui::Window*>{grid});
        if (maximised)
            main.records.front()->OnClose();  // the database closes on notice
        else
            ui::test::CloseBox(*grid);
        EXPECT_TRUE(main.records.empty());
        EXPECT_FALSE(gone) << "not deleted inside its own handler";
        EXPECT_TRUE(main.IsWindowVisible());
        EXPECT_EQ(main.IsZoomed(), maximised);
        ui::test::DeleteDestroyedWindows();
        EXPECT_TRUE(gone);
    }
    ui::Application::Instance()->SetMainWindow(nullptr);
}

TEST_F(GridFrameTest, DraggingShowsTheFourHeadedArrow)
{
    CGridFrame& grid = Make({{"a", "b"}});
    grid.DrawGrid();
    grid.OnGridMouseMove(300, 200);
    EXPECT_EQ(grid.GridView().GetCursorShape(), ui::CursorShape::Arrow);
    grid.m_bDragMode = 1;
    grid.OnGridMouseMove(300, 200);
    EXPECT_EQ(grid.GridView().GetCursorShape(), ui::CursorShape::SizeAll);
}

TEST_F(GridFrameTest, PrintGridAsksForTheSetupAndPrintsOnTheChosenPrinter)
{
    CGridFrame& grid = Make({{"a", "b"}});
    grid.m_bLandscape = 1;
    ui::PageModel model;
    ui::test::SetPrintRecorder(&model);
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    grid.PrintGrid();
    EXPECT_TRUE(model.pages.empty()) << "cancelled: nothing printed";
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    grid.PrintGrid();
    ui::test::SetPrintRecorder(nullptr);
    ASSERT_EQ(model.pages.size(), 1u);
    EXPECT_EQ(model.document, "Grid print job");
    EXPECT_TRUE(model.pages[0].landscape);
    EXPECT_NE(model.pages[0].Find("a"), nullptr);
}

// The text of a PDF as pdftotext reads it, one entry per page.
std::vector<std::string> PdfPages(const std::string& pdf)
{
    const std::string text = pdf + ".txt";
    const std::string command = "pdftotext -layout '" + pdf + "' '" + text + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(text, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    std::vector<std::string> pages(1);
    for (char c : all.str()) {
        if (c == '\f') pages.emplace_back();
        else pages.back() += c;
    }
    if (pages.back().find_first_not_of(" \r\n") == std::string::npos) pages.pop_back();
    return pages;
}

// Printed on "PDF file" from the print setup: the title, the cells, and the label column again
// on the second page of a table too wide for one.
TEST_F(GridFrameTest, AGridPrintedToAPdfFileReadsBackPageByPage)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    struct MainFrame : ui::FrameWindow, IViewFrame {
        void ShowLineNumber(uint32_t) override {}
        void SetViewModeText(const std::string&) override {}
        void ReturnToMainView() override {}
        stPrinterDef& GetPrinterDef() override { return printer; }
        void AddRecordWindow(ui::Window*) override {}
        void RemoveRecordWindow(ui::Window*) override {}
        stPrinterDef printer;
    } main;
    ASSERT_TRUE(main.CreateFrame("main", {0, 0, 640, 480}));
    main.ShowWindow(true);
    main.printer.sDevice = "PDF file";
    main.printer.nCopies = 1;
    const std::string folder = dqtest::MakeTempFolder("dq_gridpdf_");
    ASSERT_FALSE(folder.empty());
    const std::string target = folder + "/grid.pdf";
    ui::test::SetFileDialogHook([&](const ui::FileDialog&) -> std::optional<std::string> { return target; });

    Close();
    grid_ = new CGridFrame;
    ASSERT_TRUE(grid_->CreateGridFrame("Grid", 0, &main));
    std::vector<std::vector<std::string>> cells(2, std::vector<std::string>(10));
    for (int c = 0; c < 10; ++c) {
        cells[0][c] = "Head" + std::to_string(c);
        cells[1][c] = "Cell" + std::to_string(c) + std::string(28, 'w');
    }
    Fill(cells);
    grid_->m_strTitle = "Weekly Schedule";
    grid_->m_bRepeatLabelColumn = 1;
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    grid_->PrintGrid();
    ui::test::SetFileDialogHook(nullptr);

    ASSERT_TRUE(std::filesystem::exists(target));
    const std::vector<std::string> pages = PdfPages(target);
    ASSERT_GE(pages.size(), 2u);
    EXPECT_NE(pages[0].find("Weekly Schedule"), std::string::npos);
    EXPECT_NE(pages[0].find("Head1"), std::string::npos);
    EXPECT_NE(pages[0].find("Cell1"), std::string::npos);
    EXPECT_EQ(pages[0].find("Head9"), std::string::npos);
    EXPECT_NE(pages.back().find("Head9"), std::string::npos);
    EXPECT_NE(pages.back().find("Head0"), std::string::npos) << "the label column again";
    Close();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
}

}  // namespace
