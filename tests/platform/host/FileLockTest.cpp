#include "platform/host/File.h"

#include "TempFolder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using host::File;
using host::FileError;
using hosttest::TempFolder;

constexpr uint64_t kPresenceOffset = 1ull << 32;

// Runs `probe` in a child process and gives its exit status (0-255, or -1).
template <typename F>
int InChild(F probe) {
    pid_t pid = fork();
    if (pid == 0) _exit(probe());
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

// 1 when a fresh handle in a child process gets the exclusive lock, 0 when refused.
int ChildCanLock(const std::string& path, uint64_t offset, uint64_t length, bool shared = false) {
    return InChild([&] {
        File f;
        if (!f.OpenExisting(path)) return 2;
        bool ok = shared ? f.LockShared(offset, length) : f.Lock(offset, length);
        if (!ok && f.LastError() != FileError::LockViolation) return 3;
        return ok ? 1 : 0;
    });
}

class FileLockTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = tmp_ / "shared.dbs";
        tmp_.Write("shared.dbs", std::string(4096, '\0'));
        ASSERT_TRUE(a_.OpenExisting(path_));
        ASSERT_TRUE(b_.OpenExisting(path_));
    }
    TempFolder tmp_;
    std::string path_;
    File a_, b_;
};

TEST_F(FileLockTest, ExclusiveRangeRefusesOtherHandlesInThisProcess) {
    ASSERT_TRUE(a_.Lock(100, 50));
    struct Case { uint64_t offset, length; bool granted; };
    const Case cases[] = {
        {100, 50, false}, {149, 1, false}, {90, 11, false}, {0, 1000, false},
        {150, 10, true},  {90, 10, true},
    };
    for (const Case& c : cases) {
        bool ok = b_.Lock(c.offset, c.length);
        EXPECT_EQ(ok, c.granted) << c.offset << "+" << c.length;
        if (ok) {
            EXPECT_TRUE(b_.Unlock(c.offset, c.length));
        } else {
            EXPECT_EQ(b_.LastError(), FileError::LockViolation);
            EXPECT_EQ(b_.LastErrorCode(), 33);
        }
    }
    // A handle also refuses a range overlapping one it holds itself, as LockFile does.
    EXPECT_FALSE(a_.Lock(120, 5));
    ASSERT_TRUE(a_.Unlock(100, 50));
    EXPECT_TRUE(b_.Lock(100, 50));
}

TEST_F(FileLockTest, ExclusiveRangeRefusesAnotherProcess) {
    ASSERT_TRUE(a_.Lock(1000, 24));
    EXPECT_EQ(ChildCanLock(path_, 1010, 4), 0);
    EXPECT_EQ(ChildCanLock(path_, 1024, 4), 1);
    ASSERT_TRUE(a_.Unlock(1000, 24));
    EXPECT_EQ(ChildCanLock(path_, 1010, 4), 1);
}

TEST_F(FileLockTest, ClosingAnotherHandleKeepsTheLock) {
    ASSERT_TRUE(a_.Lock(0, 16));
    {
        File c;  // a backup read or raw view of the same file, opened and closed
        ASSERT_TRUE(c.OpenReadOnly(path_));
        char buf[4];
        ASSERT_TRUE(c.ReadAt(0, buf, 4));
    }
    ASSERT_TRUE(b_.Close());
    EXPECT_EQ(ChildCanLock(path_, 0, 16), 0);
    ASSERT_TRUE(b_.OpenExisting(path_));
    EXPECT_FALSE(b_.Lock(0, 16));
    // Closing the holder releases its ranges.
    ASSERT_TRUE(a_.Close());
    EXPECT_EQ(ChildCanLock(path_, 0, 16), 1);
    EXPECT_TRUE(b_.Lock(0, 16));
}

TEST_F(FileLockTest, UnlockNeedsTheRangeAsLocked) {
    ASSERT_TRUE(a_.Lock(10, 10));
    EXPECT_FALSE(a_.Unlock(10, 5));
    EXPECT_FALSE(b_.Unlock(10, 10));  // not this handle's
    EXPECT_FALSE(b_.Lock(10, 1));
    EXPECT_TRUE(a_.Unlock(10, 10));
    EXPECT_FALSE(a_.Unlock(10, 10));
}

TEST_F(FileLockTest, SharedPresenceRangeBeyondTheData) {
    ASSERT_TRUE(a_.LockShared(kPresenceOffset, 1));
    ASSERT_TRUE(b_.LockShared(kPresenceOffset, 1));
    EXPECT_EQ(ChildCanLock(path_, kPresenceOffset, 1, true), 1);
    // An exclusive test lock tells that others have the file open.
    File probe;
    ASSERT_TRUE(probe.OpenExisting(path_));
    EXPECT_FALSE(probe.Lock(kPresenceOffset, 1));
    EXPECT_EQ(ChildCanLock(path_, kPresenceOffset, 1), 0);
    ASSERT_TRUE(a_.Unlock(kPresenceOffset, 1));
    EXPECT_FALSE(probe.Lock(kPresenceOffset, 1));
    ASSERT_TRUE(b_.Close());
    EXPECT_TRUE(probe.Lock(kPresenceOffset, 1));
    // Held exclusively, it refuses shared holders.
    EXPECT_FALSE(a_.LockShared(kPresenceOffset, 1));
    EXPECT_EQ(ChildCanLock(path_, kPresenceOffset, 1, true), 0);
    // The file's size is untouched by locks beyond its end.
    EXPECT_EQ(a_.Size(), 4096);
}

TEST_F(FileLockTest, SharedRangeConvertsInPlace) {
    ASSERT_TRUE(a_.LockShared(kPresenceOffset, 1));
    EXPECT_TRUE(a_.Lock(kPresenceOffset, 1));  // alone: becomes exclusive
    EXPECT_FALSE(b_.LockShared(kPresenceOffset, 1));
    EXPECT_EQ(ChildCanLock(path_, kPresenceOffset, 1, true), 0);
    EXPECT_TRUE(a_.LockShared(kPresenceOffset, 1));  // back to shared
    EXPECT_TRUE(b_.LockShared(kPresenceOffset, 1));
    EXPECT_FALSE(a_.Lock(kPresenceOffset, 1));  // not alone: stays shared
    EXPECT_EQ(a_.LastError(), FileError::LockViolation);
    EXPECT_TRUE(b_.LockShared(kPresenceOffset + 5, 1));
    EXPECT_FALSE(a_.LockShared(kPresenceOffset, 1));  // already held as asked
    EXPECT_TRUE(a_.Unlock(kPresenceOffset, 1));
    EXPECT_TRUE(b_.Lock(kPresenceOffset, 1));
}

TEST_F(FileLockTest, ChildHoldsAndParentIsRefused) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    int back[2];
    ASSERT_EQ(pipe(back), 0);
    pid_t pid = fork();
    if (pid == 0) {
        File f;
        char c = f.OpenExisting(path_) && f.Lock(200, 8) ? 'L' : 'E';
        if (write(back[1], &c, 1) != 1) _exit(2);
        if (read(fds[0], &c, 1) != 1) _exit(2);  // hold until told
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(back[0], &c, 1), 1);
    ASSERT_EQ(c, 'L');
    EXPECT_FALSE(a_.Lock(204, 2));
    ASSERT_EQ(write(fds[1], "x", 1), 1);
    int status = 0;
    waitpid(pid, &status, 0);
    EXPECT_TRUE(a_.Lock(204, 2));  // the child's end released it
    close(fds[0]); close(fds[1]); close(back[0]); close(back[1]);
}

}  // namespace
