// The schedule grid in two running copies (tests/driver) on 127.0.0.1-2, one database; the first
// copy is on the server computer and the lock manager. A lesson dragged in one copy shows in the
// other's grid after that copy's refresh, and a payment the other saved to the same purchase just
// before the drag is kept.

#include "tests/support/TwoCopiesFixture.h"

namespace {

class GridCopiesTest : public TwoCopiesTest {
protected:
    void SetUp() override { StartCopies("G"); }
};

TEST_F(GridCopiesTest, ALessonDraggedInOneCopyShowsInTheOtherAndKeepsItsPayment)
{
    // Each save is seen by the second desk before the next, so that no save meets its refresh.
    const std::string person = Added(1, "addperson Lindqvist Eva");
    ASSERT_TRUE(Sees(2, "person " + person, {"Lindqvist", "Eva"}));
    const std::string purchase = Added(1, "addpurchase " + person);
    ASSERT_TRUE(Sees(2, "payments " + purchase, {"0"}));
    // Tuesday of the week shown, 10:00.
    ASSERT_EQ(Copy(1).Command("addlesson " + purchase + " 2 10", 90000), Words{"1"}) << Copy(1).Transcript();
    ASSERT_TRUE(Sees(2, "digest", Copy(1).Command("digest")));

    ASSERT_EQ(Copy(1).Command("grid -1", 30000).size(), 2u);
    const Words at = Copy(1).Command("where Lindqvist");
    ASSERT_EQ(at.size(), 2u);
    ASSERT_NE(at[0], "-1") << Copy(1).Transcript();
    EXPECT_EQ(at[1], "2");
    ASSERT_EQ(Copy(2).Command("grid -1", 30000).size(), 2u);
    EXPECT_EQ(Copy(2).Command("where Lindqvist"), at);

    // The second desk saves a payment to the purchase; the first, not refreshed since, drags the
    // lesson to Thursday at the same time.
    const Words paid = Copy(2).Command("addpayments " + purchase + " 1", 90000);
    ASSERT_EQ(paid.size(), 2u);
    ASSERT_EQ(paid[0], "1");
    ASSERT_EQ(Copy(1).Command("drag " + at[0] + " 2 " + at[0] + " 4", 30000), Words{});
    const Words moved{at[0], "4"};
    EXPECT_EQ(Copy(1).Command("where Lindqvist"), moved);
    EXPECT_EQ(Copy(1).Command("cell " + at[0] + " 2"), Words{"-"});
    EXPECT_EQ(Copy(1).Command("payments " + purchase), Words{"1"}) << "the move kept the other desk's payment";

    EXPECT_TRUE(Sees(2, "where Lindqvist", moved));
    EXPECT_EQ(Copy(2).Command("payments " + purchase), Words{"1"});
    EXPECT_EQ(Copy(2).Command("digest"), Copy(1).Command("digest"));
    for (int i = 1; i <= 2; ++i) EXPECT_EQ(Copy(i).Command("closegrid"), Words{});
}

}  // namespace
