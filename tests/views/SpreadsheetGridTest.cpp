// The spreadsheet grid on a delimited file: the separator it picks, its cells, the right-click
// cell entry, saving with each separator, help and printing.

#include "tests/views/GridWindowFixture.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "views/SpreadsheetGrid.h"
#include "views/ViewFrame.h"
#include "platform/ui/PrinterDC.h"
#include "widgets/DialogPromptForString.h"

namespace {

class SpreadsheetGridTest : public GridWindowTest<CSpreadsheetGrid> {
protected:
    std::string WriteFile(const std::string& name, const std::string& text)
    {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    CSpreadsheetGrid& Open(const std::string& path)
    {
        grid_ = new CSpreadsheetGrid(main_.get(), db_.get(), path);
        return *grid_;
    }
    std::vector<std::vector<std::string>> Cells() const
    {
        std::vector<std::vector<std::string>> rows;
        for (int r = 0; r < grid_->m_Cells.GetRows(); ++r) {
            rows.emplace_back();
            for (int c = 0; c < grid_->m_Cells.GetColumns(); ++c) rows.back().push_back(grid_->m_Cells.GetText(r, c));
        }
        return rows;
    }
    void Close()
    {
        grid_->SendCommand(30055);
        grid_ = nullptr;
        ui::test::DeleteDestroyedWindows();
    }
    // The client point in the middle of grid cell (row, column), counting from 1.
    std::pair<int, int> PointOf(int row, int column) const
    {
        return {static_cast<int>(grid_->m_aColumnEdges[column - 1] + grid_->m_aColumnEdges[column]) / 2,
                static_cast<int>(grid_->m_aRowEdges[row - 1] + grid_->m_aRowEdges[row]) / 2};
    }
};

using Rows = std::vector<std::vector<std::string>>;

TEST_F(SpreadsheetGridTest, TheFirstLinePicksTheSeparatorAndShortRowsLeaveEmptyCells)
{
    struct Row {
        std::string text;
        Rows cells;
        std::vector<std::string> messages;
    };
    const Row rows[] = {
        {"a\tb,c\r\nd\te\tf\r\n", {{"a", "b,c", ""}, {"d", "e", "f"}}, {}},
        {"a;b\r\nc\r\n", {{"a", "b"}, {"c", ""}}, {}},
        {"a,b,c\r\nd,e\r\n", {{"a", "b", "c"}, {"d", "e", ""}}, {}},
        {"a|b\nc|d|e\n", {{"a", "b", ""}, {"c", "d", "e"}}, {}},
        {"!ENDTRNS\t\t\r\n", {{"!ENDTRNS", ""}}, {}},
        {"lonely\r\na\tb\r\n", {}, {"Improperly formatted records."}},
    };
    int at = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const std::string path = WriteFile("sheet" + std::to_string(at++) + ".iif", row.text);
        ui::test::GetHooks().messageBoxTexts.clear();
        if (!row.messages.empty()) dqtest::QueueAnswers({IDOK});
        CSpreadsheetGrid& grid = Open(path);
        EXPECT_EQ(Cells(), row.cells);
        EXPECT_EQ(ui::test::GetHooks().messageBoxTexts, row.messages);
        EXPECT_EQ(grid.GetWindowText(), "IIF File");
        EXPECT_EQ(grid.m_strTitle, path);
        EXPECT_TRUE(grid.m_nTitleFontSize == 120 && grid.m_nCellFontSize == 90 && grid.m_bLandscape == 1 &&
                    grid.m_bRepeatLabelRow == 0 && grid.m_bRepeatLabelColumn == 0);
        Close();
    }
}

TEST_F(SpreadsheetGridTest, EachColumnTakesItsWidestLineAndEachRowItsTallestCell)
{
    // Repeated texts, cells of several lines ("|"), an empty cell and a lone "|".
    CSpreadsheetGrid& grid =
        Open(WriteFile("a.iif", "Ann|Lee\tx\tWide wide wide\r\nAnn|Lee|Street\tAnn\r\n\t|\tx\r\nAnn\tAnn|Lee\tx\r\n"));
    grid.DrawGrid();
    ui::DC dc;
    const int margin = 2;
    std::vector<unsigned> widths(static_cast<size_t>(grid.m_Cells.GetColumns()), 0);
    std::vector<unsigned> heights(static_cast<size_t>(grid.m_Cells.GetRows()), 0);
    for (int r = 0; r < grid.m_Cells.GetRows(); ++r) {
        for (int c = 0; c < grid.m_Cells.GetColumns(); ++c) {
            std::vector<std::string> lines;
            std::stringstream text(grid.m_Cells.GetText(r, c));
            for (std::string line; std::getline(text, line, '|');) lines.push_back(line);
            if (lines.empty()) lines.emplace_back();
            unsigned width = 0, height = 0;
            for (const std::string& line : lines) {
                const ui::DCSize extent = grid.MeasureGridText(dc, line, grid.m_nCellFontSize);
                width = std::max(width, static_cast<unsigned>(extent.cx));
                height += static_cast<unsigned>(extent.cy);
            }
            widths[static_cast<size_t>(c)] = std::max(widths[static_cast<size_t>(c)], width + 4 * margin);
            heights[static_cast<size_t>(r)] = std::max(heights[static_cast<size_t>(r)], height + 4 * margin);
        }
    }
    EXPECT_EQ(grid.m_aColumnWidths, widths);
    EXPECT_EQ(grid.m_aRowHeights, heights);
    EXPECT_GT(heights[1], heights[0]) << "three lines stand taller than two";
}

TEST_F(SpreadsheetGridTest, TheGridHoldsTheRefreshAndHidesTheMainWindowWhileItIsUp)
{
    const uint32_t before = db_->m_nDisableRefreshCount;
    Open(WriteFile("a.iif", "a\tb\r\n"));
    EXPECT_EQ(db_->m_nDisableRefreshCount, before + 1);
    EXPECT_FALSE(main_->IsWindowVisible());
    Close();
    EXPECT_EQ(db_->m_nDisableRefreshCount, before);
    EXPECT_TRUE(main_->IsWindowVisible());
}

TEST_F(SpreadsheetGridTest, ARightClickOnACellAsksForItsText)
{
    CSpreadsheetGrid& grid = Open(WriteFile("a.iif", "a\tb\r\nc\td\r\n"));
    ui::test::Hooks& h = ui::test::GetHooks();
    std::string caption, initial;
    h.dialogScripts.push_back([&](ui::Dialog& d) {
        caption = d.GetWindowText();
        auto& prompt = static_cast<CDialogPromptForString&>(d);
        EXPECT_EQ(prompt.m_nMaxLength, 60);
        initial = prompt.m_strText;
        ui::test::Click(d, ui::IDCANCEL);
    });
    auto [x, y] = PointOf(2, 1);
    grid.OnGridRButtonDown(x, y);
    EXPECT_EQ(caption, "Enter text for cell row 2, column 1");
    EXPECT_EQ(initial, "c");
    EXPECT_EQ(Cells(), (Rows{{"a", "b"}, {"c", "d"}})) << "cancelled: nothing changes";
    h.dialogScripts.push_back([](ui::Dialog& d) {
        auto& prompt = static_cast<CDialogPromptForString&>(d);
        prompt.m_strText = "new";
        prompt.EndDialog(ui::IDOK);
    });
    std::tie(x, y) = PointOf(1, 2);
    grid.OnGridRButtonDown(x, y);
    EXPECT_EQ(Cells(), (Rows{{"a", "new"}, {"c", "d"}}));
    EXPECT_EQ(grid.m_Cells.GetColour(0, 1), CTextArray2D::WHITE);
    // Outside the cells: nothing is asked.
    grid.OnGridRButtonDown(1, 1);
    grid.OnGridRButtonDown(static_cast<int>(grid.m_aColumnEdges.back()) + 5, y);
    EXPECT_TRUE(h.failures.empty());
}

TEST_F(SpreadsheetGridTest, SavingWritesEveryRowWithTheChosenSeparator)
{
    const std::string source = WriteFile("a.iif", "a\tb\tc\r\nd\r\n");
    CSpreadsheetGrid& grid = Open(source);
    ui::test::Hooks& h = ui::test::GetHooks();
    h.scriptFileDialogs = true;
    struct Row {
        int command;
        std::string text;
    };
    for (const Row& row : {Row{32775, "a\tb\tc\r\nd\t\t\r\n"}, Row{32776, "a;b;c\r\nd;;\r\n"},
                           Row{32777, "a|b|c\r\nd||\r\n"}, Row{32932, "a,b,c\r\nd,,\r\n"}}) {
        const std::string target = folder_ + "/saved" + std::to_string(row.command) + ".txt";
        h.fileDialogAnswers.push_back(target);
        grid.SendCommand(row.command);
        EXPECT_EQ(Read(target), row.text) << row.command;
    }
    EXPECT_EQ(h.fileDialogRequests.back().initialPath, source);
    h.fileDialogAnswers.push_back("");
    grid.SendCommand(32775);  // cancelled
    Close();
    // One column: no separators at all.
    CSpreadsheetGrid& single = Open(WriteFile("b.iif", "a\tb\r\n"));
    single.m_Cells.SetSize(2, 1);
    single.m_Cells.SetAt(0, 0, "a", CTextArray2D::WHITE);
    single.m_Cells.SetAt(1, 0, "", CTextArray2D::WHITE);
    const std::string target = folder_ + "/single.txt";
    h.fileDialogAnswers.push_back(target);
    single.SendCommand(32776);
    EXPECT_EQ(Read(target), "a\r\n\r\n");
}

TEST_F(SpreadsheetGridTest, PrintedToAPdfFileTheCellsCanBeRead)
{
    // A main frame whose printer settings name "PDF file".
    struct MainFrame : ui::FrameWindow, IViewFrame {
        void ShowLineNumber(uint32_t) override {}
        void SetViewModeText(const std::string&) override {}
        void ReturnToMainView() override {}
        stPrinterDef& GetPrinterDef() override { return printer; }
        void AddRecordWindow(ui::Window*) override {}
        void RemoveRecordWindow(ui::Window*) override {}
        stPrinterDef printer;
    } frame;
    frame.printer.sDevice = "PDF file";
    ASSERT_TRUE(frame.CreateFrame("main", {0, 0, 900, 700}));
    frame.ShowWindow(true);
    grid_ = new CSpreadsheetGrid(&frame, db_.get(), WriteFile("a.iif", "!CUST\tNAME\r\nCUST\tZelda Quill\r\n"));
    const std::string pdf = folder_ + "/sheet.pdf";
    ui::test::Hooks& h = ui::test::GetHooks();
    h.scriptFileDialogs = true;
    h.fileDialogAnswers.push_back(pdf);
    h.dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    ui::test::SetPrintRecorder(nullptr);
    grid_->SendCommand(30056);
    Close();
    ASSERT_TRUE(std::filesystem::exists(pdf));
    const std::string text = pdf + ".txt";
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + text + "'").c_str()), 0);
    const std::string content = Read(text);
    EXPECT_NE(content.find("Zelda Quill"), std::string::npos) << content;
    EXPECT_NE(content.find("!CUST"), std::string::npos) << content;
}

}  // namespace
