#pragma once
// "Person data" of a teacher or other employee: name, address, telephones, status and the person
// a dependent is on, birthday, supervisor and department, program and mail-list categories,
// comments. The person is changed in place on OK only.

#include "dialogs/RefreshHoldDialog.h"
#include "records/RecordBuffer.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CPerson;

class CDialogTeacherData : public CRefreshHoldDialog {
public:
    static constexpr int kIdLastName = 1023;
    static constexpr int kIdLady = 1026;
    static constexpr int kIdGentleman = 1027;
    static constexpr int kIdActive = 1169;
    static constexpr int kIdDependent = 1171;
    static constexpr int kIdInactive = 1172;
    static constexpr int kIdDependsOn = 1186;
    static constexpr int kIdBirthday = 1010;
    static constexpr int kIdBirthdaySpin = 1039;
    static constexpr int kIdSupervisor = 1069;
    static constexpr int kIdDepartment = 1366;
    static constexpr int kIdCategories = 1052;
    static constexpr int kIdComments = 1051;
    static constexpr int kIdStamps = 1054;
    static constexpr int kIdOk = 1000;
    static constexpr int kTextCount = 16;

    CDialogTeacherData(CDatabase* database, CPerson* person, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

    CPerson* m_pPerson = nullptr;

protected:
    void OnOkButton() override;

private:
    void ShowDependsOn();
    std::string* TextField(CPerson& p, int i) const;

    // The depends-on person while the dialog is open (stored on OK).
    uint32_t m_nDependsOn = NO_CODE;
    RadioGroup m_Sex;
    RadioGroup m_Status;
    CDateTime m_Birthday;
    CComboMenu m_Supervisor;
    CComboMenu m_Department;
};
