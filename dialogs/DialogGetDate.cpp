#include "dialogs/DialogGetDate.h"

#include "widgets/ControlHelpers.h"
#include "database/Database.h"
#include "platform/ui/SpinButton.h"

namespace {

constexpr int kIdDate = 1010;
constexpr int kIdSpin = 1037;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 211;

const ui::DialogTemplate kGetDateTemplate{211, "Get date", 293, 29, {
    {ui::Ctl::Edit, kIdDate, ""},
    {ui::Ctl::Spin, kIdSpin, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogGetDate::CDialogGetDate(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kGetDateTemplate, parent), m_pDatabase(database)
{
}

bool CDialogGetDate::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (m_pDatabase && !m_bHoldsRefresh) {
        m_pDatabase->DisableRefreshOn("CDialogGetDate");
        m_bHoldsRefresh = true;
    }
    m_Date.Attach(this, kIdDate, m_dDate == 0.0 ? GetToday(0) : m_dDate, m_nWithTime == 1 ? 1 : 0);
    if (ui::SpinButton* spin = Spin(kIdSpin)) {
        spin->SetRange(0, 100);
        spin->SetPos(50);
    }
    return true;
}

bool CDialogGetDate::OnCommand(int id, int code)
{
    switch (id) {
    case kIdOk:
        if (code == ui::BN_CLICKED) {
            m_dDate = m_Date.GetValue();
            EndDialog(ui::IDOK);
        }
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

bool CDialogGetDate::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}

void CDialogGetDate::OnDestroy()
{
    if (m_bHoldsRefresh) {
        m_bHoldsRefresh = false;
        m_pDatabase->DisableRefreshOff("CDialogGetDate");
    }
    ui::Dialog::OnDestroy();
}
