// The money reports of the report generator over a studio saved through the road and read back:
// balance due, balance sheet, daily balance table, due and received lists, tax report, sale
// items and account activity, each into a real report frame; the person-balance array; the
// guard, cancelled selections and missing formats.

#include "tests/reports/MoneyReportsFixture.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "platform/ui/Application.h"
#include "platform/ui/Dialog.h"
#include "reports/ReportFrame.h"
#include "reports/Reports.h"
#include "dialogs/DialogMenu.h"
#include "dialogs/DialogReportDates.h"
#include "platform/ui/ListBox.h"
#include "views/FrameWndReport.h"
#include "views/ReportWindows.h"
#include "views/StudentView.h"
#include "views/FrameReportView.h"
#include "platform/ui/PrinterDC.h"
#include "tests/support/TestFiles.h"

#include <unistd.h>
#include "platform/ui/FrameWindow.h"
#include "widgets/CommandGuards.h"

namespace {


TEST(BalanceArray, KeepsNameOrderAndOneElementPerNameAndCode)
{
    struct Case {
        std::vector<std::pair<std::string, uint32_t>> adds;
        std::vector<std::string> expected;  // "name code amount"
    };
    const Case cases[] = {
        {{{"b", 1}, {"a", 2}, {"c", 3}}, {"a 2 1.00", "b 1 1.00", "c 3 1.00"}},
        // Same name, other code: a second element after the first; same code: summed.
        {{{"Twin", 1}, {"Twin", 2}, {"Twin", 1}}, {"Twin 1 2.00", "Twin 2 1.00"}},
        // Byte order: capitals before small letters.
        {{{"adam", 1}, {"Zed", 2}}, {"Zed 2 1.00", "adam 1 1.00"}},
        {{{"x", NO_CODE}, {"x", NO_CODE}}, {"x 4294967295 2.00"}},
    };
    for (const Case& c : cases) {
        std::vector<stPersonBalance> list;
        for (const auto& [name, code] : c.adds) CReports::UpdateBalanceArray({code, name, 1.0, 'R'}, list);
        std::vector<std::string> got;
        for (const stPersonBalance& b : list) got.push_back(Format("%s %u %.2f", b.sName.c_str(), b.nCode, b.dAmount));
        EXPECT_EQ(got, c.expected);
    }
}

TEST_F(MoneyReports, RefreshHoldIsCountedPerReportObject)
{
    const uint32_t before = db_->m_nDisableRefreshCount;
    {
        CReports a(db_.get());
        CReports b(db_.get());
        EXPECT_EQ(db_->m_nDisableRefreshCount, before + 2);
    }
    EXPECT_EQ(db_->m_nDisableRefreshCount, before);
}

// Cancelled ("Old") and converted contracts owe nothing; the two Eve Twins keep their blocks.
TEST_F(MoneyReports, BalanceDueListsEachBlockUnderItsOwnElement)
{
    CReports(db_.get()).BalanceDueReport();
    ASSERT_EQ(frames_.size(), 1u);
    EXPECT_EQ(ReportViewDisplayed, 1);
    const std::vector<std::string> expected = {
        "13 H \tBalance due, 03/04/2026 10:00AM",
        "12 - ",
        "13 - Name\tDescription\tAmount\tDate",
        "12 - ",
        "12 - Payer, Dana",
        "12 - \tContract: Bronze\t  455.00\tContract: 03/02/2026",
        "12 - Total\t\t  455.00",
        "12 - ",
        "12 - Student, Carl",
        "12 - \tPayment: Shoes\t   60.00\tDue: 03/05/2026",
        "12 - Total\t\t   60.00",
        "12 - ",
        "12 - Twin, Eve",
        "12 - \tPayment: Twin due\t    9.00\tDue: 03/07/2026",
        "12 - Total\t\t    9.00",
        "12 - ",
        "12 - Twin, Eve",
        "12 - \tContract: Silver\t  150.00\tContract: 03/03/2026",
        "12 - Total\t\t  150.00",
        "12 - ",
        "12 - Walk In",
        "12 - \tPayment: Drop-in\t   20.00\tUnscheduled",
        "12 - \tPayment: Drop-in 2\t   15.00\tDue: 03/06/2026",
        "12 - Total\t\t   35.00",
        "12 - ",
    };
    const std::vector<std::string> lines = Lines();
    EXPECT_EQ(lines, expected);
    // Each block adds up to its total.
    double sum = 0.0;
    for (size_t i = 4; i < lines.size(); ++i) {
        const std::string& t = lines[i];
        if (t.rfind("12 - \t", 0) == 0) {
            const size_t a = t.find('\t', 6);
            sum += std::atof(t.substr(a + 1).c_str());
        } else if (t.rfind("12 - Total", 0) == 0) {
            EXPECT_NEAR(std::atof(t.substr(t.rfind('\t') + 1).c_str()), sum, 0.001) << t;
            sum = 0.0;
        }
    }
}

static void SetTax(int mode)
{
    CReports::s_fnTaxReportSetup = [mode](CDatabase&, stTaxReportSetup& s) {
        s.dStart = D(2026, 3, 3, 8, 0);
        s.dEnd = D(2026, 3, 6, 8, 0);
        s.nMode = mode;
        return true;
    };
}

// Each report on the fixture studio: its lines as "slot kind text".
TEST_F(MoneyReports, GoldenLines)
{
    struct Case {
        const char* name;
        std::function<void()> run;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"balance sheet of Carl: contract, its received payment, then a payment record at once and a due one",
         [&] { CReports(db_.get()).BalanceSheetReport(money_.carl, 1); }, {
            "33 H Statment for Carl Student",
            "32 - ",
            "33 - Receipt\tDate\tDescription\tAmount\tPayment\tBalance",
            "32 - ----\t03/02/2026\tPurchase: Bronze\t480.00\t----\t480.00",
            "32 - #101\t03/04/2026\tPayment: First\t----\t25.00\t455.00",
            "32 - #7\t03/04/2026\tPurchase: Cash at desk\t30.50\t30.50\t455.00",
            "32 - \t03/05/2026\tShoes\t60.00\t----\t515.00",
        }},
        {"balance sheet of Eve: payment and refund of her contract",
         [&] { CReports(db_.get()).BalanceSheetReport(money_.eve1, 1); }, {
            "33 H Statment for Eve Twin",
            "32 - ",
            "33 - Receipt\tDate\tDescription\tAmount\tPayment\tBalance",
            "32 - ----\t03/03/2026\tPurchase: Silver\t200.00\t----\t200.00",
            "32 - \t03/03/2026\tPayment: Deposit\t----\t50.00\t150.00",
            "32 - \t03/05/2026\tRefund: Too much\t----\t10.00\t140.00",
        }},
        {"daily balance table: whole days, unscheduled items left out",
         [&] {
             AnswerDates(D(2026, 3, 3, 8, 0), D(2026, 3, 5, 8, 0));
             CReports(db_.get()).DailyBalanceTableReport();
         },
         {
            "35 H Balance for 03/03/2026 - 03/06/2026",
            "34 - ",
            "35 - Receipt\tDate\tTransaction type\tName\tAmount\tStatus\tFor\tBalance",
            "34 - \t03/03/2026\tPayment by studio to\tFloor Wax Co\t80.00\tPaid\t\t-80.00",
            "34 - \t03/03/2026\tPurchase list payment from\tTwin, Eve\t50.00\tReceived\t\t-30.00",
            "34 - \t03/04/2026\tNon-purchase list payment from\tEve Twin\t18.00\tPaid\t\t-12.00",
            "34 - #101\t03/04/2026\tPurchase list payment from\tPayer, Dana\t25.00\tReceived\t101\t13.00",
            "34 - #7\t03/04/2026\tNon-purchase list payment from\tCarl Student\t30.50\tPaid\t7\t43.50",
            "34 - \t03/04/2026\tCredit due on purchase to\tCarl Student\t5.00\tUnused\t\t38.50",
            "34 - \t03/05/2026\tPurchase list refund to\tTwin, Eve\t10.00\tApplied\t\t28.50",
            "34 - \t03/05/2026\tNon-purchase list payment from\tCarl Student\t60.00\tDue, scheduled\t\t88.50",
            "34 - \t03/05/2026\tNon-purchase list refund to\tEve Twin\t12.00\tGranted\t\t76.50",
        }},
        {"due from Dana: the contract billed to her, unscheduled first",
         [&] { CReports(db_.get()).DueReceivedReport('D', money_.dana); }, {
            "19 H \tDue from: Dana Payer",
            "18 - ",
            "19 H Date\tAmount\tDescription",
            "18 - ",
            "18 - Unscheduled\t  355.00\tRest",
            "18 - 03/06/2026\t  100.00\tSecond",
        }},
        {"received from Carl: his payment record, not the contract billed to Dana",
         [&] { CReports(db_.get()).DueReceivedReport('R', money_.carl); }, {
            "19 H \tReceived from: Carl Student",
            "18 - ",
            "19 H Date\tAmount\tDescription",
            "18 - ",
            "18 - 03/04/2026\t   30.50\tCash at desk",
        }},
        {"due from Carl", [&] { CReports(db_.get()).DueReceivedReport('D', money_.carl); }, {
            "19 H \tDue from: Carl Student",
            "18 - ",
            "19 H Date\tAmount\tDescription",
            "18 - ",
            "18 - 03/05/2026\t   60.00\tShoes",
        }},
        {"tax report, detailed: two tax categories of one name in any case are one group",
         [&] {
             SetTax(1);
             CReports(db_.get()).TaxReport();
         },
         {
            "17 - \tTaxable Transactions 03/03/2026 - 03/06/2026",
            "7 - ",
            "17 - Date\tAmount\tDescription",
            "7 - ",
            "17 - Advertising",
            "7 - ",
            "16 - 03/03/2026\t80.00\tPolish, Floor Wax Co",
            "16 - Total\t80.00",
            "7 - ",
            "17 - Payment to studio",
            "7 - ",
            "16 - 03/03/2026\t50.00\tDeposit, Eve Twin",
            "16 - 03/04/2026\t18.00\tTwin class, Eve Twin",
            "16 - 03/04/2026\t25.00\tFirst, Carl Student",
            "16 - Total\t93.00",
            "7 - ",
            "17 - Sales tax",
            "7 - ",
            "16 - 03/04/2026\t30.50\tCash at desk, Carl Student",
            "16 - 03/05/2026\t12.00\tRefund: Shoes back, Eve Twin",
            "16 - Total\t42.50",
        }},
        {"tax report, totals",
         [&] {
             SetTax(0);
             CReports(db_.get()).TaxReport();
         },
         {
            "17 - \tTaxable Transactions 03/03/2026 - 03/06/2026",
            "7 - ",
            "17 - Category\tAmount",
            "16 - Advertising\t80.00",
            "16 - Payment to studio\t93.00",
            "16 - Sales tax\t42.50",
        }},
        {"sale items: cancelled and converted contracts add nothing",
         [&] {
             AnswerDates(D(2026, 3, 1, 8, 0), D(2026, 3, 8, 8, 0));
             CReports(db_.get()).SaleItemsReport();
         },
         {
            "3 H \tReport on price list item sales in period 03/01/2026 - 03/08/2026",
            "2 - ",
            "3 H Item name\tCount",
            "2 - Ten privates\t2",
            "2 - group salsa\t1",
        }},
        {"account activity of Checking",
         [&] {
             PickAccount(money_.checking);
             CReports(db_.get()).AccountActivityReport();
         },
         {
            "21 H \t\tAccount Checking",
            "20 - ",
            "21 H Date\tTransaction\tDescription\tAmount\tBalance",
            "20 - ",
            "20 - 03/03/2026\tWithdrawal\tPolish, Floor Wax Co\t80.00\t-80.00",
            "20 - 03/03/2026\tDeposit\tDeposit, Twin, Eve\t50.00\t-30.00",
            "20 - 03/04/2026\tDeposit\tFirst, Payer, Dana\t25.00\t-5.00",
            "20 - 03/04/2026\tDeposit\tCash at desk, Student, Carl\t30.50\t25.50",
        }},
    };
    for (const Case& c : cases) {
        c.run();
        ASSERT_EQ(frames_.size(), 1u) << c.name;
        EXPECT_EQ(Lines(), c.expected) << c.name;
        CloseFrames();
    }
}


