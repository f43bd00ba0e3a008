#pragma once
// IReportFrame: the window that shows a finished text report, as the report generator sees it.
// The window itself lives in views/ (CFrameWndReport), which installs the factory at start;
// reports/ makes its frames through the factory and never includes views/.
//
//   IReportFrame* frame = NewReportFrame();   // null when no factory is installed
//   frame->GetLines().push_back(...);
//   frame->SetView(db, report, 0, 1, &printer);
//
// The frame deletes itself when the user closes it.

#include "common/PrinterDef.h"
#include "reports/PrintSpoolFile.h"

#include <functional>
#include <string>
#include <vector>

class CDatabase;

class IReportFrame {
public:
    virtual ~IReportFrame() = default;
    // The report's lines, filled before SetView.
    virtual std::vector<stFmtString>& GetLines() = 0;
    // Shows the lines. `printer` is the printer definition the view prints with (null: the
    // program's own), on the page layout `pageLayout` of the database.
    virtual void SetView(CDatabase* database, int report, int pageLayout, int option,
                         stPrinterDef* printer = nullptr) = 0;
    // Appends each string as a body line in the database's format `format`, then shows.
    virtual void SetView(CDatabase* database, int report, int pageLayout, int option,
                         const std::vector<std::string>& strings, int format,
                         stPrinterDef* printer = nullptr) = 0;
};

using ReportFrameFactory = std::function<IReportFrame*()>;
void SetReportFrameFactory(ReportFrameFactory factory);
// A new frame from the installed factory, or null.
IReportFrame* NewReportFrame();
