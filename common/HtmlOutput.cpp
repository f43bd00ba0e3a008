#include "common/HtmlOutput.h"

#include "common/TextFormat.h"
#include "platform/host/Format.h"

namespace {

// Text files end their lines with CR LF, as the program's other files do.
void WriteLine(std::FILE* file, const std::string& line) {
    std::fputs(line.c_str(), file);
    std::fputs("\r\n", file);
}

} // namespace

void WriteHtmlHead(std::FILE* file, const std::string& title) {
    WriteLine(file, "<HTML>");
    WriteLine(file, "<HEAD>");
    WriteLine(file, Format("<TITLE>%s</TITLE>", title.c_str()));
    WriteLine(file, "</HEAD>");
    WriteLine(file, "<BODY>");
}

void WriteHtmlTail(std::FILE* file) {
    WriteLine(file, "</BODY>");
    WriteLine(file, "</HTML>");
}

std::string FormatHtmlCell(const std::string& text) {
    const std::string cell = StripTrailingBlanks(text);
    if (cell.empty())
        return "<TD>&nbsp;</TD>";
    return Format("<TD>%s</TD>", cell.c_str());
}
