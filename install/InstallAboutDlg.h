#pragma once
// The installer's about box.

#include "platform/ui/Dialog.h"

class CInstallAboutDlg : public ui::Dialog {
public:
    explicit CInstallAboutDlg(ui::Window* parent = nullptr);
};
