#include "platform/ui/SpinButton.h"

#include "platform/ui/WindowImpl.h"

#include <QWidget>

#include <algorithm>
#include <cstdlib>

namespace ui {

namespace {

// The range may be given upside down (Win32 allows lower > upper).
int Clamp(int pos, int lo, int hi) { return std::clamp(pos, std::min(lo, hi), std::max(lo, hi)); }

}  // namespace

void SpinButton::SetRange(int lower, int upper)
{
    QWidget* w = GetWidget();
    if (!w) return;
    w->setProperty("ui.lo", lower);
    w->setProperty("ui.hi", upper);
    w->setProperty("ui.pos", Clamp(w->property("ui.pos").toInt(), lower, upper));
}

void SpinButton::GetRange(int& lower, int& upper) const
{
    QWidget* w = GetWidget();
    lower = w ? w->property("ui.lo").toInt() : 0;
    upper = w ? w->property("ui.hi").toInt() : 0;
}

int SpinButton::GetPos() const
{
    QWidget* w = GetWidget();
    if (!w) return 0;
    if (Window* buddy = GetBuddy(); buddy && w->property("ui.buddyint").toBool()) {
        const std::string text = buddy->GetWindowText();
        char* end = nullptr;
        const long v = std::strtol(text.c_str(), &end, 10);
        if (!text.empty() && end && *end == '\0') {
            int lo, hi;
            GetRange(lo, hi);
            const int pos = Clamp(static_cast<int>(v), lo, hi);
            w->setProperty("ui.pos", pos);
        }
    }
    return w->property("ui.pos").toInt();
}

int SpinButton::SetPos(int pos)
{
    QWidget* w = GetWidget();
    if (!w) return 0;
    const int old = w->property("ui.pos").toInt();
    int lo, hi;
    GetRange(lo, hi);
    pos = Clamp(pos, lo, hi);
    w->setProperty("ui.pos", pos);
    if (Window* buddy = GetBuddy(); buddy && w->property("ui.buddyint").toBool())
        buddy->SetWindowText(std::to_string(pos));
    return old;
}

void SpinButton::SetBuddy(Window* buddy)
{
    if (QWidget* w = GetWidget())
        w->setProperty("ui.buddy", QVariant::fromValue<QObject*>(buddy ? buddy->GetWidget() : nullptr));
}

Window* SpinButton::GetBuddy() const
{
    QWidget* w = GetWidget();
    if (!w) return nullptr;
    auto* buddy = qobject_cast<QWidget*>(w->property("ui.buddy").value<QObject*>());
    return buddy ? WindowFromWidget(buddy) : nullptr;
}

void SpinButton::SetBuddyInt(bool on)
{
    if (QWidget* w = GetWidget()) w->setProperty("ui.buddyint", on);
}

void SpinButton::Step(int delta)
{
    QWidget* w = GetWidget();
    if (!w || !w->isEnabled()) return;
    int lo, hi;
    GetRange(lo, hi);
    // The up arrow goes toward the upper end of the range, whichever way round it is given.
    const int dir = hi >= lo ? delta : -delta;
    const int old = GetPos();
    SetPos(old + dir);
    if (GetPos() != old) NotifyParent(*this, UDN_DELTAPOS);
}

}  // namespace ui
