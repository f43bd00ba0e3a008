// The self check-in selection: the rows offered today, the limits of limited-quantity items,
// which purchase a use is charged to, the sales of classes and walk-in items, and the name tag.

#include "tests/dialogs/CheckInFixture.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dialogs/DialogSelfCheckinSelect.h"
#include "platform/ui/Application.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/PrinterDC.h"

namespace {

constexpr int kList = 1397;
constexpr int kPreview = 1399;
constexpr int kPrint = 1400;
constexpr int kSignIn = 1000;

CDialogSelfCheckinSelect& Select(ui::Dialog& d) { return static_cast<CDialogSelfCheckinSelect&>(d); }

class SelfCheckinTest : public CheckInTest {
protected:
    // Runs the selection for the student with `script`; the number of rows it offered.
    int Run(const std::function<void(ui::Dialog&)>& script, CDialogSelfCheckinSelect* keep = nullptr)
    {
        CDialogSelfCheckinSelect own(db_.get());
        CDialogSelfCheckinSelect& dialog = keep ? *keep : own;
        dialog.m_pStudent = student_;
        const int offered = dialog.GetActivityTokens();
        if (offered > 0) {
            Script(script);
            dialog.DoModal();
        }
        return offered;
    }
    static uint32_t Used(const CPurchaseRecord& p) { return p.m_Items[0]->CountTokens('U'); }
};

TEST_F(SelfCheckinTest, OffersTodaysClassesLessonsAndValidPasses)
{
    const uint32_t latin = AddType("Latin")->m_nCode;
    const uint32_t ballroom = AddType("Ballroom")->m_nCode;
    CPriceListItem* salsa = AddClass("Salsa", latin, {Today(10), Today(18), Today(10) + 1});
    AddClass("Tango", ballroom, {Today(12)});
    CPriceListItem* pass = AddClass("Ballroom pass", ballroom, {});
    AddLimited(*salsa, 'N', 4, 0, DaysAgo(10));
    AddLimited(*pass, 'T', 30, 0, DaysAgo(5), "Ballroom month");
    AddLimited(*pass, 'T', 30, 0, DaysAgo(40), "Ballroom last winter");
    AddLimited(*salsa, 'N', 2, 2, DaysAgo(10), "Salsa used up");
    AddLessons("SN", {Today(11)});

    EXPECT_EQ(Run([&](ui::Dialog& d) {
                  EXPECT_EQ(d.GetWindowText(), "Check-in for Zelda Quill");
                  EXPECT_EQ(Lines(d, kList), (std::vector<std::string>{"10:00AM, Salsa", "11:00AM, Private lesson",
                                                                       "12:00PM, Ballroom month", "06:00PM, Salsa"}));
                  ui::test::Click(d, ui::IDCANCEL);
              }),
              4);
}

TEST_F(SelfCheckinTest, ASecondCheckInTheSameDayOffersThatClassNoMore)
{
    CPriceListItem* salsa = AddClass("Salsa", NO_CODE, {Today(10), Today(18)});
    CPriceListItem* waltz = AddClass("Waltz", NO_CODE, {Today(19)});
    AddLimited(*salsa, 'N', 10, 1, DaysAgo(10), "", Today(8));
    AddLimited(*waltz, 'N', 10, 0, DaysAgo(10), "Waltz card");
    EXPECT_EQ(Run([&](ui::Dialog& d) {
                  EXPECT_EQ(Lines(d, kList), std::vector<std::string>{"07:00PM, Waltz card"});
                  ui::test::Click(d, ui::IDCANCEL);
              }),
              1);
}

TEST_F(SelfCheckinTest, TheItemWithFewestUsesLeftIsChargedFirst)
{
    CPriceListItem* salsa = AddClass("Salsa", NO_CODE, {Today(10)});
    const uint32_t four = AddLimited(*salsa, 'N', 4, 0, DaysAgo(10))->m_nCode;
    const uint32_t one = AddLimited(*salsa, 'N', 1, 0, DaysAgo(10))->m_nCode;
    EXPECT_EQ(Run([&](ui::Dialog& d) {
                  ASSERT_EQ(Lines(d, kList).size(), 2u);
                  EXPECT_EQ(Select(d).NumberRemainingOfFixedNumberItems(salsa->m_nCode), 5u);
                  EXPECT_EQ(Select(d).SelectFixedNumberItemToCharge(salsa->m_nCode), 1);
                  ui::test::ToggleItem(d, kList, 0);
                  ui::test::Click(d, kSignIn);
              }),
              2);
    EXPECT_EQ(Used(Purchase(one)), 1u);
    EXPECT_EQ(Used(Purchase(four)), 0u);
    const CScheduleToken& use = *Purchase(one).m_Items[0]->m_Tokens.back();
    EXPECT_EQ(use.m_cState, 'U');
    EXPECT_EQ(use.m_dDate, Today(10));
    EXPECT_EQ(use.m_nActivity, salsa->m_nCode);
    // The file holds what memory shows, and the class is not offered again today.
    Reopen();
    EXPECT_EQ(Used(Purchase(one)), 1u);
    CDialogSelfCheckinSelect again(db_.get());
    again.m_pStudent = static_cast<CPerson*>(db_->GetItem(TABLE_PERSON, student_->m_nCode));
    EXPECT_EQ(again.GetActivityTokens(), 0);
}

TEST_F(SelfCheckinTest, BothRowsOfTwoPurchasesChargeEachOnce)
{
    CPriceListItem* salsa = AddClass("Salsa", NO_CODE, {Today(10)});
    const uint32_t four = AddLimited(*salsa, 'N', 4, 0, DaysAgo(10))->m_nCode;
    const uint32_t one = AddLimited(*salsa, 'N', 1, 0, DaysAgo(10))->m_nCode;
    Run([&](ui::Dialog& d) {
        ui::test::ToggleItem(d, kList, 0);
        ui::test::ToggleItem(d, kList, 1);
        ui::test::Click(d, kSignIn);
    });
    // Counted again after the first charge: the used-up item is not charged past its uses.
    EXPECT_EQ(Used(Purchase(one)), 1u);
    EXPECT_EQ(Used(Purchase(four)), 1u);
}

TEST_F(SelfCheckinTest, SelectingPastTheLimitIsRefused)
{
    CPriceListItem* salsa = AddClass("Salsa", NO_CODE, {Today(10), Today(14), Today(18)});
    const uint32_t card = AddLimited(*salsa, 'N', 2, 0, DaysAgo(10))->m_nCode;
    Answer({ui::IDOK});
    Run([&](ui::Dialog& d) {
        for (int line = 0; line < 3; ++line) ui::test::ToggleItem(d, kList, line);
        EXPECT_EQ(d.List(kList)->GetSelCount(), 2);
        EXPECT_EQ(Select(d).m_aSelected, (std::vector<std::string>{"10:00AM Salsa", "02:00PM Salsa"}));
        ui::test::Click(d, kSignIn);
    });
    ASSERT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(Boxes()[0], "You have selected 3 items, which exceeds\nthe maximum number of 2 for this type of "
                          "item.\nPlease ask receptionist for assistance.");
    EXPECT_EQ(Used(Purchase(card)), 2u);
}

TEST_F(SelfCheckinTest, NothingSelectedStaysOpen)
{
    AddClass("Salsa", NO_CODE, {Today(10)});
    AddLimited(*static_cast<CPriceListItem*>(db_->GetItemList(TABLE_PRICELIST)->at(0).pItem), 'N', 2, 0, DaysAgo(1));
    Answer({ui::IDOK});
    Run([&](ui::Dialog& d) {
        ui::test::Click(d, kSignIn);
        EXPECT_FALSE(d.HasEnded());
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(Boxes(), std::vector<std::string>{"No activities selected."});
}

TEST_F(SelfCheckinTest, ClassesAndWalkInItemsAreBoughtWithThePaymentDue)
{
    CPriceListItem* social = AddItem("Social dance", 15.0, 's');
    CPriceListItem* walkIn = AddItem("Practice hour", 10.0, 'N');
    walkIn->m_cSelfSignIn = 1;
    auto event = std::make_unique<CScheduleRecord>();
    event->m_sText = "Friday social";
    event->m_nStudent = student_->m_nCode;
    event->m_cSelfCheckIn = 1;
    event->m_nPriceListCode = social->m_nCode;
    event->m_cRepeat = 'W';
    event->m_dFirstDate = Today(19) - 14;
    event->m_dLastDate = Today(19) + 14;
    Add(TABLE_SCHEDULE, std::move(event));
    const size_t before = db_->GetItemList(TABLE_PURCHASE)->size();

    Answer({ui::IDOK});
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(Lines(d, kList), (std::vector<std::string>{"08:00AM, Practice hour", "07:00PM, Friday social"}));
        ui::test::ToggleItem(d, kList, 0);
        ui::test::ToggleItem(d, kList, 1);
        ui::test::Click(d, kSignIn);
    });
    EXPECT_EQ(db_->RunSelfCheckIn(student_), 1);
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Payment of 10.00 due for\nPractice hour.\nPayment of 15.00 due "
                                                "for\nSocial dance.\n"});
    const std::vector<stIndex>& purchases = *db_->GetItemList(TABLE_PURCHASE);
    ASSERT_EQ(purchases.size(), before + 2);
    for (size_t i = before; i < purchases.size(); ++i) {
        const auto& p = *static_cast<const CPurchaseRecord*>(purchases[i].pItem);
        EXPECT_EQ(p.m_nPerson, student_->m_nCode);
        ASSERT_EQ(p.m_Payments.size(), 1u);
        EXPECT_EQ(p.m_Payments[0]->m_cKind, 'U');
        EXPECT_EQ(p.m_Items[0]->m_Tokens[0]->m_cState, 'U');
    }
    EXPECT_NEAR(db_->GetPersonBalance(student_->m_nCode), 25.0, 0.001);
}

