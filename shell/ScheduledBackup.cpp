#include "shell/ScheduledBackup.h"

int RunScheduledBackup(CDatabase* database, BackupReason reason)
{
    // The backup commands are not built yet; nothing is copied.
    (void)database;
    (void)reason;
    return 0;
}
