#include "tests/support/DialogTestSupport.h"

#include "widgets/ControlHelpers.h"
#include "platform/host/Path.h"
#include "platform/ui/CheckBox.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Font.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/RadioButton.h"
#include "platform/ui/SpinButton.h"

#include <cctype>
#include <optional>

namespace {

const ui::DialogTemplate kFormTemplate{9100, "Form", 0, 0, {
    {ui::Ctl::Radio, 201, "Cheque"},
    {ui::Ctl::Radio, 202, "Card"},
    {ui::Ctl::Radio, 203, "Cash"},
    {ui::Ctl::CheckBox, 301, "Mail"},
    {ui::Ctl::Edit, 401, ""},
    {ui::Ctl::Edit, 402, "", ui::ES_MULTILINE},
    {ui::Ctl::Spin, 403, ""},
    {ui::Ctl::ListBox, 501, "", ui::LBS_MULTIPLESEL},
    {ui::Ctl::ListBox, 502, ""},
    {ui::Ctl::Button, 601, "Apply"},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
}};

class ControlHelpersTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        ASSERT_TRUE(form_.Create());
        ListSearchText.clear();
    }
    void TearDown() override
    {
        form_.DestroyWindow();
        DialogTest::TearDown();
    }
    void FillList(int id, std::initializer_list<const char*> lines)
    {
        for (const char* line : lines) form_.List(id)->AddString(line);
    }
    RadioGroup Methods() const
    {
        RadioGroup group;
        AddRadioPair(group, 201, 'C');
        AddRadioPair(group, 202, 'R');
        AddRadioPair(group, 203, 'A');
        return group;
    }

    ui::Dialog form_{kFormTemplate};
};

TEST_F(ControlHelpersTest, RadioGroupSetAndGet)
{
    const RadioGroup group = Methods();
    SetRadioGroup(form_, group, 'R');
    EXPECT_EQ(form_.IsDlgButtonChecked(201), 0);
    EXPECT_EQ(form_.IsDlgButtonChecked(202), 1);
    uint8_t value = 'x';
    GetRadioGroup(form_, group, value);
    EXPECT_EQ(value, 'R');

    SetRadioGroup(form_, group, 'Z');  // no button stands for it: all cleared
    value = 'x';
    GetRadioGroup(form_, group, value);
    EXPECT_EQ(value, 'x');
}

TEST_F(ControlHelpersTest, AttachSpinSetsBuddyAndRange)
{
    AttachSpin(form_, 401, 403, 1, 9);
    ui::SpinButton* spin = form_.Spin(403);
    EXPECT_EQ(spin->GetBuddy(), form_.GetDlgItem(401));
    int lower = 0;
    int upper = 0;
    spin->GetRange(lower, upper);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 9);
    AttachSpin(form_, 401, 403, 0xFFFFFFFFu, 50);  // buddy only
    spin->GetRange(lower, upper);
    EXPECT_EQ(upper, 9);
}

TEST_F(ControlHelpersTest, MakeListSelectionContiguous)
{
    FillList(501, {"a", "b", "c", "d", "e", "f", "g"});
    ui::ListBox* list = form_.List(501);
    MakeListSelectionContiguous(*list);
    EXPECT_EQ(list->GetSelCount(), 0);
    list->SetSel(2);
    list->SetSel(5);
    MakeListSelectionContiguous(*list);
    EXPECT_EQ(list->GetSelItems(), (std::vector<int>{2, 3, 4, 5}));
}

TEST_F(ControlHelpersTest, ShiftClickAddsTheLineUnderThePoint)
{
    FillList(501, {"a", "b", "c", "d", "e", "f", "g"});
    ui::ListBox* list = form_.List(501);
    list->SetSel(1);
    const ui::DCRect line = list->GetItemRect(4);
    ui::Msg click{list, ui::WM_LBUTTONDOWN, ui::MK_SHIFT, (line.bottom - 1) << 16 | (line.left + 5)};
    SelectListItemAtPointMulti(click, *list);
    EXPECT_EQ(list->GetSelItems(), (std::vector<int>{1, 2, 3, 4}));
    // Below the last line there is no line to add.
    const ui::DCRect last = list->GetItemRect(6);
    EXPECT_EQ(ListItemFromPoint(*list, last.left + 5, last.bottom + 2), -1);
    EXPECT_EQ(ListItemFromPoint(*list, last.left + 5, last.top), 6);
}

TEST_F(ControlHelpersTest, FillFontListSelectsTheCurrentFont)
{
    const std::vector<std::string> families = ui::GetFontFamilies();
    ASSERT_FALSE(families.empty());
    const std::string current = families.back();
    ui::ListBox* list = form_.List(502);
    FillFontList(form_, *list, current);
    ASSERT_EQ(list->GetCount(), static_cast<int>(families.size()));
    EXPECT_EQ(list->GetText(list->GetCurSel()), current);

    // A name that differs only in case is not the font.
    list->ResetContent();
    Hooks().messageBoxAnswers = {ui::IDOK};
    std::string other = current;
    for (char& c : other) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (other == current) other += " Missing";
    FillFontList(form_, *list, other);
    EXPECT_EQ(list->GetCurSel(), -1);
    ASSERT_EQ(Hooks().messageBoxTexts.size(), 1u);
    EXPECT_EQ(Hooks().messageBoxTexts[0],
              "Currently selected font " + other +
                  " is not available on this computer.\nAnother font will be substituted.");
}

