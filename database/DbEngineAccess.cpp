// CDbEngine: the guarded transfer of one block under a byte-range lock.

#include "database/DbEngine.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "platform/host/Format.h"

namespace {

// Steps of the quick loop (a free range needs three: lock, transfer, unlock).
constexpr int kQuickTries = 500;

const char* TrueFalse(bool value) {
    return value ? "TRUE" : "FALSE";
}

}  // namespace

void CDbEngine::DoAccessFileBlock(char mode, host::File& file, uint32_t loc, void* buffer,
                                  uint32_t size, bool& locked, bool& accessed, bool& unlocked,
                                  uint32_t& transferred) {
    if (!file.IsOpen()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("DoAccessFileBlock ERROR: Invalid file handle %i\n", file.Handle());
        return;
    }
    host::FileError errorOnEntry = host::LastFileError();
    host::SetLastFileError(host::FileError::None);
    if (!locked) {
        locked = file.Lock(loc, size);
    } else if (!accessed) {
        size_t done = 0;
        if (mode == 'W') {
            accessed = file.WriteAt(loc, buffer, size, &done);
            if (accessed) accessed = file.Flush();
        } else {
            accessed = file.ReadAt(loc, buffer, size, &done);
        }
        transferred = static_cast<uint32_t>(done);
    } else if (!unlocked) {
        unlocked = file.Unlock(loc, size);
    }
    host::FileError errorNow = host::LastFileError();
    if (DiagnosticLevel > 2) {
        std::string errorText = errorNow == host::FileError::None ? "No errors"
                                : errorNow == errorOnEntry
                                    ? "Error unchanged"
                                    : Format("Error changed to %s", host::LastFileErrorText().c_str());
        WriteDiagnosticFormat(
            "DoAccessFileBlock handle %u, %c loc %u, size %u, status: locked %s, accessed %s, "
            "unlocked %s. %s\n",
            static_cast<unsigned>(file.Handle()), mode, loc, size, TrueFalse(locked),
            TrueFalse(accessed), TrueFalse(unlocked), errorText.c_str());
    }
    if (errorNow == host::FileError::None && errorOnEntry != host::FileError::None)
        host::SetLastFileError(errorOnEntry);
}

uint32_t CDbEngine::LockedAccessFileBlock(char mode, host::File& file, uint32_t loc, void* buffer,
                                          uint32_t size, const char* caller) {
    if (!file.IsOpen()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat(
                "CDbEngine::LockedAccessFileBlock ERROR: Invalid file handle %i on entry\n",
                file.Handle());
        return 0;
    }
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDbEngine::LockedAccessFileBlock called from %s, file location %u\n",
                              caller, loc);
    bool locked = false, accessed = false, unlocked = false;
    uint32_t transferred = 0;
    for (int i = 0; i < kQuickTries && !unlocked; ++i)
        DoAccessFileBlock(mode, file, loc, buffer, size, locked, accessed, unlocked, transferred);

    if (unlocked) {
        if (mode != 'W') {
            if (transferred == size) {
                if (DiagnosticLevel > 1)
                    WriteDiagnosticString(
                        "CDbEngine::LockedAccessFileBlock return read OK after initial try.\n");
                return transferred;
            }
            if (DiagnosticLevel > 1)
                WriteDiagnosticString(
                    "CDbEngine::LockedAccessFileBlock return read NOT OK after initial try.\n");
            return 0;
        }
        if (transferred == size && TestFileBlockWrite(file, loc, buffer, size, nullptr) == 1) {
            if (DiagnosticLevel > 1)
                WriteDiagnosticString(
                    "CDbEngine::LockedAccessFileBlock return write OK after initial try.\n");
            return transferred;
        }
    }

    ++m_nLockedAccessWaits;
    std::string status = Format("status: locked %s, accessed %s, unlocked %s.", TrueFalse(locked),
                                TrueFalse(accessed), TrueFalse(unlocked));
    std::string message =
        Format("Record at %u (file handle %u) in use on network. Status: Waiting for %s, %s", loc,
               static_cast<unsigned>(file.Handle()), mode == 'W' ? "write" : "read", status.c_str());
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("%s\n", message.c_str());
    if (file.Size() < 0) {
        if (GetResponse(Format("%s\nError in file size access. Terminate?", message.c_str()), MB_YESNO) == IDYES) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticString(
                    "CDbEngine::LockedAccessFileBlock error in file size. Post quit message.\n");
            PostQuit();
            return 0;
        }
    }

    CDialogWaitBox* box = ShowWaitBox(message, true, 0);
    bool cancelled = false;
    ++m_nAccessWaitDepth;
    for (;;) {
        // Messages are pumped only while this handle holds no range: a handler that reads the
        // same block would otherwise be refused by the lock held here, and wait for ever.
        if (!locked && WaitPump(box)) {
            cancelled = true;
            break;
        }
        DoAccessFileBlock(mode, file, loc, buffer, size, locked, accessed, unlocked, transferred);
        if (unlocked) break;
        if (locked && !accessed) {
            // Locked; the transfer follows at once, without a pump in between.
            DoAccessFileBlock(mode, file, loc, buffer, size, locked, accessed, unlocked, transferred);
            if (locked && !accessed && file.Unlock(loc, size)) locked = false;  // failed: try anew
        }
        if (locked && accessed) {
            DoAccessFileBlock(mode, file, loc, buffer, size, locked, accessed, unlocked, transferred);
            if (unlocked) break;
        }
        if (!locked && WaitCancelled(box)) {
            cancelled = true;
            break;
        }
        PauseBetweenTries();
    }
    --m_nAccessWaitDepth;

    uint32_t result = 0;
    if (unlocked) {
        if (mode != 'W') {
            if (transferred == size) {
                if (DiagnosticLevel > 1)
                    WriteDiagnosticString(
                        "CDbEngine::LockedAccessFileBlock return read OK after wait loop.\n");
                result = transferred;
            } else if (DiagnosticLevel > 1) {
                WriteDiagnosticString(
                    "CDbEngine::LockedAccessFileBlock return read error after wait loop.\n");
            }
        } else if (transferred == size && TestFileBlockWrite(file, loc, buffer, size, box) != 0) {
            if (DiagnosticLevel > 1)
                WriteDiagnosticString(
                    "CDbEngine::LockedAccessFileBlock return write OK after wait loop.\n");
            result = transferred;
        } else if (DiagnosticLevel > 1) {
            WriteDiagnosticString(
                "CDbEngine::LockedAccessFileBlock return with error after wait loop.\n");
        }
    } else if (cancelled && locked) {
        // The user gave up after this call had locked the range: release it.
        file.Unlock(loc, size);
    }
    CloseWaitBox(box);
    return result;
}

std::string CDbEngine::FormatBytesForTrace(uint32_t n) const {
    std::string text;
    if (n > RECORD_BUFFER_SIZE) n = RECORD_BUFFER_SIZE;
    for (uint32_t i = 0; i < n; ++i) {
        uint8_t c = m_cBuffer[i];
        if (c > 31)
            text += static_cast<char>(c);
        else
            text += Format("[%i]", c);
    }
    return text;
}
