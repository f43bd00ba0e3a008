// CDatabase: the sign-in and self check-in entry points.

#include "database/Database.h"

#include "common/QuestionBox.h"

void CDatabase::RunSignIn(CPerson* person)
{
    if (person == nullptr) return;
    Ui().RunSignIn(*this, *person);
}

int CDatabase::RunSelfCheckIn(CPerson* person)
{
    if (person == nullptr) return 0;
    std::string notice;
    if (Ui().RunSelfCheckIn(*this, *person, notice) == 0) return 0;
    if (!notice.empty()) GetResponse(notice, MB_OK);
    return 1;
}

void CDatabase::ShowAutoCheckInDialog()
{
    Ui().ShowAutoCheckIn(*this);
}
