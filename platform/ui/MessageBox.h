#pragma once
// The platform's standard message box. Style bits and results are Win32's: buttons 0 OK,
// 1 OK/Cancel, 3 Yes/No/Cancel, 4 Yes/No, 5 Retry/Cancel, 2 Abort/Retry/Ignore; the result is
// the id of the button chosen (1 OK, 2 Cancel, 3 Abort, 4 Retry, 5 Ignore, 6 Yes, 7 No). Closing
// the box with Escape or its close box gives Cancel when it has one (No for Yes/No, OK for OK).
// While the box waits, the message loop keeps running (timers, posted messages).
//
// When a test scripts message boxes (ui::test::Hooks), the box is not shown: the text is recorded
// and the next scripted answer returned.

#include <cstdint>
#include <string>

namespace ui {

enum : uint32_t {
    MB_OK = 0x00,
    MB_OKCANCEL = 0x01,
    MB_ABORTRETRYIGNORE = 0x02,
    MB_YESNOCANCEL = 0x03,
    MB_YESNO = 0x04,
    MB_RETRYCANCEL = 0x05,
    MB_TYPEMASK = 0x0F,
    MB_ICONHAND = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONMASK = 0xF0,
    MB_DEFBUTTON2 = 0x100,
};

// Shows `text` (Windows-1252; "\r\n" and "\n" break lines) with the buttons of `style`. An empty
// caption shows the application's title. `help` is a help context; 0 for none.
int MessageBox(const std::string& text, uint32_t style = MB_OK, const std::string& caption = "",
               uint32_t help = 0);

// The text as a box shows it: a line break inside a paragraph (after a long line that ends
// mid-sentence, before a line that goes on in lower case) becomes a blank, so the box wraps the
// paragraph to its own width; other breaks stay. "\r\n" counts as "\n".
std::string JoinWrappedLines(const std::string& text);
// The button ids a style offers, in order (for checks of scripted answers).
bool IsAnswerOfStyle(int answer, uint32_t style);

}  // namespace ui
