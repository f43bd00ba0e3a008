#include "shell/MainFrame.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "widgets/WindowList.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "views/DatabaseView.h"
#include "shell/AboutDlg.h"
#include "views/EmployeeView.h"
#include "views/InterviewView.h"
#include "views/MaillistView.h"
#include "views/PaymentView.h"
#include "views/PurchaseView.h"
#include "views/ScheduleView.h"
#include "views/ScrollBase.h"
#include "views/StudentView.h"
#include "shell/ExitSignals.h"
#include "shell/HandlerScope.h"
#include "views/LineView.h"
#include "shell/MainMenu.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"

#include <algorithm>

namespace {

constexpr uint32_t kRunDeferred = ui::WM_USER + 0x51;

unsigned PointerValue(const void* p) { return static_cast<unsigned>(reinterpret_cast<uintptr_t>(p)); }

const int kMenus[CMainFrame::kViewCount] = {104, 103, 106, 105, 108, 110, 109, 111, 112};

}  // namespace

CMainFrame::CMainFrame()
{
    std::fill(std::begin(m_nViewIds), std::end(m_nViewIds), -1);
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainFrame constructor\n");
}

CMainFrame::~CMainFrame()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainFrame destructor\n");
    RemoveFromWndList(this);
    CHandlerScope::SetPoster(nullptr);
    for (ui::View* view : m_pViews) delete view;
    if (MainFrame == this) MainFrame = nullptr;
}

int CMainFrame::MenuOfView(int n) { return n >= 0 && n < kViewCount ? kMenus[n] : 104; }

bool CMainFrame::CreateMainFrame()
{
    RegisterMainMenu();
    if (!CreateFrame("Dorvalquintex (no database open)", {0, 0, 800, 600})) return false;
    LoadMenu(104);
    InstallUpdateHandlers();
    if (!m_wndView.CreateLauncher(this)) {
        GetResponse("Failed to create view window\n", MB_OK);
        return false;
    }
    if (!CreateStatusBar({0})) {
        GetResponse("Failed to create status bar\n", MB_OK);
        return false;
    }
    ui::StatusBar& bar = GetStatusBar();
    if (!bar.SetIndicators({0, kPaneUsers, kPaneRefresh, kPaneViewMode, kPaneLine, 59137, 59138, 59139})) {
        GetResponse("Failed to set status bar\n", MB_OK);
        return false;
    }
    OnMenuSelect(-1);
    bar.SetPaneText(kPaneUsers, "No. users");
    bar.SetPaneText(kPaneRefresh, "Refresh on");
    bar.SetPaneText(kPaneViewMode, "View mode");
    bar.SetPaneText(kPaneLine, "Line no.");
    SetStatusPanes();
    FrameWindow::SwitchView(&m_wndView);
    // Ctrl with the function keys and Ctrl+B, Ctrl+R reach the launcher through the frame.
    std::vector<ui::Accelerator> keys;
    for (int vk : {int(ui::VK_F2), int(ui::VK_F3), int(ui::VK_F4), int(ui::VK_F5), int('B'), int('R')})
        keys.push_back({vk, true, false, false, 0x7E00 + vk});
    SetAccelerators(keys);
    CenterWindow();
    CHandlerScope::SetPoster([this](std::function<void()> work) {
        m_aDeferred.push_back(std::move(work));
        PostMessage(kRunDeferred);
    });
    SetTimer(kSignalTimer, 250);
    AddToWndList(this);
    return true;
}

void CMainFrame::InstallUpdateHandlers()
{
    for (int id : GetMenu().CommandIds()) {
        if (id == kCmdStatusPanes) {
            Updaters().SetUpdateHandler(id, [](ui::CmdUI& cmd) {
                cmd.SetCheck(AppSettings().m_nStatusPaneMode == 0);
            });
        } else {
            Updaters().SetUpdateHandler(id, [this](ui::CmdUI& cmd) { m_wndView.UpdateCommand(cmd); });
        }
    }
}

// ---- Views --------------------------------------------------------------------------------

