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
// table reference test and teacher activity records), DatabaseTallies.cpp (report tallies, the
// payment date list, account settings of a category). The studio computations on the tables
// (schedule entries and texts, grid tables, payment lines, statistics) are in studio/.

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "common/DateTime.h"
#include "common/QuestionBox.h"
#include "database/DatabaseUi.h"
#include "database/DbEngine.h"
#include "database/Index.h"
#include "database/RecordsByPerson.h"
#include "database/SettingsRecords.h"
#include "database/StudioStrings.h"
#include "database/TeacherActivityData.h"
#include "database/UserRegData.h"

#include "records/Category.h"
#include "records/MailList.h"
#include "records/PackageRecord.h"
#include "records/PaymentRecord.h"
#include "records/Person.h"
#include "records/PriceListItem.h"
#include "records/PurchaseRecord.h"
#include "records/ScheduleRecord.h"
#include "records/TextArray2D.h"

#include "studio/ContractImportData.h"
#include "studio/DataToken.h"
#include "studio/PaymentData.h"
#include "studio/ProgramStatisticsData.h"

namespace ui {
class ComboBox;
class ListBox;
class Window;
}  // namespace ui

class CCreditLedger;
class CDialogWaitBox;


// One person's latest activity: the person, what happened, and when.
struct stActivityLine {
    uint32_t nPerson = 0xFFFFFFFF;
    std::string sText;
    DATE dDate = 0.0;
};
// Keeps the latest line per person: a person's line is replaced only by a strictly later one.
void KeepLatestActivity(const stActivityLine& line, std::vector<stActivityLine>& summary);
// The same with each person's place in the summary kept in `places`, for long summaries.
void KeepLatestActivity(const stActivityLine& line, std::vector<stActivityLine>& summary,
                        std::unordered_map<uint32_t, size_t>& places);

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
// Tally codes beside the category codes: no category (or one that no longer exists), and a
// purchase of several items.
constexpr uint32_t TALLY_OTHER = 0xFFFFFFFE;
constexpr uint32_t TALLY_SEVERAL = 0xFFFFFFFD;
struct stContractTotal {
    uint32_t nCode = 0xFFFFFFFF;
    uint32_t nVisits = 0;
    uint32_t nContracts = 0;
    double dTotal = 0.0;
    double dRefunds = 0.0;  // scheduled payments of kind 'F'
};
struct stSourceTotal {
    uint32_t nCode = 0xFFFFFFFF;
    uint32_t nPhoneInterviews = 0;
    uint32_t nVisits = 0;
    uint32_t nNewPersons = 0;
    double dAmount = 0.0;
};
// One period of a tally summed with others in one pass over the tables: from <= date < to, its
// rows and its second rows.
template <class Total>
struct stTallyPeriod {
    DATE from = 0.0;
    DATE to = 0.0;
    std::vector<Total>* list = nullptr;
    std::vector<Total>* second = nullptr;
};
// Activity totals are stActivityCount rows: counts and units enrolled ('E'), taken ('U') and
// cancelled ('C') per category code.

class CDatabase : public CDbEngine, public IRefreshHold, public ICategoryNames {
    friend class CCreditLedger;

public:
    CDatabase();
    virtual ~CDatabase();

