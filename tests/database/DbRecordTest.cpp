// The record store: writing, reading, rewriting, moving, deleting, reusing, keys, the copy.

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "DbFixture.h"
#include "DbTestBase.h"
#include "database/DbEngine.h"
#include "platform/host/File.h"

namespace {

class DbRecordTest : public DbTestBase {
protected:
    void SetUp() override {
        DbTestBase::SetUp();
        path_ = PathOf("store.dbs");
    }
    void OpenNew() {
        ASSERT_EQ(db_.OpenDB(path_, 1), 1);
        db_.MakeFileHeaderArray(nullptr, nullptr);
    }
    void OpenExisting() {
        ASSERT_GT(db_.OpenDB(path_, 0), 0);
        db_.MakeFileHeaderArray(nullptr, nullptr);
    }
    uint32_t Put(uint32_t table, uint32_t key, const std::string& data, uint32_t subtable = 0,
                 uint32_t subkey = 0) {
        std::memcpy(db_.m_cBuffer, data.data(), data.size());
        return db_.WriteRecord(static_cast<uint32_t>(data.size()), table, key, subtable, subkey);
    }
    std::string Get(uint32_t loc) {
        uint32_t n = db_.ReadRecord(loc, true);
        return std::string(reinterpret_cast<char*>(db_.m_cBuffer), n);
    }
    int ListTest() {
        std::vector<std::string> report;
        return db_.TestAndRepairHeaders('F', 0, report);
    }

    std::string path_;
    CDbEngine db_;
};

}  // namespace

TEST_F(DbRecordTest, FirstRecordsGoToTheStartAndFollowEachOther) {
    OpenNew();
    uint32_t a = Put(6, 1, "first");
    EXPECT_EQ(a, 1024u);
    stDataHeader h = PeekHeader(path_, a);
    EXPECT_EQ(h.nPrevLoc, LOC_NONE);
    EXPECT_EQ(h.nNextLoc, LOC_NONE);
    EXPECT_EQ(h.cStatus, '+');
    EXPECT_EQ(h.nUser, 1);
    EXPECT_EQ(ReadAll(path_).substr(86, 1024 - 86), std::string(1024 - 86, '\0'));
    uint32_t b = Put(10, 0x02000005, "second record");
    EXPECT_EQ(b, 1024u + 36 + 5);
    EXPECT_EQ(PeekHeader(path_, a).nNextLoc, b);
    EXPECT_EQ(PeekHeader(path_, b).nPrevLoc, a);
    EXPECT_EQ(PeekHeader(path_, b).nUser, 3) << "the key's user";
    EXPECT_EQ(Get(a), "first");
    EXPECT_EQ(Get(b), "second record");
    EXPECT_EQ(db_.ReadRecord(10u, 0x02000005u), 13u);
    EXPECT_EQ(db_.ReadRecord(10u, 99u), 0u);
    EXPECT_EQ(db_.ReadRecord(LOC_NONE, true), 0u);
    EXPECT_EQ(db_.GetWrittenLocs().size(), 3u) << "two records and one relink";
    EXPECT_TRUE(db_.m_bDatabaseChanged);
    EXPECT_EQ(ListTest(), 1);
}

TEST_F(DbRecordTest, RewriteInPlaceOrMove) {
    OpenNew();
    uint32_t a = Put(6, 1, "0123456789");
    uint32_t b = Put(6, 2, "other");
    EXPECT_EQ(Put(6, 1, "short"), a) << "a smaller record stays";
    EXPECT_EQ(PeekHeader(path_, a).nBlockLen, 10);
    EXPECT_EQ(PeekHeader(path_, a).nDataLen, 5);
    EXPECT_EQ(Get(a), "short");
    uint32_t moved = Put(6, 1, "a much longer record");
    EXPECT_EQ(moved, b + 36 + 5) << "to the end";
    EXPECT_EQ(PeekHeader(path_, a).cStatus, '-') << "the old block is freed";
    EXPECT_EQ(PeekHeader(path_, b).nNextLoc, moved);
    EXPECT_EQ(db_.GetItemLoc(6, 1, 0, 0), moved);
    EXPECT_EQ(Get(moved), "a much longer record");
    EXPECT_EQ(Get(b), "other");
    EXPECT_EQ(ListTest(), 1);
}

