// The settings records of tables 1-4: defaults of a new database, validation of the Parameters
// block, the Configuration lines, font and page-layout tables.

#include "TablesFixture.h"

#include <cmath>

#include "common/QuestionBox.h"

namespace {

uint32_t CountLive(CDatabase& db, uint8_t table)
{
    uint32_t n = 0;
    for (const stDataHeader& h : db.GetHeaderArray())
        if (h.nTable == table && (h.cStatus == DB_STATUS_USED || h.cStatus == DB_STATUS_LOCKED)) ++n;
    return n;
}

}  // namespace

TEST_F(TablesTest, NewDatabaseHoldsTheDefaultSettingsRecords)
{
    db_->GetStudioStrings().sStudioName = "Starlight Studio";
    CreateDatabase();
    const stParameters made = db_->m_Parameters;
    Reopen();
    EXPECT_EQ(CountLive(*db_, 1), 1u);
    EXPECT_EQ(CountLive(*db_, 2), 1u);
    EXPECT_EQ(CountLive(*db_, 3), FORMAT_COUNT);
    EXPECT_EQ(CountLive(*db_, 4), PAGE_LAYOUT_COUNT);

    db_->m_Parameters = stParameters{};
    ASSERT_EQ(db_->ReadVarRecord(), 1);
    const stParameters& p = db_->m_Parameters;
    EXPECT_EQ(p.GetFontFace(), "Courier New");
    EXPECT_EQ(p.GetUInt(param::kFontSize), 90u);
    EXPECT_FLOAT_EQ(p.GetFloat(param::kMeasures + 4 * 2), 0.75f);
    EXPECT_EQ(p.GetInt(param::kPackedBackups), 5);
    EXPECT_EQ(p.GetUInt(param::kLabelColour), 0xc0c0c0u);
    EXPECT_EQ(p.GetByte(param::kLogoTextLook), 50);
    EXPECT_EQ(p.GetUInt(param::kMessageTextLook + 8), 0x00ffffu);
    EXPECT_FLOAT_EQ(p.GetFloat(param::kLogoPercent), 80.0f);
    // The fields without a default are what reading accepts, in the copy that made the file too.
    EXPECT_EQ(p.GetInt(param::kNextInvoiceNumber), 1);
    EXPECT_EQ(p.GetInt(param::kStartDayOfWeek), 1);
    EXPECT_EQ(p.GetInt(param::kActivityUnitMinutes), 10);
    EXPECT_EQ(made.bytes, p.bytes);

    EXPECT_EQ(db_->ReadFormatRecordTable(), 1);
    ASSERT_EQ(db_->GetFormatCount(), FORMAT_COUNT);
    EXPECT_EQ(db_->GetFormat(0)->GetFace(), "Courier New");
    EXPECT_EQ(db_->GetFormat(5)->aTabStops, (std::vector<double>{0.781, 1.5, 2.604, 3.469}));
    EXPECT_EQ(db_->GetFormat(14)->aTabStops, (std::vector<double>{2.0, 4.0}));
    EXPECT_EQ(db_->GetFormat(36)->nSize, 160);
    EXPECT_EQ(db_->GetFormat(36)->cCentred, 1);
    EXPECT_EQ(db_->GetFormat(35)->cBold, 1);
    EXPECT_EQ(db_->GetFormatNames()[37], "Name tag text");
    EXPECT_EQ(db_->m_pRtfFormat, db_->GetFormat(1));

    EXPECT_EQ(db_->ReadPageLayoutTable(), 1);
    ASSERT_EQ(db_->m_aPageLayouts.size(), PAGE_LAYOUT_COUNT);
    EXPECT_EQ(db_->m_aPageLayouts[4].nCode, 4);
    EXPECT_EQ(db_->m_aPageLayouts[4].GetFormatFace(), "Courier New");
    EXPECT_EQ(db_->m_aPageLayouts[4].nFormatSize, 100);

    uint32_t loc = db_->GetItemLoc(1, 1, 0, 0);
    stDataHeader h;
    h.nCurrLoc = loc;
    db_->GetStudioStrings() = stStudioStrings{};
    ASSERT_EQ(db_->ReadConfigurationRecord(h), 1);
    EXPECT_EQ(db_->GetStudioStrings().sStudioName, "Starlight Studio");
    EXPECT_EQ(db_->m_aConfigLines, (std::vector<std::string>{"STUDIO_NAME|Starlight Studio"}));
}

