#include "studio/ScheduleConflict.h"

#include "common/QuestionBox.h"
#include "database/Database.h"
#include "platform/host/Format.h"

bool ConfirmScheduleConflict(CDatabase* database, int32_t personCode, DATE dateTime)
{
    const std::string when = FormatDateTime(dateTime, "%A %B %d, %Y, %I:%M%p");
    std::string name;
    if (database != nullptr) database->GetPersonName(name, static_cast<uint32_t>(personCode), 0);
    else name = Format("Person code %u", static_cast<uint32_t>(personCode));
    return GetResponse(Format("Apparent conflict for %s at %s.\nAllow it?", name.c_str(), when.c_str()), MB_YESNO) ==
           IDYES;
}
