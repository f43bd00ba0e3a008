// Per-category tallies, the date-indexed payment list and the account settings of a category,
// over small tables built in memory.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <tuple>
#include <vector>

#include "records/RecordBuffer.h"
#include "database/Database.h"
#include "platform/ui/TestHooks.h"

namespace {

constexpr DATE kFrom = 100.0;
constexpr DATE kTo = 200.0;
constexpr DATE kIn = 150.0;
constexpr DATE kBefore = 50.0;
constexpr DATE kAfter = 250.0;
constexpr uint32_t kNone = 0xFFFFFFFF;
constexpr uint32_t kOther = TALLY_OTHER;
constexpr uint32_t kSeveral = TALLY_SEVERAL;

std::unique_ptr<CScheduleToken> Token(char kind, char state, DATE date, DATE stamp = 0.0, int32_t units = 50,
                                      uint32_t split = 0)
{
    auto t = std::make_unique<CScheduleToken>();
    t->m_cKind = kind;
    t->m_cState = state;
    t->m_dDate = date;
    t->m_dStampDate = stamp;
    t->m_nLessonValue = units;
    t->m_nSplitCount = split;
    return t;
}

std::unique_ptr<CPurchaseItem> Item(uint32_t category, char kind, int32_t count, double amount, int32_t units = 50)
{
    auto i = std::make_unique<CPurchaseItem>();
    i->m_nType = category;
    i->m_cKind = kind;
    i->m_nCount = count;
    i->m_dAmount = amount;
    i->m_nLessonValue = units;
    return i;
}

std::unique_ptr<CSchedulePayment> Scheduled(char kind, DATE date, double amount, uint32_t reference = kNone)
{
    auto p = std::make_unique<CSchedulePayment>();
    p->m_cKind = kind;
    p->m_dDate = date;
    p->m_dAmount = amount;
    p->m_nReference = reference;
    return p;
}

std::unique_ptr<CInterview> Interview(char kind, DATE date, uint32_t dueTo = kNone, int32_t field8 = 0,
                                      uint32_t contractType = kNone)
{
    auto i = std::make_unique<CInterview>();
    i->m_cKind = kind;
    i->m_dDate = date;
    i->m_nDueTo = dueTo;
    i->m_nField8 = field8;
    i->m_nField9 = contractType;
    return i;
}

// A database whose tables are filled in memory only.
class TalliesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::test::EnsureApplication();
        SetStampUserCode(1);
        db_ = std::make_unique<CDatabase>();
    }

    template <class T>
    T* Add(uint8_t table, std::unique_ptr<T> item)
    {
        item->m_nCode = nextCode_++;
        T* raw = item.release();
        const auto sequence = static_cast<uint32_t>(db_->GetItemList(table)->size());
        db_->AddIndex(table, raw, raw->m_nCode, sequence, 0, 0xFFFFFFFE, -1);
        return raw;
    }
    uint32_t AddCategory(char type)
    {
        auto c = std::make_unique<CCategory>(type);
        c->m_sName = std::string("Category ") + type;
        return Add(TABLE_CATEGORY, std::move(c))->m_nCode;
    }
    CPurchaseRecord* AddPurchase(DATE date, int32_t status = CPurchaseRecord::STATUS_ACTIVE, DATE stamp2 = 0.0)
    {
        auto p = std::make_unique<CPurchaseRecord>();
        p->m_dDate = date;
        p->m_nStatus = status;
        p->m_dStamp2Date = stamp2;
        return Add(TABLE_PURCHASE, std::move(p));
    }
    CPaymentRecord* AddPayment(char type, char received, DATE date, double amount, uint32_t field12 = kNone,
                               uint32_t field14 = kNone)
    {
        auto p = std::make_unique<CPaymentRecord>();
        p->m_cType = type;
        p->m_cReceived = received;
        p->m_dDate = date;
        p->m_dAmount = amount;
        p->m_nField12 = field12;
        p->m_nField14 = field14;
        return Add(TABLE_PAYMENT, std::move(p));
    }
    CPerson* AddPerson(DATE created, uint32_t referredBy = kNone)
    {
        auto p = std::make_unique<CPerson>('C');
        p->m_dStamp1Date = created;
        p->m_nReferredBy = referredBy;
        return Add(TABLE_PERSON, std::move(p));
    }

    std::unique_ptr<CDatabase> db_;
    uint32_t nextCode_ = 1;
};

