#include "ShellTestSupport.h"

#include "widgets/CommandGuards.h"
#include "common/DataPaths.h"
#include "database/Database.h"
#include "database/SettingsRecords.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"
#include "shell/AboutDlg.h"
#include "shell/MainFrame.h"
#include "views/RoomGrid.h"
#include "views/ScheduleGrid.h"
#include "views/TeacherActivityGrid.h"
#include "views/TeacherGrid.h"
#include "shell/ProgramState.h"

#include <memory>

namespace {

class LauncherTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame_ = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame_->CreateMainFrame());
        MainFrame = frame_.get();
        view().OnOpenView("");
    }
    void TearDown() override
    {
        MainFrame = nullptr;
        frame_.reset();
        ShellTest::TearDown();
    }
    CMainView& view() { return frame_->GetLauncher(); }
    std::vector<std::string>& Boxes() { return ui::test::GetHooks().messageBoxTexts; }
    // Opening succeeds with the given refresh interval (seconds) and logs a user on.
    void AllowOpen(int32_t interval, uint8_t level)
    {
        view().m_fnOpenDatabase = [this, interval, level](const std::string&, int) {
            view().GetDatabase()->m_Parameters.SetInt(param::kRefreshSeconds, interval);
            UserAccessLevel = level;
            return 1;
        };
    }
    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(LauncherTest, SixteenButtonsWithTheirCaptions)
{
    const char* captions[] = {
        "Exit Dorvalquintex", "F2 Frequently asked questions - How do I?", "F3 Review/edit student list",
        "F4 Review/edit purchase list", "F5 Review/edit payment list",
        "F6 Review/edit schedulable items list", "F7 Review/edit interview list",
        "F8 Review/edit teacher list", "F9 Student sign-in, schedule, payment",
        "F10 New student, guest, interview, purchase", "F11 Record purchase", "F12 Record payment, credit",
        "Ctrl-F2 View daily teacher schedule", "Ctrl-F3 View weekly studio schedule",
        "Ctrl-F4 View daily room schedule", "Ctrl-F5 Mail list/labels/envelopes"};
    frame_->ShowWindow(true);
    view().MoveWindow({0, 0, 800, 530});
    ui::Application::PumpMessages();
    for (int k = 0; k < 16; ++k) {
        CLauncherButton& b = view().Button(k);
        EXPECT_EQ(b.GetDlgCtrlID(), 180 + k);
        EXPECT_EQ(b.GetWindowText(), captions[k]);
        // Column k / 8, row k % 8, centred in its cell.
        const ui::DCRect r = b.GetWindowRect();
        const int columnWidth = 400, rowHeight = (530 - 30) / 8;
        EXPECT_EQ(r.Width(), static_cast<int>(columnWidth * 0.94)) << k;
        EXPECT_EQ(r.Height(), static_cast<int>(rowHeight * 0.80)) << k;
        EXPECT_EQ(r.left, (k / 8) * columnWidth + (columnWidth - r.Width()) / 2) << k;
        EXPECT_EQ(r.top, (k % 8) * rowHeight + (rowHeight - r.Height()) / 2) << k;
    }
}

TEST_F(LauncherTest, ArrowKeysMoveTheSelection)
{
    struct Case {
        int startRow, startColumn, vk, row, column;
    } cases[] = {
        {0, 0, ui::VK_UP, 7, 0},    {7, 1, ui::VK_DOWN, 0, 1}, {3, 1, ui::VK_RIGHT, 3, 0},
        {3, 0, ui::VK_RIGHT, 3, 1}, {2, 0, ui::VK_LEFT, 2, 0}, {2, 1, ui::VK_LEFT, 2, 0},
    };
    for (const Case& c : cases) {
        view().SelectButton(c.startRow, c.startColumn);
        view().HandleKey(c.vk, false);
        EXPECT_EQ(view().GetSelectedRow(), c.row) << c.vk;
        EXPECT_EQ(view().GetSelectedColumn(), c.column) << c.vk;
        EXPECT_TRUE(view().Button(c.column * 8 + c.row).IsSelected());
    }
}

TEST_F(LauncherTest, ButtonsRefuseWithoutDatabaseOrLevel)
{
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK, ui::IDOK};
    view().SelectButton(0, 0);
    view().HandleKey(ui::VK_F3, false);
    DatabaseOpen = 1;
    UserAccessLevel = 5;
    view().HandleKey(ui::VK_F8, false);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"No database is open.", "Access denied to this user."}));
    // A refused button leaves the selection.
    EXPECT_EQ(view().GetSelectedRow(), 0);
    // An allowed one becomes selected: F7 is button 6.
    view().HandleKey(ui::VK_F7, false);
    EXPECT_EQ(view().GetSelectedColumn(), 0);
    EXPECT_EQ(view().GetSelectedRow(), 6);
}

