#pragma once
// Codes in the dialogs' combo boxes: each entry's item data is its code, and the code read back is
// the selected entry's data, never a match of its text (two entries may share a name).

#include <cstdint>
#include <vector>

class CDatabase;
namespace ui {
class ComboBox;
class ListBox;
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

// A person's program and mail-list categories in a multiple-selection list: every category of
// type 'P', then of type 'M', item data its code, those in `selected` selected.
void FillPersonCategoryList(CDatabase& database, ui::ListBox& list, const std::vector<uint32_t>& selected);
// The codes the list's selection stands for: the `stored` codes that are selected or not listed
// keep their order, newly selected ones follow in list order.
std::vector<uint32_t> GetSelectedCodes(const ui::ListBox& list, const std::vector<uint32_t>& stored);
