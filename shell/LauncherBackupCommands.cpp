// The launcher's backup, archive and restore commands, and the new-database command.
//
// Every backup packs a snapshot of the database file read under the database lock, so another
// desk's save is never caught half way; a new generation is complete before the older ones move.
// Every restore writes beside its target and renames over it, refuses while another copy has the
// target open, and asks before it overwrites a database.

#include "shell/MainView.h"

#include "common/Backup.h"
#include "widgets/CommandGuards.h"
#include "widgets/ControlHelpers.h"
#include "common/DataPaths.h"
#include "common/DateTime.h"
#include "common/Diagnostic.h"
#include "common/DisketteSet.h"
#include "common/FileCopy.h"
#include "common/ListHelpers.h"
#include "widgets/Prompts.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "database/SettingsRecords.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Drives.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "shell/ProgramBackup.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"

#include <algorithm>
#include <cctype>

namespace {

const char* const kOtherUsersOnLine =
    "There are other users on-line.\nCan only restore when there is only one user on-line.";
const char* const kOverwriteCurrent = "Are you sure? This will overwrite current database.";

std::string Upper(std::string s)
{
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

bool EndsWithSeparator(const std::string& s) { return !s.empty() && (s.back() == '\\' || s.back() == '/'); }

// The root's text after its last separator.
std::string DatabaseNameOf(const std::string& root)
{
    const size_t at = root.find_last_of("\\/");
    return at == std::string::npos ? root : root.substr(at + 1);
}

// The backup kind of a file, from its extension only: 'B', 'P' or 'Z' for ".BK?", ".PK?" and
// ".ZP?" with a generation letter; 0 for anything else.
char BackupKindOf(const std::string& path)
{
    const std::string name = GetFileNamePart(path);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) return 0;
    const std::string ext = Upper(name.substr(dot + 1));
    if (ext.size() != 3 || ext[2] < 'A' || ext[2] > 'Z') return 0;
    if (ext.compare(0, 2, "BK") == 0) return 'B';
    if (ext.compare(0, 2, "PK") == 0) return 'P';
    if (ext.compare(0, 2, "ZP") == 0) return 'Z';
    return 0;
}

// Whether some copy (this one included) holds the file's presence range.
bool IsFileOpenByAnyCopy(const std::string& path)
{
    host::File probe;
    if (!probe.OpenExisting(path)) return false;
    const bool free = probe.Lock(CDbEngine::kPresenceLockOffset, CDbEngine::kPresenceLockLength);
    if (free) probe.Unlock(CDbEngine::kPresenceLockOffset, CDbEngine::kPresenceLockLength);
    probe.Close();
    return !free;
}

// Holds the open database's timed refresh for the life of the object.
class CRefreshHold {
public:
    explicit CRefreshHold(const char* caller) : caller_(caller), hold_(GetRefreshHold())
    {
        if (hold_) hold_->DisableRefreshOn(caller_);
    }
    ~CRefreshHold()
    {
        if (hold_) hold_->DisableRefreshOff(caller_);
    }
    CRefreshHold(const CRefreshHold&) = delete;
    CRefreshHold& operator=(const CRefreshHold&) = delete;

private:
    const char* caller_;
    IRefreshHold* hold_;
};

}  // namespace

// ---- Backup ------------------------------------------------------------------------------------

void CMainView::BackupDatabase() { BackupDatabaseWithResult(); }

