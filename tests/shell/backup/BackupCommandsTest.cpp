// Backups made, rotated and restored; archives; the refusals and questions that keep a database
// from being lost.

#include "BackupTestSupport.h"

#include "tests/database/DbFixture.h"
#include "common/Backup.h"
#include "widgets/CommandGuards.h"
#include "records/RecordBuffer.h"
#include "database/Database.h"
#include "platform/host/Clock.h"
#include "shell/MainView.h"
#include "shell/ProgramBackup.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"
#include "common/DataPaths.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

TEST_F(BackupTest, ZipBackupIsRotatedAndRestoredByteForByte)
{
    const std::string root = MakeDatabase(5, 2000);
    fs::create_directories(root_ / "backups");
    OpenInLauncher(root);
    Db()->m_bDatabaseChanged = true;
    Prompt(Path("backups").c_str());
    Answer({ui::IDOK});
    View().BackupDatabase();
    EXPECT_EQ(Shown(), std::vector<std::string>{"Backup of studio written to " + Path("backups") + "/studio.ZPA"});
    EXPECT_TRUE(Exists("backups/studio.ZPA"));
    EXPECT_EQ(Read("backups/studio.rgs"), "users of db/studio");
    EXPECT_TRUE(Exists("db/studio.ZPA"));
    EXPECT_FALSE(Exists("db/studio.dbm"));
    EXPECT_FALSE(Db()->m_bDatabaseChanged);

    const std::string first = Read("db/studio.ZPA");
    Prompt(Path("backups").c_str());
    Answer({ui::IDOK});
    View().BackupDatabase();
    EXPECT_EQ(Read("db/studio.ZPB"), first);
    View().OnDatabaseClose();
    const std::string original = Read("db/studio.dbs");

    Answer({ui::IDOK});
    fs::create_directories(root_ / "restored");
    EXPECT_EQ(View().RestoreBackupFile(Path("db/studio.ZPB"), Path("restored/studio.dbs"), 0), 0);
    EXPECT_EQ(Shown().back(), "File restored OK.");
    EXPECT_EQ(Read("restored/studio.dbs"), original);
}

