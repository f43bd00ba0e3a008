// The category dump of the open database into the program folder.

#include "common/DataPaths.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "common/TextFile.h"
#include "database/Database.h"
#include "platform/host/Format.h"

void CDatabase::DumpDatabase()
{
    const std::string path = Format("%s\\%s", ProgramFolder.c_str(), "Dorvalquintex.dmp");
    std::FILE* file = OpenTextFile(path, "wb");
    if (file == nullptr) {
        GetResponse("Cannot save dump file", MB_OK);
        return;
    }
    const std::vector<stIndex>& index = m_aIndex[TABLE_CATEGORY];
    WriteText(Format("%i CATEGORIES\n", static_cast<int>(index.size())), file);
    for (const stIndex& e : index) WriteText(static_cast<const CCategory*>(e.pItem)->GetDumpLine(), file);
    std::fclose(file);
}
