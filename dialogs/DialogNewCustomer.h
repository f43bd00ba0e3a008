#pragma once
// The short person form of a new customer: name, address, home telephone and e-mail. Edits the
// caller's person on OK; the caller stores it.

#include <string>

#include "dialogs/RefreshHoldDialog.h"

class CPerson;

class CDialogNewCustomer : public CRefreshHoldDialog {
public:
    explicit CDialogNewCustomer(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;

    CPerson* m_pPerson = nullptr;
    std::string m_aTexts[9];

protected:
    void OnOkButton() override;
};
