// The launcher on the real database road: the database named by LAST opens at start with a
// scripted log-on, the refresh timer applies another copy's change, the end of the session
// (SIGTERM) closes the file as a normal exit does, and the purge command asks for its dates.
// This process is the server computer 127.0.0.1; the other copy is a dq_driver on 127.0.0.2.

#include "views/FrameWndReport.h"
#include "reports/ReportFrame.h"
#include "reports/Reports.h"
#include "views/RtfViewer.h"
#include "ShellTestSupport.h"

#include "tests/support/DriverProcess.h"

#include "widgets/CommandGuards.h"
#include "common/DataPaths.h"
#include "common/DateTime.h"
#include "database/Database.h"
#include "tests/support/ScriptedUi.h"
#include "database/DbEngine.h"
#include "database/LanServer.h"
#include "database/UserRegData.h"
#include "database/SettingsRecords.h"
#include "dialogs/DialogGetPurgeDates.h"
#include "widgets/DialogSetDateTime.h"
#include "platform/ui/Application.h"
#include "platform/host/Format.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"
#include "shell/DorvalquintexApp.h"
#include "shell/MainFrame.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"
#include "records/Category.h"
#include "views/DatabaseView.h"
#include "views/ReportGrid.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <thread>

extern char** environ;

namespace {

using Words = std::vector<std::string>;
const char* const kChildFolderVariable = "DQ_LAUNCHER_CHILD_FOLDER";

using dqtest::UserEntry;

void ScriptPassword(const std::string& text)
{
    ui::test::GetHooks().dialogScripts.push_back([=](ui::Dialog& d) {
        ui::test::SetText(d, 1005, text);
        ui::test::Click(d, ui::IDOK);
    });
}

void SetCopyEnvironment(const std::string& runtimeFolder)
{
    ::setenv("XDG_RUNTIME_DIR", runtimeFolder.c_str(), 1);
    ::setenv("DORVALQUINTEX_COMPUTERNAME", "127.0.0.1", 1);
    ::setenv("DORVALQUINTEX_ADDRESS", "127.0.0.1", 1);
    ::setenv("DORVALQUINTEX_SERVER", "127.0.0.1", 1);
}

class LauncherRoadTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        SetCopyEnvironment(folder_.Path());
        ui::test::GetHooks().driveDialogs = true;
        const std::string file = ChooseLanName("L", ".dbs", {"127.0.0.1", "127.0.0.2"}, GetLanPort);
        ASSERT_FALSE(file.empty()) << "no free port";
        name_ = folder_.Path() + "/" + file;
        std::ofstream(name_ + ".rgs", std::ios::binary)
            << UserEntry("front", "desk", 1, 9) << UserEntry("office", "other", 2, 9);
        folder_.WriteFile("Dorvalquintex.usr", "127.0.0.1\r\n127.0.0.2\r\n");
        MakeFixture();
    }
    void TearDown() override
    {
        if (app_) {
            if (CMainFrame* frame = app_->GetMainFrame()) frame->GetLauncher().OnCloseView(false);
            app_->ExitInstance();
            app_.reset();
        }
        for (const char* v : {"XDG_RUNTIME_DIR", "DORVALQUINTEX_COMPUTERNAME", "DORVALQUINTEX_ADDRESS",
                              "DORVALQUINTEX_SERVER"})
            ::unsetenv(v);
        ShellTest::TearDown();
    }

    // The fixture database: one person, made by a copy working alone.
    void MakeFixture()
    {
        CDatabase db;
        db.m_bNetworkDisabled = true;
        ScriptPassword("desk");
        ASSERT_TRUE(db.OpenDatabase(name_, 0));
        CPerson p('C');
        p.m_sLastName = "Smith";
        p.m_sFirstName = "Ann";
        ASSERT_EQ(db.AddTableItem(TABLE_PERSON, LOC_NONE, &p, 0, 0, nullptr), 1);
        code_ = p.m_nCode;
        db.CloseDatabase();
        ResetProgramState();
        ProgramFolder = folder_.Path();
    }

    // Starts the program object with LAST naming the fixture and the log-on answered.
    void StartWithLast()
    {
        folder_.WriteFile("Dorvalquintex.cfg", "LAST|" + name_ + ".dbs\r\n");
        ScriptPassword("DESK");
        app_ = std::make_unique<CDorvalquintexApp>();
        app_->SetProgramFolder(folder_.Path());
        app_->InitApplication();
        ASSERT_TRUE(app_->InitInstance());
    }
    CMainView& Launcher() { return app_->GetMainFrame()->GetLauncher(); }
    CDatabase* Db() { return Launcher().GetDatabase(); }
    size_t Categories() { return Db()->GetItemList(TABLE_CATEGORY)->size(); }
    // The other copy on 127.0.0.2 with the fixture open; `linked` false gives it a computer
    // list of its own name only, so that neither copy finds the other (each counts one user).
    std::unique_ptr<DriverProcess> StartOtherCopy(bool linked)
    {
        const std::string otherFolder = folder_.FilePath("other");
        std::filesystem::create_directory(otherFolder);
        std::ofstream(otherFolder + "/Dorvalquintex.usr")
            << (linked ? "127.0.0.1\r\n127.0.0.2\r\n" : "127.0.0.2\r\n");
        auto other = std::make_unique<DriverProcess>("127.0.0.2", "127.0.0.1", otherFolder);
        if (!other->Started()) return nullptr;
        const Words opened = Run(*other, "opendb " + name_ + " other");
        if (opened.size() != 2 || opened[0] != "1") {
            ADD_FAILURE() << "the other copy did not open the database: " << other->Transcript();
            return nullptr;
        }
        EXPECT_EQ(opened[1], linked ? "2" : "1");
        return other;
    }
    // The raw database view over the open database, current in the frame.
    CDatabaseView* ShowRawView()
    {
        Launcher().OnCommand(30029, 0);
        return dynamic_cast<CDatabaseView*>(app_->GetMainFrame()->GetViewObject(1));
    }
    std::string FirstName()
    {
        const CPerson* p = static_cast<const CPerson*>(Db()->GetItem(TABLE_PERSON, code_));
        return p ? p->m_sFirstName : "-";
    }

    // A driver command answered while this copy keeps its message loop running.
    static Words Run(DriverProcess& copy, const std::string& command, int timeoutMs = 30000)
    {
        copy.Send(command);
        const std::string word = command.substr(0, command.find(' '));
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < until) {
            ui::Application::PumpMessages();
            if (copy.HasAnswerWithin(word, 20)) return copy.Answer(word, 0);
        }
        return {"TIMEOUT"};
    }

    std::string name_;
    uint32_t code_ = 0;
    std::unique_ptr<CDorvalquintexApp> app_;
};

