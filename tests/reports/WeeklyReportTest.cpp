// The weekly report over a studio saved through the road and read back: the file written (byte for
// byte, in any locale) and read back, the weekly summary, the e-mail to the head office, and the
// composite report merged from several studios' files; the reader on damaged and odd files.

#include "tests/studio/StudioFixture.h"

#include <clocale>
#include <cstdlib>
#include <fstream>
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
        ReportViewDisplayed = 0;
        InstallReportWindows();
        SetReportFrameFactory([this]() -> IReportFrame* {
            auto* frame = new CFrameWndReport();
            frames_.push_back(frame);
            return frame;
        });
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
    void CloseFrames()
    {
        for (CFrameWndReport* f : frames_)
            if (f->IsCreated()) f->SendCommand(CFrameWndReport::kCmdExit);
        frames_.clear();
        ui::test::DeleteDestroyedWindows();
        ReportViewDisplayed = 0;
    }

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
    // The lines of a frame shown: "slot kind text".
    std::vector<std::string> Lines(size_t frame = 0)
    {
        std::vector<std::string> out;
        if (frame >= frames_.size()) return out;
        for (const stFmtString& line : frames_[frame]->GetLines())
            out.push_back(Format("%d %c %s", line.pFormat ? line.pFormat->nCode : -1, line.cKind, line.strText.c_str()));
        return out;
    }
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
    std::vector<CFrameWndReport*> frames_;
    std::string previous_;
    std::string work_;
};

void Dump(const std::vector<std::string>& lines)
{
    for (const std::string& l : lines) {
        std::string q;
        for (char ch : l) {
            if (ch == '\t') q += "\\t";
            else if (ch == '"') q += "\\\"";
            else q += ch;
        }
        printf("        \"%s\",\n", q.c_str());
    }
}

TEST_F(WeeklyReport, DumpForNow)
{
    WriteSummary();
    std::vector<std::string> fileLines;
    std::istringstream in(dqtest::ReadBytes(WorkFile(kFileName)));
    for (std::string l; std::getline(in, l);) fileLines.push_back(l.substr(0, l.size() - 1));
    Dump(fileLines);
    Dump(Lines());
    Dump(Boxes());
}

}  // namespace
