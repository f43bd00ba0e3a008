#include "install/InstallAboutDlg.h"

namespace {

const ui::DialogTemplate kInstallAboutTemplate{100, "About Install", 0, 0, {
    {ui::Ctl::Label, -1, "Install Version 1.0"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

}  // namespace

CInstallAboutDlg::CInstallAboutDlg(ui::Window* parent) : ui::Dialog(kInstallAboutTemplate, parent)
{
}
