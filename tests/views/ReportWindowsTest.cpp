// The report windows: the report frame made through the reports' factory with its view (marks,
// edit, menus, printing of all or the marked lines), the rich-text viewer (find, tab stops,
// bold, save, print ranges, print-only, the save question) and the HTML frame.

#include <filesystem>

#include "ViewsFixture.h"

#include "common/HtmlOutput.h"
#include "platform/ui/Application.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/RtfDocument.h"
#include "reports/ReportFrame.h"
#include "reports/ReportsRTF.h"
#include "tests/support/TestFiles.h"
#include "views/FrameHtml.h"
#include "views/FrameReportView.h"
#include "views/FrameWndReport.h"
#include "views/ReportWindows.h"
#include "views/RtfViewer.h"
#include "views/ViewFrame.h"
#include "views/StudentView.h"
#include "views/ContactView.h"
#include "platform/host/Mail.h"

#include <gmock/gmock.h>

#include <unistd.h>

namespace {

constexpr int kPrintSetupDialog = 223;
constexpr int kPromptText = 1254;

// The main window: a frame that takes record windows, as the program's main frame does.
class MainStub : public ui::FrameWindow, public IViewFrame {
public:
    void ShowLineNumber(uint32_t) override {}
    void SetViewModeText(const std::string&) override {}
    void ReturnToMainView() override {}
    stPrinterDef& GetPrinterDef() override { return printer; }
    void AddRecordWindow(ui::Window* w) override { records.push_back(w); }
    void RemoveRecordWindow(ui::Window* w) override { std::erase(records, w); }
    stPrinterDef printer;
    std::vector<ui::Window*> records;
};

class ReportWindows : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        InstallReportWindows();
        ASSERT_TRUE(main_.CreateFrame("main", {0, 0, 640, 480}));
        main_.ShowWindow(true);
        ui::Application::Instance()->SetMainWindow(&main_);
        ReportViewDisplayed = 0;
        printer_.nCopies = 1;
        previous_ = std::filesystem::current_path();
        ASSERT_EQ(chdir(folder_.c_str()), 0);
    }
    void TearDown() override
    {
        // The test folder goes with the fixture: the working folder is put back first.
        if (!previous_.empty()) std::filesystem::current_path(previous_);
        ui::test::DeleteDestroyedWindows();
        ui::Application::Instance()->SetMainWindow(nullptr);
        ui::test::SetPrintRecorder(nullptr);
        ui::test::ClearCommonDialogHooks();
        ui::PrinterDC::SetDefaultPrinter("");
        ViewsTest::TearDown();
    }

    // A frame through the factory with `count` lines "L0".. in database format 2.
    CFrameWndReport* OpenFrame(int count)
    {
        IReportFrame* frame = NewReportFrame();
        EXPECT_NE(frame, nullptr);
        for (int i = 0; i < count; ++i)
            frame->GetLines().push_back(stFmtString{db_->GetFormat(2), '-', "L" + std::to_string(i)});
        frame->SetView(db_.get(), 0, 0, 1, &printer_);
        return dynamic_cast<CFrameWndReport*>(frame);
    }
    static void Mark(CFrameWndReport& f, int line, int command)
    {
        f.GetReportView().m_nHiLiteLine = line;
        f.SendCommand(command);
    }

    MainStub main_;
    stPrinterDef printer_;
    std::filesystem::path previous_;
    ui::PageModel model_;
};

