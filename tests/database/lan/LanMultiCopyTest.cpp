// Several running copies as separate processes on 127.0.0.1-3, one database, the first copy
// on the server computer (127.0.0.1) and so the lock manager.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "database/LanServer.h"
#include "tests/support/DriverProcess.h"

namespace {

const char* const kAddresses[] = {"127.0.0.1", "127.0.0.2", "127.0.0.3"};
constexpr uint32_t kNone = 0xFFFFFFFF;

class LanMultiCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/dq_lan_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        const std::string file =
            ChooseLanName("S", ".DBS", {std::begin(kAddresses), std::end(kAddresses)}, GetLanPort);
        ASSERT_FALSE(file.empty()) << "no free port";
        database_ = folder_ + "/" + file + ".DBS";
        for (const char* a : kAddresses) {
            std::string work = folder_ + "/" + a;
            std::filesystem::create_directory(work);
            std::ofstream usr(work + "/Dorvalquintex.usr");
            for (const char* b : kAddresses) usr << b << "\r\n";
        }
        DriverProcess creator(kAddresses[0], kAddresses[0], folder_);
        ASSERT_TRUE(creator.Started());
        ASSERT_EQ(creator.Command("create " + database_ + " 5"), std::vector<std::string>{"5"});
    }
    void TearDown() override {
        copies_.clear();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    // Starts copies 1..n in order, each logged on as user code = its number.
    void StartCopies(int n) {
        for (int i = 0; i < n; ++i) {
            copies_.push_back(std::make_unique<DriverProcess>(kAddresses[i], kAddresses[0],
                                                              folder_ + "/" + kAddresses[i]));
            ASSERT_TRUE(copies_.back()->Started());
            std::vector<std::string> opened = copies_.back()->Command(
                "open " + database_ + " " + std::to_string(i + 1));
            ASSERT_EQ(opened.size(), 3u) << opened[0];
            ASSERT_EQ(opened[1], "1") << "LAN start-up of copy " << i + 1;
        }
    }
    DriverProcess& Copy(int number) { return *copies_[number - 1]; }

    bool Eventually(int number, const std::string& query, const std::string& expected, int timeoutMs = 30000) {
        return Copy(number).Eventually(query, expected, timeoutMs);
    }
    bool AllSeeUsers(int n, int users) {
        for (int i = 1; i <= n; ++i)
            if (!Eventually(i, "users", std::to_string(users))) return false;
        return true;
    }

    std::string folder_;
    std::string database_;
    std::vector<std::unique_ptr<DriverProcess>> copies_;
};

TEST_F(LanMultiCopyTest, LogOnCountUsersAndExchangeNotices) {
    StartCopies(3);
    ASSERT_TRUE(AllSeeUsers(3, 3));
    EXPECT_EQ(Copy(1).Command("manager"), (std::vector<std::string>{"127.0.0.1", "1"}));
    EXPECT_EQ(Copy(3).Command("manager"), (std::vector<std::string>{"127.0.0.1", "1"}));

    // A save of copy 2 that touched no other header: one notice for the item.
    ASSERT_EQ(Copy(2).Command("notify 6 3 2048").size(), 0u);
    EXPECT_TRUE(Eventually(1, "flags", "1"));
    EXPECT_TRUE(Eventually(3, "flags", "1"));
    EXPECT_EQ(Copy(1).Command("flags"), (std::vector<std::string>{"1", "2:6:3"}));
    EXPECT_EQ(Copy(2).Command("flags"), std::vector<std::string>{"0"});

    // A copy that closes logs off: the others count two users.
    EXPECT_EQ(Copy(3).Command("close").size(), 0u);
    EXPECT_TRUE(Eventually(1, "users", "2"));
    EXPECT_TRUE(Eventually(2, "users", "2"));
}

// Two copies on one address: the second cannot listen on the database's port, and says so
// instead of failing without a word.
TEST_F(LanMultiCopyTest, SecondCopyOnTheSameAddressSaysWhyItHasNoLink) {
    StartCopies(1);
    DriverProcess second(kAddresses[0], kAddresses[0], folder_ + "/" + kAddresses[1]);
    ASSERT_TRUE(second.Started());
    std::vector<std::string> opened = second.Command("open " + database_ + " 2");
    ASSERT_EQ(opened.size(), 3u) << opened[0];
    EXPECT_EQ(opened[1], "0");
    const uint16_t port = GetLanPort("127.0.0.1." + database_.substr(folder_.size() + 1));
    EXPECT_TRUE(second.WaitForLine("BOX The local area network could not be started: port " + std::to_string(port) +
                                       " at 127.0.0.1 cannot be listened on (",
                                   30000))
        << second.Transcript();
    EXPECT_EQ(Copy(1).Command("users"), std::vector<std::string>{"1"});
}

TEST_F(LanMultiCopyTest, LockedRecordIsRefusedUntilReleased) {
    StartCopies(3);
    ASSERT_TRUE(AllSeeUsers(3, 3));
    std::vector<std::string> first = Copy(2).Command("lockrecord 6 3");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_NE(first[0], std::to_string(kNone));
    const std::string loc = first[0];

    EXPECT_EQ(Copy(3).Command("lockrecord 6 3"), std::vector<std::string>{std::to_string(kNone)});
    EXPECT_TRUE(Copy(3).SawLine("BOX Access denied. Record " + loc + " in Person table locked by another user."));
    // Another record is free meanwhile.
    EXPECT_NE(Copy(3).Command("lockrecord 6 4"), std::vector<std::string>{std::to_string(kNone)});

    EXPECT_EQ(Copy(2).Command("unlockrecord " + loc), std::vector<std::string>{"1"});
    EXPECT_EQ(Copy(3).Command("lockrecord 6 3"), std::vector<std::string>{loc});
}

