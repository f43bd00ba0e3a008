#include "dialogs/DialogPersonData.h"

#include <algorithm>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Messages.h"
#include "records/PaymentRecord.h"
#include "widgets/AppHelpers.h"

namespace {

// The one-line edits, in the order of CDialogPersonData::TextField.
constexpr int kTextIds[CDialogPersonData::kTextCount] = {1023, 1024, 1029, 1031, 1033, 1020, 1036, 1037, 1046,
                                                         1045, 1038, 1041, 1065, 1043, 1048, 1049, 1355};

const ui::DialogTemplate kPersonDataTemplate{207, "Person data", 386, 282, {
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
    {ui::Ctl::Label, -1, "County"},
    {ui::Ctl::Edit, 1020, ""},
    {ui::Ctl::Label, -1, "State"},
    {ui::Ctl::Edit, 1036, ""},
    {ui::Ctl::Label, -1, "ZIP"},
    {ui::Ctl::Edit, 1037, ""},
    {ui::Ctl::Label, -1, "Country"},
    {ui::Ctl::Edit, 1046, ""},
    {ui::Ctl::Button, CDialogPersonData::kIdCopyAddress, "Copy address"},
    {ui::Ctl::Label, -1, "Email"},
    {ui::Ctl::Edit, 1045, ""},
    {ui::Ctl::Label, -1, "Home\nPhone"},
    {ui::Ctl::Edit, 1038, ""},
    {ui::Ctl::Label, -1, "Work\nphone"},
    {ui::Ctl::Edit, 1041, ""},
    {ui::Ctl::Label, -1, "Cell\nphone"},
    {ui::Ctl::Edit, 1065, ""},
    {ui::Ctl::Label, -1, "FAX"},
    {ui::Ctl::Edit, 1043, ""},
    {ui::Ctl::Label, -1, "SS number"},
    {ui::Ctl::Edit, 1048, ""},
    {ui::Ctl::Label, -1, "Membership number"},
    {ui::Ctl::Edit, 1049, ""},
    {ui::Ctl::Label, CDialogPersonData::kIdBirthdayLabel, "Birthday"},
    {ui::Ctl::Edit, CDialogPersonData::kIdBirthday, ""},
    {ui::Ctl::Spin, CDialogPersonData::kIdBirthdaySpin, ""},
    {ui::Ctl::Label, -1, "Anniversary"},
    {ui::Ctl::Edit, CDialogPersonData::kIdAnniversary, ""},
    {ui::Ctl::Spin, 1040, ""},
    {ui::Ctl::Label, 1455, "Partner"},
    {ui::Ctl::ComboBox, CDialogPersonData::kIdPartner, ""},
    {ui::Ctl::Label, 1055, "Teacher"},
    {ui::Ctl::ComboBox, CDialogPersonData::kIdTeacher, ""},
    {ui::Ctl::Label, 1072, "Supervisor"},
    {ui::Ctl::ComboBox, CDialogPersonData::kIdSupervisor, ""},
    {ui::Ctl::Label, 1073, "Department"},
    {ui::Ctl::ComboBox, CDialogPersonData::kIdDepartment, ""},
    {ui::Ctl::Label, 1057, "Source"},
    {ui::Ctl::ComboBox, CDialogPersonData::kIdSource, ""},
    {ui::Ctl::Label, 1061, "Referred\nby"},
    {ui::Ctl::ComboBox, CDialogPersonData::kIdReferredBy, ""},
    {ui::Ctl::GroupBox, -1, ""},
    {ui::Ctl::Radio, CDialogPersonData::kIdLady, "Lady", ui::WS_GROUP},
    {ui::Ctl::Radio, CDialogPersonData::kIdGentleman, "Gentleman"},
    {ui::Ctl::GroupBox, -1, "Status"},
    {ui::Ctl::Radio, CDialogPersonData::kIdActive, "Active", ui::WS_GROUP},
    {ui::Ctl::Radio, CDialogPersonData::kIdGuest, "Guest"},
    {ui::Ctl::Radio, CDialogPersonData::kIdDependent, "Dependent"},
    {ui::Ctl::Radio, CDialogPersonData::kIdInactive, "Inactive"},
    {ui::Ctl::Label, CDialogPersonData::kIdDependsOn, "On: None"},
    {ui::Ctl::CheckBox, CDialogPersonData::kIdNoPurge, "Don't allow purge"},
    {ui::Ctl::GroupBox, -1, "Contact mode"},
    {ui::Ctl::Radio, CDialogPersonData::kIdMail, "Mail", ui::WS_GROUP},
    {ui::Ctl::Radio, CDialogPersonData::kIdEmailMode, "Email"},
    {ui::Ctl::Radio, CDialogPersonData::kIdNoContact, "None"},
    {ui::Ctl::Label, -1, "Program and mail list categories"},
    {ui::Ctl::ListBox, CDialogPersonData::kIdCategories, "", ui::LBS_SORT | ui::LBS_MULTIPLESEL},
    {ui::Ctl::GroupBox, -1, "Picture file"},
    {ui::Ctl::Edit, CDialogPersonData::kIdPicture, ""},
    {ui::Ctl::Button, CDialogPersonData::kIdBrowse, "Browse"},
    {ui::Ctl::Button, CDialogPersonData::kIdShowPicture, "Show picture"},
    {ui::Ctl::Label, -1, "Comments"},
    {ui::Ctl::Edit, CDialogPersonData::kIdComments, "", ui::ES_MULTILINE | ui::ES_WANTRETURN},
    {ui::Ctl::Label, CDialogPersonData::kIdStamps, "Status"},
}};

void Trace(const char* text)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString(text);
}

}  // namespace

