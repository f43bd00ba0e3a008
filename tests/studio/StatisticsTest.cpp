// Program, department and contract-type statistics and the teachers' activity figures of one
// week (Sunday 1 to Sunday 8 March 2026, the end left out).

#include "tests/studio/StudioFixture.h"

#include <tuple>

namespace {

class StatisticsTest : public StudioTest {
protected:
    const DATE kStart = D(2026, 3, 1);
    const DATE kEnd = D(2026, 3, 8);

    void SetUp() override
    {
        StudioTest::SetUp();
        bronze_ = AddCategory('P', "Bronze");
        silver_ = AddCategory('P', "Silver");
        ballroom_ = AddCategory('D', "Ballroom");
        standard_ = AddCategory('C', "Standard");
        private_ = AddCategory('B', "Private");
        group_ = AddCategory('B', "Group");
        sue_ = AddPerson('E', "Sue", "Boss");
        ann_ = Employee("Ann", "Teach");
        bob_ = Employee("Bob", "Lead");

        CPerson carl('C');
        carl.m_sFirstName = "Carl";
        carl.m_sLastName = "Student";
        carl.m_nTeacher = ann_;
        carl.m_nCode28 = sue_;
        carl.m_Interviews.push_back(Interview(D(2026, 3, 2, 10, 0), 1, ann_));  // first
        carl.m_Interviews.push_back(Interview(D(2026, 3, 4, 10, 0), 0, bob_));  // renewal
        carl.m_Interviews.push_back(Interview(kEnd, 1, ann_));                  // at the end: left out
        carl.m_Interviews.push_back(Interview(kStart, 0, bob_));               // at the start: counted
        carl_ = Save(TABLE_PERSON, carl);
        Guest("Gus", bob_, D(2026, 3, 3, 12, 0));    // referred by a teacher
        Guest("Gail", carl_, D(2026, 3, 6, 12, 0));  // referred by a student of Ann's
        Guest("Old", bob_, D(2026, 2, 1, 12, 0));    // came before the week

        // The split sale: 100.01 shared by Ann and Bob, from the first interview.
        CPurchaseRecord split = Sale(D(2026, 3, 2, 11, 0), 100.01, bronze_, ann_, bob_, sue_, D(2026, 3, 2, 10, 0));
        auto lessons = Item("Ten privates", 'N', 10, 100.01, private_, 45);
        lessons->m_Tokens.push_back(Token('U', D(2026, 3, 3, 10, 0), ann_));
        auto cancelled = Token('c', D(2026, 2, 20, 10, 0), ann_);  // a lesson of an earlier week,
        cancelled->m_dStampDate = D(2026, 3, 4, 9, 0);            // cancelled in this one
        lessons->m_Tokens.push_back(std::move(cancelled));
        lessons->m_Tokens.push_back(Token('S', D(2026, 3, 10, 10, 0), ann_));
        lessons->m_Tokens.push_back(Token('N', 0.0, ann_));
        split.m_Items.push_back(std::move(lessons));
        const uint32_t splitCode = Save(TABLE_PURCHASE, split);

        // Cancelled in the week, from the renewal interview.
        CPurchaseRecord cancelledSale = Sale(D(2026, 3, 4, 11, 0), 200.0, silver_, bob_, NO_CODE, NO_CODE,
                                             D(2026, 3, 4, 10, 0));
        cancelledSale.m_nStatus = CPurchaseRecord::STATUS_CANCELLED;
        cancelledSale.m_dStamp2Date = D(2026, 3, 5, 9, 0);
        cancelledSale.m_Items.push_back(Item("Four privates", 'N', 4, 200.0, private_, 45));
        Save(TABLE_PURCHASE, cancelledSale);
        // Sold before the week, converted in it.
        CPurchaseRecord converted = Sale(D(2026, 2, 10, 11, 0), 300.0, silver_, ann_, NO_CODE, sue_, D(2026, 2, 9));
        converted.m_nStatus = static_cast<int32_t>(splitCode);
        converted.m_dStamp2Date = D(2026, 3, 6, 9, 0);
        Save(TABLE_PURCHASE, converted);
        // The renewal interview's person, but not its date: no resulting sale.
        CPurchaseRecord otherDate = Sale(D(2026, 3, 5, 11, 0), 50.0, silver_, NO_CODE, NO_CODE, NO_CODE,
                                         D(2026, 3, 5, 10, 0));
        Save(TABLE_PURCHASE, otherDate);
        // A first teacher of 0 is no teacher: the second takes the whole sale.
        CPurchaseRecord secondTeacher = Sale(D(2026, 3, 6, 11, 0), 10.0, NO_CODE, 0, bob_, 0, 0.0);
        Save(TABLE_PURCHASE, secondTeacher);

        Payment('R', 'R', 40.0, D(2026, 3, 3, 9, 0));
        Payment('q', 'R', 15.0, D(2026, 3, 4, 9, 0));
        Payment('R', 'S', 10.0, D(2026, 3, 4, 9, 0));   // still due
        Payment('R', 'R', 20.0, D(2026, 2, 25, 9, 0));  // another week

        CPriceListItem salsa;
        salsa.m_cKind = 's';
        salsa.m_sName = "Group salsa";
        salsa.m_nTeacher = bob_;
        salsa.m_nBasicType = group_;
        salsa.m_nDuration = 60;
        salsa.m_Dates = {D(2026, 3, 3, 19, 0), D(2026, 3, 10, 19, 0)};
        Save(TABLE_PRICELIST, salsa);
        CPriceListItem practice;
        practice.m_cKind = 'p';
        practice.m_sName = "Practice";
        practice.m_nTeacher = ann_;
        practice.m_nBasicType = private_;
        practice.m_nDuration = 30;
        practice.m_Dates = {D(2026, 3, 5, 20, 0)};
        Save(TABLE_PRICELIST, practice);
        Reopen();
    }

