#pragma once
// CRoomGrid: how the studio's rooms are booked, read only: mode 'D' one day with a column per
// room, any other letter a week of days with the room named in each entry.

#include <cstdint>
#include <vector>

#include "common/DateTime.h"
#include "studio/DataToken.h"
#include "views/GridFrame.h"

class CDatabase;

class CRoomGrid : public CGridFrame {
public:
    // Made with new: hides the main window, registers with the database and shows today or the
    // week that holds it.
    CRoomGrid(ui::Window* parent, CDatabase* database, char mode);
    ~CRoomGrid() override;

    void BuildGrid();
    intptr_t OnUpdateGridMsg();

    bool OnCommand(int id, int code) override;
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    void OnGridLButtonDown(int x, int y) override;
    void OnDestroy() override;

    CDatabase* m_pDB;
    ui::Window* m_pParent;
    char m_cMode;
    int32_t m_nStep;
    std::vector<DATE> m_aColumns;
    std::vector<DATE> m_aTimes;
    std::vector<stDataToken> m_aEntries;
    DATE m_dStart = 0.0;
    DATE m_dEnd = 0.0;

protected:
    void BeforeGridUse() override;

private:
    void FillGrid();
    // Today, or the week that holds it.
    void CurrentPeriod();

    uint32_t m_nBuiltAtRefresh = 0;
};
