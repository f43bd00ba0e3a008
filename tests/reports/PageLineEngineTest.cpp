// The page-line print engine on the recording printer: page filling, headers, page numbers,
// protected blocks, style codes, tabs, centring, copies, the continue question, landscape, and
// what the user is told when printing cannot go on.
//
// Recorded pages: US letter at 720 pixels per inch; a 10-point line is 100 pixels high. The test
// layout has a left margin of 0.5" (360 px) and top and bottom margins of 5" (3600 px each),
// which leaves 720 px: seven body lines a page.
#include "PrintTestSupport.h"

#include "platform/host/Clock.h"
#include "platform/ui/RecordingDC.h"
#include "reports/PageLinePrint.h"
#include "dialogs/PrinterChoice.h"

#include <gtest/gtest.h>

namespace {

constexpr int kLeft = 360;
constexpr int kTop = 3600;
constexpr int kUsable = 720;
constexpr int kContinuePrintDialog = 224;
constexpr int kPrintSetupDialog = 223;

using Page = std::vector<std::string>;

const stFormatRecord& Body()
{
    static const stFormatRecord f = MakeFormat();
    return f;
}
const stFormatRecord& Heading()
{
    static const stFormatRecord f = MakeFormat("Arial");
    return f;
}
const stFormatRecord& Centred()
{
    static const stFormatRecord f = [] {
        stFormatRecord c = MakeFormat();
        c.cCentred = 1;
        return c;
    }();
    return f;
}
const stFormatRecord& OneTabStop()
{
    static const stFormatRecord f = MakeFormat("Times New Roman", 100, 1.0f, {1.0});
    return f;
}

stPageLayout SmallPage()
{
    stPageLayout l;
    l.fLeftMargin = 0.5f;
    l.fTopMargin = 5.0f;
    l.fBottomMargin = 5.0f;
    l.nFirstPageNumber = 0;
    l.nLandscape = 0;
    l.SetFormatFace("Times New Roman");
    l.nFormatSize = 100;
    l.fFormatSpacing = 1.0f;
    return l;
}

stPrinterDef OnePrinter()
{
    stPrinterDef p;
    p.nDefined = 1;
    p.nCopies = 1;
    p.sDevice = "DEFAULT";
    return p;
}

struct Rec {
    char kind;
    std::string text;
    const stFormatRecord* format = &Body();
};

Rec H(const std::string& text) { return {'H', text, &Heading()}; }

// Lines "<prefix>first" .. "<prefix>last" as ordinary records or as page texts.
std::vector<Rec> Lines(const std::string& prefix, int first, int last)
{
    std::vector<Rec> out;
    for (int i = first; i <= last; ++i)
        out.push_back({'-', prefix + std::to_string(i)});
    return out;
}
Page Texts(const std::string& prefix, int first, int last)
{
    Page out;
    for (int i = first; i <= last; ++i)
        out.push_back(prefix + std::to_string(i));
    return out;
}
template <typename T>
std::vector<T> Join(std::initializer_list<std::vector<T>> parts)
{
    std::vector<T> out;
    for (const auto& part : parts)
        out.insert(out.end(), part.begin(), part.end());
    return out;
}

// A recorded page's lines of text, blank lines left out.
Page PageText(const ui::RecordedPage& page)
{
    Page out;
    for (const std::string& line : page.TextLines())
        if (line.find_first_not_of(' ') != std::string::npos)
            out.push_back(line);
    return out;
}

void WriteSpool(const std::vector<Rec>& records)
{
    std::vector<stFmtString> lines;
    for (const Rec& r : records)
        lines.push_back({r.format, r.kind, r.text});
    ASSERT_TRUE(WritePageLineFile(lines));
}

struct EngineCase {
    const char* name;
    std::vector<Rec> records;
    std::vector<Page> pages;
    std::function<void(stPageLayout&, stPrinterDef&)> setup = nullptr;
    int ask = 0;
    std::vector<std::function<void(ui::Dialog&)>> scripts = {};
    int documents = 1;
    std::function<void(const ui::PageModel&)> check = nullptr;
};

void ContinueWith(ui::Dialog& d, int button) { EXPECT_TRUE(ui::test::Click(d, button)); }

void PrintTo(const EngineCase& c, std::ostream* os) { *os << c.name; }

const EngineCase kEngineCases[] = {
    {"OnlyTheEndRecord", {}, {}},
    {"PageBreakFirstPrintsAnEmptyPage",
     {H("Report"), {'-', "^"}, {'-', "A"}},
     {{"Report", "Page 1"}, {"Report", "A", "Page 2"}},
     [](stPageLayout& l, stPrinterDef&) { l.nFirstPageNumber = 1; }, 0, {}, 1,
     [](const ui::PageModel& m) {
         // Header, a blank line, then the body; the number on the bottom margin line.
         EXPECT_EQ(m.pages[1].Find("Report")->y, kTop);
         EXPECT_EQ(m.pages[1].Find("A")->y, kTop + 200);
         EXPECT_EQ(m.pages[1].Find("Page 2")->y, kTop + kUsable);
     }},
    {"TwoHeadersInARow",
     {H("First"), H("Second"), {'-', "b"}},
     {{"First"}, {"Second", "b"}}},
    {"LinesFillPagesAndHeadersRepeat",
     Join<Rec>({{H("Head")}, Lines("L", 1, 6)}),
     {Join<std::string>({{"Head"}, Texts("L", 1, 5)}), {"Head", "L6"}}},
    {"PageNumbersKeepTheirLineFree",
     Join<Rec>({{H("Head")}, Lines("L", 1, 4)}),
     {Join<std::string>({{"Head"}, Texts("L", 1, 3), {"Page 3"}}), {"Head", "L4", "Page 4"}},
     [](stPageLayout& l, stPrinterDef&) { l.nFirstPageNumber = 3; }},
    {"BlockMovesWholeToTheNextPage",
     Join<Rec>({Lines("L", 1, 5), {{'-', "<"}}, Lines("B", 1, 3), {{'-', ">"}}}),
     {Texts("L", 1, 5), Texts("B", 1, 3)}},
    {"BlockTallerThanAPageIsNotSplit",
     Join<Rec>({{{'-', "Before"}, {'-', "<"}}, Lines("B", 1, 9), {{'-', ">"}, {'-', "After"}}}),
     {{"Before"}, Texts("B", 1, 9), {"After"}}, nullptr, 0, {}, 1,
     [](const ui::PageModel& m) {
         EXPECT_EQ(m.pages[1].Find("B9")->y, kTop + 800) << "runs past the bottom margin";
     }},
    {"BlockTallerThanAPageAtTheStartLeavesNoBlankPage",
     Join<Rec>({{{'-', "<"}}, Lines("B", 1, 9), {{'-', ">"}}}),
     {Texts("B", 1, 9)}},
    {"BlockLeftOpenAtTheEndStillPrints",
     Join<Rec>({{{'-', "<"}}, Lines("B", 1, 2)}),
     {Texts("B", 1, 2)}},
    {"MarkerInsideABlockIsText",
     {{'-', "<"}, {'-', "x"}, {'-', "^"}, {'-', "y"}, {'-', ">"}},
     {{"x", "^", "y"}}, nullptr, 0, {}, 1,
     [](const ui::PageModel& m) {
         EXPECT_EQ(m.pages[0].Find("^")->y, kTop + 100);
         EXPECT_EQ(m.pages[0].Find("y")->y, kTop + 200) << "the marker takes the height before it";
     }},
    {"OrdinaryLineThatLooksLikeAMarker",
     {{'-', "a"}, {'-', "^ "}, {'-', "b"}},
     {{"a", "^ ", "b"}}},
    {"EmptyLineKeepsItsHeight",
     {{'-', "a"}, {'-', ""}, {'-', "b"}},
     {{"a", "b"}}, nullptr, 0, {}, 1,
     [](const ui::PageModel& m) { EXPECT_EQ(m.pages[0].Find("b")->y, kTop + 200); }},
    {"StyleCodes",
     {{'-', "~Bbold~b plain~x end"}, {'-', "~Iit~i~Uun~u~Sst~s tail~"}},
     {Page{"bold  plain  end", "it un st  tail"}}, nullptr, 0, {}, 1,
     [](const ui::PageModel& m) {
         const ui::RecordedPage& p = m.pages[0];
         ASSERT_NE(p.Find("bold"), nullptr);
         EXPECT_TRUE(p.Find("bold")->font.bold);
         EXPECT_EQ(p.Find("bold")->x, kLeft);
         EXPECT_FALSE(p.Find(" plain")->font.bold);
         EXPECT_EQ(p.Find(" plain")->x, kLeft + 175);  // b o l d: 50 + 50 + 25 + 50
         EXPECT_FALSE(p.Find(" end")->font.bold);
         EXPECT_TRUE(p.Find("it")->font.italic);
         EXPECT_FALSE(p.Find("it")->font.underline);
         EXPECT_TRUE(p.Find("un")->font.underline);
         EXPECT_FALSE(p.Find("un")->font.italic);
         EXPECT_TRUE(p.Find("st")->font.strikeout);
         EXPECT_FALSE(p.Find(" tail")->font.strikeout);
     }},
    {"CentredLines",
     {{'-', "Centre", &Centred()}, {'-', "~BCentre~b", &Centred()}},
     {Page{"Centre", "Centre"}}, nullptr, 0, {}, 1,
     [](const ui::PageModel& m) {
         // (6120 - 315) / 2 + 25 from the left margin; the codes do not shift a line.
         const int x = kLeft + (6120 - 315) / 2 + 25;
         ASSERT_EQ(m.pages[0].texts.size(), 2u);
         EXPECT_EQ(m.pages[0].texts[0].x, x);
         EXPECT_EQ(m.pages[0].texts[1].x, x);
     }},
    {"OneTabStopRepeats",
     {{'-', "a\tb\tc", &OneTabStop()}},
     {{"a b c"}}, nullptr, 0, {}, 1,
     [](const ui::PageModel& m) {
         EXPECT_EQ(m.pages[0].Find("a")->x, kLeft);
         EXPECT_EQ(m.pages[0].Find("b")->x, kLeft + 720);
         EXPECT_EQ(m.pages[0].Find("c")->x, kLeft + 1440);
     }},
    {"ThreeCopiesFromPage5",
     Lines("L", 1, 6),
     {Join<std::string>({Texts("L", 1, 5), {"Page 5"}}), {"L6", "Page 6"},
      Join<std::string>({Texts("L", 1, 5), {"Page 5"}}), {"L6", "Page 6"},
      Join<std::string>({Texts("L", 1, 5), {"Page 5"}}), {"L6", "Page 6"}},
     nullptr, 1,
     {[](ui::Dialog& d) {
         EXPECT_TRUE(ui::test::SetText(d, 1230, "3"));
         EXPECT_TRUE(ui::test::Click(d, 1332));
         EXPECT_TRUE(ui::test::SetText(d, 1333, "5"));
         EXPECT_TRUE(ui::test::Click(d, ui::IDOK));
     }},
     3},
    {"RepeatThenAbortAtTheContinueQuestion",
     Lines("L", 1, 15),
     {Texts("L", 1, 7), Texts("L", 1, 7), Texts("L", 8, 14)},
     [](stPageLayout&, stPrinterDef& p) { p.nPauseMode = 1; }, 0,
     {[](ui::Dialog& d) { ContinueWith(d, 1259); },  // repeat page 1
      [](ui::Dialog& d) { ContinueWith(d, ui::IDOK); },
      [](ui::Dialog& d) { ContinueWith(d, ui::IDCANCEL); }},  // abort after page 2
     1,
     [](const ui::PageModel& m) {
         EXPECT_EQ(m.documentsEnded, 1);
         EXPECT_EQ(ui::test::GetHooks().dialogsRun,
                   (std::vector<int>{kContinuePrintDialog, kContinuePrintDialog,
                                     kContinuePrintDialog}));
     }},
    {"Landscape",
     Join<Rec>({{{'-', "Centre", &Centred()}}, Lines("L", 1, 46)}),
     {Join<std::string>({{"Centre"}, Texts("L", 1, 45)}), {"L46"}},
     [](stPageLayout& l, stPrinterDef&) {
         l.nLandscape = 1;
         l.fTopMargin = 1.0f;
         l.fBottomMargin = 1.0f;
     },
     0, {}, 1,
     [](const ui::PageModel& m) {
         for (const ui::RecordedPage& p : m.pages) {
             EXPECT_TRUE(p.landscape);
             EXPECT_EQ(p.width, ui::kLetterHeightPx);
         }
         EXPECT_EQ(m.pages[0].Find("Centre")->x, kLeft + (7920 - 315) / 2 + 25);
         EXPECT_EQ(m.pages[0].Find("L45")->y, 720 + 4500);
     }},
};

class Engine : public PrintTest, public ::testing::WithParamInterface<EngineCase> {};

TEST_P(Engine, PrintsTheSpoolFile)
{
    const EngineCase& c = GetParam();
    WriteSpool(c.records);
    stPageLayout layout = SmallPage();
    stPrinterDef printer = OnePrinter();
    if (c.setup)
        c.setup(layout, printer);
    for (const auto& script : c.scripts)
        Script(script);

    PrintPageLineFile(printer, layout, c.ask);

    EXPECT_EQ(model_.document, "Transaction log print job");
    EXPECT_EQ(model_.documentsStarted, c.documents);
    EXPECT_EQ(model_.documentsEnded, c.documents);
    std::vector<Page> pages;
    for (const ui::RecordedPage& p : model_.pages)
        pages.push_back(PageText(p));
    EXPECT_EQ(pages, c.pages);
    if (c.check && pages == c.pages)
        c.check(model_);
}

INSTANTIATE_TEST_SUITE_P(Cases, Engine, ::testing::ValuesIn(kEngineCases),
                         [](const ::testing::TestParamInfo<EngineCase>& info) {
                             return std::string(info.param.name);
                         });

using EngineRun = PrintTest;

TEST_F(EngineRun, WaitsTheGivenSecondsAfterEachPage)
{
    WriteSpool(Lines("L", 1, 8));
    stPrinterDef printer = OnePrinter();
    printer.nWaitSeconds = 3;
    const uint64_t before = host::Clock::TickCount();
    PrintPageLineFile(printer, SmallPage(), 0);
    EXPECT_EQ(model_.pages.size(), 2u);
    // Two pages, three seconds each (the window layer's own short waits may add a little).
    EXPECT_GE(host::Clock::TickCount() - before, 6000u);
    EXPECT_LT(host::Clock::TickCount() - before, 7000u);
}

TEST_F(EngineRun, SetupCancelledOrNoCopiesPrintsNothing)
{
    WriteSpool(Lines("L", 1, 2));
    stPrinterDef printer = OnePrinter();
    printer.nCopies = 0;  // below 1: the setup is asked even with ask 0
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    PrintPageLineFile(printer, SmallPage(), 0);
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, 1230, "0");
        ui::test::Click(d, ui::IDOK);
    });
    PrintPageLineFile(printer, SmallPage(), 1);
    EXPECT_EQ(Hooks().dialogsRun, (std::vector<int>{kPrintSetupDialog, kPrintSetupDialog}));
    EXPECT_EQ(model_.documentsStarted, 0);
}