TEST_F(DbRecordTest, SmallestFreeBlockThatFitsIsReusedWhole) {
    DbFixture()
        .Add({6, 1, "aaaa", '-', 0, 0, 40})
        .Add({6, 2, "bbbbbbbbbbbbbbbbbbbb", '-'})
        .Add({6, 3, "c", '+'})
        .Add({6, 4, "dddddddddddddddddddd", '-'})
        .Add({6, 5, "e", '+'})
        .Write(path_);
    OpenExisting();
    std::vector<uint32_t> locs;
    for (const stDataHeader& h : db_.GetHeaderArray()) locs.push_back(h.nCurrLoc);
    uint32_t loc = Put(7, 9, "0123456789");
    EXPECT_EQ(loc, locs[1]) << "of two equal blocks the first";
    stDataHeader h = PeekHeader(path_, loc);
    EXPECT_EQ(h.nBlockLen, 20);
    EXPECT_EQ(h.nDataLen, 10);
    EXPECT_EQ(h.nNextLoc, locs[2]) << "links kept";
    EXPECT_EQ(Put(7, 10, std::string(30, 'x')), locs[0]) << "the 40-byte block";
    EXPECT_EQ(PeekHeader(path_, locs[0]).nBlockLen, 40);
    EXPECT_EQ(ListTest(), 1);
}

TEST_F(DbRecordTest, FindingIgnoresFreeBlocksAndTheSubkey) {
    DbFixture()
        .Add({6, 1, "gone", '-'})
        .Add({6, 2, "kept", '#'})
        .Add({6, 3, "sub", '+', 4, 77})
        .Add({6, 3, "own", '*'})
        .Write(path_);
    OpenExisting();
    const auto& a = db_.GetHeaderArray();
    EXPECT_EQ(db_.GetItemLoc(6, 1, 0, 1), LOC_NONE);
    EXPECT_EQ(db_.GetItemLoc(6, 2, 0, 0), LOC_NONE);
    EXPECT_EQ(db_.GetItemLoc(6, 2, 0, 1), a[1].nCurrLoc);
    EXPECT_EQ(db_.GetItemLoc(6, 3, 4, 0), a[2].nCurrLoc);
    EXPECT_EQ(db_.GetItemLoc(6, 3, 0, 0), a[3].nCurrLoc);
    std::vector<uint32_t> deleted;
    db_.GetDeletedLocsFromFile(deleted, 6);
    EXPECT_EQ(deleted, std::vector<uint32_t>{a[1].nCurrLoc});
}

TEST_F(DbRecordTest, DeleteFreesAndMarkDeleteKeeps) {
    OpenNew();
    uint32_t a = Put(6, 1, "one");
    uint32_t b = Put(6, 2, "two");
    db_.GetWrittenLocs().clear();
    EXPECT_EQ(db_.DeleteRecord(a, 1, true), 1);
    EXPECT_EQ(db_.DeleteRecord(b, 0, true), 1);
    EXPECT_EQ(PeekHeader(path_, a).cStatus, '-');
    EXPECT_EQ(PeekHeader(path_, b).cStatus, '#');
    EXPECT_EQ(Get(b), "two") << "the data stays";
    EXPECT_EQ(db_.GetWrittenLocs(), (std::vector<uint32_t>{a, b}));
    EXPECT_EQ(db_.GetItemLoc(6, 2, 0, 1), b);
    EXPECT_EQ(Put(6, 3, "new"), a) << "only the freed block is reused";
}

TEST_F(DbRecordTest, NextKeyPerUser) {
    DbFixture()
        .Add({6, 5, "a"})
        .Add({6, 6, "b", '-'})
        .Add({6, 0x02000010, "d"})
        .Add({5, 20, "e"})
        .Write(path_);
    OpenExisting();
    EXPECT_EQ(db_.GetNextKey(6), 6u) << "a freed key above all others is given again";
    EXPECT_EQ(db_.GetNextKey(7), 1u) << "user 1's first key";
    SetStampUserCode(3);
    EXPECT_EQ(db_.GetNextKey(6), 0x02000011u);
    EXPECT_EQ(db_.GetNextKey(5), 0x02000001u);
    SetStampUserCode(1);
    db_.CloseDB();
    DbFixture().Add({6, 7, "c", '#'}).Write(path_);
    OpenExisting();
    EXPECT_EQ(db_.GetNextKey(6), 8u) << "a marked-deleted key is never given again";
}

