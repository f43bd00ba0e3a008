#pragma once
// One-line prompts and the list-box helpers that dialogs share: asking for a single value,
// searching a list for typed words, and reading a list's selection with a message when there is
// none.

#include <cstdint>
#include <string>

namespace ui { class ListBox; }

// Runs the one-line prompt (caption as its title, at most `maximum` characters, 'U' / 'L' forcing
// upper / lower case); the text entered on OK, "" on Cancel.
std::string PromptForString(const std::string& caption, int maximum, const std::string& initial,
                            char caseRule);
// Asks "Search for:" and searches the list for the words (kind 'S' for a single-selection list).
// OK with an empty field shows "No search words" and leaves the last search as it was.
void PromptAndSearchList(ui::ListBox& list, char kind);
// The selected line's index; -1 after showing `message` when nothing is selected.
int GetListCurSel(const ui::ListBox& list, const std::string& message);
// The selected line's item data; -1 after showing `message` when nothing is selected.
intptr_t GetListSelData(const ui::ListBox& list, const std::string& message);
