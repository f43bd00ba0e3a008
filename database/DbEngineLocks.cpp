// CDbEngine: logical record, table and database locks: the stamps in the file, the wait for
// the lock manager's permission, and the lock manager's grants and queue.

#include "database/DbEngine.h"

#include <algorithm>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/Clock.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Application.h"

namespace {

// The handshake loop's pause; it wakes at once when a message arrives.
constexpr uint32_t kHandshakePollMs = 50;
// How long the handshake waits before it shows its wait box.
constexpr uint64_t kHandshakeBoxDelayMs = 250;
// A request still unanswered after this long is sent again. The manager neither stores nor
// queues a request twice, and a manager that has gone away is found by the failed send.
constexpr uint64_t kRequestRepeatMs = 1000;
// Tries to take a stamp's byte range, which other copies hold only for a transfer.
constexpr int kStampRangeTries = 2000;
// Tries to take a stamp's companion byte, which another copy holds only while it probes a
// stamp under that stamp's range.
constexpr int kCompanionTries = 50;

bool SameLock(const stLockSpec& a, const stLockSpec& b) {
    return a.sOwner == b.sOwner && a.nKind == b.nKind && a.nValue == b.nValue;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Tests

uint32_t CDbEngine::FindRecordLoc(uint32_t table, uint32_t key) {
    return GetItemLoc(table, key, 0, 0);
}

int CDbEngine::IsAnyRecordLockedInTable(int mode, uint32_t table, uint32_t& loc) {
    host::WaitCursor wait;
    uint32_t fileSize = GetFileSize(m_File);
    uint32_t at = LOC_START_TABLES;
    while (at != LOC_NONE && at < fileSize) {
        stDataHeader h;
        if (!ReadDbHeader(at, h, false)) break;
        if ((table > 254 || h.nTable == table) && h.cStatus == DB_STATUS_LOCKED &&
            (mode == 1 || h.nLockOwner != GetCurrentUserCode()) &&
            (h.nLockOwner == GetCurrentUserCode() || !ClearStampOfGoneHolder(at, true))) {
            loc = at;
            return 1;
        }
        // The chain only goes forward; anything else ends the walk.
        if (h.nNextLoc <= at) break;
        at = h.nNextLoc;
    }
    return 0;
}

int CDbEngine::IsAnyRecordLocked(int mode, uint32_t& loc) {
    return IsAnyRecordLockedInTable(mode, 255, loc);
}

// ---------------------------------------------------------------------------------------------
// Companion holds of the stamps: a stamp whose holder died is found and cleared

bool CDbEngine::HoldStampCompanion(uint32_t loc) {
    const uint64_t at = kStampCompanionOffset + loc;
    // LockFile refuses a range this handle holds already: give it up and take it anew.
    m_File.Unlock(at, 1);
    for (int tries = 0; tries < kCompanionTries; ++tries) {
        if (m_File.Lock(at, 1)) return true;
        host::Clock::Sleep(1);
    }
    // The trace keeps the lock's error for the caller.
    const host::FileError error = host::LastFileError();
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDbEngine::HoldStampCompanion at %u not taken\n", loc);
    host::SetLastFileError(error);
    return false;
}

void CDbEngine::ReleaseStampCompanion(uint32_t loc) {
    m_File.Unlock(kStampCompanionOffset + loc, 1);
}

namespace {

// A stamp's companion that could not be taken: 0 when another copy holds it (one of this user
// on another desk, or one that has just cleared its stamp and not yet given the byte up), so
// the stamp counts as taken; -1 when the lock call itself failed.
int CompanionRefused() {
    return host::LastFileError() == host::FileError::LockViolation ? 0 : -1;
}

}  // namespace

bool CDbEngine::ClearOwnLockByte(uint32_t loc) {
    const uint8_t own = GetCurrentUserCode();
    bool ranged = false;
    for (int tries = 0; tries < kStampRangeTries && !ranged; ++tries) {
        ranged = m_File.Lock(loc, 1);
        if (!ranged) host::Clock::Sleep(1);
    }
    if (!ranged) {
        // The range stays taken: the guarded transfer waits for it, then the companion goes.
        uint8_t owner = ReadByteAt(loc);
        if (m_bLastByteReadFailed || owner != own) return false;
        bool written = WriteByteAt(loc, 0) == 1;
        if (written) ReleaseStampCompanion(loc);
        return written;
    }
    uint8_t value = 0;
    bool cleared = false;
    if (ReadFileBlockNoLock(m_File, loc, &value, 1) == 1 && value == own) {
        const uint8_t zero = 0;
        cleared = WriteFileBlockUnflushed(m_File, loc, &zero, 1) == 1 && FlushDbFile();
        if (cleared) ReleaseStampCompanion(loc);
    }
    m_File.Unlock(loc, 1);
    return cleared;
}

bool CDbEngine::ClearStampOfGoneHolder(uint32_t loc, bool header) {
    if (!m_File.IsOpen()) return false;
    const uint8_t own = GetCurrentUserCode();
    const uint32_t length = header ? DB_HEADER_LEN : 1;
    // The stamp's range first, then its companion: the order every holder keeps, so a holder
    // that sets or clears its stamp is never taken for a gone one.
    bool ranged = false;
    for (int tries = 0; tries < kStampRangeTries && !ranged; ++tries) {
        ranged = m_File.Lock(loc, length);
        if (!ranged) host::Clock::Sleep(1);
    }
    if (!ranged) return false;
    bool cleared = false;
    uint8_t raw[DB_HEADER_LEN];
    if (ReadFileBlockNoLock(m_File, loc, raw, length) == length) {
        stDataHeader h;
        uint8_t owner = raw[0];
        bool stamped = owner != 0;
        if (header) {
            h.Unpack(raw);
            owner = h.nLockOwner;
            stamped = h.cStatus == DB_STATUS_LOCKED;
        }
        const uint64_t companion = kStampCompanionOffset + loc;
        if (stamped && owner != own && m_File.Lock(companion, 1)) {
            if (header) {
                h.cStatus = DB_STATUS_USED;
                h.nLockOwner = 0;
                h.Pack(raw);
            } else {
                raw[0] = 0;
            }
            cleared = WriteFileBlockUnflushed(m_File, loc, raw, length) == length && FlushDbFile();
            if (cleared && header) PutHeaderInArray(h);
            m_File.Unlock(companion, 1);
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("CDbEngine::ClearStampOfGoneHolder lock of %s at %u left by a closed copy, %s\n",
                                      GetUserName(owner).c_str(), loc, cleared ? "cleared" : "NOT cleared");
        }
    }
    m_File.Unlock(loc, length);
    return cleared;
}

// ---------------------------------------------------------------------------------------------
// Stamps written in one step with their test

int CDbEngine::TestAndSetLockByte(uint32_t loc) {
    const uint8_t own = GetCurrentUserCode();
    // The stamp's range is taken even by a copy that is alone on the file: another copy may
    // open it meanwhile, and its test and set must not interleave with this one.
    int tries = 0;
    while (!m_File.Lock(loc, 1)) {
        if (++tries >= kStampRangeTries) return -1;
        host::Clock::Sleep(1);
    }
    int result;
    uint8_t value = 0;
    const uint64_t companion = kStampCompanionOffset + loc;
    if (ReadFileBlockNoLock(m_File, loc, &value, 1) != 1) {
        result = -1;
    } else if (value != 0 && value != own && !m_File.Lock(companion, 1)) {
        result = 0;
    } else if ((value == 0 || value == own) && !HoldStampCompanion(loc)) {
        // Free or this user's, but the companion is held elsewhere: no stamp without it.
        result = CompanionRefused();
    } else {
        // Free, this user's own, or left by a copy that is gone (its companion is now ours).
        if (value != 0 && value != own && DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::TestAndSetLockByte lock of %s at %u left by a closed copy, taken over\n",
                                  GetUserName(value).c_str(), loc);
        result = WriteFileBlockUnflushed(m_File, loc, &own, 1) == 1 && FlushDbFile() ? 1 : -1;
        if (result != 1 && value != own) m_File.Unlock(companion, 1);
    }
    m_File.Unlock(loc, 1);
    return result;
}

int CDbEngine::TestAndSetRecordLock(uint32_t loc) {
    const uint8_t own = GetCurrentUserCode();
    // The stamp's range is taken even by a copy that is alone on the file: another copy may
    // open it meanwhile, and its test and set must not interleave with this one.
    int tries = 0;
    while (!m_File.Lock(loc, DB_HEADER_LEN)) {
        if (++tries >= kStampRangeTries) return -1;
        host::Clock::Sleep(1);
    }
    int result = -1;
    uint8_t raw[DB_HEADER_LEN];
    if (ReadFileBlockNoLock(m_File, loc, raw, DB_HEADER_LEN) == DB_HEADER_LEN) {
        stDataHeader h;
        h.Unpack(raw);
        const uint64_t companion = kStampCompanionOffset + loc;
        const bool foreign = h.cStatus == DB_STATUS_LOCKED && h.nLockOwner != own;
        if (foreign && !m_File.Lock(companion, 1)) {
            result = 0;
        } else if (!foreign && (h.cStatus == DB_STATUS_USED || h.cStatus == DB_STATUS_LOCKED) &&
                   !HoldStampCompanion(loc)) {
            // Free or this user's, but the companion is held elsewhere: no stamp without it.
            result = CompanionRefused();
        } else if (h.cStatus == DB_STATUS_USED || h.cStatus == DB_STATUS_LOCKED) {
            // Free, this user's own, or left by a copy that is gone (its companion is now ours).
            h.cStatus = DB_STATUS_LOCKED;
            h.nLockOwner = own;
            h.Pack(raw);
            if (WriteFileBlockUnflushed(m_File, loc, raw, DB_HEADER_LEN) == DB_HEADER_LEN && FlushDbFile()) {
                PutHeaderInArray(h);
                result = 1;
            } else {
                ReleaseStampCompanion(loc);
            }
        }
    }
    m_File.Unlock(loc, DB_HEADER_LEN);
    if (result == 1 && DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDbEngine::LockRecord at %u by %s OK\n", loc, GetUserName(own).c_str());
    return result;
}

// ---------------------------------------------------------------------------------------------
// Waiting for permission

std::string CDbEngine::FindBlockingLock(char lockType, const std::string& purpose, uint32_t table,
                                        uint32_t value, bool testRecords,
                                        const std::vector<uint32_t>* tableList, bool consultGranted) {
    const char* what = purpose.c_str();
    if (IsDatabaseLocked(2))
        return Format("Database locked by %s. Waiting to %s. ",
                      GetUserName(ReadByteAt(DB_LOCK_AREA_LOC)).c_str(), what);
    std::vector<uint32_t> tables;
    if (tableList != nullptr && !tableList->empty())
        tables = *tableList;
    else if (table > 254)
        for (uint32_t t = 1; t <= DB_NUM_TABLES; ++t) tables.push_back(t);
    else if (table != 0)
        tables.push_back(table);
    if (lockType == 'T' || lockType == 'D') {
        for (uint32_t t : tables)
            if (IsTableLocked(t, 2))
                return Format("Table locked by %s. Waiting to %s. ",
                              GetUserName(ReadByteAt(DB_LOCK_AREA_LOC + t)).c_str(), what);
    }
    if (lockType == 'R') {
        uint32_t loc = FindRecordLoc(table, value);
        if (loc != LOC_NONE && IsRecordLocked(2, loc)) return Format("Record at %u locked. Waiting to %s. ", loc, what);
    }
    if (lockType == 'D' && testRecords) {
        uint32_t loc = LOC_NONE;
        if (table > 254 && (tableList == nullptr || tableList->empty())) {
            if (IsAnyRecordLocked(2, loc)) return Format("Record at %u locked. Waiting to %s. ", loc, what);
        } else {
            for (uint32_t t : tables)
                if (IsAnyRecordLockedInTable(2, t, loc))
                    return Format("Record at %u locked. Waiting to %s. ", loc, what);
        }
    }
    if (consultGranted) {
        for (const stLockSpec& g : m_aGrantedLocks)
            if (g.nKind == m_nWaitKind && g.nValue == m_nWaitValue && g.sOwner != m_sComputerName)
                return Format("Waiting for permission to lock before %s. ", what);
    }
    return std::string();
}

bool CDbEngine::PumpLockWait(CDialogWaitBox* box) {
    bool aborted;
    if (box != nullptr) {
        aborted = box->PumpMessages() != 0;
    } else {
        // No box disables the program's windows yet: the user's input waits until the lock is
        // taken or the box is up, so that no command starts inside this wait.
        ui::Application::PumpMessagesWithoutInput();
        aborted = false;
    }
    // Without a window nobody delivers message 0x404: process the lines here.
    if (m_pMessageWindow == nullptr && m_IncomingMessages.Size() > 0) OnMessage();
    return aborted;
}

bool CDbEngine::HasGrant(uint8_t kind, uint32_t value) const {
    // Only a grant from the manager for this very lock counts.
    for (auto it = m_aLockResponses.rbegin(); it != m_aLockResponses.rend(); ++it)
        if (it->sOwner == m_sLockMngrName && it->nKind == kind && it->nValue == value) return true;
    return false;
}

bool CDbEngine::IsDatabaseLockRequestOK() {
    if (m_pLanServer == nullptr) return true;
    bool ok = HasGrant(m_nWaitKind, m_nWaitValue);
    m_aLockResponses.clear();
    return ok;
}

bool CDbEngine::WaitForLockPermission(char lockType, const std::string& purpose, uint32_t table,
                                      uint32_t value, bool quiet, bool testRecords,
                                      const std::vector<uint32_t>* tableList) {
    uint8_t kind = lockType == 'D' ? LOCK_KIND_DATABASE : static_cast<uint8_t>(table);
    uint32_t lockValue = lockType == 'R' ? value : LOCK_VALUE_WHOLE;
    const bool withManager = m_bLockMngrOnLine && m_nUsersOnLine >= 2;

    std::string description;
    if (lockType == 'D') {
        if (table == 0)
            description = "Lock database, no tests";
        else
            description = (testRecords ? "Lock database, test records in " : "Lock database, test ") +
                          GetTableName(table);
    } else if (lockType == 'T') {
        description = "Lock table " + GetTableName(table);
    } else {
        description = Format("Lock record %u in %s", value, GetTableName(table).c_str());
    }

    m_bWaitingForLock = true;
    m_nWaitKind = kind;
    m_nWaitValue = lockValue;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::WaitForLockPermission start: %s by %s, Timer=%s\n",
                              description.c_str(), GetUserName(GetCurrentUserCode()).c_str(),
                              GetTimerText().c_str());
    auto waitText = [&](const std::string& first) {
        std::string text = first + "Press ESC to abort wait.\n";
        if (!quiet)
            text += "If you abort, any changes you just made will not be saved and changes by others will\n"
                    "not be posted to your computer's memory. If you abort you should do a manual refresh\n"
                    "(press Ctrl-R) so that your memory resident data matches the data in the database file!";
        return text;
    };
    CDialogWaitBox* box = nullptr;
    auto finish = [&](bool result) {
        if (box != nullptr) CloseWaitBox(box);
        m_pLockWaitBox = nullptr;
        m_bWaitingForLock = false;
        return result;
    };

    // Locks held by another user, in the file (and, on the manager, in its grants).
    std::string blocking = FindBlockingLock(lockType, purpose, table, value, testRecords, tableList, withManager);
    // Another desk's hold mostly ends within milliseconds (a save): look again soon at first,
    // then less often; a message from another desk ends the pause at once.
    uint32_t pauseMs = 1;
    while (!blocking.empty()) {
        if (box == nullptr) {
            box = ShowWaitBox(waitText(blocking), true, 0);
            m_pLockWaitBox = box;
        } else {
            box->SetStepText(waitText(blocking));
        }
        if (PumpLockWait(box)) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticString("CDbEngine::WaitForLockPermission exit - database locked. User abort wait.\n");
            return finish(false);
        }
        m_IncomingMessages.WaitForLines(pauseMs);
        pauseMs = std::min(pauseMs * 2, kHandshakePollMs);
        blocking = FindBlockingLock(lockType, purpose, table, value, testRecords, tableList, withManager);
    }
    // Alone, or without a manager: no permission to ask for.
    if (!withManager) return finish(true);
    if (HasGrant(kind, lockValue)) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticString("CDbEngine::WaitForLockPermission exit - database unlocked during wait before loop.\n");
        return finish(true);
    }

