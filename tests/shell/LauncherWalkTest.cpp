// Every launcher button and every command of the list views either does something the user sees
// (a view, a box, a dialog) or is greyed: walked with no database, as a clerk and as the master.

#include "ShellTestSupport.h"

#include "common/DataPaths.h"
#include "database/Database.h"
#include "widgets/CommandGuards.h"
#include "platform/ui/Dialog.h"
#include "widgets/ExternalPrograms.h"
#include "platform/ui/TestHooks.h"
#include "shell/MainFrame.h"
#include "shell/MainMenu.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"
#include "views/ContactView.h"
#include "views/DatabaseView.h"
#include "views/MaillistView.h"
#include "views/PaymentView.h"
#include "views/PurchaseView.h"
#include "views/ScheduleView.h"

#include <functional>
#include <memory>
#include <set>

namespace {

struct stRole {
    const char* name;
    int databaseOpen;
    uint8_t level;
};
const stRole kRoles[] = {{"no database", 0, 0}, {"clerk", 1, 5}, {"master", 1, 10}};

class LauncherWalkTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ui::test::GetHooks().driveDialogs = true;
        ui::test::GetHooks().scriptFileDialogs = true;
        frame_ = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame_->CreateMainFrame());
        MainFrame = frame_.get();
        launcher().OnOpenView("");
    }
    void TearDown() override
    {
        MainFrame = nullptr;
        frame_.reset();
        ShellTest::TearDown();
    }
    CMainView& launcher() { return frame_->GetLauncher(); }

    // What the user can see of a command's work: boxes, dialogs and file dialogs shown, the view.
    struct stSeen {
        size_t boxes, dialogs, fileDialogs;
        int view;
        int grids;
        bool operator==(const stSeen&) const = default;
    };
    std::vector<ui::Window*> Grids() const
    {
        std::vector<ui::Window*> grids;
        if (const CDatabase* db = frame_->GetLauncher().GetDatabase())
            for (ui::Window* grid : {db->m_pScheduleGrid, db->m_pTeacherGrid, db->m_pRoomGrid})
                if (grid) grids.push_back(grid);
        return grids;
    }
    stSeen Seen() const
    {
        const ui::test::Hooks& h = ui::test::GetHooks();
        return {h.messageBoxes.size(), h.dialogsRun.size(), h.fileDialogRequests.size(),
                frame_->GetCurrentView(), static_cast<int>(Grids().size())};
    }
    // Closes the grid windows a button opened, as their Exit does.
    void CloseGrids()
    {
        for (ui::Window* grid : Grids()) grid->DestroyWindow();
        ui::test::DeleteDestroyedWindows();
    }
    // The walk answers nothing: each box takes its first button, each dialog is cancelled. Those
    // unscripted answers are what the walk looks for, not failures.
    static void ForgetUnscripted() { ui::test::GetHooks().failures.clear(); }

    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(LauncherWalkTest, EveryButtonWorksOrIsGreyed)
{
    // Buttons whose sign-in and entry dialogs are not built yet.
    const std::set<int> greyed = {8, 10};
    for (const stRole& role : kRoles) {
        for (int k = 0; k < CMainView::kButtonCount; ++k) {
            SCOPED_TRACE(std::string(role.name) + " button " + std::to_string(k));
            DatabaseOpen = role.databaseOpen;
            UserAccessLevel = role.level;
            frame_->ReturnToMainView();
            launcher().SelectButton(7, 1);
            CLauncherButton& button = launcher().Button(k);
            EXPECT_EQ(button.IsGreyed(), greyed.count(k) == 1);
            EXPECT_EQ(button.IsWindowEnabled(), !button.IsGreyed());
            const stSeen before = Seen();
            // Exit is answered Cancel; every other box takes its first button.
            if (k == 0) ui::test::GetHooks().messageBoxAnswers = {ui::IDCANCEL};
            launcher().OnCommand(CMainView::kFirstButtonId + k, ui::BN_CLICKED);
            ForgetUnscripted();
            if (button.IsGreyed()) {
                EXPECT_EQ(Seen(), before) << "a greyed button does nothing";
                EXPECT_EQ(launcher().GetSelectedRow(), 7);
                EXPECT_EQ(launcher().GetSelectedColumn(), 1);
            } else if (k != 15) {
                EXPECT_NE(Seen(), before) << "a live button shows something";
            } else {
                // The mail list needs the lock of its table in an open file; the walk's database
                // object never opens one, so the list goes back to the launcher at once.
                EXPECT_EQ(frame_->GetCurrentView(), 0);
            }
            CloseGrids();
        }
    }
    // The keys of greyed buttons do nothing either; F3 still answers.
    DatabaseOpen = 0;
    frame_->ReturnToMainView();
    const stSeen before = Seen();
    for (int vk : {ui::VK_F9, ui::VK_F11}) launcher().HandleKey(vk, false);
    EXPECT_EQ(Seen(), before);
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    launcher().HandleKey(ui::VK_F3, false);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(), "No database is open.");
}

