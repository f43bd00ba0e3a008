#pragma once
// CDbEngine: the open `.dbs` file of one running copy. Its file half: the file primitives, block
// transfers under byte-range locks when other copies share the file, opening and closing, the
// in-memory header array and the record store over it, and the header searches, list test and
// repair. Its lock and LAN half (lock manager, messages) lives in further DbEngine*.cpp files.
//
// Invariants: the header array is in ascending file location, which is also link order; every
// header written through WriteDbHeader is mirrored in it. While the file is open the engine
// holds a shared lock on the presence range at 2^32, so every copy can tell from the file
// whether it is alone.

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "records/RecordBuffer.h"
#include "database/DataHeader.h"
#include "database/LanServer.h"
#include "database/LogicalLock.h"
#include "database/RefreshFlag.h"
#include "platform/host/File.h"

class CDialogWaitBox;
class CLanServer;
namespace ui {
class Window;
}

// A LAN message as parsed: sender, type letter, user code, kind and value (the sequence field
// is not kept).
struct stLanMessage {
    std::string sSender;
    char cType = 0;
    uint8_t nUserCode = 0;
    uint8_t nKind = 0;
    uint32_t nValue = 0xFFFFFFFF;
};

// Lock kinds besides the table codes.
constexpr uint8_t LOCK_KIND_DATABASE = 255;
constexpr uint8_t LOCK_KIND_HEADER = 254;
constexpr uint32_t LOCK_VALUE_WHOLE = 0xFFFFFFFF;
constexpr uint32_t LOCK_VALUE_SEQUENCE = 0xFFFFFFFE;

class CDbEngine : public IRecordStore {
public:
    CDbEngine();
    virtual ~CDbEngine();
    CDbEngine(const CDbEngine&) = delete;
    CDbEngine& operator=(const CDbEngine&) = delete;

    // --- File primitives; each takes any file (the users file too). ---
    // Opens for reading and writing, creating when missing (owner and group only).
    static bool OpenSharedFile(const std::string& fileName, host::File& file);
    // Bytes read when all `length` bytes were read (up to 500 attempts), else 0.
    uint32_t ReadFileBlockNoLock(host::File& file, uint32_t loc, void* buffer, uint32_t length);
    uint32_t ReadFileBlockNoTest(host::File& file, uint32_t loc, void* buffer, uint32_t length);
    uint32_t WriteFileBlockUnflushed(host::File& file, uint32_t loc, const void* buffer,
                                     uint32_t length);
    // Locks the whole file, flushes it, unlocks. The database's own file only when a write of
    // this copy is still unflushed.
    void LockAndFlush(host::File& file);
    // Flushes the database's file.
    bool FlushDbFile();
    // The file's size, or 0xFFFFFFFF.
    uint32_t GetFileSize(host::File& file);
    // 1 when the bytes at the location equal the expected ones.
    int TestFileBlockWrite(host::File& file, uint32_t loc, const void* expected, uint32_t length,
                           CDialogWaitBox* waitBox);

    // --- Byte-range locked transfers. ---
    void DoAccessFileBlock(char mode, host::File& file, uint32_t loc, void* buffer, uint32_t size,
                           bool& locked, bool& accessed, bool& unlocked, uint32_t& transferred);
    uint32_t LockedAccessFileBlock(char mode, host::File& file, uint32_t loc, void* buffer,
                                   uint32_t size, const char* caller);
    // The first n bytes of m_cBuffer, printable ones as they are, others as "[%i]".
    std::string FormatBytesForTrace(uint32_t n) const;

    // --- Blocks of the open database. ---
    uint32_t ReadDbBlock(uint32_t loc, void* buffer, uint32_t length, bool locked);
    // Reading the whole file in order (the load): between Begin and End, while this copy is the
    // only one on the file, ReadDbBlock serves the records from large reads of the file instead
    // of one transfer each. Only for a caller that holds the database lock, so that no other copy
    // writes records meanwhile, or that reads again from the file what it is about to write back;
    // any write of this copy drops what was read. Scopes nest.
    void BeginReadAhead();
    void EndReadAhead();
    class ReadAheadScope {
    public:
        explicit ReadAheadScope(CDbEngine& engine) : m_engine(engine) { m_engine.BeginReadAhead(); }
        ~ReadAheadScope() { m_engine.EndReadAhead(); }
        ReadAheadScope(const ReadAheadScope&) = delete;
        ReadAheadScope& operator=(const ReadAheadScope&) = delete;

