#pragma once
// The page-line print engine: prints the spool file "PRNTFILE.PRN" on the program's default
// printer. Pages fill from the top margin down; a header line repeats at the top of every page;
// page breaks, protected blocks (kept on one page), an optional page-number line, tab-separated
// columns, centred lines and the in-line style codes ~B ~b ~I ~i ~U ~u ~S ~s are honoured;
// several copies, and a pause or a question after every page. Main thread only, synchronous.
//
// Coordinates are device pixels of the printer's printable area (ui::DC).

#include "database/PrintFont.h"
#include "database/SettingsRecords.h"
#include "platform/ui/DC.h"
#include "platform/ui/PrinterDC.h"
#include "common/PrinterDef.h"

#include <cstdint>
#include <string>
#include <vector>

// One line of a page being built or shown.
struct stPageLineRecord {
    char cKind = '-';                         // 'H' header, else an ordinary line
    char cMark = 0;                           // used by the line views
    const stFormatRecord* pFormat = nullptr;  // null: the default format
    int32_t nHeight = 0;                      // device pixels
    int32_t nIndex = 0;                       // used by the line views
    std::string strText;
};

// Prints the spool file, as many copies as asked for. Ask 1 always runs the print setup dialog
// first; ask 0 only when the definition's copies are below 1. The dialog's choices of printer,
// pause and delay are kept in `printer`.
void PrintPageLineFile(stPrinterDef& printer, const stPageLayout& layout, int ask);

// Prints the spool file once; firstPage -1: the layout's first page number applies, 0: no page
// numbers. False when nothing could be printed (no printer, no spool file, the document would
// not start, a damaged spool file); the user has been told why.
bool PrintCopy(const stPrinterDef& printer, const stPageLayout& layout, int firstPage);

// Prints one page: the header (when its kind is 'H') and a blank line, the lines, and the page
// number at the bottom when pageNumber is above 0, which then advances. Returns 1 when the user
// chose to abort at the continue question, else 0.
int PrintPage(ui::PrinterDC& dc, const std::vector<stPageLineRecord>& lines,
              const stPageLineRecord& header, const stPrinterDef& printer,
              const stPageLayout& layout, int usableHeight, int top, int left, int landscape,
              int& pageNumber);
// Prints one line at (x + centring indent, y), tabs counted from x. Lines holding '~' go to
// PrintSpecial. Reports the indent when asked; returns the extent drawn.
ui::DCSize PrintLine(ui::DC& dc, const stPageLineRecord& line, int x, int landscape, int y,
                     int* indent = nullptr);
// A line with style codes: each run in its own weight and slant; the codes are not printed.
ui::DCSize PrintSpecial(ui::DC& dc, const stPageLineRecord& line, int x, int landscape, int y);
// Prints the run (nothing when empty) at (x, y) in the format's face and size with the four
// styles, advances x by its width and empties the run.
void ProcessTextSegment(ui::DC& dc, int& x, int y, std::string& run,
                        const stFormatRecord& format, int tabOrigin, int landscape, bool bold,
                        bool italic, bool underline, bool strikeout);

// A line's height: the format's line spacing times the text's height in its font.
int GetLineHeight(ui::DC& dc, const stFormatRecord* format, const std::string& text,
                  int landscape);

// Centring: the indent of a centred line (its offset on the page width plus 25), 0 otherwise.
int GetCenterIndent(ui::DC& dc, const stPageLineRecord& line);
// (page width - 2 margin - text width) / 2, at least 0, in the selected font.
int CenterTextOffset(ui::DC& dc, const std::string& text, int margin);

// The format's tab stops (inches from the left margin) in device pixels.
std::vector<int> BuildTabStops(const std::vector<double>& tabStops, ui::DC& dc, int landscape);


// The page-number format embedded in a page layout.
stFormatRecord PageNumberFormat(const stPageLayout& layout);
