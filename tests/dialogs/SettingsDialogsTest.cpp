// The settings dialogs on the studio fixture, through the database's saves and a reopened file:
// software parameters, page layout, text format, studio data and the tax report dates.

#include "tests/studio/StudioFixture.h"

#include "database/SettingsRecords.h"
#include "dialogs/DatabaseDialogs.h"
#include "dialogs/DialogFormat.h"
#include "dialogs/DialogStudioData.h"
#include "dialogs/DialogTaxReportSetup.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Font.h"
#include "platform/ui/ListBox.h"

namespace {

using ui::test::Click;
using ui::test::SetText;

class SettingsDialogsTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildStudio();
        Reopen();
        Use();
    }
    void TearDown() override
    {
        ui::test::ClearCommonDialogHooks();
        StudioTest::TearDown();
    }
    // The program's dialogs on this database, as a level-9 user.
    void Use()
    {
        db_->SetUi(&dialogs_);
        db_->SetUserAccessLevel(10);
        // A face this screen has, so that the font lists select it.
        const std::vector<std::string> families = ui::GetFontFamilies();
        ASSERT_FALSE(families.empty());
        face_ = families.front();
    }
    void ReopenAndUse()
    {
        Reopen();
        Use();
    }
    static void Script(std::function<void(ui::Dialog&)> script)
    {
        ui::test::GetHooks().dialogScripts.push_back(std::move(script));
    }
    static std::vector<std::string>& BoxTexts() { return ui::test::GetHooks().messageBoxTexts; }
    static std::vector<std::string> TabLines(ui::Dialog& d)
    {
        std::vector<std::string> lines;
        ui::ListBox* list = d.List(1040);
        for (int i = 0; list && i < list->GetCount(); ++i) lines.push_back(list->GetText(i));
        return lines;
    }

    CDatabaseDialogs dialogs_;
    std::string face_;
};

// ---- Software parameters ----

