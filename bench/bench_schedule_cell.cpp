// bench_schedule_cell: the schedule cell dialog at studio size, beside the same reference as
// bench_studio (one pass over every dated field of the studio, in the same run):
//   lists     filling both lists for everyone (person -1): the cell's entries and every undated
//             entry of the studio
//   rebuild   the week's grid rebuilt and both lists filled again, as after each change
// For a studio of N students and of 4N, built in memory as bench_studio builds it. The last lines
// are "RATIO <name>_N <value>" and "RATIO <name>_4N <value>".
// Options: --n N (default 2000), --reps R (repetitions per figure, default 5).

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
#include "dialogs/DialogScheduleCell.h"
#include "platform/host/Clock.h"
#include "platform/ui/TestHooks.h"

namespace {

using namespace bench_studio;
using bench_timing::TimeOf;

struct Figures {
    double reference = 0.0;
    double lists = 0.0;
    double rebuild = 0.0;
};

Figures Measure(uint32_t students, int reps)
{
    CDatabase db;
    db.SetDefaults();
    CStudioBuilder(db, students).Build();
    Figures f;
    volatile double sink = 0.0;
    f.reference = TimeOf(reps, [&] { sink = sink + ReadEveryDate(db); });
    CTextArray2D cells;
    std::vector<DATE> days, times;
    std::vector<stDataToken> entries;
    db.MakeScheduleGrid(-1, kWeekStart, kWeekEnd, cells, days, times, entries, 0xC0C0C0, 0xFFFFFF, 0);
    CDialogScheduleCell dialog(&db, entries, cells, days, times);
    dialog.m_nRow = 2;
    dialog.m_nColumn = 2;
    dialog.m_nPerson = -1;
    dialog.m_dStart = kWeekStart;
    dialog.m_dEnd = kWeekEnd;
    ui::test::Hooks& hooks = ui::test::ResetHooks();
    hooks.driveDialogs = true;
    hooks.dialogScripts.push_back([&](ui::Dialog& d) {
        f.lists = TimeOf(reps, [&] {
            dialog.FillLists();
            sink = sink + static_cast<double>(dialog.m_aItems.size());
        });
        f.rebuild = TimeOf(reps, [&] {
            db.MakeScheduleGrid(-1, kWeekStart, kWeekEnd, cells, days, times, entries, 0xFFFFFF, 0xFFFFFF, 0);
            dialog.FillLists();
            sink = sink + static_cast<double>(entries.size());
        });
        d.EndDialog(ui::IDOK);
    });
    dialog.DoModal();
    std::printf("students %u: reference %.4f s, lists %.4f s, rebuild %.4f s\n", students, f.reference, f.lists,
                f.rebuild);
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t n = 2000;
    int reps = 5;
    bench_timing::ReadOptions(argc, argv, n, reps);
    ui::test::EnsureApplication();
    SetStampUserCode(1);
    FixStudioClock();

    const Figures small = Measure(n, reps);
    const Figures large = Measure(4 * n, reps);
    std::printf("RATIO lists_N %.3f\n", small.lists / small.reference);
    std::printf("RATIO lists_4N %.3f\n", large.lists / large.reference);
    std::printf("RATIO rebuild_N %.3f\n", small.rebuild / small.reference);
    std::printf("RATIO rebuild_4N %.3f\n", large.rebuild / large.reference);
    std::fflush(nullptr);
    std::_Exit(0);
}
