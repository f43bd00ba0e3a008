#include "platform/host/Process.h"

#include "TempFolder.h"

#include <gtest/gtest.h>

namespace {

using hosttest::TempFolder;

TEST(Process, WaitsAndGivesTheExitCode) {
    auto ok = host::StartProcess("true", {}, true);
    EXPECT_TRUE(ok.started);
    EXPECT_EQ(ok.exitCode, 0);
    auto bad = host::StartProcess("/bin/false", {}, true);
    EXPECT_TRUE(bad.started);
    EXPECT_EQ(bad.exitCode, 1);
}

TEST(Process, ArgumentsArePassedAsTheyAreInUtf8) {
    TempFolder tmp;
    // Each argument is one word, however it is spelt: no shell reads them.
    auto r = host::StartProcess("/bin/sh",
                                {"-c", "printf '%s|' \"$@\" > \"$0\"", tmp / "out", "caf\xE9", "a b", "$HOME;x"},
                                true);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(tmp.Read("out"), "caf\xC3\xA9|a b|$HOME;x|");
}

TEST(Process, MissingProgramIsReported) {
    auto r = host::StartProcess("/no/such/program", {}, true);
    EXPECT_FALSE(r.started);
    EXPECT_FALSE(r.error.empty());
    auto s = host::StartProcess("no-such-program-dq", {}, false);
    EXPECT_FALSE(s.started);
}

TEST(Process, StandardInputReachesTheProgram) {
    TempFolder tmp;
    const std::string input(300000, 'x');  // more than a pipe holds at once
    auto r = host::StartProcess("/bin/sh", {"-c", "cat > \"$0\"", tmp / "in"}, true, &input);
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(tmp.Read("in"), input);
    // A program that reads nothing and ends leaves the writer unharmed (no SIGPIPE).
    auto early = host::StartProcess("true", {}, true, &input);
    EXPECT_TRUE(early.started);
    EXPECT_EQ(early.exitCode, 0);
}

TEST(Process, FindProgramLooksInPathOrAtThePath) {
    EXPECT_TRUE(host::FindProgram("sh"));
    EXPECT_TRUE(host::FindProgram("/bin/sh"));
    EXPECT_FALSE(host::FindProgram("no-such-program-dq"));
    EXPECT_FALSE(host::FindProgram("/no/such/program"));
    EXPECT_FALSE(host::FindProgram(""));
}

TEST(Process, OwnExecutable) {
    std::string exe = host::ExecutablePath();
    EXPECT_NE(exe.find("test_host"), std::string::npos) << exe;
    EXPECT_EQ(exe.substr(0, host::ExecutableFolder().size()), host::ExecutableFolder());
}

}  // namespace
