// Payment lines of payment records and of purchases' scheduled payments.

#include "tests/studio/StudioFixture.h"

#include <tuple>

namespace {

class AccountHistoryTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildStudio();
        Reopen();
    }
    static std::string Line(const stPaymentData& d)
    {
        return Format("%s|%s|%s|%s|%s|%s|%s|%d|%.2f|%.2f", d.sDate.c_str(), d.sType.c_str(), d.sStatus.c_str(),
                      d.sName.c_str(), d.sAmount.c_str(), d.sDescription.c_str(), d.sFor.c_str(), d.nPerson,
                      d.dAmount, d.dSignedAmount);
    }
};

TEST_F(AccountHistoryTest, PaymentRecordsByDirectionAndStatus)
{
    struct Case {
        char direction, status;
        bool withPerson;
        DATE date;
        uint32_t link;
        std::string expected;
    };
    const DATE day = D(2026, 3, 3, 9, 0);
    const std::string carl = Format("%d", static_cast<int32_t>(codes_.carl));
    const Case cases[] = {
        {'P', 'R', false, day, NO_CODE, "03/03/2026|Payment by studio to|Paid|Wax Co|80.00|Polish||-1|80.00|-80.00"},
        {'P', 'S', false, day, 12, "03/03/2026|Payment by studio to|Due, scheduled|Wax Co|80.00|Polish|12|-1|80.00|-80.00"},
        {'R', 'R', true, day, NO_CODE,
         "03/03/2026|Non-purchase list payment from|Paid|Carl Student|80.00|Polish||" + carl + "|80.00|80.00"},
        {'R', 'U', true, 0.0, NO_CODE,
         "Unscheduled|Non-purchase list payment from|Due, unscheduled|Carl Student|80.00|Polish||" + carl +
             "|80.00|80.00"},
        {'R', 'x', false, day, 0, "03/03/2026|Non-purchase list payment from||Wax Co|80.00|Polish|0|-1|80.00|80.00"},
        {'q', 'R', true, day, 7,
         "03/03/2026|Non-purchase list refund to|Granted|Carl Student|80.00|Polish|7|" + carl + "|80.00|-80.00"},
        {'c', 'R', false, day, NO_CODE, "03/03/2026|Credit due on purchase to|Unused|Wax Co|80.00|Polish||-1|80.00|-80.00"},
        {'z', 'R', false, day, NO_CODE, "03/03/2026|||Wax Co|80.00|Polish||-1|80.00|-80.00"},
    };
    for (const Case& c : cases) {
        CPaymentRecord payment;
        payment.m_cType = c.direction;
        payment.m_cReceived = c.status;
        payment.m_dDate = c.date;
        payment.m_dAmount = 80.0;
        payment.m_sName = "Wax Co";
        payment.m_sText = "Polish";
        payment.m_nPerson = c.withPerson ? codes_.carl : NO_CODE;
        payment.m_nReference = c.link;
        stDataToken entry;
        entry.type = 'P';
        entry.record = &payment;
        EXPECT_EQ(Line(db_->MakeAccountHistory(entry)), c.expected) << c.direction << c.status;
    }
}

TEST_F(AccountHistoryTest, ScheduledPaymentsByStatus)
{
    CPurchaseRecord* purchase = Purchase(codes_.purchase);
    ASSERT_NE(purchase, nullptr);
    const std::string carl = Format("%d", static_cast<int32_t>(codes_.carl));
    const std::string ann = Format("%d", static_cast<int32_t>(codes_.ann));
    struct Case {
        char kind;
        double amount;
        uint32_t link;
        uint32_t payer;
        std::string expected;
    };
    const Case cases[] = {
        {'U', 60.0, NO_CODE, NO_CODE,
         "Unscheduled|Purchase list payment from|Due|Student, Carl|60.00|Lesson fee||" + carl + "|60.00|60.00"},
        {'S', 60.0, NO_CODE, NO_CODE,
         "03/06/2026|Purchase list payment from|Due|Student, Carl|60.00|Lesson fee||" + carl + "|60.00|60.00"},
        {'R', 60.0, 31, codes_.ann,
         "03/06/2026|Purchase list payment from|Received|Teach, Ann|60.00|Lesson fee|31|" + ann + "|60.00|60.00"},
        {'F', 60.0, NO_CODE, NO_CODE,
         "03/06/2026|Purchase list refund to|Applied|Student, Carl|60.00|Lesson fee||" + carl + "|60.00|-60.00"},
        {'d', 20.0, 1, NO_CODE,
         "03/06/2026|Discount to|Applied|Student, Carl|20.00|Lesson fee|1|" + carl + "|20.00|-20.00"},
        // 10 % of the 480.00 the items cost.
        {'d', 10.0, 0, NO_CODE, "03/06/2026|Discount to|Applied|Student, Carl|48.00|Lesson fee|0|" + carl + "|48.00|-48.00"},
        // 12.345 % of 480.00 is 59.256: rounded to cents.
        {'d', 12.345, 0, NO_CODE,
         "03/06/2026|Discount to|Applied|Student, Carl|59.26|Lesson fee|0|" + carl + "|59.26|-59.26"},
        {'c', 15.0, NO_CODE, NO_CODE, "03/06/2026|Credit to|Applied|Student, Carl|15.00|Lesson fee||" + carl + "|15.00|-15.00"},
    };
    for (const Case& c : cases) {
        auto payment = Scheduled(c.kind, c.kind == 'U' ? 0.0 : D(2026, 3, 6, 12, 0), c.amount, c.link);
        payment->m_nPayer = c.payer;
        payment->m_sDescription = "Lesson fee";
        purchase->m_Payments.push_back(std::move(payment));
        stDataToken entry;
        entry.type = 'p';
        entry.record = purchase;
        entry.index1 = static_cast<int32_t>(purchase->m_Payments.size() - 1);
        const stPaymentData line = db_->MakeAccountHistory(entry);
        EXPECT_EQ(Line(line), c.expected) << c.kind << " " << c.amount;
        EXPECT_NEAR(line.dAmount, std::stod(line.sAmount), 1e-9);
        purchase->m_Payments.pop_back();
    }
    // Without a payer of its own the purchase's bill-to person pays.
    purchase->m_nPayer = codes_.bob;
    stDataToken entry;
    entry.type = 'p';
    entry.record = purchase;
    entry.index1 = 1;
    const stPaymentData line = db_->MakeAccountHistory(entry);
    EXPECT_EQ(line.sName, "Lead, Bob");
    EXPECT_EQ(line.nPerson, static_cast<int32_t>(codes_.bob));
}

