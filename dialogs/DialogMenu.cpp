#include "dialogs/DialogMenu.h"

#include "widgets/ControlHelpers.h"
#include "widgets/Prompts.h"
#include "platform/ui/ListBox.h"

#include <algorithm>

namespace {

constexpr int kIdSingle = 1237;
constexpr int kIdSingleSorted = 1240;
constexpr int kIdMultiple = 1239;
constexpr int kIdMultipleSorted = 1241;
constexpr int kIdExtra = 1255;
constexpr int kIdAll = 1268;
constexpr int kIdNone = 1269;
constexpr uint32_t kHelpContext = 0x20000 + 229;

// Every control is placed in pixels by OnInitDialog from the entries.
const ui::DialogTemplate kMenuTemplate{229, "Dialog", 186, 95, {
    {ui::Ctl::ListBox, kIdSingle, "", 0, 0, 0, 186, 70},
    {ui::Ctl::ListBox, kIdSingleSorted, "", ui::LBS_SORT, 0, 0, 186, 70},
    {ui::Ctl::ListBox, kIdMultiple, "", ui::LBS_MULTIPLESEL, 0, 0, 186, 70},
    {ui::Ctl::ListBox, kIdMultipleSorted, "", ui::LBS_MULTIPLESEL | ui::LBS_SORT, 0, 0, 186, 70},
    {ui::Ctl::Button, kIdAll, "All", 0, 2, 76, 30, 14},
    {ui::Ctl::Button, kIdNone, "None", 0, 38, 76, 30, 14},
    {ui::Ctl::Button, kIdExtra, "New", 0, 74, 76, 30, 14},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel", 0, 110, 76, 30, 14},
    {ui::Ctl::DefButton, ui::IDOK, "OK/Select", 0, 146, 76, 30, 14},
}};

}  // namespace

CDialogMenu::CDialogMenu(CDatabase* database, const std::string& title, char choiceMode,
                         char orderMode, int selectedId, int extraButton,
                         const std::string& extraText, ui::Window* parent)
    : ui::Dialog(kMenuTemplate, parent),
      m_pDatabase(database),
      m_cChoiceMode(choiceMode),
      m_cOrderMode(orderMode),
      m_nSelectedId(selectedId),
      m_strTitle(title),
      m_nExtraButton(extraButton),
      m_strExtraText(extraText)
{
}

void CDialogMenu::AddItem(uint32_t id, const std::string& text)
{
    m_aIds.push_back(id);
    m_aTexts.push_back(text);
}

bool CDialogMenu::OnInitDialog()
{
    SetWindowText(m_strTitle);

    size_t longest = m_strTitle.size();
    for (const std::string& text : m_aTexts) longest = std::max(longest, text.size());
    const int chars = static_cast<int>(std::min<size_t>(longest, 1000));
    const int width = std::max(400, std::min(500, 10 * chars + 10) + 135);
    const int count = static_cast<int>(m_aIds.size());
    const int height = 16 * std::min(count, 17) + 70;
    MoveWindow(ui::DCRect{0, 0, width, height});
    CenterWindow();

    const int listId = IsMultiple() ? (m_cOrderMode == 'S' ? kIdMultipleSorted : kIdMultiple)
                                    : (m_cOrderMode == 'S' ? kIdSingleSorted : kIdSingle);
    for (int id : {kIdSingle, kIdSingleSorted, kIdMultiple, kIdMultipleSorted})
        ShowDlgItem(id, id == listId);
    m_pList = List(listId);

    const ui::DCRect client = GetClientRect();
    const int w = client.Width();
    const int h = client.Height();
    if (m_pList) m_pList->MoveWindow(ui::DCRect{0, 0, w, h - 30});
    const int buttonWidth = w / 5 - 8;
    int x = 4;
    for (int id : {kIdAll, kIdNone, kIdExtra, static_cast<int>(ui::IDCANCEL),
                   static_cast<int>(ui::IDOK)}) {
        if (Window* button = GetDlgItem(id))
            button->MoveWindow(ui::DCRect{x, h - 27, x + buttonWidth, h - 27 + 24});
        x += buttonWidth + 8;
    }
    ShowDlgItem(kIdAll, IsMultiple());
    ShowDlgItem(kIdNone, IsMultiple());
    if (m_nExtraButton == 1) {
        SetDlgItemText(kIdExtra, m_strExtraText);
    } else if (m_nHelpContext != -1) {
        SetDlgItemText(kIdExtra, "Help");
    } else {
        ShowDlgItem(kIdExtra, false);
    }

    if (m_pList) {
        int preselect = -1;
        for (size_t i = 0; i < m_aIds.size(); ++i) {
            const int index = m_pList->AddString(m_aTexts[i]);
            m_pList->SetItemData(index, static_cast<intptr_t>(m_aIds[i]));
        }
        if (!IsMultiple()) {
            for (int i = 0; i < m_pList->GetCount(); ++i) {
                if (static_cast<int>(m_pList->GetItemData(i)) == m_nSelectedId) {
                    preselect = i;
                    break;
                }
            }
            if (m_pList->GetCount() > 0) m_pList->SetCurSel(preselect >= 0 ? preselect : 0);
        }
    }
    UpdateOkButton();
    ui::Dialog::OnInitDialog();
    return true;
}

