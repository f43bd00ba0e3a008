#pragma once
// The drawing context: everything the program draws on a window, a printer page or a recorded
// page goes through a ui::DC. Coordinates are device pixels (the Win32 MM_TEXT mapping): x to the
// right, y downwards, origin at the top left of the window's client area or of the printable area
// of the page. Text is Windows-1252, as everywhere in the program.
//
// A DC keeps the drawing state (selected font, pen, brush, text colours and alignment, current
// position, viewport origin, clip rectangle) and hands the few primitives that reach a device to a
// DCDevice: the painter device (a window or a printer, through Qt), or the recording device of
// RecordingDC, whose fixed font metrics make layouts exact in tests. Tab expansion, alignment and
// measuring are done here, once, so every device lays text out by the same rules.

#include "platform/ui/Colour.h"
#include "platform/ui/Font.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QPainter;

namespace ui {

struct DCPoint {
    int x = 0;
    int y = 0;
    bool operator==(const DCPoint&) const = default;
};

struct DCSize {
    int cx = 0;
    int cy = 0;
    bool operator==(const DCSize&) const = default;
};

// A rectangle whose right and bottom edges are exclusive, as in Win32.
struct DCRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const DCRect&) const = default;
};

// Device capability indexes, with their Win32 numbers.
enum DeviceCap : int {
    HORZRES = 8,      // width of the drawing area in pixels
    VERTRES = 10,     // height of the drawing area in pixels
    LOGPIXELSX = 88,  // pixels per inch horizontally
    LOGPIXELSY = 90,  // pixels per inch vertically
};

// Text alignment flags for TextOut, with their Win32 values. Horizontal: left, right or centre of
// the text at x; vertical: top, bottom or baseline of the text at y.
enum TextAlign : unsigned {
    TA_LEFT = 0,
    TA_RIGHT = 2,
    TA_CENTER = 6,
    TA_TOP = 0,
    TA_BOTTOM = 8,
    TA_BASELINE = 24,
};

enum BkMode : int { TRANSPARENT = 1, OPAQUE = 2 };

enum PenStyle : int { PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_NULL = 5 };

// A pen draws lines and rectangle outlines; width 0 is one pixel, as in Win32.
struct Pen {
    PenStyle style = PS_SOLID;
    int width = 0;
    COLORREF colour = kBlack;
    bool operator==(const Pen&) const = default;
};

// A brush fills rectangles; a null brush leaves the inside alone.
struct Brush {
    bool null = false;
    COLORREF colour = kWhite;
    bool operator==(const Brush&) const = default;
};

// Metrics of a font on a device, in device pixels (Win32 TEXTMETRIC's useful part).
struct TextMetrics {
    int height = 0;           // ascent + descent
    int ascent = 0;
    int descent = 0;
    int externalLeading = 0;  // extra space the font designer suggests between lines
    int aveCharWidth = 0;
};

// The text state a device needs to draw a run.
struct TextStyle {
    Font font;
    COLORREF colour = kBlack;
    COLORREF bkColour = kWhite;
    bool opaque = true;  // fill the text's cell with bkColour first
};

// The primitives that reach a device. Coordinates arrive already offset by the DC's viewport
// origin. Implemented by the painter device (DC.cpp) and the recording device (RecordingDC.cpp).
class Icon;
class Picture;

class DCDevice {
public:
    virtual ~DCDevice() = default;
    virtual int GetCaps(DeviceCap index) const = 0;
    virtual TextMetrics GetMetrics(const Font& font) const = 0;
    // Width in pixels of a single-line run without tabs.
    virtual int MeasureWidth(const Font& font, std::string_view text) const = 0;
    // Draws a run with its cell's top-left corner at (x, y). When the style is opaque, first fills
    // fillWidth pixels from x, the font's height high, with the background colour (a tabbed text
    // fills its tab gaps too); text may then be empty.
    virtual void DrawRun(int x, int y, std::string_view text, int fillWidth,
                         const TextStyle& style) = 0;
    virtual void DrawLine(int x1, int y1, int x2, int y2, const Pen& pen) = 0;
    // Outlines with the pen (unless null style) and fills with the brush (unless null).
    virtual void DrawRect(const DCRect& r, const Pen& pen, const Brush& brush) = 0;
    // Limits drawing to r, or lifts the limit when r is null.
    virtual void SetClip(const DCRect* r) = 0;
    // Draws the icon's big picture with its top-left corner at (x, y); devices without pictures
    // draw nothing.
    virtual void DrawIcon(int x, int y, const Icon& icon);
    // Draws the `source` rectangle of the picture (its pixels) unscaled with its top-left corner
    // at (x, y); devices without pictures draw nothing.
    virtual void DrawPicture(int x, int y, const Picture& picture, const DCRect& source);
};

