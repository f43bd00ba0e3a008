#include "reports/PageLinePrint.h"

#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "dialogs/DialogContinuePrint.h"
#include "dialogs/DialogPrintSetup.h"
#include "platform/host/Clock.h"
#include "platform/host/Format.h"
#include "platform/ui/PrinterDC.h"
#include "dialogs/PrinterChoice.h"
#include "reports/PrintSpoolFile.h"

#include <algorithm>

namespace {

constexpr const char* kDocumentName = "Transaction log print job";
constexpr int kCenterShift = 25;  // pixels a centred line is moved right beyond the left margin

const stFormatRecord& FormatOrDefault(const stFormatRecord* format)
{
    return format ? *format : DefaultPrintFormat();
}

// The text a line shows: its style codes (a '~' and the character after it) taken out.
std::string VisibleText(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '~')
            ++i;
        else
            out += text[i];
    }
    return out;
}

// Restores the DC's font when it goes out of scope.
class FontScope {
public:
    FontScope(ui::DC& dc, const ui::Font& font) : dc_(dc), old_(dc.SelectFont(font)) {}
    ~FontScope() { dc_.SelectFont(old_); }
    FontScope(const FontScope&) = delete;
    FontScope& operator=(const FontScope&) = delete;

private:
    ui::DC& dc_;
    ui::Font old_;
};

}  // namespace

stFormatRecord PageNumberFormat(const stPageLayout& layout)
{
    stFormatRecord f;
    f.nCode = layout.nFormatCode;
    std::copy(std::begin(layout.szFormatFace), std::end(layout.szFormatFace), f.szFace);
    f.nSize = layout.nFormatSize;
    f.fSpacing = layout.fFormatSpacing;
    f.cCharSet = layout.cFormatFlags[0];
    f.cBold = layout.cFormatFlags[1];
    f.cItalic = layout.cFormatFlags[2];
    f.cUnderline = layout.cFormatFlags[3];
    f.cStrikeOut = layout.cFormatFlags[4];
    f.cCentred = layout.cFormatCentred;
    return f;
}

std::vector<int> BuildTabStops(const std::vector<double>& tabStops, ui::DC& dc,
                               int /*landscape*/)
{
    const int xpi = dc.GetDeviceCaps(ui::LOGPIXELSX);
    std::vector<int> positions;
    positions.reserve(tabStops.size());
    for (double stop : tabStops)
        positions.push_back(static_cast<int>(xpi * stop));
    return positions;
}

int CenterTextOffset(ui::DC& dc, const std::string& text, int margin)
{
    const int offset =
        (dc.GetDeviceCaps(ui::HORZRES) - 2 * margin - dc.GetTextExtent(text).cx) / 2;
    return std::max(offset, 0);
}

int GetCenterIndent(ui::DC& dc, const stPageLineRecord& line)
{
    if (FormatOrDefault(line.pFormat).cCentred != 1)
        return 0;
    return CenterTextOffset(dc, line.strText, 0) + kCenterShift;
}

int GetLineHeight(ui::DC& dc, const stFormatRecord* format, const std::string& text,
                  int landscape)
{
    const stFormatRecord& f = FormatOrDefault(format);
    FontScope font(dc, FormatFont(dc, f));
    const std::vector<int> stops = BuildTabStops(f.aTabStops, dc, landscape);
    const ui::DCSize size = dc.GetTabbedTextExtent(text.empty() ? "  " : text, stops);
    return static_cast<int>(f.fSpacing * static_cast<float>(size.cy));
}

void ProcessTextSegment(ui::DC& dc, int& x, int y, std::string& run,
                        const stFormatRecord& format, int tabOrigin, int landscape, bool bold,
                        bool italic, bool underline, bool strikeout)
{
    if (run.empty())
        return;
    ui::Font font;
    InitPrintFont(font, dc, format.nSize, format.GetFace(), format.cCharSet, bold, italic,
                  underline, strikeout);
    FontScope scope(dc, font);
    const std::vector<int> stops = BuildTabStops(format.aTabStops, dc, landscape);
    x += dc.TabbedTextOut(x, y, run, stops, tabOrigin).cx;
    run.clear();
}

namespace {

// The centring indent of a line with style codes: measured on what shows, in the line's font.
int SpecialIndent(ui::DC& dc, const stFormatRecord& format, const std::string& text)
{
    if (format.cCentred != 1)
        return 0;
    FontScope scope(dc, FormatFont(dc, format));
    return CenterTextOffset(dc, VisibleText(text), 0) + kCenterShift;
}

}  // namespace

