#include "UiFixture.h"

#include "platform/ui/CheckBox.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/MonthCalendar.h"
#include "platform/ui/RadioButton.h"
#include "platform/ui/SpinButton.h"

#include <vector>

namespace {

const ui::DialogTemplate kControls{500, "Controls", 0, 0, {
    {ui::Ctl::Label, -1, "Name"},
    {ui::Ctl::Edit, 10, "", ui::ES_UPPERCASE},
    {ui::Ctl::Edit, 11, "", ui::ES_MULTILINE | ui::ES_WANTRETURN},
    {ui::Ctl::CheckBox, 20, "Flag"},
    {ui::Ctl::Radio, 21, "A"},
    {ui::Ctl::Radio, 22, "B"},
    {ui::Ctl::Radio, 23, "C", ui::WS_GROUP},
    {ui::Ctl::ListBox, 30, "", ui::LBS_SORT},
    {ui::Ctl::ListBox, 31, "", ui::LBS_MULTIPLESEL},
    {ui::Ctl::ComboBox, 40},
    {ui::Ctl::ComboBox, 41, "", ui::CBS_DROPDOWN},
    {ui::Ctl::ComboBox, 42, "", ui::CBS_SORT},
    {ui::Ctl::Label, -1, "Level"},
    {ui::Ctl::Edit, 50},
    {ui::Ctl::Spin, 51, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::MonthCalendar, 60},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

struct Notification {
    int id;
    int code;
    bool operator==(const Notification&) const = default;
};

class ControlsDialog : public ui::Dialog {
public:
    ControlsDialog() : ui::Dialog(kControls) {}
    bool OnCommand(int id, int code) override
    {
        seen.push_back({id, code});
        return ui::Dialog::OnCommand(id, code);
    }
    std::vector<Notification> seen;
};

// Runs `body` inside a created modeless dialog.
template <class F>
void WithDialog(F body)
{
    ControlsDialog d;
    ASSERT_TRUE(d.Create());
    d.seen.clear();
    body(d);
}

using ControlsTest = UiTest;

TEST_F(ControlsTest, ProgramChangesSendNoClickOrSelectionNotifications)
{
    WithDialog([](ControlsDialog& d) {
        d.List(30)->AddString("b");
        d.List(30)->AddString("a");
        d.List(30)->SetCurSel(1);
        d.List(31)->AddString("x");
        d.List(31)->SetSel(0, true);
        d.Combo(40)->AddString("one");
        d.Combo(40)->SetCurSel(0);
        d.Check(20)->SetCheck(1);
        d.CheckRadioButton(21, 22, 22);
        d.Spin(51)->SetRange(1, 9);
        d.Spin(51)->SetPos(4);  // its buddy's EN_CHANGE only
        d.Calendar(60)->SetCurSel({2024, 2, 29});
        EXPECT_EQ(d.seen, (std::vector<Notification>{{50, ui::EN_CHANGE}}));
    });
}

TEST_F(ControlsTest, UserActionsSendTheirNotifications)
{
    WithDialog([](ControlsDialog& d) {
        d.List(30)->AddString("a");
        d.Combo(40)->AddString("one");
        d.Spin(51)->SetRange(1, 9);
        ui::test::SelectItem(d, 30, 0);
        ui::test::DoubleClickItem(d, 30, 0);
        ui::test::SelectItem(d, 40, 0);
        ui::test::Click(d, 20);
        ui::test::Click(d, 22);
        ui::test::SetText(d, 41, "typed");
        ui::test::SpinStep(d, 51, +1);
        const std::vector<Notification> expected{
            {30, ui::LBN_SELCHANGE}, {30, ui::LBN_DBLCLK},  {40, ui::CBN_SELCHANGE},
            {20, ui::BN_CLICKED},    {22, ui::BN_CLICKED},  {41, ui::CBN_EDITCHANGE},
            {50, ui::EN_CHANGE},     {51, ui::UDN_DELTAPOS},
        };
        EXPECT_EQ(d.seen, expected);
    });
}

TEST_F(ControlsTest, EditChangeFollowsTheProgramsOwnText)
{
    WithDialog([](ControlsDialog& d) {
        d.SetDlgItemText(10, "abc");
        EXPECT_EQ(d.seen, (std::vector<Notification>{{10, ui::EN_CHANGE}}));
        EXPECT_EQ(d.GetDlgItemText(10), "ABC");  // upper-case style applies to set text
        ui::test::SetText(d, 10, "d\xe9" "f");  // and to typed text, Windows-1252 kept
        EXPECT_EQ(d.GetDlgItemText(10), "D\xc9" "F");
    });
}

TEST_F(ControlsTest, MultiLineEditUsesCrLfAndItsLimit)
{
    WithDialog([](ControlsDialog& d) {
        d.SetDlgItemText(11, "one\r\ntwo");
        EXPECT_EQ(d.GetDlgItemText(11), "one\r\ntwo");
        EXPECT_EQ(d.Edit(11)->GetLineCount(), 2);
        d.Edit(11)->SetLimitText(5);
        ui::test::SetText(d, 11, "abcdefgh");
        EXPECT_EQ(d.GetDlgItemText(11), "abcde");
    });
}

TEST_F(ControlsTest, RadioClickClearsOnlyItsOwnGroup)
{
    WithDialog([](ControlsDialog& d) {
        d.CheckDlgButton(23, 1);
        ui::test::Click(d, 21);
        ui::test::Click(d, 22);
        EXPECT_EQ(d.IsDlgButtonChecked(21), 0);
        EXPECT_EQ(d.IsDlgButtonChecked(22), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(23), 1);  // another group
        ui::test::Click(d, 22);                  // clicking a checked radio keeps it checked
        EXPECT_EQ(d.IsDlgButtonChecked(22), 1);
    });
}

TEST_F(ControlsTest, ListBoxSortsFindsAndKeepsItemData)
{
    WithDialog([](ControlsDialog& d) {
        ui::ListBox& l = *d.List(30);
        for (const char* s : {"Waltz", "foxtrot", "Tango", "cha-cha"}) {
            const int at = l.AddString(s);
            l.SetItemData(at, s[0]);
        }
        EXPECT_EQ(l.GetText(0), "cha-cha");
        EXPECT_EQ(l.GetText(1), "foxtrot");
        EXPECT_EQ(l.GetText(3), "Waltz");
        EXPECT_EQ(l.GetItemData(2), 'T');
        EXPECT_EQ(l.FindString(-1, "TAN"), 2);
        EXPECT_EQ(l.FindStringExact(-1, "tan"), ui::LB_ERR);
        EXPECT_EQ(l.FindStringExact(-1, "WALTZ"), 3);
        EXPECT_EQ(l.GetCurSel(), ui::LB_ERR);
        EXPECT_EQ(l.SelectString(-1, "fox"), 1);
        EXPECT_EQ(l.GetCurSel(), 1);
        EXPECT_EQ(l.DeleteString(0), 3);
        EXPECT_EQ(l.GetItemData(9), ui::LB_ERR);
        EXPECT_EQ(l.SetCurSel(7), ui::LB_ERR);
    });
}

TEST_F(ControlsTest, MultipleSelectionListBox)
{
    WithDialog([](ControlsDialog& d) {
        ui::ListBox& l = *d.List(31);
        for (const char* s : {"a", "b", "c", "d"}) l.AddString(s);
        l.SetSel(1);
        l.SetSel(3);
        EXPECT_EQ(l.GetSelCount(), 2);
        ui::test::ToggleItem(d, 31, 1);
        EXPECT_EQ(l.GetSelItems(), std::vector<int>{3});
        l.SetSel(-1, true);
        EXPECT_EQ(l.GetSelCount(), 4);
    });
}

TEST_F(ControlsTest, ComboBoxStartsWithoutSelection)
{
    WithDialog([](ControlsDialog& d) {
        ui::ComboBox& c = *d.Combo(40);
        c.AddString("<None>");
        c.SetItemData(0, -1);
        c.AddString("Cash");
        c.SetItemData(1, 17);
        EXPECT_EQ(c.GetCurSel(), ui::CB_ERR);
        EXPECT_EQ(c.SelectString(-1, "ca"), 1);
        EXPECT_EQ(c.GetItemData(c.GetCurSel()), 17);
        EXPECT_EQ(c.GetItemData(0), -1);
        c.SetCurSel(-1);
        EXPECT_EQ(c.GetCurSel(), ui::CB_ERR);

        ui::ComboBox& e = *d.Combo(41);
        e.AddString("Alpha");
        d.SetDlgItemText(41, "Free text");
        EXPECT_EQ(e.GetWindowText(), "Free text");
        EXPECT_EQ(e.GetCurSel(), ui::CB_ERR);
    });
}

// A sorted combo places each line without regard to case; a line equal to others goes after them.
TEST_F(ControlsTest, SortedComboBoxPlacesEachLineInOrder)
{
    struct stCase {
        std::vector<const char*> added;
        std::vector<std::string> shown;
    };
    const std::vector<stCase> cases = {
        {{"Waltz", "foxtrot", "Tango", "cha-cha"}, {"cha-cha", "foxtrot", "Tango", "Waltz"}},
        {{"d", "c", "b", "a"}, {"a", "b", "c", "d"}},
        {{"a", "b", "c", "d"}, {"a", "b", "c", "d"}},
        {{"Smith, Ann", "smith, ann", "SMITH, ANN", "Adams, Bo"}, {"Adams, Bo", "Smith, Ann", "smith, ann", "SMITH, ANN"}},
    };
    WithDialog([&cases](ControlsDialog& d) {
        ui::ComboBox& c = *d.Combo(42);
        for (const stCase& k : cases) {
            c.ResetContent();
            for (size_t i = 0; i < k.added.size(); ++i) c.SetItemData(c.AddString(k.added[i]), static_cast<intptr_t>(i));
            std::vector<std::string> shown;
            for (int i = 0; i < c.GetCount(); ++i) shown.push_back(c.GetLBText(i));
            EXPECT_EQ(shown, k.shown) << k.added[0];
            // Item data travels with its line.
            for (int i = 0; i < c.GetCount(); ++i) EXPECT_EQ(k.added[static_cast<size_t>(c.GetItemData(i))], shown[static_cast<size_t>(i)]);
        }
    });
}

TEST_F(ControlsTest, SpinStaysInItsRangeAndDrivesItsBuddy)
{
    WithDialog([](ControlsDialog& d) {
        ui::SpinButton& s = *d.Spin(51);
        EXPECT_EQ(s.GetBuddy(), d.GetDlgItem(50));
        s.SetRange(1, 9);
        s.SetPos(9);
        EXPECT_EQ(d.GetDlgItemText(50), "9");
        ui::test::SpinStep(d, 51, +1);
        EXPECT_EQ(s.GetPos(), 9);
        d.SetDlgItemText(50, "0");  // typed below the range: read back clamped
        EXPECT_EQ(s.GetPos(), 1);
        ui::test::SpinStep(d, 51, -1);
        EXPECT_EQ(s.GetPos(), 1);
        s.SetPos(12);
        EXPECT_EQ(s.GetPos(), 9);
    });
}

}  // namespace
