#include "tests/support/FilesTestSupport.h"

#include "common/DataPaths.h"
#include "platform/host/Format.h"
#include "platform/ui/Dialog.h"
#include "records/TextArray2D.h"
#include "reports/WeeklyClassesPage.h"

namespace {

constexpr int kPromptText = 1254;

class WeeklyClassesPageTest : public FilesTest {
protected:
    void TearDown() override
    {
        DatabaseFolder.clear();
        SetHtmlPageViewer(nullptr);
        FilesTest::TearDown();
    }
    // The user types `text` into the one-line prompt and presses OK (or Cancel).
    static void Prompt(const std::string& text, int button = ui::IDOK)
    {
        Hooks().dialogScripts.push_back([text, button](ui::Dialog& d) {
            ui::test::SetText(d, kPromptText, text);
            ui::test::Click(d, button);
        });
    }
};

TEST_F(WeeklyClassesPageTest, WritesTheGridAsATableAndOffersToShowIt)
{
    DatabaseFolder = Prog("data");
    std::filesystem::create_directories(root_ / "data");
    CTextArray2D grid;
    grid.SetSize(2, 2);
    grid.SetAt(0, 0, "Monday", CTextArray2D::WHITE);
    grid.SetAt(0, 1, "Waltz 7pm|Tango 8pm|", CTextArray2D::WHITE);
    grid.SetAt(1, 0, "Tuesday", CTextArray2D::WHITE);
    grid.SetAt(1, 1, "", CTextArray2D::WHITE);

    std::vector<std::string> viewed;
    SetHtmlPageViewer([&](const std::string& path) { viewed.push_back(path); });
    Prompt("Classes.old");
    Answer({ui::IDYES});
    SaveWeeklyClassesPage("Week of March 4", grid);
    const std::string path = Prog("data") + "\\Classes.htm";
    EXPECT_EQ(Shown(), std::vector<std::string>{Format("File %s created. View it?",
                                                       path.c_str())});
    EXPECT_EQ(viewed, std::vector<std::string>{path});
    const std::string page = Read("data/Classes.htm");
    EXPECT_NE(page.find("<TITLE>WEB_PAGE</TITLE>"), std::string::npos);
    EXPECT_NE(page.find("<P><font size=4><strong><em>Week of March 4</em></strong></font></P>"
                        "\r\n<TABLE border=\"2\" cellspacing=\"1\">\r\n<TR>\r\n<TD>Monday</TD>"
                        "\r\n<TD>Waltz 7pm<br>Tango 8pm</TD>\r\n</TR>\r\n<TR>\r\n"
                        "<TD>Tuesday</TD>\r\n<TD>&nbsp;</TD>\r\n</TR>\r\n</BODY>"),
              std::string::npos)
        << page;

    // A cancelled prompt writes nothing.
    Prompt("Other", ui::IDCANCEL);
    SaveWeeklyClassesPage("Week", grid);
    EXPECT_FALSE(Exists("data/Other.htm"));
}

}  // namespace
