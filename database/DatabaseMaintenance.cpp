// CDatabase: compaction (the file rewritten without its deleted blocks), the purge of persons
// without recent activity, and the deleted-data report.

#include "database/Database.h"

#include <algorithm>

#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"
#include "platform/host/WaitCursor.h"

// ---------------------------------------------------------------------------------------------
// Compaction

int CDatabase::CompactDatabase(const std::string& databaseName)
{
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::CompactDatabase %s\n", databaseName.c_str());
    if (!IsOpen()) return 1;
    uint32_t loc = LOC_NONE;
    if (IsDatabaseLocked(2) || IsAnyTableLocked(2) || IsAnyRecordLocked(2, loc)) {
        GetResponse("Data are locked. Can not compact database.", MB_OK);
        return 1;
    }
    // The lock byte is taken directly (tested and set in one step under its range, so a copy
    // taking it meanwhile is not overwritten); the other copies wait on it.
    if (TestAndSetLockByte(DB_LOCK_AREA_LOC) != 1) {
        GetResponse("Data are locked. Can not compact database.", MB_OK);
        return 1;
    }
    ReopenIfReplaced();
    MakeFileHeaderArray(nullptr, nullptr);
    const std::string fileName = GetFileName();
    // Written whole and flushed beside the database, then renamed over it in one step: until
    // then the database is as it was, and no copy ever writes into a file that is going away.
    const std::string tempName = host::JoinPath(host::DirectoryPart(fileName), "TEMP.DBS");
    bool ok = MakeDBCopy(tempName, 255);
    if (ok) ok = host::ReplaceFile(tempName, fileName);
    if (!ok) {
        host::DeleteFile(tempName);
        UnlockDatabase();
        GetResponse("Error in making copy.", MB_OK);
        return 1;
    }
    // Copies waiting on the old file's lock byte find it free, then find the new file.
    ClearOwnLockByte(DB_LOCK_AREA_LOC);
    m_aWrittenLocs.clear();
    bool reopened = ReopenFile();
    if (reopened) {
        if (IsOnlyUserOnFile()) UnlockAllRecords();
        reopened = TakeDatabaseLock("load database", 0, false, nullptr);
        if (reopened) {
            CDialogWaitBox* box = ShowWaitBox("Prepare to load database.", false, 0);
            reopened = ReloadAll(box);
            CloseWaitBox(box);
            if (IsOpen()) ReleaseDatabaseLock();
            else m_nDbLockDepth = 0;
        }
    }
    if (reopened && IsOpen()) {
        m_aWrittenLocs.clear();
        SendDataModifiedNotices(LOCK_KIND_DATABASE, LOC_NONE, LOC_NONE);
        return 1;
    }
    CloseDatabase();
    SetCurrentUser(0, 0);
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Person purge

void CDatabase::PurgePersons(char mode)
{
    uint32_t loc = LOC_NONE;
    if (IsAnyRecordLockedInTable(2, TABLE_PERSON, loc)) {
        GetResponse("Table in use by another user.", MB_OK);
        return;
    }
    if (GetResponse("Would you like to do a backup first?", MB_YESNO) == IDYES) Ui().BackupDatabase(*this);
    DATE initialOnly = 0.0, others = 0.0;
    if (!Ui().GetPurgeDates(*this, initialOnly, others)) return;
    if (initialOnly == 0.0 || others == 0.0 || !IsDateAllowed(initialOnly, false) || !IsDateAllowed(others, false)) {
        GetResponse("Invalid date.", MB_OK);
        return;
    }
    if (!LockAndRefreshDatabase("modify table", TABLE_PERSON, 1, 0, 0)) return;
    host::WaitCursor wait;
    std::vector<stActivityLine> summary;
    MakeStudentActivitySummary(summary);
    bool deleted = false;
    for (const stActivityLine& line : summary) {
        const DATE cutOff = line.sText == "Initial entry" ? initialOnly : others;
        CPerson* person = static_cast<CPerson*>(GetItem(TABLE_PERSON, line.nPerson));
        if (person == nullptr || person->m_nField34 != 0 || !(line.dDate < cutOff)) continue;
        if (mode == 'A') {
            person->m_cStatus = 0;
            SaveModifiedItemAfterLock(TABLE_PERSON, person->m_nCode, person, -1, 1);
        } else if (mode == 'P') {
            const uint32_t code = person->m_nCode;
            int at = FindItemIndex(TABLE_PERSON, code);
            DeleteItemRecord(TABLE_PERSON, person, (*GetItemList(TABLE_PERSON))[at].nFileLoc);
            at = FreeItem(TABLE_PERSON, code);
            if (at >= 0) GetItemList(TABLE_PERSON)->erase(GetItemList(TABLE_PERSON)->begin() + at);
            NotifyDataModified(TABLE_PERSON, code, LOC_NONE);
            deleted = true;
        }
    }
    if (deleted) SaveTableSequence(TABLE_PERSON, 1, nullptr);
    ReleaseDatabaseLock();
}

// ---------------------------------------------------------------------------------------------
// Deleted-data report

namespace {

void CountUser(uint8_t user, std::vector<stCodeTotal>& counts)
{
    for (stCodeTotal& c : counts)
        if (static_cast<uint8_t>(c.nCode) == user) {
            ++c.nCount;
            return;
        }
    counts.push_back({user, 1, 0.0});
}

const char* const kStampPattern = "%A %B %d, %Y, %I:%M%p";

}  // namespace

void CDatabase::DeletedDataReportPerson(uint32_t loc, std::vector<std::string>& lines, std::vector<stCodeTotal>& counts)
{
    CPerson p;
    if (ReadRecord(loc, true) == 0 || p.ReadRecord(*this) == 0) {
        lines.push_back(Format("Error in reading deleted person record at file location %u", loc));
        return;
    }
    lines.push_back(Format("%s, %s deleted by %s at %s", p.m_sLastName.c_str(), p.m_sFirstName.c_str(),
                           GetUserName(p.m_cStamp2User).c_str(), FormatDateTime(p.m_dStamp2Date, kStampPattern).c_str()));
    CountUser(p.m_cStamp2User, counts);
}

void CDatabase::DeletedDataReportPurchase(uint32_t loc, std::vector<std::string>& lines, std::vector<stCodeTotal>& counts)
{
    CPurchaseRecord p;
    if (ReadRecord(loc, true) == 0 || p.ReadRecord(*this) == 0) {
        lines.push_back(Format("Error in reading deleted purchase record at file location %u", loc));
        return;
    }
    lines.push_back(Format("%s deleted by %s at %s", p.m_sDescription.c_str(), GetUserName(p.m_cStamp2User).c_str(),
                           FormatDateTime(p.m_dStamp2Date, kStampPattern).c_str()));
    CountUser(p.m_cStamp2User, counts);
}

void CDatabase::DeletedDataReportPayment(uint32_t loc, std::vector<std::string>& lines, std::vector<stCodeTotal>& counts)
{
    CPaymentRecord p;
    if (ReadRecord(loc, true) == 0 || p.ReadRecord(*this) == 0) {
        lines.push_back(Format("Error in reading deleted payment record at file location %u", loc));
        return;
    }
    lines.push_back(Format("%s deleted by %s at %s", p.m_sText.c_str(), GetUserName(p.m_cStamp2User).c_str(),
                           FormatDateTime(p.m_dStamp2Date, kStampPattern).c_str()));
    CountUser(p.m_cStamp2User, counts);
}

void CDatabase::DeletedDataReportSchedule(uint32_t loc, std::vector<std::string>& lines, std::vector<stCodeTotal>& counts)
{
    CScheduleRecord s;
    if (ReadRecord(loc, true) == 0 || s.ReadRecord(*this) == 0) {
        lines.push_back(Format("Error in reading deleted schedule record at file location %u", loc));
        return;
    }
    lines.push_back(Format("%s deleted by %s at %s", s.m_sText.c_str(), GetUserName(s.m_cStamp2User).c_str(),
                           FormatDateTime(s.m_dStamp2Date, kStampPattern).c_str()));
    CountUser(s.m_cStamp2User, counts);
}

void CDatabase::DeletedCountSummary(const std::string& label, const std::vector<stCodeTotal>& counts,
                                    std::vector<std::string>& summary)
{
    std::vector<std::string> lines;
    uint32_t total = 0;
    for (const stCodeTotal& c : counts) {
        lines.push_back(Format("\t%s deleted by %s: %u", label.c_str(), GetUserName(c.nCode & 0xFF).c_str(), c.nCount));
        total += c.nCount;
    }
    SortStrings(lines);
    summary.push_back(Format("%s deleted %u", label.c_str(), total));
    summary.insert(summary.end(), lines.begin(), lines.end());
}

void CDatabase::DeletedDataReport()
{
    std::vector<std::string> lines = {"Deleted data report", "", GetBlockDescription(0), ""};
    const size_t summaryAt = lines.size();
    lines.push_back("Itemized deletions:");
    CDialogWaitBox* box = ShowWaitBox("Collecting data", true, 0);
    MakeFileHeaderArray(nullptr, nullptr);
    std::vector<uint32_t> locs;
    GetDeletedLocsFromFile(locs, 255);
    std::vector<stCodeTotal> persons, purchases, payments, schedules;
    for (size_t i = 0; i < locs.size(); ++i) {
        if (box) {
            box->SetPercent(static_cast<float>(i * 100.0 / locs.size()));
            if (box->PumpMessages() != 0) break;
        }
        lines.push_back(" ");
        stDataHeader h;
        if (!ReadDbHeader(locs[i], h, true)) {
            lines.push_back(Format("Error in reading deleted record at %u, %s, key %u", locs[i],
                                   GetTableName(h.nTable).c_str(), h.nKey));
            continue;
        }
        switch (h.nTable) {
        case TABLE_PERSON: DeletedDataReportPerson(locs[i], lines, persons); break;
        case TABLE_PURCHASE: DeletedDataReportPurchase(locs[i], lines, purchases); break;
        case TABLE_PAYMENT: DeletedDataReportPayment(locs[i], lines, payments); break;
        case TABLE_SCHEDULE: DeletedDataReportSchedule(locs[i], lines, schedules); break;
        default: break;
        }
    }
    CloseWaitBox(box);
    std::vector<std::string> summary = {"Summary:"};
    DeletedCountSummary("Persons", persons, summary);
    DeletedCountSummary("Purchases", purchases, summary);
    DeletedCountSummary("Payments", payments, summary);
    DeletedCountSummary("Schedule", schedules, summary);
    summary.push_back("");
    lines.insert(lines.begin() + static_cast<long>(summaryAt), summary.begin(), summary.end());
    ShowReportLines("Deleted data report", lines);
}
