#include "InstallTestSupport.h"

#include "platform/host/Clock.h"
#include "platform/host/File.h"

#include <minizip/zip.h>

#include <cstdlib>
#include <fstream>
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

// Sees every GetResponse box as it opens (through the refresh hold the box suspends) and
// changes the diskette at the scripted prompts.
class InstallTest::BoxSpy : public IRefreshHold {
public:
    BoxSpy(InstallTest* test, std::string text, std::deque<std::string> folders)
        : test_(test), text_(std::move(text)), folders_(std::move(folders)) {}
    void DisableRefreshOn(const std::string& label) override
    {
        if (label.find("prompt:'" + text_) == std::string::npos || folders_.empty())
            return;
        test_->InsertDiskette(folders_.front());
        folders_.pop_front();
    }
    void DisableRefreshOff(const std::string&) override {}

private:
    InstallTest* test_;
    std::string text_;
    std::deque<std::string> folders_;
};

void InstallTest::SetUp()
{
    ui::test::EnsureApplication();
    ui::test::Hooks& h = ui::test::ResetHooks();
    h.scriptMessageBoxes = true;
    h.driveDialogs = true;
    host::Clock::SetInstantSleep(true);
    host::ClearInjectedFileErrors();

    std::string pattern = (fs::temp_directory_path() / "dq_install_XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
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
    for (const char* name : kSavedVariables) {
        unsetenv(name);
        if (auto it = savedEnv_.find(name); it != savedEnv_.end())
            setenv(name, it->second.c_str(), 1);
    }
    fs::current_path(previous_);
    std::error_code ignored;
    fs::remove_all(root_, ignored);
}

void InstallTest::Answer(std::initializer_list<int> answers)
{
    for (int a : answers)
        Hooks().messageBoxAnswers.push_back(a);
}

void InstallTest::Write(const std::string& name, const std::string& contents) const
{
    fs::create_directories((root_ / name).parent_path());
    std::ofstream out(root_ / name, std::ios::binary);
    out << contents;
}

std::string InstallTest::Read(const std::string& name) const
{
    std::ifstream in(root_ / name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

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
    spy_ = std::make_unique<BoxSpy>(this, text, std::move(folders));
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
