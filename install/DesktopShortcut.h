#pragma once
// The desktop shortcut: a freedesktop ".desktop" launcher in the user's desktop folder.

#include <string>

// The user's desktop folder (a program path): XDG_DESKTOP_DIR from the user-dirs file
// ($XDG_CONFIG_HOME/user-dirs.dirs, else ~/.config/user-dirs.dirs), else the variable of that
// name, else "Desktop" in the home folder. "" when there is no home folder.
std::string GetDesktopFolder();

// The launcher's contents for program `programName` in `folder`: absolute Exec= and Path= (the
// program folder), Name= and Comment= the program name. False when the folder has no absolute
// host path.
bool BuildDesktopEntry(const std::string& folder, const std::string& programName,
                       std::string& contents);

// Writes "<desktop folder>/<program name>.desktop" for the program "<folder>/<program name>",
// creating the desktop folder when missing; the launcher is marked executable, as desktops ask
// of trusted launchers. The launcher's path in `written`. False when it could not be written.
bool CreateDesktopShortcut(const std::string& folder, const std::string& programName,
                           std::string* written = nullptr);