TEST_F(LauncherTest, KeysReachTheLauncherWhileAButtonHasTheFocus)
{
    frame_->ShowWindow(true);
    view().MoveWindow({0, 0, 800, 530});
    ui::Application::PumpMessages();
    view().Button(4).SetFocus();
    ui::Application::PumpMessages();
    ui::test::Hooks& h = ui::test::GetHooks();
    h.messageBoxAnswers = {ui::IDOK};
    ui::test::PressKey(*frame_, ui::VK_F3);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"No database is open."});

    DatabaseOpen = 1;
    UserAccessLevel = 9;
    ui::test::PressKey(*frame_, ui::VK_F7);
    EXPECT_EQ(view().GetSelectedColumn(), 0);
    EXPECT_EQ(view().GetSelectedRow(), 6);
    frame_->ReturnToMainView();
    // Ctrl+B asks for the backup path.
    h.driveDialogs = true;
    h.dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    ui::test::PressCtrlKey(*frame_, 'B');
    EXPECT_EQ(h.dialogsRun, std::vector<int>{226});
}

TEST_F(LauncherTest, TypedCodeIsLookedUp)
{
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    view().HandleKey('1', false);
    view().HandleKey('2', false);
    EXPECT_EQ(view().GetTypedCode(), "12");
    view().HandleKey(ui::VK_BACK, false);
    view().HandleKey('2', false);
    view().HandleKey(ui::VK_RETURN, false);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Person code 12 not found."});
    EXPECT_EQ(view().GetTypedCode(), "");
}

TEST_F(LauncherTest, MenuEnablingByLevel)
{
    struct Case {
        int id;
        int databaseOpen;
        uint8_t level;
        bool enabled;
    } cases[] = {
        {32940, 0, 10, false},  // level-bound: no database, nothing
        {32940, 1, 8, false},
        {32940, 1, 9, true},
        {30002, 1, 5, true},
        {30002, 1, 4, false},
        {30003, 0, 10, false},  // reFresh: level 5 with a database
        {30003, 1, 4, false},
        {30003, 1, 5, true},
        {32894, 1, 9, false},   // level 10
        {32894, 1, 10, true},
        {32925, 1, 1, true},
        {30041, 1, 5, false},   // teacher list at level 5
        {30052, 1, 5, true},    // payments, purchases, schedule items, student mail list: level 5
        {30052, 1, 4, false},
        {30053, 1, 5, true},
        {30054, 1, 4, false},
        {30054, 1, 5, true},
        {30063, 1, 5, true},
        {30063, 0, 10, false},
        {32846, 1, 7, false},   // teacher mail list: level 8
        {32846, 1, 8, true},
        {32888, 1, 7, false},   // daily balance table at level 8
        {32888, 1, 8, true},
        {30081, 1, 8, false},   // balance due, tax, account activity, sale items at level 9
        {30081, 1, 9, true},
        {30087, 1, 8, false},
        {30087, 1, 9, true},
        {30100, 1, 9, true},
        {32910, 1, 8, false},
        {32910, 1, 9, true},
        {32884, 1, 8, false},   // weekly summary at level 9, its e-mail at 7
        {32884, 1, 9, true},
        {32885, 1, 6, false},
        {32885, 1, 7, true},
        {32885, 0, 10, false},
        {32886, 0, 0, true},    // the merge needs no database
        {32886, 1, 1, true},
        {32909, 1, 8, false},   // lessons taught, teacher activity, all obligations at level 9
        {32909, 1, 9, true},
        {30102, 1, 8, false},
        {30102, 1, 9, true},
        {30084, 1, 8, false},
        {30084, 1, 9, true},
        {30089, 1, 4, false},   // student activity, count, roster, missed appointments at level 5
        {30089, 1, 5, true},
        {32899, 1, 4, false},
        {32899, 1, 5, true},
        {32943, 1, 4, false},
        {32943, 1, 5, true},
        {32908, 1, 4, false},
        {32908, 1, 5, true},
        {57665, 0, 0, true},    // Exit
        {30030, 0, 0, true},
    };
    for (const Case& c : cases) {
        DatabaseOpen = c.databaseOpen;
        UserAccessLevel = c.level;
        EXPECT_EQ(frame_->QueryCommandState(c.id).IsEnabled(), c.enabled)
            << c.id << " open " << c.databaseOpen << " level " << int(c.level);
    }
    // Single-user commands are refused while others are logged on.
    DatabaseOpen = 1;
    UserAccessLevel = 10;
    view().GetDatabase()->m_nUsersOnLine = 2;
    EXPECT_FALSE(frame_->QueryCommandState(32894).IsEnabled());
}

