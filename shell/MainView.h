#pragma once
// CMainView: the launcher that fills the main frame while no list view is shown. Sixteen command
// buttons in two columns, the version line, and a box in which a person's code can be typed. It
// owns the program's database object, opens and closes the database, drives the refresh timer
// (timed backup, then lock-and-refresh) and handles the commands of the main menu (menu 104).

#include "platform/ui/View.h"
#include "shell/AppDatabaseUi.h"
#include "shell/LauncherButton.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class CDatabase;
class CMainFrame;
namespace host { class File; }

class CMainView : public ui::View {
public:
    static constexpr int kButtonCount = 16;
    static constexpr int kFirstButtonId = 180;
    static constexpr uint32_t kRefreshTimer = 1;

    CMainView();
    ~CMainView() override;

    // Makes the window and its buttons in the frame (child id 59648).
    bool CreateLauncher(CMainFrame* frame);

    void OnOpenView(const std::string& path);
    void OnDatabaseOpen(const std::string& path, int isNew);
    void OnDatabaseClose();
    void OnCloseDatabase();
    // The launcher's part of ending the program; `ask` false at the end of the desktop session.
    void OnCloseView(bool ask = true);
    // 0 to abort closing, 1 to go on.
    int ConfirmCloseAsLockManager();
    void SelectButton(int row, int column);
    // The action of button k (with its access check); the exit button asks first.
    void RunButton(int k);
    // A key on the launcher; `ctrl` with Ctrl held (the frame's accelerators pass those).
    bool HandleKey(int vk, bool ctrl);
    void CloseRawDatabaseFile();
    // Enabling of a main-menu command (the update handler of every command of menu 104).
    void UpdateCommand(ui::CmdUI& cmd);

    CDatabase* GetDatabase() const { return m_pDB.get(); }
    CLauncherButton& Button(int k);  // by button number k = column * 8 + row
    int GetSelectedRow() const { return m_nSelectedRow; }
    int GetSelectedColumn() const { return m_nSelectedColumn; }
    const std::string& GetTypedCode() const { return m_sTypedCode; }
    uint32_t GetTimerId() const { return m_nTimerId; }
    // The frame's title as the last paint set it.
    std::string TitleText() const;
    // The version line at the bottom.
    static std::string VersionLine();
    // A path as shown to the user: folders separated by "/".
    static std::string ShownPath(std::string path);

    // Seams into the database road: opening (1 on success), closing, whether this computer is
    // the lock manager, and the lock-and-refresh of a timer tick. Opening is unset (and the
    // open commands greyed) until the database can open a file.
    std::function<int(const std::string& path, int isNew)> m_fnOpenDatabase;
    std::function<void()> m_fnCloseDatabase;
    std::function<bool()> m_fnIsLockManager;
    std::function<void()> m_fnLockAndRefresh;
    // Asks for a database when Open has no path ("" for Cancel).
    std::function<std::string()> m_fnChooseUsersFile;

    // ---- Backup, archive and restore (LauncherBackupCommands.cpp) ----
    void BackupDatabase();
    // The backup itself; 1 when every copy was made (then the changed-since-backup flag is
    // cleared), 0 when it failed or was cancelled.
    int BackupDatabaseWithResult();
    void CreateArchive();
    void RecallArchive();
    void RestoreFromDiskette();
    void RestoreFromBackupFile();
    void RestoreFromChosenFile();
    int RestoreBackupFile(const std::string& source, const std::string& target, int reopen);
    void ChooseAndRestoreBackup(const std::string& root, const std::string& target);
    void RestoreDisketteBackup(const std::string& file, char drive, const std::string& target,
                               const std::string& databaseName);
    std::string ChooseUsersFile();
    void OnNewDatabase();
    // ---- Repair and maintenance (LauncherRepairCommands.cpp) ----
    // Asks for a database file and opens it raw into m_pRawDB; false when none was opened.
    bool OpenRawDatabaseFile(std::string& fileName);
    void RepairLinkedList();
    void AnalyzeAndReconstruct();
    void ChangeFormatVersion();
    void UnpackCompressedFile();
    void UnzipCompressedFile();
    // ---- Program backup to diskettes (ProgramBackup.cpp) ----
    void OnProgramBackup();
    // Runs a backup, restore, archive, repair or program-backup command; false for other ids.
    bool OnMaintenanceCommand(int id);
    // The database opened raw by the repair commands (not the program's open database).
    std::unique_ptr<CDatabase> m_pRawDB;

    // The main frame this launcher sits in; null outside one.
    CMainFrame* Frame() const;

    bool OnCommand(int id, int code) override;
    void OnTimer(uint32_t id) override;
    void OnPaint(ui::DC& dc) override;
    void OnSize(int cx, int cy) override;
    bool OnKeyDown(int vk) override;

private:
    // The program-wide user name and level become those of the database's current user.
    void TakeCurrentUser();
    void LayoutButtons(int cx, int cy);
    void LookUpTypedCode();
    // The person selection for students, then the sign-in of the one chosen (the typed code is
    // cleared).
    void SignInStudent();
    // Opens the weekly schedule grid (mode -1 everyone, -2 the classes) over the main frame.
    void OpenScheduleGrid(int32_t mode);
    // Opens the room grid ('D' a day, 'M' a week) over the main frame.
    void OpenRoomGrid(char mode);
    // Opens the report grid of a main-menu command.
    void OpenReportGrid(int id);
    void TypeKey(int vk);
    void RunTimedBackup();
    void LogDiagnosticData();
    void TemplateFiles();
    // 32931: the open-file dialog for an IIF file, shown in the spreadsheet grid.
    void ViewIifFile();
    void DefaultCategories();
    // Purges the items marked for deletion, on the lock manager's computer only, after asking.
    void ClearDeletedData();
    void TestLinkedList(bool repair);
    // 30007, 30015: the table reference test, without or with repair, in the report viewer.
    void TestTableReferences(bool repair);
    // 32924: a web page chosen by the user in an HTML frame.
    void WebPageView();
    bool RunCommand(int id);

    // Restore helpers (LauncherBackupCommands.cpp): the refusal while another copy has the
    // target open, the question before it is overwritten, and the launcher without a database.
    bool CheckRestoreTarget(const std::string& target, bool ask);
    void ShowClosedState();
    bool m_bRestoreConfirmed = false;  // the caller has asked before overwriting
    // What the open database and the raw one ask the user through.
    CAppDatabaseUi m_databaseUi{this};
    CAppDatabaseUi m_rawDatabaseUi;
    std::unique_ptr<CDatabase> m_pDB;
    uint32_t m_nTimerId = 0;
    host::File* m_pRawDatabaseFile = nullptr;
    CLauncherButton m_Buttons[kButtonCount];  // element row * 2 + column
    int m_nSelectedRow = 0;
    int m_nSelectedColumn = 0;
    std::string m_sTypedCode;
    uint64_t m_nLastTimedBackup = 0;
    std::string m_sTitle;
};
