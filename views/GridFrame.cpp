#include "views/GridFrame.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "dialogs/DialogPrintSetup.h"
#include "platform/host/Format.h"
#include "platform/ui/Application.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/View.h"
#include "reports/PageLinePrint.h"
#include "views/ViewFrame.h"
#include "widgets/ControlHelpers.h"

namespace {

constexpr int kScreenMargin = 2;
constexpr int kPrinterMargin = 6;
constexpr int kScreenPen = 2;
constexpr int kPrinterPen = 6;
constexpr int kAutoScrollBand = 40;

// Calls `fn` with each line of a cell text ("|" separates them; a trailing "|" ends the last
// line; an empty text is one empty line).
template <class Fn>
void ForEachCellLine(std::string_view text, Fn&& fn)
{
    size_t start = 0;
    bool separated = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '|') continue;
        fn(text.substr(start, i - start));
        start = i + 1;
        separated = true;
    }
    if (start < text.size() || !separated) fn(text.substr(start));
}

// Text extents by text, for one font on one DC: a table repeats its texts, and measuring is dear.
struct TextHash {
    using is_transparent = void;
    size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
};
using ExtentCache = std::unordered_map<std::string, ui::DCSize, TextHash, std::equal_to<>>;

}  // namespace

// The client area: paints the frame's table and hands the mouse and the scroll bars to it.
class CGridFrame::ClientView : public ui::View {
public:
    explicit ClientView(CGridFrame& frame) : frame_(frame) {}
    void OnDraw(ui::DC& dc) override { frame_.PaintGrid(dc); }
    void OnVScroll(int code, int pos) override { frame_.OnGridVScroll(code, pos); }
    void OnHScroll(int code, int pos) override { frame_.OnGridHScroll(code, pos); }
    void OnLButtonDown(int x, int y) override { frame_.OnGridLButtonDown(x, y); }
    void OnLButtonUp(int x, int y) override { frame_.OnGridLButtonUp(x, y); }
    void OnRButtonDown(int x, int y) override { frame_.OnGridRButtonDown(x, y); }
    void OnMouseMove(int x, int y) override { frame_.OnGridMouseMove(x, y); }

private:
    CGridFrame& frame_;
};

CGridFrame::CGridFrame() : m_pView(std::make_unique<ClientView>(*this)) {}

CGridFrame::~CGridFrame() { RestoreHiddenWindow(); }

void CGridFrame::RestoreHiddenWindow()
{
    if (!m_pHiddenWindow) return;
    if (m_bHiddenZoomed)
        m_pHiddenWindow->ShowMaximized();
    else
        m_pHiddenWindow->ShowWindow(true);
    m_pHiddenWindow = nullptr;
}

ui::View& CGridFrame::GridView() { return *m_pView; }

bool CGridFrame::CreateGridFrame(const std::string& title, int menuId, ui::Window* opener)
{
    ui::Window* main = opener;
    if (!main && ui::Application::Instance()) main = ui::Application::Instance()->GetMainWindow();
    ui::DCRect rect{0, 0, 800, 600};
    if (main && main->IsCreated()) rect = main->GetWindowRect();
    if (!CreateFrame(title, rect)) return false;
    SetAutoDelete(true);
    SetCursorShape(ui::CursorShape::Arrow);
    if (LoadMenu(menuId)) DrawMenuBar();
    if (!CreateStatusBar({0})) GetResponse("Failed to create status bar\n", MB_OK);
    m_pView->CreateView(this, 59648);
    SwitchView(m_pView.get());
    const bool maximised = main && main->IsZoomed();
    if (main && main->IsWindowVisible()) {
        main->ShowWindow(false);
        m_pHiddenWindow = main;
        m_bHiddenZoomed = maximised;
    }
    m_pRecordFrame = dynamic_cast<IViewFrame*>(main);
    if (m_pRecordFrame) m_pRecordFrame->AddRecordWindow(this);
    if (maximised) {
        ShowMaximized();
    } else {
        CenterWindow();
        ShowWindow(true);
    }
    return true;
}

