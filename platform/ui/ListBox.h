#pragma once
// List box, single or multiple selection (LBS_MULTIPLESEL / LBS_EXTENDEDSEL), optionally sorted
// (LBS_SORT, without regard to case) and with tab stops (LBS_USETABSTOPS). Indexes count from 0;
// failures give LB_ERR (-1). Filling or selecting from code sends no notification; the user's
// selection sends LBN_SELCHANGE and a double click LBN_DBLCLK.

#include "platform/ui/Window.h"

#include <cstdint>
#include <string>
#include <vector>

namespace ui {

constexpr int LB_ERR = -1;

class ListBox : public Window {
public:
    ListBox() = default;

    int AddString(const std::string& text);               // sorted place with LBS_SORT
    int InsertString(int index, const std::string& text);  // -1 appends
    int DeleteString(int index);                          // count left, or LB_ERR
    void ResetContent();
    int GetCount() const;
    std::string GetText(int index) const;
    int SetItemData(int index, intptr_t data);
    intptr_t GetItemData(int index) const;                // LB_ERR for a bad index
    // First line from `start + 1` (wrapping) that starts with / equals the text, without regard
    // to case; LB_ERR when none.
    int FindString(int start, const std::string& text) const;
    int FindStringExact(int start, const std::string& text) const;
    // Selects the line FindString finds; returns its index or LB_ERR.
    int SelectString(int start, const std::string& text);

    // Single selection.
    int GetCurSel() const;
    int SetCurSel(int index);  // -1 clears; LB_ERR for a bad index
    // Multiple selection.
    int GetSel(int index) const;  // > 0 when selected
    int SetSel(int index, bool select = true);  // index -1: every line
    int GetSelCount() const;
    std::vector<int> GetSelItems() const;
    // The line with the caret (the focus rectangle).
    int GetCaretIndex() const;

    int GetTopIndex() const;
    int SetTopIndex(int index);
    // The line under a client point (pixels, as mouse messages give it); LB_ERR when the point is
    // on no line (below the last one, or outside the list).
    int ItemFromPoint(int x, int y) const;
    // A line's rectangle in client pixels (LB_GETITEMRECT); empty for a bad index. A line
    // scrolled out of view lies outside the client area.
    DCRect GetItemRect(int index) const;
    // Tab stops in dialog units (Win32 LB_SETTABSTOPS); empty: every 32 units.
    void SetTabStops(const std::vector<int>& stops);
    // Width in pixels that the horizontal scroll bar covers.
    void SetHorizontalExtent(int pixels);
    int GetHorizontalExtent() const;
    bool IsMultipleSelection() const;
};

}  // namespace ui