TEST_F(SelfCheckinTest, NothingToOfferShowsNoDialog)
{
    EXPECT_EQ(db_->RunSelfCheckIn(student_), 0);
    EXPECT_TRUE(Hooks().dialogsRun.empty());
}

TEST_F(SelfCheckinTest, NameTagPreviewFollowsTheSelectionAndPrints)
{
    CPriceListItem* salsa = AddClass("salsa night", NO_CODE, {Today(10), Today(18)});
    AddLimited(*salsa, 'N', 5, 0, DaysAgo(1));
    struct Case {
        uint8_t firstOnly;
        const char* name;
    } cases[] = {{0, "Zelda Quill"}, {1, "Zelda"}};
    ASSERT_NE(db_->GetFormat(36), nullptr);
    for (const Case& c : cases) {
        db_->m_Parameters.SetByte(param::kNameTagFirstOnly, c.firstOnly);
        const std::string day = FormatDateTime(GetNow(), "%m/%d/%Y");
        ui::PageModel printed;
        ui::test::SetPrintRecorder(&printed);
        ui::test::SetPrintSetupHook([](const ui::PrintSetup& initial) { return std::optional<ui::PrintSetup>(initial); });
        CDialogSelfCheckinSelect dialog(db_.get());
        Run(
            [&](ui::Dialog& d) {
                ui::Window& preview = *d.GetDlgItem(kPreview);
                // The first paint posts the message that draws the first preview; later paints do not.
                EXPECT_EQ(Select(d).m_bShown, 0);
                ui::RecordedPage page = ui::test::RecordPaint(preview);
                ui::Application::PumpMessages();
                EXPECT_EQ(Select(d).m_bShown, 1);
                page = ui::test::RecordPaint(preview);
                EXPECT_EQ(page.TextLines(), (std::vector<std::string>{c.name, day}));
                ui::test::ToggleItem(d, kList, 1);
                page = ui::test::RecordPaint(preview);
                EXPECT_EQ(page.TextLines(), (std::vector<std::string>{c.name, "06:00PM Salsa Night", day}));
                ui::test::Click(d, kPrint);
            },
            &dialog);
        ui::test::SetPrintSetupHook(nullptr);
        ui::test::SetPrintRecorder(nullptr);
        EXPECT_EQ(printed.document, "Label print job");
        ASSERT_EQ(printed.pages.size(), 1u);
        EXPECT_EQ(printed.pages[0].TextLines(),
                  (std::vector<std::string>{c.name, "06:00PM Salsa Night", day}));
        const ui::RecordedText* name = printed.pages[0].Find(c.name);
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->x, 3);
        EXPECT_EQ(name->y, 0);
        EXPECT_EQ(name->font.face, db_->GetFormat(36)->GetFace());
        // Printing signed in as well.
        EXPECT_TRUE(dialog.HasEnded());
        FixClock(2026, 3, 11, 9, 0);  // the next day, so that the class is offered again
        salsa->m_Dates = {MakeDate(2026, 3, 11, 10, 0), MakeDate(2026, 3, 11, 18, 0)};
    }
}

