// The weekly report over a studio saved through the road and read back: the file written (byte for
// byte, in any locale) and read back, the weekly summary, the e-mail to the head office, and the
// composite report merged from several studios' files; the reader on damaged and odd files.

#include "tests/studio/StudioFixture.h"
#include "tests/reports/FakeMailPrograms.h"
#include "tests/reports/ReportFrameCapture.h"

#include <clocale>
#include <cstdlib>
#include <fstream>
#include <algorithm>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

#include "dialogs/DialogMenu.h"
#include "dialogs/DialogReportDates.h"
#include "platform/host/File.h"
#include "platform/host/Mail.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/PrinterDC.h"
#include "reports/ReportFrame.h"
#include "reports/Reports.h"
#include "reports/WeeklyReportReader.h"
#include "views/FrameReportView.h"
#include "views/FrameWndReport.h"
#include "views/ReportWindows.h"
#include "widgets/CommandGuards.h"

namespace {

const char* const kFileName = "01-05-2007_A1[My_Studio].rpt";

struct stWeeklyCodes {
    uint32_t privateType = NO_CODE, groupType = NO_CODE, shoes = NO_CODE, flyers = NO_CODE, standard = NO_CODE;
    uint32_t ann = NO_CODE, sue = NO_CODE, carl = NO_CODE, dora = NO_CODE;
};

// Lines of a file with CR LF ends.
std::string CrLf(const std::vector<std::string>& lines)
{
    std::string bytes;
    for (const std::string& line : lines) bytes += line + "\r\n";
    return bytes;
}

class WeeklyReport : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        char cwd[4096];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previous_ = cwd;
        work_ = folder_ + "/work";
        std::filesystem::create_directory(work_);
        ASSERT_EQ(chdir(work_.c_str()), 0);
        // Saturday 6 January 2007: the week from Friday 5 January.
        FixClock(2007, 1, 6, 10, 0);
        DatabaseOpen = 1;
        UserAccessLevel = 9;
        capture_.Install();
        CReports::s_fnPrintSetup = [this] { return &printer_; };
        BuildWeeklyStudio();
        Reopen();
        SetStudio("My Studio", "A1");
        db_->m_Parameters.SetInt(param::kStartDayOfWeek, 6);
        db_->m_Parameters.SetInt(param::kActivityUnitMinutes, 15);
    }
    void TearDown() override
    {
        CloseFrames();
        host::ClearInjectedFileErrors();
        host::SetMailProgram("");
        CReports::s_fnPrintSetup = nullptr;
        DatabaseOpen = 0;
        UserAccessLevel = 0;
        EXPECT_EQ(chdir(previous_.c_str()), 0);
        StudioTest::TearDown();
    }
    void SetStudio(const std::string& name, const std::string& code)
    {
        stStudioStrings& s = db_->GetStudioStrings();
        s.sStudioName = name;
        s.sStudioCode = code;
        s.sCity = "Springfield";
        s.sState = "IL";
        s.sReportEmail = "office@example.org";
    }
    void CloseFrames() { capture_.Close(); }

    uint32_t AddEmployee(const std::string& first, const std::string& last, uint32_t supervisor)
    {
        CPerson p('E');
        p.m_sFirstName = first;
        p.m_sLastName = last;
        p.m_nCode28 = supervisor;
        return Save(TABLE_PERSON, p);
    }
    static std::unique_ptr<CInterview> Interview(char kind, DATE date, uint32_t teacher, uint32_t supervisor,
                                                 int first, uint32_t source, uint32_t contract)
    {
        auto i = std::make_unique<CInterview>();
        i->m_cKind = kind;
        i->m_dDate = date;
        i->m_nField4 = teacher;
        i->m_nField5 = supervisor;
        i->m_nField8 = first;
        i->m_nDueTo = source;
        i->m_nField9 = contract;
        return i;
    }
    uint32_t AddPayment(char type, DATE date, double amount, uint32_t person, uint32_t takenBy, uint32_t category)
    {
        CPaymentRecord p;
        p.m_cType = type;
        p.m_cReceived = 'R';
        p.m_dDate = date;
        p.m_dAmount = amount;
        p.m_nPerson = person;
        p.m_nField16 = takenBy;
        p.m_nField12 = category;
        p.m_sName = "Payer";
        return Save(TABLE_PAYMENT, p);
    }

    // A week of business from Friday 5 January 2007: categories of every kind, Ann teaching
    // under Sue, interviews, sales, a cancellation, refunds, payments, lessons and a class.
    void BuildWeeklyStudio()
    {
        stWeeklyCodes& c = codes_;
        c.privateType = AddCategory('B', "private lesson");
        c.groupType = AddCategory('B', "group class");
        c.shoes = AddCategory('m', "shoes");
        c.flyers = AddCategory('I', "flyers");
        c.standard = AddCategory('C', "standard");
        AddCategory('T', "sales tax");
        AddCategory('A', "Checking");
        AddCategory('R', "Studio A");
        AddCategory('P', "Bronze");
        AddCategory('D', "Ballroom");
        c.sue = AddEmployee("Sue", "Boss", NO_CODE);
        c.ann = AddEmployee("Ann", "Teach", c.sue);

        CPerson carl('C');
        carl.m_sFirstName = "Carl";
        carl.m_sLastName = "Student";
        carl.m_nTeacher = c.ann;
        carl.m_nCode28 = c.sue;
        carl.m_nReferredBy = c.flyers;
        carl.m_Interviews.push_back(Interview('V', D(2007, 1, 6, 10, 0), c.ann, c.sue, 1, c.flyers, c.standard));
        carl.m_Interviews.push_back(Interview('P', D(2007, 1, 8, 9, 0), c.ann, c.sue, 0, c.flyers, c.standard));
        c.carl = Save(TABLE_PERSON, carl);
        CPerson dora('C');
        dora.m_sFirstName = "Dora";
        dora.m_sLastName = "Dancer";
        dora.m_Interviews.push_back(Interview('V', D(2007, 1, 9, 18, 0), c.ann, c.sue, 0, NO_CODE, NO_CODE));
        c.dora = Save(TABLE_PERSON, dora);
        CPerson guest('C');
        guest.m_sFirstName = "Gus";
        guest.m_sLastName = "Guest";
        guest.m_cStatus = 'G';
        guest.m_nTeacher = c.ann;
        guest.m_nCode28 = c.sue;
        Save(TABLE_PERSON, guest);

        CPurchaseRecord privates;
        privates.m_nPerson = c.carl;
        privates.m_sDescription = "Ten privates";
        privates.m_dDate = D(2007, 1, 6, 11, 0);
        privates.m_dStartDate = D(2007, 1, 6);
        privates.m_nField12 = c.standard;
        privates.m_nField14 = c.ann;
        privates.m_nField16 = c.sue;
        auto item = Item("Ten privates", 'N', 10, 480.0, c.privateType, 45);
        item->m_Tokens.push_back(Token('U', D(2007, 1, 7, 10, 0), c.ann, NO_CODE, 'p', 45));
        item->m_Tokens.push_back(Token('U', D(2007, 1, 9, 10, 0), c.ann, NO_CODE, 'p', 45));
        item->m_Tokens.push_back(Token('S', D(2007, 1, 15, 10, 0), c.ann, NO_CODE, 'p', 45));
        privates.m_Items.push_back(std::move(item));
        privates.m_Payments.push_back(Scheduled('R', D(2007, 1, 6, 11, 0), 100.0));
        privates.m_Payments.push_back(Scheduled('F', D(2007, 1, 8, 12, 0), 20.0));
        Save(TABLE_PURCHASE, privates);

        CPurchaseRecord shoes;
        shoes.m_nPerson = c.dora;
        shoes.m_sDescription = "Dance shoes";
        shoes.m_dDate = D(2007, 1, 9, 18, 30);
        shoes.m_nField14 = c.ann;
        shoes.m_Items.push_back(Item("Dance shoes", 0, 1, 60.0, c.shoes, 0));
        shoes.m_Payments.push_back(Scheduled('R', D(2007, 1, 9, 18, 30), 60.0));
        Save(TABLE_PURCHASE, shoes);

        CPurchaseRecord cancelled;
        cancelled.m_nPerson = c.carl;
        cancelled.m_nStatus = CPurchaseRecord::STATUS_CANCELLED;
        cancelled.m_sDescription = "Group block";
        cancelled.m_dDate = D(2007, 1, 2, 12, 0);
        cancelled.m_nField12 = c.standard;
        cancelled.m_nField14 = c.ann;
        cancelled.m_nField16 = c.sue;
        cancelled.m_Items.push_back(Item("Four group classes", 'N', 4, 200.0, c.groupType, 60));
        Save(TABLE_PURCHASE, cancelled);

        AddPayment('R', D(2007, 1, 8, 14, 0), 30.5, c.carl, c.ann, NO_CODE);
        AddPayment('q', D(2007, 1, 9, 15, 0), 12.0, c.dora, c.ann, NO_CODE);
        AddPayment('P', D(2007, 1, 7, 9, 0), 50.0, NO_CODE, NO_CODE, c.flyers);

        CPriceListItem salsa;
        salsa.m_cKind = 's';
        salsa.m_sName = "Group salsa";
        salsa.m_nTeacher = c.ann;
        salsa.m_nBasicType = c.groupType;
        salsa.m_nDuration = 60;
        salsa.m_Dates = {D(2007, 1, 10, 19, 0), D(2007, 1, 20, 19, 0)};
        Save(TABLE_PRICELIST, salsa);
    }

    // The report dates dialog: the week it offers, taken as it is (or cancelled).
    void AnswerDates(bool ok = true)
    {
        ui::test::GetHooks().dialogScripts.push_back([ok](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Report dates");
            ui::test::Click(d, ok ? 1000 : ui::IDCANCEL);
        });
    }
    std::vector<std::string> Lines(size_t frame = 0) const { return capture_.Lines(frame); }
    std::vector<std::string> Boxes() const { return ui::test::GetHooks().messageBoxTexts; }
    std::string WorkFile(const std::string& name) const { return work_ + "/" + name; }
    // Runs the summary command on the fixture week.
    void WriteSummary()
    {
        AnswerDates();
        CReports(db_.get()).WriteWeeklyReportFile(1);
    }

    stWeeklyCodes codes_;
    stPrinterDef printer_;
    CReportFrameCapture capture_;
    std::vector<CFrameWndReport*>& frames_ = capture_.frames;
    std::string previous_;
    std::string work_;
};

