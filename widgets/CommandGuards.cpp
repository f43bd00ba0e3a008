#include "widgets/CommandGuards.h"

#include "common/QuestionBox.h"

int DatabaseOpen = 0;
uint8_t UserAccessLevel = 0;
int ReportViewDisplayed = 0;

int CheckDatabaseAccess(uint8_t required)
{
    if (DatabaseOpen == 0) {
        GetResponse("No database is open.", MB_OK);
        return 0;
    }
    if (UserAccessLevel < required) {
        GetResponse("Access denied to this user.", MB_OK);
        return 0;
    }
    return 1;
}

int IsReportViewDisplayed()
{
    if (ReportViewDisplayed == 1) {
        GetResponse("You already have a report view displayed. Please exit it before doing "
                    "another report.", MB_OK);
        return 1;
    }
    return 0;
}
