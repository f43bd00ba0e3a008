#include "platform/host/Directory.h"

#include "platform/host/File.h"
#include "platform/host/Path.h"
#include "platform/host/Text.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <sys/stat.h>

namespace host {
namespace {

bool Match(std::string_view name, std::string_view pattern) {
    size_t n = 0, p = 0;
    size_t starP = std::string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || UpperCp1252(pattern[p]) == UpperCp1252(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

}  // namespace

bool MatchesPattern(std::string_view name, std::string_view pattern) {
    if (pattern == "*.*" || pattern == "*") return true;
    if (Match(name, pattern)) return true;
    // "name.*" also matches "name" without any extension, as on Windows.
    if (pattern.size() >= 2 && pattern.substr(pattern.size() - 2) == ".*" &&
        name.find('.') == std::string_view::npos)
        return Match(name, pattern.substr(0, pattern.size() - 2));
    return false;
}

bool ListDirectory(const std::string& pattern, std::vector<DirEntry>& out, int* skipped) {
    out.clear();
    if (skipped) *skipped = 0;
    std::string folder = DirectoryPart(pattern);
    std::string namePattern = FileNamePart(pattern);
    if (namePattern.empty()) namePattern = "*";
    // "\x" names the root, "C:\x" the drive's top folder.
    if (folder.empty() && !pattern.empty() && IsSeparator(pattern[0])) folder = "/";

    std::string hostFolder;
    if (folder.empty()) {
        hostFolder = ".";
    } else {
        ResolvedPath r = ResolvePath(folder);
        if (r.error != FileError::None) {
            SetLastFileError(r.error, 0);
            return false;
        }
        hostFolder = r.hostPath.empty() ? r.driveFolder : r.hostPath;
    }
    DIR* dir = opendir(hostFolder.c_str());
    if (dir == nullptr) {
        int err = errno;
        SetLastFileError(err == ENOENT ? FileError::PathNotFound : ClassifyErrno(err), err);
        return false;
    }
    while (dirent* e = readdir(dir)) {
        std::string hostName = e->d_name;
        if (hostName == "." || hostName == "..") continue;
        std::string name;
        if (!Utf8ToCp1252(hostName, name)) {
            if (skipped) ++*skipped;
            continue;
        }
        if (!MatchesPattern(name, namePattern)) continue;
        std::string full = hostFolder + "/" + hostName;
        struct stat st{};
        if (stat(full.c_str(), &st) != 0 && lstat(full.c_str(), &st) != 0) continue;
        DirEntry entry;
        entry.name = std::move(name);
        entry.isDirectory = S_ISDIR(st.st_mode);
        entry.size = entry.isDirectory ? 0 : static_cast<uint64_t>(st.st_size);
        entry.modified = st.st_mtime;
        out.push_back(std::move(entry));
    }
    closedir(dir);
    std::sort(out.begin(), out.end(), [](const DirEntry& a, const DirEntry& b) {
        size_t n = std::min(a.name.size(), b.name.size());
        for (size_t i = 0; i < n; ++i) {
            auto x = static_cast<unsigned char>(UpperCp1252(a.name[i]));
            auto y = static_cast<unsigned char>(UpperCp1252(b.name[i]));
            if (x != y) return x < y;
        }
        if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
        return a.name < b.name;
    });
    SetLastFileError(FileError::None, 0);
    return true;
}

}  // namespace host