TEST_F(BackupTest, PromptStartsAtTheLastPathAndASuccessSaysWhereTheBackupWent)
{
    const std::string root = MakeDatabase(3, 200);
    fs::create_directories(root_ / "first");
    fs::create_directories(root_ / "second");
    Write("prog/Dorvalquintex.cfg", "BACKUP|" + Path("first") + "\r\n");
    AppSettings().LoadConfig(ProgramFolder);
    OpenInLauncher(root);
    auto promptStartingAt = [](std::string initial, std::string answer) {
        Hooks().dialogScripts.push_back([=](ui::Dialog& d) {
            EXPECT_EQ(d.GetDlgItemText(1254), initial);
            ui::test::SetText(d, 1254, answer);
            ui::test::Click(d, ui::IDOK);
        });
    };
    promptStartingAt(Path("first"), Path("second"));
    Answer({ui::IDOK});
    EXPECT_EQ(View().BackupDatabaseWithResult(), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Backup of studio written to " + Path("second") + "/studio.ZPA"});
    EXPECT_TRUE(Exists("second/studio.ZPA"));

    // The next backup starts at the path just used, also after the settings were saved and read.
    ASSERT_TRUE(AppSettings().SaveConfig(ProgramFolder, root));
    AppSettings().SetDefaults();
    AppSettings().LoadConfig(ProgramFolder);
    promptStartingAt(Path("second"), Path("missing/folder"));
    Answer({ui::IDOK});
    EXPECT_EQ(View().BackupDatabaseWithResult(), 0);
    // A failed backup keeps the path that worked.
    promptStartingAt(Path("second"), "");
    EXPECT_EQ(View().BackupDatabaseWithResult(), 0);
}

TEST_F(BackupTest, BackupWithTheDatabaseClosedHereIsRefusedWhileAnotherCopyHasItOpen)
{
    const std::string root = MakeDatabase(5, 200);
    fs::create_directories(root_ / "backups");
    OpenInLauncher(root);
    View().OnDatabaseClose();
    {
        CDbEngine second;
        ASSERT_GT(second.OpenDB(root + ".dbs", 0), 0);
        Prompt(Path("backups").c_str());
        Answer({ui::IDOK});
        View().BackupDatabase();
        ASSERT_EQ(Shown().size(), 1u);
        EXPECT_EQ(Shown()[0], "The database " + root + " is open on another computer.\nOpen it here to back it up.");
        EXPECT_FALSE(Exists("backups/studio.ZPA"));
        EXPECT_FALSE(Exists("db/studio.ZPA"));
        second.CloseDB();
    }
    Prompt(Path("backups").c_str());
    Answer({ui::IDOK});
    View().BackupDatabase();
    EXPECT_EQ(Shown().size(), 2u) << "closed everywhere: the file is copied as it lies";
    EXPECT_TRUE(Exists("backups/studio.ZPA"));
}

TEST_F(BackupTest, EachKindIsTakenFromItsExtensionAndRestoredByteForByte)
{
    MakeDatabase(4, 3000);
    const std::string original = Read("db/studio.dbs");
    fs::create_directories(root_ / "old.ZPfiles");
    struct Case {
        const char* file;
        int (*make)(const std::string& db, const std::string& backup);
        const char* shown;
    } cases[] = {
        {"db/a.BKA", [](const std::string& d, const std::string& b) { return fs::copy_file(d, b) ? 0 : 1; },
         "File restored OK."},
        {"db/a.pkb", [](const std::string& d, const std::string& b) { return PackFile(d, b, ""); },
         "File restored OK."},
        {"db/a.ZPC", [](const std::string& d, const std::string& b) { return ZipOneFile(d, b, 1); },
         "File restored OK."},
        // Text in the folder's name is no kind.
        {"old.ZPfiles/a.txt", [](const std::string& d, const std::string& b) { return fs::copy_file(d, b) ? 0 : 1; },
         "Backup file not found."},
        {"db/a.ZP", [](const std::string& d, const std::string& b) { return ZipOneFile(d, b, 1); },
         "Backup file not found."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        ASSERT_EQ(c.make(Path("db/studio.dbs"), Path(c.file)), 0);
        fs::remove(root_ / "out.dbs");
        Hooks().messageBoxTexts.clear();
        Answer({ui::IDOK});
        View().RestoreBackupFile(Path(c.file), Path("out.dbs"), 0);
        EXPECT_EQ(Shown(), std::vector<std::string>{c.shown});
        if (std::string(c.shown) == "File restored OK.") EXPECT_EQ(Read("out.dbs"), original);
        else EXPECT_FALSE(Exists("out.dbs"));
    }
}

TEST_F(BackupTest, RestoreIsRefusedWhileAnotherCopyHasTheDatabaseOpenAndAsksBeforeOverwriting)
{
    MakeDatabase(2, 100, "db/other");
    const std::string root = MakeDatabase(3, 100);
    fs::copy_file(Path("db/other.dbs"), Path("db/studio.BKA"));
    const std::string before = Read("db/studio.dbs");
    {
        CDbEngine second;
        ASSERT_GT(second.OpenDB(root + ".dbs", 0), 0);
        Answer({ui::IDOK});
        EXPECT_EQ(View().RestoreBackupFile(Path("db/studio.BKA"), root + ".dbs", 1), 0);
        ASSERT_EQ(Shown().size(), 1u);
        EXPECT_NE(Shown()[0].find("is open on another computer"), std::string::npos);
        second.CloseDB();
    }
    const std::string closed = Read("db/studio.dbs");
    EXPECT_EQ(WithoutOpenState(closed), WithoutOpenState(before));
    Answer({ui::IDNO});
    EXPECT_EQ(View().RestoreBackupFile(Path("db/studio.BKA"), root + ".dbs", 1), 0);
    EXPECT_EQ(Shown().back(), "Database file " + root + ".dbs exists. Overwrite it?");
    EXPECT_EQ(Read("db/studio.dbs"), closed);
    EXPECT_NE(DatabaseOpen, 1);
}

TEST_F(BackupTest, RestoreOverTheOpenDatabaseAsksThenReopensIt)
{
    MakeDatabase(2, 100, "db/other");
    const std::string root = MakeDatabase(3, 100);
    fs::copy_file(Path("db/other.dbs"), Path("db/studio.BKA"));
    const std::string wanted = Read("db/other.dbs");
    OpenInLauncher(root);
    Answer({ui::IDYES});
    ChooseMenuEntry(0);
    View().RestoreFromBackupFile();
    EXPECT_EQ(Shown(), std::vector<std::string>{"Are you sure? This will overwrite current database."});
    EXPECT_EQ(DatabaseOpen, 1);
    View().OnDatabaseClose();
    EXPECT_EQ(Read("db/studio.dbs"), wanted);
}

TEST_F(BackupTest, RestoreRefusedWithTwoUsersOnLineBeforeAnyQuestion)
{
    const std::string root = MakeDatabase(1, 10);
    OpenInLauncher(root);
    Db()->m_nUsersOnLine = 2;
    const char* refusal = "There are other users on-line.\nCan only restore when there is only one user on-line.";
    Answer({ui::IDOK, ui::IDOK});
    View().RestoreFromBackupFile();
    View().RestoreFromDiskette();
    EXPECT_EQ(Shown(), (std::vector<std::string>{refusal, refusal}));
    Db()->m_nUsersOnLine = 1;
}

TEST_F(BackupTest, ArchiveIsMadeAndRecalledAsADatabaseOfItsOwn)
{
    host::LocalTime t{};
    t.year = 2006;
    t.month = 7;
    t.day = 3;
    t.hour = 12;
    time_t when = 0;
    ASSERT_TRUE(host::Clock::FromLocal(t, when));
    host::Clock::SetFixedTime(when);
    const std::string root = MakeDatabase(3, 1500);
    OpenInLauncher(root);
    CurrentDatabasePath = root;
    Answer({ui::IDOK});
    View().CreateArchive();
    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "Archive files arc_studio_07_03_2006.pak, arc_studio_07_03_2006.rgs created"});
    EXPECT_EQ(Read("prog/arc_studio_07_03_2006.rgs"), "users of db/studio");
    View().OnDatabaseClose();
    const std::string original = Read("db/studio.dbs");

    ChooseMenuEntry(0);
    View().RecallArchive();
    EXPECT_EQ(DatabaseOpen, 1);
    EXPECT_EQ(CurrentDatabasePath, Path("prog") + "\\arc_studio_07_03_2006");
    View().OnDatabaseClose();
    EXPECT_EQ(Read("prog/arc_studio_07_03_2006.dbs"), original);
    EXPECT_EQ(Read("db/studio.dbs"), original);
}