    m_aLockResponses.clear();
    RequestLockPermission(kind, lockValue);
    uint64_t lastRequest = host::Clock::TickCount();
    const uint64_t requested = lastRequest;
    bool result = false;
    for (;;) {
        // The manager mostly answers at once: the box comes up only for a wait the user sees.
        if (box == nullptr && host::Clock::TickCount() - requested >= kHandshakeBoxDelayMs) {
            box = ShowWaitBox(waitText(Format("Waiting for permission to lock before %s. ", purpose.c_str())), true, 0);
            m_pLockWaitBox = box;
        }
        if (PumpLockWait(box)) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticString("CDbEngine::WaitForLockPermission 3 - User abort wait for handshake.\n");
            // Give back the request, so that no grant is left behind for a wait given up.
            if (m_bLockMngrOnLine) {
                if (m_sLockMngrName == m_sComputerName)
                    SendThisUserMessage('u', kind, lockValue);
                else
                    SendAnotherUserMessage(m_sLockMngrName, 'u', kind, lockValue);
            }
            break;
        }
        if (!m_bLockMngrOnLine) {
            // The manager went off line during the wait: locks go on without permission.
            result = true;
            break;
        }
        if (FindBlockingLock(lockType, purpose, table, value, testRecords, tableList, false).empty() &&
            HasGrant(kind, lockValue)) {
            result = true;
            if (std::none_of(m_aHeldPermissions.begin(), m_aHeldPermissions.end(),
                             [&](const stLockSpec& h) { return h.nKind == kind && h.nValue == lockValue; }))
                m_aHeldPermissions.push_back({m_sComputerName, kind, lockValue});
            break;
        }
        if (m_sLockMngrName != m_sComputerName && host::Clock::TickCount() - lastRequest >= kRequestRepeatMs) {
            RequestLockPermission(kind, lockValue);
            lastRequest = host::Clock::TickCount();
        }
        m_IncomingMessages.WaitForLines(kHandshakePollMs);
    }
    m_aLockResponses.clear();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat(result ? "CDbEngine::WaitForLockPermission exit - Permission to lock granted at %s.\n"
                                     : "CDbEngine::WaitForLockPermission exit - Permission to lock denied at %s.\n",
                              GetTimerText().c_str());
    return finish(result);
}

