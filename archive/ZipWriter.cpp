#include "archive/ZipWriter.h"

#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "archive/Crc32.h"
#include "archive/Deflate.h"
#include "archive/ZipFormat.h"
#include "platform/host/Path.h"
#include "platform/host/Text.h"

namespace {

constexpr uint16_t kVersionMadeBy = 0x0B17;
constexpr uint16_t kVersionNeeded = 20;
constexpr uint16_t kFlagDescriptor = 8;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr size_t kLocalHeaderSize = 30;
constexpr size_t kLocalExtraSize = 17;   // "UT", size 13: flags 7, modified, accessed, created
constexpr size_t kCentralExtraSize = 9;  // "UT", size 5: flags 7, modified
constexpr uint64_t kZipLimit = 0xFFFFFFFFull;  // offsets and sizes are 32 bits without Zip64
constexpr unsigned kCopyBlock = 16384;

void Put16(std::vector<uint8_t>& b, uint32_t v)
{
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
}

int32_t ClampUnix32(int64_t t)
{
    if (t < INT32_MIN)
        return INT32_MIN;
    if (t > INT32_MAX)
        return INT32_MAX;
    return static_cast<int32_t>(t);
}

unsigned DeflateRead(stDeflateState* s, uint8_t* buffer, unsigned size)
{
    return static_cast<CZipWriter*>(s->param)->ReadSource(buffer, size);
}

unsigned DeflateWrite(void* param, const uint8_t* buffer, unsigned* size)
{
    const unsigned n = *size;
    if (!static_cast<CZipWriter*>(param)->WriteArchive(buffer, n))
        return 0;
    *size = 0;
    return n;
}

// The fields that the local and the central header share, in the same order: the version needed
// to extract through the name's length.
template <class Entry>
void PutEntryFields(std::vector<uint8_t>& h, const Entry& e)
{
    Put16(h, kVersionNeeded);
    Put16(h, e.flags);
    Put16(h, e.method);
    Put16(h, e.dosTime);
    Put16(h, e.dosDate);
    Put32(h, e.crc);
    Put32(h, static_cast<uint32_t>(e.compressedSize));
    Put32(h, static_cast<uint32_t>(e.size));
    Put16(h, static_cast<uint32_t>(e.name.size()));
}

}  // namespace

bool ZipNameIsStored(const std::string& name)
{
    static const char* const kPacked[] = {".Z", ".zip", ".zoo", ".arc", ".lzh", ".arj", ".gz", ".tgz"};
    for (const char* ext : kPacked) {
        const size_t n = std::strlen(ext);
        if (name.size() >= n && host::EqualsNoCase(std::string_view(name).substr(name.size() - n), ext))
            return true;
    }
    return false;
}

CZipWriter::CZipWriter() = default;

CZipWriter::~CZipWriter() = default;

int CZipWriter::Create(const std::string& path)
{
    if (!file_.Open(path, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways))
        return kZipErrOpen;
    buffer_.resize(kCopyBlock);
    return kZipOk;
}

unsigned CZipWriter::ReadSource(uint8_t* buffer, unsigned size)
{
    size_t done = 0;
    if (!source_.Read(buffer, size, &done)) {
        sourceError_ = true;
        return 0;
    }
    sourceRead_ += done;
    sourceCrc_ = ZipCrc32(sourceCrc_, buffer, done);
    return static_cast<unsigned>(done);
}

bool CZipWriter::WriteArchive(const uint8_t* data, size_t size)
{
    if (size == 0)
        return true;
    if (offset_ + size > kZipLimit)
        return false;  // no Zip64
    size_t done = 0;
    if (!file_.Write(data, size, &done) || done != size)
        return false;
    offset_ += size;
    return true;
}

std::vector<uint8_t> CZipWriter::LocalHeader(const Entry& e) const
{
    std::vector<uint8_t> h;
    Put32(h, 0x04034b50);
    PutEntryFields(h, e);
    Put16(h, kLocalExtraSize);
    h.insert(h.end(), e.name.begin(), e.name.end());
    h.push_back('U');
    h.push_back('T');
    Put16(h, 13);
    h.push_back(7);
    Put32(h, static_cast<uint32_t>(e.modified));
    Put32(h, static_cast<uint32_t>(e.accessed));
    Put32(h, static_cast<uint32_t>(e.created));
    return h;
}

// Takes back a failed entry: the archive ends where it began.
void CZipWriter::Undo(uint64_t offset)
{
    file_.Seek(static_cast<int64_t>(offset));
    file_.SetEndOfFile();
    offset_ = offset;
}

int CZipWriter::AddFile(const std::string& name, const std::string& diskPath)
{
    if (failed_)
        return kZipErrFailed;
    if (closed_)
        return kZipErrClosed;
    if (name.empty())
        return kZipErrArgs;
    if (!file_.IsOpen()) {
        failed_ = true;
        return kZipErrFailed;
    }

    Entry e;
    e.name = name;
    for (char& c : e.name)
        if (c == '\\')
            c = '/';
    if (e.name.size() > 0xFFFF)
        return kZipErrArgs;

    if (!source_.OpenReadOnly(diskPath))
        return kZipErrOpen;
    const int result = AddEntry(e, diskPath);
    source_.Close();
    return result;
}

