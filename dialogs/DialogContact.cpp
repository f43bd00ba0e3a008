#include "dialogs/DialogContact.h"

#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "platform/ui/Messages.h"

namespace {

const ui::DialogTemplate kContactTemplate{204, "Contact record", 424, 255, {
    {ui::Ctl::GroupBox, -1, "Type of contact"},
    {ui::Ctl::Radio, CDialogContact::kIdPhone, "Phone", ui::WS_GROUP},
    {ui::Ctl::Radio, CDialogContact::kIdInterview, "Interview"},
    {ui::Ctl::GroupBox, -1, "Time of contact"},
    {ui::Ctl::Edit, CDialogContact::kIdDate, ""},
    {ui::Ctl::Spin, 1037, ""},
    {ui::Ctl::Label, -1, "Source"},
    {ui::Ctl::ComboBox, CDialogContact::kIdSource, ""},
    {ui::Ctl::Label, -1, "Interviewer"},
    {ui::Ctl::ComboBox, CDialogContact::kIdInterviewer, ""},
    {ui::Ctl::Label, -1, "Supervisor"},
    {ui::Ctl::ComboBox, CDialogContact::kIdSupervisor, ""},
    {ui::Ctl::Label, -1, "Department"},
    {ui::Ctl::ComboBox, CDialogContact::kIdDepartment, ""},
    {ui::Ctl::Label, -1, "Type of proposal"},
    {ui::Ctl::ComboBox, CDialogContact::kIdProposal, ""},
    {ui::Ctl::Label, -1, "Program reviewed"},
    {ui::Ctl::ComboBox, CDialogContact::kIdProgram, ""},
    {ui::Ctl::CheckBox, CDialogContact::kIdFirst, "First interview"},
    {ui::Ctl::Label, -1, "Number of previous lessons"},
    {ui::Ctl::Edit, CDialogContact::kIdPrevious, "", ui::ES_NUMBER},
    {ui::Ctl::CheckBox, CDialogContact::kIdPrivate, "Desires private lessons"},
    {ui::Ctl::CheckBox, CDialogContact::kIdPartner, "Has partner"},
    {ui::Ctl::GroupBox, -1, "Deadline for lessons"},
    {ui::Ctl::Edit, CDialogContact::kIdDeadline, ""},
    {ui::Ctl::Spin, 1039, ""},
    {ui::Ctl::Label, -1, "Comments"},
    {ui::Ctl::Edit, CDialogContact::kIdComments, "", ui::ES_MULTILINE | ui::ES_WANTRETURN},
    {ui::Ctl::GroupBox, -1, "Mail out"},
    {ui::Ctl::CheckBox, CDialogContact::kIdMailOut, "Do mailout"},
    {ui::Ctl::Edit, CDialogContact::kIdMailDate, ""},
    {ui::Ctl::Spin, 1038, ""},
    {ui::Ctl::Label, -1, "Responsible party"},
    {ui::Ctl::ComboBox, CDialogContact::kIdMailPerson, ""},
    {ui::Ctl::CheckBox, CDialogContact::kIdMailDone, "Done"},
    {ui::Ctl::GroupBox, -1, "Next contact"},
    {ui::Ctl::Radio, CDialogContact::kIdNextNone, "None", ui::WS_GROUP},
    {ui::Ctl::Radio, CDialogContact::kIdNextPhone, "Phone"},
    {ui::Ctl::Radio, CDialogContact::kIdNextInterview, "Interview"},
    {ui::Ctl::Edit, CDialogContact::kIdNextDate, ""},
    {ui::Ctl::Spin, 1040, ""},
    {ui::Ctl::Label, -1, "Responsible party"},
    {ui::Ctl::ComboBox, CDialogContact::kIdNextPerson, ""},
    {ui::Ctl::CheckBox, CDialogContact::kIdNextDone, "Done"},
    {ui::Ctl::Label, CDialogContact::kIdStamps, "Status"},
    {ui::Ctl::DefButton, CDialogContact::kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

// The spins and the date fields they step.
constexpr int kSpins[4][2] = {{1037, CDialogContact::kIdDate},
                              {1039, CDialogContact::kIdDeadline},
                              {1038, CDialogContact::kIdMailDate},
                              {1040, CDialogContact::kIdNextDate}};

// A date-only field's day is refused when it lies before today (00:00).
bool IsBeforeToday(DATE date)
{
    return date < GetToday(0);
}

}  // namespace

CDialogContact::CDialogContact(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kContactTemplate, parent, database, "CDialogContact", kIdOk)
{
    AddRadioPair(m_Kind, kIdPhone, 'P');
    AddRadioPair(m_Kind, kIdInterview, 'V');
    AddRadioPair(m_NextKind, kIdNextNone, 0);
    AddRadioPair(m_NextKind, kIdNextPhone, 'P');
    AddRadioPair(m_NextKind, kIdNextInterview, 'V');
}

bool CDialogContact::OnInitDialog()
{
    CRefreshHoldDialog::OnInitDialog();
    if (m_pInterview == nullptr || m_pDatabase == nullptr) return true;
    m_Work.CopyFrom(*m_pInterview);
    m_Snapshot.CopyFrom(*m_pInterview);
    const CInterview& r = m_Work;
    SetRadioGroup(*this, m_Kind, static_cast<uint8_t>(r.m_cKind));
    m_Date.Attach(this, kIdDate, r.m_dDate, 1);
    m_Deadline.Attach(this, kIdDeadline, r.m_dField14, 0);
    m_MailDate.Attach(this, kIdMailDate, r.m_dField16, 0);
    m_NextDate.Attach(this, kIdNextDate, r.m_dField20, 0);
    for (const auto& spin : kSpins) CentreDateSpin(*this, spin[0]);

    struct Fill {
        CComboMenu* combo;
        int id;
        char letter;
        bool person;
        uint32_t code;
    } fills[] = {
        {&m_Source, kIdSource, 'I', false, r.m_nDueTo},
        {&m_Interviewer, kIdInterviewer, 'E', true, r.m_nField4},
        {&m_Supervisor, kIdSupervisor, 'E', true, r.m_nField5},
        {&m_Department, kIdDepartment, 'D', false, r.m_nField10},
        {&m_Proposal, kIdProposal, 'C', false, r.m_nField9},
        {&m_Program, kIdProgram, 'P', false, r.m_nProgram},
        {&m_MailPerson, kIdMailPerson, 'E', true, r.m_nField17},
        {&m_NextPerson, kIdNextPerson, 'E', true, r.m_nField21},
    };
    for (const Fill& f : fills) {
        SubclassDlgItem(f.id, *f.combo);
        if (f.person) m_pDatabase->FillPersonTypeCombo(f.combo, f.letter, f.code);
        else m_pDatabase->FillCategoryComboBox(f.combo, f.letter, f.code, 1, 0, NO_CODE);
        SelectCode(*f.combo, f.code, true);
    }
    m_Interviewer.SetNotify(this, kIdInterviewer);

    CheckDlgButton(kIdFirst, r.m_nField8 != 0 ? 1 : 0);
    SetDlgItemInt(kIdPrevious, r.m_nField11);
    CheckDlgButton(kIdPrivate, r.m_nField12 != 0 ? 1 : 0);
    CheckDlgButton(kIdPartner, r.m_nField13 != 0 ? 1 : 0);
    std::string comments;
    JoinStrings(r.m_Comments, comments, "\n");
    SetDlgItemText(kIdComments, comments);
    CheckDlgButton(kIdMailOut, r.m_nField15 != 0 ? 1 : 0);
    CheckDlgButton(kIdMailDone, r.m_nField18 != 0 ? 1 : 0);
    SetRadioGroup(*this, m_NextKind, r.m_cField19);
    CheckDlgButton(kIdNextDone, r.m_nField22 != 0 ? 1 : 0);
    SetDlgItemText(kIdStamps, m_pDatabase->FormatStampLine(r.m_cStamp1User, r.m_dStamp1Date, r.m_cStamp2User,
                                                           r.m_dStamp2Date));
    return true;
}

bool CDialogContact::OnCommand(int id, int code)
{
    if (id == kIdOk && code == ui::BN_CLICKED) {
        OnOkButton();
        return true;
    }
    if (code == ui::UDN_DELTAPOS) {
        CDateTime* fields[4] = {&m_Date, &m_Deadline, &m_MailDate, &m_NextDate};
        for (int i = 0; i < 4; ++i)
            if (kSpins[i][0] == id) {
                StepDateBySpin(*this, id, *fields[i]);
                return true;
            }
    }
    return CRefreshHoldDialog::OnCommand(id, code);
}

intptr_t CDialogContact::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kComboMenuMessage && wParam == kIdInterviewer) {
        const int32_t teacher = ComboBoxGetItemDataOfText(m_Interviewer);
        if (teacher != -1 && teacher != 0)
            m_pDatabase->FillEmployeeAndDepartmentCombos(static_cast<uint32_t>(teacher), &m_Supervisor, &m_Department);
        return 0;
    }
    return CRefreshHoldDialog::OnMessage(message, wParam, lParam);
}

bool CDialogContact::ReadControls()
{
    CInterview& r = m_Work;
    uint8_t kind = static_cast<uint8_t>(r.m_cKind);
    GetRadioGroup(*this, m_Kind, kind);
    r.m_cKind = static_cast<char>(kind);
    const DATE when = KeepStoredDate(m_Date.GetValue(), r.m_dDate, 1);
    if (when == 0.0 || !IsDateAllowed(when, false)) {
        GetResponse("Invalid interview date.", MB_OK);
        return false;
    }
    r.m_dDate = when;
    r.m_nField4 = GetSelectedCode(&m_Interviewer, r.m_nField4);
    r.m_nField5 = GetSelectedCode(&m_Supervisor, r.m_nField5);
    r.m_nProgram = GetSelectedCode(&m_Program, r.m_nProgram);
    r.m_nDueTo = GetSelectedCode(&m_Source, r.m_nDueTo);
    r.m_nField8 = IsDlgButtonChecked(kIdFirst) != 0 ? 1 : 0;
    r.m_nField9 = GetSelectedCode(&m_Proposal, r.m_nField9);
    r.m_nField10 = GetSelectedCode(&m_Department, r.m_nField10);
    r.m_nField11 = GetDlgItemInt(kIdPrevious);
    r.m_nField12 = IsDlgButtonChecked(kIdPrivate) != 0 ? 1 : 0;
    r.m_nField13 = IsDlgButtonChecked(kIdPartner) != 0 ? 1 : 0;
    const DATE deadline = KeepStoredDate(m_Deadline.GetValue(), r.m_dField14, 0);
    if (!IsDateAllowed(deadline, false)) {
        GetResponse("Invalid deadline date.", MB_OK);
        return false;
    }
    r.m_dField14 = deadline;
    SplitEditLines(GetDlgItemText(kIdComments), r.m_Comments);

    r.m_nField15 = IsDlgButtonChecked(kIdMailOut) != 0 ? 1 : 0;
    const DATE mailDate = KeepStoredDate(m_MailDate.GetValue(), r.m_dField16, 0);
    if (!IsDateAllowed(mailDate, false)) {
        GetResponse("Invalid mail out date.", MB_OK);
        return false;
    }
    r.m_dField16 = mailDate;
    r.m_nField17 = GetSelectedCode(&m_MailPerson, r.m_nField17);
    r.m_nField18 = IsDlgButtonChecked(kIdMailDone) != 0 ? 1 : 0;
    if (r.m_nField15 != 0 && IsBeforeToday(r.m_dField16) && r.m_nField18 == 0) {
        GetResponse("Mail out date is before today's date.", MB_OK);
        return false;
    }

    GetRadioGroup(*this, m_NextKind, r.m_cField19);
    const DATE nextDate = KeepStoredDate(m_NextDate.GetValue(), r.m_dField20, 0);
    if (!IsDateAllowed(nextDate, false)) {
        GetResponse("Invalid next contact date.", MB_OK);
        return false;
    }
    r.m_dField20 = nextDate;
    r.m_nField21 = GetSelectedCode(&m_NextPerson, r.m_nField21);
    r.m_nField22 = IsDlgButtonChecked(kIdNextDone) != 0 ? 1 : 0;
    if ((r.m_cField19 == 'P' || r.m_cField19 == 'V') && IsBeforeToday(r.m_dField20) && r.m_nField22 == 0) {
        GetResponse("Next contact date is before today's date.", MB_OK);
        return false;
    }
    return true;
}

void CDialogContact::OnOkButton()
{
    if (m_pInterview == nullptr || !ReadControls()) return;
    if (m_Work.IsEqual(m_Snapshot)) {
        EndDialog(ui::IDCANCEL);
        return;
    }
    m_Work.m_cStamp2User = GetStampUserCode();
    m_Work.m_dStamp2Date = GetNow();
    m_pInterview->CopyFrom(m_Work);
    EndDialog(ui::IDOK);
}
