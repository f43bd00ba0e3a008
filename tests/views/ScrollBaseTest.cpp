// The scrolling line view's base: scrolling and highlight by keys and mouse, shrinking lists,
// the phrase search, and dragging a header separator into the format record.

#include "ViewsFixture.h"

#include "platform/host/Format.h"

#include <set>

namespace {

// A view of plain lines in one format of its own (or the database's person format).
class CTestLines : public CScrollBase {
public:
    CTestLines()
    {
        m_bHeader = 1;
        own_.nCode = -1;
        own_.SetFace("Times New Roman");
        own_.nSize = 100;
        own_.aTabStops = {1.0, 2.5};
        format_ = &own_;
    }
    void SetLines(int n)
    {
        lines.clear();
        for (int i = 0; i < n; ++i) lines.push_back(Format("Line %02d\tcol\tx", i));
    }
    void UseFormat(stFormatRecord* format) { format_ = format; }

    void SetUpLines() override
    {
        m_nMaxLines = static_cast<int>(lines.size());
        m_nHorzMax = 500;
        m_bLinesReady = 1;
    }
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override
    {
        if (index == -1) {
            status = 'H';
            text = "Name\tPhone\tEmail";
            return format_;
        }
        status = '-';
        mark = marked.count(index) ? 'M' : 0;
        text = index >= 0 && index < static_cast<int>(lines.size()) ? lines[static_cast<size_t>(index)] : "";
        return format_;
    }
    void OnChooseLine() override { chosen.push_back(m_nHiLiteLine); }
    void EditHighlighted() override { edited.push_back(m_nHiLiteLine); }
    void OnOtherKey(int vk) override { others.push_back(vk); }
    void OnFindDone() override { ++findsDone; }

    std::vector<std::string> lines;
    std::set<int> marked;
    std::vector<int> chosen, edited, others;
    int findsDone = 0;

private:
    stFormatRecord own_;
    stFormatRecord* format_;
};

struct ScrollCase {
    const char* name;
    int top, hilite;
    int vk;
    bool ctrl;
    // Expected, as offsets: 'L' counts the lines in the window, 'E' the last line (49).
    int expectTop, expectHilite;
};

}  // namespace

class ScrollBaseTest : public ViewsTest {};

TEST_F(ScrollBaseTest, KeysMoveTopAndHighlightWithinTheList)
{
    CTestLines view;
    view.SetLines(50);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    const int L = view.m_nLinesInWindow;
    ASSERT_GT(L, 3);
    ASSERT_LT(L, 40);
    const ScrollCase cases[] = {
        {"down", 0, 0, ui::VK_DOWN, false, 0, 1},
        {"up at line 0", 0, 0, ui::VK_UP, false, 0, 0},
        {"down at window bottom scrolls", 0, L - 1, ui::VK_DOWN, false, 1, L},
        {"up at top line scrolls", 5, 5, ui::VK_UP, false, 4, 4},
        {"up inside the window", 5, 7, ui::VK_UP, false, 5, 6},
        {"page down", 0, 0, ui::VK_NEXT, false, L - 1, L - 1},
        {"page up near the top clamps", 2, 3, ui::VK_PRIOR, false, 0, 0},
        {"ctrl end", 0, 0, ui::VK_END, true, 50 - L, 49},
        {"ctrl home", 10, 12, ui::VK_HOME, true, 0, 0},
        {"down at the last line", 50 - L, 49, ui::VK_DOWN, false, 50 - L, 49},
    };
    for (const ScrollCase& c : cases) {
        SCOPED_TRACE(c.name);
        view.m_nTopLine = c.top;
        view.m_nHiLiteLine = c.hilite;
        Paint(view);
        view.HandleKey(c.vk, c.ctrl);
        EXPECT_EQ(view.m_nTopLine, c.expectTop);
        EXPECT_EQ(view.m_nHiLiteLine, c.expectHilite);
    }
}

TEST_F(ScrollBaseTest, HorizontalKeysStayWithinZeroAndTheMaximum)
{
    CTestLines view;
    view.SetLines(5);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    view.HandleKey(ui::VK_LEFT, false);
    EXPECT_EQ(view.m_nHorzOffset, 0);
    view.HandleKey(ui::VK_RIGHT, false);
    EXPECT_EQ(view.m_nHorzOffset, 5);
    view.HandleKey(ui::VK_END, false);
    EXPECT_EQ(view.m_nHorzOffset, 500);
    view.HandleKey(ui::VK_HOME, false);
    EXPECT_EQ(view.m_nHorzOffset, 0);
}

