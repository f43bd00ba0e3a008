// The token service in two running copies (tests/driver): while the second desk holds the
// purchase's record (its editor open), marking a lesson used, cancelling it and converting the
// purchase are refused in the first, and its memory, the file and the second desk stay equal;
// once the record is free, the use is stored and the second desk sees it.

#include "tests/support/TwoCopiesTest.h"

namespace {

class TokenCopiesTest : public TwoCopiesTest {
protected:
    TokenCopiesTest() : TwoCopiesTest("T") {}
};

TEST_F(TokenCopiesTest, ARefusedLockLeavesMemoryFileAndTheOtherDeskEqual)
{
    const std::string person = Added(1, "addperson Lindqvist Eva");
    ASSERT_TRUE(Sees(2, "person " + person, {"Lindqvist", "Eva"}));
    const std::string purchase = Added(1, "addpurchase " + person);
    ASSERT_EQ(Copy(1).Command("addtokens " + purchase + " 3", 30000), Words{"1"});
    ASSERT_TRUE(Sees(2, "tokens " + purchase, {"NNN"}));

    const Words held = Copy(2).Command("lockrecord 10 " + purchase);
    ASSERT_EQ(held.size(), 1u);
    ASSERT_NE(held[0], "4294967295");
    for (const char* command : {"usetoken ", "canceltoken "}) {
        EXPECT_EQ(Copy(1).Command(command + purchase + " 0 0", 30000), Words{"0"}) << command;
        EXPECT_EQ(Copy(1).Command("tokens " + purchase), Words{"NNN"}) << command;
        EXPECT_EQ(Copy(1).Command("filetokens " + purchase), Words{"NNN"}) << command;
    }
    EXPECT_TRUE(Copy(1).SawLine("BOX This data item is locked by another user."));
    EXPECT_EQ(Copy(1).Command("convert " + purchase, 30000), Words{"2"});
    EXPECT_EQ(Copy(1).Command("status " + purchase), Words{"-1"});
    EXPECT_EQ(Copy(1).Command("count 10"), Words{"1"}) << "no second purchase in force";
    EXPECT_EQ(Copy(1).Command("digest"), Copy(2).Command("digest"));

    ASSERT_EQ(Copy(2).Command("unlockrecord " + held[0]), Words{"1"});
    EXPECT_EQ(Copy(1).Command("usetoken " + purchase + " 0 0", 30000), Words{"1"});
    EXPECT_EQ(Copy(1).Command("filetokens " + purchase), Words{"UNN"});
    EXPECT_TRUE(Sees(2, "tokens " + purchase, {"UNN"}));
    EXPECT_EQ(Copy(1).Command("digest"), Copy(2).Command("digest"));
}

}  // namespace
