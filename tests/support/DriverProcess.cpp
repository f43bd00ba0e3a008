#include "tests/support/DriverProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace {

int64_t NowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    std::string w;
    while (in >> w) words.push_back(w);
    return words;
}

}  // namespace

bool IsLanPortFree(uint16_t port, const std::vector<std::string>& addresses) {
    int lowestEphemeral = 32768;
    std::ifstream("/proc/sys/net/ipv4/ip_local_port_range") >> lowestEphemeral;
    if (port < 1024 || port >= lowestEphemeral) return false;
    for (const std::string& address : addresses) {
        int s = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (s < 0) return false;
        int yes = 1;
        setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
        sockaddr_in sa{};
        sa.sin_family = AF_INET;
        sa.sin_port = htons(port);
        bool free = inet_pton(AF_INET, address.c_str(), &sa.sin_addr) == 1 &&
                    bind(s, reinterpret_cast<sockaddr*>(&sa), sizeof sa) == 0 && listen(s, 1) == 0;
        close(s);
        if (!free) return false;
    }
    return true;
}

bool PrepareCopies(const std::string& folder, const std::string& name, const std::vector<std::string>& addresses,
                   const std::vector<std::string>& passwords) {
    for (const std::string& a : addresses) {
        const std::string work = folder + "/" + a;
        std::filesystem::create_directory(work);
        std::ofstream usr(work + "/Dorvalquintex.usr");
        for (const std::string& b : addresses) usr << b << "\r\n";
    }
    DriverProcess creator(addresses.front(), addresses.front(), folder);
    if (!creator.Started()) return false;
    for (size_t i = 0; i < passwords.size(); ++i)
        if (!creator.Command("register " + name + " desk" + std::to_string(i + 1) + " " + passwords[i] + " " +
                             std::to_string(i + 1) + " 9")
                 .empty())
            return false;
    return true;
}

std::string ChooseLanName(const std::string& prefix, const std::string& extension,
                          const std::vector<std::string>& addresses, uint16_t (*portOf)(const std::string&)) {
    std::random_device rd;
    for (int tries = 0; tries < 1000; ++tries) {
        std::string name = prefix + std::to_string(getpid()) + "_" + std::to_string(rd() % 100000);
        std::string identity = addresses.at(0) + "." + name + extension;
        for (char& c : identity) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (IsLanPortFree(portOf(identity), addresses)) return name;
    }
    return std::string();
}

std::string DriverPath() {
    return std::string(DQ_BINARY_DIR) + "/tests/driver/dq_driver";
}

DriverProcess::DriverProcess(const std::string& address, const std::string& server,
                             const std::string& folder) {
    int toChild[2], fromChild[2];
    if (pipe2(toChild, O_CLOEXEC) != 0) return;
    if (pipe2(fromChild, O_CLOEXEC) != 0) return;
    std::string program = DriverPath();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(toChild[0], 0);
        dup2(fromChild[1], 1);
        if (chdir(folder.c_str()) != 0) _exit(126);
        setenv("DORVALQUINTEX_COMPUTERNAME", address.c_str(), 1);
        setenv("DORVALQUINTEX_ADDRESS", address.c_str(), 1);
        setenv("DORVALQUINTEX_SERVER", server.c_str(), 1);
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(toChild[0]);
    close(fromChild[1]);
    if (pid < 0) {
        close(toChild[1]);
        close(fromChild[0]);
        return;
    }
    pid_ = pid;
    in_ = toChild[1];
    out_ = fromChild[0];
}

DriverProcess::~DriverProcess() {
    Stop();
}

void DriverProcess::Send(const std::string& command) {
    if (in_ < 0) return;
    std::string line = command + "\n";
    // A copy that died closes the pipe: no SIGPIPE for the test.
    signal(SIGPIPE, SIG_IGN);
    (void)!write(in_, line.data(), line.size());
}

bool DriverProcess::ReadLine(std::string& line, int timeoutMs) {
    int64_t until = NowMs() + timeoutMs;
    for (;;) {
        size_t lf = partial_.find('\n');
        if (lf != std::string::npos) {
            line = partial_.substr(0, lf);
            partial_.erase(0, lf + 1);
            lines_.push_back(line);
            return true;
        }
        int64_t left = until - NowMs();
        if (left <= 0 || out_ < 0) return false;
        pollfd p{out_, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0) continue;
        char buffer[4096];
        ssize_t n = read(out_, buffer, sizeof buffer);
        if (n <= 0) {
            close(out_);
            out_ = -1;
            return false;
        }
        partial_.append(buffer, static_cast<size_t>(n));
    }
}

