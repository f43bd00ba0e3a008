#pragma once
// The program's own message box: a title, a long scrolling message, OK (or Yes and No) and an
// optional Help button. Built on the caller's stack for one modal run.

#include "platform/ui/Dialog.h"

#include <string>

class CDialogMyMessageBox : public ui::Dialog {
public:
    explicit CDialogMyMessageBox(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;

    std::string m_strTitle;
    std::string m_strMessage;
    int m_nYesNo = 0;         // 0: OK alone; else Yes (OK) and No (Cancel)
    int m_nHelpContext = 0;   // above 0: the Help button opens this context
};
