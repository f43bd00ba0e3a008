#include "platform/host/SingleInstance.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace host {

SingleInstance::SingleInstance(std::string name) : name_(std::move(name)) {}

SingleInstance::~SingleInstance() { Release(); }

std::string SingleInstance::LockFolder() {
    if (const char* x = getenv("XDG_RUNTIME_DIR"); x != nullptr && x[0] == '/') return x;
    return "/tmp/dorvalquintex-" + std::to_string(static_cast<unsigned long>(getuid()));
}

bool SingleInstance::Acquire() {
    if (fd_ >= 0) return true;
    std::string folder = LockFolder();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    // A folder under /tmp must be ours and private, or another user could hold our lock.
    struct stat st{};
    if (lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != getuid())
        return false;
    std::string path = folder + "/" + name_;
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return false;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR) continue;
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

void SingleInstance::Release() {
    if (fd_ < 0) return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

}  // namespace host
