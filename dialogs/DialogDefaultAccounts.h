#pragma once
// The four account categories that new payments get by default (Parameters record): payments to
// the studio, payments by the studio, credits to students, refunds to students.

#include "dialogs/RefreshHoldDialog.h"
#include "widgets/ComboMenu.h"

class CDialogDefaultAccounts : public CRefreshHoldDialog {
public:
    explicit CDialogDefaultAccounts(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

    CComboMenu m_Combos[4];

protected:
    void OnOkButton() override;
};
