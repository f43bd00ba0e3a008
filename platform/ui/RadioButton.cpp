#include "platform/ui/RadioButton.h"

#include "platform/ui/WindowImpl.h"

#include <QRadioButton>

namespace ui {

void RadioButton::SetCheck(int check)
{
    auto* b = qobject_cast<QRadioButton*>(GetWidget());
    if (!b) return;
    ProgramChange change(*this);
    b->setChecked(check != 0);
}

int RadioButton::GetCheck() const
{
    auto* b = qobject_cast<QRadioButton*>(GetWidget());
    return b && b->isChecked() ? 1 : 0;
}

}  // namespace ui