TEST_F(LauncherTest, OpeningStartsTimerAndKeepsTenRecent)
{
    AllowOpen(0, 9);
    view().OnDatabaseOpen("/studio/a", 0);
    EXPECT_EQ(DatabaseOpen, 1);
    EXPECT_EQ(view().GetTimerId(), 0u);
    EXPECT_FALSE(view().HasTimer(1));
    EXPECT_EQ(CurrentDatabasePath, "/studio/a");
    EXPECT_EQ(DatabaseFolder, "/studio");

    AllowOpen(30, 9);
    for (int i = 0; i < 11; ++i) view().OnDatabaseOpen("/studio/db" + std::to_string(i), 0);
    EXPECT_EQ(RecentDatabases.size(), 10u);
    EXPECT_EQ(RecentDatabases.front(), "/studio/db10");
    EXPECT_EQ(RecentDatabases.back(), "/studio/db1");
    EXPECT_TRUE(view().HasTimer(1));
    EXPECT_EQ(view().GetTimerId(), 1u);

    view().OnDatabaseClose();
    EXPECT_FALSE(view().HasTimer(1));
    EXPECT_EQ(DatabaseOpen, 0);
    EXPECT_EQ(CurrentDatabasePath, "/studio/db10");  // kept for LAST
}

TEST_F(LauncherTest, FileOpenPicksTheUsersFileAndOpensItsDatabase)
{
    folder_.WriteFile("studio.rgs", "");
    folder_.WriteFile("old.reg", "");
    std::vector<std::string> opened;
    view().m_fnOpenDatabase = [&](const std::string& path, int) {
        opened.push_back(path);
        UserAccessLevel = 9;
        return 1;
    };
    ui::test::Hooks& h = ui::test::GetHooks();
    h.scriptFileDialogs = true;
    h.fileDialogAnswers = {"", folder_.FilePath("studio.rgs"), folder_.FilePath("old.reg")};
    DatabaseOpen = 0;
    EXPECT_TRUE(frame_->QueryCommandState(57601).IsEnabled());
    // Cancel opens nothing.
    EXPECT_TRUE(frame_->SendCommand(57601));
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(DatabaseOpen, 0);
    // The chosen users file names the database by its root.
    EXPECT_TRUE(frame_->SendCommand(57601));
    EXPECT_EQ(opened, std::vector<std::string>{folder_.FilePath("studio")});
    EXPECT_EQ(DatabaseOpen, 1);
    EXPECT_EQ(CurrentDatabasePath, folder_.FilePath("studio"));
    ASSERT_EQ(h.fileDialogRequests.size(), 2u);
    EXPECT_NE(h.fileDialogRequests[1].filter.find("*.rgs"), std::string::npos);
    // An old-style users file takes the current extension.
    EXPECT_TRUE(frame_->SendCommand(57601));
    EXPECT_EQ(opened.back(), folder_.FilePath("old"));
    EXPECT_TRUE(folder_.Exists("old.rgs"));
    EXPECT_FALSE(folder_.Exists("old.reg"));
}