TEST_F(DbRecordTest, NextKeyFailsWhenTheUsersRangeIsUsedUp) {
    DbFixture().Add({6, 0x00FFFFFF, "last"}).Write(path_);
    OpenExisting();
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_.GetNextKey(6), LOC_NONE);
    EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(DbRecordTest, CompactedCopyHoldsLiveRecordsOnly) {
    DbFixture()
        .Add({6, 1, "live one", '+', 0, 0, 30})
        .Add({6, 2, "freed", '-'})
        .Add({7, 3, "other table"})
        .Add({6, 4, "locked", '*'})
        .Add({6, 5, "kept for merge", '#'})
        .Add({6, 6, "freed at end", '-'})
        .Write(path_);
    OpenExisting();
    std::string target = PathOf("TEMP.DBS");
    WriteAll(target, std::string(5000, 'U'));  // an old, longer scratch file
    ASSERT_TRUE(db_.MakeDBCopy(target, 7));
    std::string bytes = ReadAll(target);
    ASSERT_EQ(bytes.size(), 1024u + 36 + 8 + 36 + 6);
    EXPECT_EQ(PeekU32(target, 0), 0u);
    EXPECT_EQ(PeekU32(target, 4), 1u);
    EXPECT_EQ(bytes.substr(8, 1016), std::string(1016, '\0'));
    stDataHeader first = PeekHeader(target, 1024);
    stDataHeader second = PeekHeader(target, 1024 + 44);
    EXPECT_EQ(first.nBlockLen, 8);
    EXPECT_EQ(first.nPrevLoc, LOC_NONE);
    EXPECT_EQ(first.nNextLoc, 1024u + 44);
    EXPECT_EQ(second.cStatus, '*');
    EXPECT_EQ(second.nPrevLoc, 1024u);
    EXPECT_EQ(second.nNextLoc, LOC_NONE) << "even though deleted blocks followed it";
    CDbEngine copy;
    ASSERT_EQ(copy.OpenDB(target, 0), 1);
    std::vector<std::string> report;
    EXPECT_EQ(copy.TestAndRepairHeaders('F', 0, report), 1);
    EXPECT_EQ(copy.ReadRecord(1024 + 44, false), 6u);
}

TEST_F(DbRecordTest, RecordWhoseDataDisagreesWithItsHeaderIsDamaged) {
    std::vector<uint32_t> locs = DbFixture().Add({6, 1, "intact"}).Add({6, 2, "torn"}).Write(path_);
    PokeByte(path_, locs[1] + 36 + 1, 'X');
    OpenExisting();
    EXPECT_EQ(db_.ReadRecord(locs[0], true), 6u);
    EXPECT_EQ(db_.ReadRecord(locs[1], true), 0u);
    EXPECT_EQ(db_.GetRecordLength(), 0u);
}

TEST_F(DbRecordTest, HeaderArrayAndStatisticsMessage) {
    DbFixture()
        .Add({6, 1, "x", '#', 0, 0, 100})
        .Add({6, 2, "y", '+', 0, 0, 20})
        .Add({6, 3, "z"})
        .Write(path_);
    ASSERT_GT(db_.OpenDB(path_, 0), 0);
    std::string message = "not cleared";
    EXPECT_EQ(db_.MakeFileHeaderArray(nullptr, &message), 1024u + 3 * 36 + 121);
    EXPECT_EQ(db_.GetHeaderArray().size(), 3u);
    EXPECT_EQ(message, "");
    db_.SetUserAccessLevel(10);
    db_.MakeFileHeaderArray(nullptr, &message);
    EXPECT_EQ(message.rfind("Percentage of wasted space due to deleted\ndata maintained for merge operations "
                            "is 99.17 percent.",
                            0),
              0u);
}

TEST_F(DbRecordTest, NextLinkOutOfTheFileIsRepairedOnce) {
    std::vector<uint32_t> locs = DbFixture().Add({6, 1, "a"}).Add({6, 2, "b"}).Write(path_);
    PokeU32(path_, locs[0] + kOffNext, 900000);
    ASSERT_GT(db_.OpenDB(path_, 0), 0);
    ExpectBoxes({IDOK});
    db_.MakeFileHeaderArray(nullptr, nullptr);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0],
              "Invalid end of file marker found (predicted next location 900000 past end of file size 1098) "
              "and repaired at 1024 in CDbEngine::MakeFileHeaderArray.");
    EXPECT_EQ(PeekHeader(path_, locs[0]).nNextLoc, LOC_NONE);
}

