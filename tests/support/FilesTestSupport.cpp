#include "tests/support/FilesTestSupport.h"

#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

void FilesTest::SetUp()
{
    dqtest::StartScriptedUi();
    host::Clock::SetFixedTicks(1000);
    host::Clock::SetInstantSleep(true);
    host::ClearInjectedFileErrors();

    root_ = dqtest::MakeTempFolder("dq_files_");
    ASSERT_FALSE(root_.empty());
    previous_ = fs::current_path();
    fs::current_path(root_);
    drives_.clear();
    ApplyMap();
}

void FilesTest::TearDown()
{
    dqtest::ExpectScriptsUsed();
    if (GetRefreshHold() == spy_.get())
        SetRefreshHold(nullptr);
    spy_.reset();
    ui::test::ResetHooks();
    host::ClearInjectedFileErrors();
    host::Drives::ClearMapForTesting();
    host::Clock::ResetTestHooks();
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void FilesTest::Answer(std::initializer_list<int> answers) { dqtest::QueueAnswers(answers); }

void FilesTest::Write(const std::string& name, const std::string& contents) const
{
    fs::create_directories((root_ / name).parent_path());
    dqtest::WriteBytes(root_ / name, contents);
}

std::string FilesTest::Read(const std::string& name) const { return dqtest::ReadBytes(root_ / name); }

bool FilesTest::Exists(const std::string& name) const { return fs::exists(root_ / name); }

void FilesTest::ApplyMap()
{
    host::Drives::SetMapForTesting(drives_);
}

void FilesTest::InsertDiskette(const std::string& folder, uint64_t capacity)
{
    fs::create_directories(root_ / folder);
    dqtest::PutDrive(drives_, 'A', (root_ / folder).string(), host::DriveType::Removable, capacity);
}

void FilesTest::MapFixedDrive(const std::string& folder)
{
    fs::create_directories(root_ / folder);
    dqtest::PutDrive(drives_, 'C', (root_ / folder).string(), host::DriveType::Fixed, 0);
}

void FilesTest::ChangeDiskettesAt(const std::string& text, std::deque<std::string> folders)
{
    spy_ = std::make_unique<dqtest::DiskChangeSpy>(
        text, std::move(folders), [this](const std::string& folder) { InsertDiskette(folder); });
    SetRefreshHold(spy_.get());
}

std::string MakeData(size_t size, uint32_t seed) { return dqtest::NoiseBytes(size, seed); }
