#pragma once
// The money reports' studio saved through the road and read back (Carl billed to Dana, Dana, two
// students named Eve Twin; contracts live, cancelled and converted; payments received, due, by
// the studio, refunds and credits), with real report frames, and the scripted answers the
// reports' dialogs take.

#include "tests/studio/StudioFixture.h"
#include "tests/reports/ReportFrameCapture.h"

#include <functional>
#include <string>
#include <vector>

#include "dialogs/DialogMenu.h"
#include "dialogs/DialogReportDates.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"
#include "reports/ReportFrame.h"
#include "reports/Reports.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/PrinterDC.h"
#include "views/FrameReportView.h"
#include "views/FrameWndReport.h"
#include "views/ReportWindows.h"
#include "views/StudentView.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>
#include "widgets/CommandGuards.h"

struct stMoneyCodes {
    uint32_t tax = NO_CODE, taxUpper = NO_CODE, checking = NO_CODE, savings = NO_CODE, flyers = NO_CODE;
    uint32_t carl = NO_CODE, dana = NO_CODE, eve1 = NO_CODE, eve2 = NO_CODE;
    uint32_t bronze = NO_CODE;
};

class MoneyReports : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        DatabaseOpen = 1;
        UserAccessLevel = 9;
        capture_.Install();
        CReports::s_fnPrintSetup = [this] { return &printer_; };
        taxDialog_ = CReports::s_fnTaxReportSetup;
        CReports::s_fnTaxReportSetup = nullptr;
        BuildMoneyStudio();
        AddToStudio();
        Reopen();
        DatabaseOpen = 1;
    }
    // What a derived fixture saves beside the money studio before it is read back.
    virtual void AddToStudio() {}
    void TearDown() override
    {
        CloseFrames();
        CReports::s_fnPrintSetup = nullptr;
        CReports::s_fnTaxReportSetup = taxDialog_;
        DatabaseOpen = 0;
        UserAccessLevel = 0;
        StudioTest::TearDown();
    }
    void CloseFrames() { capture_.Close(); }

    uint32_t AddPayment(char type, char state, uint32_t person, const std::string& payer, double amount, DATE date,
                        const std::string& text, uint32_t tax = NO_CODE, uint32_t account = NO_CODE,
                        uint32_t category = NO_CODE, uint32_t receipt = NO_CODE)
    {
        CPaymentRecord p;
        p.m_cType = type;
        p.m_cReceived = state;
        p.m_nPerson = person;
        p.m_sName = payer;
        p.m_dAmount = amount;
        p.m_dDate = date;
        p.m_sText = text;
        p.m_nField14 = tax;
        p.m_nField15 = account;
        p.m_nField12 = category;
        p.m_nReference = receipt;
        return Save(TABLE_PAYMENT, p);
    }
    static std::unique_ptr<CSchedulePayment> Sched(char kind, DATE date, double amount, const std::string& text,
                                                   uint32_t account = NO_CODE, uint32_t receipt = NO_CODE)
    {
        auto p = Scheduled(kind, date, amount, receipt);
        p->m_sDescription = text;
        p->m_nCategory = account;
        return p;
    }

    // Carl (billed to Dana), Dana, two students named Eve Twin; contracts live, cancelled and
    // converted; payments received, due, by the studio, refunds and credits.
    void BuildMoneyStudio()
    {
        stMoneyCodes& m = money_;
        m.tax = AddCategory('T', "sales tax");
        m.taxUpper = AddCategory('T', "SALES TAX");
        m.checking = AddCategory('A', "Checking");
        m.savings = AddCategory('A', "Savings");
        m.flyers = AddCategory('I', "Flyers");
        m.carl = AddPerson('C', "Carl", "Student");
        m.dana = AddPerson('C', "Dana", "Payer");
        m.eve1 = AddPerson('C', "Eve", "Twin");
        m.eve2 = AddPerson('C', "Eve", "Twin");

        CPurchaseRecord bronze;
        bronze.m_nPerson = m.carl;
        bronze.m_nPayer = m.dana;
        bronze.m_sDescription = "Bronze";
        bronze.m_dDate = D(2026, 3, 2, 11, 0);
        bronze.m_Items.push_back(Item("Ten privates", 'N', 10, 480.0, NO_CODE));
        bronze.m_Items.push_back(Item("Ten privates", 'N', 1, 0.0, NO_CODE));
        bronze.m_Payments.push_back(Sched('R', D(2026, 3, 4, 12, 0), 25.0, "First", m.checking, 101));
        bronze.m_Payments.push_back(Sched('S', D(2026, 3, 6, 12, 0), 100.0, "Second"));
        bronze.m_Payments.push_back(Sched('U', 0.0, 355.0, "Rest"));
        m.bronze = Save(TABLE_PURCHASE, bronze);

        CPurchaseRecord silver;
        silver.m_nPerson = m.eve1;
        silver.m_sDescription = "Silver";
        silver.m_dDate = D(2026, 3, 3, 10, 0);
        silver.m_Items.push_back(Item("group salsa", 'N', 4, 200.0, NO_CODE));
        silver.m_Payments.push_back(Sched('R', D(2026, 3, 3, 10, 0), 50.0, "Deposit", m.checking));
        silver.m_Payments.push_back(Sched('F', D(2026, 3, 5, 9, 0), 10.0, "Too much"));
        Save(TABLE_PURCHASE, silver);

        CPurchaseRecord cancelled;
        cancelled.m_nPerson = m.carl;
        cancelled.m_nStatus = CPurchaseRecord::STATUS_CANCELLED;
        cancelled.m_sDescription = "Old";
        cancelled.m_dDate = D(2026, 3, 2, 9, 0);
        cancelled.m_Items.push_back(Item("Old item", 'N', 1, 300.0, NO_CODE));
        cancelled.m_Payments.push_back(Sched('R', D(2026, 3, 4, 9, 0), 40.0, "Old pay", m.checking));
        Save(TABLE_PURCHASE, cancelled);

        CPurchaseRecord converted;
        converted.m_nPerson = m.eve2;
        converted.m_nStatus = static_cast<int32_t>(m.bronze);
        converted.m_sDescription = "Converted";
        converted.m_dDate = D(2026, 3, 4, 9, 0);
        converted.m_Items.push_back(Item("Group Salsa", 'N', 1, 100.0, NO_CODE));
        converted.m_Payments.push_back(Sched('R', D(2026, 3, 4, 9, 0), 20.0, "Conv pay", m.checking));
        Save(TABLE_PURCHASE, converted);

        AddPayment('R', 'R', m.carl, "Carl Student", 30.5, D(2026, 3, 4, 14, 0), "Cash at desk", m.tax, m.checking,
                   NO_CODE, 7);
        AddPayment('R', 'S', m.carl, "", 60.0, D(2026, 3, 5, 10, 0), "Shoes");
        AddPayment('R', 'U', NO_CODE, "Walk In", 20.0, 0.0, "Drop-in");
        AddPayment('R', 'S', NO_CODE, "Walk In", 15.0, D(2026, 3, 6, 10, 0), "Drop-in 2");
        AddPayment('P', 'R', NO_CODE, "Floor Wax Co", 80.0, D(2026, 3, 3, 9, 0), "Polish", NO_CODE, m.checking,
                   m.flyers);
        AddPayment('q', 'R', m.eve1, "Eve Twin", 12.0, D(2026, 3, 5, 11, 0), "Shoes back", m.taxUpper);
        AddPayment('c', 'R', m.carl, "Carl Student", 5.0, D(2026, 3, 4, 15, 0), "Credit");
        AddPayment('R', 'R', m.eve2, "Eve Twin", 18.0, D(2026, 3, 4, 10, 0), "Twin class");
        AddPayment('R', 'S', m.eve2, "", 9.0, D(2026, 3, 7, 10, 0), "Twin due");
    }

    std::vector<std::string> Lines(size_t frame = 0) const { return capture_.Lines(frame); }
    // The report dates dialog answered with two dates.
    void AnswerDates(DATE start, DATE end)
    {
        ui::test::GetHooks().dialogScripts.push_back([start, end](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Report dates");
            auto& dates = static_cast<CDialogReportDates&>(d);
            dates.m_StartDate.SetValue(start);
            dates.m_EndDate.SetValue(end);
            ui::test::Click(d, 1000);
        });
    }
    void Cancel()
    {
        ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    }
    void PickAccount(uint32_t code)
    {
        ui::test::GetHooks().dialogScripts.push_back([code](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Select account");
            auto& menu = static_cast<CDialogMenu&>(d);
            ASSERT_NE(menu.GetShownList(), nullptr);
            for (int i = 0; i < menu.GetShownList()->GetCount(); ++i)
                if (menu.GetShownList()->GetItemData(i) == code) menu.GetShownList()->SetCurSel(i);
            ui::test::Click(d, ui::IDOK);
        });
    }
    // The database's formats from slot `count` on taken away, and slot `hole` too.
    void CutFormats(uint32_t count, int hole = -1)
    {
        std::vector<stFormatRecord> kept;
        for (uint32_t i = 0; i < count; ++i) kept.push_back(*db_->GetFormat(i));
        db_->ClearFormat();
        for (uint32_t i = 0; i < count; ++i)
            if (static_cast<int>(i) != hole)
                db_->AddFormat("Format", static_cast<int>(i), kept[i].GetFace(), 0, 0, kept[i].nSize, "");
    }
    std::vector<std::string> Boxes() const { return ui::test::GetHooks().messageBoxTexts; }

    // The student view shown in `frame` with `person` highlighted; false when it is not there.
    bool ShowStudentView(ui::FrameWindow& frame, CStudentView& view, uint32_t person)
    {
        if (!frame.CreateFrame("students", {0, 0, 640, 480})) return false;
        view.SetLineViewDatabase(db_.get());
        if (!view.CreateView(&frame, 59649)) return false;
        frame.SwitchView(&view);
        view.MoveWindow({0, 0, 400, 300});
        view.OnSize(400, 300);
        ui::test::RecordPaint(view);
        for (int i = 0; i < 50 && (!view.GetHighlightedPerson() || view.GetHighlightedPerson()->m_nCode != person); ++i)
            view.m_nHiLiteLine = i;
        return view.GetHighlightedPerson() && view.GetHighlightedPerson()->m_nCode == person;
    }
    static bool IsEnabled(CStudentView& view, int id)
    {
        ui::CmdUI cmd(id);
        view.Updaters().RunUpdateHandler(cmd);
        return cmd.IsEnabled();
    }
    static bool HasPdfToText() { return std::system("command -v pdftotext >/dev/null 2>&1") == 0; }
    // The report `run` opens, printed from its frame to "PDF file" in the test's folder and read
    // back as text ("" when no file came).
    std::string PrintedText(const std::function<void()>& run, const std::string& name)
    {
        char here[4096];
        if (!getcwd(here, sizeof here) || chdir(folder_.c_str()) != 0) return "";
        printer_.sDevice = ui::PrinterDC::kPdfPrinter;
        printer_.nCopies = 1;
        run();
        std::string text;
        const std::string pdf = folder_ + "/" + name + ".pdf";
        if (frames_.size() == 1) {
            ui::test::GetHooks().scriptFileDialogs = true;
            ui::test::GetHooks().fileDialogAnswers = {pdf};
            ui::test::GetHooks().dialogScripts.push_back([](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); });
            frames_[0]->SendCommand(CFrameReportView::kCmdPrint);
            const std::string txt = folder_ + "/" + name + ".txt";
            if (std::filesystem::exists(pdf) && std::system(("pdftotext -layout " + pdf + " " + txt).c_str()) == 0)
                text = dqtest::ReadBytes(txt);
        }
        EXPECT_EQ(chdir(here), 0);
        return text;
    }

    stMoneyCodes money_;
    stPrinterDef printer_;
    // The tax report's own dates dialog, put back after each test.
    std::function<bool(CDatabase&, stTaxReportSetup&)> taxDialog_;
    CReportFrameCapture capture_;
    std::vector<CFrameWndReport*>& frames_ = capture_.frames;
};
