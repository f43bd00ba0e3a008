#include "views/FinanceGrid.h"

#include "common/TextFormat.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

namespace {

constexpr int kMenuFinance = 114;

void RegisterMenu()
{
    using ui::Item;
    static const ui::MenuTemplate menu = {kMenuFinance, {
        Item(CReportGrid::kCmdExit, "e&Xit"), Item(CReportGrid::kCmdNext, "&Next"),
        Item(CReportGrid::kCmdPrevious, "p&Revious"), Item(CReportGrid::kCmdCurrent, "&Current"),
        Item(CReportGrid::kCmdPrint, "&Print"),
    }};
    ui::RegisterMenu(menu);
}

std::vector<double> Amounts(const std::vector<stCodeTotal>& rows)
{
    std::vector<double> amounts;
    for (const stCodeTotal& t : rows) amounts.push_back(t.dAmount);
    return amounts;
}

uint32_t CountSum(const std::vector<stCodeTotal>& rows)
{
    uint32_t sum = 0;
    for (const stCodeTotal& t : rows) sum += t.nCount;
    return sum;
}

double AmountSum(const std::vector<stCodeTotal>& rows)
{
    double sum = 0.0;
    for (const stCodeTotal& t : rows) sum += t.dAmount;
    return sum;
}

// Element i, or a zero row where a period has fewer rows.
stCodeTotal At(const std::vector<stCodeTotal>& rows, size_t i)
{
    return i < rows.size() ? rows[i] : stCodeTotal{};
}

}  // namespace

CFinanceGrid::CFinanceGrid(ui::Window* parent, CDatabase* database, int mode)
    : CReportGrid(parent, database),
      m_cMode(static_cast<uint8_t>(mode == 3 ? 2 : mode)),
      m_bSummary(mode == 3 ? 1 : 0)
{
    RegisterMenu();
    OpenGrid("Weekly Finance schedule", kMenuFinance);
}

std::string CFinanceGrid::GridName() const
{
    switch (m_cMode) {
    case 1: return "All purchases";
    case 2: return m_bSummary == 1 ? "Summary of payments received" : "Payments received";
    case 4: return "Payments made";
    case 5: return "Murchandise purchases";
    default: return std::string();
    }
}

void CFinanceGrid::MakeGrid()
{
    if (!m_pDB) return;
    m_strTitle = WeekTitle(GridName());
    std::vector<stCodeTotal>* income[3] = {&m_aWeekIncome, &m_aYearIncome, &m_aPreviousIncome};
    std::vector<stCodeTotal>* refunds[3] = {&m_aWeekRefunds, &m_aYearRefunds, &m_aPreviousRefunds};
    const std::vector<stPeriod> periods = Periods();
    {
        host::WaitCursor wait;
        std::vector<stTallyPeriod<stCodeTotal>> tallies;
        for (size_t p = 0; p < 3; ++p) {
            m_pDB->PrepareCategoryTotals(m_cMode, *income[p]);
            m_pDB->PrepareCategoryTotals(m_cMode, *refunds[p]);
            tallies.push_back({periods[p].start, periods[p].end, income[p], refunds[p]});
        }
        // Mode 5 prepares its rows and counts nothing; the others sum the three periods in one pass.
        if (m_cMode != 5) m_pDB->SumSalesByCategory(m_cMode, tallies);
    }
    if (m_cMode == 2 && m_bSummary == 1)
        MakeSummaryGrid();
    else if (m_cMode == 4)
        MakePaymentsMadeGrid();
    else
        MakeCategoryGrid();
    FinishGrid();
}

