#pragma once
// Static text control: SetWindowText / GetWindowText from Window.

#include "platform/ui/Window.h"

namespace ui {

class Label : public Window {
public:
    Label() = default;
};

}  // namespace ui
