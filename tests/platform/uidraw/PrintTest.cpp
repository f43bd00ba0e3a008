// Printing through PrinterDC: recorded pages under the test hook, the printer list, and a real
// PDF file written where the (hooked) save dialog says.
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/RecordingDC.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace ui {
namespace {

class PrintRecording : public ::testing::Test {
protected:
    void SetUp() override { test::SetPrintRecorder(&model_); }
    void TearDown() override
    {
        test::SetPrintRecorder(nullptr);
        test::ClearCommonDialogHooks();
        PrinterDC::SetDefaultPrinter("");
    }
    PageModel model_;
};

// Prints lines of text one under the other, `perPage` to a page, in the way the print engine does.
void PrintLines(PrinterDC& dc, const std::vector<std::string>& lines, int perPage)
{
    ASSERT_GT(dc.StartDoc("Transaction log print job"), 0);
    dc.SelectFont({"Times New Roman", 100});
    const int left = dc.GetDeviceCaps(LOGPIXELSX);  // one inch
    int y = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i % perPage == 0) {
            if (i > 0)
                dc.EndPage();
            dc.StartPage();
            y = dc.GetDeviceCaps(LOGPIXELSY) / 2;
        }
        y += dc.TabbedTextOut(left, y, lines[i], {1440, 2880}, left).cy;
    }
    dc.EndPage();
    dc.EndDoc();
}

TEST_F(PrintRecording, TwoPageDocument)
{
    PrinterDC dc;
    ASSERT_TRUE(dc.Open("Office laser"));  // any name opens under the hook
    dc.SetCopies(2);
    PrintLines(dc, {"Name\tLessons\tBalance", "Adams\t4\t120.00", "Baker\t2\t0.00"}, 2);

    EXPECT_EQ(model_.document, "Transaction log print job");
    EXPECT_EQ(model_.printer, "Office laser");
    EXPECT_EQ(model_.copies, 2);
    EXPECT_EQ(model_.documentsStarted, 1);
    EXPECT_EQ(model_.documentsEnded, 1);
    ASSERT_EQ(model_.pages.size(), 2u);

    const RecordedPage& first = model_.pages[0];
    EXPECT_FALSE(first.landscape);
    EXPECT_EQ(first.width, kLetterWidthPx);
    EXPECT_EQ(first.TextLines(),
              (std::vector<std::string>{"Name Lessons Balance", "Adams 4 120.00"}));
    // Columns at the left margin plus the tab stops; lines one font height apart.
    const RecordedText* balance = first.Find("Balance");
    ASSERT_NE(balance, nullptr);
    EXPECT_EQ(balance->x, 720 + 2880);
    EXPECT_EQ(balance->y, 360);
    ASSERT_NE(first.Find("120.00"), nullptr);
    EXPECT_EQ(first.Find("120.00")->y, 460);
    EXPECT_EQ(first.Find("4")->x, 720 + 1440);

    const RecordedPage& second = model_.pages[1];
    EXPECT_EQ(second.TextLines(), (std::vector<std::string>{"Baker 2 0.00"}));
    EXPECT_EQ(second.Find("Baker")->y, 360);
}

TEST_F(PrintRecording, LandscapeSwapsThePage)
{
    PrinterDC dc;
    ASSERT_TRUE(dc.Open());
    ASSERT_TRUE(dc.SetLandscape(true));
    ASSERT_GT(dc.StartDoc("Grid print job"), 0);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), kLetterHeightPx);
    EXPECT_EQ(dc.GetDeviceCaps(VERTRES), kLetterWidthPx);
    dc.StartPage();
    EXPECT_FALSE(dc.SetLandscape(false)) << "orientation changes only between pages";
    dc.TextOut(0, 0, "Wide");
    dc.EndPage();
    ASSERT_TRUE(dc.SetLandscape(false));
    dc.StartPage();
    dc.EndPage();
    dc.EndDoc();
    ASSERT_EQ(model_.pages.size(), 2u);
    EXPECT_TRUE(model_.pages[0].landscape);
    EXPECT_EQ(model_.pages[0].width, kLetterHeightPx);
    EXPECT_EQ(model_.pages[0].height, kLetterWidthPx);
    EXPECT_FALSE(model_.pages[1].landscape);
    EXPECT_EQ(model_.pages[1].width, kLetterWidthPx);
}

