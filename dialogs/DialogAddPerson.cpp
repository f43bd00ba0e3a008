#include "dialogs/DialogAddPerson.h"

#include "widgets/ControlHelpers.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"

#include <cctype>

namespace {

const ui::DialogTemplate kAddPersonTemplate{301, "Add person to or select from database", 295, 117, {
    {ui::Ctl::Label, -1, "Last name"},
    {ui::Ctl::Edit, CDialogAddPerson::kIdLastName, ""},
    {ui::Ctl::Label, -1, "First name"},
    {ui::Ctl::Edit, CDialogAddPerson::kIdFirstName, ""},
    {ui::Ctl::Label, -1, "Similar names in database"},
    {ui::Ctl::ListBox, CDialogAddPerson::kIdList, ""},
    {ui::Ctl::Button, CDialogAddPerson::kIdAddNew, "Add new person"},
    {ui::Ctl::Button, CDialogAddPerson::kIdSelect, "Select from database"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

constexpr uint32_t kHelpContext = 0x20000 + 301;
const char* const kRefreshLabel = "CDialogAddPerson";

std::string Lower(const std::string& text)
{
    std::string out = text;
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

CDialogAddPerson::CDialogAddPerson(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kAddPersonTemplate, parent), m_pDB(database)
{
}

void CDialogAddPerson::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdFirstName, m_strFirstName);
    dx.Text(kIdLastName, m_strLastName);
}

bool CDialogAddPerson::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    m_aNames.clear();
    m_aLowerNames.clear();
    m_aCodes.clear();
    if (m_pDB) {
        if (const std::vector<stIndex>* persons = m_pDB->GetItemList(TABLE_PERSON)) {
            for (const stIndex& e : *persons) {
                const CPerson* p = static_cast<const CPerson*>(e.pItem);
                if (!p || p->m_cType != 'C') continue;
                m_aNames.push_back(Format("%s, %s", p->m_sLastName.c_str(), p->m_sFirstName.c_str()));
                m_aCodes.push_back(p->m_nCode);
            }
        }
    }
    for (const std::string& name : m_aNames) m_aLowerNames.push_back(Lower(name));
    return true;
}

void CDialogAddPerson::OnLastNameChanged()
{
    ui::ListBox* list = List(kIdList);
    if (!list) return;
    list->ResetContent();
    UpdateData(true);
    if (m_strLastName.empty()) return;
    const std::string typed = Lower(m_strLastName);
    for (size_t i = 0; i < m_aNames.size(); ++i) {
        if (m_aNames[i].size() >= typed.size() && m_aLowerNames[i].compare(0, typed.size(), typed) == 0)
            list->SetItemData(list->AddString(m_aNames[i]), static_cast<intptr_t>(m_aCodes[i]));
    }
}

void CDialogAddPerson::OnSelect()
{
    ui::ListBox* list = List(kIdList);
    if (!list) return;
    const int selected = list->GetCurSel();
    if (selected < 0) {
        GetResponse("No item selected");
        return;
    }
    const intptr_t code = list->GetItemData(selected);
    if (code == 0 || code == -1 || static_cast<uint32_t>(code) == 0xFFFFFFFFu) return;
    EndDialog(static_cast<int>(code));
}

void CDialogAddPerson::OnAddNew()
{
    UpdateData(true);
    if (m_strLastName.empty()) return;
    const std::string wanted = Lower(Format("%s, %s", m_strLastName.c_str(), m_strFirstName.c_str()));
    for (size_t i = 0; i < m_aLowerNames.size(); ++i) {
        if (m_aLowerNames[i] != wanted) continue;
        if (m_aCodes[i] == 0xFFFFFFFFu) break;
        const int answer = GetResponse(Format("Person %s %s is already in database. Do you want to add a new person "
                                              "with the same name?",
                                              m_strFirstName.c_str(), m_strLastName.c_str()),
                                       MB_YESNO);
        EndDialog(answer == IDYES ? kResultNew : static_cast<int>(m_aCodes[i]));
        return;
    }
    EndDialog(kResultNew);
}

// Enter without a focused push button lands here: it must not end the dialog with 1.
void CDialogAddPerson::OnOK() {}

void CDialogAddPerson::OnCancel() { EndDialog(kResultCancel); }

bool CDialogAddPerson::OnCommand(int id, int code)
{
    switch (id) {
    case kIdLastName:
        if (code == ui::EN_CHANGE) OnLastNameChanged();
        return code == ui::EN_CHANGE;
    case kIdList:
        if (code == ui::LBN_DBLCLK) {
            OnSelect();
            return true;
        }
        return false;
    case kIdSelect:
        if (code == ui::BN_CLICKED) OnSelect();
        return true;
    case kIdAddNew:
        if (code == ui::BN_CLICKED) OnAddNew();
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

void CDialogAddPerson::OnShowWindow(bool show)
{
    ui::Dialog::OnShowWindow(show);
    if (show && !m_bRefreshHeld && m_pDB) {
        m_pDB->DisableRefreshOn(kRefreshLabel);
        m_bRefreshHeld = true;
    }
}

void CDialogAddPerson::OnDestroy()
{
    ui::Dialog::OnDestroy();
    if (m_bRefreshHeld && m_pDB) {
        m_pDB->DisableRefreshOff(kRefreshLabel);
        m_bRefreshHeld = false;
    }
}

bool CDialogAddPerson::PreTranslateMessage(const ui::Msg& msg)
{
    if (msg.message == ui::WM_KEYDOWN && msg.wParam == static_cast<uintptr_t>(ui::VK_F1)) {
        ShowHelpTopic(kHelpContext);
        return true;
    }
    return ui::Dialog::PreTranslateMessage(msg);
}
