#include "common/FileCopy.h"

#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "platform/host/Clock.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"

namespace {

constexpr uint32_t kPauseAfterCopyMs = 4000;

// Win32 error codes the copy distinguishes.
constexpr int kErrorFileNotFound = 2;
constexpr int kErrorPathNotFound = 3;
constexpr int kErrorAccessDenied = 5;
constexpr int kErrorNotReady = 21;
constexpr int kErrorDiskFull = 39;
constexpr int kErrorFileExists = 80;

// What to do after a failed copy: -1 to try again, else the outcome to give up with.
int AskAfterFailure(int error, const std::string& source, const std::string& destination)
{
    const char* src = source.c_str();
    const char* dst = destination.c_str();
    switch (error) {
    case kErrorFileExists:
        return GetResponse(Format("File %s exists.\n Overwrite?", dst), MB_YESNO) == IDYES
                   ? -1 : kCopyNotOverwritten;
    case kErrorDiskFull:
        return GetResponse("Disk is full.\nChange it and try again?", MB_YESNO) == IDYES
                   ? -1 : kCopyGaveUp;
    case kErrorFileNotFound:
        GetResponse(Format("File not found in copying %s to %s.", src, dst), MB_OK);
        return kCopyFailed;
    case kErrorPathNotFound:
        GetResponse(Format("Path not found in copying %s to %s.", src, dst), MB_OK);
        return kCopyFailed;
    case kErrorAccessDenied:
        return GetResponse(Format("Access denied iin copying %s to %s.\nTry again?", src, dst),
                           MB_YESNO) == IDYES ? -1 : kCopyGaveUp;
    case kErrorNotReady:
        return GetResponse(Format("Device not ready in copying %s to %s.\nTry again?", src, dst),
                           MB_YESNO) == IDYES ? -1 : kCopyGaveUp;
    default:
        return GetResponse(Format("Error %i in copying %s to %s.\nTry again?", error, src, dst),
                           MB_YESNO) == IDYES ? -1 : kCopyFailed;
    }
}

}  // namespace

int CopyFileWithRetry(const std::string& source, const std::string& destination, int ask,
                      int pause)
{
    if (FileExists(source) == 0) {
        GetResponse(Format("File %s does not exist.", source.c_str()), MB_OK);
        return kCopyFailed;
    }
    if (host::SameFile(source, destination)) {
        // Deleting the destination first would delete the only copy.
        GetResponse(Format("File %s cannot be copied onto itself.", source.c_str()), MB_OK);
        return kCopyFailed;
    }
    if (ask == 1 && FileExists(destination) == 1 &&
        GetResponse(Format("File %s exists.\n Overwrite?", destination.c_str()), MB_YESNO) != IDYES)
        return kCopyNotOverwritten;

    host::WaitCursor wait;

    // The host's copy writes a temporary file beside the destination and renames it in place, so
    // the old destination is kept until the new one is whole (it is never deleted beforehand).
    int outcome = kCopyDone;
    for (;;) {
        if (host::CopyFile(source, destination, false))
            break;
        const int error = host::LastFileErrorCode();
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CopyFileWithRetry %s to %s, error %i\n", source.c_str(),
                                  destination.c_str(), error);
        outcome = AskAfterFailure(error, source, destination);
        if (outcome >= 0)
            break;
        outcome = kCopyDone;
    }
    if (pause == 1 && outcome == kCopyDone)
        host::Clock::Sleep(kPauseAfterCopyMs);
    return outcome;
}