TEST_F(DbRecordTest, StaleFileSizeNeverCutsTheChain) {
    std::vector<uint32_t> locs = DbFixture().Add({6, 1, "a"}).Add({6, 2, "b"}).Write(path_);
    OpenExisting();
    stDataHeader h = PeekHeader(path_, locs[0]);
    // As if the size was taken before another copy appended the second block.
    EXPECT_EQ(db_.CheckNextLocation(locs[1] - 1, locs[0], h, "test"), 0);
    EXPECT_EQ(PeekHeader(path_, locs[0]).nNextLoc, locs[1]);
    ExpectBoxes({IDOK});
    h.nNextLoc = locs[0];
    PokeU32(path_, locs[0] + kOffNext, locs[0]);
    EXPECT_EQ(db_.CheckNextLocation(2000, locs[0], h, "test"), 1);
    EXPECT_EQ(BoxTexts().back(),
              "Invalid end of file marker found (predicted next location 1024 less than current location "
              "1024) and repaired at 1024 in test.");
}

TEST_F(DbRecordTest, StampsAndUnlockAll) {
    std::vector<uint32_t> locs =
        DbFixture().Add({6, 1, "a"}).Add({6, 2, "b", '*'}).Add({6, 3, "c"}).Write(path_);
    PokeByte(path_, locs[1] + 34, 4);
    PokeByte(path_, 256, 4);
    PokeByte(path_, 256 + 6, 4);
    // User 4 is alive: its copy holds the companion range of each of its stamps.
    host::File other;
    ASSERT_TRUE(other.OpenExisting(path_));
    for (uint32_t loc : {locs[1], 256u, 256u + 6})
        ASSERT_TRUE(other.Lock(CDbEngine::kStampCompanionOffset + loc, 1));
    OpenExisting();
    EXPECT_EQ(db_.IsRecordLocked(2, locs[1]), 1);
    EXPECT_EQ(db_.IsDatabaseLocked(2), 1);
    EXPECT_EQ(db_.IsTableLocked(6, 2), 1);
    EXPECT_EQ(db_.SetRecordLock(locs[0]), 1);
    EXPECT_EQ(db_.IsRecordLocked(3, locs[0]), 1);
    EXPECT_EQ(db_.ClearRecordLock(locs[1]), 0) << "another user's lock";
    other.Close();
    EXPECT_EQ(db_.ClearRecordLock(locs[0]), 1);
    EXPECT_TRUE(db_.UnlockAllRecords());
    EXPECT_EQ(PeekHeader(path_, locs[1]).cStatus, '+');
    EXPECT_EQ(PeekHeader(path_, locs[1]).nLockOwner, 0);
    EXPECT_EQ(db_.IsDatabaseLocked(1), 0);
    EXPECT_EQ(db_.IsTableLocked(6, 1), 0);
}

TEST_F(DbRecordTest, StampsOfACopyThatIsGoneAreCleared) {
    // Stamps of user 4 with nobody holding their companion ranges: the copy that set them died.
    std::vector<uint32_t> locs = DbFixture().Add({6, 1, "a"}).Add({6, 2, "b", '*'}).Write(path_);
    PokeByte(path_, locs[1] + 34, 4);
    PokeByte(path_, 256, 4);
    PokeByte(path_, 256 + 6, 4);
    OpenExisting();
    EXPECT_EQ(db_.IsRecordLocked(2, locs[1]), 0);
    EXPECT_EQ(db_.IsDatabaseLocked(2), 0);
    EXPECT_EQ(db_.IsTableLocked(6, 2), 0);
    EXPECT_EQ(db_.SetRecordLock(locs[1]), 1);
}

