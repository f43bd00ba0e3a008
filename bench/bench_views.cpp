// bench_views: the list views' building at studio size, each figure beside a reference taken in
// the same run on the same tables (one pass that reads every dated field of the studio):
//   payment   the payment lines, all and then only what is due
//   purchase  the purchase lines by date, then sorted by person and by item
//   schedule  the schedule entries, then each of the eight filters
//   maillist  the active students sorted, as phone list, labels and envelopes
// Each is measured for bench_studio's studio of N students and of 4N. The last lines are
// "RATIO views_<name>_N <value>" and "RATIO views_<name>_4N <value>".
// Options: --n N (default 2000), --reps R (repetitions per figure, default 3).

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>

#include "BenchTiming.h"
#include "StudioBuilder.h"
#include "platform/host/Clock.h"
#include "platform/ui/TestHooks.h"
#include "views/MaillistView.h"
#include "views/PaymentView.h"
#include "views/PurchaseView.h"
#include "views/ScheduleView.h"

namespace {

using namespace bench_studio;
using bench_timing::TimeOf;

struct Figures {
    double reference = 0.0;
    double payment = 0.0, purchase = 0.0, schedule = 0.0, maillist = 0.0;
};

Figures Measure(uint32_t students, int reps)
{
    CDatabase db;
    db.SetDefaults();
    CStudioBuilder(db, students).Build();
    Figures f;
    volatile double sink = 0.0;
    f.reference = TimeOf(reps, [&] { sink = sink + ReadEveryDate(db); });
    f.payment = TimeOf(reps, [&] {
        CPaymentView view;
        view.SetLineViewDatabase(&db);
        view.SetMode(CPaymentView::kModeDue);
        sink = sink + view.m_nMaxLines;
    });
    f.purchase = TimeOf(reps, [&] {
        CPurchaseView view;
        view.SetLineViewDatabase(&db);
        view.Sort('P');
        view.Sort('I');
        sink = sink + view.m_nMaxLines;
    });
    f.schedule = TimeOf(reps, [&] {
        CScheduleView view;
        view.SetLineViewDatabase(&db);
        for (int id = CScheduleView::kCmdAllTypes; id <= CScheduleView::kCmdGroupLessons; ++id) {
            view.ApplyFilter(CScheduleView::FilterOfCommand(id));
            sink = sink + view.m_nMaxLines;
        }
    });
    f.maillist = TimeOf(reps, [&] {
        CMaillistView view;
        view.SetLineViewDatabase(&db);
        for (int mode = 1; mode <= 3; ++mode) {
            view.SetMode(mode);
            sink = sink + view.m_nMaxLines;
        }
    });
    std::printf("students %u: reference %.4f s, payment %.4f s, purchase %.4f s, schedule %.4f s, maillist %.4f s\n",
                students, f.reference, f.payment, f.purchase, f.schedule, f.maillist);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t n = 2000;
    int reps = 3;
    bench_timing::ReadOptions(argc, argv, n, reps);
    ui::test::EnsureApplication();
    SetStampUserCode(1);
    FixStudioClock();

    const Figures small = Measure(n, reps);
    const Figures large = Measure(4 * n, reps);
    std::printf("RATIO views_payment_N %.3f\n", small.payment / small.reference);
    std::printf("RATIO views_payment_4N %.3f\n", large.payment / large.reference);
    std::printf("RATIO views_purchase_N %.3f\n", small.purchase / small.reference);
    std::printf("RATIO views_purchase_4N %.3f\n", large.purchase / large.reference);
    std::printf("RATIO views_schedule_N %.3f\n", small.schedule / small.reference);
    std::printf("RATIO views_schedule_4N %.3f\n", large.schedule / large.reference);
    std::printf("RATIO views_maillist_N %.3f\n", small.maillist / small.reference);
    std::printf("RATIO views_maillist_4N %.3f\n", large.maillist / large.reference);
    std::fflush(nullptr);
    std::_Exit(0);
}