void CMainFrame::CreateView(int n)
{
    if (n < 1 || n >= kViewCount || !m_pViews[n]) return;
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CMainFrame::CreateView (%i)\n", n);
    m_nViewIds[n] = n + kLauncherId;
    m_pViews[n]->CreateView(this, m_nViewIds[n]);
    m_pViews[n]->ShowWindow(false);
}

void CMainFrame::SwitchView(int n)
{
    if (n < 1 || n >= kViewCount || !m_pViews[n]) return;
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat("CMainFrame::SwitchView(%i), view pointer %u\n", n, PointerValue(m_pViews[n]));
    m_wndView.ShowWindow(false);
    for (int i = 1; i < kViewCount; ++i)
        if (i != n && m_pViews[i] && m_pViews[i]->IsCreated()) m_pViews[i]->ShowWindow(false);
    FrameWindow::SwitchView(m_pViews[n]);
    m_nPreviousView = m_nCurrentView;
    m_nCurrentView = n;
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("Exit CMainFrame::SwitchView (%i)\n", n);
}

void CMainFrame::OpenView(int n, const std::function<ui::View*()>& make,
                          const std::function<void(ui::View*)>& handData, const char* trace)
{
    if (n < 1 || n >= kViewCount || n == m_nCurrentView) return;
    if (!m_pViews[n]) {
        m_pViews[n] = make ? make() : nullptr;
        if (!m_pViews[n]) return;  // nothing to show
        CreateView(n);
    }
    if (DiagnosticLevel > 0)
        WriteDiagnosticFormat(trace, PointerValue(m_pViews[n]));
    SwitchView(n);
    LoadMenu(MenuOfView(n));
    if (handData) handData(m_pViews[n]);
}

void CMainFrame::UpdateView(int n)
{
    if (DiagnosticLevel > 0) WriteDiagnosticFormat("CMainFrame::UpdateView(%u)\n", static_cast<unsigned>(n));
    if (n == 0) {
        m_wndView.Invalidate();
        return;
    }
    ui::View* view = GetViewObject(n);
    if (!view) return;
    if (auto* lines = dynamic_cast<ILineView*>(view)) lines->SetUpLines();
    view->Invalidate();
}

void CMainFrame::ReturnToMainView()
{
    if (m_nCurrentView == 0) return;
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainFrame::ReturnToMainView\n");
    if (auto* lines = dynamic_cast<ILineView*>(GetViewObject(m_nCurrentView))) lines->ClearLines();
    for (int i = 1; i < kViewCount; ++i)
        if (m_pViews[i] && m_pViews[i]->IsCreated()) m_pViews[i]->ShowWindow(false);
    FrameWindow::SwitchView(&m_wndView);
    m_nPreviousView = m_nCurrentView;
    m_nCurrentView = 0;
    ShowLineNumber(0xFFFFFFFF);
    LoadMenu(104);
}

void CMainFrame::DatabaseView(CDatabase* database, int owns)
{
    OpenView(1, [] { return new CDatabaseView; },
             [database, owns](ui::View* v) { static_cast<CDatabaseView*>(v)->Attach(database, owns); }, "CMainFrame::DatabaseView pointer %u\n");
}

void CMainFrame::TeacherView(CDatabase* database)
{
    OpenView(2, [] { return new CEmployeeView; },
             [database](ui::View* v) { static_cast<CScrollBase*>(v)->SetLineViewDatabase(database); }, "CMainFrame::TeacherView pointer %u\n");
}

void CMainFrame::StudentView(CDatabase* database)
{
    OpenView(3, [] { return new CStudentView; },
             [database](ui::View* v) { static_cast<CScrollBase*>(v)->SetLineViewDatabase(database); }, "CMainFrame::StudentView pointer %u\n");
}

void CMainFrame::InterviewView(CDatabase* database)
{
    OpenView(8, [] { return new CInterviewView; },
             [database](ui::View* v) { static_cast<CScrollBase*>(v)->SetLineViewDatabase(database); },
             "CMainFrame::InterviewView pointer %u\n");
}

