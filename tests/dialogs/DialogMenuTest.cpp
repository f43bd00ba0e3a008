#include "tests/support/DialogTestSupport.h"

#include "widgets/ControlHelpers.h"
#include "dialogs/DialogMenu.h"
#include "platform/ui/ListBox.h"

#include <string>
#include <vector>

namespace {

using DialogMenuTest = DialogTest;

void AddNumbered(CDialogMenu& menu, int count)
{
    for (int i = 0; i < count; ++i) menu.AddItem(100 + i, "Entry " + std::to_string(i));
}

TEST_F(DialogMenuTest, SizeFollowsEntries)
{
    struct Case {
        int entries;
        std::string title;
        size_t entryLength;
        int width;
        int height;
    } cases[] = {
        {30, "Select activity", 5, 400, 16 * 17 + 70},  // scrolls beyond 17 lines
        {0, "Select", 0, 400, 70},
        {3, "Select", 60, 635, 16 * 3 + 70},
        {2, std::string(30, 'T'), 10, 445, 16 * 2 + 70},  // the title sets the width
    };
    for (const Case& c : cases) {
        CDialogMenu menu(nullptr, c.title, 'S', 'N', -1, 0, "");
        for (int i = 0; i < c.entries; ++i) menu.AddItem(i, std::string(c.entryLength, 'e'));
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), c.title);
            const ui::DCRect client = d.GetClientRect();
            EXPECT_EQ(client.Width(), c.width) << c.entries;
            EXPECT_EQ(client.Height(), c.height) << c.entries;
            const int w = client.Width();
            const int h = client.Height();
            EXPECT_EQ(d.GetDlgItem(1237)->GetWindowRect(), (ui::DCRect{0, 0, w, h - 30}));
            const int bw = w / 5 - 8;
            EXPECT_EQ(d.GetDlgItem(ui::IDOK)->GetWindowRect(),
                      (ui::DCRect{4 + 4 * (bw + 8), h - 27, 4 + 4 * (bw + 8) + bw, h - 3}));
            ui::test::Click(d, ui::IDOK);
        });
        const int expected = c.entries > 0 ? 0 : -1;  // the first entry, or nothing
        EXPECT_EQ(menu.DoModal(), expected);
    }
}

TEST_F(DialogMenuTest, ReturnOnTheListPressesOkSelect)
{
    for (char choice : {'S', 'M'}) {
        CDialogMenu menu(nullptr, "Select invoice/contract template file", choice, 'N', -1, 0, "");
        std::vector<uint32_t> chosen;
        menu.m_pResult = &chosen;
        AddNumbered(menu, 3);
        Script([choice](ui::Dialog& d) {
            const int list = choice == 'S' ? 1237 : 1239;
            if (choice == 'S') ui::test::SelectItem(d, list, 2);
            else ui::test::ToggleItem(d, list, 1);
            ui::test::Focus(d, list);
            ui::test::PressKey(d, ui::VK_RETURN);
            EXPECT_TRUE(d.HasEnded()) << choice;
        });
        const int result = menu.DoModal();
        if (choice == 'S') {
            EXPECT_EQ(result, 102);
        } else {
            EXPECT_EQ(result, ui::IDOK);
            EXPECT_EQ(chosen, std::vector<uint32_t>{101});
        }
    }
}

TEST_F(DialogMenuTest, SingleChoicePreselectsAndReturnsTheIdentifier)
{
    CDialogMenu menu(nullptr, "Select activity", 'S', 'S', 102, 0, "");
    menu.AddItem(101, "Waltz");
    menu.AddItem(102, "Tango");
    menu.AddItem(103, "Foxtrot");
    Script([](ui::Dialog& d) {
        ui::ListBox* list = d.List(1240);  // the sorted single-choice list
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->IsWindowVisible());
        for (int id : {1237, 1239, 1241, 1268, 1269, 1255})
            EXPECT_FALSE(d.GetDlgItem(id)->IsWindowVisible()) << id;
        EXPECT_EQ(list->GetText(0), "Foxtrot");
        EXPECT_EQ(list->GetText(list->GetCurSel()), "Tango");
        ui::test::DoubleClickItem(d, 1240, 0);
    });
    EXPECT_EQ(menu.DoModal(), 103);
    EXPECT_EQ(menu.m_nSelectedId, 103);
}

TEST_F(DialogMenuTest, SingleChoiceWithoutMatchSelectsFirstShown)
{
    CDialogMenu menu(nullptr, "Pick", 'S', 'S', 999, 0, "");
    menu.AddItem(1, "Zeta");
    menu.AddItem(2, "Alpha");
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    EXPECT_EQ(menu.DoModal(), 2);

    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    EXPECT_EQ(menu.DoModal(), -1);
}

TEST_F(DialogMenuTest, EntryThatCannotBeChosenGreysOk)
{
    CDialogMenu menu(nullptr, "Select invoice/contract template file", 'S', 'N', 0, 0, "");
    menu.AddItem(0, "<new>");
    menu.AddItem(1, "INVOICE.RTF");
    menu.m_fnCanChoose = [](uint32_t id) { return id != 0; };
    Script([](ui::Dialog& d) {
        EXPECT_FALSE(d.GetDlgItem(ui::IDOK)->IsWindowEnabled()) << "<new> is selected first";
        ui::test::Click(d, ui::IDOK);
        ui::test::DoubleClickItem(d, 1237, 0);
        ui::test::PressKey(d, ui::VK_RETURN);
        EXPECT_FALSE(d.HasEnded());
        ui::test::SelectItem(d, 1237, 1);
        EXPECT_TRUE(d.GetDlgItem(ui::IDOK)->IsWindowEnabled());
        ui::test::SelectItem(d, 1237, 0);
        EXPECT_FALSE(d.GetDlgItem(ui::IDOK)->IsWindowEnabled());
        ui::test::DoubleClickItem(d, 1237, 1);
    });
    EXPECT_EQ(menu.DoModal(), 1);
}

