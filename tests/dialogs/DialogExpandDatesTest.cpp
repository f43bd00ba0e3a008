// The list of dates: occurrences by their own index with their changes; change, delete and
// restore on the caller's record.

#include "tests/support/DialogTestSupport.h"

#include "common/DateTime.h"
#include "dialogs/DialogExpandDates.h"
#include "platform/ui/ListBox.h"
#include "records/ScheduleRecord.h"

namespace {

using ExpandDatesTest = DialogTest;

constexpr int kList = 1402;

std::vector<std::string> Lines(ui::Dialog& d)
{
    auto* list = dynamic_cast<ui::ListBox*>(d.GetDlgItem(kList));
    std::vector<std::string> out;
    for (int i = 0; i < list->GetCount(); ++i) out.push_back(list->GetText(i));
    return out;
}

TEST_F(ExpandDatesTest, DeleteChangeAndRestoreOneOccurrence)
{
    CScheduleRecord record;
    record.m_cRepeat = 'W';
    record.m_dFirstDate = MakeDate(2026, 3, 2, 19, 0);
    record.m_dLastDate = MakeDate(2026, 3, 16, 19, 0);
    record.m_Changes.push_back({2, MakeDate(2026, 3, 17, 20, 0)});
    CDialogExpandDates dialog;
    dialog.m_pRecord = &record;
    std::vector<std::vector<std::string>> seen;
    dqtest::QueueAnswers({ui::IDOK});
    Script([&seen](ui::Dialog& d) {
        seen.push_back(Lines(d));
        ui::test::Click(d, 1404);  // nothing selected
        ui::test::SelectItem(d, kList, 1);
        ui::test::Click(d, 1404);
        seen.push_back(Lines(d));
        // Changing it replaces the deletion; a cancelled prompt changes nothing.
        ui::test::SelectItem(d, kList, 1);
        ui::test::GetHooks().dialogScripts.push_front([](ui::Dialog& p) { ui::test::Click(p, ui::IDCANCEL); });
        ui::test::Click(d, 1438);
        seen.push_back(Lines(d));
        ui::test::SelectItem(d, kList, 1);
        ui::test::GetHooks().dialogScripts.push_front([](ui::Dialog& p) { ui::test::Click(p, 1000); });
        ui::test::Click(d, 1438);
        seen.push_back(Lines(d));
        ui::test::SelectItem(d, kList, 2);
        ui::test::Click(d, 1440);
        seen.push_back(Lines(d));
        ui::test::Click(d, ui::IDOK);
    });
    ASSERT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(Hooks().messageBoxTexts, std::vector<std::string>{"No item selected"});
    ASSERT_EQ(seen.size(), 5u);
    EXPECT_EQ(seen[0], (std::vector<std::string>{
                           "Monday March 02, 2026, 07:00PM", "Monday March 09, 2026, 07:00PM",
                           "Monday March 16, 2026, 07:00PM -> Tuesday March 17, 2026, 08:00PM"}));
    EXPECT_EQ(seen[1][1], "Monday March 09, 2026, 07:00PM deleted");
    EXPECT_EQ(seen[2][1], "Monday March 09, 2026, 07:00PM deleted");
    EXPECT_EQ(seen[3][1], "Monday March 09, 2026, 07:00PM -> Monday March 09, 2026, 07:00PM");
    EXPECT_EQ(seen[4][2], "Monday March 16, 2026, 07:00PM");
    EXPECT_EQ(record.m_Changes, (std::vector<stCodeValuePair>{{1, MakeDate(2026, 3, 9, 19, 0)}}));
}

}  // namespace
