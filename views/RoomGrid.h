#pragma once
// CRoomGrid: how the studio's rooms are booked, read only: mode 'D' one day with a column per
// room, any other letter a week of days with the room named in each entry.

#include <cstdint>
#include <vector>

#include "common/DateTime.h"
#include "studio/DataToken.h"
#include "views/StudioGrid.h"

class CDatabase;

class CRoomGrid : public CStudioGrid {
public:
    // Made with new: hides the main window, registers with the database and shows today or the
    // week that holds it.
    CRoomGrid(ui::Window* parent, CDatabase* database, char mode);

    bool OnCommand(int id, int code) override;
    void OnGridLButtonDown(int x, int y) override;

    char m_cMode;
    int32_t m_nStep;
    std::vector<DATE> m_aColumns;
    std::vector<DATE> m_aTimes;
    std::vector<stDataToken> m_aEntries;
    DATE m_dStart = 0.0;
    DATE m_dEnd = 0.0;

private:
    void FillGrid() override;
    // Today, or the week that holds it.
    void CurrentPeriod();
};