void CGridFrame::OnDestroy()
{
    if (m_pRecordFrame) m_pRecordFrame->RemoveRecordWindow(this);
    m_pRecordFrame = nullptr;
    RestoreHiddenWindow();
    ui::FrameWindow::OnDestroy();
}

// ---- Layout -----------------------------------------------------------------------------------

ui::DCSize CGridFrame::MeasureGridText(ui::DC& dc, const std::string& text, int size)
{
    ui::Font font;
    InitPrintFont(font, dc, size, "Times New Roman", 0, 0, 0, 0, 0);
    const ui::Font old = dc.SelectFont(font);
    const ui::DCSize extent = dc.GetTextExtent(text);
    dc.SelectFont(old);
    return extent;
}

void CGridFrame::GetCellPixelSizes(ui::DC& dc, int margin, std::vector<unsigned>& widths,
                                   std::vector<unsigned>& heights)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("GetCellPixelSizes\n");
    const int rows = m_Cells.GetRows();
    const int columns = m_Cells.GetColumns();
    // The widest line of each column and the tallest cell of each row, in one pass over the cells;
    // the cell font is selected once and each distinct line measured once.
    std::vector<unsigned> widest(static_cast<size_t>(columns), 0), tallest(static_cast<size_t>(rows), 0);
    ui::Font font;
    InitPrintFont(font, dc, m_nCellFontSize, "Times New Roman", 0, 0, 0, 0, 0);
    const ui::Font old = dc.SelectFont(font);
    ExtentCache extents;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            unsigned width = 0, height = 0;
            ForEachCellLine(m_Cells.GetText(r, c), [&](std::string_view line) {
                auto known = extents.find(line);
                if (known == extents.end()) known = extents.emplace(std::string(line), dc.GetTextExtent(line)).first;
                const ui::DCSize extent = known->second;
                if (DiagnosticLevel > 0)
                    WriteDiagnosticString(Format("Row %u, Col %u, %s, width %u\n", r, c, std::string(line).c_str(),
                                                 static_cast<unsigned>(extent.cx)));
                width = std::max(width, static_cast<unsigned>(extent.cx));
                height += static_cast<unsigned>(extent.cy);
            });
            widest[static_cast<size_t>(c)] = std::max(widest[static_cast<size_t>(c)], width);
            tallest[static_cast<size_t>(r)] = std::max(tallest[static_cast<size_t>(r)], height);
        }
    }
    dc.SelectFont(old);
    const int xpi = dc.GetDeviceCaps(ui::LOGPIXELSX);
    const int ypi = dc.GetDeviceCaps(ui::LOGPIXELSY);
    widths.assign(columns, 0);
    for (int c = 0; c < columns; ++c) {
        unsigned width = widest[static_cast<size_t>(c)] + 4 * margin;
        if (c < static_cast<int>(m_aColumnMaxWidths.size()))
            width = std::min(width, static_cast<unsigned>(static_cast<int>(xpi * m_aColumnMaxWidths[c])));
        widths[c] = width;
        if (DiagnosticLevel > 0) WriteDiagnosticString(Format("Set col %u width to %u\n", c, width));
    }
    heights.assign(rows, 0);
    for (int r = 0; r < rows; ++r) {
        unsigned height = tallest[static_cast<size_t>(r)] + 4 * margin;
        if (r < static_cast<int>(m_aRowMaxHeights.size()))
            height = std::min(height, static_cast<unsigned>(static_cast<int>(ypi * m_aRowMaxHeights[r])));
        heights[r] = height;
    }
}

