#include "shell/ScheduledBackup.h"

#include "database/Database.h"
#include "shell/MainFrame.h"
#include "shell/MainView.h"
#include "shell/ProgramState.h"

int RunScheduledBackup(CDatabase* database, BackupReason reason)
{
    if (database == nullptr || !database->IsOpen()) return 0;
    if (reason == BackupReason::Closing && MainFrame != nullptr &&
        MainFrame->GetLauncher().GetDatabase() == database)
        return MainFrame->GetLauncher().BackupDatabaseWithResult();
    // Nobody is asked: the repair backup generation on the hard disk.
    std::string name;
    database->MakeRepairBackup(name, 0, 0);
    return name.empty() ? 0 : 1;
}
