#pragma once
// A fresh temporary folder made the current folder for one test, removed afterwards.

#include <string>

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    // Writes a file in the folder (name relative to it).
    void WriteFile(const std::string& name, const std::string& contents) const;
    std::string ReadFile(const std::string& name) const;
    bool Exists(const std::string& name) const;

private:
    std::string path_;
    std::string previous_;
};
