#include "install/DesktopShortcut.h"

#include "install/InstallPaths.h"
#include "platform/host/File.h"
#include "platform/host/Path.h"

#include <cstdlib>

namespace {

constexpr unsigned kLauncherMode = 0755;
constexpr size_t kUserDirsLimit = 65536;

// A host path (UTF-8) from the environment, as a program path; "" when unset or not absolute.
std::string EnvironmentFolder(const char* variable)
{
    const char* value = std::getenv(variable);
    std::string folder;
    if (value == nullptr || value[0] != '/' || !host::FromHostPath(value, folder))
        return std::string();
    return folder;
}

// The value of XDG_DESKTOP_DIR in the user-dirs file: "$HOME/..." or an absolute path.
std::string DesktopFromUserDirs(const std::string& home)
{
    std::string config = EnvironmentFolder("XDG_CONFIG_HOME");
    if (config.empty())
        config = home + "/.config";
    host::File file;
    if (!file.OpenReadOnly(config + "/user-dirs.dirs"))
        return std::string();
    std::string text(kUserDirsLimit, '\0');
    size_t got = 0;
    if (!file.ReadAt(0, text.data(), text.size(), &got))
        return std::string();
    text.resize(got);

    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#')
            continue;
        line.erase(0, first);
        const std::string key = "XDG_DESKTOP_DIR=";
        if (line.compare(0, key.size(), key) != 0)
            continue;
        std::string value = line.substr(key.size());
        while (!value.empty() && (value.back() == '\r' || value.back() == ' ' || value.back() == '\t'))
            value.pop_back();
        if (value.size() < 2 || value.front() != '"' || value.back() != '"')
            return std::string();
        value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0 && (value.size() == 5 || value[5] == '/'))
            value = home + value.substr(5);
        if (value.empty() || value[0] != '/')
            return std::string();
        std::string folder;
        return host::FromHostPath(value, folder) ? folder : std::string();
    }
    return std::string();
}

// A string value of a desktop entry.
std::string EscapeString(const std::string& text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default: out += c; break;
        }
    }
    return out;
}

// One quoted argument of an Exec= value, before the string escapes.
std::string QuoteArgument(const std::string& argument)
{
    std::string out = "\"";
    for (char c : argument) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        if (c == '%')
            out += '%';
        out += c;
    }
    return out + "\"";
}

}  // namespace

std::string GetDesktopFolder()
{
    const std::string home = GetHomeFolder();
    if (home.empty())
        return std::string();
    std::string desktop = DesktopFromUserDirs(home);
    if (desktop.empty())
        desktop = EnvironmentFolder("XDG_DESKTOP_DIR");
    if (desktop.empty())
        desktop = home + "/Desktop";
    return desktop;
}

bool BuildDesktopEntry(const std::string& folder, const std::string& programName,
                       std::string& contents)
{
    std::string hostFolder, hostProgram;
    if (!host::ToHostPath(folder, hostFolder) || hostFolder.empty() || hostFolder[0] != '/' ||
        !host::ToHostPath(host::JoinPath(folder, programName), hostProgram))
        return false;
    const std::string hostName = host::FileNamePart(hostProgram);
    while (hostFolder.size() > 1 && hostFolder.back() == '/')
        hostFolder.pop_back();
    contents = "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=" + EscapeString(hostName) + "\n"
               "Comment=" + EscapeString(hostName) + "\n"
               "Exec=" + EscapeString(QuoteArgument(hostProgram)) + "\n"
               "Path=" + EscapeString(hostFolder) + "\n"
               "Terminal=false\n";
    return true;
}

bool CreateDesktopShortcut(const std::string& folder, const std::string& programName,
                           std::string* written)
{
    std::string contents;
    const std::string desktop = GetDesktopFolder();
    if (desktop.empty() || !BuildDesktopEntry(folder, programName, contents))
        return false;
    const std::string path = host::JoinPath(desktop, programName + ".desktop");
    if (written != nullptr)
        *written = path;
    if (!EnsureFolderPath(desktop, ""))
        return false;
    // Written beside the launcher and put in place whole, so a desktop never shows half of it.
    const std::string temporary = path + ".$$$";
    host::File out;
    if (!out.Open(temporary, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways,
                  kLauncherMode))
        return false;
    bool ok = out.Write(contents.data(), contents.size()) && out.Flush();
    ok = out.Close() && ok;
    ok = ok && host::ReplaceFile(temporary, path);
    if (!ok)
        host::DeleteFile(temporary);
    return ok;
}
