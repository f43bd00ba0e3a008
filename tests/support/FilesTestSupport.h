#pragma once
// The fixture of the file tests: a fresh temporary folder made the current folder, scripted
// message boxes and dialogs on the offscreen platform, instant sleeps on a fixed tick counter, and
// a drive map whose A: is a simulated diskette that a test can change.

#include "common/QuestionBox.h"
#include "platform/host/Clock.h"
#include "platform/host/Drives.h"
#include "platform/host/File.h"
#include "platform/ui/TestHooks.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

class FilesTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static ui::test::Hooks& Hooks() { return ui::test::GetHooks(); }
    // Queues answers for the next message boxes.
    static void Answer(std::initializer_list<int> answers);
    // The texts of the message boxes shown so far.
    static const std::vector<std::string>& Shown() { return Hooks().messageBoxTexts; }

    // Host path of a name inside the temporary folder.
    std::string Host(const std::string& name) const { return (root_ / name).string(); }
    // Program path of the same ("/tmp/x/name": absolute host paths serve as program paths).
    std::string Prog(const std::string& name) const { return Host(name); }
    void Write(const std::string& name, const std::string& contents) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

    // Makes a folder of the temporary folder a diskette (a removable drive A: of 1.44 MB) and
    // puts it in the drive; `capacity` 0 keeps the real file system's space.
    void InsertDiskette(const std::string& folder, uint64_t capacity = host::kDisketteCapacity);
    // Fixed drive C: on a folder of the temporary folder.
    void MapFixedDrive(const std::string& folder);

    // Each time a box whose text contains `text` opens, the next folder of `folders` is put in
    // the drive (a diskette change by the user, before the box is answered).
    void ChangeDiskettesAt(const std::string& text, std::deque<std::string> folders);

    std::filesystem::path root_;

private:
    void ApplyMap();

    std::filesystem::path previous_;
    std::vector<host::DriveEntry> drives_;
    std::unique_ptr<IRefreshHold> spy_;
};

// A string of `size` bytes that does not repeat on any short period.
std::string MakeData(size_t size, uint32_t seed = 1);