TEST_F(LauncherRoadTest, LastOpensTheDatabaseAtStart)
{
    StartWithLast();
    EXPECT_EQ(DatabaseOpen, 1);
    EXPECT_EQ(CurrentDatabasePath, name_ + ".dbs");
    ASSERT_TRUE(Db()->IsDatabaseOpen());
    EXPECT_EQ(FirstName(), "Ann");
    EXPECT_EQ(UserAccessLevel, 9);
    // The default refresh interval (one second) starts the refresh timer.
    EXPECT_TRUE(Launcher().HasTimer(CMainView::kRefreshTimer));

    app_->GetMainFrame()->GetLauncher().OnCloseView(false);
    app_->ExitInstance();
    app_.reset();
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.cfg").rfind("LAST|" + name_ + ".dbs\r\n", 0), 0u);
}

TEST_F(LauncherRoadTest, WrongPasswordOpensNothing)
{
    folder_.WriteFile("Dorvalquintex.cfg", "LAST|" + name_ + ".dbs\r\n");
    ScriptPassword("nobody");
    ui::test::GetHooks().messageBoxAnswers = {ui::IDNO};
    app_ = std::make_unique<CDorvalquintexApp>();
    app_->SetProgramFolder(folder_.Path());
    app_->InitApplication();
    ASSERT_TRUE(app_->InitInstance());
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts, Words{"Password not recognized. Try again?"});
    EXPECT_EQ(DatabaseOpen, 0);
    EXPECT_FALSE(Db()->IsDatabaseOpen());
    EXPECT_FALSE(Launcher().HasTimer(CMainView::kRefreshTimer));
}

