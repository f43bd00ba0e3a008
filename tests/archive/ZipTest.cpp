#include <gtest/gtest.h>

#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

#include "ArchiveTestData.h"
#include "archive/ZipApi.h"
#include "archive/ZipFormat.h"

namespace {

using namespace archive_test;
namespace fs = std::filesystem;

Bytes ReadAll(const fs::path& p)
{
    std::ifstream in(p, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const fs::path& p, const Bytes& b)
{
    fs::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

void SetTime(const fs::path& p, int64_t unixSeconds)
{
    fs::last_write_time(p, std::chrono::file_clock::from_sys(
                               std::chrono::sys_seconds(std::chrono::seconds(unixSeconds))));
}

uint32_t Get16(const Bytes& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t Get32(const Bytes& b, size_t at) { return Get16(b, at) | (Get16(b, at + 2) << 16); }

int RunTool(const std::string& command) { return std::system((command + " >/dev/null 2>&1").c_str()); }

// A fresh folder per test.
class ZipTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir_ = fs::temp_directory_path() /
               ("dq_archive_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string P(const std::string& name) const { return (dir_ / name).string(); }

    // An archive of the given (name in archive, file) pairs.
    void MakeArchive(const std::string& archive, const std::vector<std::pair<std::string, std::string>>& files)
    {
        HZIP z = CreateZipFile(P(archive));
        ASSERT_NE(z, nullptr);
        for (const auto& [name, file] : files)
            ASSERT_EQ(ZipAddFile(z, name, P(file)), 0) << name;
        ASSERT_EQ(CloseZip(z), 0);
    }

    fs::path dir_;
};

TEST(ZipFormat, DosDateAndTime)
{
    struct Case {
        const char* name;
        int64_t seconds;
        uint16_t date, time;
    };
    const Case cases[] = {
        {"2006-03-04 05:06:08", 1141448768, 0x3464, 0x28C4},
        {"1980-01-01 00:00:00", 315532800, 0x0021, 0x0000},
        {"before 1980", 0, 0x0021, 0x0000},
        {"long before 1970", -5000000000, 0x0021, 0x0000},
        {"2107-12-31 23:59:59", 4354819199, 0xFF9F, 0xBF7D},
        {"after 2107", 5000000000, 0xFF9F, 0xBF7D},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        uint16_t date = 0, time = 0;
        ZipDosDateTime(c.seconds, &date, &time);
        EXPECT_EQ(date, c.date);
        EXPECT_EQ(time, c.time);
    }
    EXPECT_EQ(ZipDosToUnix(0x3464, 0x28C4), 1141448768);
}

TEST(ZipFormat, ExternalAttributes)
{
    struct Case {
        uint32_t win32;
        bool exec;
        uint32_t expected;
    };
    const Case cases[] = {
        {kAttrReadOnly, false, 0x81000001},
        {kAttrReadOnly | kAttrArchive, false, 0x81000021},
        {kAttrArchive, false, 0x81800020},
        {kAttrArchive | kAttrNormal | 0x100, false, 0x81800020},  // other bits dropped
        {kAttrArchive, true, 0x81C00020},
        {kAttrDirectory, false, 0x41800010},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ZipExternalAttributes(c.win32, c.exec), c.expected) << std::hex << c.win32;
}

TEST(ZipFormat, StoredNames)
{
    for (const char* name : {"backup.zip", "X.ZIP", "a.Z", "b.gz", "c.TGZ", "d.lzh", "e.arj", "f.arc", "g.zoo"})
        EXPECT_TRUE(ZipNameIsStored(name)) << name;
    for (const char* name : {"data.dbs", "zip", "a.z7", "notes.txt", "archive.zipx"})
        EXPECT_FALSE(ZipNameIsStored(name)) << name;
}

TEST_F(ZipTest, StandardToolsAcceptWhatWeWrite)
{
    WriteAll(dir_ / "data.dbs", DatabaseLike(300000));
    WriteAll(dir_ / "empty.txt", {});
    WriteAll(dir_ / "one.bin", {0x5A});
    WriteAll(dir_ / "random.bin", RandomBytes(100000, 2));
    WriteAll(dir_ / "zeros.bin", Bytes(200000, 0));
    WriteAll(dir_ / "backup.zip", Text(5000));
    MakeArchive("out.zip", {{"data.dbs", "data.dbs"},
                            {"empty.txt", "empty.txt"},
                            {"one.bin", "one.bin"},
                            {"sub\\random.bin", "random.bin"},
                            {"zeros.bin", "zeros.bin"},
                            {"backup.zip", "backup.zip"}});
    EXPECT_EQ(RunTool("unzip -t -q '" + P("out.zip") + "'"), 0);
    EXPECT_EQ(RunTool("python3 -c \"import sys,zipfile; z=zipfile.ZipFile(sys.argv[1]); "
                  "sys.exit(1 if z.testzip() is not None else 0)\" '" + P("out.zip") + "'"),
              0);
    // Info-ZIP's listing shows the names with "/" and the methods.
    FILE* p = popen(("unzip -Z -1 '" + P("out.zip") + "'").c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string listing;
    char buf[256];
    while (fgets(buf, sizeof buf, p))
        listing += buf;
    pclose(p);
    EXPECT_EQ(listing, "data.dbs\nempty.txt\none.bin\nsub/random.bin\nzeros.bin\nbackup.zip\n");
}

TEST_F(ZipTest, HeadersHoldTheFinalValues)
{
    const Bytes data = Text(40000);
    WriteAll(dir_ / "data.dbs", data);
    SetTime(dir_ / "data.dbs", 1141448768);  // 2006-03-04 05:06:08 UTC
    fs::permissions(dir_ / "data.dbs", fs::perms(0644));
    WriteAll(dir_ / "backup.zip", Text(100));
    MakeArchive("h.zip", {{"data.dbs", "data.dbs"}, {"backup.zip", "backup.zip"}});
    const Bytes z = ReadAll(dir_ / "h.zip");

    // Local header of the deflated entry.
    ASSERT_EQ(Get32(z, 0), 0x04034b50u);
    EXPECT_EQ(Get16(z, 4), 20u);
    EXPECT_EQ(Get16(z, 6), 2u);  // flags: deflate option bit only
    EXPECT_EQ(Get16(z, 8), 8u);
    EXPECT_EQ(Get16(z, 10), 0x28C4u);
    EXPECT_EQ(Get16(z, 12), 0x3464u);
    EXPECT_EQ(Get32(z, 14), crc32(0, data.data(), static_cast<uInt>(data.size())));
    const uint32_t csize = Get32(z, 18);
    EXPECT_EQ(Get32(z, 22), data.size());
    ASSERT_EQ(Get16(z, 26), 8u);
    ASSERT_EQ(Get16(z, 28), 17u);
    const size_t extra = 30 + 8;
    EXPECT_EQ(z[extra], 'U');
    EXPECT_EQ(z[extra + 1], 'T');
    EXPECT_EQ(Get16(z, extra + 2), 13u);
    EXPECT_EQ(z[extra + 4], 7);
    EXPECT_EQ(Get32(z, extra + 5), 1141448768u);
    // No data descriptor: the next local header follows the data at once.
    const size_t second = extra + 17 + csize;
    ASSERT_EQ(Get32(z, second), 0x04034b50u);
    EXPECT_EQ(Get16(z, second + 6), 0u);  // stored entry: flags 0
    EXPECT_EQ(Get16(z, second + 8), 0u);
    EXPECT_EQ(Get32(z, second + 18), 100u);

    // Central directory and end record.
    const size_t end = z.size() - 22;
    ASSERT_EQ(Get32(z, end), 0x06054b50u);
    EXPECT_EQ(Get16(z, end + 8), 2u);
    EXPECT_EQ(Get16(z, end + 10), 2u);
    const size_t cd = Get32(z, end + 16);
    EXPECT_EQ(cd + Get32(z, end + 12), end);
    ASSERT_EQ(Get32(z, cd), 0x02014b50u);
    EXPECT_EQ(Get16(z, cd + 4), 0x0B17u);
    EXPECT_EQ(Get16(z, cd + 6), 20u);
    EXPECT_EQ(Get16(z, cd + 8), 2u);
    EXPECT_EQ(Get16(z, cd + 30), 9u);
    EXPECT_EQ(Get32(z, cd + 38), 0x81800020u);
    EXPECT_EQ(Get32(z, cd + 42), 0u);
    EXPECT_EQ(Get16(z, cd + 46 + 8 + 2), 5u);
}

TEST_F(ZipTest, AttributesOfReadOnlyAndExecutableFiles)
{
    WriteAll(dir_ / "ro.dbs", Text(10));
    WriteAll(dir_ / "prog", Text(10));
    fs::permissions(dir_ / "ro.dbs", fs::perms(0444));
    fs::permissions(dir_ / "prog", fs::perms(0755));
    MakeArchive("a.zip", {{"ro.dbs", "ro.dbs"}, {"prog", "prog"}});
    fs::permissions(dir_ / "ro.dbs", fs::perms(0644));
    // Python reports each entry's external attributes.
    FILE* p = popen(("python3 -c \"import sys,zipfile; [print(hex(i.external_attr)) for i in "
                     "zipfile.ZipFile(sys.argv[1]).infolist()]\" '" + P("a.zip") + "'").c_str(), "r");
    ASSERT_NE(p, nullptr);
    char buf[256];
    std::string out;
    while (fgets(buf, sizeof buf, p))
        out += buf;
    pclose(p);
    EXPECT_EQ(out, "0x81000021\n0x81c00020\n");
    // Our reader gives the restored program its execute bit back; the data file gets none.
    HZIP h = OpenUnzipFile(P("a.zip"));
    ASSERT_NE(h, nullptr);
    SetUnzipBaseFolder(h, P("x"));
    ASSERT_EQ(UnzipItemToFile(h, 0, "ro.dbs"), 0);
    ASSERT_EQ(UnzipItemToFile(h, 1, "prog"), 0);
    CloseUnzip(h);
    EXPECT_NE(fs::status(dir_ / "x" / "prog").permissions() & fs::perms::owner_exec, fs::perms::none);
    EXPECT_EQ(fs::status(dir_ / "x" / "ro.dbs").permissions() & fs::perms::owner_exec, fs::perms::none);
}

TEST_F(ZipTest, CentralDirectoryKeepsTheOrderAdded)
{
    for (const char* n : {"a", "b", "c"})
        WriteAll(dir_ / n, Text(100));
    MakeArchive("o.zip", {{"c", "c"}, {"a", "a"}, {"b", "b"}});
    HZIP h = OpenUnzipFile(P("o.zip"));
    ASSERT_NE(h, nullptr);
    ZIP_ITEM_INFO info;
    ASSERT_EQ(GetUnzipItem(h, -1, &info), 0);
    EXPECT_EQ(info.index, 3);
    std::string order;
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(GetUnzipItem(h, i, &info), 0);
        order += info.name;
    }
    EXPECT_EQ(order, "cab");
    EXPECT_EQ(GetUnzipItem(h, 3, &info), kZipErrArgs);
    EXPECT_EQ(GetUnzipItem(h, -2, &info), kZipErrArgs);
    EXPECT_EQ(CloseUnzip(h), 0);
}

TEST_F(ZipTest, RoundTripThroughOurReader)
{
    const std::vector<std::pair<std::string, Bytes>> files = {
        {"empty", {}}, {"one", {0x41}}, {"text.txt", Text(70000)}, {"random.bin", RandomBytes(70000, 3)},
        {"zeros", Bytes(100000, 0)}, {"db.dbs", DatabaseLike(200000)},
    };
    std::vector<std::pair<std::string, std::string>> entries;
    for (const auto& [name, data] : files) {
        WriteAll(dir_ / "src" / name, data);
        SetTime(dir_ / "src" / name, 1300000000);
        entries.push_back({"data/sub/" + name, "src/" + name});
    }
    MakeArchive("r.zip", entries);

    HZIP h = OpenUnzipFile(P("r.zip"));
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(SetUnzipBaseFolder(h, P("out")), 0);
    for (size_t i = 0; i < files.size(); ++i) {
        ZIP_ITEM_INFO info;
        ASSERT_EQ(GetUnzipItem(h, static_cast<int>(i), &info), 0);
        EXPECT_EQ(info.uncompressedSize, static_cast<int32_t>(files[i].second.size()));
        EXPECT_EQ(FileTimeToUnix(info.writeTime), 1300000000);
        // The folders data and data/sub are made on the way.
        ASSERT_EQ(UnzipItemToFile(h, static_cast<int>(i), info.name), 0) << info.name;
        const fs::path out = dir_ / "out" / "data" / "sub" / files[i].first;
        EXPECT_TRUE(ReadAll(out) == files[i].second) << files[i].first;
        EXPECT_EQ(fs::last_write_time(out), std::chrono::file_clock::from_sys(
                                                std::chrono::sys_seconds(std::chrono::seconds(1300000000))));
    }
    EXPECT_EQ(CloseUnzip(h), 0);
}

TEST_F(ZipTest, InfoZipArchivesRestore)
{
    WriteAll(dir_ / "in" / "db.dbs", DatabaseLike(100000));
    WriteAll(dir_ / "in" / "packed.zip", Text(3000));
    WriteAll(dir_ / "in" / "folder" / "note.txt", Text(500));
    ASSERT_EQ(RunTool("cd '" + P("in") + "' && zip -q -r -X '" + P("iz.zip") + "' db.dbs folder && zip -q -0 '" +
                  P("iz.zip") + "' packed.zip"),
              0);
    HZIP h = OpenUnzipFile(P("iz.zip"));
    ASSERT_NE(h, nullptr);
    ZIP_ITEM_INFO info;
    ASSERT_EQ(GetUnzipItem(h, -1, &info), 0);
    SetUnzipBaseFolder(h, P("out"));
    for (int i = 0; i < info.index; ++i) {
        ZIP_ITEM_INFO item;
        ASSERT_EQ(GetUnzipItem(h, i, &item), 0);
        ASSERT_EQ(UnzipItemToFile(h, i, item.name), 0) << item.name;
    }
    CloseUnzip(h);
    EXPECT_TRUE(ReadAll(dir_ / "out" / "db.dbs") == ReadAll(dir_ / "in" / "db.dbs"));
    EXPECT_TRUE(ReadAll(dir_ / "out" / "packed.zip") == ReadAll(dir_ / "in" / "packed.zip"));
    EXPECT_TRUE(ReadAll(dir_ / "out" / "folder" / "note.txt") == ReadAll(dir_ / "in" / "folder" / "note.txt"));
}

TEST_F(ZipTest, ExtractingReplacesALongerFile)
{
    WriteAll(dir_ / "small.dbs", Text(1000));
    MakeArchive("s.zip", {{"small.dbs", "small.dbs"}});
    WriteAll(dir_ / "target.dbs", RandomBytes(50000, 8));
    HZIP h = OpenUnzipFile(P("s.zip"));
    ASSERT_NE(h, nullptr);
    ASSERT_EQ(UnzipItemToFile(h, 0, P("target.dbs")), 0);  // an absolute name is used as is
    CloseUnzip(h);
    EXPECT_TRUE(ReadAll(dir_ / "target.dbs") == Text(1000));
}

TEST_F(ZipTest, NamesOutsideTheFolderAreRefused)
{
    // An archive whose stored names try to leave the target folder.
    WriteAll(dir_ / "payload", Text(10));
    ASSERT_EQ(RunTool("python3 -c \"import sys,zipfile; z=zipfile.ZipFile(sys.argv[1],'w'); "
                  "[z.writestr(n, 'x') for n in ['../evil', '/abs/evil', 'C:/evil', 'ok/fine', 'a/../../evil']]; "
                  "z.close()\" '" + P("evil.zip") + "'"),
              0);
    HZIP h = OpenUnzipFile(P("evil.zip"));
    ASSERT_NE(h, nullptr);
    auto* archive = static_cast<CUnzipArchive*>(h->state);
    fs::create_directories(dir_ / "t");
    const std::vector<int> expected = {kZipErrArgs, kZipErrArgs, kZipErrArgs, 0, kZipErrArgs};
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(archive->ExtractItemUnder(i, P("t")), expected[i]) << i;
    EXPECT_TRUE(fs::exists(dir_ / "t" / "ok" / "fine"));
    // A relative name handed to UnzipItemToFile stays below the base folder.
    SetUnzipBaseFolder(h, P("t/inner"));
    EXPECT_EQ(UnzipItemToFile(h, 3, "../escaped"), kZipErrArgs);
    EXPECT_EQ(UnzipItemToFile(h, 3, "..\\escaped"), kZipErrArgs);
    CloseUnzip(h);
    EXPECT_FALSE(fs::exists(dir_ / "evil"));
    EXPECT_FALSE(fs::exists(dir_ / "t" / "escaped"));
}

TEST_F(ZipTest, HandleChecksAndLastErrors)
{
    WriteAll(dir_ / "f", Text(10));
    MakeArchive("k.zip", {{"f", "f"}});
    EXPECT_EQ(CloseZip(nullptr), kZipErrArgs);
    EXPECT_EQ(GetZipLastError(), kZipErrArgs);
    EXPECT_EQ(CloseUnzip(nullptr), kZipErrArgs);
    EXPECT_FALSE(IsUnzipHandle(nullptr));

    HZIP r = OpenUnzipFile(P("k.zip"));
    ASSERT_NE(r, nullptr);
    EXPECT_TRUE(IsUnzipHandle(r));
    EXPECT_EQ(CloseZip(r), kZipErrKind);  // frees nothing: the handle still works
    ZIP_ITEM_INFO info;
    EXPECT_EQ(GetUnzipItem(r, 0, &info), 0);
    EXPECT_STREQ(info.name, "f");
    EXPECT_EQ(GetUnzipItem(r, 0, &info), 0);  // the remembered entry
    EXPECT_EQ(CloseUnzip(r), 0);

    HZIP w = CreateZipFile(P("w.zip"));
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(IsUnzipHandle(w));
    EXPECT_EQ(CloseUnzip(w), kZipErrKind);
    EXPECT_EQ(GetUnzipLastError(), kZipErrKind);
    EXPECT_EQ(ZipAddFile(w, "", P("f")), kZipErrArgs);
    EXPECT_EQ(ZipAddFile(w, "missing", P("no such file")), kZipErrOpen);
    EXPECT_EQ(GetZipLastError(), kZipErrOpen);
    EXPECT_EQ(ZipAddFile(w, "f", P("f")), 0);  // later adds go on
    EXPECT_EQ(CloseZip(w), 0);
    EXPECT_EQ(RunTool("unzip -t -q '" + P("w.zip") + "'"), 0);

    EXPECT_EQ(OpenUnzipFile(P("absent.zip")), nullptr);
    EXPECT_EQ(GetUnzipLastError(), kZipErrOpen);
    EXPECT_EQ(CreateZipFile(P("no/such/folder/x.zip")), nullptr);
    EXPECT_EQ(GetZipLastError(), kZipErrOpen);
}

TEST_F(ZipTest, DamagedArchivesAreReportedNotCrashed)
{
    WriteAll(dir_ / "db.dbs", DatabaseLike(50000));
    MakeArchive("d.zip", {{"db.dbs", "db.dbs"}});
    Bytes good = ReadAll(dir_ / "d.zip");
    // A flipped byte inside the compressed data: the item fails (CRC or inflate error).
    Bytes bad = good;
    bad[30 + 6 + 17 + 100] ^= 0x55;
    WriteAll(dir_ / "bad.zip", bad);
    HZIP h = OpenUnzipFile(P("bad.zip"));
    ASSERT_NE(h, nullptr);
    EXPECT_NE(UnzipItemToFile(h, 0, P("out.dbs")), 0);
    CloseUnzip(h);
    // Cut archives do not open, or fail on their item.
    for (size_t cut : {size_t(10), good.size() / 2, good.size() - 5}) {
        WriteAll(dir_ / "cut.zip", Bytes(good.begin(), good.begin() + static_cast<long>(cut)));
        HZIP c = OpenUnzipFile(P("cut.zip"));
        if (c != nullptr) {
            EXPECT_NE(UnzipItemToFile(c, 0, P("out2.dbs")), 0);
            CloseUnzip(c);
        }
    }
}

}  // namespace
