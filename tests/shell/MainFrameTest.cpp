#include "ShellTestSupport.h"

#include "widgets/CommandGuards.h"
#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"
#include "shell/HandlerScope.h"
#include "views/LineView.h"
#include "shell/MainFrame.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"

#include <memory>

namespace {

// A list view that counts what the frame asks of it.
class CountingView : public ui::View, public ILineView {
public:
    void SetUpLines() override { ++setUps; }
    void ClearLines() override { ++clears; }
    int setUps = 0;
    int clears = 0;
};

class MainFrameTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame_ = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame_->CreateMainFrame());
        MainFrame = frame_.get();
        frame_->GetLauncher().OnOpenView("");
    }
    void TearDown() override
    {
        MainFrame = nullptr;
        frame_.reset();
        ShellTest::TearDown();
    }
    CountingView* Open(int n)
    {
        CountingView* made = nullptr;
        frame_->OpenView(
            n, [&]() { return made = new CountingView; },
            [](ui::View* v) { static_cast<CountingView*>(v)->SetUpLines(); },
            "CMainFrame::StudentView pointer %u\n");
        return made;
    }
    std::vector<std::string>& Boxes() { return ui::test::GetHooks().messageBoxTexts; }
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(MainFrameTest, ViewSwitchingKeepsViewsAndSwapsMenus)
{
    EXPECT_EQ(frame_->GetMenu().GetId(), 104);
    ui::RegisterMenu({105, {ui::Popup("&File", {ui::Item(57665, "E&xit")})}});
    CountingView* students = Open(3);
    ASSERT_NE(students, nullptr);
    EXPECT_EQ(frame_->GetCurrentView(), 3);
    EXPECT_EQ(frame_->GetMenu().GetId(), 105);
    EXPECT_EQ(students->GetDlgCtrlID(), 3 + 59648);
    EXPECT_TRUE(students->IsWindowVisible());
    EXPECT_FALSE(frame_->GetLauncher().IsWindowVisible());
    EXPECT_EQ(students->setUps, 1);

    // The same view again does nothing.
    EXPECT_EQ(Open(3), nullptr);
    EXPECT_EQ(students->setUps, 1);

    CountingView* payments = Open(6);
    EXPECT_FALSE(students->IsWindowVisible());
    EXPECT_EQ(frame_->GetPreviousView(), 3);

    frame_->ReturnToMainView();
    EXPECT_EQ(payments->clears, 1);
    EXPECT_EQ(frame_->GetCurrentView(), 0);
    EXPECT_EQ(frame_->GetPreviousView(), 6);
    EXPECT_TRUE(frame_->GetLauncher().IsWindowVisible());
    EXPECT_EQ(frame_->GetMenu().GetId(), 104);

    // Kept: the second opening switches to the same object.
    EXPECT_EQ(Open(3), nullptr);
    EXPECT_EQ(frame_->GetViewObject(3), students);
    frame_->UpdateView(3);
    EXPECT_EQ(students->setUps, 3);
}

TEST_F(MainFrameTest, StatusPanesFollowTheMode)
{
    ui::StatusBar& bar = frame_->GetStatusBar();
    const int panes[] = {30115, 30116, 30118, 30117};
    for (int id : panes) EXPECT_EQ(bar.GetPaneWidth(id), 0) << id;
    frame_->SetViewModeText("Students");
    EXPECT_EQ(bar.GetPaneText(30117), "");
    EXPECT_FALSE(frame_->QueryCommandState(30030).IsChecked());

    ASSERT_TRUE(frame_->SendCommand(30030));
    const int widths[] = {60, 60, 80, 60};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(bar.GetPaneWidth(panes[i]), widths[i]) << panes[i];
    EXPECT_TRUE(frame_->QueryCommandState(30030).IsChecked());
    EXPECT_EQ(AppSettings().m_nStatusPaneMode, 0);
    frame_->SetViewModeText("Students");
    EXPECT_EQ(bar.GetPaneText(30117), "Students");

    frame_->ShowUserCount(3);
    EXPECT_EQ(bar.GetPaneText(30115), "Users 3");
    frame_->ShowUserCount(0xFFFFFFFF);
    EXPECT_EQ(bar.GetPaneText(30115), "");
    frame_->ShowRefreshState(0);
    EXPECT_EQ(bar.GetPaneText(30116), "Refresh OFF");
    frame_->ShowRefreshState(1);
    EXPECT_EQ(bar.GetPaneText(30116), "Refresh ON");
    frame_->ShowLineNumber(12);
    EXPECT_EQ(bar.GetPaneText(30118), "Line 12");
    frame_->ShowLineNumber(0xFFFFFFFF);
    EXPECT_EQ(bar.GetPaneText(30118), "");

    frame_->SendCommand(30030);
    EXPECT_EQ(bar.GetPaneWidth(30118), 0);
}

