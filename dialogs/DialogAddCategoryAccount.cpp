#include "dialogs/DialogAddCategoryAccount.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/ComboCodes.h"
#include "platform/ui/DataExchange.h"

namespace {

constexpr int kIdName = 1019;
constexpr int kIdType = 1446;
constexpr int kIdTransaction = 1455;
constexpr int kIdDistribution = 1448;
// The five flags in the order of the parameter bytes 9-13.
constexpr int kFlagIds[5] = {1450, 1452, 1451, 1453, 1454};

const ui::DialogTemplate kAccountTemplate{316, "Category", 382, 137, {
    {ui::Ctl::Label, -1, "Category name"},
    {ui::Ctl::Edit, kIdName, ""},
    {ui::Ctl::GroupBox, -1, "QuickBooks Import Parameters"},
    {ui::Ctl::Label, -1, "Transaction\nType"},
    {ui::Ctl::ComboBox, kIdType, ""},
    {ui::Ctl::Label, -1, "Transaction\nAccount"},
    {ui::Ctl::ComboBox, kIdTransaction, ""},
    {ui::Ctl::CheckBox, 1450, "Deduction"},
    {ui::Ctl::CheckBox, 1451, "Mark as cleared"},
    {ui::Ctl::Label, -1, "Distribution\nAccount"},
    {ui::Ctl::ComboBox, kIdDistribution, ""},
    {ui::Ctl::CheckBox, 1452, "Deduction"},
    {ui::Ctl::CheckBox, 1453, "Mark as cleared"},
    {ui::Ctl::CheckBox, 1454, "Last name first to create reference customer or vendor name "},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogAddCategoryAccount::CDialogAddCategoryAccount(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kAccountTemplate, parent, database, "CDialogAddCategoryAccount")
{
}

bool CDialogAddCategoryAccount::OnInitDialog()
{
    uint8_t type = 0;
    uint32_t transaction = NO_CODE, distribution = NO_CODE;
    if (m_pCategory) {
        m_strName = m_pCategory->m_sName;
        GetCategoryAccountParams(*m_pCategory, type, transaction, distribution, m_aFlags);
    }
    SubclassDlgItem(kIdType, m_TypeCombo);
    SubclassDlgItem(kIdTransaction, m_TransactionCombo);
    SubclassDlgItem(kIdDistribution, m_DistributionCombo);
    CRefreshHoldDialog::OnInitDialog();
    if (m_pDatabase) {
        m_pDatabase->FillTransactionTypeCombo(&m_TypeCombo, type);
        m_pDatabase->FillCategoryComboBox(&m_TransactionCombo, 'A', transaction, 1, 0, NO_CODE);
        m_pDatabase->FillCategoryComboBox(&m_DistributionCombo, 'A', distribution, 1, 0, NO_CODE);
        SelectCode(m_TransactionCombo, transaction, true);
        SelectCode(m_DistributionCombo, distribution, true);
    }
    return true;
}

void CDialogAddCategoryAccount::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdName, m_strName);
    for (int i = 0; i < 5; ++i) dx.Check(kFlagIds[i], m_aFlags[static_cast<size_t>(i)]);
}

void CDialogAddCategoryAccount::OnOkButton()
{
    if (!UpdateData(true) || m_pCategory == nullptr) return;
    m_pCategory->m_sName = m_strName;
    const uint32_t typeCode = GetSelectedCode(m_TypeCombo);
    const uint8_t type = typeCode == NO_CODE ? 0 : static_cast<uint8_t>(typeCode);
    const uint32_t transaction = GetSelectedCode(m_TransactionCombo);
    SetCategoryAccountParams(*m_pCategory, type, transaction, GetSelectedCode(m_DistributionCombo), m_aFlags);
    if (type != 0 && transaction == NO_CODE) {
        GetResponse("You have specified a QuickBooks transaction type but not a transaction account.\nYou must select "
                    "a transaction account if you specify a transaction type.",
                    MB_OK);
        return;
    }
    EndDialog(ui::IDOK);
}
