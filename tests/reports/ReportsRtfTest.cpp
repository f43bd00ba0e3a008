// REPORT.RTF as written for a list of lines, and the rich-text reader and writer behind the
// viewer: golden bytes, a read-back by our reader and by an independent one, and a reader that
// stays inside damaged or hostile input.

#include "PrintTestSupport.h"

#include "platform/ui/RecordingDC.h"
#include "platform/ui/RtfDocument.h"
#include "reports/ReportsRTF.h"
#include "widgets/ExternalPrograms.h"

#include <gmock/gmock.h>

#include <cstdio>
#include <random>

namespace {

using ReportsRtf = PrintTest;

const std::vector<std::string> kLines = {"Plain line", "back\\slash {braced}", "caf\xE9", "a\tb\tc"};

stFormatRecord BoldTabbed()
{
    stFormatRecord f = MakeFormat("Courier New", 100, 1.0f, {1.0, 2.5, 0.3333});
    f.cBold = 1;
    return f;
}

TEST_F(ReportsRtf, GoldenBytesWithTabStopsAndBold)
{
    const std::string expected =
        "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n"
        "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 System;}\r\n"
        "{\\f3\\fmodern\\fprq1 Courier New;}}\r\n"
        "{\\colortbl\\red0\\green0\\blue0;}\r\n"
        "\\deflang1033\\pard\\tx1440\\tx3600\\tx479\r\n"
        "\\plain\\f3\\fs20\\b\r\n"
        "Plain line\\par\r\n"
        "back\\\\slash \\{braced\\}\\par\r\n"
        "caf\\'e9\\par\r\n"
        "a\\tab b\\tab c\\par\r\n"
        "}\r\n";
    EXPECT_EQ(CReportsRTF::BuildReport(BoldTabbed(), kLines), expected);
}

TEST_F(ReportsRtf, FormatWithoutStopsGetsFiveDefaultStops)
{
    stFormatRecord f = MakeFormat("Arial", 125);
    const std::string bytes = CReportsRTF::BuildReport(f, {"x"});
    EXPECT_THAT(bytes, ::testing::HasSubstr("\\deflang1033\\pard\\tx1440\\tx2880\\tx4320\\tx5760\\tx7200\r\n"
                                            "\\plain\\f3\\fs25\r\n"));
}

TEST_F(ReportsRtf, FileReadsBackThroughBothReaders)
{
    CReportsRTF writer(nullptr, 0, kLines);
    // Mode 0 writes nothing; the file is written on its own here.
    EXPECT_FALSE(std::filesystem::exists(folder_ + "/REPORT.RTF"));
    dqtest::WriteBytes(folder_ + "/REPORT.RTF", CReportsRTF::BuildReport(BoldTabbed(), kLines));

    ui::RtfDocument doc;
    ASSERT_TRUE(doc.Parse(dqtest::ReadBytes(folder_ + "/REPORT.RTF")));
    ASSERT_EQ(doc.paragraphs.size(), kLines.size());
    for (size_t i = 0; i < kLines.size(); ++i) {
        EXPECT_EQ(doc.paragraphs[i].Text(), kLines[i]);
        EXPECT_EQ(doc.paragraphs[i].tabStops, (std::vector<int>{479, 1440, 3600}));
        ASSERT_EQ(doc.paragraphs[i].runs.size(), 1u);
        EXPECT_TRUE(doc.paragraphs[i].runs[0].bold);
        EXPECT_EQ(doc.paragraphs[i].runs[0].halfPoints, 20);
        EXPECT_EQ(doc.paragraphs[i].runs[0].face, "Courier New");
    }

    if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "unrtf is not installed";
    const std::string out = folder_ + "/unrtf.txt";
    ASSERT_EQ(std::system(("unrtf --text " + folder_ + "/REPORT.RTF > " + out + " 2>/dev/null").c_str()), 0);
    const std::string text = dqtest::ReadBytes(out);
    EXPECT_THAT(text, ::testing::HasSubstr("Plain line"));
    EXPECT_THAT(text, ::testing::HasSubstr("back\\slash {braced}"));
    // unrtf writes the accented letter in its output character set, and a tab as blanks.
    EXPECT_TRUE(text.find("caf\xC3\xA9") != std::string::npos || text.find("caf\xE9") != std::string::npos);
    EXPECT_THAT(text, ::testing::ContainsRegex("a\\s+b\\s+c"));
}

TEST_F(ReportsRtf, ModeOneWritesTheFileAndOpensTheViewer)
{
    std::string opened;
    SetRichTextViewerOpener([&](const std::string& doc, const ui::DCRect&) { opened = doc; });
    { CReportsRTF report(nullptr, 1, kLines); }
    SetRichTextViewerOpener(nullptr);
    EXPECT_EQ(opened, "REPORT.RTF");
    EXPECT_EQ(dqtest::ReadBytes(folder_ + "/REPORT.RTF"),
              CReportsRTF::BuildReport(CReportsRTF::DefaultFormat(), kLines));
}

TEST_F(ReportsRtf, UncreatableFileIsToldAndNothingOpens)
{
    std::filesystem::create_directory(folder_ + "/REPORT.RTF");
    bool opened = false;
    SetRichTextViewerOpener([&](const std::string&, const ui::DCRect&) { opened = true; });
    Hooks().messageBoxAnswers = {ui::IDOK};
    { CReportsRTF report(nullptr, 1, kLines); }
    SetRichTextViewerOpener(nullptr);
    EXPECT_FALSE(opened);
    EXPECT_EQ(Hooks().messageBoxTexts, (std::vector<std::string>{"Cannot open report file"}));
}

// ---- Reader ---------------------------------------------------------------------------------

struct ReadCase {
    const char* name;
    std::string input;
    std::vector<std::string> paragraphs;
};

const ReadCase kReadCases[] = {
    {"NotRtfIsPlainText", "line one\r\nline {two}\n", {"line one", "line {two}"}},
    {"UnicodeAndHexToCp1252", "{\\rtf1 a\\u233?b\\'e9\\u8364? \\u-3913?}", {"a\xE9" "b\xE9\x80 ?"}},
    {"UnknownDestinationsSkipped", "{\\rtf1{\\*\\generator x;}{\\info{\\title T}}keep{\\*\\foo secret}\\par}", {"keep"}},
    {"BinDataSkipped", "{\\rtf1 a{\\pict\\bin4 }}{}}b}", {"ab"}},
    {"BinBeyondEnd", "{\\rtf1 a\\bin99999 xyz", {"a"}},
    {"TruncatedEscapes", "{\\rtf1 ab\\'e", {"ab"}},
    {"BackslashAtEnd", "{\\rtf1 ab\\", {"ab"}},
    {"OverlongWordAndNumber", "{\\rtf1 \\" + std::string(100, 'x') + "12345678901234567890 ok}", {"ok"}},
    {"UnbalancedClose", "{\\rtf1 a}}}b", {"a"}},
    {"FontTableNames", "{\\rtf1{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\f1 z}", {"z"}},
};

class RtfRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(RtfRead, Paragraphs)
{
    ui::RtfDocument doc;
    doc.Parse(GetParam().input);
    std::vector<std::string> texts;
    for (const ui::RtfParagraph& p : doc.paragraphs) texts.push_back(p.Text());
    EXPECT_EQ(texts, GetParam().paragraphs);
}

INSTANTIATE_TEST_SUITE_P(Cases, RtfRead, ::testing::ValuesIn(kReadCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RtfReader, DeepNestingIsBoundedAndTextAfterItSurvives)
{
    std::string input = "{\\rtf1 a" + std::string(100000, '{') + "deep" + std::string(100000, '}') + "b}";
    ui::RtfDocument doc;
    doc.Parse(input);
    ASSERT_EQ(doc.paragraphs.size(), 1u);
    EXPECT_EQ(doc.paragraphs[0].Text(), "ab");
}

TEST(RtfReader, RandomInputNeverReadsPastItsEnd)
{
    std::mt19937 rng(31);
    const std::string alphabet = "{}\\'abuxt0123456789- \r\nbinfcs*";
    for (int round = 0; round < 3000; ++round) {
        std::string input = "{\\rtf1";
        const int n = static_cast<int>(rng() % 200);
        for (int i = 0; i < n; ++i)
            input += rng() % 8 == 0 ? static_cast<char>(rng() & 0xFF) : alphabet[rng() % alphabet.size()];
        ui::RtfDocument doc;
        doc.Parse(input);
        ui::RtfDocument again;
        again.Parse(doc.ToRtf());
        EXPECT_EQ(again.PlainText(), doc.PlainText()) << input;
    }
}

TEST(RtfWriter, RoundTripKeepsStylesAlignmentAndStops)
{
    ui::RtfDocument doc;
    ui::RtfParagraph p;
    p.align = ui::RtfParagraph::Center;
    p.tabStops = {720, 2880};
    ui::RtfRun a;
    a.text = "{bold}\t\\";
    a.bold = true;
    a.face = "Times New Roman";
    a.halfPoints = 28;
    ui::RtfRun b;
    b.text = "it\xE9";
    b.italic = true;
    b.underline = true;
    p.runs = {a, b};
    doc.paragraphs = {p, ui::RtfParagraph{}};
    ui::RtfDocument back;
    ASSERT_TRUE(back.Parse(doc.ToRtf()));
    ASSERT_EQ(back.paragraphs.size(), 2u);
    const ui::RtfParagraph& q = back.paragraphs[0];
    EXPECT_EQ(q.align, ui::RtfParagraph::Center);
    EXPECT_EQ(q.tabStops, p.tabStops);
    ASSERT_EQ(q.runs.size(), 2u);
    EXPECT_EQ(q.runs[0].text, a.text);
    EXPECT_TRUE(q.runs[0].bold);
    EXPECT_EQ(q.runs[0].face, "Times New Roman");
    EXPECT_EQ(q.runs[0].halfPoints, 28);
    EXPECT_EQ(q.runs[1].text, b.text);
    EXPECT_TRUE(q.runs[1].italic && q.runs[1].underline && !q.runs[1].bold);
    EXPECT_TRUE(back.paragraphs[1].runs.empty());
}

TEST(RtfPages, LinesWrapTabsAlignAndBreakIntoPages)
{
    ui::RecordingDC dc;
    ui::RtfDocument doc = ui::RtfDocument::FromPlainText("a\tb\n" + std::string(20, 'w') + " " + std::string(20, 'v'));
    doc.paragraphs[0].tabStops = {2880};
    // Narrow enough that the second paragraph wraps at its blank.
    const int dpx = dc.GetDeviceCaps(ui::LOGPIXELSX);
    dc.SelectFont(ui::Font{"Arial", 100});
    const int wordTwips = dc.GetTextExtent(std::string(20, 'w')).cx * 1440 / dpx;
    std::vector<ui::RtfPage> pages = doc.LayoutPages(dc, wordTwips + 100, 100000);
    ASSERT_EQ(pages.size(), 1u);
    ASSERT_EQ(pages[0].size(), 3u);
    ASSERT_EQ(pages[0][0].runs.size(), 2u);
    EXPECT_EQ(pages[0][0].runs[1].x, 2880);
    EXPECT_EQ(pages[0][2].runs[0].run.text, std::string(20, 'v'));
    // One line per page when a page holds one line.
    pages = doc.LayoutPages(dc, wordTwips + 100, pages[0][0].height);
    EXPECT_EQ(pages.size(), 3u);
}

}  // namespace
