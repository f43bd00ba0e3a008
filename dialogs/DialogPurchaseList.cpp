#include "dialogs/DialogPurchaseList.h"

#include <algorithm>

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "widgets/ControlHelpers.h"

namespace {

const ui::DialogTemplate kPurchaseListTemplate{233, "List of purchases", 384, 217, {
    {ui::Ctl::ListBox, CDialogPurchaseList::kIdList, ""},
    {ui::Ctl::Button, CDialogPurchaseList::kIdAdd, "Add"},
    {ui::Ctl::Button, CDialogPurchaseList::kIdEdit, "Edit"},
    {ui::Ctl::Button, CDialogPurchaseList::kIdDelete, "Delete"},
    {ui::Ctl::Button, CDialogPurchaseList::kIdConvert, "Convert"},
    {ui::Ctl::Button, CDialogPurchaseList::kIdCancel, "Cancel"},
    {ui::Ctl::Button, CDialogPurchaseList::kIdUncancel, "Uncancel"},
}};

}  // namespace

CDialogPurchaseList::CDialogPurchaseList(CDatabase* database)
    : ui::PropertyPage(kPurchaseListTemplate), m_pDatabase(database)
{
}

bool CDialogPurchaseList::OnSetActive()
{
    if (m_nFilled != 1) FillList();
    m_nFilled = 1;
    return ui::PropertyPage::OnSetActive();
}

bool CDialogPurchaseList::OnKillActive()
{
    m_nFilled = 0;
    return ui::PropertyPage::OnKillActive();
}

void CDialogPurchaseList::OnOK()
{
    m_nFilled = 0;
    ui::PropertyPage::OnOK();
}

void CDialogPurchaseList::OnCancel()
{
    m_nFilled = 0;
    ui::PropertyPage::OnCancel();
}

bool CDialogPurchaseList::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, 0x200E9u)) return true;
    return ui::PropertyPage::PreTranslateMessage(msg);
}

void CDialogPurchaseList::FillList()
{
    m_aInactive.clear();
    ui::ListBox* list = List(kIdList);
    if (list == nullptr || m_pPerson == nullptr || m_pDatabase == nullptr) return;
    list->ResetContent();
    const std::vector<stIndex>& purchases = *m_pDatabase->GetItemList(TABLE_PURCHASE);
    for (size_t at : m_pDatabase->FindPurchasesOf(m_pPerson->m_nCode)) {
        const auto* p = static_cast<const CPurchaseRecord*>(purchases[at].pItem);
        const std::string date = FormatDateTime(p->m_dDate, "%A %B %d, %Y, %I:%M%p");
        std::string text;
        if (p->m_nStatus == CPurchaseRecord::STATUS_ACTIVE) {
            text = Format("%s %s ", p->m_sDescription.c_str(), date.c_str());
        } else {
            text = Format(p->m_nStatus == -2 ? "Cancelled: %s %s " : "Converted: %s %s ", p->m_sDescription.c_str(),
                          date.c_str());
            m_aInactive.push_back(p->m_nCode);
        }
        list->SetItemData(list->AddString(text), static_cast<intptr_t>(p->m_nCode));
    }
    UpdateButtons();
}

void CDialogPurchaseList::UpdateButtons()
{
    ui::ListBox* list = List(kIdList);
    const int at = list ? list->GetCurSel() : -1;
    if (at < 0) return;
    const auto code = static_cast<uint32_t>(list->GetItemData(at));
    const bool inactive = std::find(m_aInactive.begin(), m_aInactive.end(), code) != m_aInactive.end();
    EnableDlgItem(kIdCancel, !inactive);
    EnableDlgItem(kIdUncancel, inactive);
}

bool CDialogPurchaseList::SelectedCode(uint32_t& code)
{
    ui::ListBox* list = List(kIdList);
    const int at = list ? list->GetCurSel() : -1;
    if (at < 0) {
        GetResponse("No item selected", MB_OK);
        return false;
    }
    code = static_cast<uint32_t>(list->GetItemData(at));
    return true;
}

bool CDialogPurchaseList::OnCommand(int id, int code)
{
    if (id == kIdList && code == ui::LBN_SELCHANGE) {
        UpdateButtons();
        return true;
    }
    if (code != ui::BN_CLICKED) return ui::PropertyPage::OnCommand(id, code);
    if (m_pDatabase == nullptr || m_pPerson == nullptr) return true;
    uint32_t purchase = NO_CODE;
    int result = 2;
    switch (id) {
    case kIdAdd: {
        const stDataToken request = MakeDataToken('R', 0.0, m_pPerson, static_cast<int32_t>(m_pPerson->m_nCode));
        result = m_pDatabase->AddTableItem(TABLE_PURCHASE, LOC_NONE, nullptr, 1, LOC_NONE, &request);
        break;
    }
    case kIdEdit:
        if (!SelectedCode(purchase)) return true;
        result = m_pDatabase->EditTableItem(TABLE_PURCHASE, purchase, nullptr);
        break;
    case kIdDelete:
        if (!SelectedCode(purchase)) return true;
        result = m_pDatabase->DeleteTableItem(TABLE_PURCHASE, purchase, 1);
        break;
    case kIdConvert:
        if (!SelectedCode(purchase)) return true;
        m_pDatabase->ConvertPurchase(purchase);
        result = 1;
        break;
    case kIdCancel:
    case kIdUncancel: {
        if (!SelectedCode(purchase)) return true;
        auto* p = static_cast<CPurchaseRecord*>(m_pDatabase->GetItem(TABLE_PURCHASE, purchase));
        if (p != nullptr) {
            if (id == kIdCancel) m_pDatabase->CancelPurchase(p);
            else m_pDatabase->ReinstatePurchase(p);
        }
        result = 1;
        break;
    }
    default:
        return ui::PropertyPage::OnCommand(id, code);
    }
    if (result == 1) FillList();
    return true;
}
