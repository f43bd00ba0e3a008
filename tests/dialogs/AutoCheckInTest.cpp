// The kiosk: its layout by the logo's share, when it lays out, the passwords that close it, and
// what an entered code does.

#include "tests/dialogs/CheckInFixture.h"

#include <QImage>

#include "dialogs/DialogAutoCheckIn.h"
#include "platform/ui/Application.h"

namespace {

constexpr int kEntry = 1396;
constexpr int kPrompt = 1427;

using Layout = CDialogAutoCheckIn::stLayout;

TEST(AutoCheckInLayout, ShareOfTheLogo)
{
    // A 1000 x 700 client, a 300 x 20 prompt and a 200 x 24 entry box: 636 pixels above the
    // bottom line, which starts at 656.
    const ui::DCRect client{0, 0, 1000, 700};
    const ui::DCRect prompt{20, 656, 320, 676};
    const ui::DCRect entry{780, 656, 980, 680};
    const ui::DCRect none{};
    struct Case {
        double percent;
        int logo;
        ui::DCRect message;
        ui::DCRect logoArea;
        ui::DCRect welcome;
    } cases[] = {
        {80, 1, {20, 509, 980, 636}, {20, 30, 980, 499}, none},
        {100, 1, none, {20, 30, 980, 626}, none},
        {0, 1, {20, 0, 980, 636}, none, none},
        {-5, 1, {20, 0, 980, 636}, none, none},
        {80, 0, {20, 509, 980, 636}, none, {20, 20, 980, 489}},
        {100, 0, none, none, {20, 20, 980, 616}},
    };
    for (const Case& c : cases) {
        const Layout l = CDialogAutoCheckIn::ComputeLayout(client, {300, 20}, {200, 24}, c.percent, c.logo);
        EXPECT_EQ(l.prompt, prompt) << c.percent;
        EXPECT_EQ(l.entry, entry) << c.percent;
        EXPECT_EQ(l.message, c.message) << c.percent << " " << c.logo;
        EXPECT_EQ(l.logo, c.logoArea) << c.percent << " " << c.logo;
        EXPECT_EQ(l.welcome, c.welcome) << c.percent << " " << c.logo;
    }
}

class AutoCheckInTest : public CheckInTest {
protected:
    void SetUp() override
    {
        CheckInTest::SetUp();
        db_->m_aUserPasswords = {"Front", "Office7"};
        student_->m_sText10 = "M-100";
    }
    // Types `text` into the entry box and presses `vk` there.
    static void Enter(ui::Dialog& d, const std::string& text, int vk = ui::VK_RETURN)
    {
        ui::test::SetText(d, kEntry, text);
        ui::test::Focus(d, kEntry);
        ui::test::PressKey(d, vk);
    }
    int RunKiosk(const std::function<void(ui::Dialog&)>& script)
    {
        Script(script);
        CDialogAutoCheckIn kiosk(db_.get());
        return kiosk.DoModal();
    }
};

TEST_F(AutoCheckInTest, TabLaysOutBeforeThePaintAndOnlyOnce)
{
    db_->m_Parameters.SetFloat(param::kLogoPercent, 50.0f);
    db_->GetStudioStrings().sWelcomeLogoText = "Dorval Dance";
    db_->GetStudioStrings().sWelcomeMessage = "Welcome back";
    RunKiosk([&](ui::Dialog& d) {
        auto& kiosk = static_cast<CDialogAutoCheckIn&>(d);
        EXPECT_TRUE(d.IsZoomed());
        EXPECT_FALSE(kiosk.IsLaidOut());
        ui::test::PressKey(d, ui::VK_TAB);
        ASSERT_TRUE(kiosk.IsLaidOut());
        const ui::DCRect prompt = d.GetDlgItem(kPrompt)->GetWindowRect();
        EXPECT_EQ(prompt, kiosk.GetLayout().prompt);
        EXPECT_EQ(kiosk.m_Welcome.GetWindowText(), "Dorval Dance");
        EXPECT_EQ(kiosk.m_Message.GetWindowText(), "Welcome back");
        EXPECT_EQ(d.GetDlgItem(kPrompt)->GetTextColor(), ui::RGB(255, 0, 0));
        // Later paints post the layout message again; nothing moves.
        d.GetDlgItem(kPrompt)->MoveWindow({5, 5, 100, 25});
        d.PostMessage(MSG_AUTOCHECKIN_LAYOUT);
        ui::Application::PumpMessages();
        EXPECT_EQ(d.GetDlgItem(kPrompt)->GetWindowRect(), (ui::DCRect{5, 5, 100, 25}));
        Enter(d, "front");
    });
}

TEST_F(AutoCheckInTest, ALogoFileTakesItsShareAndTheWelcomeTextGoes)
{
    const std::string logo = folder_ + "/logo.bmp";
    QImage image(100, 50, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(QString::fromStdString(logo)));
    db_->GetStudioStrings().sWelcomeLogoFile = logo;
    db_->GetStudioStrings().sWelcomeMessage = "Welcome back";
    db_->m_Parameters.SetFloat(param::kLogoPercent, 80.0f);
    RunKiosk([&](ui::Dialog& d) {
        auto& kiosk = static_cast<CDialogAutoCheckIn&>(d);
        ui::Application::PumpMessages();  // the layout message posted at the start
        ASSERT_TRUE(kiosk.IsLaidOut());
        const Layout& l = kiosk.GetLayout();
        EXPECT_GT(l.logo.Height(), 0);
        EXPECT_EQ(l.welcome, ui::DCRect{});
        EXPECT_FALSE(kiosk.m_Welcome.IsWindowVisible());
        EXPECT_EQ(kiosk.m_Message.GetWindowRect(), l.message);
        EXPECT_EQ(kiosk.m_Logo.GetWindowRect(), l.logo);
        EXPECT_TRUE(kiosk.m_Logo.m_Image.IsLoaded());
        Enter(d, "office7");
    });
}

TEST_F(AutoCheckInTest, OnlyAUsersPasswordClosesIt)
{
    Answer({ui::IDOK, ui::IDOK, ui::IDOK});
    EXPECT_EQ(RunKiosk([&](ui::Dialog& d) {
                  ui::test::PressKey(d, ui::VK_ESCAPE);  // empty
                  Enter(d, "guess", ui::VK_ESCAPE);
                  EXPECT_FALSE(d.HasEnded());
                  Enter(d, "");
                  EXPECT_FALSE(d.HasEnded());
                  Enter(d, "  OFFICE7 ", ui::VK_ESCAPE);
                  EXPECT_TRUE(d.HasEnded());
              }),
              ui::IDCANCEL);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Enter user password.", "Password not in list. Can not cancel.",
                                                 "Nothing entered in data entry box."}));
    EXPECT_EQ(RunKiosk([&](ui::Dialog& d) { Enter(d, "fRONT"); }), ui::IDCANCEL);
}

