#include "platform/ui/CommonDialogs.h"
#include "platform/ui/TestHooks.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

class CommonDialogs : public ::testing::Test {
protected:
    void TearDown() override { test::ClearCommonDialogHooks(); }
};

TEST_F(CommonDialogs, FilterFormat)
{
    using Entries = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        std::string filter;
        Entries entries;
    };
    const Case cases[] = {
        {"Database files (*.dbs)|*.dbs||", {{"Database files (*.dbs)", "*.dbs"}}},
        {"Zip (*.zp?)|*.zp?|All files (*.*)|*.*||",
         {{"Zip (*.zp?)", "*.zp?"}, {"All files (*.*)", "*.*"}}},
        {"Text|*.txt;*.asc|", {{"Text", "*.txt;*.asc"}}},
        {"Text|*.txt", {{"Text", "*.txt"}}},
        {"", {}},
        {"Dangling", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.filter);
        EXPECT_EQ(ParseFileFilter(c.filter), c.entries);
    }
}

TEST_F(CommonDialogs, FileDialogHookAnswers)
{
    std::vector<std::string> titles;
    test::SetFileDialogHook([&](const FileDialog& d) -> std::optional<std::string> {
        titles.push_back(d.GetTitle());
        EXPECT_TRUE(d.IsOpen());
        EXPECT_EQ(d.GetFilter(), "IIF files (*.iif)|*.iif||");
        EXPECT_EQ(d.GetDefaultExt(), "iif");
        if (d.GetTitle() == "Cancel me")
            return std::nullopt;
        return std::string("/data/studio/Export.Accounts.iif");
    });

    FileDialog open(true, "iif", "", "IIF files (*.iif)|*.iif||");
    open.SetTitle("Import");
    ASSERT_EQ(open.DoModal(), 1);
    EXPECT_EQ(open.GetPathName(), "/data/studio/Export.Accounts.iif");
    EXPECT_EQ(open.GetFileName(), "Export.Accounts.iif");
    EXPECT_EQ(open.GetFileExt(), "iif");

    FileDialog cancelled(true, "iif", "", "IIF files (*.iif)|*.iif||");
    cancelled.SetTitle("Cancel me");
    EXPECT_EQ(cancelled.DoModal(), 2);
    EXPECT_EQ(cancelled.GetPathName(), "");
    EXPECT_EQ(titles, (std::vector<std::string>{"Import", "Cancel me"}));
}

TEST_F(CommonDialogs, FileDialogFollowsTheLayersScript)
{
    test::Hooks& hooks = test::ResetHooks();
    hooks.scriptFileDialogs = true;
    hooks.fileDialogAnswers = {"/tmp/a.dbs", ""};
    FileDialog save(false, "dbs", "Studio.dbs", "Database files (*.dbs)|*.dbs||");
    save.SetTitle("Save as");
    save.SetInitialFolder("/home/desk");
    ASSERT_EQ(save.DoModal(), 1);
    EXPECT_EQ(save.GetPathName(), "/tmp/a.dbs");
    FileDialog cancelled(true);
    EXPECT_EQ(cancelled.DoModal(), 2);
    ASSERT_EQ(hooks.fileDialogRequests.size(), 2u);
    EXPECT_TRUE(hooks.fileDialogRequests[0].save);
    EXPECT_EQ(hooks.fileDialogRequests[0].title, "Save as");
    EXPECT_EQ(hooks.fileDialogRequests[0].filter, "Database files (*.dbs)|*.dbs||");
    EXPECT_NE(hooks.fileDialogRequests[0].initialPath.find("Studio.dbs"), std::string::npos);
    EXPECT_TRUE(hooks.failures.empty());
    test::ResetHooks();
}

TEST_F(CommonDialogs, ColourFontAndPrintSetupHooks)
{
    test::SetColourDialogHook([](COLORREF initial) -> std::optional<COLORREF> {
        EXPECT_EQ(initial, RGB(1, 2, 3));
        return RGB(0, 0, 240);
    });
    ColourDialog colour(RGB(1, 2, 3));
    ASSERT_EQ(colour.DoModal(), 1);
    EXPECT_EQ(colour.GetColor(), RGB(0, 0, 240));

    test::SetFontDialogHook([](const Font& initial) -> std::optional<Font> {
        Font f = initial;
        f.bold = true;
        f.sizeTenths = 140;
        return f;
    });
    FontDialog font(Font{"Arial", 100});
    ASSERT_EQ(font.DoModal(), 1);
    EXPECT_EQ(font.GetFont(), (Font{"Arial", 140, true}));

    test::SetPrintSetupHook([](const PrintSetup&) { return std::optional<PrintSetup>(); });
    PrintSetupDialog setup({"PDF file", false, 1});
    EXPECT_EQ(setup.DoModal(), 2);
    EXPECT_EQ(setup.GetSetup(), (PrintSetup{"PDF file", false, 1})) << "cancel changes nothing";

    test::ClearCommonDialogHooks();
    test::SetColourDialogHook([](COLORREF) { return std::optional<COLORREF>(); });
    ColourDialog unchanged(RGB(9, 9, 9));
    EXPECT_EQ(unchanged.DoModal(), 2);
    EXPECT_EQ(unchanged.GetColor(), RGB(9, 9, 9));
}

} // namespace
} // namespace ui
