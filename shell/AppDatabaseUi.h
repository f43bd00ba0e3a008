#pragma once
// CAppDatabaseUi: the program's answer to the database's questions: its dialogs, and, for the
// database the launcher opened, the launcher's backup and the main frame's status panes and views.

#include "dialogs/DatabaseDialogs.h"

class CMainView;

class CAppDatabaseUi : public CDatabaseDialogs {
public:
    // `launcher` null: a database of its own (the raw file of the repair commands, the default).
    explicit CAppDatabaseUi(CMainView* launcher = nullptr) : m_pLauncher(launcher) {}

    void BackupDatabase(CDatabase& database) override;
    void ShowUsers(uint32_t users, bool refreshOn) override;
    void TableRefreshed(uint8_t table) override;
    int GetBackupGenerations() override;
    // Report lines go to the rich-text report viewer.
    void ShowReport(const std::string& title, const std::vector<std::string>& lines) override;
    // The balance sheet report of the person.
    void ShowBalanceSheet(CDatabase& database, uint32_t person) override;

protected:
    // The purge dates open over the main frame, as they did from the launcher.
    ui::Window* DialogParent() override;

private:
    CMainView* m_pLauncher;
};
