// bench_weekly_report: the weekly report file of a week, written for a studio built in memory
// (bench_studio's studio: per student a year of lessons, payments and an interview), against one
// pass over every dated field of the same tables. Measured for N students and for 4N; the last
// lines are "RATIO weekly_N <value>" and "RATIO weekly_4N <value>".
// Options: --n N (default 5000), --reps R (repetitions per figure, default 5).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include "BenchTiming.h"
#include "StudioBuilder.h"
#include "database/Database.h"
#include "platform/host/File.h"
#include "platform/ui/TestHooks.h"
#include "reports/Reports.h"

namespace {

using namespace bench_studio;
using bench_timing::TimeOf;

struct Figures {
    double reference = 0.0;
    double weekly = 0.0;
    size_t bytes = 0;
};

Figures Measure(uint32_t students, int reps, const std::string& path)
{
    CDatabase db;
    db.SetDefaults();
    CStudioBuilder(db, students).Build();
    db.GetStudioStrings().sStudioName = "Bench Studio";
    Figures f;
    volatile double sink = 0.0;
    f.reference = TimeOf(reps, [&] { sink = sink + ReadEveryDate(db); });
    f.weekly = TimeOf(reps, [&] {
        CReports report(&db);
        report.WriteTransactionData(kWeekStart, kWeekEnd);
        report.WriteContactSourceData(kWeekStart, kWeekEnd);
        report.WriteEnrollmentData(kWeekStart, kWeekEnd);
        report.WriteMerchandiseData(kWeekStart, kWeekEnd);
        report.WriteActivityData(kWeekStart, kWeekEnd);
        report.WriteWeeklyReportData('T', kWeekStart, kWeekEnd);
        report.WriteWeeklyReportData('S', kWeekStart, kWeekEnd);
        const std::string& bytes = report.GetWeeklyReportBytes();
        host::File file;
        if (!file.Open(path, host::File::Access::ReadWrite, host::File::Disposition::CreateAlways) ||
            !file.Write(bytes.data(), bytes.size()) || !file.Flush() || !file.Close())
            std::fprintf(stderr, "cannot write %s\n", path.c_str());
        f.bytes = bytes.size();
    });
    std::printf("students %u: reference %.4f s, weekly file %.4f s (%zu bytes)\n", students, f.reference, f.weekly,
                f.bytes);
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
    bench_studio::FixStudioClock();
    char folder[] = "/tmp/dq-bench-weekly-XXXXXX";
    if (!mkdtemp(folder)) return 1;
    const std::string path = std::string(folder) + "/week.rpt";

    const Figures small = Measure(n, reps, path);
    const Figures large = Measure(4 * n, reps, path);
    std::remove(path.c_str());
    rmdir(folder);
    std::printf("RATIO weekly_N %.3f\n", small.weekly / small.reference);
    std::printf("RATIO weekly_4N %.3f\n", large.weekly / large.reference);
    std::fflush(nullptr);
    std::_Exit(0);
}
