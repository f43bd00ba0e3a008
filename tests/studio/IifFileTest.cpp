// The exchange files' reader and writer: line pieces, blank lines, line ends, the separator
// choice, the field split, and the writer's cleaning and replacement of the target.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

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
