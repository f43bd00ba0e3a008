// Frames, menus, status bar and scroll views, headless.
#include "platform/ui/FrameWindow.h"
#include "platform/ui/RecordingDC.h"
#include "platform/ui/ScrollView.h"
#include "platform/ui/View.h"

#include <QAction>
#include <QImage>
#include <QPainter>
#include <QPointer>
#include <QTimer>
#include <QLabel>
#include <QMenu>
#include <QWidget>

#include <gtest/gtest.h>

namespace ui {
namespace {

constexpr int kPrint = 30006;
constexpr int kExpand = 30030;
constexpr int kEdit = 30019;
constexpr int kExit = 57665;

const MenuTemplate kTestMenu = {
    4104,
    {Popup("&File", {Item(kPrint, "&Print\tCtrl+P", "Print the list"), Separator(), Item(kExit, "E&xit")}),
     Popup("&View", {Item(kExpand, "&Expand status panes"), Item(kEdit, "&Edit")})}};

class CountingView : public View {
public:
    bool OnCommand(int id, int) override
    {
        if (id != kPrint && id != kEdit)
            return false;
        handled.push_back(id);
        return true;
    }
    std::vector<int> handled;
};

class TestFrame : public FrameWindow {
public:
    bool OnCommand(int id, int) override
    {
        if (id != kExpand && id != kPrint)
            return false;
        handled.push_back(id);
        return true;
    }
    std::vector<int> handled;
};

QAction* ActionWithText(Window& window, const QString& text)
{
    for (QAction* a : window.GetWidget()->findChildren<QAction*>())
        if (a->text() == text)
            return a;
    return nullptr;
}

TEST(Menu, TextsAndLookup)
{
    struct Case {
        std::string text;
        std::string plain;
        std::string accel;
    };
    const Case cases[] = {
        {"&Print\tCtrl+P", "Print", "Ctrl+P"},
        {"Save && e&xit", "Save & exit", ""},
        {"Plain", "Plain", ""},
        {"&Find\tF2", "Find", "F2"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MenuTextPlain(c.text), c.plain) << c.text;
        EXPECT_EQ(MenuTextAccelerator(c.text), c.accel) << c.text;
    }
    RegisterMenu(kTestMenu);
    ASSERT_NE(FindMenuTemplate(4104), nullptr);
    EXPECT_EQ(FindMenuTemplate(4105), nullptr);
    Menu menu(*FindMenuTemplate(4104));
    EXPECT_EQ(menu.CommandIds(), (std::vector<int>{kPrint, kExit, kExpand, kEdit}));
    EXPECT_TRUE(menu.CheckMenuItem(kExpand, true));
    EXPECT_TRUE(menu.IsChecked(kExpand));
    EXPECT_TRUE(menu.EnableMenuItem(kEdit, false));
    EXPECT_FALSE(menu.IsEnabled(kEdit));
    EXPECT_FALSE(menu.EnableMenuItem(12345, false));
    EXPECT_FALSE(menu.IsEnabled(12345));
}

TEST(FrameLifetime, NoTimerOfTheScreenWindowOutlivesTheFrameObject)
{
    QPointer<QWidget> screen;
    {
        TestFrame frame;
        ASSERT_TRUE(frame.CreateFrame("Studio", {0, 0, 320, 200}));
        screen = frame.GetWidget();
        ASSERT_FALSE(screen->findChildren<QTimer*>().empty()) << "the bar's timer";
    }
    // The screen window goes later, from the event loop; meanwhile nothing may call the frame.
    ASSERT_FALSE(screen.isNull());
    EXPECT_TRUE(screen->findChildren<QTimer*>().empty());
}

class FrameFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        RegisterMenu(kTestMenu);
        ASSERT_TRUE(frame.CreateFrame("Studio", {0, 0, 640, 480}));
        ASSERT_TRUE(frame.LoadMenu(4104));
        ASSERT_TRUE(frame.CreateStatusBar({0, 30115, 30116}));
        ASSERT_TRUE(view.CreateView(&frame, 59649));
        frame.SwitchView(&view);
        frame.ShowWindow(true);
    }
    TestFrame frame;
    CountingView view;
};

TEST_F(FrameFixture, CommandsGoToTheViewFirst)
{
    EXPECT_TRUE(frame.SendCommand(kPrint));
    EXPECT_TRUE(frame.SendCommand(kExpand));
    EXPECT_TRUE(frame.SendCommand(kEdit));
    EXPECT_FALSE(frame.SendCommand(kExit)) << "nobody handles it";
    EXPECT_EQ(view.handled, (std::vector<int>{kPrint, kEdit}));
    EXPECT_EQ(frame.handled, (std::vector<int>{kExpand}));

    frame.SwitchView(nullptr);
    EXPECT_TRUE(frame.SendCommand(kPrint));
    EXPECT_EQ(frame.handled, (std::vector<int>{kExpand, kPrint}));
}