    private:
        CDbEngine& m_engine;
    };
    uint32_t WriteDbBlock(uint32_t loc, const void* buffer, uint32_t length, bool locked,
                          const char* caller = "WriteDbBlock");
    uint32_t SetFileCloseStatus(uint32_t status);
    // 0 failure, 1 opened and it had been closed properly, 2 opened but it had not.
    int OpenDB(const std::string& fileName, int initializeNew);
    void CloseDB();
    // Whether the file at the database's path is no longer the one open (same device and
    // inode): compaction, a rebuild or a restore put another in its place.
    bool IsFileReplaced() const;
    // Switches to the file now at the database's path, keeping the lock and LAN state; the
    // header array is rebuilt. False (the old file stays open) when it cannot be opened.
    bool ReopenFile();

    // --- Headers. ---
    uint32_t WriteDbHeader(uint32_t loc, stDataHeader& header, bool locked);
    // Reads one header; false when it could not be read whole.
    bool ReadDbHeader(uint32_t loc, stDataHeader& header, bool locked);
    char ReadHeaderStatus(uint32_t loc, uint8_t& table, uint32_t& key);
    uint32_t MakeFileHeaderArray(CDialogWaitBox* waitBox, std::string* message);
    int UpdateHeader(uint32_t loc, std::vector<stRefreshFlag>& refreshFlags);
    int CheckNextLocation(uint32_t fileSize, uint32_t loc, stDataHeader& header,
                          const char* caller);
    static std::string FormatHeader(const stDataHeader& header);

    // --- Records. ---
    // Data bytes read into m_cBuffer, or 0 (also for a record whose data does not match its
    // header: a damaged record).
    uint32_t ReadRecord(uint32_t loc, bool locked, uint32_t* key = nullptr,
                        uint32_t* subkey = nullptr, uint8_t* subtable = nullptr);
    // The item's own live record (subtable 0).
    uint32_t ReadRecord(uint32_t table, uint32_t key);
    uint32_t WriteRecord(uint32_t length, uint32_t table, uint32_t key, uint32_t subtable,
                         uint32_t subkey) override;
    int DeleteRecord(uint32_t loc, int mode, bool locked);
    uint32_t GetItemLoc(uint32_t table, uint32_t key, uint32_t subtable, int includeMarkDeleted);
    uint32_t GetNextFree(uint32_t needed, stDataHeader& header);
    uint32_t GetNextKey(uint32_t table);
    void GetDeletedLocsFromFile(std::vector<uint32_t>& locs, uint32_t table);
    // True when the copy was written whole.
    bool MakeDBCopy(const std::string& targetName, uint32_t excludedTable);

    // IRecordStore.
    uint8_t* GetRecordBuffer() override { return m_cBuffer; }
    uint32_t GetRecordLength() const override { return m_nRecordLength; }

    // --- Record stamps and single values. ---
    int SetRecordLock(uint32_t loc);
    int ClearRecordLock(uint32_t loc);
    int SetRecordStatus(uint32_t loc, char status, bool locked = true);
    uint8_t ReadByteAt(uint32_t loc);
    uint32_t WriteByteAt(uint32_t loc, uint8_t value);
    uint32_t ReadDwordAt(uint32_t loc);
    uint32_t WriteDwordAt(uint32_t loc, uint32_t value);
    // Clears every '*' stamp and the lock bytes; false when the chain was broken (and repaired).
    bool UnlockAllRecords();
    int IsRecordLocked(int mode, uint32_t loc);
    // The record's lock state by table and key (mode as IsRecordLocked); a record that is not
    // in the file is reported and counts as locked.
    int TestRecordLockByKey(uint32_t table, uint32_t key, int mode);
    int IsDatabaseLocked(int mode);
    int IsTableLocked(uint32_t table, int mode);
    bool IsAnyTableLocked(int mode);

