// CDatabase: applying the refresh flags that other copies' data-modified notices left, under the
// database lock; re-reading one item, one table, one sequence or everything; the refresh
// suspension that dialogs and message boxes hold.

#include "database/Database.h"

#include "platform/ui/Window.h"

#include <algorithm>

#include "common/Diagnostic.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/host/Format.h"

namespace {

void TraceBoth(const std::string& text)
{
    if (DiagnosticLevel <= 0) return;
    WriteDiagnosticString(text);
    DiagnosticText = text;
    WriteDiagnosticMsg();
}

constexpr uint32_t kKeyWhole = 0xFFFFFFFF;
constexpr uint32_t kKeySequence = 0xFFFFFFFE;

bool IsItemTable(uint32_t table)
{
    return table == TABLE_CATEGORY || table == TABLE_PERSON || (table >= TABLE_PRICELIST && table <= TABLE_SCHEDULE);
}

}  // namespace

bool CDatabase::LockAndRefreshDatabase(const std::string& purpose, uint32_t table, int testRecords, int,
                                       int refreshOnly)
{
    return LockAndRefreshDatabaseList(purpose, table, testRecords, nullptr, refreshOnly);
}

bool CDatabase::LockAndRefreshDatabaseList(const std::string& purpose, uint32_t table, int testRecords,
                                           const std::vector<uint32_t>* tableList, int refreshOnly)
{
    // An inner level: the lock is held and the outermost level refreshed already.
    if (m_nDbLockDepth > 0) {
        if (refreshOnly != 1) ++m_nDbLockDepth;
        return true;
    }
    m_bLockAndRefresh = true;
    auto skip = [&](const char* line) {
        TraceBoth(Format(line, GetTimerText().c_str()));
        m_bLockAndRefresh = false;
        m_bRefreshPending = true;
        return false;
    };
    if (refreshOnly == 1 && m_bDisableDataRefresh)
        return skip("CDatabase::LockAndRefreshDatabase skip because m_bDisableDataRefresh == TRUE, Timer=%s\n");
    if (m_bIsRefreshInProcess)
        return skip("CDatabase::LockAndRefreshDatabase skip because m_bIsRefreshInProcess == TRUE, Timer=%s\n");
    if (m_bWaitingForLock)
        return skip("CDatabase::LockAndRefreshDatabase skip because m_bWaitingForLock == TRUE, Timer=%s\n");
    if (m_nAccessWaitDepth > 0)
        return skip("CDatabase::LockAndRefreshDatabase skip because a block transfer is waiting, Timer=%s\n");

    if (!TakeDatabaseLock(purpose, table, testRecords != 0, tableList)) {
        m_bLockAndRefresh = false;
        m_bRefreshPending = true;
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::LockAndRefreshDatabase:%s FAILED TO LOCK\n", purpose.c_str());
        return false;
    }
    if (m_aRefreshFlags.empty()) {
        m_bLockAndRefresh = false;
        m_bRefreshPending = false;
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::LockAndRefreshDatabase:%s NONE TO REFRESH\n", purpose.c_str());
        if (refreshOnly == 1) ReleaseDatabaseLock();
        return true;
    }
    CDialogWaitBox* box = ShowWaitBox("Waiting to refresh database.", true, 0);
    bool done = DoRefresh(box);
    while (!done) {
        if (box && box->PumpMessages() != 0) break;
        if (box == nullptr) break;
        done = DoRefresh(box);
    }
    CloseWaitBox(box);
    m_bLockAndRefresh = false;
    if (!done) {
        // Writing now would overwrite what the others changed and this copy has not read.
        m_bRefreshPending = true;
        ReleaseDatabaseLock();
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::LockAndRefreshDatabase:%s refresh not completed\n", purpose.c_str());
        return false;
    }
    if (refreshOnly == 1) ReleaseDatabaseLock();
    return true;
}

