// bench_studio: the studio computations at studio size, each figure beside a reference taken in
// the same run on the same tables: one pass that reads every dated field of the studio.
//   grid      a week's schedule grid of everyone (it gathers the whole studio first)
//   room      a week's room grid
//   teacher   the teachers' activity figures of a week
//   program   the program statistics of a week
// Each is measured for a studio of N students and of 4N, built in memory: per student a year
// of weekly lessons, monthly scheduled payments, payments and an interview; classes and
// repeating schedule items by the dozen. The last lines are "RATIO <name>_N <value>" and
// "RATIO <name>_4N <value>".
// Options: --n N (default 2000), --reps R (repetitions per figure, default 5).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "database/Database.h"
#include "platform/host/Clock.h"
#include "platform/ui/TestHooks.h"
#include "BenchTiming.h"
#include "StudioBuilder.h"

namespace {

using namespace bench_studio;
using bench_timing::TimeOf;

struct Figures {
    double reference = 0.0;
    double grid = 0.0, room = 0.0, teacher = 0.0, program = 0.0;
};

Figures Measure(uint32_t students, int reps)
{
    CDatabase db;
    db.SetDefaults();
    CStudioBuilder(db, students).Build();
    Figures f;
    volatile double sink = 0.0;
    f.reference = TimeOf(reps, [&] { sink = sink + ReadEveryDate(db); });
    f.grid = TimeOf(reps, [&] {
        CTextArray2D cells;
        std::vector<DATE> days, times;
        std::vector<stDataToken> list;
        db.MakeScheduleGrid(-1, kWeekStart, kWeekEnd, cells, days, times, list, 0xC0C0C0, 0xFFFFFF, 1);
        sink = sink + static_cast<double>(list.size());
    });
    f.room = TimeOf(reps, [&] {
        CTextArray2D cells;
        std::vector<DATE> days, times;
        std::vector<stDataToken> list;
        db.MakeScheduleGridText('M', kWeekStart, kWeekEnd, cells, days, times, list, 0xC0C0C0, 0xFFFFFF);
        sink = sink + static_cast<double>(list.size());
    });
    f.teacher = TimeOf(reps, [&] {
        std::vector<stTeacherActivityData> rows;
        db.BuildTeacherActivityRecords(rows, 'T');
        db.TeacherActivityData('T', kWeekStart, kWeekEnd, rows);
        sink = sink + static_cast<double>(rows.size());
    });
    f.program = TimeOf(reps, [&] {
        std::vector<stProgramStatisticsData> rows;
        for (const stIndex& e : *db.GetItemList(TABLE_CATEGORY)) {
            stProgramStatisticsData row;
            row.nCode = static_cast<int32_t>(e.nCode);
            rows.push_back(row);
        }
        db.ProgramStatisticsData('P', kWeekStart, kWeekEnd, rows);
        sink = sink + static_cast<double>(rows.size());
    });
    std::printf("students %u: reference %.4f s, grid %.4f s, room %.4f s, teacher %.4f s, program %.4f s\n", students,
                f.reference, f.grid, f.room, f.teacher, f.program);
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
    // The year of the birthdays and the unblocked lessons: a fixed day in the middle of it.
    bench_studio::FixStudioClock();

    const Figures small = Measure(n, reps);
    const Figures large = Measure(4 * n, reps);
    std::printf("RATIO grid_N %.3f\n", small.grid / small.reference);
    std::printf("RATIO grid_4N %.3f\n", large.grid / large.reference);
    std::printf("RATIO room_N %.3f\n", small.room / small.reference);
    std::printf("RATIO room_4N %.3f\n", large.room / large.reference);
    std::printf("RATIO teacher_N %.3f\n", small.teacher / small.reference);
    std::printf("RATIO teacher_4N %.3f\n", large.teacher / large.reference);
    std::printf("RATIO program_N %.3f\n", small.program / small.reference);
    std::printf("RATIO program_4N %.3f\n", large.program / large.reference);
    std::fflush(nullptr);
    std::_Exit(0);
}
