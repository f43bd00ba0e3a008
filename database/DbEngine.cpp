// CDbEngine: construction, file primitives, block access, opening and closing.

#include "database/DbEngine.h"

#include <algorithm>
#include <cstring>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/Clock.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"

namespace {

// Attempts of a plain read before it gives up.
constexpr int kReadAttempts = 500;
// Unequal read-backs a write test accepts without a wait box.
constexpr uint32_t kWriteTestAttempts = 501;
// How long an open waits for a copy that is closing (which holds the presence range
// exclusively for the moment it marks the file closed).
constexpr int kPresenceTries = 200;
constexpr uint32_t kPresenceTryPauseMs = 50;
// One stretch of a read-ahead.
constexpr uint32_t kReadAheadBytes = 1 << 20;
// New database files: readable and writable by owner and group only.
constexpr unsigned kNewDatabaseMode = 0660;

// The file's title: its name without folder and extension.
std::string FileTitle(const std::string& fileName) {
    std::string name = host::FileNamePart(fileName);
    size_t dot = name.rfind('.');
    if (dot != std::string::npos) name.erase(dot);
    return name;
}

}  // namespace

std::function<void(const char*)> CDbEngine::s_SaveStepHook;

CDbEngine::CDbEngine() {
    m_nHeaderLen = DB_HEADER_LEN;
    m_cBuffer = new uint8_t[RECORD_BUFFER_SIZE]();
}

CDbEngine::~CDbEngine() {
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDbEngine destructor\n");
    if (m_bOpen) CloseDB();
    delete[] m_cBuffer;
    m_cBuffer = nullptr;
    if (DiagnosticLevel > 0) WriteDiagnosticString("Exit CDbEngine destructor\n");
}

// ---------------------------------------------------------------------------------------------
// File primitives

bool CDbEngine::OpenSharedFile(const std::string& fileName, host::File& file) {
    if (file.IsOpen()) file.Close();
    return file.Open(fileName, host::File::Access::ReadWrite, host::File::Disposition::OpenAlways,
                     kNewDatabaseMode);
}

uint32_t CDbEngine::ReadFileBlockNoLock(host::File& file, uint32_t loc, void* buffer,
                                        uint32_t length) {
    if (!file.IsOpen()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("ReadFileBlockNoLock ERROR: Invalid file handle %i\n",
                                  file.Handle());
        return 0;
    }
    for (int attempt = 0; attempt < kReadAttempts; ++attempt) {
        size_t done = 0;
        if (!file.ReadAt(loc, buffer, length, &done)) continue;
        return (length > 0 && done == length) ? length : 0;
    }
    return 0;
}

uint32_t CDbEngine::ReadFileBlockNoTest(host::File& file, uint32_t loc, void* buffer,
                                        uint32_t length) {
    if (!file.IsOpen()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("ReadFileBlockNoTest ERROR: Invalid file handle %i\n",
                                  file.Handle());
        return 0;
    }
    size_t done = 0;
    if (!file.ReadAt(loc, buffer, length, &done)) return 0;
    return static_cast<uint32_t>(done);
}

uint32_t CDbEngine::WriteFileBlockUnflushed(host::File& file, uint32_t loc, const void* buffer,
                                            uint32_t length) {
    if (!file.IsOpen()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("WriteFileBlockUnflushed ERROR: Invalid file handle %i\n",
                                  file.Handle());
        return 0;
    }
    if (&file == &m_File) {
        m_aReadAhead.clear();
        m_bUnflushed = true;
    }
    size_t done = 0;
    if (!file.WriteAt(loc, buffer, length, &done)) return 0;
    return static_cast<uint32_t>(done);
}

void CDbEngine::LockAndFlush(host::File& file) {
    if (!file.IsOpen()) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("LockAndFlush ERROR: Invalid file handle %i\n", file.Handle());
        return;
    }
    // Every other write of this copy was flushed before its range was let go.
    if (&file == &m_File && !m_bUnflushed) return;
    uint32_t size = GetFileSize(file);
    if (size == LOC_NONE) return;
    // A file of 0 bytes has no range to lock (a length of 0 would mean "to the end").
    bool locked = size > 0 && file.Lock(0, size);
    if (&file == &m_File) FlushDbFile();
    else file.Flush();
    if (locked) file.Unlock(0, size);
}

bool CDbEngine::FlushDbFile() {
    if (!m_File.Flush()) return false;
    m_bUnflushed = false;
    return true;
}

