#pragma once
// Writes a zip archive: a local header, the data (stored, or deflated by our own
// compressor) and the rewritten local header per file, then the central directory and
// the end record. No Zip64: an archive that would reach 4 GiB is refused.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/host/File.h"

struct stDeflateState;

// Results of the archive calls.
constexpr int kZipOk = 0;
constexpr int kZipErrOpen = 0x200;        // the archive or an output file cannot be opened or created
constexpr int kZipErrWrite = 0x400;       // a header or data write failed
constexpr int kZipErrArgs = 0x10000;      // no handle, bad index, or an empty name
constexpr int kZipErrFailed = 0x40000;    // the writer failed before and accepts nothing more
constexpr int kZipErrClosed = 0x50000;    // the writer is already closed
constexpr int kZipErrKind = 0x80000;      // the handle is of the other kind
constexpr int kZipErrOpened = 0x1000000;  // the reader is already open
constexpr int kZipErrSeek = 0x2000000;    // the archive handle given cannot seek

class CZipWriter {
public:
    CZipWriter();
    ~CZipWriter();
    CZipWriter(const CZipWriter&) = delete;
    CZipWriter& operator=(const CZipWriter&) = delete;

    // Creates the archive file anew (an existing one is replaced).
    int Create(const std::string& path);
    // Adds a disk file under `name` ("\" becomes "/").
    int AddFile(const std::string& name, const std::string& diskPath);
    // Writes the central directory and the end record and closes the file.
    int Close();

    bool IsFailed() const { return failed_; }
    bool IsClosed() const { return closed_; }

    // Source reading and archive writing for the compressor's callbacks.
    unsigned ReadSource(uint8_t* buffer, unsigned size);
    bool WriteArchive(const uint8_t* data, size_t size);

private:
    struct Entry {
        uint16_t flags = 0;
        uint16_t method = 0;
        uint16_t dosTime = 0;
        uint16_t dosDate = 0;
        uint32_t crc = 0;
        uint64_t compressedSize = 0;
        uint64_t size = 0;
        uint32_t externalAttributes = 0;
        uint64_t headerOffset = 0;
        std::string name;
        int32_t modified = 0;
        int32_t accessed = 0;
        int32_t created = 0;
    };

    std::vector<uint8_t> LocalHeader(const Entry& e) const;
    int AddEntry(Entry& e, const std::string& diskPath);
    void Undo(uint64_t offset);

    host::File file_;
    uint64_t offset_ = 0;
    std::vector<Entry> entries_;
    bool failed_ = false;
    bool closed_ = false;
    std::unique_ptr<stDeflateState> deflate_;
    std::vector<uint8_t> buffer_;
    // The source of the entry being added.
    host::File source_;
    uint64_t sourceRead_ = 0;
    uint32_t sourceCrc_ = 0;
    bool sourceError_ = false;
};

// Whether a name in the archive calls for the stored method (already compressed data).
bool ZipNameIsStored(const std::string& name);