// ---------------------------------------------------------------------------------------------
// Locking and unlocking

uint32_t CDbEngine::LockRecord(uint32_t table, uint32_t key) {
    if (DiagnosticLevel > 2) WriteDiagnosticFormat("CDbEngine::LockRecord, table %u, key %u\n", table, key);
    uint32_t loc = FindRecordLoc(table, key);
    if (loc == LOC_NONE) {
        ShowMessage(Format("Item %i from %s not found.", static_cast<int>(key), GetTableName(table).c_str()));
        return LOC_NONE;
    }
    auto denied = [&]() -> bool {
        if (IsDatabaseLocked(2)) {
            ShowMessage("Access denied. database locked by another user.");
            return true;
        }
        if (IsTableLocked(table, 2)) {
            ShowMessage(Format("Access denied. Table %s locked by another user.", GetTableName(table).c_str()));
            return true;
        }
        if (IsRecordLocked(2, loc)) {
            ShowMessage(Format("Access denied. Record %u in %s locked by another user.", loc,
                               GetTableName(table).c_str()));
            return true;
        }
        return false;
    };
    if (denied()) return LOC_NONE;
    if (!WaitForLockPermission('R', "Lock record", table, key, true, false, nullptr)) return LOC_NONE;
    int stamped = TestAndSetRecordLock(loc);
    if (stamped != 1) {
        // Another user stamped it between the test and the permission, or the header could
        // not be written: the lock is not taken.
        SendUnlockNotice(static_cast<uint8_t>(table), key);
        if (stamped == 0)
            ShowMessage(Format("Access denied. Record %u in %s locked by another user.", loc,
                               GetTableName(table).c_str()));
        else if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::LockRecord stamp at %u could not be written\n", loc);
        return LOC_NONE;
    }
    if (DiagnosticLevel > 2) WriteDiagnosticFormat("Exit LockRecord nEditLoc %u\n", loc);
    return loc;
}

