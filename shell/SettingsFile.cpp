#include "shell/SettingsFile.h"

#include "common/CheckLayout.h"

#include "common/Diagnostic.h"
#include "widgets/ExternalPrograms.h"
#include "common/QuestionBox.h"
#include "common/TextFile.h"
#include "common/TextFormat.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/Mail.h"
#include "platform/host/Path.h"

#include <cstdlib>
#include <vector>

namespace {

// Fields two to six of a printer line, as many as the line has; the rest keep their values.
void ReadPrinterFields(const std::vector<std::string>& fields, stPrinterDef& def)
{
    def.nDefined = 0;
    int32_t* numbers[4] = {&def.nCopies, &def.nPauseMode, &def.nWaitSeconds, &def.nPageNumbers};
    for (size_t i = 0; i < 4 && i + 1 < fields.size(); ++i)
        *numbers[i] = std::atoi(fields[i + 1].c_str());
    if (fields.size() > 5) def.sDevice = fields[5];
}

// format: the line's key and fields, "PRINTERDEF|%i|%i|%i|%i|%s\n" or the label printer's.
std::string PrinterLine(const char* format, const stPrinterDef& def)
{
    return Format(format, def.nCopies, def.nPauseMode, def.nWaitSeconds, def.nPageNumbers,
                  def.sDevice.c_str());
}

bool ReadWholeFile(const std::string& path, std::string& out)
{
    host::File file;
    if (!file.OpenReadOnly(path)) return false;
    char buffer[4096];
    for (;;) {
        size_t done = 0;
        if (!file.Read(buffer, sizeof buffer, &done)) return false;
        if (done == 0) break;
        out.append(buffer, done);
    }
    return true;
}

}  // namespace

CSettingsFile& AppSettings()
{
    static CSettingsFile settings;
    return settings;
}

void CSettingsFile::SetDefaults()
{
    auto hook = std::move(m_fnStatusPanesChanged);
    *this = CSettingsFile();
    m_fnStatusPanesChanged = std::move(hook);
    WordProcessorPath.clear();
    host::SetMailProgram("");
    CheckLayoutLine.clear();
    DiagnosticLevel = 0;
}

std::string CSettingsFile::PathIn(const std::string& folder) { return host::JoinPath(folder, kFileName); }

std::string CSettingsFile::LoadConfig(const std::string& folder)
{
    std::string last;
    std::string contents;
    if (!ReadWholeFile(PathIn(folder), contents)) return last;

    size_t pos = 0;
    while (pos < contents.size()) {
        size_t end = contents.find('\n', pos);
        if (end == std::string::npos) end = contents.size();
        const std::string line = StripTrailingBlanks(contents.substr(pos, end - pos));
        pos = end + 1;

        std::vector<std::string> fields;
        if (SplitString(line, "|", fields, 0, 1) < 2) continue;
        const std::string& key = fields[0];
        if (key == "LAST") {
            last = fields[1];
        } else if (key == "BACKUP") {
            m_sBackupDrive = fields[1];
        } else if (key == "TIMEDBACKUP") {
            m_nTimedBackup = std::atoi(fields[1].c_str());
        } else if (key == "TIMEDBACKUPINTERVAL") {
            m_nTimedBackupInterval = std::atoi(fields[1].c_str());
        } else if (key == "DIAGNOSTIC") {
            DiagnosticLevel = std::atoi(fields[1].c_str());
        } else if (key == "PRINTERDEF") {
            ReadPrinterFields(fields, m_PrinterDef);
            if (m_PrinterDef.nCopies < 1) m_PrinterDef.nCopies = 1;
        } else if (key == "LABELPRINTERDEF") {
            ReadPrinterFields(fields, m_LabelPrinterDef);
            m_LabelPrinterDef.nCopies = 1;
        } else if (key == "CHECK_LAYOUT") {
            CheckLayoutLine = line;
        } else if (key == "SHOW") {
            if (fields[1] == "SW_SHOWMAXIMIZED") m_nWindowMode = kShowMaximized;
        } else if (key == "STATUSPANES") {
            m_nStatusPaneMode = fields[1] == "MINIMIZE" ? 1 : 0;
            if (m_fnStatusPanesChanged) m_fnStatusPanesChanged();
        } else if (key == "WORDPROCESSOR") {
            WordProcessorPath = fields[1];
        } else if (key == "MAILPROGRAM") {
            host::SetMailProgram(fields[1]);
        } else if (key == "SHOPPINGCARTFORMAT") {
            m_bShoppingCartFormat = 1;
        }
    }
    return last;
}

bool CSettingsFile::SaveConfig(const std::string& folder, const std::string& lastDatabase)
{
    // The next start runs without a trace unless the file is edited by hand.
    DiagnosticLevel = 0;

    std::string text;
    if (!lastDatabase.empty()) text += Format("LAST|%s\n", lastDatabase.c_str());
    if (!m_sBackupDrive.empty()) text += Format("BACKUP|%s\n", m_sBackupDrive.c_str());
    if (m_nTimedBackup > 0) text += Format("TIMEDBACKUP|%i\n", m_nTimedBackup);
    if (m_nTimedBackupInterval > 0)
        text += Format("TIMEDBACKUPINTERVAL|%i\n", m_nTimedBackupInterval);
    if (!WordProcessorPath.empty()) text += Format("WORDPROCESSOR|%s\n", WordProcessorPath.c_str());
    if (!host::GetMailProgram().empty())
        text += Format("MAILPROGRAM|%s\n", host::GetMailProgram().c_str());
    if (m_bShoppingCartFormat == 1) text += "SHOPPINGCARTFORMAT|TRUE\n";
    if (!m_PrinterDef.sDevice.empty())
        text += PrinterLine("PRINTERDEF|%i|%i|%i|%i|%s\n", m_PrinterDef);
    if (!m_LabelPrinterDef.sDevice.empty())
        text += PrinterLine("LABELPRINTERDEF|%i|%i|%i|%i|%s\n", m_LabelPrinterDef);
    if (!CheckLayoutLine.empty()) text += CheckLayoutLine + "\n";
    text += m_nWindowMode == kShowMaximized ? "SHOW|SW_SHOWMAXIMIZED\n" : "SHOW|SW_SHOWNORMAL\n";
    text += m_nStatusPaneMode == 0 ? "STATUSPANES|SHOWNORMAL\n" : "STATUSPANES|MINIMIZE\n";

    text = WithCrLf(text);

    const std::string path = PathIn(folder);
    const std::string temp = path + ".$$$";
    bool ok = false;
    {
        host::File file;
        if (file.Open(temp, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways)) {
            size_t done = 0;
            ok = file.Write(text.data(), text.size(), &done) && done == text.size() && file.Flush();
            ok = file.Close() && ok;
        }
    }
    if (ok) ok = host::ReplaceFile(temp, path);
    if (!ok) {
        host::DeleteFile(temp);
        GetResponse("Cannot save configuration file", MB_OK);
    }
    return ok;
}
