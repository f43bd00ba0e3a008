#include "views/ReportWindows.h"

#include "reports/WeeklyClassesPage.h"
#include "views/FrameHtml.h"
#include "views/FrameWndReport.h"
#include "views/RtfViewer.h"
#include "widgets/ExternalPrograms.h"

void InstallReportWindows()
{
    CFrameWndReport::InstallFactory();
    SetRichTextViewerOpener([](const std::string& document, const ui::DCRect& main) {
        int aborted = 0;
        OpenRtfViewer(document, main.left, main.top, main.right, main.bottom, 0, 0, aborted);
    });
    SetHtmlPageViewer([](const std::string& path) {
        auto* frame = new CFrameHtml();
        // The frame deletes itself once its window goes; one that never opened goes here.
        if (!frame->ShowHtml(path) && !frame->IsCreated()) delete frame;
    });
}
