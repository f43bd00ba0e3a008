#pragma once
// The program-wide named lock ("DorvalquintexMutex"): an exclusive flock on a file of
// that name in $XDG_RUNTIME_DIR, or in /tmp/dorvalquintex-<uid> when that is unset.
// The lock lives as long as the object, or the process.

#include <string>

namespace host {

class SingleInstance {
public:
    explicit SingleInstance(std::string name = "DorvalquintexMutex");
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // Takes the lock. False when another holder has it (or the file cannot be made).
    bool Acquire();
    void Release();
    bool IsHeld() const { return fd_ >= 0; }

    // The folder the lock files are in (host path).
    static std::string LockFolder();

private:
    std::string name_;
    int fd_ = -1;
};

}  // namespace host
