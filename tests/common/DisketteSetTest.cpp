#include "tests/support/FilesTestSupport.h"

#include "common/DisketteSet.h"

#include "platform/host/Format.h"

namespace {

constexpr uint32_t kPiece = host::kDisketteCapacity - 5000;  // 1,452,664
constexpr uint32_t kTotal = 3000000;

class DisketteTest : public FilesTest {
protected:
    // Splits `data` (written as src.dbs) over diskettes d1, d2, ...; the user changes the
    // diskette at every "Insert next diskette".
    void WriteSet(const std::string& data, int diskettes)
    {
        Write("src.dbs", data);
        InsertDiskette("d1");
        std::deque<std::string> next;
        for (int i = 2; i <= diskettes; ++i)
            next.push_back(Format("d%d", i));
        ChangeDiskettesAt("Insert next diskette", next);
        for (int i = 1; i < diskettes; ++i)
            Answer({ui::IDOK});
        ASSERT_EQ(FileCopyToFloppies(Prog("src.dbs"), "A:\\backup.dbs", 0, 0, 1), 0);
        Hooks().messageBoxTexts.clear();
    }
};

TEST_F(DisketteTest, ThreeMegabytesOverThreeDiskettesAndBack)
{
    const std::string data = MakeData(kTotal);
    WriteSet(data, 3);
    EXPECT_EQ(host::Clock::TickCount(), 1000u + 3 * 4000u) << "4 seconds after every piece";

    EXPECT_EQ(Read("d1/RecombineInfo.dat"), Format("0,0,%u,%u\r\n", kPiece, kTotal));
    EXPECT_EQ(Read("d2/RecombineInfo.dat"), Format("1,%u,%u,%u\r\n", kPiece, kPiece, kTotal));
    EXPECT_EQ(Read("d3/RecombineInfo.dat"),
              Format("2,%u,%u,%u\r\n", 2 * kPiece, kTotal - 2 * kPiece, kTotal));
    EXPECT_EQ(Read("d1/backup.dbs"), data.substr(0, kPiece));
    EXPECT_EQ(Read("d3/backup.dbs"), data.substr(2 * kPiece));

    // Back from the set, the first diskette in the drive.
    InsertDiskette("d1");
    ChangeDiskettesAt("Insert next  diskette.", {"d2", "d3"});
    Answer({ui::IDOK, ui::IDOK});
    EXPECT_EQ(FileCopyFromFloppies("A:\\backup.dbs", Prog("restored.dbs"), 0), 0);
    EXPECT_EQ(Shown(), std::vector<std::string>(2, "Insert next  diskette."));
    EXPECT_TRUE(Read("restored.dbs") == data);
}

TEST_F(DisketteTest, SmallFileGoesWholeAndLeavesNoInfoFile)
{
    InsertDiskette("d1");
    Write("d1/RecombineInfo.dat", "0,0,10,20\r\n");  // from an earlier set
    Write("src.dbs", "small");
    EXPECT_EQ(FileCopyToFloppies(Prog("src.dbs"), "A:\\backup.dbs", 0, 0, 1), 0);
    EXPECT_EQ(Read("d1/backup.dbs"), "small");
    EXPECT_FALSE(Exists("d1/RecombineInfo.dat"));
    EXPECT_EQ(host::Clock::TickCount(), 5000u);

    // Without an info file the restore is a plain copy.
    EXPECT_EQ(FileCopyFromFloppies("A:\\backup.dbs", Prog("back.dbs"), 0), 0);
    EXPECT_EQ(Read("back.dbs"), "small");
}

TEST_F(DisketteTest, FileAsLargeAsTheFreeSpaceIsSplit)
{
    const std::string data = MakeData(host::kDisketteCapacity, 7);
    WriteSet(data, 2);
    EXPECT_EQ(Read("d1/RecombineInfo.dat"),
              Format("0,0,%u,%u\r\n", kPiece, static_cast<uint32_t>(data.size())));
    EXPECT_EQ(Read("d2/RecombineInfo.dat"),
              Format("1,%u,5000,%u\r\n", kPiece, static_cast<uint32_t>(data.size())));
}

TEST_F(DisketteTest, DisketteNotChangedIsNeverEmptied)
{
    const std::string data = MakeData(kTotal, 3);
    Write("src.dbs", data);
    InsertDiskette("d1");
    // The user answers "Insert next diskette" without changing it, then changes it.
    ChangeDiskettesAt("Insert next diskette", {"d1", "d2", "d3"});
    Answer({ui::IDOK, ui::IDOK, ui::IDOK});
    ASSERT_EQ(FileCopyToFloppies(Prog("src.dbs"), "A:\\backup.dbs", 0, 0, 1), 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           "Insert next diskette",
                           "This diskette holds part 1 of the file being copied.\n"
                           "Insert next diskette",
                           "Insert next diskette"}));
    EXPECT_EQ(Read("d1/backup.dbs"), data.substr(0, kPiece));
    EXPECT_EQ(Read("d2/RecombineInfo.dat"), Format("1,%u,%u,%u\r\n", kPiece, kPiece, kTotal));
}

