#pragma once
// CSettingsFile: the desk's own settings, "Dorvalquintex.cfg" in the program folder. One line a
// setting, "KEY|value" (printer definitions: "KEY|copies|n|n|n|name"), keys upper case and
// compared exactly. LoadConfig reads it once at start-up; SaveConfig writes it once at exit, to a
// temporary file beside it that then replaces it, so a failed save leaves the old file whole.
//
// The word processor and the diagnostic level live in common/'s globals (WordProcessorPath,
// DiagnosticLevel), where the rest of the program reads them; the other settings are members.

#include "common/PrinterDef.h"

#include <cstdint>
#include <functional>
#include <string>

class CSettingsFile {
public:
    static constexpr const char* kFileName = "Dorvalquintex.cfg";
    // Window modes (show commands).
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMaximized = 3;

    // Back to the defaults of a desk without a settings file.
    void SetDefaults();

    // Reads "<folder>\Dorvalquintex.cfg" into the settings and gives the last database (LAST),
    // "" when the file or the key is missing. A missing or unreadable file is silent.
    std::string LoadConfig(const std::string& folder);
    // Resets the diagnostic level to 0, then writes every setting that has a value, with
    // `lastDatabase` as LAST. False after "Cannot save configuration file".
    bool SaveConfig(const std::string& folder, const std::string& lastDatabase);

    // The settings file's path in a folder.
    static std::string PathIn(const std::string& folder);

    // Runs when a STATUSPANES line is read (the main frame resizes its panes at once).
    std::function<void()> m_fnStatusPanesChanged;

    std::string m_sBackupDrive = "A:";
    int32_t m_nTimedBackup = 0;
    int32_t m_nTimedBackupInterval = 0;  // minutes
    int32_t m_bShoppingCartFormat = 0;
    stPrinterDef m_PrinterDef;
    stPrinterDef m_LabelPrinterDef;
    int32_t m_nWindowMode = kShowNormal;
    int32_t m_nStatusPaneMode = 1;       // 1 panes minimised, 0 shown
};

// The program's one set of settings.
CSettingsFile& AppSettings();
