#include "platform/host/File.h"

#include "platform/host/Drives.h"
#include "platform/host/Path.h"
#include "platform/host/Text.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <limits>
#include <locale.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace host {
namespace {

struct LastError {
    FileError error = FileError::None;
    int err = 0;
};
thread_local LastError tLastError;

struct Injection {
    FileError error;
    int count;  // < 0: until cleared
    FileOp op;
};

struct Injections {
    std::mutex mutex;
    std::vector<Injection> list;
};

Injections& TheInjections() {
    static Injections inj;
    return inj;
}

// An injected error for an operation of kind `op`, consuming one use.
bool TakeInjected(FileOp op, FileError& error) {
    Injections& inj = TheInjections();
    std::lock_guard<std::mutex> lock(inj.mutex);
    for (auto it = inj.list.begin(); it != inj.list.end(); ++it) {
        if (it->op != FileOp::Any && it->op != op) continue;
        error = it->error;
        if (it->count > 0 && --it->count == 0) inj.list.erase(it);
        return true;
    }
    return false;
}

// errno value that stands for an error class in texts.
int ErrnoOf(FileError e) {
    switch (e) {
    case FileError::Exists: return EEXIST;
    case FileError::DiskFull: return ENOSPC;
    case FileError::NotFound: return ENOENT;
    case FileError::PathNotFound: return ENOENT;
    case FileError::AccessDenied: return EACCES;
    case FileError::DeviceNotReady: return ENOMEDIUM;
    case FileError::LockViolation: return EAGAIN;
    default: return EIO;
    }
}

std::string ErrorText(FileError e, int err) {
    switch (e) {
    case FileError::None: return "No errors";
    case FileError::PathNotFound:
        if (err == 0 || err == ENOENT) return "The path was not found";
        break;
    case FileError::DeviceNotReady:
        if (err == 0) return "The device is not ready";
        break;
    case FileError::LockViolation:
        if (err == 0 || err == EAGAIN || err == EACCES)
            return "Another process has locked a portion of the file";
        break;
    default:
        break;
    }
    if (err == 0) err = ErrnoOf(e);
    static locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    const char* text = c != static_cast<locale_t>(0) ? strerror_l(err, c) : strerror(err);
    return Utf8ToCp1252Lossy(text ? text : "Unknown error");
}

void Record(FileError e, int err) {
    tLastError.error = e;
    tLastError.err = err;
}

// Classifies a failed path operation's errno; ENOENT with a missing folder is
// PathNotFound, as on Windows.
FileError ClassifyPathErrno(int err, const std::string& hostPath) {
    if (err == ENOENT) {
        size_t slash = hostPath.find_last_of('/');
        if (slash != std::string::npos && slash > 0) {
            struct stat st{};
            std::string parent = hostPath.substr(0, slash);
            if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) return FileError::PathNotFound;
        }
        return FileError::NotFound;
    }
    return ClassifyErrno(err);
}

// Resolves a program path for an operation; records the error when it cannot.
bool Resolve(const std::string& path, ResolvedPath& r) {
    r = ResolvePath(path);
    if (r.error != FileError::None) {
        Record(r.error, 0);
        return false;
    }
    if (r.hostPath.empty()) {
        if (r.driveFolder.empty()) {
            Record(FileError::NotFound, ENOENT);
            return false;
        }
        r.hostPath = r.driveFolder;
    }
    return true;
}

bool Injected(FileOp op) {
    FileError e;
    if (!TakeInjected(op, e)) return false;
    Record(e, 0);
    return true;
}

// Bytes held by the files under a folder (a simulated medium's contents).
uint64_t Usage(const std::string& folder) {
    uint64_t total = 0;
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) return 0;
    while (dirent* e = readdir(dir)) {
        if (strcmp(e->d_name, ".") == 0 || strcmp(e->d_name, "..") == 0) continue;
        std::string p = folder + "/" + e->d_name;
        struct stat st{};
        if (lstat(p.c_str(), &st) != 0) continue;
        if (S_ISDIR(st.st_mode)) total += Usage(p);
        else if (S_ISREG(st.st_mode)) total += static_cast<uint64_t>(st.st_size);
    }
    closedir(dir);
    return total;
}