uint32_t CDbEngine::GetFileSize(host::File& file) {
    if (!file.IsOpen()) {
        if (DiagnosticLevel < 1) {
            DiagnosticLevel = 1;
            OpenDiagnosticFile();
        }
        WriteDiagnosticFormat("GetFileSize ERROR: Invalid file handle %i\n", file.Handle());
        return LOC_NONE;
    }
    int64_t size = file.Size();
    if (size < 0) {
        if (DiagnosticLevel < 1) {
            DiagnosticLevel = 1;
            OpenDiagnosticFile();
        }
        WriteDiagnosticFormat("GetFileSize handle %i last error: %i, %s\n", file.Handle(),
                              file.LastErrorCode(), file.LastErrorText().c_str());
        return LOC_NONE;
    }
    // Locations are 32 bits; a larger file is reported as the largest size that is not "none".
    if (size >= static_cast<int64_t>(LOC_NONE)) return LOC_NONE - 1;
    return static_cast<uint32_t>(size);
}

int CDbEngine::TestFileBlockWrite(host::File& file, uint32_t loc, const void* expected,
                                  uint32_t length, CDialogWaitBox* waitBox) {
    std::vector<uint8_t> readBack(length);
    uint32_t attempts = 0;
    for (;;) {
        size_t done = 0;
        if (file.ReadAt(loc, readBack.data(), length, &done) && done == length &&
            std::memcmp(readBack.data(), expected, length) == 0)
            return 1;
        ++attempts;
        if (DiagnosticLevel > 2)
            WriteDiagnosticFormat("TestFileBlockWrite after attempt %u\n", attempts);
        if (waitBox == nullptr) {
            if (attempts >= kWriteTestAttempts) return 0;
        } else if (WaitPump(waitBox)) {
            return 0;
        }
    }
}

// ---------------------------------------------------------------------------------------------
// Blocks of the open database

bool CDbEngine::IsOnlyUserOnFile() {
    if (m_bPresenceExclusive) return true;
    if (m_nOtherUsersOnLan > 0) return false;
    if (!m_File.IsOpen() || !m_bHoldsPresence) return true;
    // Converting our shared hold to exclusive succeeds only when no other handle holds it.
    if (!m_File.Lock(kPresenceLockOffset, kPresenceLockLength)) return false;
    m_File.LockShared(kPresenceLockOffset, kPresenceLockLength);
    return true;
}

bool CDbEngine::UseRangeLocks() {
    return !IsOnlyUserOnFile();
}

void CDbEngine::BeginReadAhead() {
    ++m_nReadAheadDepth;
}

void CDbEngine::EndReadAhead() {
    if (m_nReadAheadDepth > 0 && --m_nReadAheadDepth == 0) {
        m_aReadAhead.clear();
        m_aReadAhead.shrink_to_fit();
    }
}

bool CDbEngine::ReadFromReadAhead(uint32_t loc, void* buffer, uint32_t length) {
    const uint64_t end = static_cast<uint64_t>(loc) + length;
    if (length > kReadAheadBytes) return false;
    if (loc < m_nReadAheadLoc || end > m_nReadAheadLoc + static_cast<uint64_t>(m_aReadAhead.size())) {
        m_aReadAhead.clear();
        // Checked for each stretch: a copy that opened the file since takes part in the reads.
        if (!IsOnlyUserOnFile()) return false;
        uint32_t size = GetFileSize(m_File);
        if (size == LOC_NONE || end > size) return false;
        m_aReadAhead.resize(std::min<uint64_t>(kReadAheadBytes, size - loc));
        if (ReadFileBlockNoLock(m_File, loc, m_aReadAhead.data(), static_cast<uint32_t>(m_aReadAhead.size())) !=
            m_aReadAhead.size()) {
            m_aReadAhead.clear();
            return false;
        }
        m_nReadAheadLoc = loc;
    }
    std::memcpy(buffer, m_aReadAhead.data() + (loc - m_nReadAheadLoc), length);
    return true;
}

uint32_t CDbEngine::ReadDbBlock(uint32_t loc, void* buffer, uint32_t length, bool locked) {
    if (m_nReadAheadDepth > 0 && length > 0 && loc != LOC_NONE && ReadFromReadAhead(loc, buffer, length))
        return length;
    if (locked && length > 0 && UseRangeLocks())
        return LockedAccessFileBlock('R', m_File, loc, buffer, length, "ReadDbBlock");
    return ReadFileBlockNoLock(m_File, loc, buffer, length);
}

uint32_t CDbEngine::WriteDbBlock(uint32_t loc, const void* buffer, uint32_t length, bool locked,
                                 const char* caller) {
    m_aReadAhead.clear();
    if (locked && length > 0 && UseRangeLocks())
        return LockedAccessFileBlock('W', m_File, loc, const_cast<void*>(buffer), length, caller);
    return WriteFileBlockUnflushed(m_File, loc, buffer, length);
}

