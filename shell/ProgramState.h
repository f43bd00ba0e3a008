#pragma once
// The program-wide state that the shell keeps for the whole program, besides what common/ keeps
// (ProgramFolder, DatabaseFolder, DatabaseOpen, UserAccessLevel, WordProcessorPath,
// DiagnosticLevel) and the settings (AppSettings()). Main thread only.

#include "common/DateTime.h"
#include "database/StudioStrings.h"

#include <cstdint>
#include <string>
#include <vector>

class CMainFrame;

// The default label format the mail-list and report code start from.
struct stLabelFormat {
    int32_t nKey = -1;
    std::string sFontName = "Courier New";  // at most 32 characters
    int32_t nValue = 90;
    float fValue = 1.0f;
    uint8_t cReserved[6] = {0, 0, 0, 0, 0, 0};
    int32_t nValue2 = 0;
    std::vector<std::string> aItems;        // created empty
};

extern char OsKind;                               // 'N', 'W', or 0 when unknown
extern CMainFrame* MainFrame;                     // the one main frame, null outside its life
extern bool SocketsFailed;                        // the network could not be started
extern DATE BaseDate;                             // 1 January 1996, 00:00
extern std::string CurrentDatabasePath;           // the open (or last) database, saved as LAST
extern std::vector<std::string> RecentDatabases;  // newest first, at most 10
extern std::string UserName;                      // the logged-on user; "None" when none
extern stLabelFormat DefaultLabelFormat;
extern stStudioStrings StudioStrings;             // the Configuration table's values

// Back to the values before start-up (for tests and for a fresh start).
void ResetProgramState();