int CMainView::BackupDatabaseWithResult()
{
    // Kept as typed: folder names are case-sensitive here.
    const std::string typed = PromptForString("Path for backup", 60, AppSettings().m_sBackupDrive, 0);
    if (typed.empty()) return 0;
    std::string answer = typed;
    if (!EndsWithSeparator(answer)) answer += "\\";
    CRefreshHold hold("CMainView::BackupDatabase");

    const bool driveRoot = answer.size() == 3 && std::isalpha(static_cast<unsigned char>(answer[0])) &&
                           answer[1] == ':' && answer[2] == '\\';
    if (driveRoot) answer[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(answer[0])));
    // Diskette mode only for a removable drive: a bare root of a fixed drive is a folder.
    const bool disketteMode = driveRoot && host::Drives::TypeOf(answer) == host::DriveType::Removable;

    std::string root = CurrentDatabasePath;
    if (root.empty() && m_pDB) root = m_pDB->GetDatabaseName();
    if (root.empty()) {
        GetResponse("No database is open.", MB_OK);
        return 0;
    }
    const std::string databaseFile = root + ".dbs";
    const std::string usersFile = root + ".rgs";
    const std::string name = DatabaseNameOf(root);

    // The copy that is packed: in the program folder when the database is on another drive
    // (kept there), else beside the database (removed afterwards).
    const bool otherDrive = !ProgramFolder.empty() &&
                            std::toupper(static_cast<unsigned char>(ProgramFolder[0])) !=
                                std::toupper(static_cast<unsigned char>(root[0]));
    const std::string copy = otherDrive ? Format("%s\\%s.dbm", ProgramFolder.c_str(), name.c_str()) : root + ".dbm";
    const bool openHere = m_pDB && m_pDB->IsOpen();
    // A copy of the file as it lies is whole only while no other copy of the program can write it.
    if (!openHere && IsFileOpenByAnyCopy(databaseFile)) {
        GetResponse(Format("The database %s is open on another computer.\nOpen it here to back it up.", root.c_str()),
                    MB_OK);
        return 0;
    }
    bool ok = openHere ? m_pDB->SnapshotDatabaseFile(copy) : CopyFileWithRetry(databaseFile, copy, 0, 0) == kCopyDone;

    // The new zip is whole before the generations move.
    const std::string zipBackup = root + GetBackupExtension('Z', 0);
    const std::string fresh = root + ".backup.tmp";
    if (ok) ok = ZipOneFile(copy, fresh, 1) == 0;
    if (!otherDrive) host::DeleteFile(copy);
    if (ok) {
        const int generations = m_pDB ? std::max(1, m_pDB->m_Parameters.GetInt(param::kZipBackups)) : 1;
        RotateGenerations(root, 'Z', generations);
        ok = host::ReplaceFile(fresh, zipBackup);
        if (!ok) GetResponse(Format("Error in saving backup file %s.", zipBackup.c_str()), MB_OK);
    }
    host::DeleteFile(fresh);

    const std::string usersTarget = Format("%s%s.rgs", answer.c_str(), name.c_str());
    const std::string zipTarget = Format("%s%s%s", answer.c_str(), name.c_str(), ".ZPA");
    if (ok && disketteMode) {
        ok = PrepareDiskette(answer[0]);
        if (ok && host::FileExists(usersFile)) ok = CopyFileWithRetry(usersFile, usersTarget, 0, 0) == kCopyDone;
        if (ok) ok = FileCopyToFloppies(zipBackup, zipTarget, 0, 0, 0) == 0;
    } else if (ok) {
        if (host::FileExists(usersFile) && !host::SameFile(usersFile, usersTarget))
            ok = CopyFileWithRetry(usersFile, usersTarget, 0, 0) == kCopyDone;
        if (ok && !host::SameFile(zipBackup, zipTarget))
            ok = CopyFileWithRetry(zipBackup, zipTarget, 0, 0) == kCopyDone;
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CMainView::BackupDatabase to %s, %s\n", answer.c_str(), ok ? "done" : "failed");
    if (!ok) return 0;
    // Only a backup that is whole ends the need for one; its path is offered next time.
    if (m_pDB) m_pDB->m_bDatabaseChanged = false;
    AppSettings().m_sBackupDrive = typed;
    GetResponse(Format("Backup of %s written to %s", name.c_str(), ShownPath(zipTarget).c_str()), MB_OK);
    return 1;
}

// ---- Archive -----------------------------------------------------------------------------------

