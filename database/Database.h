#pragma once
// CDatabase: the open database in memory. One object is both the studio's tables (an index per
// item table, the settings records of tables 1-4, the user list of the users file) and, through
// CDbEngine, the file, lock and LAN engine of that database.
//
// Index invariants (TestTableSequence checks and repairs them): the array order is the display
// order and the entry at position i has sequence i; no two entries share a code. Each entry's
// record object is owned here, of the record class of its table (CCategory for 5, CPerson for 6,
// CPriceListItem 8, CPackageRecord 9, CPurchaseRecord 10, CPaymentRecord 11, CScheduleRecord 12),
// and is deleted when its entry is removed or the table is cleared.
//
// The implementation is split by subject: DatabaseTables.cpp (indexes, reading, saving,
// sequences, moves), DatabaseSettings.cpp (tables 1-4), DatabaseUsers.cpp (users file, log-on),
// DatabaseLookups.cpp (item lookups, categories, persons, tallies), DatabaseReferences.cpp (the
// table reference test and teacher activity records).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "database/DbEngine.h"
#include "database/Index.h"
#include "database/SettingsRecords.h"
#include "database/StudioStrings.h"
#include "database/TeacherActivityData.h"
#include "database/UserRegData.h"

#include "common/Category.h"
#include "common/MailList.h"
#include "common/PackageRecord.h"
#include "common/PaymentRecord.h"
#include "common/Person.h"
#include "common/PriceListItem.h"
#include "common/PurchaseRecord.h"
#include "common/ScheduleRecord.h"

namespace ui {
class ComboBox;
class ListBox;
}  // namespace ui

class CDialogWaitBox;

// Per-category tallies of the reports and statistics grids.
struct stCodeTotal {
    uint32_t nCode = 0xFFFFFFFF;
    uint32_t nCount = 0;
    double dAmount = 0.0;
};
struct stLetterCount {
    uint32_t nLetter = 0;  // the letter in the low byte
    uint32_t nCount = 0;
};

class CDatabase : public CDbEngine {
public:
    CDatabase();
    virtual ~CDatabase();

    // Table names by code (0 "Database" to 12 "Schedule table").
    std::string GetTableNameText(uint32_t table) const;
    const std::vector<std::string>& GetTransactionTypes() const { return m_aTransactionTypes; }
    // Lines that the sequence test and the table reference test append their findings to.
    std::vector<std::string> m_aTestReport;

    // ---- Tables, indexes and sequences ----
    void ClearTable(uint8_t table);
    int ReadTable(uint8_t table, CDialogWaitBox* waitBox);
    int LoadTableRecordFromBuffer(const stDataHeader& header, uint32_t insertAtCode, int repack);
    int ReadBufferFromFileIntoMemory(const stDataHeader& header, void* item, int repack);
    void AddIndex(uint8_t table, void* item, uint32_t code, uint32_t sequence, uint32_t fileLoc,
                  uint32_t insertAtCode, int insertPosition);
    void AddItemToIndex(uint8_t table, void* item, uint32_t fileLoc, uint32_t insertAtCode);
    // Re-reads one record after another user changed or deleted it.
    void RefreshItem(uint8_t table, uint32_t code);
    // The block's file location, or 0xFFFFFFFF.
    uint32_t SaveItem(uint8_t table, void* item, uint32_t* newCode);
    uint32_t SaveModifiedItemAfterLock(uint8_t table, uint32_t code, void* item, int position,
                                       int notify);
    void SetItemSequence(uint8_t table, uint32_t position, uint32_t sequence);
    void SaveTableSequence(uint8_t table, int notify, CDialogWaitBox* waitBox);
    void LockAndSaveSequence(uint8_t table);
    int TestTableSequence(uint8_t table, std::vector<stIndex>* index, int repair);
    void MoveItemsInTable(uint8_t table, uint32_t first, uint32_t last, uint32_t destination);
    void SortRecordsPerson();
    void GetPersonName(std::string& out, uint32_t code, int order, std::string* lastName = nullptr,
                       std::string* firstName = nullptr);
    CPerson* FindPersonByCheckInCode(const std::string& text);
    uint32_t MakeDefaultCategory(char type, const std::string& name, char parameter);
    void MakeBasicCategories();
    void InitializeDatabaseFile();
    void ClearDatabase();
    void CloseDatabaseFile();
    void ResetPageLayouts();
    std::string DescribeRecord(std::string& out, uint8_t table, const void* record,
                               const std::string& prefix);
    void FillPersonTypeCombo(ui::ComboBox* combo, char personType, uint32_t selectedCode);
    void FillTransactionTypeCombo(ui::ComboBox* combo, int selectedIndex);
    void FillEmployeeAndDepartmentCombos(uint32_t personCode, ui::ComboBox* employeeCombo,
                                         ui::ComboBox* categoryCombo);
    int FindAccountCategoryByName(const std::string& name);