bool CDatabase::DoRefresh(CDialogWaitBox* waitBox)
{
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::DoRefresh number of items to refresh %i at %s\n",
                              static_cast<int>(m_aRefreshFlags.size()), GetTimerText().c_str());
    m_bIsRefreshInProcess = true;
    m_bRefreshPending = false;
    if (waitBox) waitBox->SetStepText("Refreshing database due to changes by another user.");

    bool whole = false, rebuild = false;
    std::vector<uint8_t> tables, sequences;
    std::vector<uint32_t> headerLocs;
    for (size_t i = m_aRefreshFlags.size(); i-- > 0;) {
        stRefreshFlag f = m_aRefreshFlags[i];
        if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("CDatabase::DoRefresh flag %u (table %u, key %u)\n", static_cast<unsigned>(i),
                                  static_cast<unsigned>(f.nTable), f.nKey);
        if (f.nTable == LOCK_KIND_DATABASE) {
            whole = true;
            break;
        }
        if (f.nTable == LOCK_KIND_HEADER) {
            if (f.nKey == kKeyWhole) rebuild = true;
            else headerLocs.push_back(f.nKey);
            m_aRefreshFlags.erase(m_aRefreshFlags.begin() + static_cast<long>(i));
        } else if (f.nKey == kKeyWhole) {
            if (std::find(tables.begin(), tables.end(), f.nTable) == tables.end()) tables.push_back(f.nTable);
            rebuild = true;
            m_aRefreshFlags.erase(m_aRefreshFlags.begin() + static_cast<long>(i));
        } else if (f.nKey == kKeySequence) {
            if (std::find(sequences.begin(), sequences.end(), f.nTable) == sequences.end())
                sequences.push_back(f.nTable);
            m_aRefreshFlags.erase(m_aRefreshFlags.begin() + static_cast<long>(i));
        }
    }
    if (whole || rebuild) {
        MakeFileHeaderArray(nullptr, nullptr);
    } else {
        std::sort(headerLocs.begin(), headerLocs.end());
        headerLocs.erase(std::unique(headerLocs.begin(), headerLocs.end()), headerLocs.end());
        for (uint32_t loc : headerLocs)
            if (UpdateHeader(loc, m_aRefreshFlags) == 0) {
                whole = true;
                break;
            }
    }
    bool result = true;
    if (whole) {
        result = RefreshDatabase();
        if (result) m_aRefreshFlags.clear();
    } else {
        for (uint8_t t : tables) RefreshTable(t, kKeyWhole);
        std::vector<stRefreshFlag> items = m_aRefreshFlags;
        for (const stRefreshFlag& f : items)
            if (std::find(tables.begin(), tables.end(), f.nTable) == tables.end()) RefreshTable(f.nTable, f.nKey);
        for (uint8_t t : sequences) RefreshTable(t, kKeySequence);
        m_aRefreshFlags.clear();
    }
    m_bIsRefreshInProcess = false;
    return result;
}

bool CDatabase::RefreshDatabase()
{
    if (DiagnosticLevel > 1) WriteDiagnosticString("CDatabase::RefreshDatabase()\n");
    if (!TakeDatabaseLock("refresh entire database", 0xFF, true, nullptr)) return false;
    CDialogWaitBox* box = ShowWaitBox("Refreshing database.", false, 0);
    bool ok = ReloadAll(box);
    if (IsOpen()) ReleaseDatabaseLock();
    else m_nDbLockDepth = 0;
    CloseWaitBox(box);
    if (!ok)
        GetResponse("Refreshing the database from the file failed. The changes made by other users are not "
                    "shown.\nClose the database and open it again.",
                    MB_OK);
    return ok;
}

bool CDatabase::ReloadAll(CDialogWaitBox* waitBox)
{
    uint32_t keepCode = LOC_NONE;
    const uint8_t keepTable = m_nProtectedTable;
    if (m_pProtectedItem != nullptr && IsItemTable(keepTable))
        for (stIndex& e : m_aIndex[keepTable])
            if (e.pItem == m_pProtectedItem) {
                keepCode = e.nCode;
                e.pItem = nullptr;
                break;
            }
    ClearDatabase();
    SetDefaultFormats();
    SetDefaultPageLayouts();
    bool ok = LoadDatabaseFile(waitBox, nullptr);
    if (keepCode != LOC_NONE) {
        int at = FindItemIndex(keepTable, keepCode);
        if (at >= 0) {
            stIndex& e = m_aIndex[keepTable][at];
            CopyItem(keepTable, e.pItem, m_pProtectedItem, 0);
            DeleteItemPointer(keepTable, e.pItem);
            e.pItem = m_pProtectedItem;
        } else {
            m_aOrphans.push_back({keepTable, m_pProtectedItem});
        }
    }
    TellTableRefreshed(0xFF);
    return ok;
}