// The fixture week's file as the program writes it.
const std::vector<std::string> kGoldenFile = {
    "My Studio",
    "A1",
    "Springfield, IL",
    "01/05/2007",
    "01/12/2007",
    "1",
    "5",
    "1|1|100.000000",
    "2|0|0.000000",
    "3|1|60.000000",
    "4294967293|0|0.000000",
    "4294967294|1|30.500000",
    "5",
    "1|1|20.000000",
    "2|0|0.000000",
    "3|0|0.000000",
    "4294967293|0|0.000000",
    "4294967294|1|12.000000",
    "2",
    "4|1|1|1|50.000000",
    "4294967294|0|0|4|0.000000",
    "2",
    "5|1|1|480.000000|0.000000",
    "4294967294|1|1|60.000000|0.000000",
    "2",
    "5|0|1|200.000000|20.000000",
    "4294967294|0|0|0.000000|0.000000",
    "1",
    "3|0|0.000000",
    "1",
    "3|0|0.000000",
    "2",
    "1|10|450|2|90|0|0",
    "2|0|0|0|0|4|240",
    "PERSON_SUMMARY|2|My Studio",
    "1|0|0|0.000000|0|0.000000|0|0|0.000000|0|0.000000|0|0.000000|0|0.000000|0|0.000000|0|0.000000|0|0.000000|0|0.000000|0|Boss, Sue",
    "2",
    "1|0|0|0|0|0|0|stActivityHourTotal",
    "2|0|0|0|0|0|0|stActivityHourTotal",
    "2|1|0|0.000000|0|0.000000|2|0|0.000000|0|0.000000|3|740.000000|1|200.000000|0|0.000000|0|0.000000|1|30.500000|1|12.000000|1|Teach, Ann",
    "2",
    "1|10|450|2|90|0|0|stActivityHourTotal",
    "2|0|0|2|120|0|0|stActivityHourTotal",
    "PERSON_SUMMARY|1|My Studio",
    "1|1|0|0.000000|0|0.000000|2|0|0.000000|0|0.000000|2|680.000000|1|200.000000|0|0.000000|0|0.000000|0|0.000000|0|0.000000|1|Boss, Sue",
    "2",
    "1|10|450|0|0|0|0|stActivityHourTotal",
    "2|0|0|0|0|0|0|stActivityHourTotal",
};

