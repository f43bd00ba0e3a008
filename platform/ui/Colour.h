#pragma once
// Colours as the program stores them: Win32 COLORREF values 0x00BBGGRR.

#include <cstdint>

namespace ui {

using COLORREF = std::uint32_t;

// Builds a COLORREF from its red, green and blue parts (0..255 each).
constexpr COLORREF RGB(std::uint8_t r, std::uint8_t g, std::uint8_t b)
{
    return static_cast<COLORREF>(r) | (static_cast<COLORREF>(g) << 8) |
           (static_cast<COLORREF>(b) << 16);
}

constexpr std::uint8_t GetRValue(COLORREF c) { return static_cast<std::uint8_t>(c & 0xFF); }
constexpr std::uint8_t GetGValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 8) & 0xFF); }
constexpr std::uint8_t GetBValue(COLORREF c) { return static_cast<std::uint8_t>((c >> 16) & 0xFF); }

// The same colour as 0x00RRGGBB, the order most other software writes ("#RRGGBB").
constexpr std::uint32_t ColourToRgbHex(COLORREF c)
{
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) |
           (static_cast<std::uint32_t>(GetGValue(c)) << 8) | GetBValue(c);
}
constexpr COLORREF ColourFromRgbHex(std::uint32_t rrggbb)
{
    return RGB(static_cast<std::uint8_t>((rrggbb >> 16) & 0xFF),
               static_cast<std::uint8_t>((rrggbb >> 8) & 0xFF),
               static_cast<std::uint8_t>(rrggbb & 0xFF));
}

constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

} // namespace ui