TEST_F(LauncherRoadTest, RefreshTimerAppliesAnotherCopysChange)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    const std::string otherFolder = folder_.FilePath("other");
    std::filesystem::create_directory(otherFolder);
    std::ofstream(otherFolder + "/Dorvalquintex.usr") << "127.0.0.1\r\n127.0.0.2\r\n";
    DriverProcess other("127.0.0.2", "127.0.0.1", otherFolder);
    ASSERT_TRUE(other.Started());
    const Words opened = Run(other, "opendb " + name_ + " other");
    ASSERT_EQ(opened.size(), 2u) << opened.at(0);
    ASSERT_EQ(opened[0], "1");

    ASSERT_EQ(Run(other, "editperson " + std::to_string(code_) + " Anna"), Words{"1"});
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (FirstName() != "Anna" && std::chrono::steady_clock::now() < until) {
        ASSERT_TRUE(ui::test::FireTimer(Launcher(), CMainView::kRefreshTimer));
        ui::Application::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_EQ(FirstName(), "Anna");
    EXPECT_EQ(Db()->m_nUsersOnLine, 2u);

    Run(other, "closedb");
    other.Stop();
}

// Another desk appends the default categories: its notices reach this desk, whose refresh
// timer (or the notice itself) re-reads them, and the view shown re-reads its lines.
TEST_F(LauncherRoadTest, CategoriesAddedOnAnotherDeskAreListedAfterTheRefresh)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    CDatabaseView* view = ShowRawView();
    ASSERT_NE(view, nullptr);
    const size_t blocksBefore = view->GetLocations().size();
    std::unique_ptr<DriverProcess> other = StartOtherCopy(true);
    ASSERT_TRUE(other);
    ASSERT_EQ(Categories(), 0u);

    ASSERT_EQ(Run(*other, "categories"), Words{"35"});
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Categories() != 35u && std::chrono::steady_clock::now() < until) {
        ASSERT_TRUE(ui::test::FireTimer(Launcher(), CMainView::kRefreshTimer));
        ui::Application::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(Categories(), 35u) << other->Transcript();
    const auto& list = *Db()->GetItemList(TABLE_CATEGORY);
    EXPECT_EQ(static_cast<const CCategory*>(list.front().pItem)->m_sName, "Private lesson");
    EXPECT_EQ(static_cast<const CCategory*>(list.back().pItem)->m_sName, "Wages paid");
    EXPECT_EQ(list.back().nSequence, 34u);
    EXPECT_GE(view->GetLocations().size(), blocksBefore + 35);
    EXPECT_TRUE(Db()->m_aRefreshFlags.empty());

    // And the other way: this desk's categories reach the other copy.
    ui::test::GetHooks().messageBoxAnswers = {ui::IDYES};
    Launcher().OnCommand(32940, 0);
    EXPECT_EQ(Categories(), 70u);
    const auto back = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    Words counted;
    while ((counted = Run(*other, "count 5")) != Words{"70"} && std::chrono::steady_clock::now() < back)
        ASSERT_EQ(Run(*other, "refresh"), Words{"1"});
    EXPECT_EQ(counted, Words{"70"});
    Run(*other, "closedb");
    other->Stop();
}

// Two desks that did not find each other on the network (each counts one user): no notice
// comes, the refresh timer has nothing to apply, and File, reFresh (Ctrl+R, here from the view
// shown) re-reads the file whole.
TEST_F(LauncherRoadTest, CtrlRReadsWhatADeskOutsideTheLinkWrote)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    CDatabaseView* view = ShowRawView();
    ASSERT_NE(view, nullptr);
    const size_t blocksBefore = view->GetLocations().size();
    std::unique_ptr<DriverProcess> other = StartOtherCopy(false);
    ASSERT_TRUE(other);
    EXPECT_EQ(Db()->m_nUsersOnLine, 1u);
    ASSERT_EQ(Run(*other, "categories"), Words{"35"});
    ASSERT_TRUE(ui::test::FireTimer(Launcher(), CMainView::kRefreshTimer));
    ui::Application::PumpMessages();
    EXPECT_EQ(Categories(), 0u);
    EXPECT_EQ(view->GetLocations().size(), blocksBefore);

    ASSERT_TRUE(app_->GetMainFrame()->QueryCommandState(30003).IsEnabled());
    view->HandleKey('R', true);
    EXPECT_EQ(Categories(), 35u);
    EXPECT_GE(view->GetLocations().size(), blocksBefore + 35);
    EXPECT_EQ(FirstName(), "Ann");

    // From the launcher too: the other desk's next change is read by Ctrl+R.
    app_->GetMainFrame()->ReturnToMainView();
    ASSERT_EQ(Run(*other, "editperson " + std::to_string(code_) + " Anna"), Words{"1"});
    Launcher().HandleKey('R', true);
    EXPECT_EQ(FirstName(), "Anna");
    Run(*other, "closedb");
    other->Stop();
}

