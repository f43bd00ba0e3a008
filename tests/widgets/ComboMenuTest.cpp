#include "tests/support/DialogTestSupport.h"

#include "widgets/ComboMenu.h"
#include "platform/ui/Application.h"

#include <vector>

namespace {

const ui::DialogTemplate kComboTemplate{9200, "Combo", 0, 0, {
    {ui::Ctl::ComboBox, 1021, "", ui::CBS_DROPDOWN},
    {ui::Ctl::ComboBox, 1022, ""},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

// Records the messages the combo posts.
class Receiver : public ui::Window {
public:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        received.push_back({message, wParam, lParam});
        return 0;
    }
    struct Entry {
        uint32_t message;
        uintptr_t wParam;
        intptr_t lParam;
    };
    std::vector<Entry> received;
};

class ComboMenuTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(dialog_.Create());
        ASSERT_TRUE(dialog_.SubclassDlgItem(1021, combo_));
        for (const char* name : {"Adams", "Baker", "Barnes", "Carter", "Smith, Ann", "Taylor",
                                 "Upton", "Vance", "Walker", "Young", "Zeller", "Zoe", "Zola", "Zorn",
                                 "Zuber", "Zwick"}) {
            const int index = combo_.AddString(name);
            combo_.SetItemData(index, 100 + index);
        }
    }
    void TearDown() override
    {
        dialog_.DestroyWindow();
        DialogTest::TearDown();
    }

    ui::Dialog dialog_{kComboTemplate};
    CComboMenu combo_;
};

TEST_F(ComboMenuTest, FillingSelectsNothing)
{
    EXPECT_EQ(combo_.GetCurSel(), -1);
    EXPECT_EQ(combo_.GetWindowText(), "");
}

TEST_F(ComboMenuTest, TypingExtendsAndShortensTheText)
{
    combo_.TypeKey('\b');  // empty stays empty, and the list opens
    EXPECT_EQ(combo_.GetWindowText(), "");
    EXPECT_TRUE(combo_.GetDroppedState());
    combo_.TypeKey('B');
    combo_.TypeKey('A');
    combo_.TypeKey('R');
    EXPECT_EQ(combo_.GetWindowText(), "BAR");
    EXPECT_EQ(combo_.GetTopIndex(), 2);
    EXPECT_EQ(combo_.GetCurSel(), -1);  // the selection itself is not changed
    combo_.TypeKey('\b');
    combo_.TypeKey('\b');
    EXPECT_EQ(combo_.GetWindowText(), "B");
    EXPECT_EQ(combo_.GetTopIndex(), 1);
    combo_.TypeKey('Q');  // no entry begins with "BQ": the list stays
    EXPECT_EQ(combo_.GetTopIndex(), 1);
    combo_.ShowDropDown(false);
}

TEST_F(ComboMenuTest, KeysThroughTheMessagePath)
{
    dialog_.GotoDlgCtrl(1021);
    ui::test::PressKey(dialog_, 'S');
    ui::test::PressKey(dialog_, 'M');
    ui::Msg comma{&combo_, ui::WM_KEYDOWN, ui::VK_OEM_COMMA, 0};
    EXPECT_TRUE(combo_.PreTranslateMessage(comma));
    EXPECT_EQ(combo_.GetWindowText(), "SM,");
    ui::Msg up{&combo_, ui::WM_KEYDOWN, ui::VK_UP, 0};  // a navigation key is not typed
    EXPECT_FALSE(combo_.PreTranslateMessage(up));
    EXPECT_EQ(combo_.GetWindowText(), "SM,");
    EXPECT_EQ(combo_.GetTopIndex(), 4);
    combo_.ShowDropDown(false);
}

TEST_F(ComboMenuTest, SelectOrAddTextAddsOnce)
{
    combo_.SelectOrAddText("Baker");
    EXPECT_EQ(combo_.GetCurSel(), 1);
    const int count = combo_.GetCount();
    combo_.SelectOrAddText("Zimmer");
    EXPECT_EQ(combo_.GetCount(), count + 1);
    const int added = combo_.GetCurSel();
    EXPECT_EQ(combo_.GetLBText(added), "Zimmer");
    EXPECT_EQ(static_cast<int32_t>(combo_.GetItemData(added)), -1);
    combo_.SelectOrAddText("Adams");
    combo_.SelectOrAddText("Zimmer");
    EXPECT_EQ(combo_.GetCount(), count + 1);
    EXPECT_EQ(combo_.GetCurSel(), added);
}

TEST_F(ComboMenuTest, ItemDataHelpers)
{
    EXPECT_EQ(ComboBoxSelectByItemData(combo_, 103), 3);
    EXPECT_EQ(combo_.GetCurSel(), 3);
    EXPECT_EQ(ComboBoxSelectByItemData(combo_, 999), combo_.GetCount());
    ui::ComboBox* empty = dialog_.Combo(1022);
    EXPECT_EQ(ComboBoxSelectByItemData(*empty, 1), 0);

    combo_.SetWindowText("Barnes");
    EXPECT_EQ(ComboBoxGetItemDataOfText(combo_), 102);
    combo_.SetWindowText("Barn");  // a prefix alone is no match
    EXPECT_EQ(ComboBoxGetItemDataOfText(combo_), -1);
}

// A dialog that records the notifications it gets.
class CommandLog : public ui::Dialog {
public:
    CommandLog() : ui::Dialog(kComboTemplate) {}
    bool OnCommand(int id, int code) override
    {
        commands.push_back({id, code});
        return ui::Dialog::OnCommand(id, code);
    }
    std::vector<std::pair<int, int>> commands;
};

TEST_F(ComboMenuTest, UsersChoiceNotifiesTheChosenWindow)
{
    CommandLog dialog;
    ASSERT_TRUE(dialog.Create());
    CComboMenu combo;
    ASSERT_TRUE(dialog.SubclassDlgItem(1021, combo));
    combo.AddString("Adams");
    combo.AddString("Carter");
    Receiver receiver;
    ui::test::SelectItem(dialog, 1021, 0);  // no window set: nothing posted
    combo.SetNotify(&receiver, 1021);
    combo.SetCurSel(0);  // the program's own choice notifies nobody
    ui::test::SelectItem(dialog, 1021, 1);
    ui::Application::PumpMessages();
    ASSERT_EQ(receiver.received.size(), 1u);
    EXPECT_EQ(receiver.received[0].message, 1025u);
    EXPECT_EQ(receiver.received[0].wParam, 1021u);
    EXPECT_EQ(receiver.received[0].lParam, 0);
    EXPECT_EQ(combo.GetStoredText(), "Carter");
    // The selection change is the control's own: the dialog is not told of it.
    for (const auto& [id, code] : dialog.commands)
        EXPECT_FALSE(id == 1021 && code == ui::CBN_SELCHANGE);
    dialog.DestroyWindow();
}

}  // namespace
