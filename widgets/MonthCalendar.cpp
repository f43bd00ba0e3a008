#include "widgets/MonthCalendar.h"

#include "widgets/ControlHelpers.h"
#include "platform/ui/MonthCalendar.h"

namespace {

constexpr int kIdCalendar = 1041;
constexpr uint32_t kHelpContext = 0x20000 + 133;

const ui::DialogTemplate kMonthCalendarTemplate{133, "Select date", 0, 0, {
    {ui::Ctl::MonthCalendar, kIdCalendar, ""},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CMonthCalendar::CMonthCalendar(ui::Window* parent) : ui::Dialog(kMonthCalendarTemplate, parent)
{
}

bool CMonthCalendar::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    DateFields f;
    if (ui::MonthCalendar* calendar = Calendar(kIdCalendar); calendar && DateToFields(m_date, f))
        calendar->SetCurSel(ui::CalendarDay{f.year, f.month, f.day});
    return true;
}

void CMonthCalendar::OnOK()
{
    if (ui::MonthCalendar* calendar = Calendar(kIdCalendar)) {
        const ui::CalendarDay day = calendar->GetCurSel();
        DateFields previous;
        if (!DateToFields(m_date, previous)) previous = DateFields{};
        const DATE chosen = MakeDate(day.year, day.month, day.day, previous.hour, previous.minute);
        if (chosen != 0.0) m_date = chosen;
    }
    ui::Dialog::OnOK();
}

bool CMonthCalendar::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