TEST_F(SettingsDialogsTest, ParametersRoundTripAndColoursOnlyWithOk)
{
    stConfigureAppValues app;
    app.sBackupDrive = "E:";
    app.nTimedBackups = 3;
    dialogs_.m_pAppValues = &app;
    std::vector<ui::COLORREF> colours = {0x112233, 0x445566, 0x778899};
    ui::test::SetColourDialogHook([&](ui::COLORREF) -> std::optional<ui::COLORREF> {
        const ui::COLORREF c = colours.front();
        colours.erase(colours.begin());
        return c;
    });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Specify software parameters");
        EXPECT_EQ(d.GetDlgItemText(1337), "E:");
        EXPECT_EQ(d.GetDlgItemText(1453), "3");
        SetText(d, 1223, "30");
        SetText(d, 1267, "9");
        SetText(d, 1032, "30");
        SetText(d, 1371, "5000");
        SetText(d, 1405, "2.5");
        SetText(d, 1430, "Welcome!");
        SetText(d, 1453, "7");
        Click(d, 1442);  // label colour
        Click(d, 1443);  // cell colour
        Click(d, 1432);  // sign-in background
        Click(d, 1412);  // logo italics off
        Click(d, 1000);
    });
    EXPECT_EQ(db_->SaveParameterRecord(1), 1);
    EXPECT_EQ(app.nTimedBackups, 7);
    ReopenAndUse();
    const stParameters& p = db_->m_Parameters;
    EXPECT_EQ(p.GetInt(param::kRefreshSeconds), 30);
    EXPECT_EQ(p.GetInt(param::kStartHour), 9);
    EXPECT_EQ(p.GetInt(param::kMinutesPerIncrement), 30);
    EXPECT_EQ(p.GetInt(param::kNextInvoiceNumber), 5000);
    EXPECT_FLOAT_EQ(p.GetFloat(param::kFlashSeconds), 2.5f);
    EXPECT_EQ(p.GetUInt(param::kLabelColour), 0x112233u);
    EXPECT_EQ(p.GetUInt(param::kCellColour), 0x445566u);
    EXPECT_EQ(p.GetUInt(param::kCheckInBackground), 0x778899u);
    EXPECT_EQ(p.GetByte(param::kLogoTextLook + 2), 0);  // italics
    EXPECT_EQ(p.GetByte(param::kLogoTextLook + 3), 1);  // border untouched
    EXPECT_EQ(db_->GetStudioStrings().sWelcomeLogoText, "Welcome!");

    // Cancel after choosing colours and typing: nothing changes, in memory or in the file.
    colours = {0x010101};
    const stParameters before = db_->m_Parameters;
    Script([](ui::Dialog& d) {
        SetText(d, 1223, "50");
        Click(d, 1442);
        Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(db_->SaveParameterRecord(1), 0);
    EXPECT_EQ(db_->m_Parameters.bytes, before.bytes);
    ReopenAndUse();
    EXPECT_EQ(db_->m_Parameters.bytes, before.bytes);
}

TEST_F(SettingsDialogsTest, ParametersRefuseWhatReadingWouldReject)
{
    struct Case {
        int id;
        const char* typed;
        const char* message;
    } cases[] = {
        {1223, "101", "Please enter an integer between 0 and 100."},
        {1248, "11", "Please enter an integer between 0 and 10."},
        {1453, "26", "Please enter an integer between 0 and 25."},
        {1267, "0", "Please enter an integer between 1 and 23."},
        {1270, "60", "Please enter an integer between 0 and 59."},
        {1034, "101", "Please enter an integer between 0 and 100."},
        {1032, "0", "Please enter an integer between 1 and 120."},
        {1371, "0", "Please enter an integer between 1 and 2147483647."},
        {1385, "61", "Please enter an integer between 1 and 60."},
        {1378, "8", "Please enter an integer between 1 and 7."},
        {1268, "16", "Please enter an integer between 1 and 15."},
        {1269, "0", "Please enter an integer between 1 and 15."},
        {1405, "5.5", "Please enter a number between 0 and 5."},
        {1431, "100.5", "Please enter a number between 0 and 100."},
    };
    const stParameters before = db_->m_Parameters;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        BoxTexts().clear();
        ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
        Script([&](ui::Dialog& d) {
            SetText(d, c.id, c.typed);
            Click(d, 1000);
            EXPECT_FALSE(d.HasEnded());
            Click(d, ui::IDCANCEL);
        });
        EXPECT_EQ(db_->SaveParameterRecord(1), 0);
        EXPECT_EQ(BoxTexts(), (std::vector<std::string>{c.message}));
    }
    EXPECT_EQ(db_->m_Parameters.bytes, before.bytes);
}

TEST_F(SettingsDialogsTest, ResetFontsFillsTheLiveFormatsAndTheFile)
{
    stFormatRecord* live = db_->GetFormat(7);
    live->SetFace(face_);
    live->nSize = 200;
    ASSERT_EQ(db_->WriteFormatRecord(*live), 1);
    Script([](ui::Dialog& d) {
        SetText(d, 1268, "3");
        Click(d, 1380);
        EXPECT_EQ(d.GetDlgItemText(1268), "12");
        EXPECT_EQ(d.GetDlgItemText(1269), "10");
        Click(d, ui::IDCANCEL);
    });
    db_->SaveParameterRecord(1);
    // The views' pointer still holds format 7, now the default one.
    EXPECT_EQ(db_->GetFormat(7), live);
    EXPECT_EQ(live->GetFace(), "Times New Roman");
    EXPECT_EQ(live->nSize, 90);
    EXPECT_EQ(db_->m_pRtfFormat, db_->GetFormat(1));
    ReopenAndUse();
    EXPECT_EQ(db_->GetFormat(7)->nSize, 90);
}

// ---- Page layout ----