    // ---- Studio settings records (tables 1-4) ----
    stParameters m_Parameters;
    // The Configuration table's lines as last read.
    std::vector<std::string> m_aConfigLines;
    // The application's studio strings (its own set until SetStudioStrings).
    void SetStudioStrings(stStudioStrings* strings) { m_pStudio = strings ? strings : &m_OwnStudio; }
    stStudioStrings& GetStudioStrings() { return *m_pStudio; }
    void SetDefaultSettings();
    int ValidateSettings(const stDataHeader& header);
    int ReadVarRecord();
    int SaveVarRecord();
    // The Configuration dialog's OK: writes the Parameters record.
    int SaveParameterRecord() { return SaveVarRecord(); }
    void SetDefaults();
    int SaveConfigurationTable();
    int ReadConfigurationRecord(const stDataHeader& header);
    // The configuration lines applied to the studio strings (split at the first "|"; a key
    // missing from the lines clears its value).
    void ApplyConfigurationLines(const std::vector<std::string>& lines);
    void SetDefaultFormats();
    void AddFormat(const std::string& name, int index, const std::string& face, int bold,
                   int centred, int size, const std::string& tabStops);
    int ReadFormatRecordTable();
    int ReadFormatRecord(uint32_t index);
    int RefreshFormatRecord(const stDataHeader& header);
    int WriteFormatRecord(const stFormatRecord& format);
    int SaveFormatRecordTable();
    int ResetFormats();
    void ClearFormat();
    void SetDefaultPageLayouts();
    int ReadPageLayoutTable();
    int ReadPageLayoutRecord(uint32_t index);
    int RefreshPageLayoutRecord(const stDataHeader& header);
    int SavePageLayoutTable(const stPageLayout& layout);
    void ClearPageLayouts();
    // Formats by index (null for an empty slot) and their names.
    stFormatRecord* GetFormat(uint32_t index) const;
    uint32_t GetFormatCount() const { return static_cast<uint32_t>(m_aFormats.size()); }
    const std::vector<std::string>& GetFormatNames() const { return m_aFormatNames; }
    // The shared rich-text report format (format 1), null while the formats are freed.
    stFormatRecord* m_pRtfFormat = nullptr;
    std::vector<stPageLayout> m_aPageLayouts;

    // ---- Users file and log-on ----
    int TestRegistration(const std::string& databaseName, int newSetup);
    int LoadRegistration(const std::string& databaseName, int newSetup);
    void SaveRegistration(const std::string& databaseName);
    int SwitchUsers();
    void EditUserList();
    int AddUser(int firstUser);
    void EditUser(int position);
    void DeleteUser(uint8_t userCode);
    int CheckDuplicateUser(uint8_t userCode, const std::string& userID, const std::string& password);
    // Whether the user is on line, and on which computer.
    bool GetUserOnlineState(uint8_t userCode, std::string* computer = nullptr);
    void FillUserOnlineList(ui::ListBox* list);
    void StopLan();
    // The registered user's name, "User code %u" when unknown.
    std::string GetUserName(uint32_t userCode) const override;
    uint32_t UserCodeOfKey(uint32_t key) const;
    void RebuildUserLists();
    uint8_t GetNextUserCode() const;
    int FindUserIndex(uint8_t userCode) const;
    // The current (logged-on) user of this copy.
    static uint8_t GetCurrentUser() { return GetCurrentUserCode(); }
    void SetCurrentUser(uint8_t code, uint8_t level);
    // The database's name: its path without extension ("" when none).
    const std::string& GetDatabaseName() const { return m_sDatabaseName; }
    void SetDatabaseName(const std::string& name) { m_sDatabaseName = name; }
    std::vector<stUserRegData> m_aUsers;
    std::vector<uint8_t> m_aUserCodes;
    std::vector<std::string> m_aUserIDs;
    std::vector<std::string> m_aUserPasswords;
    // Stand-ins for the LAN link's answers where no link runs: who is on line elsewhere
    // (computer name out) and where a log message goes. Unset, the LAN link answers.
    std::function<bool(uint8_t userCode, std::string& computer)> m_fnLanUserOnline;
    std::function<void(const std::string& keyword)> m_fnLanSendLog;
    bool HasLanLink() const { return m_pLanServer != nullptr; }
    // Restarts the LAN link for the open database; false when it could not start.
    bool RestartLan();
    // The computer list file beside the program.
    std::string m_sComputerListFile = "Dorvalquintex.usr";
    // This computer's name as the user list shows it.
    std::string GetThisComputerLabel() const;