TEST_F(ReportWindows, FrameFromTheFactoryHidesMainMarksAndGoesOnClose)
{
    CFrameWndReport* f = OpenFrame(12);
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(ReportViewDisplayed, 1);
    EXPECT_FALSE(main_.IsWindowVisible());
    EXPECT_TRUE(f->IsWindowVisible());
    EXPECT_EQ(f->GetWindowText(), "Report view");
    EXPECT_EQ(main_.records, (std::vector<ui::Window*>{f}));
    EXPECT_EQ(f->GetMenu().GetId(), CFrameWndReport::kMenuFrame);

    Mark(*f, 3, CFrameReportView::kCmdMark);
    EXPECT_EQ(f->GetMenu().GetId(), CFrameWndReport::kMenuMarked);
    Mark(*f, 9, CFrameReportView::kCmdMarkMarked);
    Mark(*f, 5, CFrameReportView::kCmdMarkMarked);
    CFrameReportView& v = f->GetReportView();
    EXPECT_EQ(v.m_nFirstMarked, 3);
    EXPECT_EQ(v.m_nLastMarked, 9);
    EXPECT_EQ(v.m_nMarkedCount, 7);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(v.GetMarks()[static_cast<size_t>(i)], i >= 3 && i <= 9 ? 'M' : 0) << i;
    f->SendCommand(CFrameReportView::kCmdUnmark);
    EXPECT_EQ(v.m_nMarkedCount, 0);
    EXPECT_EQ(f->GetMenu().GetId(), CFrameWndReport::kMenuFrame);

    // Edit keeps the format and kind.
    v.m_nHiLiteLine = 4;
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, kPromptText, "changed");
        ui::test::Click(d, ui::IDOK);
    });
    f->SendCommand(CFrameReportView::kCmdEdit);
    EXPECT_EQ(f->GetLines()[4].strText, "changed");
    EXPECT_EQ(f->GetLines()[4].cKind, '-');

    f->SendCommand(CFrameWndReport::kCmdExit);
    ui::test::DeleteDestroyedWindows();
    EXPECT_EQ(ReportViewDisplayed, 0);
    EXPECT_TRUE(main_.IsWindowVisible());
    EXPECT_TRUE(main_.records.empty());
}

TEST_F(ReportWindows, MarkerLinesShowSpelledOutButPrintAsThemselves)
{
    IReportFrame* frame = NewReportFrame();
    for (const char* t : {"^", "<", "<longer", ">", "text"}) frame->GetLines().push_back(stFmtString{nullptr, '-', t});
    frame->SetView(db_.get(), 0, 0, 1);
    CFrameReportView& v = dynamic_cast<CFrameWndReport*>(frame)->GetReportView();
    // (80 - length) / 2 fill characters on each side.
    const std::string dashes(35, '-'), dots(27, '.'), endDots(28, '.');
    const std::vector<std::string> shown = {dashes + "PAGE BREAK" + dashes, dots + "START PRINT BLOCK PROTECT" + dots,
                                            dots + "START PRINT BLOCK PROTECT" + dots,
                                            endDots + "END PRINT BLOCK PROTECT" + endDots, "text"};
    for (int i = 0; i < 5; ++i) {
        char mark = 0, status = 0;
        std::string text;
        v.GetLine(i, mark, status, text);
        EXPECT_EQ(text, shown[static_cast<size_t>(i)]);
        mark = 'P';
        v.GetLine(i, mark, status, text);
        EXPECT_EQ(text, frame->GetLines()[static_cast<size_t>(i)].strText);
    }
    char mark = 0, status = 0;
    std::string text = "x";
    v.GetLine(-1, mark, status, text);
    EXPECT_EQ(status, 'H');
    EXPECT_EQ(text, "");
    dynamic_cast<ui::Window*>(frame)->OnClose();
}

TEST_F(ReportWindows, MarkedLinesAloneGoToTheRecorder)
{
    CFrameWndReport* f = OpenFrame(12);
    Mark(*f, 3, CFrameReportView::kCmdMark);
    Mark(*f, 9, CFrameReportView::kCmdMarkMarked);
    ui::test::SetPrintRecorder(&model_);
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    f->SendCommand(CFrameReportView::kCmdPrintMarked);
    EXPECT_EQ(ui::test::GetHooks().dialogsRun, (std::vector<int>{kPrintSetupDialog}));
    ASSERT_EQ(model_.pages.size(), 1u);
    std::vector<std::string> lines = model_.pages[0].TextLines();
    // The (empty) header line and the blank line after it, then the marked lines.
    EXPECT_EQ(lines, (std::vector<std::string>{" ", " ", "L3", "L4", "L5", "L6", "L7", "L8", "L9"}));
    // All lines, and nothing marked after Unmark prints an empty document.
    model_.Clear();
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    f->SendCommand(CFrameReportView::kCmdPrint);
    ASSERT_FALSE(model_.pages.empty());
    EXPECT_EQ(model_.pages[0].TextLines().size(), 14u);
    f->OnClose();
}