TEST_F(SettingsDialogsTest, PageLayoutStoresMarginsSizeAndFont)
{
    stPageLayout& layout = db_->m_aPageLayouts[0];
    layout.nFormatSize = 105;
    layout.SetFormatFace(face_);
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Page layout for printer");
        EXPECT_EQ(d.GetDlgItemText(1232), "10");
        SetText(d, 1264, "0.5");
        SetText(d, 1265, "0.75");
        SetText(d, 1266, "1.0");
        Click(d, 1261);
        Click(d, 1000);
    });
    db_->SavePageLayoutRecord(0, "Reports");
    ReopenAndUse();
    const stPageLayout& saved = db_->m_aPageLayouts[0];
    EXPECT_FLOAT_EQ(saved.fTopMargin, 0.5f);
    EXPECT_FLOAT_EQ(saved.fBottomMargin, 0.75f);
    EXPECT_FLOAT_EQ(saved.fLeftMargin, 1.0f);
    EXPECT_EQ(saved.nFormatSize, 100);
    EXPECT_EQ(saved.nLandscape, 1);
    EXPECT_EQ(saved.GetFormatFace(), face_);

    // Cancel changes nothing; a margin that is no number keeps the dialog open.
    Script([](ui::Dialog& d) {
        SetText(d, 1264, "wide");
        Click(d, 1000);
        EXPECT_FALSE(d.HasEnded());
        Click(d, ui::IDCANCEL);
    });
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    db_->m_aPageLayouts[0].SetFormatFace(face_);
    db_->SavePageLayoutRecord(0, "Reports");
    EXPECT_EQ(BoxTexts().back(), "Please enter a number.");
    EXPECT_FLOAT_EQ(db_->m_aPageLayouts[0].fTopMargin, 0.5f);
}

// ---- Text format ----

TEST_F(SettingsDialogsTest, FormatTabsThroughTheirButtons)
{
    db_->GetFormat(7)->SetFace(face_);
    db_->GetFormat(7)->aTabStops = {0.5, 1.0, 2.0};
    // One script for the format dialog; the prompts its buttons open take the scripts after it.
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Format Schedule list");
        EXPECT_EQ(TabLines(d), (std::vector<std::string>{"0.500", "1.000", "2.000"}));
        Click(d, 1253);  // equal spacing, no selection: from the first line
        EXPECT_EQ(TabLines(d), (std::vector<std::string>{"0.500", "1.250", "2.000"}));
        Click(d, 1047);  // Add, typed no number
        EXPECT_EQ(TabLines(d).size(), 3u);
        Click(d, 1047);  // Add 1.5: in order
        EXPECT_EQ(TabLines(d), (std::vector<std::string>{"0.500", "1.250", "1.5", "2.000"}));
        Click(d, 1058);  // Delete without a selection
        ui::test::SelectItem(d, 1040, 0);
        Click(d, 1058);
        EXPECT_EQ(TabLines(d), (std::vector<std::string>{"1.250", "1.5", "2.000"}));
        Click(d, 1000);
    });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Tab increment (in.)");
        SetText(d, 1254, "0.75");
        Click(d, ui::IDOK);
    });
    Script([](ui::Dialog& d) {
        SetText(d, 1254, "abc");
        Click(d, ui::IDOK);
    });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Tab [in.]");
        SetText(d, 1254, "1.5");
        Click(d, ui::IDOK);
    });
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK, ui::IDOK};
    EXPECT_EQ(db_->SaveFormatRecord(7, "Schedule list", 1, 1), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Please enter a number.", "No item selected"}));
    ReopenAndUse();
    EXPECT_EQ(db_->GetFormat(7)->aTabStops, (std::vector<double>{1.25, 1.5, 2.0}));
}

