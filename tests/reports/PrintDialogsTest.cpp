// The continue-printing, printer selection and print setup dialogs, driven headlessly, and the
// print setup's choices kept through the settings file.
#include "PrintTestSupport.h"

#include "dialogs/DialogContinuePrint.h"
#include "dialogs/DialogPrintSetup.h"
#include "dialogs/DialogPrinterSelect.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/Messages.h"
#include "dialogs/PrinterChoice.h"
#include "shell/SettingsFile.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kCopies = 1230;
constexpr int kPause = 1158;
constexpr int kDelay = 1234;
constexpr int kDelayOn = 1221;
constexpr int kPageNumbers = 1332;
constexpr int kStartPage = 1333;
constexpr int kStartPageLabel = 1334;
constexpr int kPrinters = 1228;

using PrintDialogs = PrintTest;

// The list line showing `text`, or -1.
int LineOf(ui::Dialog& d, const std::string& text)
{
    ui::ListBox* list = d.List(kPrinters);
    for (int i = 0; list && i < list->GetCount(); ++i)
        if (list->GetText(i) == text)
            return i;
    return -1;
}

std::string SelectedLine(ui::Dialog& d)
{
    ui::ListBox* list = d.List(kPrinters);
    const int index = list ? list->GetCurSel() : -1;
    return index >= 0 ? list->GetText(index) : "";
}

TEST_F(PrintDialogs, ContinuePrintingAnswers)
{
    struct Case {
        const char* action;
        std::function<void(ui::Dialog&)> act;
        int result;
    };
    const Case cases[] = {
        {"Continue", [](ui::Dialog& d) { ui::test::Click(d, ui::IDOK); }, ui::IDYES},
        {"Enter", [](ui::Dialog& d) { ui::test::PressKey(d, ui::VK_RETURN); }, ui::IDYES},
        {"Repeat page", [](ui::Dialog& d) { ui::test::Click(d, 1259); }, ui::IDIGNORE},
        {"Abort", [](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); }, ui::IDNO},
        {"Escape", [](ui::Dialog& d) { ui::test::PressKey(d, ui::VK_ESCAPE); }, ui::IDNO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Continue printing");
            c.act(d);
        });
        CDialogContinuePrint dialog;
        EXPECT_EQ(dialog.DoModal(), c.result);
    }
}

