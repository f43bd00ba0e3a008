#pragma once
// Month calendar control. The selected day is a civil date; the user's choice sends
// OnCommand(id, MCN_SELCHANGE) to the parent, SetCurSel nothing.

#include "platform/ui/Window.h"

namespace ui {

struct CalendarDay {
    int year = 0;
    int month = 0;  // 1..12
    int day = 0;    // 1..31
    bool operator==(const CalendarDay&) const = default;
};

class MonthCalendar : public Window {
public:
    MonthCalendar() = default;
    bool SetCurSel(const CalendarDay& day);  // false for an impossible date
    CalendarDay GetCurSel() const;
};

}  // namespace ui