TEST_F(EngineRun, ChosenPrinterBecomesTheProgramsDefault)
{
    WriteSpool(Lines("L", 1, 1));
    stPrinterDef printer = OnePrinter();
    printer.sDevice = ui::PrinterDC::kPdfPrinter;
    PrintPageLineFile(printer, SmallPage(), 0);
    EXPECT_EQ(GetDefaultPrinter(), "PDF file");
    EXPECT_EQ(model_.printer, "PDF file");
    // "DEFAULT" keeps the default as it is.
    printer.sDevice = "DEFAULT";
    PrintPageLineFile(printer, SmallPage(), 0);
    EXPECT_EQ(GetDefaultPrinter(), "PDF file");
    EXPECT_EQ(model_.documentsStarted, 2);
}

TEST_F(EngineRun, MissingOrDamagedSpoolIsReported)
{
    stPrinterDef printer = OnePrinter();
    Hooks().messageBoxAnswers = {ui::IDOK, ui::IDOK};
    PrintPageLineFile(printer, SmallPage(), 0);
    EXPECT_EQ(model_.documentsStarted, 0);

    WriteSpool(Lines("L", 1, 3));
    const std::string bytes = ReadSpoolBytes();
    WriteSpoolBytes(bytes.substr(0, bytes.size() - 10));  // the end record cut short
    PrintPageLineFile(printer, SmallPage(), 0);
    EXPECT_TRUE(model_.aborted);

    ASSERT_EQ(Hooks().messageBoxTexts.size(), 2u);
    EXPECT_EQ(Hooks().messageBoxTexts[0].rfind("Cannot open the print file PRNTFILE.PRN", 0), 0u);
    EXPECT_EQ(Hooks().messageBoxTexts[1],
              "The print file PRNTFILE.PRN is damaged or incomplete; printing was stopped.");
}

