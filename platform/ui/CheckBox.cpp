#include "platform/ui/CheckBox.h"

#include "platform/ui/WindowImpl.h"

#include <QCheckBox>

namespace ui {

void CheckBox::SetCheck(int check)
{
    auto* b = qobject_cast<QCheckBox*>(GetWidget());
    if (!b) return;
    ProgramChange change(*this);
    if (check == 2) b->setTristate(true);
    b->setCheckState(check == 2 ? Qt::PartiallyChecked : check ? Qt::Checked : Qt::Unchecked);
}

int CheckBox::GetCheck() const
{
    auto* b = qobject_cast<QCheckBox*>(GetWidget());
    if (!b) return 0;
    switch (b->checkState()) {
    case Qt::Checked: return 1;
    case Qt::PartiallyChecked: return 2;
    default: return 0;
    }
}

}  // namespace ui