void CGridFrame::LayOut(ui::DC& dc)
{
    GetCellPixelSizes(dc, kScreenMargin, m_aColumnWidths, m_aRowHeights);
    const ui::DCRect client = m_pView->GetClientRect();
    const unsigned left = static_cast<unsigned>(client.Width() / 20);
    const unsigned top = static_cast<unsigned>(client.Height() / 10);
    m_aColumnEdges.assign(1, left);
    for (unsigned width : m_aColumnWidths) m_aColumnEdges.push_back(m_aColumnEdges.back() + width);
    m_aRowEdges.assign(1, top);
    for (unsigned height : m_aRowHeights) m_aRowEdges.push_back(m_aRowEdges.back() + height);
    m_nTotalWidth = std::max(m_nTotalWidth, static_cast<int32_t>(m_aColumnEdges.back()));
    m_nTotalHeight = std::max(m_nTotalHeight, static_cast<int32_t>(m_aRowEdges.back()));
    // Bars show once the table outgrows the window and stay.
    if (m_nTotalWidth > client.Width()) {
        m_pView->ShowScrollBar(ui::SB_HORZ, true);
        m_pView->SetScrollRange(ui::SB_HORZ, 0, m_nTotalWidth);
    }
    if (m_nTotalHeight > client.Height()) {
        m_pView->ShowScrollBar(ui::SB_VERT, true);
        m_pView->SetScrollRange(ui::SB_VERT, 0, m_nTotalHeight);
    }
}

void CGridFrame::DrawGrid()
{
    ui::DC dc;  // the screen's metrics
    LayOut(dc);
    m_pView->Invalidate();
}

// ---- Drawing ----------------------------------------------------------------------------------

void CGridFrame::DrawGridLine(ui::DC& dc, int x1, int y1, int x2, int y2, int penWidth, int scrolled)
{
    if (scrolled == 1) {
        x1 -= m_nHScroll;
        x2 -= m_nHScroll;
        y1 -= m_nVScroll;
        y2 -= m_nVScroll;
    }
    const ui::Pen old = dc.SelectPen(ui::Pen{ui::PS_SOLID, penWidth, ui::kBlack});
    dc.MoveTo(x1, y1);
    dc.LineTo(x2, y2);
    dc.SelectPen(old);
}

void CGridFrame::DrawGridText(ui::DC& dc, int x, int y, const std::string& text, int size, int scrolled,
                              int bold, int italic, int underline, int strikeOut)
{
    if (scrolled == 1) {
        x -= m_nHScroll;
        y -= m_nVScroll;
    }
    ui::Font font;
    InitPrintFont(font, dc, size, "Times New Roman", 0, static_cast<uint8_t>(bold), static_cast<uint8_t>(italic),
                  static_cast<uint8_t>(underline), static_cast<uint8_t>(strikeOut));
    const ui::Font old = dc.SelectFont(font);
    dc.SetTextColor(0x000000);
    dc.SetBkMode(ui::TRANSPARENT);
    dc.TextOut(x, y, text);
    dc.SelectFont(old);
}

