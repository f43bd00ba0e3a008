// Messages that reach program classes through controls: owner drawing and mouse of subclassed
// controls, focus, key-up, MK_ flags, reflected notifications; and the control abilities that
// program code relies on (item geometry, combo top line, run-time case style, text colour, fonts).

#include "UiFixture.h"

#include "platform/ui/ComboBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/Font.h"
#include "platform/ui/ListBox.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

const ui::DialogTemplate kForm{510, "Form", 0, 0, {
    {ui::Ctl::Edit, 10, ""},
    {ui::Ctl::Edit, 11, ""},
    {ui::Ctl::ListBox, 30, "", ui::LBS_MULTIPLESEL},
    {ui::Ctl::ComboBox, 40},
    {ui::Ctl::ComboBox, 41, "", ui::CBS_DROPDOWN},
    {ui::Ctl::Label, 50, "Note"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

// Records what the dialog sees: notifications and pre-translated messages.
class FormDialog : public ui::Dialog {
public:
    FormDialog() : ui::Dialog(kForm) {}
    bool OnCommand(int id, int code) override
    {
        commands.push_back({id, code});
        return ui::Dialog::OnCommand(id, code);
    }
    bool PreTranslateMessage(const ui::Msg& msg) override
    {
        if (msg.message != ui::WM_MOUSEMOVE) seen.push_back(msg);
        return ui::Dialog::PreTranslateMessage(msg);
    }
    std::vector<std::pair<int, int>> commands;
    std::vector<ui::Msg> seen;
};

// An edit that draws itself: a mark at each click, and its focus changes.
class DrawnEdit : public ui::EditBox {
public:
    void OnPaint(ui::DC& dc) override
    {
        dc.FillSolidRect(GetClientRect(), ui::kWhite);
        dc.SetTextColor(ui::RGB(255, 0, 0));
        dc.TextOut(5, 0, "Mark");
        for (int x : clicks) dc.TextOut(x, 0, "|");
    }
    void OnLButtonDown(int x, int y) override
    {
        clicks.push_back(x);
        ys.push_back(y);
        Invalidate();
    }
    void OnSetFocus() override { focus.push_back('+'); }
    void OnKillFocus() override { focus.push_back('-'); }
    bool OnKeyUp(int vk) override
    {
        keysUp.push_back(vk);
        return true;
    }
    std::vector<int> clicks;
    std::vector<int> ys;
    std::string focus;
    std::vector<int> keysUp;
};

// A combo that keeps its selection changes to itself.
class KeepingCombo : public ui::ComboBox {
public:
    bool OnNotifyReflect(int code) override
    {
        reflected.push_back(code);
        return code == ui::CBN_SELCHANGE;
    }
    std::vector<int> reflected;
};

class ControlMessagesTest : public UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(form.Create());
    }
    void TearDown() override
    {
        form.DestroyWindow();
        UiTest::TearDown();
    }
    FormDialog form;
};

TEST_F(ControlMessagesTest, SubclassedControlDrawsItselfAndGetsClicksInClientPixels)
{
    DrawnEdit edit;
    ASSERT_TRUE(form.SubclassDlgItem(10, edit));
    const ui::RecordedPage before = ui::test::RecordPaint(edit);
    ASSERT_EQ(before.texts.size(), 1u);
    EXPECT_EQ(before.texts[0].text, "Mark");
    EXPECT_EQ(before.texts[0].colour, ui::RGB(255, 0, 0));

    ASSERT_TRUE(ui::test::ClickAt(edit, 37, 4));
    EXPECT_EQ(edit.clicks, (std::vector<int>{37}));
    EXPECT_EQ(edit.ys, (std::vector<int>{4}));
    const ui::RecordedPage after = ui::test::RecordPaint(edit);
    ASSERT_NE(after.Find("|"), nullptr);
    EXPECT_EQ(after.Find("|")->x, 37);
    // The dialog saw the click first, with the button held.
    auto down = std::find_if(form.seen.begin(), form.seen.end(),
                             [](const ui::Msg& m) { return m.message == ui::WM_LBUTTONDOWN; });
    ASSERT_NE(down, form.seen.end());
    EXPECT_EQ(down->window, &edit);
    EXPECT_EQ(down->wParam, ui::MK_LBUTTON);
    EXPECT_EQ(down->lParam, (4 << 16) | 37);
}

TEST_F(ControlMessagesTest, ControlsOfTheLayerDrawNatively)
{
    EXPECT_TRUE(ui::test::RecordPaint(*form.GetDlgItem(10)).texts.empty());
    ui::EditBox plain;  // subclassed by a class that draws nothing of its own
    ASSERT_TRUE(form.SubclassDlgItem(11, plain));
    EXPECT_TRUE(ui::test::RecordPaint(plain).texts.empty());
    plain.SetWindowText("typed");
    EXPECT_EQ(plain.GetWindowText(), "typed");
}

TEST_F(ControlMessagesTest, FocusMessagesFollowTheFocus)
{
    DrawnEdit edit;
    ASSERT_TRUE(form.SubclassDlgItem(10, edit));
    ASSERT_TRUE(ui::test::Focus(form, 11));
    edit.focus.clear();
    ASSERT_TRUE(ui::test::Focus(form, 10));
    EXPECT_EQ(edit.focus, "+");
    ASSERT_TRUE(ui::test::Focus(form, 11));
    EXPECT_EQ(edit.focus, "+-");
    EXPECT_EQ(form.GetFocusId(), 11);
}

TEST_F(ControlMessagesTest, KeyUpReachesPreTranslateAndTheControl)
{
    DrawnEdit edit;
    ASSERT_TRUE(form.SubclassDlgItem(10, edit));
    ASSERT_TRUE(ui::test::Focus(form, 10));
    form.seen.clear();
    ui::test::PressKey(form, ui::VK_F3);
    std::vector<uint32_t> messages;
    for (const ui::Msg& m : form.seen) {
        if (m.wParam == static_cast<uintptr_t>(ui::VK_F3)) messages.push_back(m.message);
    }
    EXPECT_EQ(messages, (std::vector<uint32_t>{ui::WM_KEYDOWN, ui::WM_KEYUP}));
    EXPECT_EQ(edit.keysUp, (std::vector<int>{ui::VK_F3}));
}

TEST_F(ControlMessagesTest, ShiftAndControlReachMouseMessages)
{
    ui::ListBox* list = form.List(30);
    for (const char* line : {"a", "b", "c"}) list->AddString(line);
    const ui::DCRect second = list->GetItemRect(1);
    struct Case {
        uintptr_t keys;
        uintptr_t expected;
    } cases[] = {
        {0, ui::MK_LBUTTON},
        {ui::MK_SHIFT, ui::MK_LBUTTON | ui::MK_SHIFT},
        {ui::MK_CONTROL, ui::MK_LBUTTON | ui::MK_CONTROL},
        {ui::MK_SHIFT | ui::MK_CONTROL, ui::MK_LBUTTON | ui::MK_SHIFT | ui::MK_CONTROL},
    };
    for (const Case& c : cases) {
        form.seen.clear();
        ASSERT_TRUE(ui::test::ClickAt(*list, second.left + 3, second.top + 2, c.keys));
        auto down = std::find_if(form.seen.begin(), form.seen.end(),
                                 [](const ui::Msg& m) { return m.message == ui::WM_LBUTTONDOWN; });
        ASSERT_NE(down, form.seen.end());
        EXPECT_EQ(down->window, list);
        EXPECT_EQ(down->wParam, c.expected) << c.keys;
        EXPECT_EQ(down->lParam, ((second.top + 2) << 16) | (second.left + 3));
        auto up = std::find_if(form.seen.begin(), form.seen.end(),
                               [](const ui::Msg& m) { return m.message == ui::WM_LBUTTONUP; });
        ASSERT_NE(up, form.seen.end());
        EXPECT_EQ(up->wParam & ui::MK_LBUTTON, 0u);
    }
}

TEST_F(ControlMessagesTest, ItemFromPointUsesTheLinesGeometry)
{
    ui::ListBox* list = form.List(30);
    for (int i = 0; i < 40; ++i) list->AddString("line " + std::to_string(i));
    const ui::DCRect first = list->GetItemRect(0);
    const ui::DCRect third = list->GetItemRect(2);
    ASSERT_GT(first.Height(), 0);
    EXPECT_EQ(third.top, first.top + 2 * first.Height());
    EXPECT_EQ(list->ItemFromPoint(first.left + 2, first.top), 0);
    EXPECT_EQ(list->ItemFromPoint(third.left + 2, third.bottom - 1), 2);
    EXPECT_EQ(list->ItemFromPoint(third.left + 2, third.bottom), 3);
    EXPECT_EQ(list->ItemFromPoint(2, -1), ui::LB_ERR);
    EXPECT_EQ(list->GetItemRect(40), ui::DCRect{});

    // Scrolled: the point is over a later line.
    list->SetTopIndex(10);
    EXPECT_EQ(list->ItemFromPoint(first.left + 2, first.top + 1), list->GetTopIndex());
    EXPECT_GT(list->GetTopIndex(), 0);

    // Below the last line of a short list there is none.
    ui::ListBox* shortList = list;
    shortList->ResetContent();
    shortList->AddString("only");
    const ui::DCRect only = shortList->GetItemRect(0);
    EXPECT_EQ(shortList->ItemFromPoint(only.left + 2, only.bottom + 1), ui::LB_ERR);
}

TEST_F(ControlMessagesTest, AddingToACombiSelectsNothing)
{
    for (int id : {40, 41}) {
        ui::ComboBox* combo = form.Combo(id);
        if (combo->IsEditable()) combo->SetWindowText("typed");
        combo->AddString("Adams");
        combo->AddString("Baker");
        EXPECT_EQ(combo->GetCurSel(), ui::CB_ERR) << id;
        EXPECT_EQ(combo->GetWindowText(), combo->IsEditable() ? "typed" : "") << id;
        combo->SetCurSel(1);
        combo->InsertString(0, "Aaron");
        EXPECT_EQ(combo->GetCurSel(), 2) << id;  // the selected line moves with its text
    }
}

TEST_F(ControlMessagesTest, ComboTopIndex)
{
    ui::ComboBox* combo = form.Combo(41);
    for (int i = 0; i < 40; ++i) combo->AddString("name " + std::to_string(100 + i));
    EXPECT_EQ(combo->GetTopIndex(), 0);
    EXPECT_EQ(combo->SetTopIndex(25), 0);
    EXPECT_EQ(combo->GetTopIndex(), 25);
    EXPECT_EQ(combo->SetTopIndex(40), ui::CB_ERR);
    EXPECT_EQ(combo->GetTopIndex(), 25);
    combo->ShowDropDown(true);
    EXPECT_TRUE(combo->GetDroppedState());
    EXPECT_EQ(combo->GetTopIndex(), 25);
    EXPECT_EQ(combo->SetTopIndex(3), 0);
    EXPECT_EQ(combo->GetTopIndex(), 3);
    combo->ShowDropDown(false);
    EXPECT_EQ(combo->GetCurSel(), ui::CB_ERR);  // scrolling chooses nothing
}

TEST_F(ControlMessagesTest, NotificationsAreReflectedToTheControlFirst)
{
    KeepingCombo combo;
    ASSERT_TRUE(form.SubclassDlgItem(41, combo));
    combo.AddString("Adams");
    combo.AddString("Baker");
    form.commands.clear();
    ui::test::SelectItem(form, 41, 1);
    EXPECT_EQ(combo.reflected, (std::vector<int>{ui::CBN_SELCHANGE}));
    EXPECT_TRUE(std::none_of(form.commands.begin(), form.commands.end(),
                             [](auto c) { return c.first == 41; }));
    // A notification the control lets pass reaches the dialog as well.
    ui::test::SetText(form, 41, "Carter");
    EXPECT_TRUE(std::count(combo.reflected.begin(), combo.reflected.end(), ui::CBN_EDITCHANGE) > 0);
    EXPECT_TRUE(std::count(form.commands.begin(), form.commands.end(),
                           std::make_pair(41, static_cast<int>(ui::CBN_EDITCHANGE))) > 0);
}

TEST_F(ControlMessagesTest, CaseStyleChangesAtRunTime)
{
    ui::EditBox* edit = form.Edit(10);
    ui::test::SetText(form, 10, "Mixed");
    EXPECT_EQ(edit->GetWindowText(), "Mixed");
    struct Case {
        uint32_t style;
        const char* typed;
        const char* expected;
    } cases[] = {
        {ui::ES_UPPERCASE, "Smith.txt", "SMITH.TXT"},
        {ui::ES_LOWERCASE, "Smith.TXT", "smith.txt"},
        {0, "Smith.txt", "Smith.txt"},
    };
    for (const Case& c : cases) {
        edit->SetCaseStyle(0);
        edit->SetWindowText("Kept");
        edit->SetCaseStyle(c.style);
        EXPECT_EQ(edit->GetCaseStyle(), c.style);
        EXPECT_EQ(edit->GetWindowText(), "Kept");  // the text already there stays
        ui::test::SetText(form, 10, c.typed);
        EXPECT_EQ(edit->GetWindowText(), c.expected) << c.style;
        edit->SetWindowText(c.typed);
        EXPECT_EQ(edit->GetWindowText(), c.expected) << c.style;
    }
}

TEST_F(ControlMessagesTest, TextColourPerControl)
{
    ui::Window* edit = form.GetDlgItem(10);
    ui::Window* label = form.GetDlgItem(50);
    const ui::COLORREF usual = form.GetDlgItem(11)->GetTextColor();
    edit->SetTextColor(ui::RGB(100, 0, 0));
    label->SetTextColor(ui::RGB(0, 0, 200));
    EXPECT_EQ(edit->GetTextColor(), ui::RGB(100, 0, 0));
    EXPECT_EQ(label->GetTextColor(), ui::RGB(0, 0, 200));
    EXPECT_EQ(form.GetDlgItem(11)->GetTextColor(), usual);  // the others keep theirs
}

TEST(FontFamilies, ListsOutlineFamiliesSortedOnce)
{
    ui::test::EnsureApplication();
    const std::vector<std::string> families = ui::GetFontFamilies();
    ASSERT_FALSE(families.empty());
    EXPECT_TRUE(std::is_sorted(families.begin(), families.end()));
    EXPECT_EQ(std::adjacent_find(families.begin(), families.end()), families.end());
}

}  // namespace
