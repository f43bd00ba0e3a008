#pragma once
// CDatabaseDialogs: the database's questions put through the program's own dialogs (log-on,
// switch users, the user list and its entries, the purge dates). The application makes it the
// databases' default interface at start.

#include "database/DatabaseUi.h"
#include "dialogs/ConfigureAppValues.h"

namespace ui { class Window; }

class CDatabaseDialogs : public IDatabaseUi {
public:
    bool AskPassword(const std::string& databaseTitle, std::string& password) override;
    bool SwitchUser(CDatabase& database) override;
    void EditUserList(CDatabase& database) override;
    bool EditUserEntry(CDatabase& database, stUserRegData& entry, int fixedLevel) override;
    bool GetPurgeDates(CDatabase& database, DATE& initialOnly, DATE& others) override;
    // The table switch of the item editors: categories, packages, payments by the studio, the
    // new customer form, price-list items, schedule items (the dialogs not built yet answer
    // Cancel).
    int EditItemDialog(CDatabase& database, uint8_t table, void* item, int isNew,
                       const stDataToken* context) override;
    int32_t AddOrSelectPerson(CDatabase& database, std::string& first, std::string& last) override;
    int EditScheduledPayment(CDatabase& database, stPaymentEditRequest& request) override;
    int EditTokenStatus(CDatabase& database, CScheduleToken& token, const std::string& caption,
                        const stDataToken* where) override;
    void RunSignIn(CDatabase& database, CPerson& student) override;
    int RunSelfCheckIn(CDatabase& database, CPerson& student, std::string& notice) override;
    void ShowAutoCheckIn(CDatabase& database) override;
    bool RunShoppingCart(CDatabase& database, stShoppingCart& cart) override;
    bool AskDate(CDatabase& database, DATE& date) override;
    void ShowCategoryList(CDatabase& database, char type, char block) override;
    void ShowPackageList(CDatabase& database) override;
    void ShowDefaultAccounts(CDatabase& database) override;
    int EditConfiguration(CDatabase& database) override;
    // Table 8 (or everything) refills the open price list.
    void TableRefreshed(uint8_t table) override;
    int EditFormat(CDatabase& database, stFormatRecord& format, const std::string& title, int value1,
                   int value2) override;
    int EditPageLayout(CDatabase& database, stPageLayout& layout, const std::string& name) override;

    // The desk's values the configuration dialog edits with the database's (set by the caller of
    // the save for its length; null: they are not offered).
    stConfigureAppValues* m_pAppValues = nullptr;

    // The one instance the application installs.
    static CDatabaseDialogs& Instance();

protected:
    // The window the dialogs open over (null: the layer's choice).
    virtual ui::Window* DialogParent() { return nullptr; }
};
