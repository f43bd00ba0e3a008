#include "dialogs/DialogGetPurgeDates.h"

#include "widgets/ControlHelpers.h"
#include "database/Database.h"

namespace {

constexpr int kIdNoActivities = 1012;
constexpr int kIdWithActivities = 1013;
constexpr int kIdNoActivitiesSpin = 1038;
constexpr int kIdWithActivitiesSpin = 1039;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 310;

const ui::DialogTemplate kPurgeDatesTemplate{310, "Threshold dates", 268, 63, {
    {ui::Ctl::Label, -1, "Cut-off date for persons with no activities"},
    {ui::Ctl::Edit, kIdNoActivities, ""},
    {ui::Ctl::Spin, kIdNoActivitiesSpin, ""},
    {ui::Ctl::Label, -1, "Cut-off date for persons having activities"},
    {ui::Ctl::Edit, kIdWithActivities, ""},
    {ui::Ctl::Spin, kIdWithActivitiesSpin, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogGetPurgeDates::CDialogGetPurgeDates(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kPurgeDatesTemplate, parent), m_pDatabase(database)
{
}

bool CDialogGetPurgeDates::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (m_pDatabase && !m_bHoldsRefresh) {
        m_pDatabase->DisableRefreshOn("CDialogGetPurgeDates");
        m_bHoldsRefresh = true;
    }
    m_NoActivities.Attach(this, kIdNoActivities, 0.0, 0);
    m_WithActivities.Attach(this, kIdWithActivities, 0.0, 0);
    for (int id : {kIdNoActivitiesSpin, kIdWithActivitiesSpin})
        CentreDateSpin(*this, id);
    return true;
}

bool CDialogGetPurgeDates::OnCommand(int id, int code)
{
    switch (id) {
    case kIdOk:
        if (code == ui::BN_CLICKED) {
            // Read while the controls still exist; the caller reads the members afterwards.
            m_dNoActivities = m_NoActivities.GetValue();
            m_dWithActivities = m_WithActivities.GetValue();
            EndDialog(ui::IDOK);
        }
        return true;
    case kIdNoActivitiesSpin:
    case kIdWithActivitiesSpin:
        if (code == ui::UDN_DELTAPOS)
            StepDateBySpin(*this, id, id == kIdNoActivitiesSpin ? m_NoActivities : m_WithActivities);
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogGetPurgeDates::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}

void CDialogGetPurgeDates::OnDestroy()
{
    if (m_bHoldsRefresh) {
        m_bHoldsRefresh = false;
        m_pDatabase->DisableRefreshOff("CDialogGetPurgeDates");
    }
    ui::Dialog::OnDestroy();
}
