// The purchase sheet in two running copies (tests/driver): the sheet's OK while the other copy
// holds what the save needs is refused and leaves memory as the file is; once released, the same
// sheet saves, and its credit is spent in both copies.

#include "tests/support/TwoCopiesTest.h"

namespace {

using Words = std::vector<std::string>;

class SheetCopiesTest : public TwoCopiesTest {
protected:
    SheetCopiesTest() : TwoCopiesTest("S") {}
};

TEST_F(SheetCopiesTest, OkRefusedWhileTheOtherCopyHoldsThenSavedAfterRelease)
{
    // A lesson, two payments of 10.00 due and a credit of 5.00, each seen by the second desk.
    const std::string person = Added(1, "addperson Lee Ann");
    const std::string purchase = Added(1, "addpurchase " + person);
    ASSERT_EQ(Copy(1).Command("addlesson " + purchase + " 2 10", 90000), Words{"1"});
    ASSERT_EQ(Copy(1).Command("addpayments " + purchase + " 2", 90000).at(0), "2");
    const std::string credit = Added(1, "addcredit " + person + " 5");
    ASSERT_TRUE(Sees(2, "payments " + purchase, {"2"}));
    ASSERT_TRUE(Sees(2, "credit " + credit, {"5.00"}));

    // The second desk holds the purchase: the sheet is not opened at all.
    const Words held = Copy(2).Command("lockrecord 10 " + purchase);
    ASSERT_EQ(held.size(), 1u);
    ASSERT_NE(held[0], "4294967295");
    EXPECT_EQ(Copy(1).Command("sheet " + purchase, 30000), Words{"2"});
    EXPECT_FALSE(Copy(1).SawLine("EVENT sheet"));
    ASSERT_EQ(Copy(2).Command("unlockrecord " + held[0]), Words{"1"});

    // The sheet is open with the credit applied; when its OK comes the second desk holds the
    // database, and the wait is given up as the person at the desk would.
    Copy(1).Send("sheet " + purchase);
    ASSERT_TRUE(Copy(1).WaitForLine("EVENT sheet 1", 60000)) << Copy(1).Transcript();
    ASSERT_EQ(Copy(2).Command("lockdb", 30000), Words{"1"});
    Copy(1).Command("release");
    ASSERT_TRUE(Copy(1).Eventually("waiting", "1", 60000)) << Copy(1).Transcript();
    Copy(1).Command("abort");
    EXPECT_EQ(Copy(1).Answer("sheet", 60000), Words{"2"});
    // Nothing of the sheet stayed: the purchase and the credit are as stored, and the credit is
    // free for another desk.
    EXPECT_EQ(Copy(1).Command("payments " + purchase), Words{"2"});
    EXPECT_EQ(Copy(1).Command("credit " + credit), Words{"5.00"});
    ASSERT_EQ(Copy(2).Command("unlockdb", 30000), Words{"1"});
    EXPECT_TRUE(Sees(2, "digest", Copy(1).Command("digest")));
    const Words creditLock = Copy(2).Command("lockrecord 11 " + credit);
    ASSERT_EQ(creditLock.size(), 1u);
    EXPECT_NE(creditLock[0], "4294967295") << "the credit was given back";
    ASSERT_EQ(Copy(2).Command("unlockrecord " + creditLock[0]), Words{"1"});

    // Released: the same sheet saves. The credit pays 5.00 of the first payment due and, used
    // up, goes; both desks hold the same.
    Copy(1).Send("sheet " + purchase);
    ASSERT_TRUE(Copy(1).WaitForLine("EVENT sheet 2", 60000)) << Copy(1).Transcript();
    Copy(1).Command("release");
    EXPECT_EQ(Copy(1).Answer("sheet", 60000), Words{"1"});
    EXPECT_EQ(Copy(1).Command("payments " + purchase), Words{"3"});
    EXPECT_EQ(Copy(1).Command("credit " + credit), Words{"-"});
    EXPECT_TRUE(Sees(2, "credit " + credit, {"-"}));
    EXPECT_TRUE(Sees(2, "digest", Copy(1).Command("digest")));
}

}  // namespace
