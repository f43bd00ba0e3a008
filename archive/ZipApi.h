#pragma once
// The archive handle calls that backups and restores use: one opaque handle for a reader
// or a writer, results as the kZipErr* codes (ZipWriter.h), the last result of each side
// kept process-wide.

#include <string>

#include "archive/UnzipArchive.h"
#include "archive/ZipWriter.h"

constexpr int kZipHandleReader = 1;
constexpr int kZipHandleWriter = 2;

struct stZipHandle {
    int kind;     // kZipHandleReader or kZipHandleWriter
    void* state;  // CUnzipArchive or CZipWriter
};
typedef stZipHandle* HZIP;

// Reading. The password is never used (null).
HZIP OpenUnzipFile(const std::string& archivePath, const char* password = nullptr);
int GetUnzipItem(HZIP handle, int index, ZIP_ITEM_INFO* entry);
int UnzipItemToFile(HZIP handle, int index, const std::string& fileName);
int SetUnzipBaseFolder(HZIP handle, const std::string& folder);
int CloseUnzip(HZIP handle);

// Writing. The password is never used (null).
HZIP CreateZipFile(const std::string& archivePath, const char* password = nullptr);
int ZipAddFile(HZIP handle, const std::string& nameInArchive, const std::string& diskPath);
int CloseZip(HZIP handle);

// True when the handle exists and is a reading handle.
bool IsUnzipHandle(HZIP handle);

// The result of each side's latest call.
int GetUnzipLastError();
int GetZipLastError();
