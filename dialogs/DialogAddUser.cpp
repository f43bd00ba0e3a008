#include "dialogs/DialogAddUser.h"

#include <cctype>

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/SpinButton.h"

namespace {

constexpr int kIdUserID = 1018;
constexpr int kIdPassword = 1022;
constexpr int kIdLevel = 1025;
constexpr int kIdSpin = 1030;
constexpr int kIdStore = 1000;
constexpr int kUserIDMax = 27;

const ui::DialogTemplate kAddUserTemplate{221, "Add/edit user", 186, 52, {
    {ui::Ctl::Label, -1, "User name"},
    {ui::Ctl::Edit, kIdUserID, ""},
    {ui::Ctl::Label, -1, "Password"},
    {ui::Ctl::Edit, kIdPassword, "", ui::ES_PASSWORD | ui::ES_UPPERCASE},
    {ui::Ctl::Label, -1, "Access level"},
    {ui::Ctl::Edit, kIdLevel, ""},
    {ui::Ctl::Spin, kIdSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::DefButton, kIdStore, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

std::string Upper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

CDialogAddUser::CDialogAddUser(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kAddUserTemplate, parent), m_pDatabase(database)
{
}

bool CDialogAddUser::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (ui::SpinButton* spin = Spin(kIdSpin)) spin->SetRange(1, 9);
    if (ui::EditBox* edit = Edit(kIdUserID)) edit->SetLimitText(kUserIDMax);
    if (ui::EditBox* edit = Edit(kIdPassword)) edit->SetLimitText(USER_PASSWORD_MAX);
    if (m_pEntry != nullptr) {
        m_strUserID = m_pEntry->GetUserID();
        m_strPassword = m_pEntry->GetPassword();
    }
    if (m_nFixedLevel == 1) {
        m_nAccessLevel = 10;
        EnableDlgItem(kIdLevel, false);
        EnableDlgItem(kIdSpin, false);
    } else if (m_pEntry != nullptr && m_pEntry->nAccessLevel < USER_LEVEL_NONE) {
        m_nAccessLevel = m_pEntry->nAccessLevel;
        m_nNewUser = 0;
    } else {
        m_nAccessLevel = 1;
        m_nNewUser = 1;
    }
    SetDlgItemText(kIdUserID, m_strUserID);
    SetDlgItemText(kIdPassword, m_strPassword);
    SetDlgItemInt(kIdLevel, static_cast<int>(m_nAccessLevel));
    return true;
}

// Only button 1000 stores; Enter presses it as the default button.
void CDialogAddUser::OnOK() {}

bool CDialogAddUser::OnCommand(int id, int code)
{
    if (id == kIdStore && code == ui::BN_CLICKED) {
        Store();
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

void CDialogAddUser::Store()
{
    m_strUserID = GetDlgItemText(kIdUserID);
    m_strPassword = Upper(GetDlgItemText(kIdPassword));
    bool ok = false;
    int level = GetDlgItemInt(kIdLevel, &ok);
    if (m_nFixedLevel == 1) {
        level = 10;
        ok = true;
    }
    if (!ok || level <= 0 || (level > 9 && m_nFixedLevel != 1)) {
        GetResponse("Access level must be in range 1 - 9.", MB_OK);
        return;
    }
    m_nAccessLevel = static_cast<unsigned>(level);
    const uint8_t code = m_pEntry ? m_pEntry->nUserCode : 0;
    if (m_pDatabase != nullptr && m_pDatabase->CheckDuplicateUser(code, m_strUserID, m_strPassword) != 1) return;
    if (m_pEntry != nullptr) {
        m_pEntry->SetUserID(m_strUserID);
        m_pEntry->SetPassword(m_strPassword);
        m_pEntry->nAccessLevel = static_cast<uint8_t>(m_nAccessLevel);
    }
    EndDialog(ui::IDOK);
}
