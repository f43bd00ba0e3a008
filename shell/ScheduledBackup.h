#pragma once
// The one entry into the database backup that the launcher runs on its own: when the timed
// backup falls due, and when a changed database is closed. The launcher decides when; this
// function does the copy.

class CDatabase;

enum class BackupReason {
    Timed,      // the refresh timer's timed backup: to the hard disk, without asking
    Closing,    // closing a changed database from the launcher or at exit: asks where
    SessionEnd  // the desktop session ends (SIGTERM/SIGHUP): nobody is there to ask
};

// 1 when a backup was made, else 0.
int RunScheduledBackup(CDatabase* database, BackupReason reason);
