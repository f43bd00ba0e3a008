#include "dialogs/ComboCodes.h"

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