    // Where this database asks the user and tells the windows (the default one when none was set).
    void SetUi(IDatabaseUi* ui) { m_pUi = ui; }
    IDatabaseUi& Ui() const { return m_pUi ? *m_pUi : GetDefaultDatabaseUi(); }

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
    // Edits (with `showDialog` 1, through the configuration dialog) and saves the Parameters and
    // Configuration records under the Parameters record's lock and the database lock; without
    // the dialog it saves the values as the caller set them. 1 when written; else the values in
    // memory are as before the call.
    int SaveParameterRecord(int showDialog);
    // The format dialog on font record `index`, saved under its record lock and the database
    // lock; for access level 9 and above. The dialog's result (2 when refused or cancelled).
    int SaveFormatRecord(uint32_t index, const std::string& name, int value1, int value2);
    // The page-layout dialog on layout `index`, saved under its record lock and the database lock.
    void SavePageLayoutRecord(uint32_t index, const std::string& name);
    // Refreshes this copy when it knows of changes, before a settings record is locked to edit.
    void RefreshBeforeSettingsEdit();
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
    // Writes the default formats under the database lock and fills the existing format objects
    // with them (views keep pointing at them); 1 when written, else nothing changes.
    int ResetFonts();
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
    // A new empty item; a request token gives a new category its type and block letter, a new
    // person its type.
    void* GetNewItemPointer(uint8_t table, const stDataToken* context);
    void DeleteItemPointer(uint8_t table, void* item);
    void CopyItem(uint8_t table, const void* source, void* target, int isNew);
    char GetCategoryType(uint32_t code) const;
    uint32_t CheckCategoryCode(uint32_t code) const;
    std::string GetCategoryName(uint32_t code) const;
    // Names categories in the record classes' texts.
    bool LookupCategoryName(uint32_t code, std::string& name) const override;
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
    // Tallies (DatabaseTallies.cpp); periods run from <= date < to.
    // The code itself when such a category exists, else TALLY_OTHER.
    uint32_t GetTallyCode(uint32_t categoryCode) const;
    // Mode 1 sales, mode 2 payments received ('F' refunds and 'q' payments into `second`),
    // mode 4 payments by the studio per tax category; `second` may be null.
    void SumSalesByCategory(int mode, DATE from, DATE to, std::vector<stCodeTotal>& list,
                            std::vector<stCodeTotal>* second) const;
    // The same for several periods, each purchase and payment read once.
    void SumSalesByCategory(int mode, const std::vector<stTallyPeriod<stCodeTotal>>& periods) const;
    void PrepareContractTypeTotals(std::vector<stContractTotal>& list) const;
    // Contracts written and visits into `list`; cancellations and refunds into `second`.
    void SumContractsByType(DATE from, DATE to, std::vector<stContractTotal>& list,
                            std::vector<stContractTotal>& second) const;
    // The same for several periods (`second` set in each), each record read once.
    void SumContractsByType(const std::vector<stTallyPeriod<stContractTotal>>& periods) const;
    void PrepareInterviewSourceTotals(std::vector<stSourceTotal>& list) const;
    void SumInterviewSources(DATE from, DATE to, std::vector<stSourceTotal>& list) const;
    // The list emptied, then one zero activity row per basic dance item category.
    void PrepareBasicItemTotals(std::vector<stActivityCount>& list) const;
    void SumItemActivity(DATE from, DATE to, std::vector<stActivityCount>& list) const;
    // "%8.2f" of the amounts of the rows whose category is of `type`, with the several-items row
    // when `contracts` is 1.
    void SumCategoryTotalsByType(std::string& text, const std::vector<stCodeTotal>& list, char type,
                                 int contracts) const;
    // The filter that takes only what is still due.
    static constexpr uint32_t PAYMENTS_DUE = 0x7FFFFFFB;
    // Appends a 'P' entry per payment and a 'p' entry per scheduled payment of every active
    // purchase (filter 0), or only those still due (PAYMENTS_DUE), then sorts by date. Payments
    // not yet scheduled ('U') get the date 0.0 in their record first. With `keep`, only the
    // entries it accepts are appended and sorted (in the order the whole list would give them).
    void CollectPaymentDates(std::vector<stDataToken>& list, uint32_t filter,
                             const std::function<bool(const stDataToken&)>& keep = {});
    // The same (filter 0) over only the payments of `person` and the purchases naming him
    // (FindPaymentsOf, FindPurchasesOf): `keep` still decides, the order is the same.
    void CollectPersonPaymentDates(std::vector<stDataToken>& list, uint32_t person,
                                   const std::function<bool(const stDataToken&)>& keep);
    // The entries CollectPaymentDates gathers, each handed to `visit` in the order gathered (the
    // order that breaks ties of date and kind), unsorted and unkept.
    void ForEachPaymentDate(uint32_t filter, const std::function<void(const stDataToken&)>& visit);

    // ---- Accounting and text exchange (studio/IifImport.cpp, IifExport.cpp, StudentImport.cpp,
    // ContractImport.cpp, DatabaseDump.cpp) ----
    void ImportIIF();
    // Handlers of one IIF line of their kind: 1 when a record was created.
    int ImportCustomer(const std::string& separator, const std::string& line, std::vector<std::string>* header);
    int Employee(const std::string& separator, const std::string& line, std::vector<std::string>* header);
    int ImportAccount(const std::string& separator, const std::string& line, std::vector<std::string>* header);
    // The first person of these names (case ignored); else, for a type other than 0, a new one.
    // -1 when none is found or made.
    int32_t FindOrAddPerson(const std::string& firstName, const std::string& lastName, char type);
    std::string NormalizePhoneNumber(const std::string& phone);
    void ParseAddressLines(std::vector<std::string>* lines, const std::string& firstName, CPerson* person,
                           const std::string& city, const std::string& state, const std::string& zip);
    void ExportPersonsIIF(char type);
    void ExportTransactionsIIF();
    std::string GetTransactionTypeName(std::string& out, int index) const;
    void ImportStudentsAndContracts();
    void ImportPersonRecords(CDialogWaitBox* waitBox);
    int ImportPersonRecord(int start);
    int ImportContractRecord(int start, int32_t person);
    stContractHeader ImportContractHeader(const std::string& line);
    int ImportContractPurchaseList(int start, std::vector<stImportPurchase>& list);
    int ImportContractPaymentList(int start, std::vector<stImportPayment>& list);
    int ImportContractUsedItemList(int start, std::vector<stImportUse>& list);
    std::string DetectFieldDelimiter(const std::string& line, int minimum);
    DATE ParseImportDate(const std::string& text);
    int32_t FindOrAddPersonByName(const std::string& name, char type);
    int32_t ImportStudentTextFile(const std::string& line);
    void LinkImportedReferrals(CDialogWaitBox* waitBox);
    std::string CapitalizeWords(const std::string& text);
    // The key of the category of that type and name (case ignored), -1 when none.
    int32_t FindCategory(char type, const std::string& name) const;
    // The key while that category exists, else -1.
    int32_t GetCategoryLink(uint32_t key) const;
    void DumpDatabase();
    // Stores one date field of the Parameters record under its record lock and the database lock.
    bool SaveParameterDate(uint32_t offset, DATE value);
    // The cleaned lines of the text import and the separator of its current record.
    std::vector<std::string> m_aImportLines;
    std::string m_sFieldSeparator;
    // Referral texts of imported persons, by person code, until the linking pass.
    std::map<uint32_t, std::string> m_mapReferrals;
    // Opens the spreadsheet grid on a file (set by the launcher).
    std::function<void(const std::string& path)> m_fnShowSpreadsheet;

