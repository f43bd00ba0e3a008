// CDisplayImage on the recording DC: a picture smaller than its box is centred and the box gives
// its size, a wider one is cut at the right unscaled, a window without a box takes the picture's
// size (20 pixels more with a second window), and a file that holds no picture draws nothing.

#include <gtest/gtest.h>

#include <QColor>
#include <QImage>

#include <filesystem>
#include <string>

#include "platform/ui/DC.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/RecordingDC.h"
#include "platform/ui/TestHooks.h"
#include "widgets/DisplayImage.h"

namespace {

class DisplayImageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::test::EnsureApplication();
        char pattern[] = "/tmp/dq_picture_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
    }
    void TearDown() override
    {
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    // A picture file of the size at 96 dpi, in the format of the extension.
    std::string MakePicture(int width, int height, const char* name)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(200, 30, 30));
        image.setDotsPerMeterX(3780);  // 96 dpi
        image.setDotsPerMeterY(3780);
        const std::string path = folder_ + "/" + name;
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        return path;
    }
    static ui::RecordedPicture Drawn(const CDisplayImage& image)
    {
        ui::RecordingDC dc(800, 600, 96);
        image.Draw(dc);
        EXPECT_EQ(dc.CurrentPage().pictures.size(), 1u);
        return dc.CurrentPage().pictures.empty() ? ui::RecordedPicture{} : dc.CurrentPage().pictures[0];
    }

    std::string folder_;
};

TEST_F(DisplayImageTest, BoxesCentreOrCutAndReportTheSpaceUsed)
{
    struct Case {
        const char* name;
        int width, height;
        ui::DCSize box;
        bool second;
        int x, y;
        ui::DCRect source;
        ui::DCSize used;
    } cases[] = {
        {"small.bmp", 100, 50, {300, 200}, false, 100, 75, {0, 0, 100, 50}, {100, 50}},
        {"wide.jpg", 400, 50, {300, 200}, false, 0, 75, {0, 0, 300, 50}, {300, 50}},
        {"tall.png", 100, 300, {300, 200}, true, 100, 0, {0, 0, 100, 200}, {120, 220}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = MakePicture(c.width, c.height, c.name);
        ui::FrameWindow window;
        ui::FrameWindow second;
        ASSERT_TRUE(window.CreateFrame("picture", {0, 0, 400, 300}));
        CDisplayImage image;
        ui::DCSize box = c.box;
        ASSERT_TRUE(image.LoadPicture(&window, c.second ? &second : nullptr, path, &box));
        EXPECT_EQ(box, c.used);
        const ui::RecordedPicture drawn = Drawn(image);
        EXPECT_EQ(drawn.x, c.x);
        EXPECT_EQ(drawn.y, c.y);
        EXPECT_EQ(drawn.source, c.source);
        EXPECT_EQ(drawn.pictureWidth, c.width) << "never scaled";
    }
}

TEST_F(DisplayImageTest, WithoutABoxTheWindowTakesThePictureSize)
{
    const std::string path = MakePicture(120, 80, "face.bmp");
    for (bool second : {false, true}) {
        ui::FrameWindow window;
        ui::FrameWindow other;
        ASSERT_TRUE(window.CreateFrame("picture", {10, 20, 500, 400}));
        CDisplayImage image;
        ASSERT_TRUE(image.LoadPicture(&window, second ? &other : nullptr, path, nullptr));
        const ui::DCRect at = window.GetWindowRect();
        const int margin = second ? 20 : 0;
        EXPECT_EQ(at.right - at.left, 120 + margin);
        EXPECT_EQ(at.bottom - at.top, 80 + margin);
        EXPECT_EQ(Drawn(image).source, (ui::DCRect{0, 0, 120, 80}));
    }
}

TEST_F(DisplayImageTest, AFileWithoutAPictureDrawsNothing)
{
    const std::string text = folder_ + "/not-a-picture.jpg";
    FILE* f = fopen(text.c_str(), "w");
    ASSERT_NE(f, nullptr);
    fputs("hello", f);
    fclose(f);
    for (const std::string& path : {text, folder_ + "/missing.bmp"}) {
        CDisplayImage image;
        ui::DCSize box{100, 100};
        EXPECT_FALSE(image.LoadPicture(nullptr, nullptr, path, &box));
        EXPECT_FALSE(image.IsLoaded());
        ui::RecordingDC dc(800, 600, 96);
        image.Draw(dc);
        EXPECT_TRUE(dc.CurrentPage().pictures.empty());
    }
}

}  // namespace
