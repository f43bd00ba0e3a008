#pragma once
// Paths as the program writes them ("C:\Dorvalquintex\x.dbs", "A:\", "TEMP.DBS", in
// Windows-1252) and as the host knows them (UTF-8, '/'). '\' and '/' are both separators.
// A leading drive letter is resolved through the drive map (Drives.h); a path that begins
// with a separator is an absolute host path; anything else is relative to the current
// folder. When a component is not found as written, a unique entry of the same name
// without regard to case is used, since the program's names are case-blind.

#include <cstdint>
#include <string>
#include <string_view>

namespace host {

enum class FileError;

inline bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// Program path -> host path (UTF-8). False when the path names a drive that is not in the
// drive map (out is then empty).
bool ToHostPath(std::string_view programPath, std::string& out);

// A program path resolved for input and output: the host path, and for a path on a
// mapped drive, the drive's folder and its capacity when simulated (0 otherwise).
// error is None, PathNotFound (unmapped letter) or DeviceNotReady (a removable drive
// whose folder is missing: no medium).
struct ResolvedPath {
    std::string hostPath;
    std::string driveFolder;
    uint64_t capacity = 0;
    FileError error{};
};
ResolvedPath ResolvePath(std::string_view programPath);

// Host path (UTF-8) -> program path (Windows-1252, '/' kept). False when the name holds a
// character that Windows-1252 cannot hold.
bool FromHostPath(std::string_view hostPath, std::string& out);

// The drive letter (upper case) a path begins with ("c:\x" -> 'C'), or 0.
char DriveLetterOf(std::string_view path);

// Text before the last separator ("C:\a\b.txt" -> "C:\a", "C:\b.txt" -> "C:",
// "b.txt" -> ""). A drive's root ("C:\") gives "C:".
std::string DirectoryPart(std::string_view path);
// Text after the last separator or drive colon ("C:\a\b.txt" -> "b.txt").
std::string FileNamePart(std::string_view path);
// folder + '\' + name, without doubling a separator; either part may be empty.
std::string JoinPath(std::string_view folder, std::string_view name);

// The process's current folder as a program path; false when it cannot be read or
// Windows-1252 cannot hold it.
bool CurrentFolder(std::string& out);
// Changes the current folder.
bool SetCurrentFolder(std::string_view programPath);

}  // namespace host