TEST_F(BackupTest, NewDatabaseNeverReplacesOneThatExists)
{
    MakeDatabase(2, 50, "prog/studio");
    const std::string before = Read("prog/studio.dbs");
    Prompt("studio");
    Answer({ui::IDOK});
    View().OnNewDatabase();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0].rfind("A database named " + Path("prog") + "/studio already exists.", 0), 0u);
    EXPECT_EQ(Read("prog/studio.dbs"), before);
    EXPECT_NE(DatabaseOpen, 1);
}

TEST_F(BackupTest, DisketteIsClearedOnlyAfterAskingAndAFailedBackupStillNeedsOne)
{
    const std::string root = MakeDatabase(2, 200);
    InsertDiskette("d1", host::kDisketteCapacity);
    Write("d1/letter.txt", "keep me");
    OpenInLauncher(root);
    Db()->m_bDatabaseChanged = true;
    Prompt("A:");
    Answer({ui::IDNO});
    View().BackupDatabase();
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], "The diskette in drive A: holds these files:\nletter.txt\nDelete them to make room for "
                          "the backup?");
    EXPECT_EQ(Read("d1/letter.txt"), "keep me");
    EXPECT_TRUE(Db()->m_bDatabaseChanged);
}

TEST_F(BackupTest, FixedDriveRootIsAFolderAndIsNeverCleared)
{
    const std::string root = MakeDatabase(2, 200);
    MapFixedDrive("cdrive");
    Write("cdrive/keep.txt", "keep");
    OpenInLauncher(root);
    Prompt("C:\\");
    Answer({ui::IDOK});
    View().BackupDatabase();
    EXPECT_EQ(Shown(), std::vector<std::string>{"Backup of studio written to C:/studio.ZPA"});
    EXPECT_TRUE(Exists("cdrive/studio.ZPA"));
    EXPECT_EQ(Read("cdrive/keep.txt"), "keep");

    Answer({ui::IDOK});
    EXPECT_FALSE(PrepareDiskette('C'));
    EXPECT_EQ(Shown().back(), "Drive C: is not a removable drive. Nothing was deleted.");
    EXPECT_EQ(Read("cdrive/keep.txt"), "keep");
}