    // --- Header search, test and repair. ---
    void FindAllHeaders(std::vector<uint32_t>& locs, CDialogWaitBox* waitBox);
    void FindHeadersByBackwardLink(std::vector<uint32_t>& locs, CDialogWaitBox* waitBox,
                                   uint32_t start);
    void FindHeadersFromDelimiters(std::vector<uint32_t>& locs, CDialogWaitBox* waitBox,
                                   int mode);
    void FindUsableHeaders(std::vector<uint32_t>& locs, CDialogWaitBox* waitBox);
    // The eight flags of a validation, in the order status, user, table, data fits, current
    // location, previous, next, block size.
    struct stHeaderChecks {
        bool bStatus = false;
        bool bUser = false;
        bool bTable = false;
        bool bDataFits = false;
        bool bCurrLoc = false;
        bool bPrev = false;
        bool bNext = false;
        bool bBlockSize = false;
    };
    int ValidateHeader(uint32_t loc, uint32_t expectedPrev, uint32_t expectedNext,
                       const stDataHeader& header, stHeaderChecks& checks);
    void AnalyzeHeaderSearches(std::vector<std::string>& report);
    int TestAndRepairHeaders(char method, int repair, std::vector<std::string>& report,
                             int* rewritten = nullptr);
    std::string GetBlockDescription(uint32_t loc);
    // Locates headers by 'F', 'B', 'D' (validated) or 'a'.
    void LocateHeaders(char method, std::vector<uint32_t>& locs, CDialogWaitBox* waitBox);

    // --- Names. ---
    static std::string GetTableName(uint32_t table);
    virtual std::string GetUserName(uint32_t userCode) const;

    // --- Logical locks and the lock manager (DbEngineLocks.cpp). ---
    // The record's header location, or 0xFFFFFFFF when it is not locked.
    uint32_t LockRecord(uint32_t table, uint32_t key);
    bool LockTable(uint32_t table);
    // True when the database lock byte was written. A table of 0 tests nothing beyond the
    // database byte; above 254 every table.
    bool LockDatabase(const std::string& purpose, uint32_t table = 0, bool testRecords = false,
                      const std::vector<uint32_t>* tableList = nullptr);
    bool UnlockRecord(uint32_t loc);
    bool UnlockTable(uint32_t table);
    bool UnlockDatabase();
    // The first record header locked in the mode (1 anybody, 2 another user); 1 found.
    int IsAnyRecordLocked(int mode, uint32_t& loc);
    int IsAnyRecordLockedInTable(int mode, uint32_t table, uint32_t& loc);
    // lockType 'D', 'T' or 'R'; true when the caller may write its stamp.
    bool WaitForLockPermission(char lockType, const std::string& purpose, uint32_t table,
                               uint32_t value, bool quiet, bool testRecords,
                               const std::vector<uint32_t>* tableList);
    bool DetermineLockMngr(const std::string& serverComputer);
    void ProcessUserLockRequest(const stLockSpec& request);
    void ProcessUserUnlockNotice(const stLockSpec& notice);
    // Drops every grant and queued request of a computer (logged off, unreachable) and grants
    // what its grants held to the next in the queue.
    void DropLocksOfComputer(const std::string& computer);
    bool IsDatabaseLockRequestOK();
    void RequestLockPermission(uint8_t kind, uint32_t value);
    void SendUnlockNotice(uint8_t kind, uint32_t value);
    // The record's header location from the item's key (the file's header array here).
    virtual uint32_t FindRecordLoc(uint32_t table, uint32_t key);
    // Writes own user code to a lock byte in one step with testing it: 1 written, 0 held by
    // another user, -1 the file could not be read or written.
    int TestAndSetLockByte(uint32_t loc);
    // The same for a record header's '*' stamp.
    int TestAndSetRecordLock(uint32_t loc);
    // Takes (again) / gives up this copy's companion hold of the stamp at `loc`. A stamp is
    // written only while its companion is held: one without would be taken for a gone copy's.
    bool HoldStampCompanion(uint32_t loc);
    void ReleaseStampCompanion(uint32_t loc);
    // Clears this user's lock byte at `loc` and gives up its companion under the byte's range,
    // so that no copy testing the byte meanwhile finds it free with the companion still held.
    // False when the byte is another user's or could not be read or written.
    bool ClearOwnLockByte(uint32_t loc);
    // Clears the stamp at `loc` (a lock byte, or a record header when `header`) when it names
    // another user whose copy no longer holds its companion byte. True when it was cleared.
    bool ClearStampOfGoneHolder(uint32_t loc, bool header);