TEST_F(ReportWindows, MarkedLinesToAPdfFile)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP();
    CFrameWndReport* f = OpenFrame(12);
    Mark(*f, 2, CFrameReportView::kCmdMark);
    Mark(*f, 4, CFrameReportView::kCmdMarkMarked);
    printer_.sDevice = ui::PrinterDC::kPdfPrinter;
    const std::string pdf = folder_ + "/marked.pdf";
    ui::test::GetHooks().scriptFileDialogs = true;
    ui::test::GetHooks().fileDialogAnswers = {pdf};
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    f->SendCommand(CFrameReportView::kCmdPrintMarked);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    ASSERT_EQ(std::system(("pdftotext " + pdf + " " + folder_ + "/marked.txt").c_str()), 0);
    const std::string text = dqtest::ReadBytes(folder_ + "/marked.txt");
    EXPECT_THAT(text, ::testing::HasSubstr("L2"));
    EXPECT_THAT(text, ::testing::HasSubstr("L4"));
    EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("L5")));
    f->OnClose();
}

TEST_F(ReportWindows, ReportSurvivesTheDatabaseFreeingItsFormats)
{
    CFrameWndReport* f = OpenFrame(5);
    EXPECT_NE(f->GetLines()[0].pFormat, db_->GetFormat(2));
    const std::string face = db_->GetFormat(2)->GetFace();
    db_->ClearFormat();  // a reset or a reload frees the records the report was built on
    db_->SetDefaultFormats();
    ui::test::RecordPaint(f->GetReportView());
    ui::test::SetPrintRecorder(&model_);
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    f->SendCommand(CFrameReportView::kCmdPrint);
    ASSERT_FALSE(model_.pages.empty());
    EXPECT_EQ(f->GetLines()[0].pFormat->GetFace(), face);
    // A confirmed font edit takes the database's record again.
    ListViewOperations().editFormat = [](CDatabase& db, uint32_t index, const std::string&) {
        db.GetFormat(index)->SetFace("Arial");
        return 1;
    };
    ASSERT_EQ(f->GetReportView().GetFormatCodes(), (std::vector<uint32_t>{2}));
    EXPECT_THAT(f->GetMenu().GetMenuItemText(CFrameReportView::kCmdFontFirst), ::testing::StartsWith("Font "));
    EXPECT_TRUE(f->QueryCommandState(CFrameReportView::kCmdFontFirst).IsEnabled());
    f->SendCommand(CFrameReportView::kCmdFontFirst);
    EXPECT_EQ(f->GetLines()[0].pFormat->GetFace(), "Arial");
    f->OnClose();
}

TEST_F(ReportWindows, StringListSetViewAndFontItemsAreBoundedBySixtyFiveCodes)
{
    IReportFrame* frame = NewReportFrame();
    std::vector<stFormatRecord> formats(70);
    for (size_t i = 0; i < formats.size(); ++i) {
        formats[i].nCode = static_cast<int32_t>(i);
        frame->GetLines().push_back(stFmtString{&formats[i], '-', "x"});
    }
    frame->SetView(db_.get(), 0, 0, 1, {"one", "two"}, 3);
    auto* f = dynamic_cast<CFrameWndReport*>(frame);
    formats.clear();
    EXPECT_EQ(f->GetLines().size(), 72u);
    EXPECT_EQ(f->GetLines()[71].strText, "two");
    EXPECT_EQ(f->GetReportView().GetFormatCodes().size(), CFrameWndReport::kMaxFontItems);
    EXPECT_TRUE(f->GetMenu().HasItem(CFrameReportView::kCmdFontFirst + 64));
    EXPECT_FALSE(f->GetMenu().HasItem(CFrameReportView::kCmdFontFirst + 65));
    ui::test::RecordPaint(f->GetReportView());
    f->OnClose();
}

TEST_F(ReportWindows, FrameGoneBeforeSetViewAndOnCloseNotice)
{
    auto* early = new CFrameWndReport();
    EXPECT_EQ(ReportViewDisplayed, 1);
    EXPECT_FALSE(main_.IsWindowVisible());
    delete early;
    EXPECT_EQ(ReportViewDisplayed, 0);
    EXPECT_TRUE(main_.IsWindowVisible());
    EXPECT_TRUE(main_.records.empty());

    OpenFrame(3);
    ASSERT_EQ(main_.records.size(), 1u);
    // The close-database notice closes the registered windows.
    std::vector<ui::Window*> windows = main_.records;
    for (ui::Window* w : windows) w->OnClose();
    ui::test::DeleteDestroyedWindows();
    EXPECT_EQ(ReportViewDisplayed, 0);
    EXPECT_TRUE(main_.IsWindowVisible());
}

