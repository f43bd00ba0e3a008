#pragma once
// The program's general dialog for picking from a list: a title and entries (identifier and
// text); single choice gives one identifier, multiple choice fills the caller's array. It sizes
// itself to the number and length of its entries.

#include "platform/ui/Dialog.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace ui {
class ListBox;
}
class CDatabase;

class CDialogMenu : public ui::Dialog {
public:
    // choiceMode 'M': multiple choice, else single; orderMode 'S': sorted by text, else as
    // added. extraButton 1: the extra button shows extraText and ends the dialog with -2.
    CDialogMenu(CDatabase* database, const std::string& title, char choiceMode, char orderMode,
                int selectedId, int extraButton, const std::string& extraText,
                ui::Window* parent = nullptr);

    void AddItem(uint32_t id, const std::string& text);

    bool OnInitDialog() override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    // The list box of the mode (null before the dialog's window exists).
    ui::ListBox* GetShownList() const { return m_pList; }

    CDatabase* m_pDatabase;
    char m_cChoiceMode;
    char m_cOrderMode;
    int m_nSelectedId;
    std::string m_strTitle;
    std::vector<uint32_t> m_aIds;
    std::vector<std::string> m_aTexts;
    std::vector<uint32_t>* m_pResult = nullptr;  // multiple choice: the chosen identifiers
    int m_nExtraButton;
    int m_nHelpContext = -1;
    std::string m_strExtraText;
    // Single choice: entries that cannot be chosen now. While one is selected OK/Select is
    // greyed, and a double click or Return on it does nothing. Unset: every entry can be chosen.
    std::function<bool(uint32_t id)> m_fnCanChoose;

private:
    bool IsMultiple() const { return m_cChoiceMode == 'M'; }
    int SelectedIdentifier() const;
    bool SelectedCanBeChosen() const;
    void UpdateOkButton();

    ui::ListBox* m_pList = nullptr;
};
