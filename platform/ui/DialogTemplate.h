#pragma once
// Dialog templates as data: per dialog its id, caption and size, and per control its id, kind,
// text and style, in tab order. A dialog's code keeps its table next to its handlers:
//
//   const ui::DialogTemplate kPasswordTemplate{203, "Password", 258, 20, {
//       {ui::Ctl::Label, -1, "Password"},
//       {ui::Ctl::Edit, 1005, "", ui::ES_PASSWORD | ui::ES_UPPERCASE},
//       {ui::Ctl::DefButton, 1, "OK"},
//       {ui::Ctl::Button, 2, "Cancel"},
//   }};
//
// Sizes and positions are dialog units (Win32's: x in quarters, y in eighths of the dialog font's
// average character). When every control has a position (x >= 0) the controls are placed there
// and the dialog has the given size; otherwise the layer lays them out from their order and kind:
// a label followed by a field shares its row, an up-down control follows its buddy, group boxes
// head the rows after them, and push buttons gather in one row at the bottom.

#include <cstdint>
#include <vector>

namespace ui {

enum class Ctl {
    Label,          // static text
    Edit,           // one-line edit, or multi-line with ES_MULTILINE
    Button,         // push button
    DefButton,      // the default push button (Enter when no push button has the focus)
    CheckBox,
    Radio,          // radio button; consecutive radios form a group until WS_GROUP or another kind
    GroupBox,       // frame with a title; holds nothing, only heads the rows below it
    ListBox,
    ComboBox,       // drop-down list; editable with CBS_DROPDOWN
    Spin,           // up-down control; UDS_AUTOBUDDY makes the control before it its buddy
    Progress,
    MonthCalendar,
    Frame,          // an empty framed area that code draws on (picture or bar frames)
};

// Control styles; values are the layer's own, named as in Win32.
enum : uint32_t {
    WS_DISABLED = 1u << 0,
    WS_HIDDEN = 1u << 1,        // made invisible (Win32: no WS_VISIBLE)
    WS_GROUP = 1u << 2,         // starts a new radio group
    ES_UPPERCASE = 1u << 4,
    ES_LOWERCASE = 1u << 5,
    ES_PASSWORD = 1u << 6,
    ES_MULTILINE = 1u << 7,
    ES_READONLY = 1u << 8,
    ES_WANTRETURN = 1u << 9,    // multi-line edit keeps Enter instead of clicking the default
    ES_NUMBER = 1u << 10,       // digits only
    ES_RIGHT = 1u << 11,
    LBS_MULTIPLESEL = 1u << 12, // each click toggles a line
    LBS_EXTENDEDSEL = 1u << 13, // shift and control extend the selection
    LBS_SORT = 1u << 14,
    LBS_USETABSTOPS = 1u << 15,
    LBS_NOTIFY = 1u << 16,      // accepted for fidelity; notifications are always sent
    CBS_DROPDOWN = 1u << 17,    // editable combo box
    CBS_SORT = 1u << 18,
    UDS_AUTOBUDDY = 1u << 20,
    UDS_SETBUDDYINT = 1u << 21, // the buddy shows the position as a number
    UDS_HORZ = 1u << 22,
    SS_CENTER = 1u << 24,
    SS_RIGHT = 1u << 25,
    SS_SUNKEN = 1u << 26,
};

struct ControlTemplate {
    Ctl kind = Ctl::Label;
    int id = -1;                // -1 for labels that code never addresses
    const char* text = "";      // Windows-1252
    uint32_t style = 0;
    int x = -1, y = -1, cx = 0, cy = 0;  // dialog units; x < 0: laid out by the layer
};

struct DialogTemplate {
    int id = 0;
    const char* caption = "";
    int cx = 0, cy = 0;          // dialog units; 0: as the layout needs
    std::vector<ControlTemplate> controls;
};

// Dialog units to pixels, for the dialog font the layer uses.
int DluToPixelsX(int dlu);
int DluToPixelsY(int dlu);

}  // namespace ui
