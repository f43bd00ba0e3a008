#include "tests/support/FilesTestSupport.h"

#include "common/FileCopy.h"

#include "platform/host/Format.h"

namespace {

using host::FileError;

class CopyTest : public FilesTest {};

TEST_F(CopyTest, CopiesAndOverwritesWithoutAskingWhenAskIsZero)
{
    Write("src.dbs", "new contents");
    Write("dst.dbs", "old");
    EXPECT_EQ(CopyFileWithRetry(Prog("src.dbs"), Prog("dst.dbs"), 0, 0), 0);
    EXPECT_EQ(Read("dst.dbs"), "new contents");
    EXPECT_TRUE(Shown().empty());
}

TEST_F(CopyTest, AskBeforeOverwriting)
{
    Write("src.dbs", "new");
    Write("dst.dbs", "old");
    Answer({ui::IDNO});
    EXPECT_EQ(CopyFileWithRetry(Prog("src.dbs"), Prog("dst.dbs"), 1, 0), 1);
    EXPECT_EQ(Read("dst.dbs"), "old");
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], Format("File %s exists.\n Overwrite?", Prog("dst.dbs").c_str()));

    Answer({ui::IDYES});
    EXPECT_EQ(CopyFileWithRetry(Prog("src.dbs"), Prog("dst.dbs"), 1, 0), 0);
    EXPECT_EQ(Read("dst.dbs"), "new");
}

TEST_F(CopyTest, MissingSourceIsReportedOnceAndTouchesNothing)
{
    Write("dst.dbs", "old");
    Answer({ui::IDOK});
    EXPECT_EQ(CopyFileWithRetry(Prog("none.dbs"), Prog("dst.dbs"), 1, 1), 3);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], Format("File %s does not exist.", Prog("none.dbs").c_str()));
    EXPECT_EQ(Read("dst.dbs"), "old");
    EXPECT_EQ(host::Clock::TickCount(), 1000u) << "no pause after a failure";
}

TEST_F(CopyTest, CopyOntoItselfIsRefusedAndKeepsTheFile)
{
    Write("a.dbs", "precious");
    Answer({ui::IDOK, ui::IDOK});
    EXPECT_EQ(CopyFileWithRetry(Prog("a.dbs"), Prog("a.dbs"), 0, 0), 3);
    // The same file reached by another spelling of its path.
    EXPECT_EQ(CopyFileWithRetry(Prog("a.dbs"), "a.dbs", 0, 0), 3);
    EXPECT_EQ(Read("a.dbs"), "precious");
    ASSERT_EQ(Shown().size(), 2u);
    EXPECT_EQ(Shown()[0], Format("File %s cannot be copied onto itself.", Prog("a.dbs").c_str()));
}

TEST_F(CopyTest, PauseFollowsOnlyASuccessfulCopy)
{
    Write("src.dbs", "x");
    EXPECT_EQ(CopyFileWithRetry(Prog("src.dbs"), Prog("dst.dbs"), 0, 1), 0);
    EXPECT_EQ(host::Clock::TickCount(), 5000u);
    host::InjectFileError(FileError::DiskFull, 1, host::FileOp::Copy);
    Answer({ui::IDNO});
    EXPECT_EQ(CopyFileWithRetry(Prog("src.dbs"), Prog("dst.dbs"), 0, 1), 2);
    EXPECT_EQ(host::Clock::TickCount(), 5000u);
}

// The failure table: the platform's error, the user's answers, the texts shown, the outcome.
struct FailureCase {
    const char* name;
    FileError error;
    int failures;               // how many copies fail before one succeeds
    std::vector<int> answers;
    const char* text;           // with %1 for the source and %2 for the destination
    int outcome;
};

std::string Fill(std::string text, const std::string& src, const std::string& dst)
{
    for (size_t p; (p = text.find("%1")) != std::string::npos;)
        text.replace(p, 2, src);
    for (size_t p; (p = text.find("%2")) != std::string::npos;)
        text.replace(p, 2, dst);
    return text;
}

