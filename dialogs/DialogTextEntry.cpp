#include "dialogs/DialogTextEntry.h"

#include "common/TextFile.h"
#include "platform/ui/EditBox.h"

namespace {

constexpr int kIdText = 1292;

const ui::DialogTemplate kTextEntryTemplate{271, "Text entry", 0, 0, {
    {ui::Ctl::Edit, kIdText, "", ui::ES_MULTILINE | ui::ES_WANTRETURN},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogTextEntry::CDialogTextEntry(std::vector<std::string>& lines, ui::Window* parent)
    : ui::Dialog(kTextEntryTemplate, parent), m_aLines(lines)
{
}

bool CDialogTextEntry::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    std::string text;
    for (const std::string& line : m_aLines) text += line + "\r\n";
    SetDlgItemText(kIdText, text);
    // The caret goes to the end of the text, in view.
    if (ui::EditBox* edit = Edit(kIdText)) {
        edit->SetFocus();
        edit->SetSel(65535, 65535);
    }
    return false;
}

void CDialogTextEntry::OnOK()
{
    std::vector<std::string> lines;
    SplitLines(GetDlgItemText(kIdText), lines);
    // A last line without its line end still counts; the empty piece after a final line end
    // does not.
    if (!lines.empty() && lines.back().empty()) lines.pop_back();
    m_aLines = std::move(lines);
    EndDialog(ui::IDOK);
}