bool CDbEngine::LockTable(uint32_t table) {
    for (;;) {
        if (!WaitForLockPermission('T', "Lock table", table, LOCK_VALUE_WHOLE, false, false, nullptr))
            return false;
        int stamped = TestAndSetLockByte(DB_LOCK_AREA_LOC + table);
        if (stamped == 1) return true;
        SendUnlockNotice(static_cast<uint8_t>(table), LOCK_VALUE_WHOLE);
        if (stamped < 0) return false;
        // Taken by another user meanwhile: wait again.
    }
}

bool CDbEngine::LockDatabase(const std::string& purpose, uint32_t table, bool testRecords,
                             const std::vector<uint32_t>* tableList) {
    for (;;) {
        if (!WaitForLockPermission('D', purpose, table, LOCK_VALUE_WHOLE, false, testRecords, tableList))
            return false;
        int stamped = TestAndSetLockByte(DB_LOCK_AREA_LOC);
        if (stamped == 1) return true;
        SendUnlockNotice(LOCK_KIND_DATABASE, LOCK_VALUE_WHOLE);
        if (stamped < 0) return false;
    }
}

bool CDbEngine::UnlockRecord(uint32_t loc) {
    if (DiagnosticLevel > 2) WriteDiagnosticFormat("CDbEngine::UnlockRecord, nEditLoc %u\n", loc);
    stDataHeader h;
    if (!ReadDbHeader(loc, h, true)) return false;
    SendUnlockNotice(h.nTable, h.nKey);
    if (h.cStatus != DB_STATUS_LOCKED) {
        // A save that rewrote the header took the stamp away; the companion goes with it,
        // under the header's range (see ClearRecordLock).
        bool ranged = m_File.Lock(loc, DB_HEADER_LEN);
        ReleaseStampCompanion(loc);
        if (ranged) m_File.Unlock(loc, DB_HEADER_LEN);
        return false;
    }
    return ClearRecordLock(loc) == 1;
}

