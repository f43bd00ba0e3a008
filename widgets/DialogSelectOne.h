#pragma once
// Picks one line of a list, with a find box that selects the first line beginning with the typed
// text. DoModal gives IDOK or IDCANCEL; the chosen line's item data is GetSelectedData() (-1 when
// none was selected), so that no item data can be mistaken for a button.

#include "platform/ui/Dialog.h"

#include <cstdint>
#include <string>
#include <vector>

class CDialogSelectOne : public ui::Dialog {
public:
    CDialogSelectOne(const std::string& title, int32_t preselected, ui::Window* parent = nullptr);

    // Appends one line, in the order to show.
    void AddItem(uint32_t data, const std::string& text);
    int32_t GetSelectedData() const { return m_nSelectedData; }

    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

private:
    void FindTyped();

    std::string m_strTitle;
    int32_t m_nPreselected;
    std::vector<uint32_t> m_aItemData;
    std::vector<std::string> m_aTexts;
    int32_t m_nSelectedData = -1;
};
