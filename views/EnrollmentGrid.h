#pragma once
// CEnrollmentGrid ("Weekly enrollment data"): per contract type, the interviews, the contracts
// written and their value, the contracts cancelled and their value, and the refunds paid, for the
// week, the year to date and the previous year, stacked as three row groups with a total row
// each. Each period has two arrays alike in their rows: what was written, what was undone.

#include <vector>

#include "database/Database.h"
#include "views/ReportGrid.h"

class CEnrollmentGrid : public CReportGrid {
public:
    CEnrollmentGrid(ui::Window* parent, CDatabase* database);

    void MakeGrid() override;
    using CReportGrid::AddPeriodRows;
    void AddPeriodRows(const std::string& label, const std::vector<stContractTotal>& written,
                       const std::vector<stContractTotal>& undone, int& row);

    std::vector<stContractTotal> m_aWeek;
    std::vector<stContractTotal> m_aWeekUndone;
    std::vector<stContractTotal> m_aYear;
    std::vector<stContractTotal> m_aYearUndone;
    std::vector<stContractTotal> m_aPrevious;
    std::vector<stContractTotal> m_aPreviousUndone;
};
