#include "tests/support/FilesTestSupport.h"

#include "widgets/CommandGuards.h"
#include "widgets/ControlHelpers.h"
#include "common/DataPaths.h"
#include "widgets/ExternalPrograms.h"
#include "widgets/Prompts.h"

#include "platform/host/Format.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"

#include <chrono>
#include <thread>

namespace {

constexpr int kPromptText = 1254;

class ProgramsTest : public FilesTest {
protected:
    void TearDown() override
    {
        WordProcessorPath.clear();
        DatabaseFolder.clear();
        DatabaseOpen = 0;
        UserAccessLevel = 0;
        ReportViewDisplayed = 0;
        SetRichTextViewerOpener(nullptr);
        FilesTest::TearDown();
    }
    // The user types `text` into the one-line prompt and presses OK (or Cancel).
    static void Prompt(const std::string& text, int button = ui::IDOK)
    {
        Hooks().dialogScripts.push_back([text, button](ui::Dialog& d) {
            ui::test::SetText(d, kPromptText, text);
            ui::test::Click(d, button);
        });
    }
};

TEST_F(ProgramsTest, WithoutWordProcessorTheOwnViewerOpens)
{
    std::vector<std::string> opened;
    SetRichTextViewerOpener(
        [&](const std::string& document, const ui::DCRect&) { opened.push_back(document); });
    OpenInWordProcessor("REPORT.RTF");
    EXPECT_EQ(opened, std::vector<std::string>{"REPORT.RTF"});
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ProgramsTest, WordProcessorGetsTheDocumentAsOneArgument)
{
    // A stand-in word processor that records its arguments, one per line.
    Write("wp.sh", "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > args.tmp\nmv args.tmp "
                   "args.txt\n");
    std::filesystem::permissions(root_ / "wp.sh", std::filesystem::perms::owner_all);
    WordProcessorPath = Host("wp.sh");
    Write("my report; rm -rf x.rtf", "{\\rtf1}");
    OpenInWordProcessor("my report; rm -rf x.rtf");
    for (int i = 0; i < 500 && !Exists("args.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Read("args.txt"), root_.string() + "/my report; rm -rf x.rtf\n");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ProgramsTest, NewDocumentStartsTheWordProcessorWithoutAFile)
{
    Write("wp.sh", "#!/bin/sh\necho \"$#\" > args.tmp\nmv args.tmp args.txt\n");
    std::filesystem::permissions(root_ / "wp.sh", std::filesystem::perms::owner_all);
    WordProcessorPath = Host("wp.sh");
    OpenInWordProcessor("");
    for (int i = 0; i < 500 && !Exists("args.txt"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(Read("args.txt"), "0\n") << "no argument, not the folder";
    EXPECT_TRUE(Shown().empty());
}

TEST_F(ProgramsTest, WhatCanBeOpened)
{
    struct Case {
        bool wordProcessor, viewer;
        const char* document;
        bool can;
    } cases[] = {
        {false, false, "", false},         {false, false, "INVOICE.RTF", false},
        {false, true, "", false},          {false, true, "INVOICE.RTF", true},
        {true, false, "", true},           {true, false, "INVOICE.RTF", true},
    };
    for (const Case& c : cases) {
        WordProcessorPath = c.wordProcessor ? "wp" : "";
        SetRichTextViewerOpener(c.viewer ? RichTextViewerOpener([](const std::string&, const ui::DCRect&) {})
                                         : RichTextViewerOpener());
        EXPECT_EQ(CanOpenInWordProcessor(c.document), c.can)
            << c.wordProcessor << c.viewer << " " << c.document;
    }
}

TEST_F(ProgramsTest, WordProcessorThatCannotStartIsReported)
{
    WordProcessorPath = Host("no-such-program");
    Answer({ui::IDOK});
    OpenInWordProcessor("REPORT.RTF");
    EXPECT_EQ(Shown(), std::vector<std::string>{"Error in calling word processor program."});
}

TEST_F(ProgramsTest, SplitCommandSetting)
{
    Write("Word Pad/wp", "");
    EXPECT_EQ(SplitCommandSetting(Host("Word Pad/wp")),
              std::vector<std::string>{Host("Word Pad/wp")});
    EXPECT_EQ(SplitCommandSetting("libreoffice --writer"),
              (std::vector<std::string>{"libreoffice", "--writer"}));
    EXPECT_EQ(SplitCommandSetting("\"/opt/Word Pad/wp\"  -n"),
              (std::vector<std::string>{"/opt/Word Pad/wp", "-n"}));
}

TEST_F(ProgramsTest, CheckDatabaseAccess)
{
    struct Case {
        int open;
        uint8_t level;
        uint8_t required;
        int result;
        const char* message;
    };
    const Case cases[] = {
        {0, 9, 1, 0, "No database is open."},
        {1, 5, 5, 1, nullptr},
        {1, 4, 5, 0, "Access denied to this user."},
        {1, 10, 9, 1, nullptr},
        {1, 9, 10, 0, "Access denied to this user."},
    };
    for (const Case& c : cases) {
        Hooks().messageBoxTexts.clear();
        DatabaseOpen = c.open;
        UserAccessLevel = c.level;
        if (c.message)
            Answer({ui::IDOK});
        EXPECT_EQ(CheckDatabaseAccess(c.required), c.result);
        EXPECT_EQ(Shown(), c.message ? std::vector<std::string>{c.message}
                                     : std::vector<std::string>{});
    }
}

TEST_F(ProgramsTest, OneReportViewAtATime)
{
    EXPECT_EQ(IsReportViewDisplayed(), 0);
    ReportViewDisplayed = 1;
    Answer({ui::IDOK});
    EXPECT_EQ(IsReportViewDisplayed(), 1);
    EXPECT_EQ(Shown(), std::vector<std::string>{"You already have a report view displayed. "
                                                "Please exit it before doing another report."});
}

TEST_F(ProgramsTest, PromptForString)
{
    Prompt("entered");
    EXPECT_EQ(PromptForString("Path for backup", 60, "initial", 0), "entered");
    Prompt("typed", ui::IDCANCEL);
    EXPECT_EQ(PromptForString("Path for backup", 60, "initial", 0), "");
}

TEST_F(ProgramsTest, EmptySearchKeepsTheLastSearch)
{
    ListSearchText = "SMITH";
    ui::ListBox list;
    Prompt("");
    Answer({ui::IDOK});
    PromptAndSearchList(list, 'S');
    EXPECT_EQ(Shown(), std::vector<std::string>{"No search words"});
    Prompt("jones", ui::IDCANCEL);
    PromptAndSearchList(list, 'S');
    EXPECT_EQ(ListSearchText, "SMITH");
    ListSearchText.clear();
}

}  // namespace
