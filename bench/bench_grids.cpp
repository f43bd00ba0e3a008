// bench_grids: building and laying out the grid windows on the studio of bench_studio, each
// beside a reference taken in the same run on the same tables (one pass over every dated field):
//   week_grid     the weekly schedule grid of everyone (mode -1), rebuilt and laid out
//   teacher_grid  the day's teacher grid, rebuilt and laid out
// Each for a studio of N students and of 4N (a teacher per 40 students). Google Benchmark runs
// the figures; the last lines are "RATIO <name>_N <value>" and "RATIO <name>_4N <value>".
// Options: --n N (default 2000) and Google Benchmark's own (--benchmark_min_time=...).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "StudioBuilder.h"
#include "database/Database.h"
#include "platform/ui/TestHooks.h"
#include "views/ScheduleGrid.h"
#include "views/TeacherGrid.h"

namespace {

using namespace bench_studio;

// One studio with its two grids open.
struct Studio {
    explicit Studio(uint32_t students)
    {
        db.SetDefaults();
        CStudioBuilder(db, students).Build();
        week = new CScheduleGrid(nullptr, &db, -1);  // deletes itself when closed
        teachers = new CTeacherGrid(nullptr, &db);
    }
    ~Studio()
    {
        week->SendCommand(30055);
        teachers->SendCommand(30055);
        ui::test::DeleteDestroyedWindows();
    }
    CDatabase db;
    CScheduleGrid* week = nullptr;
    CTeacherGrid* teachers = nullptr;
};

// The time per iteration of every run, by run name.
class Collector : public benchmark::ConsoleReporter {
public:
    Collector() : benchmark::ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& r : runs)
            if (r.iterations > 0) seconds[r.benchmark_name()] = r.real_accumulated_time / static_cast<double>(r.iterations);
        benchmark::ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> seconds;
};

void Register(const std::string& size, Studio& studio)
{
    benchmark::RegisterBenchmark(("reference/" + size).c_str(), [&studio](benchmark::State& state) {
        for (auto _ : state) benchmark::DoNotOptimize(ReadEveryDate(studio.db));
    });
    benchmark::RegisterBenchmark(("week_grid/" + size).c_str(), [&studio](benchmark::State& state) {
        for (auto _ : state) {
            studio.week->BuildGrid();
            benchmark::DoNotOptimize(studio.week->m_aRowEdges.data());
        }
        state.counters["entries"] = static_cast<double>(studio.week->m_aEntries.size());
    });
    benchmark::RegisterBenchmark(("teacher_grid/" + size).c_str(), [&studio](benchmark::State& state) {
        for (auto _ : state) {
            studio.teachers->BuildGrid();
            benchmark::DoNotOptimize(studio.teachers->m_aColumnEdges.data());
        }
        state.counters["teachers"] = static_cast<double>(studio.teachers->m_aTeachers.size());
    });
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t n = 2000;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strcmp(argv[i], "--n") == 0 && i + 1 < argc) {
            n = static_cast<uint32_t>(std::strtoul(argv[++i], nullptr, 10));
            continue;
        }
        args.push_back(argv[i]);
    }
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::test::EnsureApplication();
    SetStampUserCode(1);
    FixStudioClock();

    auto small = std::make_unique<Studio>(n);
    auto large = std::make_unique<Studio>(4 * n);
    Register("N", *small);
    Register("4N", *large);
    Collector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    auto ratio = [&](const std::string& name, const std::string& size) {
        const double reference = collector.seconds["reference/" + size];
        return reference > 0.0 ? collector.seconds[name + "/" + size] / reference : 0.0;
    };
    for (const char* name : {"week_grid", "teacher_grid"}) {
        std::printf("RATIO %s_N %.3f\n", name, ratio(name, "N"));
        std::printf("RATIO %s_4N %.3f\n", name, ratio(name, "4N"));
    }
    std::fflush(nullptr);
    std::_Exit(0);
}