void CGridFrame::PaintGrid(ui::DC& dc)
{
    BeforeGridUse();
    LayOut(dc);
    const int rows = m_Cells.GetRows();
    const int columns = m_Cells.GetColumns();
    const int firstX = static_cast<int>(m_aColumnEdges.front());
    const int lastX = static_cast<int>(m_aColumnEdges.back());
    const int firstY = static_cast<int>(m_aRowEdges.front());
    const int lastY = static_cast<int>(m_aRowEdges.back());
    for (unsigned edge : m_aColumnEdges)
        DrawGridLine(dc, static_cast<int>(edge), firstY, static_cast<int>(edge), lastY, kScreenPen, 1);
    for (unsigned edge : m_aRowEdges)
        DrawGridLine(dc, firstX, static_cast<int>(edge), lastX, static_cast<int>(edge), kScreenPen, 1);

    ui::Font titleFont;
    InitPrintFont(titleFont, dc, m_nTitleFontSize, "Times New Roman", 0, 1, 0, 0, 0);
    ui::Font old = dc.SelectFont(titleFont);
    const ui::DCSize title = dc.GetTextExtent(m_strTitle);
    dc.SelectFont(old);
    const int titleX = std::max(firstX, (lastX + firstX - title.cx) / 2);
    DrawGridText(dc, titleX, (firstY - title.cy) / 2, m_strTitle, m_nTitleFontSize, 1, 1);

    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            const int x = static_cast<int>(m_aColumnEdges[c]);
            const int y = static_cast<int>(m_aRowEdges[r]);
            const ui::DCRect fill{x - m_nHScroll + 2, y - m_nVScroll + 2,
                                  x - m_nHScroll + 2 + static_cast<int>(m_aColumnWidths[c]) - 4,
                                  y - m_nVScroll + 2 + static_cast<int>(m_aRowHeights[r]) - 4};
            dc.SetClipRect(fill);
            dc.FillSolidRect(fill, m_Cells.GetColour(r, c));
            int lineY = y + 4;
            ForEachCellLine(m_Cells.GetText(r, c), [&](std::string_view view) {
                const std::string line(view);
                DrawGridText(dc, x + 4, lineY, line, m_nCellFontSize, 1, 0);
                const int height = MeasureGridText(dc, line, m_nCellFontSize).cy;
                m_nLineHeight = height;
                lineY += height;
            });
        }
    }
    dc.ClearClip();

    if (!m_aFootnotes.empty()) {
        InitPrintFont(titleFont, dc, m_nTitleFontSize, "Times New Roman", 0, 0, 0, 0, 0);
        old = dc.SelectFont(titleFont);
        const int spacing = dc.GetTextExtent(m_aFootnotes.front()).cy;
        dc.SelectFont(old);
        int y = lastY + 4;
        for (const std::string& note : m_aFootnotes) {
            DrawGridText(dc, firstX, y, note, m_nCellFontSize, 1, 0);
            y += spacing;
        }
    }
}

// ---- Scrolling and the mouse ------------------------------------------------------------------

void CGridFrame::Scroll(int code, int pos, int maximum, int32_t& position)
{
    switch (code) {
    case ui::SB_LINEUP: position -= 10; break;
    case ui::SB_LINEDOWN: position += 10; break;
    case ui::SB_PAGEUP: position -= 100; break;
    case ui::SB_PAGEDOWN: position += 100; break;
    case ui::SB_THUMBPOSITION:
    case ui::SB_THUMBTRACK: position = pos; break;
    case ui::SB_TOP: position = 0; break;
    case ui::SB_BOTTOM: position = maximum; break;
    default: return;
    }
    position = std::clamp(position, 0, std::max(0, maximum));
}

void CGridFrame::OnGridVScroll(int code, int pos)
{
    Scroll(code, pos, m_nTotalHeight, m_nVScroll);
    m_pView->SetScrollPos(ui::SB_VERT, m_nVScroll);
    m_pView->Invalidate();
    m_pView->UpdateWindow();
}

void CGridFrame::OnGridHScroll(int code, int pos)
{
    Scroll(code, pos, m_nTotalWidth, m_nHScroll);
    m_pView->SetScrollPos(ui::SB_HORZ, m_nHScroll);
    m_pView->Invalidate();
    m_pView->UpdateWindow();
}

void CGridFrame::OnGridLButtonDown(int, int) {}
void CGridFrame::OnGridLButtonUp(int, int) {}
void CGridFrame::OnGridRButtonDown(int, int) {}

