#pragma once
// The cheque printer's settings line "CHECK_LAYOUT|printer|x offset|y offset|TRUE or FALSE", kept
// for the whole program: the settings file reads and writes it, the cheque dialog uses it.

#include <string>

extern std::string CheckLayoutLine;

struct stCheckPrinterSettings {
    std::string sPrinter;  // "name,driver,port"; empty for the default printer
    double dOffsetX = 0.0;  // inches the cheque's corner lies right of and below the paper's
    double dOffsetY = 0.0;
    bool bLandscape = false;
};

// The settings of a line; a line of fewer than five parts gives the defaults.
stCheckPrinterSettings ParseCheckLayoutLine(const std::string& line);
std::string FormatCheckLayoutLine(const stCheckPrinterSettings& settings);
