// The linked-list repair and the rebuild from found headers on damaged files, their backups,
// and their refusal while another user holds the database.

#include "BackupTestSupport.h"

#include "tests/database/DbFixture.h"
#include "widgets/CommandGuards.h"
#include "database/Database.h"
#include "platform/host/File.h"
#include "shell/MainView.h"
#include "reports/ReportFrame.h"
#include "views/FrameWndReport.h"
#include "platform/ui/RtfDocument.h"
#include "tests/support/TestFiles.h"
#include "widgets/ExternalPrograms.h"

#include <filesystem>

namespace fs = std::filesystem;

namespace {

// A file whose first header points back to nowhere it should and whose second block claims more
// room than it has.
std::string MakeDamaged(BackupTest& t, const std::string& path)
{
    (void)t;
    std::vector<uint32_t> locs = DbFixture()
                                     .Add({6, 1, "first record"})
                                     .Add({6, 2, "second record"})
                                     .Add({7, 3, "third"})
                                     .Add({6, 4, "fourth record"})
                                     .Write(path);
    PokeU32(path, locs[0] + kOffPrev, 77);
    return ReadAll(path);
}

int ListTest(const std::string& path)
{
    CDbEngine check;
    if (check.OpenDB(path, 0) <= 0) return -1;
    std::vector<std::string> report;
    const int result = check.TestAndRepairHeaders('F', 0, report);
    check.CloseDB();
    return result;
}

}  // namespace

class RepairTest : public BackupTest {
protected:
    std::string file() { return Path("db/studio.dbs"); }
};

TEST_F(RepairTest, RepairLinkedListBacksUpFirstAndMendsTheFile)
{
    const std::string damaged = MakeDamaged(*this, file());
    EXPECT_EQ(ListTest(file()), 0);
    const std::string damagedNow = ReadAll(file());
    FileDialog(file());
    Answer({ui::IDYES});
    // The report goes to the rich-text viewer as REPORT.RTF.
    std::string report;
    SetRichTextViewerOpener([&report](const std::string& document, const ui::DCRect&) {
        ui::RtfDocument doc;
        EXPECT_TRUE(doc.Parse(dqtest::ReadBytes(document)));
        report = doc.PlainText();
    });
    View().RepairLinkedList();
    SetRichTextViewerOpener(nullptr);
    EXPECT_NE(report.find("NOTE: Backup made to " + Path("db/studio.BKA") + " before repair attempted."),
              std::string::npos)
        << report;
    EXPECT_EQ(ListTest(file()), 1);
    // The backup holds the file as it was before the repair.
    EXPECT_EQ(WithoutOpenState(Read("db/studio.BKA")), WithoutOpenState(damagedNow));
    Answer({ui::IDOK});
    View().RestoreBackupFile(Path("db/studio.BKA"), Path("back.dbs"), 0);
    EXPECT_EQ(ListTest(Path("back.dbs")), 0);
}

TEST_F(RepairTest, RebuildByEachMethodWritesANewFileThatPassesTheListTest)
{
    struct Case {
        int menuId;
        char method;
    } cases[] = {{5, 'F'}, {6, 'B'}, {7, 'D'}, {8, 'a'}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.method);
        fs::remove(root_ / "db/studio.BKA");
        MakeDamaged(*this, file());
        const auto inodeBefore = fs::status(file()).permissions();
        (void)inodeBefore;
        FileDialog(file());
        ChooseMenuEntry(c.menuId);
        Answer({ui::IDYES});
        int reports = 0;
        SetRichTextViewerOpener([&reports](const std::string&, const ui::DCRect&) { ++reports; });
        View().AnalyzeAndReconstruct();
        SetRichTextViewerOpener(nullptr);
        EXPECT_EQ(reports, 1);
        EXPECT_EQ(ListTest(file()), 1);
        EXPECT_TRUE(Exists("db/studio.BKA"));
        EXPECT_FALSE(Exists("db/studio.dbs.$$$"));
        CDbEngine check;
        ASSERT_GT(check.OpenDB(file(), 0), 0);
        std::vector<uint32_t> locs;
        check.LocateHeaders('F', locs, nullptr);
        EXPECT_EQ(locs.size(), 4u);
        check.CloseDB();
        Hooks().messageBoxTexts.clear();
    }
}

