#include "views/EnrollmentGrid.h"

#include "common/TextFormat.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

namespace {

constexpr int kMenuEnrollment = 119;

void RegisterMenu()
{
    using ui::Item;
    static const ui::MenuTemplate menu = {kMenuEnrollment, {
        Item(CReportGrid::kCmdExit, "e&Xit"), Item(CReportGrid::kCmdNext, "&Next"),
        Item(CReportGrid::kCmdPrevious, "p&Revious"), Item(CReportGrid::kCmdCurrent, "&Current"),
        Item(CReportGrid::kCmdPrint, "&Print"),
    }};
    ui::RegisterMenu(menu);
}

}  // namespace

CEnrollmentGrid::CEnrollmentGrid(ui::Window* parent, CDatabase* database) : CReportGrid(parent, database)
{
    RegisterMenu();
    OpenGrid("Weekly enrollment data", kMenuEnrollment);
}

void CEnrollmentGrid::MakeGrid()
{
    if (!m_pDB) return;
    m_strTitle = WeekTitle("Weekly enrollment data");
    std::vector<stContractTotal>* written[3] = {&m_aWeek, &m_aYear, &m_aPrevious};
    std::vector<stContractTotal>* undone[3] = {&m_aWeekUndone, &m_aYearUndone, &m_aPreviousUndone};
    const std::vector<stPeriod> periods = Periods();
    {
        host::WaitCursor wait;
        std::vector<stTallyPeriod<stContractTotal>> tallies;
        for (size_t p = 0; p < 3; ++p) {
            m_pDB->PrepareContractTypeTotals(*written[p]);
            m_pDB->PrepareContractTypeTotals(*undone[p]);
            tallies.push_back({periods[p].start, periods[p].end, written[p], undone[p]});
        }
        // The three periods in one pass over the tables.
        m_pDB->SumContractsByType(tallies);
    }
    SizeTable(3 * static_cast<int>(m_aWeek.size()) + 7, 7);
    SetHeaders({"Type", "Number of|interviews", "Number of|contracts", "Value of|contracts",
                "Number cancelled|or converted", "Value cancelled|or converted", "Actual|refunds"});
    int row = 1;
    for (size_t p = 0; p < 3; ++p) AddPeriodRows(periods[p].label, *written[p], *undone[p], row);
    FinishGrid();
}

void CEnrollmentGrid::AddPeriodRows(const std::string& label, const std::vector<stContractTotal>& written,
                                    const std::vector<stContractTotal>& undone, int& row)
{
    std::vector<std::vector<std::string>> lines;
    stContractTotal sum, undoneSum;
    for (size_t i = 0; i < written.size() && i < undone.size(); ++i) {
        const stContractTotal& w = written[i];
        const stContractTotal& u = undone[i];
        lines.push_back({CategoryName(w.nCode), Format("%u", w.nVisits), Format("%u", w.nContracts),
                         FormatMoney(w.dTotal, 0), Format("%u", u.nContracts), FormatMoney(u.dTotal, 0),
                         FormatMoney(u.dRefunds, 0)});
        sum.nVisits += w.nVisits;
        sum.nContracts += w.nContracts;
        sum.dTotal += w.dTotal;
        undoneSum.nContracts += u.nContracts;
        undoneSum.dTotal += u.dTotal;
        undoneSum.dRefunds += u.dRefunds;
    }
    lines.push_back({"Totals", Format("%u", sum.nVisits), Format("%u", sum.nContracts), FormatMoney(sum.dTotal, 0),
                     Format("%u", undoneSum.nContracts), FormatMoney(undoneSum.dTotal, 0),
                     FormatMoney(undoneSum.dRefunds, 0)});
    CReportGrid::AddPeriodRows(label, lines, row);
}
