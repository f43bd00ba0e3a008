// The schedule grid in two running copies (tests/driver) on 127.0.0.1-2, one database; the first
// copy is on the server computer and the lock manager. A lesson dragged in one copy shows in the
// other's grid after that copy's refresh, and a payment the other saved to the same purchase just
// before the drag is kept. A studio activity bought in one copy shows in the other's roster and
// obligations after that copy's refresh.

#include <gtest/gtest.h>

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

const char* const kAddresses[] = {"127.0.0.1", "127.0.0.2"};
const char* const kPasswords[] = {"first", "second"};
using Words = std::vector<std::string>;

class GridCopiesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/dq_grids2_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        const std::string file = ChooseLanName("G", ".dbs", {std::begin(kAddresses), std::end(kAddresses)}, GetLanPort);
        ASSERT_FALSE(file.empty()) << "no free port";
        name_ = folder_ + "/" + file;
        for (const char* a : kAddresses) {
            const std::string work = folder_ + "/" + a;
            std::filesystem::create_directory(work);
            std::ofstream usr(work + "/Dorvalquintex.usr");
            for (const char* b : kAddresses) usr << b << "\r\n";
        }
        DriverProcess creator(kAddresses[0], kAddresses[0], folder_);
        ASSERT_TRUE(creator.Started());
        for (int i = 0; i < 2; ++i)
            ASSERT_EQ(creator.Command("register " + name_ + " desk" + std::to_string(i + 1) + " " + kPasswords[i] + " " +
                                      std::to_string(i + 1) + " 9"),
                      Words{});
        for (int i = 0; i < 2; ++i) {
            copies_.push_back(std::make_unique<DriverProcess>(kAddresses[i], kAddresses[0], folder_ + "/" + kAddresses[i]));
            ASSERT_TRUE(copies_.back()->Started());
            const Words opened = copies_.back()->Command("opendb " + name_ + " " + kPasswords[i], 30000);
            ASSERT_EQ(opened.size(), 2u) << opened[0];
            ASSERT_EQ(opened[0], "1") << "copy " << i + 1 << " did not open the database";
        }
        for (auto& copy : copies_) ASSERT_TRUE(copy->Eventually("users", "2"));
    }
    void TearDown() override
    {
        copies_.clear();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    DriverProcess& Copy(int number) { return *copies_[static_cast<size_t>(number - 1)]; }

    // The other copy's notices arrive in their own time: refreshes (the timer's call) until the
    // query answers what is expected.
    ::testing::AssertionResult Sees(int number, const std::string& query, const Words& expected)
    {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        Words seen;
        for (;;) {
            Copy(number).Command("refresh", 30000);
            seen = Copy(number).Command(query);
            if (seen == expected) return ::testing::AssertionSuccess();
            if (std::chrono::steady_clock::now() > until) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::string text;
        for (const std::string& w : seen) text += " " + w;
        return ::testing::AssertionFailure() << "copy " << number << " " << query << ":" << text << "\n"
                                             << Copy(number).Transcript();
    }
    std::string Added(int number, const std::string& command)
    {
        const Words r = Copy(number).Command(command, 30000);
        EXPECT_EQ(r.size(), 2u) << command;
        if (r.size() != 2u) return "";
        EXPECT_EQ(r[0], "1") << command;
        return r[1];
    }

    std::string folder_;
    std::string name_;
    std::vector<std::unique_ptr<DriverProcess>> copies_;
};

TEST_F(GridCopiesTest, ALessonDraggedInOneCopyShowsInTheOtherAndKeepsItsPayment)
{
    // Each save is seen by the second desk before the next, so that no save meets its refresh.
    const std::string person = Added(1, "addperson Lindqvist Eva");
    ASSERT_TRUE(Sees(2, "person " + person, {"Lindqvist", "Eva"}));
    const std::string purchase = Added(1, "addpurchase " + person);
    ASSERT_TRUE(Sees(2, "payments " + purchase, {"0"}));
    // Tuesday of the week shown, 10:00.
    ASSERT_EQ(Copy(1).Command("addlesson " + purchase + " 2 10", 90000), Words{"1"}) << Copy(1).Transcript();
    ASSERT_TRUE(Sees(2, "digest", Copy(1).Command("digest")));

    ASSERT_EQ(Copy(1).Command("grid -1", 30000).size(), 2u);
    const Words at = Copy(1).Command("where Lindqvist");
    ASSERT_EQ(at.size(), 2u);
    ASSERT_NE(at[0], "-1") << Copy(1).Transcript();
    EXPECT_EQ(at[1], "2");
    ASSERT_EQ(Copy(2).Command("grid -1", 30000).size(), 2u);
    EXPECT_EQ(Copy(2).Command("where Lindqvist"), at);

    // The second desk saves a payment to the purchase; the first, not refreshed since, drags the
    // lesson to Thursday at the same time.
    const Words paid = Copy(2).Command("addpayments " + purchase + " 1", 90000);
    ASSERT_EQ(paid.size(), 2u);
    ASSERT_EQ(paid[0], "1");
    ASSERT_EQ(Copy(1).Command("drag " + at[0] + " 2 " + at[0] + " 4", 30000), Words{});
    const Words moved{at[0], "4"};
    EXPECT_EQ(Copy(1).Command("where Lindqvist"), moved);
    EXPECT_EQ(Copy(1).Command("cell " + at[0] + " 2"), Words{"-"});
    EXPECT_EQ(Copy(1).Command("payments " + purchase), Words{"1"}) << "the move kept the other desk's payment";

    EXPECT_TRUE(Sees(2, "where Lindqvist", moved));
    EXPECT_EQ(Copy(2).Command("payments " + purchase), Words{"1"});
    EXPECT_EQ(Copy(2).Command("digest"), Copy(1).Command("digest"));
    for (int i = 1; i <= 2; ++i) EXPECT_EQ(Copy(i).Command("closegrid"), Words{});
}

TEST_F(GridCopiesTest, APurchaseOfTheOtherCopyShowsInRosterAndObligations)
{
    const std::string person = Added(2, "addperson Lindqvist Eva");
    ASSERT_TRUE(Sees(1, "person " + person, {"Lindqvist", "Eva"}));
    EXPECT_EQ(Copy(1).Command("report obligations Lindqvist", 30000), Words{"0"});
    const std::string activity = Added(2, "addclass " + person + " Salsa");
    ASSERT_FALSE(activity.empty());
    EXPECT_TRUE(Sees(1, "report roster " + activity + " Lindqvist", {"1"}));
    EXPECT_EQ(Copy(1).Command("report obligations Lindqvist", 30000), Words{"1"});
}

}  // namespace