    // ---- Table reference test, teacher activity records ----
    int TestTableReferences(std::vector<std::string>& report, int repair, int countOnly);
    void BuildTeacherActivityRecords(std::vector<stTeacherActivityData>& list, char kind);
    void AddPurchaseToTeacher(uint32_t teacherCode, const CPurchaseRecord& purchase, double divisor,
                              std::vector<stTeacherActivityData>& list);
    void FreeTeacherActivityItems(std::vector<stTeacherActivityData>& list);

    // ---- Schedule entries, grid tables, payment lines and statistics (studio/) ----
    // The dated entries of `person` (-1 everyone, -2 only the price list's class dates) into
    // `list` (emptied first), kept when `start` is 0.0 or start <= date < end, in display order.
    // expand 1: a repeating schedule item gives one 's' entry per occurrence.
    void GetAllScheduleItems(int32_t person, std::vector<stDataToken>& list, int32_t expand, DATE start,
                             DATE end, int32_t leaveOutPurchasePayments);
    // Display order: by date, kind, then gathering order; an entry before 08:00 moves to 08:00 of
    // its day; the undated ones (first) by their long text, teacher included, then gathering order.
    void ArrangeScheduleEntries(std::vector<stDataToken>& list);
    // The kind, short and long texts of an entry (three empty texts for an unknown kind).
    void MakeScheduleText(const stDataToken* entry, std::string& kindText, std::string& shortText,
                          std::string& longText, int32_t withTeacher);
    // The week grid from the day of `start`: row 0 and column 0 headers, a row per time, and
    // (person other than -2) the payments due and received per day.
    void MakeScheduleGrid(int32_t person, DATE start, DATE end, CTextArray2D& cells, std::vector<DATE>& days,
                          std::vector<DATE>& times, std::vector<stDataToken>& list, uint32_t headerColour,
                          uint32_t cellColour, int32_t hideTaken);
    // The room grid: mode 'D' one day with a column per room, any other mode a week of days.
    void MakeScheduleGridText(char mode, DATE start, DATE end, CTextArray2D& cells, std::vector<DATE>& days,
                              std::vector<DATE>& times, std::vector<stDataToken>& list, uint32_t headerColour,
                              uint32_t cellColour);
    // The payment line of a 'P' or 'p' entry.
    stPaymentData MakeAccountHistory(stDataToken entry);
    // Adds one period's lessons, interviews and resulting sales into the rows of mode 'P'
    // (programs), 'D' (departments) or 'C' (contract types).
    void ProgramStatisticsData(char mode, DATE start, DATE end, std::vector<stProgramStatisticsData>& rows);
    // Adds one period's figures into the rows of teachers (mode 'T') or supervisors ('S').
    void TeacherActivityData(char mode, DATE start, DATE end, std::vector<stTeacherActivityData>& rows);