// Every report while a frame is open: the guard's text and no second frame.
TEST_F(MoneyReports, SecondReportIsRefusedWhileAFrameIsOpen)
{
    CReports(db_.get()).BalanceDueReport();
    ASSERT_EQ(frames_.size(), 1u);
    const std::vector<std::function<void(CReports&)>> reports = {
        [](CReports& r) { r.BalanceDueReport(); },
        [this](CReports& r) { EXPECT_EQ(r.BalanceSheetReport(money_.carl, 1), 0.0); },
        [](CReports& r) { r.DailyBalanceTableReport(); },
        [this](CReports& r) { r.DueReceivedReport('D', money_.carl); },
        [this](CReports& r) { r.DueReceivedReport('R', money_.carl); },
        [](CReports& r) { r.TaxReport(); },
        [](CReports& r) { r.SaleItemsReport(); },
        [](CReports& r) { r.AccountActivityReport(); },
    };
    SetTax(1);
    for (size_t i = 0; i < reports.size(); ++i) {
        dqtest::QueueAnswers({IDOK});
        CReports r(db_.get());
        reports[i](r);
        EXPECT_EQ(frames_.size(), 1u) << i;
        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes().back(), "You already have a report view displayed. Please exit it before doing another report.")
            << i;
    }
    // The silent balance is not guarded and matches the sheet's last line.
    EXPECT_DOUBLE_EQ(CReports(db_.get()).BalanceSheetReport(money_.carl, 0), 515.0);
    EXPECT_EQ(frames_.size(), 1u);
}