void CDatabase::TellTableRefreshed(uint8_t table)
{
    ++m_nRefreshCount;
    Ui().TableRefreshed(table);
    // Any item table may change what a grid shows (a lesson moved, a payment made).
    for (ui::Window* grid : {m_pScheduleGrid, m_pTeacherGrid, m_pRoomGrid})
        if (grid) {
            grid->PostMessage(ui::WM_USER + 5, 0, 0);
            break;
        }
}

void CDatabase::RefreshItemInPlace(uint8_t table, uint32_t code)
{
    if (!IsItemTable(table)) return;
    const stDataHeader* found = nullptr;
    for (const stDataHeader& h : GetHeaderArray())
        if (h.nTable == table && h.nKey == code && h.nSubTable == 0 && h.cStatus != DB_STATUS_DELETED &&
            h.cStatus != DB_STATUS_MARKDEL) {
            found = &h;
            break;
        }
    std::vector<stIndex>& index = m_aIndex[table];
    int at = FindItemIndex(table, code);
    if (found == nullptr) {
        if (at >= 0) {
            void* item = index[at].pItem;
            if (item == m_pProtectedItem) m_aOrphans.push_back({table, item});
            else DeleteItemPointer(table, item);
            index.erase(index.begin() + at);
            if (CRecordsByPerson* grouping = GetPersonGrouping(table)) grouping->Forget(code);
        }
        return;
    }
    const stDataHeader header = *found;
    void* fresh = GetNewItemPointer(table, nullptr);
    if (!ReadBufferFromFileIntoMemory(header, fresh, 0)) {
        DeleteItemPointer(table, fresh);
        m_aLoadMessages.push_back(Format("Error in reading %s, code %u, location %u.",
                                         GetTableNameText(table).c_str(), code, header.nCurrLoc));
        return;
    }
    if (at < 0) {
        AddItemToIndex(table, fresh, header.nCurrLoc, 0xFFFFFFFE);
        return;
    }
    stIndex& e = index[at];
    if (e.pItem == m_pProtectedItem) {
        CopyItem(table, fresh, e.pItem, 0);
        DeleteItemPointer(table, fresh);
    } else {
        DeleteItemPointer(table, e.pItem);
        e.pItem = fresh;
    }
    e.nFileLoc = header.nCurrLoc;
    VisitTableItem(table, e.pItem, [&](auto& r) { e.nSequence = static_cast<uint32_t>(r.m_nSequence); });
    if (CRecordsByPerson* grouping = GetPersonGrouping(table)) grouping->Note(index, static_cast<size_t>(at));
}

void CDatabase::RefreshTable(uint8_t table, uint32_t key)
{
    if (DiagnosticLevel > 1) WriteDiagnosticFormat("CDatabase::RefreshTable(%u, %u)\n", static_cast<unsigned>(table), key);
    m_aLoadMessages.clear();
    switch (table) {
    case 1: ReadConfigurationTable(); break;
    case 2: ReadVarRecord(); break;
    case 3:
        if (key == kKeyWhole) ReadFormatRecordTable();
        else ReadFormatRecord(key);
        break;
    case 4:
        if (key == kKeyWhole) ReadPageLayoutTable();
        else ReadPageLayoutRecord(key);
        break;
    default:
        if (!IsItemTable(table)) return;
        if (key == kKeyWhole) {
            uint32_t keepCode = LOC_NONE;
            if (m_pProtectedItem != nullptr && m_nProtectedTable == table)
                for (stIndex& e : m_aIndex[table])
                    if (e.pItem == m_pProtectedItem) {
                        keepCode = e.nCode;
                        e.pItem = nullptr;
                    }
            ClearTable(table);
            ReadTable(table, nullptr);
            if (keepCode != LOC_NONE) {
                int at = FindItemIndex(table, keepCode);
                if (at >= 0) {
                    stIndex& e = m_aIndex[table][at];
                    CopyItem(table, e.pItem, m_pProtectedItem, 0);
                    DeleteItemPointer(table, e.pItem);
                    e.pItem = m_pProtectedItem;
                } else {
                    m_aOrphans.push_back({table, m_pProtectedItem});
                }
            }
        } else if (key == kKeySequence) {
            ReadTableSequence(table, nullptr);
        } else {
            RefreshItemInPlace(table, key);
        }
        break;
    }
    TellTableRefreshed(table);
    if (!m_aLoadMessages.empty()) ShowReportLines("Refresh report", m_aLoadMessages);
}

