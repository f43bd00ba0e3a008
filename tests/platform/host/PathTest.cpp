#include "platform/host/Drives.h"
#include "platform/host/File.h"
#include "platform/host/Path.h"

#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

using host::DriveEntry;
using host::Drives;
using host::DriveType;
using hosttest::TempFolder;
namespace fs = std::filesystem;

TEST(PathParts, Table) {
    struct Case { const char* path; const char* dir; const char* name; };
    const Case cases[] = {
        {"C:\\Dorvalquintex\\x.dbs", "C:\\Dorvalquintex", "x.dbs"},
        {"C:\\x.dbs", "C:", "x.dbs"},
        {"C:/a/b.txt", "C:/a", "b.txt"},
        {"A:RecombineInfo.dat", "A:", "RecombineInfo.dat"},
        {"A:\\", "A:", ""},
        {"TEMP.DBS", "", "TEMP.DBS"},
        {"sub\\dir/mixed.txt", "sub\\dir", "mixed.txt"},
        {"/home/ann/x", "/home/ann", "x"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(host::DirectoryPart(c.path), c.dir) << c.path;
        EXPECT_EQ(host::FileNamePart(c.path), c.name) << c.path;
    }
    EXPECT_EQ(host::JoinPath("C:\\data", "x.dbs"), "C:\\data\\x.dbs");
    EXPECT_EQ(host::JoinPath("C:\\data\\", "x.dbs"), "C:\\data\\x.dbs");
    EXPECT_EQ(host::JoinPath("C:", "x.dbs"), "C:x.dbs");
    EXPECT_EQ(host::JoinPath("/home/ann", "x.dbs"), "/home/ann/x.dbs");
    EXPECT_EQ(host::JoinPath("", "x.dbs"), "x.dbs");
    EXPECT_EQ(host::JoinPath("C:\\data", "\\x.dbs"), "C:\\data\\x.dbs");
    EXPECT_EQ(host::DriveLetterOf("c:\\x"), 'C');
    EXPECT_EQ(host::DriveLetterOf("\\x"), 0);
}

class DriveMapTest : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(tmp_ / "a");
        fs::create_directories(tmp_ / "c");
        Drives::SetMapForTesting({
            {'A', tmp_ / "a", DriveType::Removable, 10000},
            {'b', tmp_ / "b", DriveType::Removable, 10000},  // no folder: no diskette
            {'C', tmp_ / "c", DriveType::Fixed, 0},
        });
    }
    void TearDown() override { Drives::ClearMapForTesting(); }
    TempFolder tmp_;
};

TEST_F(DriveMapTest, ResolvesDriveLettersAndSeparators) {
    std::string out;
    ASSERT_TRUE(host::ToHostPath("C:\\Dorvalquintex\\x.dbs", out));
    EXPECT_EQ(out, tmp_ / "c/Dorvalquintex/x.dbs");
    ASSERT_TRUE(host::ToHostPath("c:/a\\b", out));
    EXPECT_EQ(out, tmp_ / "c/a/b");
    ASSERT_TRUE(host::ToHostPath("A:\\", out));
    EXPECT_EQ(out, tmp_ / "a");
    ASSERT_TRUE(host::ToHostPath("A:RecombineInfo.dat", out));
    EXPECT_EQ(out, tmp_ / "a/RecombineInfo.dat");
    ASSERT_TRUE(host::ToHostPath("rel\\name.txt", out));
    EXPECT_EQ(out, "rel/name.txt");
    ASSERT_TRUE(host::ToHostPath(tmp_.Path() + "\\c", out));
    EXPECT_EQ(out, tmp_ / "c");
    ASSERT_TRUE(host::ToHostPath("caf\xE9.dbs", out));
    EXPECT_EQ(out, "caf\xC3\xA9.dbs");
    EXPECT_FALSE(host::ToHostPath("Q:\\x.dbs", out));
    EXPECT_TRUE(out.empty());
}

TEST_F(DriveMapTest, MatchesExistingNamesWithoutRegardToCase) {
    fs::create_directories(tmp_ / "c/Studio");
    tmp_.Write("c/Studio/Main.DBS", "x");
    std::string out;
    ASSERT_TRUE(host::ToHostPath("C:\\STUDIO\\main.dbs", out));
    EXPECT_EQ(out, tmp_ / "c/Studio/Main.DBS");
    EXPECT_TRUE(host::FileExists("c:\\studio\\MAIN.dbs"));
    // A new name keeps its spelling.
    ASSERT_TRUE(host::ToHostPath("C:\\studio\\New.txt", out));
    EXPECT_EQ(out, tmp_ / "c/Studio/New.txt");
    // Two names that differ only by case: the one written is used, no guess.
    tmp_.Write("c/Studio/main.dbs", "y");
    ASSERT_TRUE(host::ToHostPath("C:\\Studio\\MAIN.DBS", out));
    EXPECT_EQ(out, tmp_ / "c/Studio/MAIN.DBS");
}