TEST_F(EngineRun, NoPrinterIsReported)
{
    ui::test::SetPrintRecorder(nullptr);
    WriteSpool(Lines("L", 1, 1));
    stPrinterDef printer = OnePrinter();
    printer.nCopies = 2;
    printer.sDevice = "Printer that is gone";
    Hooks().messageBoxAnswers = {ui::IDOK};  // told once, not once per copy
    PrintPageLineFile(printer, SmallPage(), 0);
    ASSERT_EQ(Hooks().messageBoxTexts.size(), 1u);
    EXPECT_EQ(Hooks().messageBoxTexts[0],
              "The printer \"Printer that is gone\" is not available. Choose another printer in "
              "the print setup.");
}

TEST_F(EngineRun, DocumentThatDoesNotStartIsReported)
{
    ui::test::SetPrintRecorder(nullptr);
    WriteSpool(Lines("L", 1, 1));
    stPrinterDef printer = OnePrinter();
    printer.sDevice = ui::PrinterDC::kPdfPrinter;
    Hooks().scriptFileDialogs = true;
    Hooks().fileDialogAnswers = {""};  // the save dialog cancelled
    Hooks().messageBoxAnswers = {ui::IDOK};
    PrintPageLineFile(printer, SmallPage(), 0);
    ASSERT_EQ(Hooks().messageBoxTexts.size(), 1u);
    EXPECT_EQ(Hooks().messageBoxTexts[0],
              "Printing on \"PDF file\" could not be started. Nothing was printed.");
}

}  // namespace
