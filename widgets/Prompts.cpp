#include "widgets/Prompts.h"

#include "widgets/ControlHelpers.h"
#include "common/QuestionBox.h"
#include "widgets/DialogPromptForString.h"
#include "platform/host/Text.h"
#include "platform/ui/ListBox.h"

namespace {

// The entered text and whether the user ended the prompt with OK.
bool RunPrompt(const std::string& caption, int maximum, const std::string& initial, char caseRule,
               std::string& text)
{
    CDialogPromptForString dialog;
    dialog.m_strPrompt = caption;
    dialog.m_nMaxLength = maximum;
    dialog.m_strText = initial;
    dialog.m_cCase = caseRule;
    if (dialog.DoModal() != IDOK)
        return false;
    text = dialog.m_strText;
    return true;
}

}  // namespace

std::string PromptForString(const std::string& caption, int maximum, const std::string& initial,
                            char caseRule)
{
    std::string text;
    return RunPrompt(caption, maximum, initial, caseRule, text) ? text : std::string();
}

void PromptAndSearchList(ui::ListBox& list, char kind)
{
    std::string text;
    if (!RunPrompt("Search for:", 60, std::string(), 0, text))
        return;
    if (text.empty()) {
        GetResponse("No search words", MB_OK);
        return;
    }
    for (char& c : text)
        c = host::UpperCp1252(c);
    ListSearchText = text;
    FindNextInList(list, kind);
}

int GetListCurSel(const ui::ListBox& list, const std::string& message)
{
    const int index = list.GetCurSel();
    if (index < 0) {
        GetResponse(message, MB_OK);
        return -1;
    }
    return index;
}

intptr_t GetListSelData(const ui::ListBox& list, const std::string& message)
{
    const int index = GetListCurSel(list, message);
    if (index < 0)
        return -1;
    return list.GetItemData(index);
}
