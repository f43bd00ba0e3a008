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

std::string CReportsRTF::BuildReport(const stFormatRecord& format, const std::vector<std::string>& lines)
{
    std::string out;
    out += "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}\r\n";
    out += "{\\f1\\froman\\fcharset2 Symbol;}{\\f2\\fswiss\\fprq2 System;}\r\n";
    std::string face = format.GetFace();
    std::string safeFace;
    for (char c : face)
        if (c != ';' && c != '{' && c != '}' && c != '\\') safeFace += c;
    out += Format("{\\f3\\fmodern\\fprq1 %s;}}\r\n", safeFace.c_str());
    out += "{\\colortbl\\red0\\green0\\blue0;}\r\n";
    if (!format.aTabStops.empty()) {
        out += "\\deflang1033\\pard";
        for (double stop : format.aTabStops)
            out += Format("\\tx%i", static_cast<int>(std::trunc(stop * 1440.0)));
        out += "\r\n";
    } else {
        out += "\\deflang1033\\pard\\tx1440\\tx2880\\tx4320\\tx5760\\tx7200\r\n";
    }
    const unsigned halfPoints = static_cast<unsigned>(format.nSize) * 2 / 10;
    out += format.cBold ? Format("\\plain\\f3\\fs%u\\b\r\n", halfPoints)
                        : Format("\\plain\\f3\\fs%u\r\n", halfPoints);
    for (const std::string& line : lines) out += EscapeRtfText(line) + "\\par\r\n";
    out += "}\r\n";
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