TEST_F(DialogMenuTest, ExtraButtonEndsOrOpensHelp)
{
    CDialogMenu menu(nullptr, "Pick", 'S', 'N', 11, 1, "New");
    menu.AddItem(10, "ten");
    menu.AddItem(11, "eleven");
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1255), "New");
        ui::test::Click(d, 1255);
    });
    EXPECT_EQ(menu.DoModal(), -2);
    EXPECT_EQ(menu.m_nSelectedId, 11);

    CDialogMenu help(nullptr, "Pick", 'S', 'N', 10, 0, "");
    help.m_nHelpContext = 42;
    help.AddItem(10, "ten");
    Hooks().messageBoxAnswers = {ui::IDOK};  // no help file beside the test program
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1255), "Help");
        ui::test::Click(d, 1255);
        EXPECT_FALSE(d.HasEnded());
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(help.DoModal(), 10);
}

TEST_F(DialogMenuTest, MultipleChoiceFillsTheCallersArray)
{
    std::vector<uint32_t> chosen{7, 7};
    CDialogMenu menu(nullptr, "Pick", 'M', 'N', -1, 0, "");
    menu.m_pResult = &chosen;
    AddNumbered(menu, 6);
    Script([](ui::Dialog& d) {
        EXPECT_TRUE(d.GetDlgItem(1268)->IsWindowVisible());
        ui::test::ToggleItem(d, 1239, 1);
        ui::test::ToggleItem(d, 1239, 4);
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(menu.DoModal(), ui::IDOK);
    EXPECT_EQ(chosen, (std::vector<uint32_t>{101, 104}));

    Script([](ui::Dialog& d) {
        ui::test::Click(d, 1268);
        EXPECT_EQ(d.List(1239)->GetSelCount(), 6);
        ui::test::Click(d, 1269);
        EXPECT_EQ(d.List(1239)->GetSelCount(), 0);
        ui::test::Click(d, 1268);
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(menu.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(chosen.empty());
}

TEST_F(DialogMenuTest, ShiftClickSelectsTheRange)
{
    std::vector<uint32_t> chosen;
    CDialogMenu menu(nullptr, "Pick", 'M', 'N', -1, 0, "");
    menu.m_pResult = &chosen;
    AddNumbered(menu, 8);
    Script([&](ui::Dialog& d) {
        ui::ListBox* list = menu.GetShownList();
        ui::test::ToggleItem(d, 1239, 1);
        // A real shift-click on line 5 fills the range; a plain click on line 7 toggles it alone.
        const ui::DCRect fifth = list->GetItemRect(5);
        ASSERT_TRUE(ui::test::ClickAt(*list, fifth.left + 10, fifth.top + 2, ui::MK_SHIFT));
        EXPECT_EQ(list->GetSelItems(), (std::vector<int>{1, 2, 3, 4, 5}));
        const ui::DCRect seventh = list->GetItemRect(7);
        ASSERT_TRUE(ui::test::ClickAt(*list, seventh.left + 10, seventh.top + 2));
        EXPECT_EQ(list->GetSelItems(), (std::vector<int>{1, 2, 3, 4, 5, 7}));
        ASSERT_TRUE(ui::test::ClickAt(*list, seventh.left + 10, seventh.top + 2));
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(menu.DoModal(), ui::IDOK);
    EXPECT_EQ(chosen, (std::vector<uint32_t>{101, 102, 103, 104, 105}));
}

TEST_F(DialogMenuTest, FindAgainWithF3)
{
    CDialogMenu menu(nullptr, "Pick", 'S', 'N', 100, 0, "");
    menu.AddItem(100, "Rumba basics");
    menu.AddItem(101, "Cha-cha");
    menu.AddItem(102, "Rumba advanced");
    ListSearchText = "RUMBA";
    Script([](ui::Dialog& d) {
        // The search runs on the key's release, once per press.
        EXPECT_FALSE(d.PreTranslateMessage(ui::Msg{&d, ui::WM_KEYDOWN, ui::VK_F3, 0}));
        EXPECT_EQ(d.List(1237)->GetCurSel(), 0);
        ui::test::PressKey(d, ui::VK_F3);
        EXPECT_EQ(d.List(1237)->GetCurSel(), 2);
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(menu.DoModal(), 102);
    ListSearchText.clear();
}

TEST_F(DialogMenuTest, SearchPromptWithF2)
{
    CDialogMenu menu(nullptr, "Pick", 'S', 'N', 100, 0, "");
    menu.AddItem(100, "Rumba basics");
    menu.AddItem(101, "Cha-cha");
    Script([](ui::Dialog& d) {
        Script([](ui::Dialog& prompt) {
            EXPECT_EQ(prompt.GetWindowText(), "Search for:");
            ui::test::SetText(prompt, 1254, "cha");
            ui::test::Click(prompt, ui::IDOK);
        });
        ui::test::PressKey(d, ui::VK_F2);
        EXPECT_EQ(d.List(1237)->GetCurSel(), 1);
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(menu.DoModal(), 101);
    ListSearchText.clear();
}

}  // namespace
