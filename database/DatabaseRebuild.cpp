// The repair backup of the database file, the rebuild of a damaged file from the record headers
// that a search found, the byte-for-byte snapshot that every backup packs, and the raw opening
// that the repair commands work through.
//
// Nothing here rewrites a file in place: a snapshot and a rebuild are written to a temporary file
// beside their target and renamed over it only once complete.

#include "database/Database.h"

#include "common/Backup.h"
#include "common/Diagnostic.h"
#include "common/FileCopy.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <tuple>

namespace {

// Bytes moved per step of a snapshot.
constexpr uint32_t kSnapshotChunk = 65536;

// "<file>.$$$" beside the file it will replace.
std::string TemporaryBeside(const std::string& file) { return file + ".$$$"; }

void PutDword(uint8_t* p, uint32_t v)
{
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

// A record read at one of the found headers, ready to be written again.
struct stFoundRecord {
    stDataHeader header;
    std::vector<uint8_t> data;
};

}  // namespace

// ---- Raw opening -----------------------------------------------------------------------------

bool CDatabase::OpenRawFile(const std::string& fileName)
{
    if (m_bOpen) CloseRawFile();
    if (!host::FileExists(fileName)) return false;
    if (!m_File.OpenExisting(fileName)) return false;
    m_sFileName = fileName;
    // Other copies see this one on the file; when the shared hold cannot be had another copy is
    // closing it this moment, and the file is still usable for reading.
    m_bHoldsPresence = m_File.LockShared(kPresenceLockOffset, kPresenceLockLength);
    uint8_t raw[4] = {0, 0, 0, 0};
    if (ReadFileBlockNoLock(m_File, DB_VERSION_LOC, raw, 4) == 4)
        m_nFormatVersion = raw[0] | (raw[1] << 8) | (raw[2] << 16) | (static_cast<uint32_t>(raw[3]) << 24);
    m_bOpen = true;
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::OpenRawFile(%s)\n", fileName.c_str());
    return true;
}

void CDatabase::CloseRawFile()
{
    if (!m_File.IsOpen() && !m_bOpen) return;
    m_File.Close();
    m_bHoldsPresence = false;
    m_bOpen = false;
    m_aHeaders.clear();
}

// ---- Snapshot --------------------------------------------------------------------------------

bool CDatabase::SnapshotDatabaseFile(const std::string& target)
{
    if (!m_bOpen || !m_File.IsOpen()) {
        GetResponse("No database file is open to back up.", MB_OK);
        return false;
    }
    // Another desk's save is never caught half way: the copy is read under the database lock
    // (unless this copy holds it already), also while this copy is alone on the file, since
    // another may open it and save while the copy is read.
    bool lockedHere = false;
    if (IsDatabaseLocked(3) == 0) {
        if (!LockDatabase("backup database")) {
            GetResponse("The database could not be locked for the backup.\nThe backup was not made.", MB_OK);
            return false;
        }
        lockedHere = true;
    }
    const std::string temporary = TemporaryBeside(target);
    host::File out;
    bool ok = out.Open(temporary, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways);
    const uint32_t size = GetFileSize(m_File);
    if (size == 0xFFFFFFFF) ok = false;
    std::vector<uint8_t> buffer(kSnapshotChunk);
    for (uint32_t loc = 0; ok && loc < size; loc += kSnapshotChunk) {
        const uint32_t n = std::min(kSnapshotChunk, size - loc);
        if (ReadDbBlock(loc, buffer.data(), n, true) != n) {
            ok = false;
            break;
        }
        if (loc == 0) {
            // The copy is a closed file: close status set, no lock stamps of the desks that
            // have the database open now.
            if (n >= DB_CLOSE_STATUS_LOC + 4) PutDword(&buffer[DB_CLOSE_STATUS_LOC], 1);
            if (n > DB_LOCK_AREA_LOC)
                std::memset(&buffer[DB_LOCK_AREA_LOC], 0,
                            std::min<uint32_t>(DB_LOCK_AREA_LEN, n - DB_LOCK_AREA_LOC));
        }
        ok = out.WriteAt(loc, buffer.data(), n);
    }
    if (ok) ok = out.Flush();
    ok = out.Close() && ok;
    if (lockedHere) UnlockDatabase();
    if (ok) ok = host::ReplaceFile(temporary, target);
    if (!ok) {
        host::DeleteFile(temporary);
        GetResponse(Format("Error in copying database file %s to %s.", m_sFileName.c_str(), target.c_str()),
                    MB_OK);
        return false;
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::SnapshotDatabaseFile %s, %u bytes\n", target.c_str(), size);
    return true;
}

// ---- Repair backup ---------------------------------------------------------------------------

std::string CDatabase::MakeRepairBackup(std::string& backupName, int ask, int reopen)
{
    (void)reopen;  // the file stays open: the backup is read through this object's own handle
    backupName.clear();
    if (IsDatabaseLocked(2) != 0) return backupName;
    if (ask == 1 &&
        GetResponse("You have the option of making a backup file before attempting to make the repair.\n"
                    "This is not necessary if you just restored  from a backup file, since that backup "
                    "file still exists.\nDo you want to make a backup file?",
                    MB_YESNO) != IDYES)
        return backupName;
    std::string root = GetDatabaseName();
    if (root.empty()) root = StripExtension(m_sFileName);
    const std::string target = root + GetBackupExtension('B', 0);
    CDialogWaitBox* box = ShowWaitBox("Saving backup file to hard disk.", false, 0);
    // The new copy is complete before the generations move, so a failed copy costs no backup.
    const std::string fresh = root + ".BK$";
    bool ok = SnapshotDatabaseFile(fresh);
    if (ok) {
        RotateGenerations(root, 'B', std::max(1, Ui().GetBackupGenerations()));
        ok = host::ReplaceFile(fresh, target);
        if (!ok) GetResponse(Format("Error in saving backup file %s.", target.c_str()), MB_OK);
    }
    host::DeleteFile(fresh);
    CloseWaitBox(box);
    if (!ok) return backupName;
    m_bDataChangedForTimer = false;
    backupName = target;
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::MakeRepairBackup %s\n", target.c_str());
    return backupName;
}

// ---- Rebuild from found headers --------------------------------------------------------------

int CDatabase::ReadAndRewriteDbUsingHeaderLocs(char method, int rewrite, std::vector<std::string>& report)
{
    if (!m_File.IsOpen()) return 0;
    CDialogWaitBox* box = ShowWaitBox("Locating record headers.", true, 0);
    std::vector<uint32_t> locs;
    LocateHeaders(method, locs, box);
    WaitSetMessage(box, Format("Loading data, %u records", static_cast<unsigned>(locs.size())));
    WaitSetTotal(box, static_cast<double>(locs.size() + 12));

    // One record per item: a later block of the same item replaces an earlier one, as reading
    // into the tables would.
    std::vector<stFoundRecord> records;
    std::map<std::tuple<uint8_t, uint8_t, uint32_t, uint32_t>, size_t> byItem;
    uint32_t failures[DB_NUM_TABLES + 1] = {};
    uint32_t failed = 0;
    std::vector<uint8_t> data;
    for (size_t i = 0; i < locs.size(); ++i) {
        WaitSetMessage(box, Format("Please wait, loading record %i", static_cast<int>(i)));
        WaitSetProgress(box, static_cast<double>(i));
        if (WaitPump(box) || WaitCancelled(box)) {
            CloseWaitBox(box);
            return 0;
        }
        const uint32_t loc = locs[i];
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::ReadAndRewriteDbUsingHeaderLocs processing loc index %i at %u\n",
                                  static_cast<int>(i), loc);
        stDataHeader h;
        if (!ReadDbHeader(loc, h, false)) {
            ++failures[0];
            ++failed;
            continue;
        }
        if (h.cStatus == DB_STATUS_DELETED || h.cStatus == DB_STATUS_MARKDEL) continue;
        bool good = IsValidStatus(h.cStatus) && h.nTable >= 1 && h.nTable <= DB_NUM_TABLES &&
                    h.nDataLen <= h.nBlockLen && h.nCurrLoc == loc;
        if (good) {
            data.assign(h.nDataLen, 0);
            good = h.nDataLen == 0 ||
                   ReadFileBlockNoLock(m_File, loc + DB_HEADER_LEN, data.data(), h.nDataLen) == h.nDataLen;
            if (good) good = TestDataCheck(h, data.data(), h.nDataLen) != 0;
        }
        if (!good) {
            ++failures[h.nTable <= DB_NUM_TABLES ? h.nTable : 0];
            ++failed;
            WaitSetMessage(box, Format("Please wait, error in record %i, skip", static_cast<int>(i)));
            if (DiagnosticLevel > 0)
                WriteDiagnosticFormat("CDatabase::ReadAndRewriteDbUsingHeaderLocs read BAD at %u\n", loc);
            continue;
        }
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::ReadAndRewriteDbUsingHeaderLocs read OK at %u\n", loc);
        const auto item = std::make_tuple(h.nTable, h.nSubTable, h.nKey, h.nSubKey);
        auto found = byItem.find(item);
        if (found != byItem.end()) {
            records[found->second] = {h, data};
        } else {
            byItem[item] = records.size();
            records.push_back({h, data});
        }
    }
    CloseWaitBox(box);

    const unsigned count = static_cast<unsigned>(locs.size());
    if (rewrite != 1) {
        if (failed > 0)
            report.push_back(Format("This method found %u record headers, but %u records could not be read.",
                                    count, failed));
        else
            report.push_back(Format("This method used %u record headers, all read OK.", count));
        return 1;
    }
    if (failed > 0 &&
        GetResponse(Format("Found %u record headers, but %u records could not be read.\nDo you want to "
                           "continue and rewrite file?",
                           count, failed),
                    MB_YESNO) != IDYES)
        return 0;
    if (IsDatabaseLocked(2) != 0 || !IsOnlyUserOnFile()) {
        GetResponse("The database is in use by another user.\nThe file was not rebuilt.", MB_OK);
        return 0;
    }
    if (records.empty()) {
        GetResponse("No readable records were found.\nThe file was not rebuilt.", MB_OK);
        return 0;
    }

    // The rebuilt file: the old file header's version and title, closed, no lock stamps; then
    // every record read, one block each, linked in order.
    const std::string fileName = m_sFileName;
    const std::string temporary = TemporaryBeside(fileName);
    host::File out;
    bool ok = out.Open(temporary, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways);
    uint8_t head[LOC_START_TABLES] = {};
    ReadFileBlockNoLock(m_File, 0, head, DB_NAME_LOC + DB_NAME_LEN);
    PutDword(&head[DB_VERSION_LOC], DB_FORMAT_CURRENT);
    PutDword(&head[DB_CLOSE_STATUS_LOC], 1);
    if (ok) ok = out.WriteAt(0, head, sizeof head);
    uint32_t loc = LOC_START_TABLES;
    for (size_t i = 0; ok && i < records.size(); ++i) {
        stDataHeader h = records[i].header;
        const uint32_t length = static_cast<uint32_t>(records[i].data.size());
        h.cDelimiter[0] = h.cDelimiter[1] = 'U';
        h.nPrevLoc = i == 0 ? LOC_NONE : loc - DB_HEADER_LEN - static_cast<uint32_t>(records[i - 1].data.size());
        h.nCurrLoc = loc;
        h.nNextLoc = i + 1 == records.size() ? LOC_NONE : loc + DB_HEADER_LEN + length;
        h.nBlockLen = static_cast<uint16_t>(length);
        h.nDataLen = static_cast<uint16_t>(length);
        h.cStatus = DB_STATUS_USED;
        h.nLockOwner = 0;
        SetDataCheck(h, records[i].data.data(), length);
        uint8_t raw[DB_HEADER_LEN];
        h.Pack(raw);
        ok = out.WriteAt(loc, raw, DB_HEADER_LEN) &&
             (length == 0 || out.WriteAt(loc + DB_HEADER_LEN, records[i].data.data(), length));
        loc += DB_HEADER_LEN + length;
    }
    if (ok) ok = out.Flush();
    ok = out.Close() && ok;
    if (ok) {
        CloseRawFile();
        ok = host::ReplaceFile(temporary, fileName);
        OpenRawFile(fileName);
    }
    if (!ok) {
        host::DeleteFile(temporary);
        GetResponse(Format("Error in writing the rebuilt database file %s.\nThe file was not changed.",
                           fileName.c_str()),
                    MB_OK);
        return 0;
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::ReadAndRewriteDbUsingHeaderLocs rewrote %u records\n",
                              static_cast<unsigned>(records.size()));
    return 1;
}