// Whether `growth` more bytes fit on a simulated medium.
bool Fits(const std::string& folder, uint64_t capacity, uint64_t growth) {
    if (capacity == 0 || growth == 0) return true;
    uint64_t used = Usage(folder);
    return used <= capacity && growth <= capacity - used;
}

std::string BaseName(const std::string& hostPath) {
    size_t slash = hostPath.find_last_of('/');
    return slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
}

std::string FolderOf(const std::string& hostPath) {
    size_t slash = hostPath.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return hostPath.substr(0, slash);
}

// Repeats the read or write call `io(moved)` until `size` bytes have moved, resuming after
// interruptions; with `stopAtEnd` (reads) it also stops at the end of the file. Returns 0, or the
// errno of the call that failed; `moved` holds the bytes transferred either way.
template <class Io>
int TransferAll(size_t size, bool stopAtEnd, size_t& moved, Io io) {
    moved = 0;
    while (moved < size) {
        ssize_t n = io(moved);
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        if (n == 0 && stopAtEnd) break;
        moved += static_cast<size_t>(n);
    }
    return 0;
}

bool WriteAll(int fd, const char* p, size_t n) {
    size_t moved;
    return TransferAll(n, false, moved, [&](size_t m) { return ::write(fd, p + m, n - m); }) == 0;
}

// Resolves `path` and reads its status; records the error when either fails.
bool StatPath(const std::string& path, struct stat& st) {
    ResolvedPath r;
    if (!Resolve(path, r)) return false;
    if (stat(r.hostPath.c_str(), &st) != 0) {
        int err = errno;
        Record(ClassifyPathErrno(err, r.hostPath), err);
        return false;
    }
    return true;
}

// Resolves `path` and runs `call` (unlink, mkdir, rmdir...) on it, recording the outcome.
template <class Call>
bool RunPathCall(FileOp op, const std::string& path, Call call) {
    if (Injected(op)) return false;
    ResolvedPath r;
    if (!Resolve(path, r)) return false;
    if (call(r.hostPath.c_str()) != 0) {
        int err = errno;
        Record(ClassifyPathErrno(err, r.hostPath), err);
        return false;
    }
    Record(FileError::None, 0);
    return true;
}

FileId IdentityFrom(const struct stat& st) {
    FileId id;
    id.device = static_cast<uint64_t>(st.st_dev);
    id.inode = static_cast<uint64_t>(st.st_ino);
    id.valid = true;
    return id;
}

}  // namespace

int Win32ErrorCode(FileError error, int systemErrno) {
    switch (error) {
    case FileError::None: return 0;
    case FileError::Exists: return 80;
    case FileError::DiskFull: return 39;
    case FileError::NotFound: return 2;
    case FileError::PathNotFound: return 3;
    case FileError::AccessDenied: return 5;
    case FileError::DeviceNotReady: return 21;
    case FileError::LockViolation: return 33;
    case FileError::Other: break;
    }
    // Codes that cannot be taken for one of the classes above.
    switch (systemErrno) {
    case EMFILE: case ENFILE: return 4;    // too many open files
    case EBADF: return 6;                  // invalid handle
    case ENOMEM: return 8;                 // not enough memory
    case EINVAL: return 87;                // invalid parameter
    case EBUSY: case ETXTBSY: return 32;   // sharing violation
    case ENAMETOOLONG: return 206;         // name too long
    case EIO: return 1117;                 // I/O device error
    case EXDEV: return 17;                 // not same device
    case ENOTEMPTY: return 145;            // folder not empty
    default: return 31;                    // general failure
    }
}