TEST_F(MoneyReports, SilentBalanceIsTheSheetsLastBalance)
{
    for (uint32_t person : {money_.carl, money_.dana, money_.eve1, money_.eve2}) {
        const double silent = CReports(db_.get()).BalanceSheetReport(person, 0);
        const double shown = CReports(db_.get()).BalanceSheetReport(person, 1);
        EXPECT_DOUBLE_EQ(silent, shown);
        const std::vector<std::string> lines = Lines();
        ASSERT_GE(lines.size(), 3u);
        if (lines.size() > 3) EXPECT_EQ(lines.back().substr(lines.back().rfind('\t') + 1), Format("%.2f", silent));
        else EXPECT_EQ(silent, 0.0);  // no contracts and no payments: the title block only
        CloseFrames();
    }
}

// A cancelled selection and a format list without the report's slots: no frame, no flag, the
// refresh hold as before.
TEST_F(MoneyReports, CancelAndMissingFormatsOpenNothing)
{
    const uint32_t hold = db_->m_nDisableRefreshCount;
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::function<void(CReports&)> run;
        std::string box;  // the message expected, "" for none
    };
    const Case cases[] = {
        {"table, dates cancelled", [this] { Cancel(); }, [](CReports& r) { r.DailyBalanceTableReport(); }, ""},
        {"sale items, dates cancelled", [this] { Cancel(); }, [](CReports& r) { r.SaleItemsReport(); }, ""},
        {"account, no choice", [this] { Cancel(); }, [](CReports& r) { r.AccountActivityReport(); }, ""},
        {"tax, setup cancelled",
         [] { CReports::s_fnTaxReportSetup = [](CDatabase&, stTaxReportSetup&) { return false; }; },
         [](CReports& r) { r.TaxReport(); }, ""},
        {"sale items, none in the period", [this] { AnswerDates(D(2025, 1, 1, 8, 0), D(2025, 1, 8, 8, 0)); },
         [](CReports& r) { r.SaleItemsReport(); }, "None to report."},
        {"balance sheet, formats cut at 30", [this] { CutFormats(30); },
         [this](CReports& r) { EXPECT_EQ(r.BalanceSheetReport(money_.carl, 1), 0.0); },
         "The report cannot be made: format 32 is missing from the database."},
        {"table, formats cut at 30", [this] { CutFormats(30); }, [](CReports& r) { r.DailyBalanceTableReport(); },
         "The report cannot be made: format 34 is missing from the database."},
        {"balance due, formats cut at 13", [this] { CutFormats(13); }, [](CReports& r) { r.BalanceDueReport(); },
         "The report cannot be made: format 13 is missing from the database."},
        {"tax, format 7 missing", [this] { CutFormats(38, 7); }, [](CReports& r) { r.TaxReport(); },
         "The report cannot be made: format 7 is missing from the database."},
    };
    for (const Case& c : cases) {
        db_->ClearFormat();
        db_->SetDefaultFormats();
        SetTax(1);
        c.prepare();
        const size_t boxes = Boxes().size();
        if (!c.box.empty()) dqtest::QueueAnswers({IDOK});
        {
            CReports r(db_.get());
            c.run(r);
        }
        EXPECT_TRUE(frames_.empty()) << c.name;
        EXPECT_EQ(ReportViewDisplayed, 0) << c.name;
        EXPECT_EQ(db_->m_nDisableRefreshCount, hold) << c.name;
        if (c.box.empty()) {
            EXPECT_EQ(Boxes().size(), boxes) << c.name;
        } else {
            ASSERT_EQ(Boxes().size(), boxes + 1) << c.name;
            EXPECT_EQ(Boxes().back(), c.box) << c.name;
        }
    }
    // No account categories at all.
    db_->ClearFormat();
    db_->SetDefaultFormats();
    for (const stIndex& e : *db_->GetItemList(TABLE_CATEGORY)) static_cast<CCategory*>(e.pItem)->m_cType = 'T';
    dqtest::QueueAnswers({IDOK});
    CReports(db_.get()).AccountActivityReport();
    EXPECT_TRUE(frames_.empty());
    EXPECT_EQ(Boxes().back(), "No categories specified");
}