TEST_F(LauncherTest, TitleAndAboutShowTheLoggedOnUser)
{
    CDatabase* db = view().GetDatabase();
    stUserRegData ann;
    ann.SetUserID("ann");
    ann.nUserCode = 3;
    ann.nAccessLevel = 9;
    db->m_aUsers.push_back(ann);
    view().m_fnOpenDatabase = [db](const std::string&, int) {
        db->SetCurrentUser(3, 9);
        UserAccessLevel = 9;
        return 1;
    };
    view().OnDatabaseOpen("\\studio\\spring", 0);
    EXPECT_EQ(view().TitleText(), "Dorvalquintex for studio in database: /studio/spring, user ann");
    ui::test::Hooks& h = ui::test::GetHooks();
    h.driveDialogs = true;
    std::string user, access;
    h.dialogScripts.push_back([&](ui::Dialog& d) {
        user = d.GetDlgItemText(CAboutDlg::kIdUser);
        access = d.GetDlgItemText(CAboutDlg::kIdAccess);
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_TRUE(frame_->SendCommand(57664));
    EXPECT_EQ(user, "User: ann");
    EXPECT_EQ(access, "Access level: 9");
    view().OnDatabaseClose();
    EXPECT_EQ(view().TitleText(), "Dorvalquintex (no database open)");
}

TEST_F(LauncherTest, TimerRefreshesOnlyWhileOpenAndNotHeld)
{
    int refreshes = 0;
    view().m_fnLockAndRefresh = [&] { ++refreshes; };
    AllowOpen(10, 5);
    view().OnTimer(1);
    EXPECT_EQ(refreshes, 0);  // nothing open
    view().OnDatabaseOpen("/studio/x", 0);
    CDatabase* db = view().GetDatabase();
    db->m_bDisableDataRefresh = false;
    ASSERT_TRUE(ui::test::FireTimer(view(), 1));
    EXPECT_EQ(refreshes, 1);
    db->m_nDisableRefreshCount = 1;
    view().OnTimer(1);
    EXPECT_EQ(refreshes, 1);
}

// Both schedule commands open the weekly grid over the main frame at level 5; Exit shows the
// frame again and a close notice closes the grid before the database.
TEST_F(LauncherTest, TheScheduleCommandsOpenTheWeeklyGrid)
{
    AllowOpen(0, 5);
    view().OnDatabaseOpen("/studio/x", 0);
    frame_->ShowWindow(true);
    CDatabase* db = view().GetDatabase();
    struct Case {
        int command;
        int32_t mode;
        bool webPage;
    };
    for (const Case& c : {Case{30058, -1, false}, Case{32922, -2, true}}) {
        SCOPED_TRACE(c.command);
        UserAccessLevel = 4;
        EXPECT_FALSE(frame_->SendCommand(c.command));
        EXPECT_EQ(db->m_pScheduleGrid, nullptr);
        UserAccessLevel = 5;
        ASSERT_TRUE(frame_->SendCommand(c.command));
        auto* grid = dynamic_cast<CScheduleGrid*>(db->m_pScheduleGrid);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->m_nMode, c.mode);
        EXPECT_EQ(grid->GetMenu().HasItem(32923), c.webPage);
        EXPECT_FALSE(frame_->IsWindowVisible());
        grid->SendCommand(30055);
        ui::test::DeleteDestroyedWindows();
        EXPECT_TRUE(frame_->IsWindowVisible());
        EXPECT_EQ(db->m_pScheduleGrid, nullptr);
    }
    ASSERT_TRUE(frame_->SendCommand(30058));
    auto* grid = dynamic_cast<CScheduleGrid*>(db->m_pScheduleGrid);
    ASSERT_NE(grid, nullptr);
    frame_->SendMessage(0x404, 2, 0);
    ui::Application::PumpMessages();
    EXPECT_FALSE(grid->IsCreated());
    EXPECT_TRUE(frame_->IsWindowVisible());
    ui::test::DeleteDestroyedWindows();
}

TEST_F(LauncherTest, TheRoomAndTeacherCommandsOpenTheirGrids)
{
    AllowOpen(0, 5);
    view().OnDatabaseOpen("/studio/x", 0);
    frame_->ShowWindow(true);
    CDatabase* db = view().GetDatabase();
    for (const auto& [command, mode] : {std::pair{32897, 'D'}, std::pair{30071, 'M'}}) {
        SCOPED_TRACE(command);
        ASSERT_TRUE(frame_->SendCommand(command));
        auto* grid = dynamic_cast<CRoomGrid*>(db->m_pRoomGrid);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->m_cMode, mode);
        EXPECT_FALSE(frame_->IsWindowVisible());
        grid->SendCommand(30055);
        ui::test::DeleteDestroyedWindows();
        EXPECT_TRUE(frame_->IsWindowVisible());
        EXPECT_EQ(db->m_pRoomGrid, nullptr);
    }
    // The daily teacher schedule.
    ASSERT_TRUE(frame_->SendCommand(30080));
    auto* teachers = dynamic_cast<CTeacherGrid*>(db->m_pTeacherGrid);
    ASSERT_NE(teachers, nullptr);
    EXPECT_FALSE(frame_->IsWindowVisible());
    teachers->SendCommand(30055);
    ui::test::DeleteDestroyedWindows();
    EXPECT_TRUE(frame_->IsWindowVisible());
    EXPECT_EQ(db->m_pTeacherGrid, nullptr);
}

