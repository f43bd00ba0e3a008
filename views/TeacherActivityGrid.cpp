#include "views/TeacherActivityGrid.h"

#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

using ui::Item;

namespace {

constexpr int kMenuActivities = 116;
constexpr int kCmdExit = 30055;
constexpr int kCmdNext = 30061;
constexpr int kCmdPrevious = 30062;
constexpr int kCmdCurrent = 32850;
constexpr int kCmdPrint = 30056;
// The rows above the activity types.
constexpr int kFixedRows = 7;
constexpr uint32_t kWhite = 0xFFFFFF;

void RegisterMenu()
{
    static const ui::MenuTemplate activities = {kMenuActivities, {
        Item(kCmdExit, "e&Xit"), Item(kCmdNext, "&Next"), Item(kCmdPrevious, "p&Revious"),
        Item(kCmdCurrent, "&Current"), Item(kCmdPrint, "&Print"),
    }};
    ui::RegisterMenu(activities);
}

// The name over a person's column: first and last name on two lines.
std::string ColumnName(std::string name)
{
    const size_t first = name.find_first_not_of(' ');
    const size_t last = name.find_last_not_of(' ');
    name = first == std::string::npos ? std::string() : name.substr(first, last - first + 1);
    const size_t blank = name.find(' ');
    if (blank != std::string::npos) name[blank] = '|';
    return name;
}

}  // namespace

CTeacherActivityGrid::CTeacherActivityGrid(ui::Window* parent, CDatabase* database, char mode)
    : CStudioGrid(parent, database, nullptr, ""), m_cMode(mode)
{
    RegisterMenu();
    CurrentWeek();
    if (CreateGridFrame("Weekly activities", kMenuActivities, parent) && m_pDB) {
        m_pDB->DisableRefreshOn("");
        m_bHoldsRefresh = true;
    }
    BuildGrid();
}

void CTeacherActivityGrid::OnDestroy()
{
    if (m_bHoldsRefresh && m_pDB) m_pDB->DisableRefreshOff("");
    m_bHoldsRefresh = false;
    CStudioGrid::OnDestroy();
}

void CTeacherActivityGrid::CurrentWeek()
{
    const int weekday = m_pDB ? m_pDB->m_Parameters.GetInt(param::kStartDayOfWeek) : 1;
    GetWeekStart(m_dStart, m_dEnd, weekday, 7);
}

