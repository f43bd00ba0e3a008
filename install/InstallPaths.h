#pragma once
// Where the installer looks and where it installs: its own folder (as a drive path when it runs
// from a mapped drive, so that a diskette set is read through its drive letter), the user's home
// folder, the target path the user typed, and the distribution zip beside the installer.

#include <string>

// The program the installer puts on the desk, and the name of its folder.
constexpr const char* kProgramName = "Dorvalquintex";

// The installer's own executable (a program path).
std::string GetInstallerExePath();
// The installer's folder, ending in a separator. A folder inside a mapped drive's folder is given
// as a path on that drive ("A:\"), the deepest mapping winning.
std::string GetInstallerFolder();
// The same mapping for any folder (a program path); the folder itself, ending in a separator, when
// no drive holds it.
std::string ToDriveFolder(const std::string& folder);

// The user's home folder ($HOME) as a program path; "" when unknown.
std::string GetHomeFolder();
// The installation folder offered at start: "Dorvalquintex" in the home folder.
std::string GetDefaultTargetFolder();

// Checks the typed target path and gives the folder to install into: trimmed, a leading "~"
// standing for the home folder, trailing separators removed. It must be absolute: a host path
// ("/home/ann/Dorvalquintex") or a drive path ("C:\Dorvalquintex"). False with the message to
// show ("No path name given", "Invalid path", "Invalid path, should have format ...").
bool CheckTargetPath(const std::string& typed, std::string& folder, std::string& message);

// Creates `root` and then each folder of `relative` below it (either may be several levels deep,
// separators '\' or '/'). True when the whole path is there as a folder afterwards.
bool EnsureFolderPath(const std::string& root, const std::string& relative);

// The first entry of the folder, in listing order, whose name contains ".zip"; 1 when found
// (its bare name in `name`), else 0.
int FindZipFile(const std::string& folder, std::string& name);