void CMainFrame::MaillistView(CDatabase* database, char kind)
{
    OpenView(4, [] { return new CMaillistView; },
             [database, kind](ui::View* v) { static_cast<CMaillistView*>(v)->ShowMailList(database, kind); },
             "CMainFrame::MaillistView pointer %u\n");
}

void CMainFrame::PurchaseView(CDatabase* database)
{
    OpenView(5, [] { return new CPurchaseView; },
             [database](ui::View* v) { static_cast<CScrollBase*>(v)->SetLineViewDatabase(database); },
             "CMainFrame::PurchaseView pointer %u\n");
}

void CMainFrame::PaymentView(CDatabase* database)
{
    OpenView(6, [] { return new CPaymentView; },
             [database](ui::View* v) { static_cast<CScrollBase*>(v)->SetLineViewDatabase(database); },
             "CMainFrame::PaymentView pointer %u\n");
}

void CMainFrame::ScheduleView(CDatabase* database)
{
    OpenView(7, [] { return new CScheduleView; },
             [database](ui::View* v) { static_cast<CScrollBase*>(v)->SetLineViewDatabase(database); },
             "CMainFrame::ScheduleView pointer %u\n");
}

// ---- Status bar ---------------------------------------------------------------------------

void CMainFrame::SetStatusPanes()
{
    const bool minimised = AppSettings().m_nStatusPaneMode == 1;
    InitStatusBarPane(kPaneUsers, minimised ? 0 : 60);
    InitStatusBarPane(kPaneRefresh, minimised ? 0 : 60);
    InitStatusBarPane(kPaneLine, minimised ? 0 : 80);
    InitStatusBarPane(kPaneViewMode, minimised ? 0 : 60);
}

void CMainFrame::InitStatusBarPane(int paneId, int width)
{
    ui::StatusBar& bar = GetStatusBar();
    const int index = bar.CommandToIndex(paneId);
    if (DiagnosticLevel > 2)
        WriteDiagnosticFormat("CMainFrame::InitStatusBarPane ID %u, index %i, width %i\n",
                              static_cast<unsigned>(paneId), index, width);
    if (index < 0) return;
    bar.SetPaneWidth(paneId, width);
    bar.SetPaneText(paneId, "");
}

void CMainFrame::ShowUserCount(uint32_t count)
{
    GetStatusBar().SetPaneText(kPaneUsers, count == 0xFFFFFFFF ? std::string() : Format("Users %u", count));
}

void CMainFrame::ShowRefreshState(int on)
{
    GetStatusBar().SetPaneText(kPaneRefresh, on ? "Refresh ON" : "Refresh OFF");
}

void CMainFrame::ShowLineNumber(uint32_t line)
{
    GetStatusBar().SetPaneText(kPaneLine, line == 0xFFFFFFFF ? std::string() : Format("Line %u", line));
}

void CMainFrame::SetViewModeText(const std::string& text)
{
    if (AppSettings().m_nStatusPaneMode != 1) GetStatusBar().SetPaneText(kPaneViewMode, text);
}

// ---- Record windows and notices ------------------------------------------------------------

void CMainFrame::AddRecordWindow(ui::Window* window)
{
    if (window && std::find(m_aRecordWindows.begin(), m_aRecordWindows.end(), window) == m_aRecordWindows.end())
        m_aRecordWindows.push_back(window);
}

void CMainFrame::RemoveRecordWindow(ui::Window* window)
{
    m_aRecordWindows.erase(std::remove(m_aRecordWindows.begin(), m_aRecordWindows.end(), window),
                           m_aRecordWindows.end());
}

void CMainFrame::CloseRecordWindows()
{
    // Each window takes itself off the list when it goes.
    std::vector<ui::Window*> windows = m_aRecordWindows;
    for (ui::Window* w : windows) w->OnClose();
    m_aRecordWindows.clear();
}