// The receipt text: the receipt number, else the method with its text; a discount has none.
TEST_F(AccountHistoryTest, ReceiptTexts)
{
    const struct {
        char entry, kind, method;
        uint32_t reference;
        const char* methodText;
        const char* receipt;
    } cases[] = {
        {'P', 'R', 'C', 1201, "55", "#1201"},   {'P', 'R', 'C', NO_CODE, "55", "Check 55"},
        {'P', 'P', 'R', NO_CODE, "VISA", "Card VISA"}, {'P', 'R', 'A', NO_CODE, "", ""},
        {'p', 'R', 'A', NO_CODE, "drawer", "Cash drawer"}, {'p', 'F', 'C', 88, "", "#88"},
        {'p', 'd', 'C', 0, "", ""},
    };
    CPurchaseRecord* purchase = Purchase(codes_.purchase);
    ASSERT_NE(purchase, nullptr);
    for (const auto& c : cases) {
        CPaymentRecord payment;
        stDataToken entry;
        entry.type = c.entry;
        if (c.entry == 'P') {
            payment.m_cType = c.kind;
            payment.m_cMethod = c.method;
            payment.m_sMethodText = c.methodText;
            payment.m_nReference = c.reference;
            entry.record = &payment;
        } else {
            auto scheduled = Scheduled(c.kind, D(2026, 3, 6, 12, 0), 10.0, c.reference);
            scheduled->m_cMethod = c.method;
            scheduled->m_sMethodText = c.methodText;
            purchase->m_Payments.push_back(std::move(scheduled));
            entry.record = purchase;
            entry.index1 = static_cast<int32_t>(purchase->m_Payments.size() - 1);
        }
        EXPECT_EQ(db_->MakeAccountHistory(entry).sReceipt, c.receipt) << c.entry << c.kind;
        if (c.entry == 'p') purchase->m_Payments.pop_back();
    }
}

// The lines of the fixture's own payments as the gathering lists them.
TEST_F(AccountHistoryTest, LinesOfGatheredEntries)
{
    std::vector<stDataToken> list;
    db_->GetAllScheduleItems(-1, list, 1, D(2026, 3, 1), D(2026, 3, 8), 0);
    std::vector<std::string> lines;
    for (const stDataToken& e : list)
        if (e.type == 'p' || e.type == 'P') {
            const stPaymentData d = db_->MakeAccountHistory(e);
            lines.push_back(d.sDate + " " + d.sType + " " + d.sAmount + Format(" %.2f", d.dSignedAmount));
        }
    EXPECT_EQ(lines, (std::vector<std::string>{"03/02/2026 Discount to 48.00 -48.00",
                                               "03/03/2026 Payment by studio to 80.00 -80.00",
                                               "03/04/2026 Purchase list payment from 25.00 25.00",
                                               "03/04/2026 Non-purchase list payment from 30.50 30.50",
                                               "03/06/2026 Purchase list payment from 100.00 100.00"}));
    stDataToken other;
    other.type = 'T';
    other.record = Purchase(codes_.purchase);
    EXPECT_EQ(db_->MakeAccountHistory(other).sType, "");
}

}  // namespace
