// bench_report_window: the report windows with reports of N and 4N lines, each figure beside a
// reference taken in the same run: writing the same number of bytes to a file and reading them
// back.
//   rtf     REPORT.RTF written for the lines and loaded into the rich-text viewer
//   frame   a report frame's SetView, its first paint and a print of every line to the recorder
// The last lines are "RATIO <name>_N <value>" and "RATIO <name>_4N <value>"; the goal is each 4N
// ratio within 1.5 times its N ratio, and N lines loaded into the viewer in under a second.
// Options: --n N (default 20000), --reps R (default 3).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <unistd.h>

#include "BenchTiming.h"
#include "platform/host/Format.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PageModel.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/TestHooks.h"
#include "reports/ReportsRTF.h"
#include "views/FrameReportView.h"
#include "views/FrameWndReport.h"
#include "views/RtfViewer.h"

namespace {

using bench_timing::TimeOf;

std::vector<std::string> ReportLines(size_t n)
{
    std::vector<std::string> lines;
    lines.reserve(n);
    for (size_t i = 0; i < n; ++i)
        lines.push_back(Format("%06zu\tSmith, Ann {\\}\t%8.2f\t12/31/2026\tpaid in full", i, static_cast<double>(i) * 1.25));
    return lines;
}

struct Figures {
    double reference = 0.0;
    double rtfWrite = 0.0;
    double rtfLoad = 0.0;
    double frame = 0.0;
};

Figures Measure(size_t n, int reps)
{
    Figures f;
    const std::vector<std::string> lines = ReportLines(n);
    stFormatRecord format = CReportsRTF::DefaultFormat();
    format.aTabStops = {0.8, 2.5, 3.5, 4.8};
    const size_t bytes = CReportsRTF::BuildReport(format, lines).size();
    const std::string block(bytes, 'x');
    // The file is made once, so that the reference is the transfer of the bytes, not the
    // creation of a file.
    std::fstream file("bench.bin", std::ios::binary | std::ios::in | std::ios::out | std::ios::trunc);
    std::string back(bytes, '\0');
    f.reference = TimeOf(reps, [&] {
        file.seekp(0);
        file.write(block.data(), static_cast<std::streamsize>(block.size()));
        file.flush();
        file.seekg(0);
        file.read(back.data(), static_cast<std::streamsize>(back.size()));
        if (back != block) std::abort();
    });
    CReportsRTF rtf(nullptr, 0, {});
    f.rtfWrite = TimeOf(reps, [&] { rtf.WriteReportFile(lines); });
    f.rtfLoad = TimeOf(reps, [&] {
        CRtfViewerFrame viewer(false);
        viewer.CreateViewer(false);
        viewer.LoadFile(kReportRtfFileName);
    });
    ui::PageModel model;
    f.frame = TimeOf(reps, [&] {
        ui::test::SetPrintRecorder(&model);
        model.Clear();
        auto* frame = new CFrameWndReport();
        for (const std::string& line : lines) frame->GetLines().push_back(stFmtString{&format, '-', line});
        stPrinterDef printer;
        printer.nCopies = 1;
        frame->SetView(nullptr, 0, 0, 1, &printer);
        ui::test::RecordPaint(frame->GetReportView());
        ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
        frame->SendCommand(CFrameReportView::kCmdPrint);
        frame->OnClose();
        ui::test::DeleteDestroyedWindows();
        ui::test::SetPrintRecorder(nullptr);
    });
    std::printf("lines %zu (%zu bytes): reference %.4f s, rtf write %.4f s + load %.4f s, frame %.4f s (%zu pages)\n",
                n, bytes, f.reference, f.rtfWrite, f.rtfLoad, f.frame, model.pages.size());
    return f;
}

}  // namespace

int main(int argc, char** argv)
{
    uint32_t n = 20000;
    int reps = 3;
    bench_timing::ReadOptions(argc, argv, n, reps);
    ui::test::EnsureApplication();
    ui::test::Hooks& hooks = ui::test::ResetHooks();
    hooks.scriptMessageBoxes = true;
    hooks.driveDialogs = true;
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / Format("dq-bench-report-%d", getpid());
    std::filesystem::create_directories(folder);
    std::filesystem::current_path(folder);

    const Figures small = Measure(n, reps);
    const Figures large = Measure(4 * n, reps);
    std::printf("load of %zu lines: %.3f s (goal under 1 s)\n", n, small.rtfLoad);
    std::printf("RATIO rtf_N %.3f\n", (small.rtfWrite + small.rtfLoad) / small.reference);
    std::printf("RATIO rtf_4N %.3f\n", (large.rtfWrite + large.rtfLoad) / large.reference);
    std::printf("RATIO frame_N %.3f\n", small.frame / small.reference);
    std::printf("RATIO frame_4N %.3f\n", large.frame / large.reference);
    std::filesystem::current_path("/");
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    if (!hooks.failures.empty()) std::fprintf(stderr, "hook failure: %s\n", hooks.failures[0].c_str());
    std::fflush(nullptr);
    std::_Exit(0);
}
