#pragma once
// Handing a document to the studio's word processor, or to the program's own rich-text viewer
// when none is configured.

#include <functional>
#include <vector>
#include <string>

#include "platform/ui/DC.h"

// The word processor's command, from the settings key WORDPROCESSOR; "" for none.
extern std::string WordProcessorPath;

// Opens the rich-text viewer window over `mainWindow` (the main window's screen rectangle),
// showing `document`. The report subsystem installs it once its viewer exists.
using RichTextViewerOpener =
    std::function<void(const std::string& document, const ui::DCRect& mainWindow)>;
void SetRichTextViewerOpener(RichTextViewerOpener opener);
// Opens the viewer as the installed opener does; false when none is installed.
bool OpenRichTextViewer(const std::string& document, const ui::DCRect& mainWindow);

// Shows a rich-text file that the caller has just written into the current folder (`document` is
// its bare name): in the word processor when one is configured, started with the document's full
// path as its argument and not waited for; else in the own viewer. A word processor that cannot
// be started is reported ("Error in calling word processor program.").
// An empty `document` starts the word processor with no file (a new document).
void OpenInWordProcessor(const std::string& document);
// Whether OpenInWordProcessor can show the document now: a word processor is configured, or,
// for an existing document, the own viewer is there. A new document needs the word processor.
bool CanOpenInWordProcessor(const std::string& document);

// The word-processor setting as a program and its arguments: a setting that names an existing
// file is the program alone; otherwise it is split at blanks outside double quotes.
std::vector<std::string> SplitCommandSetting(const std::string& setting);
