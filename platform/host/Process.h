#pragma once
// Starting other programs: posix_spawn with an argument vector, never a shell.

#include <string>
#include <vector>

namespace host {

struct ProcessResult {
    bool started = false;
    int exitCode = -1;      // when waited for; -1 when it ended by a signal
    std::string error;      // system text when not started (Windows-1252)
};

// Starts `program` (a program path; a bare name is looked up in PATH) with `args` (the
// arguments after the program name, Windows-1252, passed on as UTF-8). With wait, returns
// after the program ends. `input`, when given, is written to the program's standard input,
// which is then closed (a program that stops reading early loses the rest, nothing more).
ProcessResult StartProcess(const std::string& program, const std::vector<std::string>& args,
                           bool wait, const std::string* input = nullptr);
// Whether a program can be started: a bare name found in PATH, or an executable path.
bool FindProgram(const std::string& program);

// Opens a file (program path) or URL with the desktop's opener (xdg-open). True when the
// opener was started.
bool OpenWithDesktop(const std::string& fileOrUrl);

namespace test {
// While set, OpenWithDesktop starts nothing: it appends what it was asked to open to `record`
// and reports the opener started. Null puts the opener back.
void SetOpenRecorder(std::vector<std::string>* record);
}  // namespace test

// The program's own executable, as a program path ("/home/ann/Dorvalquintex/Dorvalquintex").
std::string ExecutablePath();
// Its folder.
std::string ExecutableFolder();

}  // namespace host
