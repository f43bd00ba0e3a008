#pragma once
// A studio with a year and a half of weekly business for the report grids, saved through the
// record classes, closed and opened again, on a clock fixed at Wednesday 4 March 2026 10:00.
// The week shown runs from Sunday 1 March to Sunday 8 March 2026 (excluded); the year to date
// from 1 January 2026; the previous year is 2025.
//
// Every Monday from 2 September 2024 to 2 March 2026 (79 weeks; 9 in 2026 up to the week, 52 in
// 2025) one new student is added at 09:00 (source "newspaper"), is called at 08:30 and has a
// first visit at 09:30 (program "bronze", contract type "standard", department "ballroom"), buys
// four private lessons for 200.00 at 11:00 that followed that visit and pays 50.00 of it at 12:00
// (check 101); one of the lessons is taken on the Tuesday at 10:00. The studio pays 20.00 for the
// newspaper's advertising at 13:00 (tax category "rent").
//
// Besides: a purchase of two items on 10 June 2025 (group 2 x 30.00, shoes 40.00; no contract
// type); a person added on 15 June 2025 whose source is the contract type "standard"; shoes for
// 80.00 on 31 December 2025 14:00 (no contract type); a group lesson bought on 10 February 2026
// and converted on 4 March 2026 09:00; two private lessons for 100.00 bought on 3 March 2026
// 09:00 and cancelled on 4 March 09:00 (its 10.00 due on 4 March 12:00 is never listed); on
// 4 March a refund of 15.00 on the 2 March purchase at 11:00 (check 2001), a walk-in's payment
// of 30.50 at 14:00 (receipt 777) and 5.00 paid out at 15:00 under the interview source.

#include "tests/views/GridWindowFixture.h"

#include "views/ReportGrid.h"

#include <string>
#include <vector>

struct stReportCodes {
    uint32_t privateType = NO_CODE, groupType = NO_CODE, shoes = NO_CODE, paper = NO_CODE, radio = NO_CODE;
    uint32_t standard = NO_CODE, bronze = NO_CODE, silver = NO_CODE, ballroom = NO_CODE, rent = NO_CODE;
    uint32_t lastStudent = NO_CODE, lastPurchase = NO_CODE;
};

class ReportStudioTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildReportStudio();
        Reopen();
        // Units shown in quarters of an hour.
        db_->m_Parameters.SetInt(param::kActivityUnitMinutes, 15);
        db_->m_Parameters.SetInt(param::kStartDayOfWeek, 1);
    }

    static std::unique_ptr<CInterview> Interview(char kind, DATE when, uint32_t source, int32_t first,
                                                 uint32_t program, uint32_t contract, uint32_t department)
    {
        auto i = std::make_unique<CInterview>();
        i->m_cKind = kind;
        i->m_dDate = when;
        i->m_nDueTo = source;
        i->m_nField8 = first;
        i->m_nProgram = program;
        i->m_nField9 = contract;
        i->m_nField10 = department;
        return i;
    }
    uint32_t AddPayment(char type, DATE when, double amount, const std::string& name, const std::string& text,
                        uint32_t category, uint32_t tax, uint32_t receipt = NO_CODE, char method = 'A',
                        const std::string& methodText = "")
    {
        CPaymentRecord p;
        p.m_cType = type;
        p.m_cReceived = 'R';
        p.m_dDate = when;
        p.m_dAmount = amount;
        p.m_sName = name;
        p.m_sText = text;
        p.m_nField12 = category;
        p.m_nField14 = tax;
        p.m_nReference = receipt;
        p.m_cMethod = method;
        p.m_sMethodText = methodText;
        return Save(TABLE_PAYMENT, p);
    }

    void BuildReportStudio()
    {
        stReportCodes& c = report_;
        c.privateType = AddCategory('B', "PRIVATE lesson");
        c.groupType = AddCategory('B', "group class");
        c.shoes = AddCategory('m', "shoes");
        c.paper = AddCategory('I', "newspaper");
        c.radio = AddCategory('I', "radio");
        c.standard = AddCategory('C', "standard");
        c.bronze = AddCategory('P', "Bronze");
        c.silver = AddCategory('P', "Silver");
        c.ballroom = AddCategory('D', "Ballroom");
        c.rent = AddCategory('T', "rent");
        AddPerson('E', "Ann", "Teach");  // added now, without a source

        int k = 0;
        for (DATE monday = D(2024, 9, 2); monday < D(2026, 3, 3); monday += 7.0, ++k) {
            CPerson student('C');
            student.m_sFirstName = "Pat";
            student.m_sLastName = Format("Student%02d", k);
            student.m_dStamp1Date = monday + 9.0 / 24;
            student.m_nReferredBy = c.paper;
            student.m_Interviews.push_back(Interview('P', monday + 8.5 / 24, c.paper, 0, NO_CODE, NO_CODE, NO_CODE));
            student.m_Interviews.push_back(
                Interview('V', monday + 9.5 / 24, c.paper, 1, c.bronze, c.standard, c.ballroom));
            c.lastStudent = Save(TABLE_PERSON, student);

            CPurchaseRecord purchase;
            purchase.m_nPerson = c.lastStudent;
            purchase.m_dDate = monday + 11.0 / 24;
            purchase.m_dField17 = monday + 9.5 / 24;
            purchase.m_nProgram = c.bronze;
            purchase.m_nField12 = c.standard;
            purchase.m_nField13 = c.ballroom;
            auto item = Item("Four privates", 'p', 4, 200.0, c.privateType);
            item->m_Tokens.push_back(Token('U', monday + 1.0 + 10.0 / 24, NO_CODE));
            for (int t = 0; t < 3; ++t) item->m_Tokens.push_back(Token('N', 0.0, NO_CODE));
            purchase.m_Items.push_back(std::move(item));
            auto paid = Scheduled('R', monday + 12.0 / 24, 50.0);
            paid->m_cMethod = 'C';
            paid->m_sMethodText = "101";
            purchase.m_Payments.push_back(std::move(paid));
            if (monday == D(2026, 3, 2)) {
                auto refund = Scheduled('F', D(2026, 3, 4, 11, 0), 15.0);
                refund->m_cMethod = 'C';
                refund->m_sMethodText = "2001";
                refund->m_sDescription = "Refund";
                purchase.m_Payments.push_back(std::move(refund));
            }
            c.lastPurchase = Save(TABLE_PURCHASE, purchase);

            AddPayment('P', monday + 13.0 / 24, 20.0, "Daily News", "Advert", c.paper, c.rent);
        }

        CPurchaseRecord two;
        two.m_nPerson = c.lastStudent;
        two.m_dDate = D(2025, 6, 10, 10, 0);
        two.m_Items.push_back(Item("Two groups", 'p', 2, 60.0, c.groupType));
        two.m_Items.push_back(Item("Shoes", 'm', 1, 40.0, c.shoes));
        Save(TABLE_PURCHASE, two);

        CPerson walkIn('C');
        walkIn.m_sFirstName = "Wes";
        walkIn.m_sLastName = "Walk";
        walkIn.m_dStamp1Date = D(2025, 6, 15, 10, 0);
        walkIn.m_nReferredBy = c.standard;
        Save(TABLE_PERSON, walkIn);

        CPurchaseRecord shoes;
        shoes.m_nPerson = c.lastStudent;
        shoes.m_dDate = D(2025, 12, 31, 14, 0);
        shoes.m_Items.push_back(Item("Shoes", 'm', 1, 80.0, c.shoes));
        Save(TABLE_PURCHASE, shoes);

        CPurchaseRecord converted;
        converted.m_nPerson = c.lastStudent;
        converted.m_dDate = D(2026, 2, 10, 10, 0);
        converted.m_nField12 = c.standard;
        converted.m_nStatus = 4242;  // converted into another purchase
        converted.m_dStamp2Date = D(2026, 3, 4, 9, 0);
        converted.m_Items.push_back(Item("One group", 'N', 1, 30.0, c.groupType));
        Save(TABLE_PURCHASE, converted);

        CPurchaseRecord cancelled;
        cancelled.m_nPerson = c.lastStudent;
        cancelled.m_dDate = D(2026, 3, 3, 9, 0);
        cancelled.m_nField12 = c.standard;
        cancelled.m_nStatus = CPurchaseRecord::STATUS_CANCELLED;
        cancelled.m_dStamp2Date = D(2026, 3, 4, 9, 0);
        cancelled.m_Items.push_back(Item("Two privates", 'p', 2, 100.0, c.privateType));
        cancelled.m_Payments.push_back(Scheduled('S', D(2026, 3, 4, 12, 0), 10.0));
        Save(TABLE_PURCHASE, cancelled);

        AddPayment('R', D(2026, 3, 4, 14, 0), 30.5, "Walk-in", "Class fee", NO_CODE, NO_CODE, 777);
        AddPayment('P', D(2026, 3, 4, 15, 0), 5.0, "Supply Co", "Tape", NO_CODE, c.paper);
    }

    stReportCodes report_;
};

// The grid window tests on the report studio: a main window to open from, the grid closed after.
class ReportGridTest : public ReportStudioTest {
protected:
    void SetUp() override
    {
        ReportStudioTest::SetUp();
        main_ = std::make_unique<ui::FrameWindow>();
        ASSERT_TRUE(main_->CreateFrame("main", {0, 0, 900, 700}));
        main_->ShowWindow(true);
    }
    void TearDown() override
    {
        if (grid_ && grid_->IsCreated()) grid_->SendCommand(CReportGrid::kCmdExit);
        ui::test::DeleteDestroyedWindows();
        main_.reset();
        ReportStudioTest::TearDown();
    }

    // The table as lines: the cells of a row joined by " | ", a cyan cell marked "~".
    static std::vector<std::string> Table(const CGridFrame& grid)
    {
        std::vector<std::string> lines;
        for (int r = 0; r < grid.m_Cells.GetRows(); ++r) {
            std::string line;
            for (int c = 0; c < grid.m_Cells.GetColumns(); ++c) {
                if (c > 0) line += " | ";
                const uint32_t colour = grid.m_Cells.GetColour(r, c);
                if (colour == CReportGrid::kCyan) line += "~";
                else if (colour != CReportGrid::kWhite) line += "?";
                line += grid.m_Cells.GetText(r, c);
            }
            lines.push_back(line);
        }
        return lines;
    }

    std::unique_ptr<ui::FrameWindow> main_;
    CReportGrid* grid_ = nullptr;  // deletes itself
};
