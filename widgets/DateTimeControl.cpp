#include "widgets/DateTimeControl.h"

#include "widgets/ControlHelpers.h"
#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/Format.h"
#include "platform/ui/Dialog.h"
#include "widgets/MonthCalendar.h"

#include <algorithm>

namespace {

const char kPatternDateTime[] = "00/00/0000-00:00AM";
const char kPatternDate[] = "00/00/0000";

// Text positions of the parts.
constexpr int kMonthPos = 0;
constexpr int kDayPos = 3;
constexpr int kYearPos = 6;
constexpr int kHourPos = 11;
constexpr int kMinutePos = 14;
constexpr int kAmPmPos = 16;

// Drawing: three 20-pixel buttons, then one character every 8 pixels.
constexpr int kButtonWidth = 20;
constexpr int kTextLeft = 60;
constexpr int kCharWidth = 8;

bool IsSeparator(int pos)
{
    return pos == 2 || pos == 5 || pos == 10 || pos == 13;
}

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Days in the month; 31 for a month number that is no month.
int MonthLength(int month, int year)
{
    static const int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 31;
    return kDays[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

// One step within lower..upper, wrapping at either end; a value outside the range wraps too.
int Wrap(int value, int delta, int lower, int upper)
{
    if (delta > 0) return (value < lower || value >= upper) ? lower : value + 1;
    return (value <= lower || value > upper) ? upper : value - 1;
}

int NumberAt(const std::string& text, int pos, int width)
{
    if (static_cast<int>(text.size()) < pos + width) return -1;
    int value = 0;
    for (int i = pos; i < pos + width; ++i) {
        const char c = text[static_cast<size_t>(i)];
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool IsExtendedKey(int vk)
{
    return vk >= ui::VK_PRIOR && vk <= ui::VK_DOWN;
}

}  // namespace

CDateTime::CDateTime() = default;
CDateTime::~CDateTime() = default;

void CDateTime::ResetText()
{
    m_strText = m_nMode == 1 ? kPatternDateTime : kPatternDate;
}

void CDateTime::Attach(ui::Dialog* dialog, int id, DATE value, int mode)
{
    m_pDialog = dialog;
    m_nId = id;
    m_nMode = mode == 1 ? 1 : 0;
    ResetText();
    if (value != 0.0) WriteFields(value);
    m_nLastLoc = m_nMode == 1 ? kAmPmPos : 9;
    m_nCaretLoc = std::min(m_nCaretLoc, m_nLastLoc);
    if (dialog && !IsCreated()) dialog->SubclassDlgItem(id, *this);
    Redraw();
}

void CDateTime::WriteFields(DATE value)
{
    DateFields f;
    if (!DateToFields(value, f)) return;
    SetMonth(f.month);
    SetDay(f.day);
    SetYear(f.year);
    if (m_nMode == 1) {
        SetHour(f.hour);
        SetMinute(f.minute);
    }
}

void CDateTime::SetValue(DATE value)
{
    if (value == 0.0) ResetText();
    else WriteFields(value);
    Redraw();
}

void CDateTime::SetNow()
{
    SetValue(GetNow());
}

DATE CDateTime::ParseText(const std::string& text, int mode)
{
    const int month = NumberAt(text, kMonthPos, 2);
    const int day = NumberAt(text, kDayPos, 2);
    int year = NumberAt(text, kYearPos, 4);
    if (month < 1 || day < 1 || year < 0) return 0.0;
    if (year == 0) year = 1899;
    int hour = 8;
    int minute = 0;
    if (mode == 1) {
        hour = NumberAt(text, kHourPos, 2);
        minute = NumberAt(text, kMinutePos, 2);
        if (hour < 0 || minute < 0 || static_cast<int>(text.size()) <= kAmPmPos) return 0.0;
        // 12:xxAM is just after midnight; an hour past 12 is no reading of the field.
        hour = ClockHour(hour, text[kAmPmPos] == 'P' ? 'P' : 'A');
        if (hour < 0) return 0.0;
    }
    return MakeDate(year, month, day, hour, minute);
}

DATE CDateTime::GetValue() const
{
    return ParseText(m_strText, m_nMode);
}

std::string CDateTime::GetDisplayText() const
{
    const DATE value = GetValue();
    if (value > 0.0) return FormatDateTime(value, "%A %B %d, %Y, %I:%M%p");
    return "No date";
}

void CDateTime::Enable(bool enable)
{
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format("CDateTime::Enable %s\n", enable ? "TRUE" : "FALSE");
        WriteDiagnostic();
    }
    if (IsCreated()) EnableWindow(enable);
}

int CDateTime::ReadNumber(int pos, int width) const
{
    return NumberAt(m_strText, pos, width);
}

void CDateTime::SetYear(int year)
{
    const std::string digits = Format("0000%i", year);
    m_strText.replace(kYearPos, 4, digits.substr(digits.size() - 4));
}

void CDateTime::SetMonth(int month)
{
    const std::string digits = Format("00%i", month);
    m_strText.replace(kMonthPos, 2, digits.substr(digits.size() - 2));
}

void CDateTime::SetDay(int day)
{
    const std::string digits = Format("00%i", day);
    m_strText.replace(kDayPos, 2, digits.substr(digits.size() - 2));
}

void CDateTime::SetMinute(int minute)
{
    if (m_nMode != 1) return;
    const std::string digits = Format("00%i", minute);
    m_strText.replace(kMinutePos, 2, digits.substr(digits.size() - 2));
}

void CDateTime::SetHour(int hour)
{
    if (m_nMode != 1) return;
    if (hour >= 12) {
        m_strText[kAmPmPos] = 'P';
        if (hour > 12) hour -= 12;
    } else {
        m_strText[kAmPmPos] = 'A';
    }
    const std::string digits = Format("00%i", hour);
    m_strText.replace(kHourPos, 2, digits.substr(digits.size() - 2));
}

void CDateTime::MoveCursor(int direction)
{
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format(direction < 0 ? "CDateTime::MoveCursor - before, loc %i of %i\n"
                                              : "CDateTime::MoveCursor + beforeloc %i of %i\n",
                                m_nCaretLoc, m_nLastLoc);
        WriteDiagnostic();
    }
    int loc = m_nCaretLoc + (direction < 0 ? -1 : 1);
    if (loc < 0) loc = 0;
    if (loc > m_nLastLoc) loc = m_nLastLoc;
    if (IsSeparator(loc)) loc += direction < 0 ? -1 : 1;
    m_nCaretLoc = std::clamp(loc, 0, m_nLastLoc);
}

void CDateTime::Step(int delta)
{
    const int loc = m_nCaretLoc;
    if (loc < 2) {
        const int month = Wrap(ReadNumber(kMonthPos, 2), delta, 1, 12);
        SetMonth(month);
        // Keep the day inside the new month, so that stepping never loses the date.
        const int day = ReadNumber(kDayPos, 2);
        const int length = MonthLength(month, std::max(0, ReadNumber(kYearPos, 4)));
        if (day > length) SetDay(length);
    } else if (loc < 5) {
        const int length = MonthLength(ReadNumber(kMonthPos, 2), std::max(0, ReadNumber(kYearPos, 4)));
        SetDay(Wrap(ReadNumber(kDayPos, 2), delta, 1, length));
    } else if (loc < 10) {
        const int year = std::clamp(std::max(0, ReadNumber(kYearPos, 4)) + delta, 0, 9999);
        SetYear(year);
        const int month = ReadNumber(kMonthPos, 2);
        const int day = ReadNumber(kDayPos, 2);
        if (month == 2 && day > MonthLength(2, year)) SetDay(MonthLength(2, year));
    } else if (m_nMode == 1 && loc < 13) {
        int hour = std::max(0, ReadNumber(kHourPos, 2));
        if (m_strText[kAmPmPos] == 'P' && hour < 12) hour += 12;
        else if (m_strText[kAmPmPos] != 'P' && hour == 12) hour = 0;
        SetHour(Wrap(hour, delta, 0, 23));
    } else if (m_nMode == 1 && loc < 16) {
        SetMinute(Wrap(ReadNumber(kMinutePos, 2), delta, 0, 59));
    } else if (m_nMode == 1 && loc == kAmPmPos) {
        m_strText[kAmPmPos] = m_strText[kAmPmPos] == 'P' ? 'A' : 'P';
    }
    Redraw();
}

void CDateTime::StepUp()
{
    Step(1);
}

void CDateTime::StepDown()
{
    Step(-1);
}

bool CDateTime::KeyDown(int vk)
{
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format("CDateTime::PreTranslateMessage key down %i, wParam %i, scan %i, ext %i\n",
                                static_cast<int>(ui::WM_KEYDOWN), vk, 0, IsExtendedKey(vk) ? 1 : 0);
        WriteDiagnostic();
    }
    if (vk == ui::VK_UP) {
        StepUp();
    } else if (vk == ui::VK_DOWN) {
        StepDown();
    } else if (vk == ui::VK_RIGHT || vk == ui::VK_SPACE) {
        MoveCursor(1);
        Redraw();
    } else if (vk == ui::VK_LEFT || vk == ui::VK_BACK) {
        MoveCursor(-1);
        Redraw();
    } else if (vk == ui::VK_TAB || vk == ui::VK_RETURN) {
        if (m_pDialog) GotoNextDlgCtrl(*m_pDialog);
    } else if ((vk >= '0' && vk <= '9') || (vk >= ui::VK_NUMPAD0 && vk <= ui::VK_NUMPAD0 + 9)) {
        const char digit = static_cast<char>(vk >= ui::VK_NUMPAD0 ? '0' + (vk - ui::VK_NUMPAD0) : vk);
        if (IsSeparator(m_nCaretLoc)) MoveCursor(1);
        // The AM/PM letter takes no digit.
        if (m_nCaretLoc != kAmPmPos || m_nMode != 1) {
            m_strText[static_cast<size_t>(m_nCaretLoc)] = digit;
            MoveCursor(1);
        }
        Redraw();
    } else if (m_nMode == 1 && (vk == 'A' || vk == 'P')) {
        m_strText[kAmPmPos] = static_cast<char>(vk);
        m_nCaretLoc = kAmPmPos;
        Redraw();
    }
    return true;  // every other key is swallowed
}

void CDateTime::Click(int x)
{
    if (x < kButtonWidth) {
        CMonthCalendar calendar(m_pDialog);
        const DATE value = GetValue();
        calendar.m_date = value != 0.0 ? value : GetNow();
        if (calendar.DoModal() == ui::IDOK) SetValue(calendar.m_date);
    } else if (x < 2 * kButtonWidth) {
        SetNow();
    } else if (x < 3 * kButtonWidth) {
        if (GetResponse("Are you sure you want to clear and set all to zero?", MB_YESNO) == IDYES)
            SetValue(0.0);
    } else {
        int loc = std::min((x - kTextLeft) / kCharWidth, m_nLastLoc);
        if (IsSeparator(loc)) ++loc;
        m_nCaretLoc = std::min(loc, m_nLastLoc);
        Redraw();
    }
}

void CDateTime::OnSetFocus()
{
    m_bActive = true;
    m_nCaretLoc = 0;
    Redraw();
}

void CDateTime::OnKillFocus()
{
    m_bActive = false;
    Redraw();
}

bool CDateTime::PreTranslateMessage(const ui::Msg& msg)
{
    if (msg.window != this) return false;
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format("CDateTime::PreTranslateMessage %i, wParam %i, scan %i, ext %i\n",
                                static_cast<int>(msg.message), static_cast<int>(msg.wParam), 0,
                                IsExtendedKey(static_cast<int>(msg.wParam)) ? 1 : 0);
        WriteDiagnostic();
    }
    switch (msg.message) {
    case ui::WM_KEYDOWN:
        return KeyDown(static_cast<int>(msg.wParam));
    case ui::WM_CHAR:
        return true;
    default:
        return false;
    }
}

