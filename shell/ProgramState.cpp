#include "shell/ProgramState.h"

#include "widgets/CommandGuards.h"
#include "common/DataPaths.h"

char OsKind = 0;
CMainFrame* MainFrame = nullptr;
bool SocketsFailed = false;
DATE BaseDate = MakeDate(1996, 1, 1, 0, 0);
std::string CurrentDatabasePath;
std::vector<std::string> RecentDatabases;
std::string UserName = "None";
stLabelFormat DefaultLabelFormat;
stStudioStrings StudioStrings;

void ResetProgramState()
{
    OsKind = 0;
    SocketsFailed = false;
    BaseDate = MakeDate(1996, 1, 1, 0, 0);
    CurrentDatabasePath.clear();
    RecentDatabases.clear();
    UserName = "None";
    DefaultLabelFormat = stLabelFormat();
    StudioStrings = stStudioStrings();
    DatabaseOpen = 0;
    UserAccessLevel = 0;
    DatabaseFolder.clear();
    ProgramFolder.clear();
}
