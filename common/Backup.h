#pragma once
// Backups of the database and the program's files: the names of the backup generations, zip
// archives of one file or a list of files and their restore, and single files packed with
// implode and unpacked with explode. Every failure is shown to the user here, once; callers act
// on the outcome code (0 success) only.

#include <string>
#include <vector>

#include "platform/host/File.h"

// ".BK", ".PK" or ".ZP" for kinds 'B' (plain copy), 'P' (packed) and 'Z' (zip archive), followed by
// the generation's letter ('A' for generation 0); "" for any other kind or a generation outside
// 0 to 25.
std::string GetBackupExtension(char kind, int generation);

// The files that PackFile and UnpackFile hand to the compression engine, which passes the record
// back to PackReadData and PackWriteData unchanged. A failed transfer is remembered (with the
// file's error) and ends the input, so the engine stops soon and the caller reports it.
struct PackTransfer {
    host::File* input = nullptr;
    host::File* output = nullptr;
    bool readFailed = false;
    bool writeFailed = false;
    int errorCode = 0;  // the failed transfer's Win32 error code
};

// Reads up to *count bytes from the input into the buffer; gives (and sets *count to) the number
// read, 0 at the end of the file or after a failure.
unsigned int PackReadData(char* buffer, unsigned int* count, void* transfer);
// Writes *count bytes from the buffer to the output.
void PackWriteData(char* buffer, unsigned int* count, void* transfer);

// Puts one file into a new zip archive, under its bare name when `bareName` is 1, else under its
// path. 0 done, 1 archive not created, 2 the file could not be added. An existing archive is
// replaced only by a complete new one.
int ZipOneFile(const std::string& file, const std::string& archive, int bareName);
// The same for a list of files; a file that cannot be added is reported and the others still go
// in (outcome 2). The new archive replaces an existing one only when every file went in.
int ZipFileList(const std::string& archive, const std::vector<std::string>& files, int bareNames);
// Restores from a zip archive. Without a list every item is written to the file `target`; with
// one, each item is restored under the bare last component of its stored name into the folder
// `target` (asking before it overwrites), and the restored paths are appended to the list.
// Stored names that are no plain file name ("..", a drive prefix) are refused. 0 done, 1 archive
// missing or not opened, 2 an item's description could not be read, 3 an item not extracted.
int UnzipFiles(const std::string& archive, const std::string& target,
               std::vector<std::string>* restored);
// UnzipFiles without a list: the restore of a single-file backup to `target`.
int UnzipToFile(const std::string& archive, const std::string& target);

// Packs `source` into the temporary file (`temporary`, or "TempFile.$$$" in the current folder
// when empty) and, when `destination` is given and the packing succeeded, copies it there with
// CopyFileWithRetry; the default temporary file is deleted afterwards. 0 done, 1 no work area or
// input not opened, 2 output not opened or not written, else the engine's code, plus the copy's
// outcome.
int PackFile(const std::string& source, const std::string& destination,
             const std::string& temporary);
// Unpacks a packed file into `output`, which is replaced only when the whole file was unpacked.
// 0 done, 5 no work area, 6 input not opened, 7 output not opened or not written, else the
// engine's code.
int UnpackFile(const std::string& packed, const std::string& output);