TEST_F(LauncherWalkTest, EveryListCommandWorksOrIsGreyedOnAnEmptyList)
{
    struct stList {
        int view;
        std::function<void()> open;
        // Commands that must be greyed while the list is empty.
        std::set<int> greyedWhenEmpty;
    };
    CDatabase* db = launcher().GetDatabase();
    const stList lists[] = {
        {3, [&] { frame_->StudentView(db); }, {CContactView::kCmdPrint, CContactView::kCmdDelete, CContactView::kCmdEdit}},
        {2, [&] { frame_->TeacherView(db); }, {CContactView::kCmdPrint, CContactView::kCmdDelete, CContactView::kCmdEdit}},
        {8, [&] { frame_->InterviewView(db); }, {}},
        {5, [&] { frame_->PurchaseView(db); },
         {CPurchaseView::kCmdEdit, CPurchaseView::kCmdDelete, CPurchaseView::kCmdCancel, CPurchaseView::kCmdUncancel,
          CPurchaseView::kCmdConvert, CPurchaseView::kCmdRefund, CPurchaseView::kCmdPrint}},
        {6, [&] { frame_->PaymentView(db); },
         {CPaymentView::kCmdEdit, CPaymentView::kCmdDelete, CPaymentView::kCmdRefund,
          CPaymentView::kCmdPrint}},
        {7, [&] { frame_->ScheduleView(db); }, {CScheduleView::kCmdEdit, CScheduleView::kCmdDelete, CScheduleView::kCmdPrint}},
        {1, [&] { frame_->DatabaseView(db, 0); },
         {CDatabaseView::kCmdShowHeader, CDatabaseView::kCmdEditRecord, CDatabaseView::kCmdDeleteRecord,
          CDatabaseView::kCmdUndeleteRecord, CDatabaseView::kCmdMarkLast}},
    };
    // Commands that work without showing anything on an empty list: the scope switches rebuild
    // the (empty) list; unlocking releases every record lock.
    const std::set<int> silent = {CContactView::kCmdAll, CContactView::kCmdActive, CDatabaseView::kCmdUnlockAll,
                                  // mail-list layouts and sort orders, payment modes, purchase sorts and
                                  // schedule filters rebuild the (empty) list
                                  CMaillistView::kCmdPhoneList, CMaillistView::kCmdLabels,
                                  CMaillistView::kCmdEnvelopes, CMaillistView::kCmdSortName,
                                  CMaillistView::kCmdSortZip, CPaymentView::kCmdDue, CPurchaseView::kCmdSortDate,
                                  CPurchaseView::kCmdSortPerson, CPurchaseView::kCmdSortItem,
                                  CScheduleView::kCmdAllTypes, CScheduleView::kCmdPurchased,
                                  CScheduleView::kCmdMiscellaneous, CScheduleView::kCmdPurchasePayments,
                                  CScheduleView::kCmdOtherPayments, CScheduleView::kCmdBirthdays,
                                  CScheduleView::kCmdInterviews, CScheduleView::kCmdGroupLessons};
    for (const stRole& role : kRoles) {
        if (role.databaseOpen == 0) continue;  // the lists open only with a database
        for (const stList& list : lists) {
            DatabaseOpen = role.databaseOpen;
            UserAccessLevel = role.level;
            frame_->ReturnToMainView();
            list.open();
            ASSERT_EQ(frame_->GetCurrentView(), list.view);
            int live = 0;
            for (int id : frame_->GetMenu().CommandIds()) {
                SCOPED_TRACE(std::string(role.name) + " view " + std::to_string(list.view) + " command " +
                             std::to_string(id));
                if (frame_->GetCurrentView() != list.view) list.open();
                const bool enabled = frame_->QueryCommandState(id).IsEnabled();
                if (list.greyedWhenEmpty.count(id)) {
                    EXPECT_FALSE(enabled);
                }
                if (!enabled) {
                    EXPECT_FALSE(frame_->SendCommand(id)) << "a greyed command does not run";
                    continue;
                }
                ++live;
                const stSeen before = Seen();
                frame_->SendCommand(id);
                ForgetUnscripted();
                if (!silent.count(id)) {
                    EXPECT_NE(Seen(), before) << "a live command shows something";
                }
            }
            EXPECT_GT(live, 0);
        }
    }
}

