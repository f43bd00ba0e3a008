#pragma once
// A dialog's combo box that selects by typed prefix: each typed key opens the list, extends or
// shortens the edit text and scrolls the list to the first entry beginning with it; a change of
// selection is posted to a chosen window as message 1025. Plus two helpers on any combo box.

#include "platform/ui/ComboBox.h"

#include <cstdint>
#include <string>

class CComboMenu : public ui::ComboBox {
public:
    CComboMenu();
    ~CComboMenu() override;

    // The window told of selection changes, and the first parameter of its message.
    void SetNotify(ui::Window* window, int32_t param);

    // The owner's selection-change notification: stores the text and posts 1025 (param, 0).
    void NotifyOwner();
    // The combo box's own CBN_SELCHANGE, reflected to it: NotifyOwner, kept from the dialog.
    bool OnNotifyReflect(int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    // One typed key: a character to append, or backspace (8) to remove the last one.
    void TypeKey(char key);
    // Selects the entry equal to the text, adding it (item data -1) when absent.
    void SelectOrAddText(const std::string& text);

    const std::string& GetStoredText() const { return m_strText; }

private:
    ui::Window* m_pNotifyWnd = nullptr;
    int32_t m_nNotifyParam = -1;
    std::string m_strText;
};

// The message posted to the notified window: WM_USER + 1.
constexpr uint32_t kComboMenuMessage = 0x0401;

// Selects the first entry whose item data equals the value and returns the selection's result;
// with no match the entry count (a count below 1 at once).
int ComboBoxSelectByItemData(ui::ComboBox& combo, int32_t value);
// The item data of the entry whose text equals the edit text; -1 when none.
int32_t ComboBoxGetItemDataOfText(const ui::ComboBox& combo);