ui::DCSize PrintSpecial(ui::DC& dc, const stPageLineRecord& line, int x, int landscape, int y)
{
    const stFormatRecord& format = FormatOrDefault(line.pFormat);
    const int tabOrigin = x;
    const int start = x + SpecialIndent(dc, format, line.strText);
    int at = start;
    bool bold = false, italic = false, underline = false, strikeout = false;
    std::string run;
    const std::string& text = line.strText;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '~') {
            run += text[i];
            continue;
        }
        ProcessTextSegment(dc, at, y, run, format, tabOrigin, landscape, bold, italic,
                           underline, strikeout);
        if (++i >= text.size())
            break;
        switch (text[i]) {
        case 'B': bold = true; break;
        case 'b': bold = false; break;
        case 'U': underline = true; break;
        case 'u': underline = false; break;
        case 'I': italic = true; break;
        case 'i': italic = false; break;
        case 'S': strikeout = true; break;
        case 's': strikeout = false; break;
        default: break;
        }
    }
    ProcessTextSegment(dc, at, y, run, format, tabOrigin, landscape, bold, italic, underline,
                       strikeout);
    FontScope scope(dc, FormatFont(dc, format));
    return {at - start, dc.GetTextMetrics().height};
}

ui::DCSize PrintLine(ui::DC& dc, const stPageLineRecord& line, int x, int landscape, int y,
                     int* indent)
{
    if (DiagnosticLevel > 2)
        WriteDiagnosticFormat("PrintLine:%s\n", line.strText.c_str());
    if (line.strText.find('~') != std::string::npos) {
        if (indent)
            *indent = SpecialIndent(dc, FormatOrDefault(line.pFormat), line.strText);
        return PrintSpecial(dc, line, x, landscape, y);
    }
    const stFormatRecord& format = FormatOrDefault(line.pFormat);
    FontScope scope(dc, FormatFont(dc, format));
    const std::vector<int> stops = BuildTabStops(format.aTabStops, dc, landscape);
    const int shift = GetCenterIndent(dc, line);
    const ui::DCSize size = dc.TabbedTextOut(x + shift, y, line.strText, stops, x);
    if (indent)
        *indent = shift;
    return size;
}

int PrintPage(ui::PrinterDC& dc, const std::vector<stPageLineRecord>& lines,
              const stPageLineRecord& header, const stPrinterDef& printer,
              const stPageLayout& layout, int usableHeight, int top, int left, int landscape,
              int& pageNumber)
{
    const stFormatRecord numberFormat = PageNumberFormat(layout);
    for (;;) {
        dc.StartPage();
        int y = top;
        if (header.cKind == 'H') {
            PrintLine(dc, header, left, landscape, y);
            y += header.nHeight;
            stPageLineRecord blank = header;
            blank.strText = " ";
            PrintLine(dc, blank, left, landscape, y);
            y += header.nHeight;
        }
        for (const stPageLineRecord& line : lines) {
            PrintLine(dc, line, left, landscape, y);
            y += line.nHeight;
        }
        if (pageNumber > 0) {
            stPageLineRecord number;
            number.pFormat = &numberFormat;
            number.strText = Format("Page %i", pageNumber);
            const int h = GetLineHeight(dc, &numberFormat, number.strText, landscape);
            stPageLineRecord blank = number;
            blank.strText = " ";
            PrintLine(dc, blank, left, landscape, top + usableHeight - h);
            PrintLine(dc, number, left, landscape, top + usableHeight);
        }
        if (printer.nPauseMode == 1) {
            CDialogContinuePrint ask(nullptr);
            const int answer = ask.DoModal();
            if (answer == ui::IDIGNORE) {
                dc.EndPage();
                continue;
            }
            if (answer == ui::IDNO) {
                if (pageNumber > 0)
                    ++pageNumber;
                dc.EndPage();
                return 1;
            }
        } else if (printer.nWaitSeconds > 0) {
            host::Clock::Sleep(static_cast<uint32_t>(printer.nWaitSeconds) * 1000u);
        }
        if (pageNumber > 0)
            ++pageNumber;
        dc.EndPage();
        return 0;
    }
}

namespace {

// One copy being laid out: the page being built, an open protected block, the header.
struct CopyLayout {
    CopyLayout(ui::PrinterDC& dc_, const stPrinterDef& printer_, const stPageLayout& layout_,
               int usableHeight_, int top_, int left_, int landscape_)
        : dc(dc_), printer(printer_), layout(layout_), usableHeight(usableHeight_), top(top_),
          left(left_), landscape(landscape_)
    {
    }

    ui::PrinterDC& dc;
    const stPrinterDef& printer;
    const stPageLayout& layout;
    int usableHeight;
    int top;
    int left;
    int landscape;
    int pageNumber = 0;
    int numberReserve = 0;  // height kept free at the bottom for the page number

    std::vector<stPageLineRecord> page;
    int pageHeight = 0;
    std::vector<stPageLineRecord> block;
    int blockHeight = 0;
    bool blockOpen = false;
    stPageLineRecord header;
    int available = 0;
    bool aborted = false;

    void Print()
    {
        if (PrintPage(dc, page, header, printer, layout, usableHeight, top, left, landscape,
                      pageNumber) == 1)
            aborted = true;
        page.clear();
        pageHeight = 0;
    }
    // Prints the page first when what comes does not fit under what it holds.
    void MakeRoom(int height)
    {
        if (!page.empty() && pageHeight + height > available)
            Print();
    }
    void CloseBlock()
    {
        MakeRoom(blockHeight);
        for (stPageLineRecord& line : block) {
            pageHeight += line.nHeight;
            page.push_back(std::move(line));
        }
        block.clear();
        blockHeight = 0;
        blockOpen = false;
    }
};

stPageLineRecord PageLine(const stFmtString& record, int height)
{
    stPageLineRecord line;
    line.cKind = record.cKind;
    line.pFormat = record.pFormat;
    line.nHeight = height;
    line.strText = record.strText;
    return line;
}

}  // namespace