void CDatabase::ReadTableSequence(uint8_t table, CDialogWaitBox* waitBox)
{
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CDatabase::ReadTableSequence %s\n", GetTableNameText(table).c_str());
    if (!IsItemTable(table)) return;
    std::vector<uint32_t> locs;
    for (const stDataHeader& h : GetHeaderArray())
        if (h.nTable == table && h.nSubTable == 0 && h.cStatus != DB_STATUS_DELETED && h.cStatus != DB_STATUS_MARKDEL)
            locs.push_back(h.nCurrLoc);
    if (waitBox) waitBox->SetTotal(static_cast<int>(locs.size()));
    std::vector<stIndex>& index = m_aIndex[table];
    for (size_t i = 0; i < locs.size(); ++i) {
        if (waitBox) waitBox->SetProgress(static_cast<int>(i + 1));
        stDataHeader h;
        if (!ReadDbHeader(locs[i], h, true) || h.nDataLen < 4) continue;
        int at = FindItemIndex(table, h.nKey);
        if (at < 0) continue;
        uint8_t raw[4];
        if (ReadDbBlock(locs[i] + DB_HEADER_LEN, raw, 4, true) != 4) continue;
        uint32_t sequence = raw[0] | (raw[1] << 8) | (raw[2] << 16) | (static_cast<uint32_t>(raw[3]) << 24);
        index[at].nSequence = sequence;
        VisitTableItem(table, index[at].pItem, [&](auto& r) { r.m_nSequence = static_cast<int32_t>(sequence); });
    }
    if (!index.empty()) SortBySecondWord(index, &stIndex::nSequence, waitBox);
    if (!IsSequenceContiguous(index, &stIndex::nSequence)) LockAndSaveSequence(table);
}

bool CDatabase::ReadConfigurationTable()
{
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CDatabase::ReadConfigurationTable, Timer=%s\n", GetTimerText().c_str());
    for (const stDataHeader& h : GetHeaderArray())
        if (h.nTable == 1 && h.nKey == 1 && h.nSubTable == 0 && h.cStatus != DB_STATUS_DELETED &&
            h.cStatus != DB_STATUS_MARKDEL)
            return ReadConfigurationRecord(h) != 0;
    return false;
}

// ---------------------------------------------------------------------------------------------
// Refresh suspension

void CDatabase::DisableRefreshOn(const std::string& caller)
{
    ++m_nDisableRefreshCount;
    m_bDisableDataRefresh = true;
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format("CDatabase::DisableRefreshOn %s, Timer=%s, count %u\n", caller.c_str(),
                                GetTimerText().c_str(), m_nDisableRefreshCount);
        WriteDiagnosticMsg();
    }
    Ui().ShowUsers(m_nUsersOnLine, false);
}

void CDatabase::DisableRefreshOff(const std::string& caller)
{
    if (m_nDisableRefreshCount > 0) --m_nDisableRefreshCount;
    if (DiagnosticLevel > 0) {
        DiagnosticText = Format("CDatabase::DisableRefreshOff %s, Timer=%s, count %u\n", caller.c_str(),
                                GetTimerText().c_str(), m_nDisableRefreshCount);
        WriteDiagnosticMsg();
    }
    if (m_nDisableRefreshCount > 0 || !m_bDatabaseOpen) return;
    m_bDisableDataRefresh = false;
    Ui().ShowUsers(m_nUsersOnLine, true);
    if (m_bRefreshPending || !m_aRefreshFlags.empty())
        LockAndRefreshDatabase("refresh database", 0, 0, 0, 1);
}
