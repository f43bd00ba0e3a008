#include "dialogs/DialogReportDates.h"

#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdStart = 1012;
constexpr int kIdEnd = 1013;
constexpr int kIdStartSpin = 1038;
constexpr int kIdEndSpin = 1039;
constexpr int kIdNext = 1389;
constexpr int kIdPrevious = 1390;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 306;

const ui::DialogTemplate kReportDatesTemplate{306, "Report dates", 0, 0, {
    {ui::Ctl::Label, -1, "Start date"},
    {ui::Ctl::Edit, kIdStart, ""},
    {ui::Ctl::Spin, kIdStartSpin, ""},
    {ui::Ctl::Label, -1, "End date"},
    {ui::Ctl::Edit, kIdEnd, ""},
    {ui::Ctl::Spin, kIdEndSpin, ""},
    {ui::Ctl::Button, kIdNext, "Next"},
    {ui::Ctl::Button, kIdPrevious, "Previous"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogReportDates::CDialogReportDates(ui::Window* parent)
    : ui::Dialog(kReportDatesTemplate, parent)
{
}

bool CDialogReportDates::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    DATE start = 0.0;
    DATE end = 0.0;
    if (m_nPeriodDays == 1) {
        start = GetToday(0);
        end = AddToDate(start, 1, 0, 0, 0);
    } else {
        GetWeekStart(start, end, m_nWeekStartDay, m_nPeriodDays);
    }
    m_StartDate.Attach(this, kIdStart, start, 0);
    m_EndDate.Attach(this, kIdEnd, end, 0);
    for (int id : {kIdStartSpin, kIdEndSpin})
        CentreDateSpin(*this, id);
    return true;
}

void CDialogReportDates::MovePeriod(int direction)
{
    const int days = direction * m_nPeriodDays;
    for (CDateTime* control : {&m_StartDate, &m_EndDate}) {
        const DATE value = control->GetValue();
        if (value != 0.0) control->SetValue(AddToDate(value, days, 0, 0, 0));
    }
}

bool CDialogReportDates::OnCommand(int id, int code)
{
    switch (id) {
    case kIdNext:
        if (code == ui::BN_CLICKED) MovePeriod(1);
        return true;
    case kIdPrevious:
        if (code == ui::BN_CLICKED) MovePeriod(-1);
        return true;
    case kIdOk:
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    case kIdStartSpin:
    case kIdEndSpin:
        if (code == ui::UDN_DELTAPOS)
            StepDateBySpin(*this, id, id == kIdStartSpin ? m_StartDate : m_EndDate);
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogReportDates::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
