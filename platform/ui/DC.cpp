#include "platform/ui/DC.h"
#include "platform/ui/Picture.h"

#include "platform/host/Text.h"
#include "platform/ui/DCQt.h"
#include "platform/ui/Icon.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ui {

QColor ToQColor(COLORREF colour)
{
    return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

COLORREF FromQColor(const QColor& colour)
{
    QColor rgb = colour.toRgb();
    return RGB(static_cast<std::uint8_t>(rgb.red()), static_cast<std::uint8_t>(rgb.green()),
               static_cast<std::uint8_t>(rgb.blue()));
}

QFont ToQFont(const Font& font)
{
    QFont f(TextToQString(font.face));
    f.setPointSizeF(std::max(1, font.sizeTenths) / 10.0);
    f.setBold(font.bold);
    f.setItalic(font.italic);
    f.setUnderline(font.underline);
    f.setStrikeOut(font.strikeout);
    if (font.IsFixedPitch())
        f.setStyleHint(QFont::TypeWriter);
    return f;
}

Font FromQFont(const QFont& font)
{
    Font f;
    f.face = TextFromQString(font.family());
    f.sizeTenths = static_cast<int>(std::lround(font.pointSizeF() * 10.0));
    f.bold = font.bold();
    f.italic = font.italic();
    f.underline = font.underline();
    f.strikeout = font.strikeOut();
    return f;
}

QString TextToQString(std::string_view text)
{
    return QString::fromStdString(host::Cp1252ToUtf8(text));
}

std::string TextFromQString(const QString& text)
{
    return host::Utf8ToCp1252Lossy(text.toStdString());
}

namespace {

Qt::PenStyle ToQtPenStyle(PenStyle style)
{
    switch (style) {
    case PS_DASH: return Qt::DashLine;
    case PS_DOT: return Qt::DotLine;
    case PS_NULL: return Qt::NoPen;
    case PS_SOLID: break;
    }
    return Qt::SolidLine;
}

QPen ToQPen(const Pen& pen)
{
    QPen p(ToQColor(pen.colour));
    p.setWidth(pen.width);  // 0 is Qt's one-pixel cosmetic pen, like Win32's
    p.setStyle(ToQtPenStyle(pen.style));
    p.setCapStyle(Qt::FlatCap);
    return p;
}

// The next tab stop strictly beyond position end.
int NextTabStop(int end, const std::vector<int>& stops, int defWidth, int tabOrigin)
{
    for (int s : stops)
        if (tabOrigin + s > end)
            return tabOrigin + s;
    const int rel = end - tabOrigin;
    const int steps = rel >= 0 ? rel / defWidth : -((-rel + defWidth - 1) / defWidth);
    return tabOrigin + (steps + 1) * defWidth;
}

} // namespace

int PainterDevice::GetCaps(DeviceCap index) const
{
    const QPaintDevice* device = MetricsDevice();
    if (device) {
        switch (index) {
        case HORZRES: return device->width();
        case VERTRES: return device->height();
        case LOGPIXELSX: return device->logicalDpiX();
        case LOGPIXELSY: return device->logicalDpiY();
        }
        return 0;
    }
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return index == LOGPIXELSX || index == LOGPIXELSY ? 96 : 0;
    switch (index) {
    case HORZRES: return screen->geometry().width();
    case VERTRES: return screen->geometry().height();
    case LOGPIXELSX: return static_cast<int>(std::lround(screen->logicalDotsPerInchX()));
    case LOGPIXELSY: return static_cast<int>(std::lround(screen->logicalDotsPerInchY()));
    }
    return 0;
}

TextMetrics PainterDevice::GetMetrics(const Font& font) const
{
    QFontMetrics fm = Metrics(font);
    TextMetrics tm;
    tm.ascent = fm.ascent();
    tm.descent = fm.descent();
    tm.height = fm.height();
    tm.externalLeading = std::max(0, fm.leading());
    tm.aveCharWidth = fm.averageCharWidth();
    return tm;
}

int PainterDevice::MeasureWidth(const Font& font, std::string_view text) const
{
    if (text.empty())
        return 0;
    return Metrics(font).horizontalAdvance(TextToQString(text));
}

void PainterDevice::DrawRun(int x, int y, std::string_view text, int fillWidth,
                        const TextStyle& style)
{
    if (!painter_)
        return;
    QFontMetrics fm = Metrics(style.font);
    if (style.opaque && fillWidth > 0)
        painter_->fillRect(x, y, fillWidth, fm.height(), ToQColor(style.bkColour));
    if (text.empty())
        return;
    painter_->setFont(ToQFont(style.font));
    painter_->setPen(ToQColor(style.colour));
    painter_->drawText(x, y + fm.ascent(), TextToQString(text));
}

void PainterDevice::DrawLine(int x1, int y1, int x2, int y2, const Pen& pen)
{
    if (!painter_ || pen.style == PS_NULL)
        return;
    painter_->setPen(ToQPen(pen));
    painter_->drawLine(x1, y1, x2, y2);
}

void PainterDevice::DrawRect(const DCRect& r, const Pen& pen, const Brush& brush)
{
    if (!painter_ || r.Width() <= 0 || r.Height() <= 0)
        return;
    if (!brush.null)
        painter_->fillRect(r.left, r.top, r.Width(), r.Height(), ToQColor(brush.colour));
    if (pen.style != PS_NULL) {
        painter_->setPen(ToQPen(pen));
        painter_->setBrush(Qt::NoBrush);
        // The outline lies inside the rectangle, whose right and bottom are exclusive.
        const int w = std::max(1, pen.width);
        const double half = w / 2.0;
        painter_->drawRect(QRectF(r.left + half, r.top + half, r.Width() - w, r.Height() - w));
    }
}

void PainterDevice::SetClip(const DCRect* r)
{
    if (!painter_)
        return;
    if (r)
        painter_->setClipRect(r->left, r->top, r->Width(), r->Height());
    else
        painter_->setClipping(false);
}

QFontMetrics PainterDevice::Metrics(const Font& font) const
{
    if (QPaintDevice* device = MetricsDevice())
        return QFontMetrics(ToQFont(font), device);
    return QFontMetrics(ToQFont(font));
}

QPaintDevice* PainterDevice::MetricsDevice() const
{
    if (metrics_)
        return metrics_;
    return painter_ ? painter_->device() : nullptr;
}

DC::DC() : device_(std::make_unique<PainterDevice>(nullptr)) {}

DC::DC(QPainter* painter) : device_(std::make_unique<PainterDevice>(painter)) {}

DC::DC(std::unique_ptr<DCDevice> device) : device_(std::move(device)) {}

DC::~DC() = default;

void DC::ReplaceDevice(std::unique_ptr<DCDevice> device)
{
    device_ = std::move(device);
    if (clipped_)
        device_->SetClip(&clip_);
}

int DC::GetDeviceCaps(DeviceCap index) const { return device_->GetCaps(index); }

Font DC::SelectFont(const Font& font)
{
    Font old = font_;
    font_ = font;
    return old;
}

TextMetrics DC::GetTextMetrics() const { return device_->GetMetrics(font_); }

DCSize DC::GetTextExtent(std::string_view text) const
{
    return {device_->MeasureWidth(font_, text), GetTextMetrics().height};
}

COLORREF DC::SetTextColor(COLORREF colour)
{
    return std::exchange(textColour_, colour);
}

COLORREF DC::SetBkColor(COLORREF colour) { return std::exchange(bkColour_, colour); }

BkMode DC::SetBkMode(BkMode mode) { return std::exchange(bkMode_, mode); }

unsigned DC::SetTextAlign(unsigned align) { return std::exchange(align_, align); }

TextStyle DC::CurrentStyle() const
{
    TextStyle style;
    style.font = font_;
    style.colour = textColour_;
    style.bkColour = bkColour_;
    style.opaque = bkMode_ == OPAQUE;
    return style;
}

void DC::TextOut(int x, int y, std::string_view text)
{
    if (text.empty())
        return;
    const TextMetrics tm = GetTextMetrics();
    const int width = device_->MeasureWidth(font_, text);
    if ((align_ & TA_CENTER) == TA_CENTER)
        x -= width / 2;
    else if (align_ & TA_RIGHT)
        x -= width;
    if ((align_ & TA_BASELINE) == TA_BASELINE)
        y -= tm.ascent;
    else if (align_ & TA_BOTTOM)
        y -= tm.height;
    device_->DrawRun(x + origin_.x, y + origin_.y, text, width, CurrentStyle());
}

template <typename DrawFn>
int DC::LayoutTabbed(int x, std::string_view text, const std::vector<int>& tabStops,
                     int tabOrigin, DrawFn&& draw) const
{
    const int eightChars = std::max(1, 8 * GetTextMetrics().aveCharWidth);
    std::vector<int> stops;
    int defWidth = eightChars;
    if (tabStops.size() == 1)
        defWidth = tabStops[0] > 0 ? tabStops[0] : eightChars;
    else if (tabStops.size() > 1)
        stops = tabStops;

    int cur = x;
    std::size_t pos = 0;
    for (;;) {
        const std::size_t tab = text.find('\t', pos);
        const std::string_view run =
            text.substr(pos, tab == std::string_view::npos ? std::string_view::npos : tab - pos);
        const int end = cur + device_->MeasureWidth(font_, run);
        if (tab == std::string_view::npos) {
            draw(cur, run, end - cur);
            return end;
        }
        const int next = NextTabStop(end, stops, defWidth, tabOrigin);
        draw(cur, run, next - cur);
        cur = next;
        pos = tab + 1;
    }
}

DCSize DC::TabbedTextOut(int x, int y, std::string_view text, const std::vector<int>& tabStops,
                         int tabOrigin)
{
    const TextStyle style = CurrentStyle();
    const int end = LayoutTabbed(x, text, tabStops, tabOrigin,
                                 [&](int runX, std::string_view run, int fillWidth) {
                                     if (run.empty() && !style.opaque)
                                         return;
                                     device_->DrawRun(runX + origin_.x, y + origin_.y, run,
                                                      fillWidth, style);
                                 });
    return {end - x, GetTextMetrics().height};
}

DCSize DC::GetTabbedTextExtent(std::string_view text, const std::vector<int>& tabStops) const
{
    const int end = LayoutTabbed(0, text, tabStops, 0, [](int, std::string_view, int) {});
    return {end, GetTextMetrics().height};
}

Pen DC::SelectPen(const Pen& pen) { return std::exchange(pen_, pen); }

Brush DC::SelectBrush(const Brush& brush) { return std::exchange(brush_, brush); }

DCPoint DC::MoveTo(int x, int y) { return std::exchange(current_, DCPoint{x, y}); }

void DC::LineTo(int x, int y)
{
    device_->DrawLine(current_.x + origin_.x, current_.y + origin_.y, x + origin_.x,
                      y + origin_.y, pen_);
    current_ = {x, y};
}

void DC::Rectangle(const DCRect& r)
{
    device_->DrawRect({r.left + origin_.x, r.top + origin_.y, r.right + origin_.x,
                       r.bottom + origin_.y},
                      pen_, brush_);
}

void DC::DrawIcon(int x, int y, const Icon& icon)
{
    if (!icon.IsNull()) device_->DrawIcon(x + origin_.x, y + origin_.y, icon);
}

void DCDevice::DrawIcon(int, int, const Icon&) {}

void DC::DrawPicture(int x, int y, const Picture& picture, const DCRect& source)
{
    if (!picture.IsNull()) device_->DrawPicture(x + origin_.x, y + origin_.y, picture, source);
}

void DCDevice::DrawPicture(int, int, const Picture&, const DCRect&) {}

void PainterDevice::DrawPicture(int x, int y, const Picture& picture, const DCRect& source)
{
    if (painter_ && picture.Get())
        painter_->drawImage(QPoint(x, y), *picture.Get(),
                            QRect(source.left, source.top, source.right - source.left, source.bottom - source.top));
}

void PainterDevice::DrawIcon(int x, int y, const Icon& icon)
{
    if (painter_ && icon.Get()) painter_->drawPixmap(x, y, icon.Get()->pixmap(Icon::kSize, Icon::kSize));
}

void DC::FillSolidRect(const DCRect& r, COLORREF colour)
{
    device_->DrawRect({r.left + origin_.x, r.top + origin_.y, r.right + origin_.x,
                       r.bottom + origin_.y},
                      Pen{PS_NULL, 0, colour}, Brush{false, colour});
}

DCPoint DC::SetViewportOrg(int x, int y) { return std::exchange(origin_, DCPoint{x, y}); }

void DC::SetClipRect(const DCRect& r)
{
    clip_ = {r.left + origin_.x, r.top + origin_.y, r.right + origin_.x, r.bottom + origin_.y};
    clipped_ = true;
    device_->SetClip(&clip_);
}

void DC::ClearClip()
{
    clipped_ = false;
    device_->SetClip(nullptr);
}

} // namespace ui
