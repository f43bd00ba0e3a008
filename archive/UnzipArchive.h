#pragma once
// Reads zip archives through minizip: item information and extraction into files.

#include <cstdint>
#include <string>

// The information of one archive item.
struct ZIP_ITEM_INFO {
    int32_t index = 0;
    char name[260] = {};      // the item's path inside the archive
    uint32_t attributes = 0;  // Win32 attribute bits; 0x10 a folder
    uint64_t accessTime = 0;  // Win32 file times
    uint64_t creationTime = 0;
    uint64_t writeTime = 0;
    int32_t compressedSize = 0;
    int32_t uncompressedSize = 0;
};

class CUnzipArchive {
public:
    CUnzipArchive();
    ~CUnzipArchive();
    CUnzipArchive(const CUnzipArchive&) = delete;
    CUnzipArchive& operator=(const CUnzipArchive&) = delete;

    // Opens an archive by file name; the base folder becomes the current folder.
    int Open(const std::string& path);
    // Index -1: the item count in info->index. Otherwise that item's information.
    int GetItem(int index, ZIP_ITEM_INFO* info);
    // Extracts an item into `fileName`: a relative name goes under the base folder (and
    // may not climb out of it with ".."), an absolute one is used as it is. Missing
    // folders are created; the file is replaced, never merely overwritten.
    int ExtractItem(int index, const std::string& fileName);
    // Extracts an item under its own stored name below `folder`; a stored name that would
    // land outside the folder (absolute, a drive prefix, "..") is refused.
    int ExtractItemUnder(int index, const std::string& folder);
    // Sets the base folder, adding "\" unless it ends in "\" or "/".
    int SetBaseFolder(const std::string& folder);
    int Close();

    const std::string& BaseFolder() const { return base_; }

private:
    int GoTo(int index);
    int ExtractTo(int index, const std::string& path);

    void* zip_ = nullptr;  // the minizip handle
    int count_ = 0;
    int current_ = -1;
    int cachedIndex_ = -1;
    ZIP_ITEM_INFO cached_;
    uint32_t cachedMode_ = 0;  // Unix mode from the high half of the external attributes
    std::string base_;
};

// Whether a stored item name stays inside the folder it is extracted to.
bool IsSafeItemName(const std::string& name);
