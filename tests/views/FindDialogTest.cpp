// The phrase search dialog and its history of the program run.

#include "ViewsFixture.h"

#include "platform/ui/ComboBox.h"

namespace {

constexpr int kPhraseIds[5] = {1236, 1246, 1247, 1258, 1262};
constexpr int kNotIds[5] = {1170, 1213, 1218, 1219, 1220};
constexpr int kPrevious = 1330;

// Runs the dialog once with the phrases and OK.
void Search(const std::vector<std::string>& phrases)
{
    ui::test::GetHooks().dialogScripts.push_back([phrases](ui::Dialog& d) {
        for (size_t i = 0; i < phrases.size(); ++i) ui::test::SetText(d, kPhraseIds[i], phrases[i]);
        ui::test::Click(d, ui::IDOK);
    });
    CDialogFindFive dialog;
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
}

int IndexOf(ui::Dialog& d, const std::string& text)
{
    return d.Combo(kPrevious)->FindStringExact(-1, text);
}

}  // namespace

class FindDialogTest : public ViewsTest {};

TEST_F(FindDialogTest, HistoryKeepsTheTwentyNewestAndDropsEmptySearches)
{
    Search({});
    EXPECT_EQ(CDialogFindFive::History().front(), "||||");
    for (int i = 0; i < 20; ++i) Search({"p" + std::to_string(i)});
    ASSERT_EQ(CDialogFindFive::History().size(), 20u);
    EXPECT_EQ(CDialogFindFive::History().front(), "p19||||");
    EXPECT_EQ(CDialogFindFive::History().back(), "p0||||");

    CDialogFindFive::History().push_back("||||");
    int listed = 0;
    Script([&](ui::Dialog& d) {
        listed = d.Combo(kPrevious)->GetCount();
        EXPECT_EQ(IndexOf(d, "||||"), -1);
        EXPECT_GE(IndexOf(d, "<Clear all>"), 0);
        ui::test::Click(d, ui::IDCANCEL);
    });
    CDialogFindFive dialog;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(listed, 21);
    EXPECT_EQ(CDialogFindFive::History().size(), 20u);
}

TEST_F(FindDialogTest, PickingAnEntrySplitsItAndClearAllKeepsTheNotMarks)
{
    CDialogFindFive::History() = {"a|b|c||", "x|y||||z"};
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, kPhraseIds[4], "keep");
        ui::test::SelectItem(d, kPrevious, IndexOf(d, "a|b|c||"));
        EXPECT_EQ(d.GetDlgItemText(kPhraseIds[0]), "a");
        EXPECT_EQ(d.GetDlgItemText(kPhraseIds[2]), "c");
        EXPECT_EQ(d.GetDlgItemText(kPhraseIds[3]), "");
        // A phrase holding "|" comes back as two phrases.
        ui::test::SelectItem(d, kPrevious, IndexOf(d, "x|y||||z"));
        EXPECT_EQ(d.GetDlgItemText(kPhraseIds[0]), "x");
        EXPECT_EQ(d.GetDlgItemText(kPhraseIds[1]), "y");
        ui::test::Click(d, kNotIds[1]);
        ui::test::SelectItem(d, kPrevious, IndexOf(d, "<Clear all>"));
        for (int id : kPhraseIds) EXPECT_EQ(d.GetDlgItemText(id), "");
        EXPECT_EQ(d.IsDlgButtonChecked(kNotIds[1]), 1);
        ui::test::Click(d, ui::IDCANCEL);
    });
    CDialogFindFive dialog;
    dialog.DoModal();
    EXPECT_EQ(CDialogFindFive::History().size(), 2u);
}
