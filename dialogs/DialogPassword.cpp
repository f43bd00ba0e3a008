#include "dialogs/DialogPassword.h"

#include "widgets/ControlHelpers.h"
#include "database/UserRegData.h"
#include "platform/host/Format.h"

namespace {

constexpr int kIdPassword = 1005;
constexpr uint32_t kHelpContext = 0x20000 + 203;

const ui::DialogTemplate kPasswordTemplate{203, "Password", 258, 20, {
    {ui::Ctl::Label, -1, "Password"},
    {ui::Ctl::Edit, kIdPassword, "", ui::ES_PASSWORD | ui::ES_UPPERCASE},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogPassword::CDialogPassword(ui::Window* parent) : ui::Dialog(kPasswordTemplate, parent) {}

bool CDialogPassword::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    SetWindowText(Format("Password for %s", m_strUserName.c_str()));
    GotoDlgCtrl(kIdPassword);
    return false;
}

void CDialogPassword::DoDataExchange(ui::DataExchange& dx)
{
    // As long as a stored password can be, so that every registered user can log on.
    dx.Text(kIdPassword, m_strPassword, USER_PASSWORD_MAX);
}

bool CDialogPassword::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