FileError ClassifyErrno(int err) {
    switch (err) {
    case 0: return FileError::None;
    case EEXIST: return FileError::Exists;
    case ENOSPC: case EDQUOT: case EFBIG: return FileError::DiskFull;
    case ENOENT: return FileError::NotFound;
    case ENOTDIR: return FileError::PathNotFound;
    case EACCES: case EPERM: case EROFS: case EISDIR: return FileError::AccessDenied;
    case ENXIO: case ENODEV: case ENOMEDIUM: return FileError::DeviceNotReady;
    case EAGAIN: return FileError::LockViolation;
    default: return FileError::Other;
    }
}

FileError LastFileError() { return tLastError.error; }
int LastFileErrorCode() { return Win32ErrorCode(tLastError.error, tLastError.err); }
std::string LastFileErrorText() { return ErrorText(tLastError.error, tLastError.err); }
void SetLastFileError(FileError error, int systemErrno) { Record(error, systemErrno); }

void InjectFileError(FileError error, int count, FileOp op) {
    if (count == 0) return;
    Injections& inj = TheInjections();
    std::lock_guard<std::mutex> lock(inj.mutex);
    inj.list.push_back({error, count, op});
}

void ClearInjectedFileErrors() {
    Injections& inj = TheInjections();
    std::lock_guard<std::mutex> lock(inj.mutex);
    inj.list.clear();
}

// ---- File ----

File::~File() { Close(); }

File::File(File&& other) noexcept { *this = std::move(other); }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        path_ = std::move(other.path_);
        error_ = other.error_;
        errno_ = other.errno_;
        quotaFolder_ = std::move(other.quotaFolder_);
        quota_ = other.quota_;
        locks_ = std::move(other.locks_);
        other.fd_ = -1;
        other.locks_.clear();
    }
    return *this;
}

bool File::Fail(FileError error, int err) {
    error_ = error;
    errno_ = err;
    Record(error, err);
    return false;
}

bool File::Fail(int err) { return Fail(ClassifyErrno(err), err); }

bool File::Succeed() {
    error_ = FileError::None;
    errno_ = 0;
    return true;
}

bool File::FailInjected(FileOp op) {
    FileError e;
    if (!TakeInjected(op, e)) return false;
    Fail(e, 0);
    return true;
}

bool File::Open(const std::string& path, Access access, Disposition disposition, unsigned mode) {
    Close();
    path_ = path;
    if (FailInjected(FileOp::Open)) return false;
    ResolvedPath r;
    if (!Resolve(path, r)) return Fail(tLastError.error, tLastError.err);

    int flags = O_CLOEXEC | (access == Access::ReadOnly ? O_RDONLY : O_RDWR);
    switch (disposition) {
    case Disposition::OpenExisting: break;
    case Disposition::OpenAlways: flags |= O_CREAT; break;
    case Disposition::CreateNew: flags |= O_CREAT | O_EXCL; break;
    case Disposition::CreateAlways: flags |= O_CREAT | O_TRUNC; break;
    }
    int fd;
    do {
        fd = ::open(r.hostPath.c_str(), flags, static_cast<mode_t>(mode));
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        int err = errno;
        return Fail(ClassifyPathErrno(err, r.hostPath), err);
    }
    struct stat st{};
    if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return Fail(FileError::AccessDenied, EISDIR);
    }
    fd_ = fd;
    quotaFolder_ = r.capacity > 0 ? r.driveFolder : std::string();
    quota_ = r.capacity;
    return Succeed();
}

bool File::Close() {
    if (fd_ < 0) return true;
    int r = ::close(fd_);
    fd_ = -1;
    locks_.clear();
    if (r != 0 && errno != EINTR) return Fail(errno);
    return Succeed();
}

