// CDatabase: opening a database (log-on, LAN link, file), loading every block into the tables,
// the repair that rewrites the file from memory, closing, and the database lock as the tables
// take it (nesting, with the check that the file at the path is still the one open).

#include "database/Database.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "common/Backup.h"
#include "widgets/CommandGuards.h"
#include "widgets/ControlHelpers.h"
#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "common/TextFormat.h"
#include "widgets/Prompts.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"

namespace {

// The program's own box shows "Yes" and "No" on its OK and Cancel buttons.
bool MyBoxSaidYes(int result) { return result == IDOK || result == IDYES; }

constexpr uint32_t kFontCount = 38;
constexpr uint32_t kPageLayoutCount = 6;
const char* const kProgramVersion = "3.33";
// Tables whose index is sorted and sequence-tested after a load, in this order.
const uint8_t kSortedTables[] = {5, 6, 8, 9, 10, 11, 12};

void Trace(const std::string& text)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString(text);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Open and close

bool CDatabase::OpenDatabase(const std::string& name, int newSetup)
{
    Trace(Format("CDatabase::OpenDatabase %s\n", name.c_str()));
    m_bDisableDataRefresh = true;
    if (name.empty()) {
        Trace("CDatabase::OpenDatabase, no file name, return FALSE\n");
        return false;
    }
    if (!TestRegistration(name, newSetup)) {
        Trace("CDatabase::OpenDatabase, registration problem, return FALSE\n");
        return false;
    }
    UserAccessLevel = GetUserAccessLevel();
    if (!InitializeLan(name + ".dbs")) {
        StopLan();
        return false;
    }
    UpdateUserCount();
    if (!OpenDatabaseFile(name)) {
        GetResponse("Database file could not be opened.\n", MB_OK);
        Trace("CDatabase::OpenDatabase, data file problem, return FALSE\n");
        SetDatabaseName("");
        m_bFileLoaded = false;
        StopLan();
        // A refused lock leaves the file open (the next open asks about it); anything else
        // that failed has already closed it.
        m_bDisableDataRefresh = true;
        return false;
    }
    m_bDatabaseOpen = true;
    m_bDisableDataRefresh = false;
    SetRefreshHold(this);
    Ui().ShowUsers(m_nUsersOnLine, true);
    Trace("CDatabase::OpenDatabase, return TRUE\n");
    return true;
}

bool CDatabase::OpenDatabaseFile(const std::string& name)
{
    Trace(Format("CDatabase::OpenDatabaseFile %s, Timer=%s\n", name.c_str(), GetTimerText().c_str()));
    const std::string fileName = name + ".dbs";
    const bool isNew = !host::FileExists(fileName);
    CDialogWaitBox* box = ShowWaitBox("Prepare to load database.", false, 5);
    if (box) box->SetStepText("Initialize database");
    SetDefaults();
    if (box) box->SetStepText("Open database file");
    if (OpenDB(fileName, isNew ? 1 : 0) == 0) {
        CloseWaitBox(box);
        Trace("CDatabase::OpenDatabaseFile OpenDB FAILED\n");
        return false;
    }
    bool loaded = true;
    std::string report;
    if (isNew) {
        MakeFileHeaderArray(nullptr, nullptr);
        Trace("Initializing new database file, save defaults\n");
        if (box) box->SetStepText("Initialize new database");
        InitializeDatabaseFile();
        LockAndFlush(GetFile());
    } else {
        Trace("CDatabase::OpenDatabaseFile before call to LockDatabase\n");
        if (!TakeDatabaseLock("load database", 0, false, nullptr)) {
            CloseWaitBox(box);
            Trace("CDatabase::OpenDatabaseFile LockDatabase FAILED\n");
            return false;
        }
        Trace("CDatabase::OpenDatabaseFile before call to LoadDatabaseFile\n");
        loaded = LoadDatabaseFile(box, &report);
        ReleaseDatabaseLock();
    }
    CloseWaitBox(box);

    if (!loaded && GetUserAccessLevel() == 10) {
        std::string question = Format(
            "Error in loading data from database file %s.\nYou can initialize a new one. If an old "
            "version exists but has been corrupted,\nthis will overwrite it and then you can try to "
            "restore from a backup file.\nDo you want to initialize a new database?",
            fileName.c_str());
        if (GetResponse(question, MB_YESNO) != IDYES) return false;
        ClearDatabase();
        SetDefaults();
        if (OpenDB(fileName, 1) == 0) return false;
        MakeFileHeaderArray(nullptr, nullptr);
        InitializeDatabaseFile();
        LockAndFlush(GetFile());
        loaded = true;
    }
    if (!IsOpen()) return false;

    if (m_nUsersOnLine < 2 && IsOnlyUserOnFile()) {
        m_nUsersOnLine = 1;
        if (!UnlockAllRecords()) {
            CloseDB();
            GetResponse("Error in unlocking all records. Run test and repair.", MB_OK);
            m_bFileLoaded = false;
            m_nUsersOnLine = 0;
            return false;
        }
    }
    m_bFileLoaded = true;
    SetDatabaseName(name);
    if (!report.empty()) ShowMyMessageBox("Action item", report, 0, 802);
    Trace(Format("Exit CDatabase::OpenDatabase %s\n", name.c_str()));
    return loaded;
}

void CDatabase::CloseDatabase()
{
    Trace(Format("CDatabase::CloseDatabase for user %u\n", static_cast<unsigned>(GetCurrentUserCode())));
    if (GetRefreshHold() == this) SetRefreshHold(nullptr);
    // A lock still held (a close from inside an operation) is given back first.
    if (m_nDbLockDepth > 0) {
        m_nDbLockDepth = 1;
        ReleaseDatabaseLock();
    }
    CloseDatabaseFile();
    StopLan();
    m_bDatabaseOpen = false;
    m_bFileLoaded = false;
    SetDatabaseName("");
    m_aRefreshFlags.clear();
    DatabaseOpen = 0;
}

uint32_t CDatabase::UpdateUserCount()
{
    uint32_t users = CDbEngine::UpdateUserCount();
    Ui().ShowUsers(users, !m_bDisableDataRefresh);
    return users;
}

void CDatabase::ShowReportLines(const std::string& title, const std::vector<std::string>& lines)
{
    m_aLastReport = lines;
    Ui().ShowReport(title, lines);
}

// ---------------------------------------------------------------------------------------------
// Loading

bool CDatabase::LoadDatabaseFile(CDialogWaitBox* waitBox, std::string* report)
{
    Trace("CDatabase::LoadDatabaseFile\n");
    std::string errorText;
    bool ok = false;
    try {
        ok = ReadDatabaseIntoMemory(waitBox, errorText, report);
        if (!ok) {
            Trace("CDatabase::LoadDatabaseFile, ReadDatabaseIntoMemory failed in call, close DB\n");
            CloseDB();
        }
    } catch (...) {
        Trace("CDatabase::LoadDatabaseFile, ReadDatabaseIntoMemory failed in call, close DB\n");
        CloseDB();
        GetResponse(errorText, MB_OK);
        ok = false;
    }
    return ok;
}

bool CDatabase::ReadDataItemIntoMemory(const stDataHeader& header, int repack)
{
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::ReadDataItemIntoMemory %s, %u, file loc %u, sub table %u\n",
                              GetTableNameText(header.nTable).c_str(), header.nKey, header.nCurrLoc,
                              static_cast<unsigned>(header.nSubTable));
    try {
        switch (header.nTable) {
        case 1: return ReadConfigurationRecord(header) != 0;
        case 2: return ValidateSettings(header) != 0;
        case 3:
            if (RefreshFormatRecord(header) == 0) return false;
            ++m_nFontsRead;
            return true;
        case 4:
            if (RefreshPageLayoutRecord(header) == 0) return false;
            ++m_nPageLayoutsRead;
            return true;
        case TABLE_MAILLIST:
            // Mail-list formats stay in the file; the mail-list view reads the one it shows.
            return true;
        default:
            return LoadTableRecordFromBuffer(header, 0xFFFFFFFE, repack) != 0;
        }
    } catch (...) {
        return false;
    }
}