struct SettingCase {
    const char* what;
    std::function<void(stParameters&)> set;
    std::function<void(const stParameters&)> check;
};

TEST_F(TablesTest, ParametersAreClampedOnReading)
{
    const SettingCase cases[] = {
        {"font size 49 resets the group",
         [](stParameters& p) {
             p.SetUInt(param::kFontSize, 49);
             p.SetFontFace("Arial");
             p.SetByte(param::kFontFlag1, 1);
             p.SetByte(param::kFontFlag2, 1);
             p.SetFloat(param::kMeasures, 9.0f);
         },
         [](const stParameters& p) {
             EXPECT_EQ(p.GetUInt(param::kFontSize), 90u);
             EXPECT_EQ(p.GetFontFace(), "Courier New");
             EXPECT_EQ(p.GetByte(param::kFontFlag1), 0);
             EXPECT_EQ(p.GetByte(param::kFontFlag2), 0);
             EXPECT_FLOAT_EQ(p.GetFloat(param::kMeasures), 5.0f);
         }},
        {"font size 161 resets", [](stParameters& p) { p.SetUInt(param::kFontSize, 161); },
         [](const stParameters& p) { EXPECT_EQ(p.GetUInt(param::kFontSize), 90u); }},
        {"font size 50 kept",
         [](stParameters& p) {
             p.SetUInt(param::kFontSize, 50);
             p.SetFontFace("Arial");
         },
         [](const stParameters& p) {
             EXPECT_EQ(p.GetUInt(param::kFontSize), 50u);
             EXPECT_EQ(p.GetFontFace(), "Arial");
         }},
        {"font size 160 kept", [](stParameters& p) { p.SetUInt(param::kFontSize, 160); },
         [](const stParameters& p) { EXPECT_EQ(p.GetUInt(param::kFontSize), 160u); }},
        {"header font 0", [](stParameters& p) { p.SetByte(param::kScheduleHeaderFont, 0); },
         [](const stParameters& p) { EXPECT_EQ(p.GetByte(param::kScheduleHeaderFont), 12); }},
        {"header font 16", [](stParameters& p) { p.SetByte(param::kScheduleHeaderFont, 16); },
         [](const stParameters& p) { EXPECT_EQ(p.GetByte(param::kScheduleHeaderFont), 12); }},
        {"cell font 0", [](stParameters& p) { p.SetByte(param::kScheduleCellFont, 0); },
         [](const stParameters& p) { EXPECT_EQ(p.GetByte(param::kScheduleCellFont), 10); }},
        {"cell font 15 kept", [](stParameters& p) { p.SetByte(param::kScheduleCellFont, 15); },
         [](const stParameters& p) { EXPECT_EQ(p.GetByte(param::kScheduleCellFont), 15); }},
        {"label colour 0 resets both",
         [](stParameters& p) {
             p.SetUInt(param::kLabelColour, 0);
             p.SetUInt(param::kCellColour, 0x123456);
         },
         [](const stParameters& p) {
             EXPECT_EQ(p.GetUInt(param::kLabelColour), 0xc0c0c0u);
             EXPECT_EQ(p.GetUInt(param::kCellColour), 0xdcdcdcu);
         }},
        {"label colour 0x1000000 resets both",
         [](stParameters& p) {
             p.SetUInt(param::kLabelColour, 0x1000000);
             p.SetUInt(param::kCellColour, 0x123456);
         },
         [](const stParameters& p) { EXPECT_EQ(p.GetUInt(param::kCellColour), 0xdcdcdcu); }},
        {"valid colours kept",
         [](stParameters& p) {
             p.SetUInt(param::kLabelColour, 0xffffff);
             p.SetUInt(param::kCellColour, 1);
         },
         [](const stParameters& p) {
             EXPECT_EQ(p.GetUInt(param::kLabelColour), 0xffffffu);
             EXPECT_EQ(p.GetUInt(param::kCellColour), 1u);
         }},
        {"packed backups 11 becomes 10", [](stParameters& p) { p.SetInt(param::kPackedBackups, 11); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kPackedBackups), 10); }},
        {"next invoice 0", [](stParameters& p) { p.SetInt(param::kNextInvoiceNumber, 0); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kNextInvoiceNumber), 1); }},
        {"next invoice negative", [](stParameters& p) { p.SetInt(param::kNextInvoiceNumber, -7); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kNextInvoiceNumber), 1); }},
        {"next invoice 5000 kept", [](stParameters& p) { p.SetInt(param::kNextInvoiceNumber, 5000); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kNextInvoiceNumber), 5000); }},
        {"refresh 101", [](stParameters& p) { p.SetInt(param::kRefreshSeconds, 101); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kRefreshSeconds), 1); }},
        {"start hour 0", [](stParameters& p) { p.SetInt(param::kStartHour, 0); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kStartHour), 8); }},
        {"start minute 60", [](stParameters& p) { p.SetInt(param::kStartMinute, 60); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kStartMinute), 0); }},
        {"increments -1", [](stParameters& p) { p.SetInt(param::kIncrements, -1); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kIncrements), 14); }},
        {"minutes per increment 121", [](stParameters& p) { p.SetInt(param::kMinutesPerIncrement, 121); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kMinutesPerIncrement), 60); }},
        {"activity unit 0", [](stParameters& p) { p.SetInt(param::kActivityUnitMinutes, 0); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kActivityUnitMinutes), 10); }},
        {"start day 8", [](stParameters& p) { p.SetInt(param::kStartDayOfWeek, 8); },
         [](const stParameters& p) { EXPECT_EQ(p.GetInt(param::kStartDayOfWeek), 1); }},
        {"flash 5.5", [](stParameters& p) { p.SetFloat(param::kFlashSeconds, 5.5f); },
         [](const stParameters& p) { EXPECT_FLOAT_EQ(p.GetFloat(param::kFlashSeconds), 1.5f); }},
        {"flash NaN", [](stParameters& p) { p.SetFloat(param::kFlashSeconds, std::nanf("")); },
         [](const stParameters& p) { EXPECT_FLOAT_EQ(p.GetFloat(param::kFlashSeconds), 1.5f); }},
        {"logo percent 100.5", [](stParameters& p) { p.SetFloat(param::kLogoPercent, 100.5f); },
         [](const stParameters& p) { EXPECT_FLOAT_EQ(p.GetFloat(param::kLogoPercent), 10.0f); }},
        {"unnamed bytes kept",
         [](stParameters& p) {
             p.SetInt(0, 0x01020304);
             p.SetByte(1000, 0xAB);
         },
         [](const stParameters& p) {
             EXPECT_EQ(p.GetInt(0), 0x01020304);
             EXPECT_EQ(p.GetByte(1000), 0xAB);
         }},
    };
    CreateDatabase();
    for (const SettingCase& c : cases) {
        SCOPED_TRACE(c.what);
        db_->SetDefaultSettings();
        c.set(db_->m_Parameters);
        ASSERT_EQ(db_->SaveVarRecord(), 1);
        db_->m_Parameters = stParameters{};
        ASSERT_EQ(db_->ReadVarRecord(), 1);
        c.check(db_->m_Parameters);
    }
}

