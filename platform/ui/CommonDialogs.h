#pragma once
// The common dialogs: open and save file, colour, font and print setup. Each is a small object:
// set it up, DoModal() (IDOK 1 or IDCANCEL 2), read the answer. Texts and paths are
// Windows-1252, as everywhere in the program.
//
// While a test hook is set (ui::test below) a dialog does not show: the hook answers it, with a
// value or with cancel, and sees what the dialog was asked. File dialogs also follow the scripted
// answers of TestHooks.h (scriptFileDialogs) when no hook of this header is set.

#include "platform/ui/Colour.h"
#include "platform/ui/Font.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ui {

// A Win32 file filter "Text files (*.txt)|*.txt|All files (*.*)|*.*||" as pairs of description
// and patterns (the patterns of one entry separated by ';'). Empty entries end the list.
std::vector<std::pair<std::string, std::string>> ParseFileFilter(const std::string& filter);

// The user's documents folder (where printing to a PDF file starts).
std::string DocumentsFolder();

class FileDialog {
public:
    // open: an open dialog (the file must exist) or a save dialog (asks before replacing a file).
    // defaultExt: added (with '.') to a typed name that has no extension; fileName: proposed name
    // or path; filter: the Win32 filter text above.
    FileDialog(bool open, std::string defaultExt = "", std::string fileName = "",
               std::string filter = "");

    void SetTitle(std::string title) { title_ = std::move(title); }
    void SetInitialFolder(std::string folder) { folder_ = std::move(folder); }

    int DoModal();

    // The answer after IDOK.
    const std::string& GetPathName() const { return path_; }
    std::string GetFileName() const;  // the name without its folder
    std::string GetFileExt() const;   // the extension without '.', or ""
    // The 1-based index of the filter entry in use when the dialog ended.
    int GetFilterIndex() const { return filterIndex_; }

    bool IsOpen() const { return open_; }
    const std::string& GetTitle() const { return title_; }
    const std::string& GetFilter() const { return filter_; }
    const std::string& GetInitialFolder() const { return folder_; }
    const std::string& GetInitialFileName() const { return fileName_; }
    const std::string& GetDefaultExt() const { return defaultExt_; }

private:
    bool open_;
    std::string defaultExt_;
    std::string fileName_;
    std::string filter_;
    std::string title_;
    std::string folder_;
    std::string path_;
    int filterIndex_ = 1;
};

class ColourDialog {
public:
    explicit ColourDialog(COLORREF initial = kBlack) : colour_(initial) {}
    int DoModal();
    COLORREF GetColor() const { return colour_; }

private:
    COLORREF colour_;
};

class FontDialog {
public:
    explicit FontDialog(Font initial = Font{}, COLORREF colour = kBlack)
        : font_(std::move(initial)), colour_(colour)
    {
    }
    int DoModal();
    const Font& GetFont() const { return font_; }
    COLORREF GetColor() const { return colour_; }

private:
    Font font_;
    COLORREF colour_;
};

// The print system's own setup: printer, orientation and copies for one job; for documents
// that have pages of their own also the pages to print and whether copies are collated.
struct PrintSetup {
    std::string printer;  // a name from PrinterDC::ListPrinters
    bool landscape = false;
    int copies = 1;
    enum Range { AllPages, PageRange, Selection };
    Range range = AllPages;
    int fromPage = 1;  // 1-based, with PageRange
    int toPage = 1;
    bool collate = true;
    // Whether the dialog offers page ranges and the selection (the rich-text viewer's print).
    bool offerPages = false;
    bool offerSelection = false;
    bool operator==(const PrintSetup&) const = default;
};

class PrintSetupDialog {
public:
    explicit PrintSetupDialog(PrintSetup initial) : setup_(std::move(initial)) {}
    int DoModal();
    const PrintSetup& GetSetup() const { return setup_; }

private:
    PrintSetup setup_;
};

namespace test {

// A hook returns the answer, or nullopt for cancel. Setting an empty function removes the hook.
using FileDialogHook = std::function<std::optional<std::string>(const FileDialog&)>;
using ColourDialogHook = std::function<std::optional<COLORREF>(COLORREF initial)>;
using FontDialogHook = std::function<std::optional<Font>(const Font& initial)>;
using PrintSetupHook = std::function<std::optional<PrintSetup>(const PrintSetup& initial)>;

void SetFileDialogHook(FileDialogHook hook);
void SetColourDialogHook(ColourDialogHook hook);
void SetFontDialogHook(FontDialogHook hook);
void SetPrintSetupHook(PrintSetupHook hook);
// Removes all four.
void ClearCommonDialogHooks();

} // namespace test

} // namespace ui
