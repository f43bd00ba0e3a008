#pragma once
// The checks the launcher's commands pass before they run. Each tells the user why it refuses;
// the caller then stops without a further message.

#include <cstdint>

// Program-wide state the guards read; the application and the log-on keep them.
extern int DatabaseOpen;           // 1 while a database is open
extern uint8_t UserAccessLevel;    // the logged-on user's level, 1 to 9 (or 10)
extern int ReportViewDisplayed;    // 1 while a report view is open

// 1 when a database is open and the user's level is at least `required`; else 0 after "No
// database is open." or "Access denied to this user.".
int CheckDatabaseAccess(uint8_t required);
// 1 after telling the user that a report view is already open; 0 when none is.
int IsReportViewDisplayed();
