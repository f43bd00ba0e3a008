#pragma once
// CRefreshHoldDialog: the common behaviour of the data-entry dialogs: the database's timed
// refresh is held from the window's creation to its destruction under the dialog's class name,
// F1 opens the dialog's help topic (0x20000 plus its template number), Return moves on like Tab,
// and Return that reaches the default button runs the dialog's own OK button when it has one.

#include <string>

#include "platform/ui/Dialog.h"

class CDatabase;

class CRefreshHoldDialog : public ui::Dialog {
public:
    CRefreshHoldDialog(const ui::DialogTemplate& tmpl, ui::Window* parent, CDatabase* database, std::string holdName,
                       int okButton = ui::IDOK);

    bool OnInitDialog() override;
    void OnDestroy() override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    // Enter (command 1) runs the OK button's checks when the dialog's OK is another control.
    void OnOK() override;

    CDatabase* m_pDatabase = nullptr;

protected:
    // The dialog's own OK (button `okButton`); the base ends with IDOK.
    virtual void OnOkButton() { ui::Dialog::OnOK(); }

private:
    std::string m_sHoldName;
    int m_nOkButton;
    bool m_bHoldsRefresh = false;
};
