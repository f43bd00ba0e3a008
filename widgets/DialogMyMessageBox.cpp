#include "widgets/DialogMyMessageBox.h"

#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdHelp = 2081;
constexpr int kIdMessage = 2082;
constexpr ui::COLORREF kMessageColour = ui::RGB(100, 0, 0);

const ui::DialogTemplate kMyMessageBoxTemplate{315, "Title", 382, 146, {
    {ui::Ctl::Edit, kIdMessage, "", ui::ES_MULTILINE | ui::ES_READONLY},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
    {ui::Ctl::Button, kIdHelp, "Help"},
}};

}  // namespace

CDialogMyMessageBox::CDialogMyMessageBox(ui::Window* parent)
    : ui::Dialog(kMyMessageBoxTemplate, parent)
{
}

bool CDialogMyMessageBox::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    SetWindowText(m_strTitle);
    SetDlgItemText(kIdMessage, m_strMessage);
    if (Window* message = GetDlgItem(kIdMessage)) message->SetTextColor(kMessageColour);
    if (m_nYesNo == 0) {
        ShowDlgItem(ui::IDCANCEL, false);
    } else {
        SetDlgItemText(ui::IDOK, "Yes");
        SetDlgItemText(ui::IDCANCEL, "No");
    }
    ShowDlgItem(kIdHelp, m_nHelpContext > 0);
    return true;
}

bool CDialogMyMessageBox::OnCommand(int id, int code)
{
    if (id == kIdHelp && code == ui::BN_CLICKED) {
        ShowHelpTopic(static_cast<uint32_t>(m_nHelpContext));
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}
