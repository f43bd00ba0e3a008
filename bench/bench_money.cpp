// bench_money: a person's money at studio size, built in memory.
//   fill     the payment page in person mode made, filled with the person's payments and the
//            totals box, and closed
//   totals   the totals of every purchase of the studio (sums by kind and the eight lines)
//   credits  the list of a person's open credits that "Apply credit" offers
// Each for a studio of N persons with 4N purchases and of 4N persons with 16N purchases. The last
// lines are "RATIO <name> <4N time / N time>"; the goal is a ratio of at most 5.
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
#include "database/CreditLedger.h"
#include "database/Database.h"
#include "dialogs/PagePaymentSchedule.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/TestHooks.h"
#include "records/PurchaseMoney.h"

namespace {

using Clock = std::chrono::steady_clock;

double TimeOf(int reps, const std::function<void()>& work)
{
    std::vector<double> seconds;
    for (int i = 0; i < reps; ++i) {
        const auto start = Clock::now();
        work();
        seconds.push_back(std::chrono::duration<double>(Clock::now() - start).count());
    }
    std::sort(seconds.begin(), seconds.end());
    return seconds[seconds.size() / 2];
}

struct stFigures {
    double fill = 0.0;
    double totals = 0.0;
    double credits = 0.0;
};

template <class T>
uint32_t Add(CDatabase& db, uint8_t table, std::unique_ptr<T> item, uint32_t& next)
{
    const uint32_t code = next++;
    item->m_nCode = code;
    const auto sequence = static_cast<uint32_t>(db.GetItemList(table)->size());
    item->m_nSequence = static_cast<int32_t>(sequence);
    db.AddIndex(table, item.release(), code, sequence, 0, 0xFFFFFFFE, -1);
    return code;
}

stFigures Measure(uint32_t persons, int reps)
{
    CDatabase db;
    uint32_t next = 1;
    std::vector<uint32_t> people;
    for (uint32_t s = 0; s < persons; ++s) {
        auto p = std::make_unique<CPerson>('C');
        p->m_sFirstName = "Student";
        p->m_sLastName = "S" + std::to_string(s);
        people.push_back(Add(db, TABLE_PERSON, std::move(p), next));
    }
    const DATE day = MakeDate(2026, 3, 2, 0, 0);
    for (uint32_t k = 0; k < 4 * persons; ++k) {
        auto purchase = std::make_unique<CPurchaseRecord>();
        purchase->m_nPerson = people[k % persons];
        purchase->m_sDescription = "Lessons";
        purchase->m_cPricing = 'P';
        purchase->m_dPrice = 300.0;
        const char kinds[] = {'R', 'S', 'S', 'd', 'U'};
        for (char kind : kinds) {
            auto pay = std::make_unique<CSchedulePayment>();
            pay->m_cKind = kind;
            pay->m_dAmount = kind == 'd' ? 10.0 : 70.0;
            pay->m_nReference = kind == 'd' ? 0 : NO_CODE;
            pay->m_dDate = kind == 'U' ? 0.0 : day + static_cast<double>(k % 90);
            purchase->m_Payments.push_back(std::move(pay));
        }
        Add(db, TABLE_PURCHASE, std::move(purchase), next);
    }
    for (uint32_t k = 0; k < persons / 5; ++k) {
        auto credit = std::make_unique<CPaymentRecord>();
        credit->m_cType = k % 2 ? 'R' : 'c';
        credit->m_nPerson = people[(k * 7) % persons];
        credit->m_dAmount = 25.0;
        credit->m_sText = "Referral";
        Add(db, TABLE_PAYMENT, std::move(credit), next);
    }
    CPerson* person = static_cast<CPerson*>(db.GetItem(TABLE_PERSON, people[0]));

    stFigures f;
    ui::test::Hooks& hooks = ui::test::GetHooks();
    hooks.driveDialogs = true;
    size_t rows = 0;
    f.fill = TimeOf(reps, [&] {
        CPagePaymentSchedule page(&db);
        page.m_pPerson = person;
        ui::PropertySheet sheet("Person");
        sheet.AddPage(&page);
        hooks.dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
        sheet.DoModal();
        rows += page.m_aRows.size();
    });
    size_t lines = 0;
    f.totals = TimeOf(reps, [&] {
        for (const stIndex& e : *db.GetItemList(TABLE_PURCHASE)) {
            const CPurchaseRecord& p = *static_cast<const CPurchaseRecord*>(e.pItem);
            lines += CPurchaseMoney::TotalsLines(p.GetTotal(1), CPurchaseMoney::Sums(p)).size();
        }
    });
    size_t offered = 0;
    f.credits = TimeOf(reps, [&] {
        CCreditLedger ledger(db);
        offered += ledger.CollectOffers(people[0]).size();
    });
    std::printf("persons %u purchases %u: fill %.4f s (%zu rows), totals %.4f s (%zu lines), credits %.4f s (%zu)\n",
                persons, 4 * persons, f.fill, rows, f.totals, lines, f.credits, offered);
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
    const stFigures small = Measure(n, reps);
    const stFigures large = Measure(4 * n, reps);
    std::printf("RATIO fill %.3f\n", large.fill / small.fill);
    std::printf("RATIO totals %.3f\n", large.totals / small.totals);
    std::printf("RATIO credits %.3f\n", large.credits / small.credits);
    return 0;
}
