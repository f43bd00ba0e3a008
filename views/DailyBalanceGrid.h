#pragma once
// CDailyBalanceGrid ("Daily balance"): every money movement of one day (payments received and
// made, the scheduled payments of live purchases) in date order with a running balance that
// starts at zero each day.

#include <vector>

#include "studio/DataToken.h"
#include "views/ReportGrid.h"

class CDailyBalanceGrid : public CReportGrid {
public:
    CDailyBalanceGrid(ui::Window* parent, CDatabase* database);

    void MakeGrid() override;
    bool OnCommand(int id, int code) override;

    std::vector<stDataToken> m_aEntries;
    DATE m_dDayStart = 0.0;
    DATE m_dDayEnd = 0.0;

protected:
    // Today; one day on or back.
    void SetCurrentPeriod() override;
    void StepPeriod(int direction) override;
};
