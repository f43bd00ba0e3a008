// CDbEngine: lock stamps in the file (record status '*', lock bytes) and single values.

#include "database/DbEngine.h"

#include <vector>

#include "common/Diagnostic.h"
#include "platform/host/Clock.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"

namespace {

// Tries to take a stamp's range for clearing it; others hold it only for a transfer.
constexpr int kClearRangeTries = 2000;

}  // namespace

int CDbEngine::SetRecordLock(uint32_t loc) {
    stDataHeader h;
    if (!ReadDbHeader(loc, h, true)) return 0;
    // No stamp without its companion: one nobody holds would be cleared as a gone copy's.
    if (!HoldStampCompanion(loc)) return 0;
    h.cStatus = DB_STATUS_LOCKED;
    h.nLockOwner = GetCurrentUserCode();
    if (WriteDbHeader(loc, h, true) != DB_HEADER_LEN) {
        ReleaseStampCompanion(loc);
        return 0;
    }
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDbEngine::LockRecord at %u by %s OK\n", loc,
                              GetUserName(GetCurrentUserCode()).c_str());
    return 1;
}

int CDbEngine::ClearRecordLock(uint32_t loc) {
    const uint8_t own = GetCurrentUserCode();
    // The stamp is cleared and its companion given up under the header's range, so that no
    // copy testing the stamp meanwhile finds it free with the companion still held.
    bool ranged = false;
    for (int tries = 0; tries < kClearRangeTries && !ranged; ++tries) {
        ranged = m_File.Lock(loc, DB_HEADER_LEN);
        if (!ranged) host::Clock::Sleep(1);
    }
    if (!ranged) {
        // The range stays taken: the guarded transfer waits for it, then the companion goes.
        stDataHeader h;
        if (!ReadDbHeader(loc, h, true) || h.nLockOwner != own) return 0;
        h.cStatus = DB_STATUS_USED;
        h.nLockOwner = 0;
        int result = WriteDbHeader(loc, h, true) == DB_HEADER_LEN ? 1 : 0;
        ReleaseStampCompanion(loc);
        return result;
    }
    int result = 0;
    uint8_t raw[DB_HEADER_LEN];
    if (ReadFileBlockNoLock(m_File, loc, raw, DB_HEADER_LEN) == DB_HEADER_LEN) {
        stDataHeader h;
        h.Unpack(raw);
        if (h.nLockOwner == own) {
            h.cStatus = DB_STATUS_USED;
            h.nLockOwner = 0;
            h.Pack(raw);
            if (WriteFileBlockUnflushed(m_File, loc, raw, DB_HEADER_LEN) == DB_HEADER_LEN && FlushDbFile()) {
                h.nCurrLoc = loc;
                PutHeaderInArray(h);
                result = 1;
            }
            ReleaseStampCompanion(loc);
        }
    }
    m_File.Unlock(loc, DB_HEADER_LEN);
    return result;
}

int CDbEngine::SetRecordStatus(uint32_t loc, char status, bool locked) {
    stDataHeader h;
    if (!ReadDbHeader(loc, h, locked)) return 0;
    h.cStatus = status;
    return WriteDbHeader(loc, h, locked) == DB_HEADER_LEN ? 1 : 0;
}

uint8_t CDbEngine::ReadByteAt(uint32_t loc) {
    uint8_t value = 0;
    m_bLastByteReadFailed = ReadDbBlock(loc, &value, 1, true) != 1;
    return value;
}

uint32_t CDbEngine::WriteByteAt(uint32_t loc, uint8_t value) {
    return WriteDbBlock(loc, &value, 1, true);
}

uint32_t CDbEngine::ReadDwordAt(uint32_t loc) {
    uint8_t raw[4];
    if (ReadDbBlock(loc, raw, 4, true) != 4) return LOC_NONE;
    return raw[0] | (raw[1] << 8) | (raw[2] << 16) | (static_cast<uint32_t>(raw[3]) << 24);
}

uint32_t CDbEngine::WriteDwordAt(uint32_t loc, uint32_t value) {
    uint8_t raw[4];
    for (int i = 0; i < 4; ++i) raw[i] = static_cast<uint8_t>(value >> (8 * i));
    return WriteDbBlock(loc, raw, 4, true);
}

int CDbEngine::IsRecordLocked(int mode, uint32_t loc) {
    stDataHeader h;
    if (!ReadDbHeader(loc, h, true)) return 0;
    if (h.cStatus != DB_STATUS_LOCKED) return 0;
    if (h.nLockOwner != GetCurrentUserCode() && (mode == 1 || mode == 2) && ClearStampOfGoneHolder(loc, true))
        return 0;
    switch (mode) {
    case 1: return 1;
    case 2: return h.nLockOwner != GetCurrentUserCode() ? 1 : 0;
    case 3: return h.nLockOwner == GetCurrentUserCode() ? 1 : 0;
    default: return 0;
    }
}