// Its weekly summary: "slot kind text".
const std::vector<std::string> kGoldenSummary = {
    "31 H Summary report My Studio",
    "30 - ",
    "30 - Code: A1\tLocation: Springfield, IL",
    "30 - Week: 1\tStart: 01/05/2007\tEnd: 01/12/2007",
    "30 _ ",
    "31 _ Section 2 - Weekly transaction summary",
    "30 _ ",
    "30 _ Category\tIncome\tRefunds",
    "30 _ Dance items\t  100.00\t   20.00",
    "30 _ Merchandise\t   60.00\t    0.00",
    "30 _ Other\t   30.50\t   12.00",
    "30 _ ",
    "31 _ Section 3 - Sources of new contacts",
    "30 _ ",
    "30 _ Category\tFirst calls\tFirst visits\tNew students\tAmount spent",
    "30 _ Flyers\t1\t1\t1\t50.00",
    "30 _ Other\t0\t0\t4\t0.00",
    "30 _ ",
    "31 _ Section 4 - Enrollment activity",
    "30 _ ",
    "30 _ Type\tNumber of\tNumber of\tValue of\tNumber cancelled\tValue cancelled\tActual",
    "30 _   \tinterviews\tcontracts\tcontracts\tor converted\tor converted\trefunds",
    "30 _ Standard\t1\t1\t480.00\t1\t200.00\t20.00",
    "30 _ Other\t1\t1\t60.00\t0\t0.00\t0.00",
    "30 _ ",
    "31 _ Section 5 - Weekly merchandise sale summary",
    "30 _ ",
    "30 _ Category\tNumber\tIncome\tNumber\tRefunds",
    "30 _ Shoes\t0\t0.00\t0\t0.00",
    "30 _ ",
    "31 _ Section 6 - Weekly activity summary",
    "30 _ ",
    "30 _ Category\tEnrolled\tEnrolled\tUsed\tUsed\tCancelled\tCancelled",
    "30 _         \tNumber\tUnits\tNumber\tUnits\tNumber\tUnits",
    "30 _ Private lesson\t10\t30\t2\t6\t0\t0",
    "30 _ Group class\t0\t0\t0\t0\t4\t16",
    "30 _ ",
    "31 _ Section 7 - Weekly teacher activity summary",
    "30 _ ",
    "30 _ Sue Boss\tNumber\tNumber of sales\tTotal value\tCancel/refunds\tCancel/refund value",
    "30 _ First interviews\t0\t0\t0.00\t0\t0.00",
    "30 _ Later interviews\t0\t0\t0.00\t0\t0.00",
    "30 _ Total dance sales\t----\t0\t0.00\t0\t0.00",
    "30 _ Merchandise sales\t----\t0\t0.00\t0\t0.00",
    "30 _ Other sales\t----\t0\t0.00\t0\t0.00",
    "30 _ Guests\t0",
    "30 _ Category\tEnrolled (units)\tTaught (Units)\tCancelled (Units)",
    "30 _ private lesson\t0 (0)\t0 (0)\t0 (0)",
    "30 _ group class\t0 (0)\t0 (0)\t0 (0)",
    "30 _ ",
    "30 _ Ann Teach\tNumber\tNumber of sales\tTotal value\tCancel/refunds\tCancel/refund value",
    "30 _ First interviews\t1\t0\t0.00\t0\t0.00",
    "30 _ Later interviews\t2\t0\t0.00\t0\t0.00",
    "30 _ Total dance sales\t----\t3\t740.00\t1\t200.00",
    "30 _ Merchandise sales\t----\t0\t0.00\t0\t0.00",
    "30 _ Other sales\t----\t1\t30.50\t1\t12.00",
    "30 _ Guests\t1",
    "30 _ Category\tEnrolled (units)\tTaught (Units)\tCancelled (Units)",
    "30 _ private lesson\t10 (30)\t2 (6)\t0 (0)",
    "30 _ group class\t0 (0)\t2 (8)\t0 (0)",
    "30 _ ",
    "30 _ ",
    "31 _ Section 8 - Weekly supervisor activity summary",
    "30 _ ",
    "30 _ Sue Boss\tNumber\tNumber of sales\tTotal value\tCancel/refunds\tCancel/refund value",
    "30 _ First interviews\t1\t0\t0.00\t0\t0.00",
    "30 _ Later interviews\t2\t0\t0.00\t0\t0.00",
    "30 _ Total dance sales\t----\t2\t680.00\t1\t200.00",
    "30 _ Merchandise sales\t----\t0\t0.00\t0\t0.00",
    "30 _ Other sales\t----\t0\t0.00\t0\t0.00",
    "30 _ Guests\t1",
    "30 _ Category\tEnrolled (units)\tTaught (Units)\tCancelled (Units)",
    "30 _ private lesson\t10 (30)\t0 (0)\t0 (0)",
    "30 _ group class\t0 (0)\t0 (0)\t0 (0)",
    "30 _ ",
};

