#include "dialogs/ScheduleWeekly.h"

#include <cctype>
#include <cmath>

#include "common/DateTime.h"
#include "common/QuestionBox.h"
#include "platform/host/Format.h"
#include "platform/ui/SpinButton.h"
#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdDate = 1010;
constexpr int kIdSpin = 1037;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 210;
// The time edits, Sunday to Saturday.
constexpr int kDayEdits[7] = {1190, 1192, 1194, 1195, 1196, 1198, 1199};
const char* const kDayNames[7] = {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

const ui::DialogTemplate kScheduleWeeklyTemplate{210, "Schedule weekly", 220, 190, {
    {ui::Ctl::GroupBox, -1, "Start date"},
    {ui::Ctl::Edit, kIdDate, ""},
    {ui::Ctl::Spin, kIdSpin, ""},
    {ui::Ctl::Label, -1, "Day"},
    {ui::Ctl::Label, -1, "Time (leave blank if not scheduled)"},
    {ui::Ctl::Label, -1, "Sunday"},
    {ui::Ctl::Edit, 1190, ""},
    {ui::Ctl::Label, -1, "Monday"},
    {ui::Ctl::Edit, 1192, ""},
    {ui::Ctl::Label, -1, "Tuesday"},
    {ui::Ctl::Edit, 1194, ""},
    {ui::Ctl::Label, -1, "Wednesday"},
    {ui::Ctl::Edit, 1195, ""},
    {ui::Ctl::Label, -1, "Thursday"},
    {ui::Ctl::Edit, 1196, ""},
    {ui::Ctl::Label, -1, "Friday"},
    {ui::Ctl::Edit, 1198, ""},
    {ui::Ctl::Label, -1, "Saturday"},
    {ui::Ctl::Edit, 1199, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

// The number that starts at the first digit of `text`; -1 when it has no digit.
int32_t NumberFromFirstDigit(const std::string& text)
{
    size_t at = 0;
    while (at < text.size() && !std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
    if (at == text.size()) return -1;
    int32_t value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) && value < 10000; ++at)
        value = value * 10 + (text[at] - '0');
    return value;
}

}  // namespace

CScheduleWeekly::CScheduleWeekly(ui::Window* parent) : ui::Dialog(kScheduleWeeklyTemplate, parent) {}

bool CScheduleWeekly::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    m_Date.Attach(this, kIdDate, GetToday(0), 0);
    if (ui::SpinButton* spin = Spin(kIdSpin)) {
        spin->SetRange(0, 100);
        spin->SetPos(50);
    }
    return true;
}

bool CScheduleWeekly::ParseDayTime(const std::string& text, int32_t& hour, int32_t& minute)
{
    std::string upper = text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const bool afternoon = upper.find('P') != std::string::npos;
    const bool morning = !afternoon && upper.find('A') != std::string::npos;
    const size_t colon = upper.find(':');
    const bool twoParts = colon != std::string::npos && upper.find(':', colon + 1) == std::string::npos;
    minute = twoParts ? NumberFromFirstDigit(upper.substr(colon + 1)) : 0;
    if (minute < 0) minute = 0;
    // 12pm is noon and 12am midnight, as in the date fields.
    hour = ClockHour(NumberFromFirstDigit(upper.substr(0, colon)), afternoon ? 'P' : morning ? 'A' : 0);
    return hour >= 0 && minute <= 59;
}

void CScheduleWeekly::OnOK()
{
    m_dStartDate = std::floor(m_Date.GetValue());  // the date shown, without a time
    std::vector<stDaySchedule> days;
    for (int day = 1; day <= 7; ++day) {
        const std::string text = GetDlgItemText(kDayEdits[day - 1]);
        if (text.empty()) continue;
        stDaySchedule d;
        d.nDay = day;
        if (!ParseDayTime(text, d.nHour, d.nMinute)) {
            GetResponse(Format("Invalid time for %s.", kDayNames[day - 1]), MB_OK);
            if (ui::Window* edit = GetDlgItem(kDayEdits[day - 1])) edit->SetFocus();
            return;
        }
        days.push_back(d);
    }
    m_aDays = std::move(days);
    if (UpdateData(true)) EndDialog(ui::IDOK);
}

bool CScheduleWeekly::OnCommand(int id, int code)
{
    switch (id) {
    case kIdOk:
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    case kIdSpin:
        if (code == ui::UDN_DELTAPOS) {
            if (ui::SpinButton* spin = Spin(id)) {
                const int pos = spin->GetPos();
                if (pos > 50) m_Date.StepUp();
                else if (pos < 50) m_Date.StepDown();
                spin->SetPos(50);
            }
        }
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CScheduleWeekly::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
