// The database file header dialog: its lines, the reset, and when it writes.

#include "BackupTestSupport.h"

#include "tests/database/DbFixture.h"
#include "database/DbEngine.h"
#include "dialogs/DialogFileHeader.h"
#include "platform/ui/ListBox.h"

TEST(FileHeaderDialogLines, KnownBytesCarryTheirMeaning)
{
    struct Case {
        uint32_t offset;
        uint8_t value;
        const char* line;
    } cases[] = {
        {0, 0, "0\t0 [file format version]"},     {3, 255, "3\t255 [file format version]"},
        {4, 1, "4\t1 [file open status]"},        {8, 65, "8\t65 [file initial name]"},
        {85, 0, "85\t0 [file initial name]"},     {86, 0, "86\t0"},
        {256, 3, "256\t3 [DB lock flag]"},        {257, 0, "257\t0 [table 1 lock status]"},
        {268, 2, "268\t2 [table 12 lock status]"}, {269, 0, "269\t0"},
        {1023, 9, "1023\t9"},
    };
    for (const Case& c : cases) EXPECT_EQ(CDialogFileHeader::FormatByteLine(c.offset, c.value), c.line);
}

class FileHeaderTest : public BackupTest {
protected:
    void SetUp() override
    {
        BackupTest::SetUp();
        path_ = Path("db/studio.dbs");
        DbFixture().Add({6, 1, "one"}).Write(path_);
        PokeU32(path_, 0, 5);
        PokeByte(path_, 300, 9);
    }
    std::string path_;
};

TEST_F(FileHeaderTest, ResetThenCancelLeavesTheHeaderAndResetThenSaveWritesIt)
{
    CDbEngine db;
    ASSERT_GT(db.OpenDB(path_, 0), 0);
    const std::string before = ReadAll(path_);
    {
        CDialogFileHeader dlg(&db);
        dlg.m_nOpenFlag = 1;
        Hooks().dialogScripts.push_back([](ui::Dialog& d) {
            EXPECT_EQ(d.List(CDialogFileHeader::kListId)->GetCount(), 1024);
            ui::test::Click(d, CDialogFileHeader::kResetId);
            EXPECT_EQ(d.List(CDialogFileHeader::kListId)->GetText(0), "0\t0 [file format version]");
            ui::test::Click(d, ui::IDCANCEL);
        });
        EXPECT_EQ(dlg.DoModal(), ui::IDCANCEL);
    }
    EXPECT_EQ(ReadAll(path_), before);
    {
        CDialogFileHeader dlg(&db);
        dlg.m_nOpenFlag = 1;
        Hooks().dialogScripts.push_back([](ui::Dialog& d) {
            ui::test::Click(d, CDialogFileHeader::kResetId);
            ui::test::Click(d, ui::IDOK);
        });
        EXPECT_EQ(dlg.DoModal(), ui::IDOK);
    }
    const std::string after = ReadAll(path_);
    for (size_t i = 0; i < 1024; ++i) {
        if (i >= 8 && i <= 85) EXPECT_EQ(after[i], before[i]) << i;
        else EXPECT_EQ(after[i], i == 4 ? 1 : 0) << i;
    }
    EXPECT_EQ(after.substr(1024), before.substr(1024));
    db.CloseDB();
}

TEST_F(FileHeaderTest, NothingIsWrittenWithoutAChangeOrWhileAnotherCopyMayWrite)
{
    CDbEngine db, other;
    ASSERT_GT(db.OpenDB(path_, 0), 0);
    ASSERT_GT(other.OpenDB(path_, 0), 0);
    const std::string before = ReadAll(path_);
    CDialogFileHeader unchanged(&db);
    ClickOk();
    EXPECT_EQ(unchanged.DoModal(), ui::IDCANCEL);

    CDialogFileHeader shared(&db);
    Answer({ui::IDOK});
    Hooks().dialogScripts.push_back([](ui::Dialog& d) {
        ui::test::Click(d, CDialogFileHeader::kResetId);
        ui::test::Click(d, ui::IDOK);  // refused: the dialog stays open
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(shared.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(Shown().size(), 1u);
    EXPECT_EQ(ReadAll(path_), before);
    other.CloseDB();
    db.CloseDB();
}