TEST_F(AutoCheckInTest, CodesFindTheStudent)
{
    const std::string code = std::to_string(student_->m_nCode);
    Answer({ui::IDOK, ui::IDOK, ui::IDOK});
    RunKiosk([&](ui::Dialog& d) {
        Enter(d, "  m-100 ");
        EXPECT_EQ(d.GetDlgItemText(kEntry), "");
        Enter(d, "X-1");
        EXPECT_EQ(d.GetDlgItemText(kEntry), "X-1");
        Enter(d, " " + code);
        Enter(d, "front");
    });
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Nothing scheduled today for Zelda Quill.\nPlease check with receptionist.",
                                                 "Code X-1 not recognized.",
                                                 "Nothing scheduled today for Zelda Quill.\nPlease check with receptionist."}));
}

TEST_F(AutoCheckInTest, AScheduledStudentGoesOnToTheSelection)
{
    CPriceListItem* salsa = AddClass("Salsa", NO_CODE, {Today(10)});
    const uint32_t card = AddLimited(*salsa, 'N', 3, 0, DaysAgo(3))->m_nCode;
    RunKiosk([&](ui::Dialog& d) {
        Script([](ui::Dialog& select) {
            EXPECT_EQ(select.GetTemplateId(), 307);
            ui::test::ToggleItem(select, 1397, 0);
            ui::test::Click(select, 1000);
        });
        Enter(d, "M-100");
        Enter(d, "front");
    });
    EXPECT_EQ(Purchase(card).m_Items[0]->CountTokens('U'), 1u);
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
