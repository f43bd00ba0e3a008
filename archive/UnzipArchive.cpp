#include "archive/UnzipArchive.h"

#include <minizip/unzip.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <vector>

#include "archive/ZipFormat.h"
#include "archive/ZipWriter.h"
#include "platform/host/File.h"
#include "platform/host/Path.h"

namespace {

constexpr unsigned kChunk = 16384;

unzFile Zip(void* p) { return static_cast<unzFile>(p); }

bool IsAbsoluteName(const std::string& name)
{
    return (!name.empty() && host::IsSeparator(name[0])) || (name.size() >= 2 && name[1] == ':');
}

bool ClimbsOut(const std::string& name)
{
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || host::IsSeparator(name[i])) {
            if (name.compare(start, i - start, "..") == 0 && i - start == 2)
                return true;
            start = i + 1;
        }
    }
    return false;
}

// Creates every missing folder of `folder`, each level in turn.
bool MakeFolders(const std::string& folder)
{
    if (folder.empty() || host::FolderExists(folder))
        return true;
    std::string trimmed = folder;
    while (trimmed.size() > 1 && host::IsSeparator(trimmed.back()))
        trimmed.pop_back();
    if (trimmed.size() == 2 && trimmed[1] == ':')
        return true;  // a drive's root
    const std::string parent = host::DirectoryPart(trimmed);
    if (!parent.empty() && parent != trimmed && !MakeFolders(parent))
        return false;
    return host::MakeDirectory(trimmed) || host::FolderExists(trimmed);
}

// The "UT" extended-timestamp field of an extra field: the times it holds.
void ReadExtendedTimes(const uint8_t* extra, size_t size, ZIP_ITEM_INFO* info)
{
    size_t pos = 0;
    while (pos + 4 <= size) {
        const unsigned id = extra[pos] | (extra[pos + 1] << 8);
        const size_t len = extra[pos + 2] | (extra[pos + 3] << 8);
        const uint8_t* d = extra + pos + 4;
        if (pos + 4 + len > size)
            return;
        if (id == 0x5455 && len >= 1) {
            const unsigned flags = d[0];
            size_t at = 1;
            auto next = [&](uint64_t* out) {
                if (at + 4 > len)
                    return;
                const int32_t t = static_cast<int32_t>(d[at] | (d[at + 1] << 8) | (d[at + 2] << 16) |
                                                       (static_cast<uint32_t>(d[at + 3]) << 24));
                *out = UnixToFileTime(t);
                at += 4;
            };
            if (flags & 1)
                next(&info->writeTime);
            if (flags & 2)
                next(&info->accessTime);
            if (flags & 4)
                next(&info->creationTime);
            return;
        }
        pos += 4 + len;
    }
}

}  // namespace

bool IsSafeItemName(const std::string& name)
{
    return !name.empty() && !IsAbsoluteName(name) && !ClimbsOut(name);
}

CUnzipArchive::CUnzipArchive() = default;

CUnzipArchive::~CUnzipArchive()
{
    Close();
}

int CUnzipArchive::Open(const std::string& path)
{
    if (zip_ != nullptr)
        return kZipErrOpened;
    std::string hostPath;
    if (path.empty() || !host::ToHostPath(path, hostPath))
        return kZipErrOpen;
    unzFile z = unzOpen64(hostPath.c_str());
    if (z == nullptr)
        return kZipErrOpen;
    unz_global_info64 gi;
    if (unzGetGlobalInfo64(z, &gi) != UNZ_OK || gi.number_entry > 0x7FFFFFFF) {
        unzClose(z);
        return kZipErrOpen;
    }
    zip_ = z;
    count_ = static_cast<int>(gi.number_entry);
    current_ = -1;
    cachedIndex_ = -1;
    std::string cwd;
    host::CurrentFolder(cwd);
    SetBaseFolder(cwd);
    return kZipOk;
}

int CUnzipArchive::SetBaseFolder(const std::string& folder)
{
    base_ = folder.substr(0, 259);
    if (base_.empty() || !host::IsSeparator(base_.back()))
        base_ += '\\';
    return kZipOk;
}

int CUnzipArchive::GoTo(int index)
{
    if (current_ < 0 || index < current_) {
        if (unzGoToFirstFile(Zip(zip_)) != UNZ_OK)
            return kZipErrOpen;
        current_ = 0;
    }
    while (current_ < index) {
        if (unzGoToNextFile(Zip(zip_)) != UNZ_OK) {
            current_ = -1;
            return kZipErrOpen;
        }
        ++current_;
    }
    return kZipOk;
}

