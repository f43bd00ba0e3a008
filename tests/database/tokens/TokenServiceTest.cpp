// The schedule token service on a purchase of four items (lessons 'p', a time pass 'T', a
// two-use quantity item 'N' and studio activities 's'), saved and read back: uses, give-backs,
// cancels, scheduling, status edits, split and unsplit, on the caller's copy and stored.

#include "tests/studio/StudioFixture.h"

#include <algorithm>
#include <numeric>

namespace {

enum { kLessons = 0, kPass = 1, kQuantity = 2, kActivities = 3 };

class TokenServiceTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildStudio();
        CPurchaseRecord p;
        p.m_nPerson = codes_.carl;
        p.m_sDescription = "Token test";
        p.m_dDate = D(2026, 3, 2, 11, 0);
        auto lessons = Item("Four privates", 'p', 4, 200.0, codes_.privateType, 45);
        lessons->m_nTeacher = codes_.ann;
        lessons->m_Tokens.push_back(Token('S', D(2026, 3, 3, 10, 0), codes_.ann));
        for (int i = 0; i < 3; ++i) lessons->m_Tokens.push_back(Token('N', 0.0, codes_.ann));
        auto pass = Item("Month pass", 'T', 30, 90.0, codes_.groupType, 60);
        pass->m_Tokens.push_back(Token('N', 0.0, NO_CODE, NO_CODE, 'T', 60));
        auto quantity = Item("Two parties", 'N', 2, 20.0, codes_.groupType, 60);
        quantity->m_Tokens.push_back(Token('N', 0.0, NO_CODE, NO_CODE, 'N', 60));
        auto activities = Item("Showcase", 's', 1, 50.0, codes_.groupType, 60);
        activities->m_Tokens.push_back(Token('U', D(2026, 3, 1, 19, 0), codes_.bob, NO_CODE, 's', 60));
        p.m_Items.push_back(std::move(lessons));
        p.m_Items.push_back(std::move(pass));
        p.m_Items.push_back(std::move(quantity));
        p.m_Items.push_back(std::move(activities));
        code_ = Save(TABLE_PURCHASE, p);
        Reopen();
    }

    CPurchaseRecord* Stored() const { return Get<CPurchaseRecord>(TABLE_PURCHASE, code_); }
    CPurchaseItem& ItemOf(CPurchaseRecord& p, int item) const { return *p.m_Items[static_cast<size_t>(item)]; }
    CScheduleToken& TokenOf(CPurchaseRecord& p, int item, uint32_t token) const
    {
        return *ItemOf(p, item).m_Tokens[token];
    }
    std::string States(CPurchaseRecord& p, int item) const
    {
        std::string s;
        for (const auto& t : ItemOf(p, item).m_Tokens) s += t->m_cState;
        return s;
    }
    int32_t LessonValue(CPurchaseRecord& p, int item) const
    {
        int32_t sum = 0;
        for (const auto& t : ItemOf(p, item).m_Tokens) sum += t->m_nLessonValue;
        return sum;
    }
    // The stored purchase equals what the file holds.
    void ExpectFileEqualsMemory()
    {
        CPurchaseRecord memory;
        memory.CopyFrom(*Stored());
        Reopen();
        ASSERT_NE(Stored(), nullptr);
        EXPECT_TRUE(Stored()->IsEqual(memory));
    }

    uint32_t code_ = NO_CODE;
};

TEST_F(TokenServiceTest, UsesKeepTheUnusedTokensInStep)
{
    const DATE at = D(2026, 3, 4, 19, 0);
    struct Case {
        int item;
        uint32_t token;
        int result;
        const char* states;
    } cases[] = {
        {kLessons, 1, 1, "SUNN"},      // a lesson changes in place
        {kPass, 0, 1, "NU"},           // a time pass keeps its unused token
        {kQuantity, 0, 1, "UN"},       // one use left: a new unused token
        {kQuantity, 1, 1, "UU"},       // the last use: none left
        {kActivities, 0, 0, "U"},      // already used
    };
    CPurchaseRecord* p = Stored();
    for (const Case& c : cases) {
        EXPECT_EQ(db_->UseToken(p, c.item, c.token, codes_.salsa, codes_.bob, at, 1), c.result) << c.states;
        EXPECT_EQ(States(*p, c.item), c.states);
    }
    // The use carries the activity, teacher, date and stamp.
    const CScheduleToken& used = TokenOf(*p, kPass, 1);
    EXPECT_EQ(used.m_nActivity, codes_.salsa);
    EXPECT_EQ(used.m_nField8, codes_.bob);
    EXPECT_EQ(used.m_dDate, at);
    EXPECT_EQ(used.m_dStampDate, GetNow());
    EXPECT_EQ(ItemOf(*p, kQuantity).GetUnusedCount(), 0u);
    ExpectFileEqualsMemory();
}

