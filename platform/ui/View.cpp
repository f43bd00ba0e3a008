#include "platform/ui/View.h"

#include "platform/ui/DC.h"
#include "platform/ui/FrameWindow.h"

#include <QObject>
#include <QScrollBar>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {

int CodeOfAction(int action)
{
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd: return SB_LINEDOWN;
    case QAbstractSlider::SliderSingleStepSub: return SB_LINEUP;
    case QAbstractSlider::SliderPageStepAdd: return SB_PAGEDOWN;
    case QAbstractSlider::SliderPageStepSub: return SB_PAGEUP;
    case QAbstractSlider::SliderToMinimum: return SB_TOP;
    case QAbstractSlider::SliderToMaximum: return SB_BOTTOM;
    case QAbstractSlider::SliderMove: return SB_THUMBTRACK;
    default: return SB_ENDSCROLL;
    }
}

// The colour of a window's face (the corner between two scroll bars).
constexpr COLORREF kFaceColour = 0x00F0F0F0;

} // namespace

struct View::Bars {
    struct Bar {
        QScrollBar* widget = nullptr;
        bool visible = false;
        int min = 0;
        int max = 0;
        int pos = 0;
        int page = 0;
    };
    Bar bar[2];  // SB_HORZ, SB_VERT
};

View::View() : bars_(std::make_unique<Bars>()) {}
View::~View() = default;

bool View::CreateView(FrameWindow* frame, int id)
{
    frame_ = frame;
    if (!Create(frame, frame ? frame->GetViewRect() : DCRect{0, 0, 100, 100}, id))
        return false;
    ShowWindow(false);
    for (int b = 0; b < 2; ++b) {
        auto* bar = new QScrollBar(b == SB_VERT ? Qt::Vertical : Qt::Horizontal, GetWidget());
        bar->hide();
        bars_->bar[b].widget = bar;
        QObject::connect(bar, &QAbstractSlider::actionTriggered, bar, [this, b, bar](int action) {
            const int code = CodeOfAction(action);
            const int pos = bar->sliderPosition();
            if (b == SB_VERT)
                OnVScroll(code, pos);
            else
                OnHScroll(code, pos);
            // The view decides where the bar stands, as with Win32 scroll bars.
            bar->setSliderPosition(bars_->bar[b].pos);
        });
    }
    PlaceBars();
    return true;
}

void View::OnDraw(DC&) {}
void View::OnUpdate() { Invalidate(); }
void View::OnActivateView(bool) {}

void View::OnPaint(DC& dc)
{
    BeginViewPaint(dc);
    OnDraw(dc);
    EndViewPaint(dc);
}

void View::BeginViewPaint(DC& dc)
{
    const bool vert = bars_->bar[SB_VERT].visible, horz = bars_->bar[SB_HORZ].visible;
    if (!vert && !horz) return;
    const DCRect client = GetClientRect();
    const DCRect inner = GetViewClientRect();
    if (vert && horz) dc.FillSolidRect({inner.right, inner.bottom, client.right, client.bottom}, kFaceColour);
    dc.SetClipRect(inner);
}

void View::EndViewPaint(DC& dc)
{
    if (bars_->bar[SB_VERT].visible || bars_->bar[SB_HORZ].visible) dc.ClearClip();
}

void View::OnSize(int, int) { PlaceBars(); }

void View::OnVScroll(int, int) {}
void View::OnHScroll(int, int) {}

void View::ShowScrollBar(ScrollBarId bar, bool show)
{
    if (bars_->bar[bar].visible == show)
        return;
    bars_->bar[bar].visible = show;
    PlaceBars();
}

bool View::IsScrollBarVisible(ScrollBarId bar) const { return bars_->bar[bar].visible; }

void View::SetScrollRange(ScrollBarId bar, int minPos, int maxPos)
{
    Bars::Bar& b = bars_->bar[bar];
    b.min = minPos;
    b.max = std::max(minPos, maxPos);
    b.pos = std::clamp(b.pos, b.min, b.max);
    if (b.widget) {
        b.widget->setRange(b.min, b.max);
        b.widget->setSliderPosition(b.pos);
    }
}

void View::GetScrollRange(ScrollBarId bar, int& minPos, int& maxPos) const
{
    minPos = bars_->bar[bar].min;
    maxPos = bars_->bar[bar].max;
}

int View::SetScrollPos(ScrollBarId bar, int pos)
{
    Bars::Bar& b = bars_->bar[bar];
    const int old = b.pos;
    b.pos = std::clamp(pos, b.min, b.max);
    if (b.widget)
        b.widget->setSliderPosition(b.pos);
    return old;
}

int View::GetScrollPos(ScrollBarId bar) const { return bars_->bar[bar].pos; }

void View::SetScrollPage(ScrollBarId bar, int page)
{
    Bars::Bar& b = bars_->bar[bar];
    b.page = std::max(0, page);
    if (b.widget && b.page > 0)
        b.widget->setPageStep(b.page);
}

DCRect View::GetViewClientRect() const
{
    DCRect r = GetClientRect();
    if (bars_->bar[SB_VERT].visible && bars_->bar[SB_VERT].widget)
        r.right -= bars_->bar[SB_VERT].widget->sizeHint().width();
    if (bars_->bar[SB_HORZ].visible && bars_->bar[SB_HORZ].widget)
        r.bottom -= bars_->bar[SB_HORZ].widget->sizeHint().height();
    r.right = std::max(r.left, r.right);
    r.bottom = std::max(r.top, r.bottom);
    return r;
}

void View::PlaceBars()
{
    QWidget* widget = GetWidget();
    if (!widget)
        return;
    const DCRect inner = GetViewClientRect();
    QScrollBar* v = bars_->bar[SB_VERT].widget;
    QScrollBar* h = bars_->bar[SB_HORZ].widget;
    if (v) {
        v->setGeometry(inner.right, 0, v->sizeHint().width(), inner.bottom);
        v->setVisible(bars_->bar[SB_VERT].visible);
    }
    if (h) {
        h->setGeometry(0, inner.bottom, inner.right, h->sizeHint().height());
        h->setVisible(bars_->bar[SB_HORZ].visible);
    }
}

} // namespace ui
