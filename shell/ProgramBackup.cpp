#include "shell/ProgramBackup.h"

#include "common/DataPaths.h"
#include "common/Diagnostic.h"
#include "common/DisketteSet.h"
#include "common/FileCopy.h"
#include "common/Backup.h"
#include "common/ListHelpers.h"
#include "widgets/Prompts.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "widgets/ControlHelpers.h"
#include "platform/host/Drives.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "shell/MainView.h"

#include <optional>
#include <vector>

namespace {

bool SameFolder(const std::string& a, const std::string& b)
{
    return !a.empty() && !b.empty() && host::FolderExists(a) && host::FolderExists(b) && host::SameFile(a, b);
}

// The refresh hold of the program backup; the caller names differ as the command's do.
void HoldRefresh(bool on, const char* caller)
{
    IRefreshHold* hold = GetRefreshHold();
    if (!hold) return;
    if (on) hold->DisableRefreshOn(caller);
    else hold->DisableRefreshOff(caller);
}

}  // namespace

bool PrepareDiskette(char drive)
{
    const std::optional<host::DriveEntry> entry = host::Drives::Find(drive);
    if (!entry || entry->type != host::DriveType::Removable) {
        GetResponse(Format("Drive %c: is not a removable drive. Nothing was deleted.", drive), MB_OK);
        return false;
    }
    if (SameFolder(entry->folder, ProgramFolder) || SameFolder(entry->folder, DatabaseFolder)) {
        GetResponse(Format("Drive %c: holds the program or the database. Nothing was deleted.", drive), MB_OK);
        return false;
    }
    std::vector<std::string> names, dates;
    ListFilesWithDates(Format("%c:\\*.*", drive), names, dates, 0);
    if (names.empty()) return true;
    std::string list;
    for (const std::string& n : names) list += n + "\n";
    if (GetResponse(Format("The diskette in drive %c: holds these files:\n%sDelete them to make room for the "
                           "backup?",
                           drive, list.c_str()),
                    MB_YESNO) != IDYES)
        return false;
    return ClearDiskette(drive) == 1;
}

int RunProgramBackup(const std::string& programPath)
{
    const std::string installer = Format("%s\\%s", ProgramFolder.c_str(), kInstallerFileName);
    if (!host::FileExists(installer)) {
        GetResponse(Format("Missing required file %s.", installer.c_str()), MB_OK);
        return 0;
    }
    if (GetResponse("This operation may require more than one diskette. You should label the diskettes with "
                    "numbers\nin the order they are created (e.g. labels like Disk1, Disk2, so that they can be "
                    "used in that\norder when you are reinstalling Dorvalquintex.\nContinue?",
                    MB_YESNO) != IDYES)
        return 0;
    HoldRefresh(true, "CMainView::OnProgramBackup");
    const std::string drive = PromptForString("Drive for copy", 1, "A", 'U');
    if (drive.empty()) {
        HoldRefresh(false, "CMainView::OnExchangeProgramDiskettes");
        return 0;
    }
    const char letter = drive[0];
    host::BeginWaitCursor();
    const std::string base = StripExtension(programPath);
    // The help files go in when the program has them.
    std::vector<std::string> files = {programPath};
    for (const char* pattern : {"%s.hlp", "%s.cnt"}) {
        const std::string help = Format(pattern, base.c_str());
        if (host::FileExists(help)) files.push_back(help);
    }
    const std::string zip = Format("%s.zip", base.c_str());
    bool ok = ZipFileList(zip, files, 1) == 0;
    if (ok) ok = PrepareDiskette(letter);
    if (ok) ok = CopyFileWithRetry(installer, Format("%c:%s", letter, kInstallerFileName), 0, 0) == kCopyDone;
    if (ok) ok = FileCopyToFloppies(zip, Format("%c:%s", letter, GetFileNamePart(zip).c_str()), 0, 0, 0) == 0;
    HoldRefresh(false, "CMainView::OnProgramBackup");
    host::EndWaitCursor();
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CMainView::OnProgramBackup to %c:, %s\n", letter, ok ? "done" : "failed");
    // The failures have been told in their own words; the closing advice follows success only.
    if (!ok) return 0;
    GetResponse("Now you can take diskette(s) to another computer, insert diskette 1 (Install program),\nrun "
                "the InstallDorvalquintex program, and follow the on-screen instructions.\nBe sure to insert "
                "the diskettes in sequence.",
                MB_OK);
    return 1;
}

void CMainView::OnProgramBackup() { RunProgramBackup(GetProgramExePath()); }