void CMainView::CreateArchive()
{
    const std::string root = CurrentDatabasePath;
    if (root.empty() || !m_pDB || !m_pDB->IsOpen()) return;
    const std::string usersFile = root + ".rgs";
    const std::string name = DatabaseNameOf(root);
    const std::string date = "_" + FormatDateTime(GetToday(0), "%m_%d_%Y");
    const std::string pak = Format("arc_%s%s.pak", name.c_str(), date.c_str());
    const std::string rgs = Format("arc_%s%s.rgs", name.c_str(), date.c_str());
    const std::string copy = root + ".dbm";
    CRefreshHold hold("CMainView::CreateArchive");
    bool ok = m_pDB->SnapshotDatabaseFile(copy);
    if (ok) ok = PackFile(copy, pak, "") == 0;
    host::DeleteFile(copy);
    if (!ok) return;
    if (host::FileExists(usersFile)) CopyFileWithRetry(usersFile, rgs, 0, 0);
    GetResponse(Format("Archive files %s, %s created", pak.c_str(), rgs.c_str()), MB_OK);
}

void CMainView::RecallArchive()
{
    std::vector<std::string> names, dates;
    ListFilesWithDates("arc_*.pak", names, dates, 0);
    if (names.empty()) {
        GetResponse("No archive files found", MB_OK);
        return;
    }
    CDialogMenu menu(m_pDB.get(), "Restore from", 'S', 'N', 0, 0, "");
    for (size_t i = 0; i < names.size(); ++i)
        menu.AddItem(static_cast<uint32_t>(i), Format("%s [%s]", names[i].c_str(), dates[i].c_str()));
    const int chosen = menu.DoModal();
    if (chosen < 0 || chosen >= static_cast<int>(names.size())) return;
    const std::string root = GetPathInCurrentFolder(StripExtension(names[chosen]));
    const std::string target = root + ".dbs";
    if (!CheckRestoreTarget(target, true)) return;
    if (UnpackFile(names[chosen], target) != 0) return;
    OnDatabaseOpen(root, 0);
}

// ---- Restore -----------------------------------------------------------------------------------

bool CMainView::CheckRestoreTarget(const std::string& target, bool ask)
{
    if (!host::FileExists(target)) return true;
    const bool ours = m_pDB && m_pDB->IsOpen() && host::SameFile(m_pDB->GetFileName(), target);
    const bool othersHaveIt = ours ? !m_pDB->IsOnlyUserOnFile() : IsFileOpenByAnyCopy(target);
    if (othersHaveIt) {
        GetResponse(Format("The database %s is open on another computer.\nIt can only be restored when no "
                           "other copy of the program has it open.",
                           target.c_str()),
                    MB_OK);
        return false;
    }
    if (!ask) return true;
    const std::string question =
        ours ? std::string(kOverwriteCurrent) : Format("Database file %s exists. Overwrite it?", target.c_str());
    return GetResponse(question, MB_YESNO) == IDYES;
}

void CMainView::ShowClosedState()
{
    if (m_pDB) m_pDB->SetDatabaseName("");
    OnDatabaseClose();
    UserName = "None";
    if (IsCreated()) Invalidate();
}

int CMainView::RestoreBackupFile(const std::string& source, const std::string& target, int reopen)
{
    const bool confirmed = m_bRestoreConfirmed;
    m_bRestoreConfirmed = false;
    const char kind = BackupKindOf(source);
    if (kind == 0 || !host::FileExists(source)) {
        GetResponse("Backup file not found.", MB_OK);
        return 0;
    }
    if (!CheckRestoreTarget(target, !confirmed)) return 0;
    const bool wasOpen = DatabaseOpen == 1 && m_pDB && m_pDB->IsOpen();
    if (wasOpen) OnDatabaseClose();

    // Restored beside the target, then put in its place in one step.
    const std::string temporary = target + ".restore.tmp";
    bool ok = false;
    switch (kind) {
    case 'B': ok = CopyFileWithRetry(source, temporary, 0, 0) == kCopyDone; break;
    case 'P': ok = UnpackFile(source, temporary) == 0; break;
    case 'Z': ok = UnzipToFile(source, temporary) == 0; break;
    }
    if (ok && !host::ReplaceFile(temporary, target)) {
        GetResponse(Format("Error in restoring database file %s.", target.c_str()), MB_OK);
        ok = false;
    }
    host::DeleteFile(temporary);
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CMainView::RestoreBackupFile %s to %s, %s\n", source.c_str(), target.c_str(),
                              ok ? "done" : "failed");
    if (reopen != 1) {
        if (ok) GetResponse("File restored OK.", MB_OK);
        return 0;
    }
    if (!ok) {
        ShowClosedState();
        return 0;
    }
    OnDatabaseOpen(StripExtension(target), 0);
    if (DatabaseOpen == 1) return 1;
    ShowClosedState();
    return 0;
}

