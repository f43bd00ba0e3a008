// The price list dialogs on the studio fixture: the list's lines and order, each kind's controls
// and flags, the studio item's date series and the purge of old classes.

#include "tests/studio/StudioFixture.h"

#include "dialogs/DatabaseDialogs.h"
#include "dialogs/DialogPricelist.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ListBox.h"

namespace {

using ui::test::Click;
using ui::test::SelectItem;
using ui::test::SetText;

constexpr int kList = 1067;
constexpr int kDates = 1402;

class PricelistDialogsTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildStudio();
        Reopen();
        Use();
    }
    void Use()
    {
        db_->SetUi(&dialogs_);
        db_->SetUserAccessLevel(10);
    }
    static void Script(std::function<void(ui::Dialog&)> script)
    {
        ui::test::GetHooks().dialogScripts.push_back(std::move(script));
    }
    static std::vector<std::string>& BoxTexts() { return ui::test::GetHooks().messageBoxTexts; }
    static std::vector<std::string> Lines(ui::Dialog& d, int id)
    {
        std::vector<std::string> lines;
        ui::ListBox* list = d.List(id);
        for (int i = 0; list && i < list->GetCount(); ++i) lines.push_back(list->GetText(i));
        return lines;
    }
    static int LineOf(ui::Dialog& d, const std::string& start)
    {
        const std::vector<std::string> lines = Lines(d, kList);
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(start, 0) == 0) return static_cast<int>(i);
        return -1;
    }
    const CPriceListItem* Find(const std::string& name) const
    {
        for (const stIndex& e : *db_->GetItemList(TABLE_PRICELIST)) {
            const auto* item = static_cast<const CPriceListItem*>(e.pItem);
            if (item->m_sName == name) return item;
        }
        return nullptr;
    }

    CDatabaseDialogs dialogs_;
};

TEST_F(PricelistDialogsTest, LinesInAlphabeticalOrderAndADiscountItem)
{
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Price list items");
        EXPECT_EQ(Lines(d, kList),
                  (std::vector<std::string>{
                      Format("Group salsa, 03/03/2026 - 03/05/2026 [Code %u]", codes_.salsa),
                      Format("Practice party, 03/06/2026 - 03/06/2026 [Code %u]", codes_.practice)}));
        Click(d, 1013);  // a discount item
        EXPECT_NE(LineOf(d, "Anniversary [Code "), -1);
        EXPECT_EQ(LineOf(d, "Anniversary"), 0);
        Click(d, 1017);  // edit without a selection
        Click(d, ui::IDOK);
    });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Discount item");
        EXPECT_EQ(d.GetDlgItemText(1007), "Amount");
        for (int id : {1086, 1004, 1005, 1163, 1070, 1013}) EXPECT_FALSE(d.GetDlgItem(id)->IsWindowVisible()) << id;
        ui::ComboBox* basic = d.Combo(1161);
        ASSERT_EQ(basic->GetCount(), 2);
        Click(d, 1000);  // no name
        SetText(d, 1001, "Anniversary");
        SetText(d, 1003, "15");
        SelectItem(d, 1161, basic->FindStringExact(-1, "Discount amount"));
        Click(d, 1000);
    });
    dqtest::QueueAnswers({IDOK, IDOK});
    CDialogPricelist::Show(*db_);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Item name not provided", "No item selected"}));
    Reopen();
    const CPriceListItem* discount = Find("Anniversary");
    ASSERT_NE(discount, nullptr);
    EXPECT_EQ(discount->m_cKind, 'D');
    EXPECT_EQ(discount->m_nBasicType, 1u);
    EXPECT_EQ(discount->m_dPrice, 15.0);
    EXPECT_EQ(discount->m_nNumber, 1);
    EXPECT_EQ(discount->m_cPackageOnly, 0);
    EXPECT_EQ(discount->m_cSelfSignIn, 0);
}

TEST_F(PricelistDialogsTest, StudentItemFlagsHideEachOther)
{
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Price list item or block of items scheduled for person");
        EXPECT_TRUE(d.GetDlgItem(1005)->IsWindowVisible());
        Click(d, 1005);  // self sign-in hides "Package only"
        EXPECT_FALSE(d.GetDlgItem(1004)->IsWindowVisible());
        Click(d, 1005);
        EXPECT_TRUE(d.GetDlgItem(1004)->IsWindowVisible());
        Click(d, 1004);  // package only hides the price and self sign-in
        for (int id : {1003, 1007, 1005}) EXPECT_FALSE(d.GetDlgItem(id)->IsWindowVisible()) << id;
        Click(d, 1004);
        for (int id : {1003, 1007, 1005}) EXPECT_TRUE(d.GetDlgItem(id)->IsWindowVisible()) << id;
        SelectItem(d, 1161, 0);  // "<None>"
        SetText(d, 1086, "0");
        Click(d, 1000);
        SetText(d, 1086, "4");
        Click(d, 1000);
        EXPECT_FALSE(d.HasEnded());
        Click(d, ui::IDCANCEL);
    });
    dqtest::QueueAnswers({IDOK, IDOK});
    EXPECT_EQ(db_->EditTableItem(TABLE_PRICELIST, codes_.practice, nullptr), 2);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Number not provided", "Basic type not selected"}));
}