    // --- Messages between running copies (DbEngineMessages.cpp). ---
    std::string FormatLanMessage(char type, uint8_t kind, uint32_t value);
    static stLanMessage ParseLanMessage(const std::string& text);
    static std::string DescribeLanMessage(const std::string& text);
    int SendAnotherUserMessage(const std::string& computer, char type, uint8_t kind, uint32_t value);
    void SendThisUserMessage(char type, uint8_t kind, uint32_t value);
    void SendOnLineUsersMessage(char type, uint8_t kind, uint32_t value);
    void SendDataModifiedNotices(uint32_t table, uint32_t key, uint32_t loc);
    // Processes the incoming-message list; the main window runs it for its message 0x404 with
    // first parameter 1.
    void OnMessage();
    // Starts the LAN link for the database at `path`; false to abort opening it.
    bool InitializeLan(const std::string& path);
    bool IsDuplicateUser();
    void UpdateOnLineState();
    void OnServerOffLine();
    // Users on line = other computers on line + 1.
    virtual uint32_t UpdateUserCount();
    // Logs off and ends the LAN link (the database is closing).
    void StopLanServer();
    // Sends "%s:%i:%s" with own name, user code and the keyword to every computer on line.
    void SendLogMessage(const std::string& keyword);
    // Whether a computer on line has the user logged on, and which.
    bool IsUserOnLan(uint8_t userCode, std::string& computer) const;
    // The computer list as lines "%s on-line" / "%s off-line".
    std::vector<std::string> GetLanComputerLines() const;
    // Applies the refresh flags under the database lock; the tables side does the work.
    virtual bool LockAndRefreshDatabase(const std::string& purpose, uint32_t table, int testRecords,
                                        int quiet, int refreshOnly);
    // The window that receives message 0x404 (the main frame; a hidden window headless).
    void SetMessageWindow(ui::Window* window) { m_pMessageWindow = window; }
    ui::Window* GetMessageWindow() const { return m_pMessageWindow; }
    const std::string& GetComputerName() const { return m_sComputerName; }
    const std::string& GetLockMngrName() const { return m_sLockMngrName; }
    bool IsLockMngrOnLine() const { return m_bLockMngrOnLine; }
    const std::string& GetServerComputer() const { return m_sServerComputer; }
    CLanMessageList& GetIncomingMessages() { return m_IncomingMessages; }

    // --- State. ---
    bool IsOpen() const { return m_bOpen; }
    bool IsNewFile() const { return m_bNewFile; }
    uint32_t GetFormatVersion() const { return m_nFormatVersion; }
    const std::string& GetFileName() const { return m_sFileName; }
    host::File& GetFile() { return m_File; }
    const std::vector<stDataHeader>& GetHeaderArray() const { return m_aHeaders; }
    std::vector<uint32_t>& GetWrittenLocs() { return m_aWrittenLocs; }
    // True when no other copy has the file open: the network counts none and nobody else
    // holds the presence range. Only then may a copy skip byte-range locks, clear other
    // desks' lock bytes, or mark the file closed cleanly.
    bool IsOnlyUserOnFile();
    // The logged-on user's code and access level.
    static uint8_t GetCurrentUserCode();
    uint8_t GetUserAccessLevel() const { return m_nUserAccessLevel; }
    void SetUserAccessLevel(uint8_t level) { m_nUserAccessLevel = level; }
    // The two data-changed flags: set by every write of a record.
    bool m_bDatabaseChanged = false;
    bool m_bDataChangedForTimer = false;
    // Seconds spent in MakeFileHeaderArray (0), GetNextFree (1) and WriteRecord (2).
    double m_dTiming[3] = {0, 0, 0};

    // Test hook: called with the step name at each step of WriteRecord ("block chosen",
    // "data written", "header written", "linked", "old block freed").
    static std::function<void(const char*)> s_SaveStepHook;

