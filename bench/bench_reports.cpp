// bench_reports: the money and activity reports of the report generator on a studio of N persons
// and of 4N, built in memory (per person 3 contracts with 4 scheduled payments each, the first
// with 6 private lessons used, scheduled and unscheduled, and 5 payments, some due, a few without
// a person; a teacher per 50 persons; 10 classes a week over the year). The lines go into a frame that only keeps them, so the figures
// are the reports' own. The last lines are "RATIO <report> <time at 4N / time at N>".
// Options: --n N (default 2000), --reps R (repetitions per figure, default 7).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "database/Database.h"
#include "dialogs/DialogMenu.h"
#include "dialogs/DialogReportDates.h"
#include "platform/host/Clock.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/TestHooks.h"
#include "reports/ReportFrame.h"
#include "reports/Reports.h"

namespace {

// A report frame that keeps the lines and shows nothing.
class CKeptLines : public IReportFrame {
public:
    std::vector<stFmtString>& GetLines() override { return m_aLines; }
    void SetView(CDatabase*, int, int, int, stPrinterDef*) override { delete this; }
    void SetView(CDatabase*, int, int, int, const std::vector<std::string>&, int, stPrinterDef*) override
    {
        delete this;
    }

private:
    std::vector<stFmtString> m_aLines;
};

const DATE kYearStart = MakeDate(2026, 1, 4, 0, 0);

class CMoneyStudio {
public:
    CMoneyStudio(CDatabase& db, uint32_t persons) : m_Db(db), m_nPersons(persons) {}

    uint32_t Build()
    {
        const uint32_t account = Category('A', "Checking");
        Category('T', "Sales tax");
        // The teachers come after the students: their codes start at m_nPersons.
        const uint32_t teachers = m_nPersons / 50 + 1;
        for (uint32_t s = 0; s < m_nPersons; ++s) {
            auto p = std::make_unique<CPerson>('C');
            p->m_sFirstName = "Student";
            p->m_sLastName = "S" + std::to_string(s % (m_nPersons / 2 + 1));  // some names twice
            const uint32_t person = Add(TABLE_PERSON, std::move(p));
            for (int c = 0; c < 3; ++c) {
                auto purchase = std::make_unique<CPurchaseRecord>();
                purchase->m_nPerson = person;
                purchase->m_sDescription = "Contract " + std::to_string(c);
                purchase->m_dDate = AddToDate(kYearStart, static_cast<int>((s * 3 + c) % 360), 10, 0, 0);
                purchase->m_nStatus = c == 2 && s % 5 == 0 ? CPurchaseRecord::STATUS_CANCELLED
                                                           : CPurchaseRecord::STATUS_ACTIVE;
                auto item = std::make_unique<CPurchaseItem>();
                item->m_sName = "Item " + std::to_string((s + c) % 40);
                item->m_cKind = 'N';
                item->m_nCount = 10;
                item->m_dAmount = 800.0;
                purchase->m_Items.push_back(std::move(item));
                if (c == 0) {
                    auto lessons = std::make_unique<CPurchaseItem>();
                    lessons->m_sName = "Private " + std::to_string(s % 7);
                    lessons->m_cKind = 'p';
                    lessons->m_nCount = 6;
                    for (int k = 0; k < 6; ++k) {
                        auto token = std::make_unique<CScheduleToken>();
                        token->m_cKind = 'p';
                        token->m_cState = k < 2 ? 'U' : (k < 4 ? 'S' : 'N');
                        token->m_dDate = k < 4 ? AddToDate(purchase->m_dDate, 7 * k, 1, 0, 0) : 0.0;
                        token->m_nField8 = m_nPersons + s % teachers;
                        lessons->m_Tokens.push_back(std::move(token));
                    }
                    purchase->m_Items.push_back(std::move(lessons));
                }
                for (int k = 0; k < 4; ++k) {
                    auto payment = std::make_unique<CSchedulePayment>();
                    payment->m_cKind = k < 2 ? 'R' : (k == 2 ? 'S' : 'U');
                    payment->m_dAmount = 150.0;
                    payment->m_nCategory = account;
                    payment->m_dDate = k == 3 ? 0.0 : AddToDate(purchase->m_dDate, 30 * k, 2, 0, 0);
                    purchase->m_Payments.push_back(std::move(payment));
                }
                Add(TABLE_PURCHASE, std::move(purchase));
            }
            for (int k = 0; k < 5; ++k) {
                auto payment = std::make_unique<CPaymentRecord>();
                payment->m_cType = k == 4 ? 'P' : 'R';
                payment->m_cReceived = k == 1 ? 'S' : (k == 2 ? 'U' : 'R');
                payment->m_dAmount = 40.0 + k;
                payment->m_nPerson = k == 3 && s % 10 == 0 ? NO_CODE : person;
                payment->m_sName = "Payer " + std::to_string(s % 50);
                payment->m_sText = "Payment " + std::to_string(k);
                payment->m_nField15 = account;
                payment->m_dDate = k == 2 ? 0.0 : AddToDate(kYearStart, static_cast<int>((s + 70 * k) % 360), 15, 0, 0);
                Add(TABLE_PAYMENT, std::move(payment));
            }
        }
        for (uint32_t t = 0; t < teachers; ++t) {
            auto p = std::make_unique<CPerson>('E');
            p->m_sFirstName = "Teacher";
            p->m_sLastName = "T" + std::to_string(t);
            Add(TABLE_PERSON, std::move(p));
        }
        for (uint32_t k = 0; k < 10; ++k) {
            auto item = std::make_unique<CPriceListItem>();
            item->m_cKind = 's';
            item->m_sName = "Class " + std::to_string(k);
            item->m_nTeacher = m_nPersons + k % teachers;
            for (int week = 0; week < 52; ++week) item->m_Dates.push_back(AddToDate(kYearStart, 7 * week + k % 7, 19, 0, 0));
            Add(TABLE_PRICELIST, std::move(item));
        }
        return account;
    }

private:
    uint32_t Category(char type, const char* name)
    {
        auto c = std::make_unique<CCategory>(type);
        c->m_sName = name;
        return Add(TABLE_CATEGORY, std::move(c));
    }
    template <class T>
    uint32_t Add(uint8_t table, std::unique_ptr<T> item)
    {
        // Codes run per table from 0, as the road gives them, so that a code finds its entry.
        const uint32_t code = static_cast<uint32_t>(m_Db.GetItemList(table)->size());
        item->m_nCode = code;
        const auto sequence = static_cast<uint32_t>(m_Db.GetItemList(table)->size());
        item->m_nSequence = static_cast<int32_t>(sequence);
        m_Db.AddIndex(table, item.release(), code, sequence, 0, 0xFFFFFFFE, -1);
        return code;
    }

