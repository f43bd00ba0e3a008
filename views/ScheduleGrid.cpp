#include "views/ScheduleGrid.h"

#include <cmath>

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Menu.h"
#include "platform/ui/View.h"
#include "reports/WeeklyClassesPage.h"

using ui::Item;

namespace {

constexpr int kMenuSchedule = 107;
constexpr int kMenuClasses = 122;
constexpr int kCmdExit = 30055;
constexpr int kCmdNext = 30061;
constexpr int kCmdPrevious = 30062;
constexpr int kCmdCurrent = 32850;
constexpr int kCmdPrint = 30056;
constexpr int kCmdHelp = 57670;
constexpr int kCmdWebPage = 32923;
constexpr uint32_t kHelpTopic = 131179;

// Choices of the click menu; entries follow from kFirstEntryChoice.
constexpr uint32_t kAddNonPriceList = 1;
constexpr uint32_t kAddPriceList = 2;
constexpr uint32_t kFirstEntryChoice = 100;

void RegisterMenus()
{
    static const ui::MenuTemplate schedule = {kMenuSchedule, {
        Item(kCmdExit, "e&Xit"), Item(kCmdNext, "&Next"), Item(kCmdPrevious, "p&Revious"),
        Item(kCmdCurrent, "&Current"), Item(kCmdPrint, "&Print"), Item(kCmdHelp, "&Help"),
    }};
    static const ui::MenuTemplate classes = {kMenuClasses, {
        Item(kCmdExit, "e&Xit"), Item(kCmdNext, "&Next"), Item(kCmdPrevious, "p&Revious"),
        Item(kCmdCurrent, "&Current"), Item(kCmdPrint, "&Print"), Item(kCmdWebPage, "&Web page create"),
        Item(kCmdHelp, "&Help"),
    }};
    ui::RegisterMenu(schedule);
    ui::RegisterMenu(classes);
}

}  // namespace

CScheduleGrid::CScheduleGrid(ui::Window* parent, CDatabase* database, int32_t mode)
    : CStudioGrid(parent, database, &CDatabase::m_pScheduleGrid, "CScheduleGrid::OnUpdateGridMsg()\n"), m_nMode(mode)
{
    RegisterMenus();
    CurrentWeek();
    CreateGridFrame("Weekly schedule", mode == -2 ? kMenuClasses : kMenuSchedule, parent);
    BuildGrid();
}

void CScheduleGrid::CurrentWeek()
{
    const int weekday = m_pDB ? m_pDB->m_Parameters.GetInt(param::kStartDayOfWeek) : 1;
    GetWeekStart(m_dWeekStart, m_dWeekEnd, weekday, 7);
}

void CScheduleGrid::FillGrid()
{
    const stParameters& p = m_pDB->m_Parameters;
    m_nTitleFontSize = p.GetByte(param::kScheduleHeaderFont) * 10;
    m_nCellFontSize = p.GetByte(param::kScheduleCellFont) * 10;
    m_strTitle = "Weekly Schedule";
    {
        host::WaitCursor wait;
        m_pDB->MakeScheduleGrid(m_nMode, m_dWeekStart, m_dWeekEnd, m_Cells, m_aDays, m_aTimes, m_aEntries,
                                p.GetUInt(param::kLabelColour), p.GetUInt(param::kCellColour), 1);
    }
    m_bLandscape = 1;
    m_bRepeatLabelRow = 1;
    m_bRepeatLabelColumn = 1;
}

bool CScheduleGrid::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdExit:
        m_aEntries.clear();
        DestroyWindow();
        return true;
    case kCmdNext:
        m_dWeekStart += 7.0;
        m_dWeekEnd = m_dWeekStart + 7.0;
        BuildGrid();
        return true;
    case kCmdPrevious:
        m_dWeekStart -= 7.0;
        m_dWeekEnd = m_dWeekStart + 7.0;
        BuildGrid();
        return true;
    case kCmdCurrent:
        CurrentWeek();
        BuildGrid();
        return true;
    case kCmdPrint:
        PrintCurrentGrid();
        return true;
    case kCmdHelp:
        CallHelp(kHelpTopic);
        return true;
    case kCmdWebPage:
        if (m_nMode != -2) return false;
        BeforeGridUse();
        SaveWeeklyClassesPage("Weekly schedule", m_Cells);
        return true;
    default:
        return CStudioGrid::OnCommand(id, code);
    }
}

// ---- Cells ------------------------------------------------------------------------------------

bool CScheduleGrid::IsDayTimeCell(int row, int column) const
{
    return row >= 0 && column >= 0 && static_cast<size_t>(row) < m_aTimes.size() &&
           static_cast<size_t>(column) < m_aDays.size();
}

DATE CScheduleGrid::CellMoment(int row, int column) const
{
    const DATE day = std::floor(m_aDays[static_cast<size_t>(column)]);
    const DATE time = m_aTimes[static_cast<size_t>(row)];
    const int minutes = static_cast<int>(std::lround((time - std::floor(time)) * 1440.0));
    return AddToDate(day, 0, 0, minutes, 0);
}

// ---- The mouse --------------------------------------------------------------------------------

