#include "install/InstallCopy.h"

#include "common/DisketteSet.h"
#include "common/ListHelpers.h"
#include "common/QuestionBox.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/Path.h"

int InstallCopyFileWithRetry(const std::string& source, const std::string& target,
                             int failIfExists)
{
    bool refuseExisting = failIfExists != 0;
    for (;;) {
        if (host::CopyFile(source, target, refuseExisting))
            return 0;
        std::string question;
        switch (host::LastFileError()) {
        case host::FileError::Exists:
            if (GetResponse(Format("File %s exists.\n Overwrite?", target.c_str()), MB_YESNO) !=
                IDYES)
                return 1;
            refuseExisting = false;
            continue;
        case host::FileError::DiskFull:
            question = Format("Disk is full in copying %s to %s.\nTry again?", source.c_str(),
                              target.c_str());
            break;
        default:
            question = Format("Error in copying %s to %s.\nTry again?", source.c_str(),
                              target.c_str());
            break;
        }
        if (GetResponse(question, MB_YESNO) != IDYES)
            return 1;
    }
}

int CopyOrRecombineFile(const std::string& source, const std::string& target, int failIfExists)
{
    const char drive = host::DriveLetterOf(source);
    if (drive == 0 || FileExists(GetRecombineInfoPath(drive)) == 0)
        return InstallCopyFileWithRetry(source, target, failIfExists);
    const auto insertPrompt = [](uint32_t offset, uint32_t size, uint32_t total) {
        return Format("Insert next  diskette and click OK.\n[Technical info: Current offset %u, "
                      "size of last block %u, file size %u]",
                      offset, size, total);
    };
    return RecombineDisketteSet(source, target, insertPrompt) == 0 ? 0 : 1;
}