bool CDbEngine::UnlockTable(uint32_t table) {
    if (!ClearOwnLockByte(DB_LOCK_AREA_LOC + table)) return false;
    SendUnlockNotice(static_cast<uint8_t>(table), LOCK_VALUE_WHOLE);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::UnlockTable() %s by %s\n", GetTableName(table).c_str(),
                              GetUserName(GetCurrentUserCode()).c_str());
    return true;
}

bool CDbEngine::UnlockDatabase() {
    if (!ClearOwnLockByte(DB_LOCK_AREA_LOC)) return false;
    SendUnlockNotice(LOCK_KIND_DATABASE, LOCK_VALUE_WHOLE);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::UnlockDatabase(), Timer=%s\n", GetTimerText().c_str());
    return true;
}

void CDbEngine::ForgetHeldPermission(uint8_t kind, uint32_t value) {
    m_aHeldPermissions.erase(std::remove_if(m_aHeldPermissions.begin(), m_aHeldPermissions.end(),
                                            [&](const stLockSpec& h) { return h.nKind == kind && h.nValue == value; }),
                             m_aHeldPermissions.end());
}

void CDbEngine::RequestLockPermission(uint8_t kind, uint32_t value) {
    ++m_nLockRequests;
    if (m_sLockMngrName == m_sComputerName)
        SendThisUserMessage('L', kind, value);
    else
        SendAnotherUserMessage(m_sLockMngrName, 'L', kind, value);
}

