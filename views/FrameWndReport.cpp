#include "views/FrameWndReport.h"

#include "common/Diagnostic.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "reports/PageLinePrint.h"
#include "views/FrameReportView.h"
#include "widgets/CommandGuards.h"
#include "widgets/ProgramIcon.h"
#include "widgets/WindowList.h"

#include <algorithm>
#include <map>

namespace {

constexpr int kPaneId = 0xE900;

void RegisterReportMenus()
{
    static bool done = false;
    if (done) return;
    done = true;
    ui::RegisterMenu({CFrameWndReport::kMenuFrame, {
        ui::Item(CFrameWndReport::kCmdExit, "e&Xit report"),
        ui::Popup("&Format", {ui::Item(CFrameReportView::kCmdPageLayout, "&Page layout")}),
        ui::Item(CFrameReportView::kCmdMark, "&Mark"),
        ui::Item(CFrameReportView::kCmdEdit, "&Edit"),
        ui::Item(CFrameReportView::kCmdPrint, "&Print"),
        ui::Item(CFrameWndReport::kCmdTextFile, "&Text file"),
        ui::Item(CFrameReportView::kCmdHelp, "&Help"),
    }});
    ui::RegisterMenu({CFrameWndReport::kMenuMarked, {
        ui::Item(CFrameReportView::kCmdUnmark, "&Unmark"),
        ui::Item(CFrameReportView::kCmdMarkMarked, "&Mark"),
        ui::Item(CFrameReportView::kCmdPrintMarked, "&Print"),
    }});
}

ui::Window* MainWindow()
{
    ui::Application* app = ui::Application::Instance();
    return app ? app->GetMainWindow() : nullptr;
}

}  // namespace

CFrameWndReport::CFrameWndReport()
{
    WriteDiagnosticString("CFrameWndReport constructor\n");
    RegisterReportMenus();
    ReportViewDisplayed = 1;
    Updaters().SetUpdateHandler(kCmdTextFile, [](ui::CmdUI& cmd) { cmd.Enable(false); });
    m_pView = std::make_unique<CFrameReportView>(&m_aLines);
    ui::Window* main = MainWindow();
    if (main && main->IsWindowVisible()) {
        main->ShowWindow(false);
        m_pHiddenWindow = main;
    }
}

CFrameWndReport::~CFrameWndReport()
{
    WriteDiagnosticString("~CFrameWndReport before DestroyWindow\n");
    EndModalGuard();
    if (m_pHiddenWindow) {
        ui::Window* main = MainWindow();
        if (main == m_pHiddenWindow) main->ShowWindow(true);
    } else if (ui::Window* main = MainWindow()) {
        main->ShowWindow(true);
    }
    if (m_pRecordFrame) m_pRecordFrame->RemoveRecordWindow(this);
    m_pRecordFrame = nullptr;
    if (m_pView && m_pView->IsCreated()) m_pView->DestroyWindow();
    if (IsCreated()) {
        SetAutoDelete(false);
        DestroyWindow();
    }
    ReportViewDisplayed = 0;
}

void CFrameWndReport::SetView(CDatabase* database, int report, int pageLayout, int option,
                              const std::vector<std::string>& strings, int format,
                              stPrinterDef* printer)
{
    const stFormatRecord* body = database ? database->GetFormat(static_cast<uint32_t>(format)) : nullptr;
    m_BodyFormat = body ? *body : DefaultPrintFormat();
    for (const std::string& s : strings) m_aLines.push_back(stFmtString{&m_BodyFormat, '-', s});
    SetView(database, report, pageLayout, option, printer);
}

void CFrameWndReport::CollectFormats(CDatabase* database)
{
    // Every distinct format of the lines gets a copy of its own; the lines point at it.
    std::map<const stFormatRecord*, stFormatRecord*> copies;
    std::vector<uint32_t> codes;
    m_aFormatCopies.clear();
    for (stFmtString& line : m_aLines) {
        if (!line.pFormat) continue;
        auto it = copies.find(line.pFormat);
        if (it == copies.end()) {
            m_aFormatCopies.push_back(*line.pFormat);
            it = copies.emplace(line.pFormat, &m_aFormatCopies.back()).first;
            const uint32_t code = static_cast<uint32_t>(line.pFormat->nCode);
            if (codes.size() < kMaxFontItems && std::find(codes.begin(), codes.end(), code) == codes.end())
                codes.push_back(code);
        }
        line.pFormat = it->second;
    }
    m_pView->SetFormatCodes(std::move(codes));
    // The header takes the last line's format that has tab stops, else format 0.
    const stFormatRecord* header = nullptr;
    for (auto it = m_aLines.rbegin(); it != m_aLines.rend(); ++it)
        if (it->pFormat && !it->pFormat->aTabStops.empty()) {
            header = it->pFormat;
            break;
        }
    if (!header && database) header = database->GetFormat(0);
    m_HeaderFormat = header ? *header : DefaultPrintFormat();
    m_pView->SetHeaderLine(stFmtString{&m_HeaderFormat, 'H', std::string()});
}

