#pragma once
// Codes in the dialogs' combo boxes: each entry's item data is its code, and the code read back is
// the selected entry's data, never a match of its text (two entries may share a name).

#include <cstdint>

namespace ui {
class ComboBox;
}

// Selects the entry of `code`; when there is none and `keepMissing` is set, a stored code that is
// not in the list (a deleted category, an inactive person) is added as "[Code %u]" and selected,
// so that OK keeps it. -1 selects "<None>" when present.
void SelectCode(ui::ComboBox& combo, uint32_t code, bool keepMissing);
// The selected entry's code; -1 when nothing is selected.
uint32_t GetSelectedCode(const ui::ComboBox& combo);
// The selected entry's code; `kept` when nothing is selected (a stored code the list lacks) or
// there is no combo box.
uint32_t GetSelectedCode(const ui::ComboBox* combo, uint32_t kept);