TEST_F(LauncherRoadTest, PurgeCommandAsksForTheDates)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    auto& h = ui::test::GetHooks();
    // Cancel in the date prompt changes nothing.
    h.messageBoxAnswers = {ui::IDNO};
    h.dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    Launcher().OnCommand(30099, 0);
    EXPECT_EQ(FirstName(), "Ann");
    EXPECT_EQ(h.dialogsRun.back(), 310);

    // Cut-off dates after the person's entry: a person with no activities goes.
    const DATE cutOff = std::floor(AddToDate(GetNow(), 30, 0, 0, 0));
    h.messageBoxAnswers = {ui::IDNO};
    h.dialogScripts.push_back([cutOff](ui::Dialog& d) {
        auto& prompt = static_cast<CDialogGetPurgeDates&>(d);
        prompt.m_NoActivities.SetValue(cutOff);
        prompt.m_WithActivities.SetValue(cutOff);
        ui::test::Click(d, 1000);
    });
    Launcher().OnCommand(30099, 0);
    EXPECT_EQ(h.dialogsRun.back(), 310);
    EXPECT_EQ(FirstName(), "-");
    EXPECT_EQ(h.messageBoxTexts.front(), "Would you like to do a backup first?");
}

TEST_F(LauncherRoadTest, SetupCommandsEditStudioDataParametersAndPriceList)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    auto& h = ui::test::GetHooks();
    h.dialogScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Studio data");
        ui::test::SetText(d, 1362, "Moonlight");
        ui::test::Click(d, 1000);
    });
    Launcher().OnCommand(32862, 0);
    EXPECT_EQ(Db()->GetStudioStrings().sStudioName, "Moonlight");

    AppSettings().m_sBackupDrive = "E:";
    h.dialogScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1337), "E:");
        ui::test::SetText(d, 1453, "4");
        ui::test::SetText(d, 1223, "7");
        ui::test::Click(d, 1000);
    });
    Launcher().OnCommand(30088, 0);
    EXPECT_EQ(AppSettings().m_nTimedBackup, 4);
    EXPECT_EQ(Db()->m_Parameters.GetInt(param::kRefreshSeconds), 7);

    h.dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    Launcher().OnCommand(30037, 0);
    EXPECT_EQ(h.dialogsRun.back(), 232);

    // What was saved is what the file holds.
    CDatabase reader;
    reader.m_bNetworkDisabled = true;
    ScriptPassword("other");
    Launcher().OnCloseView(false);
    ASSERT_TRUE(reader.OpenDatabase(name_, 0));
    EXPECT_EQ(reader.GetStudioStrings().sStudioName, "Moonlight");
    EXPECT_EQ(reader.m_Parameters.GetInt(param::kRefreshSeconds), 7);
    reader.CloseDatabase();
}

TEST_F(LauncherRoadTest, ClearDeletedDataPurgesOnlyOnTheLockManagersYes)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    auto& h = ui::test::GetHooks();
    h.messageBoxAnswers = {ui::IDYES};
    ASSERT_EQ(Db()->DeleteTableItem(TABLE_PERSON, code_, 1), 1);
    const auto reportNamesSmith = [&] {
        h.messageBoxTexts.clear();
        // The report opens in the rich-text viewer, which the script closes.
        h.frameScripts.push_back([](ui::Window& w) {
            EXPECT_EQ(w.GetWindowText(), "Rich-Text Editor");
            static_cast<ui::FrameWindow&>(w).SendCommand(CRtfViewerFrame::kCmdExit);
        });
        Launcher().OnCommand(30013, 0);
        bool found = false;
        for (const std::string& line : Db()->m_aLastReport)
            found = found || line.find("Smith") != std::string::npos;
        return found;
    };
    ASSERT_TRUE(reportNamesSmith());

    Launcher().m_fnIsLockManager = [] { return false; };
    h.messageBoxTexts.clear();
    h.messageBoxAnswers = {ui::IDOK};
    Launcher().OnCommand(30008, 0);
    ASSERT_EQ(h.messageBoxTexts.size(), 1u);
    EXPECT_EQ(h.messageBoxTexts[0], "Only the user on computer " + Db()->GetLockMngrName() +
                                        " should perform this operation.");
    EXPECT_TRUE(reportNamesSmith());

    Launcher().m_fnIsLockManager = [] { return true; };
    h.messageBoxTexts.clear();
    h.messageBoxAnswers = {ui::IDNO};
    Launcher().OnCommand(30008, 0);
    ASSERT_FALSE(h.messageBoxTexts.empty());
    EXPECT_EQ(h.messageBoxTexts[0], "Are you sure you want to permanently delete items marked for deletion?");
    EXPECT_TRUE(reportNamesSmith()) << "No keeps the deleted items";

    h.messageBoxAnswers = {ui::IDYES};
    Launcher().OnCommand(30008, 0);
    EXPECT_EQ(DatabaseOpen, 1);
    EXPECT_FALSE(reportNamesSmith());
}

