#pragma once
// IDatabaseUi: every question the database puts to the user beyond a message box or a wait box,
// and every place it tells the program's windows something. The application fills it with its
// dialogs and windows when it starts (SetDefaultDatabaseUi) and may give one database its own
// (CDatabase::SetUi); tests fill it with scripted answers. The defaults stand for a program with
// no such window: nothing is asked (the answer is Cancel) and nothing is shown.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "common/DateTime.h"

class CDatabase;
class CPerson;
class CScheduleToken;
struct stDataToken;
struct stPaymentEditRequest;
struct stShoppingCart;
struct stFormatRecord;
struct stPageLayout;
struct stUserRegData;

class IDatabaseUi {
public:
    virtual ~IDatabaseUi() = default;

    // ---- Users ----
    // The log-on prompt for the database `databaseTitle`; false on Cancel.
    virtual bool AskPassword(const std::string& databaseTitle, std::string& password);
    // "Switch users/Lock DB": true when another user logged on through it.
    virtual bool SwitchUser(CDatabase& database);
    // The user list with its add, edit and delete buttons.
    virtual void EditUserList(CDatabase& database);
    // Adds or edits one users-file entry; `fixedLevel` 1 keeps its access level. True on OK.
    virtual bool EditUserEntry(CDatabase& database, stUserRegData& entry, int fixedLevel);

    // ---- Lists and items ----
    // Picks one of `items` (item data, text) under `title`; the chosen item data, or -1.
    virtual int32_t SelectOne(const std::string& title,
                              const std::vector<std::pair<uint32_t, std::string>>& items);
    // The editing dialog of a table's item: 1 OK (the item changed), 2 Cancel.
    virtual int EditItemDialog(CDatabase& database, uint8_t table, void* item, int isNew,
                               const stDataToken* context);
    // The add-or-select dialog of a student: a person code (an existing student taken), -2 (a
    // new one with the typed names in `first` and `last`) or -1 (cancelled).
    virtual int32_t AddOrSelectPerson(CDatabase& database, std::string& first, std::string& last);
    // Asks for the purge's two cut-off dates; false on Cancel.
    virtual bool GetPurgeDates(CDatabase& database, DATE& initialOnly, DATE& others);
    // The backup of the open database that a purge offers first.
    virtual void BackupDatabase(CDatabase& database);

    // ---- Money and setup dialogs ----
    // The scheduled-payment dialog on a request: IDOK 1, IDCANCEL 2.
    virtual int EditScheduledPayment(CDatabase& database, stPaymentEditRequest& request);
    // The shopping cart; false on Cancel.
    virtual bool RunShoppingCart(CDatabase& database, stShoppingCart& cart);
    // A date (birthday, anniversary); false on Cancel.
    virtual bool AskDate(CDatabase& database, DATE& date);
    // The category list of one type (0 all) and block letter (0 any), the package list, the
    // default accounts.
    virtual void ShowCategoryList(CDatabase& database, char type, char block);
    virtual void ShowPackageList(CDatabase& database);
    virtual void ShowDefaultAccounts(CDatabase& database);

    // ---- Sign-in and check-in ----
    // The lesson status dialog titled `caption` on the token (changed in place on OK): IDOK 1,
    // IDCANCEL 2. `where` ('T': purchase, item and token index) places it for the conflict test.
    virtual int EditTokenStatus(CDatabase& database, CScheduleToken& token, const std::string& caption,
                                const stDataToken* where);
    // The front desk's sign-in dialog for the student.
    virtual void RunSignIn(CDatabase& database, CPerson& student);
    // The self check-in selection for the student: the number of activities it offered (0: it
    // was not shown); the payment notices of what it sold into `notice`.
    virtual int RunSelfCheckIn(CDatabase& database, CPerson& student, std::string& notice);
    // The check-in screen of the kiosk, until a user's password closes it.
    virtual void ShowAutoCheckIn(CDatabase& database);
    // The student's balance sheet shown as a report.
    virtual void ShowBalanceSheet(CDatabase& database, uint32_t person);

    // ---- Studio settings ----
    // The studio configuration dialog on the database's settings; 1 OK (settings changed).
    virtual int EditConfiguration(CDatabase& database);
    // The format dialog titled `title` on one font record; 1 OK (the record changed).
    virtual int EditFormat(CDatabase& database, stFormatRecord& format, const std::string& title,
                           int value1, int value2);
    // The page-layout dialog on one page layout named `name`; 1 OK (the layout changed).
    virtual int EditPageLayout(CDatabase& database, stPageLayout& layout, const std::string& name);

    // ---- What the windows show ----
    // A report's lines (the program's message box dialog by default).
    virtual void ShowReport(const std::string& title, const std::vector<std::string>& lines);
    // The user count and refresh state in the main frame.
    virtual void ShowUsers(uint32_t users, bool refreshOn);
    // A table (or, with 0xFF, everything) was re-read: views and lists reload.
    virtual void TableRefreshed(uint8_t table);

    // ---- Settings the database reads ----
    // How many timed backup generations to keep (at least 1).
    virtual int GetBackupGenerations();
};

// The interface of every database that was given none of its own (the defaults above until set).
void SetDefaultDatabaseUi(IDatabaseUi* ui);
IDatabaseUi& GetDefaultDatabaseUi();
