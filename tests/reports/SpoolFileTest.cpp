// The spool file "PRNTFILE.PRN": record bytes, the length prefixes, the wide string form, the
// format references and damaged files.
#include "PrintTestSupport.h"

#include "reports/PrintSpoolFile.h"

#include <gtest/gtest.h>

namespace {

using Spool = PrintTest;

std::string Bytes(std::initializer_list<int> values)
{
    std::string out;
    for (int v : values)
        out += static_cast<char>(v);
    return out;
}

// Reads every record of the spool file up to and including the end record.
std::vector<stFmtString> ReadAll()
{
    host::File file;
    EXPECT_TRUE(file.OpenReadOnly(kSpoolFileName));
    CPageLineArchive ar(file, CPageLineArchive::load);
    std::vector<stFmtString> lines;
    do {
        lines.emplace_back();
        ReadPageLineRecord(ar, lines.back());
    } while (lines.back().strText != kSpoolEndText);
    return lines;
}

CArchiveException::Cause ReadFailure()
{
    try {
        ReadAll();
    } catch (const CArchiveException& e) {
        return e.cause;
    }
    ADD_FAILURE() << "the damaged file was read without an error";
    return CArchiveException::readFault;
}

TEST_F(Spool, RecordBytesAndEndRecord)
{
    const stFormatRecord body = MakeFormat();
    const stFormatRecord heading = MakeFormat("Arial", 140);
    ASSERT_TRUE(WritePageLineFile({{&heading, 'H', "Title"}, {&body, '-', "a\tb"},
                                   {&body, '-', ""}, {&heading, 'H', "Next"}}));
    const std::string expected =
        Bytes({0, 0, 0, 0, 'H', 5}) + "Title" +       // first format: reference 0
        Bytes({1, 0, 0, 0, '-', 3}) + "a\tb" +         // second format: reference 1
        Bytes({1, 0, 0, 0, '-', 0}) +                  // an empty text: length 0, no characters
        Bytes({0, 0, 0, 0, 'H', 4}) + "Next" +         // a format met again keeps its reference
        Bytes({0, 0, 0, 0, 'H', 17}) + kSpoolEndText;  // the end record: last line's format and kind
    EXPECT_EQ(ReadSpoolBytes(), expected);

    const std::vector<stFmtString> lines = ReadAll();
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].pFormat, &heading);
    EXPECT_EQ(lines[1].pFormat, &body);
    EXPECT_EQ(lines[1].strText, "a\tb");
    EXPECT_EQ(lines[2].strText, "");
    EXPECT_EQ(lines[4].cKind, 'H') << "the end record may carry a header's kind";
}

TEST_F(Spool, NothingMarkedWritesOnlyTheEndRecord)
{
    ASSERT_TRUE(WritePageLineFile({}));
    EXPECT_EQ(ReadSpoolBytes(), Bytes({0xFF, 0xFF, 0xFF, 0xFF, '-', 17}) + kSpoolEndText);
    const std::vector<stFmtString> lines = ReadAll();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].pFormat, nullptr);
}

TEST_F(Spool, LengthPrefixes)
{
    struct Case {
        size_t length;
        std::string prefix;
    };
    const Case cases[] = {
        {0, Bytes({0x00})},
        {254, Bytes({0xFE})},
        {255, Bytes({0xFF, 0xFF, 0x00})},
        {0xFFFD, Bytes({0xFF, 0xFD, 0xFF})},
        {0xFFFE, Bytes({0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00})},
        {70000, Bytes({0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00})},
    };
    const stFormatRecord body = MakeFormat();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.length);
        const std::string text(c.length, 'x');
        ASSERT_TRUE(WritePageLineFile({{&body, '-', text}}));
        const std::string bytes = ReadSpoolBytes();
        EXPECT_EQ(bytes.substr(5, c.prefix.size()), c.prefix);
        EXPECT_EQ(bytes.size(), 5 + c.prefix.size() + c.length + 5 + 1 + 17);
        const std::vector<stFmtString> lines = ReadAll();
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].strText, text);
    }
}

TEST_F(Spool, ReaderAcceptsTheWideForm)
{
    const stFormatRecord body = MakeFormat();
    ASSERT_TRUE(WritePageLineFile({{&body, '-', "x"}}));  // enters the format as reference 0
    // "Aé€" as UTF-16: the marker 0xFF 0xFFFE, the count of 16-bit characters, the characters.
    WriteSpoolBytes(Bytes({0, 0, 0, 0, '-', 0xFF, 0xFE, 0xFF, 3, 'A', 0, 0xE9, 0, 0xAC, 0x20}) +
                    Bytes({0, 0, 0, 0, '-', 17}) + kSpoolEndText);
    const std::vector<stFmtString> lines = ReadAll();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].strText, "A\xE9\x80");
    EXPECT_EQ(lines[0].pFormat, &body);
}

TEST_F(Spool, MarkersAreExactOneCharacterTexts)
{
    EXPECT_TRUE(IsSpoolMarker("^"));
    EXPECT_TRUE(IsSpoolMarker("<"));
    EXPECT_TRUE(IsSpoolMarker(">"));
    EXPECT_FALSE(IsSpoolMarker("^ "));
    EXPECT_FALSE(IsSpoolMarker(""));
    EXPECT_FALSE(IsSpoolMarker("<<"));
}

TEST_F(Spool, DamagedFilesRaiseErrors)
{
    const stFormatRecord body = MakeFormat();
    ASSERT_TRUE(WritePageLineFile({{&body, '-', "Some line"}}));
    const std::string good = ReadSpoolBytes();

    // No end record: the reader runs into the end of the file.
    WriteSpoolBytes(good.substr(0, good.size() - 23));
    EXPECT_EQ(ReadFailure(), CArchiveException::endOfFile);
    // Cut inside a text.
    WriteSpoolBytes(good.substr(0, 9));
    EXPECT_EQ(ReadFailure(), CArchiveException::endOfFile);
    // A length far beyond the file is a cut record, not an allocation.
    WriteSpoolBytes(Bytes({0, 0, 0, 0, '-', 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}) +
                    Bytes({0xFF, 0xFF, 0xFF, 0xFF, 0x7F}));
    EXPECT_EQ(ReadFailure(), CArchiveException::endOfFile);
    // A format reference the table never held.
    WriteSpoolBytes(Bytes({9, 0, 0, 0, '-', 1, 'x'}) + good.substr(15));
    EXPECT_EQ(ReadFailure(), CArchiveException::badReference);
}

TEST_F(Spool, UnwritableSpoolIsReported)
{
    // A folder in the spool file's place cannot be created as a file.
    std::filesystem::create_directory(folder_ + "/" + kSpoolFileName);
    Hooks().messageBoxAnswers = {ui::IDOK};
    EXPECT_FALSE(WritePageLineFile({}));
    ASSERT_EQ(Hooks().messageBoxTexts.size(), 1u);
    EXPECT_EQ(Hooks().messageBoxTexts[0].rfind("Cannot create the print file PRNTFILE.PRN", 0), 0u)
        << Hooks().messageBoxTexts[0];
}

}  // namespace