// The performance commands open the activity grid of teachers or supervisors at level 9; it
// holds off the refresh until its window goes.
TEST_F(LauncherTest, ThePerformanceCommandsOpenTheActivityGrid)
{
    AllowOpen(0, 9);
    view().OnDatabaseOpen("/studio/x", 0);
    frame_->ShowWindow(true);
    CDatabase* db = view().GetDatabase();
    for (const auto& [command, mode] : {std::pair{30097, 'T'}, std::pair{32845, 'S'}}) {
        SCOPED_TRACE(command);
        const uint32_t holds = db->m_nDisableRefreshCount;
        UserAccessLevel = 8;
        EXPECT_FALSE(frame_->SendCommand(command));
        EXPECT_TRUE(frame_->GetRecordWindows().empty());
        UserAccessLevel = 9;
        ASSERT_TRUE(frame_->SendCommand(command));
        ASSERT_EQ(frame_->GetRecordWindows().size(), 1u);
        auto* grid = dynamic_cast<CTeacherActivityGrid*>(frame_->GetRecordWindows().front());
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->m_cMode, mode);
        EXPECT_EQ(db->m_nDisableRefreshCount, holds + 1);
        EXPECT_FALSE(frame_->IsWindowVisible());
        grid->SendCommand(30055);
        ui::test::DeleteDestroyedWindows();
        EXPECT_TRUE(frame_->IsWindowVisible());
        EXPECT_EQ(db->m_nDisableRefreshCount, holds);
    }
    // A close notice closes the grid, and its hold, before the database.
    ASSERT_TRUE(frame_->SendCommand(30097));
    ASSERT_EQ(frame_->GetRecordWindows().size(), 1u);
    ui::Window* grid = frame_->GetRecordWindows().front();
    frame_->SendMessage(0x404, 2, 0);
    ui::Application::PumpMessages();
    EXPECT_FALSE(grid->IsCreated());
    EXPECT_TRUE(frame_->GetRecordWindows().empty());
    EXPECT_TRUE(frame_->IsWindowVisible());
    ui::test::DeleteDestroyedWindows();
}

}  // namespace

namespace {

// F9, 30076 and a typed code sign a student in; 32890 opens the kiosk.
TEST_F(LauncherTest, SignInCommandsReachTheirDialogs)
{
    AllowOpen(0, 5);
    view().OnDatabaseOpen("/studio/x", 0);
    CDatabase* db = view().GetDatabase();
    ASSERT_NE(db, nullptr);
    auto* student = new CPerson('C');
    student->m_nCode = 7;
    student->m_sLastName = "Quill";
    student->m_sFirstName = "Zelda";
    db->AddIndex(TABLE_PERSON, student, 7, 0, 0, 0xFFFFFFFE, -1);
    db->m_aUserPasswords = {"Front"};
    ui::test::Hooks& h = ui::test::GetHooks();
    h.driveDialogs = true;
    auto signIn = [&] {
        h.dialogScripts.push_back([](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Sign-in for Zelda Quill");
            ui::test::Click(d, 1000);
        });
    };
    auto pickStudent = [&] {
        h.dialogScripts.push_back([](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Select student");
            ui::test::PressKey(d, ui::VK_RETURN);
        });
        signIn();
    };

    pickStudent();
    view().HandleKey(ui::VK_F9, false);
    pickStudent();
    ASSERT_TRUE(frame_->SendCommand(30076));
    signIn();
    view().HandleKey('7', false);
    view().HandleKey(ui::VK_RETURN, false);
    EXPECT_EQ(h.dialogsRun, (std::vector<int>{150, 146, 150, 146, 146}));

    h.dialogScripts.push_back([](ui::Dialog& d) {
        ui::test::SetText(d, 1396, "FRONT");
        ui::test::Focus(d, 1396);
        ui::test::PressKey(d, ui::VK_RETURN);
    });
    ASSERT_TRUE(frame_->SendCommand(32890));
    EXPECT_EQ(h.dialogsRun.back(), 151);
    EXPECT_TRUE(h.failures.empty());
}

TEST_F(LauncherTest, F10AddsOrSelectsAStudent)
{
    AllowOpen(0, 5);
    view().OnDatabaseOpen("/studio/x", 0);
    ui::test::Hooks& h = ui::test::GetHooks();
    h.driveDialogs = true;
    h.dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    view().HandleKey(ui::VK_F10, false);
    EXPECT_EQ(h.dialogsRun, std::vector<int>{301}) << "the add-or-select dialog";
}

}  // namespace
