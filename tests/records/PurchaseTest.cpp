// Purchase computations: totals, balance, status texts, blocked items, the texts of scheduled
// payments and tokens, and keeping an item's unused tokens in step.

#include <gtest/gtest.h>

#include "RecordTestSupport.h"
#include "records/PurchaseRecord.h"

namespace {

class PurchaseTest : public RecordTest {
protected:
    static CPurchaseItem& AddItem(CPurchaseRecord& p, double amount, char kind = 'p', int count = 1)
    {
        auto item = std::make_unique<CPurchaseItem>();
        item->m_dAmount = amount;
        item->m_cKind = kind;
        item->m_nCount = count;
        p.m_Items.push_back(std::move(item));
        return *p.m_Items.back();
    }
    static CScheduleToken& AddToken(CPurchaseItem& item, char state, int32_t lessonValue = 50)
    {
        auto t = std::make_unique<CScheduleToken>();
        t->m_cKind = item.m_cKind;
        t->m_cState = state;
        t->m_nLessonValue = lessonValue;
        item.m_Tokens.push_back(std::move(t));
        return *item.m_Tokens.back();
    }
    static void AddPayment(CPurchaseRecord& p, char kind, double amount, uint32_t reference = NO_CODE)
    {
        auto pay = std::make_unique<CSchedulePayment>();
        pay->m_cKind = kind;
        pay->m_dAmount = amount;
        pay->m_nReference = reference;
        p.m_Payments.push_back(std::move(pay));
    }
};

TEST_F(PurchaseTest, TotalsAndBalance)
{
    struct Payment {
        char kind;
        double amount;
        uint32_t reference;
    };
    struct Case {
        const char* name;
        char pricing;
        double price;
        std::vector<double> items;
        std::vector<Payment> payments;
        double whole, total, received, balance;
    };
    const Case cases[] = {
        {"no items", 'T', 500.0, {}, {}, 0.0, 0.0, 0.0, 0.0},
        {"sum of items", 'T', 500.0, {100.0, 50.0}, {}, 150.0, 150.0, 0.0, 150.0},
        {"fixed price", 'P', 500.0, {100.0, 50.0}, {}, 500.0, 500.0, 0.0, 500.0},
        {"percent discount", 'T', 0.0, {200.0}, {{'d', 10.0, 0}}, 200.0, 180.0, 0.0, 180.0},
        {"amount discount", 'T', 0.0, {200.0}, {{'d', 10.0, 1}}, 200.0, 190.0, 0.0, 190.0},
        {"discount without reference", 'T', 0.0, {200.0}, {{'d', 10.0, NO_CODE}}, 200.0, 190.0, 0.0, 190.0},
        {"credit", 'P', 300.0, {}, {{'c', 25.0, NO_CODE}}, 300.0, 275.0, 0.0, 275.0},
        {"received and due", 'T', 0.0, {100.0, 100.0},
         {{'R', 50.0, NO_CODE}, {'S', 70.0, NO_CODE}, {'U', 1.0, NO_CODE}, {'R', 25.5, 4}},
         200.0, 200.0, 75.5, 124.5},
        {"refund changes nothing", 'T', 0.0, {80.0}, {{'F', 30.0, NO_CODE}}, 80.0, 80.0, 0.0, 80.0},
        {"everything", 'P', 1000.0, {1.0},
         {{'d', 5.0, 0}, {'d', 20.0, 2}, {'c', 30.0, NO_CODE}, {'R', 400.0, NO_CODE}},
         1000.0, 900.0, 400.0, 500.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPurchaseRecord p;
        p.m_cPricing = c.pricing;
        p.m_dPrice = c.price;
        for (double amount : c.items)
            AddItem(p, amount);
        for (const Payment& pay : c.payments)
            AddPayment(p, pay.kind, pay.amount, pay.reference);
        EXPECT_DOUBLE_EQ(p.GetTotal(1), c.whole);
        EXPECT_DOUBLE_EQ(p.GetTotal(0), c.total);
        EXPECT_DOUBLE_EQ(p.GetReceived(), c.received);
        EXPECT_DOUBLE_EQ(p.GetBalance(), c.balance);
    }
}

TEST_F(PurchaseTest, StatusText)
{
    struct Case {
        const char* name;
        int32_t status;
        std::string tokenStates;
        double balance;
        const char* text;
    };
    const Case cases[] = {
        {"cancelled", -2, "UU", 0.0, "Cancelled"},
        {"converted", 1005, "UU", 0.0, "Converted"},
        {"unused token", -1, "UN", 0.0, "Active"},
        {"scheduled token", -1, "SU", 0.0, "Active"},
        {"all used and paid", -1, "UU", 0.0, "Completed"},
        {"no tokens and paid", -1, "", 0.0, "Completed"},
        {"within a tenth of a cent", -1, "UU", 0.0005, "Completed"},
        {"overpaid by a tenth of a cent", -1, "U", -0.0005, "Completed"},
        {"balance left", -1, "UU", 0.002, "Active"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPurchaseRecord p;
        p.m_nStatus = c.status;
        CPurchaseItem& item = AddItem(p, 100.0);
        for (char state : c.tokenStates)
            AddToken(item, state);
        AddPayment(p, 'R', 100.0 - c.balance);
        EXPECT_EQ(p.GetStatusText(), c.text);
    }
}

TEST_F(PurchaseTest, PayerIsThePersonWhenNoneIsSet)
{
    CPurchaseRecord p;
    p.m_nPerson = 12;
    EXPECT_EQ(p.GetPayer(), 12u);
    p.m_nPayer = 34;
    EXPECT_EQ(p.GetPayer(), 34u);
}

TEST_F(PurchaseTest, BlockedItems)
{
    CPurchaseRecord p;
    std::string why;

    CPurchaseItem& quantity = AddItem(p, 0.0, 'N', 2);
    AddToken(quantity, 'U');
    EXPECT_EQ(p.IsItemBlocked(quantity, &why), 0);
    AddToken(quantity, 'U');
    EXPECT_EQ(quantity.GetUnusedCount(), 0u);
    EXPECT_EQ(p.IsItemBlocked(quantity, &why), 1);
    EXPECT_EQ(why, "All items used.");
    AddToken(quantity, 'U');
    EXPECT_EQ(quantity.GetUnusedCount(), 0u);  // never below 0
    EXPECT_EQ(p.IsItemBlocked(quantity, nullptr), 1);

    p.m_dStartDate = MakeDate(2026, 10, 1, 0, 0);  // 70 days before the fixed today
    CPurchaseItem& time = AddItem(p, 0.0, 'T', 30);
    why.clear();
    EXPECT_EQ(p.IsItemBlocked(time, &why), 1);
    EXPECT_EQ(why, "Past date for using this item. Starting Thursday October 01, 2026 for 30 days "
                   "ending Saturday October 31, 2026.");
    time.m_nCount = 90;
    EXPECT_EQ(p.IsItemBlocked(time, &why), 0);

    CPurchaseItem& lesson = AddItem(p, 0.0, 'p', 0);
    EXPECT_EQ(p.IsItemBlocked(lesson, &why), 0);
}

TEST_F(PurchaseTest, ScheduledPaymentTexts)
{
    struct Case {
        char kind;
        uint32_t reference;
        const char* text;
    };
    const Case cases[] = {
        {'U', NO_CODE, "Payment $12.50 due for Waltz"},
        {'S', NO_CODE, "Payment $12.50 due Thursday March 05, 2026, 02:30PM for Waltz"},
        {'R', 7, "Payment $12.50 received Thursday March 05, 2026, 02:30PM for Waltz"},
        {'F', NO_CODE, "Refund $12.50 paid Thursday March 05, 2026, 02:30PM for Waltz"},
        {'d', 0, "Discount 12.50% granted Thursday March 05, 2026, 02:30PM for Waltz"},
        {'d', 1, "Discount $12.50 granted Thursday March 05, 2026, 02:30PM for Waltz"},
        {'c', NO_CODE, "Credit $12.50 applied Thursday March 05, 2026, 02:30PM for Waltz"},
    };
    for (const Case& c : cases) {
        CSchedulePayment pay;
        pay.m_cKind = c.kind;
        pay.m_nReference = c.reference;
        pay.m_dAmount = 12.5;
        pay.m_dDate = MakeDate(2026, 3, 5, 14, 30);
        EXPECT_EQ(pay.GetText("Waltz"), c.text);
    }
}

class FakeCategories : public ICategoryNames {
public:
    bool LookupCategoryName(uint32_t code, std::string& name) const override
    {
        if (code != 21)
            return false;
        name = "Rumba";
        return true;
    }
};

TEST_F(PurchaseTest, TokenTexts)
{
    struct Case {
        char kind;
        char state;
        uint32_t split;
        const char* text;
    };
    const Case cases[] = {
        {'p', 'N', 0, "Unscheduled Rumba from purchase #12"},
        {'s', 'S', 0, "03/05/2026, 02:30PM Scheduled Rumba from purchase #12"},
        {'p', 'U', 2, "03/05/2026, 02:30PM Used Rumba from purchase #12 [Split 2 times]"},
        {'p', 'c', 1, "Cancelled 04/06/2026, 09:05AM, Rumba from purchase #12 [Split 1 times]"},
        {'T', 'N', 0, "Limited time (unlimited usage) Rumba from purchase #12"},
        {'T', 'S', 0, "03/05/2026, 02:30PM Scheduled Rumba from purchase #12"},
        {'T', 'U', 3, "03/05/2026, 02:30PM Used Rumba from purchase #12"},
        {'N', 'N', 0, "Limited quantity item Rumba from purchase #12, 3 remaining"},
        {'N', 'U', 0, "03/05/2026, 02:30PM Used Rumba from purchase #12"},
        {'D', 'N', 0, "Unscheduled Rumba from purchase #12"},
        {'C', 'U', 0, "03/05/2026, 02:30PM Applied Rumba from purchase #12"},
        {'D', 'S', 0, "03/05/2026, 02:30PM Scheduled Rumba from purchase #12"},
        {'m', 'U', 0, "03/05/2026, 02:30PM Used Rumba from purchase #12"},
        {'T', 'c', 0, "Unrecognized item"},
        {'m', 'c', 0, "Unrecognized item"},
        {'p', 'X', 0, "Unrecognized item"},
    };
    FakeCategories categories;
    for (const Case& c : cases) {
        CPurchaseItem item;
        item.m_cKind = c.kind;
        item.m_nType = 21;
        item.m_nCount = 4;
        CScheduleToken used;
        used.m_cState = 'U';
        item.m_Tokens.push_back(std::make_unique<CScheduleToken>(std::move(used)));
        CScheduleToken t;
        t.m_cKind = c.kind;
        t.m_cState = c.state;
        t.m_nSplitCount = c.split;
        t.m_dDate = MakeDate(2026, 3, 5, 14, 30);
        t.m_dStampDate = MakeDate(2026, 4, 6, 9, 5);
        EXPECT_EQ(t.GetText(item, "#12", &categories), c.text) << c.kind << c.state;
    }

    // Without the database, or with a type it does not know, the item word is "item".
    CPurchaseItem item;
    CScheduleToken t;
    t.m_cKind = 'p';
    EXPECT_EQ(t.GetText(item, "#1", nullptr), "Unscheduled item from purchase #1");
    item.m_nType = 22;
    EXPECT_EQ(t.GetText(item, "#1", &categories), "Unscheduled item from purchase #1");
    EXPECT_EQ(item.GetTypeName(&categories), "Untyped");
    item.m_nType = 21;
    EXPECT_EQ(item.GetTypeName(&categories), "Rumba");
    EXPECT_EQ(item.GetTypeName(nullptr), "Untyped");
    item.m_nType = NO_CODE;
    EXPECT_EQ(item.GetTypeName(&categories), "Untyped");
}

TEST_F(PurchaseTest, TokenKinds)
{
    const struct {
        char kind;
        bool ps, tn;
    } cases[] = {{'p', true, false}, {'s', true, false}, {'T', false, true}, {'N', false, true},
                 {'D', false, false}, {0, false, false}};
    for (const auto& c : cases) {
        CScheduleToken t;
        t.m_cKind = c.kind;
        EXPECT_EQ(t.IsKindPS(), c.ps) << c.kind;
        EXPECT_EQ(t.IsKindTN(), c.tn) << c.kind;
    }
}

TEST_F(PurchaseTest, TokenStateOfALimitedQuantityItem)
{
    CPurchaseItem item;
    item.m_cKind = 'N';
    item.m_nCount = 2;
    CScheduleToken* unused = &[&]() -> CScheduleToken& {
        auto& t = *item.m_Tokens.emplace_back(std::make_unique<CScheduleToken>());
        t.m_cKind = 'N';
        t.m_nLessonValue = 30;
        t.m_nField8 = 602;
        return t;
    }();

    // First use: the caller records the use, the unused token goes, a new one stands for the
    // use that is left.
    auto use = [&](CScheduleToken*& token) {
        auto used = std::make_unique<CScheduleToken>();
        used->CopyFrom(*token);
        used->m_cState = 'U';
        item.m_Tokens.push_back(std::move(used));
        return item.SetTokenState(token, 'U');
    };
    EXPECT_TRUE(use(unused));
    EXPECT_EQ(unused, nullptr);
    ASSERT_EQ(item.m_Tokens.size(), 2u);
    EXPECT_EQ(item.CountTokens('U'), 1u);
    ASSERT_EQ(item.CountTokens('N'), 1u);
    CScheduleToken* next = item.m_Tokens.back().get();
    EXPECT_EQ(next->m_cState, 'N');
    EXPECT_EQ(next->m_cKind, 'N');
    EXPECT_EQ(next->m_dDate, 0.0);
    EXPECT_EQ(next->m_nLessonValue, 30);
    EXPECT_EQ(next->m_nField8, 602u);
    EXPECT_EQ(next->m_cStampUser, kUser);

    // Last use: as many used tokens as the count, so no new unused one.
    EXPECT_TRUE(use(next));
    EXPECT_EQ(next, nullptr);
    EXPECT_EQ(item.CountTokens('U'), 2u);
    EXPECT_EQ(item.CountTokens('N'), 0u);

    // Back to unused while the count is used up: nothing happens.
    CScheduleToken* used = item.m_Tokens[0].get();
    EXPECT_FALSE(item.SetTokenState(used, 'N'));
    EXPECT_EQ(item.m_Tokens.size(), 2u);

    // With a use left again, back to unused adds an unused token; the given token stays.
    item.m_nCount = 3;
    EXPECT_FALSE(item.SetTokenState(used, 'N'));
    EXPECT_EQ(used, item.m_Tokens[0].get());
    EXPECT_EQ(item.CountTokens('N'), 1u);
    EXPECT_EQ(item.m_Tokens.size(), 3u);
}

TEST_F(PurchaseTest, TokenStateOfOtherItemsAndStrangers)
{
    CPurchaseItem item;
    item.m_cKind = 'p';
    item.m_nCount = 2;
    for (int i = 0; i < 2; ++i) {
        auto t = std::make_unique<CScheduleToken>();
        t->m_cKind = 'p';
        item.m_Tokens.push_back(std::move(t));
    }
    item.m_Tokens[1]->m_cState = 'S';

    // Scheduling an unused lesson removes it; nothing takes its place.
    CScheduleToken* first = item.m_Tokens[0].get();
    EXPECT_TRUE(item.SetTokenState(first, 'S'));
    EXPECT_EQ(first, nullptr);
    ASSERT_EQ(item.m_Tokens.size(), 1u);

    // A token that is not unused is not removed, whatever the new state.
    CScheduleToken* scheduled = item.m_Tokens[0].get();
    EXPECT_FALSE(item.SetTokenState(scheduled, 'U'));
    EXPECT_EQ(scheduled, item.m_Tokens[0].get());

    // An unused token set to unused again: nothing.
    scheduled->m_cState = 'N';
    EXPECT_FALSE(item.SetTokenState(scheduled, 'N'));
    EXPECT_EQ(item.m_Tokens.size(), 1u);

    // A token the item does not own is never removed or destroyed.
    CScheduleToken stranger;
    CScheduleToken* p = &stranger;
    EXPECT_FALSE(item.SetTokenState(p, 'U'));
    EXPECT_EQ(p, &stranger);
    EXPECT_EQ(item.m_Tokens.size(), 1u);

    CScheduleToken* none = nullptr;
    EXPECT_FALSE(item.SetTokenState(none, 'U'));
}

}  // namespace
