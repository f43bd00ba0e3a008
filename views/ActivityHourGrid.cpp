#include "views/ActivityHourGrid.h"

#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

namespace {

constexpr int kMenuActivity = 120;

void RegisterMenu()
{
    using ui::Item;
    static const ui::MenuTemplate menu = {kMenuActivity, {
        Item(CReportGrid::kCmdExit, "e&Xit"), Item(CReportGrid::kCmdNext, "&Next"),
        Item(CReportGrid::kCmdPrevious, "p&Revious"), Item(CReportGrid::kCmdCurrent, "&Current"),
        Item(CReportGrid::kCmdPrint, "&Print"),
    }};
    ui::RegisterMenu(menu);
}

}  // namespace

CActivityHourGrid::CActivityHourGrid(ui::Window* parent, CDatabase* database) : CReportGrid(parent, database)
{
    RegisterMenu();
    OpenGrid("Activity breakdown", kMenuActivity);
}

void CActivityHourGrid::MakeGrid()
{
    if (!m_pDB) return;
    m_strTitle = WeekTitle("Activity breakdown");
    std::vector<stActivityCount>* arrays[3] = {&m_aWeek, &m_aYear, &m_aPrevious};
    const std::vector<stPeriod> periods = Periods();
    {
        host::WaitCursor wait;
        for (size_t p = 0; p < 3; ++p) {
            arrays[p]->clear();
            m_pDB->PrepareBasicItemTotals(*arrays[p]);
            m_pDB->SumItemActivity(periods[p].start, periods[p].end, *arrays[p]);
        }
    }
    SizeTable(3 * static_cast<int>(m_aWeek.size()) + 4, 7);
    SetHeaders({"Type", "Number|enrolled", "Units|enrolled", "Number|taken", "Units|taken",
                "Number|cancelled|or converted", "Units|cancelled|or converted"});
    int row = 1;
    for (size_t p = 0; p < 3; ++p) AddPeriodRows(periods[p].label, *arrays[p], row);
    FinishGrid();
}

void CActivityHourGrid::AddPeriodRows(const std::string& label, const std::vector<stActivityCount>& rows, int& row)
{
    // Units are shown in activity units when the studio's divisor lies in 1 to 59.
    const uint32_t divisor = static_cast<uint32_t>(m_pDB->m_Parameters.GetInt(param::kActivityUnitMinutes));
    auto units = [divisor](uint32_t value) { return divisor >= 1 && divisor <= 59 ? value / divisor : value; };
    std::vector<std::vector<std::string>> lines;
    for (const stActivityCount& t : rows)
        lines.push_back({CategoryName(t.nCode), Format("%u", t.nEnrolled), Format("%u", units(t.nEnrolledUnits)),
                         Format("%u", t.nTaken), Format("%u", units(t.nTakenUnits)), Format("%u", t.nCancelled),
                         Format("%u", units(t.nCancelledUnits))});
    CReportGrid::AddPeriodRows(label, lines, row);
}
