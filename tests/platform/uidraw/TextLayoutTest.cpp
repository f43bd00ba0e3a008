// Text layout on the recording DC (fixed metrics: at 720 dpi a 10 pt em is 100 pixels, the
// average proportional character 50) and the same calls on a real painter.
#include "platform/ui/DC.h"
#include "platform/ui/DCQt.h"
#include "platform/ui/RecordingDC.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

namespace ui {
namespace {

std::vector<int> RunXs(const RecordedPage& page)
{
    std::vector<int> xs;
    for (const RecordedText& t : page.texts)
        xs.push_back(t.x);
    return xs;
}

TEST(TabbedText, TabStopRules)
{
    struct Case {
        const char* name;
        std::string face;
        int x;
        int origin;
        std::vector<int> stops;
        std::string text;
        std::vector<int> runXs;
        int extent;
    };
    const Case cases[] = {
        // No stops: every 8 average characters (8 x 50 = 400).
        {"default", "Arial", 0, 0, {}, "ab\tc", {0, 400}, 450},
        {"default, text ends on a stop", "Arial", 0, 0, {}, "abcdefgh\tx", {0, 800}, 850},
        {"default, leading tab", "Arial", 0, 0, {}, "\tz", {400}, 450},
        {"default, fixed pitch", "Courier New", 0, 0, {}, "a\tb", {0, 480}, 540},
        {"default, origin left of x", "Arial", 1000, 0, {}, "a\tb", {1000, 1200}, 250},
        // One stop: a repeating interval.
        {"interval", "Arial", 0, 0, {300}, "a\tb\tc", {0, 300, 600}, 650},
        {"interval, long run skips stops", "Arial", 0, 0, {300}, "abcdefg\tx", {0, 600}, 650},
        // Several stops: the given positions, then every 8 average characters.
        {"positions", "Arial", 0, 0, {150, 700}, "abcd\tx\ty\tz", {0, 700, 800, 1200}, 1250},
        {"positions from the origin", "Arial", 1000, 1000, {150, 700}, "a\tb\tc",
         {1000, 1150, 1700}, 750},
        {"positions, empty runs", "Arial", 0, 0, {150, 700}, "\t\tz", {700}, 750},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingDC dc;
        dc.SelectFont({c.face, 100});
        const DCSize drawn = dc.TabbedTextOut(c.x, 10, c.text, c.stops, c.origin);
        EXPECT_EQ(RunXs(dc.CurrentPage()), c.runXs);
        EXPECT_EQ(drawn.cx, c.extent);
        EXPECT_EQ(drawn.cy, 100);
        for (const RecordedText& t : dc.CurrentPage().texts)
            EXPECT_EQ(t.y, 10);
        if (c.x == c.origin) {
            EXPECT_EQ(dc.GetTabbedTextExtent(c.text, c.stops).cx, c.extent);
        }
    }
}

TEST(TabbedText, RunsKeepFontAndColours)
{
    RecordingDC dc;
    dc.SelectFont({"Times New Roman", 120, true});
    dc.SetTextColor(RGB(128, 0, 0));
    dc.SetBkColor(RGB(0, 128, 128));
    dc.TabbedTextOut(0, 0, "Name\tBalance", {}, 0);
    ASSERT_EQ(dc.CurrentPage().texts.size(), 2u);
    const RecordedText& second = dc.CurrentPage().texts[1];
    EXPECT_EQ(second.text, "Balance");
    EXPECT_TRUE(second.font.bold);
    EXPECT_EQ(second.font.sizeTenths, 120);
    EXPECT_EQ(second.colour, RGB(128, 0, 0));
    EXPECT_EQ(second.bkColour, RGB(0, 128, 128));
}

TEST(TextExtent, FixedMetrics)
{
    struct Case {
        std::string face;
        int size;
        int dpi;
        std::string text;
        int cx;
        int cy;
    };
    const Case cases[] = {
        {"Times New Roman", 100, 720, "Hi", 65 + 25, 100},
        {"Times New Roman", 100, 720, "mom", 80 + 50 + 80, 100},
        {"Times New Roman", 100, 720, "", 0, 100},
        {"Arial", 120, 720, "A b", 78 + 30 + 60, 120},
        {"Courier New", 100, 720, "Hi there", 8 * 60, 100},
        {"Times New Roman", 100, 300, "ab", 2 * 21, 42},  // em = round(100 * 300 / 720) = 42
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.face + " " + c.text);
        RecordingDC dc(2000, 2000, c.dpi);
        dc.SelectFont({c.face, c.size});
        EXPECT_EQ(dc.GetTextExtent(c.text), (DCSize{c.cx, c.cy}));
    }
    RecordingDC dc;
    dc.SelectFont({"Arial", 100});
    const TextMetrics tm = dc.GetTextMetrics();
    EXPECT_EQ(tm.ascent, 80);
    EXPECT_EQ(tm.descent, 20);
    EXPECT_EQ(tm.aveCharWidth, 50);
}

TEST(TextOut, AlignmentAndOrigin)
{
    struct Case {
        unsigned align;
        int x;
        int y;
    };
    // "ab" is 100 wide, ascent 80, height 100; drawn at (1000, 500).
    const Case cases[] = {
        {TA_LEFT | TA_TOP, 1000, 500},   {TA_CENTER | TA_TOP, 950, 500},
        {TA_RIGHT | TA_TOP, 900, 500},   {TA_LEFT | TA_BASELINE, 1000, 420},
        {TA_RIGHT | TA_BOTTOM, 900, 400},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.align);
        RecordingDC dc;
        dc.SelectFont({"Arial", 100});
        dc.SetTextAlign(c.align);
        dc.TextOut(1000, 500, "ab");
        ASSERT_EQ(dc.CurrentPage().texts.size(), 1u);
        EXPECT_EQ(dc.CurrentPage().texts[0].x, c.x);
        EXPECT_EQ(dc.CurrentPage().texts[0].y, c.y);
    }

