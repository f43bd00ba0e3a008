#pragma once
// CProgramStatisticsGrid: per category of one kind ('P' programs, 'D' departments, 'C' contract
// types), the activities, first interviews and the sales that followed them, renewal interviews
// and theirs, for the week, the year to date and the previous year side by side.

#include <vector>

#include "studio/ProgramStatisticsData.h"
#include "views/ReportGrid.h"

class CProgramStatisticsGrid : public CReportGrid {
public:
    CProgramStatisticsGrid(ui::Window* parent, CDatabase* database, char kind);

    void MakeGrid() override;
    // Empties the array and adds one zero row per category of the grid's kind.
    void InitProgramStatistics(std::vector<stProgramStatisticsData>& rows);

    char m_cKind;
    std::vector<stProgramStatisticsData> m_aWeek;
    std::vector<stProgramStatisticsData> m_aYear;
    std::vector<stProgramStatisticsData> m_aPrevious;
};