// Restores the process locale when the test ends.
struct LocaleGuard {
    std::string saved = std::setlocale(LC_ALL, nullptr);
    ~LocaleGuard() { std::setlocale(LC_ALL, saved.c_str()); }
};

// Through the command, the fixture week gives the golden file and summary; under a locale with a
// decimal comma the bytes stay the same.
TEST_F(WeeklyReport, WritesTheGoldenFileAndSummaryInAnyLocale)
{
    LocaleGuard guard;
    for (const char* locale : {"C", "de_DE.UTF-8"}) {
        SCOPED_TRACE(locale);
        if (!std::setlocale(LC_ALL, locale)) continue;
        std::filesystem::remove(WorkFile(kFileName));
        WriteSummary();
        EXPECT_EQ(dqtest::ReadBytes(WorkFile(kFileName)), CrLf(kGoldenFile));
        ASSERT_EQ(frames_.size(), 1u);
        EXPECT_EQ(ReportViewDisplayed, 1);
        EXPECT_EQ(Lines(), kGoldenSummary);
        EXPECT_TRUE(Boxes().empty());
        CloseFrames();
    }
}

// The summary printed from its frame to "PDF file", read back as text.
TEST_F(WeeklyReport, SummaryPrintsToAPdfFile)
{
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP();
    printer_.sDevice = ui::PrinterDC::kPdfPrinter;
    printer_.nCopies = 1;
    WriteSummary();
    ASSERT_EQ(frames_.size(), 1u);
    const std::string pdf = WorkFile("summary.pdf");
    ui::test::GetHooks().scriptFileDialogs = true;
    ui::test::GetHooks().fileDialogAnswers = {pdf};
    ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
    frames_[0]->SendCommand(CFrameReportView::kCmdPrint);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    ASSERT_EQ(std::system(("pdftotext -layout '" + pdf + "' '" + WorkFile("summary.txt") + "'").c_str()), 0);
    const std::string text = dqtest::ReadBytes(WorkFile("summary.txt"));
    for (const char* part :
         {"Summary report My Studio", "Section 2 - Weekly transaction summary", "Section 3 - Sources of new contacts",
          "Section 4 - Enrollment activity", "Section 5 - Weekly merchandise sale summary",
          "Section 6 - Weekly activity summary", "Section 7 - Weekly teacher activity summary",
          "Section 8 - Weekly supervisor activity summary", "740.00"})
        EXPECT_NE(text.find(part), std::string::npos) << part;
}