void CDateTime::OnLButtonDown(int x, int)
{
    // The click gives the control the focus (cursor to 0), then places the cursor.
    SetFocus();
    Click(x);
}

void CDateTime::OnLButtonDblClk(int x, int y)
{
    OnLButtonDown(x, y);
}

void CDateTime::Redraw()
{
    if (!IsCreated()) return;
    // The edit keeps the text too, for whoever reads the control's window text.
    if (GetWindowText() != m_strText) SetWindowText(m_strText);
    Invalidate();
}

void CDateTime::OnPaint(ui::DC& dc)
{
    const ui::DCRect client = GetClientRect();
    dc.FillSolidRect(client, ui::kWhite);
    dc.SetBkMode(ui::TRANSPARENT);
    ui::Font small{"Times New Roman", 80};
    dc.SelectFont(small);
    const struct {
        const char* text;
        ui::COLORREF colour;
    } labels[] = {{"Cal.", 0x0000FF}, {"Cur.", 0x00FF00}, {"Clr.", 0xFF0000}};
    for (int i = 0; i < 3; ++i) {
        dc.SetTextColor(labels[i].colour);
        dc.TextOut(i * kButtonWidth, 0, labels[i].text);
    }
    dc.SetTextColor(ui::kBlack);
    for (size_t i = 0; i < m_strText.size(); ++i) {
        ui::Font font{"Times New Roman", 120};
        if (m_bActive && static_cast<int>(i) == m_nCaretLoc) {
            font.bold = true;
            font.underline = true;
        }
        dc.SelectFont(font);
        dc.TextOut(kTextLeft + kCharWidth * static_cast<int>(i), 0, m_strText.substr(i, 1));
    }
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format("CDateTime::OnPaint, point.x %i, m_nCaretLoc %i\n",
                                kTextLeft + kCharWidth * m_nCaretLoc, m_nCaretLoc);
        WriteDiagnostic();
    }
    m_bPainted = true;
}
