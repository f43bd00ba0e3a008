#pragma once
// The program's own rich-text viewer: a top-level window "Rich-Text Editor" around a rich-text
// control, with its menu (file, edit, find, format, tab stops, print, about) and a status bar
// showing the caret's line and position. OpenRtfViewer runs it modally until it is closed, or
// prints the file without showing anything.

#include "platform/ui/CommonDialogs.h"
#include "platform/ui/FindDialog.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/RichEdit.h"

#include <memory>
#include <string>

class CRtfViewerFrame : public ui::FrameWindow {
public:
    static constexpr int kMenu = 100;
    enum : int {
        kCmdExit = 900, kCmdAbout = 901, kCmdNew = 902, kCmdOpen = 903, kCmdSave = 904,
        kCmdSaveAs = 905, kCmdPrint = 906, kCmdCut = 907, kCmdCopy = 908, kCmdPaste = 909,
        kCmdBold = 910, kCmdItalic = 911, kCmdUnderline = 912, kCmdLeft = 913, kCmdCenter = 914,
        kCmdRight = 915, kCmdFont = 916, kCmdUndo = 917, kCmdDelete = 918, kCmdSelectAll = 919,
        kCmdFind = 920, kCmdNextWord = 921, kCmdTabStops = 32876,
    };
    static constexpr const char* kTitle = "Rich-Text Editor";
    static constexpr const char* kFilter = "Rich-Text File (*.RTF)|*.RTF||";
    static constexpr int kFindTextMax = 128;

    CRtfViewerFrame(bool askToSave);
    ~CRtfViewerFrame() override;

    bool CreateViewer(bool visible);
    // Loads a file: rich text, or, when it does not start as rich text, its plain text.
    bool LoadFile(const std::string& path);
    bool SaveFile(const std::string& path);
    // Prints with the kept print setup; `ask` shows the print box first. False when nothing was
    // printed (cancelled, failed).
    bool Print(bool ask);

    ui::RichEdit& Edit() { return m_Edit; }
    ui::FindDialog& GetFindDialog() { return *m_pFind; }
    const std::string& GetFileName() const { return m_strFile; }
    bool IsClosed() const { return m_bClosed; }
    bool IsPrintAborted() const { return m_bAborted; }
    // The status text for the caret place.
    std::string StatusText() const;

    // The print setup kept for the next print (device, page range, copies, collation).
    static ui::PrintSetup& KeptPrintSetup();

    bool OnCommand(int id, int code) override;
    void OnClose() override;
    void OnSize(int cx, int cy) override;

private:
    void FindNext(const std::string& text, bool matchCase);
    void AskTabStops();
    void Close();
    void UpdateStatus();

    ui::RichEdit m_Edit;
    std::unique_ptr<ui::FindDialog> m_pFind;
    std::string m_strFind;
    std::string m_strFile;
    bool m_bAskToSave;
    bool m_bChanged = false;  // changed through the menu's commands
    bool m_bClosed = false;
    bool m_bAborted = false;
};

// Opens the viewer on the file (none: empty) over the rectangle and runs it until closed; with
// printOnly it stays hidden and prints the file at once without a print box. `result` is the flag
// of an aborted print.
void OpenRtfViewer(const std::string& fileName, int left, int top, int right, int bottom,
                   int printOnly, int askToSave, int& result);
