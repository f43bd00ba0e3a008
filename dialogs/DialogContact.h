#pragma once
// "Contact record": one phone call or interview of a person, who made it, what was proposed and
// the follow-up it needs (deadline, mail-out, next contact). The dialog edits its own copy of the
// record and writes it back only when it ends with IDOK; OK without a change ends with IDCANCEL.

#include "dialogs/RefreshHoldDialog.h"
#include "records/Interview.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CDialogContact : public CRefreshHoldDialog {
public:
    static constexpr int kIdPhone = 1087;
    static constexpr int kIdInterview = 1089;
    static constexpr int kIdDate = 1010;
    static constexpr int kIdSource = 1193;
    static constexpr int kIdInterviewer = 1021;
    static constexpr int kIdSupervisor = 1069;
    static constexpr int kIdDepartment = 1366;
    static constexpr int kIdProposal = 1365;
    static constexpr int kIdProgram = 1015;
    static constexpr int kIdFirst = 1352;
    static constexpr int kIdPrevious = 1090;
    static constexpr int kIdPrivate = 1091;
    static constexpr int kIdPartner = 1092;
    static constexpr int kIdDeadline = 1011;
    static constexpr int kIdComments = 1051;
    static constexpr int kIdMailOut = 1101;
    static constexpr int kIdMailDate = 1012;
    static constexpr int kIdMailPerson = 1074;
    static constexpr int kIdMailDone = 1165;
    static constexpr int kIdNextNone = 1269;
    static constexpr int kIdNextPhone = 1094;
    static constexpr int kIdNextInterview = 1096;
    static constexpr int kIdNextDate = 1013;
    static constexpr int kIdNextPerson = 1080;
    static constexpr int kIdNextDone = 1166;
    static constexpr int kIdStamps = 1054;
    static constexpr int kIdOk = 1000;

    explicit CDialogContact(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;

    // The record edited (the caller's; written on IDOK only).
    CInterview* m_pInterview = nullptr;
    // The contact's date and time; the deadline, mail-out and next-contact days.
    CDateTime m_Date;
    CDateTime m_Deadline;
    CDateTime m_MailDate;
    CDateTime m_NextDate;

protected:
    void OnOkButton() override;

private:
    // Reads the controls into the working copy; false (after its message) at a refused value.
    bool ReadControls();

    CInterview m_Work;
    CInterview m_Snapshot;
    RadioGroup m_Kind;
    RadioGroup m_NextKind;
    CComboMenu m_Source;
    CComboMenu m_Interviewer;
    CComboMenu m_Supervisor;
    CComboMenu m_Department;
    CComboMenu m_Proposal;
    CComboMenu m_Program;
    CComboMenu m_MailPerson;
    CComboMenu m_NextPerson;
};
