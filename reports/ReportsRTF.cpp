#include "reports/ReportsRTF.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "platform/ui/RtfDocument.h"
#include "platform/ui/Window.h"
#include "widgets/ExternalPrograms.h"

#include <cmath>

std::string EscapeRtfText(const std::string& text) { return ui::EscapeRtf(text); }

const stFormatRecord& CReportsRTF::DefaultFormat()
{
    static const stFormatRecord format = [] {
        stFormatRecord f;
        f.SetFace("Courier New");
        f.nSize = 100;
        return f;
    }();
    return format;
}

CReportsRTF::CReportsRTF(CDatabase* database, int mode, const std::vector<std::string>& lines)
    : m_pDB(database),
      m_Format(database && database->m_pRtfFormat ? *database->m_pRtfFormat : DefaultFormat())
{
    WriteDiagnosticFormat("CReportsRTF constructor mode %i, %u lines\n", mode,
                          static_cast<unsigned>(lines.size()));
    if (mode != 1) return;
    if (!WriteReportFile(lines)) return;
    ui::DCRect rect{0, 0, 800, 600};
    ui::Window* main = ui::Application::Instance() ? ui::Application::Instance()->GetMainWindow() : nullptr;
    if (main) {
        rect = main->GetWindowRect();
        main->ShowWindow(false);
        m_bHidMain = true;
    }
    OpenRichTextViewer(kReportRtfFileName, rect);
}

CReportsRTF::~CReportsRTF()
{
    if (!m_bHidMain) return;
    if (ui::Application* app = ui::Application::Instance())
        if (ui::Window* main = app->GetMainWindow()) main->ShowWindow(true);
}

namespace {

// The file's lines as written; a closing "\n" (backslash, n) stands for the line end, CR LF.
constexpr const char* kHeadLine1 = R"({\rtf1\ansi\deff0\deftab720{\fonttbl{\f0\fswiss MS Sans Serif;}\n)";
constexpr const char* kHeadLine2 = R"({\f1\froman\fcharset2 Symbol;}{\f2\fswiss\fprq2 System;}\n)";
constexpr const char* kFaceLine = R"({\f3\fmodern\fprq1 %s;}}\n)";
constexpr const char* kColourLine = R"({\colortbl\red0\green0\blue0;}\n)";
constexpr const char* kTabsStart = R"(\deflang1033\pard)";
constexpr const char* kTabStop = R"(\tx%i)";
constexpr const char* kDefaultTabs = R"(\deflang1033\pard\tx1440\tx2880\tx4320\tx5760\tx7200\n)";
constexpr const char* kBoldFont = R"(\plain\f3\fs%u\b\n)";
constexpr const char* kPlainFont = R"(\plain\f3\fs%u\n)";
constexpr const char* kTextLine = R"(%s\par\n)";
constexpr const char* kEndLine = "}\n";

// The line with its closing "\n" written as CR LF.
std::string Line(std::string text)
{
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, R"(\n)") == 0) text.resize(text.size() - 2);
    else if (!text.empty() && text.back() == '\n') text.pop_back();
    return text + "\r\n";
}

}  // namespace

std::string CReportsRTF::BuildReport(const stFormatRecord& format, const std::vector<std::string>& lines)
{
    std::string out;
    out += Line(kHeadLine1);
    out += Line(kHeadLine2);
    std::string safeFace;
    for (char c : format.GetFace())
        if (c != ';' && c != '{' && c != '}' && c != '\\') safeFace += c;
    out += Line(Format(kFaceLine, safeFace.c_str()));
    out += Line(kColourLine);
    if (!format.aTabStops.empty()) {
        std::string tabs = kTabsStart;
        for (double stop : format.aTabStops) tabs += Format(kTabStop, static_cast<int>(std::trunc(stop * 1440.0)));
        out += Line(tabs);
    } else {
        out += Line(kDefaultTabs);
    }
    const unsigned halfPoints = static_cast<unsigned>(format.nSize) * 2 / 10;
    out += Line(Format(format.cBold ? kBoldFont : kPlainFont, halfPoints));
    // Unlike the plain "%s", every text is escaped: a "{" or "\\" in a report line stays text.
    for (const std::string& line : lines) out += Line(Format(kTextLine, EscapeRtfText(line).c_str()));
    out += Line(kEndLine);
    return out;
}

bool CReportsRTF::WriteReportFile(const std::vector<std::string>& lines)
{
    std::string bytes = BuildReport(m_Format, lines);
    host::File file;
    bool ok = file.Open(kReportRtfFileName, host::File::Access::ReadWrite,
                        host::File::Disposition::CreateAlways);
    if (ok) ok = file.Write(bytes.data(), bytes.size());
    if (ok) ok = file.Close();
    if (!ok) {
        GetResponse("Cannot open report file", 0, 0);
        return false;
    }
    return true;
}
