#include "widgets/ExternalPrograms.h"

#include "common/DataPaths.h"
#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "platform/host/File.h"
#include "platform/host/Path.h"
#include "platform/host/Process.h"
#include "platform/host/Text.h"
#include "platform/ui/Application.h"
#include "platform/ui/Window.h"

#include <vector>

std::string WordProcessorPath;

namespace {

RichTextViewerOpener g_viewerOpener;

}  // namespace

void SetRichTextViewerOpener(RichTextViewerOpener opener)
{
    g_viewerOpener = std::move(opener);
}

bool OpenRichTextViewer(const std::string& document, const ui::DCRect& mainWindow)
{
    if (!g_viewerOpener) return false;
    g_viewerOpener(document, mainWindow);
    return true;
}

std::vector<std::string> SplitCommandSetting(const std::string& setting)
{
    if (host::FileExists(setting))
        return {setting};
    std::vector<std::string> words;
    std::string word;
    bool quoted = false;
    bool inWord = false;
    for (char c : setting) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (inWord)
        words.push_back(word);
    return words;
}

void OpenInWordProcessor(const std::string& document)
{
    if (WordProcessorPath.empty()) {
        ui::DCRect rect;
        if (ui::Application* app = ui::Application::Instance())
            if (ui::Window* main = app->GetMainWindow())
                rect = main->GetWindowRect();
        if (g_viewerOpener)
            g_viewerOpener(document, rect);
        else if (DiagnosticLevel > 0)
            WriteDiagnosticFormat("OpenInWordProcessor no viewer for %s\n", document.c_str());
        return;
    }
    // An argument vector, never a shell: the document's path is one argument whatever it holds.
    std::vector<std::string> words = SplitCommandSetting(WordProcessorPath);
    host::ProcessResult result;
    if (!words.empty()) {
        std::vector<std::string> args(words.begin() + 1, words.end());
        if (!document.empty()) {
            std::string hostPath;
            std::string argument = GetPathInCurrentFolder(document);
            if (host::ToHostPath(argument, hostPath))
                argument = host::Utf8ToCp1252Lossy(hostPath);
            args.push_back(argument);
        }
        result = host::StartProcess(words.front(), args, false);
    }
    if (!result.started)
        GetResponse("Error in calling word processor program.", MB_OK);
}

bool CanOpenInWordProcessor(const std::string& document)
{
    if (!WordProcessorPath.empty()) return true;
    return !document.empty() && static_cast<bool>(g_viewerOpener);
}