    // ---- Opening, loading and closing (DatabaseRoad.cpp) ----
    bool OpenDatabase(const std::string& name, int newSetup);
    bool OpenDatabaseFile(const std::string& name);
    bool LoadDatabaseFile(CDialogWaitBox* waitBox, std::string* report);
    bool ReadDatabaseIntoMemory(CDialogWaitBox* waitBox, std::string& errorText, std::string* report);
    bool ReadDataItemIntoMemory(const stDataHeader& header, int repack);
    void CloseDatabase();
    // Rewrites the whole file from the tables in memory after an optional backup; gives the
    // backup's name ("" when none was made or nothing was done).
    std::string RepairDatabase(int askBackup, int second);
    // Whether OpenDatabase succeeded and CloseDatabase has not run since.
    bool IsDatabaseOpen() const { return m_bDatabaseOpen; }
    bool IsFileLoaded() const { return m_bFileLoaded; }
    // Messages collected while loading or refreshing a table.
    std::vector<std::string> m_aLoadMessages;
    // Counts of the settings records read by the last load.
    uint32_t m_nFontsRead = 0;
    uint32_t m_nPageLayoutsRead = 0;
    // Reopens the file when the one at the database's path is no longer the one this copy has
    // open (compaction, a rebuild or a restore replaced it). True when it reopened.
    bool ReopenIfReplaced();
    void ShowReportLines(const std::string& title, const std::vector<std::string>& lines);
    uint32_t UpdateUserCount() override;

    // ---- Refresh after other users' changes (DatabaseRefresh.cpp) ----
    bool LockAndRefreshDatabase(const std::string& purpose, uint32_t table, int testRecords,
                                int quiet, int refreshOnly) override;
    // The same with the dependent tables of a delete.
    bool LockAndRefreshDatabaseList(const std::string& purpose, uint32_t table, int testRecords,
                                    const std::vector<uint32_t>* tableList, int refreshOnly);
    bool DoRefresh(CDialogWaitBox* waitBox);
    void RefreshTable(uint8_t table, uint32_t key);
    bool RefreshDatabase();
    void ReadTableSequence(uint8_t table, CDialogWaitBox* waitBox);
    bool ReadConfigurationTable();
    void DisableRefreshOn(const std::string& caller) override;
    void DisableRefreshOff(const std::string& caller) override;
    bool m_bRefreshPending = false;
    bool m_bLockAndRefresh = false;
    // Depth of the database lock this copy holds through CDatabase (0 when not held).
    uint32_t GetDatabaseLockDepth() const { return m_nDbLockDepth; }

    // ---- Adding, editing, saving and deleting (DatabaseSave.cpp) ----
    int AddTableItem(uint8_t table, uint32_t insertLoc, void* templ, int editFlag, uint32_t tokenInsert,
                     const stDataToken* context);
    int EditTableItem(uint8_t table, uint32_t code, const stDataToken* context);
    int SaveModifiedItem(uint8_t table, uint32_t code, void* item);
    int DeleteTableItem(uint8_t table, uint32_t code, int checkReferences);
    int EditItemDialog(uint8_t table, void* item, int isNew, const stDataToken* context);
    // A schedule item in its dialog (kind 'S' the scheduled purchase, else the schedule event);
    // a new one takes its kind, dates and teacher from the context's stDataToken when given.
    int EditScheduleItem(CScheduleRecord* item, int isNew, const stDataToken* context);
    // A price-list item in its dialog (kind 's' the studio item, else the item dialog); a new one
    // takes its kind letter from the request's type.
    int EditPriceListItem(CPriceListItem* item, int isNew, const stDataToken* context);
    uint32_t m_nLastSavedCode = 0xFFFFFFFF;
    // The credits a purchase sheet drew on, left here by the sheet on OK: written after the
    // purchase is stored (EditTableItem, AddTableItem), else given back untouched.
    std::shared_ptr<CCreditLedger> m_pSheetLedger;
    void SettleSheetLedger(bool stored);
    int SetPersonInterviewDate(CPerson* person, char kind, uint32_t index, DATE date);
    void SetPriceListValue(CPriceListItem* item, uint32_t index, DATE value);
    void SetPurchaseEntryDate(CPurchaseRecord* purchase, char kind, uint32_t index, uint32_t subIndex,
                              DATE value);
    // Changes one stored item under the database lock: the item as this copy now has it after the
    // refresh is copied, `change` edits the copy (false: nothing to store) and the copy is saved,
    // becoming the live item only when stored. 1 when stored, else 0.
    int ChangeItem(uint8_t table, uint32_t code, const std::function<bool(void* copy)>& change);

