#pragma once
// Progress bar.

#include "platform/ui/Window.h"

namespace ui {

class ProgressBar : public Window {
public:
    ProgressBar() = default;
    void SetRange(int lower, int upper);
    int SetPos(int pos);  // returns the previous position
    int GetPos() const;
};

}  // namespace ui
