#include "ShellTestSupport.h"

#include "common/DataPaths.h"
#include "platform/host/SingleInstance.h"
#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"
#include "shell/DorvalquintexApp.h"
#include "shell/MainFrame.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"

#include <QPixmap>
#include <QWidget>

#include <cstdlib>

namespace {

class AppTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        // Each test has its own lock folder, apart from a copy someone runs on this desk.
        ::setenv("XDG_RUNTIME_DIR", folder_.Path().c_str(), 1);
    }
    void TearDown() override
    {
        ::unsetenv("XDG_RUNTIME_DIR");
        ShellTest::TearDown();
    }
};

TEST_F(AppTest, SecondCopyEndsAndLeavesSettings)
{
    const std::string settings = "LAST|/studio/db\r\nSHOW|SW_SHOWMAXIMIZED\r\nDIAGNOSTIC|0\r\n";
    folder_.WriteFile("Dorvalquintex.cfg", settings);
    host::SingleInstance first("DorvalquintexMutex");
    ASSERT_TRUE(first.Acquire());

    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    CDorvalquintexApp second;
    second.SetProgramFolder(folder_.Path());
    second.InitApplication();
    EXPECT_FALSE(second.InitInstance());
    second.ExitInstance();
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts,
              std::vector<std::string>{"Dorvalquintex is already running!"});
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.cfg"), settings);
    EXPECT_TRUE(first.IsHeld());
}

TEST_F(AppTest, StartShowsLauncherAndExitSavesSettings)
{
    folder_.WriteFile("Dorvalquintex.cfg", "STATUSPANES|SHOWNORMAL\r\nBACKUP|B:\r\nSHOW|SW_SHOWMAXIMIZED\r\n");
    CDorvalquintexApp app;
    app.SetProgramFolder(folder_.Path());
    app.InitApplication();
    ASSERT_TRUE(app.InitInstance());
    CMainFrame* frame = app.GetMainFrame();
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(ProgramFolder, folder_.Path());
    EXPECT_EQ(frame->GetWindowText(), "Dorvalquintex (no database open)");
    // The settings widened the panes during start-up.
    EXPECT_EQ(frame->GetStatusBar().GetPaneWidth(30118), 80);
    EXPECT_TRUE(frame->IsMaximized());

    frame->MoveWindow({0, 0, 800, 600});
    ui::Application::PumpMessages();
    CMainView& launcher = frame->GetLauncher();
    EXPECT_NE(launcher.GetDatabase(), nullptr);
    for (int k = 0; k < 16; ++k) {
        EXPECT_TRUE(launcher.Button(k).IsWindowVisible()) << k;
        EXPECT_FALSE(launcher.Button(k).GetWindowText().empty()) << k;
    }
    const QPixmap shot = frame->GetWidget()->grab();
    EXPECT_TRUE(shot.save(QString::fromStdString(std::string(DQ_BINARY_DIR) + "/tests/shell/launcher.png")));

    app.ExitInstance();
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.cfg"),
              "BACKUP|B:\r\nSHOW|SW_SHOWMAXIMIZED\r\nSTATUSPANES|SHOWNORMAL\r\n");
}

}  // namespace
