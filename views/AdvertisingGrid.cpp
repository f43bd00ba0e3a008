#include "views/AdvertisingGrid.h"

#include "common/TextFormat.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

namespace {

constexpr int kMenuAdvertising = 117;

void RegisterMenu()
{
    using ui::Item;
    static const ui::MenuTemplate menu = {kMenuAdvertising, {
        Item(CReportGrid::kCmdExit, "e&Xit"), Item(CReportGrid::kCmdNext, "&Next"),
        Item(CReportGrid::kCmdPrevious, "p&Revious"), Item(CReportGrid::kCmdCurrent, "&Current"),
        Item(CReportGrid::kCmdPrint, "&Print"),
    }};
    ui::RegisterMenu(menu);
}

}  // namespace

CAdvertisingGrid::CAdvertisingGrid(ui::Window* parent, CDatabase* database) : CReportGrid(parent, database)
{
    RegisterMenu();
    OpenGrid("Weekly advertising data", kMenuAdvertising);
}

void CAdvertisingGrid::MakeGrid()
{
    if (!m_pDB) return;
    m_strTitle = WeekTitle("Weekly advertising data");
    std::vector<stSourceTotal>* arrays[3] = {&m_aWeek, &m_aYear, &m_aPrevious};
    const std::vector<stPeriod> periods = Periods();
    {
        host::WaitCursor wait;
        for (size_t p = 0; p < 3; ++p) {
            m_pDB->PrepareInterviewSourceTotals(*arrays[p]);
            m_pDB->SumInterviewSources(periods[p].start, periods[p].end, *arrays[p]);
        }
    }
    // A source met in one period only adds a row to that period's group.
    int rows = 1;
    for (const auto* a : arrays) rows += static_cast<int>(a->size()) + 2;
    SizeTable(rows, 5);
    SetHeaders({"Category/Period", "Calls|due to", "Initial|Interviews", "Students added|to database", "Amount|spent"});
    int row = 1;
    for (size_t p = 0; p < 3; ++p) AddPeriodRows(periods[p].label, *arrays[p], row);
    FinishGrid();
}

void CAdvertisingGrid::AddPeriodRows(const std::string& label, const std::vector<stSourceTotal>& rows, int& row)
{
    std::vector<std::vector<std::string>> lines;
    std::vector<stTotalsRow> totals;
    for (const stSourceTotal& t : rows) {
        lines.push_back({CategoryName(t.nCode), Format("%u", t.nPhoneInterviews), Format("%u", t.nVisits),
                         Format("%u", t.nNewPersons), FormatMoney(t.dAmount, 0)});
        totals.push_back({t.nPhoneInterviews, t.nVisits, t.nNewPersons, t.dAmount});
    }
    const std::array<std::string, 4> sums = FormatTotalsRow(totals);
    lines.push_back({"Total", sums[0], sums[1], sums[2], sums[3]});
    CReportGrid::AddPeriodRows(label, lines, row);
}
