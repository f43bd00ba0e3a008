#include "tests/support/DialogTestSupport.h"

#include "common/DateTime.h"
#include "widgets/DateTimeControl.h"
#include "widgets/MonthCalendar.h"
#include "platform/ui/MonthCalendar.h"
#include "platform/ui/RecordingDC.h"

namespace {

using DateTimeControlTest = DialogTest;

// A control that is not on screen: the text model alone.
void Detached(CDateTime& control, DATE value, int mode)
{
    control.Attach(nullptr, 0, value, mode);
}

void PutCursor(CDateTime& control, int loc)
{
    control.Click(60 + 8 * loc);
}

void Type(CDateTime& control, const std::string& keys)
{
    for (char c : keys) control.KeyDown(static_cast<unsigned char>(c));
}

TEST_F(DateTimeControlTest, PatternsAndCursorLimits)
{
    CDateTime date;
    Detached(date, 0.0, 0);
    EXPECT_EQ(date.GetText(), "00/00/0000");
    for (int i = 0; i < 20; ++i) date.KeyDown(ui::VK_RIGHT);
    EXPECT_EQ(date.GetCaretLoc(), 9);
    for (int i = 0; i < 20; ++i) date.KeyDown(ui::VK_LEFT);
    EXPECT_EQ(date.GetCaretLoc(), 0);

    CDateTime dateTime;
    Detached(dateTime, 0.0, 1);
    EXPECT_EQ(dateTime.GetText(), "00/00/0000-00:00AM");
    for (int i = 0; i < 30; ++i) dateTime.KeyDown(ui::VK_SPACE);
    EXPECT_EQ(dateTime.GetCaretLoc(), 16);
    EXPECT_EQ(dateTime.GetValue(), 0.0);
    EXPECT_EQ(dateTime.GetDisplayText(), "No date");
}

TEST_F(DateTimeControlTest, CursorSkipsSeparators)
{
    CDateTime control;
    Detached(control, 0.0, 1);
    PutCursor(control, 2);  // a click on the separator lands after it
    EXPECT_EQ(control.GetCaretLoc(), 3);
    control.KeyDown(ui::VK_LEFT);
    EXPECT_EQ(control.GetCaretLoc(), 1);
    PutCursor(control, 12);
    control.KeyDown(ui::VK_RIGHT);
    EXPECT_EQ(control.GetCaretLoc(), 14);
    control.Click(1000);
    EXPECT_EQ(control.GetCaretLoc(), 16);
}

TEST_F(DateTimeControlTest, TypingDigitsAndLetters)
{
    CDateTime control;
    Detached(control, 0.0, 1);
    Type(control, "031520240930P");
    EXPECT_EQ(control.GetText(), "03/15/2024-09:30PM");
    EXPECT_EQ(control.GetValue(), MakeDate(2024, 3, 15, 21, 30));
    EXPECT_EQ(control.GetDisplayText(), "Friday March 15, 2024, 09:30PM");

    // A digit never replaces the AM/PM letter; "A" goes there from anywhere.
    control.KeyDown('5');
    EXPECT_EQ(control.GetText(), "03/15/2024-09:30PM");
    PutCursor(control, 0);
    control.KeyDown('A');
    EXPECT_EQ(control.GetCaretLoc(), 16);
    EXPECT_EQ(control.GetValue(), MakeDate(2024, 3, 15, 9, 30));

    // Keypad digits type too.
    PutCursor(control, 11);
    control.KeyDown(ui::VK_NUMPAD0 + 1);
    control.KeyDown(ui::VK_NUMPAD0 + 1);
    EXPECT_EQ(control.GetText(), "03/15/2024-11:30AM");
}

TEST_F(DateTimeControlTest, LettersIgnoredInDateMode)
{
    CDateTime control;
    Detached(control, MakeDate(2024, 3, 15, 0, 0), 0);
    control.KeyDown('P');
    control.KeyDown('A');
    EXPECT_EQ(control.GetText(), "03/15/2024");
    EXPECT_EQ(control.GetCaretLoc(), 0);
    // Date-only values read back at 08:00.
    EXPECT_EQ(control.GetValue(), MakeDate(2024, 3, 15, 8, 0));
}

TEST_F(DateTimeControlTest, ImpossibleTypedDatesGiveNoDate)
{
    struct Case {
        const char* keys;
        int mode;
    } cases[] = {
        {"02312024", 0}, {"00002024", 0}, {"13012024", 0}, {"02292023", 0},
        {"02291900", 0}, {"043120240800", 1}, {"010120242500", 1}, {"010120240975", 1},
    };
    for (const Case& c : cases) {
        CDateTime control;
        Detached(control, 0.0, c.mode);
        Type(control, c.keys);
        EXPECT_EQ(control.GetValue(), 0.0) << c.keys << " -> " << control.GetText();
        EXPECT_EQ(control.GetDisplayText(), "No date") << c.keys;
    }
    CDateTime leap;
    Detached(leap, 0.0, 0);
    Type(leap, "02292000");
    EXPECT_EQ(leap.GetValue(), MakeDate(2000, 2, 29, 8, 0));
}

TEST_F(DateTimeControlTest, StepsWrapByPart)
{
    struct Case {
        DATE start;
        int loc;
        int delta;
        const char* expected;
    } cases[] = {
        {MakeDate(2024, 1, 31, 9, 5), 3, +1, "01/01/2024-09:05AM"},   // day past the month
        {MakeDate(2024, 3, 1, 9, 5), 4, -1, "03/31/2024-09:05AM"},
        {MakeDate(2008, 2, 28, 9, 5), 3, +1, "02/29/2008-09:05AM"},   // leap year
        {MakeDate(2009, 2, 28, 9, 5), 3, +1, "02/01/2009-09:05AM"},
        {MakeDate(1900, 2, 28, 9, 5), 3, +1, "02/01/1900-09:05AM"},   // century, not leap
        {MakeDate(2000, 2, 28, 9, 5), 3, +1, "02/29/2000-09:05AM"},   // 400th year, leap
        {MakeDate(2024, 12, 5, 9, 5), 0, +1, "01/05/2024-09:05AM"},   // month wraps
        {MakeDate(2024, 1, 5, 9, 5), 1, -1, "12/05/2024-09:05AM"},
        {MakeDate(2024, 1, 31, 9, 5), 0, +1, "02/29/2024-09:05AM"},   // day kept in month
        {MakeDate(2024, 2, 29, 9, 5), 9, +1, "02/28/2025-09:05AM"},
        {MakeDate(2024, 1, 5, 11, 5), 11, +1, "01/05/2024-12:05PM"},  // noon
        {MakeDate(2024, 1, 5, 23, 5), 12, +1, "01/05/2024-00:05AM"},  // midnight
        {MakeDate(2024, 1, 5, 0, 5), 11, -1, "01/05/2024-11:05PM"},
        {MakeDate(2024, 1, 5, 13, 5), 11, -1, "01/05/2024-12:05PM"},
        {MakeDate(2024, 1, 5, 9, 59), 14, +1, "01/05/2024-09:00AM"},
        {MakeDate(2024, 1, 5, 9, 0), 15, -1, "01/05/2024-09:59AM"},
        {MakeDate(2024, 1, 5, 9, 0), 16, +1, "01/05/2024-09:00PM"},
    };
    for (const Case& c : cases) {
        CDateTime control;
        Detached(control, c.start, 1);
        PutCursor(control, c.loc);
        control.KeyDown(c.delta > 0 ? ui::VK_UP : ui::VK_DOWN);
        EXPECT_EQ(control.GetText(), c.expected) << FormatDateTime(c.start, "%m/%d/%Y %H:%M")
                                                 << " at " << c.loc;
    }
}

TEST_F(DateTimeControlTest, StepsFromTheEmptyPattern)
{
    CDateTime control;
    Detached(control, 0.0, 1);
    control.StepDown();  // month 00 goes to 12, never to a negative number
    EXPECT_EQ(control.GetText(), "12/00/0000-00:00AM");
    PutCursor(control, 6);
    control.StepDown();
    EXPECT_EQ(control.GetText(), "12/00/0000-00:00AM");
}

TEST_F(DateTimeControlTest, SetValueKeepsTheTwelveHourForm)
{
    CDateTime control;
    Detached(control, MakeDate(2024, 6, 1, 22, 15), 1);
    EXPECT_EQ(control.GetText(), "06/01/2024-10:15PM");
    control.SetValue(MakeDate(2024, 6, 2, 7, 45));  // the letter follows the hour
    EXPECT_EQ(control.GetText(), "06/02/2024-07:45AM");
    EXPECT_EQ(control.GetValue(), MakeDate(2024, 6, 2, 7, 45));
    control.SetValue(MakeDate(2024, 6, 2, 12, 0));
    EXPECT_EQ(control.GetText(), "06/02/2024-12:00PM");
    EXPECT_EQ(control.GetValue(), MakeDate(2024, 6, 2, 12, 0));
    control.SetValue(0.0);
    EXPECT_EQ(control.GetText(), "00/00/0000-00:00AM");
    // "12" typed with AM is just after midnight.
    EXPECT_EQ(CDateTime::ParseText("06/02/2024-12:10AM", 1), MakeDate(2024, 6, 2, 0, 10));
    // An hour past 12 is no reading of a 12-hour field.
    EXPECT_EQ(CDateTime::ParseText("06/02/2024-13:10PM", 1), 0.0);
    EXPECT_EQ(CDateTime::ParseText("06/02/2024-12:10PM", 1), MakeDate(2024, 6, 2, 12, 10));
}

TEST_F(DateTimeControlTest, ButtonsNowAndClear)
{
    FixClock(2024, 5, 15, 10, 30);
    CDateTime control;
    Detached(control, MakeDate(2020, 1, 2, 3, 4), 1);
    control.Click(25);  // "Cur."
    EXPECT_EQ(control.GetText(), "05/15/2024-10:30AM");

    Hooks().messageBoxAnswers = {ui::IDNO, ui::IDYES};
    control.Click(45);  // "Clr.", answered No
    EXPECT_EQ(control.GetText(), "05/15/2024-10:30AM");
    control.Click(45);
    EXPECT_EQ(control.GetText(), "00/00/0000-00:00AM");
    ASSERT_EQ(Hooks().messageBoxTexts.size(), 2u);
    EXPECT_EQ(Hooks().messageBoxTexts[0], "Are you sure you want to clear and set all to zero?");
}

TEST_F(DateTimeControlTest, CalendarButtonKeepsTheTime)
{
    CDateTime control;
    Detached(control, MakeDate(2008, 3, 5, 14, 30), 1);
    Script([](ui::Dialog& d) {
        ASSERT_EQ(d.GetTemplateId(), 133);
        ui::MonthCalendar* calendar = d.Calendar(1041);
        ASSERT_NE(calendar, nullptr);
        EXPECT_EQ(calendar->GetCurSel(), (ui::CalendarDay{2008, 3, 5}));
        calendar->SetCurSel(ui::CalendarDay{2008, 3, 20});
        ui::test::Click(d, ui::IDOK);
    });
    control.Click(5);
    EXPECT_EQ(control.GetText(), "03/20/2008-02:30PM");

    Script([](ui::Dialog& d) {
        d.Calendar(1041)->SetCurSel(ui::CalendarDay{2008, 4, 1});
        ui::test::Click(d, ui::IDCANCEL);
    });
    control.Click(5);
    EXPECT_EQ(control.GetText(), "03/20/2008-02:30PM");
}

using MonthCalendarTest = DialogTest;

TEST_F(MonthCalendarTest, OkTakesTheDayAtThePreviousTime)
{
    CMonthCalendar dialog;
    dialog.m_date = MakeDate(2008, 3, 5, 14, 30) + 20 * kDateOneSecond;
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Select date");
        d.Calendar(1041)->SetCurSel(ui::CalendarDay{2008, 3, 20});
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(dialog.m_date, MakeDate(2008, 3, 20, 14, 30));
}

TEST_F(MonthCalendarTest, CancelLeavesTheDateExactly)
{
    CMonthCalendar dialog;
    const DATE given = MakeDate(2008, 3, 5, 14, 30) + 20 * kDateOneSecond;
    dialog.m_date = given;
    Script([](ui::Dialog& d) {
        d.Calendar(1041)->SetCurSel(ui::CalendarDay{2008, 3, 20});
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.m_date, given);
}

// The control on a dialog: keys arrive through the dialog's message path.
const ui::DialogTemplate kHostTemplate{9001, "Host", 0, 0, {
    {ui::Ctl::Edit, 1012, ""},
    {ui::Ctl::Edit, 1013, ""},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

TEST_F(DateTimeControlTest, KeysThroughTheDialog)
{
    ui::Dialog host(kHostTemplate);
    CDateTime control;
    Script([&](ui::Dialog& d) {
        control.Attach(&d, 1012, MakeDate(2024, 1, 31, 0, 0), 0);
        EXPECT_EQ(d.GetDlgItem(1012), &control);
        EXPECT_EQ(control.GetWindowText(), "01/31/2024");
        ui::test::Focus(d, 1012);
        ui::test::PressKey(d, ui::VK_RIGHT);
        ui::test::PressKey(d, ui::VK_RIGHT);
        ui::test::PressKey(d, ui::VK_UP);
        EXPECT_EQ(control.GetText(), "01/01/2024");
        ui::test::PressKey(d, '0');
        ui::test::PressKey(d, '2');
        EXPECT_EQ(control.GetText(), "01/02/2024");
        ui::test::PressKey(d, 'X');  // swallowed
        ui::test::PressKey(d, ui::VK_RETURN);  // moves on like Tab, does not end the dialog
        EXPECT_FALSE(d.HasEnded());
        EXPECT_EQ(d.GetFocusId(), 1013);
        d.EndDialog(ui::IDOK);
    });
    EXPECT_EQ(host.DoModal(), ui::IDOK);
    EXPECT_EQ(control.GetValue(), MakeDate(2024, 1, 2, 8, 0));
}

// What the control draws: the three buttons, then the text one character every 8 pixels.
void ExpectDrawn(const ui::RecordedPage& page, const std::string& text, int boldAt)
{
    const struct {
        const char* text;
        int x;
        ui::COLORREF colour;
    } buttons[] = {{"Cal.", 0, ui::RGB(255, 0, 0)},
                   {"Cur.", 20, ui::RGB(0, 255, 0)},
                   {"Clr.", 40, ui::RGB(0, 0, 255)}};
    ASSERT_EQ(page.texts.size(), 3 + text.size());
    for (size_t i = 0; i < 3; ++i) {
        const ui::RecordedText& t = page.texts[i];
        EXPECT_EQ(t.text, buttons[i].text);
        EXPECT_EQ(t.x, buttons[i].x);
        EXPECT_EQ(t.colour, buttons[i].colour) << t.text;
        EXPECT_EQ(t.font.face, "Times New Roman");
        EXPECT_EQ(t.font.sizeTenths, 80);
    }
    for (size_t i = 0; i < text.size(); ++i) {
        const ui::RecordedText& t = page.texts[3 + i];
        EXPECT_EQ(t.text, text.substr(i, 1));
        EXPECT_EQ(t.x, 60 + 8 * static_cast<int>(i));
        EXPECT_EQ(t.colour, ui::kBlack);
        EXPECT_EQ(t.font.sizeTenths, 120);
        const bool atCursor = static_cast<int>(i) == boldAt;
        EXPECT_EQ(t.font.bold, atCursor) << i;
        EXPECT_EQ(t.font.underline, atCursor) << i;
    }
}

TEST_F(DateTimeControlTest, DrawsItsButtonsAndTakesClicksOnTheDrawnCharacters)
{
    ui::Dialog host(kHostTemplate);
    CDateTime control;
    Script([&](ui::Dialog& d) {
        control.Attach(&d, 1012, MakeDate(2024, 3, 15, 21, 30), 1);
        ui::test::Focus(d, 1013);
        ExpectDrawn(ui::test::RecordPaint(control), "03/15/2024-09:30PM", -1);

        // A click on the separator at 2 takes the focus and lands on the day.
        ASSERT_TRUE(ui::test::ClickAt(control, 60 + 8 * 2 + 3, 6));
        EXPECT_EQ(d.GetFocusId(), 1012);
        EXPECT_TRUE(control.IsActive());
        EXPECT_EQ(control.GetCaretLoc(), 3);
        ExpectDrawn(ui::test::RecordPaint(control), "03/15/2024-09:30PM", 3);

        ASSERT_TRUE(ui::test::ClickAt(control, 60 + 8 * 14 + 7, 6));
        EXPECT_EQ(control.GetCaretLoc(), 14);
        ui::test::PressKey(d, ui::VK_UP);
        EXPECT_EQ(control.GetText(), "03/15/2024-09:31PM");

        // Losing the focus ends the highlight.
        ui::test::Focus(d, 1013);
        EXPECT_FALSE(control.IsActive());
        ExpectDrawn(ui::test::RecordPaint(control), "03/15/2024-09:31PM", -1);
        ui::test::Focus(d, 1012);
        EXPECT_TRUE(control.IsActive());
        EXPECT_EQ(control.GetCaretLoc(), 0);
        d.EndDialog(ui::IDOK);
    });
    EXPECT_EQ(host.DoModal(), ui::IDOK);
}

TEST_F(DateTimeControlTest, ClicksOnTheDrawnButtons)
{
    FixClock(2024, 5, 15, 10, 30);
    ui::Dialog host(kHostTemplate);
    CDateTime control;
    Script([&](ui::Dialog& d) {
        control.Attach(&d, 1012, MakeDate(2020, 1, 2, 3, 4), 1);
        ASSERT_TRUE(ui::test::ClickAt(control, 30, 4));  // "Cur."
        EXPECT_EQ(control.GetText(), "05/15/2024-10:30AM");
        EXPECT_EQ(control.GetWindowText(), "05/15/2024-10:30AM");
        Hooks().messageBoxAnswers = {ui::IDYES};
        ASSERT_TRUE(ui::test::ClickAt(control, 50, 4));  // "Clr."
        EXPECT_EQ(control.GetText(), "00/00/0000-00:00AM");
        Script([](ui::Dialog& calendar) {
            EXPECT_EQ(calendar.GetTemplateId(), 133);
            calendar.Calendar(1041)->SetCurSel(ui::CalendarDay{2024, 7, 4});
            ui::test::Click(calendar, ui::IDOK);
        });
        ASSERT_TRUE(ui::test::ClickAt(control, 10, 4));  // "Cal."
        EXPECT_EQ(control.GetText(), "07/04/2024-10:30AM");
        d.EndDialog(ui::IDOK);
    });
    EXPECT_EQ(host.DoModal(), ui::IDOK);
}

}  // namespace
