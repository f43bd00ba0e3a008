#include "platform/host/Process.h"

#include "platform/host/Path.h"
#include "platform/host/Text.h"

#include <cerrno>
#include <cstring>
#include <locale.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace host {
namespace {

std::string SystemText(int err) {
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const char* text = c != static_cast<locale_t>(0) ? strerror_l(err, c) : strerror(err);
    return Utf8ToCp1252Lossy(text ? text : "Unknown error");
}

}  // namespace

ProcessResult StartProcess(const std::string& program, const std::vector<std::string>& args, bool wait) {
    ProcessResult result;
    if (program.empty()) {
        result.error = SystemText(ENOENT);
        return result;
    }
    // A bare name is looked up in PATH; anything with a folder is a path.
    bool bare = program.find_first_of("\\/") == std::string::npos && DriveLetterOf(program) == 0;
    std::string exe;
    if (bare) {
        exe = Cp1252ToUtf8(program);
    } else if (!ToHostPath(program, exe)) {
        result.error = SystemText(ENOENT);
        return result;
    }
    std::vector<std::string> argv8;
    argv8.push_back(exe);
    for (const std::string& a : args) argv8.push_back(Cp1252ToUtf8(a));
    std::vector<char*> argv;
    for (std::string& a : argv8) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_t pid = 0;
    int rc = bare ? posix_spawnp(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ)
                  : posix_spawn(&pid, exe.c_str(), nullptr, nullptr, argv.data(), environ);
    if (rc != 0) {
        result.error = SystemText(rc);
        return result;
    }
    result.started = true;
    if (!wait) {
        // Reaped in the background so that it leaves no zombie behind.
        std::thread([pid] {
            int st = 0;
            while (waitpid(pid, &st, 0) < 0 && errno == EINTR) {
            }
        }).detach();
        return result;
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            result.exitCode = -1;
            return result;
        }
    }
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

bool OpenWithDesktop(const std::string& fileOrUrl) {
    // URLs go as they are; file names are resolved to host paths first.
    bool url = fileOrUrl.find("://") != std::string::npos || fileOrUrl.rfind("mailto:", 0) == 0;
    std::string target = fileOrUrl;
    if (!url) {
        std::string hostPath;
        if (!ToHostPath(fileOrUrl, hostPath)) return false;
        if (!FromHostPath(hostPath, target)) return false;
    }
    return StartProcess("xdg-open", {target}, false).started;
}

std::string ExecutablePath() {
    std::vector<char> buf(4096);
    ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
    if (n <= 0) return std::string();
    std::string out;
    if (!FromHostPath(std::string_view(buf.data(), static_cast<size_t>(n)), out)) return std::string();
    return out;
}

std::string ExecutableFolder() { return DirectoryPart(ExecutablePath()); }

}  // namespace host
