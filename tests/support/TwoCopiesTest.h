#pragma once
// Fixture of the suites that run two copies of the program (tests/driver) on 127.0.0.1-2 over one
// database: the first copy is on the server computer and the lock manager. Both are signed on
// (users desk1 and desk2, level 9) and see each other when a test starts.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/support/DriverProcess.h"

class TwoCopiesTest : public ::testing::Test {
protected:
    using Words = std::vector<std::string>;

    // `prefix` starts the database's file name, one letter per suite.
    explicit TwoCopiesTest(std::string prefix) : prefix_(std::move(prefix)) {}
    void SetUp() override;
    void TearDown() override;
    DriverProcess& Copy(int number) { return *copies_[static_cast<size_t>(number - 1)]; }

    // The other copy's notices arrive in their own time: refreshes (the timer's call) until the
    // query answers what is expected.
    ::testing::AssertionResult Sees(int number, const std::string& query, const Words& expected);
    // Without the timer's call: the query is asked again until the copy, on the notice alone,
    // answers what is expected.
    ::testing::AssertionResult Notices(int number, const std::string& query, const Words& expected);
    // A command whose answer is "1 <code>": the code.
    std::string Added(int number, const std::string& command);

    std::string folder_;
    std::string name_;

private:
    ::testing::AssertionResult AskUntil(int number, const std::string& query, const Words& expected);

    std::string prefix_;
    std::vector<std::unique_ptr<DriverProcess>> copies_;
};