    uint32_t Employee(const std::string& first, const std::string& last)
    {
        CPerson p('E');
        p.m_sFirstName = first;
        p.m_sLastName = last;
        p.m_nCode28 = sue_;
        return Save(TABLE_PERSON, p);
    }
    void Guest(const std::string& first, uint32_t referrer, DATE created)
    {
        CPerson p('C');
        p.m_sFirstName = first;
        p.m_cStatus = 'G';
        p.m_nCode30 = referrer;
        p.m_dStamp1Date = created;
        Save(TABLE_PERSON, p);
    }
    std::unique_ptr<CInterview> Interview(DATE date, int32_t first, uint32_t teacher)
    {
        auto i = std::make_unique<CInterview>();
        i->m_dDate = date;
        i->m_nField8 = first;
        i->m_nField4 = teacher;
        i->m_nField5 = sue_;
        i->m_nProgram = first == 1 ? bronze_ : silver_;
        i->m_nField10 = ballroom_;
        i->m_nField9 = standard_;
        return i;
    }
    CPurchaseRecord Sale(DATE date, double price, uint32_t program, uint32_t teacher1, uint32_t teacher2,
                         uint32_t supervisor, DATE interviewDate)
    {
        CPurchaseRecord p;
        p.m_nPerson = carl_;
        p.m_dDate = date;
        p.m_dStartDate = date;
        p.m_cPricing = 'P';
        p.m_dPrice = price;
        p.m_nProgram = program;
        p.m_nField13 = program == bronze_ ? ballroom_ : NO_CODE;
        p.m_nField12 = program == bronze_ ? standard_ : NO_CODE;
        p.m_nField14 = teacher1;
        p.m_nField15 = teacher2;
        p.m_nField16 = supervisor;
        p.m_dField17 = interviewDate;
        return p;
    }
    void Payment(char direction, char status, double amount, DATE date)
    {
        CPaymentRecord p;
        p.m_cType = direction;
        p.m_cReceived = status;
        p.m_dAmount = amount;
        p.m_dDate = date;
        p.m_nField16 = ann_;
        Save(TABLE_PAYMENT, p);
    }
    std::vector<stTeacherActivityData> Rows() const
    {
        std::vector<stTeacherActivityData> rows;
        for (uint32_t person : {ann_, bob_, sue_}) {
            stTeacherActivityData row;
            row.nPerson = static_cast<int32_t>(person);
            for (uint32_t type : {private_, group_}) {
                stActivityCount count;
                count.nCode = type;
                row.aActivities.push_back(count);
            }
            rows.push_back(row);
        }
        return rows;
    }