TEST_F(WeeklyReport, FileNamesAndRerun)
{
    const DATE friday = MakeDate(2007, 1, 5, 0, 0);
    const struct {
        const char* code;
        const char* name;
        const char* file;
    } cases[] = {
        {"A1", "My Studio", "01-05-2007_A1[My_Studio].rpt"},
        {"B/2", "Rock\\Roll  Studio", "01-05-2007_B-2[Rock-Roll__Studio].rpt"},
        {"", "", "01-05-2007_[].rpt"},
    };
    for (const auto& c : cases) EXPECT_EQ(CReports::WeeklyReportFileName(friday, c.code, c.name), c.file) << c.name;

    // A second run of the same week writes over the first file.
    WriteSummary();
    CloseFrames();
    db_->GetStudioStrings().sCity = "Shelbyville";
    WriteSummary();
    const std::string bytes = dqtest::ReadBytes(WorkFile(kFileName));
    EXPECT_EQ(bytes.substr(0, bytes.find("01/05")), "My Studio\r\nA1\r\nShelbyville, IL\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work_), std::filesystem::directory_iterator()), 1);
}

// Line ends in the studio's texts become blanks in the file, which keeps its layout.
TEST_F(WeeklyReport, LineEndsInTextsKeepTheLayout)
{
    SetStudio("My\r\nStudio", "A1");
    WriteSummary();
    const std::string file = WorkFile("01-05-2007_A1[My__Studio].rpt");
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::string bytes = dqtest::ReadBytes(file);
    EXPECT_EQ(bytes.substr(0, bytes.find("Springfield")), "My  Studio\r\nA1\r\n");
    EXPECT_NE(bytes.find("PERSON_SUMMARY|2|My  Studio\r\n"), std::string::npos);
    ASSERT_EQ(frames_.size(), 1u);
    EXPECT_EQ(Lines()[0], "31 H Summary report My  Studio");
}

// A file of the layout with the given section 6 records and no persons.
std::string HandMadeFile(const std::vector<std::string>& activities)
{
    std::vector<std::string> lines = {"Hand Made", "H1", "Town, ST", "01/05/2007", "01/12/2007", "1",
                                      "0", "0", "0", "0", "0", "0", "0"};
    lines.push_back(std::to_string(activities.size()));
    lines.insert(lines.end(), activities.begin(), activities.end());
    lines.push_back("PERSON_SUMMARY|0|Hand Made");
    lines.push_back("PERSON_SUMMARY|0|Hand Made");
    return CrLf(lines);
}

TEST_F(WeeklyReport, EmptySectionsPrintTheirHeads)
{
    dqtest::WriteBytes(WorkFile("empty.rpt"), HandMadeFile({}));
    CReports(db_.get()).WeeklySummaryReport(WorkFile("empty.rpt"));
    ASSERT_EQ(frames_.size(), 1u);
    const std::vector<std::string> expected = {
        "31 H Summary report Hand Made",
        "30 - ",
        "30 - Code: H1\tLocation: Town, ST",
        "30 - Week: 1\tStart: 01/05/2007\tEnd: 01/12/2007",
        "30 _ ",
        "31 _ Section 2 - Weekly transaction summary",
        "30 _ ",
        "30 _ Category\tIncome\tRefunds",
        "30 _ Dance items\t    0.00\t    0.00",
        "30 _ Merchandise\t    0.00\t    0.00",
        "30 _ Other\t\t",
        "30 _ ",
        "31 _ Section 3 - Sources of new contacts",
        "30 _ ",
        "30 _ Category\tFirst calls\tFirst visits\tNew students\tAmount spent",
        "30 _ ",
        "31 _ Section 4 - Enrollment activity",
        "30 _ ",
        "30 _ Type\tNumber of\tNumber of\tValue of\tNumber cancelled\tValue cancelled\tActual",
        "30 _   \tinterviews\tcontracts\tcontracts\tor converted\tor converted\trefunds",
        "30 _ ",
        "31 _ Section 5 - Weekly merchandise sale summary",
        "30 _ ",
        "30 _ Category\tNumber\tIncome\tNumber\tRefunds",
        "30 _ ",
        "31 _ Section 6 - Weekly activity summary",
        "30 _ ",
        "30 _ Category\tEnrolled\tEnrolled\tUsed\tUsed\tCancelled\tCancelled",
        "30 _         \tNumber\tUnits\tNumber\tUnits\tNumber\tUnits",
        "30 _ ",
        "31 _ Section 7 - Weekly teacher activity summary",
        "30 _ ",
        "30 _ ",
        "31 _ Section 8 - Weekly supervisor activity summary",
        "30 _ ",
    };
    EXPECT_EQ(Lines(), expected);
}

TEST_F(WeeklyReport, MinutesShowInActivityUnits)
{
    const std::string row = Format("%u|1|90|1|90|1|90", codes_.privateType);
    dqtest::WriteBytes(WorkFile("units.rpt"), HandMadeFile({row}));
    const struct {
        int32_t unit;
        const char* shown;
    } cases[] = {{45, "2"}, {15, "6"}, {59, "1"}, {60, "90"}, {0, "90"}};
    for (const auto& c : cases) {
        db_->m_Parameters.SetInt(param::kActivityUnitMinutes, c.unit);
        CReports(db_.get()).WeeklySummaryReport(WorkFile("units.rpt"));
        ASSERT_EQ(frames_.size(), 1u) << c.unit;
        const std::string expected =
            Format("30 _ Private lesson\t1\t%s\t1\t%s\t1\t%s", c.shown, c.shown, c.shown);
        const std::vector<std::string> lines = Lines();
        EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << c.unit;
        CloseFrames();
    }
}

// A file the summary cannot follow opens no window and says so.
TEST_F(WeeklyReport, SummaryRefusesDamagedFilesBeforeAnyWindow)
{
    const std::string good = HandMadeFile({});
    const struct {
        const char* name;
        std::string bytes;  // "" with exists false: no file
        bool exists;
    } cases[] = {
        {"missing", "", false},
        {"short header", CrLf({"Studio", "S1", "Town"}), true},
        {"income and refunds do not pair",
         CrLf({"S", "S1", "T", "01/05/2007", "01/12/2007", "1", "1", "1|1|1.0", "0"}) + good.substr(good.find("0\r\n")),
         true},
        {"short record in section 3",
         CrLf({"S", "S1", "T", "01/05/2007", "01/12/2007", "1", "0", "0", "1", "4|1|1"}), true},
        {"count that is not a number", CrLf({"S", "S1", "T", "01/05/2007", "01/12/2007", "1", "many"}), true},
        {"no supervisor section", good.substr(0, good.rfind("PERSON_SUMMARY")), true},
    };
    for (const auto& c : cases) {
        const std::string path = WorkFile("bad.rpt");
        std::filesystem::remove(path);
        if (c.exists) dqtest::WriteBytes(path, c.bytes);
        const size_t boxes = Boxes().size();
        dqtest::QueueAnswers({ui::IDOK});
        CReports(db_.get()).WeeklySummaryReport(path);
        EXPECT_TRUE(frames_.empty()) << c.name;
        ASSERT_EQ(Boxes().size(), boxes + 1) << c.name;
        EXPECT_EQ(Boxes().back(), Format("File %s could not be read as a weekly report file.", path.c_str())) << c.name;
    }
}

TEST(WeeklyReportReader, PersonSections)
{
    const std::string person =
        "7|1|2|3.500000|4|5.250000|6|7|8.000000|9|10.000000|11|12.500000|13|14.000000|15|16.000000|17|18.000000|19|20."
        "000000|21|22.000000|23|";
    const std::string longName(2000, 'x');
    const struct {
        const char* name;
        std::string text;
        bool ok;
        size_t persons;
        std::string lastName;
    } cases[] = {
        {"CR LF", CrLf({"PERSON_SUMMARY|1|Studio", person + "Last, First", "1", "1|2|3|4|5|6|7|stActivityHourTotal"}),
         true, 1, "Last, First"},
        {"LF only", "PERSON_SUMMARY|1|Studio\n" + person + "Last, First\n0\n", true, 1, "Last, First"},
        {"no line end at the end", "PERSON_SUMMARY|1|Studio\n" + person + "A\n0", true, 1, "A"},
        {"text and empty lines before the head", CrLf({"Studio", "", "1|2|3", "PERSON_SUMMARY|1|Studio", person + "B", "0"}),
         true, 1, "B"},
        {"0 persons", CrLf({"PERSON_SUMMARY|0|Studio"}), true, 0, ""},
        {"no head", CrLf({"Studio", "1", "1|2|3"}), false, 0, ""},
        {"head without a count", CrLf({"PERSON_SUMMARY"}), false, 0, ""},
        {"short person line", CrLf({"PERSON_SUMMARY|1|Studio", "7|1|2|3.5", "0"}), false, 0, ""},
        {"persons promised past the end", CrLf({"PERSON_SUMMARY|2|Studio", person + "C", "0"}), false, 0, ""},
        {"a huge person count", CrLf({"PERSON_SUMMARY|2147483647|Studio"}), false, 0, ""},
        {"count past 2^31", CrLf({"PERSON_SUMMARY|4294967295|Studio"}), false, 0, ""},
        {"activity lines promised past the end", CrLf({"PERSON_SUMMARY|1|Studio", person + "D", "3", "1|2|3|4|5|6|7"}),
         false, 0, ""},
        {"empty line for a count", CrLf({"PERSON_SUMMARY|1|Studio", person + "E", ""}), false, 0, ""},
        {"short activity line", CrLf({"PERSON_SUMMARY|1|Studio", person + "F", "1", "1|2|3"}), false, 0, ""},
        {"2,000-character name with a bar", CrLf({"PERSON_SUMMARY|1|Studio", person + longName + "|y", "0"}), true, 1,
         longName + "|y"},
    };
    for (const auto& c : cases) {
        CWeeklyReportReader reader;
        reader.SetText(c.text);
        std::string studio;
        std::vector<stTeacherActivityData> persons;
        const bool ok = CReports::ReadWeeklyReportData(studio, reader, persons);
        EXPECT_EQ(ok, c.ok) << c.name;
        if (!ok || !c.ok) continue;
        EXPECT_EQ(studio, "Studio") << c.name;
        ASSERT_EQ(persons.size(), c.persons) << c.name;
        if (persons.empty()) continue;
        const stTeacherActivityData& r = persons.back();
        EXPECT_EQ(r.sName, c.lastName) << c.name;
        EXPECT_EQ(r.nPerson, 7);
        EXPECT_EQ(r.nFirstInterviews, 1u);
        EXPECT_DOUBLE_EQ(r.dFirstCancellationsValue, 5.25);
        EXPECT_DOUBLE_EQ(r.dTotalSalesValue, 12.5);
        EXPECT_DOUBLE_EQ(r.dMoney[0], 15.0);
        EXPECT_DOUBLE_EQ(r.dMoney[3], 18.0);
        EXPECT_EQ(r.nGuests, 23u);
    }
}

TEST(WeeklyReportReader, FieldsAndCounts)
{
    EXPECT_EQ(CWeeklyReportReader::ToUInt("4294967294"), 0xFFFFFFFEu);
    EXPECT_EQ(static_cast<int32_t>(CWeeklyReportReader::ToUInt("-2")), -2);
    EXPECT_EQ(CWeeklyReportReader::ToUInt(""), 0u);
    EXPECT_EQ(CWeeklyReportReader::ToUInt("12abc"), 12u);
    LocaleGuard guard;
    if (std::setlocale(LC_ALL, "de_DE.UTF-8")) {
        EXPECT_DOUBLE_EQ(CWeeklyReportReader::ToMoney("30.500000"), 30.5);
    }
    EXPECT_DOUBLE_EQ(CWeeklyReportReader::ToMoney("x"), 0.0);
    uint32_t count = 0;
    const struct {
        const char* text;
        bool ok;
        uint32_t count;
    } cases[] = {{"0", true, 0}, {"12", true, 12}, {" 3 ", true, 3}, {"2147483647", true, 2147483647u},
                 {"2147483648", false, 0}, {"", false, 0}, {"-1", false, 0}, {"1|2", false, 0}, {"x", false, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(CWeeklyReportReader::ParseCount(c.text, count), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(count, c.count) << c.text;
        }
    }
}

// The pick list of the composite report: every entry chosen, none, or cancelled.
// With `names`, the entries offered are checked first.
void PickReports(char how, const std::vector<std::string>& names = {})
{
    ui::test::GetHooks().dialogScripts.push_back([how, names](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Select one or more reports");
        auto& menu = static_cast<CDialogMenu&>(d);
        ASSERT_NE(menu.GetShownList(), nullptr);
        if (!names.empty()) {
            std::vector<std::string> shown;
            for (int i = 0; i < menu.GetShownList()->GetCount(); ++i) shown.push_back(menu.GetShownList()->GetText(i));
            EXPECT_EQ(shown, names);
        }
        if (how == 'A') menu.GetShownList()->SetSel(-1, true);
        ui::test::Click(d, how == 'C' ? ui::IDCANCEL : ui::IDOK);
    });
}

// Two studios' files written by the program and a damaged one, all chosen: the damaged one is
// named and left out, the others merged from their teachers' sections.
TEST_F(WeeklyReport, CompositeMergesStudiosAndLeavesOutADamagedFile)
{
    WriteSummary();
    CloseFrames();
    SetStudio("Second Place", "B2");
    WriteSummary();
    CloseFrames();
    dqtest::WriteBytes(WorkFile("bad.rpt"), CrLf({"PERSON_SUMMARY|1|Nowhere", "1|2|3"}));
    const std::vector<std::string> names = {"01-05-2007_A1[My_Studio].rpt", "01-05-2007_B2[Second_Place].rpt", "bad.rpt"};
    PickReports('A', names);
    dqtest::QueueAnswers({ui::IDOK});
    CReports(db_.get()).CompositeReport();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"File bad.rpt could not be read as a weekly report file; it was left out."});
    ASSERT_EQ(frames_.size(), 1u);
    const std::vector<std::string> expected = {
        "30 _ ",
        "31 _ Composite data report",
        "30 _ ",
        "30 _ Studio name\tSales\tUnits\tInterviews\tGuests\tCancelled",
        "30 _ My Studio\t740.00\t14\t3\t1\t200.00",
        "30 _ Second Place\t740.00\t14\t3\t1\t200.00",
        "30 _ ",
        "30 _ Person name\tSales\tUnits\tInterviews\tGuests\tCancelled",
        "30 _ Boss, Sue\t0.00\t0\t0\t0\t0.00",
        "30 _ Teach, Ann\t740.00\t14\t3\t1\t200.00",
        "30 _ Boss, Sue\t0.00\t0\t0\t0\t0.00",
        "30 _ Teach, Ann\t740.00\t14\t3\t1\t200.00",
    };
    EXPECT_EQ(Lines(), expected);
    CloseFrames();

    // Without a database open: the default formats, and the default unit of 10 minutes.
    PickReports('A');
    dqtest::QueueAnswers({ui::IDOK});
    CReports(nullptr).CompositeReport();
    ASSERT_EQ(frames_.size(), 1u);
    const std::vector<std::string> lines = Lines();
    ASSERT_EQ(lines.size(), expected.size());
    EXPECT_EQ(lines[1], "31 _ Composite data report");
    EXPECT_EQ(lines[4], "30 _ My Studio\t740.00\t21\t3\t1\t200.00");
}

