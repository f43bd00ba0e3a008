#pragma once
// CFrameWndReport: the top-level window in which a finished text report is shown and printed, in
// its one view, CFrameReportView. While it is open the main window is hidden, the program's other
// windows are disabled and the flag ReportViewDisplayed is 1; closing it brings them back.
//
// The lines point at the frame's own copies of their formats (taken by SetView), so that the
// database freeing or reloading its formats meanwhile leaves the report whole; a confirmed font
// edit copies them again. Made with new; deletes itself after its window is destroyed.

#include "platform/ui/FrameWindow.h"
#include "reports/ReportFrame.h"
#include "views/ViewFrame.h"

#include <deque>
#include <memory>
#include <string>
#include <vector>

class CFrameReportView;

class CFrameWndReport : public ui::FrameWindow, public IReportFrame, public IViewFrame {
public:
    static constexpr int kMenuFrame = 102;
    static constexpr int kMenuMarked = 101;
    static constexpr int kCmdExit = 30005;
    static constexpr int kCmdTextFile = 30025;
    static constexpr size_t kMaxFontItems = 65;

    CFrameWndReport();
    ~CFrameWndReport() override;

    // ---- IReportFrame ----
    std::vector<stFmtString>& GetLines() override { return m_aLines; }
    void SetView(CDatabase* database, int report, int pageLayout, int option,
                 stPrinterDef* printer = nullptr) override;
    void SetView(CDatabase* database, int report, int pageLayout, int option,
                 const std::vector<std::string>& strings, int format,
                 stPrinterDef* printer = nullptr) override;

    // Menu 102 with one "Font %s" item per collected format code.
    void BuildFontMenu(CDatabase* database);
    // Menu 101, while lines are marked.
    void ShowMarkedMenu();
    // Copies the database's formats again into the frame's copies (after a font edit).
    void CopyFormats(CDatabase* database);

    CFrameReportView& GetReportView() { return *m_pView; }
    const stFormatRecord& GetHeaderFormat() const { return m_HeaderFormat; }

    // ---- IViewFrame ----
    void ShowLineNumber(uint32_t) override {}
    void SetViewModeText(const std::string&) override {}
    void ReturnToMainView() override;
    stPrinterDef& GetPrinterDef() override;

    bool OnCommand(int id, int code) override;
    void OnClose() override;

    // Installs the factory through which reports/ makes report frames.
    static void InstallFactory();

private:
    void StartModalGuard();
    void EndModalGuard();
    void CollectFormats(CDatabase* database);

    std::vector<stFmtString> m_aLines;
    std::unique_ptr<CFrameReportView> m_pView;
    stFormatRecord m_HeaderFormat;
    stFormatRecord m_BodyFormat;
    std::deque<stFormatRecord> m_aFormatCopies;  // stable addresses for the lines
    stPrinterDef* m_pPrinter = nullptr;
    stPrinterDef m_OwnPrinter;
    CDatabase* m_pDB = nullptr;
    ui::Window* m_pHiddenWindow = nullptr;
    IViewFrame* m_pRecordFrame = nullptr;
    std::vector<ui::Window*> m_aDisabled;
    bool m_bGuard = false;
};