// A stamp is never written while another copy still holds its companion (user 1 has cleared
// its stamp, or a save rewrote the header, and has not given the companion up yet): once that
// copy gives it up, the stamp would look left by a copy that is gone and be cleared under its
// holder.
TEST_F(DbRecordTest, StampWaitsUntilTheLastHolderGivesUpItsCompanion) {
    std::vector<uint32_t> locs = DbFixture().Add({6, 1, "a"}).Write(path_);
    OpenExisting();
    CDbEngine second, third;
    ASSERT_GT(second.OpenDB(path_, 0), 0);
    ASSERT_GT(third.OpenDB(path_, 0), 0);
    struct Case {
        const char* name;
        uint32_t loc;
        bool header;
    };
    for (const Case& c : {Case{"record header", locs[0], true}, Case{"database lock byte", 256, false}}) {
        SCOPED_TRACE(c.name);
        auto stamp = [&](CDbEngine& copy, uint8_t user) {
            SetStampUserCode(user);
            return c.header ? copy.TestAndSetRecordLock(c.loc) : copy.TestAndSetLockByte(c.loc);
        };
        auto clear = [&](CDbEngine& copy, uint8_t user) {
            SetStampUserCode(user);
            return c.header ? copy.ClearRecordLock(c.loc) == 1 : copy.ClearOwnLockByte(c.loc);
        };
        auto lockedForUser3 = [&] {
            SetStampUserCode(3);
            return c.header ? third.IsRecordLocked(2, c.loc) : third.IsDatabaseLocked(2);
        };
        ASSERT_EQ(stamp(db_, 1), 1);
        SetStampUserCode(1);
        if (c.header)
            ASSERT_EQ(db_.SetRecordStatus(c.loc, '+'), 1);
        else
            ASSERT_EQ(db_.WriteByteAt(c.loc, 0), 1u);

        EXPECT_EQ(stamp(second, 2), 0) << "stamped without its companion";
        db_.ReleaseStampCompanion(c.loc);
        ASSERT_EQ(stamp(second, 2), 1);
        EXPECT_EQ(lockedForUser3(), 1) << "a live copy's stamp taken for a gone one's";

        // Cleared by its holder, the stamp goes with its companion: the next one takes both.
        EXPECT_TRUE(clear(second, 2));
        EXPECT_EQ(lockedForUser3(), 0);
        EXPECT_EQ(stamp(db_, 1), 1);
        EXPECT_TRUE(clear(db_, 1));
    }
    SetStampUserCode(1);
}

// A second copy whose header array missed the first copy's writes (their notices not arrived):
// its write must land beside them, never on them.
TEST_F(DbRecordTest, WriteFromAStaleHeaderArrayLeavesTheOtherCopysRecords) {
    struct Case {
        const char* name;
        bool freeBlock;  // the file starts with one free block both copies know of
    };
    for (const Case& c : {Case{"append", false}, Case{"reused free block", true}, Case{"first record", false}}) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path_);
        bool empty = std::string(c.name) == "first record";
        if (empty) {
            ASSERT_EQ(db_.OpenDB(path_, 1), 1);
        } else {
            DbFixture fixture;
            fixture.Add({6, 1, "kept"});
            if (c.freeBlock) fixture.Add({6, 2, "free", '-', 0, 0, 10});
            fixture.Write(path_);
            ASSERT_GT(db_.OpenDB(path_, 0), 0);
        }
        db_.MakeFileHeaderArray(nullptr, nullptr);
        CDbEngine other;
        ASSERT_GT(other.OpenDB(path_, 0), 0);
        other.MakeFileHeaderArray(nullptr, nullptr);

        uint32_t mine = Put(6, 10, "mine");
        std::memcpy(other.m_cBuffer, "theirs", 6);
        uint32_t theirs = other.WriteRecord(6, 6, 11, 0, 0);
        ASSERT_NE(theirs, LOC_NONE);
        EXPECT_NE(theirs, mine);
        other.CloseDB();

        db_.MakeFileHeaderArray(nullptr, nullptr);
        EXPECT_EQ(ListTest(), 1);
        EXPECT_EQ(Get(db_.GetItemLoc(6, 10, 0, 0)), "mine");
        EXPECT_EQ(Get(db_.GetItemLoc(6, 11, 0, 0)), "theirs");
        if (!empty) {
            EXPECT_EQ(Get(db_.GetItemLoc(6, 1, 0, 0)), "kept");
        }
        bool flagged = false;
        for (const stRefreshFlag& f : other.m_aRefreshFlags) flagged |= f.nTable == 6 && f.nKey == 10;
        EXPECT_TRUE(flagged) << "the other copy refreshes the record it found";
        db_.CloseDB();
    }
}

// Reads served from a read-ahead see this copy's own writes made meanwhile.
TEST_F(DbRecordTest, ReadAheadFollowsTheCopysOwnWrites) {
    std::vector<uint32_t> locs = DbFixture().Add({6, 1, "first"}).Add({6, 2, "second"}).Write(path_);
    OpenExisting();
    CDbEngine::ReadAheadScope scope(db_);
    EXPECT_EQ(Get(locs[1]), "second");
    EXPECT_EQ(Put(6, 2, "SECOND"), locs[1]);
    EXPECT_EQ(Get(locs[1]), "SECOND");
    uint32_t added = Put(6, 3, "third");
    EXPECT_EQ(Get(added), "third") << "a block past the stretch read before";
    EXPECT_EQ(Get(locs[0]), "first");
}
