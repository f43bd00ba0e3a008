#pragma once
// Pages as a RecordingDC records them: what was drawn where, in device pixels, for tests to check
// a printout or a window's drawing exactly.

#include "platform/ui/DC.h"

#include <string>
#include <string_view>
#include <vector>

namespace ui {

// One run of text: its cell's top-left corner, its text (no tabs: a tabbed text records one item
// per run between tabs), the font, colours and the run's measured width.
struct RecordedText {
    int x = 0;
    int y = 0;
    std::string text;
    Font font;
    COLORREF colour = kBlack;
    COLORREF bkColour = kWhite;
    bool opaque = true;
    int width = 0;
};

struct RecordedLine {
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    Pen pen;
};

struct RecordedRect {
    DCRect rect;
    Pen pen;
    Brush brush;
};

// An icon drawn at (x, y), known by its letters.
struct RecordedIcon {
    int x = 0;
    int y = 0;
    std::string letters;
};

// A picture's `source` rectangle drawn unscaled at (x, y); the whole picture's size.
struct RecordedPicture {
    int x = 0;
    int y = 0;
    DCRect source;
    int pictureWidth = 0;
    int pictureHeight = 0;
};

struct RecordedPage {
    int width = 0;   // HORZRES
    int height = 0;  // VERTRES
    int dpiX = 0;
    int dpiY = 0;
    bool landscape = false;
    std::vector<RecordedText> texts;
    std::vector<RecordedLine> lines;
    std::vector<RecordedRect> rects;
    std::vector<RecordedIcon> icons;
    std::vector<RecordedPicture> pictures;

    // The first text item whose text is exactly text, or null.
    const RecordedText* Find(std::string_view text) const;
    // The page's texts as lines: items grouped by equal y, top to bottom, each line's runs in
    // x order joined by one space.
    std::vector<std::string> TextLines() const;
};

// A recorded print job (or a window's drawing: one page).
struct PageModel {
    std::string document;  // the StartDoc name
    std::string printer;   // the printer it was meant for
    int copies = 1;
    int documentsStarted = 0;
    int documentsEnded = 0;
    bool aborted = false;
    std::vector<RecordedPage> pages;

    void Clear() { *this = PageModel{}; }
};

} // namespace ui
