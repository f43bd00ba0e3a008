#include "install/InstallApp.h"

#include "install/InstallDlg.h"
#include "install/InstallPaths.h"
#include "platform/ui/Application.h"

bool CInstallApp::InitInstance()
{
    CInstallDlg dialog;
    dialog.SetSourceFolder(GetInstallerFolder());
    ui::Application* app = ui::Application::Instance();
    if (app != nullptr)
        app->SetMainWindow(&dialog);
    dialog.DoModal();
    if (app != nullptr)
        app->SetMainWindow(nullptr);
    return false;
}

int RunInstaller(int argc, char** argv)
{
    ui::Application app(argc, argv);
    app.SetTitle("Install");
    CInstallApp install;
    install.InitInstance();
    return 0;
}
