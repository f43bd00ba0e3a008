#pragma once
// CReportsRTF: a list of text lines written as the rich-text file "REPORT.RTF" (in the current
// folder, replacing an old one) in the report format, then shown in the program's rich-text
// viewer over the main window, which stays hidden while the viewer runs.

#include "database/SettingsRecords.h"

#include <string>
#include <vector>

class CDatabase;

// The file's name.
inline constexpr const char* kReportRtfFileName = "REPORT.RTF";

// Text made safe for rich text: "\", "{" and "}" escaped, tab as \tab, bytes above 127 as \'hh.
// Every text the program puts into rich text goes through it.
std::string EscapeRtfText(const std::string& text);

class CReportsRTF {
public:
    // Mode 1 writes the file from `lines` and shows it; any other mode does nothing.
    CReportsRTF(CDatabase* database, int mode, const std::vector<std::string>& lines);
    // Shows the main window again.
    ~CReportsRTF();
    CReportsRTF(const CReportsRTF&) = delete;
    CReportsRTF& operator=(const CReportsRTF&) = delete;

    // The file's bytes for the format and lines (CR LF line ends).
    static std::string BuildReport(const stFormatRecord& format, const std::vector<std::string>& lines);
    // Writes "REPORT.RTF"; false after "Cannot open report file" when it cannot be created.
    bool WriteReportFile(const std::vector<std::string>& lines);
    // The format used when the database has no report format: 10-point Courier New, no stops.
    static const stFormatRecord& DefaultFormat();

    const stFormatRecord& GetFormat() const { return m_Format; }

private:
    CDatabase* m_pDB;
    stFormatRecord m_Format;
    bool m_bHidMain = false;
};
