// The activity reports of the report generator over the money studio with a student's and the
// studio's activities: a student's summary, activities and history, the most recent activity,
// the activity count and roster of studio activities, the studio's obligations and missed
// appointments, and the lessons taught in a period; each through its command where it has one.

#include "tests/reports/ActivityReportsFixture.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "platform/ui/FrameWindow.h"
#include "platform/ui/PrinterDC.h"
#include "views/FrameReportView.h"
#include "views/StudentView.h"

namespace {

// Each report on the fixture studio: its lines as "slot kind text".
TEST_F(ActivityReports, GoldenLines)
{
    struct Case {
        const char* name;
        std::function<void()> run;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"summary of Lea", [&] { CReports(db_.get()).StudentSummaryReport(act_.lea); }, {
            "23 H Student summary report for :Lea Lady",
            "22 - ",
            "22 - Birthday: 07/04 ",
            "22 - Referred by: Gus Gent ",
            "22 - Teacher: Ann Teach ",
            "22 - Brought in by: Flyers ",
            "22 - Interviews:",
            "22 - Phone Tuesday February 10, 2026, 06:30PM, program:Newcomer, due to: Radio",
            "22 - Visit Thursday February 12, 2026, 10:00AM",
            "22 - ",
            "22 - Contract purchases:",
            "22 - Gold Sunday March 01, 2026, 10:00AM, program:Newcomer,  @ 335.00 ",
            "22 - \tCredits applied\t(1) 5.00",
            "22 - \tDiscounts applied\t(1) 33.50",
            "22 - \tPayments not scheduled\t(1) 50.00",
            "22 - \tPayments scheduled\t(1) 100.00",
            "22 - \tPayments made\t(1) 60.00",
            "22 - \tRefunds\t(1) 10.00",
            "22 - \tBalance due\t236.50",
            "22 - \tFixed time items before end date\t0",
            "22 - \tFixed time items past end date\t2",
            "22 - \tSchedulable items not scheduled\t5",
            "22 - \tSchedulable items scheduled\t2",
            "22 - \tSchedulable items used\t3",
            "22 - Winter pass Thursday January 01, 2026, 09:00AM @ 50.00 ",
            "22 - \tBalance due\t50.00",
            "22 - \tFixed time items before end date\t0",
            "22 - \tFixed time items past end date\t1",
            "22 - \tSchedulable items not scheduled\t0",
            "22 - \tSchedulable items scheduled\t0",
            "22 - \tSchedulable items used\t0",
            "22 - ",
            "22 - Other activities:",
            "22 - \tCoaching, Thursday March 05, 2026, 06:00PM",
            "22 - ",
            "22 - Other payments:",
            "22 - \tFor Shoes\t20.00",
            "22 - \tDue for Bag\t15.00",
            "22 - \tDue for Socks\t7.50",
            "22 - \tBalance due\t22.50",
            "22 - ",
            "22 - Last activity: Wednesday March 04, 2026 Initial entry",
        }},
        {"activities of Lea", [&] { CReports(db_.get()).StudentActivityReport(act_.lea); }, {
            "25 H Student activity report for :Lea Lady",
            "24 - ",
            "24 - Contract activities:",
            "24 - Unscheduled item from purchase Gold",
            "24 - Unscheduled item from purchase Gold",
            "24 - Unscheduled item from purchase Gold",
            "24 - Unscheduled item from purchase Gold",
            "24 - Unscheduled item from purchase Gold",
            "24 - Limited time (unlimited usage) item from purchase Winter pass",
            "24 - Limited quantity item item from purchase Gold, 0 remaining",
            "24 - 03/02/2026, 10:00AM Used item from purchase Gold",
            "24 - 03/02/2026, 07:00PM Used item from purchase Gold",
            "24 - 03/02/2026, 09:00PM Used item from purchase Gold",
            "24 - 03/03/2026, 10:00AM Used item from purchase Gold",
            "24 - 03/03/2026, 03:00PM Scheduled item from purchase Gold",
            "24 - 03/04/2026, 03:00PM Scheduled item from purchase Gold",
            "24 - ",
            "24 - Other activities:",
            "24 - Coaching, Thursday March 05, 2026, 06:00PM",
        }},
        {"history of Lea", [&] { CReports(db_.get()).StudentHistoryReport(act_.lea); }, {
            "27 H Student history report for :Lea Lady",
            "26 - ",
            "26 - Contract activities:",
            "26 - Unscheduled item from purchase Gold, with Gus Gent",
            "26 - Unscheduled item from purchase Gold, with Gus Gent",
            "26 - Unscheduled item from purchase Gold, with Gus Gent",
            "26 - Unscheduled item from purchase Gold, with Gus Gent",
            "26 - Unscheduled item from purchase Gold, with Gus Gent",
            "26 - Limited time (unlimited usage) item from purchase Winter pass",
            "26 - Limited quantity item item from purchase Gold, 0 remaining, with Gus Gent",
            "26 - 03/02/2026, 10:00AM Used item from purchase Gold, with Gus Gent",
            "26 - 03/02/2026, 07:00PM Used item from purchase Gold, with Gus Gent",
            "26 - 03/02/2026, 09:00PM Used item from purchase Gold, with Gus Gent",
            "26 - 03/03/2026, 10:00AM Used item from purchase Gold, with Gus Gent",
            "26 - 03/03/2026, 03:00PM Scheduled item from purchase Gold, with Gus Gent",
            "26 - 03/04/2026, 03:00PM Scheduled item from purchase Gold, with Gus Gent",
            "26 - ",
            "26 - Transactions:",
            "26 - Date\tTransaction type\tAmount\tStatus\tFor",
            "26 - Unscheduled\tNon-purchase list payment from\t7.50\tDue, unscheduled\t",
            "26 - Unscheduled\tPurchase list payment from\t50.00\tDue\t",
            "26 - 03/01/2026\tDiscount to\t33.50\tApplied\t0",
            "26 - 03/01/2026\tCredit to\t5.00\tApplied\t",
            "26 - 03/03/2026\tNon-purchase list payment from\t20.00\tPaid\t",
            "26 - 03/03/2026\tPurchase list payment from\t60.00\tReceived\t",
            "26 - 03/04/2026\tPurchase list refund to\t10.00\tApplied\t",
            "26 - 03/09/2026\tNon-purchase list payment from\t15.00\tDue, scheduled\t",
            "26 - 03/20/2026\tPurchase list payment from\t100.00\tDue\t",
        }},
        {"most recent activity of students, no date",
         [&] {
             AnswerDate(0.0);
             CReports(db_.get()).MostRecentActivityReport('C');
         },
         {
            "29 H \tMost recent activity report",
            "28 - ",
            "29 H Name\tDate\tDescription",
            "28 - ",
            "28 - Gent, Gus\tWednesday March 04, 2026\tInitial entry",
            "28 - Lady, Lea\tWednesday March 04, 2026\tInitial entry",
            "28 - None, Nox\tWednesday March 04, 2026\tInitial entry",
            "28 - Payer, Dana\tWednesday March 04, 2026\tInitial entry",
            "28 - Student, Carl\tWednesday March 04, 2026\tPayment received",
            "28 - Twin, Eve\tWednesday March 04, 2026\tInitial entry",
            "28 - Twin, Eve\tWednesday March 04, 2026\tPayment received",
        }},
        {"most recent activity of teachers before 3/3",
         [&] {
             AnswerDate(D(2026, 3, 3));
             CReports(db_.get()).MostRecentActivityReport('E');
         },
         {
            "29 H \tMost recent activity report before 03/03/2026",
            "28 - ",
            "29 H Name\tDate\tDescription",
            "28 - ",
            "28 - Teach, Ann\tMonday March 02, 2026\tPrivate lessons",
        }},
        {"activity count", [&] { CReports(db_.get()).ActivityCountReport(); }, {
            "29 H \tActivity count report",
            "28 - ",
            "29 H Activity\tDate\tGentlemen\tLadies",
            "28 - ",
            "28 - Salsa social\t03/02/2026 07:00PM\t2\t1",
            "28 - Salsa social\t03/02/2026 08:00PM\t1\t0",
        }},
        {"roster of the salsa social",
         [&] {
             Pick(act_.salsa);
             CReports(db_.get()).PurchaserRosterReport();
         },
         {
            "29 H \tRoster of purchasers for Salsa social",
            "28 - ",
            "28 - Lea Lady/Gus Gent",
            "28 - Gus Gent/Nox None",
        }},
        {"obligations", [&] { CReports(db_.get()).ObligationsReport('O'); }, {
            "15 H \tCurrent Studio Obligations",
            "15 - Item\tDate\tDescription",
            "7 - ",
            "14 - (5) Untyped\tUnscheduled\tAnn Teach/Lea Lady, Private lessons (5 items unscheduled)",
            "14 - Untyped\t03/03/2026\tAnn Teach/Lea Lady, Private lessons",
            "14 - Untyped\t03/04/2026\tAnn Teach/Lea Lady, Private lessons",
            "14 - Untyped\t03/10/2026\tGus Gent, Hustle night",
        }},
        {"missed appointments", [&] { CReports(db_.get()).ObligationsReport('M'); }, {
            "15 H \tMissed appointments",
            "15 - Item\tDate\tDescription",
            "7 - ",
            "14 - Untyped\t03/03/2026\tAnn Teach/Lea Lady, Private lessons",
        }},
        {"lessons taught in the week",
         [&] {
             AnswerDates(D(2026, 3, 1), D(2026, 3, 8));
             CReports(db_.get()).LessonsTaughtReport();
         },
         {
            "29 H \tReport on lessons for teachers in period 03/01/2026 - 03/08/2026",
            "28 - ",
            "28 - ",
            "29 H Ann Teach",
            "28 - 03/02/2026\tLea Lady, Private lessons",
            "28 - ",
            "29 H Bob Lead",
            "28 - 03/02/2026\tSalsa social",
            "28 - 03/03/2026\tLea Lady, Private lessons",
            "28 - 03/03/2026\tLea Lady, Private lessons",
            "28 - ",
            "29 H Ivy Idle",
            "28 - None",
        }},
    };
    for (const Case& c : cases) {
        c.run();
        ASSERT_EQ(frames_.size(), 1u) << c.name;
        EXPECT_EQ(Lines(), c.expected) << c.name;
        CloseFrames();
    }
}

