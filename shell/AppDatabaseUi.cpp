#include "shell/AppDatabaseUi.h"
#include "reports/Reports.h"
#include "reports/ReportsRTF.h"

#include "shell/MainFrame.h"
#include "shell/MainView.h"
#include "shell/SettingsFile.h"

ui::Window* CAppDatabaseUi::DialogParent() { return m_pLauncher ? m_pLauncher->Frame() : nullptr; }

void CAppDatabaseUi::BackupDatabase(CDatabase&)
{
    if (m_pLauncher) m_pLauncher->BackupDatabase();
}

void CAppDatabaseUi::ShowUsers(uint32_t users, bool refreshOn)
{
    CMainFrame* frame = m_pLauncher ? m_pLauncher->Frame() : nullptr;
    if (!frame) return;
    frame->ShowUserCount(users);
    frame->ShowRefreshState(refreshOn ? 1 : 0);
}

void CAppDatabaseUi::TableRefreshed(uint8_t table)
{
    CDatabaseDialogs::TableRefreshed(table);
    if (CMainFrame* frame = m_pLauncher ? m_pLauncher->Frame() : nullptr)
        frame->UpdateView(frame->GetCurrentView());
}

int CAppDatabaseUi::GetBackupGenerations() { return static_cast<int>(AppSettings().m_nTimedBackup); }

void CAppDatabaseUi::ShowBalanceSheet(CDatabase& database, uint32_t person)
{
    CReports(&database).BalanceSheetReport(person, 1);
}

void CAppDatabaseUi::ShowReport(const std::string&, const std::vector<std::string>& lines)
{
    CReportsRTF report(m_pLauncher ? m_pLauncher->GetDatabase() : nullptr, 1, lines);
}
