#include "install/ZipExtraction.h"

#include "archive/ZipApi.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"

#include <vector>

namespace {

constexpr uint32_t kFolderAttribute = 0x10;

// Where an item goes, or "" when its name cannot be placed safely in the folder.
std::string ItemTarget(const ZIP_ITEM_INFO& info, const std::string& targetFolder)
{
    const std::string name = info.name;
    if (info.attributes & kFolderAttribute)
        return IsSafeItemName(name) ? host::JoinPath(targetFolder, name) : std::string();
    const std::string last = GetFileNamePart(name);
    if (last.empty() || last == "." || last == ".." || last.find(':') != std::string::npos)
        return std::string();
    return host::JoinPath(targetFolder, last);
}

}  // namespace

int UnzipArchive(const std::string& zipPath, const std::string& targetFolder)
{
    host::SetCurrentFolder(targetFolder);
    HZIP zip = OpenUnzipFile(zipPath);
    if (zip == nullptr) {
        GetResponse(Format("Error in unZIPping %s", zipPath.c_str()), MB_OK);
        return 1;
    }
    ZIP_ITEM_INFO info;
    int count = 0;
    if (GetUnzipItem(zip, -1, &info) == 0)
        count = info.index;
    std::vector<std::string> failed;
    for (int i = 0; i < count; ++i) {
        if (GetUnzipItem(zip, i, &info) != 0) {
            failed.push_back(Format("item %d", i + 1));
            continue;
        }
        const std::string target = ItemTarget(info, targetFolder);
        if (target.empty() || UnzipItemToFile(zip, i, target) != 0)
            failed.push_back(info.name);
    }
    CloseUnzip(zip);
    if (failed.empty())
        return 0;
    std::string names;
    for (const std::string& name : failed)
        names += "\n" + name;
    GetResponse(Format("Error in unZIPping %s\nThese items were not extracted:%s",
                       zipPath.c_str(), names.c_str()),
                MB_OK);
    return 2;
}
