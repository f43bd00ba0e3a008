// The launcher's report grid commands: each opens its grid over the hidden main frame (greyed
// below its level), and every way the database closes closes an open grid first.

#include "ShellTestSupport.h"

#include "database/Database.h"
#include "platform/ui/Menu.h"
#include "platform/ui/TestHooks.h"
#include "shell/MainFrame.h"
#include "shell/MainMenu.h"
#include "shell/ProgramState.h"
#include "widgets/CommandGuards.h"
#include "views/ReportGrid.h"

#include <functional>
#include <memory>

namespace {

class ReportGridLaunchTest : public ShellTest {
public:
    void SetUp() override
    {
        ShellTest::SetUp();
        frame_ = std::make_unique<CMainFrame>();
        ASSERT_TRUE(frame_->CreateMainFrame());
        MainFrame = frame_.get();
        launcher().OnOpenView("");
        frame_->ShowWindow(true);
        DatabaseOpen = 1;
        UserAccessLevel = 10;
    }
    void TearDown() override
    {
        frame_->CloseRecordWindows();
        ui::test::DeleteDestroyedWindows();
        MainFrame = nullptr;
        frame_.reset();
        ShellTest::TearDown();
    }
    CMainView& launcher() { return frame_->GetLauncher(); }
    CReportGrid* OpenGrid(int id)
    {
        launcher().OnCommand(id, 0);
        const auto& windows = frame_->GetRecordWindows();
        return windows.size() == 1 ? dynamic_cast<CReportGrid*>(windows[0]) : nullptr;
    }
    bool Enabled(int id)
    {
        ui::CmdUI cmd(id);
        launcher().UpdateCommand(cmd);
        return cmd.IsEnabled();
    }

    std::unique_ptr<CMainFrame> frame_;
};

TEST_F(ReportGridLaunchTest, EachCommandOpensItsGridAtItsLevel)
{
    const struct {
        int id;
        uint8_t level;
        const char* title;
        int menu;
        const char* report;
    } cases[] = {
        {32879, 9, "Activity breakdown", 120, "Activity breakdown: "},
        {30101, 7, "Weekly advertising data", 117, "Weekly advertising data: "},
        {32916, 8, "Daily balance", 121, "Daily balance: "},
        {32877, 9, "Weekly enrollment data", 119, "Weekly enrollment data: "},
        {30072, 9, "Weekly Finance schedule", 114, "All purchases: "},
        {32878, 9, "Weekly Finance schedule", 114, "Murchandise purchases: "},
        {30073, 9, "Weekly Finance schedule", 114, "Payments received: "},
        {32875, 9, "Weekly Finance schedule", 114, "Summary of payments received: "},
        {30074, 9, "Weekly Finance schedule", 114, "Payments made: "},
        {32860, 7, "Weekly program statistics", 118, "Weekly program statistics: "},
        {32880, 9, "Weekly department statistics", 118, "Weekly department statistics: "},
        {32881, 9, "Weekly contract statistics", 118, "Weekly contract type statistics: "},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        UserAccessLevel = static_cast<uint8_t>(c.level - 1);
        EXPECT_FALSE(Enabled(c.id));
        UserAccessLevel = c.level;
        EXPECT_TRUE(Enabled(c.id));
        DatabaseOpen = 0;
        EXPECT_FALSE(Enabled(c.id));
        DatabaseOpen = 1;

        const uint32_t held = launcher().GetDatabase()->m_nDisableRefreshCount;
        CReportGrid* grid = OpenGrid(c.id);
        ASSERT_NE(grid, nullptr);
        EXPECT_EQ(grid->GetWindowText(), c.title);
        EXPECT_EQ(grid->GetMenu().GetId(), c.menu);
        EXPECT_EQ(grid->m_strTitle.rfind(c.report, 0), 0u) << grid->m_strTitle;
        EXPECT_EQ(grid->m_pParent, &launcher());
        EXPECT_FALSE(frame_->IsWindowVisible());
        EXPECT_EQ(launcher().GetDatabase()->m_nDisableRefreshCount, held + 1);
        grid->SendCommand(CReportGrid::kCmdExit);
        ui::test::DeleteDestroyedWindows();
        EXPECT_TRUE(frame_->GetRecordWindows().empty());
        EXPECT_TRUE(frame_->IsWindowVisible());
        EXPECT_EQ(launcher().GetDatabase()->m_nDisableRefreshCount, held);
    }
}

TEST_F(ReportGridLaunchTest, FinanceMenuNamesItsGrids)
{
    RegisterMainMenu();
    const ui::MenuTemplate* menu = ui::FindMenuTemplate(104);
    ASSERT_NE(menu, nullptr);
    std::vector<std::string> texts;
    std::function<void(const std::vector<ui::MenuItem>&)> walk = [&](const std::vector<ui::MenuItem>& items) {
        for (const ui::MenuItem& item : items) {
            if (item.id == 30072 || item.id == 32878 || item.id == 30073 || item.id == 32875 || item.id == 30074)
                texts.push_back(item.text);
            walk(item.items);
        }
    };
    walk(menu->items);
    EXPECT_EQ(texts, (std::vector<std::string>{"A&ll purchases", "&Merchandise purchases", "&Payments received",
                                               "&Summary of payments received", "Payments &made"}));
}

TEST_F(ReportGridLaunchTest, EveryCloseOfTheDatabaseClosesTheGridFirst)
{
    const struct {
        const char* name;
        std::function<void(ReportGridLaunchTest&)> close;
    } ways[] = {
        {"File Close", [](ReportGridLaunchTest& t) { t.launcher().OnCommand(57602, 0); }},
        {"close notice", [](ReportGridLaunchTest& t) { t.frame_->CloseDatabaseOnNotice(); }},
        {"Open", [](ReportGridLaunchTest& t) { t.launcher().OnDatabaseOpen("elsewhere.dbs", 0); }},
        {"exit", [](ReportGridLaunchTest& t) { t.launcher().OnCloseView(false); }},
    };
    for (const auto& way : ways) {
        SCOPED_TRACE(way.name);
        if (!launcher().GetDatabase()) launcher().OnOpenView("");
        launcher().m_fnOpenDatabase = [](const std::string&, int) { return 0; };
        DatabaseOpen = 1;
        UserAccessLevel = 10;
        frame_->ShowWindow(true);
        CReportGrid* first = OpenGrid(32877);
        ASSERT_NE(first, nullptr);
        way.close(*this);
        EXPECT_FALSE(first->IsCreated());
        EXPECT_TRUE(frame_->GetRecordWindows().empty());
        if (CDatabase* db = launcher().GetDatabase()) {
            EXPECT_EQ(db->m_nDisableRefreshCount, 0u);
        }
        // Deleting the grid now touches no database.
        ui::test::DeleteDestroyedWindows();
    }
}

}  // namespace
