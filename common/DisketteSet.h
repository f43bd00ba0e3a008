#pragma once
// Diskette sets: a file too large for the diskette in the drive is cut into pieces, one per
// diskette, each diskette carrying "RecombineInfo.dat" in its root with one line
//     <piece>,<offset>,<piece size>,<total size>
// ("%u,%u,%u,%u" and CR LF); the pieces are put back together in memory and the whole file is
// written only once every byte has arrived. The installer reads sets through the same
// ReadRecombineInfo and RecombineDisketteSet.

#include <cstdint>
#include <functional>
#include <string>

// Bytes kept free on every diskette of a set.
constexpr int64_t kDisketteReserve = 5000;

// "<drive>:RecombineInfo.dat", in the drive's current folder.
std::string GetRecombineInfoPath(char drive);

// Copies a file to the diskette drive its destination names: whole when it fits (the result is
// CopyFileWithRetry's), otherwise in pieces over as many diskettes as it takes, asking for each
// next one. `emptyFirst` / `emptyFurther` 1 empty the first / every later diskette before
// writing; a diskette that holds a piece already written for this set is never emptied. 0 done,
// 1 given up or failed (the user has been told).
int FileCopyToFloppies(const std::string& source, const std::string& destination, int ask,
                       int emptyFirst, int emptyFurther);
// Copies a file back from the diskette drive its source names: a plain copy when the diskette
// has no "RecombineInfo.dat", else the recombination of the whole set.
int FileCopyFromFloppies(const std::string& source, const std::string& destination, int ask);
// Reads the set that begins with the diskette in the drive of `source` (its info file must name
// piece 0) and writes the whole file to `destination`. Every piece must belong to the set (same
// total), arrive in order, lie within the total and be read whole. 0 done, 1 given up or failed.
// `insertPrompt`, when given, words the request for the next diskette from the current offset,
// the size of the last piece and the total size.
using InsertPromptFn = std::function<std::string(uint32_t offset, uint32_t size, uint32_t total)>;
int RecombineDisketteSet(const std::string& source, const std::string& destination,
                         const InsertPromptFn& insertPrompt = {});

// Writes the info line; 1 written, 0 not opened or not written.
int WriteRecombineInfo(const std::string& path, uint32_t piece, uint32_t offset, uint32_t size,
                       uint32_t total);
// Reads the first line; 1 when it holds exactly four unsigned decimal fields, else 0.
int ReadRecombineInfo(const std::string& path, uint32_t& piece, uint32_t& total, uint32_t& offset,
                      uint32_t& size);

// Free bytes of a removable (or CD) drive, its total in `total` when given; 0 after "Not
// removable drive." or when the user doubts a drive larger than a diskette.
uint64_t GetDisketteFreeSpace(char drive, uint64_t* total);
// Deletes every file in the root of a removable drive: 1 when all went, 0 when one could not be
// deleted (the others still go) or the drive is not removable (then nothing is touched).
int ClearDiskette(char drive);
