#include "install/InstallPaths.h"

#include "common/DataPaths.h"
#include "platform/host/Drives.h"
#include "platform/host/File.h"
#include "platform/host/Path.h"
#include "platform/host/Process.h"

#include <cstdlib>
#include <vector>

namespace {

std::string Trim(const std::string& text)
{
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

bool IsDrivePath(const std::string& path)
{
    return path.size() >= 3 && host::DriveLetterOf(path) != 0 && host::IsSeparator(path[2]);
}

// Makes one folder and everything above it that is missing.
bool MakeFolders(const std::string& path)
{
    if (path.empty() || host::FolderExists(path))
        return true;
    std::string trimmed = path;
    while (trimmed.size() > 1 && host::IsSeparator(trimmed.back()))
        trimmed.pop_back();
    if (trimmed.size() == 2 && host::DriveLetterOf(trimmed) != 0)
        return host::FolderExists(trimmed + "\\");  // a drive's root: there or not
    if (host::FolderExists(trimmed))
        return true;
    const std::string parent = host::DirectoryPart(trimmed);
    if (!parent.empty() && parent != trimmed && !MakeFolders(parent))
        return false;
    return host::MakeDirectory(trimmed) || host::FolderExists(trimmed);
}

}  // namespace

std::string GetInstallerExePath()
{
    return host::ExecutablePath();
}

std::string GetInstallerFolder()
{
    return ToDriveFolder(host::DirectoryPart(GetInstallerExePath()));
}

std::string ToDriveFolder(const std::string& folder)
{
    std::string unchanged = folder;
    if (unchanged.empty() || !host::IsSeparator(unchanged.back()))
        unchanged += host::DriveLetterOf(folder) != 0 || folder.find('/') == std::string::npos
                         ? '\\'
                         : '/';
    std::string hostFolder;
    if (host::DriveLetterOf(folder) != 0 || !host::ToHostPath(folder, hostFolder))
        return unchanged;
    hostFolder = WithoutTrailingSlash(hostFolder);

    const host::DriveEntry* best = nullptr;
    std::string bestFolder;
    const std::vector<host::DriveEntry> drives = host::Drives::All();
    for (const host::DriveEntry& drive : drives) {
        const std::string driveFolder = WithoutTrailingSlash(drive.folder);
        if (driveFolder.empty() || driveFolder.size() <= bestFolder.size())
            continue;
        if (hostFolder == driveFolder ||
            (hostFolder.compare(0, driveFolder.size(), driveFolder) == 0 &&
             (driveFolder == "/" || hostFolder[driveFolder.size()] == '/'))) {
            best = &drive;
            bestFolder = driveFolder;
        }
    }
    if (best == nullptr)
        return unchanged;

    std::string rest = hostFolder.substr(bestFolder.size());
    while (!rest.empty() && rest.front() == '/')
        rest.erase(rest.begin());
    std::string programRest;
    if (!host::FromHostPath(rest, programRest))
        return unchanged;
    for (char& c : programRest)
        if (c == '/')
            c = '\\';
    std::string result = std::string(1, best->letter) + ":\\" + programRest;
    if (!programRest.empty())
        result += '\\';
    return result;
}

std::string GetHomeFolder()
{
    const char* home = std::getenv("HOME");
    std::string folder;
    if (home == nullptr || home[0] != '/' || !host::FromHostPath(home, folder))
        return std::string();
    return WithoutTrailingSlash(folder);
}

std::string GetDefaultTargetFolder()
{
    const std::string home = GetHomeFolder();
    return home.empty() ? std::string() : host::JoinPath(home, kProgramName);
}

bool CheckTargetPath(const std::string& typed, std::string& folder, std::string& message)
{
    std::string path = Trim(typed);
    if (path.empty()) {
        message = "No path name given";
        return false;
    }
    if (path == "~" || path.compare(0, 2, "~/") == 0) {
        const std::string home = GetHomeFolder();
        if (!home.empty())
            path = home + path.substr(1);
    }
    if (path.find_first_of("\\/") == std::string::npos) {
        message = "Invalid path";
        return false;
    }
    if (path[0] != '/' && !IsDrivePath(path)) {
        const std::string home = GetHomeFolder();
        message = "Invalid path, should have format " +
                  host::JoinPath(home.empty() ? "/home/user" : home, "FolderName");
        return false;
    }
    while (path.size() > 1 && host::IsSeparator(path.back()) &&
           !(path.size() == 3 && IsDrivePath(path)))
        path.pop_back();
    folder = path;
    message.clear();
    return true;
}

bool EnsureFolderPath(const std::string& root, const std::string& relative)
{
    if (!MakeFolders(root))
        return false;
    return relative.empty() || MakeFolders(host::JoinPath(root, relative));
}

int FindZipFile(const std::string& folder, std::string& name)
{
    std::vector<std::string> names, dates;
    ListFilesWithDates(host::JoinPath(folder, "*.*"), names, dates, 0);
    for (const std::string& entry : names) {
        if (entry.find(".zip") != std::string::npos) {
            name = entry;
            return 1;
        }
    }
    return 0;
}
