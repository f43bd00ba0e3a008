// Money of one purchase: the totals box, the payment check, splitting, equalizing and spreading a
// credit, all in whole cents.

#include <gtest/gtest.h>

#include <algorithm>

#include "RecordTestSupport.h"
#include "records/PurchaseMoney.h"
#include "records/PurchaseRecord.h"

namespace {

struct stEntry {
    char kind;
    double amount;
    uint32_t reference = NO_CODE;  // a discount's 0 makes it a percentage
    DATE date = 0.0;
};

std::unique_ptr<CPurchaseRecord> MakePurchase(double price, const std::vector<stEntry>& entries)
{
    auto p = std::make_unique<CPurchaseRecord>();
    p->m_cPricing = 'P';
    p->m_dPrice = price;
    for (const stEntry& e : entries) {
        auto pay = std::make_unique<CSchedulePayment>();
        pay->m_cKind = e.kind;
        pay->m_dAmount = e.amount;
        pay->m_nReference = e.reference;
        pay->m_dDate = e.date;
        p->m_Payments.push_back(std::move(pay));
    }
    return p;
}

std::vector<double> Amounts(const CPurchaseRecord& p)
{
    std::vector<double> a;
    for (const auto& pay : p.m_Payments) a.push_back(pay->m_dAmount);
    return a;
}

class PurchaseMoneyTest : public RecordTest {};

TEST_F(PurchaseMoneyTest, TotalsBoxLines)
{
    struct stCase {
        const char* name;
        double price;
        std::vector<stEntry> entries;
        std::vector<std::string> lines;
    };
    const stCase cases[] = {
        {"percent discount", 200.0, {{'d', 10.0, 0}, {'R', 50.0}, {'U', 130.0}},
         {"Total before adjustments: 200.00", "Credits: 0.00", "Discounts: 20.00", "Total after adjustments: 180.00",
          "Payments/credits made: 50.00", "Payments due: 110.00", "Purchase total exceeds payment total: 130.00",
          "Refunds: 0.00"}},
        {"amount discount and credit", 100.0, {{'d', 15.0, 1}, {'c', 25.0}, {'R', 60.0}, {'F', 5.0}},
         {"Total before adjustments: 100.00", "Credits: 25.00", "Discounts: 15.00", "Total after adjustments: 60.00",
          "Payments/credits made: 85.00", "Payments due: -15.00", "Payment total equals purchase total",
          "Refunds: 5.00"}},
        {"exact in thirds", 100.0, {{'R', 100.0 / 3}, {'R', 100.0 / 3}, {'R', 100.0 / 3}},
         {"Total before adjustments: 100.00", "Credits: 0.00", "Discounts: 0.00", "Total after adjustments: 100.00",
          "Payments/credits made: 100.00", "Payments due: 0.00", "Payment total equals purchase total",
          "Refunds: 0.00"}},
        {"overpaid", 90.0, {{'R', 100.0}},
         {"Total before adjustments: 90.00", "Credits: 0.00", "Discounts: 0.00", "Total after adjustments: 90.00",
          "Payments/credits made: 100.00", "Payments due: 0.00", "Payment total exceeds purchase total: -10.00",
          "Refunds: 0.00"}},
    };
    for (const stCase& c : cases) {
        SCOPED_TRACE(c.name);
        auto p = MakePurchase(c.price, c.entries);
        EXPECT_EQ(CPurchaseMoney::TotalsLines(p->GetTotal(1), CPurchaseMoney::Sums(*p)), c.lines);
    }
    auto p = MakePurchase(90.0, {{'R', 100.0}});
    const std::string text = CPurchaseMoney::TotalsText(90.0, CPurchaseMoney::Sums(*p));
    EXPECT_EQ(text.substr(0, 34), "Total before adjustments: 90.00\r\nC");
    EXPECT_EQ(text.substr(text.size() - 15), "\r\nRefunds: 0.00");
}

TEST_F(PurchaseMoneyTest, PaymentCheckCountsReceivedAndDue)
{
    struct stCase {
        std::vector<stEntry> entries;
        bool ok;
        const char* warning;
    };
    const stCase cases[] = {
        // An unpaid contract whose payments are scheduled is in order.
        {{{'U', 60.0}, {'S', 40.0}}, true, ""},
        {{{'R', 30.0}, {'U', 70.0}}, true, ""},
        {{{'d', 10.0, 0}, {'R', 90.0}}, true, ""},
        {{{'R', 30.0}, {'U', 60.0}}, false, "Warning: total of payments (90.00) does not equal amount of purchase (100.00)."},
        {{{'R', 120.0}}, false, "Warning: total of payments (120.00) does not equal amount of purchase (100.00)."},
    };
    for (const stCase& c : cases) {
        auto p = MakePurchase(100.0, c.entries);
        std::string warning;
        EXPECT_EQ(CPurchaseMoney::CheckPaymentTotal(*p, &warning), c.ok);
        EXPECT_EQ(warning, c.warning);
    }
}

TEST_F(PurchaseMoneyTest, SplitInCentsRemainderLast)
{
    struct stCase {
        double amount;
        int parts;
        std::vector<double> result;
    };
    const stCase cases[] = {
        {100.0, 3, {33.33, 33.33, 33.34}},
        {10.0, 2, {5.0, 5.0}},
        {0.05, 4, {0.01, 0.01, 0.01, 0.02}},
        {50.0, 1, {50.0}},
        {50.0, 0, {50.0}},
    };
    for (const stCase& c : cases) {
        auto p = MakePurchase(100.0, {{'U', c.amount}});
        EXPECT_EQ(CPurchaseMoney::Split(*p, 0, c.parts), c.parts >= 2);
        EXPECT_EQ(Amounts(*p), c.result);
        for (const auto& pay : p->m_Payments) EXPECT_EQ(pay->m_cKind, 'U');
    }
}

TEST_F(PurchaseMoneyTest, EqualizeTouchesOnlyDuePayments)
{
    auto p = MakePurchase(100.0, {{'U', 90.0}, {'S', 5.0, NO_CODE, 45000.0}, {'S', 5.0, NO_CODE, 44000.0}});
    ASSERT_TRUE(CPurchaseMoney::Equalize(*p, nullptr));
    // In date order: the undated one first, the latest carries the remainder.
    EXPECT_EQ(Amounts(*p), (std::vector<double>{33.33, 33.34, 33.33}));

    auto paid = MakePurchase(100.0, {{'R', 40.0}, {'d', 10.0, 1}, {'F', 3.0}, {'U', 10.0}, {'U', 20.0}});
    ASSERT_TRUE(CPurchaseMoney::Equalize(*paid, nullptr));
    EXPECT_EQ(Amounts(*paid), (std::vector<double>{40.0, 10.0, 3.0, 25.0, 25.0}));

    auto single = MakePurchase(100.0, {{'R', 50.0}, {'U', 50.0}, {'F', 1.0}});
    std::string message;
    EXPECT_FALSE(CPurchaseMoney::Equalize(*single, &message));
    EXPECT_EQ(message, "Can't equalize fewer than two payments");
    EXPECT_EQ(Amounts(*single), (std::vector<double>{50.0, 50.0, 1.0}));
}

TEST_F(PurchaseMoneyTest, CreditLowersDuePaymentsEarliestFirst)
{
    struct stCase {
        double credit;
        double taken;
        std::vector<double> left;
    };
    const stCase cases[] = {
        {50.0, 50.0, {20.0}},
        {100.0, 70.0, {}},
        {30.0, 30.0, {40.0}},
        {0.0, 0.0, {30.0, 40.0}},
    };
    for (const stCase& c : cases) {
        SCOPED_TRACE(c.credit);
        auto p = MakePurchase(70.0, {{'S', 40.0, NO_CODE, 45010.0}, {'S', 30.0, NO_CODE, 45000.0}});
        EXPECT_DOUBLE_EQ(CPurchaseMoney::SpreadCredit(*p, c.credit), c.taken);
        std::vector<double> left = Amounts(*p);
        std::sort(left.begin(), left.end());
        EXPECT_EQ(left, c.left);
    }
    // Other entries are never touched; nothing due, nothing taken.
    auto done = MakePurchase(70.0, {{'R', 70.0}});
    EXPECT_EQ(CPurchaseMoney::SpreadCredit(*done, 50.0), 0.0);
    EXPECT_EQ(Amounts(*done), (std::vector<double>{70.0}));
}

}  // namespace