TEST_F(RepairTest, RepairAndRebuildAreRefusedWhileAnotherUserHoldsTheDatabaseLock)
{
    MakeDamaged(*this, file());
    PokeByte(file(), 256, 7);
    // User 7's copy is alive: it holds the companion range of its database lock stamp.
    host::File holder;
    ASSERT_TRUE(holder.OpenExisting(file()));
    ASSERT_TRUE(holder.Lock(CDbEngine::kStampCompanionOffset + 256, 1));
    const std::string before = ReadAll(file());
    FileDialog(file());
    Answer({ui::IDOK});
    View().RepairLinkedList();
    FileDialog(file());
    Answer({ui::IDOK});
    View().AnalyzeAndReconstruct();
    EXPECT_EQ(Shown(), std::vector<std::string>(2, "The database is locked by another user.\nThe file was not changed."));
    EXPECT_EQ(ReadAll(file()), before);
    EXPECT_FALSE(Exists("db/studio.BKA"));
}

TEST_F(RepairTest, RepairIsRefusedWhileAnotherCopyHasTheFileOpen)
{
    MakeDamaged(*this, file());
    CDbEngine other;
    ASSERT_GT(other.OpenDB(file(), 0), 0);
    const std::string before = ReadAll(file());
    FileDialog(file());
    Answer({ui::IDOK});
    View().RepairLinkedList();
    EXPECT_EQ(Shown().back().rfind("The database is open on another computer.", 0), 0u);
    EXPECT_EQ(ReadAll(file()), before);
    other.CloseDB();
}

TEST_F(RepairTest, AnalysisIsRefusedWithADatabaseOpen)
{
    const std::string root = MakeDatabase(1, 10);
    OpenInLauncher(root);
    Answer({ui::IDOK});
    View().AnalyzeAndReconstruct();
    EXPECT_EQ(Shown(), std::vector<std::string>{"Please close database before these operations."});
}

TEST_F(RepairTest, FormatVersionIsWrittenOnlyForANumber)
{
    MakeDamaged(*this, file());
    struct Case {
        const char* answer;
        uint32_t expected;
    } cases[] = {{nullptr, 0}, {"x1", 0}, {"7", 7}};
    for (const Case& c : cases) {
        FileDialog(file());
        Prompt(c.answer);
        if (c.answer && std::string(c.answer) == "x1") Answer({ui::IDOK});
        View().ChangeFormatVersion();
        EXPECT_EQ(PeekU32(file(), 0), c.expected) << (c.answer ? c.answer : "cancel");
    }
}

TEST_F(RepairTest, ReportOnlySearchShowsItsLinesInAReportFrame)
{
    MakeDamaged(*this, file());
    const std::string before = ReadAll(file());
    CFrameWndReport::InstallFactory();
    FileDialog(file());
    ChooseMenuEntry(1);
    std::vector<std::string> shown;
    Hooks().frameScripts.push_back([&shown](ui::Window& w) {
        auto& frame = dynamic_cast<CFrameWndReport&>(w);
        for (const stFmtString& line : frame.GetLines()) shown.push_back(line.strText);
        frame.SendCommand(CFrameWndReport::kCmdExit);
    });
    // The menu comes back; Cancel ends the analysis.
    Hooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    View().AnalyzeAndReconstruct();
    SetReportFrameFactory(nullptr);
    ui::test::DeleteDestroyedWindows();
    ASSERT_GT(shown.size(), 1u);
    EXPECT_EQ(shown[0], "SEARCH FOR HEADERS BY FORWARD LINKS ONLY");
    EXPECT_EQ(ReadAll(file()), before);
    EXPECT_EQ(ReportViewDisplayed, 0);
}