TEST_F(WeeklyReport, CompositeWithoutFilesOrChoice)
{
    dqtest::QueueAnswers({ui::IDOK, ui::IDOK, ui::IDOK});
    CReports(db_.get()).CompositeReport();
    EXPECT_EQ(Boxes(), std::vector<std::string>{"No files matching *.rpt were found."});
    dqtest::WriteBytes(WorkFile(kFileName), CrLf(kGoldenFile));
    for (char how : {'C', 'N'}) {
        PickReports(how);
        CReports(db_.get()).CompositeReport();
        EXPECT_EQ(Boxes().back(), "None selected") << how;
    }
    EXPECT_TRUE(frames_.empty());
}

// The merge takes a file whose person section holds nobody as a studio row of zeros.
TEST_F(WeeklyReport, MergeOfAFileWithoutPersons)
{
    dqtest::WriteBytes(WorkFile("empty.rpt"), HandMadeFile({}));
    std::vector<stSummaryItem> studios, persons;
    ASSERT_TRUE(CReports(db_.get()).MergeWeeklyReportFile(WorkFile("empty.rpt"), studios, persons));
    ASSERT_EQ(studios.size(), 1u);
    EXPECT_EQ(studios[0].sName, "Hand Made");
    EXPECT_EQ(studios[0].dSales, 0.0);
    EXPECT_EQ(studios[0].nUnits, 0u);
    EXPECT_TRUE(persons.empty());
    EXPECT_FALSE(CReports(db_.get()).MergeWeeklyReportFile(WorkFile("missing.rpt"), studios, persons));
    EXPECT_EQ(studios.size(), 1u);
}

