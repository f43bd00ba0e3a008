#pragma once
// CReportGrid: what the studio's report grids share. A grid is opened by the launcher with new,
// hides the launcher's window, holds the database's refresh while it is open (so its figures
// stay those of one state of the tables), computes one period and steps to the next, previous
// or current one from its menu, prints, and deletes itself after its window is destroyed.
//
// Periods run from start (included) to end (excluded): the week that holds today, starting on
// the studio's first weekday; the year to date from 1 January of the week start's year to the
// week's end; the whole previous year. Every rebuild sizes the table and writes every cell.

#include <cstdint>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "views/GridCommands.h"
#include "views/GridFrame.h"

class CDatabase;

class CReportGrid : public CGridFrame {
public:
    static constexpr uint32_t kWhite = 0xFFFFFF;
    static constexpr uint32_t kCyan = 0xFFFF00;  // blue and green full, red zero
    static constexpr int kCmdExit = grid_commands::kCmdExit;
    static constexpr int kCmdNext = grid_commands::kCmdNext;
    static constexpr int kCmdPrevious = grid_commands::kCmdPrevious;
    static constexpr int kCmdCurrent = grid_commands::kCmdCurrent;
    static constexpr int kCmdPrint = grid_commands::kCmdPrint;
    static constexpr int kCmdHelp = grid_commands::kCmdHelp;

    ~CReportGrid() override;

    // Recomputes the figures of the current periods and refills every cell.
    virtual void MakeGrid() = 0;

    bool OnCommand(int id, int code) override;
    void OnDestroy() override;

    CDatabase* m_pDB;
    ui::Window* m_pParent;
    DATE m_dWeekStart = 0.0;
    DATE m_dWeekEnd = 0.0;
    DATE m_dYearStart = 0.0;
    DATE m_dYearEnd = 0.0;
    DATE m_dPreviousStart = 0.0;
    DATE m_dPreviousEnd = 0.0;

protected:
    // Stores the parent (the launcher) and the database and holds the refresh.
    CReportGrid(ui::Window* parent, CDatabase* database);
    // The rest of the construction, called last by the grid's constructor: the periods, the
    // frame window over the parent's, MakeGrid. `periodFirst` false makes the frame before the
    // periods (the daily balance grid).
    void OpenGrid(const std::string& frameTitle, int menuId, bool periodFirst = true);

    // The week that holds today and its year windows; a grid of another period overrides both.
    virtual void SetCurrentPeriod();
    // Moves the period one step forward (+1) or back (-1).
    virtual void StepPeriod(int direction);
    // The year windows of the week start.
    void SetYearWindows();

    // "%s: %s to %s" with the report name and the week's start and end as "%m/%d/%Y".
    std::string WeekTitle(const std::string& name) const;
    // Sizes the table; every cell empty and white.
    void SizeTable(int rows, int columns);
    void SetCell(int row, int column, const std::string& text, uint32_t colour = kWhite);
    // Row 0.
    void SetHeaders(const std::vector<std::string>& headers);
    // One period group from `row` on: the label in column 0 of a cyan row, then one white row
    // per line; `row` ends one past the group.
    void AddPeriodRows(const std::string& label, const std::vector<std::vector<std::string>>& lines, int& row);
    // Fonts and print switches of every report grid, then the repaint.
    void FinishGrid();
    // A category's name, through Capitalize ("Other" for -2, "Contracts" for -3).
    std::string CategoryName(uint32_t code) const;

    // The three weekly periods in their order.
    struct stPeriod {
        const char* label;
        DATE start;
        DATE end;
    };
    std::vector<stPeriod> Periods() const;

private:
    void ReleaseRefresh();

    // The grid holds the database's refresh from construction until its window goes.
    bool m_bRefreshHeld = false;
};
