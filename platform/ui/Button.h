#pragma once
// Push button. A user's click sends OnCommand(id, BN_CLICKED) to the parent.

#include "platform/ui/Window.h"

namespace ui {

class Button : public Window {
public:
    Button() = default;
    // Shows the button as the default one (the dialog's SetDefID does this for you).
    void SetDefault(bool isDefault);
};

}  // namespace ui