CDialogPersonData::CDialogPersonData(CDatabase* database)
    : ui::PropertyPage(kPersonDataTemplate), m_pDatabase(database)
{
    Trace("CDialogPersonData constructor\n");
    AddRadioPair(m_Sex, kIdLady, 'F');
    AddRadioPair(m_Sex, kIdGentleman, 'M');
    AddRadioPair(m_Status, kIdActive, 'A');
    AddRadioPair(m_Status, kIdGuest, 'G');
    AddRadioPair(m_Status, kIdDependent, 'D');
    AddRadioPair(m_Status, kIdInactive, 0);
    AddRadioPair(m_ContactMode, kIdMail, '1');
    AddRadioPair(m_ContactMode, kIdEmailMode, '2');
    AddRadioPair(m_ContactMode, kIdNoContact, '0');
}

CDialogPersonData::~CDialogPersonData() = default;

std::string* CDialogPersonData::TextField(int i) const
{
    CPerson& p = *m_pPerson;
    std::string* fields[kTextCount] = {&p.m_sLastName, &p.m_sFirstName, &p.m_sAddress1, &p.m_sAddress2, &p.m_sCity,
                                       &p.m_sText16,   &p.m_sState,     &p.m_sZip,      &p.m_sText17,   &p.m_sEmail,
                                       &p.m_sPhone1,   &p.m_sPhone2,    &p.m_sText20,   &p.m_sFax,      &p.m_sText9,
                                       &p.m_sText10,   &p.m_sText23};
    return fields[i];
}

uint32_t CDialogPersonData::ComboValue(const CComboMenu& combo) const
{
    return static_cast<uint32_t>(ComboBoxGetItemDataOfText(combo));
}

