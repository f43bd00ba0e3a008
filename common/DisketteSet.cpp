#include "common/DisketteSet.h"

#include "common/DataPaths.h"
#include "common/Diagnostic.h"
#include "common/FileCopy.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "platform/host/Clock.h"
#include "platform/host/Drives.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"

#include <cstdio>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace {

constexpr uint32_t kPauseAfterPieceMs = 4000;

void Trace(const std::string& line)
{
    if (DiagnosticLevel > 0)
        WriteDiagnosticString(line);
}

bool IsRemovable(char drive)
{
    return host::Drives::TypeOf(Format("%c:\\", drive)) == host::DriveType::Removable;
}

// The whole buffer, or false after "Can't allocate memory for operation.".
bool Allocate(std::vector<char>& buffer, uint64_t size)
{
    try {
        if (size > std::numeric_limits<uint32_t>::max())
            throw std::bad_alloc();
        buffer.resize(static_cast<size_t>(size));
        return true;
    } catch (const std::bad_alloc&) {
        GetResponse("Can't allocate memory for operation.", MB_OK);
        return false;
    }
}

// Whether the diskette in the drive carries, under `destination`, piece `piece` (one already
// written in this run, before `current`) of the set held in `data`.
bool HoldsEarlierPiece(char drive, const std::string& destination, const std::vector<char>& data,
                       uint32_t current, uint32_t& piece)
{
    uint32_t total = 0, offset = 0, size = 0;
    if (ReadRecombineInfo(GetRecombineInfoPath(drive), piece, total, offset, size) == 0)
        return false;
    if (total != data.size() || piece >= current || uint64_t{offset} + size > total)
        return false;
    host::File file;
    if (!file.OpenReadOnly(destination) || file.Size() != static_cast<int64_t>(size))
        return false;
    std::vector<char> bytes(size);
    size_t got = 0;
    if (!file.ReadAt(0, bytes.data(), size, &got) || got != size)
        return false;
    return std::memcmp(bytes.data(), data.data() + offset, size) == 0;
}

enum class PieceResult { Written, NotOpened, NotWritten };

// Writes one piece and its info file; on a failed write removes what was written.
PieceResult WritePiece(const std::string& destination, const std::string& infoPath,
                       const std::vector<char>& data, uint32_t piece, uint32_t offset,
                       uint32_t size)
{
    host::File out;
    if (!out.Open(destination, host::File::Access::ReadWrite,
                  host::File::Disposition::CreateAlways))
        return PieceResult::NotOpened;
    bool written = out.Write(data.data() + offset, size) && out.Flush();
    written = out.Close() && written;
    written = written &&
              WriteRecombineInfo(infoPath, piece, offset, size,
                                 static_cast<uint32_t>(data.size())) == 1;
    if (written)
        return PieceResult::Written;
    host::DeleteFile(destination);
    host::DeleteFile(infoPath);
    return PieceResult::NotWritten;
}

// Writes the whole file beside the destination, then puts it in place, so that a failed write
// leaves the old destination as it was.
bool WriteWholeFile(const std::string& destination, const std::vector<char>& data)
{
    const std::string temporary = destination + ".$$$";
    host::File out;
    if (!out.Open(temporary, host::File::Access::ReadWrite,
                  host::File::Disposition::CreateAlways))
        return false;
    bool written = out.Write(data.data(), data.size()) && out.Flush();
    written = out.Close() && written;
    written = written && host::ReplaceFile(temporary, destination);
    if (!written)
        host::DeleteFile(temporary);
    return written;
}

// Whether a later info line continues the set: same total, the next piece at the next offset,
// within the total.
bool ContinuesSet(uint32_t piece, uint32_t total, uint32_t offset, uint32_t size,
                  uint32_t expectedPiece, uint32_t expectedTotal, uint32_t expectedOffset)
{
    return total == expectedTotal && piece == expectedPiece && offset == expectedOffset &&
           uint64_t{offset} + size <= total;
}

}  // namespace

std::string GetRecombineInfoPath(char drive)
{
    return Format("%c:RecombineInfo.dat", drive);
}

int WriteRecombineInfo(const std::string& path, uint32_t piece, uint32_t offset, uint32_t size,
                       uint32_t total)
{
    std::FILE* file = OpenTextFile(path, "wb");
    if (file == nullptr)
        return 0;
    std::string line = Format("%u,%u,%u,%u\n", piece, offset, size, total);
    line.pop_back();  // the file is written in binary: the line ends in CR LF
    const bool written = std::fprintf(file, "%s\r\n", line.c_str()) > 0 && std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    Trace(Format("FileCopyToFloppies save %s in %s\n", line.c_str(), path.c_str()));
    return written && closed ? 1 : 0;
}