using CodeRow = std::tuple<uint32_t, uint32_t, double>;
std::vector<CodeRow> Rows(const std::vector<stCodeTotal>& list)
{
    std::vector<CodeRow> rows;
    for (const stCodeTotal& t : list) rows.emplace_back(t.nCode, t.nCount, t.dAmount);
    return rows;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Account settings

TEST(CategoryAccountParams, WrittenAndReadByteExact)
{
    struct Case {
        uint8_t type;
        uint32_t transaction;
        uint32_t distribution;
        std::array<int, 5> flags;
        std::array<uint8_t, 14> bytes;
    };
    const Case cases[] = {
        {0, kNone, kNone, {0, 0, 0, 0, 0}, {0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0}},
        {11, 7, kNone, {0, 1, 0, 0, 1}, {11, 7, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 1, 0, 0, 1}},
        // Account codes wider than one byte keep every byte.
        {17, 0x0102A3F4, 0x00000300, {1, 1, 1, 1, 1},
         {17, 0xF4, 0xA3, 0x02, 0x01, 0x00, 0x03, 0x00, 0x00, 1, 1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.type));
        CCategory category('A');
        category.m_Params.fill(0xAB);
        SetCategoryAccountParams(category, c.type, c.transaction, c.distribution, c.flags);
        for (size_t i = 0; i < c.bytes.size(); ++i) EXPECT_EQ(category.m_Params[i], c.bytes[i]) << "byte " << i;
        for (size_t i = c.bytes.size(); i < category.m_Params.size(); ++i)
            EXPECT_EQ(category.m_Params[i], 0xAB) << "byte " << i << " is not the account's";

        uint8_t type = 0xEE;
        uint32_t transaction = 0, distribution = 0;
        std::array<int, 5> flags{9, 9, 9, 9, 9};
        GetCategoryAccountParams(category, type, transaction, distribution, flags);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(transaction, c.transaction);
        EXPECT_EQ(distribution, c.distribution);
        EXPECT_EQ(flags, c.flags);
    }
}

TEST(CategoryAccountParams, ReadFromStoredBytes)
{
    CCategory category('A');
    const uint8_t stored[14] = {3, 0x2C, 0x01, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 0, 1, 0, 1};
    std::copy(std::begin(stored), std::end(stored), category.m_Params.begin());
    uint8_t type = 0;
    uint32_t transaction = 0, distribution = 0;
    std::array<int, 5> flags{};
    GetCategoryAccountParams(category, type, transaction, distribution, flags);
    EXPECT_EQ(type, 3);
    EXPECT_EQ(transaction, 300u);
    EXPECT_EQ(distribution, kNone);
    EXPECT_EQ(flags, (std::array<int, 5>{1, 0, 1, 0, 1}));
}

// ---------------------------------------------------------------------------------------------
// Adding into tallies

TEST(TallyEntries, ContractAndActivityTotalsAddByKind)
{
    std::vector<stContractTotal> contracts{stContractTotal{4}, stContractTotal{kOther}};
    AddToContractTotal(-1, 4, 100.0, contracts);
    AddToContractTotal(-2, 4, 20.0, contracts);
    AddToContractTotal('F', 4, 5.5, contracts);
    AddToContractTotal('V', kOther, 0.0, contracts);
    AddToContractTotal('V', kOther, 0.0, contracts);
    AddToContractTotal('X', 4, 1000.0, contracts);   // no such kind
    AddToContractTotal(-1, 99, 1000.0, contracts);   // no such code
    EXPECT_EQ(contracts[0].nContracts, 2u);
    EXPECT_DOUBLE_EQ(contracts[0].dTotal, 120.0);
    EXPECT_DOUBLE_EQ(contracts[0].dRefunds, 5.5);
    EXPECT_EQ(contracts[0].nVisits, 0u);
    EXPECT_EQ(contracts[1].nVisits, 2u);
    EXPECT_EQ(contracts[1].nContracts, 0u);

    std::vector<stActivityCount> activity(1);
    activity[0].nCode = 7;
    AddToActivityTotal('E', 7, 50, activity, 3);
    AddToActivityTotal('U', 7, 25, activity, 1);
    AddToActivityTotal('C', 7, 30, activity, 2);
    AddToActivityTotal('Z', 7, 30, activity, 2);
    AddToActivityTotal('E', 8, 30, activity, 2);
    EXPECT_EQ(std::make_tuple(activity[0].nEnrolled, activity[0].nEnrolledUnits), std::make_tuple(3u, 150u));
    EXPECT_EQ(std::make_tuple(activity[0].nTaken, activity[0].nTakenUnits), std::make_tuple(1u, 25u));
    EXPECT_EQ(std::make_tuple(activity[0].nCancelled, activity[0].nCancelledUnits), std::make_tuple(2u, 60u));

    EXPECT_EQ(FindEntryByCode(kOther, contracts), 1);
    EXPECT_EQ(FindEntryByCode(5u, contracts), -1);
    EXPECT_EQ(FindEntryByCode(7u, activity), 0);
}

TEST(TallyEntries, ScheduledActivityByStateKindAndDate)
{
    struct Case {
        const char* what;
        char kind, state;
        DATE date, stamp;
        uint32_t split;
        uint32_t taken, takenUnits, cancelled, cancelledUnits;
    };
    const Case cases[] = {
        {"used in the period", 'p', 'U', kIn, kBefore, 0, 1, 50, 0, 0},
        {"used, split in two", 's', 'U', kIn, kBefore, 2, 1, 25, 0, 0},
        {"limited quantity", 'N', 'U', kIn, kBefore, 0, 1, 50, 0, 0},
        {"used on the first day", 'p', 'U', kFrom, kBefore, 0, 1, 50, 0, 0},
        {"used on the last day (excluded)", 'p', 'U', kTo, kIn, 0, 0, 0, 0, 0},
        {"cancelled in the period", 'p', 'c', kBefore, kIn, 0, 0, 0, 1, 50},
        {"cancelled before, lesson date in", 'p', 'c', kIn, kBefore, 0, 0, 0, 0, 0},
        {"scheduled only", 'p', 'S', kIn, kIn, 0, 0, 0, 0, 0},
        {"limited time kind", 'T', 'U', kIn, kIn, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<stActivityCount> list(1);
        list[0].nCode = 3;
        AddScheduledActivity(kFrom, kTo, 3, *Token(c.kind, c.state, c.date, c.stamp, 50, c.split), list);
        EXPECT_EQ(list[0].nTaken, c.taken);
        EXPECT_EQ(list[0].nTakenUnits, c.takenUnits);
        EXPECT_EQ(list[0].nCancelled, c.cancelled);
        EXPECT_EQ(list[0].nCancelledUnits, c.cancelledUnits);
        EXPECT_EQ(list[0].nEnrolled, 0u);
    }
}

TEST(TallyEntries, EntryDone)
{
    CPurchaseRecord purchase;
    purchase.m_Items.push_back(Item(1, 'p', 2, 0.0));
    purchase.m_Items[0]->m_Tokens.push_back(Token('p', 'U', kIn));
    purchase.m_Items[0]->m_Tokens.push_back(Token('p', 'S', kIn));
    auto entry = [&](char type, int32_t item, int32_t token) {
        stDataToken e;
        e.type = type;
        e.record = &purchase;
        e.index1 = item;
        e.index2 = token;
        return e;
    };
    EXPECT_TRUE(IsEntryDone(entry('T', 0, 0), 1));
    EXPECT_FALSE(IsEntryDone(entry('T', 0, 1), 1));
    EXPECT_FALSE(IsEntryDone(entry('T', 0, 0), 0));
    EXPECT_FALSE(IsEntryDone(entry('T', 0, 2), 1));   // no such token
    EXPECT_FALSE(IsEntryDone(entry('T', 1, 0), 1));   // no such item
    EXPECT_TRUE(IsEntryDone(entry('p', 0, -1), 0));
    EXPECT_TRUE(IsEntryDone(entry('P', -1, -1), 1));
    EXPECT_FALSE(IsEntryDone(entry('S', -1, -1), 1));
}

// ---------------------------------------------------------------------------------------------
// Sales by category

TEST_F(TalliesTest, SalesByCategory)
{
    const uint32_t dance = AddCategory('B');
    const uint32_t shoes = AddCategory('m');
    const uint32_t tax = AddCategory('T');

    // One item: its count and the total after discounts under its category.
    CPurchaseRecord* single = AddPurchase(kIn);
    single->m_Items.push_back(Item(dance, 'p', 5, 100.0));
    single->m_Payments.push_back(Scheduled('d', kIn, 10.0, 1));
    single->m_Payments.push_back(Scheduled('R', kIn, 60.0));
    single->m_Payments.push_back(Scheduled('F', kIn, 15.0));
    single->m_Payments.push_back(Scheduled('R', kAfter, 1000.0));
    single->m_Payments.push_back(Scheduled('S', kIn, 1000.0));
    // One item of a category that no longer exists.
    CPurchaseRecord* gone = AddPurchase(kFrom);
    gone->m_Items.push_back(Item(4242, 0, 2, 40.0));
    gone->m_Payments.push_back(Scheduled('R', kIn, 40.0));
    // Several items.
    CPurchaseRecord* several = AddPurchase(kIn);
    several->m_Items.push_back(Item(dance, 'p', 3, 30.0));
    several->m_Items.push_back(Item(shoes, 0, 1, 20.0));
    several->m_Payments.push_back(Scheduled('R', kIn, 25.0));
    // Sold before the period, paid in it.
    CPurchaseRecord* earlier = AddPurchase(kBefore);
    earlier->m_Items.push_back(Item(shoes, 0, 1, 70.0));
    earlier->m_Payments.push_back(Scheduled('R', kIn, 70.0));
    // Neither a cancelled purchase nor one on the period's end counts.
    CPurchaseRecord* cancelled = AddPurchase(kIn, CPurchaseRecord::STATUS_CANCELLED, kIn);
    cancelled->m_Items.push_back(Item(dance, 'p', 9, 900.0));
    cancelled->m_Payments.push_back(Scheduled('R', kIn, 900.0));
    AddPurchase(kTo)->m_Items.push_back(Item(dance, 'p', 9, 900.0));

    AddPayment('R', 'R', kIn, 7.0);
    AddPayment('q', 'R', kIn, 8.0);
    AddPayment('R', 'D', kIn, 500.0);                   // still due
    AddPayment('P', 'R', kIn, 11.0, kNone, tax);
    AddPayment('P', 'R', kIn, 12.0, kNone, 4242);
    AddPayment('P', 'R', kIn, 13.0, kNone, kNone);
    AddPayment('P', 'R', kAfter, 500.0, kNone, tax);

    std::vector<stCodeTotal> list;
    db_->PrepareCategoryTotals(1, list);
    db_->SumSalesByCategory(1, kFrom, kTo, list, nullptr);
    EXPECT_EQ(Rows(list), (std::vector<CodeRow>{{dance, 5, 90.0}, {shoes, 0, 0.0}, {kSeveral, 1, 50.0},
                                                {kOther, 2, 40.0}}));

    std::vector<stCodeTotal> refunds;
    db_->PrepareCategoryTotals(2, list);
    db_->PrepareCategoryTotals(2, refunds);
    db_->SumSalesByCategory(2, kFrom, kTo, list, &refunds);
    EXPECT_EQ(Rows(list), (std::vector<CodeRow>{{dance, 1, 60.0}, {shoes, 1, 70.0}, {kSeveral, 1, 25.0},
                                                {kOther, 2, 47.0}}));
    EXPECT_EQ(Rows(refunds), (std::vector<CodeRow>{{dance, 1, 15.0}, {shoes, 0, 0.0}, {kSeveral, 0, 0.0},
                                                   {kOther, 1, 8.0}}));
    // Without a second list the refunds are left out.
    db_->PrepareCategoryTotals(2, list);
    db_->SumSalesByCategory(2, kFrom, kTo, list, nullptr);
    EXPECT_DOUBLE_EQ(list[3].dAmount, 47.0);

    db_->PrepareCategoryTotals(4, list);
    db_->SumSalesByCategory(4, kFrom, kTo, list, nullptr);
    EXPECT_EQ(Rows(list), (std::vector<CodeRow>{{tax, 1, 11.0}, {kOther, 2, 25.0}}));
}

TEST_F(TalliesTest, SumsOfCategoryTypes)
{
    const uint32_t dance = AddCategory('B');
    const uint32_t shoes = AddCategory('m');
    const uint32_t tax = AddCategory('T');
    const std::vector<stCodeTotal> list = {
        {dance, 1, 10.0}, {shoes, 1, 2.5}, {tax, 1, 100.0}, {kSeveral, 1, 1000.0}, {kOther, 1, 7.0}};
    // The several-items row belongs to the dance items only when asked for.
    const struct {
        char type;
        int contracts;
        const char* text;
    } cases[] = {{'B', 1, " 1010.00"}, {'B', 0, "   10.00"}, {'m', 0, "    2.50"}, {'m', 1, " 1002.50"},
                 {'Q', 0, "    0.00"}};
    for (const auto& c : cases) {
        std::string text;
        db_->SumCategoryTotalsByType(text, list, c.type, c.contracts);
        EXPECT_EQ(text, c.text) << c.type << c.contracts;
    }
}

TEST_F(TalliesTest, PurchaseWithoutItemsCountsAsOther)
{
    AddCategory('B');
    CPurchaseRecord* fixed = AddPurchase(kIn);
    fixed->m_cPricing = 'P';
    fixed->m_dPrice = 33.0;
    std::vector<stCodeTotal> list;
    db_->PrepareCategoryTotals(1, list);
    db_->SumSalesByCategory(1, kFrom, kTo, list, nullptr);
    EXPECT_EQ(list.back().nCode, kOther);
    EXPECT_EQ(list.back().nCount, 1u);
    EXPECT_DOUBLE_EQ(list.back().dAmount, 33.0);
}

// ---------------------------------------------------------------------------------------------
// Contracts by type

TEST_F(TalliesTest, ContractsByType)
{
    const uint32_t yearly = AddCategory('C');
    const uint32_t trial = AddCategory('C');
    AddCategory('B');

    CPurchaseRecord* written = AddPurchase(kIn);
    written->m_nField12 = yearly;
    written->m_Items.push_back(Item(kNone, 'p', 1, 100.0));
    written->m_Payments.push_back(Scheduled('F', kIn, 12.5));
    written->m_Payments.push_back(Scheduled('F', kAfter, 99.0));
    written->m_Payments.push_back(Scheduled('R', kIn, 99.0));
    // Written earlier, cancelled in the period (the cancellation's date is the second stamp).
    CPurchaseRecord* cancelled = AddPurchase(kBefore, CPurchaseRecord::STATUS_CANCELLED, kIn);
    cancelled->m_nField12 = trial;
    cancelled->m_Items.push_back(Item(kNone, 'p', 1, 40.0));
    // Written and cancelled in the period, of no contract type.
    CPurchaseRecord* both = AddPurchase(kIn, CPurchaseRecord::STATUS_CANCELLED, kIn);
    both->m_Items.push_back(Item(kNone, 'p', 1, 30.0));
    // A contract type that no longer exists; converted, so not a cancellation.
    CPurchaseRecord* converted = AddPurchase(kIn, 77, kIn);
    converted->m_nField12 = 4242;
    converted->m_Items.push_back(Item(kNone, 'p', 1, 20.0));
    // Cancelled outside the period.
    CPurchaseRecord* late = AddPurchase(kBefore, CPurchaseRecord::STATUS_CANCELLED, kAfter);
    late->m_nField12 = yearly;
    late->m_Items.push_back(Item(kNone, 'p', 1, 1000.0));

    CPerson* person = AddPerson(kBefore);
    person->m_Interviews.push_back(Interview('V', kIn, kNone, 0, trial));
    person->m_Interviews.push_back(Interview('V', kIn, kNone, 0, kNone));
    person->m_Interviews.push_back(Interview('V', kAfter, kNone, 0, trial));
    person->m_Interviews.push_back(Interview('P', kIn, kNone, 0, trial));

    std::vector<stContractTotal> list, second;
    db_->PrepareContractTypeTotals(list);
    db_->PrepareContractTypeTotals(second);
    ASSERT_EQ(list.size(), 3u);
    db_->SumContractsByType(kFrom, kTo, list, second);

    using Row = std::tuple<uint32_t, uint32_t, uint32_t, double, double>;
    auto rows = [](const std::vector<stContractTotal>& l) {
        std::vector<Row> r;
        for (const stContractTotal& t : l) r.emplace_back(t.nCode, t.nVisits, t.nContracts, t.dTotal, t.dRefunds);
        return r;
    };
    EXPECT_EQ(rows(list), (std::vector<Row>{{yearly, 0, 1, 100.0, 0.0}, {trial, 1, 0, 0.0, 0.0},
                                            {kOther, 1, 2, 50.0, 0.0}}));
    EXPECT_EQ(rows(second), (std::vector<Row>{{yearly, 0, 0, 0.0, 12.5}, {trial, 0, 1, 40.0, 0.0},
                                              {kOther, 0, 1, 30.0, 0.0}}));
}

// ---------------------------------------------------------------------------------------------
// Interview sources

TEST_F(TalliesTest, InterviewSources)
{
    const uint32_t radio = AddCategory('I');
    const uint32_t dance = AddCategory('B');

    CPerson* a = AddPerson(kIn, radio);
    AddPerson(kFrom, kNone);           // new on the period's first moment
    AddPerson(kIn, 4242);              // a source the list does not have yet
    AddPerson(kTo, radio);             // not new in the period
    a->m_Interviews.push_back(Interview('P', kIn, radio));
    a->m_Interviews.push_back(Interview('P', kFrom, kNone));
    a->m_Interviews.push_back(Interview('V', kIn, radio, 1));
    a->m_Interviews.push_back(Interview('V', kIn, radio, 0));   // a renewal visit
    a->m_Interviews.push_back(Interview('V', kAfter, radio, 1));

    AddPayment('P', 'R', kIn, 30.0, radio);
    AddPayment('P', 'R', kIn, 1000.0, dance);      // not an interview source
    AddPayment('P', 'D', kIn, 1000.0, radio);      // not paid yet
    AddPayment('R', 'R', kIn, 1000.0, radio);      // received, not paid
    AddPayment('P', 'R', kAfter, 1000.0, radio);

    std::vector<stSourceTotal> list{stSourceTotal{999}};
    db_->PrepareInterviewSourceTotals(list);
    ASSERT_EQ(list.size(), 2u);
    db_->SumInterviewSources(kFrom, kTo, list);

    using Row = std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, double>;
    std::vector<Row> rows;
    for (const stSourceTotal& t : list) rows.emplace_back(t.nCode, t.nPhoneInterviews, t.nVisits, t.nNewPersons, t.dAmount);
    EXPECT_EQ(rows, (std::vector<Row>{{radio, 1, 1, 1, 30.0}, {kOther, 1, 0, 1, 0.0}, {4242, 0, 0, 1, 0.0}}));
}

// ---------------------------------------------------------------------------------------------
// Lessons enrolled, taken and cancelled

TEST_F(TalliesTest, ItemActivity)
{
    const uint32_t waltz = AddCategory('B');
    const uint32_t tango = AddCategory('B');
    AddCategory('m');

    // Sold in the period: enrolled; its used and cancelled tokens by their own dates.
    CPurchaseRecord* sold = AddPurchase(kIn);
    sold->m_Items.push_back(Item(waltz, 'p', 3, 0.0, 50));
    auto& tokens = sold->m_Items[0]->m_Tokens;
    tokens.push_back(Token('p', 'U', kIn, kBefore, 50));
    tokens.push_back(Token('p', 'U', kIn, kBefore, 50, 2));
    tokens.push_back(Token('p', 'c', kBefore, kIn, 50));
    tokens.push_back(Token('p', 'N', 0.0, kIn, 50));
    sold->m_Items.push_back(Item(waltz, 'T', 30, 0.0, 50));          // not lessons
    sold->m_Items.push_back(Item(99, 'p', 1, 0.0, 50));             // no row for it

    // Sold earlier: only its lessons taken in the period count.
    CPurchaseRecord* earlier = AddPurchase(kBefore);
    earlier->m_Items.push_back(Item(tango, 's', 2, 0.0, 45));
    earlier->m_Items[0]->m_Tokens.push_back(Token('s', 'U', kIn, kBefore, 45));
    earlier->m_Items[0]->m_Tokens.push_back(Token('s', 'U', kBefore, kBefore, 45));

    // Cancelled in the period: its unused lessons are cancelled, its used ones in the period taken.
    CPurchaseRecord* cancelled = AddPurchase(kBefore, CPurchaseRecord::STATUS_CANCELLED, kIn);
    cancelled->m_Items.push_back(Item(tango, 'N', 4, 0.0, 30));
    cancelled->m_Items[0]->m_Tokens.push_back(Token('N', 'U', kIn, kBefore, 30));
    cancelled->m_Items[0]->m_Tokens.push_back(Token('N', 'c', kBefore, kIn, 30));

    // Cancelled outside the period: nothing, not even its tokens used in the period.
    CPurchaseRecord* late = AddPurchase(kBefore, CPurchaseRecord::STATUS_CANCELLED, kAfter);
    late->m_Items.push_back(Item(tango, 'p', 5, 0.0, 60));
    late->m_Items[0]->m_Tokens.push_back(Token('p', 'U', kIn, kBefore, 60));

    // Preparing empties what the list held.
    std::vector<stActivityCount> list(3);
    db_->PrepareBasicItemTotals(list);
    ASSERT_EQ(list.size(), 2u);
    db_->SumItemActivity(kFrom, kTo, list);

    using Row = std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t>;
    std::vector<Row> rows;
    for (const stActivityCount& t : list)
        rows.emplace_back(t.nCode, t.nEnrolled, t.nEnrolledUnits, t.nTaken, t.nTakenUnits, t.nCancelled,
                          t.nCancelledUnits);
    EXPECT_EQ(rows, (std::vector<Row>{{waltz, 3, 150, 2, 75, 1, 50}, {tango, 0, 0, 2, 75, 3, 90}}));
}

// ---------------------------------------------------------------------------------------------
// Payments by date

TEST_F(TalliesTest, PaymentDates)
{
    CPaymentRecord* received = AddPayment('R', 'R', 10.0, 1.0);
    CPaymentRecord* unscheduled = AddPayment('R', 'U', 20.0, 2.0);
    CPaymentRecord* due = AddPayment('R', 'D', 5.0, 3.0);
    CPaymentRecord* paid = AddPayment('P', 'D', 7.0, 4.0);

    CPurchaseRecord* active = AddPurchase(kIn);
    active->m_Payments.push_back(Scheduled('U', 30.0, 5.0));
    active->m_Payments.push_back(Scheduled('S', 3.0, 6.0));
    active->m_Payments.push_back(Scheduled('R', 15.0, 7.0));
    active->m_Payments.push_back(Scheduled('S', 10.0, 8.0));
    CPurchaseRecord* cancelled = AddPurchase(kIn, CPurchaseRecord::STATUS_CANCELLED, kIn);
    cancelled->m_Payments.push_back(Scheduled('S', 1.0, 9.0));

    using Row = std::tuple<char, DATE, void*, int32_t>;
    auto rows = [](const std::vector<stDataToken>& list) {
        std::vector<Row> r;
        for (const stDataToken& e : list) r.emplace_back(e.type, e.date, e.record, e.index1);
        return r;
    };

    std::vector<stDataToken> all;
    db_->CollectPaymentDates(all, 0);
    // Undated first ('P' before 'p'), then by date; on one date a payment before a scheduled one.
    EXPECT_EQ(rows(all), (std::vector<Row>{{'P', 0.0, unscheduled, -1},
                                           {'p', 0.0, active, 0},
                                           {'p', 3.0, active, 1},
                                           {'P', 5.0, due, -1},
                                           {'P', 7.0, paid, -1},
                                           {'P', 10.0, received, -1},
                                           {'p', 10.0, active, 3},
                                           {'p', 15.0, active, 2}}));
    // The unscheduled ones lose their date in the records themselves.
    EXPECT_EQ(unscheduled->m_dDate, 0.0);
    EXPECT_EQ(active->m_Payments[0]->m_dDate, 0.0);
    EXPECT_EQ(due->m_dDate, 5.0);
    EXPECT_EQ(cancelled->m_Payments[0]->m_dDate, 1.0);
    for (const stDataToken& e : all) {
        EXPECT_EQ(e.index2, -1);
        EXPECT_EQ(e.row, -1);
        EXPECT_EQ(e.column, -1);
    }

    std::vector<stDataToken> dueOnly;
    db_->CollectPaymentDates(dueOnly, CDatabase::PAYMENTS_DUE);
    EXPECT_EQ(rows(dueOnly), (std::vector<Row>{{'P', 0.0, unscheduled, -1},
                                               {'p', 0.0, active, 0},
                                               {'p', 3.0, active, 1},
                                               {'P', 5.0, due, -1},
                                               {'p', 10.0, active, 3}}));

    std::vector<stDataToken> none;
    db_->CollectPaymentDates(none, 5);
    EXPECT_TRUE(none.empty());
}