TEST_F(TablesTest, ConfigurationLinesSetTheStudioStrings)
{
    db_->GetStudioStrings().sStudioCode = "OLD";
    db_->GetStudioStrings().sFax = "555";
    db_->ApplyConfigurationLines({"STUDIO_NAME|Dance | Co", "STUDIO_CITY", "NOT_A_KEY|x", "STUDIO_ZIP|12345",
                                  "WELCOMEMESSAGE|"});
    const stStudioStrings& s = db_->GetStudioStrings();
    EXPECT_EQ(s.sStudioName, "Dance | Co");
    EXPECT_EQ(s.sCity, "");
    EXPECT_EQ(s.sZip, "12345");
    // Keys missing from the lines are cleared.
    EXPECT_EQ(s.sStudioCode, "");
    EXPECT_EQ(s.sFax, "");

    // Round trip through the file, values holding "|" included; empty values are not written.
    CreateDatabase();
    ASSERT_EQ(db_->SaveConfigurationTable(), 1);
    Reopen();
    stDataHeader h;
    h.nCurrLoc = db_->GetItemLoc(1, 1, 0, 0);
    ASSERT_EQ(db_->ReadConfigurationRecord(h), 1);
    EXPECT_EQ(db_->m_aConfigLines, (std::vector<std::string>{"STUDIO_NAME|Dance | Co", "STUDIO_ZIP|12345"}));
    EXPECT_EQ(db_->GetStudioStrings().sStudioName, "Dance | Co");
}