bool CDialogPersonData::OnInitDialog()
{
    Trace("CDialogPersonData OnInitDialog entry\n");
    ui::PropertyPage::OnInitDialog();
    if (m_pPerson == nullptr || m_pDatabase == nullptr) return true;
    CPerson& p = *m_pPerson;
    SetDlgItemText(kIdStamps, m_pDatabase->FormatStampLine(p.m_cStamp1User, p.m_dStamp1Date, p.m_cStamp2User,
                                                           p.m_dStamp2Date));
    SubclassDlgItem(kIdPartner, m_Partner);
    SubclassDlgItem(kIdTeacher, m_Teacher);
    SubclassDlgItem(kIdSupervisor, m_Supervisor);
    SubclassDlgItem(kIdDepartment, m_Department);
    SubclassDlgItem(kIdSource, m_Source);
    SubclassDlgItem(kIdReferredBy, m_ReferredBy);
    m_Partner.SetNotify(this, kIdPartner);
    m_Teacher.SetNotify(this, kIdTeacher);
    m_Supervisor.SetNotify(this, kIdSupervisor);
    m_ReferredBy.SetNotify(this, kIdReferredBy);
    m_pDatabase->FillPersonTypeCombo(&m_Partner, 'C', p.m_nCode32);
    m_pDatabase->FillPersonTypeCombo(&m_Teacher, 'E', p.m_nTeacher);
    m_pDatabase->FillPersonTypeCombo(&m_Supervisor, 'E', p.m_nCode28);
    m_pDatabase->FillCategoryComboBox(&m_Department, 'D', p.m_nCode29, 1, 0, NO_CODE);
    m_pDatabase->FillCategoryComboBox(&m_Source, 'I', p.m_nReferredBy, 1, 0, NO_CODE);
    m_pDatabase->FillPersonTypeCombo(&m_ReferredBy, 'C', p.m_nCode30);
    // A stored code the lists lack (a person since deleted) stays selectable, so OK keeps it.
    SelectCode(m_Partner, p.m_nCode32, true);
    SelectCode(m_Teacher, p.m_nTeacher, true);
    SelectCode(m_Supervisor, p.m_nCode28, true);
    SelectCode(m_ReferredBy, p.m_nCode30, true);
    SelectCode(m_Department, p.m_nCode29, true);
    SelectCode(m_Source, p.m_nReferredBy, true);
    m_Birthday.Attach(this, kIdBirthday, 0.0, 0);
    m_Anniversary.Attach(this, kIdAnniversary, 0.0, 0);
    CentreDateSpin(*this, kIdBirthdaySpin);
    CentreDateSpin(*this, 1040);

    if (ui::ListBox* list = List(kIdCategories)) FillPersonCategoryList(*m_pDatabase, *list, p.m_Numbers);
    Trace("CDialogPersonData OnInitDialog exit\n");
    return true;
}

bool CDialogPersonData::OnSetActive()
{
    Trace("CDialogPersonData OnSetActive\n");
    OnEnterPage();
    if (m_nAddressFocus == 1) {
        GotoDlgCtrl(kIdAddress1);
        m_nAddressFocus = 0;
    }
    return ui::PropertyPage::OnSetActive();
}

bool CDialogPersonData::OnKillActive()
{
    if (OnExitPage() != 1) return false;
    return ui::PropertyPage::OnKillActive();
}

void CDialogPersonData::OnOK()
{
    if (OnExitPage() == 1) ui::PropertyPage::OnOK();
}

void CDialogPersonData::OnEnterPage()
{
    Trace("CDialogPersonData OnEnterPage entry 1\n");
    if (m_nLoaded == 1 || m_pPerson == nullptr) return;
    m_nLoaded = 1;
    Trace("CDialogPersonData OnEnterPage entry 2\n");
    CPerson& p = *m_pPerson;
    SetRadioGroup(*this, m_Sex, static_cast<uint8_t>(p.m_cSex));
    SetRadioGroup(*this, m_Status, static_cast<uint8_t>(p.m_cStatus));
    SetRadioGroup(*this, m_ContactMode, static_cast<uint8_t>(p.m_cField33));
    ShowDependsOn();
    CheckDlgButton(kIdNoPurge, p.m_nField34 != 0 ? 1 : 0);
    for (int i = 0; i < kTextCount; ++i) SetDlgItemText(kTextIds[i], *TextField(i));
    m_Birthday.SetValue(p.m_dBirthday);
    m_Anniversary.SetValue(p.m_dAnniversary);
    std::string comments;
    JoinStrings(p.m_Notes, comments, "\n");
    SetDlgItemText(kIdComments, comments);
    Trace("CDialogPersonData OnEnterPage exit\n");
}