bool File::CheckGrowth(uint64_t newEnd) {
    if (quota_ == 0) return true;
    int64_t size = Size();
    if (size < 0) return false;
    uint64_t growth = newEnd > static_cast<uint64_t>(size) ? newEnd - static_cast<uint64_t>(size) : 0;
    if (Fits(quotaFolder_, quota_, growth)) return true;
    Fail(FileError::DiskFull, ENOSPC);
    return false;
}

bool File::Read(void* buffer, size_t size, size_t* done) {
    if (done) *done = 0;
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    if (FailInjected(FileOp::Read)) return false;
    char* p = static_cast<char*>(buffer);
    size_t total = 0;
    int err = TransferAll(size, true, total, [&](size_t t) { return ::read(fd_, p + t, size - t); });
    if (done) *done = total;
    return err != 0 ? Fail(err) : Succeed();
}

bool File::Write(const void* buffer, size_t size, size_t* done) {
    if (done) *done = 0;
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    if (FailInjected(FileOp::Write)) return false;
    int64_t pos = Position();
    if (pos < 0) return false;
    if (!CheckGrowth(static_cast<uint64_t>(pos) + size)) return false;
    const char* p = static_cast<const char*>(buffer);
    size_t total = 0;
    int err = TransferAll(size, false, total, [&](size_t t) { return ::write(fd_, p + t, size - t); });
    if (done) *done = total;
    return err != 0 ? Fail(err) : Succeed();
}

int64_t File::Seek(int64_t offset, Origin origin) {
    if (fd_ < 0) {
        Fail(FileError::Other, EBADF);
        return -1;
    }
    int whence = origin == Origin::Begin ? SEEK_SET : origin == Origin::Current ? SEEK_CUR : SEEK_END;
    off_t r = ::lseek(fd_, static_cast<off_t>(offset), whence);
    if (r < 0) {
        Fail(errno);
        return -1;
    }
    Succeed();
    return static_cast<int64_t>(r);
}

int64_t File::Position() const {
    if (fd_ < 0) return -1;
    return static_cast<int64_t>(::lseek(fd_, 0, SEEK_CUR));
}

bool File::ReadAt(uint64_t offset, void* buffer, size_t size, size_t* done) {
    if (done) *done = 0;
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    if (FailInjected(FileOp::Read)) return false;
    if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return Fail(FileError::Other, EINVAL);
    char* p = static_cast<char*>(buffer);
    size_t total = 0;
    int err = TransferAll(size, true, total, [&](size_t t) { return ::pread(fd_, p + t, size - t, static_cast<off_t>(offset + t)); });
    if (done) *done = total;
    return err != 0 ? Fail(err) : Succeed();
}