void CMainView::ChooseAndRestoreBackup(const std::string& root, const std::string& target)
{
    std::vector<std::string> names, dates;
    for (const char* pattern : {"%s.BK*", "%s.PK*", "%s.ZP*"})
        ListFilesWithDates(Format(pattern, root.c_str()), names, dates, 1);
    if (names.empty()) {
        GetResponse("No backup files found", MB_OK);
        return;
    }
    CDialogMenu menu(m_pDB.get(), Format("Restore %s from:", root.c_str()), 'S', 'N', 0, 0, "");
    for (size_t i = 0; i < names.size(); ++i)
        menu.AddItem(static_cast<uint32_t>(i),
                     Format("%s [%s]", GetFileNamePart(names[i]).c_str(), dates[i].c_str()));
    const int chosen = menu.DoModal();
    if (chosen < 0 || chosen >= static_cast<int>(names.size())) return;
    m_bRestoreConfirmed = true;
    RestoreBackupFile(names[chosen], target, 1);
}

void CMainView::RestoreFromBackupFile()
{
    if (DatabaseOpen == 1 && m_pDB) {
        if (m_pDB->m_nUsersOnLine > 1) {
            GetResponse(kOtherUsersOnLine, MB_OK);
            return;
        }
        if (GetResponse(kOverwriteCurrent, MB_YESNO) != IDYES) return;
        ChooseAndRestoreBackup(CurrentDatabasePath, CurrentDatabasePath + ".dbs");
        return;
    }
    std::string path, title;
    if (!BrowseForFile("DORVALQUINTEX backup files", "*.zp*;*.pk*;*.bk*", path, title, 1) || path.empty())
        return;
    RestoreBackupFile(path, Format("%s.dbs", StripExtension(path).c_str()), 1);
}

void CMainView::RestoreFromChosenFile()
{
    std::string path, title;
    if (!BrowseForFile("DORVALQUINTEX backup files", "*.zp*;*.pk*;*.bk*", path, title, 1) || path.empty())
        return;
    RestoreBackupFile(path, Format("%s.dbs", StripExtension(path).c_str()), 0);
}

void CMainView::RestoreFromDiskette()
{
    if (m_pDB && m_pDB->m_nUsersOnLine > 1) {
        GetResponse(kOtherUsersOnLine, MB_OK);
        return;
    }
    const std::string drive = PromptForString("Drive for restore", 1, "A", 'U');
    if (drive.empty()) return;
    std::vector<std::string> names, dates;
    ListFilesWithDates(Format("%s:\\*.PKA", drive.c_str()), names, dates, 0);
    ListFilesWithDates(Format("%s:\\*.ZPA", drive.c_str()), names, dates, 0);
    if (names.empty()) {
        GetResponse("No backup (ZPA, PKA) files found.", MB_OK);
        return;
    }
    const std::string file = names[0];
    std::string target, databaseName;
    const bool open = DatabaseOpen == 1 && m_pDB && m_pDB->IsOpen();
    if (open) {
        if (GetResponse(kOverwriteCurrent, MB_YESNO) != IDYES) return;
        target = CurrentDatabasePath + ".dbs";
        databaseName = DatabaseNameOf(CurrentDatabasePath);
    } else {
        databaseName = StripExtension(file);
        const std::string path = PromptForString("Path to new file (e.g. c:\\Dorvalquintex)", 60, "c:\\Dorvalquintex", 0);
        if (path.empty()) return;
        target = EndsWithSeparator(path) ? Format("%s%s.dbs", path.c_str(), databaseName.c_str())
                                         : Format("%s\\%s.dbs", path.c_str(), databaseName.c_str());
    }
    m_bRestoreConfirmed = open;
    RestoreDisketteBackup(file, drive[0], target, databaseName);
    m_bRestoreConfirmed = false;
}

