#include "dialogs/ScheduleRecordForm.h"

#include "database/Database.h"
#include "dialogs/DialogExpandDates.h"
#include "platform/host/Format.h"
#include "platform/ui/ComboBox.h"
#include "records/ScheduleRecord.h"
#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdStart = 1010;
constexpr int kIdStartSpin = 1037;
constexpr int kIdEnd = 1011;
constexpr int kIdEndSpin = 1039;
constexpr int kIdDuration = 1013;
constexpr int kIdViewDates = 1436;
constexpr int kIdTeacher = 1159;
constexpr int kIdStudent = 1064;
constexpr int kIdBallroom = 1070;
constexpr int kIdStatus = 1054;

struct TypeButton {
    int id;
    char letter;
};
constexpr TypeButton kTypes[] = {{1151, 'O'}, {1153, 'D'}, {1154, 'W'}, {1155, 'M'}, {1157, 'Y'}};

}  // namespace

CScheduleRecordForm::CScheduleRecordForm(const ui::DialogTemplate& tmpl, CDatabase* database, ui::Window* parent)
    : ui::Dialog(tmpl, parent), m_pDB(database)
{
}

CScheduleRecordForm::~CScheduleRecordForm() = default;

void CScheduleRecordForm::InitForm()
{
    CScheduleRecord& r = *m_pRecord;
    for (const TypeButton& t : kTypes) CheckDlgButton(t.id, r.m_cRepeat == t.letter ? 1 : 0);
    if (m_pPresetStart) r.m_dFirstDate = *m_pPresetStart;
    m_StartDate.Attach(this, kIdStart, r.m_dFirstDate, 1);
    m_EndDate.Attach(this, kIdEnd, r.m_dLastDate, 0);
    for (int id : {kIdStartSpin, kIdEndSpin}) CentreDateSpin(*this, id);
    SetDlgItemInt(kIdDuration, r.m_nDuration);
    m_pDB->FillPersonTypeCombo(Combo(kIdTeacher), 'E', r.m_nTeacher);
    m_pDB->FillPersonTypeCombo(Combo(kIdStudent), 'C', r.m_nStudent);
    m_pDB->FillCategoryComboBox(Combo(kIdBallroom), 'R', r.m_nRoom, 1, 0, NO_CODE);
    m_pCopy = std::make_unique<CScheduleRecord>();
    m_pCopy->CopyFrom(r);
    SetDlgItemText(kIdStatus, Format("Created by %s %s, updated by %s, %s",
                                     m_pDB->GetUserName(r.m_cStamp1User).c_str(),
                                     FormatDateTime(r.m_dStamp1Date, "%m/%d/%Y %H:%M").c_str(),
                                     m_pDB->GetUserName(r.m_cStamp2User).c_str(),
                                     FormatDateTime(r.m_dStamp2Date, "%m/%d/%Y %H:%M").c_str()));
    ApplyType();
}

char CScheduleRecordForm::GetTypeLetter() const
{
    for (const TypeButton& t : kTypes)
        if (IsDlgButtonChecked(t.id) == 1) return t.letter;
    return m_pRecord ? m_pRecord->m_cRepeat : 'O';
}

void CScheduleRecordForm::ApplyType()
{
    const bool recurring = GetTypeLetter() != 'O';
    m_EndDate.Enable(recurring);
    if (m_bHideDatesButton) ShowDlgItem(kIdViewDates, recurring);
}

uint32_t CScheduleRecordForm::GetComboCode(int id, uint32_t kept) const
{
    ui::ComboBox* combo = Combo(id);
    const int selected = combo ? combo->GetCurSel() : -1;
    if (selected < 0) return kept;
    return static_cast<uint32_t>(combo->GetItemData(selected));
}

void CScheduleRecordForm::SelectComboCode(int id, uint32_t code)
{
    ui::ComboBox* combo = Combo(id);
    if (!combo) return;
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (static_cast<uint32_t>(combo->GetItemData(i)) == code) {
            combo->SetCurSel(i);
            return;
        }
    }
}

bool CScheduleRecordForm::StoreForm(uint32_t& teacher, uint32_t& ballroom)
{
    bool ok = false;
    const int duration = GetDlgItemInt(kIdDuration, &ok);
    if (!ok) {
        GetResponse("Please enter an integer.", MB_OK);
        GotoDlgCtrl(kIdDuration);
        return false;
    }
    CScheduleRecord& r = *m_pRecord;
    r.m_cRepeat = GetTypeLetter();
    r.m_dFirstDate = m_StartDate.GetValue();
    r.m_dLastDate = m_EndDate.GetValue();
    r.m_nDuration = duration;
    r.m_nStudent = GetComboCode(kIdStudent, r.m_nStudent);
    teacher = GetComboCode(kIdTeacher, r.m_nTeacher);
    ballroom = GetComboCode(kIdBallroom, r.m_nRoom);
    return true;
}

bool CScheduleRecordForm::FinishOk()
{
    if (m_pDB->CheckScheduleItemConflicts(*m_pRecord) == 1) return false;
    if (m_pCopy && !m_pRecord->IsEqual(*m_pCopy)) {
        m_pRecord->m_cStamp2User = GetStampUserCode();
        m_pRecord->m_dStamp2Date = GetNow();
    }
    EndDialog(ui::IDOK);
    return true;
}

void CScheduleRecordForm::ViewDates()
{
    m_pRecord->m_cRepeat = GetTypeLetter();
    m_pRecord->m_dFirstDate = m_StartDate.GetValue();
    m_pRecord->m_dLastDate = m_EndDate.GetValue();
    CDialogExpandDates dialog(this);
    dialog.m_pRecord = m_pRecord;
    dialog.DoModal();
}

bool CScheduleRecordForm::OnCommand(int id, int code)
{
    for (const TypeButton& t : kTypes) {
        if (id == t.id && code == ui::BN_CLICKED) {
            ApplyType();
            return true;
        }
    }
    switch (id) {
    case kIdViewDates:
        if (code == ui::BN_CLICKED) ViewDates();
        return true;
    case kIdStartSpin:
    case kIdEndSpin:
        if (code == ui::UDN_DELTAPOS) StepDateBySpin(*this, id, id == kIdStartSpin ? m_StartDate : m_EndDate);
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CScheduleRecordForm::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, m_nHelpContext)) return true;
    if (msg.message == ui::WM_KEYDOWN && MoveOnEnterKey(*this, msg)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
