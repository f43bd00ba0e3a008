#pragma once
// A drawing context on printer pages, with the Win32 sequence of calls:
//
//   ui::PrinterDC dc;
//   if (!dc.Open(name)) return;            // a name from ListPrinters; "" or "DEFAULT": the
//   dc.SetLandscape(true);                 //   program's own default printer
//   if (dc.StartDoc("Grid print job") <= 0) return;
//   dc.StartPage(); ...draw...; dc.EndPage();   // once per page
//   dc.EndDoc();
//
// Coordinates are device pixels of the printable area (GetDeviceCaps HORZRES, VERTRES,
// LOGPIXELSX, LOGPIXELSY), as with a Win32 printer DC in MM_TEXT mode. Pages go to a printer of
// the print system, or to "PDF file", which asks at StartDoc where to write through the save-file
// dialog, starting in the user's documents folder (cancel: StartDoc fails).
//
// The program keeps its own default printer (SetDefaultPrinter, from its settings); the print
// system's default printer is never changed.
//
// Test hook: while ui::test::SetPrintRecorder(model) is set, every printer (listed or not) opens,
// nothing is printed and nothing asked: the pages are recorded into the model through a
// RecordingDC device (its fixed font metrics; a US letter page at 720 pixels per inch, the whole
// page printable; landscape swaps width and height).

#include "platform/ui/DC.h"
#include "platform/ui/PageModel.h"

#include <memory>
#include <string>
#include <vector>

namespace ui {

class PrinterDC : public DC {
public:
    // The printer that writes PDF files; always listed.
    static constexpr const char* kPdfPrinter = "PDF file";

    PrinterDC();
    ~PrinterDC() override;  // ends an open document

    // Chooses the printer. A Win32 device string "name,driver,port" names printer "name".
    // False when no such printer exists.
    bool Open(const std::string& printerName = "");
    bool IsOpen() const;
    const std::string& GetPrinterName() const { return printer_; }

    // Orientation of the pages started from now on (the Win32 ResetDC with a changed device mode);
    // false when it cannot change (no printer open, or a page is open).
    bool SetLandscape(bool landscape);
    bool IsLandscape() const { return landscape_; }
    // Copies the print system makes of the document (at least 1); set before StartDoc.
    void SetCopies(int copies);
    int GetCopies() const { return copies_; }

    // Win32 results: above 0 on success, 0 or below on failure (no printer, PDF file cancelled,
    // pages out of order).
    int StartDoc(const std::string& documentName);
    int StartPage();
    int EndPage();
    int EndDoc();
    // Ends the document without finishing it (an unfinished PDF file is removed).
    int AbortDoc();

    // The print system's printers, then "PDF file".
    static std::vector<std::string> ListPrinters();
    // The print system's default printer, or "PDF file" when it has none.
    static std::string SystemDefaultPrinter();
    // The program's own default printer ("" until set: the system's default applies).
    static std::string GetDefaultPrinter();
    static void SetDefaultPrinter(const std::string& printerName);
    // The printer a name stands for: "" and "DEFAULT" give the program's default printer, a
    // device string its name part.
    static std::string ResolvePrinterName(const std::string& printerName);

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
    std::string printer_;
    bool open_ = false;
    bool landscape_ = false;
    int copies_ = 1;
};

namespace test {

// While set (not null), printing records into the model instead of printing.
// Clearing the recorder also puts its resolution back to the default.
void SetPrintRecorder(PageModel* model);
PageModel* GetPrintRecorder();
// Pixels per inch of the recorded pages (a letter page at that resolution); 0 the default.
void SetPrintRecorderResolution(int dpiX, int dpiY);

} // namespace test

} // namespace ui
