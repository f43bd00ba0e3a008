#pragma once
// CScheduleGrid: the studio's week as a grid, a column per day and a row per time, built by the
// database's schedule grid. Mode -1 shows everyone, -2 the classes (no editing, and a web page),
// a person's code that person. An entry is dragged to another cell to move it; a click on a cell
// offers to add an entry or to take and pay for one; a right click opens the cell's dialog.

#include <cstdint>
#include <vector>

#include "common/DateTime.h"
#include "studio/DataToken.h"
#include "views/StudioGrid.h"

class CDatabase;

class CScheduleGrid : public CStudioGrid {
public:
    // Made with new: hides the main window, registers with the database and shows the week that
    // holds today.
    CScheduleGrid(ui::Window* parent, CDatabase* database, int32_t mode);

    bool OnCommand(int id, int code) override;
    void OnGridLButtonDown(int x, int y) override;
    void OnGridLButtonUp(int x, int y) override;
    void OnGridRButtonDown(int x, int y) override;

    int32_t m_nMode;
    std::vector<DATE> m_aDays;
    std::vector<DATE> m_aTimes;
    std::vector<stDataToken> m_aEntries;
    DATE m_dWeekStart = 0.0;
    DATE m_dWeekEnd = 0.0;
    int32_t m_nDragStartColumn = -1;
    int32_t m_nDragStartRow = -1;
    int32_t m_nDragStartLine = 0;

private:
    // The cells, days, times and entries of the week shown.
    void FillGrid() override;
    // Sets the week to the one that holds today.
    void CurrentWeek();
    // The moment of day column `column` at time row `row` (both from 0 over the day/time cells).
    DATE CellMoment(int row, int column) const;
    bool IsDayTimeCell(int row, int column) const;
    void Drop(int row, int column);
    void ClickCell(int row, int column);
};
