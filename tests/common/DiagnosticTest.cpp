#include "common/Diagnostic.h"

#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "platform/host/Clock.h"
#include "platform/host/Format.h"
#include "platform/ui/TestHooks.h"

namespace {

// Each test traces into its own folder and leaves the trace closed at level 0.
class DiagnosticFixture : public ::testing::Test {
protected:
    void SetUp() override {
        CloseDiagnosticFile();
        DiagnosticLevel = 0;
        for (const void* p : GetTracedPointers())
            WriteMemoryTraceFree(p);
    }
    void TearDown() override {
        CloseDiagnosticFile();
        DiagnosticLevel = 0;
        host::Clock::ResetTestHooks();
    }
    std::string Trace() const { return folder_.ReadFile("DIAGNOSE.TXT"); }
    std::string MessageTrace() const { return folder_.ReadFile("DIAGNOSE_MSG.TXT"); }

    TempFolder folder_;
};

std::string Hex(const void* p) { return Format("%llX", (unsigned long long)(uintptr_t)p); }
std::string Dec(const void* p) { return Format("%llu", (unsigned long long)(uintptr_t)p); }

} // namespace

TEST_F(DiagnosticFixture, LevelZeroWritesNothingButKeepsPointerLists) {
    WriteDiagnosticString("not written\n");
    WriteDiagnosticMsg();
    int a = 0;
    WriteMemoryTraceAlloc(&a, "int");
    EXPECT_EQ(GetTracedPointers(), std::vector<const void*>{&a});
    WriteMemoryTraceFree(&a);
    EXPECT_TRUE(GetTracedPointers().empty());
    EXPECT_FALSE(folder_.Exists("DIAGNOSE.TXT"));
    EXPECT_FALSE(folder_.Exists("DIAGNOSE_MSG.TXT"));
}

TEST_F(DiagnosticFixture, OpenWriteAndClose) {
    DiagnosticLevel = 1;
    OpenDiagnosticFile();
    OpenDiagnosticFile(); // already open: no second line
    EXPECT_TRUE(IsDiagnosticFileOpen());
    DiagnosticText = Format("CDatabase::SaveItem %s\n", "Ann 100% Lee");
    WriteDiagnostic();
    WriteDiagnosticFormat("value %i\n", 7);
    DiagnosticText = "GetResponse entry, prompt:'x'\n";
    WriteDiagnosticMsg();
    CloseDiagnosticFile();
    EXPECT_EQ(DiagnosticLevel, 0);
    EXPECT_FALSE(IsDiagnosticFileOpen());
    DiagnosticText = "after close\n";
    WriteDiagnostic();
    WriteDiagnosticMsg();

    EXPECT_EQ(Trace(), "Diagnostic file open, level 1\nCDatabase::SaveItem Ann 100% Lee\n"
                       "value 7\nClose diagnostic file\n");
    EXPECT_EQ(MessageTrace(), "GetResponse entry, prompt:'x'\n");
}

TEST_F(DiagnosticFixture, OpeningReplacesAnEarlierTrace) {
    folder_.WriteFile("DIAGNOSE.TXT", "old trace\n");
    folder_.WriteFile("DIAGNOSE_MSG.TXT", "old messages\n");
    DiagnosticLevel = 2;
    OpenDiagnosticFile();
    WriteDiagnosticString("new\n");
    EXPECT_EQ(Trace(), "Diagnostic file open, level 2\nnew\n"); // flushed at once
    EXPECT_EQ(MessageTrace(), "");
}

TEST_F(DiagnosticFixture, TraceFileThatCannotBeCreatedIsReported) {
    std::filesystem::create_directory(folder_.Path() + "/DIAGNOSE.TXT");
    ui::test::EnsureApplication();
    ui::test::Hooks& hooks = ui::test::ResetHooks();
    hooks.scriptMessageBoxes = true;
    hooks.messageBoxAnswers = {1};
    DiagnosticLevel = 1;
    OpenDiagnosticFile();
    EXPECT_EQ(DiagnosticLevel, 0);
    EXPECT_FALSE(IsDiagnosticFileOpen());
    EXPECT_EQ(hooks.messageBoxTexts, std::vector<std::string>{"Cannot open diagnostic file"});
    EXPECT_TRUE(hooks.failures.empty());
    // The message trace opens all the same.
    DiagnosticText = "message line\n";
    WriteDiagnosticMsg();
    EXPECT_EQ(MessageTrace(), "message line\n");
    ui::test::ResetHooks();
}

