#include "tests/support/DialogTestSupport.h"

#include "widgets/ControlHelpers.h"
#include "widgets/DialogMyMessageBox.h"
#include "widgets/DialogPromptForString.h"
#include "dialogs/DialogReportDates.h"
#include "widgets/DialogSelectOne.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/ListBox.h"

namespace {

using SmallDialogsTest = DialogTest;

TEST_F(SmallDialogsTest, PromptForStringGeometry)
{
    struct Case {
        int maximum;
        int editWidth;  // (maximum + 1) x 10, at most 500
    } cases[] = {{10, 110}, {49, 500}, {60, 500}, {0, 10}};
    for (const Case& c : cases) {
        CDialogPromptForString dialog;
        dialog.m_strPrompt = "File name";
        dialog.m_nMaxLength = c.maximum;
        Script([&](ui::Dialog& d) {
            const int w = c.editWidth;
            EXPECT_EQ(d.GetWindowText(), "File name");
            EXPECT_EQ(d.GetDlgItem(1254)->GetWindowRect(), (ui::DCRect{0, 2, w + 2, 22}));
            EXPECT_EQ(d.GetDlgItem(ui::IDOK)->GetWindowRect(), (ui::DCRect{w + 4, 2, w + 64, 22}));
            EXPECT_EQ(d.GetDlgItem(ui::IDCANCEL)->GetWindowRect(),
                      (ui::DCRect{w + 68, 2, w + 128, 22}));
            EXPECT_EQ(d.GetClientRect().Width(), w + 135);
            if (c.maximum > 0) {
                EXPECT_EQ(d.Edit(1254)->GetLimitText(), c.maximum);
            }
            ui::test::Click(d, ui::IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL) << c.maximum;
    }
}

TEST_F(SmallDialogsTest, PromptForStringCaseRule)
{
    struct Case {
        char mode;
        const char* initial;
        const char* typed;
        const char* expected;
    } cases[] = {
        {'U', "abc", "Smith.txt", "SMITH.TXT"},
        {'L', "ABC", "Smith.TXT", "smith.txt"},
        {'N', "Abc", "Smith.txt", "Smith.txt"},
    };
    for (const Case& c : cases) {
        CDialogPromptForString dialog;
        dialog.m_strPrompt = "Name";
        dialog.m_nMaxLength = 20;
        dialog.m_strText = c.initial;
        dialog.m_cCase = c.mode;
        Script([&](ui::Dialog& d) {
            std::string initial = c.initial;
            if (c.mode == 'U') initial = "ABC";
            if (c.mode == 'L') initial = "abc";
            EXPECT_EQ(d.GetDlgItemText(1254), initial);
            ui::test::SetText(d, 1254, c.typed);
            EXPECT_EQ(d.GetDlgItemText(1254), c.expected);
            // Typed one key at a time, through the edit itself.
            ui::test::SetText(d, 1254, "");
            ui::test::Focus(d, 1254);
            for (int vk : {'Q', 'R'}) ui::test::PressKey(d, vk);
            EXPECT_EQ(d.GetDlgItemText(1254), c.mode == 'L' ? "qr" : "QR");
            ui::test::SetText(d, 1254, c.typed);
            ui::test::Click(d, ui::IDOK);
        });
        EXPECT_EQ(dialog.DoModal(), ui::IDOK);
        EXPECT_EQ(dialog.m_strText, c.expected);
    }
    // Cancel leaves the caller's text as it was given.
    CDialogPromptForString dialog;
    dialog.m_strPrompt = "Name";
    dialog.m_nMaxLength = 20;
    dialog.m_strText = "abc";
    dialog.m_cCase = 'U';
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1254), "ABC");
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.m_strText, "abc");
}

TEST_F(SmallDialogsTest, PromptForStringCancelKeepsTheText)
{
    CDialogPromptForString dialog;
    dialog.m_strPrompt = "Name";
    dialog.m_nMaxLength = 20;
    dialog.m_strText = "before";
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, 1254, "after");
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.m_strText, "before");
}

TEST_F(SmallDialogsTest, ReportDatesWeekAndStepping)
{
    FixClock(2024, 5, 15, 10, 30);  // a Wednesday
    CDialogReportDates dialog;
    dialog.m_nWeekStartDay = 2;     // Monday
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Report dates");
        EXPECT_EQ(dialog.m_StartDate.GetText(), "05/13/2024");
        EXPECT_EQ(dialog.m_EndDate.GetText(), "05/20/2024");
        ui::test::Click(d, 1389);
        EXPECT_EQ(dialog.m_StartDate.GetText(), "05/20/2024");
        EXPECT_EQ(dialog.m_EndDate.GetText(), "05/27/2024");
        ui::test::Click(d, 1390);
        ui::test::Click(d, 1390);
        EXPECT_EQ(dialog.m_StartDate.GetText(), "05/06/2024");
        EXPECT_EQ(dialog.m_EndDate.GetText(), "05/13/2024");
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(dialog.m_StartDate.GetValue(), MakeDate(2024, 5, 6, 8, 0));
    EXPECT_EQ(dialog.m_EndDate.GetValue(), MakeDate(2024, 5, 13, 8, 0));
}

