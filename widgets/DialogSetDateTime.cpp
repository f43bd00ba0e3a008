#include "widgets/DialogSetDateTime.h"

#include "widgets/ControlHelpers.h"
#include "platform/ui/SpinButton.h"

namespace {

constexpr int kIdWords = 1311;
constexpr int kIdDate = 2042;
constexpr int kIdSpin = 2043;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 297;
// The spin rests in the middle of its range, so that it never stops at an end.
constexpr int kSpinRest = 50;

const ui::DialogTemplate kSetDateTimeTemplate{297, "Set date and time", 180, 0, {
    {ui::Ctl::Edit, kIdDate, ""},
    {ui::Ctl::Spin, kIdSpin, ""},
    {ui::Ctl::Label, kIdWords, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogSetDateTime::CDialogSetDateTime(ui::Window* parent, int withTime)
    : ui::Dialog(kSetDateTimeTemplate, parent), m_nWithTime(withTime)
{
}

bool CDialogSetDateTime::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (!m_pHold && (m_pHold = GetRefreshHold()) != nullptr) m_pHold->DisableRefreshOn("CDialogSetDateTime");
    SetWindowText(m_strCaption.empty() ? "Specify date/time" : m_strCaption);
    m_DateEdit.Attach(this, kIdDate, m_date, m_nWithTime ? 1 : 0);
    if (ui::SpinButton* spin = Spin(kIdSpin)) {
        spin->SetRange(0, 2 * kSpinRest);
        spin->SetPos(kSpinRest);
    }
    ShowDateInWords();
    return true;
}

void CDialogSetDateTime::OnDestroy()
{
    if (m_pHold) {
        m_pHold->DisableRefreshOff("CDialogSetDateTime");
        m_pHold = nullptr;
    }
    ui::Dialog::OnDestroy();
}

void CDialogSetDateTime::ShowDateInWords()
{
    if (GetDlgItem(kIdWords)) SetDlgItemText(kIdWords, m_DateEdit.GetDisplayText());
}

void CDialogSetDateTime::OnOK()
{
    m_date = m_DateEdit.GetValue();
    EndDialog(ui::IDOK);
}

bool CDialogSetDateTime::OnCommand(int id, int code)
{
    switch (id) {
    case kIdOk:
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    case kIdSpin:
        if (code == ui::UDN_DELTAPOS) {
            if (ui::SpinButton* spin = Spin(kIdSpin)) {
                const int pos = spin->GetPos();
                if (pos > kSpinRest) m_DateEdit.StepUp();
                else if (pos < kSpinRest) m_DateEdit.StepDown();
                spin->SetPos(kSpinRest);
            }
            ShowDateInWords();
        }
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogSetDateTime::PreTranslateMessage(const ui::Msg& msg)
{
    ShowDateInWords();
    if (HandleHelpKey(msg, kHelpContext)) return true;
    if (MoveOnEnterKey(*this, msg)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