int CDialogPersonData::OnExitPage()
{
    if (m_pPerson == nullptr) return 1;
    CPerson& p = *m_pPerson;
    std::string texts[kTextCount];
    for (int i = 0; i < kTextCount; ++i) texts[i] = GetDlgItemText(kTextIds[i]);
    if (texts[0].empty()) {
        GetResponse("Student's name not entered.", MB_OK);
        GotoDlgCtrl(kIdLastName);
        return 0;
    }
    uint8_t mode = static_cast<uint8_t>(p.m_cField33);
    GetRadioGroup(*this, m_ContactMode, mode);
    // texts: 2 address line 1, 4 city, 6 state, 7 ZIP, 9 e-mail.
    if (mode == '1' && (texts[2].empty() || texts[4].empty() || texts[6].empty() || texts[7].empty())) {
        GetResponse("Incomplete address.", MB_OK);
        return 0;
    }
    if (mode == '2' && texts[9].empty()) {
        GetResponse("No email address entered.", MB_OK);
        return 0;
    }
    m_nLoaded = 0;
    uint8_t sex = static_cast<uint8_t>(p.m_cSex);
    uint8_t status = static_cast<uint8_t>(p.m_cStatus);
    GetRadioGroup(*this, m_Sex, sex);
    GetRadioGroup(*this, m_Status, status);
    p.m_cSex = static_cast<char>(sex);
    p.m_cStatus = static_cast<char>(status);
    p.m_cField33 = static_cast<char>(mode);
    p.m_nField34 = IsDlgButtonChecked(kIdNoPurge) != 0 ? 1 : 0;
    for (int i = 0; i < kTextCount; ++i) *TextField(i) = texts[i];
    // A date left as it was keeps its stored time of day.
    p.m_dBirthday = KeepStoredDate(m_Birthday.GetValue(), p.m_dBirthday, 0);
    p.m_dAnniversary = KeepStoredDate(m_Anniversary.GetValue(), p.m_dAnniversary, 0);
    p.m_nCode32 = GetSelectedCode(&m_Partner, p.m_nCode32);
    p.m_nTeacher = GetSelectedCode(&m_Teacher, p.m_nTeacher);
    p.m_nCode28 = GetSelectedCode(&m_Supervisor, p.m_nCode28);
    p.m_nCode29 = GetSelectedCode(&m_Department, p.m_nCode29);
    p.m_nReferredBy = GetSelectedCode(&m_Source, p.m_nReferredBy);
    p.m_nCode30 = GetSelectedCode(&m_ReferredBy, p.m_nCode30);
    SplitEditLines(GetDlgItemText(kIdComments), p.m_Notes);
    if (ui::ListBox* list = List(kIdCategories)) p.m_Numbers = GetSelectedCodes(*list, p.m_Numbers);
    return 1;
}

void CDialogPersonData::ShowDependsOn()
{
    if (m_pPerson == nullptr) return;
    CPerson& p = *m_pPerson;
    std::string text = "On: None";
    if (p.m_nCode31 != NO_CODE) {
        std::string name;
        m_pDatabase->GetPersonName(name, p.m_nCode31, 0);
        text = Format("On:%s", name.c_str());
    }
    SetDlgItemText(kIdDependsOn, text);
    uint8_t status = static_cast<uint8_t>(p.m_cStatus);
    GetRadioGroup(*this, m_Status, status);
    p.m_cStatus = static_cast<char>(status);
    SetDlgItemText(kIdBirthdayLabel, p.m_cStatus == 'G' ? "Date of visit" : "Birthday");
}

bool CDialogPersonData::OnCommand(int id, int code)
{
    if (id == kIdBirthdaySpin && code == ui::UDN_DELTAPOS) {
        StepDateBySpin(*this, kIdBirthdaySpin, m_Birthday);
        return true;
    }
    if (id == 1040 && code == ui::UDN_DELTAPOS) {
        StepDateBySpin(*this, 1040, m_Anniversary);
        return true;
    }
    if (code != ui::BN_CLICKED) return ui::PropertyPage::OnCommand(id, code);
    switch (id) {
    case kIdDependent: OnDependent(); return true;
    case kIdActive:
    case kIdInactive:
    case kIdGuest:
        if (m_pPerson) m_pPerson->m_nCode31 = NO_CODE;
        ShowDependsOn();
        return true;
    case kIdShowPicture: OnShowPicture(); return true;
    case kIdBrowse: OnBrowse(); return true;
    case kIdCopyAddress: OnCopyAddress(); return true;
    default: return ui::PropertyPage::OnCommand(id, code);
    }
}