    CDatabase& m_Db;
    uint32_t m_nPersons;
};

using bench_timing::TimeOf;

void AnswerYear()
{
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) {
        auto& dates = static_cast<CDialogReportDates&>(d);
        dates.m_StartDate.SetValue(kYearStart);
        dates.m_EndDate.SetValue(AddToDate(kYearStart, 365, 0, 0, 0));
        d.EndDialog(ui::IDOK);
    });
}

struct stReportRun {
    const char* name;
    std::function<void(CReports&, uint32_t account)> run;
};

const stReportRun kReports[] = {
    {"balance_due", [](CReports& r, uint32_t) { r.BalanceDueReport(); }},
    {"balance_sheet", [](CReports& r, uint32_t) { r.BalanceSheetReport(1, 1); }},
    {"daily_table",
     [](CReports& r, uint32_t) {
         AnswerYear();
         r.DailyBalanceTableReport();
     }},
    {"due_received", [](CReports& r, uint32_t) { r.DueReceivedReport('D', 3); }},
    {"tax", [](CReports& r, uint32_t) { r.TaxReport(); }},
    {"sale_items",
     [](CReports& r, uint32_t) {
         AnswerYear();
         r.SaleItemsReport();
     }},
    {"account_activity",
     [](CReports& r, uint32_t account) {
         ui::test::GetHooks().dialogScripts.push_back([account](ui::Dialog& d) { d.EndDialog(static_cast<int>(account)); });
         r.AccountActivityReport();
     }},
    {"obligations", [](CReports& r, uint32_t) { r.ObligationsReport('O'); }},
    {"lessons_taught",
     [](CReports& r, uint32_t) {
         AnswerYear();
         r.LessonsTaughtReport();
     }},
    {"recent_activity",
     [](CReports& r, uint32_t) {
         ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { d.EndDialog(ui::IDOK); });
         r.MostRecentActivityReport('C');
     }},
};

struct stStudio {
    explicit stStudio(uint32_t persons) : nPersons(persons)
    {
        db.SetDefaults();
        nAccount = CMoneyStudio(db, persons).Build();
    }
    uint32_t nPersons;
    CDatabase db;
    uint32_t nAccount = 0;
};

// Each report's median time on both studios, their runs taken in turn so that a change in the
// machine's load falls on both alike.
void Measure(stStudio& small, stStudio& large, int reps, std::vector<double>& smallTimes,
             std::vector<double>& largeTimes)
{
    for (const stReportRun& report : kReports) {
        std::vector<double> times[2];
        for (int i = 0; i < reps; ++i)
            for (int k = 0; k < 2; ++k) {
                stStudio& studio = k == 0 ? small : large;
                times[k].push_back(TimeOf(1, [&] {
                    CReports reports(&studio.db);
                    report.run(reports, studio.nAccount);
                }));
            }
        smallTimes.push_back(bench_timing::Median(times[0]));
        largeTimes.push_back(bench_timing::Median(times[1]));
        std::printf("persons %u: %s %.4f s\n", small.nPersons, report.name, smallTimes.back());
        std::printf("persons %u: %s %.4f s\n", large.nPersons, report.name, largeTimes.back());
    }
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t n = 2000;
    int reps = 7;
    bench_timing::ReadOptions(argc, argv, n, reps);
    ui::test::EnsureApplication();
    ui::test::Hooks& hooks = ui::test::ResetHooks();
    hooks.driveDialogs = true;
    hooks.scriptMessageBoxes = true;
    SetStampUserCode(1);
    SetReportFrameFactory([]() -> IReportFrame* { return new CKeptLines(); });
    CReports::s_fnTaxReportSetup = [](CDatabase&, stTaxReportSetup& setup) {
        setup.dStart = kYearStart;
        setup.dEnd = AddToDate(kYearStart, 365, 0, 0, 0);
        setup.nMode = 1;
        return true;
    };
    stStudio smallStudio(n), largeStudio(4 * n);
    std::vector<double> small, large;
    Measure(smallStudio, largeStudio, reps, small, large);
    for (size_t i = 0; i < small.size(); ++i)
        std::printf("RATIO %s %.2f\n", kReports[i].name, small[i] > 0.0 ? large[i] / small[i] : 0.0);
    return 0;
}