void CGridFrame::OnGridMouseMove(int x, int y)
{
    if (m_bDragMode != 1) return;
    m_pView->SetCursorShape(ui::CursorShape::SizeAll);
    const ui::DCRect client = m_pView->GetClientRect();
    if (x > client.right - kAutoScrollBand)
        OnGridHScroll(ui::SB_LINERIGHT, 0);
    else if (x < client.left + kAutoScrollBand)
        OnGridHScroll(ui::SB_LINELEFT, 0);
    else if (y < client.top + kAutoScrollBand)
        OnGridVScroll(ui::SB_LINEUP, 0);
    else if (y > client.bottom - kAutoScrollBand)
        OnGridVScroll(ui::SB_LINEDOWN, 0);
}

void CGridFrame::CellFromPoint(unsigned, int x, int y)
{
    x += m_nHScroll;
    y += m_nVScroll;
    m_nHitColumn = -1;
    for (size_t c = 0; c < m_aColumnEdges.size(); ++c)
        if (x < static_cast<int>(m_aColumnEdges[c])) {
            m_nHitColumn = static_cast<int32_t>(c);
            break;
        }
    m_nHitRow = -1;
    for (size_t r = 0; r < m_aRowEdges.size(); ++r)
        if (y < static_cast<int>(m_aRowEdges[r])) {
            m_nHitRow = static_cast<int32_t>(r);
            break;
        }
    m_nHitLine = 0;
    if (m_nHitRow >= 1 && m_nLineHeight >= 1)
        m_nHitLine = (y - static_cast<int>(m_aRowEdges[m_nHitRow - 1])) / m_nLineHeight;
}

void CGridFrame::CallHelp(uint32_t topic)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CGridFrame::CallHelp\n");
    ShowHelpTopic(topic);
}

// ---- Printing ---------------------------------------------------------------------------------

void CGridFrame::PrintGrid()
{
    stPrinterDef noSettings;
    IViewFrame* owner = dynamic_cast<IViewFrame*>(m_pHiddenWindow);
    if (!owner && ui::Application::Instance())
        owner = dynamic_cast<IViewFrame*>(ui::Application::Instance()->GetMainWindow());
    stPrinterDef& settings = owner ? owner->GetPrinterDef() : noSettings;
    // One copy is offered; the settings keep their own copy count.
    const int32_t savedCopies = settings.nCopies;
    settings.nCopies = 1;
    CDialogPrintSetup setup(this);
    setup.m_pPrinterDef = &settings;
    setup.m_nMode = 0;
    const bool chosen = setup.DoModal() == IDOK;
    const int32_t copies = settings.nCopies;
    settings.nCopies = savedCopies;
    if (!chosen || copies == 0) return;
    ui::PrinterDC printer;
    if (!printer.Open(settings.sDevice == "DEFAULT" ? "" : settings.sDevice)) return;
    if (m_bLandscape == 1) printer.SetLandscape(true);
    printer.SetCopies(copies);
    if (printer.StartDoc("Grid print job") <= 0) return;
    PrintSections(printer, m_bLandscape);
    printer.EndDoc();
}

