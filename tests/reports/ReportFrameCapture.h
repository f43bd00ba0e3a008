#pragma once
// The report frames the report generator opens during a test, kept so that the test reads their
// lines ("slot kind text") and closes them as their Exit does.

#include <string>
#include <vector>

#include "platform/host/Format.h"
#include "platform/ui/TestHooks.h"
#include "reports/ReportFrame.h"
#include "views/FrameWndReport.h"
#include "views/ReportWindows.h"
#include "widgets/CommandGuards.h"

class CReportFrameCapture {
public:
    // Installs the report windows with a factory that keeps every frame it makes.
    void Install()
    {
        ReportViewDisplayed = 0;
        InstallReportWindows();
        SetReportFrameFactory([this]() -> IReportFrame* {
            auto* frame = new CFrameWndReport();
            frames.push_back(frame);
            return frame;
        });
    }
    // Closes every frame still open and forgets them all.
    void Close()
    {
        for (CFrameWndReport* f : frames)
            if (f->IsCreated()) f->SendCommand(CFrameWndReport::kCmdExit);
        frames.clear();
        ui::test::DeleteDestroyedWindows();
        ReportViewDisplayed = 0;
    }
    // The lines of a frame: "slot kind text"; none when there is no such frame.
    std::vector<std::string> Lines(size_t frame = 0) const
    {
        std::vector<std::string> out;
        if (frame >= frames.size()) return out;
        for (const stFmtString& line : frames[frame]->GetLines())
            out.push_back(Format("%d %c %s", line.pFormat ? line.pFormat->nCode : -1, line.cKind, line.strText.c_str()));
        return out;
    }

    std::vector<CFrameWndReport*> frames;
};
