#pragma once
// Two running copies (tests/driver) on 127.0.0.1-2 over one new database, each logged on as its
// own user (desk1, desk2); the first copy is on the server computer and the lock manager.

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

class TwoCopiesTest : public ::testing::Test {
protected:
    using Words = std::vector<std::string>;
    static constexpr const char* kAddresses[] = {"127.0.0.1", "127.0.0.2"};
    static constexpr const char* kPasswords[] = {"first", "second"};

    // `prefix` names the database file and the temporary folder.
    void StartCopies(const std::string& prefix)
    {
        std::string pattern = "/tmp/dq_" + prefix + "_XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        const std::string file =
            ChooseLanName(prefix, ".dbs", {std::begin(kAddresses), std::end(kAddresses)}, GetLanPort);
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
        if (!folder_.empty()) std::filesystem::remove_all(folder_, ec);
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
    // A command that adds something: its code, after checking it answered 1.
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
