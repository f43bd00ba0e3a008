#include "install/InstallDlg.h"

#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "install/DesktopShortcut.h"
#include "install/InstallAboutDlg.h"
#include "install/InstallCopy.h"
#include "install/InstallPaths.h"
#include "install/ZipExtraction.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"
#include "widgets/ProgramIcon.h"

namespace {

const ui::DialogTemplate kInstallTemplate{CInstallDlg::IDD, "Dorvalquintex installation program",
                                          0, 0, {
    {ui::Ctl::Label, -1,
     "In the box below, type  the full path to the directory in which you want Dorvalquintex to "
     "be installed. The default path is ~/Dorvalquintex. You should click on the Continue button "
     "to accept the default unless you have some compelling reason not to."},
    {ui::Ctl::Edit, CInstallDlg::kTargetPathId, ""},
    {ui::Ctl::Label, CInstallDlg::kStatusId, " Status", ui::WS_HIDDEN},
    {ui::Ctl::DefButton, ui::IDOK, "Continue installation"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel installation"},
}};

}  // namespace

CInstallDlg::CInstallDlg(ui::Window* parent)
    : ui::Dialog(kInstallTemplate, parent), targetPath_(GetDefaultTargetFolder()), icon_(InstallerIcon())
{
}

bool CInstallDlg::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    AppendSystemMenuItem(0, "");
    AppendSystemMenuItem(kAboutCommand, "&About Install...");
    SetIcon(icon_, true);
    SetIcon(icon_, false);
    ShowDlgItem(kStatusId, false);
    return true;
}

void CInstallDlg::OnPaint(ui::DC& dc)
{
    if (!IsIconic()) {
        ui::Dialog::OnPaint(dc);
        return;
    }
    const ui::DCRect client = GetClientRect();
    dc.DrawIcon((client.Width() - ui::Icon::kSize + 1) / 2, (client.Height() - ui::Icon::kSize + 1) / 2,
                icon_);
}

void CInstallDlg::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kTargetPathId, targetPath_);
}

bool CInstallDlg::OnSysCommand(uint32_t id)
{
    if ((id & 0xFFF0) != kAboutCommand)
        return false;
    CInstallAboutDlg about(this);
    about.DoModal();
    return true;
}

void CInstallDlg::ShowButtons(bool show)
{
    ShowDlgItem(ui::IDCANCEL, show);
    ShowDlgItem(ui::IDOK, show);
    ShowDlgItem(kStatusId, !show);
}

void CInstallDlg::OnOK()
{
    ShowButtons(false);
    if (!UpdateData(true)) {
        ShowButtons(true);
        return;
    }
    std::string folder, message;
    if (!CheckTargetPath(targetPath_, folder, message)) {
        GetResponse(message, MB_OK);
        ShowButtons(true);
        return;
    }
    targetPath_ = folder;
    if (!EnsureFolderPath(folder, "") || !host::SetCurrentFolder(folder)) {
        GetResponse(Format("Can't create folder %s", folder.c_str()), MB_OK);
        ShowButtons(true);
        return;
    }

    std::string zipName;
    if (FindZipFile(sourceFolder_, zipName) == 0) {
        GetResponse("Zip file not found.", MB_OK);
        EndDialog(ui::IDOK);
        return;
    }
    if (InstallFromZip(sourceFolder_, zipName) == 0) {
        if (GetResponse("Do you want to create a desktop shortcut icon for Dorvalquintex?", MB_YESNO) == IDYES) {
            std::string launcher;
            if (!CreateDesktopShortcut(folder, kProgramName, &launcher))
                GetResponse(Format("Can't create the desktop shortcut %s", launcher.c_str()),
                            MB_OK);
        } else {
            GetResponse(Format("Installation complete. To start %s,\nrun program %s in folder %s",
                               kProgramName, kProgramName, folder.c_str()),
                        MB_OK);
        }
    }
    EndDialog(ui::IDOK);
}

int CInstallDlg::InstallFromZip(const std::string& sourceFolder, const std::string& zipName)
{
    const bool placed = host::DriveLetterOf(zipName) != 0 ||
                        (!zipName.empty() && host::IsSeparator(zipName[0]));
    const std::string source = placed ? zipName : host::JoinPath(sourceFolder, zipName);
    const std::string target = host::JoinPath(targetPath_, GetFileNamePart(zipName));
    // Started from the installation folder itself: the zip is already in place.
    if (!host::SameFile(source, target)) {
        const int copied = CopyOrRecombineFile(source, target, 0);
        if (copied > 0)
            return copied;
    }
    return UnzipArchive(target, targetPath_);
}
