#pragma once
// CScheduleWeekly: the "Schedule weekly" dialog: a start date and, for each day of the week, the
// time at which a person's lessons are scheduled week after week. After IDOK the caller reads
// m_dStartDate and m_aDays.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"
#include "widgets/DateTimeControl.h"

// One day with a time: day 1 Sunday to 7 Saturday, hour 0-23, minute 0-59.
struct stDaySchedule {
    int32_t nDay = 0;
    int32_t nHour = 0;
    int32_t nMinute = 0;
};

class CScheduleWeekly : public ui::Dialog {
public:
    explicit CScheduleWeekly(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    // Reads the start date and the days' times; a time that is none keeps the dialog open.
    void OnOK() override;

    // Reads a time as the users write it ("7:30pm", "19:05", "12am"); false when it is no time
    // of day.
    static bool ParseDayTime(const std::string& text, int32_t& hour, int32_t& minute);

    CDateTime m_Date;
    DATE m_dStartDate = 0.0;
    std::vector<stDaySchedule> m_aDays;
};
