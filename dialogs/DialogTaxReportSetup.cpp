#include "dialogs/DialogTaxReportSetup.h"

#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdStart = 1012;
constexpr int kIdEnd = 1013;
constexpr int kIdStartSpin = 1038;
constexpr int kIdEndSpin = 1039;
constexpr int kIdShowDetails = 1361;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 148;

const ui::DialogTemplate kTaxReportTemplate{148, "Tax report dates", 0, 0, {
    {ui::Ctl::Label, -1, "Start date"},
    {ui::Ctl::Edit, kIdStart, ""},
    {ui::Ctl::Spin, kIdStartSpin, ""},
    {ui::Ctl::Label, -1, "End date"},
    {ui::Ctl::Edit, kIdEnd, ""},
    {ui::Ctl::Spin, kIdEndSpin, ""},
    {ui::Ctl::CheckBox, kIdShowDetails, "Show details"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogTaxReportSetup::CDialogTaxReportSetup(ui::Window* parent) : ui::Dialog(kTaxReportTemplate, parent) {}

void CDialogTaxReportSetup::DoDataExchange(ui::DataExchange& dx)
{
    dx.Check(kIdShowDetails, m_bShowDetails);
}

bool CDialogTaxReportSetup::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    DateFields today{};
    DateToFields(GetToday(0), today);
    m_StartDate.Attach(this, kIdStart, MakeDate(today.year, 1, 1, 0, 0), 0);
    m_EndDate.Attach(this, kIdEnd, MakeDate(today.year + 1, 1, 1, 0, 0), 0);
    for (int id : {kIdStartSpin, kIdEndSpin}) CentreDateSpin(*this, id);
    return true;
}

bool CDialogTaxReportSetup::OnCommand(int id, int code)
{
    switch (id) {
    case kIdOk:
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    case kIdStartSpin:
    case kIdEndSpin:
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, id, id == kIdStartSpin ? m_StartDate : m_EndDate);
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogTaxReportSetup::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
