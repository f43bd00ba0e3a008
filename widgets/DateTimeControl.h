#pragma once
// CDateTime: turns a dialog's edit control into a fixed-pattern date field, "00/00/0000" (mode 0)
// or "00/00/0000-00:00AM" (mode 1), changed digit by digit, with the arrow keys, or through the
// three buttons drawn at its left: calendar, now, clear. The value reads back as a DATE; a text
// that forms no real date reads back as 0.0 (no date).

#include "common/DateTime.h"
#include "platform/ui/EditBox.h"

#include <string>

namespace ui {
class Dialog;
}

class CDateTime : public ui::EditBox {
public:
    CDateTime();
    ~CDateTime() override;

    // Takes over edit `id` of the dialog and shows `value` (0.0: the empty pattern).
    // mode 1: date and time; 0: date only.
    void Attach(ui::Dialog* dialog, int id, DATE value, int mode);
    void SetValue(DATE value);
    void SetNow();
    DATE GetValue() const;
    // The value as "%A %B %d, %Y, %I:%M%p", or "No date".
    std::string GetDisplayText() const;
    void Enable(bool enable);

    // Reads a pattern text of the mode; 0.0 when it forms no real date and time.
    static DATE ParseText(const std::string& text, int mode);

    // The part under the cursor one up or one down.
    void StepUp();
    void StepDown();
    // One step right (+1) or left (-1), never onto a separator.
    void MoveCursor(int direction);
    // A key press (virtual-key code); false when the key is not this control's.
    bool KeyDown(int vk);
    // A left click at client x (the buttons, or a character of the text).
    void Click(int x);

    void OnSetFocus() override;
    void OnKillFocus() override;
    void OnLButtonDown(int x, int y) override;
    void OnLButtonDblClk(int x, int y) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    void OnPaint(ui::DC& dc) override;

    const std::string& GetText() const { return m_strText; }
    int GetCaretLoc() const { return m_nCaretLoc; }
    int GetMode() const { return m_nMode; }
    bool IsActive() const { return m_bActive; }

    // Field setters: each writes the number with leading zeros at its positions.
    void SetYear(int year);
    void SetMonth(int month);
    void SetDay(int day);
    void SetHour(int hour);  // 12 and above: "P" and, above 12, less 12; below 12: "A"
    void SetMinute(int minute);

private:
    void ResetText();
    void WriteFields(DATE value);
    void Redraw();
    int ReadNumber(int pos, int width) const;
    void Step(int delta);

    ui::Dialog* m_pDialog = nullptr;
    int m_nId = 0;
    int m_nMode = 1;
    std::string m_strText;
    int m_nCaretLoc = 0;
    int m_nLastLoc = 16;
    bool m_bActive = false;
    bool m_bPainted = false;
};
