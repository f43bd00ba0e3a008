#pragma once
// Check box: 0 unchecked, 1 checked, 2 indeterminate. SetCheck sends no notification; the
// user's click toggles it and sends BN_CLICKED.

#include "platform/ui/Window.h"

namespace ui {

class CheckBox : public Window {
public:
    CheckBox() = default;
    void SetCheck(int check);
    int GetCheck() const;
};

}  // namespace ui