TEST_F(TablesTest, FontTableWithAMissingRecordIsRewritten)
{
    CreateDatabase();
    db_->DeleteRecord(db_->GetItemLoc(3, 20, 0, 0), 1, true);
    Reopen();
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->ReadFormatRecordTable(), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"In reading font table, number of fonts has changed. Saving default fonts"}));
    EXPECT_EQ(CountLive(*db_, 3), FORMAT_COUNT);
    Reopen();
    EXPECT_EQ(db_->ReadFormatRecordTable(), 1);
    EXPECT_EQ(BoxTexts().size(), 1u);
}

TEST_F(TablesTest, StoredFontsAndLayoutsReplaceTheDefaults)
{
    CreateDatabase();
    db_->GetFormat(7)->SetFace("Arial");
    db_->GetFormat(7)->aTabStops = {1.25};
    ASSERT_EQ(db_->WriteFormatRecord(*db_->GetFormat(7)), 1);
    db_->m_aPageLayouts[3].nLandscape = 1;
    db_->m_aPageLayouts[3].fLeftMargin = 1.0f;
    ASSERT_EQ(db_->SavePageLayoutTable(db_->m_aPageLayouts[3]), 1);
    Reopen();
    ASSERT_EQ(db_->ReadFormatRecordTable(), 1);
    EXPECT_EQ(db_->GetFormat(7)->GetFace(), "Arial");
    EXPECT_EQ(db_->GetFormat(7)->aTabStops, (std::vector<double>{1.25}));
    ASSERT_EQ(db_->ReadPageLayoutTable(), 1);
    EXPECT_EQ(db_->m_aPageLayouts[3].nLandscape, 1);
    EXPECT_FLOAT_EQ(db_->m_aPageLayouts[3].fLeftMargin, 1.0f);
    ASSERT_EQ(db_->ReadPageLayoutRecord(3), 1);
    EXPECT_EQ(db_->ReadPageLayoutRecord(6), 0);
    EXPECT_EQ(db_->ReadFormatRecord(38), 0);
}

TEST_F(TablesTest, RefreshedLayoutsTwoAndThreeLoseTheirMargins)
{
    CreateDatabase();
    for (int i : {1, 2}) {
        db_->m_aPageLayouts[i].fLeftMargin = 1.5f;
        db_->m_aPageLayouts[i].nField76 = 9;
        db_->SavePageLayoutTable(db_->m_aPageLayouts[i]);
    }
    db_->SetDefaultPageLayouts();
    for (uint32_t key : {1u, 2u}) {
        stDataHeader h;
        h.nCurrLoc = db_->GetItemLoc(4, key, 0, 0);
        h.nKey = key;
        ASSERT_EQ(db_->RefreshPageLayoutRecord(h), 1);
    }
    EXPECT_FLOAT_EQ(db_->m_aPageLayouts[1].fLeftMargin, 1.5f);
    EXPECT_EQ(db_->m_aPageLayouts[1].nFirstPageNumber, 1);
    EXPECT_FLOAT_EQ(db_->m_aPageLayouts[2].fLeftMargin, 0.0f);
    EXPECT_FLOAT_EQ(db_->m_aPageLayouts[2].fTopMargin, 0.0f);
    EXPECT_FLOAT_EQ(db_->m_aPageLayouts[2].fBottomMargin, 0.0f);
    EXPECT_EQ(db_->m_aPageLayouts[2].nFirstPageNumber, 0);
    EXPECT_EQ(db_->m_aPageLayouts[2].nField76, 9);
}