void CTeacherActivityGrid::FillGrid()
{
    const stParameters& p = m_pDB->m_Parameters;
    m_nTitleFontSize = p.GetByte(param::kScheduleHeaderFont) * 10;
    m_nCellFontSize = p.GetByte(param::kScheduleCellFont) * 10;
    m_strTitle = Format("%s weekly activities: %s to %s", m_cMode == 'S' ? "Supervisor" : "Teacher",
                        FormatDateTime(m_dStart, "%m/%d/%Y").c_str(), FormatDateTime(m_dEnd, "%m/%d/%Y").c_str());
    {
        host::WaitCursor wait;
        m_aPersons.clear();
        m_pDB->BuildTeacherActivityRecords(m_aPersons, m_cMode);
        for (stTeacherActivityData& row : m_aPersons)
            m_pDB->GetPersonName(row.sName, static_cast<uint32_t>(row.nPerson), 0);
        m_pDB->TeacherActivityData(m_cMode, m_dStart, m_dEnd, m_aPersons);
    }
    std::vector<stActivityCount> types;
    m_pDB->PrepareBasicItemTotals(types);
    m_aActivityTypes.clear();
    for (const stActivityCount& t : types) {
        const auto* category = static_cast<const CCategory*>(m_pDB->GetItem(TABLE_CATEGORY, t.nCode));
        m_aActivityTypes.push_back(category ? category->m_sName : std::string());
    }

    // Minutes per unit: between 1 and 59 the unit figures are counted in units, else as they are.
    const int32_t unit = p.GetInt(param::kActivityUnitMinutes);
    auto units = [unit](uint32_t minutes) { return unit >= 1 && unit <= 59 ? minutes / static_cast<uint32_t>(unit) : minutes; };

    const int rows = kFixedRows + static_cast<int>(m_aActivityTypes.size());
    m_Cells.SetSize(rows, static_cast<int>(m_aPersons.size()) + 1);
    m_Cells.SetAt(0, 0, "Item/Person", kWhite);
    m_Cells.SetAt(1, 0, "First interviews|Number sales|Value|Cancellations|Value", kWhite);
    m_Cells.SetAt(2, 0, "Later interviews|Number sales|Value|Cancellations|Value", kWhite);
    m_Cells.SetAt(3, 0, "Total sales|Value|Cancellations|Value", kWhite);
    m_Cells.SetAt(4, 0, "Merchandise sold|Refunds", kWhite);
    m_Cells.SetAt(5, 0, "Other sales|Refunds", kWhite);
    m_Cells.SetAt(6, 0, "Guests", kWhite);
    for (size_t k = 0; k < m_aActivityTypes.size(); ++k)
        m_Cells.SetAt(kFixedRows + static_cast<int>(k), 0,
                      Format("%s|Enrolled number (units)|Used number (units)|Cancelled number (units)",
                             m_aActivityTypes[k].c_str()), kWhite);
    for (size_t i = 0; i < m_aPersons.size(); ++i) {
        const stTeacherActivityData& r = m_aPersons[i];
        const int c = static_cast<int>(i) + 1;
        m_Cells.SetAt(0, c, ColumnName(r.sName), kWhite);
        m_Cells.SetAt(1, c, Format("%u|%u|%.2f|%u|%.2f", r.nFirstInterviews, r.nFirstSales, r.dFirstSalesValue,
                                   r.nFirstCancellations, r.dFirstCancellationsValue), kWhite);
        m_Cells.SetAt(2, c, Format("%u|%u|%.2f|%u|%.2f", r.nLaterInterviews, r.nLaterSales, r.dLaterSalesValue,
                                   r.nLaterCancellations, r.dLaterCancellationsValue), kWhite);
        m_Cells.SetAt(3, c, Format("%u|%.2f|%u|%.2f", r.nTotalSales, r.dTotalSalesValue, r.nTotalCancellations,
                                   r.dTotalCancellationsValue), kWhite);
        // The four money figures: merchandise sold and refunded, other sales and refunds.
        m_Cells.SetAt(4, c, Format("%.2f|%.2f", r.dMoney[0], r.dMoney[1]), kWhite);
        m_Cells.SetAt(5, c, Format("%.2f|%.2f", r.dMoney[2], r.dMoney[3]), kWhite);
        m_Cells.SetAt(6, c, Format("%u", r.nGuests), kWhite);
        for (size_t k = 0; k < m_aActivityTypes.size() && k < r.aActivities.size(); ++k) {
            const stActivityCount& a = r.aActivities[k];
            m_Cells.SetAt(kFixedRows + static_cast<int>(k), c,
                          Format(" |%u (%u)|%u (%u)|%u (%u)", a.nEnrolled, units(a.nEnrolledUnits), a.nTaken,
                                 units(a.nTakenUnits), a.nCancelled, units(a.nCancelledUnits)), kWhite);
        }
    }
}

bool CTeacherActivityGrid::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdExit:
        DestroyWindow();
        return true;
    case kCmdNext:
    case kCmdPrevious: {
        const double step = id == kCmdNext ? 7.0 : -7.0;
        m_dStart += step;
        m_dEnd += step;
        BuildGrid();
        return true;
    }
    case kCmdCurrent:
        CurrentWeek();
        BuildGrid();
        return true;
    case kCmdPrint:
        PrintCurrentGrid();
        return true;
    default:
        return CStudioGrid::OnCommand(id, code);
    }
}
