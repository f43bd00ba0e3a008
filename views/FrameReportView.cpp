#include "views/FrameReportView.h"

#include "common/Diagnostic.h"
#include "database/Database.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/FrameWindow.h"
#include "reports/PageLinePrint.h"
#include "views/FrameWndReport.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DialogPromptForString.h"

#include <algorithm>

namespace {

std::string Centred(const std::string& text, char fill)
{
    const int side = std::max(0, (80 - static_cast<int>(text.size())) / 2);
    return std::string(static_cast<size_t>(side), fill) + text + std::string(static_cast<size_t>(side), fill);
}

}  // namespace

CFrameReportView::CFrameReportView(std::vector<stFmtString>* lines) : m_pLines(lines)
{
    WriteDiagnosticString("CFrameReportView constructor\n");
    m_nTopLine = 0;
    m_nHiLiteLine = 0;
    m_nFirstMarked = -1;
    m_nLastMarked = -1;
    m_nMarkedCount = 0;
    InstallUpdaters();
}

CFrameReportView::~CFrameReportView() = default;

void CFrameReportView::InstallUpdaters()
{
    Updaters().SetUpdateHandler(kCmdPageLayout, [this](ui::CmdUI& cmd) {
        cmd.Enable(m_pDB != nullptr && static_cast<bool>(ListViewOperations().editPageLayout));
    });
    for (int id = kCmdFontFirst; id <= kCmdFontLast; ++id) {
        Updaters().SetUpdateHandler(id, [this, id](ui::CmdUI& cmd) {
            const size_t k = static_cast<size_t>(id - kCmdFontFirst);
            cmd.Enable(m_pDB != nullptr && k < m_aFormatCodes.size() &&
                       static_cast<bool>(ListViewOperations().editFormat));
        });
    }
    for (int id : {kCmdEdit, kCmdMark, kCmdMarkMarked}) {
        Updaters().SetUpdateHandler(id, [this](ui::CmdUI& cmd) { cmd.Enable(m_nMaxLines > 0); });
    }
}

void CFrameReportView::OnCreate() { WriteDiagnosticString("CFrameReportView OnCreate\n"); }

void CFrameReportView::SetUpLines()
{
    const int count = m_pLines ? static_cast<int>(m_pLines->size()) : 0;
    WriteDiagnosticFormat("CFrameReportView::SetUpLines pointer %i, # lines %i\n",
                          static_cast<int>(reinterpret_cast<uintptr_t>(m_pLines) & 0x7FFFFFFF), count);
    m_nMaxLines = count;
    m_aMarks.assign(static_cast<size_t>(count), 0);
    m_nFirstMarked = -1;
    m_nLastMarked = -1;
    m_nMarkedCount = 0;
    m_nHorzMax = 500;
    m_nHiLiteLine = 0;
    m_bRedraw = 1;
    if (ui::Window* frame = GetParent()) frame->BringWindowToTop();
}

std::string CFrameReportView::DisplayText(const std::string& text)
{
    if (text == kPageBreakText) return Centred("PAGE BREAK", '-');
    if (!text.empty() && text[0] == '<') return Centred("START PRINT BLOCK PROTECT", '.');
    if (!text.empty() && text[0] == '>') return Centred("END PRINT BLOCK PROTECT", '.');
    return text;
}

stFormatRecord* CFrameReportView::GetLine(int index, char& mark, char& status, std::string& text)
{
    const char purpose = mark;
    if (DiagnosticLevel > 2)
        WriteDiagnosticFormat("CFrameReportView::GetLine %i, status %i\n", index, static_cast<int>(purpose));
    const stFmtString* line = nullptr;
    if (index == -1) {
        if (DiagnosticLevel > 2) WriteDiagnosticString(" Get header\n");
        line = &m_HeaderLine;
        mark = 0;
    } else if (m_pLines && index >= 0 && index < static_cast<int>(m_pLines->size())) {
        line = &(*m_pLines)[static_cast<size_t>(index)];
        mark = static_cast<size_t>(index) < m_aMarks.size() ? m_aMarks[static_cast<size_t>(index)] : 0;
    } else {
        mark = 0;
        status = '-';
        text.clear();
        return nullptr;
    }
    status = line->cKind;
    text = purpose == 'P' ? line->strText : DisplayText(line->strText);
    // The lines point at the frame's own copies of their formats.
    return const_cast<stFormatRecord*>(line->pFormat);
}

void CFrameReportView::SetLine(int index, const stFmtString& line)
{
    if (!m_pLines || index < 0 || index >= static_cast<int>(m_pLines->size())) return;
    stFmtString& target = (*m_pLines)[static_cast<size_t>(index)];
    target.pFormat = line.pFormat;
    target.cKind = line.cKind;
    target.strText = line.strText;
}

void CFrameReportView::SetReport(CDatabase* database, int report, int pageLayout, int option,
                                 stPrinterDef* printer, CFrameWndReport* frame)
{
    m_pDB = database;
    m_nReport = report;
    m_nPageLayout = pageLayout;
    m_nOption = option;
    m_pPrinter = printer;
    m_pFrame = frame;
    CScrollBase::SetView(500, option != 0 ? 1 : 0);
}

