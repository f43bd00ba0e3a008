#pragma once
// The name of an account category with its accounting import parameters (transaction type,
// transaction and distribution accounts, five flags) in the category's parameter bytes.

#include <array>
#include <string>

#include "dialogs/RefreshHoldDialog.h"
#include "widgets/ComboMenu.h"

class CCategory;

class CDialogAddCategoryAccount : public CRefreshHoldDialog {
public:
    explicit CDialogAddCategoryAccount(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

    CCategory* m_pCategory = nullptr;
    std::string m_strName;
    std::array<int, 5> m_aFlags{};
    CComboMenu m_TypeCombo;
    CComboMenu m_TransactionCombo;
    CComboMenu m_DistributionCombo;

protected:
    void OnOkButton() override;
};
