#pragma once
// Files as the program uses them: opened shared for reading and writing, positioned
// transfers, Win32-style current-position transfers, byte-range locks with LockFile
// semantics, and the free functions on names. Every path argument is a program path
// (Path.h). Operations keep Win32's results (false / 0 on failure) and record the failure
// both in the object (File::LastError) and in the calling thread's last file error
// (host::LastFileError), as GetLastError does.

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

namespace host {

// The error classes the program distinguishes.
enum class FileError {
    None,
    Exists,
    DiskFull,
    NotFound,
    PathNotFound,
    AccessDenied,
    DeviceNotReady,
    LockViolation,  // a byte range held by another handle
    Other,
};

// The Win32 code of an error class (80, 39, 2, 3, 5, 21, 33; Other keeps the system's
// own number when known, else 1).
int Win32ErrorCode(FileError error, int systemErrno = 0);
// The class of an errno value.
FileError ClassifyErrno(int err);

// The last failure of a file operation on this thread.
FileError LastFileError();
// Win32 code of that failure.
int LastFileErrorCode();
// The system's text for it (Windows-1252), e.g. "No such file or directory".
std::string LastFileErrorText();
// Sets / clears the thread's last error (None clears).
void SetLastFileError(FileError error, int systemErrno = 0);

// Which operations an injected error may hit.
enum class FileOp { Any, Open, Read, Write, Flush, Lock, Copy, Delete, Rename, MakeDir, Size };

// Test hook: the next `count` operations of kind `op` fail with `error` without touching
// the file system (count < 0: until cleared).
void InjectFileError(FileError error, int count = 1, FileOp op = FileOp::Any);
void ClearInjectedFileErrors();

// Identity of a file: device and inode.
struct FileId {
    uint64_t device = 0;
    uint64_t inode = 0;
    bool valid = false;
    bool operator==(const FileId& o) const {
        return valid && o.valid && device == o.device && inode == o.inode;
    }
};

class File {
public:
    enum class Access { ReadWrite, ReadOnly };
    enum class Disposition {
        OpenExisting,   // fails when missing
        OpenAlways,     // opens, or creates when missing
        CreateNew,      // fails (Exists) when present
        CreateAlways,   // creates, or truncates to 0
    };
    enum class Origin { Begin, Current, End };

    // Win32's INVALID_HANDLE_VALUE as the program's traces print it.
    static constexpr int kInvalidHandle = -1;

    File() = default;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;

    // Opens or creates. New files get `mode` (before the umask); 0666 by default.
    bool Open(const std::string& path, Access access, Disposition disposition,
              unsigned mode = 0666);
    // Shortcuts: shared read/write of an existing file; open or create; read only.
    bool OpenExisting(const std::string& path) {
        return Open(path, Access::ReadWrite, Disposition::OpenExisting);
    }
    bool OpenOrCreate(const std::string& path, unsigned mode = 0666) {
        return Open(path, Access::ReadWrite, Disposition::OpenAlways, mode);
    }
    bool OpenReadOnly(const std::string& path) {
        return Open(path, Access::ReadOnly, Disposition::OpenExisting);
    }
    bool IsOpen() const { return fd_ >= 0; }
    // Closes; every byte-range lock of this handle goes with it (and only those).
    bool Close();

    // The descriptor (kInvalidHandle when closed), used as the handle number in traces.
    int Handle() const { return fd_; }
    // The program path it was opened with.
    const std::string& Path() const { return path_; }

    // Transfers at the current position, which they advance (ReadFile / WriteFile).
    // `done` gets the byte count; a read at the end gives true with 0 bytes.
    bool Read(void* buffer, size_t size, size_t* done = nullptr);
    bool Write(const void* buffer, size_t size, size_t* done = nullptr);
    // Moves the current position (SetFilePointer); gives the new position, or -1.
    int64_t Seek(int64_t offset, Origin origin = Origin::Begin);
    int64_t Position() const;