TEST_F(ScrollBaseTest, FewerLinesThanFitShowOnlyTheHorizontalBar)
{
    CTestLines view;
    view.SetLines(3);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    EXPECT_EQ(view.m_nLinesInWindow, 3);
    EXPECT_FALSE(view.IsScrollBarVisible(ui::SB_VERT));
    EXPECT_TRUE(view.IsScrollBarVisible(ui::SB_HORZ));
    view.m_nHiLiteLine = 2;
    Paint(view);
    view.HandleKey(ui::VK_NEXT, false);
    view.HandleKey(ui::VK_DOWN, false);
    EXPECT_EQ(view.m_nTopLine, 0);
    EXPECT_EQ(view.m_nHiLiteLine, 2);
}

TEST_F(ScrollBaseTest, EmptyListShowsNoScrollBar)
{
    CTestLines view;
    view.SetLineViewDatabase(db_.get());
    Show(view);
    EXPECT_FALSE(view.IsScrollBarVisible(ui::SB_VERT));
    EXPECT_FALSE(view.IsScrollBarVisible(ui::SB_HORZ));
    view.SetLines(2);
    view.RefreshLineView(1);
    Paint(view);
    EXPECT_TRUE(view.IsScrollBarVisible(ui::SB_HORZ));
    view.SetLines(0);
    view.RefreshLineView(1);
    Paint(view);
    EXPECT_FALSE(view.IsScrollBarVisible(ui::SB_HORZ)) << "emptied again";
}

TEST_F(ScrollBaseTest, HeaderTextStandsClearInsideItsBand)
{
    CTestLines view;
    view.SetLines(2);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    const ui::RecordedPage page = Paint(view);
    const ui::RecordedText* header = page.Find("Name");
    const ui::RecordedText* first = page.Find("Line 00");
    ASSERT_NE(header, nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->y, view.m_nHeaderHeight);
    EXPECT_GT(header->y, 0) << "room above the header's text";
    // The text's own height (that of a line) fits with room below it too.
    ASSERT_GE(view.m_aPageLines.size(), 2u);
    EXPECT_GT(view.m_nHeaderHeight, header->y + view.m_aPageLines[1].nHeight);
}

TEST_F(ScrollBaseTest, PaintColoursTheHighlightAndMarkedLines)
{
    CTestLines view;
    view.SetLines(5);
    view.marked = {1, 2};
    view.SetLineViewDatabase(db_.get());
    Show(view);
    view.m_nHiLiteLine = 2;
    const ui::RecordedPage page = Paint(view);
    auto colourOf = [&](const std::string& text) {
        const ui::RecordedText* t = page.Find(text);
        return t ? t->colour : 0xFFFFFFFFu;
    };
    EXPECT_EQ(colourOf("Name"), 0x000080u);     // header RGB(128,0,0)
    EXPECT_EQ(colourOf("Line 00"), 0x000000u);  // plain
    ASSERT_EQ(view.m_aPageLines.size(), 6u);
    EXPECT_EQ(view.m_aPageLines[1].cMark, 0);
    EXPECT_EQ(view.m_aPageLines[2].cMark, 'M');
    EXPECT_EQ(view.m_aPageLines[3].cMark, 'm');
    view.m_nHiLiteLine = 4;
    Paint(view);
    EXPECT_EQ(view.m_aPageLines[5].cMark, 'H');
    EXPECT_EQ(Paint(view).Find("Line 04")->colour, 0xFFFFFFu);  // white on black
}

TEST_F(ScrollBaseTest, ShrinkingTheListKeepsTopAndHighlightInside)
{
    CTestLines view;
    view.SetLines(50);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    view.m_nTopLine = 30;
    view.m_nHiLiteLine = 40;
    view.SetLines(10);
    view.RefreshLineView(1);
    Paint(view);
    EXPECT_LE(view.m_nHiLiteLine, 9);
    EXPECT_LE(view.m_nTopLine, 9);
    view.SetLines(0);
    view.RefreshLineView(1);
    Paint(view);
    EXPECT_EQ(view.m_nHiLiteLine, 0);
    EXPECT_EQ(view.m_nTopLine, 0);
    view.HandleKey(ui::VK_DOWN, false);
    view.HandleKey(ui::VK_NEXT, false);
    EXPECT_EQ(view.m_nHiLiteLine, 0);
}

TEST_F(ScrollBaseTest, MouseHighlightsChoosesAndEdits)
{
    CTestLines view;
    view.SetLines(3);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    const int header = view.m_nHeaderHeight;
    const int line = view.m_aPageLines[1].nHeight;
    ASSERT_GT(header, 0);
    view.OnLButtonDown(10, header + 2 * line + 1);
    view.OnLButtonUp(10, header + 2 * line + 1);
    EXPECT_EQ(view.m_nHiLiteLine, 2);
    view.OnLButtonDown(10, 1);  // on the header
    EXPECT_EQ(view.m_nHiLiteLine, 2);
    view.OnLButtonDown(10, header + 20 * line);  // below the last line
    EXPECT_EQ(view.m_nHiLiteLine, 2);
    view.OnRButtonDown(10, header + 1);
    EXPECT_EQ(view.m_nHiLiteLine, 0);
    EXPECT_EQ(view.edited, std::vector<int>{0});
    view.OnLButtonDblClk(10, header + 1);
    view.HandleKey(ui::VK_SPACE, false);
    EXPECT_EQ(view.chosen, (std::vector<int>{0, 0}));
}

