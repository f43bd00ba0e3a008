#pragma once
// Edit control, one line or multi-line (ES_MULTILINE). Case styles (ES_UPPERCASE, ES_LOWERCASE)
// apply to typed and set text alike. SetWindowText sends EN_CHANGE to the parent, as on Windows.

#include "platform/ui/Window.h"

#include <cstdint>

namespace ui {

class EditBox : public Window {
public:
    EditBox() = default;

    // Limits the text to `chars` characters (0: no limit).
    void SetLimitText(int chars);
    int GetLimitText() const;
    void SetReadOnly(bool readOnly);
    bool IsReadOnly() const;
    void SetPasswordMode(bool password);
    // Whether what is typed is shown as dots (ES_PASSWORD).
    bool IsPasswordMode() const;
    // Changes the case rule at run time (Win32: ModifyStyle): ES_UPPERCASE, ES_LOWERCASE or 0.
    // Text typed or set from now on follows it; the text already there is kept as it is.
    void SetCaseStyle(uint32_t style);
    uint32_t GetCaseStyle() const;
    // Selection as character offsets; (0, -1) selects all.
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const;
    // Replaces the selection (or inserts at the caret) with text.
    void ReplaceSel(const std::string& text);
    int GetLineCount() const;
    bool IsMultiLine() const;
};

}  // namespace ui
