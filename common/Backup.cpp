#include "common/Backup.h"

#include "archive/Pkware.h"
#include "archive/ZipApi.h"
#include "common/DataPaths.h"
#include "common/Diagnostic.h"
#include "common/FileCopy.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"
#include "platform/host/WaitCursor.h"

#include <memory>
#include <new>

namespace {

// The default scratch file of PackFile, in the current folder.
const char* const kPackScratchName = "TempFile.$$$";
// Implode's settings for the program's packed files.
constexpr unsigned int kPackType = kPkAscii;
constexpr unsigned int kPackDictionary = 4096;

// A zip handle closed with the close of its kind.
void CloseZipHandle(HZIP handle)
{
    if (IsUnzipHandle(handle))
        CloseUnzip(handle);
    else
        CloseZip(handle);
}

// A work area of the engine's size, or null.
std::unique_ptr<char[]> AllocateWorkArea(unsigned int size)
{
    return std::unique_ptr<char[]>(new (std::nothrow) char[size]);
}

// The archive is written under a temporary name beside it and put in place when it is complete,
// so that a failed backup never removes the one before it.
int WriteZipArchive(const std::string& archive, const std::vector<std::string>& files,
                    int bareNames)
{
    const std::string temporary = archive + ".$$$";
    HZIP handle = CreateZipFile(temporary, nullptr);
    if (handle == nullptr) {
        GetResponse("Error in creating ZIP file.", MB_OK);
        return 1;
    }
    int outcome = 0;
    for (const std::string& file : files) {
        const std::string entry = bareNames == 1 ? GetFileNamePart(file) : file;
        if (ZipAddFile(handle, entry, file) != 0) {
            GetResponse(Format("Error in ZIPping %s", file.c_str()), MB_OK);
            outcome = 2;
        }
    }
    const bool closed = IsUnzipHandle(handle) ? CloseUnzip(handle) == 0 : CloseZip(handle) == 0;
    const bool hadArchive = host::FileExists(archive);
    if (!closed || (outcome != 0 && hadArchive)) {
        host::DeleteFile(temporary);
        if (!closed) {
            GetResponse("Error in creating ZIP file.", MB_OK);
            return 1;
        }
        return outcome;
    }
    if (!host::ReplaceFile(temporary, archive)) {
        host::DeleteFile(temporary);
        GetResponse("Error in creating ZIP file.", MB_OK);
        return 1;
    }
    return outcome;
}

// A restored item's name: the last component across '/' and '\'; "" for a folder entry.
std::string RestoredItemName(const ZIP_ITEM_INFO& info)
{
    return GetFileNamePart(info.name);
}

// A plain file name: not ".", "..", nor with a drive prefix.
bool IsPlainFileName(const std::string& name)
{
    if (name.empty() || name == "." || name == ".." || name.find(':') != std::string::npos)
        return false;
    return IsSafeItemName(name);
}

// The folder items are extracted under; the current folder for a path without one.
std::string ExtractionFolder(const std::string& folder)
{
    if (!folder.empty())
        return folder;
    std::string current;
    return host::CurrentFolder(current) ? current : std::string(".");
}

}  // namespace

std::string GetBackupExtension(char kind, int generation) {
    if (generation < 0 || generation > 25)
        return std::string();
    const char letter = static_cast<char>('A' + generation);
    switch (kind) {
    case 'B': return std::string(".BK") + letter;
    case 'P': return std::string(".PK") + letter;
    case 'Z': return std::string(".ZP") + letter;
    default: return std::string();
    }
}

unsigned int PackReadData(char* buffer, unsigned int* count, void* transfer)
{
    auto* t = static_cast<PackTransfer*>(transfer);
    size_t done = 0;
    if (t->writeFailed || t->readFailed) {
        *count = 0;
        return 0;
    }
    if (!t->input->Read(buffer, *count, &done)) {
        t->readFailed = true;
        t->errorCode = t->input->LastErrorCode();
        done = 0;
    }
    *count = static_cast<unsigned int>(done);
    return *count;
}

void PackWriteData(char* buffer, unsigned int* count, void* transfer)
{
    auto* t = static_cast<PackTransfer*>(transfer);
    if (t->writeFailed || *count == 0)
        return;
    if (!t->output->Write(buffer, *count)) {
        t->writeFailed = true;
        t->errorCode = t->output->LastErrorCode();
    }
}

int ZipOneFile(const std::string& file, const std::string& archive, int bareName)
{
    return WriteZipArchive(archive, {file}, bareName);
}

int ZipFileList(const std::string& archive, const std::vector<std::string>& files, int bareNames)
{
    return WriteZipArchive(archive, files, bareNames);
}