void CDbEngine::SendUnlockNotice(uint8_t kind, uint32_t value) {
    ForgetHeldPermission(kind, value);
    if (!m_bLockMngrOnLine) return;
    ++m_nUnlockNotices;
    if (m_sLockMngrName == m_sComputerName) {
        SendThisUserMessage('u', kind, value);
    } else {
        SendAnotherUserMessage(m_sLockMngrName, 'u', kind, value);
    }
}

// ---------------------------------------------------------------------------------------------
// The lock manager

bool CDbEngine::DetermineLockMngr(const std::string& serverComputer) {
    m_sLockMngrName.clear();
    bool onLine = false;
    std::string own = m_sComputerName.empty() ? GetThisComputerName() : m_sComputerName;
    if (serverComputer == own) {
        m_sLockMngrName = serverComputer;
        onLine = true;
    } else if (m_pLanServer != nullptr) {
        for (const stNetworkName& e : m_pLanServer->GetComputerList()) {
            if (e.sName != serverComputer) continue;
            m_sLockMngrName = serverComputer;
            onLine = e.nStatus == 1;
            break;
        }
    }
    m_bLockMngrOnLine = onLine;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::DetermineLockMngr exit, LockMngr %s on-line = %s------------\n",
                              m_sLockMngrName.c_str(), onLine ? "TRUE" : "FALSE");
    return onLine;
}