    // ---- Schedule entry changes (DatabaseReschedule.cpp) ----
    // Moves the record behind an entry to `when` (0.0: unscheduled). 1 when a change was stored.
    int RescheduleEntry(const stDataToken& entry, DATE when);
    int ReschedulePayment(CPaymentRecord* payment, DATE when);
    // `occurrence` is the occurrence's own index (0 or -1: the item itself).
    int RescheduleScheduleItem(CScheduleRecord* item, int32_t occurrence, DATE when);
    // Removes one scheduled payment from the purchase given (the caller's copy, which it saves
    // on 1); 2 when refused.
    int DeleteScheduledPayment(CPurchaseRecord* purchase, uint32_t index);
    // Marks a lesson token cancelled and stores the purchase; 1 when stored.
    int CancelLessonToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token);

    // ---- Schedule token service (DatabaseTokens.cpp) ----
    // Every change to a purchase's lesson and activity tokens goes through these. A token is
    // named by its item and token index in `purchase`. With `save` 0 only `purchase` changes (a
    // sheet's own copy, stored when the sheet ends). With `save` 1 the change is made under the
    // database lock on a copy of the stored purchase as re-read (ChangeItem), the token found
    // there again by its contents, and `purchase` takes the stored result; a refused lock or a
    // token another desk changed meanwhile leaves everything as it was. 1 when changed (and
    // stored), 0 when not.
    //
    // Tokens of limited-time ('T') and limited-quantity ('N') items: the unused token stands for
    // the item's remaining uses; a use, schedule or cancel of it adds a token of its own, and the
    // unused one is kept in step by CPurchaseItem::SetTokenState (a time pass keeps it, a
    // quantity item keeps one while uses remain). Giving back a use removes that use's token.
    // Tokens of other items change in place.
    //
    // Marks a token used: linked to `activity` and taught by `teacher` when these are not NO_CODE,
    // dated `date` when it is not 0.0. A quantity item whose uses are all taken is refused.
    int UseToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token, uint32_t activity, uint32_t teacher,
                 DATE date, int save);
    // A cancelled token becomes unscheduled, any other cancelled.
    int CancelToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save);
    // Back to unscheduled ('N', undated).
    int MarkTokenUnused(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save);
    // Schedules unscheduled tokens of one purchase at once: (item, token, date) each.
    struct stTokenDate {
        uint32_t item = 0;
        uint32_t token = 0;
        DATE date = 0.0;
    };
    int ScheduleTokens(CPurchaseRecord* purchase, const std::vector<stTokenDate>& dates, int save);
    // Puts an edited copy of the token in its place (the status dialog's result).
    int SetTokenStatus(CPurchaseRecord* purchase, uint32_t item, uint32_t token, const CScheduleToken& edited,
                       int save);
    // Splits a lesson ('p') in two: its split number rises, its price-list link is cleared and half
    // its lesson value goes to a new unscheduled token of the same split number and the item's
    // teacher, appended to the item.
    int SplitToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save);
    // The unused lessons of the same item and split number that a split lesson can be joined with
    // (token indexes).
    std::vector<uint32_t> GetUnsplitPartners(const CPurchaseRecord& purchase, uint32_t item, uint32_t token) const;
    // Joins a split lesson with one unused partner (asked for when there are several): the
    // partner is removed, the lesson takes its value and its split number drops by one.
    int UnsplitToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save);

    // ---- Open grids ----
    // The open schedule, teacher and room grid windows (null when none); after a refresh the
    // first open one is told (message 1029).
    ui::Window* m_pScheduleGrid = nullptr;
    ui::Window* m_pTeacherGrid = nullptr;
    ui::Window* m_pRoomGrid = nullptr;
    // Counts the refreshes that reloaded tables: a grid built before the last one rebuilds.
    uint32_t GetRefreshCount() const { return m_nRefreshCount; }
    // Seams for the schedule dialogs of later work: the cell dialog of a grid's right click
    // (entries, row, column, mode, week start and end, cells, days, times) and the sale of a
    // price-list item at a moment ("Take and pay for": item, person, moment; 1 when sold).
    std::function<void(std::vector<stDataToken>& entries, int row, int column, int32_t mode, DATE start,
                       DATE end, CTextArray2D& cells, std::vector<DATE>& days, std::vector<DATE>& times)>
        m_fnScheduleCellDialog;
    std::function<int(uint32_t priceListCode, uint32_t person, DATE when)> m_fnSellItemNow;
    // The editor of one schedule entry ("Edit: %s"; unset, the choice is not offered); 1 when
    // something was stored.
    std::function<int(const stDataToken& entry)> m_fnEditScheduleEntry;
    int SellItemNow(uint32_t priceListCode, uint32_t person, DATE when);
    void RemovePersonFromPurchases(uint32_t personCode);
    // Cancel (status -2) and reinstate (-1) a purchase, made on a copy of the stored one under
    // the database lock (ChangeItem); a caller's own copy takes the stored result. 1 when stored.
    int CancelPurchase(CPurchaseRecord* purchase);
    int ReinstatePurchase(CPurchaseRecord* purchase);

    // ---- Purchase and mail-list changes of the list views (DatabaseViewChanges.cpp) ----
    // Converts the purchase in force of the code: a copy goes through the purchase editor and is
    // added, and the old one's status becomes the new one's code. The old purchase's record lock
    // is held throughout; when its link cannot be stored the new purchase is deleted again.
    // The add's result (1 converted, 2 nothing done).
    int ConvertPurchase(uint32_t code);
    // Appends a scheduled payment to the stored purchase of the code; 1 when stored.
    int AddScheduledPayment(uint32_t code, const CSchedulePayment& payment);
    // Deletes scheduled payment `index` of the stored purchase (DeleteScheduledPayment's rule);
    // 1 when deleted and stored, 2 when refused or not stored.
    int DeleteScheduledPaymentOf(uint32_t code, uint32_t index);
    // Clears a person's birthday ('B') or anniversary ('A'); 1 when stored.
    int ClearPersonDate(uint32_t code, char kind);
    // Stores a mail-list format under the database lock and tells the other copies; 1 when stored.
    int SaveRecordMailList(const CMailList& mailList);
    // Stores one 32-bit field of the Parameters record under its record lock and the database
    // lock; 1 when stored (memory keeps the file's value otherwise).
    int SaveParameterInt(uint32_t offset, int32_t value);

    // ---- Money and setup editors (DatabaseEditors.cpp, DatabaseMoney.cpp) ----
    // The per-table editors of EditItemDialog; each gives a new item its key and its fills from
    // the request token, then runs the table's dialog. The dialog's result, 2 when none ran.
    int EditCategory(CCategory* category, int isNew, const stDataToken* context);
    int EditPackage(CPackageRecord* package, int isNew, const stDataToken* context);
    int EditPaymentRecord(CPaymentRecord* payment, int isNew, const stDataToken* context);
    int EditPurchaseRecord(CPurchaseRecord* purchase, int isNew, const stDataToken* context);
    // The status dialog "Set schedule item status" on a copy of lesson `token` of item `item` of
    // the purchase; an item that can no longer be used asks "Edit anyway?" first. On OK the
    // edited token is put in place through the token service (SetTokenStatus with `save`). The
    // dialog's result, 2 when it did not run.
    int EditTokenStatusOf(CPurchaseRecord* purchase, int32_t item, int32_t token, int save);
    // A person in its editor: an employee ('E') in the employee dialog; with a context 'I', 'D',
    // 'M' or 'N' that contact record (index1) in the contact dialog, on a copy written back on OK;
    // a new-customer request in the short form; else the person sheet. A new person whose sheet
    // is cancelled takes the purchases entered for it meanwhile with it.
    int EditPerson(CPerson* person, int isNew, const stDataToken* context);
    void ShowCategoryListDialog(char type, char block);
    void ShowPackageListDialog();
    void ShowDefaultAccountsDialog();
    // "Created by %s %s, updated by %s, %s" of two stamps.
    std::string FormatStampLine(uint8_t createdBy, DATE createdAt, uint8_t updatedBy, DATE updatedAt) const;
    // A default account setting (param::kAccountPayments ...) when its category still exists,
    // else -1.
    uint32_t GetDefaultAccount(uint32_t setting) const;
    // Saves the Parameters record without a dialog: under its record lock and after the refresh,
    // `change` sets the caller's fields on the fresh record (false: nothing to store); written and
    // announced. True when stored.
    bool SaveParameterFields(const std::function<bool(stParameters&)>& change);
    // The receipt number a payment keeps: `wanted` confirmed against the counter under the
    // Parameters lock. The counter only rises; the number offered to a new payment that another
    // desk took meanwhile becomes the next free one (`offered` 0: not a new payment's offer).
    // `confirmed` false: a lock was refused (the user was told) and nothing is settled.
    uint32_t ConfirmReceiptNumber(uint32_t wanted, uint32_t offered, bool* confirmed = nullptr);
    uint32_t GetLastReceiptNumber() const { return m_Parameters.GetUInt(param::kNextInvoiceNumber); }
    // Sells one price-list item now (1 added, 0 stopped by the user).
    int SellItemNow(uint32_t person, uint32_t teacher, uint32_t further, const CPriceListItem* item,
                    int askPayment, DATE date);
    int CheckoutShoppingCart();
    void RecordPayment();
    // A student typed or taken from the similar names: the new one is added (its dialog), an
    // existing one edited. The add's or edit's result; 2 when cancelled.
    int AddOrSelectStudent();
    // A new purchase for a student chosen from the list ("<New>": AddOrSelectStudent). The add's
    // result; 2 when nothing was chosen or the student is gone.
    int AddPurchaseForStudent();
    int EditScheduleEntry(const stDataToken* entry);
    // Whether an earlier purchase equals a new single-item sale: same state, purchaser, amount,
    // pricing and text, one item of the same price-list code with one token of the same kind,
    // day, teacher and further code.
    bool IsRepeatSale(const CPurchaseRecord& earlier, const CPurchaseRecord& sale) const;
    // The earlier purchases that `sale` repeats (IsRepeatSale), in index order; only the
    // purchaser's own purchases are read.
    std::vector<const CPurchaseRecord*> FindRepeatSales(const CPurchaseRecord& sale);
    // The purchases that name `person` as student, second person or payer, and the payments of
    // `person`: their positions in the index, in index order, found without reading the table.
    std::vector<size_t> FindPurchasesOf(uint32_t person) const;
    std::vector<size_t> FindPaymentsOf(uint32_t person) const;
    // The purchases in force (neither converted nor cancelled) that name `person`, in index order.
    std::vector<CPurchaseRecord*> GetActivePurchasesOf(uint32_t person) const;

    // ---- Deleting with reference checks ----
    bool CanDeleteItem(uint8_t table, uint32_t code);
    bool CanDeleteCategory(uint32_t code);
    bool CanDeletePerson(uint32_t code);
    bool CanDeletePriceListItem(uint32_t code);
    bool CanDeletePayment(uint32_t code);
    void DeleteItemRecord(uint8_t table, void* item, uint32_t loc);
    int FreeItem(uint8_t table, uint32_t code);

    // ---- Compaction, purge, deleted-data report (DatabaseMaintenance.cpp) ----
    int CompactDatabase(const std::string& databaseName);
    void PurgePersons(char mode);
    void DeletedDataReport();
    void DeletedDataReportPerson(uint32_t loc, std::vector<std::string>& lines, std::vector<stCodeTotal>& counts);
    void DeletedDataReportPurchase(uint32_t loc, std::vector<std::string>& lines, std::vector<stCodeTotal>& counts);
    void DeletedDataReportPayment(uint32_t loc, std::vector<std::string>& lines, std::vector<stCodeTotal>& counts);
    void DeletedDataReportSchedule(uint32_t loc, std::vector<std::string>& lines, std::vector<stCodeTotal>& counts);
    void DeletedCountSummary(const std::string& label, const std::vector<stCodeTotal>& counts,
                             std::vector<std::string>& summary);
    // The lines of the last report shown.
    std::vector<std::string> m_aLastReport;

    // ---- Activity summaries and schedule conflict checks (DatabaseActivity.cpp) ----
    void MakeStudentActivitySummary(std::vector<stActivityLine>& summary);
    void MakeTeacherActivitySummary(std::vector<stActivityLine>& summary);
    int CheckPurchaseScheduleConflicts(const CPurchaseRecord& purchase);
    int CheckScheduleItemConflicts(const CScheduleRecord& item);
    // Lets a student pick a dated price-list activity of today, still open and not yet used by
    // the purchase item, to sign in to (with `onlyOwn` 1 only the item's own price-list item).
    // The chosen line's position with its price-list code and date, or -1 when none is chosen.
    int SelectSignInActivity(const CPurchaseItem& item, uint32_t& priceListCode, DATE& date, int onlyOwn);

    // ---- Sign-in and self check-in (DatabaseSignIn.cpp; the balance in studio/PersonBalance.cpp) ----
    // The front desk's sign-in dialog for the person.
    void RunSignIn(CPerson* person);
    // The self check-in selection for the person: 0 (nothing shown) when it offers no activity,
    // else 1, after the payment notice of what it sold has been shown.
    int RunSelfCheckIn(CPerson* person);
    void ShowAutoCheckInDialog();
    // The balance sheet's entries of a person, in statement order: each active purchase whose
    // first purchaser the person is ('U', at its date) with its received and refunded payments
    // ('p', at the purchase's date), and each payment to the studio of the person ('P'); sorted by
    // date, ties by kind as a signed byte, then in gathering order.
    void CollectBalanceEntries(uint32_t person, std::vector<stDataToken>& entries) const;
    // What one such entry adds to the running balance (negative for money received).
    static double GetBalanceChange(const stDataToken& entry);
    // The final running balance of the person's balance sheet (positive: the person owes).
    double GetPersonBalance(uint32_t person) const;

    // ---- Repair backup, rebuild from found headers, raw opening (DatabaseRebuild.cpp) ----
    // Copies the database file to its repair backup (root + ".BKA", older generations shifted);
    // gives the backup's name, "" when none was made.
    std::string MakeRepairBackup(std::string& backupName, int ask, int reopen);
    int ReadAndRewriteDbUsingHeaderLocs(char method, int rewrite, std::vector<std::string>& report);
    // Opens an existing file for the repair commands without touching its contents (no close
    // status written, no lock bytes cleared); announces this copy on the presence range.
    bool OpenRawFile(const std::string& fileName);
    // Closes a file opened raw, leaving its contents as they are.
    void CloseRawFile();
    // Copies the open database file byte for byte to `target` under the database lock, with its
    // close status set to closed in the copy. False (after a message) when it failed.
    bool SnapshotDatabaseFile(const std::string& target);

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
    // Purchases and payments by the persons they name, following their index's adds, saves,
    // deletes and refreshes (a lookup may build them anew, also for a const caller).
    static size_t PurchasePersons(const void* item, CRecordsByPerson::stPersons& persons);
    static size_t PaymentPersons(const void* item, CRecordsByPerson::stPersons& persons);
    mutable CRecordsByPerson m_PurchasesByPerson{&CDatabase::PurchasePersons};
    mutable CRecordsByPerson m_PaymentsByPerson{&CDatabase::PaymentPersons};
    // The grouping by person of `table`, or null for a table without one.
    CRecordsByPerson* GetPersonGrouping(uint8_t table) const;
    // The record of `code` in `table` was saved, deleted or re-read: its filing by person follows.
    void NoteGroupedChange(uint8_t table, uint32_t code);
    std::vector<std::unique_ptr<stFormatRecord>> m_aFormats;
    std::vector<std::string> m_aFormatNames;
    stStudioStrings m_OwnStudio;
    stStudioStrings* m_pStudio = &m_OwnStudio;
    std::string m_sDatabaseName;

    // Road state.
    bool m_bDatabaseOpen = false;
    bool m_bFileLoaded = false;
    bool m_bRepairRewrote = false;
    // Objects of items that a refresh found gone while a save held them; freed at close.
    std::vector<std::pair<uint8_t, void*>> m_aOrphans;
    uint32_t m_nDbLockDepth = 0;
    // The item a save is working on: refreshes re-read into it rather than free it.
    uint8_t m_nProtectedTable = 0;
    void* m_pProtectedItem = nullptr;
    bool TakeDatabaseLock(const std::string& purpose, uint32_t table, bool testRecords,
                          const std::vector<uint32_t>* tableList);
    void ReleaseDatabaseLock();
    // Re-reads one item into the object already in the index (a new object when absent).
    void RefreshItemInPlace(uint8_t table, uint32_t code);
    // Reloads every table while keeping the protected item's object.
    bool ReloadAll(CDialogWaitBox* waitBox);
    void TellTableRefreshed(uint8_t table);
    bool DeleteOneItem(uint8_t table, uint32_t code, bool reportMissing);
    IDatabaseUi* m_pUi = nullptr;
    uint32_t m_nRefreshCount = 0;
    // Exchange: a new item stored under the database lock (owned; freed on failure), its code or
    // NO_CODE; the upper-case name maps of one import; why the contract import stopped.
    uint32_t AddImportedItem(uint8_t table, void* item);
    void BeginImportNames();
    void EndImportNames();
    void AddImportName(const CPerson& person);
    bool m_bImportNames = false;
    std::unordered_map<std::string, uint32_t> m_mapImportNames;
    std::unordered_map<std::string, uint32_t> m_mapImportWords;
    std::string m_sImportError;
    int m_nImportErrorLine = -1;
    // Notes the failure of the import at line index `at` (the first one stays); 0.
    int FailImport(int at, const std::string& reason);
    std::vector<int> m_aImportNoPerson;

};

