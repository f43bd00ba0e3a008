#include "platform/ui/ProgressBar.h"

#include <QProgressBar>

namespace ui {

void ProgressBar::SetRange(int lower, int upper)
{
    if (auto* p = qobject_cast<QProgressBar*>(GetWidget())) p->setRange(lower, upper);
}

int ProgressBar::SetPos(int pos)
{
    auto* p = qobject_cast<QProgressBar*>(GetWidget());
    if (!p) return 0;
    const int old = p->value();
    p->setValue(std::clamp(pos, p->minimum(), p->maximum()));
    return old;
}

int ProgressBar::GetPos() const
{
    auto* p = qobject_cast<QProgressBar*>(GetWidget());
    return p ? p->value() : 0;
}

}  // namespace ui
