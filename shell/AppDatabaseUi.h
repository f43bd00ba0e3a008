#pragma once
// CAppDatabaseUi: the program's answer to the database's questions: its dialogs, and, for the
// database the launcher opened, the launcher's backup and the main frame's status panes and views.

#include "dialogs/DatabaseDialogs.h"

class CMainView;

class CAppDatabaseUi : public CDatabaseDialogs {
public:
    // `launcher` null: a database of its own (the raw file of the repair commands, the default).
    explicit CAppDatabaseUi(CMainView* launcher = nullptr) : m_pLauncher(launcher) {}

    bool GetPurgeDates(CDatabase& database, DATE& initialOnly, DATE& others) override;
    void BackupDatabase(CDatabase& database) override;
    void ShowUsers(uint32_t users, bool refreshOn) override;
    void TableRefreshed(uint8_t table) override;
    int GetBackupGenerations() override;

private:
    CMainView* m_pLauncher;
};
