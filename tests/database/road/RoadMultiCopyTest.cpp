// The database road with several running copies as separate processes (tests/driver) on
// 127.0.0.1-3, one database; the first copy is on the server computer and the lock manager.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "database/LanServer.h"
#include "tests/support/DriverChecks.h"

namespace {

const char* const kAddresses[] = {"127.0.0.1", "127.0.0.2", "127.0.0.3"};
const char* const kPasswords[] = {"first", "second", "third"};
using Words = std::vector<std::string>;

class RoadMultiCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/dq_road2_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        const std::string file =
            ChooseLanName("R", ".dbs", {std::begin(kAddresses), std::end(kAddresses)}, GetLanPort);
        ASSERT_FALSE(file.empty()) << "no free port";
        name_ = folder_ + "/" + file;
        ASSERT_TRUE(PrepareCopies(folder_, name_, {std::begin(kAddresses), std::end(kAddresses)},
                                  {std::begin(kPasswords), std::end(kPasswords)}));
    }
    void TearDown() override {
        copies_.clear();
        std::error_code ec;
        if (!getenv("DQ_DRIVER_TRACE")) std::filesystem::remove_all(folder_, ec);
    }

    // Starts and opens copy `number` (1-3) through the road, logged on as user `number`.
    void StartCopy(int number) {
        if (static_cast<int>(copies_.size()) < number) copies_.resize(number);
        copies_[number - 1] = std::make_unique<DriverProcess>(kAddresses[number - 1], kAddresses[0],
                                                              folder_ + "/" + kAddresses[number - 1]);
        ASSERT_TRUE(copies_[number - 1]->Started());
        if (getenv("DQ_DRIVER_TRACE")) Copy(number).Command("trace 2");
        Words opened = Copy(number).Command("opendb " + name_ + " " + kPasswords[number - 1], 30000);
        ASSERT_EQ(opened.size(), 2u) << opened[0];
        ASSERT_EQ(opened[0], "1") << "copy " << number << " did not open the database";
    }
    void StartCopies(int n) {
        for (int i = 1; i <= n; ++i) {
            StartCopy(i);
            if (HasFatalFailure()) return;
        }
        ASSERT_TRUE(AllSeeUsers(n, n));
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
    // The code of an item added through a copy (its command answers "<result> <code>").
    std::string Added(int number, const std::string& command) {
        Words r = Copy(number).Command(command, 30000);
        EXPECT_EQ(r.size(), 2u);
        if (r.size() != 2u) return "";
        EXPECT_EQ(r[0], "1") << command;
        return r[1];
    }
    // Applies what the others changed (the refresh timer's call).
    // A refresh that finds another one running is skipped, as the timer's is: try again.
    void Refresh(int number) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (Copy(number).Command("refresh", 30000) != Words{"1"}) {
            if (std::chrono::steady_clock::now() > until) {
                ADD_FAILURE() << "copy " << number << " could not refresh";
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
    }

    // A change refused while another copy refreshes on this one's notices (holding the record a
    // moment) is tried again, as the clerk would; anything but a refusal ends the tries.
    Words UntilAccepted(int number, const std::string& command, const Words& refused) {
        auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        Words r = Copy(number).Command(command, 30000);
        while (r == refused && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            r = Copy(number).Command(command, 30000);
        }
        return r;
    }

    // Another copy's notices reach this one over the network in their own time, after that copy
    // answered: refreshes (the timer's call) until `query` answers `expected`, as a person
    // looking at the screen would see it come.
    ::testing::AssertionResult Sees(int number, const std::string& query, const Words& expected) {
        return SeesAfterRefresh(Copy(number), query, expected) << " (copy " << number << ")";
    }
    // Every copy 1..n holds what the first holds, once each has refreshed.
    void AllAgree(int n) {
        const Words digest = Copy(1).Command("digest");
        for (int i = 2; i <= n; ++i) EXPECT_TRUE(Sees(i, "digest", digest));
    }

    // A fresh copy opening the database alone; gives its digest and list test, then closes.
    void FreshLoad(Words& digest, Words& listTest, const std::string& answers = "") {
        DriverProcess fresh(kAddresses[2], kAddresses[2], folder_ + "/" + kAddresses[2]);
        ASSERT_TRUE(fresh.Started());
        if (!answers.empty()) fresh.Command("answer " + answers);
        ASSERT_EQ(fresh.Command("opendb " + name_ + " " + kPasswords[2], 30000).at(0), "1");
        digest = fresh.Command("digest");
        listTest = fresh.Command("listtest");
        fresh.Command("closedb");
    }

    std::string folder_;
    std::string name_;
    std::vector<std::unique_ptr<DriverProcess>> copies_;
};

TEST_F(RoadMultiCopyTest, EditInOneCopyIsSeenByTheOthersAfterRefresh) {
    StartCopies(3);
    const std::string code = Added(1, "addperson Smith Ann");
    EXPECT_TRUE(Sees(2, "person " + code, {"Smith", "Ann"}));
    EXPECT_TRUE(Sees(3, "person " + code, {"Smith", "Ann"}));

    EXPECT_EQ(Copy(3).Command("editperson " + code + " Anna", 30000), Words{"1"});
    EXPECT_TRUE(Sees(1, "person " + code, {"Smith", "Anna"}));
    EXPECT_TRUE(Sees(2, "person " + code, {"Smith", "Anna"}));
    AllAgree(3);
}

TEST_F(RoadMultiCopyTest, PurchaseChangesAreRefusedWhileAnotherCopyHoldsThePurchase) {
    StartCopies(2);
    const std::string person = Added(1, "addperson Held Contract");
    const std::string purchase = Added(1, "addpurchase " + person);
    ASSERT_EQ(Copy(1).Command("addpayments " + purchase + " 2", 60000).at(0), "2");
    ASSERT_TRUE(Sees(2, "payments " + purchase, Words{"2"}));
    const Words held = Copy(1).Command("lockrecord 10 " + purchase);
    ASSERT_EQ(held.size(), 1u);
    ASSERT_NE(held[0], "4294967295");
    // Cancel, convert and a payment's delete are refused; memory stays as the file is.
    EXPECT_EQ(Copy(2).Command("cancel " + purchase), Words{"0"});
    EXPECT_EQ(Copy(2).Command("convert " + purchase), Words{"2"});
    EXPECT_EQ(Copy(2).Command("delpayment " + purchase + " 0"), Words{"2"});
    EXPECT_EQ(Copy(2).Command("status " + purchase), Words{"-1"});
    EXPECT_EQ(Copy(2).Command("payments " + purchase), Words{"2"});
    EXPECT_EQ(Copy(2).Command("count 10"), Words{"1"});
    ASSERT_EQ(Copy(1).Command("unlockrecord " + held[0]), Words{"1"});
    // Released: the payment goes, the purchase is converted, and the first copy sees both.
    EXPECT_EQ(UntilAccepted(2, "delpayment " + purchase + " 0", Words{"2"}), Words{"1"});
    EXPECT_EQ(UntilAccepted(2, "convert " + purchase, Words{"2"}), Words{"1"});
    EXPECT_EQ(Copy(2).Command("count 10"), Words{"2"});
    EXPECT_TRUE(Sees(1, "payments " + purchase, Words{"1"}));
    EXPECT_TRUE(Sees(1, "count 10", Words{"2"}));
    EXPECT_NE(Copy(1).Command("status " + purchase), Words{"-1"});
    AllAgree(2);
}

TEST_F(RoadMultiCopyTest, MailListWaitsForTheOtherCopysTable) {
    StartCopies(2);
    ASSERT_EQ(Copy(1).Command("locktable 7").at(0), "1");
    // Shown elsewhere: this copy's mail list is refused, and leaving it writes nothing.
    // The table's wait is given up, as the person at the desk would.
    Copy(2).Send("maillist C 9");
    ASSERT_TRUE(Eventually(2, "waiting", "1"));
    Copy(2).Command("abort");
    EXPECT_EQ(Copy(2).Answer("maillist", 60000), (Words{"1", "-1"}));
    ASSERT_EQ(Copy(1).Command("unlocktable 7").at(0), "1");
    EXPECT_EQ(Copy(1).Command("maillist C 5", 60000), (Words{"0", "0"}));
    // The label format the first copy left is the one the second reads after its refresh.
    Refresh(2);
    EXPECT_EQ(Copy(2).Command("maillist C 0", 60000), (Words{"0", "5"}));
}

TEST_F(RoadMultiCopyTest, DeletedPersonTakesItsPurchaseInEveryCopy) {
    StartCopies(2);
    const std::string person = Added(1, "addperson Smith Ann");
    const std::string other = Added(1, "addperson Jones Bob");
    const std::string purchase = Added(1, "addpurchase " + person);
    // Both are saved; a save refused while copy 2 refreshes on copy 1's notices is tried again.
    Words added = Copy(1).Command("addpayments " + purchase + " 2", 90000);
    ASSERT_EQ(added.size(), 2u) << added[0];
    EXPECT_EQ(added[0], "2");
    EXPECT_TRUE(Sees(2, "payments " + purchase, {"2"}));

    Copy(2).Command("answer 6 6 6 6 6 6 6 6");
    EXPECT_EQ(Copy(2).Command("delete 6 " + person, 30000), Words{"1"});
    EXPECT_EQ(Copy(2).Command("person " + person), Words{"-"});
    EXPECT_EQ(Copy(2).Command("payments " + purchase), Words{"-"});
    EXPECT_TRUE(Sees(1, "person " + person, {"-"}));
    EXPECT_TRUE(Sees(1, "payments " + purchase, {"-"}));
    EXPECT_EQ(Copy(1).Command("person " + other), (Words{"Jones", "Bob"}));
    AllAgree(2);
}

TEST_F(RoadMultiCopyTest, ConcurrentPaymentsOnOnePurchaseAreAllKept) {
    constexpr int kCopies = 3;
    constexpr int kEach = 6;
    StartCopies(kCopies);
    const std::string person = Added(1, "addperson Smith Ann");
    const std::string purchase = Added(1, "addpurchase " + person);
    for (int i = 2; i <= kCopies; ++i) EXPECT_TRUE(Sees(i, "payments " + purchase, {"0"}));

    // Every copy adds its payments at once; saves of the one record serialise on its lock.
    for (int i = 1; i <= kCopies; ++i) Copy(i).Send("addpayments " + purchase + " " + std::to_string(kEach));
    int retries = 0;
    for (int i = 1; i <= kCopies; ++i) {
        Words r = Copy(i).Answer("addpayments", 90000);
        ASSERT_EQ(r.size(), 2u) << "copy " << i << " " << r[0];
        EXPECT_EQ(r[0], std::to_string(kEach)) << "copy " << i;
        retries += std::stoi(r[1]);
    }
    std::cout << "refused saves tried again: " << retries << "\n";
    for (int i = 1; i <= kCopies; ++i) EXPECT_TRUE(Sees(i, "payments " + purchase, {std::to_string(kCopies * kEach)}));
    AllAgree(kCopies);
    const Words digest = Copy(1).Command("digest");
    for (int i = 1; i <= kCopies; ++i) Copy(i).Command("closedb");
    copies_.clear();

    Words fresh, listTest;
    FreshLoad(fresh, listTest);
    EXPECT_EQ(fresh, digest);
    ASSERT_FALSE(listTest.empty());
    EXPECT_EQ(listTest[0], "1");
}

TEST_F(RoadMultiCopyTest, ReceiptNumbersOfDesksConfirmingAtOnceAreDistinct) {
    constexpr int kCopies = 2;
    constexpr int kEach = 8;
    StartCopies(kCopies);
    for (int i = 1; i <= kCopies; ++i) Copy(i).Send("receipts " + std::to_string(kEach));
    std::set<std::string> numbers;
    for (int i = 1; i <= kCopies; ++i) {
        Words r = Copy(i).Answer("receipts", 90000);
        ASSERT_EQ(r.size(), static_cast<size_t>(kEach)) << "copy " << i;
        numbers.insert(r.begin(), r.end());
    }
    EXPECT_EQ(numbers.size(), static_cast<size_t>(kCopies * kEach)) << "no number given twice";
    // One run of numbers without a gap, each given once.
    std::set<int> given;
    for (const std::string& n : numbers) given.insert(std::stoi(n));
    ASSERT_FALSE(given.empty());
    EXPECT_EQ(*given.rbegin() - *given.begin() + 1, kCopies * kEach);
    const std::string last = std::to_string(*given.rbegin());
    EXPECT_TRUE(Sees(2, "lastreceipt", {last}));
    // A lower number typed on an old payment stays on it and leaves the counter.
    EXPECT_EQ(Copy(2).Command("receipt 12 0"), Words{"12"});
    EXPECT_TRUE(Sees(1, "lastreceipt", {last}));
}

TEST_F(RoadMultiCopyTest, OneCreditAppliedByTwoDesksIsSpentOnce) {
    StartCopies(2);
    const std::string person = Added(1, "addperson Smith Ann");
    const std::string credit = Added(1, "addcredit " + person + " 80");
    EXPECT_TRUE(Sees(2, "credit " + credit, {"80.00"}));
    EXPECT_EQ(Copy(1).Command("takecredit " + credit + " 50", 30000), (Words{"1", "50.00"}));
    // The second desk meets the first one's lock: nothing is taken.
    EXPECT_EQ(Copy(2).Command("takecredit " + credit + " 50", 30000), (Words{"0", "0.00"}));
    EXPECT_EQ(Copy(1).Command("commitcredit", 30000), Words{"1"});
    EXPECT_TRUE(Sees(2, "credit " + credit, {"30.00"}));
    // Released after the commit: the second desk may now take what is left, and no more.
    EXPECT_EQ(Copy(2).Command("takecredit " + credit + " 50", 30000), (Words{"1", "30.00"}));
    EXPECT_EQ(Copy(2).Command("commitcredit", 30000), Words{"1"});
    EXPECT_TRUE(Sees(1, "credit " + credit, {"-"}));
}

TEST_F(RoadMultiCopyTest, CopyKilledInTheMiddleOfASaveHoldsNobodyUp) {
    StartCopies(2);
    const std::string ann = Added(2, "addperson Smith Ann");
    const std::string bob = Added(2, "addperson Jones Bob");
    const std::string cid = Added(1, "addperson Brown Cid");
    EXPECT_TRUE(Sees(1, "person " + bob, {"Jones", "Bob"}));
    EXPECT_TRUE(Sees(2, "person " + cid, {"Brown", "Cid"}));

    // Copy 2 dies between writing the record's data and its header, holding the database lock.
    ASSERT_EQ(Copy(2).Command("killat data written"), Words{});
    Copy(2).Send("editperson " + bob + " Rob");
    const int status = Copy(2).WaitForExit(60000);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "copy 2 was not killed in its save";
    EXPECT_FALSE(Copy(2).SawLine("OK editperson"));

    // The other copy goes on: its saves do not wait for the dead one's stamps.
    const std::string dan = Added(1, "addperson Green Dan");
    EXPECT_EQ(Copy(1).Command("editperson " + cid + " Cyd", 30000), Words{"1"});
    Copy(1).Command("closedb");
    copies_.clear();

    DriverProcess fresh(kAddresses[2], kAddresses[2], folder_ + "/" + kAddresses[2]);
    ASSERT_TRUE(fresh.Started());
    if (getenv("DQ_DRIVER_TRACE")) fresh.Command("trace 2");
    ASSERT_EQ(fresh.Command("opendb " + name_ + " " + kPasswords[2], 30000).at(0), "1");
    // The record torn by the kill is reported as damaged; the others are as they were saved.
    // (The "Problems found in data" box is answered No by default: the repair road follows,
    // whose backup question shows it, and the torn block is set aside.)
    EXPECT_TRUE(fresh.SawLine("BOX You have the option of making a backup file before attempting to make the repair."))
        << "the torn record was not found damaged";
    EXPECT_EQ(fresh.Command("person " + bob), Words{"-"});
    EXPECT_EQ(fresh.Command("person " + ann), (Words{"Smith", "Ann"}));
    EXPECT_EQ(fresh.Command("person " + cid), (Words{"Brown", "Cyd"}));
    EXPECT_EQ(fresh.Command("person " + dan), (Words{"Green", "Dan"}));
    Words listTest = fresh.Command("listtest");
    ASSERT_FALSE(listTest.empty());
    EXPECT_EQ(listTest[0], "1");
}

TEST_F(RoadMultiCopyTest, CompactionWhileAnotherCopyHoldsADialogKeepsItsLaterSave) {
    StartCopies(2);
    const std::string ann = Added(1, "addperson Smith Ann");
    const std::string bob = Added(1, "addperson Jones Bob");
    Copy(1).Command("answer 6 6 6 6 6 6");
    EXPECT_EQ(Copy(1).Command("delete 6 " + bob, 30000), Words{"1"});
    EXPECT_TRUE(Sees(2, "person " + bob, {"-"}));

    // Copy 2 opens a new person's dialog; meanwhile copy 1 compacts the file.
    Copy(2).Send("holdperson Green Dan");
    ASSERT_TRUE(Copy(2).WaitForLine("EVENT dialog 1", 30000));
    EXPECT_EQ(Copy(1).Command("compact", 30000), Words{"1"});
    EXPECT_EQ(Copy(2).Command("release"), Words{});
    Words held = Copy(2).Answer("holdperson", 30000);
    ASSERT_EQ(held.size(), 2u) << held[0];
    EXPECT_EQ(held[0], "1");
    EXPECT_TRUE(Sees(1, "person " + held[1], {"Green", "Dan"}));
    for (int i = 1; i <= 2; ++i) Copy(i).Command("closedb");
    copies_.clear();

    Words digest, listTest;
    FreshLoad(digest, listTest);
    ASSERT_FALSE(listTest.empty());
    EXPECT_EQ(listTest[0], "1");
    DriverProcess fresh(kAddresses[2], kAddresses[2], folder_ + "/" + kAddresses[2]);
    ASSERT_EQ(fresh.Command("opendb " + name_ + " " + kPasswords[2], 30000).at(0), "1");
    EXPECT_EQ(fresh.Command("person " + held[1]), (Words{"Green", "Dan"}));
    EXPECT_EQ(fresh.Command("person " + ann), (Words{"Smith", "Ann"}));
    EXPECT_EQ(fresh.Command("count 6"), Words{"2"});
}

}  // namespace
