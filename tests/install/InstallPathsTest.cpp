#include "InstallTestSupport.h"

#include "install/DesktopShortcut.h"
#include "install/InstallPaths.h"

#include <cstdlib>

namespace {

using InstallPathsTest = InstallTest;

TEST_F(InstallPathsTest, DefaultTargetIsDorvalquintexInTheHomeFolder)
{
    EXPECT_EQ(GetHomeFolder(), Home());
    EXPECT_EQ(GetDefaultTargetFolder(), Home() + "/Dorvalquintex");
}

TEST_F(InstallPathsTest, TargetPathsRefusedWithTheirMessages)
{
    const std::string format = "Invalid path, should have format " + Home() + "/FolderName";
    const struct {
        const char* typed;
        std::string message;
    } cases[] = {
        {"", "No path name given"},
        {"  \t ", "No path name given"},
        {"Dorvalquintex", "Invalid path"},
        {"apps/Dorvalquintex", format},
        {"C:Dorvalquintex\\x", format},
    };
    for (const auto& c : cases) {
        std::string folder = "unchanged", message;
        EXPECT_FALSE(CheckTargetPath(c.typed, folder, message)) << c.typed;
        EXPECT_EQ(message, c.message) << c.typed;
        EXPECT_EQ(folder, "unchanged");
    }
}

TEST_F(InstallPathsTest, TargetPathsAcceptedAndTidied)
{
    const struct {
        const char* typed;
        std::string folder;
    } cases[] = {
        {"/opt/Dorvalquintex", "/opt/Dorvalquintex"},
        {"  /opt/Dorvalquintex//  ", "/opt/Dorvalquintex"},
        {"~/Studio/Dorvalquintex/", Home() + "/Studio/Dorvalquintex"},
        {"~", Home()},
        {"C:\\Dorvalquintex\\", "C:\\Dorvalquintex"},
        {"c:/Dorvalquintex", "c:/Dorvalquintex"},
        {"C:\\", "C:\\"},
    };
    for (const auto& c : cases) {
        std::string folder, message;
        EXPECT_TRUE(CheckTargetPath(c.typed, folder, message)) << c.typed << ": " << message;
        EXPECT_EQ(folder, c.folder) << c.typed;
    }
}

TEST_F(InstallPathsTest, EnsureFolderPathMakesEveryLevelAndReportsFailure)
{
    EXPECT_TRUE(EnsureFolderPath(Prog("a/b/c"), "d\\e"));
    EXPECT_TRUE(std::filesystem::is_directory(Path("a/b/c/d/e")));
    EXPECT_TRUE(EnsureFolderPath(Prog("a/b/c"), ""));  // already there

    Write("file", "x");
    EXPECT_FALSE(EnsureFolderPath(Prog("file/sub"), ""));
    EXPECT_FALSE(EnsureFolderPath(Prog("a"), "../file/x"));
}

TEST_F(InstallPathsTest, FindZipFileTakesTheFirstNameHoldingDotZip)
{
    std::string name = "none";
    std::filesystem::create_directories(Path("dist"));
    EXPECT_EQ(FindZipFile(Prog("dist"), name), 0);
    EXPECT_EQ(name, "none");

    Write("dist/readme.txt", "");
    Write("dist/Setup.ZIP", "");  // case matters: ".zip" only
    EXPECT_EQ(FindZipFile(Prog("dist") + "/", name), 0);

    Write("dist/b.zip", "");
    Write("dist/a.zip.old", "");
    EXPECT_EQ(FindZipFile(Prog("dist"), name), 1);
    EXPECT_EQ(name, "a.zip.old");
}

TEST_F(InstallPathsTest, FolderInsideAMappedDriveIsGivenOnThatDrive)
{
    InsertDiskette("floppy");
    std::filesystem::create_directories(Path("floppy/setup"));
    EXPECT_EQ(ToDriveFolder(Prog("floppy")), "A:\\");
    EXPECT_EQ(ToDriveFolder(Prog("floppy/")), "A:\\");
    EXPECT_EQ(ToDriveFolder(Prog("floppy/setup")), "A:\\setup\\");
    EXPECT_EQ(ToDriveFolder(Prog("floppy2")), Prog("floppy2") + "/");
    EXPECT_EQ(ToDriveFolder("A:\\"), "A:\\");
}

TEST_F(InstallPathsTest, DesktopFolderFromUserDirsThenVariableThenHome)
{
    EXPECT_EQ(GetDesktopFolder(), Home() + "/Desktop");

    setenv("XDG_DESKTOP_DIR", Prog("elsewhere").c_str(), 1);
    EXPECT_EQ(GetDesktopFolder(), Prog("elsewhere"));

    Write("home/.config/user-dirs.dirs",
          "# written by xdg-user-dirs-update\nXDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n"
          "XDG_DESKTOP_DIR=\"$HOME/Schreibtisch\"\n");
    EXPECT_EQ(GetDesktopFolder(), Home() + "/Schreibtisch");

    setenv("XDG_CONFIG_HOME", Prog("config").c_str(), 1);
    Write("config/user-dirs.dirs", "XDG_DESKTOP_DIR=\"/srv/desk\"\n");
    EXPECT_EQ(GetDesktopFolder(), "/srv/desk");
}

TEST_F(InstallPathsTest, DesktopEntryHasAbsoluteExecAndPath)
{
    std::string contents;
    ASSERT_TRUE(BuildDesktopEntry("/opt/Dorvalquintex", "Dorvalquintex", contents));
    EXPECT_EQ(contents,
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Dorvalquintex\n"
              "Comment=Dorvalquintex\n"
              "Exec=\"/opt/Dorvalquintex/Dorvalquintex\"\n"
              "Path=/opt/Dorvalquintex\n"
              "Terminal=false\n");

    // Quoting of the Exec argument, then the string escapes of the file format.
    ASSERT_TRUE(BuildDesktopEntry("/opt/My $Studio 100%", "Dorvalquintex", contents));
    EXPECT_NE(contents.find("Exec=\"/opt/My \\\\$Studio 100%%/Dorvalquintex\"\n"),
              std::string::npos)
        << contents;
    EXPECT_NE(contents.find("Path=/opt/My $Studio 100%\n"), std::string::npos) << contents;

    // A drive path is written as the host folder behind it.
    InsertDiskette("floppy");
    ASSERT_TRUE(BuildDesktopEntry("A:\\prog", "Dorvalquintex", contents));
    EXPECT_NE(contents.find("Path=" + Prog("floppy") + "/prog\n"), std::string::npos) << contents;
}

}  // namespace
