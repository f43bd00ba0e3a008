#include "InstallTestSupport.h"

#include "platform/host/Clock.h"
#include "platform/host/File.h"

#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

#include <minizip/zip.h>

#include <cstdlib>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

namespace {

constexpr const char* kSavedVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DESKTOP_DIR"};

// The "UT" extra field with the modification time only.
std::string ExtendedTime(time_t modified)
{
    const uint32_t t = static_cast<uint32_t>(modified);
    const char bytes[] = {0x55, 0x54, 5, 0, 1, static_cast<char>(t), static_cast<char>(t >> 8),
                          static_cast<char>(t >> 16), static_cast<char>(t >> 24)};
    return std::string(bytes, sizeof bytes);
}

}  // namespace

void WriteZip(const fs::path& path, const std::vector<ZipItem>& items)
{
    zipFile zip = zipOpen64(path.c_str(), APPEND_STATUS_CREATE);
    ASSERT_NE(zip, nullptr);
    for (const ZipItem& item : items) {
        zip_fileinfo info{};
        struct tm local{};
        localtime_r(&item.modified, &local);
        info.tmz_date.tm_sec = static_cast<uInt>(local.tm_sec);
        info.tmz_date.tm_min = static_cast<uInt>(local.tm_min);
        info.tmz_date.tm_hour = static_cast<uInt>(local.tm_hour);
        info.tmz_date.tm_mday = static_cast<uInt>(local.tm_mday);
        info.tmz_date.tm_mon = static_cast<uInt>(local.tm_mon);
        info.tmz_date.tm_year = static_cast<uInt>(local.tm_year + 1900);
        const bool folder = !item.name.empty() && item.name.back() == '/';
        info.external_fa = (static_cast<uLong>(item.mode) << 16) | (folder ? 0x10 : 0x20);
        const std::string extra = ExtendedTime(item.modified);
        ASSERT_EQ(zipOpenNewFileInZip4(zip, item.name.c_str(), &info, extra.data(),
                                       static_cast<uInt>(extra.size()), extra.data(),
                                       static_cast<uInt>(extra.size()), nullptr,
                                       item.data.size() > 100000 ? 0 : Z_DEFLATED,
                                       Z_DEFAULT_COMPRESSION, 0, -MAX_WBITS, DEF_MEM_LEVEL,
                                       Z_DEFAULT_STRATEGY, nullptr, 0, (3 << 8) | 20, 0),
                  ZIP_OK);
        ASSERT_EQ(zipWriteInFileInZip(zip, item.data.data(), static_cast<unsigned>(item.data.size())),
                  ZIP_OK);
        ASSERT_EQ(zipCloseFileInZip(zip), ZIP_OK);
    }
    ASSERT_EQ(zipClose(zip, nullptr), ZIP_OK);
}

std::string MakeData(size_t size, uint32_t seed)
{
    std::mt19937 gen(seed);
    std::string data(size, '\0');
    for (char& c : data)
        c = static_cast<char>(gen());
    return data;
}

void InstallTest::SetUp()
{
    dqtest::StartScriptedUi();
    host::Clock::SetInstantSleep(true);
    host::ClearInjectedFileErrors();

    root_ = dqtest::MakeTempFolder("dq_install_");
    ASSERT_FALSE(root_.empty());
    fs::create_directories(root_ / "home");
    previous_ = fs::current_path();
    fs::current_path(root_);

    for (const char* name : kSavedVariables) {
        if (const char* value = std::getenv(name))
            savedEnv_[name] = value;
        unsetenv(name);
    }
    setenv("HOME", Home().c_str(), 1);
    host::Drives::SetMapForTesting({});
}

void InstallTest::TearDown()
{
    dqtest::ExpectScriptsUsed();
    if (GetRefreshHold() == spy_.get())
        SetRefreshHold(nullptr);
    spy_.reset();
    ui::test::ResetHooks();
    host::ClearInjectedFileErrors();
    host::Drives::ClearMapForTesting();
    host::Clock::ResetTestHooks();
    for (const char* name : kSavedVariables) {
        unsetenv(name);
        if (auto it = savedEnv_.find(name); it != savedEnv_.end())
            setenv(name, it->second.c_str(), 1);
    }
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void InstallTest::Answer(std::initializer_list<int> answers) { dqtest::QueueAnswers(answers); }

void InstallTest::Write(const std::string& name, const std::string& contents) const
{
    fs::create_directories((root_ / name).parent_path());
    dqtest::WriteBytes(root_ / name, contents);
}

std::string InstallTest::Read(const std::string& name) const { return dqtest::ReadBytes(root_ / name); }

void InstallTest::InsertDiskette(const std::string& folder)
{
    fs::create_directories(root_ / folder);
    host::DriveEntry drive;
    drive.letter = 'A';
    drive.folder = (root_ / folder).string();
    drive.type = host::DriveType::Removable;
    drive.capacity = host::kDisketteCapacity;
    host::Drives::SetMapForTesting({drive});
}

void InstallTest::ChangeDiskettesAt(const std::string& text, std::deque<std::string> folders)
{
    if (GetRefreshHold() == spy_.get())
        SetRefreshHold(nullptr);
    spy_ = std::make_unique<dqtest::DiskChangeSpy>(
        "prompt:'" + text, std::move(folders),
        [this](const std::string& folder) { InsertDiskette(folder); });
    SetRefreshHold(spy_.get());
}

void InstallTest::WriteDiskette(const std::string& folder, const std::string& name,
                                const std::string& whole, uint32_t piece, uint32_t offset,
                                uint32_t size)
{
    Write(folder + "/" + name, whole.substr(offset, size));
    std::ostringstream line;
    line << piece << ',' << offset << ',' << size << ',' << whole.size() << "\r\n";
    Write(folder + "/RecombineInfo.dat", line.str());
}