    // The presence range every copy holds shared while the file is open.
    static constexpr uint64_t kPresenceLockOffset = 1ull << 32;
    static constexpr uint64_t kPresenceLockLength = 1;
    // Beside each lock stamp (a lock byte, a record header's '*') the copy that set it holds
    // one byte exclusively at this offset plus the stamp's location. The kernel drops that
    // hold when the process dies, so a stamp of another user whose companion byte is free
    // was left by a copy that is gone, and may be cleared. The file's bytes do not change.
    static constexpr uint64_t kStampCompanionOffset = kPresenceLockOffset + 1;

protected:
    // Chooses the block as GetNextFree does; a new block at the end is not linked yet: its
    // predecessor's location is given back in `linkFrom` (LOC_NONE when nothing to link).
    // Blocks of the same item that are too small are given back in `outgrown` (still live).
    uint32_t ChooseBlock(uint32_t needed, stDataHeader& header, uint32_t& linkFrom,
                         std::vector<uint32_t>& outgrown);
    // ChooseBlock's three outcomes: a block of the item itself (true when large enough, else
    // given back as outgrown), the free block at `index`, a new block at `next` behind `last`.
    bool TakeOwnBlock(const stDataHeader& e, uint32_t needed, stDataHeader& header, std::vector<uint32_t>& outgrown);
    uint32_t TakeFreeBlock(const stDataHeader& last, size_t index, stDataHeader& header);
    uint32_t NewBlockBehind(const stDataHeader& last, uint64_t next, uint32_t needed, stDataHeader& header,
                            uint32_t& linkFrom);
    // ChooseBlock checked against the file: another desk's write whose notice has not arrived
    // yet is taken into the header array (and the refresh flags) and the choice made again.
    uint32_t ChooseCurrentBlock(uint32_t needed, stDataHeader& header, uint32_t& linkFrom,
                                std::vector<uint32_t>& outgrown);
    // True when the file still holds at `loc` what the choice took from the header array.
    bool IsChoiceCurrent(uint32_t loc, const stDataHeader& chosen, uint32_t linkFrom);
    // Reads the headers the file holds from `loc` on to the end of the chain into the array.
    void CatchUpFrom(uint32_t loc);
    // Links the block written at `loc` behind the header at `linkFrom`.
    bool LinkNewBlock(uint32_t linkFrom, uint32_t loc);
    bool UseRangeLocks();
    void SetDataChangedFlags();
    static void SaveStep(const char* step);
    void ShowMessage(const std::string& text);
    // Wait-box helpers; each does nothing without a box.
    static void WaitSetMessage(CDialogWaitBox* box, const std::string& text);
    static void WaitSetTotal(CDialogWaitBox* box, double total);
    static void WaitSetProgress(CDialogWaitBox* box, double done);
    // Processes pending messages; true when the user cancelled.
    static bool WaitPump(CDialogWaitBox* box);
    static bool WaitCancelled(CDialogWaitBox* box);
    // Ends the program's message loop (exit code 0).
    static void PostQuit();
    // Gives the processor away briefly between tries of a wait loop.
    static void PauseBetweenTries();
    int FindHeaderIndex(uint32_t loc) const;
    // Replaces or inserts the header in the array by its location; gives the text of the trace.
    void PutHeaderInArray(const stDataHeader& header);

    // The lookup index over the header array: live, locked and mark-deleted blocks by table,
    // key and subtable; free blocks by size; the count of links that do not lead to the next
    // entry. Kept in step by the array's own writers; any other change of the array's size
    // makes it rebuild on its next use.
    void InvalidateHeaderIndex();
    // Replaces the entry at `index` (same location) keeping the lookup index in step.
    void SetHeaderAt(size_t index, const stDataHeader& header);
    // Inserts at `index` (the array's size appends) keeping the lookup index in step.
    void InsertHeaderAt(size_t index, const stDataHeader& header);
    // True when the lookup index serves the searches: every link of the array leads to the next
    // entry and the file reaches the last one, so a walk would neither stop early nor repair.
    bool HeaderIndexServes(uint32_t fileSize);
    void RebuildHeaderIndex();
    // Adds or removes the entry at `index` in the key and free-block maps.
    void IndexHeaderEntry(size_t index, bool add);
    // 1 when the link of the entry at `index` does not lead to the entry after it.
    size_t LinkBrokenAt(size_t index) const;

public:
    // Record buffer, 65536 bytes, zeroed at construction.
    uint8_t* m_cBuffer = nullptr;
    uint32_t m_nHeaderLen = DB_HEADER_LEN;

    // Users on line: 1 + other copies the LAN link counts.
    uint32_t m_nUsersOnLine = 1;
    // Other copies the network reports on line; set by the LAN side.
    uint32_t m_nOtherUsersOnLan = 0;
    CLanServer* m_pLanServer = nullptr;