TEST_F(FrameFixture, MenuClicksAndAcceleratorsRouteLikeCommands)
{
    frame.SetAccelerators({{'P', true, false, false, kPrint}});
    EXPECT_TRUE(frame.TranslateAccelerator('P', true, false, false));
    EXPECT_FALSE(frame.TranslateAccelerator('P', false, false, false));
    QAction* print = ActionWithText(frame, "&Print\tCtrl+P");
    ASSERT_NE(print, nullptr);
    print->trigger();
    EXPECT_EQ(view.handled, (std::vector<int>{kPrint, kPrint}));
}

TEST_F(FrameFixture, UpdateHandlersEnableAndCheck)
{
    bool expanded = false;
    bool editable = true;
    frame.Updaters().SetUpdateHandler(kExpand, [&](CmdUI& cmd) { cmd.SetCheck(expanded); });
    view.Updaters().SetUpdateHandler(kEdit, [&](CmdUI& cmd) { cmd.Enable(editable); });
    // The view's handler wins over the frame's for the same command.
    frame.Updaters().SetUpdateHandler(kEdit, [&](CmdUI& cmd) { cmd.Enable(true); });

    frame.UpdateMenuState();
    EXPECT_FALSE(frame.GetMenu().IsChecked(kExpand));
    EXPECT_TRUE(frame.GetMenu().IsEnabled(kEdit));

    expanded = true;
    editable = false;
    frame.UpdateMenuState();
    EXPECT_TRUE(frame.GetMenu().IsChecked(kExpand));
    EXPECT_FALSE(frame.GetMenu().IsEnabled(kEdit));
    QAction* edit = ActionWithText(frame, "&Edit");
    QAction* expand = ActionWithText(frame, "&Expand status panes");
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(expand, nullptr);
    EXPECT_FALSE(edit->isEnabled());
    EXPECT_TRUE(expand->isChecked());

    EXPECT_FALSE(frame.SendCommand(kEdit)) << "a disabled command does not run";
    EXPECT_TRUE(view.handled.empty());
    editable = true;
    EXPECT_TRUE(frame.SendCommand(kEdit));
    EXPECT_EQ(view.handled, (std::vector<int>{kEdit}));
}

TEST(FrameMenu, DashItemIsDrawnAsASeparator)
{
    const MenuTemplate menu = {4106, {Popup("&Help", {Item(30010, "Help topics"), Item(30009, "&Getting started"),
                                                      Item(32936, "-"), Item(57664, "&About")})}};
    RegisterMenu(menu);
    FrameWindow frame;
    ASSERT_TRUE(frame.CreateFrame("Studio", {0, 0, 640, 480}));
    ASSERT_TRUE(frame.LoadMenu(4106));
    QMenu* help = nullptr;
    for (QMenu* m : frame.GetWidget()->findChildren<QMenu*>())
        if (m->title() == "&Help") help = m;
    ASSERT_NE(help, nullptr);
    const QList<QAction*> actions = help->actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_FALSE(actions[0]->isSeparator());
    EXPECT_TRUE(actions[2]->isSeparator()) << "a \"-\" item is a separator, not a greyed dash";
    EXPECT_NE(actions[2]->text(), "-");
    // Its id keeps its state in the menu; updating it leaves the separator as it is.
    frame.Updaters().SetUpdateHandler(32936, [](CmdUI& cmd) { cmd.Enable(false); });
    frame.UpdateMenuState();
    EXPECT_FALSE(frame.GetMenu().IsEnabled(32936));
    EXPECT_TRUE(help->actions()[2]->isSeparator());
}

