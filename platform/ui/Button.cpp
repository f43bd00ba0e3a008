#include "platform/ui/Button.h"

#include <QPushButton>

namespace ui {

void Button::SetDefault(bool isDefault)
{
    if (auto* b = qobject_cast<QPushButton*>(GetWidget())) b->setDefault(isDefault);
}

}  // namespace ui