// ---- Rich-text viewer -------------------------------------------------------------------------

class RtfViewer : public ReportWindows {
protected:
    void Frame(std::function<void(CRtfViewerFrame&)> script)
    {
        ui::test::GetHooks().frameScripts.push_back(
            [script](ui::Window& w) { script(dynamic_cast<CRtfViewerFrame&>(w)); });
    }
    std::string WriteReport(const std::vector<std::string>& lines)
    {
        stFormatRecord f;
        f.SetFace("Courier New");
        f.nSize = 100;
        dqtest::WriteBytes(folder_ + "/REPORT.RTF", CReportsRTF::BuildReport(f, lines));
        return "REPORT.RTF";
    }
};

TEST_F(RtfViewer, FindTabsBoldSaveAndReopen)
{
    const std::string file = WriteReport({"first\tline", "second line", "third"});
    const std::string original = dqtest::ReadBytes(folder_ + "/REPORT.RTF");
    const std::string saved = folder_ + "/saved.rtf";
    Frame([&](CRtfViewerFrame& v) {
        EXPECT_EQ(v.GetWindowText(), "Rich-Text Editor");
        EXPECT_TRUE(v.IsWindowVisible());
        EXPECT_EQ(v.GetMenu().GetId(), CRtfViewerFrame::kMenu);
        EXPECT_EQ(v.StatusText(), "Ln 1, Pos 1");
        v.SendCommand(CRtfViewerFrame::kCmdFind);
        ui::FindDialog& find = v.GetFindDialog();
        ASSERT_TRUE(find.IsOpen());
        ui::test::SetText(find, ui::FindDialog::kIdText, "second");
        ui::test::Click(find, ui::IDOK);
        EXPECT_EQ(v.StatusText(), "Ln 2, Pos 1:7");
        ui::test::SetText(find, ui::FindDialog::kIdText, "absent");
        ui::test::Click(find, ui::IDOK);
        // Tab stops for the selected paragraph; nonsense is refused.
        Script([](ui::Dialog& d) {
            ui::test::SetText(d, kPromptText, "1 2.5");
            ui::test::Click(d, ui::IDOK);
        });
        v.SendCommand(CRtfViewerFrame::kCmdTabStops);
        Script([](ui::Dialog& d) {
            ui::test::SetText(d, kPromptText, "2 1");
            ui::test::Click(d, ui::IDOK);
        });
        v.SendCommand(CRtfViewerFrame::kCmdTabStops);
        v.SendCommand(CRtfViewerFrame::kCmdBold);
        ui::test::GetHooks().scriptFileDialogs = true;
        ui::test::GetHooks().fileDialogAnswers = {saved};
        v.SendCommand(CRtfViewerFrame::kCmdSaveAs);
        v.SendCommand(CRtfViewerFrame::kCmdExit);
    });
    Answer({ui::IDOK, ui::IDOK});
    int result = -1;
    OpenRtfViewer(file, 10, 10, 500, 400, 0, 0, result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Text not found.", "Can't set tabs"}));
    // The report file itself was not written back.
    EXPECT_EQ(dqtest::ReadBytes(folder_ + "/REPORT.RTF"), original);

    ui::RtfDocument doc;
    ASSERT_TRUE(doc.Parse(dqtest::ReadBytes(saved)));
    ASSERT_GE(doc.paragraphs.size(), 3u);
    EXPECT_EQ(doc.paragraphs[0].Text(), "first\tline");
    EXPECT_EQ(doc.paragraphs[1].tabStops, (std::vector<int>{1440, 3600}));
    bool boldSecond = false;
    for (const ui::RtfRun& r : doc.paragraphs[1].runs)
        if (r.text.find("second") != std::string::npos) boldSecond = r.bold;
    EXPECT_TRUE(boldSecond);

    // Reopened, the saved file shows the same document.
    Frame([&](CRtfViewerFrame& v) {
        ui::RtfDocument again = v.Edit().GetDocument();
        EXPECT_EQ(again.PlainText(), doc.PlainText());
        EXPECT_EQ(again.paragraphs[1].tabStops, doc.paragraphs[1].tabStops);
        EXPECT_EQ(again.ToRtf(), doc.ToRtf());
        v.SendCommand(CRtfViewerFrame::kCmdExit);
    });
    OpenRtfViewer(saved, 10, 10, 500, 400, 0, 0, result);
}

TEST_F(RtfViewer, PlainTextFileShowsAsTextAndAsksToSaveWhenChanged)
{
    dqtest::WriteBytes(folder_ + "/notes.txt", "{not rich} text\r\n");
    Frame([&](CRtfViewerFrame& v) {
        EXPECT_EQ(v.Edit().GetPlainText(), "{not rich} text");
        v.Edit().SelectAll();
        v.SendCommand(CRtfViewerFrame::kCmdItalic);
        v.OnClose();
    });
    Answer({ui::IDNO});
    int result = 0;
    OpenRtfViewer(folder_ + "/notes.txt", 10, 10, 500, 400, 0, 1, result);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Save to file?"}));
    EXPECT_EQ(dqtest::ReadBytes(folder_ + "/notes.txt"), "{not rich} text\r\n");

    Frame([&](CRtfViewerFrame& v) {
        v.Edit().SelectAll();
        v.SendCommand(CRtfViewerFrame::kCmdUnderline);
        v.OnClose();
    });
    Answer({ui::IDYES});
    OpenRtfViewer(folder_ + "/notes.txt", 10, 10, 500, 400, 0, 1, result);
    ui::RtfDocument doc;
    EXPECT_TRUE(doc.Parse(dqtest::ReadBytes(folder_ + "/notes.txt")));
    EXPECT_EQ(doc.paragraphs[0].Text(), "{not rich} text");
    EXPECT_TRUE(doc.paragraphs[0].runs[0].underline);
}

TEST_F(RtfViewer, PrintOnlyShowsNoWindowAndUsesTheMargins)
{
    std::vector<std::string> lines;
    for (int i = 0; i < 150; ++i) lines.push_back("Line " + std::to_string(i));
    const std::string file = WriteReport(lines);
    ui::test::SetPrintRecorder(&model_);
    int result = -1;
    OpenRtfViewer(file, 0, 0, 100, 100, 1, 0, result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(ui::test::GetHooks().frameScripts.empty());
    ASSERT_GE(model_.pages.size(), 2u);
    const ui::RecordedPage& page = model_.pages[0];
    ASSERT_FALSE(page.texts.empty());
    // 1080 twips left, 1440 twips top, at the recorder's resolution.
    EXPECT_EQ(page.texts[0].x, 1080 * page.dpiX / 1440);
    EXPECT_GE(page.texts[0].y, 1440 * page.dpiY / 1440);
    EXPECT_EQ(page.TextLines()[0], "Line 0");
}

TEST_F(RtfViewer, PageRangeToAPdfFile)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP();
    std::vector<std::string> lines;
    for (int i = 0; i < 150; ++i) lines.push_back("Line " + std::to_string(i));
    const std::string file = WriteReport(lines);
    const std::string pdf = folder_ + "/range.pdf";
    ui::test::SetPrintSetupHook([](const ui::PrintSetup& initial) -> std::optional<ui::PrintSetup> {
        EXPECT_TRUE(initial.offerPages);
        ui::PrintSetup s = initial;
        s.printer = ui::PrinterDC::kPdfPrinter;
        s.range = ui::PrintSetup::PageRange;
        s.fromPage = 2;
        s.toPage = 2;
        return s;
    });
    Frame([&](CRtfViewerFrame& v) {
        ui::test::GetHooks().scriptFileDialogs = true;
        ui::test::GetHooks().fileDialogAnswers = {pdf};
        v.SendCommand(CRtfViewerFrame::kCmdPrint);
        v.SendCommand(CRtfViewerFrame::kCmdExit);
    });
    int result = 0;
    OpenRtfViewer(file, 0, 0, 600, 400, 0, 0, result);
    CRtfViewerFrame::KeptPrintSetup() = ui::PrintSetup{};
    CRtfViewerFrame::KeptPrintSetup().offerPages = true;
    CRtfViewerFrame::KeptPrintSetup().offerSelection = true;
    ASSERT_EQ(std::system(("pdftotext " + pdf + " " + folder_ + "/range.txt").c_str()), 0);
    const std::string text = dqtest::ReadBytes(folder_ + "/range.txt");
    EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("Line 0\n")));
    EXPECT_THAT(text, ::testing::Not(::testing::HasSubstr("Line 149")));
    EXPECT_THAT(text, ::testing::ContainsRegex("Line [1-9][0-9]"));
    EXPECT_EQ(text.find('\f'), text.rfind('\f'));  // one page
}