int CDbEngine::TestRecordLockByKey(uint32_t table, uint32_t key, int mode) {
    uint32_t loc = FindRecordLoc(table, key);
    if (loc == LOC_NONE) {
        ShowMessage(Format("Record not found for table %u, key %u", table, key));
        return 1;
    }
    return IsRecordLocked(mode, loc);
}

int CDbEngine::IsDatabaseLocked(int mode) {
    uint8_t owner = ReadByteAt(DB_LOCK_AREA_LOC);
    if (m_bLastByteReadFailed) return 1;
    if (owner != 0 && owner != GetCurrentUserCode() && (mode == 1 || mode == 2) &&
        ClearStampOfGoneHolder(DB_LOCK_AREA_LOC, false))
        owner = 0;
    switch (mode) {
    case 1: return owner != 0 ? 1 : 0;
    case 2: return owner != 0 && owner != GetCurrentUserCode() ? 1 : 0;
    case 3: return owner != 0 && owner == GetCurrentUserCode() ? 1 : 0;
    default: return 0;
    }
}

bool CDbEngine::IsAnyTableLocked(int mode) {
    for (uint32_t t = 1; t <= DB_NUM_TABLES; ++t)
        if (IsTableLocked(t, mode)) return true;
    return false;
}

int CDbEngine::IsTableLocked(uint32_t table, int mode) {
    host::WaitCursor wait;
    uint8_t owner = 0;
    if (ReadDbBlock(DB_LOCK_AREA_LOC + table, &owner, 1, false) != 1) return 1;
    if (owner != 0 && owner != GetCurrentUserCode() && (mode == 1 || mode == 2) &&
        ClearStampOfGoneHolder(DB_LOCK_AREA_LOC + table, false))
        owner = 0;
    switch (mode) {
    case 1: return owner != 0 ? 1 : 0;
    case 2: return owner != 0 && owner != GetCurrentUserCode() ? 1 : 0;
    default: return 0;
    }
}

bool CDbEngine::UnlockAllRecords() {
    host::WaitCursor wait;
    bool chainOK = true;
    uint32_t fileSize = GetFileSize(m_File);
    uint32_t loc = LOC_START_TABLES;
    // The walk reads ahead; a header about to be written is read again from the file first.
    ReadAheadScope readAhead(*this);
    for (;;) {
        stDataHeader h;
        if (!ReadDbHeader(loc, h, true)) break;
        bool linkOK = h.nNextLoc == LOC_NONE || (h.nNextLoc > loc && h.nNextLoc <= fileSize);
        if (h.cStatus == DB_STATUS_LOCKED || !linkOK) {
            m_aReadAhead.clear();
            if (!ReadDbHeader(loc, h, true)) break;
        }
        if (h.cStatus == DB_STATUS_LOCKED) {
            if (DiagnosticLevel > 2)
                WriteDiagnosticFormat("Unlocking %u, next %u\n", loc, h.nNextLoc);
            const bool own = h.nLockOwner == GetCurrentUserCode();
            h.cStatus = DB_STATUS_USED;
            h.nLockOwner = 0;
            WriteDbHeader(loc, h, true);
            // After the stamp is gone: a stamp is never left without its companion.
            if (own) ReleaseStampCompanion(loc);
        }
        if (h.nNextLoc == LOC_NONE) break;
        if (!(h.nNextLoc > loc && h.nNextLoc <= fileSize)) {
            // Look again before cutting: another copy may have grown the file meanwhile.
            uint32_t freshSize = GetFileSize(m_File);
            if (freshSize != LOC_NONE && h.nNextLoc > loc && h.nNextLoc <= freshSize) {
                fileSize = freshSize;
            } else {
                h.nNextLoc = LOC_NONE;
                WriteDbHeader(loc, h, true);
                if (DiagnosticLevel > 0)
                    WriteDiagnosticFormat("CDbEngine::UnlockAllRecords ERROR. Force file terminator at %u\n", loc);
                ShowMessage("Invalid end of file marker found and repaired.");
                chainOK = false;
                break;
            }
        }
        loc = h.nNextLoc;
    }
    std::vector<uint8_t> zeros(DB_LOCK_AREA_LEN, 0);
    WriteDbBlock(DB_LOCK_AREA_LOC, zeros.data(), DB_LOCK_AREA_LEN, true);
    for (uint32_t t = 0; t <= DB_NUM_TABLES; ++t) ReleaseStampCompanion(DB_LOCK_AREA_LOC + t);
    return chainOK;
}

std::string CDbEngine::GetUserName(uint32_t userCode) const {
    return Format("User code %u", userCode);
}
