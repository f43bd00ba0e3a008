#include "views/ReportGrid.h"

#include "common/Diagnostic.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/View.h"

CReportGrid::CReportGrid(ui::Window* parent, CDatabase* database) : m_pDB(database), m_pParent(parent)
{
    if (m_pDB) {
        m_pDB->DisableRefreshOn("");
        m_bRefreshHeld = true;
    }
}

CReportGrid::~CReportGrid() { ReleaseRefresh(); }

void CReportGrid::ReleaseRefresh()
{
    if (!m_bRefreshHeld) return;
    m_bRefreshHeld = false;
    if (m_pDB) m_pDB->DisableRefreshOff("");
}

void CReportGrid::OpenGrid(const std::string& frameTitle, int menuId, bool periodFirst)
{
    if (periodFirst) SetCurrentPeriod();
    // The window the grid replaces: the frame the launcher sits in.
    ui::Window* opener = m_pParent;
    if (auto* view = dynamic_cast<ui::View*>(m_pParent); view && view->GetFrame()) opener = view->GetFrame();
    if (!CreateGridFrame(frameTitle, menuId, opener)) {
        // No window will ever release the hold.
        ReleaseRefresh();
        return;
    }
    if (!periodFirst) SetCurrentPeriod();
    MakeGrid();
}

void CReportGrid::OnDestroy()
{
    // The database may be freed before this object is deleted.
    ReleaseRefresh();
    m_pDB = nullptr;
    CGridFrame::OnDestroy();
}

// ---- Periods ----------------------------------------------------------------------------------

void CReportGrid::SetYearWindows()
{
    DATE weekEnd = 0.0;
    GetYearRanges(m_dWeekStart, m_dYearStart, weekEnd, m_dPreviousStart, m_dPreviousEnd);
    m_dYearEnd = m_dWeekStart + 7.0;
    // The previous year runs to 1 January 00:00 of the week's year, so its 31 December counts.
    m_dPreviousEnd = m_dYearStart;
}

void CReportGrid::SetCurrentPeriod()
{
    const int weekday = m_pDB ? m_pDB->m_Parameters.GetInt(param::kStartDayOfWeek) : 1;
    GetWeekStart(m_dWeekStart, m_dWeekEnd, weekday, 7);
    SetYearWindows();
}

void CReportGrid::StepPeriod(int direction)
{
    m_dWeekStart += 7.0 * direction;
    m_dWeekEnd += 7.0 * direction;
    SetYearWindows();
}

std::vector<CReportGrid::stPeriod> CReportGrid::Periods() const
{
    return {{"Week", m_dWeekStart, m_dWeekEnd},
            {"Year-to-date", m_dYearStart, m_dYearEnd},
            {"Previous year", m_dPreviousStart, m_dPreviousEnd}};
}

// ---- Commands ---------------------------------------------------------------------------------

bool CReportGrid::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdExit:
        DestroyWindow();
        return true;
    case kCmdNext:
    case kCmdPrevious:
        StepPeriod(id == kCmdNext ? 1 : -1);
        MakeGrid();
        return true;
    case kCmdCurrent:
        SetCurrentPeriod();
        MakeGrid();
        return true;
    case kCmdPrint:
        PrintGrid();
        return true;
    default:
        return CGridFrame::OnCommand(id, code);
    }
}

// ---- Cells ------------------------------------------------------------------------------------

std::string CReportGrid::WeekTitle(const std::string& name) const
{
    return Format("%s: %s to %s", name.c_str(), FormatDateTime(m_dWeekStart, "%m/%d/%Y").c_str(),
                  FormatDateTime(m_dWeekStart + 7.0, "%m/%d/%Y").c_str());
}

void CReportGrid::SizeTable(int rows, int columns)
{
    m_Cells.SetSize(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) m_Cells.SetAt(r, c, std::string(), kWhite);
}

void CReportGrid::SetCell(int row, int column, const std::string& text, uint32_t colour)
{
    m_Cells.SetAt(row, column, text, colour);
}

void CReportGrid::SetHeaders(const std::vector<std::string>& headers)
{
    for (size_t c = 0; c < headers.size(); ++c) SetCell(0, static_cast<int>(c), headers[c]);
}

void CReportGrid::AddPeriodRows(const std::string& label, const std::vector<std::vector<std::string>>& lines,
                                int& row)
{
    SetCell(row, 0, label, kCyan);
    for (int c = 1; c < m_Cells.GetColumns(); ++c) SetCell(row, c, std::string(), kCyan);
    ++row;
    for (const std::vector<std::string>& line : lines) {
        for (size_t c = 0; c < line.size(); ++c) SetCell(row, static_cast<int>(c), line[c]);
        ++row;
    }
}

void CReportGrid::FinishGrid()
{
    m_nTitleFontSize = 120;
    m_nCellFontSize = 90;
    m_bRepeatLabelRow = 1;
    m_bRepeatLabelColumn = 1;
    m_bLandscape = 0;
    if (!IsCreated()) return;
    DrawGrid();
    GridView().UpdateWindow();
}

std::string CReportGrid::CategoryName(uint32_t code) const
{
    if (code == 0xFFFFFFFD) return "Contracts";
    if (code == 0xFFFFFFFE) return "Other";
    return Capitalize(m_pDB ? m_pDB->GetCategoryName(code) : std::string());
}
