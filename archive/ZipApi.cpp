#include "archive/ZipApi.h"

#include <atomic>
#include <new>

namespace {

std::atomic<int> g_unzipLastError{0};
std::atomic<int> g_zipLastError{0};

int Unzip(int result)
{
    g_unzipLastError = result;
    return result;
}

int Zip(int result)
{
    g_zipLastError = result;
    return result;
}

// Checks a handle of the wanted kind; gives 0 or the error code.
int Check(HZIP handle, int kind)
{
    if (handle == nullptr)
        return kZipErrArgs;
    if (handle->kind != kind)
        return kZipErrKind;
    return kZipOk;
}

CUnzipArchive* Reader(HZIP h) { return static_cast<CUnzipArchive*>(h->state); }
CZipWriter* Writer(HZIP h) { return static_cast<CZipWriter*>(h->state); }

}  // namespace

HZIP OpenUnzipFile(const std::string& archivePath, const char* /*password*/)
{
    auto* archive = new (std::nothrow) CUnzipArchive();
    if (archive == nullptr) {
        Unzip(kZipErrOpen);
        return nullptr;
    }
    const int r = archive->Open(archivePath);
    if (r != kZipOk) {
        delete archive;
        Unzip(r);
        return nullptr;
    }
    HZIP h = new (std::nothrow) stZipHandle{kZipHandleReader, archive};
    if (h == nullptr) {
        delete archive;
        Unzip(kZipErrOpen);
        return nullptr;
    }
    Unzip(kZipOk);
    return h;
}

int GetUnzipItem(HZIP handle, int index, ZIP_ITEM_INFO* entry)
{
    if (const int r = Check(handle, kZipHandleReader); r != kZipOk)
        return Unzip(r);
    if (entry == nullptr)
        return Unzip(kZipErrArgs);
    return Unzip(Reader(handle)->GetItem(index, entry));
}

int UnzipItemToFile(HZIP handle, int index, const std::string& fileName)
{
    if (const int r = Check(handle, kZipHandleReader); r != kZipOk)
        return Unzip(r);
    return Unzip(Reader(handle)->ExtractItem(index, fileName));
}

int SetUnzipBaseFolder(HZIP handle, const std::string& folder)
{
    if (const int r = Check(handle, kZipHandleReader); r != kZipOk)
        return Unzip(r);
    return Unzip(Reader(handle)->SetBaseFolder(folder));
}

int CloseUnzip(HZIP handle)
{
    if (const int r = Check(handle, kZipHandleReader); r != kZipOk)
        return Unzip(r);
    const int r = Reader(handle)->Close();
    delete Reader(handle);
    delete handle;
    return Unzip(r);
}

HZIP CreateZipFile(const std::string& archivePath, const char* /*password*/)
{
    auto* writer = new (std::nothrow) CZipWriter();
    if (writer == nullptr) {
        Zip(kZipErrOpen);
        return nullptr;
    }
    const int r = writer->Create(archivePath);
    if (r != kZipOk) {
        delete writer;
        Zip(r);
        return nullptr;
    }
    HZIP h = new (std::nothrow) stZipHandle{kZipHandleWriter, writer};
    if (h == nullptr) {
        delete writer;
        Zip(kZipErrOpen);
        return nullptr;
    }
    Zip(kZipOk);
    return h;
}

int ZipAddFile(HZIP handle, const std::string& nameInArchive, const std::string& diskPath)
{
    if (const int r = Check(handle, kZipHandleWriter); r != kZipOk)
        return Zip(r);
    return Zip(Writer(handle)->AddFile(nameInArchive, diskPath));
}

int CloseZip(HZIP handle)
{
    if (const int r = Check(handle, kZipHandleWriter); r != kZipOk)
        return Zip(r);
    const int r = Writer(handle)->Close();
    delete Writer(handle);
    delete handle;
    return Zip(r);
}

bool IsUnzipHandle(HZIP handle)
{
    return handle != nullptr && handle->kind == kZipHandleReader;
}

int GetUnzipLastError() { return g_unzipLastError; }
int GetZipLastError() { return g_zipLastError; }
