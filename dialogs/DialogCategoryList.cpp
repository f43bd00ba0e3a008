#include "dialogs/DialogCategoryList.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"

namespace {

constexpr int kIdList = 1009;
constexpr int kIdAdd = 1012;
constexpr int kIdEdit = 1017;
constexpr int kIdDelete = 1014;

const ui::DialogTemplate kCategoryListTemplate{205, "Category list", 266, 226, {
    {ui::Ctl::ListBox, kIdList, "", ui::LBS_SORT},
    {ui::Ctl::Button, kIdAdd, "Add"},
    {ui::Ctl::Button, kIdEdit, "Edit"},
    {ui::Ctl::Button, kIdDelete, "Delete"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel", ui::WS_HIDDEN},
}};

}  // namespace

CDialogCategoryList::CDialogCategoryList(CDatabase* database, ui::Window* parent)
    : CRefreshHoldDialog(kCategoryListTemplate, parent, database, "CDialogCategoryList")
{
}

bool CDialogCategoryList::OnInitDialog()
{
    CRefreshHoldDialog::OnInitDialog();
    ShowDlgItem(kIdAdd, m_cType != 0);
    FillList();
    return true;
}

void CDialogCategoryList::FillList()
{
    ui::ListBox* list = List(kIdList);
    if (list == nullptr || m_pDatabase == nullptr) return;
    list->ResetContent();
    std::vector<CCategory*> categories;
    m_pDatabase->CollectCategoriesByType(m_cType, categories);
    for (const CCategory* c : categories) {
        if (m_cBlock != 0 && c->m_Params[0] != static_cast<uint8_t>(m_cBlock)) continue;
        const std::string prefix = m_cType == 0 ? m_pDatabase->GetCategoryTypeName(c) + ": " : std::string();
        const int at = list->AddString(Format("%s%s [Code %u]", prefix.c_str(), c->m_sName.c_str(), c->m_nCode));
        list->SetItemData(at, static_cast<intptr_t>(c->m_nCode));
    }
}

bool CDialogCategoryList::OnCommand(int id, int code)
{
    if (code != ui::BN_CLICKED || (id != kIdAdd && id != kIdEdit && id != kIdDelete))
        return CRefreshHoldDialog::OnCommand(id, code);
    if (m_pDatabase == nullptr) return true;
    if (id == kIdAdd) {
        const stDataToken request = MakeDataToken(m_cType, 0.0, nullptr, static_cast<uint8_t>(m_cBlock));
        m_pDatabase->AddTableItem(TABLE_CATEGORY, LOC_NONE, nullptr, 1, 0, &request);
        FillList();
        return true;
    }
    ui::ListBox* list = List(kIdList);
    const int selected = list ? list->GetCurSel() : -1;
    if (selected < 0) {
        GetResponse("No Category selected", MB_OK);
        return true;
    }
    const uint32_t category = static_cast<uint32_t>(list->GetItemData(selected));
    if (id == kIdEdit) m_pDatabase->EditTableItem(TABLE_CATEGORY, category, nullptr);
    else m_pDatabase->DeleteTableItem(TABLE_CATEGORY, category, 1);
    FillList();
    return true;
}