int CUnzipArchive::GetItem(int index, ZIP_ITEM_INFO* info)
{
    if (info == nullptr || zip_ == nullptr)
        return kZipErrArgs;
    info->index = 0;
    info->name[0] = 0;
    info->uncompressedSize = 0;
    if (index == -1) {
        *info = ZIP_ITEM_INFO();
        info->index = count_;
        return kZipOk;
    }
    if (index < -1 || index >= count_)
        return kZipErrArgs;
    if (index == cachedIndex_) {
        *info = cached_;
        return kZipOk;
    }
    if (const int r = GoTo(index); r != kZipOk)
        return r;
    unz_file_info64 fi;
    char name[260];
    std::vector<uint8_t> extra(0x10000);
    if (unzGetCurrentFileInfo64(Zip(zip_), &fi, name, sizeof name, extra.data(),
                                static_cast<uLong>(extra.size()), nullptr, 0) != UNZ_OK)
        return kZipErrOpen;
    ZIP_ITEM_INFO item;
    item.index = index;
    std::memcpy(item.name, name, strnlen(name, sizeof item.name - 1));
    const uint32_t ext = static_cast<uint32_t>(fi.external_fa);
    const uint32_t mode = ext >> 16;
    const bool folder = (ext & kAttrDirectory) || (mode & 0xF000) == 0x4000 ||
                        (fi.size_filename > 0 && fi.size_filename < sizeof name &&
                         (name[fi.size_filename - 1] == '/' || name[fi.size_filename - 1] == '\\'));
    item.attributes = (folder ? kAttrDirectory : kAttrNormal) |
                      (ext & (kAttrArchive | kAttrHidden | kAttrReadOnly | kAttrSystem));
    const uint16_t dosDate = static_cast<uint16_t>(fi.dosDate >> 16);
    const uint16_t dosTime = static_cast<uint16_t>(fi.dosDate & 0xFFFF);
    item.writeTime = UnixToFileTime(ZipDosToUnix(dosDate, dosTime));
    ReadExtendedTimes(extra.data(), std::min<size_t>(fi.size_file_extra, extra.size()), &item);
    if (item.accessTime == 0)
        item.accessTime = item.writeTime;
    if (item.creationTime == 0)
        item.creationTime = item.writeTime;
    item.compressedSize = static_cast<int32_t>(fi.compressed_size);
    item.uncompressedSize = static_cast<int32_t>(fi.uncompressed_size);
    cached_ = item;
    cachedMode_ = mode;
    cachedIndex_ = index;
    *info = item;
    return kZipOk;
}

int CUnzipArchive::ExtractItem(int index, const std::string& fileName)
{
    if (zip_ == nullptr || index < 0 || index >= count_ || fileName.empty())
        return kZipErrArgs;
    if (IsAbsoluteName(fileName))
        return ExtractTo(index, fileName);
    if (ClimbsOut(fileName))
        return kZipErrArgs;
    return ExtractTo(index, base_ + fileName);
}

int CUnzipArchive::ExtractItemUnder(int index, const std::string& folder)
{
    ZIP_ITEM_INFO info;
    if (const int r = GetItem(index, &info); r != kZipOk)
        return r;
    if (!IsSafeItemName(info.name))
        return kZipErrArgs;
    return ExtractTo(index, host::JoinPath(folder, info.name));
}

int CUnzipArchive::ExtractTo(int index, const std::string& path)
{
    ZIP_ITEM_INFO info;
    if (const int r = GetItem(index, &info); r != kZipOk)
        return r;
    const std::string folder = host::DirectoryPart(path);
    if (info.attributes & kAttrDirectory)
        return MakeFolders(path) ? kZipOk : kZipErrOpen;
    if (!MakeFolders(folder))
        return kZipErrOpen;
    if (const int r = GoTo(index); r != kZipOk)
        return r;
    if (unzOpenCurrentFile(Zip(zip_)) != UNZ_OK)
        return kZipErrOpen;

    host::File out;
    // Created anew or truncated: a shorter item never leaves the old file's tail behind.
    if (!out.Open(path, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways)) {
        unzCloseCurrentFile(Zip(zip_));
        return kZipErrOpen;
    }
    std::vector<uint8_t> buf(kChunk);
    int result = kZipOk;
    for (;;) {
        const int n = unzReadCurrentFile(Zip(zip_), buf.data(), kChunk);
        if (n < 0) {
            result = kZipErrWrite;
            break;
        }
        if (n == 0)
            break;
        size_t done = 0;
        if (!out.Write(buf.data(), static_cast<size_t>(n), &done) || done != static_cast<size_t>(n)) {
            result = kZipErrWrite;
            break;
        }
    }
    // A damaged item (bad CRC, short data) fails even when its bytes were written.
    if (unzCloseCurrentFile(Zip(zip_)) != UNZ_OK && result == kZipOk)
        result = kZipErrWrite;
    if (!out.Close() && result == kZipOk)
        result = kZipErrWrite;
    if (result == kZipOk) {
        std::string hostPath;
        if (host::ToHostPath(path, hostPath)) {
            std::error_code ec;
            const auto t = std::chrono::sys_seconds(std::chrono::seconds(FileTimeToUnix(info.writeTime)));
            std::filesystem::last_write_time(
                hostPath, std::chrono::file_clock::from_sys(t), ec);
            // A program stored with its owner's execute bit can run once restored.
            if ((cachedMode_ & 0xF000) == 0x8000 && (cachedMode_ & 0x0040))
                std::filesystem::permissions(hostPath, std::filesystem::perms::owner_exec,
                                             std::filesystem::perm_options::add, ec);
        }
    }
    return result;
}

int CUnzipArchive::Close()
{
    if (zip_ != nullptr) {
        unzCloseCurrentFile(Zip(zip_));
        unzClose(Zip(zip_));
        zip_ = nullptr;
    }
    count_ = 0;
    current_ = -1;
    cachedIndex_ = -1;
    return kZipOk;
}
