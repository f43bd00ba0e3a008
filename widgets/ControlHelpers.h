#pragma once
// Free helpers that the dialogs and views share for standard controls: radio groups bound to a
// one-byte value, spin buddies, list-box selection by mouse, contiguous multi-selection and
// find-next, the font list, the Enter key in forms, and the small modal prompts.

#include "common/DateTime.h"

#include <cstdint>
#include <string>
#include <vector>

class CDateTime;

namespace ui {
class Dialog;
class ListBox;
class Window;
struct Msg;
}  // namespace ui

// One radio button of a group and the value (usually a letter code) it stands for.
struct RadioPair {
    uint32_t id = 0;
    uint8_t value = 0;
};
using RadioGroup = std::vector<RadioPair>;

// The text that find-next looks for, kept in upper case (set by the list search prompt).
extern std::string ListSearchText;

void AddRadioPair(RadioGroup& group, uint32_t id, uint8_t value);
// Checks the button of every pair whose value equals `value`, unchecks the others.
void SetRadioGroup(ui::Dialog& dialog, const RadioGroup& group, uint8_t value);
// Stores the value of the checked button (the last checked wins); untouched when none is.
void GetRadioGroup(ui::Dialog& dialog, const RadioGroup& group, uint8_t& value);

// Makes the edit the spin's buddy; sets the range lower..upper unless lower is all ones.
void AttachSpin(ui::Dialog& dialog, int editId, int spinId, uint32_t lower, int16_t upper);

// A spin button that steps a date control. Its position is kept in the middle of 0..100, so that
// it never stops at an end of its range: CentreDateSpin sets that up; StepDateBySpin, on the
// spin's UDN_DELTAPOS, steps the part under the control's caret up or down and centres it again.
void CentreDateSpin(ui::Dialog& dialog, int spinId);
void StepDateBySpin(ui::Dialog& dialog, int spinId, CDateTime& control);

// The line under a client point of the list box, -1 when the point is on no line.
int ListItemFromPoint(const ui::ListBox& list, int x, int y);
// Selects the line under a mouse message's point (single selection).
void SelectListItemAtPoint(const ui::Msg& msg, ui::ListBox& list);
// Adds the line under the point to the selection, then closes the gaps of the selection.
void SelectListItemAtPointMulti(const ui::Msg& msg, ui::ListBox& list);
// Selects every line between the lowest and the highest selected ones.
void MakeListSelectionContiguous(ui::ListBox& list);
// Searches ListSearchText from the line after the current one ('S': single selection, else
// multiple); selects the first hit or shows "Not found:%s".
void FindNextInList(ui::ListBox& list, char mode);

// Fills the list box with the outline font families of the window's screen and selects the one
// named exactly `current`; when there is none, says it will be substituted.
void FillFontList(ui::Window& window, ui::ListBox& list, const std::string& current);

// For an Enter key-down: toggles a focused check box, checks a focused radio button, and turns
// the key into Tab except on push buttons and multi-line edits (msg.wParam changes).
void TranslateEnterKey(ui::Dialog& dialog, ui::Msg& msg);
// The dialogs' pre-translation of Enter: TranslateEnterKey, and when the key became Tab, moves
// the focus to the next control. True when the key was used up.
bool MoveOnEnterKey(ui::Dialog& dialog, const ui::Msg& msg);
// Moves the focus to the next enabled, visible control that takes the focus (wrapping).
void GotoNextDlgCtrl(ui::Dialog& dialog);

// The open-file dialog. True when a file was chosen: `path` gets its full path and `title` its
// name without folder and extension. The current folder is kept.
bool BrowseForFile(const std::string& description, const std::string& pattern, std::string& path,
                   std::string& title, int mustExist);
// The date-and-time dialog with `date` and `caption` (empty: its own caption), with the time of
// day unless withTime is 0; the chosen date, or 0.0 when cancelled.
DATE PromptForDateTime(DATE date, const std::string& caption, int withTime = 1);
// The program's own message box (title, scrolling message, OK or Yes/No, optional help).
int ShowMyMessageBox(const std::string& title, const std::string& message, int yesNo,
                     int helpContext);
// Opens the help file beside the program; tells the user when it is missing.
void ShowHelpTopic(uint32_t context);
// The full path of the running program.
std::string GetProgramExePath();

// F1 in a dialog: opens the help context; true when the message was that key.
bool HandleHelpKey(const ui::Msg& msg, uint32_t context);