void CFrameReportView::MarkCurrentLine()
{
    if (m_nMaxLines < 1) return;
    const int current = std::clamp(m_nHiLiteLine, 0, m_nMaxLines - 1);
    m_aMarks[static_cast<size_t>(current)] = 'M';
    int first = -1, last = -1;
    for (int i = 0; i < m_nMaxLines; ++i) {
        if (m_aMarks[static_cast<size_t>(i)] != 'M') continue;
        if (first < 0) first = i;
        last = i;
    }
    for (int i = first; i <= last; ++i) m_aMarks[static_cast<size_t>(i)] = 'M';
    m_nFirstMarked = first;
    m_nLastMarked = last;
    m_nMarkedCount = last - first + 1;
    if (m_pFrame) m_pFrame->ShowMarkedMenu();
    m_bRedraw = 1;
    Invalidate();
}

void CFrameReportView::Unmark()
{
    std::fill(m_aMarks.begin(), m_aMarks.end(), 0);
    m_nFirstMarked = -1;
    m_nLastMarked = -1;
    m_nMarkedCount = 0;
    m_bRedraw = 1;
    Invalidate();
    if (m_pFrame) m_pFrame->BuildFontMenu(m_pDB);
}

void CFrameReportView::PrintLines(int first, int last)
{
    host::WaitCursor wait;
    std::vector<stFmtString> lines;
    if (m_bHeader) lines.push_back(m_HeaderLine);
    if (m_pLines) {
        first = std::max(first, 0);
        last = std::min(last, static_cast<int>(m_pLines->size()) - 1);
        for (int i = first; i <= last && first >= 0; ++i) lines.push_back((*m_pLines)[static_cast<size_t>(i)]);
    }
    if (!WritePageLineFile(lines)) return;
    stPageLayout layout;
    if (m_pDB && m_nPageLayout >= 0 && static_cast<size_t>(m_nPageLayout) < m_pDB->m_aPageLayouts.size())
        layout = m_pDB->m_aPageLayouts[static_cast<size_t>(m_nPageLayout)];
    stPrinterDef own;
    stPrinterDef* printer = m_pPrinter;
    if (!printer && m_pFrame) printer = &m_pFrame->GetPrinterDef();
    PrintPageLineFile(printer ? *printer : own, layout, 1);
}

void CFrameReportView::EditCurrentLine()
{
    if (!m_pLines || m_nMaxLines < 1) return;
    const int current = std::clamp(m_nHiLiteLine, 0, m_nMaxLines - 1);
    stFmtString line = (*m_pLines)[static_cast<size_t>(current)];
    CDialogPromptForString dialog(GetParent());
    dialog.m_strPrompt = "Edit text";
    dialog.m_strText = line.strText;
    dialog.m_nMaxLength = 255;
    if (dialog.DoModal() != ui::IDOK || dialog.m_strText == line.strText) return;
    line.strText = dialog.m_strText;
    SetLine(current, line);
    m_bRedraw = 1;
    Invalidate();
}

bool CFrameReportView::OnKeyDown(int vk)
{
    if (vk == ui::VK_F1) {
        ShowHelpTopic(kHelpTopic);
        return true;
    }
    return CScrollBase::OnKeyDown(vk);
}

bool CFrameReportView::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdMark:
    case kCmdMarkMarked:
        MarkCurrentLine();
        return true;
    case kCmdUnmark:
        Unmark();
        return true;
    case kCmdPrint:
        PrintLines(0, m_nMaxLines - 1);
        return true;
    case kCmdPrintMarked:
        if (m_nFirstMarked < 0) PrintLines(0, -1);
        else PrintLines(m_nFirstMarked, m_nLastMarked);
        return true;
    case kCmdEdit:
        EditCurrentLine();
        return true;
    case kCmdPageLayout:
        if (m_pDB && ListViewOperations().editPageLayout &&
            ListViewOperations().editPageLayout(*m_pDB, static_cast<uint32_t>(m_nPageLayout), "Page layout") == 1) {
            m_bRedraw = 1;
            Invalidate();
        }
        return true;
    case kCmdHelp:
        ShowHelpTopic(kHelpTopic);
        return true;
    default:
        break;
    }
    if (id >= kCmdFontFirst && id <= kCmdFontLast) {
        const size_t k = static_cast<size_t>(id - kCmdFontFirst);
        if (!m_pDB || k >= m_aFormatCodes.size() || !ListViewOperations().editFormat) return true;
        const uint32_t code = m_aFormatCodes[k];
        std::string name;
        if (code < m_pDB->GetFormatNames().size()) name = m_pDB->GetFormatNames()[code];
        if (ListViewOperations().editFormat(*m_pDB, code, name) == 1) {
            if (m_pFrame) m_pFrame->CopyFormats(m_pDB);
            m_bRedraw = 1;
            Invalidate();
        }
        return true;
    }
    return CScrollBase::OnCommand(id, code);
}
