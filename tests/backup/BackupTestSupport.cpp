#include "BackupTestSupport.h"

#include "tests/database/DbFixture.h"
#include "common/CommandGuards.h"
#include "common/DataPaths.h"
#include "common/RecordBuffer.h"
#include "database/Database.h"
#include "database/SettingsRecords.h"
#include "platform/host/Clock.h"
#include "platform/ui/Dialog.h"
#include "shell/MainFrame.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

class BackupTest::BoxSpy : public IRefreshHold {
public:
    BoxSpy(BackupTest* test, std::string text, std::deque<std::string> folders)
        : test_(test), text_(std::move(text)), folders_(std::move(folders)) {}
    void DisableRefreshOn(const std::string& label) override
    {
        if (label.find(text_) == std::string::npos || folders_.empty()) return;
        test_->InsertDiskette(folders_.front(), capacity_);
        folders_.pop_front();
    }
    void DisableRefreshOff(const std::string&) override {}
    uint64_t capacity_ = 0;

private:
    BackupTest* test_;
    std::string text_;
    std::deque<std::string> folders_;
};

void BackupTest::SetUp()
{
    ui::test::EnsureApplication();
    ui::test::Hooks& h = ui::test::ResetHooks();
    h.scriptMessageBoxes = true;
    h.driveDialogs = true;
    h.scriptFileDialogs = true;
    h.manualTimers = true;
    host::Clock::SetInstantSleep(true);
    std::string pattern = (fs::temp_directory_path() / "dq_backup_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    previous_ = fs::current_path();
    fs::create_directories(root_ / "prog");
    fs::create_directories(root_ / "db");
    fs::current_path(root_ / "prog");
    ResetProgramState();
    AppSettings().SetDefaults();
    ProgramFolder = Path("prog");
    SetStampUserCode(1);
    drives_.clear();
    host::Drives::SetMapForTesting(drives_);

    frame_ = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame_->CreateMainFrame());
    MainFrame = frame_.get();
    View().OnOpenView("");
    View().m_fnOpenDatabase = [this](const std::string& path, int isNew) {
        Db()->SetDatabaseName(path);
        const int opened = Db()->OpenDB(path + ".dbs", isNew) > 0 ? 1 : 0;
        if (opened) Db()->m_Parameters.SetInt(param::kZipBackups, 3);
        UserAccessLevel = 9;
        return opened;
    };
    View().m_fnCloseDatabase = [this] { Db()->CloseDB(); };
}

void BackupTest::TearDown()
{
    EXPECT_TRUE(Hooks().failures.empty()) << Hooks().failures.front();
    EXPECT_TRUE(Hooks().messageBoxAnswers.empty()) << "unused answers";
    EXPECT_TRUE(Hooks().dialogScripts.empty()) << "unused dialog scripts";
    if (Db() && Db()->IsOpen()) Db()->CloseDB();
    MainFrame = nullptr;
    frame_.reset();
    if (GetRefreshHold() == spy_.get()) SetRefreshHold(nullptr);
    spy_.reset();
    ui::test::ResetHooks();
    host::Drives::ClearMapForTesting();
    host::Clock::ResetTestHooks();
    ResetProgramState();
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void BackupTest::Answer(std::initializer_list<int> answers)
{
    for (int a : answers) Hooks().messageBoxAnswers.push_back(a);
}

void BackupTest::Prompt(const char* text)
{
    std::string answer = text ? text : "";
    const bool ok = text != nullptr;
    Hooks().dialogScripts.push_back([answer, ok](ui::Dialog& d) {
        if (ok) {
            ui::test::SetText(d, 1254, answer);
            ui::test::Click(d, ui::IDOK);
        } else {
            ui::test::Click(d, ui::IDCANCEL);
        }
    });
}

void BackupTest::ChooseMenuEntry(int index)
{
    Hooks().dialogScripts.push_back([index](ui::Dialog& d) {
        ui::test::SelectItem(d, 1237, index);
        ui::test::Click(d, ui::IDOK);
    });
}

void BackupTest::ClickOk()
{
    Hooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
}

void BackupTest::FileDialog(const std::string& path) { Hooks().fileDialogAnswers.push_back(path); }

void BackupTest::Write(const std::string& name, const std::string& contents) const
{
    fs::create_directories((root_ / name).parent_path());
    std::ofstream out(root_ / name, std::ios::binary);
    out << contents;
}

std::string BackupTest::Read(const std::string& name) const
{
    std::ifstream in(root_ / name, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

bool BackupTest::Exists(const std::string& name) const { return fs::exists(root_ / name); }

std::string BackupTest::MakeDatabase(int records, size_t size, const std::string& name)
{
    DbFixture fixture;
    for (int i = 0; i < records; ++i)
        fixture.Add({6, static_cast<uint32_t>(i + 1), NoiseData(size, static_cast<uint32_t>(i + 7))});
    fixture.Write(Path(name + ".dbs"));
    Write(name + ".rgs", "users of " + name);
    return Path(name);
}

void BackupTest::OpenInLauncher(const std::string& root)
{
    View().OnDatabaseOpen(root, 0);
    ASSERT_EQ(DatabaseOpen, 1);
}

CMainView& BackupTest::View() { return frame_->GetLauncher(); }
CDatabase* BackupTest::Db() { return frame_ ? frame_->GetLauncher().GetDatabase() : nullptr; }

void BackupTest::InsertDiskette(const std::string& folder, uint64_t capacity)
{
    fs::create_directories(root_ / folder);
    std::erase_if(drives_, [](const host::DriveEntry& e) { return e.letter == 'A'; });
    host::DriveEntry a;
    a.letter = 'A';
    a.folder = (root_ / folder).string();
    a.type = host::DriveType::Removable;
    a.capacity = capacity;
    drives_.push_back(a);
    host::Drives::SetMapForTesting(drives_);
}

void BackupTest::MapFixedDrive(const std::string& folder)
{
    fs::create_directories(root_ / folder);
    std::erase_if(drives_, [](const host::DriveEntry& e) { return e.letter == 'C'; });
    host::DriveEntry c;
    c.letter = 'C';
    c.folder = (root_ / folder).string();
    c.type = host::DriveType::Fixed;
    drives_.push_back(c);
    host::Drives::SetMapForTesting(drives_);
}

void BackupTest::ChangeDiskettesAt(const std::string& text, std::deque<std::string> folders)
{
    auto spy = std::make_unique<BoxSpy>(this, text, std::move(folders));
    for (const host::DriveEntry& e : drives_)
        if (e.letter == 'A') spy->capacity_ = e.capacity;
    spy_ = std::move(spy);
    SetRefreshHold(spy_.get());
}

std::string NoiseData(size_t size, uint32_t seed)
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

std::string WithoutOpenState(std::string bytes)
{
    if (bytes.size() >= 1024) {
        for (size_t i = 4; i < 8; ++i) bytes[i] = 0;
        for (size_t i = 256; i < 1023; ++i) bytes[i] = 0;
    }
    return bytes;
}
