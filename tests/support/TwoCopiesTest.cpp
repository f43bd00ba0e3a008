#include "tests/support/TwoCopiesTest.h"

#include <stdlib.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "database/LanServer.h"
#include "tests/support/DriverChecks.h"

namespace {

const char* const kAddresses[] = {"127.0.0.1", "127.0.0.2"};
const char* const kPasswords[] = {"first", "second"};

}  // namespace

void TwoCopiesTest::SetUp()
{
    const std::string pattern = "/tmp/dq_" + prefix_ + "_copies_XXXXXX";
    std::vector<char> path(pattern.begin(), pattern.end());
    path.push_back('\0');
    ASSERT_NE(mkdtemp(path.data()), nullptr);
    folder_ = path.data();
    const std::string file = ChooseLanName(prefix_, ".dbs", {std::begin(kAddresses), std::end(kAddresses)}, GetLanPort);
    ASSERT_FALSE(file.empty()) << "no free port";
    name_ = folder_ + "/" + file;
    ASSERT_TRUE(PrepareCopies(folder_, name_, {std::begin(kAddresses), std::end(kAddresses)},
                              {std::begin(kPasswords), std::end(kPasswords)}));
    for (int i = 0; i < 2; ++i) {
        copies_.push_back(std::make_unique<DriverProcess>(kAddresses[i], kAddresses[0], folder_ + "/" + kAddresses[i]));
        ASSERT_TRUE(copies_.back()->Started());
        const Words opened = copies_.back()->Command("opendb " + name_ + " " + kPasswords[i], 30000);
        ASSERT_EQ(opened.size(), 2u) << opened[0];
        ASSERT_EQ(opened[0], "1") << "copy " << i + 1 << " did not open the database";
    }
    for (auto& copy : copies_) ASSERT_TRUE(copy->Eventually("users", "2"));
}

void TwoCopiesTest::TearDown()
{
    copies_.clear();
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

::testing::AssertionResult TwoCopiesTest::AskUntil(int number, const std::string& query, const Words& expected)
{
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    Words seen;
    for (;;) {
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

::testing::AssertionResult TwoCopiesTest::Sees(int number, const std::string& query, const Words& expected)
{
    return SeesAfterRefresh(Copy(number), query, expected) << " (copy " << number << ")";
}

::testing::AssertionResult TwoCopiesTest::Notices(int number, const std::string& query, const Words& expected)
{
    return AskUntil(number, query, expected);
}

std::string TwoCopiesTest::Added(int number, const std::string& command)
{
    const Words r = Copy(number).Command(command, 30000);
    EXPECT_EQ(r.size(), 2u) << command;
    if (r.size() != 2u) return "";
    EXPECT_EQ(r[0], "1") << command;
    return r[1];
}