TEST_F(DriveMapTest, TypesAndFreeSpace) {
    EXPECT_EQ(Drives::TypeOf("A:\\"), DriveType::Removable);
    EXPECT_EQ(Drives::TypeOf("b:"), DriveType::Removable);
    EXPECT_EQ(Drives::TypeOf("C:\\x"), DriveType::Fixed);
    EXPECT_EQ(Drives::TypeOf("Q:\\"), DriveType::NoRootDir);
    EXPECT_EQ(Drives::TypeOf("relative"), DriveType::Fixed);

    uint64_t freeBytes = 0, total = 0;
    ASSERT_TRUE(Drives::FreeSpace("A:\\", freeBytes, &total));
    EXPECT_EQ(freeBytes, 10000u);
    EXPECT_EQ(total, 10000u);
    tmp_.Write("a/one", std::string(3000, 'x'));
    fs::create_directories(tmp_ / "a/sub");
    tmp_.Write("a/sub/two", std::string(1000, 'y'));
    ASSERT_TRUE(Drives::FreeSpace("A:", freeBytes));
    EXPECT_EQ(freeBytes, 6000u);
    tmp_.Write("a/big", std::string(9000, 'z'));
    ASSERT_TRUE(Drives::FreeSpace("A:", freeBytes));
    EXPECT_EQ(freeBytes, 0u);

    EXPECT_FALSE(Drives::FreeSpace("B:\\", freeBytes));
    EXPECT_EQ(host::LastFileError(), host::FileError::DeviceNotReady);
    EXPECT_EQ(host::LastFileErrorCode(), 21);
    EXPECT_FALSE(Drives::FreeSpace("Q:\\", freeBytes));

    ASSERT_TRUE(Drives::FreeSpace("C:\\not\\yet\\there", freeBytes, &total));
    EXPECT_GT(total, 0u);
    EXPECT_LE(freeBytes, total);
}

TEST(DriveMapParse, Table) {
    std::vector<DriveEntry> out;
    ASSERT_TRUE(Drives::Parse("A,removable,1457664=/media/floppy;C=/home/ann/a=b;d,FIXED=/x y", out));
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].letter, 'A');
    EXPECT_EQ(out[0].type, DriveType::Removable);
    EXPECT_EQ(out[0].capacity, 1457664u);
    EXPECT_EQ(out[0].folder, "/media/floppy");
    EXPECT_EQ(out[1].folder, "/home/ann/a=b");
    EXPECT_EQ(out[1].type, DriveType::Fixed);
    EXPECT_EQ(out[2].letter, 'D');
    EXPECT_EQ(out[2].folder, "/x y");
    EXPECT_TRUE(Drives::Parse("", out));
    EXPECT_TRUE(out.empty());

    const char* bad[] = {"A", "A=", "1=/x", "A,floppy=/x", "A,removable,-5=/x", "A,removable,12k=/x", "AB=/x"};
    for (const char* b : bad) EXPECT_FALSE(Drives::Parse(b, out)) << b;
}

TEST(DriveMapEnvironment, DefaultsAndVariable) {
    TempFolder tmp;
    const char* oldData = std::getenv("XDG_DATA_HOME");
    std::string savedData = oldData ? oldData : "";
    setenv("XDG_DATA_HOME", tmp.Path().c_str(), 1);
    unsetenv("DORVALQUINTEX_DRIVES");

    auto a = Drives::Find('a');
    ASSERT_TRUE(a);
    EXPECT_EQ(a->folder, tmp / "Dorvalquintex/drives/a");
    EXPECT_EQ(a->type, DriveType::Removable);
    EXPECT_EQ(a->capacity, host::kDisketteCapacity);
    EXPECT_EQ(Drives::TypeOf("B:\\"), DriveType::Removable);
    EXPECT_EQ(Drives::TypeOf("C:\\"), DriveType::Fixed);
    EXPECT_FALSE(Drives::Find('E'));

    setenv("DORVALQUINTEX_DRIVES", ("A,fixed=" + tmp.Path() + ";E,removable,500=/mnt/e").c_str(), 1);
    a = Drives::Find('A');
    ASSERT_TRUE(a);
    EXPECT_EQ(a->folder, tmp.Path());
    EXPECT_EQ(a->type, DriveType::Fixed);
    auto e = Drives::Find('e');
    ASSERT_TRUE(e);
    EXPECT_EQ(e->capacity, 500u);
    EXPECT_EQ(Drives::TypeOf("B:\\"), DriveType::Removable);  // default kept

    unsetenv("DORVALQUINTEX_DRIVES");
    if (oldData) setenv("XDG_DATA_HOME", savedData.c_str(), 1);
    else unsetenv("XDG_DATA_HOME");
}

}  // namespace