// The integrity tests show their lines in the rich-text viewer over REPORT.RTF; the web page
// view opens the chosen page.
TEST_F(LauncherRoadTest, IntegrityTestsOpenTheViewerAndWebPagesOpenAFrame)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    auto& h = ui::test::GetHooks();
    for (int command : {30017, 30007, 30015}) {
        std::filesystem::remove(folder_.FilePath("REPORT.RTF"));
        std::string shown;
        h.frameScripts.push_back([&shown](ui::Window& w) {
            auto& viewer = dynamic_cast<CRtfViewerFrame&>(w);
            shown = viewer.Edit().GetPlainText();
            viewer.SendCommand(CRtfViewerFrame::kCmdExit);
        });
        Launcher().OnCommand(command, 0);
        EXPECT_TRUE(h.frameScripts.empty()) << command;
        EXPECT_TRUE(folder_.Exists("REPORT.RTF")) << command;
        EXPECT_FALSE(shown.empty()) << command;
        EXPECT_TRUE(app_->GetMainFrame()->IsWindowVisible()) << command;
    }
    folder_.WriteFile("page.htm", "<HTML><BODY>Caf\xE9</BODY></HTML>");
    h.scriptFileDialogs = true;
    h.fileDialogAnswers = {folder_.FilePath("page.htm")};
    Launcher().OnCommand(32924, 0);
    ASSERT_EQ(h.fileDialogRequests.size(), 1u);
    EXPECT_EQ(h.fileDialogRequests[0].filter, "Web pages (*.HTM)|*.HTM||");
}

// The program's session end: a separate process runs the program object on the fixture (the
// same test binary, started with the disabled child test below) and is sent SIGTERM.
// While a report's dates dialog is open another desk saves a payment: the refresh timer changes
// nothing until the report returns; the next refresh brings the payment into a new report. The
// other report commands reach their selections.
TEST_F(LauncherRoadTest, ReportHoldsTheRefreshUntilItReturns)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    std::vector<CFrameWndReport*> frames;
    SetReportFrameFactory([&frames]() -> IReportFrame* {
        auto* f = new CFrameWndReport();
        frames.push_back(f);
        return f;
    });
    std::unique_ptr<DriverProcess> other = StartOtherCopy(true);
    ASSERT_TRUE(other);
    const size_t before = Db()->GetItemList(TABLE_PAYMENT)->size();
    ui::test::GetHooks().dialogScripts.push_back([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Report dates");
        EXPECT_EQ(Run(*other, "addpayment " + std::to_string(code_) + " 42"), Words{"1"});
        for (int i = 0; i < 5; ++i) {
            ui::test::FireTimer(Launcher(), CMainView::kRefreshTimer);
            ui::Application::PumpMessages();
        }
        EXPECT_EQ(Db()->GetItemList(TABLE_PAYMENT)->size(), before);
        ui::test::Click(d, 1000);
    });
    Launcher().OnCommand(32888, 0);
    ASSERT_EQ(frames.size(), 1u);
    // The table was built on the tables as they stood; the held refresh runs once it returned.
    for (const stFmtString& line : frames[0]->GetLines())
        EXPECT_EQ(line.strText.find("Driver"), std::string::npos) << line.strText;
    frames[0]->SendCommand(CFrameWndReport::kCmdExit);
    ui::test::DeleteDestroyedWindows();
    EXPECT_EQ(ReportViewDisplayed, 0);

    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Db()->GetItemList(TABLE_PAYMENT)->size() == before && std::chrono::steady_clock::now() < until) {
        ASSERT_TRUE(ui::test::FireTimer(Launcher(), CMainView::kRefreshTimer));
        ui::Application::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(Db()->GetItemList(TABLE_PAYMENT)->size(), before + 1);
    Launcher().OnCommand(30081, 0);
    ASSERT_EQ(frames.size(), 2u);
    bool found = false;
    for (const stFmtString& line : frames[1]->GetLines())
        found = found || line.strText.find("Payment: Driver") != std::string::npos;
    EXPECT_TRUE(found);
    frames[1]->SendCommand(CFrameWndReport::kCmdExit);
    ui::test::DeleteDestroyedWindows();

    // The other report commands reach their selections.
    ui::test::Hooks& h = ui::test::GetHooks();
    h.dialogScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Report dates");
        ui::test::Click(d, ui::IDCANCEL);
    });
    Launcher().OnCommand(32910, 0);
    int taxAsked = 0;
    h.dialogScripts.push_back([&taxAsked](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Tax report dates");
        ++taxAsked;
        ui::test::Click(d, ui::IDCANCEL);
    });
    Launcher().OnCommand(30087, 0);
    EXPECT_EQ(taxAsked, 1);
    h.messageBoxTexts.clear();
    h.messageBoxAnswers = {ui::IDOK};
    Launcher().OnCommand(30100, 0);  // the fixture has no accounts
    EXPECT_EQ(h.messageBoxTexts, Words{"No categories specified"});
    EXPECT_EQ(frames.size(), 2u);
    // The activity reports reach their selections; the count and the obligations open at once.
    const struct {
        int id;
        const char* dialog;
    } asking[] = {{32909, "Report dates"}, {30089, "Get date"}, {30102, "Get date"}, {32943, "Select item"}};
    for (const auto& c : asking) {
        std::string title;
        h.dialogScripts.push_back([&title](ui::Dialog& d) {
            title = d.GetWindowText();
            ui::test::Click(d, ui::IDCANCEL);
        });
        Launcher().OnCommand(c.id, 0);
        EXPECT_EQ(title, c.dialog) << c.id;
    }
    EXPECT_EQ(frames.size(), 2u);
    for (int id : {32899, 30084, 32908}) {
        Launcher().OnCommand(id, 0);
        ASSERT_EQ(frames.size(), 3u) << id;
        frames.back()->SendCommand(CFrameWndReport::kCmdExit);
        ui::test::DeleteDestroyedWindows();
        frames.pop_back();
    }
    Run(*other, "closedb");
    other->Stop();
}

