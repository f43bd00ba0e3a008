#pragma once
// The fixture of the installer tests: a temporary folder made current, a temporary home with no
// desktop settings, scripted message boxes and dialogs on the offscreen platform, an empty drive
// map to which a test adds a diskette drive A:, and a builder of zip archives.

#include "common/QuestionBox.h"
#include "platform/host/Drives.h"
#include "platform/ui/TestHooks.h"

#include <gtest/gtest.h>

#include <ctime>
#include <deque>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

// One item of a test archive: a name ending in '/' is a folder item.
struct ZipItem {
    std::string name;
    std::string data;
    time_t modified = 0;
    unsigned mode = 0100644;  // stored Unix mode (0 stores none)
};

// Writes a zip with minizip: each item with its "UT" modification time and its mode.
void WriteZip(const std::filesystem::path& path, const std::vector<ZipItem>& items);
// Bytes that do not compress and do not repeat on a short period.
std::string MakeData(size_t size, uint32_t seed = 1);

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static ui::test::Hooks& Hooks() { return ui::test::GetHooks(); }
    static void Answer(std::initializer_list<int> answers);
    static const std::vector<std::string>& Shown() { return Hooks().messageBoxTexts; }

    std::filesystem::path Path(const std::string& name) const { return root_ / name; }
    // Program path of a name in the temporary folder (absolute host paths are program paths).
    std::string Prog(const std::string& name) const { return (root_ / name).string(); }
    std::string Home() const { return (root_ / "home").string(); }
    void Write(const std::string& name, const std::string& contents) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const { return std::filesystem::exists(root_ / name); }

    // Puts the folder (of the temporary folder) in drive A:, a 1.44 MB diskette drive.
    void InsertDiskette(const std::string& folder);
    // Each time a box whose text holds `text` opens, the next folder goes into drive A: first.
    void ChangeDiskettesAt(const std::string& text, std::deque<std::string> folders);
    // Writes piece `piece` of `whole` as a diskette of a set: `name` and "RecombineInfo.dat".
    void WriteDiskette(const std::string& folder, const std::string& name, const std::string& whole,
                       uint32_t piece, uint32_t offset, uint32_t size);

    std::filesystem::path root_;

private:
    std::filesystem::path previous_;
    std::map<std::string, std::string> savedEnv_;
    std::unique_ptr<IRefreshHold> spy_;
};
