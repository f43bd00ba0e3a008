#pragma once
// Two running copies (tests/driver) on 127.0.0.1-2 opening one database through the road, logged
// on as desk1 and desk2; the first copy is on the server computer and the lock manager.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "database/LanServer.h"
#include "tests/support/DriverChecks.h"

class TwoCopiesTest : public ::testing::Test {
protected:
    using Words = std::vector<std::string>;
    static constexpr const char* kAddresses[] = {"127.0.0.1", "127.0.0.2"};
    static constexpr const char* kPasswords[] = {"first", "second"};

    // `prefix` names the suite's files (one letter, so that parallel suites never meet).
    explicit TwoCopiesTest(std::string prefix) : prefix_(std::move(prefix)) {}

    void SetUp() override
    {
        std::string pattern = "/tmp/dq_" + prefix_ + "copies_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
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
    void TearDown() override
    {
        copies_.clear();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    DriverProcess& Copy(int number) { return *copies_[static_cast<size_t>(number - 1)]; }

    // Refreshes copy `number` until the query answers what is expected.
    ::testing::AssertionResult Sees(int number, const std::string& query, const Words& expected)
    {
        return SeesAfterRefresh(Copy(number), query, expected) << " (copy " << number << ")";
    }
    // The code of an item added through a copy (its command answers "<result> <code>").
    std::string Added(int number, const std::string& command)
    {
        const Words r = Copy(number).Command(command, 30000);
        EXPECT_EQ(r.size(), 2u) << command;
        if (r.size() != 2u) return "";
        EXPECT_EQ(r[0], "1") << command;
        return r[1];
    }

    std::string prefix_;
    std::string folder_;
    std::string name_;
    std::vector<std::unique_ptr<DriverProcess>> copies_;
};
