#pragma once
// Radio button of a group (consecutive radios in the template, a new group at WS_GROUP). The
// user's click checks it, clears the rest of its group and sends BN_CLICKED; SetCheck touches
// this button alone, so a group may have none checked.

#include "platform/ui/Window.h"

namespace ui {

class RadioButton : public Window {
public:
    RadioButton() = default;
    void SetCheck(int check);
    int GetCheck() const;
};

}  // namespace ui