TEST_F(FrameFixture, StatusBarPanes)
{
    StatusBar& bar = frame.GetStatusBar();
    EXPECT_EQ(bar.GetPaneCount(), 3);
    EXPECT_EQ(bar.CommandToIndex(30116), 2);
    EXPECT_EQ(bar.CommandToIndex(30118), -1);
    EXPECT_TRUE(bar.SetPaneText(30115, "Users 3"));
    EXPECT_TRUE(bar.SetPaneText(30116, "Refresh ON"));
    EXPECT_FALSE(bar.SetPaneText(30118, "Line 1"));
    bar.SetMessageText("Ready");
    EXPECT_EQ(bar.GetPaneText(30115), "Users 3");
    EXPECT_EQ(bar.GetPaneText(30116), "Refresh ON");
    EXPECT_EQ(bar.GetPaneText(0), "Ready");
    EXPECT_EQ(bar.GetPaneText(30118), "");
    EXPECT_TRUE(bar.SetPaneText(30115, ""));
    EXPECT_EQ(bar.GetPaneText(30115), "");

    QStringList shown;
    for (QLabel* label : bar.GetWidget()->findChildren<QLabel*>())
        shown << label->text();
    EXPECT_TRUE(shown.contains("Refresh ON"));

    EXPECT_TRUE(bar.SetPaneWidth(30116, 0));
    EXPECT_EQ(bar.GetPaneWidth(30116), 0);
    EXPECT_EQ(bar.GetPaneWidth(30118), -1);
    EXPECT_FALSE(bar.SetIndicators({0, 30115, 30115})) << "an id used twice";
}

TEST_F(FrameFixture, HighlightedItemShowsItsPromptUntilTheMenuCloses)
{
    StatusBar& bar = frame.GetStatusBar();
    EXPECT_EQ(bar.GetPaneText(0), "Ready");
    ASSERT_TRUE(frame.HighlightMenuItem(kPrint));
    EXPECT_EQ(bar.GetPaneText(0), "Print the list");
    ASSERT_TRUE(frame.HighlightMenuItem(kExit));
    EXPECT_EQ(bar.GetPaneText(0), "") << "an item without a prompt clears the pane";
    EXPECT_FALSE(frame.HighlightMenuItem(4711));

    // Opened and closed as the user does: the pane goes back to the idle message.
    QMenu* file = nullptr;
    for (QMenu* m : frame.GetWidget()->findChildren<QMenu*>())
        if (m->title() == "&File")
            file = m;
    ASSERT_NE(file, nullptr);
    file->popup(QPoint(10, 10));
    ASSERT_TRUE(frame.HighlightMenuItem(kPrint));
    EXPECT_EQ(bar.GetPaneText(0), "Print the list");
    file->menuAction()->hover();
    EXPECT_EQ(bar.GetPaneText(0), "") << "a popup's own entry while a menu is open";
    file->hide();
    EXPECT_EQ(bar.GetPaneText(0), "Ready");
    file->menuAction()->hover();
    EXPECT_EQ(bar.GetPaneText(0), "Ready") << "the bar's entry after Escape closed the menu";

    ASSERT_TRUE(frame.HighlightMenuItem(kPrint));
    frame.CloseMenus();
    EXPECT_EQ(bar.GetPaneText(0), "Ready");

    // A chosen command ends the menu even where no popup closes (an entry on the bar itself).
    ASSERT_TRUE(frame.HighlightMenuItem(kPrint));
    QAction* print = nullptr;
    for (QAction* a : frame.GetWidget()->findChildren<QAction*>())
        if (a->text().startsWith("&Print"))
            print = a;
    ASSERT_NE(print, nullptr);
    print->trigger();
    EXPECT_EQ(bar.GetPaneText(0), "Ready");
}

TEST_F(FrameFixture, SwitchingViewsShowsOneAtATime)
{
    CountingView other;
    ASSERT_TRUE(other.CreateView(&frame, 59650));
    EXPECT_TRUE(view.IsWindowVisible());
    EXPECT_FALSE(other.IsWindowVisible());
    frame.SwitchView(&other);
    EXPECT_EQ(frame.GetActiveView(), &other);
    EXPECT_FALSE(view.IsWindowVisible());
    EXPECT_TRUE(other.IsWindowVisible());
    EXPECT_EQ(other.GetWindowRect(), frame.GetViewRect());
    const DCRect client = frame.GetClientRect();
    EXPECT_EQ(frame.GetViewRect().bottom, client.bottom - frame.GetStatusBar().GetHeight());
    EXPECT_GT(frame.GetViewRect().top, 0) << "below the menu bar";
}

// A document of 1000 x 2000 pixels with a text at (100, 500).
class DocumentView : public ScrollView {
public:
    void OnDraw(DC& dc) override
    {
        dc.TextOut(100, 500, "Row 1");
        dc.MoveTo(0, 0);
        dc.LineTo(1000, 0);
    }
};

