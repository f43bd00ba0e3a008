#include "platform/ui/RecordingDC.h"

#include "platform/ui/Picture.h"

#include "platform/ui/Icon.h"

#include <cmath>
#include <cstring>

namespace ui {

RecordingDevice::RecordingDevice(PageModel* model, int width, int height, int dpiX, int dpiY)
    : model_(model), width_(width), height_(height), dpiX_(dpiX), dpiY_(dpiY)
{
}

void RecordingDevice::NewPage()
{
    RecordedPage page;
    page.width = width_;
    page.height = height_;
    page.dpiX = dpiX_;
    page.dpiY = dpiY_;
    page.landscape = landscape_;
    model_->pages.push_back(std::move(page));
}

void RecordingDevice::SetLandscape(bool landscape)
{
    if (landscape == landscape_)
        return;
    landscape_ = landscape;
    std::swap(width_, height_);
    std::swap(dpiX_, dpiY_);
}

RecordedPage& RecordingDevice::Page()
{
    if (model_->pages.empty())
        NewPage();
    return model_->pages.back();
}

int RecordingDevice::Em(const Font& font) const
{
    const long size = font.sizeTenths < 1 ? 1 : font.sizeTenths;
    return static_cast<int>(std::lround(static_cast<double>(size) * dpiY_ / 720.0));
}

int RecordingDevice::CharWidth(const Font& font, int em, unsigned char c)
{
    int percent = 50;
    if (font.IsFixedPitch())
        percent = 60;
    else if (c == ' ' || std::strchr(".,:;'!|iIjl", c))
        percent = 25;
    else if (std::strchr("mwMW@%", c))
        percent = 80;
    else if (c >= 'A' && c <= 'Z')
        percent = 65;
    return em * percent / 100;
}

int RecordingDevice::GetCaps(DeviceCap index) const
{
    switch (index) {
    case HORZRES: return width_;
    case VERTRES: return height_;
    case LOGPIXELSX: return dpiX_;
    case LOGPIXELSY: return dpiY_;
    }
    return 0;
}

TextMetrics RecordingDevice::GetMetrics(const Font& font) const
{
    const int em = Em(font);
    TextMetrics tm;
    tm.ascent = em * 4 / 5;
    tm.descent = em - tm.ascent;
    tm.height = em;
    tm.aveCharWidth = em * (font.IsFixedPitch() ? 60 : 50) / 100;
    return tm;
}

int RecordingDevice::MeasureWidth(const Font& font, std::string_view text) const
{
    const int em = Em(font);
    int width = 0;
    for (char c : text)
        width += CharWidth(font, em, static_cast<unsigned char>(c));
    return width;
}

void RecordingDevice::DrawRun(int x, int y, std::string_view text, int,
                              const TextStyle& style)
{
    if (text.empty())
        return;
    RecordedText item;
    item.x = x;
    item.y = y;
    item.text = std::string(text);
    item.font = style.font;
    item.colour = style.colour;
    item.bkColour = style.bkColour;
    item.opaque = style.opaque;
    item.width = MeasureWidth(style.font, text);
    Page().texts.push_back(std::move(item));
}

void RecordingDevice::DrawLine(int x1, int y1, int x2, int y2, const Pen& pen)
{
    if (pen.style == PS_NULL)
        return;
    Page().lines.push_back({x1, y1, x2, y2, pen});
}

void RecordingDevice::DrawRect(const DCRect& r, const Pen& pen, const Brush& brush)
{
    if (pen.style == PS_NULL && brush.null)
        return;
    Page().rects.push_back({r, pen, brush});
}

void RecordingDevice::DrawIcon(int x, int y, const Icon& icon)
{
    Page().icons.push_back({x, y, icon.Letters()});
}

void RecordingDevice::DrawPicture(int x, int y, const Picture& picture, const DCRect& source)
{
    Page().pictures.push_back({x, y, source, picture.Width(), picture.Height()});
}

RecordingDC::RecordingDC(int width, int height, int dpi) : DC(std::unique_ptr<DCDevice>())
{
    auto device = std::make_unique<RecordingDevice>(&model_, width, height, dpi, dpi);
    recorder_ = device.get();
    recorder_->NewPage();
    ReplaceDevice(std::move(device));
}

} // namespace ui