class DC {
public:
    // A DC that measures against the screen and draws nothing (layouts outside painting).
    DC();
    // A DC drawing through a painter that the caller owns and keeps active (a window's paint).
    explicit DC(QPainter* painter);
    // A DC over any device; takes ownership.
    explicit DC(std::unique_ptr<DCDevice> device);
    virtual ~DC();
    DC(const DC&) = delete;
    DC& operator=(const DC&) = delete;

    // Device: GetDeviceCaps(HORZRES) etc.
    int GetDeviceCaps(DeviceCap index) const;

    // Fonts. SelectFont returns the font it replaces, so callers can restore it.
    Font SelectFont(const Font& font);
    const Font& GetFont() const { return font_; }
    TextMetrics GetTextMetrics() const;
    int GetAveCharWidth() const { return GetTextMetrics().aveCharWidth; }
    // Width and height of a one-line text in the selected font; tabs are not expanded.
    DCSize GetTextExtent(std::string_view text) const;

    // Text state.
    COLORREF SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const { return textColour_; }
    COLORREF SetBkColor(COLORREF colour);
    COLORREF GetBkColor() const { return bkColour_; }
    BkMode SetBkMode(BkMode mode);
    unsigned SetTextAlign(unsigned align);
    unsigned GetTextAlign() const { return align_; }

    // Draws a one-line text at (x, y) under the text alignment.
    void TextOut(int x, int y, std::string_view text);

    // Tabbed text with the Win32 tab-stop rules. No stops: a stop every 8 average character
    // widths; one stop: a stop every that many pixels; several: the given pixel positions, in
    // increasing order, after the last of which stops fall every 8 average character widths.
    // Stops count from tabOrigin. Each tab moves to the first stop beyond the end of the text
    // before it. The text is drawn from x with its top at y (alignment is not applied).
    // Returns the extent: from x to the end of the last run, and the font's height.
    DCSize TabbedTextOut(int x, int y, std::string_view text, const std::vector<int>& tabStops,
                         int tabOrigin);
    // The extent TabbedTextOut would return for the text at x = 0 with the origin at 0.
    DCSize GetTabbedTextExtent(std::string_view text, const std::vector<int>& tabStops) const;

    // Lines and shapes. LineTo draws from the current position and moves it.
    Pen SelectPen(const Pen& pen);
    Brush SelectBrush(const Brush& brush);
    DCPoint MoveTo(int x, int y);
    void LineTo(int x, int y);
    DCPoint GetCurrentPosition() const { return current_; }
    // Outlined with the pen and filled with the brush.
    void Rectangle(const DCRect& r);
    // The icon's picture, Icon::kSize square, with its top-left corner at (x, y) (Win32 DrawIcon).
    void DrawIcon(int x, int y, const Icon& icon);
    // The `source` rectangle of the picture, unscaled, with its top-left corner at (x, y).
    void DrawPicture(int x, int y, const Picture& picture, const DCRect& source);
    // Filled with one colour, no outline.
    void FillSolidRect(const DCRect& r, COLORREF colour);

    // The device point of logical point (0, 0); a scroll view sets it to minus its scroll
    // position so that its OnDraw can draw in document coordinates.
    DCPoint SetViewportOrg(int x, int y);
    DCPoint GetViewportOrg() const { return origin_; }
    // Limits drawing to a rectangle in logical coordinates, or lifts the limit.
    void SetClipRect(const DCRect& r);
    void ClearClip();

    DCDevice& Device() { return *device_; }
    const DCDevice& Device() const { return *device_; }

protected:
    void ReplaceDevice(std::unique_ptr<DCDevice> device);

private:
    TextStyle CurrentStyle() const;
    // Lays a tabbed text out from x; calls draw(xRun, run, fillWidth) for each run. Returns the end.
    template <typename DrawFn>
    int LayoutTabbed(int x, std::string_view text, const std::vector<int>& tabStops,
                     int tabOrigin, DrawFn&& draw) const;

    std::unique_ptr<DCDevice> device_;
    Font font_;
    Pen pen_;
    Brush brush_;
    COLORREF textColour_ = kBlack;
    COLORREF bkColour_ = kWhite;
    BkMode bkMode_ = OPAQUE;
    unsigned align_ = TA_LEFT | TA_TOP;
    DCPoint current_;
    DCPoint origin_;
    DCRect clip_;  // device coordinates
    bool clipped_ = false;
};

} // namespace ui
