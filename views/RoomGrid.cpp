#include "views/RoomGrid.h"

#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"

using ui::Item;

namespace {

constexpr int kMenuRooms = 113;
constexpr int kCmdExit = 30055;
constexpr int kCmdNext = 30061;
constexpr int kCmdPrevious = 30062;
constexpr int kCmdCurrent = 32850;
constexpr int kCmdPrint = 30056;
constexpr int kCmdHelp = 57670;
constexpr uint32_t kHelpTopic = 131185;

void RegisterMenu()
{
    static const ui::MenuTemplate rooms = {kMenuRooms, {
        Item(kCmdExit, "e&Xit"), Item(kCmdNext, "&Next"), Item(kCmdPrevious, "p&Revious"),
        Item(kCmdCurrent, "&Current"), Item(kCmdPrint, "&Print"), Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(rooms);
}

}  // namespace

CRoomGrid::CRoomGrid(ui::Window* parent, CDatabase* database, char mode)
    : CStudioGrid(parent, database, &CDatabase::m_pRoomGrid, "CRoomGrid::OnUpdateGridMsg()\n"),
      m_cMode(mode),
      m_nStep(mode == 'D' ? 1 : 7)
{
    RegisterMenu();
    CurrentPeriod();
    CreateGridFrame(mode == 'D' ? "Daily room schedule" : "Weekly room schedule", kMenuRooms, parent);
    BuildGrid();
}

void CRoomGrid::CurrentPeriod()
{
    if (m_cMode == 'D') {
        m_dStart = GetToday(0);
        m_dEnd = m_dStart + 1.0;
        return;
    }
    const int weekday = m_pDB ? m_pDB->m_Parameters.GetInt(param::kStartDayOfWeek) : 1;
    GetWeekStart(m_dStart, m_dEnd, weekday, 7);
}

void CRoomGrid::FillGrid()
{
    const stParameters& p = m_pDB->m_Parameters;
    m_nTitleFontSize = p.GetByte(param::kScheduleHeaderFont) * 10;
    m_nCellFontSize = p.GetByte(param::kScheduleCellFont) * 10;
    m_strTitle = m_cMode == 'D' ? Format("Daily room schedule for %s", FormatDateTime(m_dStart, "%A %B %d, %Y").c_str())
                                : std::string("Weekly room schedule");
    {
        host::WaitCursor wait;
        m_pDB->MakeScheduleGridText(m_cMode, m_dStart, m_dEnd, m_Cells, m_aColumns, m_aTimes, m_aEntries,
                                    p.GetUInt(param::kLabelColour), p.GetUInt(param::kCellColour));
    }
    m_bLandscape = 1;
    m_bRepeatLabelRow = 1;
    m_bRepeatLabelColumn = 1;
}

bool CRoomGrid::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdExit:
        m_aEntries.clear();
        DestroyWindow();
        return true;
    case kCmdNext:
    case kCmdPrevious: {
        const double step = id == kCmdNext ? m_nStep : -m_nStep;
        m_dStart += step;
        m_dEnd += step;
        BuildGrid();
        return true;
    }
    case kCmdCurrent:
        CurrentPeriod();
        BuildGrid();
        return true;
    case kCmdPrint:
        PrintCurrentGrid();
        return true;
    case kCmdHelp:
        CallHelp(kHelpTopic);
        return true;
    default:
        return CStudioGrid::OnCommand(id, code);
    }
}

void CRoomGrid::OnGridLButtonDown(int x, int y)
{
    BeforeGridUse();
    CellFromPoint(0, x, y);
}
