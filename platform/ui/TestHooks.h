#pragma once
// Test hooks of the window layer: always compiled, inert until a test sets them. They let a test
// run dialogs and message boxes without a person and without a display (Qt's offscreen platform):
//
//   ui::test::EnsureApplication();            // once per test program, in SetUp
//   ui::test::Hooks& h = ui::test::ResetHooks();
//   h.scriptMessageBoxes = true;
//   h.messageBoxAnswers = {ui::IDYES};
//   h.driveDialogs = true;
//   h.dialogScripts.push_back([](ui::Dialog& d) {
//       ui::test::SetText(d, 1005, "SECRET");
//       ui::test::Click(d, ui::IDOK);           // ends it through OnOK
//   });
//   EXPECT_EQ(dlg.DoModal(), ui::IDOK);
//   EXPECT_THAT(h.messageBoxTexts, ...);
//   EXPECT_TRUE(h.failures.empty());
//
// Whatever the hooks find wrong (a message box or dialog that no script expected, a script that
// left its dialog open, an answer the box does not offer) is appended to `failures`; a test
// fixture checks it is empty at the end.

#include "platform/ui/Messages.h"
#include "platform/ui/PageModel.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

class Dialog;
class Window;

namespace test {

struct MessageBoxRecord {
    std::string text;
    std::string caption;
    uint32_t style = 0;
    int answer = 0;
};

struct FileDialogRequest {
    bool save = false;
    std::string title;
    std::string initialPath;
    std::string filter;
};

struct Hooks {
    // Message boxes: while set, no box is shown; each takes the next answer and is recorded.
    // With no answer left the box is unexpected: recorded as a failure, answered with its first
    // button.
    bool scriptMessageBoxes = false;
    std::deque<int> messageBoxAnswers;
    std::vector<std::string> messageBoxTexts;
    std::vector<MessageBoxRecord> messageBoxes;

    // Modal dialogs: while set, DoModal builds and initialises the dialog, then runs the next
    // script with it instead of waiting. The script sets controls, clicks, presses keys and ends
    // the dialog; nested dialogs (opened by what the script does) take the following scripts.
    // With no script left the dialog is unexpected: a failure, ended with IDCANCEL. A script that
    // leaves its dialog open is a failure too; the dialog then ends with IDCANCEL.
    bool driveDialogs = false;
    std::deque<std::function<void(Dialog&)>> dialogScripts;
    std::vector<int> dialogsRun;  // template ids, in the order DoModal ran them
    // Modal frames (top-level windows that run their own loop until closed, as the rich-text
    // viewer does): while driveDialogs is set, the loop runs the next frame script with the
    // window instead of waiting. With none left: a failure. A script that leaves the window's
    // loop running is a failure too; the loop then ends.
    std::deque<std::function<void(Window&)>> frameScripts;

    // Timers: while set, SetTimer starts no real timer; the test fires them with FireTimer.
    bool manualTimers = false;

    // File dialogs (the common open and save dialogs): while set, each takes the next answer, a
    // path, or "" for the user's Cancel. With none left: a failure and Cancel.
    bool scriptFileDialogs = false;
    std::deque<std::string> fileDialogAnswers;
    std::vector<FileDialogRequest> fileDialogRequests;

    // Tones asked for through host::Beep (frequency, duration), in order.
    std::vector<std::pair<uint32_t, uint32_t>> beeps;

    std::vector<std::string> failures;
};

// The one set of hooks.
Hooks& GetHooks();
// Puts every hook back to inert and returns them.
Hooks& ResetHooks();
// Records a failure (for hook users elsewhere in the layer, such as the common dialogs).
void AddFailure(const std::string& what);

// Makes the application object once per program on Qt's offscreen platform (sets
// QT_QPA_PLATFORM=offscreen unless already set). The object lives as long as the process and is
// never destroyed: windows that tests keep in statics may outlive every other object, and Qt's
// own statics are torn down at exit in an order no destructor of ours could follow. Test
// programs end normally (GoogleTest's own main).
void EnsureApplication();
// Deletes the windows destroyed since, as the program's message loop does once the handler
// that destroyed them has returned. For code that runs without that loop (tests, benchmarks),
// from outside any window's handler.
void DeleteDestroyedWindows();

// Chooses the command in the window's system menu, as the user does; false when it has no such
// item.
bool ChooseSystemMenuItem(Window& window, uint32_t command);

// Actions as the user would take them, on a created dialog's control `id`; each sends the
// notification the user's action sends. False when there is no such control.
bool SetText(Dialog& dialog, int id, const std::string& text);  // types the text (EN_CHANGE)
bool Click(Dialog& dialog, int id);            // button, check box, radio (BN_CLICKED)
bool SelectItem(Dialog& dialog, int id, int index);  // list or combo box (LBN/CBN_SELCHANGE)
bool ToggleItem(Dialog& dialog, int id, int index);  // multiple-selection list box line
bool DoubleClickItem(Dialog& dialog, int id, int index);  // list box (LBN_DBLCLK)
bool SpinStep(Dialog& dialog, int id, int delta);
// Gives control `id` the keyboard focus, activating its window first so that the focus messages
// (OnSetFocus, OnKillFocus) arrive as they do on a desk.
bool Focus(Dialog& dialog, int id);
// A left click at a client point of the window (a list box: of its list area), with MK_SHIFT and
// MK_CONTROL held as `keys` says, through the whole path: PreTranslateMessage, the window's
// handlers, then the control's own behaviour. False when the window has no screen window.
bool ClickAt(Window& window, int x, int y, uintptr_t keys = 0);
// A left-button drag: press at (x1, y1), move to (x2, y2) with the button held, release there.
bool DragAt(Window& window, int x1, int y1, int x2, int y2);
// A right click (press and release of the right button) at a client point.
bool RightClickAt(Window& window, int x, int y);
// Runs the window's paint message now with a recording DC of its client size at screen resolution
// (96 pixels per inch) and gives what its OnPaint drew; an empty page when it draws natively.
RecordedPage RecordPaint(Window& window);
// A key press and release to the window with the focus inside `window` (the window itself when
// none), as from the keyboard: passes PreTranslateMessage (WM_KEYDOWN, WM_CHAR, WM_KEYUP), the
// window's handlers and the dialog key handling.
void PressKey(Window& window, int vk);
// The same with Ctrl held; as from the keyboard, the window's accelerators see it first.
void PressCtrlKey(Window& window, int vk);
// The same with Alt held: PreTranslateMessage sees WM_SYSKEYDOWN (and no WM_CHAR).
void PressAltKey(Window& window, int vk);
// The close box of a top-level window.
void CloseBox(Window& window);
// Runs the timer's handler now; false when the window has no such timer.
bool FireTimer(Window& window, uint32_t id);

}  // namespace test
}  // namespace ui
