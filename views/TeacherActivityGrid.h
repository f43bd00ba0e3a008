#pragma once
// CTeacherActivityGrid: a week's figures of the studio's teachers (mode 'T') or supervisors
// ('S'), a column per person and a row per measure: interviews and the sales that followed,
// total sales and cancellations, merchandise and other sales, guests, and per activity type the
// numbers and units enrolled, used and cancelled. While its window is up it holds off the
// database's timed refresh, so the figures stay those of its last build.

#include <string>
#include <vector>

#include "common/DateTime.h"
#include "database/TeacherActivityData.h"
#include "views/StudioGrid.h"

class CTeacherActivityGrid : public CStudioGrid {
public:
    // Made with new: hides the main window, holds off the refresh and shows the week that holds
    // today.
    CTeacherActivityGrid(ui::Window* parent, CDatabase* database, char mode);

    bool OnCommand(int id, int code) override;
    // Ends the refresh hold while the database is still there.
    void OnDestroy() override;

    char m_cMode;
    DATE m_dStart = 0.0;
    DATE m_dEnd = 0.0;
    // The figures of the last build, one row per person; the activity types' names, in the
    // order of each row's activity counts.
    std::vector<stTeacherActivityData> m_aPersons;
    std::vector<std::string> m_aActivityTypes;

private:
    void FillGrid() override;
    // Sets the week to the one that holds today.
    void CurrentWeek();

    bool m_bHoldsRefresh = false;
};
