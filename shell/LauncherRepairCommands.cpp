// The launcher's commands that work on a database file directly: the linked-list repair, the
// analysis with its header searches and the rebuild, the change of the format version word, and
// the unpacking of a packed or zipped file the user names.
//
// A file is changed only while no other copy has it open and no other user holds its database
// lock, and only after the backup the user asked for has been made.

#include "shell/MainView.h"
#include "platform/ui/Application.h"
#include "reports/ReportFrame.h"
#include "reports/ReportsRTF.h"

#include "common/Backup.h"
#include "widgets/CommandGuards.h"
#include "widgets/ControlHelpers.h"
#include "common/DataPaths.h"
#include "common/Diagnostic.h"
#include "widgets/Prompts.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"

#include <cstdlib>

namespace {

const char* const kBackupNote = "NOTE: Backup made to %s before repair attempted.";

struct stSearchMethod {
    uint32_t id;
    const char* text;
    const char* title;  // report-only methods
    char letter;
};
const stSearchMethod kSearchMethods[] = {
    {0, "Combined header search methods, analyze and report", nullptr, 0},
    {1, "Forward linked list search, report errors", "SEARCH FOR HEADERS BY FORWARD LINKS ONLY", 'F'},
    {2, "Backward linked list search, report errors", "SEARCH FOR HEADERS BY BACKWARD LINKS ONLY", 'B'},
    {3, "Search for header delimiters, report errors", "SEARCH FOR HEADERS BY DELIMITERS ONLY", 'D'},
    {4, "Combined header search methods, report errors", "SEARCH FOR HEADERS BY COMBINED METHODS", 'a'},
    {5, "Forward linked list search, reconstruct and exit analysis", nullptr, 'F'},
    {6, "Backward linked list search, reconstruct and exit analysis", nullptr, 'B'},
    {7, "Search for header delimiters, reconstruct and exit analysis", nullptr, 'D'},
    {8, "Combined search for headers, reconstruct and exit analysis", nullptr, 'a'},
};

// The lines in the rich-text report viewer.
void ShowReport(const std::string&, const std::vector<std::string>& lines)
{
    CReportsRTF report(nullptr, 1, lines);
}

// The lines in a report frame, on the database's formats; returns once the frame is closed.
void ShowReportFrame(CDatabase& db, const std::vector<std::string>& lines)
{
    IReportFrame* frame = NewReportFrame();
    if (!frame) return;
    frame->SetView(&db, 0, 0, 1, lines, 0);
    if (auto* window = dynamic_cast<ui::Window*>(frame))
        ui::Application::RunModalWindow(*window, [window] { return ReportViewDisplayed == 0 || !window->IsCreated(); });
}

// The refusal of a file that another copy has open or whose database lock another user holds.
bool RefuseWhenInUse(CDatabase& db)
{
    if (db.IsDatabaseLocked(2) != 0) {
        GetResponse("The database is locked by another user.\nThe file was not changed.", MB_OK);
        return true;
    }
    if (!db.IsOnlyUserOnFile()) {
        GetResponse("The database is open on another computer.\nClose it there first; the file was not "
                    "changed.",
                    MB_OK);
        return true;
    }
    return false;
}

// Offers the repair backup and makes it: 1 made (its name in `name`), 0 the user wants none,
// -1 wanted but not made (the repair must not go on).
int OfferRepairBackup(CDatabase& db, const std::string& fileName, std::string& name)
{
    name.clear();
    if (GetResponse("You have the option of making a backup file before attempting to make the repair.\n"
                    "This is not necessary if you just restored  from a backup file, since that backup "
                    "file still exists.\nDo you want to make a backup file?",
                    MB_YESNO) != IDYES)
        return 0;
    db.SetDatabaseName(StripExtension(fileName));
    db.MakeRepairBackup(name, 0, 1);
    if (!name.empty()) return 1;
    GetResponse("The backup file could not be made.\nThe file was not changed.", MB_OK);
    return -1;
}

}  // namespace

bool CMainView::OpenRawDatabaseFile(std::string& fileName)
{
    std::string path, title;
    if (!BrowseForFile("Dorvalquintex database files", "*.DBS", path, title, 1) || path.empty()) return false;
    if (!host::FileExists(path)) return false;
    m_pRawDB = std::make_unique<CDatabase>();
    m_pRawDB->SetUi(&m_rawDatabaseUi);
    if (!m_pRawDB->OpenRawFile(path)) {
        GetResponse(Format("Can't open %s, error %s", path.c_str(), host::LastFileErrorText().c_str()), MB_OK);
        m_pRawDB.reset();
        return false;
    }
    fileName = path;
    return true;
}

