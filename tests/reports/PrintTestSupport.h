#pragma once
// A fixture for printing tests: its own working folder (where the spool file goes), scripted
// dialogs and message boxes, printing recorded into a page model, instant pauses, and no program
// default printer. Every hook failure fails the test.

#include "database/SettingsRecords.h"
#include "platform/host/Clock.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PageModel.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/TestHooks.h"
#include "reports/PrintSpoolFile.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <climits>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

class PrintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dqtest::StartScriptedUi();
        char cwd[PATH_MAX];
        ASSERT_NE(getcwd(cwd, sizeof cwd), nullptr);
        previous_ = cwd;
        folder_ = dqtest::MakeTempFolder("dq-print-");
        ASSERT_FALSE(folder_.empty());
        ASSERT_EQ(chdir(folder_.c_str()), 0);
        ui::test::SetPrintRecorder(&model_);
        host::Clock::SetInstantSleep(true);
        ui::PrinterDC::SetDefaultPrinter("");
    }
    void TearDown() override
    {
        dqtest::ExpectScriptsUsed();
        ui::test::ResetHooks();
        ui::test::SetPrintRecorder(nullptr);
        ui::test::ClearCommonDialogHooks();
        host::Clock::ResetTestHooks();
        ui::PrinterDC::SetDefaultPrinter("");
        EXPECT_EQ(chdir(previous_.c_str()), 0);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }

    static ui::test::Hooks& Hooks() { return ui::test::GetHooks(); }
    static void Script(std::function<void(ui::Dialog&)> script)
    {
        Hooks().dialogScripts.push_back(std::move(script));
    }

    std::string ReadSpoolBytes() const { return dqtest::ReadBytes(folder_ + "/" + kSpoolFileName); }
    void WriteSpoolBytes(const std::string& bytes) const
    {
        dqtest::WriteBytes(folder_ + "/" + kSpoolFileName, bytes);
    }

    ui::PageModel model_;
    std::string folder_;
    std::string previous_;
};

// A format: face, size in tenths of a point, line spacing, tab stops in inches.
inline stFormatRecord MakeFormat(const char* face = "Times New Roman", int size = 100,
                                 float spacing = 1.0f, std::vector<double> tabs = {})
{
    stFormatRecord f;
    f.SetFace(face);
    f.nSize = size;
    f.fSpacing = spacing;
    f.aTabStops = std::move(tabs);
    return f;
}