void CMainFrame::CloseDatabaseOnNotice()
{
    ReturnToMainView();
    CloseRecordWindows();
    m_wndView.OnDatabaseClose();
    ShowWindow(true);
}

intptr_t CMainFrame::OnMainFrameMsg(uintptr_t wParam, intptr_t)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainFrame::OnMainFrameMsg()\n");
    if (wParam == 1) {
        if (CDatabase* db = m_wndView.GetDatabase()) db->OnMessage();
    } else if (wParam == 2) {
        // Never from inside a dialog's loop: wait until the outermost handler has returned.
        CHandlerScope::RunWhenIdle([this] { CloseDatabaseOnNotice(); });
    }
    return 0;
}

intptr_t CMainFrame::OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    if (message == kMainFrameMsg) return OnMainFrameMsg(wParam, lParam);
    if (message == kRunDeferred) {
        if (CHandlerScope::Depth() > 0) return 0;  // runs again when the scope ends
        std::vector<std::function<void()>> work;
        work.swap(m_aDeferred);
        for (auto& w : work) w();
        return 0;
    }
    return FrameWindow::OnMessage(message, wParam, lParam);
}

// ---- Commands and closing ------------------------------------------------------------------

bool CMainFrame::OnCmdMsg(int id)
{
    CHandlerScope scope;
    if (id >= 0x7E00 && id < 0x7F00) {
        // A list view takes its own Ctrl keys (Ctrl+F2 searches backwards there).
        if (auto* lines = dynamic_cast<CScrollBase*>(GetViewObject(m_nCurrentView))) {
            lines->HandleKey(id - 0x7E00, true);
            return true;
        }
        return m_wndView.HandleKey(id - 0x7E00, true);
    }
    if (m_wndView.OnCommand(id, 0)) return true;
    if (GetActiveView() && GetActiveView() != &m_wndView && GetActiveView()->OnCommand(id, 0)) return true;
    return OnCommand(id, 0);
}

bool CMainFrame::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdStatusPanes:
        AppSettings().m_nStatusPaneMode = AppSettings().m_nStatusPaneMode == 1 ? 0 : 1;
        SetStatusPanes();
        return true;
    case 57665:  // File, Exit
        OnClose();
        return true;
    case 57664: {  // Help, About
        CAboutDlg dlg(this);
        dlg.DoModal();
        return true;
    }
    default:
        return FrameWindow::OnCommand(id, code);
    }
}

void CMainFrame::OnClose()
{
    CHandlerScope scope;
    if (m_nCurrentView != 0) {
        ReturnToMainView();
        return;
    }
    if (GetResponse("Exit Dorvalquintex?", MB_OKCANCEL) != IDOK) return;
    if (DiagnosticLevel > 0) WriteDiagnosticString("CMainFrame::OnClose()\n");
    if (m_wndView.ConfirmCloseAsLockManager() == 0) return;
    m_bEnding = true;
    m_wndView.OnCloseView(true);
    EndProgram();
}

void CMainFrame::ExitWithoutQuestion()
{
    CHandlerScope::RunWhenIdle([this] {
        if (m_bEnding) return;
        m_bEnding = true;
        ReturnToMainView();
        m_wndView.OnCloseView(false);
        EndProgram();
    });
}

void CMainFrame::EndProgram()
{
    // Destroyed from the message loop, never from inside the handler that asked.
    CHandlerScope::RunWhenIdle([this] {
        if (ui::Application* app = ui::Application::Instance()) app->Quit(0);
        DestroyWindow();
    });
}

void CMainFrame::OnTimer(uint32_t id)
{
    if (id == kSignalTimer) {
        if (ExitSignalReceived() && !m_bEnding) {
            ClearExitSignal();
            ExitWithoutQuestion();
        }
        return;
    }
    FrameWindow::OnTimer(id);
}

void CMainFrame::OnDestroy()
{
    KillTimer(kSignalTimer);
    FrameWindow::OnDestroy();
}

stPrinterDef& CMainFrame::GetPrinterDef() { return AppSettings().m_PrinterDef; }