TEST_F(PrintDialogs, PrinterSelectionStartsAtTheDefaultAndReturnsTheChoice)
{
    const std::vector<std::string> printers = ui::PrinterDC::ListPrinters();
    // No default of the program's own yet: the print system's default is the one selected.
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Printer selection");
        ASSERT_EQ(d.List(kPrinters)->GetCount(), static_cast<int>(printers.size()));
        EXPECT_EQ(SelectedLine(d), ui::PrinterDC::SystemDefaultPrinter());
        ui::test::SelectItem(d, kPrinters, LineOf(d, "PDF file"));
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(SelectPrinter(1), "PDF file");
    EXPECT_EQ(GetDefaultPrinter(), "PDF file");

    Script([&](ui::Dialog& d) {
        EXPECT_EQ(SelectedLine(d), "PDF file");
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(SelectPrinter(1), "");
    EXPECT_EQ(GetDefaultPrinter(), "PDF file");

    // Chosen without becoming the default.
    ui::PrinterDC::SetDefaultPrinter("");
    Script([&](ui::Dialog& d) {
        ui::test::SelectItem(d, kPrinters, LineOf(d, "PDF file"));
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(SelectPrinter(0), "PDF file");
    EXPECT_EQ(GetDefaultPrinter(), "");
}

TEST_F(PrintDialogs, PrintSetupShowsTheRecord)
{
    stPrinterDef record;
    record.nCopies = 2;
    record.nPauseMode = 1;
    record.nWaitSeconds = 5;
    record.sDevice = "PDF file";
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Print setup");
        EXPECT_EQ(d.GetDlgItemText(kCopies), "2");
        EXPECT_EQ(d.IsDlgButtonChecked(kPause), 1);
        EXPECT_EQ(d.GetDlgItemText(kDelay), "5");
        EXPECT_EQ(d.IsDlgButtonChecked(kDelayOn), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(kPageNumbers), 0);
        EXPECT_EQ(d.GetDlgItemText(kStartPage), "1");
        EXPECT_TRUE(d.GetDlgItem(kPageNumbers)->IsWindowVisible());
        // The starting page is open only while page numbers are asked for.
        EXPECT_FALSE(d.GetDlgItem(kStartPage)->IsWindowEnabled());
        ui::test::Click(d, kPageNumbers);
        EXPECT_TRUE(d.GetDlgItem(kStartPage)->IsWindowEnabled());
        ui::test::Click(d, kPageNumbers);
        EXPECT_FALSE(d.GetDlgItem(kStartPage)->IsWindowEnabled());
        // The default entry first, then every printer; the record's printer selected.
        EXPECT_EQ(d.List(kPrinters)->GetText(0), "System default printer");
        EXPECT_EQ(d.List(kPrinters)->GetCount(),
                  static_cast<int>(ui::PrinterDC::ListPrinters().size()) + 1);
        EXPECT_EQ(SelectedLine(d), "PDF file");
        ui::test::Click(d, ui::IDCANCEL);
    });
    CDialogPrintSetup dialog;
    dialog.m_pPrinterDef = &record;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
}

TEST_F(PrintDialogs, PrintSetupOkWritesTheChoices)
{
    stPrinterDef record;
    record.nCopies = 4;
    record.nPauseMode = 1;
    record.nWaitSeconds = 0;
    record.sDevice = "PDF file";
    Script([&](ui::Dialog& d) {
        ui::test::SelectItem(d, kPrinters, 0);
        ui::test::Click(d, kPause);                // off
        ui::test::SetText(d, kDelay, "9");         // typed, but "Delay after page" stays off
        ui::test::SetText(d, kCopies, "7");
        ui::test::Click(d, kPageNumbers);
        ui::test::SetText(d, kStartPage, "12");
        ui::test::Click(d, ui::IDOK);
    });
    CDialogPrintSetup dialog;
    dialog.m_pPrinterDef = &record;
    ASSERT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(record.sDevice, "DEFAULT");
    EXPECT_EQ(record.nPauseMode, 0);
    EXPECT_EQ(record.nWaitSeconds, 0);
    EXPECT_EQ(record.nCopies, 4) << "a print run's copies stay the caller's to read";
    EXPECT_EQ(record.nPageNumbers, 0);
    EXPECT_EQ(dialog.m_nCopies, 7);
    EXPECT_EQ(dialog.m_bPageNumbers, 1);
    EXPECT_EQ(dialog.m_nStartPage, 12);

    // With the delay checked its seconds are kept.
    Script([&](ui::Dialog& d) {
        ui::test::Click(d, kDelayOn);
        ui::test::SetText(d, kDelay, "3");
        ui::test::Click(d, ui::IDOK);
    });
    CDialogPrintSetup again;
    again.m_pPrinterDef = &record;
    ASSERT_EQ(again.DoModal(), ui::IDOK);
    EXPECT_EQ(record.nWaitSeconds, 3);
}

TEST_F(PrintDialogs, PrintSetupPrinterOnlyMode)
{
    stPrinterDef record;
    record.nCopies = 1;
    record.sDevice = "DEFAULT";
    Script([&](ui::Dialog& d) {
        EXPECT_FALSE(d.GetDlgItem(kPageNumbers)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(kStartPage)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(kStartPageLabel)->IsWindowVisible());
        ui::test::SetText(d, kCopies, "2");
        ui::test::SelectItem(d, kPrinters, LineOf(d, "PDF file"));
        ui::test::Click(d, ui::IDOK);
    });
    CDialogPrintSetup dialog;
    dialog.m_pPrinterDef = &record;
    dialog.m_nMode = 1;
    ASSERT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(record.nCopies, 2);
    EXPECT_EQ(record.nPageNumbers, 0);
    EXPECT_EQ(record.sDevice, "PDF file");
}

TEST_F(PrintDialogs, PrintSetupRefusesBadCopiesAndCancelKeepsTheRecord)
{
    stPrinterDef record;
    record.nCopies = 1;
    record.nPauseMode = 1;
    record.nWaitSeconds = 2;
    record.sDevice = "PDF file";
    const stPrinterDef before = record;
    Hooks().messageBoxAnswers = {ui::IDOK};
    Script([&](ui::Dialog& d) {
        ui::test::SetText(d, kCopies, "101");
        ui::test::SelectItem(d, kPrinters, 0);
        ui::test::Click(d, kPause);
        ui::test::Click(d, ui::IDOK);  // refused: the dialog stays
        EXPECT_FALSE(d.HasEnded());
        ui::test::Click(d, ui::IDCANCEL);
    });
    CDialogPrintSetup dialog;
    dialog.m_pPrinterDef = &record;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(Hooks().messageBoxTexts,
              (std::vector<std::string>{"Please enter an integer between 0 and 100."}));
    EXPECT_EQ(record.sDevice, before.sDevice);
    EXPECT_EQ(record.nPauseMode, before.nPauseMode);
    EXPECT_EQ(record.nWaitSeconds, before.nWaitSeconds);
    EXPECT_EQ(record.nCopies, before.nCopies);
}

TEST_F(PrintDialogs, ChoicesRoundTripThroughTheSettingsFile)
{
    CSettingsFile saved;
    saved.SetDefaults();
    saved.m_PrinterDef.nCopies = 1;
    saved.m_PrinterDef.sDevice = "DEFAULT";

    // The printer choice (printer-only mode: copies too), then pause and delay of a run.
    Script([&](ui::Dialog& d) {
        ui::test::SetText(d, kCopies, "3");
        ui::test::SelectItem(d, kPrinters, LineOf(d, "PDF file"));
        ui::test::Click(d, ui::IDOK);
    });
    CDialogPrintSetup printerOnly;
    printerOnly.m_pPrinterDef = &saved.m_PrinterDef;
    printerOnly.m_nMode = 1;
    ASSERT_EQ(printerOnly.DoModal(), ui::IDOK);
    Script([&](ui::Dialog& d) {
        ui::test::Click(d, kDelayOn);
        ui::test::SetText(d, kDelay, "4");
        ui::test::Click(d, ui::IDOK);
    });
    CDialogPrintSetup run;
    run.m_pPrinterDef = &saved.m_PrinterDef;
    ASSERT_EQ(run.DoModal(), ui::IDOK);

    // The printer selection's choice as the label printer.
    Script([&](ui::Dialog& d) {
        ui::test::SelectItem(d, kPrinters, LineOf(d, "PDF file"));
        ui::test::Click(d, ui::IDOK);
    });
    saved.m_LabelPrinterDef.sDevice = SelectPrinter(0);
    ASSERT_TRUE(saved.SaveConfig(folder_, ""));

    CSettingsFile loaded;
    loaded.SetDefaults();
    loaded.LoadConfig(folder_);
    EXPECT_EQ(loaded.m_PrinterDef.sDevice, "PDF file");
    EXPECT_EQ(loaded.m_PrinterDef.nCopies, 3);
    EXPECT_EQ(loaded.m_PrinterDef.nPauseMode, 0);
    EXPECT_EQ(loaded.m_PrinterDef.nWaitSeconds, 4);
    EXPECT_EQ(loaded.m_LabelPrinterDef.sDevice, "PDF file");

    // And the loaded definition shows in the dialog as it was chosen.
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kCopies), "3");
        EXPECT_EQ(d.IsDlgButtonChecked(kDelayOn), 1);
        EXPECT_EQ(d.GetDlgItemText(kDelay), "4");
        EXPECT_EQ(SelectedLine(d), "PDF file");
        ui::test::Click(d, ui::IDCANCEL);
    });
    CDialogPrintSetup shown;
    shown.m_pPrinterDef = &loaded.m_PrinterDef;
    EXPECT_EQ(shown.DoModal(), ui::IDCANCEL);
}

}  // namespace
