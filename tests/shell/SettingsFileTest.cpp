#include "platform/host/Mail.h"
#include "common/CheckLayout.h"
#include "platform/host/File.h"
#include "ShellTestSupport.h"

#include "common/Diagnostic.h"
#include "widgets/ExternalPrograms.h"
#include "platform/ui/TestHooks.h"
#include "shell/SettingsFile.h"

#include <sys/stat.h>

namespace {

class SettingsFileTest : public ShellTest {
protected:
    std::string Load(const std::string& contents)
    {
        folder_.WriteFile("Dorvalquintex.cfg", contents);
        return AppSettings().LoadConfig(folder_.Path());
    }
    CSettingsFile& s = AppSettings();
};

TEST_F(SettingsFileTest, MissingEmptyOrBlankFileKeepsDefaults)
{
    EXPECT_EQ(s.LoadConfig(folder_.Path()), "");
    for (const char* contents : {"", "\r\n\r\n   \r\n", "\n\t\n"}) {
        SCOPED_TRACE(contents);
        s.SetDefaults();
        EXPECT_EQ(Load(contents), "");
        EXPECT_EQ(s.m_sBackupDrive, "A:");
        EXPECT_EQ(s.m_nWindowMode, CSettingsFile::kShowNormal);
        EXPECT_EQ(s.m_nStatusPaneMode, 1);
        EXPECT_EQ(s.m_PrinterDef.nCopies, 0);
        EXPECT_EQ(DiagnosticLevel, 0);
    }
}

TEST_F(SettingsFileTest, ReadsEveryKey)
{
    const std::string last = Load(
        "LAST|C:\\Studio\\first\r\n"
        "BACKUP|B:\r\n"
        "TIMEDBACKUP|1\r\n"
        "TIMEDBACKUPINTERVAL|30min\r\n"
        "DIAGNOSTIC|2\r\n"
        "PRINTERDEF|0|1|5|1|Front desk\r\n"
        "LABELPRINTERDEF|5|0|2|0|Labels\r\n"
        "CHECK_LAYOUT|1|2|3|\t \r\n"
        "SHOW|SW_SHOWMAXIMIZED\r\n"
        "SHOW|SW_SHOWNORMAL\r\n"
        "STATUSPANES|SHOWNORMAL\r\n"
        "WORDPROCESSOR|/usr/bin/lowriter --writer\r\n"
        "SHOPPINGCARTFORMAT|no\r\n"
        "Show|SW_SHOWNORMAL\r\n"
        "UNKNOWN|1\r\n"
        "LAST|C:\\Studio\\second");  // no line break at the end
    EXPECT_EQ(last, "C:\\Studio\\second");
    EXPECT_EQ(s.m_sBackupDrive, "B:");
    EXPECT_EQ(s.m_nTimedBackup, 1);
    EXPECT_EQ(s.m_nTimedBackupInterval, 30);
    EXPECT_EQ(DiagnosticLevel, 2);
    // Copies below 1 become 1; the label printer always prints one copy.
    EXPECT_EQ(s.m_PrinterDef.nDefined, 0);
    EXPECT_EQ(s.m_PrinterDef.nCopies, 1);
    EXPECT_EQ(s.m_PrinterDef.nPauseMode, 1);
    EXPECT_EQ(s.m_PrinterDef.nWaitSeconds, 5);
    EXPECT_EQ(s.m_PrinterDef.nPageNumbers, 1);
    EXPECT_EQ(s.m_PrinterDef.sDevice, "Front desk");
    EXPECT_EQ(s.m_LabelPrinterDef.nCopies, 1);
    EXPECT_EQ(s.m_LabelPrinterDef.nWaitSeconds, 2);
    EXPECT_EQ(s.m_LabelPrinterDef.sDevice, "Labels");
    EXPECT_EQ(CheckLayoutLine, "CHECK_LAYOUT|1|2|3|");
    // Only the maximised value changes the mode; "Show" is not a key.
    EXPECT_EQ(s.m_nWindowMode, CSettingsFile::kShowMaximized);
    EXPECT_EQ(s.m_nStatusPaneMode, 0);
    EXPECT_EQ(WordProcessorPath, "/usr/bin/lowriter --writer");
    EXPECT_EQ(s.m_bShoppingCartFormat, 1);
}

TEST_F(SettingsFileTest, LinesWithoutValueAreSkipped)
{
    EXPECT_EQ(Load("LAST|\r\nBACKUP\r\n|\r\nSHOW|\r\n"), "");
    EXPECT_EQ(s.m_sBackupDrive, "A:");
    EXPECT_EQ(s.m_nWindowMode, CSettingsFile::kShowNormal);
}

TEST_F(SettingsFileTest, StatusPanesValueAndNotice)
{
    struct Case {
        const char* value;
        int mode;
    } cases[] = {{"MINIMIZE", 1}, {"SHOWNORMAL", 0}, {"minimize", 0}, {"anything", 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        s.SetDefaults();
        int notices = 0;
        s.m_fnStatusPanesChanged = [&] { ++notices; };
        Load(std::string("STATUSPANES|") + c.value + "\n");
        EXPECT_EQ(s.m_nStatusPaneMode, c.mode);
        EXPECT_EQ(notices, 1);
    }
}

TEST_F(SettingsFileTest, ShortPrinterLineTakesFieldsPresent)
{
    s.m_PrinterDef.sDevice = "Old";
    s.m_PrinterDef.nWaitSeconds = 9;
    Load("PRINTERDEF|3|1\n");
    EXPECT_EQ(s.m_PrinterDef.nCopies, 3);
    EXPECT_EQ(s.m_PrinterDef.nPauseMode, 1);
    EXPECT_EQ(s.m_PrinterDef.nWaitSeconds, 9);
    EXPECT_EQ(s.m_PrinterDef.sDevice, "Old");
}

TEST_F(SettingsFileTest, SavesInOrderWithoutDiagnosticLine)
{
    Load("DIAGNOSTIC|3\n"
         "SHOPPINGCARTFORMAT|x\n"
         "CHECK_LAYOUT|a| b |c  \n"
         "PRINTERDEF|2|0|0|1|Desk printer\n"
         "SHOW|SW_SHOWMAXIMIZED\n");
    EXPECT_EQ(DiagnosticLevel, 3);
    s.m_nTimedBackup = 1;
    s.m_nTimedBackupInterval = 45;
    WordProcessorPath = "soffice";
    ASSERT_TRUE(s.SaveConfig(folder_.Path(), "/home/ann/studio/dance"));
    EXPECT_EQ(DiagnosticLevel, 0);
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.cfg"),
              "LAST|/home/ann/studio/dance\r\n"
              "BACKUP|A:\r\n"
              "TIMEDBACKUP|1\r\n"
              "TIMEDBACKUPINTERVAL|45\r\n"
              "WORDPROCESSOR|soffice\r\n"
              "SHOPPINGCARTFORMAT|TRUE\r\n"
              "PRINTERDEF|2|0|0|1|Desk printer\r\n"
              "CHECK_LAYOUT|a| b |c\r\n"
              "SHOW|SW_SHOWMAXIMIZED\r\n"
              "STATUSPANES|MINIMIZE\r\n");
    EXPECT_FALSE(folder_.Exists("Dorvalquintex.cfg.$$$"));
}

TEST_F(SettingsFileTest, DefaultsSaveOnlyTheAlwaysLines)
{
    s.m_sBackupDrive.clear();
    ASSERT_TRUE(s.SaveConfig(folder_.Path(), ""));
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.cfg"), "SHOW|SW_SHOWNORMAL\r\nSTATUSPANES|MINIMIZE\r\n");
}

TEST_F(SettingsFileTest, RoundTripKeepsEveryValue)
{
    const std::string original =
        "LAST|C:\\Studio\\db\r\nBACKUP|B:\r\nTIMEDBACKUP|2\r\nTIMEDBACKUPINTERVAL|15\r\n"
        "WORDPROCESSOR|wp\r\nMAILPROGRAM|/usr/sbin/sendmail\r\nPRINTERDEF|2|1|3|1|P1\r\n"
        "LABELPRINTERDEF|1|0|0|0|L1\r\nCHECK_LAYOUT|10|20|30\r\nSHOW|SW_SHOWNORMAL\r\nSTATUSPANES|SHOWNORMAL\r\n";
    const std::string last = Load(original);
    EXPECT_EQ(host::GetMailProgram(), "/usr/sbin/sendmail");
    ASSERT_TRUE(s.SaveConfig(folder_.Path(), last));
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.cfg"), original);
    // Without the line, mail goes through xdg-email again.
    s.SetDefaults();
    EXPECT_EQ(host::GetMailProgram(), "");
}

TEST_F(SettingsFileTest, UnwritableFolderReportsAndKeepsOldFile)
{
    folder_.WriteFile("Dorvalquintex.cfg", "LAST|keep\r\n");
    // The folder refuses the new file, as a read-only folder does (root would not be refused).
    host::InjectFileError(host::FileError::AccessDenied, 1, host::FileOp::Open);
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    EXPECT_FALSE(s.SaveConfig(folder_.Path(), "other"));
    host::ClearInjectedFileErrors();
    ASSERT_EQ(ui::test::GetHooks().messageBoxTexts.size(), 1u);
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts[0], "Cannot save configuration file");
    EXPECT_EQ(folder_.ReadFile("Dorvalquintex.cfg"), "LAST|keep\r\n");
}

TEST_F(SettingsFileTest, SettingsFileThatIsAFolderIsReportedNotReplaced)
{
    // A save that cannot put its file in place leaves what is there and says so.
    ASSERT_EQ(::mkdir(folder_.FilePath("Dorvalquintex.cfg").c_str(), 0755), 0);
    ui::test::GetHooks().messageBoxAnswers = {ui::IDOK};
    EXPECT_FALSE(s.SaveConfig(folder_.Path(), "x"));
    EXPECT_EQ(ui::test::GetHooks().messageBoxTexts,
              std::vector<std::string>{"Cannot save configuration file"});
    EXPECT_FALSE(folder_.Exists("Dorvalquintex.cfg.$$$"));
}

}  // namespace
