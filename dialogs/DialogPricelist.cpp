#include "dialogs/DialogPricelist.h"

#include "common/DateTime.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "widgets/ControlHelpers.h"
#include "widgets/Prompts.h"

#include <vector>

namespace {

constexpr int kIdList = 1067;
constexpr int kIdEdit = 1017;
constexpr int kIdDelete = 1014;
constexpr int kIdPurge = 1435;
constexpr uint32_t kHelpContext = 0x20000 + 232;

struct AddButton {
    int id;
    char kind;
};
constexpr AddButton kAddButtons[] = {{1413, 'p'}, {1414, 's'}, {1415, 'T'}, {1416, 'N'}, {1012, 0}, {1013, 'D'}};

const ui::DialogTemplate kPricelistTemplate{232, "Price list items", 0, 0, {
    {ui::Ctl::ListBox, kIdList, "", ui::LBS_SORT},
    {ui::Ctl::GroupBox, -1, "Add to price list"},
    {ui::Ctl::Button, 1413, "Activity or block of activities scheduled by student\ne.g. Private lessons, floor use"},
    {ui::Ctl::Button, 1414, "Activity or block of activities scheduled by studio\ne.g. Group classes, workshops"},
    {ui::Ctl::Button, 1415,
     "Block of unspecified studio activities for limited time period\ne.g. Any type of group classes for thirty days"},
    {ui::Ctl::Button, 1416, "Block of a set number of unspecified studio activities\ne.g. Thirty of any type of group lessons"},
    {ui::Ctl::Button, 1012, "Merchandise/Miscellaneous item"},
    {ui::Ctl::Button, 1013, "Discount item"},
    {ui::Ctl::Button, kIdEdit, "Edit"},
    {ui::Ctl::Button, kIdDelete, "Delete"},
    {ui::Ctl::Button, kIdPurge, "Purge old classes"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

CDialogPricelist* g_pOpenPriceList = nullptr;

}  // namespace

CDialogPricelist::CDialogPricelist(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kPricelistTemplate, parent), m_pDB(database)
{
}

void CDialogPricelist::Show(CDatabase& database, ui::Window* parent)
{
    CDialogPricelist dialog(&database, parent);
    CDialogPricelist* previous = g_pOpenPriceList;
    g_pOpenPriceList = &dialog;
    dialog.DoModal();
    g_pOpenPriceList = previous;
}

CDialogPricelist* CDialogPricelist::Open() { return g_pOpenPriceList; }

bool CDialogPricelist::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    FillList();
    return true;
}

void CDialogPricelist::FillList()
{
    ui::ListBox* list = List(kIdList);
    if (!list || !m_pDB) return;
    list->ResetContent();
    for (const stIndex& e : *m_pDB->GetItemList(TABLE_PRICELIST)) {
        const auto* item = static_cast<const CPriceListItem*>(e.pItem);
        const std::string line =
            item->m_Dates.empty()
                ? Format("%s [Code %u]", item->m_sName.c_str(), item->m_nCode)
                : Format("%s, %s - %s [Code %u]", item->m_sName.c_str(),
                         FormatDateTime(item->m_Dates.front(), "%m/%d/%Y").c_str(),
                         FormatDateTime(item->m_Dates.back(), "%m/%d/%Y").c_str(), item->m_nCode);
        const int at = list->AddString(line);
        list->SetItemData(at, static_cast<intptr_t>(item->m_nCode));
    }
}

void CDialogPricelist::AddItem(char kind)
{
    stDataToken hint;
    hint.type = kind;
    m_pDB->AddTableItem(TABLE_PRICELIST, LOC_NONE, nullptr, 1, LOC_NONE, &hint);
    FillList();
}

void CDialogPricelist::EditItem()
{
    ui::ListBox* list = List(kIdList);
    if (!list) return;
    const intptr_t code = GetListSelData(*list, "No item selected");
    if (code < 0) return;
    m_pDB->EditTableItem(TABLE_PRICELIST, static_cast<uint32_t>(code), nullptr);
    FillList();
}

void CDialogPricelist::DeleteItem()
{
    ui::ListBox* list = List(kIdList);
    if (!list) return;
    const intptr_t code = GetListSelData(*list, "No item selected");
    if (code < 0) return;
    m_pDB->DeleteTableItem(TABLE_PRICELIST, static_cast<uint32_t>(code), 1);
    FillList();
}

void CDialogPricelist::PurgeOldClasses()
{
    const DATE noon = GetToday(12);
    // The codes first: each deletion may refresh and rebuild the table.
    std::vector<uint32_t> old;
    const std::vector<stIndex>& items = *m_pDB->GetItemList(TABLE_PRICELIST);
    for (auto it = items.rbegin(); it != items.rend(); ++it) {
        const auto* item = static_cast<const CPriceListItem*>(it->pItem);
        if (!item->m_Dates.empty() && item->m_Dates.back() < noon) old.push_back(item->m_nCode);
    }
    for (uint32_t code : old)
        if (m_pDB->GetItem(TABLE_PRICELIST, code)) m_pDB->DeleteTableItem(TABLE_PRICELIST, code, 1);
    FillList();
}

bool CDialogPricelist::OnCommand(int id, int code)
{
    if (code != ui::BN_CLICKED) return ui::Dialog::OnCommand(id, code);
    for (const AddButton& b : kAddButtons) {
        if (id == b.id) {
            AddItem(b.kind);
            return true;
        }
    }
    switch (id) {
    case kIdEdit: EditItem(); return true;
    case kIdDelete: DeleteItem(); return true;
    case kIdPurge: PurgeOldClasses(); return true;
    default: return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogPricelist::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    if (msg.message == ui::WM_KEYDOWN && MoveOnEnterKey(*this, msg)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
