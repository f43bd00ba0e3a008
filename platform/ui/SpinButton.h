#pragma once
// Up-down control. With a buddy (UDS_AUTOBUDDY: the control before it in the template, or
// SetBuddy) and UDS_SETBUDDYINT the buddy shows the position. A user's step changes the position
// within the range and sends OnCommand(id, UDN_DELTAPOS) to the parent after the change;
// SetPos sends nothing.

#include "platform/ui/Window.h"

namespace ui {

class SpinButton : public Window {
public:
    SpinButton() = default;

    void SetRange(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    // Reads the buddy's number first (as Win32 does) when the buddy shows it.
    int GetPos() const;
    int SetPos(int pos);  // clamped to the range; returns the previous position
    void SetBuddy(Window* buddy);
    Window* GetBuddy() const;
    void SetBuddyInt(bool on);
    // One step by the user (+1 up, -1 down), as a click on an arrow does.
    void Step(int delta);
};

}  // namespace ui
