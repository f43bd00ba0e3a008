#include "widgets/DialogSelectOne.h"

#include "widgets/ControlHelpers.h"
#include "platform/ui/ListBox.h"

#include <cctype>

namespace {

constexpr int kIdFind = 1393;
constexpr int kIdList = 1394;
constexpr int kIdSelect = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 150;

const ui::DialogTemplate kSelectOneTemplate{150, "Dialog", 0, 0, {
    {ui::Ctl::Label, -1, "Find"},
    {ui::Ctl::Edit, kIdFind, ""},
    {ui::Ctl::ListBox, kIdList, ""},
    {ui::Ctl::DefButton, kIdSelect, "OK/Select"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

std::string ToUpper(std::string text)
{
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

}  // namespace

CDialogSelectOne::CDialogSelectOne(const std::string& title, int32_t preselected,
                                   ui::Window* parent)
    : ui::Dialog(kSelectOneTemplate, parent),
      m_strTitle(title),
      m_nPreselected(preselected)
{
}

void CDialogSelectOne::AddItem(uint32_t data, const std::string& text)
{
    m_aItemData.push_back(data);
    m_aTexts.push_back(text);
}

bool CDialogSelectOne::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    SetWindowText(m_strTitle);
    m_nSelectedData = -1;
    ui::ListBox* list = List(kIdList);
    if (!list) return true;
    int select = -1;
    for (size_t i = 0; i < m_aTexts.size(); ++i) {
        const int index = list->AddString(m_aTexts[i]);
        list->SetItemData(index, static_cast<intptr_t>(m_aItemData[i]));
        if (select < 0 && static_cast<int32_t>(m_aItemData[i]) == m_nPreselected) select = index;
    }
    if (list->GetCount() > 0) list->SetCurSel(select >= 0 ? select : 0);
    return true;
}

void CDialogSelectOne::FindTyped()
{
    ui::ListBox* list = List(kIdList);
    if (!list) return;
    const std::string find = ToUpper(GetDlgItemText(kIdFind));
    if (find.empty()) return;
    for (int i = 0; i < list->GetCount(); ++i) {
        std::string line = ToUpper(list->GetText(i));
        if (line.size() > find.size()) line.resize(find.size());
        if (line == find) {
            list->SetCurSel(i);
            return;
        }
    }
}

void CDialogSelectOne::OnOK()
{
    ui::ListBox* list = List(kIdList);
    const int index = list ? list->GetCurSel() : -1;
    m_nSelectedData = index >= 0 ? static_cast<int32_t>(list->GetItemData(index)) : -1;
    EndDialog(ui::IDOK);
}

bool CDialogSelectOne::OnCommand(int id, int code)
{
    if (id == kIdFind && code == ui::EN_CHANGE) {
        FindTyped();
        return true;
    }
    if ((id == kIdSelect && code == ui::BN_CLICKED) || (id == kIdList && code == ui::LBN_DBLCLK)) {
        OnOK();
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogSelectOne::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
