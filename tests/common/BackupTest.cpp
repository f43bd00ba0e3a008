#include "tests/support/FilesTestSupport.h"

#include "common/Backup.h"
#include "common/ListHelpers.h"

#include "platform/host/Format.h"

#include <cstdlib>

namespace {

class BackupTest : public FilesTest {};

TEST_F(BackupTest, BackupExtensions)
{
    EXPECT_EQ(GetBackupExtension('Z', 0), ".ZPA");
    EXPECT_EQ(GetBackupExtension('B', 2), ".BKC");
    EXPECT_EQ(GetBackupExtension('P', 0), ".PKA");
    EXPECT_EQ(GetBackupExtension('X', 0), "");
}

TEST_F(BackupTest, ZipBackupRestoresByteForByte)
{
    const std::string data = MakeData(300000) + std::string(200000, 'a');
    Write("studio.dbs", data);
    for (int bare : {0, 1}) {
        SCOPED_TRACE(bare);
        ASSERT_EQ(ZipOneFile(Prog("studio.dbs"), Prog("studio.ZPA"), bare), 0);
        ASSERT_EQ(UnzipToFile(Prog("studio.ZPA"), Prog("restore/back.dbs")), 0);
        EXPECT_TRUE(Read("restore/back.dbs") == data);
    }
    EXPECT_FALSE(Exists("studio.ZPA.$$$"));
    EXPECT_EQ(std::system(("unzip -tq " + Host("studio.ZPA") + " > /dev/null").c_str()), 0);
}

TEST_F(BackupTest, RestoreToABareNameLandsInTheCurrentFolder)
{
    Write("studio.dbs", "contents");
    ASSERT_EQ(ZipOneFile(Prog("studio.dbs"), Prog("studio.ZPA"), 1), 0);
    ASSERT_EQ(UnzipToFile(Prog("studio.ZPA"), "bare.dbs"), 0);
    EXPECT_EQ(Read("bare.dbs"), "contents");
}

TEST_F(BackupTest, FailedZipKeepsTheOlderArchive)
{
    Write("studio.dbs", "contents");
    ASSERT_EQ(ZipOneFile(Prog("studio.dbs"), Prog("studio.ZPA"), 1), 0);
    const std::string before = Read("studio.ZPA");
    Answer({ui::IDOK});
    EXPECT_EQ(ZipOneFile(Prog("missing.dbs"), Prog("studio.ZPA"), 1), 2);
    EXPECT_EQ(Shown(), std::vector<std::string>{Format("Error in ZIPping %s",
                                                       Prog("missing.dbs").c_str())});
    EXPECT_EQ(Read("studio.ZPA"), before);
    EXPECT_FALSE(Exists("studio.ZPA.$$$"));
}

TEST_F(BackupTest, ZipListRestoresIntoAFolderAskingBeforeOverwriting)
{
    Write("prog/a.exe", "program");
    Write("prog/b.cfg", "settings");
    ASSERT_EQ(ZipFileList(Prog("prog.zip"), {Prog("prog/a.exe"), Prog("prog/b.cfg")}, 1), 0);
    Write("out/b.cfg", "mine");
    Answer({ui::IDNO});
    std::vector<std::string> restored;
    EXPECT_EQ(UnzipFiles(Prog("prog.zip"), Prog("out"), &restored), 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{Format("File %s\\b.cfg exists. Overwrite it?",
                                                       Prog("out").c_str())});
    EXPECT_EQ(restored, std::vector<std::string>{Prog("out") + "\\a.exe"});
    EXPECT_EQ(Read("out/a.exe"), "program");
    EXPECT_EQ(Read("out/b.cfg"), "mine");
}

TEST_F(BackupTest, MissingArchiveTouchesNothing)
{
    Write("target.dbs", "old");
    Answer({ui::IDOK});
    EXPECT_EQ(UnzipToFile(Prog("none.zip"), Prog("target.dbs")), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{Format("ZIP file %s not found",
                                                       Prog("none.zip").c_str())});
    EXPECT_EQ(Read("target.dbs"), "old");
}

TEST_F(BackupTest, RestoredNamesStayInsideTheFolder)
{
    // Stored names as another program could have written them.
    const std::string script =
        "import zipfile\n"
        "z = zipfile.ZipFile('hostile.zip', 'w')\n"
        "z.writestr('../../up.txt', 'up')\n"
        "z.writestr('..\\\\..\\\\win.txt', 'win')\n"
        "z.writestr('/abs/root.txt', 'root')\n"
        "z.writestr('C:drive.txt', 'drive')\n"
        "z.writestr('sub/..', 'dots')\n"
        "z.close()\n";
    Write("make.py", script);
    ASSERT_EQ(std::system("python3 make.py"), 0);
    std::vector<std::string> restored;
    EXPECT_EQ(UnzipFiles(Prog("hostile.zip"), Prog("out/in"), &restored), 3);
    EXPECT_EQ(Read("out/in/up.txt"), "up");
    EXPECT_EQ(Read("out/in/win.txt"), "win");
    EXPECT_EQ(Read("out/in/root.txt"), "root");
    EXPECT_EQ(restored.size(), 3u);
    EXPECT_FALSE(Exists("up.txt"));
    EXPECT_FALSE(Exists("out/up.txt"));
    EXPECT_FALSE(Exists("out/in/C:drive.txt"));
    EXPECT_FALSE(Exists("out/in/drive.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(root_ / "out/in"),
                            std::filesystem::directory_iterator()),
              3);
}

TEST_F(BackupTest, PackBackupRestoresByteForByte)
{
    const std::string data = MakeData(100000) + std::string(50000, ' ') + "studio records";
    Write("studio.dbs", data);
    ASSERT_EQ(PackFile(Prog("studio.dbs"), Prog("studio.PKA"), ""), 0);
    EXPECT_FALSE(Exists("TempFile.$$$")) << "the default scratch file is deleted";
    EXPECT_LT(Read("studio.PKA").size(), data.size());
    ASSERT_EQ(UnpackFile(Prog("studio.PKA"), Prog("back.dbs")), 0);
    EXPECT_TRUE(Read("back.dbs") == data);

    // A given scratch file is kept.
    ASSERT_EQ(PackFile(Prog("studio.dbs"), "", Prog("keep.pk")), 0);
    EXPECT_EQ(Read("keep.pk"), Read("studio.PKA"));
}

TEST_F(BackupTest, PackOfAMissingSourceCopiesNothing)
{
    Write("studio.PKA", "older archive");
    Answer({ui::IDOK, ui::IDOK});
    EXPECT_EQ(PackFile(Prog("none.dbs"), Prog("studio.PKA"), ""), 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           Format("Error 2 in opening input file to pack: %s",
                                  Prog("none.dbs").c_str()),
                           Format("Error 1 in packing file %s into TempFile.$$$",
                                  Prog("none.dbs").c_str())}));
    EXPECT_EQ(Read("studio.PKA"), "older archive");
    EXPECT_FALSE(Exists("TempFile.$$$"));
}

