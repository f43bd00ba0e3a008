#pragma once
// "Text entry" (template 271): a plain multi-line editor for a list of lines. OK puts the edited
// lines back into the caller's list; Cancel leaves it as it was.

#include <string>
#include <vector>

#include "platform/ui/Dialog.h"

class CDialogTextEntry : public ui::Dialog {
public:
    CDialogTextEntry(std::vector<std::string>& lines, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;

private:
    std::vector<std::string>& m_aLines;
};
