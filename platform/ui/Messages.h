#pragma once
// Win32 numbers that the program's code reads: window messages, control notification codes,
// virtual-key codes and dialog result ids. Values are Win32's own, so code that compares or
// posts them reads as the system it was designed on.

#include <cstdint>

namespace ui {

// Window messages (OnMessage, PostMessage, PreTranslateMessage).
enum : uint32_t {
    WM_NULL = 0x0000,
    WM_CREATE = 0x0001,
    WM_DESTROY = 0x0002,
    WM_SIZE = 0x0005,
    WM_PAINT = 0x000F,
    WM_CLOSE = 0x0010,
    WM_SHOWWINDOW = 0x0018,
    WM_HELP = 0x0053,
    WM_KEYDOWN = 0x0100,
    WM_KEYUP = 0x0101,
    WM_CHAR = 0x0102,
    WM_SYSKEYDOWN = 0x0104,  // a key pressed with Alt held (no WM_KEYDOWN or WM_CHAR then)
    WM_COMMAND = 0x0111,
    WM_TIMER = 0x0113,
    WM_HSCROLL = 0x0114,
    WM_VSCROLL = 0x0115,
    WM_MOUSEMOVE = 0x0200,
    WM_LBUTTONDOWN = 0x0201,
    WM_LBUTTONUP = 0x0202,
    WM_LBUTTONDBLCLK = 0x0203,
    WM_RBUTTONDOWN = 0x0204,
    WM_RBUTTONUP = 0x0205,
    WM_USER = 0x0400,
};

// Key and button state in wParam of mouse messages (WM_LBUTTONDOWN ...), as Win32's MK_ flags.
enum : uintptr_t {
    MK_LBUTTON = 0x0001,
    MK_RBUTTON = 0x0002,
    MK_SHIFT = 0x0004,
    MK_CONTROL = 0x0008,
};

// Notification codes passed as OnCommand's second argument.
enum : int {
    BN_CLICKED = 0,        // push button, check box or radio button clicked by the user
    BN_DOUBLECLICKED = 5,
    LBN_SELCHANGE = 1,     // list box selection changed by the user
    LBN_DBLCLK = 2,
    LBN_SETFOCUS = 4,
    LBN_KILLFOCUS = 5,
    CBN_SELCHANGE = 1,     // combo box selection changed by the user
    CBN_DBLCLK = 2,
    CBN_SETFOCUS = 3,
    CBN_KILLFOCUS = 4,
    CBN_EDITCHANGE = 5,    // text of an editable combo box changed by the user
    CBN_DROPDOWN = 7,
    CBN_CLOSEUP = 8,
    CBN_SELENDOK = 9,
    EN_SETFOCUS = 0x0100,
    EN_KILLFOCUS = 0x0200,
    EN_CHANGE = 0x0300,    // edit text changed, by the user or by the program
    EN_MAXTEXT = 0x0501,
    UDN_DELTAPOS = -722,   // up-down position changed by the user (sent after the change)
    MCN_SELCHANGE = -749,  // month calendar day chosen by the user
};

// Dialog results and standard command ids.
enum : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
    IDHELP = 9,
    ID_APPLY_NOW = 0x3021,  // property sheet "Apply"
};

// Virtual-key codes (OnKeyDown, WM_KEYDOWN's wParam). Letters and digits are their upper-case
// ASCII codes ('A' 65 .. 'Z' 90, '0' 48 .. '9' 57).
enum : int {
    VK_BACK = 0x08,
    VK_TAB = 0x09,
    VK_RETURN = 0x0D,
    VK_SHIFT = 0x10,
    VK_CONTROL = 0x11,
    VK_MENU = 0x12,
    VK_PAUSE = 0x13,
    VK_CAPITAL = 0x14,
    VK_ESCAPE = 0x1B,
    VK_SPACE = 0x20,
    VK_PRIOR = 0x21,
    VK_NEXT = 0x22,
    VK_END = 0x23,
    VK_HOME = 0x24,
    VK_LEFT = 0x25,
    VK_UP = 0x26,
    VK_RIGHT = 0x27,
    VK_DOWN = 0x28,
    VK_INSERT = 0x2D,
    VK_DELETE = 0x2E,
    VK_NUMPAD0 = 0x60,
    VK_MULTIPLY = 0x6A,
    VK_ADD = 0x6B,
    VK_SUBTRACT = 0x6D,
    VK_DECIMAL = 0x6E,
    VK_DIVIDE = 0x6F,
    VK_F1 = 0x70,
    VK_F2 = 0x71,
    VK_F3 = 0x72,
    VK_F4 = 0x73,
    VK_F5 = 0x74,
    VK_F6 = 0x75,
    VK_F7 = 0x76,
    VK_F8 = 0x77,
    VK_F9 = 0x78,
    VK_F10 = 0x79,
    VK_F11 = 0x7A,
    VK_F12 = 0x7B,
    VK_OEM_1 = 0xBA,       // ';'
    VK_OEM_PLUS = 0xBB,
    VK_OEM_COMMA = 0xBC,
    VK_OEM_MINUS = 0xBD,
    VK_OEM_PERIOD = 0xBE,
    VK_OEM_2 = 0xBF,       // '/'
};

// A message as PreTranslateMessage sees it: the window it is bound for, its number and its two
// parameters (for WM_KEYDOWN and WM_KEYUP the virtual-key code in wParam; for WM_CHAR the
// Windows-1252 byte; for mouse messages the MK_ flags in wParam and the client point in lParam,
// x in the low word and y in the high word).
class Window;
struct Msg {
    Window* window = nullptr;
    uint32_t message = WM_NULL;
    uintptr_t wParam = 0;
    intptr_t lParam = 0;
};

}  // namespace ui