// ---- HTML frame -----------------------------------------------------------------------------

TEST_F(ReportWindows, HtmlPageWithoutCharsetShowsAsWindows1252AndGoesBack)
{
    auto writePage = [&](const std::string& name, const std::string& cell) {
        std::FILE* f = std::fopen((folder_ + "/" + name).c_str(), "wb");
        WriteHtmlHead(f, "T");
        std::fputs(("<TABLE><TR>" + FormatHtmlCell(cell) + "</TR></TABLE>\n").c_str(), f);
        WriteHtmlTail(f);
        std::fclose(f);
    };
    writePage("one.htm", "Caf\xE9 one");
    writePage("two.htm", "Second");
    auto* frame = new CFrameHtml();
    ASSERT_TRUE(frame->ShowHtml(folder_ + "/one.htm"));
    EXPECT_EQ(frame->GetWindowText(), "Html view");
    EXPECT_EQ(frame->GetMenu().GetId(), CFrameHtml::kMenu);
    EXPECT_THAT(frame->GetHtmlView().Browser().GetPageText(), ::testing::HasSubstr("Caf\xE9 one"));
    ASSERT_TRUE(frame->GetHtmlView().Navigate(folder_ + "/two.htm"));
    EXPECT_THAT(frame->GetHtmlView().Browser().GetPageText(), ::testing::HasSubstr("Second"));
    frame->SendCommand(CFrameHtml::kCmdBack);
    EXPECT_THAT(frame->GetHtmlView().Browser().GetPageText(), ::testing::HasSubstr("Caf\xE9 one"));
    frame->SendCommand(CFrameHtml::kCmdExit);
    ui::test::DeleteDestroyedWindows();
}

}  // namespace

