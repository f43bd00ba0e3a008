#pragma once
// "Select date": a month calendar from which the user picks a day for a date value; the time of
// day of the value is kept.

#include "common/DateTime.h"
#include "platform/ui/Dialog.h"

class CMonthCalendar : public ui::Dialog {
public:
    explicit CMonthCalendar(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    // Set before the run; after OK the chosen day at the previous hour and minute.
    DATE m_date = 0.0;
};
