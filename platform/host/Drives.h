#pragma once
// Drive letters. Each mapped letter is a folder with a type and, for simulated media
// (diskettes), a capacity: the free space is then the capacity less what the folder holds.
//
// The map comes from the environment variable DORVALQUINTEX_DRIVES, entries separated by
// ';', each
//     <letter>[,<type>[,<capacity in bytes>]]=<folder>
// with type "fixed" or "removable", e.g.
//     DORVALQUINTEX_DRIVES='A,removable,1457664=/media/floppy;C=/home/ann/studio'
// The folder is everything after the first '='. Letters the variable does not name keep
// their defaults: A: and B: removable with the capacity of a 1.44 MB diskette, C: fixed,
// each in <data>/Dorvalquintex/drives/<letter in lower case>, <data> being $XDG_DATA_HOME
// or ~/.local/share. Other letters are not mapped.
// A removable drive whose folder does not exist has no medium: "device not ready".

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

// The Win32 drive type numbers.
enum class DriveType : unsigned {
    Unknown = 0,
    NoRootDir = 1,
    Removable = 2,
    Fixed = 3,
    Remote = 4,
    CdRom = 5,
    RamDisk = 6,
};

// Usable bytes of an empty formatted 1.44 MB diskette.
constexpr uint64_t kDisketteCapacity = 1457664;

struct DriveEntry {
    char letter = 'C';                 // upper case
    std::string folder;                // host path (UTF-8)
    DriveType type = DriveType::Fixed; // Fixed or Removable
    uint64_t capacity = 0;             // 0: the real file system's space (statvfs)
};

class Drives {
public:
    // The entry of a letter (either case), or nothing when the letter is not mapped.
    static std::optional<DriveEntry> Find(char letter);
    // Every mapped drive, by letter.
    static std::vector<DriveEntry> All();

    // The type of the drive a program path is on ("A:\", "C:", "c:\x\y"); a path without
    // a letter is on the fixed drive of the current folder. Unmapped letter: NoRootDir.
    static DriveType TypeOf(const std::string& programPath);

    // Free and total bytes of the drive or folder the program path is on. False when the
    // letter is not mapped, or a removable drive has no medium, or the file system cannot
    // tell (the file error is then set, see File.h).
    static bool FreeSpace(const std::string& programPath, uint64_t& freeBytes,
                          uint64_t* totalBytes = nullptr);

    // Parses a map in the variable's format. False on a malformed entry.
    static bool Parse(const std::string& text, std::vector<DriveEntry>& out);

    // Test hooks: replace the whole map in-process (the environment and defaults are then
    // ignored), or return to environment and defaults.
    static void SetMapForTesting(const std::vector<DriveEntry>& entries);
    static void ClearMapForTesting();
};

}  // namespace host
