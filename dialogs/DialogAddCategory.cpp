#include "dialogs/DialogAddCategory.h"

#include "platform/ui/DataExchange.h"
#include "records/Category.h"

namespace {

constexpr int kIdName = 1019;
constexpr int kIdGroup = 1214;
constexpr int kIdIncome = 1216;
constexpr int kIdExpense = 1217;

const ui::DialogTemplate kAddCategoryTemplate{206, "Category", 237, 46, {
    {ui::Ctl::Label, -1, "Category name"},
    {ui::Ctl::Edit, kIdName, ""},
    {ui::Ctl::GroupBox, kIdGroup, "Income/expense"},
    {ui::Ctl::Radio, kIdIncome, "Income", ui::WS_GROUP},
    {ui::Ctl::Radio, kIdExpense, "Expense"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogAddCategory::CDialogAddCategory(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kAddCategoryTemplate, parent, database, "CDialogAddCategory")
{
}

bool CDialogAddCategory::OnInitDialog()
{
    if (m_pCategory) m_strName = m_pCategory->m_sName;
    CRefreshHoldDialog::OnInitDialog();
    const bool tax = m_pCategory && m_pCategory->m_cType == 'T';
    for (int id : {kIdGroup, kIdIncome, kIdExpense}) ShowDlgItem(id, tax);
    if (tax) CheckRadioButton(kIdIncome, kIdExpense, m_pCategory->m_Params[0] == 'E' ? kIdExpense : kIdIncome);
    return true;
}

void CDialogAddCategory::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdName, m_strName);
}

void CDialogAddCategory::OnOkButton()
{
    if (!UpdateData(true)) return;
    if (m_pCategory) {
        m_pCategory->m_sName = m_strName;
        if (m_pCategory->m_cType == 'T') m_pCategory->m_Params[0] = IsDlgButtonChecked(kIdExpense) ? 'E' : 'I';
    }
    EndDialog(ui::IDOK);
}
