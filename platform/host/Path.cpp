#include "platform/host/Path.h"

#include "platform/host/Drives.h"
#include "platform/host/File.h"
#include "platform/host/Text.h"

#include <cctype>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace host {
namespace {

bool PathExists(const std::string& p) {
    struct stat st{};
    return lstat(p.c_str(), &st) == 0;
}

bool IsFolder(const std::string& p) {
    struct stat st{};
    return stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The entry of `folder` named `component` without regard to case, when exactly one is.
bool FindNoCase(const std::string& folder, const std::string& component, std::string& found) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return false;
    std::string want;
    bool wantOk = Utf8ToCp1252(component, want);
    int matches = 0;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string cp;
        if (!wantOk || !Utf8ToCp1252(name, cp)) continue;
        if (EqualsNoCase(cp, want)) {
            found = name;
            ++matches;
        }
    }
    closedir(dir);
    return matches == 1;
}

// Appends the components of `rest` (UTF-8, '/' separated) to `base`, matching each one
// that is not there as written against the folder's entries without regard to case.
std::string AppendComponents(std::string base, const std::string& rest) {
    size_t i = 0;
    bool missing = false;  // once a component is missing, the rest cannot be there
    while (i <= rest.size()) {
        size_t j = rest.find('/', i);
        if (j == std::string::npos) j = rest.size();
        std::string part = rest.substr(i, j - i);
        i = j + 1;
        if (part.empty()) {
            if (j == rest.size()) break;
            continue;
        }
        std::string next = base.empty() ? part : (base.back() == '/' ? base + part : base + "/" + part);
        if (!missing && part != "." && part != ".." && !PathExists(next)) {
            std::string found;
            if (FindNoCase(base, part, found))
                next = base.empty() ? found : (base.back() == '/' ? base + found : base + "/" + found);
            else
                missing = true;
        }
        base = std::move(next);
    }
    return base;
}

}  // namespace

char DriveLetterOf(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0])))
        return static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
    return 0;
}

ResolvedPath ResolvePath(std::string_view programPath) {
    ResolvedPath r;
    r.error = FileError::None;
    std::string utf8 = Cp1252ToUtf8(programPath);
    for (char& c : utf8)
        if (c == '\\') c = '/';

    char letter = DriveLetterOf(programPath);
    if (letter != 0) {
        auto drive = Drives::Find(letter);
        if (!drive) {
            r.error = FileError::PathNotFound;
            return r;
        }
        r.driveFolder = drive->folder;
        r.capacity = drive->capacity;
        if (drive->type == DriveType::Removable && !IsFolder(drive->folder)) {
            r.error = FileError::DeviceNotReady;
            return r;
        }
        std::string base = drive->folder;
        while (base.size() > 1 && base.back() == '/') base.pop_back();
        r.hostPath = AppendComponents(base, utf8.substr(2));
        return r;
    }
    if (!utf8.empty() && utf8[0] == '/') {
        r.hostPath = AppendComponents("/", utf8.substr(1));
        return r;
    }
    r.hostPath = AppendComponents("", utf8);
    return r;
}

bool ToHostPath(std::string_view programPath, std::string& out) {
    ResolvedPath r = ResolvePath(programPath);
    if (r.error == FileError::PathNotFound) {
        out.clear();
        return false;
    }
    out = r.hostPath.empty() && !r.driveFolder.empty() ? r.driveFolder : r.hostPath;
    return true;
}

bool FromHostPath(std::string_view hostPath, std::string& out) {
    return Utf8ToCp1252(hostPath, out);
}

std::string DirectoryPart(std::string_view path) {
    size_t pos = path.find_last_of("\\/");
    if (pos == std::string_view::npos) return DriveLetterOf(path) ? std::string(path.substr(0, 2)) : std::string();
    if (pos == 2 && DriveLetterOf(path)) return std::string(path.substr(0, 2));
    return std::string(path.substr(0, pos));
}

std::string FileNamePart(std::string_view path) {
    size_t pos = path.find_last_of("\\/");
    if (pos == std::string_view::npos) return std::string(path.substr(DriveLetterOf(path) ? 2 : 0));
    return std::string(path.substr(pos + 1));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    if (folder.empty()) return std::string(name);
    if (name.empty()) return std::string(folder);
    std::string out(folder);
    bool folderEnds = IsSeparator(out.back()) || (out.size() == 2 && DriveLetterOf(out));
    size_t skip = 0;
    while (skip < name.size() && IsSeparator(name[skip])) ++skip;
    if (!folderEnds) {
        bool slashStyle = out.find('/') != std::string::npos && out.find('\\') == std::string::npos;
        out += slashStyle ? '/' : '\\';
    }
    out.append(name.substr(skip));
    return out;
}

bool CurrentFolder(std::string& out) {
    std::vector<char> buf(4096);
    if (getcwd(buf.data(), buf.size()) == nullptr) {
        SetLastFileError(ClassifyErrno(errno), errno);
        return false;
    }
    if (!FromHostPath(buf.data(), out)) {
        SetLastFileError(FileError::PathNotFound, 0);
        return false;
    }
    return true;
}

bool SetCurrentFolder(std::string_view programPath) {
    ResolvedPath r = ResolvePath(programPath);
    if (r.error != FileError::None) {
        SetLastFileError(r.error, 0);
        return false;
    }
    std::string target = r.hostPath.empty() ? r.driveFolder : r.hostPath;
    if (chdir(target.c_str()) != 0) {
        SetLastFileError(ClassifyErrno(errno), errno);
        return false;
    }
    return true;
}

}  // namespace host