TEST_F(MainFrameTest, CloseWithListViewReturnsToLauncher)
{
    Open(5);
    frame_->OnClose();
    EXPECT_EQ(frame_->GetCurrentView(), 0);
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(frame_->IsCreated());
}

TEST_F(MainFrameTest, ExitQuestionCancelKeepsRunning)
{
    ui::test::GetHooks().messageBoxAnswers = {ui::IDCANCEL};
    frame_->OnClose();
    ui::Application::PumpMessages();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Exit Dorvalquintex?"});
    EXPECT_TRUE(frame_->IsCreated());
    EXPECT_NE(frame_->GetLauncher().GetDatabase(), nullptr);
}

TEST_F(MainFrameTest, ExitQuestionOkEndsProgram)
{
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    frame_->OnClose();
    ui::Application::PumpMessages();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Exit Dorvalquintex?"});
    EXPECT_FALSE(frame_->IsCreated());
    EXPECT_EQ(frame_->GetLauncher().GetDatabase(), nullptr);
}

TEST_F(MainFrameTest, ExitSignalEndsWithoutQuestion)
{
    Open(4);
    frame_->ExitWithoutQuestion();
    ui::Application::PumpMessages();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_FALSE(frame_->IsCreated());
}

TEST_F(MainFrameTest, CloseNoticeWaitsForTheOutermostHandler)
{
    DatabaseOpen = 1;
    UserAccessLevel = 9;
    CountingView* view = Open(7);
    {
        // As if a dialog's loop were running inside a command.
        CHandlerScope command;
        frame_->SendMessage(CMainFrame::kMainFrameMsg, 2);
        {
            CHandlerScope dialogButton;
        }
        ui::Application::PumpMessages();
        EXPECT_EQ(DatabaseOpen, 1);
        EXPECT_EQ(frame_->GetCurrentView(), 7);
    }
    ui::Application::PumpMessages();
    EXPECT_EQ(DatabaseOpen, 0);
    EXPECT_EQ(UserAccessLevel, 0);
    EXPECT_EQ(UserName, "None");
    EXPECT_EQ(frame_->GetCurrentView(), 0);
    EXPECT_EQ(view->clears, 1);
}

TEST_F(MainFrameTest, CloseNoticeClosesRecordWindows)
{
    struct Grid : ui::Window {
        void OnClose() override
        {
            closed = true;
            if (MainFrame) MainFrame->RemoveRecordWindow(this);
        }
        bool closed = false;
    } grid;
    frame_->AddRecordWindow(&grid);
    DatabaseOpen = 1;
    frame_->SendMessage(CMainFrame::kMainFrameMsg, 2);
    EXPECT_TRUE(grid.closed);
    EXPECT_EQ(DatabaseOpen, 0);
    // Other values do nothing.
    DatabaseOpen = 1;
    EXPECT_EQ(frame_->SendMessage(CMainFrame::kMainFrameMsg, 7), 0);
    EXPECT_EQ(DatabaseOpen, 1);
}

}  // namespace