void CScheduleGrid::OnGridLButtonDown(int x, int y)
{
    if (m_nMode == -2) return;
    BeforeGridUse();
    GridView().SetCursorShape(ui::CursorShape::SizeAll);
    m_bDragMode = 1;
    CellFromPoint(0, x, y);
    m_nDragStartColumn = m_nHitColumn;
    m_nDragStartRow = m_nHitRow;
    m_nDragStartLine = m_nHitLine;
}

void CScheduleGrid::OnGridLButtonUp(int x, int y)
{
    if (m_nMode == -2) return;
    const bool dragging = m_bDragMode == 1;
    m_bDragMode = 0;
    GridView().SetCursorShape(ui::CursorShape::Arrow);
    if (!dragging) return;  // the press was not ours (a dialog closed over the grid)
    BeforeGridUse();
    CellFromPoint(0, x, y);
    if (m_nHitColumn == m_nDragStartColumn && m_nHitRow == m_nDragStartRow)
        ClickCell(m_nHitRow - 2, m_nHitColumn - 2);
    else
        Drop(m_nHitRow - 2, m_nHitColumn - 2);
    if (IsCreated()) GridView().SetFocus();
}

void CScheduleGrid::Drop(int row, int column)
{
    if (!IsDayTimeCell(row, column)) {
        GetResponse("Can't drop outside of grid.", MB_OK);
        return;
    }
    const int fromColumn = m_nDragStartColumn - 2;
    const int fromRow = m_nDragStartRow - 2;
    const stDataToken* found = nullptr;
    int order = 0;
    for (const stDataToken& e : m_aEntries) {
        if (e.column != fromColumn || e.row != fromRow) continue;
        if (order++ == m_nDragStartLine) {
            found = &e;
            break;
        }
    }
    if (!found || !m_pDB) {
        GetResponse("Selected item not found", MB_OK);
        return;
    }
    const stDataToken entry = *found;
    if (m_pDB->RescheduleEntry(entry, CellMoment(row, column)) == 1) BuildGrid();
}

void CScheduleGrid::ClickCell(int row, int column)
{
    if (!IsDayTimeCell(row, column) || !m_pDB) return;
    const DATE when = CellMoment(row, column);
    CDialogMenu menu(m_pDB, "Add", 'S', 'N', -1, 0, "", this);
    menu.AddItem(kAddNonPriceList, "Add schedulable non-pricelist event");
    menu.AddItem(kAddPriceList, "Add schedulable pricelist event (e.g. standing lesson)");
    std::vector<stDataToken> offered;
    for (const stDataToken& e : m_aEntries) {
        if (e.column != column || e.row != row || (e.type != 's' && e.type != '$')) continue;
        std::string kindText, shortText, longText;
        m_pDB->MakeScheduleText(&e, kindText, shortText, longText, 1);
        menu.AddItem(kFirstEntryChoice + static_cast<uint32_t>(offered.size()),
                     Format("Take and pay for %s (%s)", shortText.c_str(), kindText.c_str()));
        offered.push_back(e);
    }
    const int choice = static_cast<int>(menu.DoModal());
    CDatabase* db = m_pDB;
    int result = 0;
    if (choice == static_cast<int>(kAddNonPriceList) || choice == static_cast<int>(kAddPriceList)) {
        CScheduleRecord item;
        item.m_cKind = choice == static_cast<int>(kAddNonPriceList) ? 'N' : 'S';
        item.m_dFirstDate = when;
        result = db->AddTableItem(TABLE_SCHEDULE, LOC_NONE, &item, 1, 0, nullptr);
    } else if (choice >= static_cast<int>(kFirstEntryChoice) &&
               static_cast<size_t>(choice) - kFirstEntryChoice < offered.size()) {
        const stDataToken& e = offered[static_cast<size_t>(choice) - kFirstEntryChoice];
        if (e.type == 's') {
            const auto* record = static_cast<const CScheduleRecord*>(e.record);
            if (db->GetItem(TABLE_PRICELIST, record->m_nPriceListCode) != nullptr)
                result = db->SellItemNow(record->m_nPriceListCode, record->m_nStudent, when);
        } else {
            const auto* item = static_cast<const CPriceListItem*>(e.record);
            const uint32_t code = item->m_nCode;
            const int32_t person = db->SelectPerson('C', 0, 0, 0);
            if (person >= 0) result = db->SellItemNow(code, static_cast<uint32_t>(person), when);
        }
    }
    if (result == 1 && IsCreated()) BuildGrid();
}

void CScheduleGrid::OnGridRButtonDown(int x, int y)
{
    if (m_nMode == -2 || !m_pDB) return;
    BeforeGridUse();
    CellFromPoint(0, x, y);
    const int column = m_nHitColumn - 2;
    const int row = m_nHitRow - 2;
    if (!IsDayTimeCell(row, column)) return;
    if (m_pDB->m_fnScheduleCellDialog)
        m_pDB->m_fnScheduleCellDialog(m_aEntries, row, column, m_nMode, m_dWeekStart, m_dWeekEnd, m_Cells, m_aDays,
                                      m_aTimes);
    if (!IsCreated()) return;
    BuildGrid();
    GridView().SetFocus();
}
