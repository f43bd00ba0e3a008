#pragma once
// Conversions between the drawing layer's values and Qt's, for code inside platform/ui and tests.

#include "platform/ui/Colour.h"
#include "platform/ui/DC.h"
#include "platform/ui/Font.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QString>

#include <string>
#include <string_view>

class QPainter;
class QPaintDevice;

namespace ui {

QColor ToQColor(COLORREF colour);
COLORREF FromQColor(const QColor& colour);

// A Qt font of the description's face, point size and styles.
QFont ToQFont(const Font& font);
// The description of a Qt font (its point size rounded to tenths).
Font FromQFont(const QFont& font);

// Windows-1252 text for Qt, and back (characters that Windows-1252 cannot hold become '?').
QString TextToQString(std::string_view text);
std::string TextFromQString(const QString& text);

} // namespace ui

namespace ui {

// The device of a DC drawing through a QPainter (a window's paint, a printer). Without a painter
// it only measures, against the primary screen.
class PainterDevice : public DCDevice {
public:
    // metrics: the device whose size, resolution and font metrics count (default: the painter's
    // device); it may be given before the painter is active, as a printer is.
    explicit PainterDevice(QPainter* painter, QPaintDevice* metrics = nullptr)
        : painter_(painter), metrics_(metrics)
    {
    }

    int GetCaps(DeviceCap index) const override;
    TextMetrics GetMetrics(const Font& font) const override;
    int MeasureWidth(const Font& font, std::string_view text) const override;
    void DrawRun(int x, int y, std::string_view text, int fillWidth,
                 const TextStyle& style) override;
    void DrawLine(int x1, int y1, int x2, int y2, const Pen& pen) override;
    void DrawRect(const DCRect& r, const Pen& pen, const Brush& brush) override;
    void DrawIcon(int x, int y, const Icon& icon) override;
    void DrawPicture(int x, int y, const Picture& picture, const DCRect& source) override;
    void SetClip(const DCRect* r) override;

private:
    QPaintDevice* MetricsDevice() const;
    QFontMetrics Metrics(const Font& font) const;

    QPainter* painter_;
    QPaintDevice* metrics_;
};

} // namespace ui