// The student view's report commands on the highlighted person, enabled from level 7.
TEST_F(ActivityReports, StudentViewCommandsReportOnTheHighlightedPerson)
{
    ui::FrameWindow frame;
    CStudentView view;
    ASSERT_TRUE(ShowStudentView(frame, view, act_.lea));
    auto enabled = [&](int id) { return IsEnabled(view, id); };
    const struct {
        int id;
        std::string title;
    } cases[] = {
        {CStudentView::kCmdSummary, "23 H Student summary report for :Lea Lady"},
        {CStudentView::kCmdActivities, "25 H Student activity report for :Lea Lady"},
        {CStudentView::kCmdHistory, "27 H Student history report for :Lea Lady"},
        {CStudentView::kCmdInvoice, ""},
    };
    for (const auto& c : cases) {
        UserAccessLevel = 6;
        EXPECT_FALSE(enabled(c.id)) << c.id;
        UserAccessLevel = 7;
        EXPECT_TRUE(enabled(c.id)) << c.id;
        if (c.title.empty()) {
            // The invoice starts with the choice of the payments.
            std::string title;
            ui::test::GetHooks().dialogScripts.push_back([&title](ui::Dialog& d) {
                title = d.GetWindowText();
                ui::test::Click(d, ui::IDCANCEL);
            });
            dqtest::QueueAnswers({IDOK});
            view.OnCommand(c.id, 0);
            EXPECT_EQ(title, "Select one or more payments");
            EXPECT_EQ(Boxes().back(), "None selected");
            continue;
        }
        view.OnCommand(c.id, 0);
        ASSERT_EQ(frames_.size(), 1u) << c.id;
        EXPECT_EQ(Lines().front(), c.title);
        CloseFrames();
    }
}

