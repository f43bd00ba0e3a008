#include "platform/ui/ScrollView.h"

#include <algorithm>

namespace ui {

void ScrollView::SetScrollSizes(DCSize total, DCSize page, DCSize line)
{
    total_ = {std::max(0, total.cx), std::max(0, total.cy)};
    pageDefault_ = page.cx <= 0 && page.cy <= 0;
    lineDefault_ = line.cx <= 0 && line.cy <= 0;
    page_ = pageDefault_ ? DCSize{total_.cx / 10, total_.cy / 10} : page;
    line_ = lineDefault_ ? DCSize{page_.cx / 10, page_.cy / 10} : line;
    page_ = {std::max(1, page_.cx), std::max(1, page_.cy)};
    line_ = {std::max(1, line_.cx), std::max(1, line_.cy)};
    UpdateBars();
}

DCPoint ScrollView::MaxPosition() const
{
    const DCRect client = GetViewClientRect();
    return {std::max(0, total_.cx - client.Width()), std::max(0, total_.cy - client.Height())};
}

void ScrollView::ScrollToPosition(DCPoint pos)
{
    const DCPoint max = MaxPosition();
    pos.x = std::clamp(pos.x, 0, max.x);
    pos.y = std::clamp(pos.y, 0, max.y);
    if (pos == pos_)
        return;
    pos_ = pos;
    SetScrollPos(SB_HORZ, pos_.x);
    SetScrollPos(SB_VERT, pos_.y);
    Invalidate();
}

void ScrollView::Scroll(ScrollBarId bar, int code, int thumbPos)
{
    const bool vert = bar == SB_VERT;
    int p = vert ? pos_.y : pos_.x;
    const int line = vert ? line_.cy : line_.cx;
    const int page = vert ? page_.cy : page_.cx;
    const int max = vert ? MaxPosition().y : MaxPosition().x;
    switch (code) {
    case SB_LINEUP: p -= line; break;
    case SB_LINEDOWN: p += line; break;
    case SB_PAGEUP: p -= page; break;
    case SB_PAGEDOWN: p += page; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: p = thumbPos; break;
    case SB_TOP: p = 0; break;
    case SB_BOTTOM: p = max; break;
    default: return;
    }
    ScrollToPosition(vert ? DCPoint{pos_.x, p} : DCPoint{p, pos_.y});
}

void ScrollView::OnVScroll(int code, int pos) { Scroll(SB_VERT, code, pos); }
void ScrollView::OnHScroll(int code, int pos) { Scroll(SB_HORZ, code, pos); }

void ScrollView::OnPaint(DC& dc)
{
    BeginViewPaint(dc);
    const DCPoint old = dc.SetViewportOrg(-pos_.x, -pos_.y);
    OnDraw(dc);
    dc.SetViewportOrg(old.x, old.y);
    EndViewPaint(dc);
}

void ScrollView::OnSize(int cx, int cy)
{
    View::OnSize(cx, cy);
    UpdateBars();
}

void ScrollView::UpdateBars()
{
    // Showing one bar narrows the room for the other: settle in two rounds.
    for (int round = 0; round < 2; ++round) {
        const DCRect client = GetViewClientRect();
        ShowScrollBar(SB_HORZ, total_.cx > client.Width());
        ShowScrollBar(SB_VERT, total_.cy > client.Height());
    }
    const DCPoint max = MaxPosition();
    SetScrollRange(SB_HORZ, 0, max.x);
    SetScrollRange(SB_VERT, 0, max.y);
    const DCRect client = GetViewClientRect();
    SetScrollPage(SB_HORZ, client.Width());
    SetScrollPage(SB_VERT, client.Height());
    const DCPoint clamped{std::min(pos_.x, max.x), std::min(pos_.y, max.y)};
    if (!(clamped == pos_)) {
        pos_ = clamped;
        Invalidate();
    }
    SetScrollPos(SB_HORZ, pos_.x);
    SetScrollPos(SB_VERT, pos_.y);
}

} // namespace ui