uint32_t CDbEngine::SetFileCloseStatus(uint32_t status) {
    if (DiagnosticLevel > 0) WriteDiagnosticString("SetFileCloseStatus at byte 4\n");
    return WriteDwordAt(DB_CLOSE_STATUS_LOC, status);
}

int CDbEngine::OpenDB(const std::string& fileName, int initializeNew) {
    const char* name = fileName.c_str();
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDbEngine::OpenDB(%s)\n", name);
    if (m_bOpen) {
        if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDbEngine::OpenDB(%s) already open\n", name);
        if (GetResponse("Database appears to be open. Continue?", MB_YESNO) != IDYES) return 0;
        CloseDB();
    }
    if (initializeNew == 1 && host::FileExists(fileName)) {
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::OpenDB() deleting %s to initialize new\n", name);
        host::DeleteFile(fileName);
    }
    bool existed = host::FileExists(fileName);
    m_bNewFile = false;
    if (!OpenSharedFile(fileName, m_File)) {
        GetResponse(Format("Can't read from file %s. Error %i", name, host::LastFileErrorCode()));
        return 0;
    }
    m_sFileName = fileName;

    // Announce this copy on the presence range; a copy that is closing holds it exclusively
    // for a moment.
    m_bHoldsPresence = false;
    for (int i = 0; i < kPresenceTries && !m_bHoldsPresence; ++i) {
        m_bHoldsPresence = m_File.LockShared(kPresenceLockOffset, kPresenceLockLength);
        if (!m_bHoldsPresence) host::Clock::Sleep(kPresenceTryPauseMs);
    }
    auto fail = [&](const std::string& message) {
        int error = host::LastFileErrorCode();
        m_File.Close();
        m_bHoldsPresence = false;
        m_bOpen = false;
        // An empty file that this call created for nothing is not left behind.
        if (!existed && initializeNew != 1) host::DeleteFile(fileName);
        GetResponse(message.find("%i") != std::string::npos ? Format(message.c_str(), name, error)
                                                            : message);
        return 0;
    };
    if (!m_bHoldsPresence) return fail("Can't read from file %s. Error %i");

    uint8_t raw[4] = {0, 0, 0, 0};
    uint32_t got = ReadFileBlockNoLock(m_File, DB_VERSION_LOC, raw, 4);
    m_nFormatVersion = raw[0] | (raw[1] << 8) | (raw[2] << 16) | (static_cast<uint32_t>(raw[3]) << 24);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDbEngine::OpenDB(%s) test read %u\n", name, got);
    if (got == 0) {
        if (initializeNew != 1) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("CDbEngine::OpenDB(%s) error in reading first loc\n", name);
            return fail("Can't read from file %s. Error %i");
        }
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDbEngine::OpenDB(%s) test read FALSE, write data version\n", name);
        m_nFormatVersion = DB_FORMAT_CURRENT;
        if (WriteDwordAt(DB_VERSION_LOC, m_nFormatVersion) == 0) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("CDbEngine::OpenDB(%s) error in writing first loc\n", name);
            return fail(Format("Can't write to file %s.", name));
        }
        char title[DB_NAME_LEN] = {};
        std::string t = FileTitle(fileName);
        std::memcpy(title, t.data(), std::min<size_t>(t.size(), DB_NAME_LEN));
        if (SetFileCloseStatus(1) == 0 || WriteDbBlock(DB_NAME_LOC, title, DB_NAME_LEN, true) == 0) {
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("CDbEngine::OpenDB(%s) error in writing file name to\n", name);
            return fail(Format("Can't write to file %s.", name));
        }
        m_bNewFile = true;
    } else if (m_nFormatVersion == DB_FORMAT_OLD) {
        // The older layout is not known: refuse it rather than misread it.
        return fail(Format("Database file %s has the old file format, which this program cannot "
                           "read.\nThe file was not opened and has not been changed.",
                           name));
    }

    m_bOpen = true;
    uint8_t status[4] = {0, 0, 0, 0};
    uint32_t statusRead = ReadDbBlock(DB_CLOSE_STATUS_LOC, status, 4, true);
    uint32_t closedOK = status[0] | status[1] | status[2] | status[3];
    int result = (statusRead != 0 && closedOK != 0) ? 1 : 2;
    if (DiagnosticLevel > 0) {
        WriteDiagnosticFormat("CDbEngine::OpenDB(%s) nClosedOK %u\n", name, closedOK != 0 ? 1u : 0u);
        WriteDiagnosticFormat("CDbEngine::OpenDB(%s) set file closed status to FALSE\n", name);
    }
    SetFileCloseStatus(0);
    char title[DB_NAME_LEN];
    ReadDbBlock(DB_NAME_LOC, title, DB_NAME_LEN, true);
    m_nUsersOnLine = 1 + m_nOtherUsersOnLan;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("OpenDB file %s, len header %u, handle %u, Timer=%s, users on line %u\n",
                              name, m_nHeaderLen, static_cast<unsigned>(m_File.Handle()),
                              GetTimerText().c_str(), m_nUsersOnLine);
    m_nDisableRefreshCount = 0;
    m_bDisableDataRefresh = false;
    m_nLockedAccessWaits = 0;
    m_nLockRequests = 0;
    m_nUnlockNotices = 0;
    return result;
}