void CGridFrame::PrintSections(ui::DC& dc, int)
{
    const int width = dc.GetDeviceCaps(ui::HORZRES);
    const int height = dc.GetDeviceCaps(ui::VERTRES);
    const int marginX = width / 20;
    const int marginY = height / 10;
    const int usableWidth = width - 2 * marginX;
    const int usableHeight = height - 2 * marginY;
    if (DiagnosticLevel > 0)
        WriteDiagnosticString(Format("CGridFrame::PrintSections page height %i/%i, width %i/%i\n", height,
                                     usableHeight, width, usableWidth));
    std::vector<unsigned> widths, heights;
    GetCellPixelSizes(dc, kPrinterMargin, widths, heights);
    const int rows = static_cast<int>(heights.size());
    const int columns = static_cast<int>(widths.size());
    if (rows == 0 || columns == 0) return;

    // Block starts: a new block where the running size passes the page.
    auto starts = [&](const std::vector<unsigned>& sizes, int usable, int32_t repeat, const char* first,
                      const char* next, const char* adding) {
        std::vector<int> begin{0};
        int running = static_cast<int>(sizes[0]);
        if (DiagnosticLevel > 0) WriteDiagnosticString(Format(first, running));
        for (size_t i = 1; i < sizes.size(); ++i) {
            running += static_cast<int>(sizes[i]);
            if (DiagnosticLevel > 0) WriteDiagnosticString(Format(next, static_cast<int>(i), running));
            if (running > usable) {
                begin.push_back(static_cast<int>(i));
                running = static_cast<int>(sizes[i]) + (repeat == 1 ? static_cast<int>(sizes[0]) : 0);
                if (DiagnosticLevel > 0) WriteDiagnosticString(Format(adding, static_cast<int>(i)));
            }
        }
        return begin;
    };
    const std::vector<int> columnStarts = starts(widths, usableWidth, m_bRepeatLabelColumn, " Column 0, width %i\n",
                                                 " Column %i, width %i\n", "  *Adding start column %i\n");
    const std::vector<int> rowStarts = starts(heights, usableHeight, m_bRepeatLabelRow, " Row 0, height %i\n",
                                              " Row %i, height %i\n", "  *Adding start row %i\n");
    if (DiagnosticLevel > 0) WriteDiagnosticString("Loop on blocks\n");

    auto* printer = dynamic_cast<ui::PrinterDC*>(&dc);
    for (size_t rb = 0; rb < rowStarts.size(); ++rb) {
        const int rowStart = rowStarts[rb];
        const int rowEnd = rb + 1 < rowStarts.size() ? rowStarts[rb + 1] - 1 : rows - 1;
        for (size_t cb = 0; cb < columnStarts.size(); ++cb) {
            const int columnStart = columnStarts[cb];
            const int columnEnd = cb + 1 < columnStarts.size() ? columnStarts[cb + 1] - 1 : columns - 1;
            const int labelRow = m_bRepeatLabelRow == 1 && rb > 0 ? 1 : 0;
            const int labelColumn = m_bRepeatLabelColumn == 1 && cb > 0 ? 1 : 0;
            Block block;
            const int blockRows = rowEnd - rowStart + 1 + labelRow;
            const int blockColumns = columnEnd - columnStart + 1 + labelColumn;
            block.cells.SetSize(blockRows, blockColumns);
            if (DiagnosticLevel > 0) {
                WriteDiagnosticString(Format("Row block %i, start %i, end %i\n", static_cast<int>(rb), rowStart, rowEnd));
                WriteDiagnosticString(Format(" Column block %i, start %i, end %i\n", static_cast<int>(cb), columnStart,
                                             columnEnd));
            }
            if (DiagnosticLevel > 0) {
                const char* resize = labelRow && labelColumn ? "Add row and column labels, resize grid to %i, %i\n"
                                     : labelRow             ? "Add row label, resize grid to %i, %i\n"
                                     : labelColumn          ? "Add column lable, resize grid to %i, %i\n"
                                                            : "Resize grid to %i, %i\n";
                WriteDiagnosticString(Format(resize, blockRows, blockColumns));
            }
            auto copy = [&](int fromRow, int fromColumn, int toRow, int toColumn, const char* trace) {
                if (DiagnosticLevel > 0)
                    WriteDiagnosticString(Format(trace, fromRow, fromColumn, m_Cells.GetText(fromRow, fromColumn).c_str(),
                                                 toRow, toColumn));
                block.cells.SetAt(toRow, toColumn, m_Cells.GetText(fromRow, fromColumn),
                                  m_Cells.GetColour(fromRow, fromColumn));
            };
            constexpr const char* kRowLabel = " Insert row label from %i, %i (%s) at %i, %i\n";
            constexpr const char* kColumnLabel = " Insert column label from %i, %i (%s) at %i, %i\n";
            constexpr const char* kCell = " Insert from %i, %i (%s) at %i, %i\n";
            if (labelColumn) block.widths.push_back(widths[0]);
            for (int c = columnStart; c <= columnEnd; ++c) block.widths.push_back(widths[c]);
            if (labelRow) block.heights.push_back(heights[0]);
            for (int r = rowStart; r <= rowEnd; ++r) block.heights.push_back(heights[r]);
            if (labelRow && labelColumn) copy(0, 0, 0, 0, kRowLabel);
            if (labelRow)
                for (int c = columnStart; c <= columnEnd; ++c) copy(0, c, 0, c - columnStart + labelColumn, kRowLabel);
            if (labelColumn)
                for (int r = rowStart; r <= rowEnd; ++r) copy(r, 0, r - rowStart + labelRow, 0, kColumnLabel);
            for (int r = rowStart; r <= rowEnd; ++r)
                for (int c = columnStart; c <= columnEnd; ++c)
                    copy(r, c, r - rowStart + labelRow, c - columnStart + labelColumn, kCell);
            if (DiagnosticLevel > 0)
                WriteDiagnosticString(Format("Grid block: Row block %i, start %i, end %i, Column block %i, start %i, "
                                             "end %i\n",
                                             static_cast<int>(rb), rowStart, rowEnd, static_cast<int>(cb), columnStart,
                                             columnEnd));
            if (DiagnosticLevel > 0)
                for (int r = 0; r < block.cells.GetRows(); ++r) {
                    std::string line;
                    for (int c = 0; c < block.cells.GetColumns(); ++c)
                        line += Format(" %16s |", block.cells.GetText(r, c).c_str());
                    WriteDiagnosticString(line + "\n");
                }
            if (printer) printer->StartPage();
            PrintBlock(dc, block, marginX, marginY, kPrinterPen);
            if (printer) printer->EndPage();
        }
    }
}