TEST_F(CopyTest, FailureTable)
{
    const std::vector<FailureCase> cases = {
        {"exists, No", FileError::Exists, 1, {ui::IDNO}, "File %2 exists.\n Overwrite?", 1},
        {"exists, Yes", FileError::Exists, 1, {ui::IDYES}, "File %2 exists.\n Overwrite?", 0},
        {"disk full, No", FileError::DiskFull, 1, {ui::IDNO},
         "Disk is full.\nChange it and try again?", 2},
        {"disk full, Yes twice", FileError::DiskFull, 2, {ui::IDYES, ui::IDYES},
         "Disk is full.\nChange it and try again?", 0},
        {"not found", FileError::NotFound, 1, {ui::IDOK}, "File not found in copying %1 to %2.",
         3},
        {"path not found", FileError::PathNotFound, 1, {ui::IDOK},
         "Path not found in copying %1 to %2.", 3},
        {"access denied, No", FileError::AccessDenied, 1, {ui::IDNO},
         "Access denied iin copying %1 to %2.\nTry again?", 2},
        {"access denied, Yes", FileError::AccessDenied, 1, {ui::IDYES},
         "Access denied iin copying %1 to %2.\nTry again?", 0},
        {"not ready, No", FileError::DeviceNotReady, 1, {ui::IDNO},
         "Device not ready in copying %1 to %2.\nTry again?", 2},
        {"not ready, Yes", FileError::DeviceNotReady, 1, {ui::IDYES},
         "Device not ready in copying %1 to %2.\nTry again?", 0},
        {"lock violation, No", FileError::LockViolation, 1, {ui::IDNO},
         "Error 33 in copying %1 to %2.\nTry again?", 3},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        Write("src.dbs", "source bytes");
        Write("dst.dbs", "old destination");
        Hooks().messageBoxTexts.clear();
        host::InjectFileError(c.error, c.failures, host::FileOp::Copy);
        for (int a : c.answers)
            Hooks().messageBoxAnswers.push_back(a);
        EXPECT_EQ(CopyFileWithRetry(Prog("src.dbs"), Prog("dst.dbs"), 0, 0), c.outcome);
        const std::string expected = Fill(c.text, Prog("src.dbs"), Prog("dst.dbs"));
        ASSERT_EQ(Shown().size(), c.answers.size());
        for (const std::string& shown : Shown())
            EXPECT_EQ(shown, expected);
        // A copy that did not happen leaves the old destination whole.
        EXPECT_EQ(Read("dst.dbs"), c.outcome == 0 ? "source bytes" : "old destination");
        host::ClearInjectedFileErrors();
    }
}

TEST_F(CopyTest, RealFullDisketteKeepsTheOldCopy)
{
    InsertDiskette("floppy", 10000);
    Write("floppy/backup.dbs", "old backup");
    Write("big.dbs", MakeData(20000));
    Answer({ui::IDYES, ui::IDNO});
    EXPECT_EQ(CopyFileWithRetry(Prog("big.dbs"), "A:\\backup.dbs", 0, 0), 2);
    EXPECT_EQ(Shown(), std::vector<std::string>(2, "Disk is full.\nChange it and try again?"));
    EXPECT_EQ(Read("floppy/backup.dbs"), "old backup");
}

TEST_F(CopyTest, MissingDisketteIsDeviceNotReady)
{
    InsertDiskette("floppy");
    std::filesystem::remove_all(root_ / "floppy");
    Write("src.dbs", "x");
    Answer({ui::IDNO});
    EXPECT_EQ(CopyFileWithRetry(Prog("src.dbs"), "A:\\src.dbs", 0, 0), 2);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], Format("Device not ready in copying %s to A:\\src.dbs.\nTry again?",
                                 Prog("src.dbs").c_str()));
}

}  // namespace