TEST_F(ScrollBaseTest, OtherKeysGoToTheViewUnlessCtrlIsHeld)
{
    CTestLines view;
    view.SetLines(3);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    view.HandleKey('M', false);
    view.HandleKey('X', true);
    view.HandleKey('1', false);
    EXPECT_EQ(view.others, (std::vector<int>{'M', '1'}));
    view.m_bKeyLock = 1;
    Answer({ui::IDOK});
    view.HandleKey(ui::VK_DOWN, false);
    EXPECT_EQ(BoxTexts().back(), "Dorvalquintex has detected an error for this key.\nPlease use mouse to select button.");
    EXPECT_EQ(view.m_nHiLiteLine, 0);
}

// ---- Find ----------------------------------------------------------------------------------

namespace {

void FindScript(std::vector<std::pair<std::string, bool>> phrases)
{
    ui::test::GetHooks().dialogScripts.push_back([phrases](ui::Dialog& d) {
        const int ids[5] = {1236, 1246, 1247, 1258, 1262};
        const int nots[5] = {1170, 1213, 1218, 1219, 1220};
        for (size_t i = 0; i < phrases.size(); ++i) {
            ui::test::SetText(d, ids[i], phrases[i].first);
            if (phrases[i].second) ui::test::Click(d, nots[i]);
        }
        ui::test::Click(d, ui::IDOK);
    });
}

}  // namespace

class FindTest : public ScrollBaseTest {
protected:
    void SetUp() override
    {
        ScrollBaseTest::SetUp();
        view_.lines = {"Smith, Bo\t1", "Jones, Ann\t2", "Smith, Ann\t3", "Brown, Al\t4", "smith, Cy\t5", "Green, Ed\t6"};
        view_.SetLineViewDatabase(db_.get());
        Show(view_);
    }
    CTestLines view_;
};

TEST_F(FindTest, PhrasesWithNotFindForwardAndRepeat)
{
    FindScript({{"smith", false}, {"bo", true}});
    view_.HandleKey(ui::VK_F2, false);
    EXPECT_EQ(view_.m_nHiLiteLine, 2);
    EXPECT_EQ(view_.m_aFindPhrases[0], "SMITH");
    EXPECT_EQ(view_.m_aFindNot[1], 1);
    view_.HandleKey(ui::VK_F3, false);
    EXPECT_EQ(view_.m_nHiLiteLine, 4);
    Answer({ui::IDNO});
    view_.HandleKey(ui::VK_F3, false);
    EXPECT_EQ(BoxTexts().back(), "Not found. Restart at beginning?");
    EXPECT_EQ(view_.m_nHiLiteLine, 4);
    Answer({ui::IDYES});
    view_.HandleKey(ui::VK_F3, false);
    EXPECT_EQ(view_.m_nHiLiteLine, 2);
    EXPECT_EQ(view_.findsDone, 4);
}

TEST_F(FindTest, BackwardSearchRepeatsUpwardAndStopsAtTheFirstLine)
{
    view_.m_nHiLiteLine = 5;
    FindScript({{"smith", false}});
    view_.HandleKey(ui::VK_F2, true);
    EXPECT_EQ(view_.m_nHiLiteLine, 4);
    view_.HandleKey(ui::VK_F3, false);
    EXPECT_EQ(view_.m_nHiLiteLine, 2);
    view_.HandleKey(ui::VK_F3, false);
    EXPECT_EQ(view_.m_nHiLiteLine, 0);
    // From the first line backwards nothing is left; a restart begins at the last line.
    Answer({ui::IDYES});
    view_.HandleKey(ui::VK_F3, false);
    EXPECT_EQ(view_.m_nHiLiteLine, 4);
}

TEST_F(FindTest, NothingFoundAsksOnceEvenAfterYes)
{
    struct Case {
        std::vector<std::string> lines;
        int highlight;
    } cases[] = {
        {{}, 0},                        // an empty list
        {{"Smith\t1", "Jones\t2"}, 1},  // no line matches
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.lines.size());
        view_.lines = c.lines;
        view_.SetLineViewDatabase(db_.get());
        view_.m_nHiLiteLine = c.highlight;
        ui::test::GetHooks().messageBoxTexts.clear();
        FindScript({{"nobody", false}});
        Answer({ui::IDYES});
        ui::test::PressKey(view_, ui::VK_F2);
        EXPECT_EQ(BoxTexts(), std::vector<std::string>{"Not found. Restart at beginning?"});
        EXPECT_EQ(view_.m_nHiLiteLine, c.highlight);
    }
}

