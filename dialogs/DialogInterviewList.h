#pragma once
// "Calls and interviews": the second page of the person sheet. Lists the person's contact records
// and adds, edits and deletes them, each in the contact record dialog; the person's list changes
// at once, the sheet stores the person.

#include "platform/ui/PropertyPage.h"

class CDatabase;
class CPerson;

class CDialogInterviewList : public ui::PropertyPage {
public:
    static constexpr int kIdList = 1102;
    static constexpr int kIdAdd = 1012;
    static constexpr int kIdEdit = 1017;
    static constexpr int kIdDelete = 1014;

    explicit CDialogInterviewList(CDatabase* database);

    bool OnSetActive() override;
    bool OnKillActive() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    void Load();
    void OnAdd();
    void OnEdit();
    void OnDelete();

    CDatabase* m_pDatabase = nullptr;
    CPerson* m_pPerson = nullptr;
    int m_nLoaded = 0;

private:
    // The interview of the selected line, -1 after "No item selected".
    int SelectedInterview();
};