TEST_F(TokenServiceTest, GiveBackCancelAndUncancel)
{
    CPurchaseRecord* p = Stored();
    // A used-up quantity item given one use back has an unused token again.
    ASSERT_EQ(db_->UseToken(p, kQuantity, 0, NO_CODE, NO_CODE, GetNow(), 1), 1);
    ASSERT_EQ(db_->UseToken(p, kQuantity, 1, NO_CODE, NO_CODE, GetNow(), 1), 1);
    ASSERT_EQ(States(*p, kQuantity), "UU");
    EXPECT_EQ(db_->MarkTokenUnused(p, kQuantity, 0, 1), 1);
    EXPECT_EQ(States(*p, kQuantity), "UN");
    EXPECT_EQ(ItemOf(*p, kQuantity).GetUnusedCount(), 1u);
    // A pass's use given back leaves its one unused token.
    ASSERT_EQ(db_->UseToken(p, kPass, 0, NO_CODE, NO_CODE, GetNow(), 1), 1);
    EXPECT_EQ(db_->MarkTokenUnused(p, kPass, 1, 1), 1);
    EXPECT_EQ(States(*p, kPass), "N");
    // An activity is given back in place, undated.
    EXPECT_EQ(db_->MarkTokenUnused(p, kActivities, 0, 1), 1);
    EXPECT_EQ(States(*p, kActivities), "N");
    EXPECT_EQ(TokenOf(*p, kActivities, 0).m_dDate, 0.0);
    EXPECT_EQ(db_->MarkTokenUnused(p, kActivities, 0, 1), 0) << "already unused";
    // Cancel, then uncancel: unscheduled whatever it was before.
    EXPECT_EQ(db_->CancelToken(p, kLessons, 0, 1), 1);
    EXPECT_EQ(States(*p, kLessons), "cNNN");
    EXPECT_EQ(db_->CancelToken(p, kLessons, 0, 1), 1);
    EXPECT_EQ(States(*p, kLessons), "NNNN");
    EXPECT_EQ(TokenOf(*p, kLessons, 0).m_dDate, 0.0);
    ExpectFileEqualsMemory();
}

TEST_F(TokenServiceTest, ScheduleAndStatusEditOnTheCallersCopy)
{
    // Purchase mode: only the copy changes, nothing is stored.
    CPurchaseRecord copy;
    copy.CopyFrom(*Stored());
    const std::vector<CDatabase::stTokenDate> dates = {{kLessons, 1, D(2026, 3, 9, 10, 0)},
                                                      {kLessons, 2, D(2026, 3, 12, 18, 0)}};
    EXPECT_EQ(db_->ScheduleTokens(&copy, dates, 0), 1);
    EXPECT_EQ(States(copy, kLessons), "SSSN");
    EXPECT_EQ(TokenOf(copy, kLessons, 2).m_dDate, D(2026, 3, 12, 18, 0));
    EXPECT_EQ(States(*Stored(), kLessons), "SNNN");

    // A status edit of the pass's unused token is a use of its own.
    CScheduleToken edited;
    edited.CopyFrom(TokenOf(copy, kPass, 0));
    edited.m_cState = 'S';
    edited.m_dDate = D(2026, 3, 5, 19, 0);
    EXPECT_EQ(db_->SetTokenStatus(&copy, kPass, 0, edited, 0), 1);
    EXPECT_EQ(States(copy, kPass), "NS");
    EXPECT_EQ(db_->SetTokenStatus(&copy, kPass, 1, edited, 0), 0) << "no change";

    // Stored: the change is made on the stored purchase, and the caller's copy takes the result.
    EXPECT_EQ(db_->ScheduleTokens(&copy, {{kLessons, 3, D(2026, 3, 16, 10, 0)}}, 1), 1);
    EXPECT_TRUE(copy.IsEqual(*Stored()));
    EXPECT_EQ(States(*Stored(), kLessons), "SNNS");
    ExpectFileEqualsMemory();
}