void CFrameWndReport::CopyFormats(CDatabase* database)
{
    if (!database) return;
    for (stFormatRecord& copy : m_aFormatCopies) {
        for (uint32_t i = 0; i < database->GetFormatCount(); ++i) {
            const stFormatRecord* f = database->GetFormat(i);
            if (f && f->nCode == copy.nCode) {
                copy = *f;
                break;
            }
        }
    }
}

void CFrameWndReport::SetView(CDatabase* database, int report, int pageLayout, int option,
                              stPrinterDef* printer)
{
    WriteDiagnosticString("CFrameWndReport::SetView\n");
    m_pDB = database;
    m_pPrinter = printer;
    ui::Window* main = MainWindow();
    ui::DCRect rect{40, 40, 840, 640};
    if (main && main->IsCreated()) rect = main->GetWindowRect();
    if (!IsCreated()) {
        CreateFrame("Report view/print", rect);
        SetIcon(ProgramIcon(), true);
        WriteDiagnosticString("CFrameWndReport::OnCreate\n");
        m_pView->CreateView(this, kPaneId);
        m_pView->OnCreate();
        SwitchView(m_pView.get());
    }
    SetAutoDelete(true);
    SetWindowText("Report view");
    m_pView->SetReport(database, report, pageLayout, option, printer, this);
    CollectFormats(database);
    m_pView->SetLineViewDatabase(database);
    BuildFontMenu(database);
    ShowWindow(true);
    BringWindowToTop();
    m_pView->SetFocus();
    m_pRecordFrame = dynamic_cast<IViewFrame*>(main);
    if (m_pRecordFrame == this) m_pRecordFrame = nullptr;
    if (m_pRecordFrame) m_pRecordFrame->AddRecordWindow(this);
    WriteDiagnosticString("CFrameWndReport::SetReportView Exit SetView\n");
    StartModalGuard();
}

void CFrameWndReport::BuildFontMenu(CDatabase* database)
{
    const ui::MenuTemplate* tmpl = ui::FindMenuTemplate(kMenuFrame);
    if (!tmpl) return;
    ui::Menu menu(*tmpl);
    for (ui::MenuItem& item : menu.Items()) {
        if (!item.IsPopup() || item.text != "&Format") continue;
        const std::vector<uint32_t>& codes = m_pView->GetFormatCodes();
        for (size_t k = 0; k < codes.size(); ++k) {
            std::string name;
            if (database && codes[k] < database->GetFormatNames().size())
                name = database->GetFormatNames()[codes[k]];
            else
                name = Format("%u", codes[k]);
            item.items.push_back(ui::Item(CFrameReportView::kCmdFontFirst + static_cast<int>(k),
                                          Format("Font %s", name.c_str())));
        }
    }
    SetMenu(menu);
    DrawMenuBar();
}

void CFrameWndReport::ShowMarkedMenu()
{
    if (GetMenu().GetId() == kMenuMarked) return;
    LoadMenu(kMenuMarked);
    DrawMenuBar();
}

void CFrameWndReport::StartModalGuard()
{
    if (m_bGuard) return;
    m_bGuard = true;
    for (ui::Window* w : WndList()) {
        if (w && w != this && w->IsCreated() && w->IsWindowEnabled()) {
            w->EnableWindow(false);
            m_aDisabled.push_back(w);
        }
    }
}

void CFrameWndReport::EndModalGuard()
{
    if (!m_bGuard) return;
    m_bGuard = false;
    const std::vector<ui::Window*>& listed = WndList();
    for (ui::Window* w : m_aDisabled)
        if (std::find(listed.begin(), listed.end(), w) != listed.end() && w->IsCreated()) w->EnableWindow(true);
    m_aDisabled.clear();
}

void CFrameWndReport::ReturnToMainView() { OnClose(); }

stPrinterDef& CFrameWndReport::GetPrinterDef()
{
    if (m_pPrinter) return *m_pPrinter;
    if (IViewFrame* main = dynamic_cast<IViewFrame*>(MainWindow()); main && main != this)
        return main->GetPrinterDef();
    return m_OwnPrinter;
}

bool CFrameWndReport::OnCommand(int id, int code)
{
    if (id == kCmdExit) {
        OnClose();
        return true;
    }
    return ui::FrameWindow::OnCommand(id, code);
}

void CFrameWndReport::OnClose()
{
    EndModalGuard();
    if (m_pRecordFrame) m_pRecordFrame->RemoveRecordWindow(this);
    m_pRecordFrame = nullptr;
    if (IsCreated()) {
        DestroyWindow();  // deletes the frame afterwards
    } else {
        delete this;
    }
}

void CFrameWndReport::InstallFactory()
{
    SetReportFrameFactory([]() -> IReportFrame* { return new CFrameWndReport(); });
}