TEST_F(DiagnosticFixture, MemoryTraceLines) {
    DiagnosticLevel = 3;
    OpenDiagnosticFile();
    int a = 0, b = 0, never = 0;
    WriteMemoryTraceAlloc(&a, "first");
    WriteMemoryTraceAlloc(&b, "CPerson");
    WriteMemoryTraceAlloc(&a, "second");
    WriteMemoryTraceFree(&a); // the earlier registration goes
    EXPECT_EQ(GetTracedPointers(), (std::vector<const void*>{&b, &a}));
    WriteMemoryTraceFree(&never);
    EXPECT_EQ(GetTracedPointers().size(), 2u);

    const std::string expected =
        "Diagnostic file open, level 3\n"
        "_Allocate pointer " + Dec(&a) + " (" + Hex(&a) + "), first\n"
        "_Allocate pointer " + Dec(&b) + " (" + Hex(&b) + "), CPerson\n"
        "_Allocate pointer " + Dec(&a) + " (" + Hex(&a) + "), second\n"
        "_Free pointer " + Dec(&a) + " (" + Hex(&a) + "), first\n"
        "_About to free pointer " + Dec(&never) + " (" + Hex(&never) + "), not in list\n";
    EXPECT_EQ(Trace(), expected);
}

TEST_F(DiagnosticFixture, MemoryTraceAtLevelOneWritesOnlyUnknownFrees) {
    DiagnosticLevel = 1;
    OpenDiagnosticFile();
    int a = 0, never = 0;
    WriteMemoryTraceAlloc(&a, "x");
    WriteMemoryTraceFree(&a);
    WriteMemoryTraceFree(&a); // already gone
    WriteMemoryTraceFree(&never);
    EXPECT_EQ(Trace(), "Diagnostic file open, level 1\n"
                       "_About to free pointer " + Dec(&a) + " (" + Hex(&a) + "), not in list\n"
                       "_About to free pointer " + Dec(&never) + " (" + Hex(&never) +
                           "), not in list\n");
}

TEST_F(DiagnosticFixture, TimerTextCountsFromTheClockStart) {
    host::Clock::SetFixedTicks(5000);
    RestartDiagnosticClock();
    EXPECT_EQ(GetTimerText(), "     0.000");
    host::Clock::AdvanceTicks(12345);
    EXPECT_EQ(GetTimerText(), "    12.345");
    // The count stays right across the wrap of the 32-bit millisecond counter.
    host::Clock::SetFixedTicks(0xFFFFFF00ull);
    RestartDiagnosticClock();
    host::Clock::AdvanceTicks(0x200);
    EXPECT_EQ(GetTimerText(), "     0.512");
}

TEST_F(DiagnosticFixture, FontTrace) {
    DiagnosticLevel = 1;
    OpenDiagnosticFile();
    int font = 0;
    WriteFontTrace("Reset", &font, 3, "Heading", {1.0, 2.5, 4.0});
    WriteFontTrace("Empty", &font, 0, "Body", {});
    EXPECT_EQ(Trace(), "Diagnostic file open, level 1\n"
                       "Reset: Font pointer " + Dec(&font) + ", code 3, Heading\n"
                       " # tabs 3:  1.00, 2.50, 4.00,\n"
                       "Empty: Font pointer " + Dec(&font) + ", code 0, Body\n"
                       " # tabs 0: \n");
}

TEST_F(DiagnosticFixture, LinesFromSeveralThreadsArriveWhole) {
    DiagnosticLevel = 1;
    OpenDiagnosticFile();
    constexpr int kThreads = 8;
    constexpr int kLines = 400;
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([t] {
            const std::string padding(40 + t * 13, static_cast<char>('a' + t));
            for (int i = 0; i < kLines; ++i) {
                if (DiagnosticLevel > 0) {
                    DiagnosticText = Format("thread %d line %d %s\n", t, i, padding.c_str());
                    if (i % 2 == 0)
                        WriteDiagnostic();
                    else
                        WriteDiagnosticMsg();
                }
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    CloseDiagnosticFile();

    const std::regex whole(R"(thread (\d) line (\d+) ([a-h]+))");
    std::set<std::string> seen;
    for (const std::string& text : {Trace(), MessageTrace()}) {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind("Diagnostic file open", 0) == 0 || line == "Close diagnostic file")
                continue;
            std::smatch m;
            ASSERT_TRUE(std::regex_match(line, m, whole)) << line;
            const int t = std::stoi(m[1]);
            EXPECT_EQ(m[3].str(), std::string(40 + t * 13, static_cast<char>('a' + t)));
            EXPECT_TRUE(seen.insert(m[1].str() + ":" + m[2].str()).second) << line;
        }
    }
    EXPECT_EQ(seen.size(), static_cast<size_t>(kThreads * kLines));
}