    // Lock state (lock manager side).
    std::vector<stLockSpec> m_aGrantedLocks;
    std::vector<stLockSpec> m_aLockRequestQueue;
    std::vector<stLockSpec> m_aLockResponses;
    bool m_bWaitingForLock = false;
    // The wait box of the lock wait in progress (null otherwise).
    CDialogWaitBox* m_pLockWaitBox = nullptr;
    // Refresh flags from data-modified notices, applied by LockAndRefreshDatabase.
    std::vector<stRefreshFlag> m_aRefreshFlags;
    bool m_bIsRefreshInProcess = false;
    // Guarded block transfers waiting for a range another copy holds; messages pumped meanwhile
    // start no refresh (it would read and lock the file in the middle of that transfer).
    int m_nAccessWaitDepth = 0;
    // Set when Windows-style network start-up is to be skipped (no LAN link at all).
    bool m_bNetworkDisabled = false;
    // Refresh suspension (count of DisableRefreshOn without its Off).
    uint32_t m_nDisableRefreshCount = 0;
    bool m_bDisableDataRefresh = true;
    // Per-open counters of the locking side.
    uint32_t m_nLockedAccessWaits = 0;
    uint32_t m_nLockRequests = 0;
    uint32_t m_nUnlockNotices = 0;

protected:
    host::File m_File;
    std::string m_sFileName;
    bool m_bOpen = false;
    bool m_bNewFile = false;
    bool m_bHoldsPresence = false;
    // Whether the last ReadByteAt failed (the lock tests count that as locked).
    bool m_bLastByteReadFailed = false;
    // Set while a closing copy holds the presence range exclusively (it is alone).
    bool m_bPresenceExclusive = false;
    // A write to the database's file has not been flushed yet.
    bool m_bUnflushed = false;
    // What BeginReadAhead's scope has read: the bytes from m_nReadAheadLoc on.
    int m_nReadAheadDepth = 0;
    uint32_t m_nReadAheadLoc = 0;
    std::vector<uint8_t> m_aReadAhead;
    // Copies the block out of the read-ahead bytes, reading the next stretch of the file when it
    // lies past them; false when it cannot (not alone, or the read failed).
    bool ReadFromReadAhead(uint32_t loc, void* buffer, uint32_t length);
    uint32_t m_nFormatVersion = DB_FORMAT_CURRENT;
    uint32_t m_nRecordLength = 0;
    uint8_t m_nUserAccessLevel = 0;
    std::vector<stDataHeader> m_aHeaders;
    std::vector<uint32_t> m_aWrittenLocs;
    // The lookup index over m_aHeaders (see HeaderIndexServes).
    bool m_bHeaderIndexValid = false;
    size_t m_nIndexedHeaders = 0;
    size_t m_nBrokenLinks = 0;
    // (table << 40 | key << 8 | subtable) -> locations, ascending, of blocks not freed.
    std::map<uint64_t, std::vector<uint32_t>> m_HeaderKeys;
    // (block length, location) of freed blocks.
    std::set<std::pair<uint32_t, uint32_t>> m_FreeBlocks;

    // LAN and lock state.
    std::string m_sComputerName;
    std::string m_sLockMngrName;
    bool m_bLockMngrOnLine = false;
    std::string m_sServerComputer;
    uint32_t m_nMessageSequence = 0;
    ui::Window* m_pMessageWindow = nullptr;
    CLanMessageList m_IncomingMessages;
    // The lock being waited for (valid while m_bWaitingForLock).
    uint8_t m_nWaitKind = 0;
    uint32_t m_nWaitValue = 0;
    // Permissions this copy holds from the manager, and ones whose wait it gave up.
    std::vector<stLockSpec> m_aHeldPermissions;

private:
    // Pumps messages (through the box when there is one) and processes lines that no window
    // will deliver; true when the user aborted.
    bool PumpLockWait(CDialogWaitBox* box);
    // First lock held by another user for the wait, as the wait box's text ("" when none).
    std::string FindBlockingLock(char lockType, const std::string& purpose, uint32_t table,
                                 uint32_t value, bool testRecords,
                                 const std::vector<uint32_t>* tableList, bool consultGranted);
    void RecountLanUsers();
    bool HasGrant(uint8_t kind, uint32_t value) const;
    void ForgetHeldPermission(uint8_t kind, uint32_t value);
    // Grants the first queued request for the lock, if any (the manager's side).
    void ResubmitFirstQueued(uint8_t kind, uint32_t value);
};