bool File::WriteAt(uint64_t offset, const void* buffer, size_t size, size_t* done) {
    if (done) *done = 0;
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    if (FailInjected(FileOp::Write)) return false;
    if (offset > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return Fail(FileError::Other, EINVAL);
    if (!CheckGrowth(offset + size)) return false;
    const char* p = static_cast<const char*>(buffer);
    size_t total = 0;
    int err = TransferAll(size, false, total, [&](size_t t) { return ::pwrite(fd_, p + t, size - t, static_cast<off_t>(offset + t)); });
    if (done) *done = total;
    return err != 0 ? Fail(err) : Succeed();
}

bool File::Flush() {
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    if (FailInjected(FileOp::Flush)) return false;
    if (::fdatasync(fd_) != 0 && errno != EINVAL && errno != EROFS) return Fail(errno);
    return Succeed();
}

bool File::StartFlush() {
    if (fd_ < 0) return false;
    return ::sync_file_range(fd_, 0, 0, SYNC_FILE_RANGE_WRITE) == 0;
}

int64_t File::Size() const {
    if (fd_ < 0) return -1;
    FileError e;
    if (TakeInjected(FileOp::Size, e)) {
        Record(e, 0);
        return -1;
    }
    struct stat st{};
    if (fstat(fd_, &st) != 0) {
        Record(ClassifyErrno(errno), errno);
        return -1;
    }
    return static_cast<int64_t>(st.st_size);
}

bool File::SetSize(uint64_t size) {
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    if (FailInjected(FileOp::Write)) return false;
    if (size > static_cast<uint64_t>(std::numeric_limits<off_t>::max())) return Fail(FileError::Other, EINVAL);
    if (!CheckGrowth(size)) return false;
    if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return Fail(errno);
    return Succeed();
}

bool File::SetEndOfFile() {
    int64_t pos = Position();
    if (pos < 0) return Fail(fd_ < 0 ? EBADF : errno);
    return SetSize(static_cast<uint64_t>(pos));
}

bool File::SetLock(short type, uint64_t offset, uint64_t length) {
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    constexpr uint64_t kMax = static_cast<uint64_t>(std::numeric_limits<off_t>::max());
    if (offset > kMax || length > kMax - offset) return Fail(FileError::Other, EINVAL);
    struct flock fl{};
    fl.l_type = type;
    fl.l_whence = SEEK_SET;
    fl.l_start = static_cast<off_t>(offset);
    fl.l_len = static_cast<off_t>(length);
    fl.l_pid = 0;
    while (::fcntl(fd_, F_OFD_SETLK, &fl) != 0) {
        if (errno == EINTR) continue;
        if (errno == EAGAIN || errno == EACCES) return Fail(FileError::LockViolation, EAGAIN);
        return Fail(errno);
    }
    return Succeed();
}

bool File::LockRange(bool shared, uint64_t offset, uint64_t length) {
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    if (FailInjected(FileOp::Lock)) return false;
    for (HeldRange& h : locks_) {
        if (h.offset == offset && h.length == length && h.shared != shared) {
            // Conversion in place; the description's lock changes kind in one step.
            if (length > 0 && !SetLock(shared ? F_RDLCK : F_WRLCK, offset, length)) return false;
            h.shared = shared;
            return Succeed();
        }
    }
    // As LockFile: a range overlapping one this handle already holds is refused too.
    for (const HeldRange& h : locks_)
        if (length > 0 && h.length > 0 && offset < h.offset + h.length && h.offset < offset + length)
            return Fail(FileError::LockViolation, EAGAIN);
    if (length > 0 && !SetLock(shared ? F_RDLCK : F_WRLCK, offset, length)) return false;
    locks_.push_back({offset, length, shared});
    return Succeed();
}

bool File::Lock(uint64_t offset, uint64_t length) { return LockRange(false, offset, length); }

bool File::LockShared(uint64_t offset, uint64_t length) { return LockRange(true, offset, length); }

bool File::Unlock(uint64_t offset, uint64_t length) {
    if (fd_ < 0) return Fail(FileError::Other, EBADF);
    for (auto it = locks_.begin(); it != locks_.end(); ++it) {
        if (it->offset != offset || it->length != length) continue;
        if (length > 0 && !SetLock(F_UNLCK, offset, length)) return false;
        locks_.erase(it);
        return Succeed();
    }
    // Not locked by this handle (ERROR_NOT_LOCKED).
    return Fail(FileError::Other, ENOLCK);
}

FileId File::Identity() const {
    struct stat st{};
    if (fd_ >= 0 && fstat(fd_, &st) == 0) return IdentityFrom(st);
    return FileId();
}

std::string File::LastErrorText() const { return ErrorText(error_, errno_); }

// ---- free functions ----

bool FileExists(const std::string& path) {
    struct stat st{};
    return StatPath(path, st) && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& path) {
    struct stat st{};
    return StatPath(path, st) && S_ISDIR(st.st_mode);
}

bool DeleteFile(const std::string& path) {
    return RunPathCall(FileOp::Delete, path, [](const char* p) { return ::unlink(p); });
}

bool RenameFile(const std::string& from, const std::string& to) {
    if (Injected(FileOp::Rename)) return false;
    ResolvedPath a, b;
    if (!Resolve(from, a) || !Resolve(to, b)) return false;
    struct stat st{};
    if (lstat(a.hostPath.c_str(), &st) != 0) {
        Record(ClassifyPathErrno(errno, a.hostPath), errno);
        return false;
    }
    if (b.capacity > 0 && b.driveFolder != a.driveFolder &&
        !Fits(b.driveFolder, b.capacity, static_cast<uint64_t>(st.st_size))) {
        Record(FileError::DiskFull, ENOSPC);
        return false;
    }
    if (::renameat2(AT_FDCWD, a.hostPath.c_str(), AT_FDCWD, b.hostPath.c_str(), RENAME_NOREPLACE) == 0) {
        Record(FileError::None, 0);
        return true;
    }
    int err = errno;
    if (err == EINVAL || err == ENOSYS) {
        // The file system cannot rename without replacing: test, then rename.
        struct stat tst{};
        if (lstat(b.hostPath.c_str(), &tst) == 0) {
            Record(FileError::Exists, EEXIST);
            return false;
        }
        if (::rename(a.hostPath.c_str(), b.hostPath.c_str()) == 0) {
            Record(FileError::None, 0);
            return true;
        }
        err = errno;
    }
    if (err == EXDEV && !S_ISDIR(st.st_mode)) {
        // Another file system: copy, then remove the original, as MoveFile does.
        if (!CopyFile(from, to, true)) return false;
        if (::unlink(a.hostPath.c_str()) != 0) {
            int e = errno;
            ::unlink(b.hostPath.c_str());
            Record(ClassifyErrno(e), e);
            return false;
        }
        Record(FileError::None, 0);
        return true;
    }
    Record(ClassifyPathErrno(err, b.hostPath), err);
    return false;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    if (Injected(FileOp::Rename)) return false;
    ResolvedPath a, b;
    if (!Resolve(from, a) || !Resolve(to, b)) return false;
    struct stat old{};
    if (stat(b.hostPath.c_str(), &old) == 0) {
        if (S_ISDIR(old.st_mode)) {
            Record(FileError::AccessDenied, EISDIR);
            return false;
        }
        // The group first: changing it may clear set-id bits that the mode then restores.
        if (::chown(a.hostPath.c_str(), static_cast<uid_t>(-1), old.st_gid) != 0) {
            // Not a member of that group: the file keeps the default group.
        }
        if (::chmod(a.hostPath.c_str(), old.st_mode & 07777) != 0) {
            int err = errno;
            Record(ClassifyPathErrno(err, a.hostPath), err);
            return false;
        }
    }
    if (::rename(a.hostPath.c_str(), b.hostPath.c_str()) != 0) {
        int err = errno;
        Record(ClassifyPathErrno(err, b.hostPath), err);
        return false;
    }
    Record(FileError::None, 0);
    return true;
}

bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) {
    if (Injected(FileOp::Copy)) return false;
    ResolvedPath a, b;
    if (!Resolve(from, a) || !Resolve(to, b)) return false;

    int in = ::open(a.hostPath.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0) {
        int err = errno;
        Record(ClassifyPathErrno(err, a.hostPath), err);
        return false;
    }
    struct stat src{};
    if (fstat(in, &src) != 0 || S_ISDIR(src.st_mode)) {
        ::close(in);
        Record(FileError::AccessDenied, EISDIR);
        return false;
    }
    uint64_t replaced = 0;
    struct stat dst{};
    if (stat(b.hostPath.c_str(), &dst) == 0) {
        if (dst.st_dev == src.st_dev && dst.st_ino == src.st_ino) {
            ::close(in);
            Record(FileError::AccessDenied, EBUSY);
            return false;
        }
        if (failIfExists) {
            ::close(in);
            Record(FileError::Exists, EEXIST);
            return false;
        }
        if (S_ISDIR(dst.st_mode) || ::access(b.hostPath.c_str(), W_OK) != 0) {
            ::close(in);
            Record(FileError::AccessDenied, EACCES);
            return false;
        }
        replaced = static_cast<uint64_t>(dst.st_size);
    }
    uint64_t size = static_cast<uint64_t>(src.st_size);
    if (b.capacity > 0) {
        uint64_t used = Usage(b.driveFolder);
        uint64_t avail = used - std::min(used, replaced) >= b.capacity ? 0 : b.capacity - (used - std::min(used, replaced));
        if (size > avail) {
            ::close(in);
            Record(FileError::DiskFull, ENOSPC);
            return false;
        }
    }

    std::string folder = FolderOf(b.hostPath);
    std::string temp = folder + "/." + BaseName(b.hostPath) + ".XXXXXX";
    std::vector<char> tmpl(temp.begin(), temp.end());
    tmpl.push_back('\0');
    int out = ::mkostemp(tmpl.data(), O_CLOEXEC);
    if (out < 0) {
        int err = errno;
        ::close(in);
        Record(ClassifyPathErrno(err, b.hostPath), err);
        return false;
    }
    temp = tmpl.data();
    auto fail = [&](int err) {
        ::close(in);
        ::close(out);
        ::unlink(temp.c_str());
        Record(ClassifyErrno(err), err);
        return false;
    };
    std::vector<char> buf(1 << 16);
    for (;;) {
        ssize_t n = ::read(in, buf.data(), buf.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(errno);
        }
        if (n == 0) break;
        if (!WriteAll(out, buf.data(), static_cast<size_t>(n))) return fail(errno);
    }
    // The copy keeps the source's mode and last-write time, as a copy on Windows does.
    if (::fchmod(out, src.st_mode & 0777) != 0) return fail(errno);
    timespec times[2] = {src.st_atim, src.st_mtim};
    ::futimens(out, times);
    if (::fdatasync(out) != 0 && errno != EINVAL) return fail(errno);
    ::close(in);
    if (::close(out) != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        Record(ClassifyErrno(err), err);
        return false;
    }
    int r = failIfExists
        ? ::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, b.hostPath.c_str(), RENAME_NOREPLACE)
        : ::rename(temp.c_str(), b.hostPath.c_str());
    if (r != 0 && failIfExists && (errno == EINVAL || errno == ENOSYS)) {
        struct stat st{};
        if (lstat(b.hostPath.c_str(), &st) == 0) errno = EEXIST;
        else r = ::rename(temp.c_str(), b.hostPath.c_str());
    }
    if (r != 0) {
        int err = errno;
        ::unlink(temp.c_str());
        Record(ClassifyErrno(err), err);
        return false;
    }
    Record(FileError::None, 0);
    return true;
}

bool GetFileSize(const std::string& path, uint64_t& size) {
    size = 0;
    if (Injected(FileOp::Size)) return false;
    struct stat st{};
    if (!StatPath(path, st)) return false;
    size = static_cast<uint64_t>(st.st_size);
    return true;
}

bool GetFileModifiedTime(const std::string& path, time_t& modified) {
    modified = 0;
    struct stat st{};
    if (!StatPath(path, st)) return false;
    modified = st.st_mtime;
    return true;
}

bool MakeDirectory(const std::string& path) {
    return RunPathCall(FileOp::MakeDir, path, [](const char* p) { return ::mkdir(p, 0777); });
}

bool RemoveDirectory(const std::string& path) {
    return RunPathCall(FileOp::Delete, path, [](const char* p) { return ::rmdir(p); });
}

FileId IdentityOf(const std::string& path) {
    struct stat st{};
    if (!StatPath(path, st)) return FileId();
    return IdentityFrom(st);
}

bool SameFile(const std::string& a, const std::string& b) {
    FileId x = IdentityOf(a);
    FileId y = IdentityOf(b);
    return x == y;
}

}  // namespace host
