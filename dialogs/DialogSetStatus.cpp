#include "dialogs/DialogSetStatus.h"

#include "database/Database.h"
#include "platform/host/Clock.h"
#include "platform/ui/ComboBox.h"

namespace {

constexpr int kIdSchedule = 1117;
constexpr int kIdUsed = 1118;
constexpr int kIdUnschedule = 1121;
constexpr int kIdTeacher = 1159;
constexpr int kIdRoom = 1173;
constexpr int kIdDate = 1010;
constexpr int kIdSpin = 1037;
constexpr int kIdWords = 1311;
constexpr int kIdOk = 1000;

const ui::DialogTemplate kSetStatusTemplate{231, "Set date and time", 220, 0, {
    {ui::Ctl::Radio, kIdSchedule, "Schedule", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdUsed, "Used"},
    {ui::Ctl::Radio, kIdUnschedule, "Unschedule"},
    {ui::Ctl::Label, -1, "Teacher"},
    {ui::Ctl::ComboBox, kIdTeacher, ""},
    {ui::Ctl::Label, -1, "Room"},
    {ui::Ctl::ComboBox, kIdRoom, ""},
    {ui::Ctl::Label, -1, "Date"},
    {ui::Ctl::Edit, kIdDate, ""},
    {ui::Ctl::Spin, kIdSpin, ""},
    {ui::Ctl::Label, kIdWords, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

// The code behind the combo's selection; -1 for none.
uint32_t SelectedCode(const ui::ComboBox& combo)
{
    const int at = combo.GetCurSel();
    return at < 0 ? NO_CODE : static_cast<uint32_t>(combo.GetItemData(at));
}

}  // namespace

CDialogSetStatus::CDialogSetStatus(CDatabase* database, CScheduleToken* token, ui::Window* parent)
    : CRefreshHoldDialog(kSetStatusTemplate, parent, database, "CDialogSetStatus", kIdOk), m_pToken(token)
{
    if (token) m_Original.CopyFrom(*token);
    AddRadioPair(m_Status, kIdSchedule, 'S');
    AddRadioPair(m_Status, kIdUsed, 'U');
    AddRadioPair(m_Status, kIdUnschedule, 'N');
}

void CDialogSetStatus::SetPurchase(const CPurchaseRecord* purchase, int32_t item, int32_t token)
{
    m_pPurchase = purchase;
    m_nItem = item;
    m_nTokenIndex = token;
}

bool CDialogSetStatus::OnInitDialog()
{
    CRefreshHoldDialog::OnInitDialog();
    if (!m_strCaption.empty()) SetWindowText(m_strCaption);
    SubclassDlgItem(kIdTeacher, m_Teacher);
    SubclassDlgItem(kIdRoom, m_Room);
    SetRadioGroup(*this, m_Status, static_cast<uint8_t>(m_pToken->m_cState));
    m_pDatabase->FillPersonTypeCombo(&m_Teacher, 'E', m_pToken->m_nField8);
    m_pDatabase->FillCategoryComboBox(&m_Room, 'R', m_pToken->m_nField9, 1, -1, NO_CODE);
    m_Date.Attach(this, kIdDate, m_pToken->m_dDate, 1);
    CentreDateSpin(*this, kIdSpin);
    ShowDateInWords();
    return true;
}

void CDialogSetStatus::ShowDateInWords()
{
    if (GetDlgItem(kIdWords)) SetDlgItemText(kIdWords, m_Date.GetDisplayText());
}

bool CDialogSetStatus::OnCommand(int id, int code)
{
    switch (id) {
    case kIdSchedule:
    case kIdUsed:
        if (code == ui::BN_CLICKED && m_Date.GetValue() == 0.0) m_Date.SetNow();
        ShowDateInWords();
        return true;
    case kIdUnschedule:
        if (code == ui::BN_CLICKED) m_Date.SetValue(0.0);
        ShowDateInWords();
        return true;
    case kIdSpin:
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, kIdSpin, m_Date);
        ShowDateInWords();
        return true;
    case kIdOk:
        if (code == ui::BN_CLICKED) OnOkButton();
        return true;
    default:
        return CRefreshHoldDialog::OnCommand(id, code);
    }
}

bool CDialogSetStatus::PreTranslateMessage(const ui::Msg& msg)
{
    ShowDateInWords();
    return CRefreshHoldDialog::PreTranslateMessage(msg);
}

void CDialogSetStatus::OnOkButton()
{
    if (!UpdateData(true)) return;
    uint8_t state = static_cast<uint8_t>(m_pToken->m_cState);
    GetRadioGroup(*this, m_Status, state);
    m_pToken->m_cState = static_cast<char>(state);
    m_pToken->m_nField8 = SelectedCode(m_Teacher);
    m_pToken->m_nField9 = SelectedCode(m_Room);
    m_pToken->m_dDate = m_Date.GetValue();
    if (m_pToken->IsEqual(m_Original)) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    if (m_pPurchase && m_nItem >= 0 && static_cast<size_t>(m_nItem) < m_pPurchase->m_Items.size()) {
        CPurchaseRecord trial;
        trial.CopyFrom(*m_pPurchase);
        auto& tokens = trial.m_Items[static_cast<size_t>(m_nItem)]->m_Tokens;
        if (m_nTokenIndex >= 0 && static_cast<size_t>(m_nTokenIndex) < tokens.size())
            tokens[static_cast<size_t>(m_nTokenIndex)]->CopyFrom(*m_pToken);
        if (m_pDatabase->CheckPurchaseScheduleConflicts(trial) == 1) return;
    }
    m_pToken->m_cStampUser = GetStampUserCode();
    m_pToken->m_dStampDate = GetNow();
    EndDialog(ui::IDOK);
}
