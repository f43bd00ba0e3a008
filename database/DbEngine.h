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
#include <string>
#include <vector>

#include "common/RecordBuffer.h"
#include "database/DataHeader.h"
#include "database/LockSpec.h"
#include "database/RefreshFlag.h"
#include "platform/host/File.h"

class CDialogWaitBox;
class CLanServer;

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
    // Locks the whole file, flushes it, unlocks.
    void LockAndFlush(host::File& file);
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
    uint32_t WriteDbBlock(uint32_t loc, const void* buffer, uint32_t length, bool locked,
                          const char* caller = "WriteDbBlock");
    uint32_t SetFileCloseStatus(uint32_t status);
    // 0 failure, 1 opened and it had been closed properly, 2 opened but it had not.
    int OpenDB(const std::string& fileName, int initializeNew);
    void CloseDB();

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
    int IsDatabaseLocked(int mode);
    int IsTableLocked(uint32_t table, int mode);

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
    std::string GetUserName(uint32_t userCode) const;

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

protected:
    // Chooses the block as GetNextFree does; a new block at the end is not linked yet: its
    // predecessor's location is given back in `linkFrom` (LOC_NONE when nothing to link).
    // Blocks of the same item that are too small are given back in `outgrown` (still live).
    uint32_t ChooseBlock(uint32_t needed, stDataHeader& header, uint32_t& linkFrom,
                         std::vector<uint32_t>& outgrown);
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
    uint32_t m_nFormatVersion = DB_FORMAT_CURRENT;
    uint32_t m_nRecordLength = 0;
    uint8_t m_nUserAccessLevel = 0;
    std::vector<stDataHeader> m_aHeaders;
    std::vector<uint32_t> m_aWrittenLocs;
};
