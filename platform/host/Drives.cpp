#include "platform/host/Drives.h"

#include "platform/host/File.h"
#include "platform/host/Path.h"

#include <cctype>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <mutex>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace host {
namespace {

constexpr const char* kDrivesVariable = "DORVALQUINTEX_DRIVES";

struct TestMap {
    std::mutex mutex;
    bool set = false;
    std::vector<DriveEntry> entries;
};

TestMap& TheTestMap() {
    static TestMap map;
    return map;
}

std::string DataFolder() {
    if (const char* x = getenv("XDG_DATA_HOME"); x != nullptr && x[0] == '/') return x;
    std::string home;
    if (const char* h = getenv("HOME"); h != nullptr && h[0] != 0) {
        home = h;
    } else if (passwd* pw = getpwuid(getuid()); pw != nullptr && pw->pw_dir != nullptr) {
        home = pw->pw_dir;
    }
    return home + "/.local/share";
}

std::vector<DriveEntry> Defaults() {
    std::string base = DataFolder() + "/Dorvalquintex/drives/";
    return {
        {'A', base + "a", DriveType::Removable, kDisketteCapacity},
        {'B', base + "b", DriveType::Removable, kDisketteCapacity},
        {'C', base + "c", DriveType::Fixed, 0},
    };
}

std::string Trim(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos) return std::string();
    size_t e = s.find_last_not_of(" \t");
    return s.substr(b, e - b + 1);
}

std::vector<DriveEntry> CurrentMap() {
    {
        TestMap& t = TheTestMap();
        std::lock_guard<std::mutex> lock(t.mutex);
        if (t.set) return t.entries;
    }
    std::vector<DriveEntry> map = Defaults();
    if (const char* v = getenv(kDrivesVariable); v != nullptr) {
        std::vector<DriveEntry> fromEnv;
        // A malformed variable keeps what it got right before the bad entry.
        Drives::Parse(v, fromEnv);
        for (const DriveEntry& e : fromEnv) {
            bool replaced = false;
            for (DriveEntry& d : map)
                if (d.letter == e.letter) {
                    d = e;
                    replaced = true;
                }
            if (!replaced) map.push_back(e);
        }
    }
    return map;
}

// Bytes held by the files under a folder.
uint64_t FolderUsage(const std::string& folder) {
    uint64_t total = 0;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return 0;
    while (dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name == "." || name == "..") continue;
        std::string p = folder + "/" + name;
        struct stat st{};
        if (lstat(p.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode))
            total += FolderUsage(p);
        else if (S_ISREG(st.st_mode))
            total += static_cast<uint64_t>(st.st_size);
    }
    closedir(dir);
    return total;
}

}  // namespace

bool Drives::Parse(const std::string& text, std::vector<DriveEntry>& out) {
    out.clear();
    size_t i = 0;
    while (i <= text.size()) {
        size_t j = text.find(';', i);
        if (j == std::string::npos) j = text.size();
        std::string item = Trim(text.substr(i, j - i));
        i = j + 1;
        if (item.empty()) {
            if (j == text.size()) break;
            continue;
        }
        size_t eq = item.find('=');
        if (eq == std::string::npos) return false;
        std::string key = Trim(item.substr(0, eq));
        std::string folder = item.substr(eq + 1);
        if (folder.empty() || key.empty() || !std::isalpha(static_cast<unsigned char>(key[0])))
            return false;
        DriveEntry d;
        d.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(key[0])));
        d.folder = folder;
        std::string opts = key.substr(1);
        if (!opts.empty()) {
            if (opts[0] != ',') return false;
            opts = opts.substr(1);
            size_t c = opts.find(',');
            std::string type = Trim(opts.substr(0, c));
            std::string cap = c == std::string::npos ? std::string() : Trim(opts.substr(c + 1));
            for (char& ch : type) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            if (type == "removable") d.type = DriveType::Removable;
            else if (type == "fixed" || type.empty()) d.type = DriveType::Fixed;
            else return false;
            if (!cap.empty()) {
                char* end = nullptr;
                errno = 0;
                unsigned long long v = strtoull(cap.c_str(), &end, 10);
                if (errno != 0 || end == cap.c_str() || *end != 0 || cap[0] == '-') return false;
                d.capacity = v;
            }
        }
        out.push_back(d);
    }
    return true;
}

std::optional<DriveEntry> Drives::Find(char letter) {
    char up = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const DriveEntry& d : CurrentMap())
        if (d.letter == up) return d;
    return std::nullopt;
}

std::vector<DriveEntry> Drives::All() {
    std::vector<DriveEntry> map = CurrentMap();
    std::sort(map.begin(), map.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return a.letter < b.letter; });
    return map;
}

DriveType Drives::TypeOf(const std::string& programPath) {
    char letter = DriveLetterOf(programPath);
    if (letter == 0) return DriveType::Fixed;
    auto d = Find(letter);
    return d ? d->type : DriveType::NoRootDir;
}

bool Drives::FreeSpace(const std::string& programPath, uint64_t& freeBytes, uint64_t* totalBytes) {
    freeBytes = 0;
    if (totalBytes) *totalBytes = 0;
    ResolvedPath r = ResolvePath(programPath);
    if (r.error != FileError::None) {
        SetLastFileError(r.error, 0);
        return false;
    }
    if (r.capacity > 0) {
        uint64_t used = FolderUsage(r.driveFolder);
        freeBytes = used >= r.capacity ? 0 : r.capacity - used;
        if (totalBytes) *totalBytes = r.capacity;
        return true;
    }
    // The nearest existing folder of the path tells the file system.
    std::string p = r.hostPath.empty() ? (r.driveFolder.empty() ? std::string(".") : r.driveFolder)
                                       : r.hostPath;
    struct statvfs vfs{};
    while (statvfs(p.c_str(), &vfs) != 0) {
        int err = errno;
        size_t slash = p.find_last_of('/');
        if ((err != ENOENT && err != ENOTDIR) || p == "." || p == "/") {
            SetLastFileError(ClassifyErrno(err), err);
            return false;
        }
        if (slash == std::string::npos) p = ".";
        else if (slash == 0) p = "/";
        else p = p.substr(0, slash);
    }
    freeBytes = static_cast<uint64_t>(vfs.f_bavail) * vfs.f_frsize;
    if (totalBytes) *totalBytes = static_cast<uint64_t>(vfs.f_blocks) * vfs.f_frsize;
    return true;
}

void Drives::SetMapForTesting(const std::vector<DriveEntry>& entries) {
    TestMap& t = TheTestMap();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.set = true;
    t.entries = entries;
    for (DriveEntry& d : t.entries)
        d.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(d.letter)));
}

void Drives::ClearMapForTesting() {
    TestMap& t = TheTestMap();
    std::lock_guard<std::mutex> lock(t.mutex);
    t.set = false;
    t.entries.clear();
}

}  // namespace host