void CGridFrame::PrintBlock(ui::DC& dc, const Block& block, int left, int top, int penWidth)
{
    std::vector<int> columnEdges{left}, rowEdges{top};
    for (unsigned width : block.widths) columnEdges.push_back(columnEdges.back() + static_cast<int>(width));
    for (unsigned height : block.heights) rowEdges.push_back(rowEdges.back() + static_cast<int>(height));
    for (int x : columnEdges) DrawGridLine(dc, x, rowEdges.front(), x, rowEdges.back(), penWidth, 0);
    for (int y : rowEdges) DrawGridLine(dc, columnEdges.front(), y, columnEdges.back(), y, penWidth, 0);

    ui::Font titleFont;
    InitPrintFont(titleFont, dc, m_nTitleFontSize, "Times New Roman", 0, 1, 0, 0, 0);
    const ui::Font old = dc.SelectFont(titleFont);
    const ui::DCSize title = dc.GetTextExtent(m_strTitle);
    dc.SelectFont(old);
    const int titleX = std::max(columnEdges.front(), (columnEdges.back() + columnEdges.front() - title.cx) / 2);
    DrawGridText(dc, titleX, (rowEdges.front() - title.cy) / 2, m_strTitle, m_nTitleFontSize, 0, 1);

    for (int r = 0; r < block.cells.GetRows(); ++r) {
        for (int c = 0; c < block.cells.GetColumns(); ++c) {
            const int x = columnEdges[c];
            const int y = rowEdges[r];
            const ui::DCRect fill{x, y, columnEdges[c + 1] - 2 * penWidth, rowEdges[r + 1] - 2 * penWidth};
            dc.SetClipRect(fill);
            dc.FillSolidRect(fill, block.cells.GetColour(r, c));
            int lineY = y + 2 * penWidth;
            ForEachCellLine(block.cells.GetText(r, c), [&](std::string_view view) {
                const std::string line(view);
                DrawGridText(dc, x + 2 * penWidth, lineY, line, m_nCellFontSize, 0, 0);
                lineY += MeasureGridText(dc, line, m_nCellFontSize).cy;
            });
        }
    }
    dc.ClearClip();
}