namespace {

TEST_F(PurchaseMoneyTest, ItemTokensByKind)
{
    const std::vector<DATE> dates = {45000.75, 45007.75};
    struct stCase {
        char kind;
        int count;
        std::string states;  // one letter per token
        uint32_t activity;   // the price-list link of the tokens
    };
    const stCase cases[] = {
        {'p', 3, "SSN", 8}, {'s', 1, "S", 8}, {'T', 30, "N", NO_CODE}, {'N', 10, "N", NO_CODE}, {0, 2, "", NO_CODE},
    };
    for (const stCase& c : cases) {
        SCOPED_TRACE(c.kind);
        CPurchaseItem item;
        item.m_cKind = c.kind;
        item.m_nCount = c.count;
        item.m_nLessonValue = 45;
        item.MakeTokens(dates, 8, 21, 4);
        std::string states;
        for (size_t i = 0; i < item.m_Tokens.size(); ++i) {
            const CScheduleToken& t = *item.m_Tokens[i];
            states += t.m_cState;
            EXPECT_EQ(t.m_cKind, c.kind);
            EXPECT_EQ(t.m_nLessonValue, 45);
            EXPECT_EQ(t.m_nActivity, c.activity);
            EXPECT_EQ(t.m_nField8, 21u);
            EXPECT_EQ(t.m_nField9, 4u);
            EXPECT_EQ(t.m_dDate, t.m_cState == 'S' ? dates[i] : 0.0);
        }
        EXPECT_EQ(states, c.states);
    }
}

}  // namespace
