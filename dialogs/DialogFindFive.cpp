#include "dialogs/DialogFindFive.h"

#include "widgets/ControlHelpers.h"
#include "common/TextFormat.h"
#include "platform/host/Format.h"
#include "platform/ui/ComboBox.h"

namespace {

constexpr int kPhraseIds[5] = {1236, 1246, 1247, 1258, 1262};
constexpr int kNotIds[5] = {1170, 1213, 1218, 1219, 1220};
constexpr int kIdPrevious = 1330;
constexpr uint32_t kHelpContext = 0x20000 + 212;
const char* const kClearAll = "<Clear all>";
const char* const kEmptySearch = "||||";

const ui::DialogTemplate kFindTemplate{212, "Search for words/phrases", 230, 95, {
    {ui::Ctl::Label, -1, "First phrase"},
    {ui::Ctl::Edit, kPhraseIds[0], ""},
    {ui::Ctl::CheckBox, kNotIds[0], "Not"},
    {ui::Ctl::Label, -1, "Second phrase"},
    {ui::Ctl::Edit, kPhraseIds[1], ""},
    {ui::Ctl::CheckBox, kNotIds[1], "Not"},
    {ui::Ctl::Label, -1, "Third phrase"},
    {ui::Ctl::Edit, kPhraseIds[2], ""},
    {ui::Ctl::CheckBox, kNotIds[2], "Not"},
    {ui::Ctl::Label, -1, "Fourth phrase"},
    {ui::Ctl::Edit, kPhraseIds[3], ""},
    {ui::Ctl::CheckBox, kNotIds[3], "Not"},
    {ui::Ctl::Label, -1, "Fifth phrase"},
    {ui::Ctl::Edit, kPhraseIds[4], ""},
    {ui::Ctl::CheckBox, kNotIds[4], "Not"},
    {ui::Ctl::Label, -1, "Previous searches"},
    {ui::Ctl::ComboBox, kIdPrevious, "", ui::CBS_SORT},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogFindFive::CDialogFindFive(ui::Window* parent) : ui::Dialog(kFindTemplate, parent) {}

std::vector<std::string>& CDialogFindFive::History()
{
    static std::vector<std::string> history;
    return history;
}

void CDialogFindFive::DoDataExchange(ui::DataExchange& dx)
{
    for (size_t i = 0; i < 5; ++i) {
        dx.Text(kPhraseIds[i], m_aPhrases[i]);
        dx.Check(kNotIds[i], m_aNot[i]);
    }
    dx.ComboString(kIdPrevious, m_strPrevious);
}

bool CDialogFindFive::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    ui::ComboBox* list = Combo(kIdPrevious);
    if (list) list->AddString(kClearAll);
    std::vector<std::string>& history = History();
    for (auto it = history.begin(); it != history.end();) {
        if (*it == kEmptySearch) {
            it = history.erase(it);
            continue;
        }
        if (list) list->AddString(*it);
        ++it;
    }
    return true;
}

void CDialogFindFive::OnOK()
{
    if (!UpdateData(true)) return;
    std::vector<std::string>& history = History();
    history.insert(history.begin(), Format("%s|%s|%s|%s|%s", m_aPhrases[0].c_str(), m_aPhrases[1].c_str(),
                                           m_aPhrases[2].c_str(), m_aPhrases[3].c_str(), m_aPhrases[4].c_str()));
    if (history.size() > kHistoryLimit) history.pop_back();
    EndDialog(ui::IDOK);
}

void CDialogFindFive::OnSelectPrevious()
{
    UpdateData(true);
    ui::ComboBox* list = Combo(kIdPrevious);
    const int selected = list ? list->GetCurSel() : -1;
    const std::string text = selected >= 0 ? list->GetLBText(selected) : m_strPrevious;
    if (text == kClearAll) {
        for (std::string& phrase : m_aPhrases) phrase.clear();
    } else {
        std::vector<std::string> pieces;
        SplitString(text, "|", pieces, 0, 1);
        for (size_t i = 0; i < pieces.size() && i < m_aPhrases.size(); ++i) m_aPhrases[i] = pieces[i];
    }
    UpdateData(false);
}

bool CDialogFindFive::OnCommand(int id, int code)
{
    if (id == kIdPrevious && code == ui::CBN_SELCHANGE) {
        OnSelectPrevious();
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogFindFive::PreTranslateMessage(const ui::Msg& msg)
{
    if (msg.message == ui::WM_KEYDOWN && msg.wParam == static_cast<uintptr_t>(ui::VK_F1)) {
        ShowHelpTopic(kHelpContext);
        return true;
    }
    return ui::Dialog::PreTranslateMessage(msg);
}