// ---- E-mail from the person views ---------------------------------------------------------

namespace {

TEST_F(ReportWindows, StudentViewMailsTheChosenPersonsAsCopies)
{
    CPerson* ann = AddPerson("Able", "Ann");
    ann->m_sEmail = "ann@x.org";
    AddPerson("Nomail", "Ned");
    CPerson* bo = AddPerson("Bond", "Bo");
    bo->m_sEmail = "bo@x.org";
    const std::string sendmail = folder_ + "/sendmail";
    dqtest::WriteBytes(sendmail, "#!/bin/sh\ncat > \"" + folder_ + "/input\"\n");
    std::filesystem::permissions(sendmail, std::filesystem::perms::owner_all);
    host::SetMailProgram(sendmail);
    CStudentView view;
    view.SetLineViewDatabase(db_.get());
    Show(view);
    EXPECT_TRUE(frame_->QueryCommandState(CContactView::kCmdEmail).IsEnabled());
    Script([](ui::Dialog& d) {
        // Only the two persons with an address are offered.
        EXPECT_EQ(d.GetWindowText(), "Select one or persons");
        ui::test::ToggleItem(d, 1239, 0);
        ui::test::ToggleItem(d, 1239, 1);
        ui::test::Click(d, ui::IDOK);
    });
    Script([](ui::Dialog& d) {
        ui::test::SelectItem(d, 1237, 1);
        ui::test::Click(d, ui::IDOK);
    });
    Answer({ui::IDOK});
    view.OnCommand(CContactView::kCmdEmail, 0);
    host::SetMailProgram("");
    const std::string input = dqtest::ReadBytes(folder_ + "/input");
    EXPECT_THAT(input, ::testing::HasSubstr("Cc: \"Ann Able\" <ann@x.org>,\n \"Bo Bond\" <bo@x.org>\n"));
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{
                              "The email operation succeeded. If you clicked 'Send' the message was put in out box."}));
}

}  // namespace