TEST_F(FindTest, OnlyNotPhrasesOrCancelSearchNothing)
{
    FindScript({{"smith", true}});
    Answer({ui::IDOK});
    view_.HandleKey(ui::VK_F2, false);
    EXPECT_EQ(BoxTexts().back(), "No words/phrases to search for");
    EXPECT_EQ(view_.m_nHiLiteLine, 0);
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    view_.HandleKey(ui::VK_F2, false);
    EXPECT_EQ(view_.m_nHiLiteLine, 0);
    EXPECT_EQ(view_.findsDone, 0);
}

// ---- Column separators ---------------------------------------------------------------------

TEST_F(ScrollBaseTest, DraggedSeparatorIsSavedInTheFormatRecord)
{
    CTestLines view;
    view.SetLines(5);
    stFormatRecord* format = db_->GetFormat(4);
    ASSERT_NE(format, nullptr);
    ASSERT_GE(format->aTabStops.size(), 2u);
    view.UseFormat(format);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    ASSERT_EQ(view.m_aHeaderTabs.size(), format->aTabStops.size());
    const int first = view.m_aHeaderTabs[0];
    const int second = view.m_aHeaderTabs[1];

    view.OnMouseMove(first + 3, 2);
    EXPECT_TRUE(view.IsSizeCursor());
    EXPECT_EQ(view.GetCursorShape(), ui::CursorShape::SizeWE);
    view.OnMouseMove((first + second) / 2, 2);
    EXPECT_EQ(view.GetCursorShape(), ui::CursorShape::Arrow) << "between separators";
    view.OnMouseMove(first + 3, 2);
    view.OnLButtonDown(first + 3, 2);
    // Within 5 pixels of the neighbour: ignored.
    view.OnMouseMove(second - 4, 2);
    EXPECT_EQ(view.m_aHeaderTabs[0], first);
    view.OnMouseMove(first + 30, 2);
    view.OnLButtonUp(first + 30, 2);
    EXPECT_EQ(view.m_aHeaderTabs[0], first + 30);
    EXPECT_EQ(view.m_bLayoutChanged, 0);

    CDatabase reread;
    ASSERT_NE(reread.OpenDB(DbPath(), 0), 0);
    reread.MakeFileHeaderArray(nullptr, nullptr);
    reread.SetDefaults();
    reread.ReadFormatRecordTable();
    ASSERT_NE(reread.GetFormat(4), nullptr);
    EXPECT_NEAR(reread.GetFormat(4)->aTabStops[0], (first + 30) / view.m_dPixelsPerInch, 1e-6);
    reread.CloseDB();
}

TEST_F(ScrollBaseTest, BelowLevelNineTheHeaderNeverGivesTheSizeCursor)
{
    UserAccessLevel = 8;
    CTestLines view;
    view.SetLines(5);
    view.SetLineViewDatabase(db_.get());
    Show(view);
    const int first = view.m_aHeaderTabs.at(0);
    view.OnMouseMove(first, 2);
    EXPECT_FALSE(view.IsSizeCursor());
    view.OnLButtonDown(first, 2);
    view.OnMouseMove(first + 40, 2);
    view.OnLButtonUp(first + 40, 2);
    EXPECT_EQ(view.m_aHeaderTabs[0], first);
}

// ---- Printing ------------------------------------------------------------------------------

#include "reports/PrintSpoolFile.h"

#include <unistd.h>

TEST_F(ScrollBaseTest, PrintWritesHeaderAndEveryLineToTheSpoolFile)
{
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir(folder_.c_str()), 0);
    CTestLines view;
    view.SetLineViewDatabase(db_.get());
    view.PrintLines();  // an empty view prints nothing
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/PRNTFILE.PRN"));

    view.SetLines(3);
    view.RefreshLineView(1);
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });  // the print setup
    view.PrintLines();
    std::vector<std::string> texts;
    {
        host::File file;
        ASSERT_TRUE(file.OpenReadOnly(folder_ + "/PRNTFILE.PRN"));
        CPageLineArchive ar(file, CPageLineArchive::load);
        for (;;) {
            stFmtString line;
            ReadPageLineRecord(ar, line);
            std::string entry;
            entry += line.cKind;
            entry.append(line.strText);
            texts.push_back(entry);
            if (line.strText == kSpoolEndText) break;
        }
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"HName\tPhone\tEmail", "-Line 00\tcol\tx", "-Line 01\tcol\tx",
                                               "-Line 02\tcol\tx", "-<@~END_OF_FILE~@>"}));
    ASSERT_EQ(chdir(previous), 0);
}