void CDbEngine::ProcessUserLockRequest(const stLockSpec& request) {
    auto held = std::find_if(m_aGrantedLocks.begin(), m_aGrantedLocks.end(), [&](const stLockSpec& g) {
        return g.nKind == request.nKind && g.nValue == request.nValue;
    });
    if (held != m_aGrantedLocks.end() && held->sOwner != request.sOwner) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat(
                "CDbEngine::ProcessUserLockRequest denied to %s, %s has it. Put request in lock request queue.\n",
                request.sOwner.c_str(), held->sOwner.c_str());
        if (std::none_of(m_aLockRequestQueue.begin(), m_aLockRequestQueue.end(),
                         [&](const stLockSpec& q) { return SameLock(q, request); }))
            m_aLockRequestQueue.push_back(request);
        return;
    }
    if (held == m_aGrantedLocks.end()) {
        m_aGrantedLocks.push_back(request);
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("Lock granted to %s and stored, %u, %u\n", request.sOwner.c_str(),
                                  static_cast<unsigned>(request.nKind), request.nValue);
    } else if (DiagnosticLevel > 0) {
        WriteDiagnosticFormat("Lock re-granted to %s, not stored, %u, %u\n", request.sOwner.c_str(),
                              static_cast<unsigned>(request.nKind), request.nValue);
    }
    if (m_pLanServer != nullptr && request.sOwner != m_sComputerName)
        SendAnotherUserMessage(request.sOwner, 'l', request.nKind, request.nValue);
    else
        SendThisUserMessage('l', request.nKind, request.nValue);
}

void CDbEngine::ResubmitFirstQueued(uint8_t kind, uint32_t value) {
    auto next = std::find_if(m_aLockRequestQueue.begin(), m_aLockRequestQueue.end(),
                             [&](const stLockSpec& q) { return q.nKind == kind && q.nValue == value; });
    if (next == m_aLockRequestQueue.end()) return;
    stLockSpec request = *next;
    m_aLockRequestQueue.erase(next);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::ProcessUserUnlockNotice resubmit lock request %s, %u, %u\n",
                              request.sOwner.c_str(), static_cast<unsigned>(request.nKind), request.nValue);
    ProcessUserLockRequest(request);
}

void CDbEngine::ProcessUserUnlockNotice(const stLockSpec& notice) {
    // A request given up while queued leaves the queue.
    size_t queued = m_aLockRequestQueue.size();
    m_aLockRequestQueue.erase(std::remove_if(m_aLockRequestQueue.begin(), m_aLockRequestQueue.end(),
                                             [&](const stLockSpec& q) { return SameLock(q, notice); }),
                              m_aLockRequestQueue.end());
    auto granted = std::find_if(m_aGrantedLocks.begin(), m_aGrantedLocks.end(),
                                [&](const stLockSpec& g) { return SameLock(g, notice); });
    if (granted == m_aGrantedLocks.end()) {
        if (DiagnosticLevel > 0 && queued == m_aLockRequestQueue.size())
            WriteDiagnosticFormat(
                "CDbEngine::ProcessUserUnlockNotice skipped.  - %s, %u, %u not in list of granted locks\n",
                notice.sOwner.c_str(), static_cast<unsigned>(notice.nKind), notice.nValue);
        return;
    }
    m_aGrantedLocks.erase(granted);
    ResubmitFirstQueued(notice.nKind, notice.nValue);
}

void CDbEngine::DropLocksOfComputer(const std::string& computer) {
    if (computer.empty() || computer == m_sComputerName) return;
    std::vector<stLockSpec> released;
    for (auto it = m_aGrantedLocks.begin(); it != m_aGrantedLocks.end();) {
        if (it->sOwner == computer) {
            released.push_back(*it);
            it = m_aGrantedLocks.erase(it);
        } else {
            ++it;
        }
    }
    m_aLockRequestQueue.erase(std::remove_if(m_aLockRequestQueue.begin(), m_aLockRequestQueue.end(),
                                             [&](const stLockSpec& q) { return q.sOwner == computer; }),
                              m_aLockRequestQueue.end());
    if (DiagnosticLevel > 0 && !released.empty())
        WriteDiagnosticFormat("CDbEngine::DropLocksOfComputer %s, %u grants released\n", computer.c_str(),
                              static_cast<unsigned>(released.size()));
    for (const stLockSpec& r : released) ResubmitFirstQueued(r.nKind, r.nValue);
}
