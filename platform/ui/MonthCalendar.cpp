#include "platform/ui/MonthCalendar.h"

#include "platform/ui/WindowImpl.h"

#include <QCalendarWidget>

namespace ui {

bool MonthCalendar::SetCurSel(const CalendarDay& day)
{
    auto* c = qobject_cast<QCalendarWidget*>(GetWidget());
    const QDate date(day.year, day.month, day.day);
    if (!c || !date.isValid()) return false;
    ProgramChange change(*this);
    c->setSelectedDate(date);
    return true;
}

CalendarDay MonthCalendar::GetCurSel() const
{
    auto* c = qobject_cast<QCalendarWidget*>(GetWidget());
    if (!c) return {};
    const QDate d = c->selectedDate();
    return {d.year(), d.month(), d.day()};
}

}  // namespace ui
