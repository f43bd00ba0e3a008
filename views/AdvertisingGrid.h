#pragma once
// CAdvertisingGrid ("Weekly advertising data"): per interview source, the calls and first
// interviews it brought, the persons added with it and the money spent on it, for the week, the
// year to date and the previous year, stacked as three row groups with a total row each.

#include <vector>

#include "database/Database.h"
#include "views/ReportGrid.h"

class CAdvertisingGrid : public CReportGrid {
public:
    CAdvertisingGrid(ui::Window* parent, CDatabase* database);

    void MakeGrid() override;
    using CReportGrid::AddPeriodRows;
    void AddPeriodRows(const std::string& label, const std::vector<stSourceTotal>& rows, int& row);

    std::vector<stSourceTotal> m_aWeek;
    std::vector<stSourceTotal> m_aYear;
    std::vector<stSourceTotal> m_aPrevious;
};
