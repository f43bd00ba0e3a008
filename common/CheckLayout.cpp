#include "common/CheckLayout.h"

#include <cstdlib>

#include "common/TextFormat.h"
#include "platform/host/Format.h"

std::string CheckLayoutLine;

stCheckPrinterSettings ParseCheckLayoutLine(const std::string& line)
{
    stCheckPrinterSettings s;
    std::vector<std::string> parts;
    SplitString(line, "|", parts, 0, 1);
    if (parts.size() < 5) return s;
    s.sPrinter = parts[1];
    s.dOffsetX = std::atof(parts[2].c_str());
    s.dOffsetY = std::atof(parts[3].c_str());
    s.bLandscape = parts[4] == "TRUE";
    return s;
}

std::string FormatCheckLayoutLine(const stCheckPrinterSettings& s)
{
    if (s.bLandscape) return Format("CHECK_LAYOUT|%s|%.2f|%.2f|TRUE", s.sPrinter.c_str(), s.dOffsetX, s.dOffsetY);
    return Format("CHECK_LAYOUT|%s|%.2f|%.2f|FALSE", s.sPrinter.c_str(), s.dOffsetX, s.dOffsetY);
}
