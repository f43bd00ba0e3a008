#include "views/RtfViewer.h"

#include "common/Diagnostic.h"
#include "platform/host/File.h"
#include "platform/host/Format.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/Application.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/DialogTemplate.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PrinterDC.h"
#include "widgets/DialogPromptForString.h"
#include "widgets/ProgramIcon.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

constexpr int kEditId = 0xE900;
constexpr const char* kDocumentName = "Dorvalquintex print RTF document";

void RegisterViewerMenu()
{
    static bool done = false;
    if (done) return;
    done = true;
    using V = CRtfViewerFrame;
    ui::RegisterMenu({V::kMenu, {
        ui::Popup("&File", {ui::Item(V::kCmdNew, "&New"), ui::Item(V::kCmdOpen, "&Open..."),
                            ui::Item(V::kCmdSave, "&Save"), ui::Item(V::kCmdSaveAs, "Save &As..."),
                            ui::Separator(), ui::Item(V::kCmdExit, "E&xit")}),
        ui::Popup("&Edit", {ui::Item(V::kCmdUndo, "&Undo"), ui::Separator(),
                            ui::Item(V::kCmdCut, "Cu&t"), ui::Item(V::kCmdCopy, "&Copy"),
                            ui::Item(V::kCmdPaste, "&Paste"), ui::Item(V::kCmdDelete, "&Delete"),
                            ui::Item(V::kCmdSelectAll, "Select &All"), ui::Separator(),
                            ui::Item(V::kCmdFind, "&Find..."), ui::Item(V::kCmdNextWord, "&Next Word")}),
        ui::Popup("F&ormat", {ui::Item(V::kCmdBold, "&Bold"), ui::Item(V::kCmdItalic, "&Italic"),
                              ui::Item(V::kCmdUnderline, "&Underline"), ui::Separator(),
                              ui::Item(V::kCmdLeft, "&Left"), ui::Item(V::kCmdCenter, "&Center"),
                              ui::Item(V::kCmdRight, "&Right"), ui::Separator(),
                              ui::Item(V::kCmdFont, "&Font..."), ui::Item(V::kCmdTabStops, "&Tab stops")}),
        ui::Item(V::kCmdPrint, "&Print"),
        ui::Popup("&Help", {ui::Item(V::kCmdAbout, "&About Rich-Text Editor...")}),
    }});
}

// The box that lets the user stop a print between pages.
const ui::DialogTemplate kAbortTemplate{0, "Rich-Text Editor", 0, 0, {
    {ui::Ctl::Label, -1, "Printing...", 0, -1, -1, 0, 0},
    {ui::Ctl::DefButton, ui::IDCANCEL, "Cancel", 0, -1, -1, 0, 0},
}};

class CAbortBox : public ui::Dialog {
public:
    explicit CAbortBox(ui::Window* parent) : ui::Dialog(kAbortTemplate, parent) {}
    bool m_bAbort = false;

protected:
    void OnCancel() override { m_bAbort = true; }
};

bool ReadFile(const std::string& path, std::string& bytes)
{
    host::File file;
    if (!file.OpenReadOnly(path)) return false;
    char buf[65536];
    for (;;) {
        size_t done = 0;
        if (!file.Read(buf, sizeof buf, &done)) return false;
        if (done == 0) break;
        bytes.append(buf, done);
    }
    return true;
}

