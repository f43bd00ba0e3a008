// A spool file printed on "PDF file": the save dialog's answer is where the PDF goes, and its text
// (as pdftotext reads it) holds the lines on the pages they belong to.
#include "PrintTestSupport.h"

#include "reports/PageLinePrint.h"
#include "dialogs/PrinterChoice.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using PdfPrint = PrintTest;

// The PDF's text, one entry per page.
std::vector<std::string> PdfPages(const std::string& pdf)
{
    const std::string text = pdf + ".txt";
    const std::string command = "pdftotext -layout '" + pdf + "' '" + text + "'";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::ifstream in(text, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    std::vector<std::string> pages;
    std::string page;
    for (char c : all.str()) {
        if (c == '\f') {
            pages.push_back(page);
            page.clear();
        } else {
            page += c;
        }
    }
    if (page.find_first_not_of(" \r\n") != std::string::npos)
        pages.push_back(page);
    return pages;
}

bool Holds(const std::string& page, const std::string& text)
{
    return page.find(text) != std::string::npos;
}

TEST_F(PdfPrint, SpoolFileBecomesAPdfWithTheLinesOnTheirPages)
{
    ui::test::SetPrintRecorder(nullptr);
    const stFormatRecord heading = MakeFormat("Arial", 140);
    const stFormatRecord body = MakeFormat("Times New Roman", 110, 1.2f, {2.0});
    std::vector<stFmtString> lines = {
        {&heading, 'H', "Studio balance report"},
        {&body, '-', "Adams, Jane\t120.00"},
        {&body, '-', "Baker, Tom\t0.00"},
        {&body, '-', "^"},
        {&body, '-', "~BTotal~b due"},
    };
    for (int i = 1; i <= 20; ++i)
        lines.push_back({&body, '-', "Item " + std::to_string(i)});
    lines.push_back({&body, '-', "<"});
    for (int i = 1; i <= 40; ++i)
        lines.push_back({&body, '-', "Block line " + std::to_string(i)});
    lines.push_back({&body, '-', ">"});
    lines.push_back({&body, '-', "Closing line"});
    ASSERT_TRUE(WritePageLineFile(lines));

    const std::string target = folder_ + "/report.pdf";
    ui::test::SetFileDialogHook([&](const ui::FileDialog& d) -> std::optional<std::string> {
        EXPECT_FALSE(d.IsOpen());
        EXPECT_EQ(d.GetInitialFolder(), ui::DocumentsFolder());
        return target;
    });
    stPageLayout layout;
    layout.fLeftMargin = 1.0f;
    layout.fTopMargin = 0.75f;
    layout.fBottomMargin = 0.75f;
    layout.nFirstPageNumber = 1;
    layout.SetFormatFace("Times New Roman");
    layout.nFormatSize = 100;
    stPrinterDef printer;
    printer.nCopies = 1;
    printer.sDevice = ui::PrinterDC::kPdfPrinter;

    PrintPageLineFile(printer, layout, 0);

    const std::vector<std::string> pages = PdfPages(target);
    ASSERT_EQ(pages.size(), 3u);
    // Page 1: the header and the two lines before the page break, columns at the tab stop.
    EXPECT_TRUE(Holds(pages[0], "Studio balance report"));
    EXPECT_TRUE(Holds(pages[0], "Adams, Jane"));
    EXPECT_TRUE(Holds(pages[0], "120.00"));
    EXPECT_TRUE(Holds(pages[0], "Page 1"));
    EXPECT_FALSE(Holds(pages[0], "Total"));
    // Page 2: the styled line (codes not printed) and the items; the block does not fit under
    // them, so none of it is here.
    EXPECT_TRUE(Holds(pages[1], "Studio balance report"));
    EXPECT_TRUE(Holds(pages[1], "Total due"));
    EXPECT_FALSE(Holds(pages[1], "~B"));
    EXPECT_TRUE(Holds(pages[1], "Item 20"));
    EXPECT_FALSE(Holds(pages[1], "Block line"));
    EXPECT_TRUE(Holds(pages[1], "Page 2"));
    // Page 3: the block whole, then what follows it.
    EXPECT_TRUE(Holds(pages[2], "Studio balance report"));
    EXPECT_TRUE(Holds(pages[2], "Block line 1"));
    EXPECT_TRUE(Holds(pages[2], "Block line 40"));
    EXPECT_TRUE(Holds(pages[2], "Closing line"));
    EXPECT_TRUE(Holds(pages[2], "Page 3"));
}

}  // namespace