TEST_F(PrintRecording, DocumentWithoutPagesAndCallsOutOfOrder)
{
    PrinterDC dc;
    EXPECT_LE(dc.StartDoc("not open"), 0);
    ASSERT_TRUE(dc.Open());
    EXPECT_LE(dc.StartPage(), 0) << "no document";
    ASSERT_GT(dc.StartDoc("empty"), 0);
    EXPECT_LE(dc.StartDoc("again"), 0);
    EXPECT_LE(dc.EndPage(), 0) << "no page";
    EXPECT_GT(dc.EndDoc(), 0);
    EXPECT_TRUE(model_.pages.empty());
    EXPECT_EQ(model_.documentsEnded, 1);
}

TEST_F(PrintRecording, DefaultPrinterIsTheProgramsOwn)
{
    const std::string system = PrinterDC::SystemDefaultPrinter();
    EXPECT_EQ(PrinterDC::ResolvePrinterName("DEFAULT"), system);
    PrinterDC::SetDefaultPrinter("Front desk");
    EXPECT_EQ(PrinterDC::ResolvePrinterName(""), "Front desk");
    EXPECT_EQ(PrinterDC::ResolvePrinterName("DEFAULT"), "Front desk");
    EXPECT_EQ(PrinterDC::ResolvePrinterName("Back office,winspool,Ne01:"), "Back office");
    EXPECT_EQ(PrinterDC::SystemDefaultPrinter(), system) << "the system's default is untouched";
    PrinterDC dc;
    ASSERT_TRUE(dc.Open("DEFAULT"));
    EXPECT_EQ(dc.GetPrinterName(), "Front desk");
}

TEST(PrinterList, PdfFileAlwaysPresent)
{
    const std::vector<std::string> printers = PrinterDC::ListPrinters();
    ASSERT_FALSE(printers.empty());
    EXPECT_EQ(printers.back(), "PDF file");
    EXPECT_EQ(std::count(printers.begin(), printers.end(), "PDF file"), 1);
    PrinterDC dc;
    EXPECT_FALSE(dc.Open("No such printer anywhere"));
    EXPECT_TRUE(dc.Open("PDF file"));
}

TEST(PdfPrinting, WritesWhereTheSaveDialogSays)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string target = dir.filePath("report.pdf").toStdString();
    std::string askedFolder;
    std::string askedName;
    test::SetFileDialogHook([&](const FileDialog& d) -> std::optional<std::string> {
        EXPECT_FALSE(d.IsOpen());
        askedFolder = d.GetInitialFolder();
        askedName = d.GetInitialFileName();
        return target;
    });
    PrinterDC dc;
    ASSERT_TRUE(dc.Open("PDF file"));
    ASSERT_GT(dc.StartDoc("Grid print job"), 0);
    EXPECT_GT(dc.GetDeviceCaps(LOGPIXELSX), 0);
    EXPECT_GT(dc.GetDeviceCaps(HORZRES), 0);
    for (int page = 0; page < 2; ++page) {
        ASSERT_GT(dc.StartPage(), 0);
        dc.SelectFont({"Times New Roman", 120});
        dc.TextOut(100, 100, page == 0 ? "First page" : "Second page");
        dc.MoveTo(100, 300);
        dc.LineTo(1000, 300);
        ASSERT_GT(dc.EndPage(), 0);
    }
    ASSERT_GT(dc.EndDoc(), 0);
    test::ClearCommonDialogHooks();

    EXPECT_EQ(askedName, "Grid print job.pdf");
    EXPECT_EQ(askedFolder, DocumentsFolder());
    QFile pdf(QString::fromStdString(target));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    const QByteArray bytes = pdf.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF"));
    EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                  bytes.count("/Type /Page "),
              2);
}

TEST(PdfPrinting, CancelledSaveDialogFailsStartDoc)
{
    test::SetFileDialogHook([](const FileDialog&) { return std::optional<std::string>(); });
    PrinterDC dc;
    ASSERT_TRUE(dc.Open("PDF file"));
    EXPECT_LE(dc.StartDoc("Grid print job"), 0);
    test::ClearCommonDialogHooks();
}

} // namespace
} // namespace ui
