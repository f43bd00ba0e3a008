#include "platform/host/Drives.h"
#include "platform/host/File.h"

#include "TempFolder.h"

#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using host::File;
using host::FileError;
using hosttest::TempFolder;
namespace fs = std::filesystem;

class FileTest : public ::testing::Test {
protected:
    void TearDown() override {
        host::ClearInjectedFileErrors();
        host::Drives::ClearMapForTesting();
    }
    static mode_t ModeOf(const std::string& p) {
        struct stat st{};
        stat(p.c_str(), &st);
        return st.st_mode & 07777;
    }
    TempFolder tmp_;
};

TEST_F(FileTest, CurrentAndPositionedTransfers) {
    File f;
    ASSERT_TRUE(f.OpenOrCreate(tmp_ / "data.bin"));
    ASSERT_TRUE(f.Write("HELLO WORLD", 11));
    EXPECT_EQ(f.Position(), 11);
    EXPECT_EQ(f.Size(), 11);
    ASSERT_TRUE(f.WriteAt(6, "there", 5));
    EXPECT_EQ(f.Position(), 11);  // positioned writes leave the file pointer alone

    EXPECT_EQ(f.Seek(0), 0);
    char buf[32] = {};
    size_t done = 0;
    ASSERT_TRUE(f.Read(buf, 5, &done));
    EXPECT_EQ(done, 5u);
    EXPECT_EQ(std::string(buf, 5), "HELLO");
    EXPECT_EQ(f.Seek(-5, File::Origin::End), 6);
    ASSERT_TRUE(f.Read(buf, sizeof buf, &done));
    EXPECT_EQ(std::string(buf, done), "there");
    ASSERT_TRUE(f.Read(buf, sizeof buf, &done));  // at the end: success, nothing read
    EXPECT_EQ(done, 0u);

    ASSERT_TRUE(f.ReadAt(2, buf, 100, &done));
    EXPECT_EQ(std::string(buf, done), "LLO there");
    EXPECT_EQ(f.Seek(5), 5);
    ASSERT_TRUE(f.SetEndOfFile());
    EXPECT_EQ(f.Size(), 5);
    ASSERT_TRUE(f.SetSize(8));
    EXPECT_EQ(tmp_.Read("data.bin"), std::string("HELLO\0\0\0", 8));
    ASSERT_TRUE(f.Flush());
    EXPECT_EQ(f.Seek(-1), -1);  // before the start
    ASSERT_TRUE(f.Close());
    EXPECT_FALSE(f.IsOpen());
    EXPECT_FALSE(f.Read(buf, 1));
}

TEST_F(FileTest, OpenErrorsAreClassed) {
    struct Case { std::string path; File::Disposition disp; FileError error; int code; };
    tmp_.Write("there.txt", "x");
    fs::create_directories(tmp_ / "folder");
    const Case cases[] = {
        {tmp_ / "missing.txt", File::Disposition::OpenExisting, FileError::NotFound, 2},
        {tmp_ / "no/such/x.txt", File::Disposition::OpenAlways, FileError::PathNotFound, 3},
        {tmp_ / "there.txt", File::Disposition::CreateNew, FileError::Exists, 80},
        {tmp_ / "folder", File::Disposition::OpenExisting, FileError::AccessDenied, 5},
        {"Q:\\x.dbs", File::Disposition::OpenExisting, FileError::PathNotFound, 3},
    };
    for (const Case& c : cases) {
        File f;
        EXPECT_FALSE(f.Open(c.path, File::Access::ReadWrite, c.disp)) << c.path;
        EXPECT_EQ(f.LastError(), c.error) << c.path;
        EXPECT_EQ(f.LastErrorCode(), c.code) << c.path;
        EXPECT_EQ(host::LastFileError(), c.error) << c.path;
        EXPECT_FALSE(f.LastErrorText().empty());
    }
    File f;
    EXPECT_FALSE(f.OpenExisting(tmp_ / "missing.txt"));
    EXPECT_EQ(host::LastFileErrorText(), "No such file or directory");
}

TEST_F(FileTest, ReadOnlyOpenRefusesWrites) {
    tmp_.Write("r.txt", "abc");
    File f;
    ASSERT_TRUE(f.OpenReadOnly(tmp_ / "r.txt"));
    EXPECT_FALSE(f.Write("x", 1));
    EXPECT_EQ(tmp_.Read("r.txt"), "abc");
}

TEST_F(FileTest, CreateAlwaysTruncatesAndUsesMode) {
    tmp_.Write("t.txt", "old contents");
    File f;
    ASSERT_TRUE(f.Open(tmp_ / "t.txt", File::Access::ReadWrite, File::Disposition::CreateAlways));
    EXPECT_EQ(f.Size(), 0);
    mode_t old = umask(0);
    File g;
    ASSERT_TRUE(g.Open(tmp_ / "new.dbs", File::Access::ReadWrite, File::Disposition::CreateNew, 0660));
    umask(old);
    EXPECT_EQ(ModeOf(tmp_ / "new.dbs"), 0660u);
}

