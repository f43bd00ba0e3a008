#pragma once
// Fills a list box with the installed font families and selects `face` (none when it is not
// installed).

#include <string>

namespace ui {
class ListBox;
}

void FillFontListBox(ui::ListBox& list, const std::string& face);