// The edge cases, each a change to the studio in memory and the lines it gives or lacks.
TEST_F(ActivityReports, EdgeCases)
{
    auto lines = [&](const std::function<void()>& run) {
        run();
        std::vector<std::string> out = Lines();
        CloseFrames();
        return out;
    };
    auto has = [](const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    };
    auto holds = [](const std::vector<std::string>& lines, const std::string& part) {
        return std::any_of(lines.begin(), lines.end(), [&](const std::string& l) { return l.find(part) != std::string::npos; });
    };
    CReports reports(db_.get());

    // A student without purchases: the section lines and nothing under them.
    std::vector<std::string> out = lines([&] { CReports(db_.get()).StudentActivityReport(act_.nox); });
    EXPECT_EQ(out, (std::vector<std::string>{"25 H Student activity report for :Nox None", "24 - ",
                                             "24 - Contract activities:", "24 - ", "24 - Other activities:"}));
    out = lines([&] { CReports(db_.get()).StudentSummaryReport(act_.nox); });
    EXPECT_TRUE(has(out, "22 - Contract purchases:"));
    EXPECT_FALSE(holds(out, " @ "));

    // An unknown person: no window, no message.
    const size_t boxes = Boxes().size();
    for (auto run : {&CReports::StudentSummaryReport, &CReports::StudentActivityReport, &CReports::StudentHistoryReport})
        (CReports(db_.get()).*run)(999999);
    EXPECT_TRUE(frames_.empty());
    EXPECT_EQ(Boxes().size(), boxes);

    // Most recent activity with a date: a latest activity exactly on the date is left out.
    AnswerDate(D(2026, 3, 3, 0, 0));
    out = lines([&] { CReports(db_.get()).MostRecentActivityReport('E'); });
    EXPECT_TRUE(holds(out, "Teach, Ann\tMonday March 02, 2026"));
    // Nothing before the date: a message and no window.
    AnswerDate(D(2000, 1, 1));
    dqtest::QueueAnswers({IDOK});
    CReports(db_.get()).MostRecentActivityReport('E');
    EXPECT_TRUE(frames_.empty());
    EXPECT_EQ(Boxes().back(), "Nothing to report.");

    // Partners by gender: the same person twice counts twice; none and unknown add nothing.
    struct GenderCase {
        uint32_t first, second;
        uint32_t gentlemen, ladies;
    };
    const GenderCase genders[] = {
        {act_.gus, act_.gus, 2, 0}, {act_.lea, act_.gus, 1, 1}, {act_.nox, NO_CODE, 0, 0}, {act_.lea, 999999, 0, 1},
    };
    for (const GenderCase& g : genders) {
        CPurchaseRecord p;
        p.m_nPerson = g.first;
        p.m_nSecondPerson = g.second;
        uint32_t m = 0, f = 0;
        reports.CountPartnersByGender(p, &m, &f);
        EXPECT_EQ(m, g.gentlemen);
        EXPECT_EQ(f, g.ladies);
    }

    // Roster: a purchase without a second person prints one name.
    Pick(act_.hustle);
    out = lines([&] { CReports(db_.get()).PurchaserRosterReport(); });
    EXPECT_EQ(out, (std::vector<std::string>{"29 H \tRoster of purchasers for Hustle night", "28 - ",
                                             "28 - Gus Gent/Nox None"}));
    Purchase(act_.duo)->m_nSecondPerson = NO_CODE;
    Pick(act_.hustle);
    out = lines([&] { CReports(db_.get()).PurchaserRosterReport(); });
    EXPECT_EQ(out.back(), "28 - Gus Gent");
    Cancel();
    CReports(db_.get()).PurchaserRosterReport();
    EXPECT_TRUE(frames_.empty());

    // Obligations: the unscheduled units' entry is undated, the tokens keep their dates.
    Purchase(act_.gold)->m_Items[0]->m_Tokens[4]->m_dDate = D(2026, 2, 1);
    out = lines([&] { CReports(db_.get()).ObligationsReport('O'); });
    EXPECT_EQ(Purchase(act_.gold)->m_Items[0]->m_Tokens[4]->m_dDate, D(2026, 2, 1));
    // A single unscheduled unit also carries its count.
    auto& tokens = Purchase(act_.gold)->m_Items[0]->m_Tokens;
    tokens.erase(tokens.begin() + 5, tokens.end());
    out = lines([&] { CReports(db_.get()).ObligationsReport('O'); });
    EXPECT_TRUE(holds(out, "14 - (1) "));

    // Lessons taught: a unit exactly at the end (the dates dialog's days run from 08:00) is left
    // out; a class date exactly at the limit (noon today, the end beyond) is in.
    Purchase(act_.gold)->m_Items[0]->m_Tokens[0]->m_dDate = D(2026, 3, 8, 8, 0);
    static_cast<CPriceListItem*>(db_->GetItem(TABLE_PRICELIST, act_.salsa))->m_Dates[1] = D(2026, 3, 4, 12, 0);
    AnswerDates(D(2026, 3, 1), D(2026, 3, 8));
    out = lines([&] { CReports(db_.get()).LessonsTaughtReport(); });
    EXPECT_FALSE(holds(out, "28 - 03/08/2026"));
    EXPECT_TRUE(has(out, "28 - 03/04/2026\tSalsa social"));
    // Cancelled: nothing happens.
    Cancel();
    CReports(db_.get()).LessonsTaughtReport();
    EXPECT_TRUE(frames_.empty());
}

// The obligations printed from their frame to "PDF file", read back as text.
TEST_F(ActivityReports, ObligationsPrintToAPdfFile)
{
    if (!HasPdfToText()) GTEST_SKIP();
    const std::string text = PrintedText([&] { CReports(db_.get()).ObligationsReport('O'); }, "owed");
    for (const char* part : {"Current Studio Obligations", "Unscheduled", "03/03/2026", "Lea Lady", "(5)"})
        EXPECT_NE(text.find(part), std::string::npos) << part << "\n" << text;
}

}  // namespace