TEST_F(DisketteTest, LaterDisketteIsEmptiedButTheFirstOnlyOnRequest)
{
    Write("d1/old.txt", "keep");
    Write("d2/old.txt", "goes");
    WriteSet(MakeData(kTotal / 2, 5), 2);
    EXPECT_TRUE(Exists("d1/old.txt"));
    EXPECT_FALSE(Exists("d2/old.txt"));
}

TEST_F(DisketteTest, FullDisketteAsksAndCanBeChanged)
{
    Write("src.dbs", MakeData(100000));
    InsertDiskette("d1", 4000);  // less than the reserve: no room for a piece
    ChangeDiskettesAt("Insufficient space on floppy. Try again?", {"d2"});
    Answer({ui::IDYES});
    EXPECT_EQ(FileCopyToFloppies(Prog("src.dbs"), "A:\\backup.dbs", 0, 0, 0), 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Insufficient space on floppy. Try again?"});
    EXPECT_TRUE(Exists("d2/backup.dbs"));

    Hooks().messageBoxTexts.clear();
    InsertDiskette("d3", 4000);
    Answer({ui::IDNO});
    EXPECT_EQ(FileCopyToFloppies(Prog("src.dbs"), "A:\\backup.dbs", 0, 0, 0), 1);
}

TEST_F(DisketteTest, FailedPieceWriteIsReportedAndRetried)
{
    const std::string data = MakeData(kTotal / 2, 9);
    Write("src.dbs", data);
    InsertDiskette("d1");
    ChangeDiskettesAt("Insert next diskette", {"d2"});
    host::InjectFileError(host::FileError::Other, 1, host::FileOp::Write);
    Answer({ui::IDYES, ui::IDOK});
    ASSERT_EQ(FileCopyToFloppies(Prog("src.dbs"), "A:\\backup.dbs", 0, 0, 1), 0);
    EXPECT_EQ(Shown()[0], "Can't write output file on floppy. Try again?");
    EXPECT_EQ(Read("d1/backup.dbs") + Read("d2/backup.dbs"), data);

    Hooks().messageBoxTexts.clear();
    InsertDiskette("d4");
    host::InjectFileError(host::FileError::Other, 1, host::FileOp::Write);
    Answer({ui::IDNO});
    EXPECT_EQ(FileCopyToFloppies(Prog("src.dbs"), "A:\\backup.dbs", 0, 0, 1), 1);
    EXPECT_FALSE(Exists("d4/RecombineInfo.dat")) << "a failed piece leaves no info file";
}

TEST_F(DisketteTest, ClearDisketteActsOnlyOnRemovableDrives)
{
    MapFixedDrive("c");
    Write("c/studio.dbs", "data");
    Answer({ui::IDOK});
    EXPECT_EQ(ClearDiskette('C'), 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Not removable drive."});
    EXPECT_TRUE(Exists("c/studio.dbs"));

    InsertDiskette("d1");
    Write("d1/a.txt", "1");
    Write("d1/b.txt", "2");
    EXPECT_EQ(ClearDiskette('A'), 1);
    EXPECT_FALSE(Exists("d1/a.txt"));
    EXPECT_FALSE(Exists("d1/b.txt"));
    Write("d1/sub/c.txt", "3");
    EXPECT_EQ(ClearDiskette('A'), 0) << "a folder is not removed";
}

TEST_F(DisketteTest, FreeSpaceOfTheDiskette)
{
    InsertDiskette("d1");
    Write("d1/x.bin", std::string(1000, 'x'));
    uint64_t total = 0;
    EXPECT_EQ(GetDisketteFreeSpace('A', &total), host::kDisketteCapacity - 1000);
    EXPECT_EQ(total, host::kDisketteCapacity);

    InsertDiskette("big", 2 * host::kDisketteCapacity);
    Answer({ui::IDNO, ui::IDYES});
    EXPECT_EQ(GetDisketteFreeSpace('A', nullptr), 0u);
    EXPECT_EQ(GetDisketteFreeSpace('A', nullptr), 2 * host::kDisketteCapacity);
    EXPECT_EQ(Shown()[0], "Possible problem with drive, since available space greater than "
                          "normal floppy.\n Continue?");
}

TEST_F(DisketteTest, ReadRecombineInfoAcceptsOnlyFourNumbers)
{
    struct Case {
        const char* line;
        int result;
    };
    const Case cases[] = {
        {"1,1452664,1452664,3000000\r\n", 1},
        {"1,1452664,1452664,3000000", 1},
        {"1,2,3\r\n", 0},
        {"1,2,3,4,5\r\n", 0},
        {"1,x,3,4\r\n", 0},
        {",1,2,3\r\n", 0},
        {"1,2,3,99999999999\r\n", 0},
        {"", 0},
    };
    for (const Case& c : cases) {
        Write("info.dat", c.line);
        uint32_t piece = 9, total = 9, offset = 9, size = 9;
        EXPECT_EQ(ReadRecombineInfo(Prog("info.dat"), piece, total, offset, size), c.result)
            << c.line;
        if (c.result == 1) {
            EXPECT_EQ(piece, 1u);
            EXPECT_EQ(offset, 1452664u);
            EXPECT_EQ(size, 1452664u);
            EXPECT_EQ(total, 3000000u);
        }
    }
    uint32_t a, b, c, d;
    EXPECT_EQ(ReadRecombineInfo(Prog("none.dat"), a, b, c, d), 0);
}

// Sets for the refusals: d1 (piece 0), d2 (piece 1), d3 (piece 2) of one file.
class RecombineTest : public DisketteTest {
protected:
    void SetUp() override
    {
        DisketteTest::SetUp();
        data_ = MakeData(kTotal, 11);
        WriteSet(data_, 3);
        Write("restored.dbs", "old database");
        InsertDiskette("d1");
    }
    std::string data_;
};

TEST_F(RecombineTest, PieceOutOfOrderIsRefusedThenTheRightOneAccepted)
{
    ChangeDiskettesAt("Insert next  diskette.", {"d3", "d2", "d3"});
    Answer({ui::IDOK, ui::IDYES, ui::IDOK, ui::IDOK});
    EXPECT_EQ(FileCopyFromFloppies("A:\\backup.dbs", Prog("restored.dbs"), 0), 0);
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           "Insert next  diskette.",
                           "Can't read recombine information file. Try again?",
                           "Insert next  diskette.", "Insert next  diskette."}));
    EXPECT_TRUE(Read("restored.dbs") == data_);
}

