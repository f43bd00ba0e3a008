#pragma once
// ui::ScrollView: a view of a document larger than the window. The document has a size in
// pixels (SetScrollSizes); the bars show when it does not fit; OnDraw draws in document
// coordinates, the DC's origin moved by the scroll position. Line and page steps are the
// framework's: by default a page is a tenth of the document, a line a tenth of a page.

#include "platform/ui/View.h"

namespace ui {

class ScrollView : public View {
public:
    // total: the document size; page and line: the steps (0: the defaults above).
    void SetScrollSizes(DCSize total, DCSize page = {}, DCSize line = {});
    DCSize GetTotalSize() const { return total_; }
    DCSize GetPageSize() const { return page_; }
    DCSize GetLineSize() const { return line_; }

    // The document point at the view's top-left corner.
    DCPoint GetScrollPosition() const { return pos_; }
    // Scrolls to a point, kept within 0 .. document size less the view size.
    void ScrollToPosition(DCPoint pos);
    // Applies a Win32 scroll request to one bar (SB_LINEDOWN, SB_PAGEUP, SB_THUMBTRACK, ...).
    void Scroll(ScrollBarId bar, int code, int thumbPos = 0);

    void OnVScroll(int code, int pos) override;
    void OnHScroll(int code, int pos) override;
    void OnPaint(DC& dc) override;
    void OnSize(int cx, int cy) override;

private:
    void UpdateBars();
    DCPoint MaxPosition() const;

    DCSize total_;
    DCSize page_;
    DCSize line_;
    DCPoint pos_;
    bool pageDefault_ = true;
    bool lineDefault_ = true;
};

} // namespace ui
