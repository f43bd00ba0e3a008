#include "platform/ui/Colour.h"
#include "platform/ui/DCQt.h"

#include <gtest/gtest.h>

namespace ui {
namespace {

static_assert(RGB(0x12, 0x34, 0x56) == 0x00563412u, "COLORREF is 0x00BBGGRR");

TEST(Colour, PartsAndConversions)
{
    struct Case {
        std::uint8_t r, g, b;
        COLORREF ref;
        std::uint32_t hex;
    };
    const Case cases[] = {
        {0, 0, 0, 0x000000, 0x000000},
        {255, 255, 255, 0xFFFFFF, 0xFFFFFF},
        {255, 0, 0, 0x0000FF, 0xFF0000},
        {0, 0, 240, 0xF00000, 0x0000F0},
        {128, 0, 0, 0x000080, 0x800000},
        {150, 255, 150, 0x96FF96, 0x96FF96},
        {0x12, 0x34, 0x56, 0x563412, 0x123456},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.ref);
        const COLORREF ref = RGB(c.r, c.g, c.b);
        EXPECT_EQ(ref, c.ref);
        EXPECT_EQ(GetRValue(ref), c.r);
        EXPECT_EQ(GetGValue(ref), c.g);
        EXPECT_EQ(GetBValue(ref), c.b);
        EXPECT_EQ(ColourToRgbHex(ref), c.hex);
        EXPECT_EQ(ColourFromRgbHex(c.hex), ref);
        const QColor q = ToQColor(ref);
        EXPECT_EQ(q.red(), c.r);
        EXPECT_EQ(q.green(), c.g);
        EXPECT_EQ(q.blue(), c.b);
        EXPECT_EQ(FromQColor(q), ref);
    }
}

TEST(Colour, HighByteIsIgnored)
{
    EXPECT_EQ(GetRValue(0xFF000001u), 1);
    EXPECT_EQ(FromQColor(ToQColor(0x01020304u)), 0x00020304u);
}

} // namespace
} // namespace ui
