// The schedule cell dialog, the price list, the software parameters and Record payment in two
// running copies (tests/driver) over one database: what one copy saves reaches the other's open
// dialog or settings on its notice, and a record the other copy holds refuses the change and
// leaves this copy's memory as the file is.

#include "tests/support/TwoCopiesTest.h"

#include "database/SettingsRecords.h"

namespace {

const char* const kNone = "4294967295";

class DialogCopiesTest : public TwoCopiesTest {
protected:
    DialogCopiesTest() : TwoCopiesTest("D") {}

    // A person with a purchase, seen by the second copy: the purchase's code.
    std::string PersonWithPurchase()
    {
        const std::string person = Added(1, "addperson Lindqvist Eva");
        EXPECT_TRUE(Sees(2, "person " + person, {"Lindqvist", "Eva"}));
        const std::string purchase = Added(1, "addpurchase " + person + " 100");
        EXPECT_TRUE(Sees(2, "payments " + purchase, {"0"}));
        return purchase;
    }
    // The second copy takes the record lock: its location.
    std::string Hold(int table, const std::string& key)
    {
        const Words held = Copy(2).Command("lockrecord " + std::to_string(table) + " " + key, 30000);
        EXPECT_EQ(held.size(), 1u);
        EXPECT_NE(held.at(0), kNone) << Copy(2).Transcript();
        return held.at(0);
    }
    // The second copy lets go of the lock; the first reads the whole file again and still answers
    // the query as before: its memory was what the file holds.
    void ReleaseAndCompareWithFile(const std::string& loc, const std::string& query)
    {
        const Words before = Copy(1).Command(query);
        EXPECT_EQ(Copy(2).Command("unlockrecord " + loc), Words{"1"});
        EXPECT_EQ(Copy(1).Command("reload", 30000), Words{"1"});
        EXPECT_EQ(Copy(1).Command(query), before) << "memory differed from the file";
    }
    // Lines the copy wrote since `from` that start with the prefix.
    static std::vector<std::string> LinesFrom(DriverProcess& copy, size_t from, const std::string& prefix)
    {
        std::vector<std::string> found;
        for (size_t i = from; i < copy.Lines().size(); ++i)
            if (copy.Lines()[i].compare(0, prefix.size(), prefix) == 0) found.push_back(copy.Lines()[i]);
        return found;
    }
};

TEST_F(DialogCopiesTest, TheCellDialogIsRefusedWhileTheOtherCopyHoldsThePurchase)
{
    const std::string purchase = PersonWithPurchase();
    // One lesson on Tuesday at 10:00 (it gives the row), one not scheduled yet.
    ASSERT_EQ(Copy(1).Command("addlesson " + purchase + " 2 10", 90000), Words{"1"}) << Copy(1).Transcript();
    ASSERT_EQ(Copy(1).Command("addlesson " + purchase + " 2 10 N", 90000), Words{"1"}) << Copy(1).Transcript();
    ASSERT_TRUE(Sees(2, "digest", Copy(1).Command("digest")));
    ASSERT_EQ(Copy(1).Command("grid -1", 30000).size(), 2u);
    const Words at = Copy(1).Command("where Lindqvist");
    ASSERT_EQ(at.size(), 2u);
    ASSERT_EQ(at[1], "2") << Copy(1).Transcript();
    const std::string row = at[0];

    // Wednesday 10:00 is given the unscheduled lesson while the second desk holds the purchase.
    const Words stored = Copy(1).Command("digest");
    const std::string loc = Hold(10, purchase);
    const size_t from = Copy(1).Lines().size();
    EXPECT_EQ(Copy(1).Command("cellitem " + row + " 3 0", 30000), (Words{"0", "1", "0", "1"}));
    EXPECT_EQ(LinesFrom(Copy(1), from, "BOX "), Words{"BOX This data item is locked by another user."});
    EXPECT_EQ(Copy(1).Command("cell " + row + " 3"), Words{"-"});
    EXPECT_EQ(Copy(1).Command("digest"), stored);
    ReleaseAndCompareWithFile(loc, "digest");

    // Once let go the same change is stored and reaches the other desk.
    EXPECT_EQ(Copy(1).Command("cellitem " + row + " 3 0", 30000), (Words{"0", "1", "1", "0"}));
    EXPECT_NE(Copy(1).Command("cell " + row + " 3"), Words{"-"});
    EXPECT_NE(Copy(1).Command("digest"), stored);
    EXPECT_TRUE(Sees(2, "digest", Copy(1).Command("digest")));
    EXPECT_EQ(Copy(1).Command("closegrid"), Words{});
}

TEST_F(DialogCopiesTest, TheOpenPriceListShowsWhatTheOtherCopyAddsAndDeletes)
{
    Copy(2).Send("pricelist");
    ASSERT_TRUE(Copy(2).WaitForLine("EVENT dialog 232", 30000)) << Copy(2).Transcript();
    EXPECT_EQ(Copy(2).Command("lines 1067"), Words{"0"});

    // No refresh asked for: the notice alone fills the open list again.
    const std::string shoes = Added(1, "addpriceitem Shoes");
    EXPECT_TRUE(Notices(2, "lines 1067", {"1", "Shoes_[Code_" + shoes + "]"}));
    const std::string belts = Added(1, "addpriceitem Belts");
    EXPECT_TRUE(Notices(2, "lines 1067", {"2", "Belts_[Code_" + belts + "]", "Shoes_[Code_" + shoes + "]"}));
    EXPECT_EQ(Copy(1).Command("answer 6"), Words{});
    EXPECT_EQ(Copy(1).Command("delete 8 " + shoes, 30000), Words{"1"}) << Copy(1).Transcript();
    EXPECT_TRUE(Notices(2, "lines 1067", {"1", "Belts_[Code_" + belts + "]"}));

    EXPECT_EQ(Copy(2).Command("release"), Words{});
    EXPECT_EQ(Copy(2).Answer("pricelist"), Words{"1"});
    EXPECT_EQ(Copy(2).Command("lines 1067"), Words{"-"});
    EXPECT_EQ(Copy(2).Command("digest"), Copy(1).Command("digest"));
}

TEST_F(DialogCopiesTest, ParametersSavedByOneCopyReachTheOtherAndAHeldRecordRefusesThem)
{
    // Through the dialog in the first copy, one field in the second: each seen on the notice.
    ASSERT_EQ(Copy(1).Command("configure 30 9 Welcome!", 30000), Words{"1"}) << Copy(1).Transcript();
    const Words configured = Copy(1).Command("settings");
    ASSERT_EQ(configured.size(), 4u);
    EXPECT_EQ(Words(configured.begin(), configured.begin() + 3), (Words{"30", "9", "Welcome!"}));
    EXPECT_TRUE(Notices(2, "settings", configured));
    EXPECT_EQ(Copy(2).Command("setparam " + std::to_string(param::kRefreshSeconds) + " 45", 30000), Words{"1"});
    const Words set = Copy(2).Command("settings");
    ASSERT_EQ(set.size(), 4u);
    EXPECT_EQ(set[0], "45");
    EXPECT_TRUE(Notices(1, "settings", set));

    // The second desk holds the parameter record: both saves are refused and change nothing.
    const std::string loc = Hold(2, "1");
    const size_t from = Copy(1).Lines().size();
    EXPECT_EQ(Copy(1).Command("configure 50 10 Other", 30000), Words{"0"});
    EXPECT_EQ(Copy(1).Command("setparam " + std::to_string(param::kStartHour) + " 11", 30000), Words{"0"});
    const std::vector<std::string> boxes = LinesFrom(Copy(1), from, "BOX ");
    ASSERT_EQ(boxes.size(), 2u) << Copy(1).Transcript();
    for (const std::string& box : boxes) EXPECT_NE(box.find("locked by another user"), std::string::npos) << box;
    EXPECT_EQ(Copy(1).Command("settings"), set);
    ReleaseAndCompareWithFile(loc, "settings");
    EXPECT_EQ(Copy(1).Command("settings"), set);
}

TEST_F(DialogCopiesTest, RecordPaymentIsRefusedWhileTheOtherCopyHoldsThePurchase)
{
    const std::string purchase = PersonWithPurchase();
    ASSERT_EQ(Copy(1).Command("addpayments " + purchase + " 1", 90000), (Words{"1", "0"}));
    ASSERT_TRUE(Sees(2, "payments " + purchase, {"1"}));

    const Words stored = Copy(1).Command("digest");
    const std::string loc = Hold(10, purchase);
    const size_t from = Copy(1).Lines().size();
    EXPECT_EQ(Copy(1).Command("recordpayment " + purchase, 30000), Words{"0"}) << "no payment dialog opens";
    const std::vector<std::string> boxes = LinesFrom(Copy(1), from, "BOX ");
    ASSERT_EQ(boxes.size(), 1u) << Copy(1).Transcript();
    EXPECT_NE(boxes[0].find("locked by another user"), std::string::npos) << boxes[0];
    EXPECT_EQ(Copy(1).Command("received " + purchase), Words{"0"});
    EXPECT_EQ(Copy(1).Command("digest"), stored);
    ReleaseAndCompareWithFile(loc, "digest");

    EXPECT_EQ(Copy(1).Command("recordpayment " + purchase, 30000), Words{"1"});
    EXPECT_EQ(Copy(1).Command("received " + purchase), Words{"1"});
    EXPECT_TRUE(Sees(2, "received " + purchase, {"1"}));
    EXPECT_EQ(Copy(2).Command("digest"), Copy(1).Command("digest"));
}

}  // namespace