int CDialogMenu::SelectedIdentifier() const
{
    if (!m_pList) return -1;
    const int index = m_pList->GetCurSel();
    return index >= 0 ? static_cast<int>(m_pList->GetItemData(index)) : -1;
}

bool CDialogMenu::SelectedCanBeChosen() const
{
    if (IsMultiple() || !m_fnCanChoose) return true;
    const int id = SelectedIdentifier();
    return id < 0 || m_fnCanChoose(static_cast<uint32_t>(id));
}

void CDialogMenu::UpdateOkButton()
{
    EnableDlgItem(ui::IDOK, SelectedCanBeChosen());
}

void CDialogMenu::OnOK()
{
    if (!SelectedCanBeChosen()) return;
    if (!IsMultiple()) {
        m_nSelectedId = SelectedIdentifier();
        EndDialog(m_nSelectedId);
        return;
    }
    if (m_pResult) {
        m_pResult->clear();
        if (m_pList) {
            for (int i = 0; i < m_pList->GetCount(); ++i) {
                if (m_pList->GetSel(i) > 0)
                    m_pResult->push_back(static_cast<uint32_t>(m_pList->GetItemData(i)));
            }
        }
    }
    EndDialog(ui::IDOK);
}

void CDialogMenu::OnCancel()
{
    if (!IsMultiple()) {
        EndDialog(-1);
        return;
    }
    if (m_pResult) m_pResult->clear();
    EndDialog(ui::IDCANCEL);
}

bool CDialogMenu::OnCommand(int id, int code)
{
    switch (id) {
    case kIdAll:
        if (code == ui::BN_CLICKED && m_pList) m_pList->SetSel(-1, true);
        return true;
    case kIdNone:
        if (code == ui::BN_CLICKED && m_pList) m_pList->SetSel(-1, false);
        return true;
    case kIdExtra:
        if (code != ui::BN_CLICKED) return true;
        if (m_nHelpContext != -1) {
            ShowHelpTopic(static_cast<uint32_t>(m_nHelpContext));
        } else {
            m_nSelectedId = SelectedIdentifier();
            EndDialog(-2);
        }
        return true;
    case kIdSingle:
    case kIdSingleSorted:
        if (code == ui::LBN_SELCHANGE) UpdateOkButton();
        if (code == ui::LBN_DBLCLK) OnOK();
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogMenu::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    // Return on the list presses OK/Select; elsewhere it moves on as in the other dialogs.
    const bool onList = m_pList != nullptr && GetFocusId() == m_pList->GetDlgCtrlID();
    if (msg.message == ui::WM_KEYDOWN && !onList && MoveOnEnterKey(*this, msg)) return true;
    if (msg.message == ui::WM_KEYUP && m_pList) {
        const char kind = IsMultiple() ? 'M' : 'S';
        if (msg.wParam == static_cast<uintptr_t>(ui::VK_F2)) {
            PromptAndSearchList(*m_pList, kind);
            return true;
        }
        if (msg.wParam == static_cast<uintptr_t>(ui::VK_F3)) {
            FindNextInList(*m_pList, kind);
            return true;
        }
    }
    if (IsMultiple() && m_pList && msg.window == m_pList && msg.message == ui::WM_LBUTTONDOWN &&
        (msg.wParam & ui::MK_SHIFT)) {
        SelectListItemAtPointMulti(msg, *m_pList);
        return true;
    }
    return ui::Dialog::PreTranslateMessage(msg);
}
