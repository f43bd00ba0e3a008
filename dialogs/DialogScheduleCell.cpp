#include "dialogs/DialogScheduleCell.h"

#include "common/DateTime.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "widgets/ControlHelpers.h"
#include "widgets/Prompts.h"

namespace {

constexpr int kIdAdd = 1425;
constexpr int kIdEdit = 1017;
constexpr int kIdCancelDelete = 1014;
constexpr int kIdReschedule = 1439;
constexpr int kIdCellList = 1210;
constexpr int kIdScheduleHere = 1117;
constexpr int kIdUnscheduled = 1338;
constexpr uint32_t kHelpContext = 0x20000 + 145;
constexpr uint32_t kWhite = 0xFFFFFF;

const ui::DialogTemplate kScheduleCellTemplate{145, "Schedule for date/time cell", 0, 0, {
    {ui::Ctl::Button, kIdAdd, "Add new item"},
    {ui::Ctl::Button, kIdEdit, "Edit"},
    {ui::Ctl::Button, kIdCancelDelete, "Cancel/Delete"},
    {ui::Ctl::Button, kIdReschedule, "Reschedule"},
    {ui::Ctl::GroupBox, -1, "Items now scheduled for current date/time"},
    {ui::Ctl::ListBox, kIdCellList, ""},
    {ui::Ctl::Button, kIdScheduleHere, "Schedule item for current date/time"},
    {ui::Ctl::GroupBox, -1, "Unscheduled items"},
    {ui::Ctl::ListBox, kIdUnscheduled, ""},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

}  // namespace

CDialogScheduleCell::CDialogScheduleCell(CDatabase* database, std::vector<stDataToken>& entries, CTextArray2D& cells,
                                         std::vector<DATE>& days, std::vector<DATE>& times, ui::Window* parent)
    : ui::Dialog(kScheduleCellTemplate, parent), m_pDB(database), m_aEntries(entries), m_Cells(cells),
      m_aDays(days), m_aTimes(times)
{
}

int CDialogScheduleCell::Show(CDatabase& database, std::vector<stDataToken>& entries, int row, int column,
                              int32_t person, DATE start, DATE end, CTextArray2D& cells, std::vector<DATE>& days,
                              std::vector<DATE>& times, ui::Window* parent)
{
    CDialogScheduleCell dialog(&database, entries, cells, days, times, parent);
    dialog.m_nRow = row;
    dialog.m_nColumn = column;
    dialog.m_nPerson = person;
    dialog.m_dStart = start;
    dialog.m_dEnd = end;
    return dialog.DoModal();
}

DATE CDialogScheduleCell::GetCellDateTime() const
{
    DateFields day{};
    DateFields time{};
    const bool haveDay = m_nColumn >= 0 && static_cast<size_t>(m_nColumn) < m_aDays.size() &&
                         DateToFields(m_aDays[static_cast<size_t>(m_nColumn)], day);
    const bool haveTime = m_nRow >= 0 && static_cast<size_t>(m_nRow) < m_aTimes.size() &&
                          DateToFields(m_aTimes[static_cast<size_t>(m_nRow)], time);
    if (!haveDay || !haveTime) return 0.0;
    return MakeDate(day.year, day.month, day.day, time.hour, time.minute);
}

bool CDialogScheduleCell::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    for (int id : {kIdUnscheduled, kIdCellList})
        if (ui::ListBox* list = List(id)) list->SetHorizontalExtent(1200);
    for (int id : {kIdEdit, kIdCancelDelete, kIdReschedule, kIdScheduleHere}) EnableDlgItem(id, false);
    m_dCell = GetCellDateTime();
    SetWindowText(Format("Scheduled items for %s", FormatDateTime(m_dCell, "%A %B %d, %Y, %I:%M%p").c_str()));
    FillLists();
    return true;
}

void CDialogScheduleCell::FillLists()
{
    ui::ListBox* cellList = List(kIdCellList);
    ui::ListBox* unscheduled = List(kIdUnscheduled);
    if (!cellList || !unscheduled || !m_pDB) return;
    cellList->ResetContent();
    unscheduled->ResetContent();
    std::string kind, shortText, longText;
    for (size_t i = 0; i < m_aEntries.size(); ++i) {
        const stDataToken& e = m_aEntries[i];
        if (e.row != m_nRow || e.column != m_nColumn) continue;
        m_pDB->MakeScheduleText(&e, kind, shortText, longText, 1);
        const int at = cellList->AddString(Format("%s (%s)", longText.c_str(), kind.c_str()));
        cellList->SetItemData(at, static_cast<intptr_t>(i));
    }
    m_pDB->GetAllScheduleItems(m_nPerson, m_aItems, 0, 0.0, 0.0, 0);
    for (size_t i = 0; i < m_aItems.size(); ++i) {
        const stDataToken& e = m_aItems[i];
        const char* format = nullptr;
        if (e.type == 'T') {
            const auto* purchase = static_cast<const CPurchaseRecord*>(e.record);
            if (!purchase || e.index1 < 0 || static_cast<size_t>(e.index1) >= purchase->m_Items.size()) continue;
            const CPurchaseItem& item = *purchase->m_Items[static_cast<size_t>(e.index1)];
            if (e.index2 < 0 || static_cast<size_t>(e.index2) >= item.m_Tokens.size()) continue;
            const CScheduleToken& lesson = *item.m_Tokens[static_cast<size_t>(e.index2)];
            if (lesson.m_cKind == 'p' && lesson.m_cState == 'N') format = "%s associated with purchase %s";
        } else if (e.type == 'p') {
            const auto* purchase = static_cast<const CPurchaseRecord*>(e.record);
            if (!purchase || e.index1 < 0 || static_cast<size_t>(e.index1) >= purchase->m_Payments.size()) continue;
            if (purchase->m_Payments[static_cast<size_t>(e.index1)]->m_cKind == 'U')
                format = "%s associated with purchase %s";
        } else if (e.type == 'P') {
            const auto* payment = static_cast<const CPaymentRecord*>(e.record);
            if (payment && payment->m_cReceived == 'U') format = "%s for %s";
        }
        if (!format) continue;
        m_pDB->MakeScheduleText(&e, kind, shortText, longText, 1);
        const int at = unscheduled->AddString(Format(format, shortText.c_str(), longText.c_str()));
        unscheduled->SetItemData(at, static_cast<intptr_t>(i));
    }
}

void CDialogScheduleCell::RebuildGrid()
{
    m_pDB->MakeScheduleGrid(m_nPerson, m_dStart, m_dEnd, m_Cells, m_aDays, m_aTimes, m_aEntries, kWhite, kWhite, 0);
    FillLists();
}

bool CDialogScheduleCell::GetSelectedEntry(stDataToken& entry)
{
    ui::ListBox* list = List(kIdCellList);
    if (!list) return false;
    const intptr_t index = GetListSelData(*list, "No item selected");
    if (index < 0 || static_cast<size_t>(index) >= m_aEntries.size()) return false;
    entry = m_aEntries[static_cast<size_t>(index)];
    return true;
}

void CDialogScheduleCell::EditEntry()
{
    stDataToken entry;
    if (!GetSelectedEntry(entry)) return;
    if (!m_pDB->m_fnEditScheduleEntry) return;
    // Rebuilt whatever the result: the editor may have refreshed the tables the entries point into.
    m_pDB->m_fnEditScheduleEntry(entry);
    RebuildGrid();
}

void CDialogScheduleCell::CancelEntry()
{
    stDataToken entry;
    if (!GetSelectedEntry(entry)) return;
    m_pDB->RescheduleEntry(entry, 0.0);
    RebuildGrid();
}

void CDialogScheduleCell::RescheduleEntry()
{
    stDataToken entry;
    if (!GetSelectedEntry(entry)) return;
    const DATE when = PromptForDateTime(GetCellDateTime(), "", 1);
    if (when == 0.0) return;
    m_pDB->RescheduleEntry(entry, when);
    RebuildGrid();
}

void CDialogScheduleCell::ScheduleForCell()
{
    ui::ListBox* list = List(kIdUnscheduled);
    if (!list) return;
    const intptr_t index = GetListSelData(*list, "No item selected");
    if (index < 0 || static_cast<size_t>(index) >= m_aItems.size()) return;
    const stDataToken entry = m_aItems[static_cast<size_t>(index)];
    const DATE when = GetCellDateTime();
    // The change goes into a copy of the record as the file has it; the live record changes only
    // once it is stored. Indexes name the lesson or payment, since the refresh may rebuild records.
    const int32_t first = entry.index1;
    const int32_t second = entry.index2;
    if (entry.type == 'T' || entry.type == 'p') {
        const auto* purchase = static_cast<const CPurchaseRecord*>(entry.record);
        if (purchase) {
            const char type = entry.type;
            m_pDB->ChangeItem(TABLE_PURCHASE, purchase->m_nCode, [=](void* copy) {
                auto& p = *static_cast<CPurchaseRecord*>(copy);
                if (first < 0) return false;
                if (type == 'T') {
                    if (static_cast<size_t>(first) >= p.m_Items.size()) return false;
                    CPurchaseItem& item = *p.m_Items[static_cast<size_t>(first)];
                    if (second < 0 || static_cast<size_t>(second) >= item.m_Tokens.size()) return false;
                    CScheduleToken& lesson = *item.m_Tokens[static_cast<size_t>(second)];
                    lesson.m_dDate = when;
                    lesson.m_cState = 'S';
                    return true;
                }
                if (static_cast<size_t>(first) >= p.m_Payments.size()) return false;
                CSchedulePayment& payment = *p.m_Payments[static_cast<size_t>(first)];
                payment.m_dDate = when;
                payment.m_cKind = 'S';
                return true;
            });
        }
    } else if (entry.type == 'P') {
        const auto* payment = static_cast<const CPaymentRecord*>(entry.record);
        if (payment) {
            m_pDB->ChangeItem(TABLE_PAYMENT, payment->m_nCode, [=](void* copy) {
                auto& p = *static_cast<CPaymentRecord*>(copy);
                p.m_dDate = when;
                p.m_cReceived = 'S';
                return true;
            });
        }
    }
    RebuildGrid();
}

void CDialogScheduleCell::AddNewItem()
{
    stDataToken hint;
    hint.type = 'N';
    hint.date = GetCellDateTime();
    hint.index1 = -1;
    m_pDB->AddTableItem(TABLE_SCHEDULE, 0xFFFFFFFFu, nullptr, 1, 0xFFFFFFFFu, &hint);
    EndDialog(ui::IDOK);
}

bool CDialogScheduleCell::OnCommand(int id, int code)
{
    switch (id) {
    case kIdCellList:
        if (code == ui::LBN_SELCHANGE)
            for (int button : {kIdEdit, kIdReschedule, kIdCancelDelete}) EnableDlgItem(button, true);
        return true;
    case kIdUnscheduled:
        if (code == ui::LBN_SELCHANGE) {
            ui::ListBox* list = List(kIdUnscheduled);
            EnableDlgItem(kIdScheduleHere, list && list->GetCurSel() != -1);
        }
        return true;
    default:
        break;
    }
    if (code != ui::BN_CLICKED) return ui::Dialog::OnCommand(id, code);
    switch (id) {
    case kIdAdd: AddNewItem(); return true;
    case kIdEdit: EditEntry(); return true;
    case kIdCancelDelete: CancelEntry(); return true;
    case kIdReschedule: RescheduleEntry(); return true;
    case kIdScheduleHere: ScheduleForCell(); return true;
    default: return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogScheduleCell::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
