#include "InstallTestSupport.h"

#include "install/InstallCopy.h"
#include "install/ZipExtraction.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kPiece = host::kDisketteCapacity - 5000;  // what a diskette of a set holds
constexpr time_t kJan2020 = 1578830400;                     // 2020-01-12 12:00:00 UTC

using InstallCopyTest = InstallTest;

time_t ModifiedTime(const fs::path& path)
{
    struct stat st{};
    return stat(path.c_str(), &st) == 0 ? st.st_mtime : 0;
}

TEST_F(InstallCopyTest, CopyAsksAgainAfterAFullDiskAndCopies)
{
    Write("src.zip", "zip bytes");
    host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Copy);
    Answer({ui::IDYES});
    EXPECT_EQ(InstallCopyFileWithRetry(Prog("src.zip"), Prog("dst.zip"), 0), 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{Format("Disk is full in copying %s to %s.\nTry again?",
                                                       Prog("src.zip").c_str(),
                                                       Prog("dst.zip").c_str())});
    EXPECT_EQ(Read("dst.zip"), "zip bytes");
}

TEST_F(InstallCopyTest, CopyThatGivesUpReportsFailure)
{
    // A missing source: asked once, the user gives up.
    Answer({ui::IDNO});
    EXPECT_EQ(InstallCopyFileWithRetry(Prog("missing.zip"), Prog("dst.zip"), 0), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{Format("Error in copying %s to %s.\nTry again?",
                                                       Prog("missing.zip").c_str(),
                                                       Prog("dst.zip").c_str())});
    EXPECT_FALSE(Exists("dst.zip"));

    // A target in a folder that does not exist, tried twice.
    Write("src.zip", "new");
    Answer({ui::IDYES, ui::IDNO});
    EXPECT_EQ(InstallCopyFileWithRetry(Prog("src.zip"), Prog("no/dst.zip"), 0), 1);
    EXPECT_EQ(Shown().size(), 3u);
}

TEST_F(InstallCopyTest, ExistingTargetIsOverwrittenOnlyWhenTheUserSaysSo)
{
    Write("src.zip", "new");
    Write("dst.zip", "old");
    const std::string question = Format("File %s exists.\n Overwrite?", Prog("dst.zip").c_str());
    Answer({ui::IDNO});
    EXPECT_EQ(InstallCopyFileWithRetry(Prog("src.zip"), Prog("dst.zip"), 1), 1);
    EXPECT_EQ(Read("dst.zip"), "old");
    Answer({ui::IDYES});
    EXPECT_EQ(InstallCopyFileWithRetry(Prog("src.zip"), Prog("dst.zip"), 1), 0);
    EXPECT_EQ(Read("dst.zip"), "new");
    EXPECT_EQ(Shown(), std::vector<std::string>(2, question));
    // The installer's own call overwrites without asking.
    Write("src.zip", "newer");
    EXPECT_EQ(CopyOrRecombineFile(Prog("src.zip"), Prog("dst.zip"), 0), 0);
    EXPECT_EQ(Read("dst.zip"), "newer");
}