void CFinanceGrid::MakeCategoryGrid()
{
    const int rows = static_cast<int>(m_aWeekIncome.size());
    SizeTable(rows + 2, 10);
    SetHeaders({"Category/Period", "Current week|# items", "Current week|Income", "Current week|Refunds",
                "Year-to-date|# items", "Year-to-date|Income", "Year-to-date|Refunds", "Previous year|# items",
                "Previous year|Income", "Previous year|Refunds"});
    const std::vector<stCodeTotal>* income[3] = {&m_aWeekIncome, &m_aYearIncome, &m_aPreviousIncome};
    const std::vector<stCodeTotal>* refunds[3] = {&m_aWeekRefunds, &m_aYearRefunds, &m_aPreviousRefunds};
    for (int i = 0; i < rows; ++i) {
        SetCell(i + 1, 0, CategoryName(m_aWeekIncome[static_cast<size_t>(i)].nCode));
        for (int p = 0; p < 3; ++p) {
            const stCodeTotal in = At(*income[p], static_cast<size_t>(i));
            const stCodeTotal out = At(*refunds[p], static_cast<size_t>(i));
            SetCell(i + 1, 1 + 3 * p, Format("%u", in.nCount));
            SetCell(i + 1, 2 + 3 * p, Format("%8.2f", in.dAmount));
            SetCell(i + 1, 3 + 3 * p, Format("%8.2f", out.dAmount));
        }
    }
    SetCell(rows + 1, 0, "Total");
    for (int p = 0; p < 3; ++p) {
        SetCell(rows + 1, 1 + 3 * p, Format("%u", CountSum(*income[p])));
        SetCell(rows + 1, 2 + 3 * p, FormatMoney(AmountSum(*income[p]), 0));
        SetCell(rows + 1, 3 + 3 * p, FormatMoney(AmountSum(*refunds[p]), 0));
    }
}

void CFinanceGrid::MakeSummaryGrid()
{
    SizeTable(5, 7);
    SetHeaders({"Category/Period", "Current week|Income", "Current week|Refunds", "Year-to-date|Income",
                "Year-to-date|Refunds", "Previous year|Income", "Previous year|Refunds"});
    SetCell(1, 0, "Dance items");
    SetCell(2, 0, "Merchandise");
    SetCell(3, 0, "Other");
    SetCell(4, 0, "Total");
    const std::vector<stCodeTotal>* arrays[6] = {&m_aWeekIncome, &m_aWeekRefunds, &m_aYearIncome,
                                                 &m_aYearRefunds, &m_aPreviousIncome, &m_aPreviousRefunds};
    for (int c = 0; c < 6; ++c) {
        const std::vector<stCodeTotal>& rows = *arrays[c];
        std::string text;
        m_pDB->SumCategoryTotalsByType(text, rows, 'B', 1);
        SetCell(1, c + 1, text);
        m_pDB->SumCategoryTotalsByType(text, rows, 'm', 0);
        SetCell(2, c + 1, text);
        double other = 0.0;
        for (const stCodeTotal& t : rows)
            if (t.nCode == TALLY_OTHER) other += t.dAmount;
        SetCell(3, c + 1, Format("%8.2f", other));
        SetCell(4, c + 1, FormatAmountTotal(Amounts(rows)));
    }
}

void CFinanceGrid::MakePaymentsMadeGrid()
{
    const int rows = static_cast<int>(m_aWeekIncome.size());
    SizeTable(rows + 2, 4);
    SetHeaders({"Category/Period", "Current week", "Year-to-date", "Previous year"});
    const std::vector<stCodeTotal>* income[3] = {&m_aWeekIncome, &m_aYearIncome, &m_aPreviousIncome};
    for (int i = 0; i < rows; ++i) {
        SetCell(i + 1, 0, CategoryName(m_aWeekIncome[static_cast<size_t>(i)].nCode));
        for (int p = 0; p < 3; ++p)
            SetCell(i + 1, 1 + p, Format("%8.2f", At(*income[p], static_cast<size_t>(i)).dAmount));
    }
    SetCell(rows + 1, 0, "Total");
    for (int p = 0; p < 3; ++p) SetCell(rows + 1, 1 + p, Format("%8.2f", AmountSum(*income[p])));
}
