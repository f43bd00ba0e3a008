#include "shell/AppDatabaseUi.h"

#include "common/QuestionBox.h"
#include "dialogs/DialogGetPurgeDates.h"
#include "shell/MainFrame.h"
#include "shell/MainView.h"
#include "shell/SettingsFile.h"

bool CAppDatabaseUi::GetPurgeDates(CDatabase& database, DATE& initialOnly, DATE& others)
{
    CDialogGetPurgeDates dialog(&database, m_pLauncher ? m_pLauncher->Frame() : nullptr);
    if (dialog.DoModal() != IDOK) return false;
    initialOnly = dialog.m_dNoActivities;
    others = dialog.m_dWithActivities;
    return true;
}

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

void CAppDatabaseUi::TableRefreshed(uint8_t)
{
    if (CMainFrame* frame = m_pLauncher ? m_pLauncher->Frame() : nullptr)
        frame->UpdateView(frame->GetCurrentView());
}

int CAppDatabaseUi::GetBackupGenerations() { return static_cast<int>(AppSettings().m_nTimedBackup); }
