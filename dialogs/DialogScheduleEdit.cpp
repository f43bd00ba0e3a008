#include "dialogs/DialogScheduleEdit.h"

#include "common/QuestionBox.h"
#include "records/ScheduleRecord.h"

namespace {

constexpr int kIdDescription = 1077;
constexpr int kIdOk = 1000;

const ui::DialogTemplate kScheduleEditTemplate{238, "Schedule event", 0, 0, {
    {ui::Ctl::GroupBox, -1, "Type"},
    {ui::Ctl::Radio, 1151, "One time", ui::WS_GROUP},
    {ui::Ctl::Radio, 1153, "Daily"},
    {ui::Ctl::Radio, 1154, "Weekly"},
    {ui::Ctl::Radio, 1155, "Monthly"},
    {ui::Ctl::Radio, 1157, "Yearly"},
    {ui::Ctl::Label, -1, "Start date, activity time"},
    {ui::Ctl::Edit, 1010, ""},
    {ui::Ctl::Spin, 1037, ""},
    {ui::Ctl::Label, -1, "End date"},
    {ui::Ctl::Edit, 1011, ""},
    {ui::Ctl::Spin, 1039, ""},
    {ui::Ctl::Label, -1, "Duration (Min.)"},
    {ui::Ctl::Edit, 1013, ""},
    {ui::Ctl::Label, -1, "Description"},
    {ui::Ctl::Edit, kIdDescription, ""},
    {ui::Ctl::Button, 1436, "View/edit dates"},
    {ui::Ctl::Label, -1, "Schedule for teacher"},
    {ui::Ctl::ComboBox, 1159, ""},
    {ui::Ctl::Label, -1, "Schedule for student"},
    {ui::Ctl::ComboBox, 1064, ""},
    {ui::Ctl::Label, -1, "Schedule for ballroom"},
    {ui::Ctl::ComboBox, 1070, ""},
    {ui::Ctl::Label, 1054, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogScheduleEdit::CDialogScheduleEdit(CDatabase* database, ui::Window* parent)
    : CScheduleRecordForm(kScheduleEditTemplate, database, parent)
{
    m_bHideDatesButton = true;
    m_nHelpContext = 0x200EE;
}

bool CDialogScheduleEdit::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    if (!m_pRecord) {
        EndDialog(ui::IDCANCEL);
        return false;
    }
    SetDlgItemText(kIdDescription, m_pRecord->m_sText);
    InitForm();
    return true;
}

void CDialogScheduleEdit::OnOK()
{
    const std::string description = GetDlgItemText(kIdDescription);
    if (description.empty()) {
        GetResponse("Please enter description.", MB_OK);
        GotoDlgCtrl(kIdDescription);
        return;
    }
    // The record changes only once the form is whole.
    CScheduleRecord before;
    before.CopyFrom(*m_pRecord);
    uint32_t teacher = NO_CODE;
    uint32_t ballroom = NO_CODE;
    if (!StoreForm(teacher, ballroom)) {
        m_pRecord->CopyFrom(before);
        return;
    }
    m_pRecord->m_nTeacher = teacher;
    m_pRecord->m_nRoom = ballroom;
    m_pRecord->m_sText = description;
    if (!FinishOk()) m_pRecord->CopyFrom(before);
}

bool CDialogScheduleEdit::OnCommand(int id, int code)
{
    if (id == kIdOk) {
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    }
    return CScheduleRecordForm::OnCommand(id, code);
}