TEST_F(InstallCopyTest, DisketteWithoutInfoFileIsAPlainCopy)
{
    InsertDiskette("d1");
    Write("d1/Dorvalquintex.zip", "whole");
    EXPECT_EQ(CopyOrRecombineFile("A:\\Dorvalquintex.zip", Prog("out.zip"), 0), 0);
    EXPECT_EQ(Read("out.zip"), "whole");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(InstallCopyTest, OneDisketteSetIsRebuiltWithoutAskingForAnother)
{
    const std::string data = MakeData(5000);
    InsertDiskette("d1");
    WriteDiskette("d1", "Dorvalquintex.zip", data, 0, 0, 5000);
    EXPECT_EQ(CopyOrRecombineFile("A:\\Dorvalquintex.zip", Prog("out.zip"), 0), 0);
    EXPECT_TRUE(Read("out.zip") == data);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(InstallCopyTest, SetThatDoesNotStartWithItsFirstDisketteIsRefused)
{
    const std::string data = MakeData(2 * kPiece);
    InsertDiskette("d2");
    WriteDiskette("d2", "Dorvalquintex.zip", data, 1, kPiece, kPiece);
    Answer({ui::IDOK});
    EXPECT_EQ(CopyOrRecombineFile("A:\\Dorvalquintex.zip", Prog("out.zip"), 0), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Can't read recombine information file."});
    EXPECT_FALSE(Exists("out.zip"));
}

TEST_F(InstallCopyTest, PieceBeyondTheTotalIsNeverRead)
{
    InsertDiskette("d1");
    Write("d1/Dorvalquintex.zip", MakeData(100));
    Write("d1/RecombineInfo.dat", "0,0,100,50\r\n");  // a piece longer than the whole file
    Answer({ui::IDOK});
    EXPECT_EQ(CopyOrRecombineFile("A:\\Dorvalquintex.zip", Prog("out.zip"), 0), 1);
    EXPECT_FALSE(Exists("out.zip"));
}

TEST_F(InstallCopyTest, ExtractionKeepsTimesAndExecuteBitsAndFlattensNames)
{
    WriteZip(Path("dist.zip"), {
        {"Dorvalquintex", "program", kJan2020, 0100755},
        {"docs/", "", kJan2020 + 60, 040755},
        {"docs/img/", "", kJan2020 + 60, 040755},
        {"docs/guide.txt", "guide", kJan2020 + 120, 0100644},
        {"readme.txt", "read me", kJan2020 + 3600, 0100644},
    });
    fs::create_directories(Path("target"));
    EXPECT_EQ(UnzipArchive(Prog("dist.zip"), Prog("target")), 0);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(fs::current_path(), Path("target"));

    EXPECT_EQ(Read("target/Dorvalquintex"), "program");
    EXPECT_EQ(Read("target/readme.txt"), "read me");
    // A file goes under its last name part straight into the target folder; folder items are
    // made below it.
    EXPECT_EQ(Read("target/guide.txt"), "guide");
    EXPECT_FALSE(Exists("target/docs/guide.txt"));
    EXPECT_TRUE(fs::is_directory(Path("target/docs/img")));

    EXPECT_EQ(ModifiedTime(Path("target/Dorvalquintex")), kJan2020);
    EXPECT_EQ(ModifiedTime(Path("target/guide.txt")), kJan2020 + 120);
    EXPECT_EQ(ModifiedTime(Path("target/readme.txt")), kJan2020 + 3600);
    const auto exec = fs::perms::owner_exec;
    EXPECT_EQ(fs::status(Path("target/Dorvalquintex")).permissions() & exec, exec);
    EXPECT_EQ(fs::status(Path("target/readme.txt")).permissions() & exec, fs::perms::none);
}

TEST_F(InstallCopyTest, ItemsThatWouldLeaveTheFolderAreRefusedAndNamed)
{
    WriteZip(Path("dist.zip"), {
        {"../outside/", "", kJan2020, 040755},
        {"a/../../x.txt", "x", kJan2020, 0100644},
        {"ok.txt", "ok", kJan2020, 0100644},
    });
    fs::create_directories(Path("target"));
    Answer({ui::IDOK});
    EXPECT_EQ(UnzipArchive(Prog("dist.zip"), Prog("target")), 2);
    EXPECT_EQ(Shown(), std::vector<std::string>{Format(
                           "Error in unZIPping %s\nThese items were not extracted:\n../outside/",
                           Prog("dist.zip").c_str())});
    EXPECT_FALSE(Exists("outside"));
    EXPECT_EQ(Read("target/x.txt"), "x");  // only its last part is used
    EXPECT_EQ(Read("target/ok.txt"), "ok");
}

TEST_F(InstallCopyTest, DamagedZipIsReported)
{
    const struct {
        const char* what;
        std::string contents;
    } cases[] = {
        {"not a zip", "this is not a zip archive"},
        {"empty", ""},
    };
    for (const auto& c : cases) {
        Hooks().messageBoxTexts.clear();
        Write("dist.zip", c.contents);
        Answer({ui::IDOK});
        EXPECT_EQ(UnzipArchive(Prog("dist.zip"), Prog("")), 1) << c.what;
        EXPECT_EQ(Shown(), std::vector<std::string>{"Error in unZIPping " + Prog("dist.zip")});
    }
}

TEST_F(InstallCopyTest, ItemWithDamagedDataIsNamed)
{
    WriteZip(Path("dist.zip"), {{"a.txt", std::string(4000, 'a'), kJan2020, 0100644}});
    // Spoil the compressed data (after the 30-byte local header, name and extra field).
    std::string zip = Read("dist.zip");
    for (size_t i = 30 + 5 + 9; i < 30 + 5 + 9 + 8; ++i)
        zip[i] = static_cast<char>(zip[i] ^ 0x5A);
    Write("dist.zip", zip);
    fs::create_directories(Path("target"));
    Answer({ui::IDOK});
    EXPECT_EQ(UnzipArchive(Prog("dist.zip"), Prog("target")), 2);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].find("not extracted:\na.txt"), std::string::npos);
}

}  // namespace
