#include "dialogs/DialogPromptForString.h"

#include "common/ControlHelpers.h"
#include "platform/ui/EditBox.h"

#include <algorithm>
#include <cctype>

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

std::string CDialogPromptForString::ApplyCase(std::string text) const
{
    if (m_cCase == 'U' || m_cCase == 'L') {
        for (char& c : text) {
            const auto u = static_cast<unsigned char>(c);
            c = static_cast<char>(m_cCase == 'U' ? std::toupper(u) : std::tolower(u));
        }
    }
    return text;
}

bool CDialogPromptForString::OnInitDialog()
{
    m_strText = ApplyCase(m_strText);
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
    if (dx.IsSaving()) m_strText = ApplyCase(m_strText);
}

bool CDialogPromptForString::OnCommand(int id, int code)
{
    if (id == kIdText && code == ui::EN_CHANGE) {
        // The case rule holds for typed and pasted text alike.
        ui::EditBox* edit = Edit(kIdText);
        if (!edit) return true;
        const std::string text = edit->GetWindowText();
        const std::string cased = ApplyCase(text);
        if (cased != text) {
            int start = 0;
            int end = 0;
            edit->GetSel(start, end);
            edit->SetWindowText(cased);
            edit->SetSel(start, end);
        }
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogPromptForString::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