TEST_F(ControlHelpersTest, FindNextInSingleList)
{
    FillList(502, {"Adams", "Baker", "Carter", "Bakerman"});
    ui::ListBox* list = form_.List(502);
    ListSearchText = "BAKER";
    FindNextInList(*list, 'S');
    EXPECT_EQ(list->GetCurSel(), 1);
    FindNextInList(*list, 'S');
    EXPECT_EQ(list->GetCurSel(), 3);
    // From the last line there is nothing after: no wrap.
    Hooks().messageBoxAnswers = {ui::IDOK};
    FindNextInList(*list, 'S');
    EXPECT_EQ(list->GetCurSel(), 3);
    ASSERT_EQ(Hooks().messageBoxTexts.size(), 1u);
    EXPECT_EQ(Hooks().messageBoxTexts[0], "Not found:BAKER");
}

TEST_F(ControlHelpersTest, FindNextWithoutSearchTextFindsNothing)
{
    FillList(502, {"Adams"});
    Hooks().messageBoxAnswers = {ui::IDOK};
    FindNextInList(*form_.List(502), 'S');
    EXPECT_EQ(form_.List(502)->GetCurSel(), -1);
    EXPECT_EQ(Hooks().messageBoxTexts.at(0), "Not found:");
}

TEST_F(ControlHelpersTest, FindNextInMultipleListAddsToSelection)
{
    FillList(501, {"Adams", "Baker", "Carter", "Bakerman"});
    ui::ListBox* list = form_.List(501);
    list->SetSel(0);
    ListSearchText = "KER";
    FindNextInList(*list, 'M');
    EXPECT_EQ(list->GetSelItems(), (std::vector<int>{0, 1}));
}

TEST_F(ControlHelpersTest, EnterKeyByFocusedControl)
{
    struct Case {
        int focus;
        int expectedKey;
    } cases[] = {
        {301, ui::VK_TAB},     // check box: toggled, then moves on
        {202, ui::VK_TAB},     // radio button: checked, then moves on
        {601, ui::VK_RETURN},  // push button keeps its press
        {402, ui::VK_RETURN},  // multi-line edit keeps its new line
        {401, ui::VK_TAB},     // one-line edit moves on
        {502, ui::VK_TAB},     // any other control
    };
    form_.CheckDlgButton(203, 1);
    for (const Case& c : cases) {
        form_.GotoDlgCtrl(c.focus);
        ASSERT_EQ(form_.GetFocusId(), c.focus);
        ui::Msg msg{form_.GetDlgItem(c.focus), ui::WM_KEYDOWN, ui::VK_RETURN, 0};
        TranslateEnterKey(form_, msg);
        EXPECT_EQ(static_cast<int>(msg.wParam), c.expectedKey) << c.focus;
    }
    EXPECT_EQ(form_.IsDlgButtonChecked(301), 1);
    EXPECT_EQ(form_.IsDlgButtonChecked(202), 1);
    EXPECT_EQ(form_.IsDlgButtonChecked(203), 0);  // the group keeps one checked button

    form_.GotoDlgCtrl(401);
    EXPECT_TRUE(MoveOnEnterKey(form_, ui::Msg{nullptr, ui::WM_KEYDOWN, ui::VK_RETURN, 0}));
    EXPECT_EQ(form_.GetFocusId(), 402);
}

TEST_F(ControlHelpersTest, BrowseForFileChosenAndCancelled)
{
    std::string folder;
    ASSERT_TRUE(host::CurrentFolder(folder));
    std::optional<std::string> answer = "/tmp/studio/Contract.rtf";
    std::string filter;
    ui::test::SetFileDialogHook([&](const ui::FileDialog& d) {
        filter = d.GetFilter();
        return answer;
    });
    std::string path = "start.rtf";
    std::string title;
    EXPECT_TRUE(BrowseForFile("Templates", "*.rtf", path, title, 1));
    EXPECT_EQ(filter, "Templates (*.rtf)|*.rtf||");
    EXPECT_EQ(path, "/tmp/studio/Contract.rtf");
    EXPECT_EQ(title, "Contract");

    answer.reset();
    path = "kept.rtf";
    title = "kept";
    EXPECT_FALSE(BrowseForFile("Templates", "*.rtf", path, title, 1));
    EXPECT_EQ(path, "kept.rtf");
    EXPECT_EQ(title, "kept");
    std::string after;
    ASSERT_TRUE(host::CurrentFolder(after));
    EXPECT_EQ(after, folder);
    ui::test::ClearCommonDialogHooks();
}

}  // namespace