TEST_F(LauncherWalkTest, TemplatePickerOffersNewOnlyWithAWordProcessor)
{
    DatabaseOpen = 1;
    UserAccessLevel = 9;
    for (const char* wordProcessor : {"", "/bin/true"}) {
        SCOPED_TRACE(wordProcessor);
        WordProcessorPath = wordProcessor;
        const bool can = *wordProcessor != 0;
        ui::test::GetHooks().dialogScripts.push_back([can](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Select invoice/contract template file");
            EXPECT_EQ(d.GetDlgItem(ui::IDOK)->IsWindowEnabled(), can) << "OK/Select on <new>";
            ui::test::Click(d, ui::IDOK);
            EXPECT_EQ(d.HasEnded(), can);
            if (!d.HasEnded()) ui::test::Click(d, ui::IDCANCEL);
        });
        EXPECT_TRUE(frame_->SendCommand(30069));
    }
    WordProcessorPath.clear();
    EXPECT_TRUE(ui::test::GetHooks().messageBoxTexts.empty());
}

}  // namespace

namespace {

TEST_F(LauncherWalkTest, SetupCommandsAndF12ReachTheirDialogs)
{
    DatabaseOpen = 1;
    UserAccessLevel = 10;
    struct stCommand {
        int id;
        int dialog;  // template of the dialog it opens
        int close;   // the button that closes it
    } commands[] = {
        {32891, 205, ui::IDOK}, {32892, 205, ui::IDOK}, {32870, 205, ui::IDOK}, {32868, 205, ui::IDOK},
        {32869, 205, ui::IDOK}, {30085, 205, ui::IDOK}, {30086, 205, ui::IDOK}, {30082, 205, ui::IDOK},
        {30105, 205, ui::IDOK}, {30104, 205, ui::IDOK}, {32941, 205, ui::IDOK}, {30070, 205, ui::IDOK},
        {32929, 153, ui::IDCANCEL}, {30050, 213, 1000},
    };
    for (const stCommand& c : commands) {
        SCOPED_TRACE(c.id);
        ui::test::GetHooks().dialogsRun.clear();
        const int close = c.close;
        ui::test::GetHooks().dialogScripts.push_back([close](ui::Dialog& d) { ui::test::Click(d, close); });
        launcher().OnCommand(c.id, 0);
        EXPECT_EQ(ui::test::GetHooks().dialogsRun, std::vector<int>{c.dialog});
    }
    // F12: the payment entry's choice of what to record.
    ui::test::GetHooks().dialogsRun.clear();
    std::string title;
    ui::test::GetHooks().dialogScripts.push_back([&title](ui::Dialog& d) {
        title = d.GetWindowText();
        ui::test::Click(d, ui::IDCANCEL);
    });
    launcher().HandleKey(ui::VK_F12, false);
    EXPECT_EQ(ui::test::GetHooks().dialogsRun.size(), 1u);
    EXPECT_EQ(title, "Select item");

    // F11 in the shopping cart format: the cart.
    AppSettings().m_bShoppingCartFormat = 1;
    ui::test::GetHooks().dialogsRun.clear();
    ui::test::GetHooks().dialogScripts.push_back([&title](ui::Dialog& d) {
        title = d.GetWindowText();
        ui::test::Click(d, ui::IDCANCEL);
    });
    launcher().HandleKey(ui::VK_F11, false);
    AppSettings().m_bShoppingCartFormat = 0;
    EXPECT_EQ(ui::test::GetHooks().dialogsRun, std::vector<int>{305});
    EXPECT_EQ(title, "Shopping cart");
}

}  // namespace
