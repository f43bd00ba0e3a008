#pragma once
// CMainFrame: the program's one top-level window. Its client area shows the launcher (CMainView,
// a member) or one of eight list views by number, each created on first use and kept; it swaps
// the menu bar with the view, owns the status bar with four panes of its own, routes commands to
// the launcher first, confirms the end of the program and receives the database's notices
// (message 0x404).

#include "views/ViewFrame.h"
#include "platform/ui/FrameWindow.h"
#include "shell/MainView.h"

class CDatabase;

#include <functional>
#include <string>
#include <vector>

class CMainFrame : public ui::FrameWindow, public IViewFrame {
public:
    static constexpr uint32_t kMainFrameMsg = 0x404;
    static constexpr int kLauncherId = 59648;
    static constexpr int kViewCount = 9;  // 0 launcher, 1-8 list views
    // Status panes and the status-pane command.
    static constexpr int kPaneUsers = 30115, kPaneRefresh = 30116, kPaneViewMode = 30117,
                         kPaneLine = 30118;
    static constexpr int kCmdStatusPanes = 30030;

    CMainFrame();
    ~CMainFrame() override;

    // Builds the frame, its launcher and its status bar, with menu 104. False after the message
    // of what failed.
    bool CreateMainFrame();

    // The menu resource shown with view n.
    static int MenuOfView(int n);

    // Views. OpenView shows view n (1-8): nothing when it is current; else the view is made on
    // first use with `make`, switched to, its menu loaded, and `handData` hands it the database;
    // `trace` is the opener's trace format, given the view's pointer.
    void OpenView(int n, const std::function<ui::View*()>& make,
                  const std::function<void(ui::View*)>& handData, const char* trace);
    void CreateView(int n);
    void SwitchView(int n);
    void UpdateView(int n);
    void ReturnToMainView() override;
    // The openers of the list views built so far: raw database (1), teachers (2), students (3),
    // interviews (8). The raw view owns its database when `owns` is 1.
    void DatabaseView(CDatabase* database, int owns);
    void TeacherView(CDatabase* database);
    void StudentView(CDatabase* database);
    void InterviewView(CDatabase* database);
    int GetCurrentView() const { return m_nCurrentView; }
    int GetPreviousView() const { return m_nPreviousView; }
    ui::View* GetViewObject(int n) const { return n > 0 && n < kViewCount ? m_pViews[n] : nullptr; }
    CMainView& GetLauncher() { return m_wndView; }

    // Status panes.
    void SetStatusPanes();
    void InitStatusBarPane(int paneId, int width);
    void ShowUserCount(uint32_t count);
    void ShowRefreshState(int on);
    void ShowLineNumber(uint32_t line) override;
    void SetViewModeText(const std::string& text) override;
    stPrinterDef& GetPrinterDef() override;

    // Windows that hold records of the database (grids): closed before the database closes on
    // notice. Each removes itself when it is destroyed.
    void AddRecordWindow(ui::Window* window) override;
    void RemoveRecordWindow(ui::Window* window) override;
    const std::vector<ui::Window*>& GetRecordWindows() const { return m_aRecordWindows; }

    // The end of the program without the exit question (SIGTERM, SIGHUP).
    void ExitWithoutQuestion();
    // Closes the database on notice: back to the launcher, record windows closed, database closed.
    void CloseDatabaseOnNotice();

    // Handlers.
    bool OnCmdMsg(int id) override;
    bool OnCommand(int id, int code) override;
    void OnClose() override;
    void OnTimer(uint32_t id) override;
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override;
    intptr_t OnMainFrameMsg(uintptr_t wParam, intptr_t lParam);
    void OnDestroy() override;

    // The show command the frame was shown with (1 normal, 3 maximised).
    void SetShowCommand(int show) { m_nShowCommand = show; }
    bool IsMaximized() const { return m_nShowCommand == 3; }

    // Timer that polls for the end-of-session signals.
    static constexpr uint32_t kSignalTimer = 0x7F01;

private:
    void EndProgram();
    void InstallUpdateHandlers();

    CMainView m_wndView;
    ui::View* m_pViews[kViewCount] = {};
    int m_nViewIds[kViewCount];
    int m_nCurrentView = 0;
    int m_nPreviousView = 0;
    std::vector<ui::Window*> m_aRecordWindows;
    std::vector<std::function<void()>> m_aDeferred;
    bool m_bEnding = false;
    int m_nShowCommand = 1;
};