TEST_F(LanMultiCopyTest, DatabaseLockPassesFromCopyToCopy) {
    StartCopies(3);
    ASSERT_TRUE(AllSeeUsers(3, 3));
    ASSERT_EQ(Copy(1).Command("lockdb"), std::vector<std::string>{"1"});
    Copy(2).Send("lockdb");
    Copy(3).Send("lockdb");
    ASSERT_TRUE(Copy(2).WaitForLine("EVENT waitbox 1", 30000));
    ASSERT_TRUE(Copy(3).WaitForLine("EVENT waitbox 1", 30000));
    EXPECT_FALSE(Copy(2).HasAnswerWithin("lockdb", 300));
    EXPECT_FALSE(Copy(3).HasAnswerWithin("lockdb", 10));

    ASSERT_EQ(Copy(1).Command("unlockdb"), std::vector<std::string>{"1"});
    // Exactly one of the two waiting copies gets it; the other keeps waiting.
    int first = 0;
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (first == 0 && std::chrono::steady_clock::now() < until) {
        if (Copy(2).HasAnswerWithin("lockdb", 25)) first = 2;
        else if (Copy(3).HasAnswerWithin("lockdb", 25)) first = 3;
    }
    ASSERT_NE(first, 0) << "nobody got the database lock";
    const int second = first == 2 ? 3 : 2;
    EXPECT_EQ(Copy(first).Answer("lockdb"), std::vector<std::string>{"1"});
    EXPECT_FALSE(Copy(second).HasAnswerWithin("lockdb", 500));

    ASSERT_EQ(Copy(first).Command("unlockdb"), std::vector<std::string>{"1"});
    EXPECT_EQ(Copy(second).Answer("lockdb"), std::vector<std::string>{"1"});
    ASSERT_EQ(Copy(second).Command("unlockdb"), std::vector<std::string>{"1"});
    EXPECT_TRUE(Eventually(1, "granted", "0"));
}

TEST_F(LanMultiCopyTest, AbortedWaitLeavesNoGrantBehind) {
    StartCopies(3);
    ASSERT_TRUE(AllSeeUsers(3, 3));
    // The manager stops answering for a moment: copy 2's request waits for its grant.
    ASSERT_TRUE(Copy(1).Pause());
    Copy(2).Send("lockdb");
    ASSERT_TRUE(Copy(2).WaitForLine("EVENT waitbox 1", 30000)) << Copy(2).Transcript();
    EXPECT_EQ(Copy(2).Command("abort"), std::vector<std::string>{"1"});
    EXPECT_EQ(Copy(2).Answer("lockdb"), std::vector<std::string>{"0"});
    Copy(1).Resume();

    // The late grant gives copy 2 nothing, and the manager keeps nothing for it.
    EXPECT_TRUE(Eventually(1, "granted", "0"));
    EXPECT_EQ(Copy(3).Command("lockdb"), std::vector<std::string>{"1"});
    EXPECT_EQ(Copy(2).Command("waiting"), std::vector<std::string>{"0"});
    ASSERT_EQ(Copy(3).Command("unlockdb"), std::vector<std::string>{"1"});
    EXPECT_EQ(Copy(2).Command("lockdb"), std::vector<std::string>{"1"});
    EXPECT_EQ(Copy(2).Command("unlockdb"), std::vector<std::string>{"1"});
}

TEST_F(LanMultiCopyTest, KilledManagerMakesTheOthersAskAndNothingHangs) {
    StartCopies(3);
    ASSERT_TRUE(AllSeeUsers(3, 3));
    Copy(1).Kill(SIGKILL);
    const int status = Copy(1).WaitForExit();
    ASSERT_TRUE(WIFSIGNALED(status)) << "the manager did not end";
    // Traffic to the manager finds it gone whether or not the closed connection was seen.
    std::vector<std::string> locked = Copy(2).Command("lockdb");
    EXPECT_EQ(locked, std::vector<std::string>{"1"});
    EXPECT_TRUE(Copy(2).WaitForLine("BOX Server 127.0.0.1 off-line. Close database?|", 30000));
    EXPECT_TRUE(Copy(3).WaitForLine("BOX Server 127.0.0.1 off-line. Close database?|", 30000));
    EXPECT_TRUE(Copy(2).SawLine("BEEP 1000 1000")) << "the question comes with its warning tone";
    EXPECT_EQ(Copy(2).Command("manager"), (std::vector<std::string>{"127.0.0.1", "0"}));
    EXPECT_EQ(Copy(2).Command("unlockdb"), std::vector<std::string>{"1"});
    EXPECT_TRUE(Eventually(3, "users", "2"));
    // Locks go on without permission, and still exclude each other through the file.
    EXPECT_EQ(Copy(3).Command("lockdb"), std::vector<std::string>{"1"});
    EXPECT_EQ(Copy(3).Command("unlockdb"), std::vector<std::string>{"1"});
}

}  // namespace