TEST_F(BackupTest, FullDiskWhilePackingIsReportedAndKeepsTheArchive)
{
    Write("studio.dbs", MakeData(50000));
    Write("studio.PKA", "older archive");
    host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Write);
    Answer({ui::IDOK, ui::IDOK});
    EXPECT_EQ(PackFile(Prog("studio.dbs"), Prog("studio.PKA"), ""), 2);
    ASSERT_EQ(Shown().size(), 2u);
    EXPECT_EQ(Shown()[0], "Error 39 in writing output packed file: TempFile.$$$");
    EXPECT_EQ(Read("studio.PKA"), "older archive");
}

TEST_F(BackupTest, FullDiskWhileUnpackingKeepsTheOutput)
{
    Write("studio.dbs", MakeData(50000));
    ASSERT_EQ(PackFile(Prog("studio.dbs"), Prog("studio.PKA"), ""), 0);
    Write("back.dbs", "current database");
    host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Write);
    Answer({ui::IDOK, ui::IDOK});
    EXPECT_EQ(UnpackFile(Prog("studio.PKA"), Prog("back.dbs")), 7);
    EXPECT_EQ(Shown().back(), Format("Error 7 in unpacking file %s into %s",
                                     Prog("studio.PKA").c_str(), Prog("back.dbs").c_str()));
    EXPECT_EQ(Read("back.dbs"), "current database");
    EXPECT_FALSE(Exists("back.dbs.$$$"));
}

TEST_F(BackupTest, UnpackOfDataThatIsNotPackedKeepsTheOutput)
{
    Write("plain.txt", std::string("\x07\x09 not imploded", 15));
    Write("back.dbs", "current database");
    Answer({ui::IDOK});
    const int outcome = UnpackFile(Prog("plain.txt"), Prog("back.dbs"));
    EXPECT_NE(outcome, 0);
    EXPECT_EQ(Shown(), std::vector<std::string>{Format("Error %d in unpacking file %s into %s",
                                                       outcome, Prog("plain.txt").c_str(),
                                                       Prog("back.dbs").c_str())});
    EXPECT_EQ(Read("back.dbs"), "current database");

    Hooks().messageBoxTexts.clear();
    Answer({ui::IDOK, ui::IDOK});
    EXPECT_EQ(UnpackFile(Prog("none.PKA"), Prog("back.dbs")), 6);
    EXPECT_EQ(Shown()[0], "Can't open file to unpack");
}

TEST_F(BackupTest, GenerationsRotateBeforeANewZipBackup)
{
    const std::string db = Prog("studio");
    Write("studio.dbs", "monday");
    ASSERT_EQ(ZipOneFile(db + ".dbs", db + GetBackupExtension('Z', 0), 1), 0);
    for (const char* day : {"tuesday", "wednesday", "thursday"}) {
        Write("studio.dbs", day);
        RotateGenerations(db, 'Z', 3);
        ASSERT_EQ(ZipOneFile(db + ".dbs", db + GetBackupExtension('Z', 0), 1), 0);
    }
    const std::pair<const char*, const char*> expected[] = {
        {".ZPA", "thursday"}, {".ZPB", "wednesday"}, {".ZPC", "tuesday"}};
    for (const auto& [extension, contents] : expected) {
        ASSERT_EQ(UnzipToFile(db + extension, Prog("check.dbs")), 0) << extension;
        EXPECT_EQ(Read("check.dbs"), contents) << extension;
    }
    EXPECT_FALSE(Exists("studio.ZPD"));
}

}  // namespace
