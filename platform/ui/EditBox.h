#pragma once
// Edit control, one line or multi-line (ES_MULTILINE). Case styles (ES_UPPERCASE, ES_LOWERCASE)
// apply to typed and set text alike. SetWindowText sends EN_CHANGE to the parent, as on Windows.

#include "platform/ui/Window.h"

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
    // Selection as character offsets; (0, -1) selects all.
    void SetSel(int start, int end);
    void GetSel(int& start, int& end) const;
    // Replaces the selection (or inserts at the caret) with text.
    void ReplaceSel(const std::string& text);
    int GetLineCount() const;
    bool IsMultiLine() const;
};

}  // namespace ui
