// The weekly schedule dialog: times as users write them, the days with a time, refused times.

#include "tests/support/DialogTestSupport.h"

#include "common/DateTime.h"
#include "dialogs/ScheduleWeekly.h"

namespace {

using ScheduleWeeklyTest = DialogTest;

TEST_F(ScheduleWeeklyTest, TimesAsWritten)
{
    struct Case {
        const char* text;
        bool ok;
        int32_t hour, minute;
    };
    for (const Case& c : {Case{"7:30pm", true, 19, 30}, Case{"7pm", true, 19, 0}, Case{"7:30", true, 7, 30},
                          Case{" 9:05 AM", true, 9, 5}, Case{"12:30pm", true, 12, 30}, Case{"12am", true, 0, 0},
                          Case{"23:59", true, 23, 59}, Case{"24:00", false, 0, 0}, Case{"11:75", false, 0, 0},
                          Case{"13pm", false, 0, 0}, Case{"noon", false, 0, 0}}) {
        int32_t hour = -1, minute = -1;
        EXPECT_EQ(CScheduleWeekly::ParseDayTime(c.text, hour, minute), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(hour, c.hour) << c.text;
            EXPECT_EQ(minute, c.minute) << c.text;
        }
    }
}

TEST_F(ScheduleWeeklyTest, OnlyTheDaysWithATimeAndTheStartDate)
{
    FixClock(2026, 3, 4, 10, 0);
    CScheduleWeekly dialog;
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, 1192, "6:15pm");  // Monday
        ui::test::SetText(d, 1196, "10:00");   // Thursday
        ui::test::Click(d, 1000);
    });
    ASSERT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(dialog.m_dStartDate, MakeDate(2026, 3, 4, 0, 0));
    ASSERT_EQ(dialog.m_aDays.size(), 2u);
    EXPECT_EQ(dialog.m_aDays[0].nDay, 2);
    EXPECT_EQ(dialog.m_aDays[0].nHour, 18);
    EXPECT_EQ(dialog.m_aDays[0].nMinute, 15);
    EXPECT_EQ(dialog.m_aDays[1].nDay, 5);
    EXPECT_EQ(dialog.m_aDays[1].nHour, 10);
}

TEST_F(ScheduleWeeklyTest, ATimePastTheDayIsRefusedAndTheDialogStays)
{
    CScheduleWeekly dialog;
    dqtest::QueueAnswers({ui::IDOK});
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, 1195, "25:00");  // Wednesday
        ui::test::Click(d, 1000);
        EXPECT_TRUE(d.IsWindowVisible()) << "still open";
        ui::test::SetText(d, 1195, "1:00pm");
        ui::test::Click(d, 1000);
    });
    ASSERT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(Hooks().messageBoxTexts, std::vector<std::string>{"Invalid time for Wednesday."});
    ASSERT_EQ(dialog.m_aDays.size(), 1u);
    EXPECT_EQ(dialog.m_aDays[0].nHour, 13);
    // Cancel: the caller reads nothing.
    CScheduleWeekly cancelled;
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    EXPECT_EQ(cancelled.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(cancelled.m_aDays.empty());
}

}  // namespace