int CZipWriter::AddEntry(Entry& e, const std::string& diskPath)
{
    // Attributes and times of the source.
    std::string hostPath;
    if (!host::ToHostPath(diskPath, hostPath))
        return kZipErrOpen;
    std::error_code ec;
    const auto status = std::filesystem::status(hostPath, ec);
    const auto written = std::filesystem::last_write_time(hostPath, ec);
    if (ec)
        return kZipErrOpen;
    const int64_t modified = std::chrono::duration_cast<std::chrono::seconds>(
                                 std::chrono::file_clock::to_sys(written).time_since_epoch()).count();
    const auto perms = status.permissions();
    uint32_t attributes = kAttrArchive;
    if ((perms & std::filesystem::perms::owner_write) == std::filesystem::perms::none)
        attributes |= kAttrReadOnly;
    const bool ownerExec = (perms & std::filesystem::perms::owner_exec) != std::filesystem::perms::none;
    e.externalAttributes = ZipExternalAttributes(attributes, ownerExec);
    ZipDosDateTime(modified, &e.dosDate, &e.dosTime);
    // The host keeps no creation time and the program reads none but the last write.
    e.modified = e.accessed = e.created = ClampUnix32(modified);

    const int64_t size = source_.Size();
    if (size < 0)
        return kZipErrOpen;
    const bool stored = ZipNameIsStored(e.name);
    e.method = stored ? kMethodStored : kMethodDeflated;
    e.flags = kFlagDescriptor;
    e.size = static_cast<uint64_t>(size);
    e.compressedSize = stored ? e.size : 0;
    e.headerOffset = offset_;
    if (e.size >= kZipLimit) {
        return kZipErrWrite;  // no Zip64
    }

    if (!WriteArchive(LocalHeader(e).data(), kLocalHeaderSize + e.name.size() + kLocalExtraSize)) {
        Undo(e.headerOffset);
        return kZipErrWrite;
    }
    const uint64_t dataStart = offset_;

    sourceRead_ = 0;
    sourceCrc_ = 0;
    sourceError_ = false;
    bool ok = true;
    if (stored) {
        for (;;) {
            const unsigned n = ReadSource(buffer_.data(), kCopyBlock);
            if (n == 0)
                break;
            if (!WriteArchive(buffer_.data(), n)) {
                ok = false;
                break;
            }
        }
    } else {
        if (!deflate_)
            deflate_.reset(CreateDeflateState());
        if (!deflate_) {
            failed_ = true;  // no memory for the compressor
            Undo(e.headerOffset);
            return kZipErrWrite;
        }
        stDeflateState* s = deflate_.get();
        s->param = this;
        s->read = DeflateRead;
        s->write = DeflateWrite;
        s->error = nullptr;
        s->window_size = 0;
        uint16_t internalAttributes = 0;
        InitBitOutput(s, buffer_.data(), kDeflateOutBufSize, 1);
        ct_init(s, &internalAttributes);
        SetPackLevel(s, kDeflateZipLevel, &e.flags);
        const uint64_t compressed = Deflate(s);
        if (s->error != nullptr || compressed != offset_ - dataStart)
            ok = false;
    }
    if (sourceError_)
        ok = false;  // an unreadable source gives no entry rather than a short one
    e.crc = sourceCrc_;
    e.size = sourceRead_;
    e.compressedSize = offset_ - dataStart;
    if (e.size >= kZipLimit || e.compressedSize >= kZipLimit)
        ok = false;
    if (!ok) {
        Undo(e.headerOffset);
        return sourceError_ ? kZipErrOpen : kZipErrWrite;
    }

    // The archive can seek: the header is rewritten with the final values, no descriptor.
    e.flags = static_cast<uint16_t>(e.flags & ~kFlagDescriptor);
    const std::vector<uint8_t> header = LocalHeader(e);
    if (!file_.WriteAt(e.headerOffset, header.data(), kLocalHeaderSize)) {
        Undo(e.headerOffset);
        return kZipErrWrite;
    }
    entries_.push_back(e);
    return kZipOk;
}

int CZipWriter::Close()
{
    if (closed_)
        return kZipErrClosed;
    closed_ = true;
    if (!file_.IsOpen())
        return kZipErrWrite;
    int result = kZipOk;
    const uint64_t centralStart = offset_;
    for (const Entry& e : entries_) {
        std::vector<uint8_t> h;
        Put32(h, 0x02014b50);
        Put16(h, kVersionMadeBy);
        PutEntryFields(h, e);
        Put16(h, kCentralExtraSize);
        Put16(h, 0);  // comment
        Put16(h, 0);  // disk
        Put16(h, 0);  // internal attributes
        Put32(h, e.externalAttributes);
        Put32(h, static_cast<uint32_t>(e.headerOffset));
        h.insert(h.end(), e.name.begin(), e.name.end());
        h.push_back('U');
        h.push_back('T');
        Put16(h, 5);
        h.push_back(7);
        Put32(h, static_cast<uint32_t>(e.modified));
        if (!WriteArchive(h.data(), h.size())) {
            result = kZipErrWrite;
            break;
        }
    }
    if (result == kZipOk) {
        std::vector<uint8_t> end;
        Put32(end, 0x06054b50);
        Put16(end, 0);
        Put16(end, 0);
        Put16(end, static_cast<uint32_t>(entries_.size()));
        Put16(end, static_cast<uint32_t>(entries_.size()));
        Put32(end, static_cast<uint32_t>(offset_ - centralStart));
        Put32(end, static_cast<uint32_t>(centralStart));
        Put16(end, 0);
        if (entries_.size() > 0xFFFF || !WriteArchive(end.data(), end.size()))
            result = kZipErrWrite;
    }
    entries_.clear();
    if (!file_.Close())
        result = kZipErrWrite;
    return result;
}
