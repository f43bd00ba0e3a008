#include "platform/host/Process.h"

#include "platform/host/Path.h"
#include "platform/host/Text.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
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

ProcessResult StartProcess(const std::string& program, const std::vector<std::string>& args, bool wait,
                           const std::string* input) {
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

    int fds[2] = {-1, -1};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (input) {
        if (pipe2(fds, O_CLOEXEC) != 0) {
            result.error = SystemText(errno);
            posix_spawn_file_actions_destroy(&actions);
            return result;
        }
        posix_spawn_file_actions_adddup2(&actions, fds[0], 0);
    }
    pid_t pid = 0;
    int rc = bare ? posix_spawnp(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ)
                  : posix_spawn(&pid, exe.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (input) close(fds[0]);
    if (rc != 0) {
        if (input) close(fds[1]);
        result.error = SystemText(rc);
        return result;
    }
    result.started = true;
    if (input) {
        // A reader that goes away early must not end this program with SIGPIPE.
        sigset_t pipeSet, oldSet;
        sigemptyset(&pipeSet);
        sigaddset(&pipeSet, SIGPIPE);
        pthread_sigmask(SIG_BLOCK, &pipeSet, &oldSet);
        size_t done = 0;
        while (done < input->size()) {
            ssize_t n = write(fds[1], input->data() + done, input->size() - done);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) break;
            done += static_cast<size_t>(n);
        }
        close(fds[1]);
        timespec zero{0, 0};
        while (sigtimedwait(&pipeSet, nullptr, &zero) > 0) {
        }
        pthread_sigmask(SIG_SETMASK, &oldSet, nullptr);
    }
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

bool FindProgram(const std::string& program) {
    if (program.empty()) return false;
    bool bare = program.find_first_of("\\/") == std::string::npos && DriveLetterOf(program) == 0;
    if (!bare) {
        std::string hostPath;
        return ToHostPath(program, hostPath) && access(hostPath.c_str(), X_OK) == 0;
    }
    const char* path = getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    std::string name = Cp1252ToUtf8(program);
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        // An empty entry of PATH is the current folder.
        const std::string full = (end > start ? dirs.substr(start, end - start) : std::string(".")) + "/" + name;
        struct stat st;
        if (stat(full.c_str(), &st) == 0 && S_ISREG(st.st_mode) && access(full.c_str(), X_OK) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

namespace {
std::vector<std::string>* g_openRecorder = nullptr;
}  // namespace

void test::SetOpenRecorder(std::vector<std::string>* record) { g_openRecorder = record; }

bool OpenWithDesktop(const std::string& fileOrUrl) {
    if (g_openRecorder) {
        g_openRecorder->push_back(fileOrUrl);
        return true;
    }
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
