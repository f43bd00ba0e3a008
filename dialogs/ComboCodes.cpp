#include "dialogs/ComboCodes.h"

#include <algorithm>

#include "database/Database.h"
#include "platform/ui/ListBox.h"

#include "platform/host/Format.h"
#include "platform/ui/ComboBox.h"

void SelectCode(ui::ComboBox& combo, uint32_t code, bool keepMissing)
{
    for (int i = 0; i < combo.GetCount(); ++i)
        if (static_cast<uint32_t>(combo.GetItemData(i)) == code) {
            combo.SetCurSel(i);
            return;
        }
    if (keepMissing && code != 0xFFFFFFFF) {
        const int at = combo.AddString(Format("[Code %u]", code));
        combo.SetItemData(at, static_cast<intptr_t>(static_cast<int32_t>(code)));
        combo.SetCurSel(at);
        return;
    }
    combo.SetCurSel(-1);
}

uint32_t GetSelectedCode(const ui::ComboBox& combo)
{
    const int at = combo.GetCurSel();
    if (at < 0) return 0xFFFFFFFF;
    return static_cast<uint32_t>(combo.GetItemData(at));
}

uint32_t GetSelectedCode(const ui::ComboBox* combo, uint32_t kept)
{
    if (combo == nullptr || combo->GetCurSel() < 0) return kept;
    return GetSelectedCode(*combo);
}

void FillPersonCategoryList(CDatabase& database, ui::ListBox& list, const std::vector<uint32_t>& selected)
{
    list.ResetContent();
    std::vector<CCategory*> categories;
    database.CollectCategoriesByType('P', categories);
    std::vector<CCategory*> mailLists;
    database.CollectCategoriesByType('M', mailLists);
    categories.insert(categories.end(), mailLists.begin(), mailLists.end());
    for (const CCategory* c : categories) list.SetItemData(list.AddString(c->m_sName), static_cast<intptr_t>(c->m_nCode));
    for (int i = 0; i < list.GetCount(); ++i) {
        const auto code = static_cast<uint32_t>(list.GetItemData(i));
        list.SetSel(i, std::find(selected.begin(), selected.end(), code) != selected.end());
    }
}

std::vector<uint32_t> GetSelectedCodes(const ui::ListBox& list, const std::vector<uint32_t>& stored)
{
    std::vector<uint32_t> listed;
    std::vector<uint32_t> selected;
    for (int i = 0; i < list.GetCount(); ++i) {
        const auto code = static_cast<uint32_t>(list.GetItemData(i));
        listed.push_back(code);
        if (list.GetSel(i) > 0) selected.push_back(code);
    }
    auto has = [](const std::vector<uint32_t>& v, uint32_t code) { return std::find(v.begin(), v.end(), code) != v.end(); };
    std::vector<uint32_t> codes;
    for (uint32_t code : stored)
        if (!has(listed, code) || has(selected, code)) codes.push_back(code);
    for (uint32_t code : selected)
        if (!has(codes, code)) codes.push_back(code);
    return codes;
}