    RecordingDC dc;
    dc.SetViewportOrg(-30, -200);
    dc.TextOut(100, 300, "x");
    dc.MoveTo(0, 0);
    dc.LineTo(50, 250);
    dc.FillSolidRect({10, 10, 20, 20}, kBlack);
    const RecordedPage& page = dc.CurrentPage();
    EXPECT_EQ(page.texts.at(0).x, 70);
    EXPECT_EQ(page.texts.at(0).y, 100);
    EXPECT_EQ(page.lines.at(0).x1, -30);
    EXPECT_EQ(page.lines.at(0).y2, 50);
    EXPECT_EQ(page.rects.at(0).rect, (DCRect{-20, -190, -10, -180}));
    EXPECT_EQ(dc.GetCurrentPosition(), (DCPoint{50, 250}));
}

TEST(PainterDC, DrawsOnAnImage)
{
    QImage image(200, 100, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        DC dc(&painter);
        EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 200);
        EXPECT_EQ(dc.GetDeviceCaps(VERTRES), 100);
        dc.SelectFont({"Arial", 100});
        const DCSize one = dc.GetTextExtent("W");
        const DCSize two = dc.GetTextExtent("WW");
        EXPECT_GT(one.cx, 0);
        EXPECT_GT(one.cy, 0);
        EXPECT_GT(two.cx, one.cx);
        dc.SetViewportOrg(100, 0);
        dc.FillSolidRect({10, 10, 20, 20}, RGB(0, 0, 240));
        dc.SetViewportOrg(0, 0);
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(5, 50, "Www");
    }
    EXPECT_EQ(FromQColor(image.pixelColor(115, 15)), RGB(0, 0, 240));
    EXPECT_EQ(FromQColor(image.pixelColor(105, 15)), kWhite);
    bool inked = false;
    for (int y = 50; y < 100 && !inked; ++y)
        for (int x = 5; x < 100 && !inked; ++x)
            inked = FromQColor(image.pixelColor(x, y)) != kWhite;
    EXPECT_TRUE(inked);
}

} // namespace
} // namespace ui