bool CDialogPersonData::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, 0x20000u + 207u)) return true;
    if (msg.message == ui::WM_KEYDOWN && MoveOnEnterKey(*this, msg)) return true;
    return ui::PropertyPage::PreTranslateMessage(msg);
}

intptr_t CDialogPersonData::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kComboMenuMessage) {
        if (wParam == kIdTeacher) OnTeacherChosen();
        else if (wParam == kIdReferredBy) OnReferrerChosen();
        return 0;
    }
    return ui::PropertyPage::OnMessage(message, wParam, lParam);
}

void CDialogPersonData::OnDependent()
{
    if (m_pPerson == nullptr) return;
    const int32_t chosen = m_pDatabase->SelectPerson(0, 0, 1, 0);
    m_pPerson->m_nCode31 = chosen < 0 ? NO_CODE : static_cast<uint32_t>(chosen);
    ShowDependsOn();
}

void CDialogPersonData::OnCopyAddress()
{
    if (m_pPerson == nullptr) return;
    const int32_t chosen = m_pDatabase->SelectPerson('C', 0, 0, 0);
    if (chosen < 0) return;
    const auto* from = static_cast<const CPerson*>(m_pDatabase->GetItem(TABLE_PERSON, static_cast<uint32_t>(chosen)));
    if (from == nullptr) return;
    m_pPerson->m_nCode32 = from->m_nCode;
    const std::pair<int, const std::string*> copied[] = {
        {1029, &from->m_sAddress1}, {1031, &from->m_sAddress2}, {1033, &from->m_sCity},   {1046, &from->m_sText17},
        {1043, &from->m_sFax},      {1045, &from->m_sEmail},    {1038, &from->m_sPhone1}, {1041, &from->m_sPhone2},
        {1065, &from->m_sText20},   {1036, &from->m_sState},    {1037, &from->m_sZip},    {1020, &from->m_sText16}};
    for (const auto& [id, text] : copied) SetDlgItemText(id, *text);
    m_pDatabase->FillPersonTypeCombo(&m_Partner, 'C', from->m_nCode);
}

void CDialogPersonData::OnTeacherChosen()
{
    const uint32_t teacher = ComboValue(m_Teacher);
    if (teacher == 0) return;
    m_pDatabase->FillEmployeeAndDepartmentCombos(teacher, &m_Supervisor, &m_Department);
}

void CDialogPersonData::OnReferrerChosen()
{
    const uint32_t referrer = ComboValue(m_ReferredBy);
    if (referrer == NO_CODE) return;
    if (GetResponse("Do you want to award credit for referral?", MB_YESNO) != IDYES) return;
    const std::string last = GetDlgItemText(kIdLastName);
    if (last.empty()) {
        GetResponse("Student's name not entered.", MB_OK);
        return;
    }
    m_strReferralName = Format("%s %s", GetDlgItemText(kIdFirstName).c_str(), last.c_str());
    // The credit dialog fills a new record now; the sheet adds it when it ends with OK.
    auto credit = std::make_unique<CPaymentRecord>();
    const stDataToken request = MakeDataToken('c', 0.0, &m_strReferralName, static_cast<int32_t>(referrer));
    if (m_pDatabase->EditItemDialog(TABLE_PAYMENT, credit.get(), 1, &request) == 1) m_pReferralCredit = std::move(credit);
}

void CDialogPersonData::OnBrowse()
{
    std::string path;
    std::string title;
    if (!BrowseForFile("Picture files", "*.jpg;*.bmp", path, title, 1) || path.empty()) return;
    SetDlgItemText(kIdPicture, path);
}

void CDialogPersonData::OnShowPicture()
{
    const std::string path = GetDlgItemText(kIdPicture);
    if (path.empty()) {
        GetResponse("No picture file specified.", MB_OK);
        return;
    }
    if (!host::FileExists(path)) {
        GetResponse(Format("Can't find picture file %s.", path.c_str()), MB_OK);
        return;
    }
    if (ShowPictureWindow) ShowPictureWindow(path, 0.0);
}
