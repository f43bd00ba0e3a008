// The main frame opens the list views with their menus, and the launcher's command closes them.

#include "shell/MainFrame.h"
#include "shell/ProgramState.h"
#include "tests/views/ViewsFixture.h"
#include "views/ContactView.h"
#include "views/StudentView.h"

#include <functional>
#include <memory>

namespace {

class MainFrameViewsTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        AddPerson("Smith", "Ann");
        AddPerson("SMALL", "Bo", 'C', 0);
        AddPerson("Asmith", "Al");
        AddPerson("Smith", "Ann", 'E');
    }
};

TEST_F(MainFrameViewsTest, OpensTheViewsWithTheirMenus)
{
    auto frame = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame->CreateMainFrame());
    MainFrame = frame.get();
    struct Case {
        int view;
        int menu;
        std::function<void()> open;
    };
    const Case cases[] = {
        {3, 105, [&] { frame->StudentView(db_.get()); }},
        {2, 106, [&] { frame->TeacherView(db_.get()); }},
        {8, 112, [&] { frame->InterviewView(db_.get()); }},
        {1, 103, [&] { frame->DatabaseView(db_.get(), 0); }},
        {4, 108, [&] { frame->MaillistView(db_.get(), 'C'); }},
        {5, 110, [&] { frame->PurchaseView(db_.get()); }},
        {6, 109, [&] { frame->PaymentView(db_.get()); }},
        {7, 111, [&] { frame->ScheduleView(db_.get()); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        c.open();
        EXPECT_EQ(frame->GetCurrentView(), c.view);
        EXPECT_EQ(frame->GetMenu().GetId(), c.menu);
        frame->ReturnToMainView();
        EXPECT_EQ(frame->GetCurrentView(), 0);
    }
    frame->StudentView(db_.get());
    auto* students = dynamic_cast<CStudentView*>(frame->GetViewObject(3));
    ASSERT_NE(students, nullptr);
    EXPECT_EQ(students->m_nMaxLines, 3);
    EXPECT_TRUE(frame->SendCommand(CContactView::kCmdMainView));
    EXPECT_EQ(frame->GetCurrentView(), 0);
    EXPECT_EQ(students->m_nMaxLines, 0);
    frame.reset();
    MainFrame = nullptr;
}

TEST_F(MainFrameViewsTest, LauncherKeysAndCommandsOpenTheNewViews)
{
    auto frame = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame->CreateMainFrame());
    MainFrame = frame.get();
    CMainView& launcher = frame->GetLauncher();
    struct Case {
        std::function<void()> press;
        int view;
    };
    const Case cases[] = {
        {[&] { launcher.HandleKey(ui::VK_F4, false); }, 5},
        {[&] { launcher.HandleKey(ui::VK_F5, false); }, 6},
        {[&] { launcher.HandleKey(ui::VK_F6, false); }, 7},
        {[&] { frame->SendCommand(30053); }, 5},
        {[&] { frame->SendCommand(30052); }, 6},
        {[&] { frame->SendCommand(30054); }, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        frame->ReturnToMainView();
        c.press();
        EXPECT_EQ(frame->GetCurrentView(), c.view);
    }
    // The mail lists: the launcher has no database file open here, so the list cannot lock its
    // table and goes back to the launcher at once; the view was made all the same.
    for (const std::function<void()>& press : std::vector<std::function<void()>>{
             [&] { launcher.HandleKey(ui::VK_F5, true); }, [&] { frame->SendCommand(30063); },
             [&] { frame->SendCommand(32846); }}) {
        frame->ReturnToMainView();
        press();
        EXPECT_NE(frame->GetViewObject(4), nullptr);
        EXPECT_EQ(frame->GetCurrentView(), 0);
    }
    frame->ReturnToMainView();
    frame.reset();
    MainFrame = nullptr;
}

TEST_F(MainFrameViewsTest, EscapeLeavesTheRawDatabaseView)
{
    auto frame = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame->CreateMainFrame());
    MainFrame = frame.get();
    frame->ShowWindow(true);
    frame->DatabaseView(db_.get(), 0);
    ASSERT_EQ(frame->GetCurrentView(), 1);
    ui::test::PressKey(*frame, ui::VK_ESCAPE);
    EXPECT_EQ(frame->GetCurrentView(), 0);
    EXPECT_EQ(frame->GetMenu().GetId(), 104);
    frame.reset();
    MainFrame = nullptr;
}

TEST_F(MainFrameViewsTest, HighlightedCommandsShowTheirPrompts)
{
    auto frame = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame->CreateMainFrame());
    MainFrame = frame.get();
    const std::function<void()> launcher = [&] { frame->ReturnToMainView(); };
    const std::function<void()> raw = [&] { frame->DatabaseView(db_.get(), 0); };
    const std::function<void()> teachers = [&] { frame->TeacherView(db_.get()); };
    struct Case {
        const std::function<void()>* open;
        int id;
        const char* prompt;
    };
    const Case cases[] = {
        {&launcher, 30000, "Make packed database file and copy it from your hard disk to a floppy disk"},
        {&launcher, 30001, "Replace current database with one previously backed up to diskette."},
        {&launcher, 30014, "Replace current database with one previously backed up to file on hard disk"},
        {&launcher, 30090, "Create an archive file"},
        {&launcher, 30092, "Recall a previously created archive file"},
        {&launcher, 57600, "Create new studio database"},
        {&launcher, 32942, "Make backup copy of Dorvalquintex program"},
        {&launcher, 33228, "Repair database linked list by testing and updating headers"},
        {&launcher, 33230, "Analyze database linked list structure and reconstruct database"},
        {&launcher, 33232, "Change the file format version in a file header"},
        {&launcher, 33223, "Unpack compressed file"},
        {&launcher, 33240, "Restore from a backup file"},
        {&launcher, 30030, "Expand status panes in status bar"},
        {&launcher, 57665, ""},
        {&raw, 33301, "Show details of record header"},
        {&raw, 33302, "Show raw record data and edit bytes"},
        {&raw, 33305, "Mark this record as last record"},
        {&raw, 33308, "Dump text representation to file"},
        {&raw, 57670, "Show help topic for this view"},
        {&teachers, 30047, "Edit highlighted student"},
        {&teachers, 57670, "Show help topic for this view"},
    };
    ui::StatusBar& bar = frame->GetStatusBar();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        (*c.open)();
        ASSERT_TRUE(frame->HighlightMenuItem(c.id));
        EXPECT_EQ(bar.GetPaneText(0), c.prompt);
        frame->CloseMenus();
        EXPECT_EQ(bar.GetPaneText(0), "Ready");
    }
    frame->ReturnToMainView();
    frame.reset();
    MainFrame = nullptr;
}

}  // namespace