void CDbEngine::CloseDB() {
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDbEngine::CloseDB()\n");
    if (!m_bOpen) return;
    m_nUsersOnLine = 1 + m_nOtherUsersOnLan;
    // The last copy holds the presence range exclusively from its test to the close, so no
    // copy can open the file between the test and the closed-cleanly mark.
    if (m_nOtherUsersOnLan == 0 && m_bHoldsPresence &&
        m_File.Lock(kPresenceLockOffset, kPresenceLockLength)) {
        m_bPresenceExclusive = true;
        UnlockAllRecords();
        SetFileCloseStatus(1);
    }
    m_File.Close();
    m_aReadAhead.clear();
    m_bUnflushed = false;
    m_bHoldsPresence = false;
    m_bPresenceExclusive = false;
    m_aGrantedLocks.clear();
    m_aLockRequestQueue.clear();
    m_aLockResponses.clear();
    m_aHeaders.clear();
    InvalidateHeaderIndex();
    m_aWrittenLocs.clear();
    m_nDisableRefreshCount = 0;
    m_bDisableDataRefresh = true;
    m_bOpen = false;
    if (DiagnosticLevel > 0) WriteDiagnosticString("Exit CDbEngine::CloseDB()\n");
}

bool CDbEngine::IsFileReplaced() const {
    if (!m_bOpen) return false;
    host::FileId atPath = host::IdentityOf(m_sFileName);
    return atPath.valid && !(atPath == m_File.Identity());
}

bool CDbEngine::ReopenFile() {
    if (!m_bOpen) return false;
    host::File fresh;
    if (!fresh.Open(m_sFileName, host::File::Access::ReadWrite, host::File::Disposition::OpenExisting))
        return false;
    bool presence = false;
    for (int i = 0; i < kPresenceTries && !presence; ++i) {
        presence = fresh.LockShared(kPresenceLockOffset, kPresenceLockLength);
        if (!presence) host::Clock::Sleep(kPresenceTryPauseMs);
    }
    if (!presence) return false;
    uint8_t raw[4] = {0, 0, 0, 0};
    if (ReadFileBlockNoLock(fresh, DB_VERSION_LOC, raw, 4) != 4) return false;
    m_nFormatVersion = raw[0] | (raw[1] << 8) | (raw[2] << 16) | (static_cast<uint32_t>(raw[3]) << 24);
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDbEngine::ReopenFile(%s)\n", m_sFileName.c_str());
    m_File = std::move(fresh);
    m_aReadAhead.clear();
    m_bUnflushed = false;
    m_bHoldsPresence = true;
    m_bPresenceExclusive = false;
    m_aWrittenLocs.clear();
    MakeFileHeaderArray(nullptr, nullptr);
    return true;
}

// ---------------------------------------------------------------------------------------------
// Small helpers

uint8_t CDbEngine::GetCurrentUserCode() {
    return GetStampUserCode();
}

void CDbEngine::SetDataChangedFlags() {
    m_bDatabaseChanged = true;
    m_bDataChangedForTimer = true;
}

void CDbEngine::SaveStep(const char* step) {
    if (s_SaveStepHook) s_SaveStepHook(step);
}

void CDbEngine::ShowMessage(const std::string& text) {
    GetResponse(text, MB_OK);
}

std::string CDbEngine::GetTableName(uint32_t table) {
    static const char* const kNames[] = {
        "Database",         "Configuration table", "Parameters table", "Font table",
        "Page layout table", "Category table",     "Person table",     "Mail list table",
        "Pricelist table",  "Package table",       "Purchase table",   "Payment table",
        "Schedule table"};
    if (table >= 1 && table <= DB_NUM_TABLES) return kNames[table];
    if (table > 254) return "All tables";
    if (table == 0) return "No tables";
    return Format("Bad table index %i", static_cast<int>(table));
}