    // ---- Item lookups and lists ----
    std::vector<stIndex>* GetItemList(uint8_t table);
    const std::vector<stIndex>* GetItemList(uint8_t table) const;
    int FindItemIndex(uint8_t table, uint32_t code) const;
    void* GetItem(uint8_t table, uint32_t code) const;
    uint32_t GetItemCode(uint8_t table, int position) const;
    void* GetNewItemPointer(uint8_t table, const uint8_t* templ);
    void DeleteItemPointer(uint8_t table, void* item);
    void CopyItem(uint8_t table, const void* source, void* target, int isNew);
    char GetCategoryType(uint32_t code) const;
    uint32_t CheckCategoryCode(uint32_t code) const;
    std::string GetCategoryName(uint32_t code) const;
    std::string GetCategoryTypeName(const CCategory* category) const;
    void CollectCategoriesByType(char letter, std::vector<CCategory*>& list) const;
    void FillCategoryComboBox(ui::ComboBox* combo, char letter, uint32_t selected, int withNone,
                              int param0, uint32_t excluded);
    void CollectPersonsByType(char letter, std::vector<CPerson*>& list, int withInactive) const;
    bool IsEmployeeLinked(uint32_t value) const;
    uint32_t GetPersonTeacher(uint32_t code) const;
    uint32_t GetPersonField28(uint32_t code) const;
    uint32_t GetPersonField29(uint32_t code) const;
    char GetPersonField5(uint32_t code) const;
    int32_t SelectPerson(char letter, char second, int withNone, int withNew);
    int ReadMailList(CMailList& mailList, uint32_t code);
    bool IsSamePurchase(const CPurchaseRecord& a, const CPurchaseRecord& b) const;
    void PrepareCategoryTotals(int mode, std::vector<stCodeTotal>& list) const;
    void PrepareBasicItemTotals(std::vector<stCodeTotal>& list) const;

    // ---- Table reference test, teacher activity records ----
    int TestTableReferences(std::vector<std::string>& report, int repair, int countOnly);
    void BuildTeacherActivityRecords(std::vector<stTeacherActivityData>& list, char kind);
    void AddPurchaseToTeacher(uint32_t teacherCode, const CPurchaseRecord& purchase, double divisor,
                              std::vector<stTeacherActivityData>& list);
    void FreeTeacherActivityItems(std::vector<stTeacherActivityData>& list);

    // ---- Seams into the lock manager and the change notices ----
    // Takes the database lock for `purpose` (the lone copy's path: granted unless another user
    // holds it). False when not granted.
    bool LockDatabaseFor(const std::string& purpose, uint8_t table);
    void UnlockDatabaseAfter();
    // True when a record of the table is locked by another user.
    bool IsAnyRecordLockedInTableByOther(uint8_t table);
    // The data-modified notice of a save, delete or move (table, key, header location).
    void NotifyDataModified(uint8_t table, uint32_t key, uint32_t loc);

private:
    static bool IsIndexedTable(uint8_t table);
    // Writes a sequence number into the first field of a record's block and renews the block's
    // data check, so that the record still reads as whole.
    bool WriteSequenceToBlock(uint32_t loc, uint32_t sequence);
    int WriteSettingsRecord(uint32_t length, uint32_t table, uint32_t key);

    std::vector<std::string> m_aTableNames;
    std::vector<std::string> m_aTransactionTypes;
    std::vector<stIndex> m_aIndex[DB_NUM_TABLES + 1];
    std::vector<std::unique_ptr<stFormatRecord>> m_aFormats;
    std::vector<std::string> m_aFormatNames;
    stStudioStrings m_OwnStudio;
    stStudioStrings* m_pStudio = &m_OwnStudio;
    std::string m_sDatabaseName;
};

// Tallies shared by the report grids.
void AddToCodeTotal(uint32_t code, uint32_t count, double amount, std::vector<stCodeTotal>& list);
void CountByLetter(uint32_t letter, std::vector<stLetterCount>& list);

// Calls f with the record object of an item table (5, 6, 8-12) as its own class; false for any
// other table or a null item.
template <class F>
bool VisitTableItem(uint8_t table, void* item, F&& f)
{
    if (item == nullptr) return false;
    switch (table) {
    case TABLE_CATEGORY: f(*static_cast<CCategory*>(item)); return true;
    case TABLE_PERSON: f(*static_cast<CPerson*>(item)); return true;
    case TABLE_PRICELIST: f(*static_cast<CPriceListItem*>(item)); return true;
    case TABLE_PACKAGE: f(*static_cast<CPackageRecord*>(item)); return true;
    case TABLE_PURCHASE: f(*static_cast<CPurchaseRecord*>(item)); return true;
    case TABLE_PAYMENT: f(*static_cast<CPaymentRecord*>(item)); return true;
    case TABLE_SCHEDULE: f(*static_cast<CScheduleRecord*>(item)); return true;
    default: return false;
    }
}