int UnzipFiles(const std::string& archive, const std::string& target,
               std::vector<std::string>* restored)
{
    if (FileExists(archive) == 0) {
        GetResponse(Format("ZIP file %s not found", archive.c_str()), MB_OK);
        return 1;
    }
    const std::string folder = restored != nullptr ? target : GetFolderPart(target);
    HZIP handle = OpenUnzipFile(archive, nullptr);
    if (handle == nullptr) {
        GetResponse(Format("Error in unZIPping %s", archive.c_str()), MB_OK);
        return 1;
    }
    const std::string base = ExtractionFolder(folder);
    SetUnzipBaseFolder(handle, base);
    ZIP_ITEM_INFO info;
    int count = 0;
    int outcome = 0;
    if (GetUnzipItem(handle, -1, &info) == 0)
        count = info.index;
    else
        outcome = 2;
    for (int item = 0; item < count; ++item) {
        if (GetUnzipItem(handle, item, &info) != 0) {
            outcome = 2;
            continue;
        }
        if (restored == nullptr) {
            // The target's own name under its own folder, whether the path is absolute or not.
            if (UnzipItemToFile(handle, item, GetFileNamePart(target)) != 0)
                outcome = 3;
            continue;
        }
        const std::string name = RestoredItemName(info);
        if (name.empty() && (info.attributes & 0x10) != 0)
            continue;  // a folder entry: nothing to restore
        if (!IsPlainFileName(name)) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("UnzipFiles refused item %s\n", info.name);
            outcome = 3;
            continue;
        }
        const std::string path = host::IsSeparator(base.back())
                                     ? base + name
                                     : Format("%s\\%s", base.c_str(), name.c_str());
        if (FileExists(path) == 1 &&
            GetResponse(Format("File %s exists. Overwrite it?", path.c_str()), MB_YESNO) != IDYES)
            continue;
        if (UnzipItemToFile(handle, item, name) != 0)
            outcome = 3;
        else
            restored->push_back(path);
    }
    CloseZipHandle(handle);
    return outcome;
}

int UnzipToFile(const std::string& archive, const std::string& target)
{
    return UnzipFiles(archive, target, nullptr);
}

int PackFile(const std::string& source, const std::string& destination,
             const std::string& temporary)
{
    const std::string scratch = temporary.empty() ? std::string(kPackScratchName) : temporary;
    std::unique_ptr<char[]> work = AllocateWorkArea(kImplodeWorkSize);
    if (!work) {
        GetResponse("Can't open working buffer", MB_OK);
        return 1;
    }
    host::WaitCursor wait;
    host::DeleteFile(scratch);
    int outcome = 0;
    host::File input, output;
    if (!input.OpenReadOnly(source)) {
        GetResponse(Format("Error %i in opening input file to pack: %s", input.LastErrorCode(),
                           source.c_str()), MB_OK);
        outcome = 1;
    } else if (!output.Open(scratch, host::File::Access::ReadWrite,
                            host::File::Disposition::CreateAlways)) {
        GetResponse(Format("Error %i in opening output packed file: %s", output.LastErrorCode(),
                           scratch.c_str()), MB_OK);
        outcome = 2;
    } else {
        PackTransfer transfer;
        transfer.input = &input;
        transfer.output = &output;
        unsigned int type = kPackType;
        unsigned int dictionary = kPackDictionary;
        outcome = static_cast<int>(
            Implode(PackReadData, PackWriteData, work.get(), &transfer, &type, &dictionary));
        const bool closed = output.Close();
        if (!closed && !transfer.writeFailed)
            transfer.errorCode = output.LastErrorCode();
        if (transfer.readFailed) {
            GetResponse(Format("Error %i in reading input file to pack: %s", transfer.errorCode,
                               source.c_str()), MB_OK);
            outcome = 1;
        } else if (transfer.writeFailed || !closed) {
            GetResponse(Format("Error %i in writing output packed file: %s", transfer.errorCode,
                               scratch.c_str()), MB_OK);
            outcome = 2;
        }
    }
    work.reset();
    input.Close();
    output.Close();
    if (outcome != 0) {
        GetResponse(Format("Error %d in packing file %s into %s", outcome, source.c_str(),
                           scratch.c_str()), MB_OK);
    } else if (!destination.empty()) {
        // Only a complete packed file goes over the destination.
        outcome += CopyFileWithRetry(scratch, destination, 0, 0);
    }
    if (temporary.empty())
        host::DeleteFile(scratch);
    return outcome;
}

int UnpackFile(const std::string& packed, const std::string& output)
{
    std::unique_ptr<char[]> work = AllocateWorkArea(kExplodeWorkSize);
    if (!work) {
        GetResponse("Can't open working buffer", MB_OK);
        return 5;
    }
    host::WaitCursor wait;
    // The output is built beside its place and put there only when complete.
    const std::string scratch = output + ".$$$";
    int outcome = 0;
    host::File in, out;
    if (!in.OpenReadOnly(packed)) {
        GetResponse("Can't open file to unpack", MB_OK);
        outcome = 6;
    } else if (!out.Open(scratch, host::File::Access::ReadWrite,
                         host::File::Disposition::CreateAlways)) {
        GetResponse("Can't open output file", MB_OK);
        outcome = 7;
    } else {
        PackTransfer transfer;
        transfer.input = &in;
        transfer.output = &out;
        outcome = static_cast<int>(Explode(PackReadData, PackWriteData, work.get(), &transfer));
        bool closed = out.Flush();
        closed = out.Close() && closed;
        if (!closed && !transfer.writeFailed)
            transfer.errorCode = out.LastErrorCode();
        if (transfer.readFailed) {
            GetResponse("Can't open file to unpack", MB_OK);
            outcome = 6;
        } else if (transfer.writeFailed || !closed) {
            GetResponse(Format("Error %i in writing output file: %s", transfer.errorCode,
                               output.c_str()), MB_OK);
            outcome = 7;
        } else if (outcome == 0 && !host::ReplaceFile(scratch, output)) {
            GetResponse("Can't open output file", MB_OK);
            outcome = 7;
        }
        if (outcome != 0)
            host::DeleteFile(scratch);
    }
    work.reset();
    in.Close();
    out.Close();
    if (outcome != 0)
        GetResponse(Format("Error %d in unpacking file %s into %s", outcome, packed.c_str(),
                           output.c_str()), MB_OK);
    return outcome;
}
