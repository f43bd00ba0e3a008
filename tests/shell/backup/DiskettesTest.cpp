// Backups split over diskettes and brought back, and the program backup.

#include "BackupTestSupport.h"

#include "widgets/CommandGuards.h"
#include "common/DataPaths.h"
#include "database/Database.h"
#include "shell/MainView.h"
#include "shell/ProgramBackup.h"

#include <minizip/unzip.h>

#include <filesystem>

namespace fs = std::filesystem;

TEST_F(BackupTest, BackupOverThreeDiskettesAndRestoreWithTheUsersFileBesideIt)
{
    const uint64_t capacity = 70000;
    const std::string root = MakeDatabase(3, 50000);
    InsertDiskette("d1", capacity);
    OpenInLauncher(root);
    ChangeDiskettesAt("Insert next diskette", {"d2", "d3"});
    Answer({ui::IDOK, ui::IDOK, ui::IDOK});
    Prompt("A:");
    ASSERT_EQ(View().BackupDatabaseWithResult(), 1);
    EXPECT_EQ(Shown().back(), "Backup of studio written to A:/studio.ZPA");
    EXPECT_EQ(Read("d1/studio.rgs"), "users of db/studio");
    for (const char* d : {"d1", "d2", "d3"}) EXPECT_TRUE(Exists(std::string(d) + "/RecombineInfo.dat")) << d;
    View().OnDatabaseClose();
    const std::string original = Read("db/studio.dbs");

    fs::create_directories(root_ / "restored");
    Hooks().messageBoxTexts.clear();
    InsertDiskette("d1", capacity);
    ChangeDiskettesAt("Insert next  diskette.", {"d2", "d3"});
    Prompt("A");
    Prompt(Path("restored").c_str());
    Answer({ui::IDYES, ui::IDOK, ui::IDOK});
    View().RestoreFromDiskette();
    EXPECT_EQ(Shown(), (std::vector<std::string>{"Copy registration file from diskette?", "Insert next  diskette.",
                                                 "Insert next  diskette."}));
    EXPECT_EQ(DatabaseOpen, 1);
    EXPECT_EQ(Read("restored/studio.rgs"), "users of db/studio");
    View().OnDatabaseClose();
    EXPECT_EQ(Read("restored/studio.dbs"), original);
}

TEST_F(BackupTest, ProgramBackupPutsTheInstallerAndAnExecutableProgramOnDiskettes)
{
    Write("prog/Dorvalquintex", "#!/bin/sh\necho studio\n");
    fs::permissions(root_ / "prog/Dorvalquintex", fs::perms::owner_all | fs::perms::group_read, fs::perm_options::replace);
    Write("prog/install", "installer");
    InsertDiskette("d1", host::kDisketteCapacity);
    Answer({ui::IDYES, ui::IDOK});
    Prompt("A");
    EXPECT_EQ(RunProgramBackup(Path("prog/Dorvalquintex")), 1);
    EXPECT_EQ(Shown().size(), 2u);
    EXPECT_EQ(Read("d1/install"), "installer");
    ASSERT_TRUE(Exists("d1/Dorvalquintex.zip"));
    EXPECT_TRUE(Exists("prog/Dorvalquintex.zip"));

    unzFile zip = unzOpen64(Path("d1/Dorvalquintex.zip").c_str());
    ASSERT_NE(zip, nullptr);
    ASSERT_EQ(unzGoToFirstFile(zip), UNZ_OK);
    unz_file_info64 info{};
    char name[256] = {};
    ASSERT_EQ(unzGetCurrentFileInfo64(zip, &info, name, sizeof name, nullptr, 0, nullptr, 0), UNZ_OK);
    EXPECT_STREQ(name, "Dorvalquintex");
    EXPECT_NE((info.external_fa >> 16) & 0100, 0u);
    unzClose(zip);
}

TEST_F(BackupTest, ProgramBackupWritesNothingWithoutInstallerOrAnswer)
{
    Write("prog/Dorvalquintex", "program");
    InsertDiskette("d1", host::kDisketteCapacity);
    Answer({ui::IDOK});
    EXPECT_EQ(RunProgramBackup(Path("prog/Dorvalquintex")), 0);
    EXPECT_EQ(Shown().back(), "Missing required file " + Path("prog") + "\\install.");

    Write("prog/install", "installer");
    Answer({ui::IDNO});
    EXPECT_EQ(RunProgramBackup(Path("prog/Dorvalquintex")), 0);
    Answer({ui::IDYES});
    Prompt(nullptr);
    EXPECT_EQ(RunProgramBackup(Path("prog/Dorvalquintex")), 0);
    EXPECT_TRUE(fs::is_empty(root_ / "d1"));
    EXPECT_FALSE(Exists("prog/Dorvalquintex.zip"));
}
