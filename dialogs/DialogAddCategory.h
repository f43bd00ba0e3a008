#pragma once
// The name of a category and, for a tax category, whether it counts as income or expense
// (parameter byte 0: 'I' or 'E'). Edits the caller's category on OK.

#include <string>

#include "dialogs/RefreshHoldDialog.h"

class CCategory;

class CDialogAddCategory : public CRefreshHoldDialog {
public:
    explicit CDialogAddCategory(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

    CCategory* m_pCategory = nullptr;
    std::string m_strName;

protected:
    void OnOkButton() override;
};
