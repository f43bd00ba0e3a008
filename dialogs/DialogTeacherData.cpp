#include "dialogs/DialogTeacherData.h"

#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Messages.h"

namespace {

// The one-line edits, in the order of CDialogTeacherData::TextField.
constexpr int kTextIds[CDialogTeacherData::kTextCount] = {1023, 1024, 1029, 1031, 1033, 1036, 1037, 1020,
                                                          1046, 1038, 1041, 1065, 1043, 1045, 1048, 1049};

const ui::DialogTemplate kTeacherDataTemplate{234, "Person data", 386, 230, {
    {ui::Ctl::Label, -1, "Last name"},
    {ui::Ctl::Edit, 1023, ""},
    {ui::Ctl::Label, -1, "First name"},
    {ui::Ctl::Edit, 1024, ""},
    {ui::Ctl::Label, -1, "Address line 1"},
    {ui::Ctl::Edit, 1029, ""},
    {ui::Ctl::Label, -1, "Address line 2"},
    {ui::Ctl::Edit, 1031, ""},
    {ui::Ctl::Label, -1, "City"},
    {ui::Ctl::Edit, 1033, ""},
    {ui::Ctl::Label, -1, "State"},
    {ui::Ctl::Edit, 1036, ""},
    {ui::Ctl::Label, -1, "ZIP"},
    {ui::Ctl::Edit, 1037, ""},
    {ui::Ctl::Label, -1, "County"},
    {ui::Ctl::Edit, 1020, ""},
    {ui::Ctl::Label, -1, "Country"},
    {ui::Ctl::Edit, 1046, ""},
    {ui::Ctl::Label, -1, "Home\nPhone"},
    {ui::Ctl::Edit, 1038, ""},
    {ui::Ctl::Label, -1, "Work\nphone"},
    {ui::Ctl::Edit, 1041, ""},
    {ui::Ctl::Label, -1, "Cell\nphone"},
    {ui::Ctl::Edit, 1065, ""},
    {ui::Ctl::Label, -1, "FAX"},
    {ui::Ctl::Edit, 1043, ""},
    {ui::Ctl::Label, -1, "Email"},
    {ui::Ctl::Edit, 1045, ""},
    {ui::Ctl::Label, -1, "SS number"},
    {ui::Ctl::Edit, 1048, ""},
    {ui::Ctl::Label, -1, "Membership number"},
    {ui::Ctl::Edit, 1049, ""},
    {ui::Ctl::Label, -1, "Birthday"},
    {ui::Ctl::Edit, CDialogTeacherData::kIdBirthday, ""},
    {ui::Ctl::Spin, CDialogTeacherData::kIdBirthdaySpin, ""},
    {ui::Ctl::Radio, CDialogTeacherData::kIdLady, "Lady", ui::WS_GROUP},
    {ui::Ctl::Radio, CDialogTeacherData::kIdGentleman, "Gentleman"},
    {ui::Ctl::Radio, CDialogTeacherData::kIdActive, "Active", ui::WS_GROUP},
    {ui::Ctl::Radio, CDialogTeacherData::kIdDependent, "Dependent"},
    {ui::Ctl::Radio, CDialogTeacherData::kIdInactive, "Inactive"},
    {ui::Ctl::Label, CDialogTeacherData::kIdDependsOn, "On: None"},
    {ui::Ctl::Label, -1, "Supervisor"},
    {ui::Ctl::ComboBox, CDialogTeacherData::kIdSupervisor, ""},
    {ui::Ctl::Label, -1, "Department"},
    {ui::Ctl::ComboBox, CDialogTeacherData::kIdDepartment, ""},
    {ui::Ctl::Label, -1, "Program and maill list categories"},
    {ui::Ctl::ListBox, CDialogTeacherData::kIdCategories, "", ui::LBS_SORT | ui::LBS_MULTIPLESEL},
    {ui::Ctl::Label, -1, "Comments"},
    {ui::Ctl::Edit, CDialogTeacherData::kIdComments, "", ui::ES_MULTILINE | ui::ES_WANTRETURN},
    {ui::Ctl::Label, CDialogTeacherData::kIdStamps, "Status"},
    {ui::Ctl::DefButton, CDialogTeacherData::kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogTeacherData::CDialogTeacherData(CDatabase* database, CPerson* person, ui::Window* parent)
    : CRefreshHoldDialog(kTeacherDataTemplate, parent, database, "CDialogTeacherData", kIdOk), m_pPerson(person)
{
    AddRadioPair(m_Sex, kIdLady, 'F');
    AddRadioPair(m_Sex, kIdGentleman, 'M');
    AddRadioPair(m_Status, kIdActive, 'A');
    AddRadioPair(m_Status, kIdDependent, 'D');
    AddRadioPair(m_Status, kIdInactive, 0);
}

std::string* CDialogTeacherData::TextField(CPerson& p, int i) const
{
    std::string* fields[kTextCount] = {&p.m_sLastName, &p.m_sFirstName, &p.m_sAddress1, &p.m_sAddress2,
                                       &p.m_sCity,     &p.m_sState,     &p.m_sZip,      &p.m_sText16,
                                       &p.m_sText17,   &p.m_sPhone1,    &p.m_sPhone2,   &p.m_sText20,
                                       &p.m_sFax,      &p.m_sEmail,     &p.m_sText9,    &p.m_sText10};
    return fields[i];
}

bool CDialogTeacherData::OnInitDialog()
{
    CRefreshHoldDialog::OnInitDialog();
    if (m_pPerson == nullptr || m_pDatabase == nullptr) return true;
    CPerson& p = *m_pPerson;
    SetDlgItemText(kIdStamps, m_pDatabase->FormatStampLine(p.m_cStamp1User, p.m_dStamp1Date, p.m_cStamp2User,
                                                           p.m_dStamp2Date));
    SubclassDlgItem(kIdSupervisor, m_Supervisor);
    SubclassDlgItem(kIdDepartment, m_Department);
    m_pDatabase->FillPersonTypeCombo(&m_Supervisor, 'E', p.m_nCode28);
    SelectCode(m_Supervisor, p.m_nCode28, true);
    m_pDatabase->FillCategoryComboBox(&m_Department, 'D', p.m_nCode29, 1, 0, NO_CODE);
    SelectCode(m_Department, p.m_nCode29, true);
    if (ui::ListBox* list = List(kIdCategories)) FillPersonCategoryList(*m_pDatabase, *list, p.m_Numbers);
    SetRadioGroup(*this, m_Sex, static_cast<uint8_t>(p.m_cSex));
    SetRadioGroup(*this, m_Status, static_cast<uint8_t>(p.m_cStatus));
    m_Birthday.Attach(this, kIdBirthday, p.m_dBirthday, 0);
    CentreDateSpin(*this, kIdBirthdaySpin);
    m_nDependsOn = p.m_nCode31;
    ShowDependsOn();
    for (int i = 0; i < kTextCount; ++i) SetDlgItemText(kTextIds[i], *TextField(p, i));
    std::string comments;
    JoinStrings(p.m_Notes, comments, "\n");
    SetDlgItemText(kIdComments, comments);
    return true;
}

void CDialogTeacherData::ShowDependsOn()
{
    std::string text = "On: None";
    if (m_nDependsOn != NO_CODE) {
        std::string name;
        m_pDatabase->GetPersonName(name, m_nDependsOn, 0);
        text = Format("On:%s", name.c_str());
    }
    SetDlgItemText(kIdDependsOn, text);
}

bool CDialogTeacherData::OnCommand(int id, int code)
{
    if (id == kIdOk && code == ui::BN_CLICKED) {
        OnOkButton();
        return true;
    }
    if (id == kIdBirthdaySpin && code == ui::UDN_DELTAPOS) {
        StepDateBySpin(*this, kIdBirthdaySpin, m_Birthday);
        return true;
    }
    if (code == ui::BN_CLICKED && (id == kIdActive || id == kIdInactive)) {
        ShowDependsOn();
        return true;
    }
    if (code == ui::BN_CLICKED && id == kIdDependent) {
        const int32_t chosen = m_pDatabase->SelectPerson(0, 0, 1, 0);
        m_nDependsOn = chosen < 0 ? NO_CODE : static_cast<uint32_t>(chosen);
        ShowDependsOn();
        return true;
    }
    return CRefreshHoldDialog::OnCommand(id, code);
}

void CDialogTeacherData::OnOkButton()
{
    if (m_pPerson == nullptr) return;
    CPerson& p = *m_pPerson;
    uint8_t sex = static_cast<uint8_t>(p.m_cSex);
    uint8_t status = static_cast<uint8_t>(p.m_cStatus);
    GetRadioGroup(*this, m_Sex, sex);
    GetRadioGroup(*this, m_Status, status);
    p.m_cSex = static_cast<char>(sex);
    p.m_cStatus = static_cast<char>(status);
    p.m_nCode31 = m_nDependsOn;
    for (int i = 0; i < kTextCount; ++i) *TextField(p, i) = GetDlgItemText(kTextIds[i]);
    SplitEditLines(GetDlgItemText(kIdComments), p.m_Notes);
    p.m_dBirthday = KeepStoredDate(m_Birthday.GetValue(), p.m_dBirthday, 0);
    p.m_nCode28 = GetSelectedCode(&m_Supervisor, p.m_nCode28);
    p.m_nCode29 = GetSelectedCode(&m_Department, p.m_nCode29);
    if (ui::ListBox* list = List(kIdCategories)) p.m_Numbers = GetSelectedCodes(*list, p.m_Numbers);
    EndDialog(ui::IDOK);
}
