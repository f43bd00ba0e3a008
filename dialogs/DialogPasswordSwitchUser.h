#pragma once
// The "Switch users/Lock DB" prompt (template 313): whoever types a registered password becomes
// the current user of this copy. It locks the desk: only a registered password ends it, never
// Escape or the close box. DoModal gives 1 when nobody was switched to (the current user's own
// password, or a user already on line elsewhere), 2 when the user changed; HasSwitched says which.

#include <string>

#include "platform/ui/Dialog.h"

class CDatabase;

class CDialogPasswordSwitchUser : public ui::Dialog {
public:
    explicit CDialogPasswordSwitchUser(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    // Escape and the close box leave the desk locked.
    void OnCancel() override {}

    bool HasSwitched() const { return m_bSwitched; }

    std::string m_strPassword;

private:
    CDatabase* m_pDatabase;
    bool m_bSwitched = false;
};
