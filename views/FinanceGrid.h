#pragma once
// CFinanceGrid ("Weekly Finance schedule"): the studio's money per category for the week, the
// year to date and the previous year side by side. Modes: 1 all purchases, 2 payments received,
// 3 (kept as 2 with the summary flag) the summary of payments received, 4 payments made,
// 5 merchandise purchases (rows prepared, nothing counted).

#include <cstdint>
#include <vector>

#include "database/Database.h"
#include "views/ReportGrid.h"

class CFinanceGrid : public CReportGrid {
public:
    CFinanceGrid(ui::Window* parent, CDatabase* database, int mode);

    void MakeGrid() override;
    void MakeCategoryGrid();
    void MakeSummaryGrid();
    void MakePaymentsMadeGrid();
    // The grid's name in the title, by mode and flag.
    std::string GridName() const;

    uint8_t m_cMode;
    int32_t m_bSummary;
    std::vector<stCodeTotal> m_aWeekIncome;
    std::vector<stCodeTotal> m_aYearIncome;
    std::vector<stCodeTotal> m_aPreviousIncome;
    std::vector<stCodeTotal> m_aWeekRefunds;
    std::vector<stCodeTotal> m_aYearRefunds;
    std::vector<stCodeTotal> m_aPreviousRefunds;
};