// The e-mail command hands the file to the mail program: fake xdg-email and sendmail record
// what they get.
class WeeklyReportMail : public WeeklyReport {
protected:
    void SetUp() override
    {
        WeeklyReport::SetUp();
        mail_.Install(folder_);
    }
    void TearDown() override
    {
        mail_.Remove();
        WeeklyReport::TearDown();
    }
    bool Ran() const { return mail_.Ran(); }
    void MailWeek()
    {
        dqtest::QueueAnswers({ui::IDOK});
        AnswerDates();
        CReports(db_.get()).WriteWeeklyReportFile(0);
    }

    CFakeMailPrograms mail_;
};

const char* const kMailed = "The email operation succeeded. If you clicked 'Send' the message was put in out box.";

TEST_F(WeeklyReportMail, XdgEmailGetsSubjectBodyAddressAndTheFile)
{
    MailWeek();
    EXPECT_TRUE(frames_.empty());
    const std::string file = WorkFile(kFileName);
    EXPECT_EQ(dqtest::ReadBytes(file), CrLf(kGoldenFile));
    std::vector<std::string> args;
    std::istringstream in(dqtest::ReadBytes(folder_ + "/args"));
    for (std::string line; std::getline(in, line);) args.push_back(line);
    const std::vector<std::string> expected = {"--utf8", "--subject", "Weekly report data for My Studio", "--body",
                                               "Attached is a weekly report data file for My Studio.", "--attach",
                                               file, "office@example.org"};
    EXPECT_EQ(args, expected);
    EXPECT_EQ(Boxes(), std::vector<std::string>{kMailed});
}

