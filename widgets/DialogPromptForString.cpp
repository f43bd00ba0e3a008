#include "widgets/DialogPromptForString.h"

#include "widgets/ControlHelpers.h"
#include "platform/ui/EditBox.h"

#include <algorithm>

namespace {

constexpr int kIdText = 1254;
constexpr uint32_t kHelpContext = 0x20000 + 226;

// Every control is placed (in pixels) by OnInitDialog; the template only names them.
const ui::DialogTemplate kPromptForStringTemplate{226, "Enter text", 376, 14, {
    {ui::Ctl::Edit, kIdText, "", 0, 0, 0, 250, 12},
    {ui::Ctl::DefButton, ui::IDOK, "OK", 0, 254, 0, 40, 12},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel", 0, 300, 0, 40, 12},
}};

}  // namespace

CDialogPromptForString::CDialogPromptForString(ui::Window* parent)
    : ui::Dialog(kPromptForStringTemplate, parent)
{
}

bool CDialogPromptForString::OnInitDialog()
{
    // The case rule first, so that the initial text follows it as typed text does.
    uint32_t caseStyle = 0;
    if (m_cCase == 'U') caseStyle = ui::ES_UPPERCASE;
    else if (m_cCase == 'L') caseStyle = ui::ES_LOWERCASE;
    if (ui::EditBox* edit = Edit(kIdText)) edit->SetCaseStyle(caseStyle);
    ui::Dialog::OnInitDialog();
    const int width = std::min((m_nMaxLength + 1) * 10, 500);
    const int x = (650 - (width + 135)) / 2;
    MoveWindow(ui::DCRect{x, 300, x + width + 135, 300 + 50});
    if (Window* edit = GetDlgItem(kIdText)) edit->MoveWindow(ui::DCRect{0, 2, width + 2, 22});
    if (Window* ok = GetDlgItem(ui::IDOK)) ok->MoveWindow(ui::DCRect{width + 4, 2, width + 64, 22});
    if (Window* cancel = GetDlgItem(ui::IDCANCEL))
        cancel->MoveWindow(ui::DCRect{width + 68, 2, width + 128, 22});
    SetWindowText(m_strPrompt);
    if (ui::EditBox* edit = Edit(kIdText)) edit->SetLimitText(std::max(m_nMaxLength, 0));
    return true;
}

void CDialogPromptForString::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdText, m_strText);
}

bool CDialogPromptForString::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
