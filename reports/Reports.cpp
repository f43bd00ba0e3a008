#include "reports/Reports.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "common/DateTime.h"
#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/DialogReportDates.h"
#include "dialogs/DialogTaxReportSetup.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "reports/ReportFrame.h"
#include "widgets/CommandGuards.h"

std::function<stPrinterDef*()> CReports::s_fnPrintSetup;
// The tax report's dates dialog. Its controls show dates only: the period runs from the start
// day's midnight to the end day's.
std::function<bool(CDatabase&, stTaxReportSetup&)> CReports::s_fnTaxReportSetup = [](CDatabase&,
                                                                                     stTaxReportSetup& setup) {
    CDialogTaxReportSetup dialog(nullptr);
    if (dialog.DoModal() != ui::IDOK) return false;
    setup.dStart = std::floor(dialog.m_StartDate.GetValue());
    setup.dEnd = std::floor(dialog.m_EndDate.GetValue());
    setup.nMode = dialog.m_bShowDetails == 1 ? 1 : 0;
    return true;
};

CReports::CReports(CDatabase* database) : m_pDB(database)
{
    if (m_pDB) m_pDB->DisableRefreshOn("");
}

CReports::~CReports()
{
    if (m_pDB) m_pDB->DisableRefreshOff("");
}

void CReports::SetLineFormat(int slot, char kind)
{
    const stFormatRecord* format = slot >= 0 ? m_pDB->GetFormat(static_cast<uint32_t>(slot)) : nullptr;
    if (!format) throw std::invalid_argument(Format("format %i", slot));
    m_Line.pFormat = format;
    m_Line.cKind = kind;
}

void CReports::AddLine(const std::string& text)
{
    if (!m_pLines) return;
    m_pLines->push_back(stFmtString{m_Line.pFormat, m_Line.cKind, text});
}

void CReports::AddLine(std::string&& text)
{
    if (!m_pLines) return;
    m_pLines->push_back(stFmtString{m_Line.pFormat, m_Line.cKind, std::move(text)});
}

void CReports::AddBlankLine(int slot)
{
    const stFormatRecord* format = slot >= 0 ? m_pDB->GetFormat(static_cast<uint32_t>(slot)) : nullptr;
    if (!format) throw std::invalid_argument(Format("format %i", slot));
    if (m_pLines) m_pLines->push_back(stFmtString{format, '-', std::string()});
}

void CReports::UpdateBalanceArray(stPersonBalance item, std::vector<stPersonBalance>& list)
{
    // Equal names stand together; the match is among them, else the item goes after them.
    auto first = std::lower_bound(list.begin(), list.end(), item.sName,
                                  [](const stPersonBalance& e, const std::string& name) { return e.sName < name; });
    auto it = first;
    for (; it != list.end() && it->sName == item.sName; ++it) {
        if (it->nCode != item.nCode) continue;
        it->dAmount += item.dAmount;
        it->cKind = item.cKind;
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CReports::UpdateBalanceArray update %s by %.2f to %.2f\n", item.sName.c_str(),
                                  item.dAmount, it->dAmount);
        return;
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CReports::UpdateBalanceArray initialize %s to %.2f\n", item.sName.c_str(), item.dAmount);
    list.insert(it, std::move(item));
}

std::string CReports::FormatDay(DATE date)
{
    return FormatDateTime(date, "%m/%d/%Y");
}

bool CReports::CheckFormats(const std::vector<int>& slots)
{
    for (int slot : slots) {
        if (slot >= 0 && m_pDB->GetFormat(static_cast<uint32_t>(slot))) continue;
        GetResponse(Format("The report cannot be made: format %i is missing from the database.", slot), MB_OK);
        return false;
    }
    return true;
}

bool CReports::AskReportDates(DATE& start, DATE& end)
{
    CDialogReportDates dialog;
    dialog.m_pDatabase = m_pDB;
    if (dialog.DoModal() != ui::IDOK) return false;
    start = dialog.m_StartDate.GetValue();
    end = dialog.m_EndDate.GetValue();
    return true;
}

bool CReports::RunTextReport(stTextReport& plan)
{
    if (!m_pDB) return false;
    if (plan.bGuard && IsReportViewDisplayed()) return false;
    const int blank = plan.nBlankSlot >= 0 ? plan.nBlankSlot : plan.nBodySlot;
    if (!CheckFormats({plan.nBodySlot, plan.nHeadSlot, blank})) return false;
    if (plan.fnSelect && !plan.fnSelect()) return false;
    {
        host::WaitCursor wait;
        if (plan.fnCollect && !plan.fnCollect()) return false;
    }
    IReportFrame* frame = NewReportFrame();
    if (!frame) return false;
    m_pFrame = frame;
    m_pLines = &frame->GetLines();
    {
        host::WaitCursor wait;
        SetLineFormat(plan.nHeadSlot, plan.cTitleKind);
        AddLine(plan.sTitle);
        if (plan.bBlankAfterTitle) AddBlankLine(blank);
        if (!plan.sHeading.empty()) {
            SetLineFormat(plan.nHeadSlot, plan.cHeadingKind);
            AddLine(plan.sHeading);
            if (plan.bBlankAfterHeading) AddBlankLine(blank);
        }
        SetLineFormat(plan.nBodySlot, '-');
        m_pLines->reserve(m_pLines->size() + plan.nExpectedLines);
        if (plan.fnBody) plan.fnBody();
    }
    frame->SetView(m_pDB, 0, 0, 1, s_fnPrintSetup ? s_fnPrintSetup() : nullptr);
    m_pLines = nullptr;
    m_pFrame = nullptr;
    return true;
}
