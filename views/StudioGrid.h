#pragma once
// CStudioGrid: a grid window over the open database. It keeps the database and the window it
// replaces, may register in one of the database's open-grid pointers (which the database tells,
// with the grid-update message, after a refresh of other users' changes), and rebuilds its cells
// whenever they were made before the database's last refresh, so no entry pointer into a
// reloaded table is used. A derived grid fills the cells in FillGrid.

#include <cstdint>

#include "views/GridFrame.h"

class CDatabase;

class CStudioGrid : public CGridFrame {
public:
    // The open-grid pointer of the database a grid registers in (none: not told of refreshes).
    using GridSlot = ui::Window* CDatabase::*;

    // `updateTrace` is the trace line of the grid-update message.
    CStudioGrid(ui::Window* parent, CDatabase* database, GridSlot slot, const char* updateTrace);
    ~CStudioGrid() override;

    // Fills the cells and draws them.
    void BuildGrid();
    // The grid-update message: rebuilds; 0.
    intptr_t OnUpdateGridMsg();

    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    // Drops the database pointer and the registration: the database may go before this object.
    void OnDestroy() override;

    CDatabase* m_pDB;
    ui::Window* m_pParent;

protected:
    // The cells and the grid's own data for what is shown, without drawing; m_pDB is set.
    virtual void FillGrid() = 0;
    // A registered grid whose cells were made before the last refresh fills them again.
    void BeforeGridUse() override;
    // Prints the grid as it stands after the last refresh.
    void PrintCurrentGrid();

private:
    void Unregister();

    GridSlot m_pSlot;
    const char* m_pUpdateTrace;
    uint32_t m_nBuiltAtRefresh = 0;
};
