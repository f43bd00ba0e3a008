#include "widgets/ComboMenu.h"

#include "platform/ui/Messages.h"

CComboMenu::CComboMenu() = default;
CComboMenu::~CComboMenu() = default;

void CComboMenu::SetNotify(ui::Window* window, int32_t param)
{
    m_pNotifyWnd = window;
    m_nNotifyParam = param;
}

void CComboMenu::NotifyOwner()
{
    m_strText = GetWindowText();
    if (m_pNotifyWnd)
        m_pNotifyWnd->PostMessage(kComboMenuMessage,
                                  static_cast<uintptr_t>(static_cast<uint32_t>(m_nNotifyParam)), 0);
}

bool CComboMenu::OnNotifyReflect(int code)
{
    if (code != ui::CBN_SELCHANGE) return false;
    NotifyOwner();
    return true;
}

bool CComboMenu::PreTranslateMessage(const ui::Msg& msg)
{
    if (msg.message == ui::WM_KEYDOWN) {
        const int vk = static_cast<int>(msg.wParam);
        // Space, digits and letters are typed; the navigation keys between them (33-47) keep
        // their own meaning in the list.
        if (vk == ui::VK_SPACE || (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) {
            TypeKey(static_cast<char>(vk));
            return true;
        }
        if (vk == ui::VK_BACK) {
            TypeKey('\b');
            return true;
        }
        if (vk == ui::VK_OEM_COMMA) {
            TypeKey(',');
            return true;
        }
        m_strText = GetWindowText();
        return false;
    }
    if (msg.message == ui::WM_MOUSEMOVE) m_strText = GetWindowText();
    return false;
}

void CComboMenu::TypeKey(char key)
{
    ShowDropDown(true);
    std::string text = GetWindowText();
    if (key == '\b') {
        if (!text.empty()) text.pop_back();
    } else {
        text.push_back(key);
    }
    SetWindowText(text);
    m_strText = text;
    if (text.empty()) return;
    const int index = FindString(-1, text);
    if (index >= 0) SetTopIndex(index);
}

void CComboMenu::SelectOrAddText(const std::string& text)
{
    m_strText = text;
    int index = FindStringExact(-1, text);
    if (index < 0) {
        index = AddString(text);
        SetItemData(index, -1);
    }
    SetCurSel(index);
}

int ComboBoxSelectByItemData(ui::ComboBox& combo, int32_t value)
{
    const int count = combo.GetCount();
    if (count < 1) return count;
    for (int i = 0; i < count; ++i) {
        if (static_cast<int32_t>(combo.GetItemData(i)) == value) return combo.SetCurSel(i);
    }
    return count;
}

int32_t ComboBoxGetItemDataOfText(const ui::ComboBox& combo)
{
    const int index = combo.FindStringExact(-1, combo.GetWindowText());
    if (index < 0) return -1;
    return static_cast<int32_t>(combo.GetItemData(index));
}
