#include "platform/host/Directory.h"
#include "platform/host/Drives.h"
#include "platform/host/File.h"

#include "TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

using host::DirEntry;
using hosttest::TempFolder;
namespace fs = std::filesystem;

TEST(MatchesPattern, Table) {
    struct Case { const char* name; const char* pattern; bool match; };
    const Case cases[] = {
        {"STUDIO.DBS", "*.dbs", true},
        {"studio.dbs", "*.DBS", true},
        {"studio.dbs.old", "*.dbs", false},
        {"noext", "*.*", true},
        {"noext", "*", true},
        {".hidden", "*.*", true},
        {"back.ZPA", "*.zp*", true},
        {"back.zp", "*.zp*", true},
        {"back.zip", "*.zp*", false},
        {"BETA.txt", "?eta.*", true},
        {"eta.txt", "?eta.*", false},
        {"name", "name.*", true},
        {"Caf\xC9.dbs", "caf\xE9.*", true},
        {"a.b.c", "*.c", true},
        {"abc", "a*b*c", true},
        {"abd", "a*b*c", false},
        {"", "*", true},
    };
    for (const Case& c : cases) EXPECT_EQ(host::MatchesPattern(c.name, c.pattern), c.match) << c.name << " ~ " << c.pattern;
}

class ListTest : public ::testing::Test {
protected:
    void SetUp() override {
        tmp_.Write("Alpha.DBS", "12345");
        tmp_.Write("beta.dbs", "1");
        tmp_.Write("gamma.txt", "");
        tmp_.Write("noext", "abc");
        fs::create_directories(tmp_ / "Sub");
    }
    static std::vector<std::string> Names(const std::vector<DirEntry>& list) {
        std::vector<std::string> out;
        for (const DirEntry& e : list) out.push_back(e.name);
        return out;
    }
    TempFolder tmp_;
};

TEST_F(ListTest, PatternsWithoutRegardToCase) {
    using V = std::vector<std::string>;
    struct Case { const char* pattern; V names; };
    const Case cases[] = {
        {"*.dbs", V{"Alpha.DBS", "beta.dbs"}},
        {"*.DBS", V{"Alpha.DBS", "beta.dbs"}},
        {"*.*", V{"Alpha.DBS", "beta.dbs", "gamma.txt", "noext", "Sub"}},
        {"*", V{"Alpha.DBS", "beta.dbs", "gamma.txt", "noext", "Sub"}},
        {"?ETA.*", V{"beta.dbs"}},
        {"*.zp*", V{}},
    };
    for (const Case& c : cases) {
        std::vector<DirEntry> list;
        ASSERT_TRUE(host::ListDirectory(tmp_.Path() + "\\" + c.pattern, list)) << c.pattern;
        EXPECT_EQ(Names(list), c.names) << c.pattern;
    }
}

TEST_F(ListTest, EntryDetails) {
    std::vector<DirEntry> list;
    ASSERT_TRUE(host::ListDirectory(tmp_.Path() + "/*.*", list));
    ASSERT_EQ(list.size(), 5u);
    EXPECT_EQ(list[0].size, 5u);
    EXPECT_FALSE(list[0].isDirectory);
    EXPECT_GT(list[0].modified, 0);
    EXPECT_TRUE(list[4].isDirectory);
    EXPECT_EQ(list[4].size, 0u);
}

TEST_F(ListTest, DriveLettersAndOddNames) {
    host::Drives::SetMapForTesting({{'A', tmp_.Path(), host::DriveType::Removable, 0}});
    std::vector<DirEntry> list;
    ASSERT_TRUE(host::ListDirectory("A:*.dbs", list));
    EXPECT_EQ(list.size(), 2u);
    ASSERT_TRUE(host::ListDirectory("a:\\SUB\\*.*", list));
    EXPECT_TRUE(list.empty());

    tmp_.Write("caf\xC3\xA9.dbs", "");     // representable: listed as Windows-1252
    tmp_.Write("\xE6\x97\xA5.dbs", "");    // not representable: left out
    int skipped = 0;
    ASSERT_TRUE(host::ListDirectory("A:\\*.dbs", list, &skipped));
    EXPECT_EQ(Names(list), (std::vector<std::string>{"Alpha.DBS", "beta.dbs", "caf\xE9.dbs"}));
    EXPECT_EQ(skipped, 1);
    host::Drives::ClearMapForTesting();

    EXPECT_FALSE(host::ListDirectory(tmp_ / "missing/*.*", list));
    EXPECT_EQ(host::LastFileError(), host::FileError::PathNotFound);
    EXPECT_FALSE(host::ListDirectory("Q:\\*.*", list));
}

}  // namespace
