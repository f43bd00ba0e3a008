#pragma once
// A fresh folder under the system's temporary folder, removed with everything in it.

#include "tests/support/TestFiles.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace hosttest {

class TempFolder {
public:
    TempFolder() : path_(dqtest::MakeTempFolder("dqhost-")) {}
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    // Writes a file (host path relative to the folder) with the given bytes.
    void Write(const std::string& name, const std::string& bytes) const {
        dqtest::WriteBytes(path_ + "/" + name, bytes);
    }
    std::string Read(const std::string& name) const { return dqtest::ReadBytes(path_ + "/" + name); }

private:
    std::string path_;
};

}  // namespace hosttest
