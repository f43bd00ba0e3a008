#pragma once
// "Add/edit user" (template 221): edits one users-file entry: user ID, password (capitals) and
// access level 1 to 9, or the fixed level 10 of the master user. Only button 1000 stores and
// ends the dialog with IDOK; it is the default button, so Enter presses it; Cancel leaves the
// entry unchanged.

#include <string>

#include "database/UserRegData.h"
#include "platform/ui/Dialog.h"

class CDatabase;

class CDialogAddUser : public ui::Dialog {
public:
    explicit CDialogAddUser(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;

    // Set by the caller.
    stUserRegData* m_pEntry = nullptr;
    int m_nFixedLevel = 0;
    // 1 when the entry had no level yet.
    int m_nNewUser = 0;

    std::string m_strPassword;
    std::string m_strUserID;
    unsigned m_nAccessLevel = 0;

private:
    void Store();

    CDatabase* m_pDatabase;
};
