#include "tests/support/DialogTestSupport.h"

#include "widgets/ControlHelpers.h"
#include "widgets/DialogSetDateTime.h"

namespace {

using SetDateTimeTest = DialogTest;

TEST_F(SetDateTimeTest, CaptionDefaultAndDateInWords)
{
    struct Case {
        const char* caption;
        const char* shown;
    } cases[] = {{"", "Specify date/time"}, {"Specify starting date", "Specify starting date"}};
    for (const Case& c : cases) {
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetTemplateId(), 297);
            EXPECT_EQ(d.GetWindowText(), c.shown);
            EXPECT_EQ(d.GetDlgItemText(2042), "03/15/2024-09:30PM");
            EXPECT_EQ(d.GetDlgItemText(1311), "Friday March 15, 2024, 09:30PM");
            ui::test::Click(d, 1000);
        });
        EXPECT_EQ(PromptForDateTime(MakeDate(2024, 3, 15, 21, 30), c.caption),
                  MakeDate(2024, 3, 15, 21, 30));
    }
}

TEST_F(SetDateTimeTest, EditedDateComesBackAndCancelGivesNoDate)
{
    Script([](ui::Dialog& d) {
        auto& dialog = static_cast<CDialogSetDateTime&>(d);
        ui::test::Focus(d, 2042);
        for (int vk : {'0', '4', '0', '1'}) ui::test::PressKey(d, vk);
        ui::test::SpinStep(d, 2043, +1);  // the cursor is on the year now
        EXPECT_EQ(dialog.m_DateEdit.GetText(), "04/01/2025-09:30PM");
        // The words follow the next message.
        ui::test::PressKey(d, ui::VK_LEFT);
        EXPECT_EQ(d.GetDlgItemText(1311), "Tuesday April 01, 2025, 09:30PM");
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(PromptForDateTime(MakeDate(2024, 3, 15, 21, 30), "When"),
              MakeDate(2025, 4, 1, 21, 30));

    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    EXPECT_EQ(PromptForDateTime(MakeDate(2024, 3, 15, 21, 30), "When"), 0.0);
}

TEST_F(SetDateTimeTest, DateOnlyAndEmpty)
{
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(2042), "03/15/2024");
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(PromptForDateTime(MakeDate(2024, 3, 15, 21, 30), "", 0), MakeDate(2024, 3, 15, 8, 0));

    // No date to begin with: the empty pattern, "No date", and OK gives no date.
    CDialogSetDateTime dialog(nullptr, 1);
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(2042), "00/00/0000-00:00AM");
        EXPECT_EQ(d.GetDlgItemText(1311), "No date");
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(dialog.m_date, 0.0);
}

}  // namespace
