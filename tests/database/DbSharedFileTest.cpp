// Several processes on one file: byte-range locked transfers, presence through the file when the
// network is off, and saves cut short by SIGKILL.

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "DbFixture.h"
#include "DbTestBase.h"
#include "database/DbEngine.h"
#include "platform/host/Clock.h"

namespace {

// A one-byte signal between the test and its child process.
class Pipe {
public:
    Pipe() { EXPECT_EQ(pipe(fds_), 0); }
    ~Pipe() {
        close(fds_[0]);
        close(fds_[1]);
    }
    void Send() { EXPECT_EQ(write(fds_[1], "x", 1), 1); }
    bool Wait() {
        char c;
        return read(fds_[0], &c, 1) == 1;
    }

private:
    int fds_[2] = {-1, -1};
};

// Runs `body` in a child process; its result is the child's exit code.
template <typename Body>
pid_t Fork(Body body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    return pid;
}

int ExitCodeOf(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    if (WIFSIGNALED(status)) return 1000 + WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class DbSharedFileTest : public DbTestBase {
protected:
    void SetUp() override {
        DbTestBase::SetUp();
        path_ = PathOf("shared.dbs");
    }
    std::string path_;
};

}  // namespace

TEST_F(DbSharedFileTest, TransferWaitsForAnotherProcesssRangeLockThenSucceeds) {
    std::vector<uint32_t> locs = DbFixture().Add({6, 1, "abcdef"}).Add({6, 2, "ghijkl"}).Write(path_);
    Pipe ready, release;
    pid_t child = Fork([&] {
        host::File file;
        if (!file.OpenExisting(path_)) return 2;
        if (!file.LockShared(CDbEngine::kPresenceLockOffset, CDbEngine::kPresenceLockLength)) return 3;
        if (!file.Lock(locs[0], DB_HEADER_LEN + 6)) return 4;
        ready.Send();
        release.Wait();
        host::Clock::Sleep(300);
        file.Unlock(locs[0], DB_HEADER_LEN + 6);
        release.Wait();
        return 0;
    });
    ASSERT_TRUE(ready.Wait());
    CDbEngine db;
    ASSERT_GT(db.OpenDB(path_, 0), 0);
    EXPECT_FALSE(db.IsOnlyUserOnFile());
    release.Send();
    uint64_t start = host::Clock::TickCount();
    uint8_t header[DB_HEADER_LEN];
    EXPECT_EQ(db.ReadDbBlock(locs[0], header, DB_HEADER_LEN, true), DB_HEADER_LEN);
    EXPECT_GE(host::Clock::TickCount() - start, 250u) << "it waited for the other process";
    EXPECT_EQ(db.m_nLockedAccessWaits, 1u);
    // A write through the lock is read back and checked.
    std::memcpy(db.m_cBuffer, "ZYXWVU", 6);
    EXPECT_EQ(db.WriteDbBlock(locs[0] + DB_HEADER_LEN, db.m_cBuffer, 6, true), 6u);
    EXPECT_EQ(ReadAll(path_).substr(locs[0] + DB_HEADER_LEN, 6), "ZYXWVU");
    release.Send();
    EXPECT_EQ(ExitCodeOf(child), 0);
}

TEST_F(DbSharedFileTest, CopiesWithoutNetworkSeeEachOtherThroughTheFile) {
    std::vector<uint32_t> locs = DbFixture().Add({6, 1, "abc"}).Add({6, 2, "def"}).Write(path_);
    Pipe childOpen, parentOpen, parentClosed, childChecked;
    pid_t child = Fork([&] {
        SetStampUserCode(2);
        CDbEngine db;
        if (db.OpenDB(path_, 0) != 1) return 2;
        if (db.SetRecordLock(locs[1]) != 1) return 3;
        if (db.WriteByteAt(DB_LOCK_AREA_LOC, 2) != 1) return 4;
        childOpen.Send();
        parentOpen.Wait();
        int seen = db.IsOnlyUserOnFile() ? 5 : 0;
        childChecked.Send();
        parentClosed.Wait();
        db.CloseDB();
        return seen;
    });
    ASSERT_TRUE(childOpen.Wait());
    {
        CDbEngine db;
        EXPECT_EQ(db.OpenDB(path_, 0), 2) << "the other copy has it open";
        EXPECT_EQ(db.m_nOtherUsersOnLan, 0u) << "no network";
        EXPECT_FALSE(db.IsOnlyUserOnFile());
        parentOpen.Send();
        ASSERT_TRUE(childChecked.Wait());
        db.CloseDB();
    }
    EXPECT_EQ(PeekU32(path_, DB_CLOSE_STATUS_LOC), 0u) << "not the last copy";
    EXPECT_EQ(PeekHeader(path_, locs[1]).cStatus, '*') << "the other desk's stamp stays";
    EXPECT_EQ(static_cast<uint8_t>(ReadAll(path_)[DB_LOCK_AREA_LOC]), 2);
    parentClosed.Send();
    EXPECT_EQ(ExitCodeOf(child), 0);
    EXPECT_EQ(PeekU32(path_, DB_CLOSE_STATUS_LOC), 1u) << "the last copy closes it cleanly";
    EXPECT_EQ(PeekHeader(path_, locs[1]).cStatus, '+');
    EXPECT_EQ(ReadAll(path_)[DB_LOCK_AREA_LOC], 0);
}

TEST_F(DbSharedFileTest, SaveKilledAtEachStepLeavesAFileThatReopens) {
    struct Case {
        const char* step;
        const char* record;   // what the save writes for key 2
        bool damaged;         // key 2 then reads as damaged
        const char* readsAs;  // else its content
    } cases[] = {
        {"data written", "NEW", true, nullptr},                 // in place: data without its header
        {"header written", "NEW", false, "NEW"},                // in place, complete
        {"data written", "a longer record", false, "two"},      // moved: new block not committed
        {"header written", "a longer record", false, "two"},    // moved: new block not linked yet
        {"linked", "a longer record", false, "two"},            // old block not freed yet
        {"old block freed", "a longer record", false, "a longer record"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.step) + " / " + c.record);
        std::vector<uint32_t> locs =
            DbFixture().Add({6, 1, "one"}).Add({6, 2, "two"}).Add({6, 3, "three"}).Write(path_);
        std::string step = c.step, record = c.record;
        pid_t child = Fork([&] {
            CDbEngine db;
            if (db.OpenDB(path_, 0) != 1) return 2;
            db.MakeFileHeaderArray(nullptr, nullptr);
            CDbEngine::s_SaveStepHook = [&](const char* s) {
                if (step == s) raise(SIGKILL);
            };
            std::memcpy(db.m_cBuffer, record.data(), record.size());
            db.WriteRecord(static_cast<uint32_t>(record.size()), 6, 2, 0, 0);
            return 3;
        });
        int code = ExitCodeOf(child);
        EXPECT_EQ(code, 1000 + SIGKILL) << "killed at the step";
        CDbEngine db;
        ASSERT_EQ(db.OpenDB(path_, 0), 2) << "not closed cleanly";
        std::vector<std::string> report;
        EXPECT_EQ(db.TestAndRepairHeaders('F', 0, report), 1) << report.back();
        db.MakeFileHeaderArray(nullptr, nullptr);
        auto read = [&](uint32_t key) {
            uint32_t n = db.ReadRecord(6u, key);
            return std::string(reinterpret_cast<char*>(db.m_cBuffer), n);
        };
        EXPECT_EQ(read(1), "one");
        EXPECT_EQ(read(3), "three");
        if (c.damaged)
            EXPECT_EQ(db.ReadRecord(6u, 2u), 0u);
        else
            EXPECT_EQ(read(2), c.readsAs);
        db.CloseDB();
    }
}
