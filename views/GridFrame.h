#pragma once
// CGridFrame: a top-level window showing a table of text cells drawn by the program: a bold title
// above the table, ruled lines between cells, cell texts of one or more lines ("|" separates them)
// on coloured backgrounds, footnotes below. It scrolls both ways, maps a point to a cell and
// prints the table page by page in blocks that may repeat the label row and column. Every grid
// window derives from it: the derived grid fills the cells and the layout settings, then calls
// DrawGrid.
//
// A grid hides the main window while it is up and shows it again when it goes. It is made with
// new and deletes itself after its window is destroyed (not inside its own handler).

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui/DC.h"
#include "platform/ui/FrameWindow.h"
#include "records/TextArray2D.h"

namespace ui { class View; }
class IViewFrame;

class CGridFrame : public ui::FrameWindow {
public:
    CGridFrame();
    ~CGridFrame() override;

    // Creates the window over the main window's screen rectangle with the title and menu, and
    // shows it (centred, or maximised as the main window is). From then on the object deletes
    // itself after its window is destroyed: make it with new and never delete it.
    // `opener` is the window the grid replaces (none: the application's main window).
    bool CreateGridFrame(const std::string& title, int menuId, ui::Window* opener = nullptr);

    // Lays the table out at once (hit tests use the new layout) and repaints the window.
    void DrawGrid();
    // Column widths and row heights in the DC's pixels for the current cells, each cell's text
    // plus 4 x margin, limited by the maximum widths and heights in inches.
    void GetCellPixelSizes(ui::DC& dc, int margin, std::vector<unsigned>& widths,
                           std::vector<unsigned>& heights);
    // Hit test of a client point: sets m_nHitColumn, m_nHitRow (first edge right of / below the
    // point, -1 past the table) and m_nHitLine.
    void CellFromPoint(unsigned flags, int x, int y);

    // "Print the view": the print setup, then the table on the chosen printer.
    void PrintGrid();
    // Paginates onto an open printer DC and prints every block.
    void PrintSections(ui::DC& dc, int landscape);
    // Opens the help topic of the grid.
    void CallHelp(uint32_t topic);

    // Drawing helpers; `scrolled` 1 subtracts the scroll positions first.
    void DrawGridLine(ui::DC& dc, int x1, int y1, int x2, int y2, int penWidth, int scrolled);
    void DrawGridText(ui::DC& dc, int x, int y, const std::string& text, int size, int scrolled,
                      int bold, int italic = 0, int underline = 0, int strikeOut = 0);
    ui::DCSize MeasureGridText(ui::DC& dc, const std::string& text, int size);

    // Scrolling (Win32 request codes) and the drag auto-scroll.
    void OnGridVScroll(int code, int pos);
    void OnGridHScroll(int code, int pos);

    // The client view's mouse, for derived grids (client coordinates).
    virtual void OnGridLButtonDown(int x, int y);
    virtual void OnGridLButtonUp(int x, int y);
    virtual void OnGridRButtonDown(int x, int y);
    virtual void OnGridMouseMove(int x, int y);

    // The client view (paint, mouse, scroll bars).
    ui::View& GridView();

    // The table and its layout settings.
    std::string m_strTitle;
    std::vector<float> m_aColumnMaxWidths;  // inches
    std::vector<float> m_aRowMaxHeights;    // inches
    CTextArray2D m_Cells;
    std::vector<std::string> m_aFootnotes;
    int32_t m_nTitleFontSize = 120;  // tenths of a point
    int32_t m_nCellFontSize = 100;
    int32_t m_bRepeatLabelRow = 0;
    int32_t m_bRepeatLabelColumn = 0;
    int32_t m_bLandscape = 0;

    // Scrolling and the last layout.
    int32_t m_nHScroll = 0;
    int32_t m_nVScroll = 0;
    int32_t m_nTotalWidth = 0;
    int32_t m_nTotalHeight = 0;
    int32_t m_nHitColumn = -1;
    int32_t m_nHitRow = -1;
    int32_t m_nLineHeight = 0;
    int32_t m_nHitLine = 0;
    int32_t m_bDragMode = 0;
    std::vector<unsigned> m_aColumnWidths;
    std::vector<unsigned> m_aRowHeights;
    std::vector<unsigned> m_aColumnEdges;
    std::vector<unsigned> m_aRowEdges;

    void OnDestroy() override;

protected:
    // Runs before the grid paints: a derived grid whose data went stale refills its cells.
    virtual void BeforeGridUse() {}

private:
    class ClientView;
    friend class ClientView;

    // Lays out on the DC (edges, totals, scroll bars).
    void LayOut(ui::DC& dc);
    // Draws the last layout on the window's DC.
    void PaintGrid(ui::DC& dc);
    // One page block: cells, widths and heights of the block.
    struct Block {
        CTextArray2D cells;
        std::vector<unsigned> widths;
        std::vector<unsigned> heights;
    };
    void PrintBlock(ui::DC& dc, const Block& block, int left, int top, int penWidth);
    static void Scroll(int code, int pos, int maximum, int32_t& position);

    // Shows the main window again as it was when the grid hid it.
    void RestoreHiddenWindow();

    std::unique_ptr<ClientView> m_pView;
    ui::Window* m_pHiddenWindow = nullptr;
    bool m_bHiddenZoomed = false;
    IViewFrame* m_pRecordFrame = nullptr;  // the frame the grid is registered with
};
