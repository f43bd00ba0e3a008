#pragma once
// "Continue printing": asked between printed pages. DoModal gives 6 (IDYES) to go on, 5
// (IDIGNORE) to print the page again, 7 (IDNO) to stop; Escape stops too.

#include "platform/ui/Dialog.h"

class CDialogContinuePrint : public ui::Dialog {
public:
    explicit CDialogContinuePrint(ui::Window* parent = nullptr);

    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
};
