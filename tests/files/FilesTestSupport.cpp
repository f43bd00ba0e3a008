#include "FilesTestSupport.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

// Sees every GetResponse box as it opens (through the refresh hold the box suspends) and changes
// the diskette at the scripted prompts.
class FilesTest::BoxSpy : public IRefreshHold {
public:
    BoxSpy(FilesTest* test, std::string text, std::deque<std::string> folders)
        : test_(test), text_(std::move(text)), folders_(std::move(folders)) {}
    void DisableRefreshOn(const std::string& label) override
    {
        if (label.find("prompt:'" + text_) == std::string::npos &&
            label.find(text_) == std::string::npos)
            return;
        if (folders_.empty())
            return;
        test_->InsertDiskette(folders_.front());
        folders_.pop_front();
    }
    void DisableRefreshOff(const std::string&) override {}

private:
    FilesTest* test_;
    std::string text_;
    std::deque<std::string> folders_;
};

void FilesTest::SetUp()
{
    ui::test::EnsureApplication();
    ui::test::Hooks& h = ui::test::ResetHooks();
    h.scriptMessageBoxes = true;
    h.driveDialogs = true;
    host::Clock::SetFixedTicks(1000);
    host::Clock::SetInstantSleep(true);
    host::ClearInjectedFileErrors();

    std::string pattern = (fs::temp_directory_path() / "dq_files_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    previous_ = fs::current_path();
    fs::current_path(root_);
    drives_.clear();
    ApplyMap();
}

void FilesTest::TearDown()
{
    EXPECT_TRUE(Hooks().failures.empty()) << Hooks().failures.front();
    EXPECT_TRUE(Hooks().messageBoxAnswers.empty()) << "unused answers";
    EXPECT_TRUE(Hooks().dialogScripts.empty()) << "unused dialog scripts";
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

void FilesTest::Answer(std::initializer_list<int> answers)
{
    for (int a : answers)
        Hooks().messageBoxAnswers.push_back(a);
}

void FilesTest::Write(const std::string& name, const std::string& contents) const
{
    fs::create_directories((root_ / name).parent_path());
    std::ofstream out(root_ / name, std::ios::binary);
    out << contents;
}

std::string FilesTest::Read(const std::string& name) const
{
    std::ifstream in(root_ / name, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool FilesTest::Exists(const std::string& name) const { return fs::exists(root_ / name); }

void FilesTest::ApplyMap()
{
    host::Drives::SetMapForTesting(drives_);
}

void FilesTest::InsertDiskette(const std::string& folder, uint64_t capacity)
{
    fs::create_directories(root_ / folder);
    std::erase_if(drives_, [](const host::DriveEntry& e) { return e.letter == 'A'; });
    host::DriveEntry a;
    a.letter = 'A';
    a.folder = (root_ / folder).string();
    a.type = host::DriveType::Removable;
    a.capacity = capacity;
    drives_.push_back(a);
    ApplyMap();
}

void FilesTest::MapFixedDrive(const std::string& folder)
{
    fs::create_directories(root_ / folder);
    std::erase_if(drives_, [](const host::DriveEntry& e) { return e.letter == 'C'; });
    host::DriveEntry c;
    c.letter = 'C';
    c.folder = (root_ / folder).string();
    c.type = host::DriveType::Fixed;
    drives_.push_back(c);
    ApplyMap();
}

void FilesTest::ChangeDiskettesAt(const std::string& text, std::deque<std::string> folders)
{
    spy_ = std::make_unique<BoxSpy>(this, text, std::move(folders));
    SetRefreshHold(spy_.get());
}

std::string MakeData(size_t size, uint32_t seed)
{
    std::string data(size, '\0');
    uint32_t x = seed * 2654435761u + 12345u;
    for (size_t i = 0; i < size; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        data[i] = static_cast<char>(x >> 24);
    }
    return data;
}
