#include "platform/host/HostName.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace host {

namespace {

// The longest computer name the program keeps.
constexpr size_t kMaxComputerName = 15;

std::string Env(const char* name) {
    const char* v = std::getenv(name);
    return v != nullptr ? std::string(v) : std::string();
}

// Undoes the octal escapes of /proc/self/mountinfo ("\040" for a blank).
std::string Unescape(const std::string& s) {
    std::string out;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] == '\\' && i + 3 < s.size() &&
            std::isdigit(static_cast<unsigned char>(s[i + 1])) &&
            std::isdigit(static_cast<unsigned char>(s[i + 2])) &&
            std::isdigit(static_cast<unsigned char>(s[i + 3]))) {
            out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
            i += 3;
        } else {
            out += s[i];
        }
    }
    return out;
}

struct NetworkMount {
    std::string mountPoint;
    std::string host;
};

// The host part of a mount source: "//host/share" (CIFS) or "host:/export" (NFS).
std::string SourceHost(const std::string& type, const std::string& source) {
    if (type == "cifs" || type == "smb3" || type == "smbfs") {
        size_t start = 0;
        while (start < source.size() && (source[start] == '/' || source[start] == '\\')) ++start;
        size_t end = source.find_first_of("/\\", start);
        return source.substr(start, end == std::string::npos ? std::string::npos : end - start);
    }
    if (type == "nfs" || type == "nfs4") {
        if (!source.empty() && source[0] == '[') {
            size_t close = source.find(']');
            return close == std::string::npos ? std::string() : source.substr(1, close - 1);
        }
        size_t colon = source.find(':');
        return colon == std::string::npos ? std::string() : source.substr(0, colon);
    }
    return std::string();
}

std::vector<NetworkMount> ReadNetworkMounts(bool* unreadable = nullptr) {
    std::vector<NetworkMount> mounts;
    std::ifstream in("/proc/self/mountinfo");
    if (unreadable != nullptr) *unreadable = !in;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<std::string> parts;
        std::string f;
        while (fields >> f) parts.push_back(f);
        auto dash = std::find(parts.begin(), parts.end(), "-");
        if (parts.size() < 5 || dash == parts.end() || parts.end() - dash < 3) continue;
        std::string host = SourceHost(*(dash + 1), *(dash + 2));
        if (host.empty()) continue;
        mounts.push_back({Unescape(parts[4]), NormaliseComputerName(host)});
    }
    return mounts;
}

// The path with symbolic links resolved; a file that does not exist yet is resolved through its
// folder.
std::string RealPathOf(const std::string& path) {
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer) != nullptr) return buffer;
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos) return path;
    std::string folder = slash == 0 ? "/" : path.substr(0, slash);
    if (realpath(folder.c_str(), buffer) == nullptr) return path;
    std::string resolved = buffer;
    if (resolved != "/") resolved += '/';
    return resolved + path.substr(slash + 1);
}

}  // namespace

bool IsDottedIPv4(const std::string& name) {
    int parts = 0;
    size_t i = 0;
    while (i <= name.size()) {
        size_t start = i;
        int value = 0;
        while (i < name.size() && std::isdigit(static_cast<unsigned char>(name[i]))) {
            value = value * 10 + (name[i] - '0');
            if (value > 255 || i - start >= 3) return false;
            ++i;
        }
        if (i == start) return false;
        ++parts;
        if (i == name.size()) break;
        if (name[i] != '.') return false;
        ++i;
    }
    return parts == 4;
}

std::string NormaliseComputerName(const std::string& name) {
    if (IsDottedIPv4(name)) return name;
    std::string label = name.substr(0, name.find('.'));
    if (label.size() > kMaxComputerName) label.resize(kMaxComputerName);
    for (char& c : label) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return label;
}

std::string ThisComputerName() {
    std::string set = Env("DORVALQUINTEX_COMPUTERNAME");
    if (!set.empty()) return NormaliseComputerName(set);
    char buffer[256] = {};
    if (gethostname(buffer, sizeof buffer - 1) != 0) return std::string();
    return NormaliseComputerName(buffer);
}

std::string ListenAddress() {
    return Env("DORVALQUINTEX_ADDRESS");
}

std::string ServerComputerOverride() {
    std::string set = Env("DORVALQUINTEX_SERVER");
    return set.empty() ? set : NormaliseComputerName(set);
}

std::string RemoteHostOfPath(const std::string& hostPath) {
    std::string real = RealPathOf(hostPath);
    const NetworkMount* best = nullptr;
    std::vector<NetworkMount> mounts = ReadNetworkMounts();
    for (const NetworkMount& m : mounts) {
        const std::string& mp = m.mountPoint;
        bool inside = real == mp || (real.compare(0, mp.size(), mp) == 0 &&
                                     (mp == "/" || (real.size() > mp.size() && real[mp.size()] == '/')));
        if (inside && (best == nullptr || mp.size() > best->mountPoint.size())) best = &m;
    }
    return best != nullptr ? best->host : std::string();
}

std::vector<std::string> MountedNetworkHosts(bool* unreadable) {
    std::vector<std::string> hosts;
    for (const NetworkMount& m : ReadNetworkMounts(unreadable))
        if (std::find(hosts.begin(), hosts.end(), m.host) == hosts.end()) hosts.push_back(m.host);
    return hosts;
}

}  // namespace host