TEST_F(SelfCheckinTest, NameTagPrintedOnceToAPdfFile)
{
    CPriceListItem* salsa = AddClass("Salsa", NO_CODE, {Today(18)});
    AddLimited(*salsa, 'N', 5, 0, DaysAgo(1));
    const std::string pdf = folder_ + "/tag.pdf";
    Hooks().scriptFileDialogs = true;
    Hooks().fileDialogAnswers.push_back(pdf);
    ui::test::SetPrintSetupHook([](const ui::PrintSetup& initial) {
        ui::PrintSetup setup = initial;
        setup.printer = ui::PrinterDC::kPdfPrinter;
        return std::optional<ui::PrintSetup>(setup);
    });
    Run([&](ui::Dialog& d) {
        ui::test::ToggleItem(d, kList, 0);
        ui::test::Click(d, kPrint);
    });
    ui::test::SetPrintSetupHook(nullptr);
    ASSERT_TRUE(std::filesystem::exists(pdf));
    ASSERT_EQ(std::system(("pdftotext '" + pdf + "' '" + pdf + ".txt'").c_str()), 0);
    std::ifstream in(pdf + ".txt");
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("Zelda Quill"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("06:00PM Salsa"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("03/10/2026"), std::string::npos) << text.str();
}

TEST_F(SelfCheckinTest, AMissingTagFontGivesTheDefaultPrintFormat)
{
    CPriceListItem* salsa = AddClass("Salsa", NO_CODE, {Today(10)});
    AddLimited(*salsa, 'N', 5, 0, DaysAgo(1));
    db_->ClearFormat();
    Run([&](ui::Dialog& d) {
        const ui::RecordedPage page = ui::test::RecordPaint(*d.GetDlgItem(kPreview));
        const ui::RecordedText* name = page.Find("Zelda Quill");
        ASSERT_NE(name, nullptr);
        EXPECT_EQ(name->font.face, "Times New Roman");
        ui::test::Click(d, ui::IDCANCEL);
    });
}

}  // namespace
