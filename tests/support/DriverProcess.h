#pragma once
// One dq_driver process with pipes to its stdin and stdout, for the multi-copy tests. Every
// read has a time-out, so a copy that hangs fails the test instead of stopping it.

#include <sys/types.h>

#include <string>
#include <vector>

class DriverProcess {
public:
    // Starts the driver as computer `address` (named and bound so), naming `server` as the
    // server computer, in the working folder `folder`.
    DriverProcess(const std::string& address, const std::string& server, const std::string& folder);
    ~DriverProcess();
    DriverProcess(const DriverProcess&) = delete;
    DriverProcess& operator=(const DriverProcess&) = delete;

    bool Started() const { return pid_ > 0; }
    void Send(const std::string& command);
    // Sends the command and waits for its "OK <first word>" line; gives the words after the
    // command word, or {"TIMEOUT"} / {"ERR"}.
    std::vector<std::string> Command(const std::string& command, int timeoutMs = 15000);
    // Sends the query command every 50 ms until its first result is `expected`; false when it
    // is not within the time.
    bool Eventually(const std::string& query, const std::string& expected, int timeoutMs = 10000);
    // Waits for the answer of a command sent earlier.
    std::vector<std::string> Answer(const std::string& word, int timeoutMs = 15000);
    // Waits for a line starting with the prefix (also among lines already read).
    bool WaitForLine(const std::string& prefix, int timeoutMs);
    // True when the answer arrives within the time (it is then kept for Answer).
    bool HasAnswerWithin(const std::string& word, int timeoutMs);
    // Every line read so far.
    const std::vector<std::string>& Lines() const { return lines_; }
    bool SawLine(const std::string& prefix) const;
    void Kill(int signal);
    // Ends it: "quit", then SIGKILL when it does not end in time.
    void Stop();

private:
    bool ReadLine(std::string& line, int timeoutMs);
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string partial_;
    std::vector<std::string> lines_;
    size_t consumed_ = 0;  // lines_ before this index were looked at by Answer
};

// The driver program built beside the tests.
std::string DriverPath();