TEST_F(TokenServiceTest, SplitThenUnsplitRestoresValuesSplitNumbersAndCount)
{
    CPurchaseRecord* p = Stored();
    const int32_t total = LessonValue(*p, kLessons);
    ASSERT_EQ(db_->SplitToken(p, kLessons, 0, 1), 1);
    ASSERT_EQ(ItemOf(*p, kLessons).m_Tokens.size(), 5u);
    EXPECT_EQ(TokenOf(*p, kLessons, 0).m_nLessonValue, 23);
    EXPECT_EQ(TokenOf(*p, kLessons, 4).m_nLessonValue, 22);
    EXPECT_EQ(TokenOf(*p, kLessons, 0).m_nSplitCount, 1u);
    EXPECT_EQ(TokenOf(*p, kLessons, 4).m_nSplitCount, 1u);
    EXPECT_EQ(TokenOf(*p, kLessons, 4).m_nField8, codes_.ann);
    EXPECT_EQ(LessonValue(*p, kLessons), total) << "the item's total never changes";
    EXPECT_EQ(db_->SplitToken(p, kPass, 0, 1), 0) << "only lessons split";

    EXPECT_EQ(db_->UnsplitToken(p, kLessons, 0, 1), 1);
    ASSERT_EQ(ItemOf(*p, kLessons).m_Tokens.size(), 4u);
    EXPECT_EQ(TokenOf(*p, kLessons, 0).m_nLessonValue, 45);
    EXPECT_EQ(TokenOf(*p, kLessons, 0).m_nSplitCount, 0u);
    EXPECT_EQ(States(*p, kLessons), "SNNN");
    ExpectFileEqualsMemory();
}

TEST_F(TokenServiceTest, UnsplitRefusalsAndTheChoiceOfPartner)
{
    struct PickSecond : IDatabaseUi {
        std::string title;
        size_t offered = 0;
        int32_t SelectOne(const std::string& t, const std::vector<std::pair<uint32_t, std::string>>& items) override
        {
            title = t;
            offered = items.size();
            return static_cast<int32_t>(items[1].first);
        }
    } ui;
    db_->SetUi(&ui);
    CPurchaseRecord* p = Stored();
    dqtest::QueueAnswers({IDOK});
    EXPECT_EQ(db_->UnsplitToken(p, kLessons, 1, 1), 0);
    // A used partner does not count.
    ASSERT_EQ(db_->SplitToken(p, kLessons, 0, 1), 1);
    ASSERT_EQ(db_->UseToken(p, kLessons, 4, NO_CODE, NO_CODE, GetNow(), 1), 1);
    dqtest::QueueAnswers({IDOK});
    EXPECT_EQ(db_->UnsplitToken(p, kLessons, 0, 1), 0);
    const auto& texts = ui::test::GetHooks().messageBoxTexts;
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0], "Not a split lesson");
    EXPECT_EQ(texts[1], "No other split heats from same package found for combine");

    // Two unused partners: the user picks the second.
    ASSERT_EQ(db_->SplitToken(p, kLessons, 1, 1), 1);
    ASSERT_EQ(db_->SplitToken(p, kLessons, 2, 1), 1);
    const size_t before = ItemOf(*p, kLessons).m_Tokens.size();
    EXPECT_EQ(db_->UnsplitToken(p, kLessons, 1, 1), 1);
    EXPECT_EQ(ui.title, "Select lesson to recombine with");
    EXPECT_GE(ui.offered, 2u);
    EXPECT_EQ(ItemOf(*p, kLessons).m_Tokens.size(), before - 1);
    EXPECT_EQ(TokenOf(*p, kLessons, 1).m_nSplitCount, 0u);
    db_->SetUi(nullptr);
    ExpectFileEqualsMemory();
}

TEST_F(TokenServiceTest, AStaleCopyChangesNothing)
{
    // The caller saw the lesson before another change stored it: nothing is done, and it is told.
    CPurchaseRecord stale;
    stale.CopyFrom(*Stored());
    ASSERT_EQ(db_->UseToken(Stored(), kLessons, 0, NO_CODE, NO_CODE, 0.0, 1), 1);
    CPurchaseRecord before;
    before.CopyFrom(*Stored());
    dqtest::QueueAnswers({IDOK});
    EXPECT_EQ(db_->CancelToken(&stale, kLessons, 0, 1), 0);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts.back(),
              "This item was changed by another user. Nothing was done; please look at it again.");
    EXPECT_TRUE(Stored()->IsEqual(before));
    EXPECT_EQ(TokenOf(stale, kLessons, 0).m_cState, 'S') << "the caller's copy is left as it was";
    ExpectFileEqualsMemory();
}

}  // namespace
