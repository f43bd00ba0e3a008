#pragma once
// A font description as the program's format records hold it: a face name and a size in tenths
// of a point, with the four style switches. A DC turns it into a real font for its device; the
// size is a point size on every device (a 100 is 10 pt on screen and on paper alike).

#include <string>
#include <vector>

namespace ui {

struct Font {
    std::string face = "Times New Roman";
    int sizeTenths = 100;       // tenths of a point; values below 1 are taken as 1
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeout = false;

    bool operator==(const Font&) const = default;

    // True for the fixed-pitch faces the program uses ("Courier New", "Courier", "... Mono").
    bool IsFixedPitch() const;
};

// The outline (TrueType or OpenType) font families of the screen, sorted, as Windows-1252 names;
// families whose names Windows-1252 cannot hold are left out. Empty without an application.
std::vector<std::string> GetFontFamilies();

// The Win32 weight of a bold or normal font (700 / 400), for code that stores a weight.
constexpr int FontWeight(bool bold) { return bold ? 700 : 400; }

} // namespace ui
