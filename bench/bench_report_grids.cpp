// bench_report_grids: each report grid's rebuild (MakeGrid: the three periods' figures, the cells
// and their layout) at studio size, beside a reference taken in the same run on the same tables:
// one pass over the tables the grids read (persons with their interviews, purchases with their
// items, tokens and scheduled payments, payments).
// Each is measured for a studio of N persons and of 4N, built in memory: per student two years of
// lessons and scheduled payments, payments received and paid out, a call and a first visit. The
// last lines are "RATIO grid_<name>_N <value>" and "RATIO grid_<name>_4N <value>".
// Options: --n N (default 5000), --reps R (repetitions per figure, default 5).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "BenchTiming.h"
#include "StudioBuilder.h"
#include "database/Database.h"
#include "platform/host/Clock.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/TestHooks.h"
#include "records/Interview.h"
#include "records/PurchaseItem.h"
#include "records/SchedulePayment.h"
#include "records/ScheduleToken.h"
#include "views/ActivityHourGrid.h"
#include "views/AdvertisingGrid.h"
#include "views/DailyBalanceGrid.h"
#include "views/EnrollmentGrid.h"
#include "views/FinanceGrid.h"
#include "views/ProgramStatisticsGrid.h"

namespace {

using bench_studio::CMemoryTables;
using bench_timing::TimeOf;

const DATE kFirstDay = MakeDate(2024, 6, 2, 0, 0);  // two years before the clock's week
constexpr int kDays = 730;

class CStudioBuilder : private CMemoryTables {
public:
    CStudioBuilder(CDatabase& db, uint32_t persons) : CMemoryTables(db), m_nPersons(persons) {}

    void Build()
    {
        std::vector<uint32_t> types, sources, contracts, programs, departments, taxes;
        for (const char* name : {"Private", "Group", "Practice"}) types.push_back(Category('B', name));
        const uint32_t shoes = Category('m', "Shoes");
        for (const char* name : {"Paper", "Radio", "Web", "Referral"}) sources.push_back(Category('I', name));
        for (const char* name : {"Standard", "Renewal"}) contracts.push_back(Category('C', name));
        for (const char* name : {"Bronze", "Silver", "Gold"}) programs.push_back(Category('P', name));
        for (const char* name : {"Ballroom", "Latin"}) departments.push_back(Category('D', name));
        for (const char* name : {"Rent", "Wages"}) taxes.push_back(Category('T', name));
        for (uint32_t s = 0; s < m_nPersons; ++s) {
            const DATE joined = AddToDate(kFirstDay, static_cast<int>((s * 37) % kDays), 9, 0, 0);
            auto p = std::make_unique<CPerson>('C');
            p->m_sFirstName = "Student";
            p->m_sLastName = "S" + std::to_string(s);
            p->m_dStamp1Date = joined;
            p->m_nReferredBy = sources[s % sources.size()];
            for (int k = 0; k < 2; ++k) {
                auto interview = std::make_unique<CInterview>();
                interview->m_cKind = k == 0 ? 'P' : 'V';
                interview->m_dDate = AddToDate(joined, k, 10, 0, 0);
                interview->m_nDueTo = p->m_nReferredBy;
                interview->m_nField8 = k;
                interview->m_nProgram = programs[s % programs.size()];
                interview->m_nField9 = contracts[s % contracts.size()];
                interview->m_nField10 = departments[s % departments.size()];
                p->m_Interviews.push_back(std::move(interview));
            }
            const DATE visit = AddToDate(joined, 1, 10, 0, 0);
            const uint32_t person = Add(TABLE_PERSON, std::move(p));

            auto purchase = std::make_unique<CPurchaseRecord>();
            purchase->m_nPerson = person;
            purchase->m_dDate = AddToDate(visit, 0, 1, 0, 0);
            purchase->m_dField17 = visit;
            purchase->m_nProgram = programs[s % programs.size()];
            purchase->m_nField12 = contracts[s % contracts.size()];
            purchase->m_nField13 = departments[s % departments.size()];
            if (s % 17 == 0) {
                purchase->m_nStatus = CPurchaseRecord::STATUS_CANCELLED;
                purchase->m_dStamp2Date = AddToDate(purchase->m_dDate, 30, 0, 0, 0);
            }
            auto item = std::make_unique<CPurchaseItem>();
            item->m_cKind = 'p';
            item->m_nCount = 40;
            item->m_dAmount = 2000.0;
            item->m_nType = types[s % types.size()];
            item->m_nLessonValue = 45;
            for (int week = 0; week < 40; ++week) {
                auto token = std::make_unique<CScheduleToken>();
                token->m_cKind = 'p';
                token->m_dDate = AddToDate(purchase->m_dDate, week * 7 + 1, 0, 0, 0);
                token->m_cState = week % 9 == 8 ? 'c' : 'U';
                token->m_dStampDate = token->m_dDate;
                token->m_nLessonValue = 45;
                item->m_Tokens.push_back(std::move(token));
            }
            purchase->m_Items.push_back(std::move(item));
            if (s % 5 == 0) {
                auto extra = std::make_unique<CPurchaseItem>();
                extra->m_cKind = 'm';
                extra->m_dAmount = 80.0;
                extra->m_nType = shoes;
                purchase->m_Items.push_back(std::move(extra));
            }
            for (int month = 0; month < 10; ++month) {
                auto payment = std::make_unique<CSchedulePayment>();
                payment->m_cKind = month < 6 ? 'R' : (month == 9 && s % 11 == 0 ? 'F' : 'S');
                payment->m_dAmount = 200.0;
                payment->m_dDate = AddToDateFields(purchase->m_dDate, 0, month, 0, 2, 0);
                purchase->m_Payments.push_back(std::move(payment));
            }
            Add(TABLE_PURCHASE, std::move(purchase));

            for (int k = 0; k < 2; ++k) {
                auto payment = std::make_unique<CPaymentRecord>();
                payment->m_cType = k == 0 ? 'R' : 'P';
                payment->m_cReceived = 'R';
                payment->m_dAmount = 25.0;
                payment->m_nPerson = k == 0 ? person : NO_CODE;
                payment->m_nField12 = k == 0 ? NO_CODE : sources[s % sources.size()];
                payment->m_nField14 = k == 0 ? NO_CODE : taxes[s % taxes.size()];
                payment->m_dDate = AddToDate(joined, static_cast<int>(s % 90), 15, 0, 0);
                Add(TABLE_PAYMENT, std::move(payment));
            }
        }
    }

private:
    uint32_t m_nPersons;
};

// One pass over what the grids read.
double ReadTables(CDatabase& db)
{
    double sum = 0.0;
    for (const stIndex& e : *db.GetItemList(TABLE_PERSON)) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        sum += p->m_dStamp1Date + p->m_nReferredBy;
        for (const auto& i : p->m_Interviews) sum += i->m_dDate + i->m_nDueTo + i->m_nField8;
    }
    for (const stIndex& e : *db.GetItemList(TABLE_PURCHASE)) {
        const CPurchaseRecord* p = static_cast<const CPurchaseRecord*>(e.pItem);
        sum += p->m_dDate + p->m_dStamp2Date + p->m_nStatus;
        for (const auto& item : p->m_Items) {
            sum += item->m_dAmount + item->m_nType;
            for (const auto& token : item->m_Tokens) sum += token->m_dDate + token->m_cState;
        }
        for (const auto& payment : p->m_Payments) sum += payment->m_dDate + payment->m_dAmount;
    }
    for (const stIndex& e : *db.GetItemList(TABLE_PAYMENT)) {
        const CPaymentRecord* p = static_cast<const CPaymentRecord*>(e.pItem);
        sum += p->m_dDate + p->m_dAmount + p->m_nField12;
    }
    return sum;
}

