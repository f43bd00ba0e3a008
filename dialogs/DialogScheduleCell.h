#pragma once
// "Schedule for date/time cell": one day-and-time cell of a schedule grid. On the left the
// entries the grid shows in the cell, on the right the grid person's entries without a date.
// Entries are edited, cancelled, rescheduled or given the cell's date and time, each saved at
// once; "Add new item" adds a schedule item at the cell's date and time and closes. Nothing of
// the grid's is owned here; after each change the grid's tables are rebuilt.

#include "platform/ui/Dialog.h"
#include "records/TextArray2D.h"
#include "studio/DataToken.h"

#include <cstdint>
#include <vector>

class CDatabase;

class CDialogScheduleCell : public ui::Dialog {
public:
    CDialogScheduleCell(CDatabase* database, std::vector<stDataToken>& entries, CTextArray2D& cells,
                        std::vector<DATE>& days, std::vector<DATE>& times, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    void FillLists();

    // Runs the dialog on cell (row, column) of a grid of `person` (-1 everyone) over the days
    // from `start` to `end`, with the grid's tables.
    static int Show(CDatabase& database, std::vector<stDataToken>& entries, int row, int column, int32_t person,
                    DATE start, DATE end, CTextArray2D& cells, std::vector<DATE>& days, std::vector<DATE>& times,
                    ui::Window* parent = nullptr);

    int m_nRow = 0;
    int m_nColumn = 0;
    int32_t m_nPerson = -1;
    DATE m_dStart = 0.0;
    DATE m_dEnd = 0.0;
    // The person's entries (the right list's item data indexes them).
    std::vector<stDataToken> m_aItems;

private:
    DATE GetCellDateTime() const;
    void RebuildGrid();
    // The grid entry of the left list's selected line; false after "No item selected".
    bool GetSelectedEntry(stDataToken& entry);
    void EditEntry();
    void CancelEntry();
    void RescheduleEntry();
    void ScheduleForCell();
    void AddNewItem();

    CDatabase* m_pDB;
    std::vector<stDataToken>& m_aEntries;
    CTextArray2D& m_Cells;
    std::vector<DATE>& m_aDays;
    std::vector<DATE>& m_aTimes;
    DATE m_dCell = 0.0;
};
