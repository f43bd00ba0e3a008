#include "tests/support/FilesTestSupport.h"

#include "common/DataPaths.h"
#include "common/TextFile.h"

#include "platform/host/Format.h"

#include <ctime>

namespace {

class PathsTest : public FilesTest {
protected:
    void TearDown() override
    {
        DatabaseFolder.clear();
        ProgramFolder.clear();
        FilesTest::TearDown();
    }
};

TEST_F(PathsTest, BuildDataFilePath)
{
    struct Case {
        const char* database;
        const char* program;
        const char* name;
        const char* extension;
        const char* expected;
    };
    const Case cases[] = {
        {"C:\\Studio", "C:\\Prog", "Classes", "htm", "C:\\Studio\\Classes.htm"},
        {"C:\\Studio", "C:\\Prog", "Classes", ".htm", "C:\\Studio\\Classes.htm"},
        {"C:\\Studio", "", "Classes", "", "C:\\Studio\\Classes"},
        {"", "C:\\Prog", "Classes", ".htm", "C:\\Prog\\Classes.htm"},
        {"", "", "Classes", "htm", "Classes.htm"},
        {"", "", "Classes", ".", "Classes"},
        {"", "", "Classes", "", "Classes"},
    };
    for (const Case& c : cases) {
        DatabaseFolder = c.database;
        ProgramFolder = c.program;
        EXPECT_EQ(BuildDataFilePath(c.name, c.extension), c.expected)
            << c.database << "|" << c.program << "|" << c.extension;
    }
}

TEST_F(PathsTest, GetFolderPart)
{
    EXPECT_EQ(GetFolderPart("\"C:\\Program Files\\Studio\\Dorvalquintex.exe\""),
              "C:\\Program Files\\Studio");
    EXPECT_EQ(GetFolderPart("C:\\a.dbs"), "C:");
    EXPECT_EQ(GetFolderPart("a.dbs"), "");
    EXPECT_EQ(GetFolderPart("/home/ann/studio.dbs"), "/home/ann");
}

TEST_F(PathsTest, GetPathInCurrentFolderJoinsTheNameUnchanged)
{
    const std::string path = GetPathInCurrentFolder("REPORT.RTF");
    EXPECT_EQ(path, root_.string() + "\\REPORT.RTF");
    Write("REPORT.RTF", "x");
    EXPECT_TRUE(host::FileExists(path));
}

TEST_F(PathsTest, ListFilesWithDatesAndFileDate)
{
    Write("data/b.dbs", "1");
    Write("data/A.DBS", "2");
    Write("data/c.txt", "3");
    // 2024-03-05 14:07 local time for every file.
    host::LocalTime t;
    t.year = 2024;
    t.month = 3;
    t.day = 5;
    t.hour = 14;
    t.minute = 7;
    t.isDst = -1;
    time_t when = 0;
    ASSERT_TRUE(host::Clock::FromLocal(t, when));
    for (const char* name : {"data/b.dbs", "data/A.DBS", "data/c.txt"})
        std::filesystem::last_write_time(
            root_ / name, std::filesystem::file_time_type::clock::now() -
                              std::chrono::seconds(std::time(nullptr) - when));

    std::vector<std::string> names{"kept"}, dates{"kept"};
    ListFilesWithDates(Prog("data") + "\\*.dbs", names, dates, 1);
    ASSERT_EQ(names.size(), 3u);
    EXPECT_EQ(names[1], Prog("data") + "\\A.DBS");
    EXPECT_EQ(names[2], Prog("data") + "\\b.dbs");
    EXPECT_EQ(dates[1], "Tue, Mar 05, 2024 02:07 PM");

    names.clear();
    dates.clear();
    ListFilesWithDates(Prog("data") + "\\*.*", names, dates, 0);
    EXPECT_EQ(names, (std::vector<std::string>{"A.DBS", "b.dbs", "c.txt"}));

    ListFilesWithDates(Prog("data") + "\\*.none", names, dates, 0);
    EXPECT_EQ(names.size(), 3u) << "nothing found leaves the lists as they are";

    EXPECT_EQ(GetFileDateText(Prog("data/c.txt")), "03/05/2024 14:07");
    EXPECT_EQ(GetFileDateText(Prog("data/none.txt")), "");
}

TEST_F(PathsTest, TextLinesEndInCrLfAndReadBackWithoutThem)
{
    ASSERT_EQ(WriteLinesToFile(Prog("out.txt"), {"first", "second  ", ""}), 1);
    EXPECT_EQ(Read("out.txt"), "first\r\nsecond  \r\n\r\n");
    std::vector<std::string> lines{"kept"};
    ReadLinesFromFile(Prog("out.txt"), lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"kept", "first", "second", ""}));

    // LF line ends and a last line without one.
    Write("lf.txt", "one\ntwo\t \nthree");
    lines.clear();
    ReadLinesFromFile(Prog("lf.txt"), lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three"}));

    // A missing file leaves the list alone, silently.
    ReadLinesFromFile(Prog("none.txt"), lines);
    EXPECT_EQ(lines.size(), 3u);
}

TEST_F(PathsTest, LongLinesArriveInPieces)
{
    Write("long.txt", std::string(1500, 'x') + "\r\n");
    std::vector<std::string> lines;
    ReadLinesFromFile(Prog("long.txt"), lines);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), 1023u);
    EXPECT_EQ(lines[1].size(), 477u);

    std::FILE* file = std::fopen(Host("long.txt").c_str(), "rb");
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ReadTextLine(file).size(), 999u);
    EXPECT_EQ(ReadTextLine(file).size(), 501u);
    EXPECT_EQ(ReadTextLine(file), "");
    std::fclose(file);
}

TEST_F(PathsTest, OutputFileThatCannotBeOpenedIsReported)
{
    Answer({ui::IDOK});
    const std::string path = Prog("missing-folder") + "\\out.txt";
    EXPECT_EQ(WriteLinesToFile(path, {"x"}), 0);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], Format("Can't open output file %s", path.c_str()));
}

TEST_F(PathsTest, SplitLines)
{
    std::vector<std::string> lines{"old"};
    SplitLines("a\r\nb\r\n\r\nc", lines);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b", "", "c"}));
}

TEST_F(PathsTest, LineEndsAsATextModeWriteStoresThem)
{
    EXPECT_EQ(WithCrLf("A|1\nB\r\n\nC"), "A|1\r\nB\r\n\r\nC");
    EXPECT_EQ(WithCrLf("\n"), "\r\n");
    EXPECT_EQ(WithCrLf(""), "");
}

}  // namespace
