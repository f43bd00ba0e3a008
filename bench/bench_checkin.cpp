// bench_checkin: the sign-in and self check-in at studio size, built in memory (StudioBuilder:
// per student a year of weekly lessons and monthly payments, a class of the price list and a
// repeating schedule item per 100 students, each on a year of dates).
//   tokens   CDialogSelfCheckinSelect::GetActivityTokens for one student on a class day
//   signin   the sign-in dialog made, its three lists and the balance filled, and closed
// Each for a studio of N students and of 4N. The last lines are "RATIO <name> <4N time / N
// time>"; the goals are under 50 ms at N and a ratio of at most 5.
// Options: --n N (default 5000), --reps R (repetitions per figure, default 5).

#include <cstdio>
#include <ctime>
#include <memory>

#include "BenchTiming.h"
#include "StudioBuilder.h"
#include "dialogs/DialogSelfCheckinSelect.h"
#include "dialogs/DialogSignIn.h"
#include "platform/host/Clock.h"
#include "platform/ui/TestHooks.h"

namespace {

using bench_timing::TimeOf;

struct stFigures {
    double tokens = 0.0;
    double signin = 0.0;
};

stFigures Measure(uint32_t students, int reps)
{
    CDatabase db;
    bench_studio::CStudioBuilder(db, students).Build();
    // The Sunday of the studio's week at 08:00: the first student's lesson and a class fall on it.
    host::LocalTime t;
    t.year = 2026;
    t.month = 6;
    t.day = 7;
    t.hour = 8;
    t.isDst = -1;
    time_t when = 0;
    host::Clock::FromLocal(t, when);
    host::Clock::SetFixedTime(when);
    CPerson* student = nullptr;
    for (const stIndex& e : *db.GetItemList(TABLE_PERSON))
        if (static_cast<CPerson*>(e.pItem)->m_cType == 'C') {
            student = static_cast<CPerson*>(e.pItem);
            break;
        }
    // The student's ten-class card of the first class, checked in by the scan.
    auto card = std::make_unique<CPurchaseRecord>();
    card->m_nCode = 0x7FFFFFF0;
    card->m_nPerson = student->m_nCode;
    card->m_dStartDate = bench_studio::kYearStart;
    auto item = std::make_unique<CPurchaseItem>();
    item->m_cKind = 'N';
    item->m_nCount = 10;
    item->m_nPriceListCode = static_cast<const CPriceListItem*>(db.GetItemList(TABLE_PRICELIST)->at(0).pItem)->m_nCode;
    item->m_Tokens.push_back(std::make_unique<CScheduleToken>());
    item->m_Tokens[0]->m_cKind = 'N';
    card->m_Items.push_back(std::move(item));
    db.AddIndex(TABLE_PURCHASE, card.release(), 0x7FFFFFF0, static_cast<uint32_t>(db.GetItemList(TABLE_PURCHASE)->size()),
                0, 0xFFFFFFFE, -1);

    stFigures f;
    int offered = 0;
    f.tokens = TimeOf(reps, [&] {
        CDialogSelfCheckinSelect dialog(&db);
        dialog.m_pStudent = student;
        offered = dialog.GetActivityTokens();
    });
    ui::test::Hooks& hooks = ui::test::GetHooks();
    hooks.driveDialogs = true;
    size_t rows = 0;
    f.signin = TimeOf(reps, [&] {
        CDialogSignIn dialog(&db);
        dialog.m_pStudent = student;
        hooks.dialogScripts.push_back([&](ui::Dialog& d) {
            rows = static_cast<CDialogSignIn&>(d).m_aActivities.size();
            ui::test::Click(d, 1000);
        });
        dialog.DoModal();
    });
    std::printf("students %u: tokens %.6f s (%d offered), sign-in %.4f s (%zu lesson rows)\n", students, f.tokens,
                offered, f.signin, rows);
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
    std::printf("RATIO tokens %.3f\n", large.tokens / small.tokens);
    std::printf("RATIO signin %.3f\n", large.signin / small.signin);
    return 0;
}
