#include "dialogs/DialogUserList.h"

#include "widgets/ControlHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFile.h"
#include "database/Database.h"
#include "dialogs/DialogTextEntry.h"
#include "platform/host/File.h"
#include "platform/ui/ListBox.h"

namespace {

constexpr int kIdUsers = 1035;
constexpr int kIdComputers = 2064;
constexpr int kIdAdd = 1044;
constexpr int kIdDelete = 1050;
constexpr int kIdEdit = 1056;
constexpr int kIdResetComputers = 2061;
constexpr int kIdEditComputers = 2062;
constexpr uint32_t kHelpContext = 0x20000 + 220;
// The user whose record is the master user's own.
constexpr int kMasterUserCode = 10;

const ui::DialogTemplate kUserListTemplate{220, "Added user list", 0, 0, {
    {ui::Ctl::ListBox, kIdUsers, ""},
    {ui::Ctl::ListBox, kIdComputers, ""},
    {ui::Ctl::Button, kIdAdd, "Add user"},
    {ui::Ctl::Button, kIdDelete, "Delete user"},
    {ui::Ctl::Button, kIdEdit, "Edit user"},
    {ui::Ctl::Button, kIdResetComputers, "Reset computer list"},
    {ui::Ctl::Button, kIdEditComputers, "Edit computer list"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

}  // namespace

CDialogUserList::CDialogUserList(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kUserListTemplate, parent), m_pDatabase(database)
{
}

bool CDialogUserList::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (m_pDatabase == nullptr || m_pDatabase->GetUserAccessLevel() != 10) {
        EnableDlgItem(kIdAdd, false);
        EnableDlgItem(kIdDelete, false);
        EnableDlgItem(kIdEdit, false);
    }
    FillUserList();
    FillComputerList();
    return true;
}

void CDialogUserList::FillUserList()
{
    ui::ListBox* list = List(kIdUsers);
    if (list == nullptr) return;
    list->ResetContent();
    if (m_pDatabase) m_pDatabase->FillUserOnlineList(list);
}

void CDialogUserList::FillComputerList()
{
    ui::ListBox* list = List(kIdComputers);
    if (list == nullptr) return;
    list->ResetContent();
    if (m_pDatabase == nullptr || !m_pDatabase->HasLanLink()) {
        list->AddString("Local area network disabled.");
        return;
    }
    for (const std::string& line : m_pDatabase->GetLanComputerLines()) list->AddString(line);
}

int CDialogUserList::SelectedUserCode()
{
    ui::ListBox* list = List(kIdUsers);
    int at = list ? list->GetCurSel() : -1;
    if (at < 0) return -1;
    return static_cast<int>(list->GetItemData(at));
}

void CDialogUserList::OnResetComputerList()
{
    if (m_pDatabase == nullptr) return;
    if (host::FileExists(m_pDatabase->m_sComputerListFile)) host::DeleteFile(m_pDatabase->m_sComputerListFile);
    m_pDatabase->StopLan();
    if (!m_pDatabase->RestartLan()) GetResponse("Networking will be disabled.", MB_OK);
    FillComputerList();
}

bool CDialogUserList::OnCommand(int id, int code)
{
    if (code == ui::BN_CLICKED && m_pDatabase != nullptr) {
        switch (id) {
        case kIdAdd:
            m_pDatabase->AddUser(0);
            FillUserList();
            return true;
        case kIdDelete: {
            int user = SelectedUserCode();
            if (user < 0) {
                GetResponse("No user selected", MB_OK);
                return true;
            }
            m_pDatabase->DeleteUser(static_cast<uint8_t>(user));
            FillUserList();
            return true;
        }
        case kIdEdit: {
            int user = SelectedUserCode();
            if (user < 0) {
                GetResponse("No user selected", MB_OK);
                return true;
            }
            if (user == kMasterUserCode) {
                GetResponse("Can't edit master user.", MB_OK);
                return true;
            }
            m_pDatabase->EditUser(m_pDatabase->FindUserIndex(static_cast<uint8_t>(user)));
            FillUserList();
            return true;
        }
        case kIdResetComputers:
            OnResetComputerList();
            return true;
        case kIdEditComputers:
            OnEditComputerList();
            return true;
        default:
            break;
        }
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogUserList::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}

void CDialogUserList::OnEditComputerList()
{
    const std::string& path = m_pDatabase->m_sComputerListFile;
    std::vector<std::string> lines;
    if (host::FileExists(path)) ReadLinesFromFile(path, lines);
    CDialogTextEntry entry(lines, this);
    if (entry.DoModal() == ui::IDOK) WriteLinesToFile(path, lines);
}
