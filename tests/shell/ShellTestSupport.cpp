#include "dialogs/DatabaseDialogs.h"
#include "ShellTestSupport.h"

#include "widgets/CommandGuards.h"
#include "common/DataPaths.h"
#include "common/Diagnostic.h"
#include "widgets/ExternalPrograms.h"
#include "platform/ui/TestHooks.h"
#include "shell/ProgramState.h"
#include "shell/SettingsFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

ShellTempFolder::ShellTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "dq-shell-XXXXXX").string();
    char* made = ::mkdtemp(pattern.data());
    if (made) path_ = made;
}

ShellTempFolder::~ShellTempFolder()
{
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

void ShellTempFolder::WriteFile(const std::string& name, const std::string& contents) const
{
    std::ofstream out(FilePath(name), std::ios::binary);
    out << contents;
}

std::string ShellTempFolder::ReadFile(const std::string& name) const
{
    std::ifstream in(FilePath(name), std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

bool ShellTempFolder::Exists(const std::string& name) const
{
    return std::filesystem::exists(FilePath(name));
}

void ShellTest::SetUp()
{
    ui::test::EnsureApplication();
    SetDefaultDatabaseUi(&CDatabaseDialogs::Instance());
    ui::test::Hooks& h = ui::test::ResetHooks();
    h.scriptMessageBoxes = true;
    h.manualTimers = true;
    AppSettings().m_fnStatusPanesChanged = nullptr;
    AppSettings().SetDefaults();
    ResetProgramState();
    ProgramFolder = folder_.Path();
}

void ShellTest::TearDown()
{
    ui::test::Hooks& h = ui::test::GetHooks();
    EXPECT_TRUE(h.failures.empty()) << h.failures.front();
    EXPECT_TRUE(h.messageBoxAnswers.empty()) << "unused scripted answers";
    ui::test::ResetHooks();
    AppSettings().m_fnStatusPanesChanged = nullptr;
    AppSettings().SetDefaults();
    ResetProgramState();
}