namespace {

// The settings dialogs as a person would use them: each says what it was shown, then changes what
// it was given and answers OK, or answers Cancel after changing it all the same.
class SettingsDialogs : public IDatabaseUi {
public:
    int answer = 1;
    std::vector<std::string> shown;
    int EditConfiguration(CDatabase& database) override
    {
        shown.push_back("configuration");
        database.m_Parameters.SetInt(param::kPackedBackups, 9);
        database.GetStudioStrings().sStudioName = "Moonlight Studio";
        return answer;
    }
    int EditFormat(CDatabase&, stFormatRecord& format, const std::string& title, int, int) override
    {
        shown.push_back(title);
        format.SetFace("Arial");
        format.nSize = 140;
        return answer;
    }
    int EditPageLayout(CDatabase&, stPageLayout& layout, const std::string& name) override
    {
        shown.push_back(name);
        layout.fLeftMargin = 1.25f;
        return answer;
    }
};

}  // namespace

TEST_F(TablesTest, SettingsDialogsSaveOnOkOnly)
{
    SettingsDialogs dialogs;
    for (int answer : {1, 2}) {
        SCOPED_TRACE(answer);
        CreateDatabase();
        db_->SetUi(&dialogs);
        const int size = db_->GetFormat(7)->nSize;
        const std::string face = db_->GetFormat(7)->GetFace();
        dialogs.answer = answer;
        dialogs.shown.clear();
        EXPECT_EQ(db_->SaveFormatRecord(7, "Heading", 0, 0), answer);
        db_->SavePageLayoutRecord(3, "Mail labels");
        db_->SaveParameterRecord(1);
        EXPECT_EQ(dialogs.shown, (std::vector<std::string>{"Format Heading", "Mail labels", "configuration"}));
        const bool saved = answer == 1;
        // What this copy holds ...
        EXPECT_EQ(db_->GetFormat(7)->GetFace(), saved ? "Arial" : face);
        EXPECT_FLOAT_EQ(db_->m_aPageLayouts[3].fLeftMargin, saved ? 1.25f : 0.5f);
        EXPECT_EQ(db_->m_Parameters.GetInt(param::kPackedBackups), saved ? 9 : 5);
        EXPECT_EQ(db_->GetStudioStrings().sStudioName, saved ? "Moonlight Studio" : "");
        // ... and what the file holds, records unlocked.
        Reopen();
        ASSERT_EQ(db_->ReadFormatRecordTable(), 1);
        EXPECT_EQ(db_->GetFormat(7)->GetFace(), saved ? "Arial" : face);
        EXPECT_EQ(db_->GetFormat(7)->nSize, saved ? 140 : size);
        ASSERT_EQ(db_->ReadPageLayoutTable(), 1);
        EXPECT_FLOAT_EQ(db_->m_aPageLayouts[3].fLeftMargin, saved ? 1.25f : 0.5f);
        ASSERT_EQ(db_->ReadVarRecord(), 1);
        EXPECT_EQ(db_->m_Parameters.GetInt(param::kPackedBackups), saved ? 9 : 5);
        for (uint8_t table : {2, 3, 4})
            for (const stDataHeader& h : db_->GetHeaderArray()) {
                if (h.nTable == table) {
                    EXPECT_NE(h.cStatus, DB_STATUS_LOCKED) << int(table);
                }
            }
        db_->CloseDB();
        std::filesystem::remove(DbPath());
        db_ = std::make_unique<CDatabase>();
        db_->SetUserAccessLevel(10);
    }
}

TEST_F(TablesTest, FormatEditNeedsAccessLevelNineAndAFont)
{
    CreateDatabase();
    SettingsDialogs dialogs;
    db_->SetUi(&dialogs);
    db_->SetUserAccessLevel(8);
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->SaveFormatRecord(7, "Heading", 0, 0), 2);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Access denied for access level less than 9"}));
    db_->SetUserAccessLevel(9);
    EXPECT_EQ(db_->SaveFormatRecord(FORMAT_COUNT, "None", 0, 0), 2);
    db_->SavePageLayoutRecord(PAGE_LAYOUT_COUNT, "None");
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(db_->GetFormat(7)->GetFace(), "Times New Roman");
}
