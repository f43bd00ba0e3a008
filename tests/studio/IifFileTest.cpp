// The exchange files' reader and writer: line pieces, blank lines, line ends, the separator
// choice, the field split, and the writer's cleaning and replacement of the target.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/File.h"
#include "platform/ui/TestHooks.h"
#include "studio/IifReader.h"
#include "studio/IifWriter.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

namespace {

class IifFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dqtest::StartScriptedUi();
        folder_ = dqtest::MakeTempFolder("dq_iif_");
        ASSERT_FALSE(folder_.empty());
    }
    void TearDown() override
    {
        host::ClearInjectedFileErrors();
        dqtest::ExpectScriptsUsed();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string Write(const std::string& name, const std::string& bytes)
    {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    static std::string Read(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    std::vector<std::string> ReadAll(const std::string& bytes)
    {
        CIifReader reader;
        EXPECT_TRUE(reader.Open(Write("in.iif", bytes)));
        std::vector<std::string> lines;
        std::string line;
        while (reader.ReadLine(line)) lines.push_back(line);
        return lines;
    }
    std::string folder_;
};

TEST_F(IifFileTest, LinesLoseTrailingWhiteSpaceAndBlankLinesAreSkipped)
{
    EXPECT_EQ(ReadAll("!CUST\tNAME\t\t\r\n\r\n   \t\r\nCUST\tAnn  \r\n"),
              (std::vector<std::string>{"!CUST\tNAME", "CUST\tAnn"}));
    EXPECT_EQ(ReadAll("a;b\nc;d\n"), (std::vector<std::string>{"a;b", "c;d"})) << "LF only";
    EXPECT_EQ(ReadAll("a;b"), (std::vector<std::string>{"a;b"})) << "no line end at the end";
}

TEST_F(IifFileTest, ALongLineArrivesInPiecesOf16383)
{
    const std::string longLine(20000, 'x');
    const std::vector<std::string> lines = ReadAll(longLine + "\r\nnext\r\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].size(), 16383u);
    EXPECT_EQ(lines[1].size(), 20000u - 16383u);
    EXPECT_EQ(lines[2], "next");
    EXPECT_EQ(CIifReader::CountLines(folder_ + "/in.iif"), 3);
}

TEST_F(IifFileTest, SeparatorIsTheFirstThatGivesEnoughFields)
{
    struct Row {
        std::string line;
        std::string candidates;
        size_t minimum;
        std::string expected;
    };
    const Row rows[] = {
        {"!CUST;NAME;LASTNAME", "\t;|", 2, ";"},
        {"!CUST\tNAME;LASTNAME", "\t;|", 2, "\t"},
        {"!CUST|NAME", "\t;|", 2, "|"},
        {"!CUST", "\t;|", 2, ""},
        {"a,b\tc", "\t;,|", 2, "\t"},
        {"a,b,c", "\t;,|", 2, ","},
        {"a;b;c", "\t;|", 12, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        EXPECT_EQ(CIifReader::ChooseSeparator(row.line, row.candidates, row.minimum), row.expected);
    }
}

TEST_F(IifFileTest, EmptyFieldsBetweenSeparatorsStayATrailingOneDoesNot)
{
    struct Row {
        std::string line;
        std::vector<std::string> fields;
    };
    const Row rows[] = {
        {"a;;b", {"a", "", "b"}},
        {";a", {"", "a"}},
        {"a;b;", {"a", "b"}},
        {"a", {"a"}},
        {"", {}},
        {"\"Smith, John\";x", {"\"Smith, John\"", "x"}},
    };
    std::vector<std::string> fields;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.line);
        CIifReader::SplitFields(row.line, ';', fields);
        EXPECT_EQ(fields, row.fields);
    }
}

TEST_F(IifFileTest, WriterJoinsWithTabsEndsWithCrLfAndCleansFields)
{
    CIifWriter writer;
    writer.AddLine({"!SPL", "TRNSTYPE", "", ""});
    writer.AddLine({"SPL", "a\tb", "c\r\nd"});
    const std::string path = folder_ + "/out.iif";
    ASSERT_EQ(writer.WriteFile(path), 1);
    EXPECT_EQ(Read(path), "!SPL\tTRNSTYPE\t\t\r\nSPL\ta b\tc  d\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".$$$"));
}

TEST_F(IifFileTest, WriterCleansABreakWhereverItStandsInAFieldOfAnyLength)
{
    // Fields are copied a word at a time by length: every length up to beyond two words, clean
    // and with each break at each place, must come out whole and cleaned.
    CIifWriter writer;
    std::string expected;
    for (size_t length = 0; length <= 40; ++length) {
        std::string field;
        for (size_t i = 0; i < length; ++i) field += static_cast<char>('a' + i % 26);
        writer.AddLine({"F", field, "end"});
        expected += "F\t" + field + "\tend\r\n";
        for (size_t at = 0; at < length; ++at)
            for (char brk : {'\t', '\r', '\n'}) {
                std::string broken = field;
                broken[at] = brk;
                writer.AddLine({broken, "x"}, 3);
                std::string cleaned = field;
                cleaned[at] = ' ';
                expected += cleaned + "\tx\t\r\n";
            }
    }
    const std::string path = folder_ + "/out.iif";
    ASSERT_EQ(writer.WriteFile(path), 1);
    EXPECT_EQ(Read(path), expected);
}

TEST_F(IifFileTest, SharedRunsOfFieldsJoinLikeFieldsOfTheirOwn)
{
    // A line of a head run, fields and a tail run equals the line of all those fields; runs are
    // cleaned when made and padded to their total.
    using Run = CIifWriter::CFieldRun;
    const Run head({"TRNS", "DEP\tOSIT", "01/02/25"});
    const Run tail({"N", "Y"}, 4);
    const Run none;
    const Run emptyFields({}, 3);
    struct Case {
        const char* what;
        const Run& head;
        std::vector<std::string> fields;
        const Run& tail;
        std::string line;
    };
    const std::vector<Case> cases = {
        {"head, fields and tail", head, {"A name\r\n", "40.00"}, tail,
         "TRNS\tDEP OSIT\t01/02/25\tA name  \t40.00\tN\tY\t\t\r\n"},
        {"no fields", head, {}, tail, "TRNS\tDEP OSIT\t01/02/25\tN\tY\t\t\r\n"},
        {"one empty field", head, {""}, tail, "TRNS\tDEP OSIT\t01/02/25\t\tN\tY\t\t\r\n"},
        {"no tail", head, {"x"}, none, "TRNS\tDEP OSIT\t01/02/25\tx\r\n"},
        {"no head", none, {"x", "y"}, tail, "x\ty\tN\tY\t\t\r\n"},
        {"runs alone", none, {}, tail, "N\tY\t\t\r\n"},
        {"nothing", none, {}, none, "\r\n"},
        {"three empty fields", none, {}, emptyFields, "\t\t\r\n"},
        {"after a field", none, {"x"}, emptyFields, "x\t\t\t\r\n"},
    };
    for (const Case& c : cases) {
        CIifWriter writer;
        if (c.fields.empty()) writer.AddLine(c.head, {}, c.tail);
        else if (c.fields.size() == 1) writer.AddLine(c.head, {c.fields[0]}, c.tail);
        else writer.AddLine(c.head, {c.fields[0], c.fields[1]}, c.tail);
        const std::string path = folder_ + "/runs.iif";
        ASSERT_EQ(writer.WriteFile(path), 1) << c.what;
        EXPECT_EQ(Read(path), c.line) << c.what;
    }
}

TEST_F(IifFileTest, ALongFileGoesOutInPiecesAndAFailedPieceKeepsTheOldFile)
{
    const std::string path = Write("out.iif", "old\r\n");
    auto addLines = [](CIifWriter& writer, std::string& expected, int count) {
        for (int i = 0; i < count; ++i) {
            const std::string number = std::to_string(i);
            writer.AddLine({"TRNS", number, "a memo long enough to fill the pieces quickly"}, 11);
            expected += "TRNS\t" + number + "\ta memo long enough to fill the pieces quickly" +
                        std::string(8, '\t') + "\r\n";
        }
    };
    std::string expected;
    {
        CIifWriter writer;
        writer.AddLine({"!TRNS", "NAME"});
        expected = "!TRNS\tNAME\r\n";
        ASSERT_TRUE(writer.Begin(path));
        addLines(writer, expected, 40000);
        // Until it is finished the old file stands.
        EXPECT_EQ(Read(path), "old\r\n");
        ASSERT_EQ(writer.Finish(), 1);
    }
    EXPECT_GT(expected.size(), 2000000u);
    EXPECT_EQ(Read(path), expected);
    EXPECT_FALSE(std::filesystem::exists(path + ".$$$"));

    // A piece that cannot be written after others were: the file stays as it was.
    std::string lost;
    {
        CIifWriter writer;
        ASSERT_TRUE(writer.Begin(path));
        addLines(writer, lost, 10000);
        host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Write);
        addLines(writer, lost, 10000);
        dqtest::QueueAnswers({IDOK});
        EXPECT_EQ(writer.Finish(), 0);
    }
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(), "Error in writing file " + path);
    EXPECT_EQ(Read(path), expected);
    EXPECT_FALSE(std::filesystem::exists(path + ".$$$"));

    // One begun and dropped unfinished leaves no trace.
    {
        CIifWriter writer;
        ASSERT_TRUE(writer.Begin(path));
        addLines(writer, lost, 10000);
    }
    EXPECT_EQ(Read(path), expected);
    EXPECT_FALSE(std::filesystem::exists(path + ".$$$"));
}

TEST_F(IifFileTest, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    const std::string path = Write("out.iif", "old\r\n");
    CIifWriter writer;
    writer.AddLine({"new"});
    host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Write);
    dqtest::QueueAnswers({IDOK});
    EXPECT_EQ(writer.WriteFile(path), 0);
    EXPECT_EQ(Read(path), "old\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".$$$"));
    ASSERT_EQ(ui::test::GetHooks().messageBoxTexts.size(), 1u);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts[0], "Error in writing file " + path);

    dqtest::QueueAnswers({IDOK});
    EXPECT_EQ(writer.WriteFile(folder_ + "/missing/out.iif"), 0);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(), "Can't open output file " + folder_ + "/missing/out.iif");
}

}  // namespace