bool PrintCopy(const stPrinterDef& printer, const stPageLayout& layout, int firstPage)
{
    host::File file;
    if (!file.Open(kSpoolFileName, host::File::Access::ReadOnly,
                   host::File::Disposition::OpenExisting)) {
        GetResponse(Format("Cannot open the print file %s: %s", kSpoolFileName,
                           host::LastFileErrorText().c_str()));
        return false;
    }

    ui::PrinterDC dc;
    if (!dc.Open("")) {
        const std::string name = ui::PrinterDC::ResolvePrinterName("");
        GetResponse(Format("The printer \"%s\" is not available. Choose another printer in "
                           "the print setup.",
                           name.c_str()));
        return false;
    }
    // Landscape before the document starts; a printer that refuses prints in portrait.
    const int landscape = layout.nLandscape == 1 && dc.SetLandscape(true) ? 1 : 0;
    if (dc.StartDoc(kDocumentName) <= 0) {
        GetResponse(Format("Printing on \"%s\" could not be started. Nothing was printed.",
                           dc.GetPrinterName().c_str()));
        return false;
    }
    dc.SetTextAlign(ui::TA_LEFT | ui::TA_TOP);

    // The device capabilities already describe the page as turned.
    const int xpi = dc.GetDeviceCaps(ui::LOGPIXELSX);
    const int ypi = dc.GetDeviceCaps(ui::LOGPIXELSY);
    const int top = static_cast<int>(layout.fTopMargin * static_cast<float>(ypi));
    const int bottom = static_cast<int>(layout.fBottomMargin * static_cast<float>(ypi));
    const int left = static_cast<int>(layout.fLeftMargin * static_cast<float>(xpi));
    const int usable = dc.GetDeviceCaps(ui::VERTRES) - top - bottom;

    CopyLayout copy(dc, printer, layout, usable, top, left, landscape);
    copy.pageNumber = firstPage == -1 ? layout.nFirstPageNumber : firstPage;
    if (copy.pageNumber > 0) {
        const stFormatRecord numberFormat = PageNumberFormat(layout);
        copy.numberReserve = 2 * GetLineHeight(dc, &numberFormat, "Page 1", landscape);
    }
    copy.available = usable - copy.numberReserve;

    try {
        CPageLineArchive ar(file, CPageLineArchive::load);
        int h = 0;
        for (;;) {
            stFmtString record;
            ReadPageLineRecord(ar, record);
            const std::string& text = record.strText;
            if (text == kSpoolEndText)
                break;
            const bool marker = IsSpoolMarker(text);
            if (!marker) {
                if (record.strText.empty())
                    record.strText = " ";
                h = GetLineHeight(dc, record.pFormat, record.strText, landscape);
            }
            if (!marker && record.cKind == 'H') {
                if (copy.header.cKind == 'H')
                    copy.Print();
                copy.header = PageLine(record, h);
                copy.available = usable - 2 * h - copy.numberReserve;
            } else if (copy.blockOpen) {
                if (text == kBlockEndText) {
                    copy.CloseBlock();
                } else {
                    copy.block.push_back(PageLine(record, h));
                    copy.blockHeight += h;
                }
            } else if (text == kPageBreakText) {
                copy.Print();
            } else if (text == kBlockStartText) {
                copy.blockOpen = true;
            } else {
                copy.MakeRoom(h);
                copy.page.push_back(PageLine(record, h));
                copy.pageHeight += h;
            }
            if (copy.aborted)
                break;
        }
    } catch (const CArchiveException&) {
        dc.AbortDoc();
        GetResponse(Format("The print file %s is damaged or incomplete; printing was stopped.",
                           kSpoolFileName));
        return false;
    }
    file.Close();

    // A block the file left open still prints: its lines are never dropped.
    if (!copy.aborted && copy.blockOpen)
        copy.CloseBlock();
    if (!copy.aborted && !copy.page.empty())
        copy.Print();
    dc.EndDoc();
    return true;
}

void PrintPageLineFile(stPrinterDef& printer, const stPageLayout& layout, int ask)
{
    int copies = printer.nCopies;
    int firstPage = -1;
    if (copies < 1 || ask == 1) {
        CDialogPrintSetup setup(nullptr);
        setup.m_pPrinterDef = &printer;
        setup.m_nMode = 0;
        if (setup.DoModal() != ui::IDOK)
            return;
        copies = setup.m_nCopies;
        if (copies == 0)
            return;
        firstPage = setup.m_bPageNumbers == 1 ? setup.m_nStartPage : 0;
    }
    if (printer.sDevice != GetDefaultPrinter())
        SetDefaultPrinter(printer.sDevice);
    for (int i = 0; i < copies; ++i) {
        if (!PrintCopy(printer, layout, firstPage))
            break;
    }
}