// Another desk saves records under the database lock while this one backs up: every backup
// unpacks to a file whose linked list is whole. The other desk opens the file while the first
// backup starts, when this copy may still be alone on it.
TEST_F(BackupTest, BackupTakenWhileAnotherCopySavesPassesTheListTest)
{
    // Two processes wait on each other's byte ranges: their tries are counted in real time.
    host::Clock::SetInstantSleep(false);
    const std::string root = MakeDatabase(20, 400);
    fs::create_directories(root_ / "backups");
    OpenInLauncher(root);
    const std::string file = root + ".dbs";
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        SetStampUserCode(2);
        CDbEngine desk;
        if (desk.OpenDB(file, 0) <= 0) _exit(2);
        desk.MakeFileHeaderArray(nullptr, nullptr);
        for (uint32_t i = 0; i < 150; ++i) {
            while (desk.TestAndSetLockByte(DB_LOCK_AREA_LOC) != 1) usleep(200);
            const std::string data = NoiseData(300 + (i % 7) * 50, 100 + i);
            std::memcpy(desk.m_cBuffer, data.data(), data.size());
            // New records and new versions of existing ones, which move to a larger block.
            const uint32_t key = i % 2 == 0 ? MakeKey(1, 1000 + i) : MakeKey(0, 1 + i % 20);
            if (desk.WriteRecord(static_cast<uint32_t>(data.size()), 6, key, 0, 0) == LOC_NONE) _exit(3);
            if (!desk.UnlockDatabase()) _exit(4);
        }
        _exit(0);
    }
    for (int round = 0; round < 4; ++round) {
        SCOPED_TRACE(round);
        ASSERT_TRUE(Db()->IsOpen());
        Prompt(Path("backups").c_str());
        Answer({ui::IDOK});
        ASSERT_EQ(View().BackupDatabaseWithResult(), 1);
        // Unpacked directly: a restore would close the open database.
        fs::remove(root_ / "check.dbs");
        ASSERT_EQ(UnzipToFile(Path("backups/studio.ZPA"), Path("check.dbs")), 0);
        CDbEngine check;
        ASSERT_GT(check.OpenDB(Path("check.dbs"), 0), 0);
        std::vector<std::string> report;
        EXPECT_EQ(check.TestAndRepairHeaders('F', 0, report), 1) << report.back();
        check.CloseDB();
    }
    int status = 0;
    waitpid(writer, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}