TEST_F(RecombineTest, DisketteOfAnotherSetIsRefused)
{
    Write("other/RecombineInfo.dat", Format("1,%u,%u,%u\r\n", kPiece, kPiece, kTotal + 1));
    Write("other/backup.dbs", std::string(kPiece, 'o'));
    ChangeDiskettesAt("Insert next  diskette.", {"other"});
    Answer({ui::IDOK, ui::IDNO});
    EXPECT_EQ(FileCopyFromFloppies("A:\\backup.dbs", Prog("restored.dbs"), 0), 1);
    EXPECT_EQ(Shown().back(), "Can't read recombine information file. Try again?");
    EXPECT_EQ(Read("restored.dbs"), "old database");
}

TEST_F(RecombineTest, PieceReachingPastTheTotalIsRefused)
{
    Write("d2/RecombineInfo.dat", Format("1,%u,%u,%u\r\n", kPiece, kTotal, kTotal));
    ChangeDiskettesAt("Insert next  diskette.", {"d2"});
    Answer({ui::IDOK, ui::IDNO});
    EXPECT_EQ(FileCopyFromFloppies("A:\\backup.dbs", Prog("restored.dbs"), 0), 1);
    EXPECT_EQ(Shown().back(), "Can't read recombine information file. Try again?");
    EXPECT_EQ(Read("restored.dbs"), "old database");
}

TEST_F(RecombineTest, ShortPieceIsRefused)
{
    std::filesystem::resize_file(root_ / "d2/backup.dbs", kPiece - 1);
    ChangeDiskettesAt("Insert next  diskette.", {"d2"});
    Answer({ui::IDOK, ui::IDNO});
    EXPECT_EQ(FileCopyFromFloppies("A:\\backup.dbs", Prog("restored.dbs"), 0), 1);
    EXPECT_EQ(Shown().back(), "Can't open input file on floppy. Try again?");
    EXPECT_EQ(Read("restored.dbs"), "old database");
}

TEST_F(RecombineTest, SetMustStartWithItsFirstDiskette)
{
    InsertDiskette("d2");
    Answer({ui::IDOK});
    EXPECT_EQ(FileCopyFromFloppies("A:\\backup.dbs", Prog("restored.dbs"), 0), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Can't read recombine information file."});
}

TEST_F(RecombineTest, UnreadableFirstInfoIsReported)
{
    Write("d1/RecombineInfo.dat", "0,0,3\r\n");
    Answer({ui::IDOK});
    EXPECT_EQ(FileCopyFromFloppies("A:\\backup.dbs", Prog("restored.dbs"), 0), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Can't read recombine information file."});
    EXPECT_EQ(Read("restored.dbs"), "old database");
}

}  // namespace