void CMainView::RepairLinkedList()
{
    std::string fileName;
    if (!OpenRawDatabaseFile(fileName)) return;
    CDatabase& db = *m_pRawDB;
    if (!RefuseWhenInUse(db)) {
        std::string backup;
        if (OfferRepairBackup(db, fileName, backup) >= 0) {
            std::vector<std::string> lines;
            if (!backup.empty()) lines.push_back(Format(kBackupNote, backup.c_str()));
            db.TestAndRepairHeaders('F', 1, lines);
            ShowReport("Repair linked list", lines);
        }
    }
    m_pRawDB->CloseRawFile();
    m_pRawDB.reset();
}

void CMainView::AnalyzeAndReconstruct()
{
    if (DatabaseOpen == 1) {
        GetResponse("Please close database before these operations.", MB_OK);
        return;
    }
    std::string fileName;
    if (!OpenRawDatabaseFile(fileName)) return;
    CDatabase& db = *m_pRawDB;
    if (db.IsDatabaseLocked(2) != 0) {
        GetResponse("The database is locked by another user.\nThe file was not changed.", MB_OK);
        m_pRawDB->CloseRawFile();
        m_pRawDB.reset();
        return;
    }
    for (;;) {
        CDialogMenu menu(&db, "Select type of search for headers", 'S', 'N', 0, 0, "");
        for (const stSearchMethod& m : kSearchMethods) menu.AddItem(m.id, m.text);
        const int chosen = menu.DoModal();
        if (chosen < 0 || chosen > 8) break;
        const stSearchMethod& m = kSearchMethods[chosen];
        std::vector<std::string> lines;
        if (chosen == 0) {
            db.AnalyzeHeaderSearches(lines);
            ShowReport(m.text, lines);
            continue;
        }
        if (chosen <= 4) {
            lines.push_back(m.title);
            db.ReadAndRewriteDbUsingHeaderLocs(m.letter, 0, lines);
            db.TestAndRepairHeaders(m.letter, 0, lines);
            db.SetDefaultFormats();
            ShowReportFrame(db, lines);
            db.ClearFormat();
            continue;
        }
        if (RefuseWhenInUse(db)) continue;
        std::string backup;
        if (OfferRepairBackup(db, fileName, backup) < 0) continue;
        if (db.ReadAndRewriteDbUsingHeaderLocs(m.letter, 1, lines) == 1) {
            if (!backup.empty()) lines.push_back(Format(kBackupNote, backup.c_str()));
            lines.push_back(Format("Database file %s rebuilt.", fileName.c_str()));
            ShowReport(m.text, lines);
            break;
        }
    }
    m_pRawDB->CloseRawFile();
    m_pRawDB.reset();
}

void CMainView::ChangeFormatVersion()
{
    std::string fileName;
    if (!OpenRawDatabaseFile(fileName)) return;
    CDatabase& db = *m_pRawDB;
    const std::string answer = PromptForString("Format version", 2, Format("%i", 0), 0);
    if (!answer.empty() && !RefuseWhenInUse(db)) {
        char* end = nullptr;
        const long value = std::strtol(answer.c_str(), &end, 10);
        if (end == answer.c_str() || *end != '\0') {
            GetResponse(Format("Format version %s is not a number.\nThe file was not changed.", answer.c_str()),
                        MB_OK);
        } else {
            const uint32_t word = static_cast<uint32_t>(value);
            const uint8_t bytes[4] = {static_cast<uint8_t>(word), static_cast<uint8_t>(word >> 8),
                                      static_cast<uint8_t>(word >> 16), static_cast<uint8_t>(word >> 24)};
            if (db.WriteDbBlock(DB_VERSION_LOC, bytes, 4, true) != 4 || !db.GetFile().Flush())
                GetResponse(Format("Can't write to file %s.", fileName.c_str()), MB_OK);
        }
    }
    m_pRawDB->CloseRawFile();
    m_pRawDB.reset();
}

void CMainView::UnpackCompressedFile()
{
    std::string path, title;
    if (!BrowseForFile("All files", "*.*", path, title, 1) || path.empty()) return;
    const std::string output = PromptForString("Output file name", 60, "", 0);
    if (output.empty()) return;
    if (host::SameFile(path, output)) {
        GetResponse("The output file must not be the file to unpack.", MB_OK);
        return;
    }
    if (host::FileExists(output) &&
        GetResponse(Format("File %s exists. Overwrite it?", output.c_str()), MB_YESNO) != IDYES)
        return;
    UnpackFile(path, output);
}

void CMainView::UnzipCompressedFile()
{
    std::string path, title;
    if (!BrowseForFile("All files", "*.*", path, title, 1) || path.empty()) return;
    const std::string folder = PromptForString("Folder for saving files", 60, ProgramFolder, 0);
    if (folder.empty()) return;
    std::vector<std::string> names;
    UnzipFiles(path, folder, &names);
    if (names.empty()) {
        GetResponse("No files found.", MB_OK);
        return;
    }
    std::string text = "Unpacked files:\n";
    for (const std::string& n : names) text += n + "\n";
    GetResponse(text, MB_OK);
}
