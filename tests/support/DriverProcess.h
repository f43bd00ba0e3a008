#pragma once
// One dq_driver process with pipes to its stdin and stdout, for the multi-copy tests. Every
// read has a time-out, so a copy that hangs fails the test instead of stopping it; the waits
// end at the line or answer they wait for, and their time-outs are only the bound for a hang,
// generous for a loaded machine.

#include <sys/types.h>

#include <cstdint>

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
    std::vector<std::string> Command(const std::string& command, int timeoutMs = 30000);
    // Sends the query command every 50 ms until its first result is `expected`; false when it
    // is not within the time.
    bool Eventually(const std::string& query, const std::string& expected, int timeoutMs = 30000);
    // Waits for the answer of a command sent earlier.
    std::vector<std::string> Answer(const std::string& word, int timeoutMs = 30000);
    // Waits for a line starting with the prefix (also among lines already read).
    bool WaitForLine(const std::string& prefix, int timeoutMs);
    // True when the answer arrives within the time (it is then kept for Answer).
    bool HasAnswerWithin(const std::string& word, int timeoutMs);
    // Every line read so far.
    const std::vector<std::string>& Lines() const { return lines_; }
    bool SawLine(const std::string& prefix) const;
    // The last lines read, one a line, for a failure's message.
    std::string Transcript(size_t lines = 20) const;
    void Kill(int signal);
    // Stops the copy (SIGSTOP) and waits until every thread of it has stopped: until then it
    // may still answer what reaches it. False when it did not stop within the time.
    bool Pause(int timeoutMs = 30000);
    void Resume();
    // Waits for the copy to end by itself (or by a signal): its wait status, -1 when it is still
    // running after the time.
    int WaitForExit(int timeoutMs = 30000);
    // Ends it: "quit", then SIGKILL when it does not end in time.
    void Stop();

private:
    bool ReadLine(std::string& line, int timeoutMs);
    void Close();
    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    std::string partial_;
    std::vector<std::string> lines_;
    size_t consumed_ = 0;  // lines_ before this index were looked at by Answer
};

// Prepares a multi-copy run in `folder`: a working folder per address holding the users file
// that names every address, and desk n (password n, user n, level 9) registered for the database
// `name` by a copy started at the first address. False when that copy did not start or a
// registration failed.
bool PrepareCopies(const std::string& folder, const std::string& name, const std::vector<std::string>& addresses,
                   const std::vector<std::string>& passwords);

// The driver program built beside the tests.
std::string DriverPath();

// True when the copies can listen on `port` at each of the addresses: it lies below the range
// the system hands out to outgoing connections (which a busy machine may hold at any moment)
// and nothing listens on it now.
bool IsLanPortFree(uint16_t port, const std::vector<std::string>& addresses);

// A database file name of its own for one run, "<prefix><pid>_<n>", whose port is free for
// copies on the addresses, the first the server: parallel runs do not meet, and no port in use
// stops a copy's start-up. `portOf` gives the port of an identity ("<SERVER>.<FILE><EXTENSION>"
// in capitals); empty when no such name was found.
std::string ChooseLanName(const std::string& prefix, const std::string& extension,
                          const std::vector<std::string>& addresses, uint16_t (*portOf)(const std::string&));
