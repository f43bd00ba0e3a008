#include "shell/DorvalquintexApp.h"

#include "shell/PictureDisplay.h"
#include "widgets/AppHelpers.h"
#include "views/ReportWindows.h"
#include "reports/Reports.h"

#include "dialogs/DatabaseDialogs.h"
#include "dialogs/DialogPaymentEdit.h"
#include "dialogs/PrinterChoice.h"
#include "reports/DialogPrintCheck.h"

#include "common/DataPaths.h"
#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/Path.h"
#include "platform/host/Process.h"
#include "platform/ui/Application.h"
#include "widgets/ProgramIcon.h"
#include "shell/AboutDlg.h"
#include "widgets/AppHelpers.h"
#include "shell/ExitSignals.h"
#include "shell/MainFrame.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"

CDorvalquintexApp::CDorvalquintexApp() : m_Mutex("DorvalquintexMutex")
{
    RestartDiagnosticClock();
    BaseDate = MakeDate(1996, 1, 1, 0, 0);
    DefaultLabelFormat = stLabelFormat();
}

CDorvalquintexApp::~CDorvalquintexApp() = default;

bool CDorvalquintexApp::InitApplication()
{
    m_Mutex.Acquire();
    return true;
}

bool CDorvalquintexApp::InitInstance()
{
    OsKind = GetOsKind();
    if (OsKind == 0) {
        GetResponse("The operating system on your computer is not compatible with Dorvalquintex.", MB_OK);
        return false;
    }
    if (!m_Mutex.IsHeld()) {
        GetResponse("Dorvalquintex is already running!", MB_OK);
        return false;
    }
    ProgramFolder = m_sProgramFolder.empty() ? host::ExecutableFolder() : m_sProgramFolder;
    // The files the program writes to the current folder land beside the program.
    if (!ProgramFolder.empty()) host::SetCurrentFolder(ProgramFolder);
    if (ui::Application* app = ui::Application::Instance()) {
        app->SetTitle("Dorvalquintex");
        app->SetIcon(ProgramIcon());
    }
    SetDefaultDatabaseUi(&CDatabaseDialogs::Instance());
    InstallReportWindows();
    CReports::s_fnPrintSetup = [] { return &AppSettings().m_PrinterDef; };
    // "Print receipt" and "Print contract" of the payment dialogs and the purchase sheet.
    CReports::InstallDocumentPrinters();
    // "Print check" of the payment dialogs opens the cheque dialog.
    CDialogPaymentEdit::CheckPrinterSeam() = [](CDatabase& database, const stCheckData& check) {
        CDialogPrintCheck dialog(&database, &check);
        dialog.DoModal();
    };
    // A person's picture in a window of its own (the window deletes itself).
    ShowPictureWindow = [](const std::string& path, double seconds) {
        auto* display = new CPictureDisplay();
        if (!display->CreateDisplayWindow(path)) {
            delete display;
            return;
        }
        display->ShowPicture(path, seconds);
    };

    m_pMainFrame = std::make_unique<CMainFrame>();
    MainFrame = m_pMainFrame.get();
    if (!m_pMainFrame->CreateMainFrame()) {
        GetResponse("Error in creating main window!", MB_OK);
        MainFrame = nullptr;
        m_pMainFrame.reset();
        return false;
    }
    if (ui::Application* app = ui::Application::Instance()) app->SetMainWindow(m_pMainFrame.get());

    CSettingsFile& settings = AppSettings();
    settings.m_fnStatusPanesChanged = [this] {
        if (m_pMainFrame) m_pMainFrame->SetStatusPanes();
    };
    const std::string last = settings.LoadConfig(ProgramFolder);
    m_bConfigRead = true;
    // The program's own default printer; the system's default is never changed.
    SetDefaultPrinter(settings.m_PrinterDef.sDevice);
    if (DiagnosticLevel > 0 && !IsDiagnosticFileOpen()) OpenDiagnosticFile();

    // The network needs no start-up here; the LAN side reports its own failures.
    SocketsFailed = false;

    m_pMainFrame->SetShowCommand(settings.m_nWindowMode == CSettingsFile::kShowMaximized ? 3 : 1);
    m_pMainFrame->ShowWindow(true);
    m_pMainFrame->UpdateWindow();
    InstallExitSignalHandlers();
    m_pMainFrame->GetLauncher().OnOpenView(last);
    return true;
}

int CDorvalquintexApp::ExitInstance()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDorvalquintexApp::ExitInstance()\n");
    m_Mutex.Release();
    if (m_bConfigRead) {
        AppSettings().SaveConfig(ProgramFolder, CurrentDatabasePath);
        AppSettings().m_fnStatusPanesChanged = nullptr;
        m_bConfigRead = false;
    }
    CloseDiagnosticFile();
    if (m_pMainFrame && m_pMainFrame->IsCreated()) m_pMainFrame->DestroyWindow();
    MainFrame = nullptr;
    m_pMainFrame.reset();
    return 0;
}

int CDorvalquintexApp::Run()
{
    InitApplication();
    int code = 0;
    if (InitInstance()) {
        if (ui::Application* app = ui::Application::Instance()) code = app->Run();
    }
    const int exitCode = ExitInstance();
    return code != 0 ? code : exitCode;
}

void CDorvalquintexApp::OnAppAbout()
{
    CAboutDlg dlg(m_pMainFrame.get());
    dlg.DoModal();
}