void CMainView::RestoreDisketteBackup(const std::string& file, char drive, const std::string& target,
                                      const std::string& databaseName)
{
    const bool confirmed = m_bRestoreConfirmed;
    m_bRestoreConfirmed = false;
    const char kind = BackupKindOf(file);
    if (kind != 'P' && kind != 'Z') {
        GetResponse("Backup file not found.", MB_OK);
        return;
    }
    // Nothing is copied over the target's users file before the target may be restored.
    if (!CheckRestoreTarget(target, !confirmed)) return;
    const std::string local =
        Format("%s\\%s%s", ProgramFolder.c_str(), databaseName.c_str(), kind == 'P' ? ".PKA" : ".ZPA");
    // The users file is on the set's first diskette, in the drive now; it is staged and goes
    // beside the target once the set has been read whole.
    const std::string disketteUsers = Format("%s:%s.rgs", std::string(1, drive).c_str(), databaseName.c_str());
    const std::string staged = local + ".rgs.tmp";
    bool users = false;
    if (host::FileExists(disketteUsers) &&
        GetResponse("Copy registration file from diskette?", MB_YESNO) == IDYES)
        users = CopyFileWithRetry(disketteUsers, staged, 0, 0) == kCopyDone;
    if (FileCopyFromFloppies(Format("%c:%s", drive, file.c_str()), local, 0) != 0) {
        host::DeleteFile(staged);
        return;
    }
    if (users && !host::ReplaceFile(staged, StripExtension(target) + ".rgs")) {
        host::DeleteFile(staged);
        GetResponse(Format("Error in copying the registration file to %s.rgs.", StripExtension(target).c_str()),
                    MB_OK);
    }
    m_bRestoreConfirmed = true;
    RestoreBackupFile(local, target, 1);
}

// ---- Users file and new database ---------------------------------------------------------------

std::string CMainView::ChooseUsersFile()
{
    std::string path, title;
    if (!BrowseForFile("Dorvalquintex registration files", "*.rgs;*.reg", path, title, 1) || path.empty())
        return std::string();
    const std::string root = StripExtension(path);
    const std::string name = GetFileNamePart(path);
    const size_t dot = name.rfind('.');
    // An old-style users file takes the current extension, unless that would replace one.
    if (dot != std::string::npos && Upper(name.substr(dot)) == ".REG" && !host::FileExists(root + ".rgs"))
        host::RenameFile(path, root + ".rgs");
    return root;
}

void CMainView::OnNewDatabase()
{
    const std::string answer = PromptForString("Root name (no extension)", 20, "", 0);
    if (answer.empty()) return;
    const bool hasFolder = answer.find_first_of("\\/", 1) != std::string::npos;
    const std::string root =
        hasFolder ? StripExtension(answer) : Format("%s\\%s", ProgramFolder.c_str(), StripExtension(answer).c_str());
    // A new database never replaces one that exists.
    if (host::FileExists(root + ".dbs") || host::FileExists(root + ".rgs")) {
        GetResponse(Format("A database named %s already exists.\nChoose another name, or open it with "
                           "File, Open.",
                           ShownPath(root).c_str()),
                    MB_OK);
        return;
    }
    OnDatabaseOpen(root, 1);
}

// ---- Command dispatch --------------------------------------------------------------------------

bool CMainView::OnMaintenanceCommand(int id)
{
    switch (id) {
    case 30000: BackupDatabase(); return true;
    case 30001: RestoreFromDiskette(); return true;
    case 30014: RestoreFromBackupFile(); return true;
    case 30090: CreateArchive(); return true;
    case 30092: RecallArchive(); return true;
    case 33240: RestoreFromChosenFile(); return true;
    case 57600: OnNewDatabase(); return true;
    case 33228: RepairLinkedList(); return true;
    case 33230: AnalyzeAndReconstruct(); return true;
    case 33232: ChangeFormatVersion(); return true;
    case 33223: UnpackCompressedFile(); return true;
    case 32939: UnzipCompressedFile(); return true;
    case 32942: OnProgramBackup(); return true;
    default: return false;
    }
}
