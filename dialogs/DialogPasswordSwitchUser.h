#pragma once
// The "Switch users/Lock DB" prompt (template 313): whoever types a registered password becomes
// the current user of this copy. DoModal gives 1 when nobody was switched to (the password's
// user is already on line), 2 when the user changed or the prompt was closed with Escape;
// HasSwitched tells the two cases of 2 apart.

#include <string>

#include "platform/ui/Dialog.h"

class CDatabase;

class CDialogPasswordSwitchUser : public ui::Dialog {
public:
    explicit CDialogPasswordSwitchUser(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

    bool HasSwitched() const { return m_bSwitched; }

    std::string m_strPassword;

private:
    CDatabase* m_pDatabase;
    bool m_bSwitched = false;
};