struct Grid {
    const char* name;
    std::function<CReportGrid*(ui::Window*, CDatabase*)> make;
};

const std::vector<Grid>& Grids()
{
    static const std::vector<Grid> grids = {
        {"activity", [](ui::Window* w, CDatabase* db) { return new CActivityHourGrid(w, db); }},
        {"advertising", [](ui::Window* w, CDatabase* db) { return new CAdvertisingGrid(w, db); }},
        {"daily", [](ui::Window* w, CDatabase* db) { return new CDailyBalanceGrid(w, db); }},
        {"enrollment", [](ui::Window* w, CDatabase* db) { return new CEnrollmentGrid(w, db); }},
        {"finance", [](ui::Window* w, CDatabase* db) { return new CFinanceGrid(w, db, 2); }},
        {"summary", [](ui::Window* w, CDatabase* db) { return new CFinanceGrid(w, db, 3); }},
        {"program", [](ui::Window* w, CDatabase* db) { return new CProgramStatisticsGrid(w, db, 'P'); }},
    };
    return grids;
}

struct Figures {
    double reference = 0.0;
    std::vector<double> grids;
};

Figures Measure(uint32_t persons, int reps, ui::Window& main)
{
    CDatabase db;
    db.SetDefaults();
    CStudioBuilder(db, persons).Build();
    Figures f;
    volatile double sink = 0.0;
    f.reference = TimeOf(reps, [&] { sink = sink + ReadTables(db); });
    std::printf("persons %u: reference %.4f s", persons, f.reference);
    for (const Grid& g : Grids()) {
        CReportGrid* grid = g.make(&main, &db);
        f.grids.push_back(TimeOf(reps, [&] { grid->MakeGrid(); }));
        std::printf(", %s %.4f s", g.name, f.grids.back());
        grid->DestroyWindow();
        ui::test::DeleteDestroyedWindows();
    }
    std::printf("\n");
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t n = 5000;
    int reps = 5;
    bench_timing::ReadOptions(argc, argv, n, reps);
    ui::test::EnsureApplication();
    SetStampUserCode(1);
    bench_studio::FixStudioClock(3);
    ui::FrameWindow main;
    main.CreateFrame("main", {0, 0, 900, 700});

    const Figures small = Measure(n, reps, main);
    const Figures large = Measure(4 * n, reps, main);
    for (size_t g = 0; g < Grids().size(); ++g) {
        std::printf("RATIO grid_%s_N %.3f\n", Grids()[g].name, small.grids[g] / small.reference);
        std::printf("RATIO grid_%s_4N %.3f\n", Grids()[g].name, large.grids[g] / large.reference);
    }
    std::fflush(nullptr);
    std::_Exit(0);
}
