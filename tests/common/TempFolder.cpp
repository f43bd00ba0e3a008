#include "TempFolder.h"

#include "tests/support/TestFiles.h"

#include <filesystem>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    path_ = dqtest::MakeTempFolder("dq_common_");
    EXPECT_FALSE(path_.empty());
    previous_ = fs::current_path().string();
    fs::current_path(path_);
}

TempFolder::~TempFolder() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempFolder::WriteFile(const std::string& name, const std::string& contents) const {
    dqtest::WriteBytes(fs::path(path_) / name, contents);
}

std::string TempFolder::ReadFile(const std::string& name) const {
    return dqtest::ReadBytes(fs::path(path_) / name);
}

bool TempFolder::Exists(const std::string& name) const { return fs::exists(fs::path(path_) / name); }