TEST_F(SettingsDialogsTest, FormatAltTSizeAndSample)
{
    db_->GetFormat(7)->SetFace(face_);
    db_->GetFormat(7)->nSize = 105;
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1232), "10");
        ui::test::PressAltKey(d, 'T');
        EXPECT_EQ(TabLines(d), (std::vector<std::string>{"3", "1", "2"}));
        ui::Window* sample = d.GetDlgItem(1229);
        ASSERT_NE(sample, nullptr);
        SetText(d, 1232, "22");
        ui::RecordedPage page = ui::test::RecordPaint(*sample);
        ASSERT_NE(page.Find("AaBbXxZz"), nullptr);
        EXPECT_EQ(page.Find("AaBbXxZz")->font.sizeTenths, 330);
        EXPECT_EQ(page.Find("AaBbXxZz")->font.face, face_);
        SetText(d, 1232, "23");
        EXPECT_EQ(ui::test::RecordPaint(*sample).Find("AaBbXxZz"), nullptr);
        // Painting changes no control.
        EXPECT_EQ(d.GetDlgItemText(1232), "23");
        SetText(d, 1232, "0");
        Click(d, 1000);
        EXPECT_FALSE(d.HasEnded());
        SetText(d, 1232, "12");
        Click(d, 1178);
        Click(d, 1000);
    });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "String");
        EXPECT_EQ(d.GetDlgItemText(1254), "1.177,2.177");
        SetText(d, 1254, "3,1,2");
        Click(d, ui::IDOK);
    });
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    EXPECT_EQ(db_->SaveFormatRecord(7, "Schedule list", 1, 1), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Please enter a positive integer."}));
    ReopenAndUse();
    EXPECT_EQ(db_->GetFormat(7)->aTabStops, (std::vector<double>{3, 1, 2}));
    EXPECT_EQ(db_->GetFormat(7)->nSize, 120);
    EXPECT_EQ(db_->GetFormat(7)->cBold, 1);
}

TEST_F(SettingsDialogsTest, FormatWithTabsLockedKeepsThem)
{
    db_->GetFormat(7)->SetFace(face_);
    Script([](ui::Dialog& d) {
        for (int id : {1040, 1076, 1047, 1058, 1053, 1253}) EXPECT_FALSE(d.GetDlgItem(id)->IsWindowEnabled()) << id;
        ui::test::PressAltKey(d, 'T');
        Click(d, 1000);
    });
    EXPECT_EQ(db_->SaveFormatRecord(7, "Schedule list", 0, 0), 1);
    EXPECT_EQ(db_->GetFormat(7)->aTabStops, (std::vector<double>{1.177, 2.177}));
}

// ---- Studio data and tax dates ----

TEST_F(SettingsDialogsTest, StudioDataCopiesBackOnOkOnly)
{
    for (int button : {static_cast<int>(ui::IDCANCEL), 1000}) {
        CDialogStudioData dialog(db_.get());
        dialog.m_strName = "Starlight";
        dialog.m_strReportEmail = "office@starlight.test";
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Studio data");
            EXPECT_EQ(d.GetDlgItemText(1362), "Starlight");
            EXPECT_EQ(d.GetDlgItemText(1387), "office@starlight.test");
            SetText(d, 1362, "Moonlight");
            SetText(d, 1046, "Canada");
            Click(d, button);
        });
        dialog.DoModal();
        EXPECT_EQ(dialog.m_strName, button == 1000 ? "Moonlight" : "Starlight");
        EXPECT_EQ(dialog.m_strCountry, button == 1000 ? "Canada" : "");
        EXPECT_EQ(dialog.m_strReportEmail, "office@starlight.test");
    }
}

TEST_F(SettingsDialogsTest, TaxDatesRunFromThisNewYearToTheNext)
{
    for (int month : {1, 6, 12}) {
        FixClock(2026, month, month == 1 ? 1 : 15, 10, 0);
        CDialogTaxReportSetup dialog;
        Script([](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Tax report dates");
            Click(d, 1361);
            Click(d, 1000);
        });
        EXPECT_EQ(dialog.DoModal(), ui::IDOK);
        EXPECT_EQ(dialog.m_StartDate.GetText(), "01/01/2026");
        EXPECT_EQ(dialog.m_EndDate.GetText(), "01/01/2027");
        EXPECT_EQ(dialog.m_bShowDetails, 1);
    }
}

}  // namespace