TEST_F(FileTest, CopyOntoItselfIsRefusedAndLeavesTheFile) {
    tmp_.Write("self.dbs", "precious");
    fs::create_directories(tmp_ / "sub");
    ASSERT_EQ(link((tmp_ / "self.dbs").c_str(), (tmp_ / "sub/hard.dbs").c_str()), 0);
    const std::string spellings[] = {tmp_ / "self.dbs", tmp_ / "sub/../self.dbs", tmp_ / "sub/hard.dbs",
                                     tmp_.Path() + "\\SELF.DBS"};
    for (const std::string& to : spellings) {
        EXPECT_FALSE(host::CopyFile(tmp_ / "self.dbs", to, false)) << to;
        EXPECT_EQ(host::LastFileError(), FileError::AccessDenied);
        EXPECT_EQ(tmp_.Read("self.dbs"), "precious");
    }
    EXPECT_TRUE(host::SameFile(tmp_ / "self.dbs", tmp_ / "sub/hard.dbs"));
    EXPECT_FALSE(host::SameFile(tmp_ / "self.dbs", tmp_ / "missing"));
}

TEST_F(FileTest, CopyKeepsContentsModeAndTime) {
    std::string data(200000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    tmp_.Write("src.dbs", data);
    chmod((tmp_ / "src.dbs").c_str(), 0640);
    struct timespec times[2] = {{1000000000, 0}, {1000000000, 0}};
    utimensat(AT_FDCWD, (tmp_ / "src.dbs").c_str(), times, 0);

    ASSERT_TRUE(host::CopyFile(tmp_ / "src.dbs", tmp_ / "dst.dbs", true));
    EXPECT_EQ(tmp_.Read("dst.dbs"), data);
    EXPECT_EQ(ModeOf(tmp_ / "dst.dbs"), 0640u);
    time_t modified = 0;
    ASSERT_TRUE(host::GetFileModifiedTime(tmp_ / "dst.dbs", modified));
    EXPECT_EQ(modified, 1000000000);
    uint64_t size = 0;
    ASSERT_TRUE(host::GetFileSize(tmp_ / "dst.dbs", size));
    EXPECT_EQ(size, data.size());

    tmp_.Write("other", "short");
    EXPECT_FALSE(host::CopyFile(tmp_ / "other", tmp_ / "dst.dbs", true));
    EXPECT_EQ(host::LastFileErrorCode(), 80);
    EXPECT_EQ(tmp_.Read("dst.dbs"), data);
    ASSERT_TRUE(host::CopyFile(tmp_ / "other", tmp_ / "dst.dbs", false));
    EXPECT_EQ(tmp_.Read("dst.dbs"), "short");

    EXPECT_FALSE(host::CopyFile(tmp_ / "absent", tmp_ / "x", false));
    EXPECT_EQ(host::LastFileErrorCode(), 2);
    EXPECT_FALSE(host::CopyFile(tmp_ / "other", tmp_ / "no/folder/x", false));
    EXPECT_EQ(host::LastFileErrorCode(), 3);
    // Nothing but the named files is left behind.
    int count = 0;
    for (auto& e : fs::directory_iterator(tmp_.Path())) {
        (void)e;
        ++count;
    }
    EXPECT_EQ(count, 3);
}

TEST_F(FileTest, ReplaceKeepsModeOfTheReplacedFile) {
    tmp_.Write("settings.cfg", "old");
    chmod((tmp_ / "settings.cfg").c_str(), 0640);
    tmp_.Write("settings.tmp", "new");
    chmod((tmp_ / "settings.tmp").c_str(), 0600);
    ASSERT_TRUE(host::ReplaceFile(tmp_ / "settings.tmp", tmp_ / "settings.cfg"));
    EXPECT_EQ(tmp_.Read("settings.cfg"), "new");
    EXPECT_EQ(ModeOf(tmp_ / "settings.cfg"), 0640u);
    EXPECT_FALSE(host::FileExists(tmp_ / "settings.tmp"));

    // With nothing to replace the new file keeps its own mode.
    tmp_.Write("fresh.tmp", "n");
    chmod((tmp_ / "fresh.tmp").c_str(), 0600);
    ASSERT_TRUE(host::ReplaceFile(tmp_ / "fresh.tmp", tmp_ / "fresh.cfg"));
    EXPECT_EQ(ModeOf(tmp_ / "fresh.cfg"), 0600u);
}

TEST_F(FileTest, RenameDeleteAndFolders) {
    tmp_.Write("a", "1");
    tmp_.Write("b", "2");
    EXPECT_FALSE(host::RenameFile(tmp_ / "a", tmp_ / "b"));
    EXPECT_EQ(host::LastFileError(), FileError::Exists);
    EXPECT_EQ(tmp_.Read("b"), "2");
    ASSERT_TRUE(host::RenameFile(tmp_ / "a", tmp_ / "c"));
    EXPECT_EQ(tmp_.Read("c"), "1");
    ASSERT_TRUE(host::DeleteFile(tmp_ / "c"));
    EXPECT_FALSE(host::DeleteFile(tmp_ / "c"));
    EXPECT_EQ(host::LastFileError(), FileError::NotFound);

    ASSERT_TRUE(host::MakeDirectory(tmp_ / "dir"));
    EXPECT_FALSE(host::MakeDirectory(tmp_ / "dir"));
    EXPECT_EQ(host::LastFileError(), FileError::Exists);
    EXPECT_TRUE(host::FolderExists(tmp_ / "dir"));
    EXPECT_FALSE(host::FileExists(tmp_ / "dir"));
    EXPECT_TRUE(host::FileExists(tmp_ / "b"));
    EXPECT_TRUE(host::RemoveDirectory(tmp_ / "dir"));
}

TEST_F(FileTest, InjectedErrorsHitTheNextOperations) {
    tmp_.Write("src", "data");
    struct Case { FileError error; int code; };
    const Case cases[] = {
        {FileError::Exists, 80},      {FileError::DiskFull, 39},      {FileError::NotFound, 2},
        {FileError::PathNotFound, 3}, {FileError::AccessDenied, 5},   {FileError::DeviceNotReady, 21},
    };
    for (const Case& c : cases) {
        host::InjectFileError(c.error);
        EXPECT_FALSE(host::CopyFile(tmp_ / "src", tmp_ / "dst", false));
        EXPECT_EQ(host::LastFileError(), c.error);
        EXPECT_EQ(host::LastFileErrorCode(), c.code);
        EXPECT_FALSE(host::LastFileErrorText().empty());
        EXPECT_FALSE(host::FileExists(tmp_ / "dst"));
    }
    // Twice, then it works.
    host::InjectFileError(FileError::DiskFull, 2, host::FileOp::Copy);
    EXPECT_TRUE(host::FileExists(tmp_ / "src"));  // other kinds are not hit
    EXPECT_FALSE(host::CopyFile(tmp_ / "src", tmp_ / "dst", false));
    EXPECT_FALSE(host::CopyFile(tmp_ / "src", tmp_ / "dst", false));
    EXPECT_TRUE(host::CopyFile(tmp_ / "src", tmp_ / "dst", false));

    host::InjectFileError(FileError::DiskFull, 1, host::FileOp::Write);
    File f;
    ASSERT_TRUE(f.OpenExisting(tmp_ / "dst"));
    EXPECT_FALSE(f.WriteAt(0, "x", 1));
    EXPECT_EQ(f.LastErrorCode(), 39);
    EXPECT_TRUE(f.WriteAt(0, "x", 1));
    EXPECT_EQ(f.LastError(), FileError::None);

    host::InjectFileError(FileError::AccessDenied, -1, host::FileOp::Open);
    EXPECT_FALSE(f.OpenExisting(tmp_ / "dst"));
    EXPECT_FALSE(f.OpenExisting(tmp_ / "dst"));
    host::ClearInjectedFileErrors();
    EXPECT_TRUE(f.OpenExisting(tmp_ / "dst"));
}

TEST_F(FileTest, SimulatedDisketteFillsUp) {
    fs::create_directories(tmp_ / "a");
    host::Drives::SetMapForTesting({{'A', tmp_ / "a", host::DriveType::Removable, 1000}});
    tmp_.Write("big", std::string(1200, 'b'));
    tmp_.Write("small", std::string(600, 's'));

    EXPECT_FALSE(host::CopyFile(tmp_ / "big", "A:\\big", false));
    EXPECT_EQ(host::LastFileErrorCode(), 39);
    EXPECT_FALSE(host::FileExists("A:\\big"));
    ASSERT_TRUE(host::CopyFile(tmp_ / "small", "A:\\small", false));
    EXPECT_FALSE(host::CopyFile(tmp_ / "small", "A:\\second", false));
    EXPECT_EQ(host::LastFileError(), FileError::DiskFull);
    // Replacing a file counts the space it frees.
    EXPECT_TRUE(host::CopyFile(tmp_ / "small", "A:\\small", false));

    File f;
    ASSERT_TRUE(f.OpenOrCreate("A:\\piece"));
    EXPECT_TRUE(f.Write(std::string(400, 'p').data(), 400));
    EXPECT_FALSE(f.Write("q", 1));
    EXPECT_EQ(f.LastError(), FileError::DiskFull);
    EXPECT_TRUE(f.WriteAt(0, "overwrite", 9));  // no growth

    // No diskette: the folder is gone.
    fs::remove_all(tmp_ / "a");
    EXPECT_FALSE(f.OpenOrCreate("A:\\again"));
    EXPECT_EQ(f.LastErrorCode(), 21);
}

}  // namespace
