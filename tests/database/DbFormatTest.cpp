// The file format, opening and closing.

#include <gtest/gtest.h>

#include <string>

using namespace std::string_literals;

#include "DbFixture.h"
#include "DbTestBase.h"
#include "database/DbEngine.h"

TEST(DataHeaderTest, PacksEveryFieldLittleEndianAtItsOffset) {
    stDataHeader h;
    h.nCurrLoc = 0x01020304;
    h.nNextLoc = 0x05060708;
    h.nPrevLoc = LOC_NONE;
    h.nBlockLen = 0x0A0B;
    h.nDataLen = 0x0C0D;
    h.nTable = 6;
    h.nSubTable = 2;
    h.nKey = 0x11223344;
    h.nSubKey = 0x55667788;
    h.nUser = 3;
    h.cStatus = '*';
    h.nLockOwner = 9;
    uint8_t raw[DB_HEADER_LEN];
    h.Pack(raw);
    EXPECT_EQ(raw[0], 'U');
    EXPECT_EQ(raw[1], 'U');
    EXPECT_EQ(raw[4], 0x04);
    EXPECT_EQ(raw[7], 0x01);
    EXPECT_EQ(raw[8], 0x08);
    EXPECT_EQ(raw[12], 0xFF);
    EXPECT_EQ(raw[16], 0x0B);
    EXPECT_EQ(raw[18], 0x0D);
    EXPECT_EQ(raw[20], 6);
    EXPECT_EQ(raw[21], 2);
    EXPECT_EQ(raw[24], 0x44);
    EXPECT_EQ(raw[28], 0x88);
    EXPECT_EQ(raw[32], 3);
    EXPECT_EQ(raw[33], '*');
    EXPECT_EQ(raw[34], 9);
    stDataHeader back;
    back.Unpack(raw);
    EXPECT_EQ(back.nCurrLoc, h.nCurrLoc);
    EXPECT_EQ(back.nKey, h.nKey);
    EXPECT_EQ(back.nSubKey, h.nSubKey);
    EXPECT_EQ(back.nLockOwner, 9);
    EXPECT_EQ(CDbEngine::FormatHeader(back),
              "Header: Table 6, key 287454020, CurrLoc 16909060, Status *, NextLoc 84281096, "
              "PrevLoc 4294967295, BlkLen 2571, DataLen 3085");
}

TEST(DataHeaderTest, KeysCarryTheCreatingUser) {
    struct Case {
        uint32_t prefix, serial, key, user;
    } cases[] = {
        {0, 1, 1, 1},
        {2, 0, 33554432, 3},
        {2, 16777215, 50331647, 3},
        {2, 16777216, LOC_NONE, 256},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MakeKey(c.prefix, c.serial), c.key) << c.serial;
        EXPECT_EQ(KeyUserCode(c.key), c.user) << c.key;
    }
    EXPECT_EQ(KeyRangeStart(3), 33554432u);
    EXPECT_EQ(KeyRangeEnd(3), 50331648u);
}

TEST(DataHeaderTest, StateNames) {
    EXPECT_STREQ(StatusStateName('+'), ".USED");
    EXPECT_STREQ(StatusStateName('*'), ".LOCKED");
    EXPECT_STREQ(StatusStateName('#'), ".MARKDEL");
    EXPECT_STREQ(StatusStateName('-'), ".DELETED");
    EXPECT_STREQ(StatusStateName(0), ".NULL");
    EXPECT_STREQ(StatusStateName('x'), ".BAD");
}

class DbOpenTest : public DbTestBase {};

TEST_F(DbOpenTest, NewDatabaseHoldsVersionStatusAndNameOnly) {
    std::string path = PathOf("Studio.dbs");
    CDbEngine db;
    ASSERT_EQ(db.OpenDB(path, 1), 1);
    EXPECT_TRUE(db.IsNewFile());
    std::string bytes = ReadAll(path);
    ASSERT_EQ(bytes.size(), 86u);
    EXPECT_EQ(PeekU32(path, 0), 0u);
    EXPECT_EQ(PeekU32(path, 4), 0u) << "open: not closed";
    EXPECT_EQ(bytes.substr(8, 7), "Studio\0"s.substr(0, 7));
    EXPECT_EQ(bytes.substr(14), std::string(72, '\0'));
    db.CloseDB();
    EXPECT_EQ(PeekU32(path, 4), 1u) << "the last copy marks it closed";
    EXPECT_FALSE(db.IsOpen());
}