TEST_F(SmallDialogsTest, ReportDatesOneDayAndSpin)
{
    FixClock(2024, 12, 31, 10, 30);
    CDialogReportDates dialog;
    dialog.m_nPeriodDays = 1;
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(dialog.m_StartDate.GetText(), "12/31/2024");
        EXPECT_EQ(dialog.m_EndDate.GetText(), "01/01/2025");
        ui::test::Click(d, 1389);
        EXPECT_EQ(dialog.m_StartDate.GetText(), "01/01/2025");
        // The spin steps the part under the caret: the month at first.
        ui::test::SpinStep(d, 1039, +1);
        EXPECT_EQ(dialog.m_EndDate.GetText(), "02/02/2025");
        ui::test::SpinStep(d, 1039, -1);
        ui::test::SpinStep(d, 1039, -1);
        EXPECT_EQ(dialog.m_EndDate.GetText(), "12/02/2025");
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
}

TEST_F(SmallDialogsTest, SelectOneFindBoxAndResult)
{
    CDialogSelectOne dialog("Choose a teacher", 77);
    dialog.AddItem(10, "Adams, Ann");
    dialog.AddItem(2, "Baker, Bob");
    dialog.AddItem(30, "Barnes, Bea");
    dialog.AddItem(40, "Bar");
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Choose a teacher");
        ui::ListBox* list = d.List(1394);
        EXPECT_EQ(list->GetCurSel(), 0);  // no item data 77: the first line
        ui::test::SetText(d, 1393, "bar");
        EXPECT_EQ(list->GetCurSel(), 2);  // "Bar" itself comes later
        ui::test::SetText(d, 1393, "bak");
        EXPECT_EQ(list->GetCurSel(), 1);
        ui::test::SetText(d, 1393, "");
        EXPECT_EQ(list->GetCurSel(), 1);
        ui::test::SetText(d, 1393, "zz");
        EXPECT_EQ(list->GetCurSel(), 1);
        ui::test::Click(d, 1000);
    });
    // Item data 2 is the chosen line's, not Cancel.
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(dialog.GetSelectedData(), 2);
}

TEST_F(SmallDialogsTest, SelectOnePreselectDoubleClickAndCancel)
{
    CDialogSelectOne dialog("Pick", 30);
    dialog.AddItem(10, "one");
    dialog.AddItem(30, "three");
    dialog.AddItem(40, "four");
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.List(1394)->GetCurSel(), 1);
        ui::test::DoubleClickItem(d, 1394, 2);
    });
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(dialog.GetSelectedData(), 40);

    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.GetSelectedData(), -1);

    CDialogSelectOne empty("Pick", 1);
    Script([](ui::Dialog& d) { ui::test::Click(d, 1000); });
    EXPECT_EQ(empty.DoModal(), ui::IDOK);
    EXPECT_EQ(empty.GetSelectedData(), -1);
}

TEST_F(SmallDialogsTest, MyMessageBoxOkAndYesNo)
{
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetTemplateId(), 315);
        EXPECT_EQ(d.GetWindowText(), "Notice");
        EXPECT_EQ(d.GetDlgItemText(2082), "Line one\r\nLine two");
        EXPECT_EQ(d.GetDlgItem(2082)->GetTextColor(), ui::RGB(100, 0, 0));  // dark red
        EXPECT_NE(d.GetDlgItem(ui::IDOK)->GetTextColor(), ui::RGB(100, 0, 0));
        EXPECT_FALSE(d.GetDlgItem(ui::IDCANCEL)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(2081)->IsWindowVisible());
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(ShowMyMessageBox("Notice", "Line one\r\nLine two", 0, 0), ui::IDOK);

    for (int answer : {ui::IDOK, ui::IDCANCEL}) {
        Script([answer](ui::Dialog& d) {
            EXPECT_EQ(d.GetDlgItemText(ui::IDOK), "Yes");
            EXPECT_EQ(d.GetDlgItemText(ui::IDCANCEL), "No");
            EXPECT_TRUE(d.GetDlgItem(ui::IDCANCEL)->IsWindowVisible());
            EXPECT_TRUE(d.GetDlgItem(2081)->IsWindowVisible());
            ui::test::Click(d, answer);
        });
        EXPECT_EQ(ShowMyMessageBox("Question", "Go on?", 1, 123), answer);
    }
}

}  // namespace