TEST_F(WeeklyReportMail, SendmailGetsTheFileAsItsAttachment)
{
    host::SetMailProgram(mail_.Bin() + "/fakesendmail");
    MailWeek();
    const std::string mime = dqtest::ReadBytes(folder_ + "/input");
    EXPECT_NE(mime.find("office@example.org"), std::string::npos);
    EXPECT_NE(mime.find("Weekly report data for My Studio"), std::string::npos);
    EXPECT_NE(mime.find(host::Base64Lines(CrLf(kGoldenFile))), std::string::npos);
    EXPECT_EQ(Boxes(), std::vector<std::string>{kMailed});
}

TEST_F(WeeklyReportMail, NoAddressRunsNoMailProgram)
{
    db_->GetStudioStrings().sReportEmail.clear();
    MailWeek();
    EXPECT_FALSE(Ran());
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Email address not provided. Go to 'Studio data' in 'Setup' menu and "
                                                "supply email address."});
}

// The guard, a cancelled dates dialog and a failed write leave no file, window or mail; a failed
// rewrite keeps the earlier file.
TEST_F(WeeklyReportMail, NothingIsWrittenShownOrMailedOnRefusalOrFailure)
{
    const struct {
        const char* name;
        int show;
        std::function<void()> arrange;
        const char* box;  // null: none
    } cases[] = {
        {"report view open", 1, [] { ReportViewDisplayed = 1; },
         "You already have a report view displayed. Please exit it before doing another report."},
        {"dates cancelled", 1, [this] { AnswerDates(false); }, nullptr},
        {"dates cancelled, mail", 0, [this] { AnswerDates(false); }, nullptr},
        {"write fails", 1,
         [this] {
             AnswerDates();
             host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Write);
         },
         "Cannot save report file"},
        {"flush fails, mail", 0,
         [this] {
             AnswerDates();
             host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Flush);
         },
         "Cannot save report file"},
        {"open fails", 0,
         [this] {
             AnswerDates();
             host::InjectFileError(host::FileError::AccessDenied, 1, host::FileOp::Open);
         },
         "Cannot save report file"},
    };
    for (const auto& c : cases) {
        ui::test::GetHooks().messageBoxTexts.clear();
        if (c.box) dqtest::QueueAnswers({ui::IDOK});
        c.arrange();
        CReports(db_.get()).WriteWeeklyReportFile(c.show);
        host::ClearInjectedFileErrors();
        ReportViewDisplayed = 0;
        EXPECT_FALSE(std::filesystem::exists(WorkFile(kFileName))) << c.name;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work_), std::filesystem::directory_iterator()), 0)
            << c.name;
        EXPECT_TRUE(frames_.empty()) << c.name;
        EXPECT_FALSE(Ran()) << c.name;
        EXPECT_EQ(Boxes(), c.box ? std::vector<std::string>{c.box} : std::vector<std::string>{}) << c.name;
    }
    const std::string earlier = "earlier\r\n";
    dqtest::WriteBytes(WorkFile(kFileName), earlier);
    dqtest::QueueAnswers({ui::IDOK});
    AnswerDates();
    host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Write);
    CReports(db_.get()).WriteWeeklyReportFile(1);
    EXPECT_EQ(dqtest::ReadBytes(WorkFile(kFileName)), earlier);
    EXPECT_EQ(Boxes().back(), "Cannot save report file");
    EXPECT_TRUE(frames_.empty());
}

}  // namespace
