#pragma once
// The installer's application: runs its one dialog, then the program ends.

class CInstallApp {
public:
    // Runs the installation dialog with the installer's own folder as the source folder.
    // Always false: nothing runs after the dialog.
    bool InitInstance();
};

// The installer program: the application object, then the dialog. The exit code.
int RunInstaller(int argc, char** argv);
