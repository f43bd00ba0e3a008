#pragma once
// Asks for the start and end of a report period; "Next" and "Previous" move both by the period
// length. After IDOK the caller reads the two date controls.

#include "widgets/DateTimeControl.h"
#include "platform/ui/Dialog.h"

class CDatabase;

class CDialogReportDates : public ui::Dialog {
public:
    explicit CDialogReportDates(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    CDatabase* m_pDatabase = nullptr;
    int m_nPeriodDays = 7;
    // The studio's first day of the week (1 Sunday .. 7 Saturday), from the database settings.
    int m_nWeekStartDay = 1;
    CDateTime m_StartDate;
    CDateTime m_EndDate;

private:
    void MovePeriod(int direction);
};