// Tallies shared by the report grids.
void AddToCodeTotal(uint32_t code, uint32_t count, double amount, std::vector<stCodeTotal>& list);
void CountByLetter(uint32_t letter, std::vector<stLetterCount>& list);
// Kind -1 or -2: one contract and its amount; 'F': a refund amount; 'V': one visit.
void AddToContractTotal(int32_t kind, uint32_t code, double amount, std::vector<stContractTotal>& list);
// Letter 'E', 'U' or 'C': count and units x count into that letter's columns of the code's row.
void AddToActivityTotal(char letter, uint32_t code, uint32_t units, std::vector<stActivityCount>& list,
                        uint32_t count);
// A used ('U') or cancelled ('c') lesson token dated in the period (a cancelled one by its stamp)
// counts 1 with its units (split by its split count) under the code.
void AddScheduledActivity(DATE from, DATE to, uint32_t code, const CScheduleToken& token,
                          std::vector<stActivityCount>& list);
// The position of the first entry whose code is `code`; -1 when none.
template <class Entry>
int FindEntryByCode(uint32_t code, const std::vector<Entry>& list)
{
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].nCode == code) return static_cast<int>(i);
    return -1;
}
// Payments ('p', 'P') are done; with tokenMode 1 a lesson ('T') is done when its token is used.
bool IsEntryDone(const stDataToken& entry, int tokenMode);
// An account category's settings in its parameter bytes: transaction type (byte 0), transaction
// and distribution accounts (bytes 1-4 and 5-8, little-endian, -1 none), five flags (bytes 9-13:
// transaction deduction, distribution deduction, transaction cleared, distribution cleared,
// last name first).
void GetCategoryAccountParams(const CCategory& category, uint8_t& type, uint32_t& transactionAccount,
                              uint32_t& distributionAccount, std::array<int, 5>& flags);
void SetCategoryAccountParams(CCategory& category, uint8_t type, uint32_t transactionAccount,
                              uint32_t distributionAccount, const std::array<int, 5>& flags);

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
