#include "widgets/FontListBox.h"

#include "platform/ui/Font.h"
#include "platform/ui/ListBox.h"

void FillFontListBox(ui::ListBox& list, const std::string& face)
{
    list.ResetContent();
    for (const std::string& family : ui::GetFontFamilies()) list.AddString(family);
    list.SetCurSel(face.empty() ? -1 : list.FindStringExact(-1, face));
}
