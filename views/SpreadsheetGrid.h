#pragma once
// CSpreadsheetGrid: a delimited text file (an IIF file in practice) shown as a grid, one line per
// row and one field per column. A right click corrects a cell; the grid is saved again with a
// chosen separator. While it is up the main window is hidden and the database's timed refresh is
// held off (from its window's creation to its destruction).

#include <string>

#include "views/GridFrame.h"

class CDatabase;

class CSpreadsheetGrid : public CGridFrame {
public:
    // Made with new: hides the parent, holds the refresh, shows the file.
    CSpreadsheetGrid(ui::Window* parent, CDatabase* database, const std::string& path);
    ~CSpreadsheetGrid() override;

    // Fills the cells from the file (empty after a message when it cannot be read).
    void LoadFile();
    // Asks for a file name and writes every row with the separator between its cells.
    void SaveFile(char separator);
    // Fonts, title and print settings of the sheet, then the redraw.
    void ResetLayout();
    void OnHelp();

    bool OnCommand(int id, int code) override;
    void OnGridRButtonDown(int x, int y) override;
    void OnDestroy() override;

    CDatabase* m_pDB;
    ui::Window* m_pParent;
    std::string m_strFileName;

private:
    void ReleaseRefresh();
    bool m_bRefreshHeld = false;
};
