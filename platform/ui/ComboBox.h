#pragma once
// Combo box: drop-down list, or editable (CBS_DROPDOWN) with its text through SetWindowText /
// GetWindowText. Item data as in ListBox. Adding lines selects none and leaves an editable one's
// text alone, as on Windows. Filling or selecting from code sends no notification; the user's
// choice sends CBN_SELCHANGE, typing in an editable one CBN_EDITCHANGE.

#include "platform/ui/Window.h"

#include <cstdint>
#include <string>

namespace ui {

constexpr int CB_ERR = -1;

class ComboBox : public Window {
public:
    ComboBox() = default;

    int AddString(const std::string& text);
    int InsertString(int index, const std::string& text);
    int DeleteString(int index);
    void ResetContent();
    int GetCount() const;
    std::string GetLBText(int index) const;
    int SetItemData(int index, intptr_t data);
    intptr_t GetItemData(int index) const;
    int FindString(int start, const std::string& text) const;
    int FindStringExact(int start, const std::string& text) const;
    int SelectString(int start, const std::string& text);
    int GetCurSel() const;
    int SetCurSel(int index);  // -1 clears
    void LimitText(int chars);
    bool IsEditable() const;
    void ShowDropDown(bool show);
    bool GetDroppedState() const;
    // The line at the top of the drop-down list; kept while the list is closed and applied when it
    // opens. SetTopIndex gives CB_ERR for a line that does not exist.
    int SetTopIndex(int index);
    int GetTopIndex() const;
};

}  // namespace ui
