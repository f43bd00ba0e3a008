#include "dialogs/DialogPasswordSwitchUser.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/ui/EditBox.h"

namespace {

constexpr int kIdPassword = 1467;

const ui::DialogTemplate kSwitchUserTemplate{313, "Password", 126, 18, {
    {ui::Ctl::Edit, kIdPassword, "", ui::ES_PASSWORD | ui::ES_UPPERCASE},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

}  // namespace

CDialogPasswordSwitchUser::CDialogPasswordSwitchUser(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kSwitchUserTemplate, parent), m_pDatabase(database)
{
}

bool CDialogPasswordSwitchUser::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (ui::EditBox* edit = Edit(kIdPassword)) edit->SetLimitText(USER_PASSWORD_MAX);
    m_bSwitched = false;
    GotoDlgCtrl(kIdPassword);
    return false;
}

void CDialogPasswordSwitchUser::OnOK()
{
    m_strPassword = GetDlgItemText(kIdPassword);
    int result = 0;
    if (m_pDatabase != nullptr) {
        // Every user is compared in list order; with several matches the last one decides.
        for (const stUserRegData& user : m_pDatabase->m_aUsers) {
            if (user.GetPassword() != m_strPassword) continue;
            if (user.nUserCode == CDatabase::GetCurrentUser() || m_pDatabase->GetUserOnlineState(user.nUserCode)) {
                result = ui::IDOK;
                m_bSwitched = false;
            } else {
                m_pDatabase->SetCurrentUser(user.nUserCode, user.nAccessLevel);
                result = ui::IDCANCEL;
                m_bSwitched = true;
            }
        }
    }
    if (result != 0) {
        EndDialog(result);
        return;
    }
    GetResponse("Invalid password.", MB_OK);
    SetDlgItemText(kIdPassword, "");
    GotoDlgCtrl(kIdPassword);
}