// The student view's commands on the highlighted person, enabled from level 7.
TEST_F(MoneyReports, StudentViewCommandsReportOnTheHighlightedPerson)
{
    ui::FrameWindow frame;
    CStudentView view;
    ASSERT_TRUE(ShowStudentView(frame, view, money_.dana));
    auto enabled = [&](int id) { return IsEnabled(view, id); };
    const struct {
        int id;
        std::string title;
    } cases[] = {
        {CStudentView::kCmdBalanceSheet, "33 H Statment for Dana Payer"},
        {CStudentView::kCmdDue, "19 H \tDue from: Dana Payer"},
        {CStudentView::kCmdReceived, "19 H \tReceived from: Dana Payer"},
    };
    for (const auto& c : cases) {
        UserAccessLevel = 6;
        EXPECT_FALSE(enabled(c.id)) << c.id;
        UserAccessLevel = 7;
        EXPECT_TRUE(enabled(c.id)) << c.id;
        view.OnCommand(c.id, 0);
        ASSERT_EQ(frames_.size(), 1u) << c.id;
        EXPECT_EQ(Lines().front(), c.title);
        CloseFrames();
    }
}


// The balance-due report printed from its frame to "PDF file", read back as text.
TEST_F(MoneyReports, BalanceDuePrintsToAPdfFile)
{
    if (!HasPdfToText()) GTEST_SKIP();
    const std::string text = PrintedText([&] { CReports(db_.get()).BalanceDueReport(); }, "due");
    for (const char* part : {"Balance due, 03/04/2026 10:00AM", "Payer, Dana", "Contract: Bronze", "455.00",
                             "Walk In", "Payment: Drop-in 2", "35.00"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}


// The edge cases, each a change to the fixture studio in memory and the lines it gives.
TEST_F(MoneyReports, EdgeCases)
{
    auto payment = [this](const std::string& text) -> CPaymentRecord& {
        for (const stIndex& e : *db_->GetItemList(TABLE_PAYMENT))
            if (static_cast<CPaymentRecord*>(e.pItem)->m_sText == text) return *static_cast<CPaymentRecord*>(e.pItem);
        throw std::runtime_error(text);
    };
    auto purchase = [this](const std::string& text) -> CPurchaseRecord& {
        for (const stIndex& e : *db_->GetItemList(TABLE_PURCHASE))
            if (static_cast<CPurchaseRecord*>(e.pItem)->m_sDescription == text)
                return *static_cast<CPurchaseRecord*>(e.pItem);
        throw std::runtime_error(text);
    };
    auto table = [this] {
        AnswerDates(D(2026, 3, 3, 8, 0), D(2026, 3, 5, 8, 0));
        CReports(db_.get()).DailyBalanceTableReport();
    };
    auto tax = [this] {
        SetTax(1);
        CReports(db_.get()).TaxReport();
    };
    auto account = [this] {
        PickAccount(money_.checking);
        CReports(db_.get()).AccountActivityReport();
    };
    auto due = [this] { CReports(db_.get()).BalanceDueReport(); };
    struct Case {
        const char* name;
        std::function<void()> change;
        std::function<void()> run;
        std::vector<std::string> present;
        std::vector<std::string> absent;  // parts no line holds
    };
    const Case cases[] = {
        {"balance due: a sum that cancels out gives no block, though its lines are not zero",
         [&] {
             purchase("Silver").m_nPayer = money_.carl;  // -10 - 50 received = -60 against 60 due
             purchase("Silver").m_Items[0]->m_dAmount = -10.0;
         },
         due, {"12 - Payer, Dana"}, {"Student, Carl", "Contract: Silver"}},
        {"balance due: an overpaid contract counts and is listed",
         [&] { purchase("Silver").m_Items[0]->m_dAmount = 20.0; }, due,
         {"12 - \tContract: Silver\t  -30.00\tContract: 03/03/2026", "12 - Total\t\t  -30.00"}, {}},
        {"daily table: the start day's midnight is in, the day after the end at midnight is out",
         [&] {
             payment("Polish").m_dDate = D(2026, 3, 3);
             payment("Shoes back").m_dDate = D(2026, 3, 6);
         },
         table, {"34 - \t03/03/2026\tPayment by studio to\tFloor Wax Co\t80.00\tPaid\t\t-80.00"},
         {"\t03/06/2026\t"}},
        {"tax: an entry at the start is in, one at the end is out",
         [&] {
             payment("Polish").m_dDate = D(2026, 3, 3, 8, 0);
             payment("Shoes back").m_dDate = D(2026, 3, 6, 8, 0);
         },
         tax, {"16 - 03/03/2026\t80.00\tPolish, Floor Wax Co"}, {"Refund: Shoes back"}},
        {"account: a refund of the account has an empty Transaction cell and moves nothing; a due payment is left out",
         [&] {
             payment("Shoes back").m_nField15 = money_.checking;
             payment("Shoes").m_nField15 = money_.checking;
         },
         account, {"20 - 03/05/2026\t\tShoes back, Twin, Eve\t12.00\t25.50"}, {"Shoes, Student, Carl"}},
    };
    for (const Case& c : cases) {
        Reopen();
        DatabaseOpen = 1;
        c.change();
        c.run();
        ASSERT_EQ(frames_.size(), 1u) << c.name;
        const std::vector<std::string> lines = Lines();
        for (const std::string& line : c.present)
            EXPECT_NE(std::find(lines.begin(), lines.end(), line), lines.end()) << c.name << ": " << line;
        for (const std::string& part : c.absent)
            for (const std::string& line : lines) EXPECT_EQ(line.find(part), std::string::npos) << c.name << ": " << line;
        CloseFrames();
    }
    // An empty studio: the title block only.
    db_->ClearTable(TABLE_PAYMENT);
    db_->ClearTable(TABLE_PURCHASE);
    due();
    EXPECT_EQ(Lines().size(), 4u);
}

}  // namespace
