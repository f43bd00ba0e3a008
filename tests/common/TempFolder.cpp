#include "TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TempFolder::TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "dq_common_XXXXXX").string();
    char* made = mkdtemp(pattern.data());
    EXPECT_NE(made, nullptr);
    path_ = pattern;
    previous_ = fs::current_path().string();
    fs::current_path(path_);
}

TempFolder::~TempFolder() {
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

void TempFolder::WriteFile(const std::string& name, const std::string& contents) const {
    std::ofstream out(fs::path(path_) / name, std::ios::binary);
    out << contents;
}

std::string TempFolder::ReadFile(const std::string& name) const {
    std::ifstream in(fs::path(path_) / name, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool TempFolder::Exists(const std::string& name) const { return fs::exists(fs::path(path_) / name); }