int ReadRecombineInfo(const std::string& path, uint32_t& piece, uint32_t& total, uint32_t& offset,
                      uint32_t& size)
{
    std::FILE* file = OpenTextFile(path, "rb");
    if (file == nullptr)
        return 0;
    char line[1024];
    const bool read = std::fgets(line, sizeof line, file) != nullptr;
    std::fclose(file);
    if (!read)
        return 0;
    std::vector<std::string> fields;
    if (SplitString(line, ",", fields, 0, 1) != 4)
        return 0;
    uint32_t values[4] = {};
    for (int i = 0; i < 4; ++i) {
        // Digits, then only the line end: anything else is not this file's line.
        const std::string& field = fields[static_cast<size_t>(i)];
        size_t end = field.find_first_not_of("0123456789");
        if (end == 0 || field.empty() || field.find_first_not_of(" \t\r\n", end == std::string::npos ? field.size()
                                                                                   : end)
                            != std::string::npos)
            return 0;
        const unsigned long long value = std::strtoull(field.c_str(), nullptr, 10);
        if (value > std::numeric_limits<uint32_t>::max())
            return 0;
        values[i] = static_cast<uint32_t>(value);
    }
    piece = values[0];
    offset = values[1];
    size = values[2];
    total = values[3];
    return 1;
}

uint64_t GetDisketteFreeSpace(char drive, uint64_t* total)
{
    const std::string root = Format("%c:\\", drive);
    const host::DriveType type = host::Drives::TypeOf(root);
    if (type != host::DriveType::Removable && type != host::DriveType::CdRom) {
        GetResponse("Not removable drive.", MB_OK);
        return 0;
    }
    host::WaitCursor wait;
    uint64_t freeBytes = 0, totalBytes = 0;
    if (!host::Drives::FreeSpace(root, freeBytes, &totalBytes))
        return 0;  // no medium in the drive: no room either
    if (type == host::DriveType::Removable && totalBytes > host::kDisketteCapacity &&
        GetResponse("Possible problem with drive, since available space greater than normal "
                    "floppy.\n Continue?", MB_YESNO) != IDYES)
        return 0;
    if (total != nullptr)
        *total = totalBytes;
    return freeBytes;
}

int ClearDiskette(char drive)
{
    if (!IsRemovable(drive)) {
        GetResponse("Not removable drive.", MB_OK);
        return 0;
    }
    std::vector<std::string> names, dates;
    ListFilesWithDates(Format("%c:*.*", drive), names, dates, 0);
    int result = 1;
    for (const std::string& name : names)
        if (!host::DeleteFile(Format("%c:%s", drive, name.c_str())))
            result = 0;
    return result;
}