TEST_F(DbOpenTest, CloseStatusTellsWhetherTheFileWasClosedProperly) {
    std::string path = PathOf("a.dbs");
    DbFixture().Add({6, 1, "abc"}).Write(path, 1);
    {
        CDbEngine db;
        EXPECT_EQ(db.OpenDB(path, 0), 1);
        EXPECT_FALSE(db.IsNewFile());
    }  // the destructor closes
    EXPECT_EQ(PeekU32(path, 4), 1u);
    DbFixture().Add({6, 1, "abc"}).Write(path, 0);
    CDbEngine db;
    EXPECT_EQ(db.OpenDB(path, 0), 2);
}

TEST_F(DbOpenTest, InitializeNewReplacesAnExistingFile) {
    std::string path = PathOf("b.dbs");
    DbFixture().Add({6, 1, "old record"}).Write(path, 0);
    CDbEngine db;
    EXPECT_EQ(db.OpenDB(path, 1), 1);
    EXPECT_TRUE(db.IsNewFile());
    EXPECT_EQ(ReadAll(path).size(), 86u);
}

TEST_F(DbOpenTest, OldFormatIsRefusedAndLeftUntouched) {
    std::string path = PathOf("old.dbs");
    DbFixture().Add({6, 1, "abc"}).Write(path, 1, DB_FORMAT_OLD);
    std::string before = ReadAll(path);
    ExpectBoxes({IDOK});
    CDbEngine db;
    EXPECT_EQ(db.OpenDB(path, 0), 0);
    EXPECT_FALSE(db.IsOpen());
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_NE(BoxTexts()[0].find("old file format"), std::string::npos);
    EXPECT_EQ(ReadAll(path), before);
}

TEST_F(DbOpenTest, UnreadableFileGivesZeroWithTheSystemError) {
    std::string path = PathOf("missing.dbs");
    ExpectBoxes({IDOK});
    CDbEngine db;
    EXPECT_EQ(db.OpenDB(path, 0), 0);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0].rfind("Can't read from file " + path + ". Error ", 0), 0u);
    EXPECT_FALSE(host::FileExists(path)) << "no empty file is left behind";
}

TEST_F(DbOpenTest, OpeningTwiceAsks) {
    std::string path = PathOf("c.dbs");
    CDbEngine db;
    ASSERT_EQ(db.OpenDB(path, 1), 1);
    ExpectBoxes({IDNO});
    EXPECT_EQ(db.OpenDB(path, 0), 0);
    EXPECT_EQ(BoxTexts().back(), "Database appears to be open. Continue?");
    EXPECT_TRUE(db.IsOpen());
}

TEST_F(DbOpenTest, FilePrimitives) {
    std::string path = PathOf("d.dbs");
    DbFixture().Add({6, 1, "abc"}).Write(path);
    CDbEngine db;
    ASSERT_EQ(db.OpenDB(path, 0), 1);
    uint8_t buf[64];
    uint32_t size = db.GetFileSize(db.GetFile());
    EXPECT_EQ(size, 1024u + 36 + 3);
    EXPECT_EQ(db.ReadFileBlockNoLock(db.GetFile(), size - 10, buf, 20), 0u) << "runs past the end";
    EXPECT_EQ(db.ReadFileBlockNoTest(db.GetFile(), size - 10, buf, 20), 10u);
    EXPECT_EQ(db.ReadFileBlockNoLock(db.GetFile(), 1024, buf, 36), 36u);
    host::File closed;
    EXPECT_EQ(db.ReadFileBlockNoLock(closed, 0, buf, 4), 0u);
    EXPECT_EQ(db.WriteFileBlockUnflushed(closed, 0, buf, 4), 0u);
    EXPECT_EQ(db.LockedAccessFileBlock('R', closed, 0, buf, 4, "test"), 0u);
    EXPECT_EQ(db.TestFileBlockWrite(db.GetFile(), 1024, buf, 36, nullptr), 1);
    buf[0] ^= 1;
    EXPECT_EQ(db.TestFileBlockWrite(db.GetFile(), 1024, buf, 36, nullptr), 0);
}

TEST_F(DbOpenTest, LockedTransferOfAFreeRange) {
    std::string path = PathOf("e.dbs");
    DbFixture().Add({6, 1, "abcdef"}).Write(path);
    CDbEngine db;
    ASSERT_EQ(db.OpenDB(path, 0), 1);
    uint8_t data[6] = {'z', 'y', 'x', 'w', 'v', 'u'};
    EXPECT_EQ(db.LockedAccessFileBlock('W', db.GetFile(), 1060, data, 6, "test"), 6u);
    uint8_t back[6] = {};
    EXPECT_EQ(db.LockedAccessFileBlock('R', db.GetFile(), 1060, back, 6, "test"), 6u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(back), 6), "zyxwvu");
    EXPECT_EQ(db.LockedAccessFileBlock('R', db.GetFile(), 1064, back, 6, "test"), 0u) << "short read";
}
