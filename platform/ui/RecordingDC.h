#pragma once
// A drawing context that records instead of drawing, with fixed font metrics, so that layouts of
// printouts and views can be checked to the pixel in tests, on any machine.
//
// The fixed metrics, in device pixels. With the default 720 pixels per inch one pixel is a tenth
// of a point, so a font's em equals its size in tenths of a point.
//   em       = round(sizeTenths * dpiY / 720)
//   ascent   = em * 4 / 5 (integer division), descent = em - ascent, height = em, no leading
//   width of a text = the sum of its characters' widths, each em * p / 100 (integer division):
//     fixed-pitch faces (Font::IsFixedPitch): p = 60 for every character
//     other faces: p = 25 for space and . , : ; ' ! | i I j l
//                  p = 80 for m w M W @ %
//                  p = 65 for the other capitals A-Z
//                  p = 50 for everything else
//   average character width = em * 60 / 100 (fixed pitch) or em * 50 / 100
// Bold, italic, underline and strikeout do not change the metrics. Clipping is not recorded.

#include "platform/ui/DC.h"
#include "platform/ui/PageModel.h"

namespace ui {

// A US letter page at 720 pixels per inch.
constexpr int kRecordingDpi = 720;
constexpr int kLetterWidthPx = 6120;
constexpr int kLetterHeightPx = 7920;

// The recording device. It appends to the last page of a model, starting one when there is none.
class RecordingDevice : public DCDevice {
public:
    RecordingDevice(PageModel* model, int width, int height, int dpiX, int dpiY);

    // Starts a new page of the device's current size.
    void NewPage();
    // Swaps width and height (and the two resolutions) for pages started from now on.
    void SetLandscape(bool landscape);
    bool IsLandscape() const { return landscape_; }

    static int CharWidth(const Font& font, int em, unsigned char c);
    int Em(const Font& font) const;

    int GetCaps(DeviceCap index) const override;
    TextMetrics GetMetrics(const Font& font) const override;
    int MeasureWidth(const Font& font, std::string_view text) const override;
    void DrawRun(int x, int y, std::string_view text, int fillWidth,
                 const TextStyle& style) override;
    void DrawLine(int x1, int y1, int x2, int y2, const Pen& pen) override;
    void DrawRect(const DCRect& r, const Pen& pen, const Brush& brush) override;
    void SetClip(const DCRect*) override {}
    void DrawIcon(int x, int y, const Icon& icon) override;
    void DrawPicture(int x, int y, const Picture& picture, const DCRect& source) override;

private:
    RecordedPage& Page();

    PageModel* model_;
    int width_;
    int height_;
    int dpiX_;
    int dpiY_;
    bool landscape_ = false;
};

class RecordingDC : public DC {
public:
    // Records into its own model, one page of the given size to begin with.
    explicit RecordingDC(int width = kLetterWidthPx, int height = kLetterHeightPx,
                         int dpi = kRecordingDpi);

    PageModel& Model() { return model_; }
    const PageModel& Model() const { return model_; }
    // The page being drawn.
    RecordedPage& CurrentPage() { return model_.pages.back(); }
    // Starts another page.
    void NewPage() { recorder_->NewPage(); }

private:
    PageModel model_;
    RecordingDevice* recorder_;  // owned by the DC
};

} // namespace ui