TEST_F(FrameFixture, ScrollingOffsetsWhatOnDrawDraws)
{
    DocumentView doc;
    ASSERT_TRUE(doc.CreateView(&frame, 59651));
    frame.SwitchView(&doc);
    doc.SetScrollSizes({1000, 2000});
    EXPECT_EQ(doc.GetPageSize(), (DCSize{100, 200}));
    EXPECT_EQ(doc.GetLineSize(), (DCSize{10, 20}));
    EXPECT_TRUE(doc.IsScrollBarVisible(SB_VERT));
    EXPECT_TRUE(doc.IsScrollBarVisible(SB_HORZ));
    const DCRect client = doc.GetViewClientRect();
    const int maxY = 2000 - client.Height();

    struct Step {
        ScrollBarId bar;
        int code;
        int thumb;
        DCPoint expected;
    };
    const Step steps[] = {
        {SB_VERT, SB_LINEDOWN, 0, {0, 20}},
        {SB_VERT, SB_PAGEDOWN, 0, {0, 220}},
        {SB_VERT, SB_LINEUP, 0, {0, 200}},
        {SB_HORZ, SB_PAGERIGHT, 0, {100, 200}},
        {SB_VERT, SB_THUMBTRACK, 350, {100, 350}},
        {SB_VERT, SB_BOTTOM, 0, {100, maxY}},
        {SB_VERT, SB_LINEDOWN, 0, {100, maxY}},
        {SB_VERT, SB_THUMBTRACK, 99999, {100, maxY}},
        {SB_VERT, SB_TOP, 0, {100, 0}},
        {SB_VERT, SB_LINEUP, 0, {100, 0}},
        {SB_VERT, SB_THUMBTRACK, 480, {100, 480}},
    };
    for (const Step& s : steps) {
        doc.Scroll(s.bar, s.code, s.thumb);
        EXPECT_EQ(doc.GetScrollPosition(), s.expected) << "code " << s.code;
        EXPECT_EQ(doc.GetScrollPos(SB_VERT), s.expected.y);
    }

    RecordingDC dc(640, 480, 96);
    doc.OnPaint(dc);
    const RecordedPage& page = dc.CurrentPage();
    ASSERT_NE(page.Find("Row 1"), nullptr);
    EXPECT_EQ(page.Find("Row 1")->x, 0);
    EXPECT_EQ(page.Find("Row 1")->y, 20);
    ASSERT_EQ(page.lines.size(), 1u);
    EXPECT_EQ(page.lines[0].y1, -480);
    EXPECT_EQ(dc.GetViewportOrg(), (DCPoint{0, 0})) << "the origin is restored";
}

class FillingView : public View {
public:
    void OnDraw(DC& dc) override { dc.FillSolidRect({0, 0, 5000, 5000}, 0x000000FF); }
};

TEST_F(FrameFixture, ViewPaintsNeitherUnderTheBarsNorIntoTheirCorner)
{
    FillingView view;
    ASSERT_TRUE(view.CreateView(&frame, 59653));
    frame.SwitchView(&view);
    view.MoveWindow({0, 0, 300, 200});
    const DCRect client = view.GetClientRect();
    struct Case {
        bool vert, horz;
    } cases[] = {{true, true}, {true, false}, {false, false}};
    for (const Case& c : cases) {
        view.ShowScrollBar(SB_VERT, c.vert);
        view.ShowScrollBar(SB_HORZ, c.horz);
        const DCRect inner = view.GetViewClientRect();
        QImage image(client.Width(), client.Height(), QImage::Format_RGB32);
        image.fill(QColor(0, 0, 255));
        {
            QPainter painter(&image);
            DC dc(&painter);
            view.OnPaint(dc);
        }
        EXPECT_EQ(image.pixelColor(inner.right - 1, inner.bottom - 1), QColor(255, 0, 0));
        const QColor corner = image.pixelColor(client.right - 1, client.bottom - 1);
        if (c.vert && c.horz) {
            EXPECT_EQ(corner, QColor(240, 240, 240)) << "the corner between the bars is the face colour";
            EXPECT_EQ(image.pixelColor(inner.right + 1, 5), QColor(0, 0, 255)) << "left to the bar";
        } else if (c.vert) {
            EXPECT_EQ(corner, QColor(0, 0, 255)) << "under the bar: not painted";
        } else {
            EXPECT_EQ(corner, QColor(255, 0, 0)) << "no bars: the whole client";
        }
    }
}

TEST_F(FrameFixture, SmallDocumentNeedsNoBars)
{
    DocumentView doc;
    ASSERT_TRUE(doc.CreateView(&frame, 59652));
    frame.SwitchView(&doc);
    doc.SetScrollSizes({100, 100}, {50, 50}, {5, 5});
    EXPECT_FALSE(doc.IsScrollBarVisible(SB_VERT));
    EXPECT_FALSE(doc.IsScrollBarVisible(SB_HORZ));
    doc.Scroll(SB_VERT, SB_PAGEDOWN);
    EXPECT_EQ(doc.GetScrollPosition(), (DCPoint{0, 0}));
}

} // namespace
} // namespace ui
