#include "views/ProgramStatisticsGrid.h"

#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

namespace {

constexpr int kMenuStatistics = 118;
constexpr int kBlockColumns = 6;

void RegisterMenu()
{
    using ui::Item;
    static const ui::MenuTemplate menu = {kMenuStatistics, {
        Item(CReportGrid::kCmdExit, "e&Xit"), Item(CReportGrid::kCmdNext, "&Next"),
        Item(CReportGrid::kCmdPrevious, "p&Revious"), Item(CReportGrid::kCmdCurrent, "&Current"),
        Item(CReportGrid::kCmdPrint, "&Print"),
    }};
    ui::RegisterMenu(menu);
}

const char* FrameTitle(char kind)
{
    switch (kind) {
    case 'D': return "Weekly department statistics";
    case 'C': return "Weekly contract statistics";
    default: return "Weekly program statistics";
    }
}

std::string Sales(uint32_t count, double amount)
{
    return Format("(%s) $%s", Format("%u", count).c_str(), FormatMoney(amount, 0).c_str());
}

}  // namespace

CProgramStatisticsGrid::CProgramStatisticsGrid(ui::Window* parent, CDatabase* database, char kind)
    : CReportGrid(parent, database), m_cKind(kind)
{
    RegisterMenu();
    OpenGrid(FrameTitle(kind), kMenuStatistics);
}

void CProgramStatisticsGrid::InitProgramStatistics(std::vector<stProgramStatisticsData>& rows)
{
    rows.clear();
    if (!m_pDB) return;
    for (const stIndex& e : *m_pDB->GetItemList(TABLE_CATEGORY)) {
        const CCategory* c = static_cast<const CCategory*>(e.pItem);
        if (c->m_cType != m_cKind) continue;
        stProgramStatisticsData row;
        row.nCode = static_cast<int32_t>(c->m_nCode);
        rows.push_back(row);
    }
}

void CProgramStatisticsGrid::MakeGrid()
{
    if (!m_pDB) return;
    const char* name = m_cKind == 'D'   ? "Weekly department statistics"
                       : m_cKind == 'C' ? "Weekly contract type statistics"
                                        : "Weekly program statistics";
    m_strTitle = WeekTitle(name);
    std::vector<stProgramStatisticsData>* arrays[3] = {&m_aWeek, &m_aYear, &m_aPrevious};
    const std::vector<stPeriod> periods = Periods();
    {
        host::WaitCursor wait;
        for (size_t p = 0; p < 3; ++p) {
            InitProgramStatistics(*arrays[p]);
            m_pDB->ProgramStatisticsData(m_cKind, periods[p].start, periods[p].end, *arrays[p]);
        }
    }
    const int rows = static_cast<int>(m_aWeek.size());
    SizeTable(rows + 2, 1 + 3 * kBlockColumns);
    SetCell(0, 0, "Period/Program");
    for (int p = 0; p < 3; ++p) {
        const int at = 1 + p * kBlockColumns;
        SetCell(0, at, periods[static_cast<size_t>(p)].label);
        SetCell(0, at + 1, "Activities");
        SetCell(0, at + 2, "First interviews");
        SetCell(0, at + 3, "Resulting sales");
        SetCell(0, at + 4, "Renewal interviews");
        SetCell(0, at + 5, "Resulting sales");
    }
    std::vector<stProgramStatisticsData> sums(3);
    auto writeRow = [&](int row, int p, const stProgramStatisticsData& d) {
        const int at = 1 + p * kBlockColumns;
        SetCell(row, at, std::string(), kCyan);
        SetCell(row, at + 1, Format("%u", d.nActivities));
        SetCell(row, at + 2, Format("%u", d.nFirstInterviews));
        SetCell(row, at + 3, Sales(d.nFirstSales, d.dFirstSalesAmount));
        SetCell(row, at + 4, Format("%u", d.nRenewalInterviews));
        SetCell(row, at + 5, Sales(d.nRenewalSales, d.dRenewalSalesAmount));
    };
    for (int i = 0; i < rows; ++i) {
        SetCell(i + 1, 0, m_pDB->GetCategoryName(static_cast<uint32_t>(m_aWeek[static_cast<size_t>(i)].nCode)));
        for (int p = 0; p < 3; ++p) {
            const std::vector<stProgramStatisticsData>& a = *arrays[p];
            const stProgramStatisticsData d = static_cast<size_t>(i) < a.size() ? a[static_cast<size_t>(i)]
                                                                               : stProgramStatisticsData{};
            writeRow(i + 1, p, d);
            stProgramStatisticsData& s = sums[static_cast<size_t>(p)];
            s.nActivities += d.nActivities;
            s.nFirstInterviews += d.nFirstInterviews;
            s.nFirstSales += d.nFirstSales;
            s.dFirstSalesAmount += d.dFirstSalesAmount;
            s.nRenewalInterviews += d.nRenewalInterviews;
            s.nRenewalSales += d.nRenewalSales;
            s.dRenewalSalesAmount += d.dRenewalSalesAmount;
        }
    }
    SetCell(rows + 1, 0, "Totals");
    for (int p = 0; p < 3; ++p) writeRow(rows + 1, p, sums[static_cast<size_t>(p)]);
    FinishGrid();
}
