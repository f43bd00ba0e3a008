#include "dialogs/DialogExpandDates.h"

#include "common/DateTime.h"
#include "common/QuestionBox.h"
#include "platform/ui/ListBox.h"
#include "records/ScheduleRecord.h"
#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdList = 1402;
constexpr int kIdChange = 1438;
constexpr int kIdDelete = 1404;
constexpr int kIdRestore = 1440;
constexpr uint32_t kHelpContext = 0x20000 + 152;
constexpr const char* kDateFormat = "%A %B %d, %Y, %I:%M%p";

const ui::DialogTemplate kExpandDatesTemplate{152, "List of dates", 346, 229, {
    {ui::Ctl::ListBox, kIdList, ""},
    {ui::Ctl::Button, kIdChange, "Change date"},
    {ui::Ctl::Button, kIdDelete, "Delete date"},
    {ui::Ctl::Button, kIdRestore, "Restore date"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogExpandDates::CDialogExpandDates(ui::Window* parent) : ui::Dialog(kExpandDatesTemplate, parent) {}

bool CDialogExpandDates::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    m_pList = dynamic_cast<ui::ListBox*>(GetDlgItem(kIdList));
    FillList();
    return true;
}

void CDialogExpandDates::FillList()
{
    if (!m_pList || !m_pRecord) return;
    m_pList->ResetContent();
    // The occurrences before their changes: a line's item data is the occurrence's own index.
    m_pRecord->BuildOccurrences(false);
    for (size_t i = 0; i < m_pRecord->m_Occurrences.size(); ++i) {
        std::string line = FormatDateTime(m_pRecord->m_Occurrences[i], kDateFormat);
        const int change = m_pRecord->FindCode(static_cast<int32_t>(i));
        if (change >= 0) {
            const double date = m_pRecord->m_Changes[static_cast<size_t>(change)].value;
            line += date == 0.0 ? " deleted" : " -> " + FormatDateTime(date, kDateFormat);
        }
        const int at = m_pList->AddString(line);
        m_pList->SetItemData(at, static_cast<intptr_t>(i));
    }
}

int CDialogExpandDates::SelectedIndex()
{
    const int line = m_pList ? m_pList->GetCurSel() : -1;
    if (line < 0) {
        GetResponse("No item selected", MB_OK);
        return -1;
    }
    return static_cast<int>(m_pList->GetItemData(line));
}

void CDialogExpandDates::SetChange(int index, double date)
{
    const int change = m_pRecord->FindCode(index);
    if (change >= 0) m_pRecord->m_Changes[static_cast<size_t>(change)].value = date;
    else m_pRecord->m_Changes.push_back({index, date});
}

bool CDialogExpandDates::OnCommand(int id, int code)
{
    if ((id == kIdChange || id == kIdDelete || id == kIdRestore) && code == ui::BN_CLICKED && m_pRecord) {
        const int index = SelectedIndex();
        if (index < 0) return true;
        if (id == kIdChange) {
            const double date = PromptForDateTime(m_pRecord->m_Occurrences[static_cast<size_t>(index)], "");
            if (date == 0.0) return true;
            SetChange(index, date);
        } else if (id == kIdDelete) {
            SetChange(index, 0.0);
        } else {
            const int change = m_pRecord->FindCode(index);
            if (change >= 0) m_pRecord->m_Changes.erase(m_pRecord->m_Changes.begin() + change);
        }
        FillList();
        m_pList->SetCurSel(-1);
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogExpandDates::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