int FileCopyToFloppies(const std::string& source, const std::string& destination, int ask,
                       int emptyFirst, int emptyFurther)
{
    if (ask == 1 && FileExists(destination) == 1 &&
        GetResponse(Format("File %s exists.\n Overwrite?", destination.c_str()), MB_YESNO) != IDYES)
        return 1;
    uint64_t size = 0;
    if (!host::GetFileSize(source, size))
        size = 0;
    const char drive = destination.empty() ? '\0' : destination[0];
    const std::string infoPath = GetRecombineInfoPath(drive);
    if (emptyFirst == 1)
        ClearDiskette(drive);

    if (size < GetDisketteFreeSpace(drive, nullptr)) {
        const int result = CopyFileWithRetry(source, destination, 0, 1);
        // An info file left from an earlier set would make the restore treat this whole file
        // as a piece of that set.
        if (result == 0 && host::FileExists(infoPath))
            host::DeleteFile(infoPath);
        return result;
    }

    std::vector<char> data;
    if (!Allocate(data, size))
        return 1;
    {
        host::File in;
        size_t got = 0;
        if (!in.OpenReadOnly(source) || !in.ReadAt(0, data.data(), data.size(), &got) ||
            got != data.size())
            return 1;
    }
    const uint32_t total = static_cast<uint32_t>(data.size());
    uint32_t piece = 0;
    uint32_t offset = 0;
    for (;;) {
        Trace(Format("FileCopyToFloppies %s to %s, offset %u, size %u\n", source.c_str(),
                     destination.c_str(), offset, total));
        if (offset > 0) {
            uint32_t held = 0;
            if (HoldsEarlierPiece(drive, destination, data, piece, held)) {
                GetResponse(Format("This diskette holds part %u of the file being copied.\n"
                                   "Insert next diskette", held + 1),
                            MB_OK);
                continue;
            }
            if (emptyFurther == 1)
                ClearDiskette(drive);
        }
        const uint64_t freeBytes = GetDisketteFreeSpace(drive, nullptr);
        int64_t amount = static_cast<int64_t>(freeBytes) - kDisketteReserve;
        if (amount < 0) {
            Trace(Format("FileCopyToFloppies Insufficient space on floppy %u\n",
                         static_cast<uint32_t>(freeBytes)));
            if (GetResponse("Insufficient space on floppy. Try again?", MB_YESNO) == IDYES)
                continue;
            return 1;
        }
        Trace(Format("FileCopyToFloppies  offset %u, nAmountToSave %u\n", offset,
                     static_cast<uint32_t>(amount)));
        if (static_cast<uint64_t>(offset) + static_cast<uint64_t>(amount) > total) {
            amount = total - offset;
            Trace(Format("FileCopyToFloppies reset nAmountToSave %u\n",
                         static_cast<uint32_t>(amount)));
        }
        const PieceResult written = WritePiece(destination, infoPath, data, piece, offset,
                                               static_cast<uint32_t>(amount));
        if (written != PieceResult::Written) {
            if (GetResponse(written == PieceResult::NotOpened
                                ? "Can't open output file on floppy. Try again?"
                                : "Can't write output file on floppy. Try again?",
                            MB_YESNO) == IDYES)
                continue;
            return 1;
        }
        host::Clock::Sleep(kPauseAfterPieceMs);
        offset += static_cast<uint32_t>(amount);
        Trace(Format("FileCopyToFloppies after write reset nOffset %u\n", offset));
        if (offset >= total) {
            Trace("FileCopyToFloppies done\n");
            return 0;
        }
        ++piece;
        Trace("FileCopyToFloppies go to next\n");
        GetResponse("Insert next diskette", MB_OK);
    }
}

int FileCopyFromFloppies(const std::string& source, const std::string& destination, int ask)
{
    const char drive = source.empty() ? '\0' : source[0];
    if (FileExists(GetRecombineInfoPath(drive)) == 0)
        return CopyFileWithRetry(source, destination, ask, 0);
    return RecombineDisketteSet(source, destination);
}

int RecombineDisketteSet(const std::string& source, const std::string& destination,
                         const InsertPromptFn& insertPrompt)
{
    const char drive = source.empty() ? '\0' : source[0];
    const std::string infoPath = GetRecombineInfoPath(drive);
    uint32_t piece = 0, total = 0, offset = 0, size = 0;
    if (ReadRecombineInfo(infoPath, piece, total, offset, size) == 0 ||
        !ContinuesSet(piece, total, offset, size, 0, total, 0)) {
        GetResponse("Can't read recombine information file.", MB_OK);
        return 1;
    }
    std::vector<char> data;
    if (!Allocate(data, total))
        return 1;
    for (;;) {
        Trace(Format("FileCopyFromFloppies %s to %s\n", source.c_str(), destination.c_str()));
        host::File in;
        size_t got = 0;
        // A piece must be exactly as long as its info says, and read whole.
        if (!in.OpenReadOnly(source) || in.Size() != static_cast<int64_t>(size) ||
            !in.ReadAt(0, data.data() + offset, size, &got) || got != size) {
            if (GetResponse("Can't open input file on floppy. Try again?", MB_YESNO) == IDYES)
                continue;
            return 1;
        }
        in.Close();
        const uint32_t covered = offset + size;
        if (covered >= total)
            break;
        const uint32_t expected = piece + 1;
        for (;;) {
            GetResponse(insertPrompt ? insertPrompt(offset, size, total)
                                     : std::string("Insert next  diskette."),
                        MB_OK);
            uint32_t nextPiece = 0, nextTotal = 0, nextOffset = 0, nextSize = 0;
            // A diskette of another set, out of order, or reaching past the end is refused.
            if (ReadRecombineInfo(infoPath, nextPiece, nextTotal, nextOffset, nextSize) == 1 &&
                ContinuesSet(nextPiece, nextTotal, nextOffset, nextSize, expected, total,
                             covered)) {
                piece = nextPiece;
                offset = nextOffset;
                size = nextSize;
                break;
            }
            if (GetResponse("Can't read recombine information file. Try again?", MB_YESNO) !=
                IDYES)
                return 1;
        }
    }
    if (!WriteWholeFile(destination, data)) {
        GetResponse(Format("Can't write file %s", destination.c_str()), MB_OK);
        return 1;
    }
    return 0;
}
