#pragma once
// Shared pieces of the shell tests: a temporary folder per test, whole-file reads and writes,
// and a fixture that puts the program-wide state and the ui hooks back between tests.

#include <gtest/gtest.h>

#include <string>

class ShellTempFolder {
public:
    ShellTempFolder();
    ~ShellTempFolder();
    ShellTempFolder(const ShellTempFolder&) = delete;
    ShellTempFolder& operator=(const ShellTempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string FilePath(const std::string& name) const { return path_ + "/" + name; }
    void WriteFile(const std::string& name, const std::string& contents) const;
    std::string ReadFile(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
};

// Resets the settings, the program-wide state and the ui hooks (message boxes scripted, timers
// manual); checks at the end that no hook saw anything unexpected.
class ShellTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    ShellTempFolder folder_;
};
