#pragma once
// The scenario fixture of the backup tests: a temporary folder (the current folder) with the
// program's folder and a database folder in it, a drive map (A: a simulated diskette, C: fixed),
// scripted message boxes, prompts, menus and file dialogs, and a launcher in a main frame whose
// opening and closing go straight to the database engine.

#include "common/QuestionBox.h"
#include "platform/host/Drives.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/Dialog.h"
#include "shell/MainFrame.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class CMainView;
class CDatabase;

class BackupTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    static ui::test::Hooks& Hooks() { return ui::test::GetHooks(); }
    static void Answer(std::initializer_list<int> answers);
    static const std::vector<std::string>& Shown() { return Hooks().messageBoxTexts; }
    // Scripts the next modal dialogs: a one-line prompt answered with `text` (OK), or Cancel when
    // `text` is null; a menu choosing entry `index`; any dialog ended with OK.
    static void Prompt(const char* text);
    static void ChooseMenuEntry(int index);
    static void ClickOk();
    static void FileDialog(const std::string& path);

    std::string Path(const std::string& name) const { return (root_ / name).string(); }
    void Write(const std::string& name, const std::string& contents) const;
    std::string Read(const std::string& name) const;
    bool Exists(const std::string& name) const;

    // A database "db/studio" of `records` person records of `size` bytes each (data that does not
    // compress), with its users file; gives its root.
    std::string MakeDatabase(int records, size_t size, const std::string& name = "db/studio");
    // Opens the root in the launcher (as File, Open does once the log-on has passed).
    void OpenInLauncher(const std::string& root);
    CMainView& View();
    CDatabase* Db();

    // A folder of the temporary folder as the diskette in A:, and C: a fixed drive.
    void InsertDiskette(const std::string& folder, uint64_t capacity);
    void MapFixedDrive(const std::string& folder);
    // At each box whose text holds `text`, the next folder goes into A: before it is answered.
    void ChangeDiskettesAt(const std::string& text, std::deque<std::string> folders);

    std::filesystem::path root_;
    std::unique_ptr<CMainFrame> frame_;

private:
    std::filesystem::path previous_;
    std::vector<host::DriveEntry> drives_;
    std::unique_ptr<IRefreshHold> spy_;
};

// Bytes that do not compress.
std::string NoiseData(size_t size, uint32_t seed);
// The file's bytes with the close status (4-7) and the lock area taken out, for comparing a
// database with a copy of it taken while it was open.
std::string WithoutOpenState(std::string bytes);
