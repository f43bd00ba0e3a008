#include "dialogs/RefreshHoldDialog.h"

#include "database/Database.h"
#include "widgets/ControlHelpers.h"

CRefreshHoldDialog::CRefreshHoldDialog(const ui::DialogTemplate& tmpl, ui::Window* parent, CDatabase* database,
                                       std::string holdName, int okButton)
    : ui::Dialog(tmpl, parent), m_pDatabase(database), m_sHoldName(std::move(holdName)), m_nOkButton(okButton)
{
}

bool CRefreshHoldDialog::OnInitDialog()
{
    if (m_pDatabase && !m_bHoldsRefresh) {
        m_pDatabase->DisableRefreshOn(m_sHoldName);
        m_bHoldsRefresh = true;
    }
    return ui::Dialog::OnInitDialog();
}

void CRefreshHoldDialog::OnDestroy()
{
    if (m_bHoldsRefresh) {
        m_bHoldsRefresh = false;
        m_pDatabase->DisableRefreshOff(m_sHoldName);
    }
    ui::Dialog::OnDestroy();
}

bool CRefreshHoldDialog::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, 0x20000u + static_cast<uint32_t>(GetTemplateId()))) return true;
    if (msg.message == ui::WM_KEYDOWN && MoveOnEnterKey(*this, msg)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}

void CRefreshHoldDialog::OnOK()
{
    OnOkButton();
}
