#include "BackupTestSupport.h"

#include "tests/database/DbFixture.h"
#include "widgets/CommandGuards.h"
#include "common/DataPaths.h"
#include "records/RecordBuffer.h"
#include "database/Database.h"
#include "database/SettingsRecords.h"
#include "platform/host/Clock.h"
#include "platform/ui/Dialog.h"
#include "shell/MainFrame.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"

#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace fs = std::filesystem;

void BackupTest::SetUp()
{
    ui::test::Hooks& h = dqtest::StartScriptedUi();
    h.scriptFileDialogs = true;
    h.manualTimers = true;
    host::Clock::SetInstantSleep(true);
    root_ = dqtest::MakeTempFolder("dq_backup_");
    ASSERT_FALSE(root_.empty());
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
    dqtest::ExpectScriptsUsed();
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

void BackupTest::Answer(std::initializer_list<int> answers) { dqtest::QueueAnswers(answers); }

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
    dqtest::WriteBytes(root_ / name, contents);
}

std::string BackupTest::Read(const std::string& name) const { return dqtest::ReadBytes(root_ / name); }

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
    dqtest::PutDrive(drives_, 'A', (root_ / folder).string(), host::DriveType::Removable, capacity);
}

void BackupTest::MapFixedDrive(const std::string& folder)
{
    fs::create_directories(root_ / folder);
    dqtest::PutDrive(drives_, 'C', (root_ / folder).string(), host::DriveType::Fixed, 0);
}

void BackupTest::ChangeDiskettesAt(const std::string& text, std::deque<std::string> folders)
{
    // Each diskette put in keeps the capacity of the one in the drive now.
    uint64_t capacity = 0;
    for (const host::DriveEntry& e : drives_)
        if (e.letter == 'A') capacity = e.capacity;
    spy_ = std::make_unique<dqtest::DiskChangeSpy>(
        text, std::move(folders),
        [this, capacity](const std::string& folder) { InsertDiskette(folder, capacity); });
    SetRefreshHold(spy_.get());
}

std::string NoiseData(size_t size, uint32_t seed) { return dqtest::NoiseBytes(size, seed); }

std::string WithoutOpenState(std::string bytes)
{
    if (bytes.size() >= 1024) {
        for (size_t i = 4; i < 8; ++i) bytes[i] = 0;
        for (size_t i = 256; i < 1023; ++i) bytes[i] = 0;
    }
    return bytes;
}
