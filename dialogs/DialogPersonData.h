#pragma once
// "Person data": the first page of the person sheet. Name, address, telephones, status, contact
// mode, dates, related persons, department and source, program and mail-list categories, picture
// file and comments of the sheet's person. The values are copied in when the page is entered and
// written back when it is left (OnExitPage); the depends-on person and a partner taken by "Copy
// address" change the person at once. A referral credit chosen here is kept for the sheet, which
// adds it only when it ends with OK.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/ui/PropertyPage.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CDatabase;
class CPaymentRecord;
class CPerson;

class CDialogPersonData : public ui::PropertyPage {
public:
    static constexpr int kIdLastName = 1023;
    static constexpr int kIdFirstName = 1024;
    static constexpr int kIdAddress1 = 1029;
    static constexpr int kIdCity = 1033;
    static constexpr int kIdState = 1036;
    static constexpr int kIdZip = 1037;
    static constexpr int kIdEmail = 1045;
    static constexpr int kIdBirthday = 1010;
    static constexpr int kIdAnniversary = 1011;
    static constexpr int kIdBirthdaySpin = 1039;
    static constexpr int kIdBirthdayLabel = 1145;
    static constexpr int kIdPartner = 1068;
    static constexpr int kIdTeacher = 1021;
    static constexpr int kIdSupervisor = 1069;
    static constexpr int kIdDepartment = 1366;
    static constexpr int kIdSource = 1028;
    static constexpr int kIdReferredBy = 1059;
    static constexpr int kIdComments = 1051;
    static constexpr int kIdLady = 1026;
    static constexpr int kIdGentleman = 1027;
    static constexpr int kIdActive = 1169;
    static constexpr int kIdGuest = 1386;
    static constexpr int kIdDependent = 1171;
    static constexpr int kIdInactive = 1172;
    static constexpr int kIdDependsOn = 1186;
    static constexpr int kIdNoPurge = 1423;
    static constexpr int kIdMail = 1420;
    static constexpr int kIdEmailMode = 1421;
    static constexpr int kIdNoContact = 1422;
    static constexpr int kIdCategories = 1052;
    static constexpr int kIdPicture = 1355;
    static constexpr int kIdBrowse = 1360;
    static constexpr int kIdShowPicture = 1354;
    static constexpr int kIdCopyAddress = 1456;
    static constexpr int kIdStamps = 1054;
    // The one-line edits and the person's text fields they show, in the page's order.
    static constexpr int kTextCount = 17;

    explicit CDialogPersonData(CDatabase* database);
    ~CDialogPersonData() override;

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // Copies the person into the page (once until the next successful exit).
    void OnEnterPage();
    // Checks and stores the page into the person: 1, or 0 to stay on the page.
    int OnExitPage();
    // Shows the depends-on person and reads the status group into the person.
    void ShowDependsOn();
    void OnDependent();
    void OnCopyAddress();
    void OnTeacherChosen();
    void OnReferrerChosen();
    void OnBrowse();
    void OnShowPicture();

    CDatabase* m_pDatabase = nullptr;
    CPerson* m_pPerson = nullptr;
    // 1: the focus goes to address line 1 when the page is first shown.
    int m_nAddressFocus = 0;
    int m_nLoaded = 0;
    std::string m_strReferralName;
    // The referral credit filled by the credit dialog, for the sheet to add on OK (the last one
    // chosen).
    std::unique_ptr<CPaymentRecord> m_pReferralCredit;

private:
    std::string* TextField(int i) const;
    uint32_t ComboValue(const CComboMenu& combo) const;

    RadioGroup m_Sex;
    RadioGroup m_Status;
    RadioGroup m_ContactMode;
    CComboMenu m_Partner;
    CComboMenu m_Teacher;
    CComboMenu m_Supervisor;
    CComboMenu m_Department;
    CComboMenu m_Source;
    CComboMenu m_ReferredBy;
    CDateTime m_Birthday;
    CDateTime m_Anniversary;
};
