#include "common/HtmlOutput.h"

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

namespace {

std::string ReadAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[256];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    return text;
}

} // namespace

TEST(HtmlOutputTest, PageFrameIsWrittenAsGiven) {
    std::FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    WriteHtmlHead(file, "Smith & Sons <100%>");
    std::fputs("<TABLE>\r\n", file);
    WriteHtmlTail(file);
    EXPECT_EQ(ReadAll(file), "<HTML>\r\n<HEAD>\r\n<TITLE>Smith & Sons <100%></TITLE>\r\n</HEAD>\r\n"
                             "<BODY>\r\n<TABLE>\r\n</BODY>\r\n</HTML>\r\n");
    std::fclose(file);
}

TEST(HtmlOutputTest, Cells) {
    const std::pair<const char*, const char*> rows[] = {
        {"Ann Lee", "<TD>Ann Lee</TD>"},
        {"  Ann  \t\r\n", "<TD>  Ann</TD>"},
        {"   ", "<TD>&nbsp;</TD>"},
        {"", "<TD>&nbsp;</TD>"},
        {"a<b & c", "<TD>a<b & c</TD>"},
    };
    for (auto [text, expected] : rows)
        EXPECT_EQ(FormatHtmlCell(text), expected) << text;
}
