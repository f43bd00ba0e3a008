#pragma once
// Field values of the zip format as the writer sets them: MS-DOS date and time, external
// attributes, Win32 file times.

#include <cstdint>
#include <ctime>

// Win32 file attribute bits.
constexpr uint32_t kAttrReadOnly = 0x01;
constexpr uint32_t kAttrHidden = 0x02;
constexpr uint32_t kAttrSystem = 0x04;
constexpr uint32_t kAttrDirectory = 0x10;
constexpr uint32_t kAttrArchive = 0x20;
constexpr uint32_t kAttrNormal = 0x80;

// 100-ns intervals from 1601-01-01 to 1970-01-01.
constexpr uint64_t kFileTimeUnixEpoch = 116444736000000000ull;

// MS-DOS date and time of a UTC time; times before 1980 or after 2107 take the nearest
// time the fields can hold.
void ZipDosDateTime(int64_t utcSeconds, uint16_t* date, uint16_t* time);
// UTC seconds of MS-DOS date and time fields.
int64_t ZipDosToUnix(uint16_t date, uint16_t time);

// External attributes: the Win32 bits read-only, hidden, system, directory and archive in
// the low byte; a Unix mode in the high 16 bits (type, owner read, owner write unless
// read-only, owner execute when the source has it).
uint32_t ZipExternalAttributes(uint32_t win32Attributes, bool ownerExecute);

// Win32 file time <-> Unix seconds.
inline uint64_t UnixToFileTime(int64_t seconds)
{
    return static_cast<uint64_t>(seconds * 10000000 + static_cast<int64_t>(kFileTimeUnixEpoch));
}
inline int64_t FileTimeToUnix(uint64_t fileTime)
{
    return (static_cast<int64_t>(fileTime) - static_cast<int64_t>(kFileTimeUnixEpoch)) / 10000000;
}
