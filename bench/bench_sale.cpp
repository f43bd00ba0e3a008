// bench_sale: a sale at the desk at studio size, built in memory.
//   ready    the scheduled-payment dialog made, filled (payer list of every student, account and
//            tax lists) and closed, plus the scan of the payer's credits that "Apply credit" makes
//   repeat   the repeat-sale question's look for earlier purchases the sale repeats, as the sale
//            makes it (FindRepeatSales: the purchaser's own purchases)
// Each for a studio of N students with 4N purchases and of 4N students with 16N purchases. The
// last lines are "RATIO <name> <4N time / N time>"; the goals are under 0.1 s at N and a ratio
// of at most 4.5.
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
#include "dialogs/DialogEditScheduledPayment.h"
#include "platform/ui/TestHooks.h"
#include "records/PurchaseItem.h"
#include "records/SchedulePayment.h"
#include "records/ScheduleToken.h"

namespace {

using bench_timing::TimeOf;

struct stFigures {
    double ready = 0.0;
    double repeat = 0.0;
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

stFigures Measure(uint32_t students, int reps)
{
    CDatabase db;
    uint32_t next = 1;
    for (const char* name : {"Bank", "Cash", "Sales"}) {
        auto c = std::make_unique<CCategory>('A');
        c->m_sName = name;
        Add(db, TABLE_CATEGORY, std::move(c), next);
    }
    for (const char* name : {"Sales tax", "Exempt"}) {
        auto c = std::make_unique<CCategory>('T');
        c->m_sName = name;
        Add(db, TABLE_CATEGORY, std::move(c), next);
    }
    std::vector<uint32_t> people;
    for (uint32_t s = 0; s < students; ++s) {
        auto p = std::make_unique<CPerson>('C');
        p->m_sFirstName = "Student";
        p->m_sLastName = "S" + std::to_string(s);
        people.push_back(Add(db, TABLE_PERSON, std::move(p), next));
    }
    const DATE day = MakeDate(2026, 3, 2, 10, 0);
    for (uint32_t k = 0; k < 4 * students; ++k) {
        auto purchase = std::make_unique<CPurchaseRecord>();
        purchase->m_nPerson = people[k % students];
        purchase->m_sDescription = k % 3 == 0 ? "Private lesson" : "Group class";
        purchase->m_dPrice = 50.0;
        auto item = std::make_unique<CPurchaseItem>();
        item->m_nPriceListCode = 1 + k % 7;
        auto token = std::make_unique<CScheduleToken>();
        token->m_cState = 'U';
        token->m_dDate = day - static_cast<double>(k % 300);
        item->m_Tokens.push_back(std::move(token));
        purchase->m_Items.push_back(std::move(item));
        Add(db, TABLE_PURCHASE, std::move(purchase), next);
    }
    for (uint32_t k = 0; k < students / 5; ++k) {
        auto credit = std::make_unique<CPaymentRecord>();
        credit->m_cType = k % 2 ? 'R' : 'c';
        credit->m_nPerson = people[(k * 7) % students];
        credit->m_dAmount = 25.0;
        credit->m_sText = "Referral";
        Add(db, TABLE_PAYMENT, std::move(credit), next);
    }

    // A new sale of the first student, as the desk makes it.
    CPurchaseRecord sale;
    sale.m_nPerson = people[0];
    sale.m_sDescription = "Private lesson";
    sale.m_dPrice = 50.0;
    auto item = std::make_unique<CPurchaseItem>();
    item->m_nPriceListCode = 1;
    auto token = std::make_unique<CScheduleToken>();
    token->m_cState = 'U';
    token->m_dDate = day;
    item->m_Tokens.push_back(std::move(token));
    sale.m_Items.push_back(std::move(item));
    CSchedulePayment payment;
    payment.m_cKind = 'R';
    payment.m_nPayer = people[0];
    payment.m_sDescription = sale.m_sDescription;
    payment.m_dAmount = 50.0;

    stFigures f;
    ui::test::Hooks& hooks = ui::test::GetHooks();
    hooks.driveDialogs = true;
    size_t offered = 0;
    f.ready = TimeOf(reps, [&] {
        CDialogEditScheduledPayment dialog(&db);
        dialog.m_pPayment = &payment;
        dialog.m_pPurchase = &sale;
        dialog.m_nCreditAllowed = 1;
        hooks.dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
        dialog.DoModal();
        CCreditLedger ledger(db);
        offered += ledger.CollectOffers(people[0]).size();
    });
    size_t repeats = 0;
    f.repeat = TimeOf(reps, [&] {
        repeats += db.FindRepeatSales(sale).size();
    });
    std::printf("students %u purchases %u: ready %.4f s (%zu credits offered), repeat %.4f s (%zu alike)\n", students,
                4 * students, f.ready, offered, f.repeat, repeats);
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
    std::printf("RATIO ready %.3f\n", large.ready / small.ready);
    std::printf("RATIO repeat %.3f\n", large.repeat / small.repeat);
    return 0;
}