    uint32_t bronze_ = NO_CODE, silver_ = NO_CODE, ballroom_ = NO_CODE, standard_ = NO_CODE;
    uint32_t private_ = NO_CODE, group_ = NO_CODE;
    uint32_t sue_ = NO_CODE, ann_ = NO_CODE, bob_ = NO_CODE, carl_ = NO_CODE;
};

using ProgramRow = std::tuple<int32_t, uint32_t, uint32_t, uint32_t, double, uint32_t, uint32_t, double>;
ProgramRow Figures(const stProgramStatisticsData& r)
{
    return {r.nCode, r.nActivities, r.nFirstInterviews, r.nFirstSales, r.dFirstSalesAmount, r.nRenewalInterviews,
            r.nRenewalSales, r.dRenewalSalesAmount};
}

TEST_F(StatisticsTest, ProgramsDepartmentsAndContractTypes)
{
    auto rows = [](std::initializer_list<uint32_t> codes) {
        std::vector<stProgramStatisticsData> r;
        for (uint32_t code : codes) {
            stProgramStatisticsData row;
            row.nCode = static_cast<int32_t>(code);
            r.push_back(row);
        }
        return r;
    };
    const int32_t bronze = static_cast<int32_t>(bronze_), silver = static_cast<int32_t>(silver_);
    std::vector<stProgramStatisticsData> programs = rows({bronze_, silver_});
    db_->ProgramStatisticsData('P', kStart, kEnd, programs);
    // Bronze: the split sale's lessons dated before the end (the taken one and the cancelled
    // one), its first interview and the sale; Silver: two renewal interviews without a sale
    // (the cancelled sale and the one of another date do not count), no active lessons.
    EXPECT_EQ(Figures(programs[0]), ProgramRow(bronze, 2, 1, 1, 100.01, 0, 0, 0.0));
    EXPECT_EQ(Figures(programs[1]), ProgramRow(silver, 0, 0, 0, 0.0, 2, 0, 0.0));
    // A second call adds the same again.
    db_->ProgramStatisticsData('P', kStart, kEnd, programs);
    EXPECT_EQ(Figures(programs[0]), ProgramRow(bronze, 4, 2, 2, 200.02, 0, 0, 0.0));
    EXPECT_EQ(Figures(programs[1]), ProgramRow(silver, 0, 0, 0, 0.0, 4, 0, 0.0));

    for (char mode : {'D', 'C'}) {
        const uint32_t code = mode == 'D' ? ballroom_ : standard_;
        std::vector<stProgramStatisticsData> byMode = rows({code, bronze_});
        db_->ProgramStatisticsData(mode, kStart, kEnd, byMode);
        EXPECT_EQ(Figures(byMode[0]), ProgramRow(static_cast<int32_t>(code), 2, 1, 1, 100.01, 2, 0, 0.0)) << mode;
        EXPECT_EQ(Figures(byMode[1]), ProgramRow(bronze, 0, 0, 0, 0.0, 0, 0, 0.0)) << mode;
    }
    std::vector<stProgramStatisticsData> none;
    db_->ProgramStatisticsData('P', kStart, kEnd, none);
    EXPECT_TRUE(none.empty());
}

struct TeacherFigures {
    uint32_t firstInterviews, firstSales;
    double firstValue;
    uint32_t firstCancellations;
    double firstCancelledValue;
    uint32_t laterInterviews, laterSales;
    double laterValue;
    uint32_t laterCancellations;
    double laterCancelledValue;
    uint32_t totalSales;
    double totalValue;
    uint32_t totalCancellations;
    double totalCancelledValue;
    uint32_t payments;
    double paymentsAmount;
    uint32_t refunds;
    double refundsAmount;
    uint32_t guests;
    bool operator==(const TeacherFigures&) const = default;
};
TeacherFigures Figures(const stTeacherActivityData& r)
{
    return {r.nFirstInterviews,    r.nFirstSales,       r.dFirstSalesValue,  r.nFirstCancellations,
            r.dFirstCancellationsValue, r.nLaterInterviews, r.nLaterSales,  r.dLaterSalesValue,
            r.nLaterCancellations, r.dLaterCancellationsValue, r.nTotalSales, r.dTotalSalesValue,
            r.nTotalCancellations, r.dTotalCancellationsValue, r.nPayments, r.dPaymentsAmount,
            r.nRefunds,            r.dRefundsAmount,    r.nGuests};
}
void PrintTo(const TeacherFigures& f, std::ostream* os)
{
    *os << Format("first %u/%u/%.2f/%u/%.2f later %u/%u/%.2f/%u/%.2f total %u/%.2f/%u/%.2f pay %u/%.2f ref %u/%.2f "
                  "guests %u",
                  f.firstInterviews, f.firstSales, f.firstValue, f.firstCancellations, f.firstCancelledValue,
                  f.laterInterviews, f.laterSales, f.laterValue, f.laterCancellations, f.laterCancelledValue,
                  f.totalSales, f.totalValue, f.totalCancellations, f.totalCancelledValue, f.payments,
                  f.paymentsAmount, f.refunds, f.refundsAmount, f.guests);
}
using Activity = std::tuple<uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t>;
Activity Counts(const stActivityCount& a)
{
    return {a.nEnrolled, a.nEnrolledUnits, a.nTaken, a.nTakenUnits, a.nCancelled, a.nCancelledUnits};
}

TEST_F(StatisticsTest, TeachersActivity)
{
    std::vector<stTeacherActivityData> rows = Rows();
    db_->TeacherActivityData('T', kStart, kEnd, rows);
    const stTeacherActivityData& ann = rows[0];
    const stTeacherActivityData& bob = rows[1];
    const stTeacherActivityData& sue = rows[2];
    // Ann: the first interview and its sale; half the split sale (50.00) and the converted sale;
    // the payment and refund she took; the guest of her student.
    EXPECT_EQ(Figures(ann), (TeacherFigures{1, 1, 100.01, 0, 0.0, 0, 0, 0.0, 0, 0.0, 2, 350.00, 1, 300.0, 1, 40.0, 1,
                                            15.0, 1}));
    // Bob: the renewal interviews, one with the cancelled sale (credited to him by the sale);
    // the split sale's other half (50.01), the cancelled sale and the sale whose first teacher is
    // 0; the guest he referred.
    EXPECT_EQ(Figures(bob), (TeacherFigures{0, 0, 0.0, 0, 0.0, 2, 1, 200.0, 1, 200.0, 3, 260.01, 1, 200.0, 0, 0.0, 0,
                                            0.0, 1}));
    EXPECT_EQ(Figures(sue), TeacherFigures{});
    EXPECT_DOUBLE_EQ(ann.dTotalSalesValue - 300.0, 50.00);
    EXPECT_DOUBLE_EQ(bob.dTotalSalesValue - 210.0, 50.01);
    // Activities (enrolled, units, taken, units, cancelled, units) per type: Private, Group.
    EXPECT_EQ(Counts(ann.aActivities[0]), Activity(10, 450, 2, 75, 1, 45));
    EXPECT_EQ(Counts(ann.aActivities[1]), Activity(0, 0, 0, 0, 0, 0));
    EXPECT_EQ(Counts(bob.aActivities[0]), Activity(4, 180, 0, 0, 0, 0));
    EXPECT_EQ(Counts(bob.aActivities[1]), Activity(0, 0, 2, 120, 0, 0));  // the studio class, twice
    for (const stTeacherActivityData& row : rows)
        for (double money : row.dMoney) EXPECT_EQ(money, 0.0);

    // A second call doubles every figure.
    db_->TeacherActivityData('T', kStart, kEnd, rows);
    EXPECT_EQ(rows[0].nTotalSales, 4u);
    EXPECT_DOUBLE_EQ(rows[0].dTotalSalesValue, 700.0);
    EXPECT_EQ(rows[1].nGuests, 2u);
    EXPECT_EQ(Counts(rows[1].aActivities[1]), Activity(0, 0, 4, 240, 0, 0));
}

TEST_F(StatisticsTest, SupervisorsActivity)
{
    std::vector<stTeacherActivityData> rows = Rows();
    db_->TeacherActivityData('S', kStart, kEnd, rows);
    const stTeacherActivityData& ann = rows[0];
    const stTeacherActivityData& sue = rows[2];
    // Sue supervises every interview; the split sale (whole) and the converted one are hers; both
    // guests reach her through the teacher of their referrer.
    EXPECT_EQ(Figures(sue), (TeacherFigures{1, 1, 100.01, 0, 0.0, 2, 1, 200.0, 1, 200.0, 2, 400.01, 1, 300.0, 0, 0.0, 0,
                                            0.0, 2}));
    EXPECT_EQ(Counts(sue.aActivities[0]), Activity(10, 450, 0, 0, 0, 0));
    // What a person took or taught stays the person's own.
    EXPECT_EQ(std::make_tuple(ann.nPayments, ann.nRefunds, ann.nTotalSales, ann.nGuests),
              std::make_tuple(1u, 1u, 0u, 0u));
    EXPECT_EQ(Counts(ann.aActivities[0]), Activity(0, 0, 2, 75, 1, 45));
}

TEST_F(StatisticsTest, APersonWithoutARowGetsNothing)
{
    std::vector<stTeacherActivityData> rows;
    stTeacherActivityData stranger;
    stranger.nPerson = 4242;
    rows.push_back(stranger);
    db_->TeacherActivityData('T', kStart, kEnd, rows);
    EXPECT_EQ(Figures(rows[0]), TeacherFigures{});
}

}  // namespace
