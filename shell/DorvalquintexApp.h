#pragma once
// CDorvalquintexApp: starts and ends the main program. One copy per desk (the named lock
// "DorvalquintexMutex"), the program folder from the executable's own path (also made the
// working folder), the main frame with its launcher, the settings file read at start and written
// at exit, and the last database handed to the launcher. It runs on the ui layer's application
// object, which app/ makes first.

#include "platform/host/SingleInstance.h"

#include <memory>
#include <string>

class CMainFrame;

class CDorvalquintexApp {
public:
    CDorvalquintexApp();
    ~CDorvalquintexApp();
    CDorvalquintexApp(const CDorvalquintexApp&) = delete;
    CDorvalquintexApp& operator=(const CDorvalquintexApp&) = delete;

    // Takes the single-copy lock.
    bool InitApplication();
    // The start-up sequence; false ends the program (after its message).
    bool InitInstance();
    // The shut-down sequence; gives the exit code.
    int ExitInstance();
    // InitApplication, InitInstance, the message loop, ExitInstance.
    int Run();
    void OnAppAbout();

    CMainFrame* GetMainFrame() const { return m_pMainFrame.get(); }
    // Tests run the program from another folder than the executable's.
    void SetProgramFolder(const std::string& folder) { m_sProgramFolder = folder; }

private:
    host::SingleInstance m_Mutex;
    std::unique_ptr<CMainFrame> m_pMainFrame;
    std::string m_sProgramFolder;  // "" : the executable's folder
    bool m_bConfigRead = false;
};
