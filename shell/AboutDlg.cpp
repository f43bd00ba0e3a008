#include "shell/AboutDlg.h"

#include "widgets/CommandGuards.h"
#include "platform/host/Format.h"
#include "shell/ProgramState.h"

namespace {
const ui::DialogTemplate kAboutTemplate{200, "About", 0, 0, {
    {ui::Ctl::Label, CAboutDlg::kIdVersion, ""},
    {ui::Ctl::Label, -1, "A business program for dance studios."},
    {ui::Ctl::Label, CAboutDlg::kIdUser, ""},
    {ui::Ctl::Label, CAboutDlg::kIdAccess, ""},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};
}  // namespace

CAboutDlg::CAboutDlg(ui::Window* parent) : ui::Dialog(kAboutTemplate, parent) {}

void CAboutDlg::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdUser, m_strUser);
    dx.Text(kIdAccess, m_strAccess);
}

bool CAboutDlg::OnInitDialog()
{
    SetWindowText("About Dorvalquintex");
    m_strUser = Format("User: %s", UserName.c_str());
    m_strAccess = Format("Access level: %i", static_cast<int>(UserAccessLevel));
    SetDlgItemText(kIdVersion, Format("Dorvalquintex Version %s", "3.33"));
    return ui::Dialog::OnInitDialog();
}