    // Positioned transfers; they do not move the current position. A read reads until
    // `size` bytes or the end; a write writes all or fails.
    bool ReadAt(uint64_t offset, void* buffer, size_t size, size_t* done = nullptr);
    bool WriteAt(uint64_t offset, const void* buffer, size_t size, size_t* done = nullptr);

    // Data to the medium (FlushFileBuffers).
    bool Flush();
    // Starts taking the data written so far to the medium and returns at once: a long file
    // written in pieces is then mostly there when Flush waits for it. Only a hint: false when
    // the system cannot start it, and nothing is lost.
    bool StartFlush();
    // Size in bytes, or -1.
    int64_t Size() const;
    // Sets the size (extends with zeros or truncates).
    bool SetSize(uint64_t size);
    // Truncates (or extends) at the current position (SetEndOfFile).
    bool SetEndOfFile();

    // Byte-range locks as LockFile: exclusive, non-blocking, refused (LockViolation) when
    // any other handle, in this process or another, holds an overlapping range. Ranges
    // are the ones given; Unlock must name a range exactly as locked.
    bool Lock(uint64_t offset, uint64_t length);
    // Shared variant: any number of handles may hold it together; it conflicts only with
    // an exclusive lock.
    bool LockShared(uint64_t offset, uint64_t length);
    // A range this handle holds with the other kind, named exactly as held, is converted
    // in place: Lock on a shared range succeeds only when no other handle shares it (the
    // "am I alone" test), LockShared on an exclusive range always succeeds. Any other
    // overlap with this handle's own ranges is refused.
    bool Unlock(uint64_t offset, uint64_t length);

    // Device and inode of the open file.
    FileId Identity() const;

    FileError LastError() const { return error_; }
    int LastErrorCode() const { return Win32ErrorCode(error_, errno_); }
    std::string LastErrorText() const;

private:
    struct HeldRange {
        uint64_t offset;
        uint64_t length;
        bool shared;
    };

    bool Fail(FileError error, int err);
    bool Fail(int err);
    bool Succeed();
    bool FailInjected(FileOp op);
    bool CheckGrowth(uint64_t newEnd);
    bool SetLock(short type, uint64_t offset, uint64_t length);
    bool LockRange(bool shared, uint64_t offset, uint64_t length);

    int fd_ = -1;
    std::string path_;
    FileError error_ = FileError::None;
    int errno_ = 0;
    std::string quotaFolder_;  // folder of a simulated medium, with its capacity
    uint64_t quota_ = 0;
    std::vector<HeldRange> locks_;
};

// Free functions. They set the thread's last file error on failure.
bool FileExists(const std::string& path);       // a file (not a folder) is there
bool FolderExists(const std::string& path);
bool DeleteFile(const std::string& path);
// Renames; fails (Exists) when `to` is there (MoveFile).
bool RenameFile(const std::string& from, const std::string& to);
// Puts `from` (a temporary file written beside `to`) in place of `to` in one step; when
// `to` existed, the new file first gets its mode and group.
bool ReplaceFile(const std::string& from, const std::string& to);
// Copies contents and mode. failIfExists: refuse (Exists) when `to` is there. Copying a
// file onto itself (same device and inode) is refused (AccessDenied) and leaves it as it
// is. The copy is written to a temporary file beside `to` and renamed in place, so a
// failed copy leaves no partial destination.
bool CopyFile(const std::string& from, const std::string& to, bool failIfExists);
// Size of a file; false when missing.
bool GetFileSize(const std::string& path, uint64_t& size);
// Last-write time (seconds since the epoch); false when missing.
bool GetFileModifiedTime(const std::string& path, time_t& modified);
// Makes one folder (its parent must exist); false (Exists) when it is there.
bool MakeDirectory(const std::string& path);
// Removes an empty folder.
bool RemoveDirectory(const std::string& path);
// Whether two paths name one file (same device and inode); false when either is missing.
bool SameFile(const std::string& a, const std::string& b);
// Identity of the file at a path (valid false when missing).
FileId IdentityOf(const std::string& path);

}  // namespace host
