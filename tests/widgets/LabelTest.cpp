// CLabel on a dialog's static: its brushes under the flash timer, its font description, its
// edges, and what a click opens.

#include "tests/support/DialogTestSupport.h"

#include <string>
#include <vector>

#include "platform/host/Process.h"
#include "widgets/Label.h"

namespace {

const ui::DialogTemplate kHostTemplate{900, "Labels", 200, 80, {
    {ui::Ctl::Label, 1409, "Welcome", ui::SS_CENTER},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

class LabelTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        Hooks().manualTimers = true;
        host::test::SetOpenRecorder(&opened_);
    }
    void TearDown() override
    {
        host::test::SetOpenRecorder(nullptr);
        DialogTest::TearDown();
    }
    // Runs `body` with a label on the dialog's static 1409.
    void WithLabel(const std::function<void(ui::Dialog&, CLabel&)>& body)
    {
        ui::Dialog dialog(kHostTemplate);
        CLabel label;
        Script([&](ui::Dialog& d) {
            ASSERT_TRUE(d.SubclassDlgItem(1409, label));
            body(d, label);
            d.EndDialog(ui::IDOK);
        });
        dialog.DoModal();
    }
    // The colour the label's paint fills its background with.
    static ui::COLORREF PaintedBackground(CLabel& label)
    {
        const ui::RecordedPage page = ui::test::RecordPaint(label);
        for (const ui::RecordedRect& r : page.rects)
            if (!r.brush.null) return r.brush.colour;
        return 0xFFFFFFFF;
    }
    std::vector<std::string> opened_;
};

TEST_F(LabelTest, FiredTimersAlternateTheBrushes)
{
    WithLabel([](ui::Dialog&, CLabel& label) {
        const ui::COLORREF red = ui::RGB(255, 0, 0);
        label.SetBkColor(red);
        // Not flashing: the background brush only.
        EXPECT_EQ(PaintedBackground(label), red);
        EXPECT_FALSE(ui::test::FireTimer(label, CLabel::kFlashTimer));

        label.FlashText(true);
        EXPECT_TRUE(label.HasTimer(CLabel::kFlashTimer));
        EXPECT_EQ(label.GetFlashPhase(), 0);
        EXPECT_EQ(PaintedBackground(label), CLabel::kButtonFace);
        const ui::COLORREF expected[] = {red, CLabel::kButtonFace, red, CLabel::kButtonFace};
        for (ui::COLORREF colour : expected) {
            ASSERT_TRUE(ui::test::FireTimer(label, CLabel::kFlashTimer));
            EXPECT_EQ(label.GetBrushColour(), colour);
            EXPECT_EQ(PaintedBackground(label), colour);
        }
        // Flashing again restarts at the dark phase; FALSE stops the timer.
        ASSERT_TRUE(ui::test::FireTimer(label, CLabel::kFlashTimer));
        EXPECT_EQ(label.GetFlashPhase(), 1);
        label.FlashText(true);
        EXPECT_EQ(label.GetFlashPhase(), 0);
        label.FlashText(false);
        EXPECT_FALSE(label.HasTimer(CLabel::kFlashTimer));
        EXPECT_FALSE(label.IsFlashing());
    });
}

TEST_F(LabelTest, FontDescriptionAndEdges)
{
    WithLabel([](ui::Dialog&, CLabel& label) {
        label.SetFontName(std::string(40, 'F')).SetFontSize(24).SetFontBold(true).SetFontItalic(true);
        EXPECT_EQ(std::string(label.GetLogFont().szFaceName), std::string(31, 'F'));
        EXPECT_EQ(label.GetLogFont().nHeight, -24);
        EXPECT_EQ(label.GetLogFont().nWeight, 700);
        label.SetFontName("Arial").SetFontUnderline(true).SetFontBold(false);
        const ui::Font font = label.GetFont();
        EXPECT_EQ(font.face, "Arial");
        EXPECT_EQ(font.sizeTenths, 180);  // 24 pixels at 96 dpi
        EXPECT_FALSE(font.bold);
        EXPECT_TRUE(font.italic);
        EXPECT_TRUE(font.underline);

        label.SetBorder(true).SetSunken(true);
        EXPECT_EQ(label.GetStyle(), CLabel::WS_BORDER);
        EXPECT_EQ(label.GetExStyle(), CLabel::WS_EX_STATICEDGE);
        label.SetBorder(false).SetSunken(false);
        EXPECT_EQ(label.GetStyle() | label.GetExStyle(), 0u);

        // The text in its own colour and font, centred as the static is.
        label.SetTextColor(ui::RGB(0, 0, 255));
        const ui::RecordedPage page = ui::test::RecordPaint(label);
        const ui::RecordedText* text = page.Find("Welcome");
        ASSERT_NE(text, nullptr);
        EXPECT_EQ(text->colour, ui::RGB(0, 0, 255));
        EXPECT_EQ(text->font.face, "Arial");
        EXPECT_GT(text->x, 0);
    });
}

TEST_F(LabelTest, OnlyLinksOpen)
{
    struct Case {
        const char* text;
        bool opens;
    } cases[] = {
        {"https://studio.example/classes", true},
        {"HTTP://studio.example", true},
        {"mailto:desk@studio.example", true},
        {"", false},
        {"/etc/passwd", false},
        {"file:///home/ann/run.sh", false},
        {"Welcome to the studio", false},
    };
    for (const Case& c : cases) {
        opened_.clear();
        WithLabel([&](ui::Dialog&, CLabel& label) {
            label.SetWindowText(c.text);
            ASSERT_TRUE(ui::test::ClickAt(label, 2, 2));
        });
        EXPECT_EQ(opened_.size(), c.opens ? 1u : 0u) << c.text;
        if (c.opens && !opened_.empty()) {
            EXPECT_EQ(opened_[0], c.text);
        }
    }
}

}  // namespace