std::string FileTitle(const std::string& path)
{
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

ui::PrintSetup& CRtfViewerFrame::KeptPrintSetup()
{
    static ui::PrintSetup setup = [] {
        ui::PrintSetup s;
        s.offerPages = true;
        s.offerSelection = true;
        return s;
    }();
    return setup;
}

CRtfViewerFrame::CRtfViewerFrame(bool askToSave) : m_bAskToSave(askToSave)
{
    RegisterViewerMenu();
    m_pFind = std::make_unique<ui::FindDialog>(this, [this](const std::string& text, bool matchCase) {
        FindNext(text, matchCase);
    });
}

CRtfViewerFrame::~CRtfViewerFrame()
{
    if (m_pFind && m_pFind->IsCreated()) m_pFind->DestroyWindow();
    if (m_Edit.IsCreated()) m_Edit.DestroyWindow();
    if (IsCreated()) DestroyWindow();
}

bool CRtfViewerFrame::CreateViewer(bool visible)
{
    if (!CreateFrame(kTitle, ui::DCRect{100, 100, 740, 580})) return false;
    SetIcon(ProgramIcon(), true);
    CreateStatusBar({0});
    if (!m_Edit.Create(this, GetViewRect(), kEditId)) return false;
    m_Edit.SetLimitText(0xFFFFF);
    m_Edit.SetSelectionChanged([this] { UpdateStatus(); });
    if (visible) {
        ShowWindow(true);
        LoadMenu(kMenu);
        DrawMenuBar();
    }
    UpdateStatus();
    return true;
}

void CRtfViewerFrame::OnSize(int cx, int cy)
{
    ui::FrameWindow::OnSize(cx, cy);
    if (m_Edit.IsCreated()) m_Edit.MoveWindow(GetViewRect());
}

bool CRtfViewerFrame::LoadFile(const std::string& path)
{
    std::string bytes;
    if (!ReadFile(path, bytes)) {
        ui::MessageBox(Format("Cannot open %s", path.c_str()), ui::MB_OK, kTitle);
        return false;
    }
    ui::RtfDocument doc;
    doc.Parse(bytes);  // a file that is not rich text shows as its plain text
    m_Edit.SetDocument(doc);
    m_strFile = path;
    m_bChanged = false;
    UpdateStatus();
    return true;
}

bool CRtfViewerFrame::SaveFile(const std::string& path)
{
    std::string bytes = m_Edit.GetDocument().ToRtf();
    host::File file;
    bool ok = file.Open(path, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways);
    if (ok) ok = file.Write(bytes.data(), bytes.size());
    if (ok) ok = file.Close();
    if (!ok) {
        ui::MessageBox(Format("Cannot write %s", path.c_str()), ui::MB_OK, kTitle);
        return false;
    }
    m_strFile = path;
    m_Edit.SetModified(false);
    m_bChanged = false;
    return true;
}

std::string CRtfViewerFrame::StatusText() const
{
    ui::RichEdit::CaretInfo c = const_cast<ui::RichEdit&>(m_Edit).GetCaretInfo();
    if (c.line == c.endLine && c.pos == c.endPos) return Format("Ln %d, Pos %d", c.line, c.pos);
    if (c.line == c.endLine) return Format("Ln %d, Pos %d:%d", c.line, c.pos, c.endPos);
    return Format("Ln %d:%d, Pos %d:%d", c.line, c.endLine, c.pos, c.endPos);
}

void CRtfViewerFrame::UpdateStatus()
{
    if (IsCreated()) GetStatusBar().SetMessageText(StatusText());
}

void CRtfViewerFrame::FindNext(const std::string& text, bool matchCase)
{
    m_strFind = text.substr(0, kFindTextMax);
    if (!m_Edit.Find(m_strFind, matchCase)) ui::MessageBox("Text not found.", ui::MB_OK, kTitle);
}

void CRtfViewerFrame::AskTabStops()
{
    CDialogPromptForString prompt(this);
    prompt.m_strPrompt = "Tab stops (In.)";
    prompt.m_nMaxLength = 80;
    if (prompt.DoModal() != ui::IDOK) return;
    std::vector<int> twips;
    std::string text = prompt.m_strText;
    for (char& c : text)
        if (c == ',' || c == ';') c = ' ';
    std::istringstream in(text);
    std::string word;
    bool ok = true;
    while (in >> word) {
        char* end = nullptr;
        double inches = std::strtod(word.c_str(), &end);
        if (!end || *end != 0 || !std::isfinite(inches) || inches <= 0 || inches > 22) {
            ok = false;
            break;
        }
        twips.push_back(static_cast<int>(std::lround(inches * 1440)));
    }
    if (!ok || !m_Edit.SetTabStops(twips)) {
        ui::MessageBox("Can't set tabs", ui::MB_OK, kTitle);
        return;
    }
    m_bChanged = true;
}

bool CRtfViewerFrame::Print(bool ask)
{
    ui::PrintSetup& setup = KeptPrintSetup();
    if (ask) {
        ui::PrintSetupDialog dialog(setup);
        if (dialog.DoModal() != ui::IDOK) return false;
        setup = dialog.GetSetup();
    }
    host::WaitCursor wait;
    m_bAborted = false;
    ui::PrinterDC dc;
    if (!dc.Open(setup.printer)) {
        ui::MessageBox("An error occured while trying to print.", ui::MB_OK, kTitle);
        return false;
    }
    dc.SetLandscape(setup.landscape);
    const std::string name = m_strFile.empty() ? std::string(kDocumentName) : FileTitle(m_strFile);
    if (dc.StartDoc(name) <= 0) {
        ui::MessageBox("An error occured while trying to print.", ui::MB_OK, kTitle);
        return false;
    }
    CAbortBox abortBox(this);
    if (!abortBox.Create(this)) {
        dc.AbortDoc();
        ui::MessageBox("The abort dialog count not be created.", ui::MB_OK, kTitle);
        return false;
    }
    EnableWindow(false);
    const int dpx = std::max(1, dc.GetDeviceCaps(ui::LOGPIXELSX));
    const int dpy = std::max(1, dc.GetDeviceCaps(ui::LOGPIXELSY));
    const int pageW = static_cast<int>(static_cast<long long>(dc.GetDeviceCaps(ui::HORZRES)) * 1440 / dpx);
    const int pageH = static_cast<int>(static_cast<long long>(dc.GetDeviceCaps(ui::VERTRES)) * 1440 / dpy);
    const int marginX = pageW > 3600 ? 1080 : 0;
    const int marginY = pageH > 4320 ? 1440 : 0;
    ui::RtfDocument doc = setup.range == ui::PrintSetup::Selection && m_Edit.HasSelection()
                              ? m_Edit.GetSelectedDocument()
                              : m_Edit.GetDocument();
    std::vector<ui::RtfPage> pages = doc.LayoutPages(dc, pageW - 2 * marginX, pageH - 2 * marginY);
    int first = 1, last = static_cast<int>(pages.size());
    if (setup.range == ui::PrintSetup::PageRange) {
        first = std::max(1, setup.fromPage);
        last = std::min(last, setup.toPage);
    }
    const int copies = std::max(1, setup.copies);
    const int left = marginX * dpx / 1440, top = marginY * dpy / 1440;
    // Between pages the abort box gets its messages; its Cancel stops the print.
    auto printPage = [&](int number) {
        ui::Application::PumpMessages();
        if (abortBox.m_bAbort) return false;
        if (dc.StartPage() <= 0) return false;
        ui::RtfDocument::DrawPage(dc, pages[static_cast<size_t>(number - 1)], left, top);
        return dc.EndPage() > 0;
    };
    bool ok = true;
    if (setup.collate) {
        for (int c = 0; c < copies && ok; ++c)
            for (int p = first; p <= last && ok; ++p) ok = printPage(p);
    } else {
        for (int p = first; p <= last && ok; ++p)
            for (int c = 0; c < copies && ok; ++c) ok = printPage(p);
    }
    m_bAborted = abortBox.m_bAbort;
    if (m_bAborted) {
        dc.AbortDoc();
    } else if (!ok || dc.EndDoc() <= 0) {
        dc.AbortDoc();
        ui::MessageBox("An error occured while trying to print.", ui::MB_OK, kTitle);
    }
    EnableWindow(true);
    abortBox.DestroyWindow();
    return ok && !m_bAborted;
}

bool CRtfViewerFrame::OnCommand(int id, int code)
{
    switch (id) {
    case kCmdNew:
        m_Edit.SetDocument(ui::RtfDocument{});
        m_Edit.SetModified(false);
        m_bChanged = false;
        return true;
    case kCmdOpen: {
        ui::FileDialog dialog(true, "RTF", "", kFilter);
        if (dialog.DoModal() == ui::IDOK) LoadFile(dialog.GetPathName());
        return true;
    }
    case kCmdSave:
        if (!m_strFile.empty()) {
            SaveFile(m_strFile);
            return true;
        }
        [[fallthrough]];
    case kCmdSaveAs: {
        ui::FileDialog dialog(false, "RTF", m_strFile, kFilter);
        if (dialog.DoModal() == ui::IDOK) SaveFile(dialog.GetPathName());
        return true;
    }
    case kCmdExit:
        Close();
        return true;
    case kCmdUndo: m_Edit.Undo(); return true;
    case kCmdCut: m_Edit.Cut(); m_bChanged = true; return true;
    case kCmdCopy: m_Edit.Copy(); return true;
    case kCmdPaste: m_Edit.Paste(); m_bChanged = true; return true;
    case kCmdDelete: m_Edit.Clear(); m_bChanged = true; return true;
    case kCmdSelectAll: m_Edit.SelectAll(); return true;
    case kCmdFind:
        m_pFind->Open(m_strFind);
        return true;
    case kCmdNextWord: m_Edit.NextWord(); return true;
    case kCmdBold: m_Edit.ToggleBold(); m_bChanged = true; return true;
    case kCmdItalic: m_Edit.ToggleItalic(); m_bChanged = true; return true;
    case kCmdUnderline: m_Edit.ToggleUnderline(); m_bChanged = true; return true;
    case kCmdLeft: m_Edit.SetAlignment(ui::RtfParagraph::Left); m_bChanged = true; return true;
    case kCmdCenter: m_Edit.SetAlignment(ui::RtfParagraph::Center); m_bChanged = true; return true;
    case kCmdRight: m_Edit.SetAlignment(ui::RtfParagraph::Right); m_bChanged = true; return true;
    case kCmdFont: {
        ui::Font initial;
        initial.face = "Arial";
        ui::FontDialog dialog(initial);
        if (dialog.DoModal() == ui::IDOK) {
            const ui::Font& f = dialog.GetFont();
            m_Edit.SetSelectionFont(f.face, std::max(2, f.sizeTenths / 5), f.bold, f.italic, f.underline);
            m_bChanged = true;
        }
        return true;
    }
    case kCmdTabStops:
        AskTabStops();
        return true;
    case kCmdPrint:
        Print(true);
        return true;
    case kCmdAbout:
        ui::MessageBox("Rich-Text Editor", ui::MB_OK, "About Rich-Text Editor");
        return true;
    default:
        return ui::FrameWindow::OnCommand(id, code);
    }
}

void CRtfViewerFrame::Close()
{
    if (m_bClosed) return;
    if (m_bAskToSave && (m_bChanged || m_Edit.IsModified())) {
        if (ui::MessageBox("Save to file?", ui::MB_YESNO, kTitle) == ui::IDYES) {
            if (!m_strFile.empty()) {
                SaveFile(m_strFile);
            } else {
                ui::FileDialog dialog(false, "RTF", "", kFilter);
                if (dialog.DoModal() == ui::IDOK) SaveFile(dialog.GetPathName());
            }
        }
    }
    m_bClosed = true;
    if (m_pFind && m_pFind->IsCreated()) m_pFind->DestroyWindow();
    DestroyWindow();
}

void CRtfViewerFrame::OnClose() { Close(); }

void OpenRtfViewer(const std::string& fileName, int left, int top, int right, int bottom,
                   int printOnly, int askToSave, int& result)
{
    WriteDiagnosticFormat("OpenRtfViewer %s\n", fileName.c_str());
    result = 0;
    CRtfViewerFrame viewer(askToSave == 1);
    if (!viewer.CreateViewer(printOnly == 0)) return;
    if (printOnly == 0) {
        if (!fileName.empty()) viewer.LoadFile(fileName);
        viewer.MoveWindow(ui::DCRect{left, top, right, bottom});
        viewer.BringWindowToTop();
        ui::Application::RunModalWindow(viewer, [&viewer] { return viewer.IsClosed(); });
    } else {
        if (viewer.LoadFile(fileName)) viewer.Print(false);
    }
    result = viewer.IsPrintAborted() ? 1 : 0;
}