TEST_F(LauncherRoadTest, SigtermClosesTheFileAsANormalExitDoes)
{
    folder_.WriteFile("Dorvalquintex.cfg", "LAST|" + name_ + ".dbs\r\n");
    ::setenv(kChildFolderVariable, folder_.Path().c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    std::string filter = "--gtest_filter=LauncherProgramChild.DISABLED_RunsUntilSignal";
    std::string disabled = "--gtest_also_run_disabled_tests";
    char* argv[] = {self.data(), filter.data(), disabled.data(), nullptr};
    pid_t child = -1;
    const int spawned = ::posix_spawn(&child, self.c_str(), nullptr, nullptr, argv, environ);
    ::unsetenv(kChildFolderVariable);
    ASSERT_EQ(spawned, 0);

    // Wait until the child has the file open and loaded (close status 0, presence lock held).
    const std::string file = name_ + ".dbs";
    auto isOpenByChild = [&] {
        const int fd = ::open(file.c_str(), O_RDWR);
        if (fd < 0) return false;
        char status = 1;
        const bool open = ::pread(fd, &status, 1, 4) == 1 && status == 0;
        struct flock probe = {};
        probe.l_type = F_WRLCK;
        probe.l_whence = SEEK_SET;
        probe.l_start = static_cast<off_t>(CDbEngine::kPresenceLockOffset);
        probe.l_len = 1;
        const bool held = ::fcntl(fd, F_OFD_SETLK, &probe) != 0;
        ::close(fd);
        return open && held;
    };
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!isOpenByChild() && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const bool sawOpen = isOpenByChild();
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    ::kill(child, SIGTERM);
    int status = 0;
    until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    pid_t done = 0;
    while ((done = ::waitpid(child, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    if (done == 0) {
        ::kill(child, SIGKILL);
        ::waitpid(child, &status, 0);
        FAIL() << "the program did not end on SIGTERM";
    }
    ASSERT_TRUE(sawOpen) << "the program never opened the database";
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);

    // As after a normal close: marked closed, every lock byte free, no presence left.
    const std::string bytes = folder_.ReadFile(std::filesystem::path(file).filename().string());
    ASSERT_GE(bytes.size(), 1024u);
    EXPECT_EQ(bytes[4], 1);
    for (int i = 256; i < 256 + 13; ++i) EXPECT_EQ(bytes[i], 0) << i;
    EXPECT_FALSE(isOpenByChild());
    const int fd = ::open(file.c_str(), O_RDWR);
    ASSERT_GE(fd, 0);
    struct flock probe = {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    probe.l_start = 0;
    probe.l_len = 0;
    EXPECT_EQ(::fcntl(fd, F_OFD_SETLK, &probe), 0) << "a lock outlived the program";
    ::close(fd);
    // The settings were saved on the way out.
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.cfg").rfind("LAST|" + name_ + ".dbs\r\n", 0), 0u);
}

// While the enrollment grid is open its hold on the refresh keeps another desk's purchase out of
// it, whatever period the user steps to; when the grid closes the held refresh runs, and the grid
// opened again counts the purchase.
TEST_F(LauncherRoadTest, EnrollmentGridHoldsTheRefreshUntilItCloses)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    CMainFrame* frame = app_->GetMainFrame();
    auto openGrid = [&]() -> CReportGrid* {
        Launcher().OnCommand(32877, 0);
        const auto& windows = frame->GetRecordWindows();
        return windows.size() == 1 ? dynamic_cast<CReportGrid*>(windows[0]) : nullptr;
    };
    // Without contract types the week's group is its label, "Other" and "Totals".
    auto weekContracts = [](CReportGrid* grid) { return grid->m_Cells.GetText(2, 2); };
    CReportGrid* grid = openGrid();
    ASSERT_NE(grid, nullptr);
    ASSERT_EQ(grid->m_Cells.GetText(2, 0), "Other");
    EXPECT_EQ(weekContracts(grid), "0");

    std::unique_ptr<DriverProcess> other = StartOtherCopy(true);
    ASSERT_NE(other, nullptr);
    const Words added = Run(*other, "addpurchase " + std::to_string(code_));
    ASSERT_EQ(added.size(), 2u);
    ASSERT_EQ(added[0], "1");
    // The notice arrives and the timer ticks, but the refresh waits for the grid.
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!Db()->m_bRefreshPending && Db()->m_aRefreshFlags.empty() && std::chrono::steady_clock::now() < until) {
        ui::Application::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    ASSERT_TRUE(Db()->m_bRefreshPending || !Db()->m_aRefreshFlags.empty());
    ASSERT_TRUE(ui::test::FireTimer(Launcher(), CMainView::kRefreshTimer));
    EXPECT_TRUE(Db()->GetItemList(TABLE_PURCHASE)->empty());
    grid->SendCommand(CReportGrid::kCmdNext);
    grid->SendCommand(CReportGrid::kCmdCurrent);
    EXPECT_EQ(weekContracts(grid), "0");

    grid->SendCommand(CReportGrid::kCmdExit);
    ui::test::DeleteDestroyedWindows();
    until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (Db()->GetItemList(TABLE_PURCHASE)->empty() && std::chrono::steady_clock::now() < until) {
        ASSERT_TRUE(ui::test::FireTimer(Launcher(), CMainView::kRefreshTimer));
        ui::Application::PumpMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_EQ(Db()->GetItemList(TABLE_PURCHASE)->size(), 1u);
    grid = openGrid();
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(weekContracts(grid), "1");
    EXPECT_EQ(grid->m_Cells.GetText(3, 2), "1");
    grid->SendCommand(CReportGrid::kCmdExit);
    ui::test::DeleteDestroyedWindows();

    Run(*other, "closedb");
    other->Stop();
}

// Run only as the child of the test above: the program object on the message loop until the
// session ends.
TEST(LauncherProgramChild, DISABLED_RunsUntilSignal)
{
    const char* folder = std::getenv(kChildFolderVariable);
    if (folder == nullptr) GTEST_SKIP() << "runs only as a child process";
    ui::test::EnsureApplication();
    ui::test::Hooks& h = ui::test::ResetHooks();
    h.scriptMessageBoxes = true;
    h.driveDialogs = true;
    ScriptPassword("desk");
    CDorvalquintexApp app;
    app.SetProgramFolder(folder);
    EXPECT_EQ(app.Run(), 0);
    EXPECT_TRUE(h.failures.empty()) << h.failures.front();
    EXPECT_EQ(DatabaseOpen, 0);
}


// The exchange rows of the launcher: an IIF import, a student export that opens the spreadsheet
// grid, the file viewer, and the category dump.
TEST_F(LauncherRoadTest, ExchangeCommandsRunFromTheLauncher)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    auto& h = ui::test::GetHooks();
    h.scriptFileDialogs = true;
    folder_.WriteFile("in.iif", "!CUST\tFIRSTNAME\tLASTNAME\r\nCUST\tBea\tAdams\r\n");
    h.fileDialogAnswers.push_back(folder_.FilePath("in.iif"));
    h.messageBoxAnswers = {ui::IDOK};
    Launcher().OnCommand(32893, 0);
    EXPECT_EQ(h.messageBoxTexts.back(), "Imported data:\n1 students\n0 employees\n0 accounts");
    EXPECT_EQ(static_cast<const CPerson*>(Db()->GetItemList(TABLE_PERSON)->front().pItem)->m_sLastName, "Adams");

    const uint32_t holds = Db()->m_nDisableRefreshCount;
    h.fileDialogAnswers.push_back(folder_.FilePath("out.iif"));
    h.dialogScripts.push_back([](ui::Dialog& d) {
        static_cast<CDialogSetDateTime&>(d).m_DateEdit.SetValue(MakeDate(2000, 1, 1, 0, 0));
        ui::test::Click(d, 1000);
    });
    h.messageBoxAnswers = {ui::IDYES};
    Launcher().OnCommand(32927, 0);
    EXPECT_EQ(h.messageBoxTexts.back(), "2 persons exported.\nWould you like to view IIF file?");
    EXPECT_NE(folder_.ReadFile("out.iif").find("CUST\tBea Adams\t"), std::string::npos);
    EXPECT_FALSE(app_->GetMainFrame()->IsWindowVisible()) << "the grid replaces the main window";
    EXPECT_EQ(Db()->m_nDisableRefreshCount, holds + 1) << "the grid holds the refresh";

    h.fileDialogAnswers.push_back("");
    Launcher().OnCommand(32931, 0);  // cancelled: no grid
    EXPECT_EQ(Db()->m_nDisableRefreshCount, holds + 1);

    Launcher().OnCommand(32944, 0);
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.dmp").substr(0, 12), "0 CATEGORIES");
}


// Another copy adds and edits persons while this one imports 200 students: every person gets a key
// of its own, both copies and a fresh load see every change, and the record list stays whole.
TEST_F(LauncherRoadTest, ImportWhileAnotherCopyAddsAndEditsPersons)
{
    StartWithLast();
    ASSERT_EQ(DatabaseOpen, 1);
    auto other = StartOtherCopy(true);
    ASSERT_TRUE(other);
    std::string lines;
    for (int i = 0; i < 200; ++i) lines += Format("Student%03d\tImported\t3/4/2026\t\t\t\t\t\t\t\t\tA\r\n", i);
    folder_.WriteFile("students.txt", lines);
    constexpr int kAdded = 5;
    for (int i = 0; i < kAdded; ++i) other->Send(Format("addperson Desk Other%i", i));
    other->Send("editperson " + std::to_string(code_) + " Anna");
    auto& h = ui::test::GetHooks();
    h.scriptFileDialogs = true;
    h.fileDialogAnswers.push_back(folder_.FilePath("students.txt"));
    Launcher().OnCommand(32935, 0);
    // The other copy's answers, as they come.
    auto answer = [&](const std::string& word) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (std::chrono::steady_clock::now() < until) {
            ui::Application::PumpMessages();
            if (other->HasAnswerWithin(word, 20)) return other->Answer(word, 0);
        }
        return Words{"TIMEOUT"};
    };
    for (int i = 0; i < kAdded; ++i) EXPECT_EQ(answer("addperson").at(0), "1") << other->Transcript();
    EXPECT_EQ(answer("editperson"), Words{"1"});
    Launcher().HandleKey('R', true);
    const size_t total = 1 + 200 + kAdded;
    const std::vector<stIndex>& persons = *Db()->GetItemList(TABLE_PERSON);
    EXPECT_EQ(persons.size(), total);
    std::set<uint32_t> codes;
    for (const stIndex& e : persons) codes.insert(e.nCode);
    EXPECT_EQ(codes.size(), total) << "no key is shared";
    EXPECT_EQ(FirstName(), "Anna");
    ASSERT_EQ(Run(*other, "refresh"), Words{"1"});
    EXPECT_EQ(Run(*other, "count 6"), Words{std::to_string(total)});
    EXPECT_EQ(Run(*other, "listtest").at(0), "1");
    // A fresh load sees the same.
    Run(*other, "closedb");
    EXPECT_EQ(Run(*other, "opendb " + name_ + " other").at(0), "1");
    EXPECT_EQ(Run(*other, "count 6"), Words{std::to_string(total)});
    EXPECT_EQ(Run(*other, "person " + std::to_string(code_)), (Words{"Smith", "Anna"}));
    Run(*other, "closedb");
    other->Stop();
}

}  // namespace