std::vector<std::string> DriverProcess::Answer(const std::string& word, int timeoutMs) {
    int64_t until = NowMs() + timeoutMs;
    for (;;) {
        for (; consumed_ < lines_.size(); ++consumed_) {
            std::vector<std::string> w = Words(lines_[consumed_]);
            if (w.size() >= 2 && (w[0] == "OK" || w[0] == "ERR") && w[1] == word) {
                ++consumed_;
                if (w[0] == "ERR") return {"ERR"};
                return std::vector<std::string>(w.begin() + 2, w.end());
            }
        }
        std::string line;
        int64_t left = until - NowMs();
        if (left <= 0 || !ReadLine(line, static_cast<int>(left))) {
            if (NowMs() >= until || out_ < 0) return {"TIMEOUT"};
        }
    }
}

std::vector<std::string> DriverProcess::Command(const std::string& command, int timeoutMs) {
    Send(command);
    std::vector<std::string> w = Words(command);
    return Answer(w.empty() ? "" : w[0], timeoutMs);
}

bool DriverProcess::Eventually(const std::string& query, const std::string& expected, int timeoutMs) {
    int64_t until = NowMs() + timeoutMs;
    while (NowMs() < until) {
        std::vector<std::string> r = Command(query);
        if (!r.empty() && r[0] == expected) return true;
        usleep(50 * 1000);
    }
    return false;
}

bool DriverProcess::HasAnswerWithin(const std::string& word, int timeoutMs) {
    int64_t until = NowMs() + timeoutMs;
    for (;;) {
        for (size_t i = consumed_; i < lines_.size(); ++i) {
            std::vector<std::string> w = Words(lines_[i]);
            if (w.size() >= 2 && w[0] == "OK" && w[1] == word) return true;
        }
        std::string line;
        int64_t left = until - NowMs();
        if (left <= 0) return false;
        if (!ReadLine(line, static_cast<int>(left)) && out_ < 0) return false;
    }
}

bool DriverProcess::SawLine(const std::string& prefix) const {
    for (const std::string& l : lines_)
        if (l.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
}

std::string DriverProcess::Transcript(size_t lines) const {
    std::string text;
    for (size_t i = lines_.size() > lines ? lines_.size() - lines : 0; i < lines_.size(); ++i)
        text += "\n  " + lines_[i];
    return text;
}

bool DriverProcess::WaitForLine(const std::string& prefix, int timeoutMs) {
    int64_t until = NowMs() + timeoutMs;
    for (;;) {
        if (SawLine(prefix)) return true;
        std::string line;
        int64_t left = until - NowMs();
        if (left <= 0) return false;
        if (!ReadLine(line, static_cast<int>(left)) && out_ < 0) return SawLine(prefix);
    }
}

void DriverProcess::Kill(int sig) {
    if (pid_ > 0) kill(pid_, sig);
}

bool DriverProcess::Pause(int timeoutMs) {
    if (pid_ <= 0 || kill(pid_, SIGSTOP) != 0) return false;
    int64_t until = NowMs() + timeoutMs;
    for (;;) {
        int status = 0;
        pid_t done = waitpid(pid_, &status, WUNTRACED | WNOHANG);
        if (done == pid_ && WIFSTOPPED(status)) return true;
        if (done != 0 || NowMs() >= until) return false;
        usleep(2000);
    }
}

void DriverProcess::Resume() {
    if (pid_ > 0) kill(pid_, SIGCONT);
}

int DriverProcess::WaitForExit(int timeoutMs) {
    if (pid_ <= 0) return -1;
    int64_t until = NowMs() + timeoutMs;
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) break;
        if (done < 0 || NowMs() >= until) return -1;
        // Its last lines, and the end of the pipe when it is gone.
        std::string line;
        if (out_ < 0 || !ReadLine(line, 20)) usleep(5000);
    }
    pid_ = -1;
    Close();
    return status;
}

void DriverProcess::Close() {
    if (in_ >= 0) close(in_);
    if (out_ >= 0) close(out_);
    in_ = out_ = -1;
}

void DriverProcess::Stop() {
    if (pid_ <= 0) {
        Close();
        return;
    }
    Send("quit");
    int status = 0;
    int64_t until = NowMs() + 5000;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
        if (NowMs() > until) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
            break;
        }
        std::string line;
        if (!ReadLine(line, 50)) usleep(10000);
    }
    pid_ = -1;
    Close();
}