bool CDatabase::ReadDatabaseIntoMemory(CDialogWaitBox* waitBox, std::string& errorText, std::string* report)
{
    Trace(Format("CDatabase::ReadDatabaseIntoMemory(), Timer=%s\n", GetTimerText().c_str()));
    const uint32_t fileVersion = GetFormatVersion();
    uint32_t version = fileVersion;
    if (version != 0) {
        std::string text = Format(
            "File format version (%i) is invalid. Please read the help topic to decide whether to abort "
            "or continue to try to load file. If you elect to continue, you will next be prompted for a "
            "file format number to try. This number is not written permanently to the database file. "
            "The help topic explains how to write the number permanently to the file.\r\n\r\nDo you "
            "want to abort?",
            static_cast<int>(version));
        if (MyBoxSaidYes(ShowMyMessageBox("Invalid file format number found", text, 1, 800))) return false;
        std::string answer = PromptForString("Format version", 10, "0", 0);
        if (answer.empty()) return false;
        version = static_cast<uint32_t>(std::strtoul(answer.c_str(), nullptr, 10));
    }

    m_aLoadMessages.clear();
    m_nFontsRead = 0;
    m_nPageLayoutsRead = 0;
    // The file is read in order under the database lock (the caller's): through a read-ahead.
    std::optional<ReadAheadScope> readAhead(std::in_place, *this);
    try {
        MakeFileHeaderArray(waitBox, nullptr);
    } catch (...) {
        errorText = "Can't load record headers";
        return false;
    }
    const std::vector<stDataHeader> headers = GetHeaderArray();
    const uint32_t count = static_cast<uint32_t>(headers.size());
    if (waitBox) {
        waitBox->SetStepText(Format("Loading data, %u records", count));
        waitBox->SetTotal(static_cast<int>(count + 12));
    }
    uint32_t failedPerTable[DB_NUM_TABLES + 1] = {};
    std::vector<uint32_t> failedLocs;
    uint32_t failed = 0;
    const uint32_t fileSize = GetFileSize(GetFile());
    CProgressPace pace;
    for (uint32_t i = 0; i < count; ++i) {
        stDataHeader h = headers[i];
        if (waitBox) {
            if (DiagnosticLevel > 1) waitBox->SetMessage(Format("Please wait, loading record %i", static_cast<int>(i)));
            if (pace.Due(i + 1, count)) waitBox->SetProgress(static_cast<int>(i + 1));
            if (waitBox->m_bCancelled) return false;
        }
        errorText = Format("Error loading record %u, %s, key %u, file location %u", i,
                           GetTableName(h.nTable).c_str(), h.nKey, h.nCurrLoc);
        if (h.cStatus != DB_STATUS_DELETED && h.cStatus != DB_STATUS_MARKDEL) {
            if (!ReadDataItemIntoMemory(h, 1)) {
                if (h.nTable >= 1 && h.nTable <= DB_NUM_TABLES) ++failedPerTable[h.nTable];
                ++failed;
                failedLocs.push_back(h.nCurrLoc);
                if (DiagnosticLevel > 0)
                    WriteDiagnosticFormat(" %s, Timer=%s\n", errorText.c_str(), GetTimerText().c_str());
                if (waitBox) waitBox->SetMessage(Format("Please wait, error in record %i, skip", static_cast<int>(i)));
            }
        }
        if (h.nNextLoc == LOC_NONE) break;
        if (CheckNextLocation(fileSize, h.nCurrLoc, h, "CDatabase::ReadDatabaseIntoMemory") != 0) break;
    }
    readAhead.reset();

    std::string backupName;
    if (!(version == 0 && failed == 0 && m_nFontsRead == kFontCount && m_nPageLayoutsRead == kPageLayoutCount)) {
        std::string problems;
        for (uint32_t t = 1; t <= DB_NUM_TABLES; ++t)
            if (failedPerTable[t] > 0)
                problems += Format("%u corrupted records in %s\r\n", failedPerTable[t], GetTableName(t).c_str());
        if (failed > 0) problems += Format("Unable to load %u out of %u data records. \r\n", failed, count);
        if (m_nFontsRead != kFontCount)
            problems += Format("Wrong number of fonts (%i) for program version %s\r\n",
                               static_cast<int>(m_nFontsRead), kProgramVersion);
        if (m_nPageLayoutsRead != kPageLayoutCount)
            problems += Format("Wrong number of page layouts (%i) for program version %s\r\n",
                               static_cast<int>(m_nPageLayoutsRead), kProgramVersion);
        std::vector<std::string> headerReport;
        if (TestAndRepairHeaders('F', 0, headerReport) != 0) problems += "Errors in linked list format\r\n";
        std::vector<std::string> referenceReport;
        if (TestTableReferences(referenceReport, 0, 0) != 0 && !referenceReport.empty())
            problems += referenceReport.front() + "\r\n";
        // Only real damage (or a wrong version) asks; a short settings table is simply renewed.
        if (version != 0 || failed > 0 || !problems.empty()) {
            std::string text = Format(
                "%sYou have the option of making just enough repairs to allow DORVALQUINTEX to continue to load "
                "the database.\r\nIf you continue, you will probably have to do further repairs to the database "
                "to make it usable\r\n(see main menu 'Miscellaneous/Integrity tests' for test and repair "
                "options) and the repairs may cause\r\nthe loss of some of your data. Your alternative is to "
                "abort loading the database and attempt to repair\r\nit without opening it (see menu item "
                "'Miscellaneous/Diagnostic and repair functions/Analyze and repair DB')\r\nor restore from a "
                "backup file. Click on help for more information.\r\n\r\nDo you want to abort loading the "
                "database?",
                problems.c_str());
            if (MyBoxSaidYes(ShowMyMessageBox("Problems found in data", text, 1, 801))) {
                errorText = "Database corrupted.";
                return false;
            }
            m_bRepairRewrote = false;
            backupName = RepairDatabase(1, 0);
            if (!m_bRepairRewrote) {
                if (fileVersion != 0) WriteDwordAt(DB_VERSION_LOC, 0);
                // The rewritten file holds none of the failed blocks; only the original file
                // gets them marked.
                for (uint32_t loc : failedLocs) {
                    stDataHeader h;
                    if (!ReadDbHeader(loc, h, true)) continue;
                    h.cStatus = DB_STATUS_DELETED;
                    WriteDbHeader(loc, h, true);
                }
                LockAndFlush(GetFile());
            }
            if (fileVersion != 0 && backupName.empty() && !m_bRepairRewrote) backupName = RepairDatabase(1, 0);
        }
    }

    if (m_nFontsRead != kFontCount) {
        m_aLoadMessages.push_back(Format("Wrong number (%i) of fonts in loading database. Saved (%i) default fonts.",
                                         static_cast<int>(m_nFontsRead), static_cast<int>(kFontCount)));
        ResetFormats();
    }
    if (m_nPageLayoutsRead != kPageLayoutCount) {
        m_aLoadMessages.push_back(Format(
            "Wrong number (%i) of page layouts in loading database. Saved (%i) default page layouts.",
            static_cast<int>(m_nPageLayoutsRead), static_cast<int>(kPageLayoutCount)));
        ResetPageLayouts();
    }

    if (waitBox) waitBox->SetStepText("Sort tables");
    for (uint8_t t : kSortedTables) {
        if (waitBox) waitBox->SetProgress(static_cast<int>(count + t));
        errorText = Format("Error sorting %s", GetTableName(t).c_str());
        std::vector<stIndex>* index = GetItemList(t);
        if (index && !index->empty()) SortBySecondWord(*index, &stIndex::nSequence, waitBox);
    }

    UpdateUserCount();
    bool sequenceErrors = false, duplicates = false;
    if (m_nUsersOnLine < 2 && IsOnlyUserOnFile()) {
        for (uint8_t t : kSortedTables) {
            errorText = Format("Error testing %s", GetTableName(t).c_str());
            int r = TestTableSequence(t, nullptr, 1);
            if (r == 1 || r == 3) sequenceErrors = true;
            if (r == 2 || r == 3) duplicates = true;
        }
    }
    if (!m_aLoadMessages.empty() || sequenceErrors || duplicates) {
        std::string question = "Errors found ";
        if (!m_aLoadMessages.empty()) question += "in loading data, ";
        if (sequenceErrors) question += "in data sequencing, ";
        if (duplicates) question += "duplicate keys in data tables, ";
        question += "and repairs were made.\nDo you want to see full report?";
        if (GetResponse(question, MB_YESNO) == IDYES) {
            std::vector<std::string> lines = m_aLoadMessages;
            lines.insert(lines.end(), m_aTestReport.begin(), m_aTestReport.end());
            ShowReportLines("Load report", lines);
        }
    }
    errorText.clear();
    if (!backupName.empty())
        GetResponse(Format("A backup of the original file was made to file %s.\nNow you should run integrity "
                           "tests. Then you should examine your database closely to see\nwhether all of the "
                           "data (e.g. lists of studios and persons, dance entries, etc.) look\ncorrect to you. "
                           "If not, you should restore from the backup file just made",
                           backupName.c_str()),
                    MB_OK);
    (void)report;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Repair: the whole file rewritten from memory

std::string CDatabase::RepairDatabase(int askBackup, int)
{
    m_bRepairRewrote = false;
    if (!IsOpen() || IsDatabaseLocked(2)) return std::string();
    std::string backupName;
    MakeRepairBackup(backupName, askBackup == 1 ? 1 : 0, 0);
    if (backupName.empty()) return std::string();
    const std::string fileName = GetFileName();
    std::string root = GetDatabaseName();
    if (root.empty()) root = StripExtension(fileName);
    CDialogWaitBox* box = nullptr;
    box = ShowWaitBox("Rewriting database in current program format.", false, 9);
    const std::string tempName = host::JoinPath(host::DirectoryPart(fileName), "REPAIR.TMP");
    // The new file is written whole beside the old one through the engine, then put in its
    // place in one step; until then the old file stays open and as it was.
    host::File old = std::move(m_File);
    std::vector<stDataHeader> oldHeaders = m_aHeaders;
    std::vector<uint32_t> oldLocs;
    for (uint8_t t2 : kSortedTables)
        for (const stIndex& e : *GetItemList(t2)) oldLocs.push_back(e.nFileLoc);
    m_aHeaders.clear();
    InvalidateHeaderIndex();
    m_aWrittenLocs.clear();
    bool ok = m_File.Open(tempName, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways, 0660);
    if (ok) {
        uint8_t head[8] = {0, 0, 0, 0, 0, 0, 0, 0};
        char title[DB_NAME_LEN] = {};
        std::string t = host::FileNamePart(root);
        std::memcpy(title, t.data(), std::min<size_t>(t.size(), DB_NAME_LEN));
        uint8_t lockByte = GetCurrentUserCode();
        ok = WriteFileBlockUnflushed(m_File, 0, head, 8) == 8 &&
             WriteFileBlockUnflushed(m_File, DB_NAME_LOC, title, DB_NAME_LEN) == DB_NAME_LEN &&
             // This copy keeps the database lock in the new file as it held it in the old.
             (m_nDbLockDepth == 0 || WriteFileBlockUnflushed(m_File, DB_LOCK_AREA_LOC, &lockByte, 1) == 1);
        std::vector<uint8_t> zeros(LOC_START_TABLES - DB_LOCK_AREA_LOC - 1, 0);
        ok = ok && WriteFileBlockUnflushed(m_File, DB_LOCK_AREA_LOC + 1, zeros.data(),
                                           static_cast<uint32_t>(zeros.size())) == zeros.size();
    }
    if (ok) {
        if (box) box->SetStepText("Rewrite header and format data");
        ok = SaveConfigurationTable() != 0 && SaveVarRecord() != 0;
        for (uint32_t i = 0; ok && i < GetFormatCount(); ++i)
            if (const stFormatRecord* f = GetFormat(i)) ok = WriteFormatRecord(*f) != 0;
        for (const stPageLayout& layout : m_aPageLayouts)
            if (ok) ok = SavePageLayoutTable(layout) != 0;
        for (uint8_t t2 : kSortedTables) {
            if (!ok) break;
            if (box) box->SetStepText(Format("Rewrite %s", GetTableName(t2).c_str()));
            for (stIndex& e : *GetItemList(t2)) {
                uint32_t loc = SaveItem(t2, e.pItem, nullptr);
                if (loc == LOC_NONE) {
                    ok = false;
                    break;
                }
                e.nFileLoc = loc;
            }
        }
        ok = ok && FlushDbFile();
    }
    m_aWrittenLocs.clear();
    if (ok) ok = host::ReplaceFile(tempName, fileName);
    // The writes above may have left this handle holding the presence range (the test of
    // being alone); it is taken again as the shared presence of an open copy.
    if (ok) {
        m_File.Unlock(kPresenceLockOffset, kPresenceLockLength);
        ok = m_File.LockShared(kPresenceLockOffset, kPresenceLockLength);
    }
    if (!ok) {
        m_File.Close();
        host::DeleteFile(tempName);
        m_File = std::move(old);
        m_aHeaders = oldHeaders;
        InvalidateHeaderIndex();
        size_t i = 0;
        for (uint8_t t2 : kSortedTables)
            for (stIndex& e : *GetItemList(t2)) e.nFileLoc = oldLocs[i++];
        CloseWaitBox(box);
        GetResponse(Format("Error in rewriting database %s. It was left as it was.", fileName.c_str()), MB_OK);
        return backupName;
    }
    // Copies waiting on the old file's lock byte find it free, then the new file.
    if (m_nDbLockDepth > 0) {
        uint8_t zero = 0;
        WriteFileBlockUnflushed(old, DB_LOCK_AREA_LOC, &zero, 1);
        old.Flush();
    }
    old.Close();
    MakeFileHeaderArray(nullptr, nullptr);
    CloseWaitBox(box);
    m_bRepairRewrote = true;
    SendDataModifiedNotices(LOCK_KIND_DATABASE, LOC_NONE, LOC_NONE);
    return backupName;
}

// ---------------------------------------------------------------------------------------------
// The database lock as the tables take it

bool CDatabase::ReopenIfReplaced()
{
    if (!IsOpen()) return false;
    host::FileId open = GetFile().Identity();
    host::FileId atPath = host::IdentityOf(GetFileName());
    if (!atPath.valid || open == atPath) return false;
    Trace(Format("CDatabase::ReopenIfReplaced %s was replaced, reopen\n", GetFileName().c_str()));
    return ReopenFile();
}

bool CDatabase::TakeDatabaseLock(const std::string& purpose, uint32_t table, bool testRecords,
                                 const std::vector<uint32_t>* tableList)
{
    if (!IsOpen()) return false;
    if (m_nDbLockDepth > 0) {
        ++m_nDbLockDepth;
        return true;
    }
    bool reopened = false;
    for (;;) {
        reopened = ReopenIfReplaced() || reopened;
        if (!LockDatabase(purpose, table, testRecords, tableList)) return false;
        if (!IsFileReplaced()) break;
        // Taken on a file that was replaced during the wait: given back there, taken anew.
        UnlockDatabase();
    }
    m_nDbLockDepth = 1;
    if (reopened) {
        // Every location in memory belongs to the old file.
        ReloadAll(nullptr);
        m_aRefreshFlags.clear();
    }
    return true;
}

void CDatabase::ReleaseDatabaseLock()
{
    if (m_nDbLockDepth == 0) return;
    if (--m_nDbLockDepth > 0) return;
    if (IsOpen()) {
        LockAndFlush(GetFile());
        // The manager hears of the release even when the byte could not be cleared.
        if (!UnlockDatabase()) SendUnlockNotice(LOCK_KIND_DATABASE, LOCK_VALUE_WHOLE);
    }
}

bool CDatabase::LockDatabaseFor(const std::string& purpose, uint8_t table)
{
    return TakeDatabaseLock(purpose, table, true, nullptr);
}

void CDatabase::UnlockDatabaseAfter()
{
    ReleaseDatabaseLock();
}