TEST_F(PricelistDialogsTest, StudioItemDateSeriesAndCancelKeepsDates)
{
    const std::vector<DATE> before = Find("Group salsa")->m_Dates;
    dqtest::QueueAnswers({IDOK, IDOK});
    CPriceListItem item;
    item.m_cKind = 's';
    item.m_sName = "Series";
    item.m_nNumber = 10;
    item.m_Dates = {D(2026, 3, 9, 18, 0)};
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Price list item or block of items schedulable by studio");
        Click(d, 1019);
        ui::ListBox* dates = d.List(kDates);
        ASSERT_EQ(dates->GetCount(), 10);
        EXPECT_EQ(dates->GetText(9), "Monday May 11, 2026, 06:00PM");
        Click(d, 1018);
        EXPECT_EQ(d.List(kDates)->GetText(9), "Wednesday March 18, 2026, 06:00PM");
        Click(d, 1403);  // as many dates as the number: refused
        SetText(d, 1086, "1001");
        Click(d, 1019);  // above the spin's range: refused, dates kept
        EXPECT_EQ(d.List(kDates)->GetCount(), 10);
        Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(dialogs_.EditItemDialog(*db_, TABLE_PRICELIST, &item, 0, nullptr), 2);
    EXPECT_EQ(item.m_Dates.size(), 10u);
    EXPECT_EQ(item.m_Dates.back(), D(2026, 3, 18, 18, 0));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Can't specify more dates than number of items.",
                                                    "Please enter an integer between 1 and 1000."}));

    // The 1st, 8th and 15th with the 8th chosen: weekly with number 3 from the 8th.
    BoxTexts().clear();
    item.m_Dates = {D(2026, 4, 1, 19, 0), D(2026, 4, 8, 19, 0), D(2026, 4, 15, 19, 0)};
    Script([](ui::Dialog& d) {
        SetText(d, 1086, "3");
        SelectItem(d, kDates, 1);
        Click(d, 1019);
        Click(d, ui::IDCANCEL);
    });
    dialogs_.EditItemDialog(*db_, TABLE_PRICELIST, &item, 0, nullptr);
    EXPECT_EQ(item.m_Dates, (std::vector<DATE>{D(2026, 4, 8, 19, 0), D(2026, 4, 15, 19, 0), D(2026, 4, 22, 19, 0)}));

    // Through the edit: Cancel leaves the stored dates.
    Script([](ui::Dialog& d) {
        Click(d, 1405);
        Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_PRICELIST, codes_.salsa, nullptr), 2);
    EXPECT_EQ(Find("Group salsa")->m_Dates, before);
}

TEST_F(PricelistDialogsTest, StoredCodesTheListsLackAreKept)
{
    // The group class type carries no sub-kind letter, so the studio item's list lacks it.
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.Combo(1161)->GetCurSel(), -1);
        Click(d, 1000);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_PRICELIST, codes_.salsa, nullptr), 1);
    const CPriceListItem* salsa = Find("Group salsa");
    EXPECT_EQ(salsa->m_nBasicType, codes_.groupType);
    EXPECT_EQ(salsa->m_nTeacher, codes_.bob);
    EXPECT_EQ(salsa->m_nBallroom, codes_.roomB);
}

TEST_F(PricelistDialogsTest, PurgeOffersOnlyClassesOverBeforeNoon)
{
    Get<CPriceListItem>(TABLE_PRICELIST, codes_.salsa)->m_Dates = {D(2026, 3, 4, 10, 0)};
    Get<CPriceListItem>(TABLE_PRICELIST, codes_.practice)->m_Dates = {D(2026, 3, 4, 18, 0)};
    Script([](ui::Dialog& d) {
        Click(d, 1435);
        EXPECT_EQ(Lines(d, kList).size(), 1u);
        Click(d, ui::IDOK);
    });
    dqtest::QueueAnswers({IDYES});
    CDialogPricelist::Show(*db_);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(Find("Group salsa"), nullptr);
    ASSERT_NE(Find("Practice party"), nullptr);
    Reopen();
    EXPECT_EQ(Find("Group salsa"), nullptr);
}

}  // namespace
