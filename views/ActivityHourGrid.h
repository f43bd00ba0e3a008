#pragma once
// CActivityHourGrid ("Activity breakdown"): per basic dance activity type, the lessons and units
// enrolled, taken, and cancelled or converted in the week, the year to date and the previous
// year, stacked as three row groups.

#include <vector>

#include "database/TeacherActivityData.h"
#include "views/ReportGrid.h"

class CActivityHourGrid : public CReportGrid {
public:
    CActivityHourGrid(ui::Window* parent, CDatabase* database);

    void MakeGrid() override;
    using CReportGrid::AddPeriodRows;
    void AddPeriodRows(const std::string& label, const std::vector<stActivityCount>& rows, int& row);

    std::vector<stActivityCount> m_aWeek;
    std::vector<stActivityCount> m_aYear;
    std::vector<stActivityCount> m_aPrevious;
};
