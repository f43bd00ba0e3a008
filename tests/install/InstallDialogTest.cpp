#include "InstallTestSupport.h"

#include "install/InstallApp.h"
#include "install/InstallDlg.h"
#include "platform/host/Format.h"
#include "platform/host/Process.h"
#include "platform/ui/RecordingDC.h"
#include "platform/ui/Window.h"

#include <QWidget>

#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr uint32_t kPiece = host::kDisketteCapacity - 5000;
constexpr time_t kMay2021 = 1620900000;
// The request for the next diskette starts with this text; its technical line follows.
const std::string kNext = "Insert next  diskette and click OK.";

std::string NextDiskette(size_t offset, size_t size, size_t total)
{
    return Format("Insert next  diskette and click OK.\n[Technical info: Current offset %u, size "
                  "of last block %u, file size %u]",
                  static_cast<unsigned>(offset), static_cast<unsigned>(size),
                  static_cast<unsigned>(total));
}

class InstallDialogTest : public InstallTest {
protected:
    // The distribution: the program, a help file and a bulky data file.
    std::vector<ZipItem> Distribution(size_t dataSize = 1000)
    {
        return {
            {"Dorvalquintex", "#!program", kMay2021, 0100755},
            {"Dorvalquintex.hlp", "help", kMay2021 + 7200, 0100644},
            {"Studio.dat", MakeData(dataSize, 3), kMay2021 + 86400, 0100644},
        };
    }

    // Runs the dialog: types `target` (unless null), clicks Continue and checks where it ended.
    int Install(const std::string& source, const char* target, bool endsDialog = true)
    {
        Hooks().dialogScripts.push_back([=](ui::Dialog& d) {
            if (target != nullptr)
                ui::test::SetText(d, CInstallDlg::kTargetPathId, target);
            ui::test::Click(d, ui::IDOK);
            EXPECT_EQ(d.HasEnded(), endsDialog);
            if (!d.HasEnded()) {
                // The buttons are back for another try.
                EXPECT_TRUE(d.GetDlgItem(ui::IDOK)->IsWindowVisible());
                EXPECT_TRUE(d.GetDlgItem(ui::IDCANCEL)->IsWindowVisible());
                ui::test::Click(d, ui::IDCANCEL);
            }
        });
        CInstallDlg dialog;
        dialog.SetSourceFolder(source);
        return dialog.DoModal();
    }

    void ExpectInstalled(const std::string& folder, size_t dataSize = 1000)
    {
        EXPECT_EQ(Read(folder + "/Dorvalquintex"), "#!program");
        EXPECT_EQ(Read(folder + "/Dorvalquintex.hlp"), "help");
        EXPECT_TRUE(Read(folder + "/Studio.dat") == MakeData(dataSize, 3));
        struct stat st{};
        ASSERT_EQ(stat(Path(folder + "/Dorvalquintex").c_str(), &st), 0);
        EXPECT_EQ(st.st_mtime, kMay2021);
        EXPECT_TRUE(st.st_mode & S_IXUSR);
        ASSERT_EQ(stat(Path(folder + "/Studio.dat").c_str(), &st), 0);
        EXPECT_EQ(st.st_mtime, kMay2021 + 86400);
    }
};

TEST_F(InstallDialogTest, InstallFromAFolderWithAShortcut)
{
    fs::create_directories(Path("dist"));
    WriteZip(Path("dist/Dorvalquintex.zip"), Distribution());
    Answer({ui::IDYES});
    // Two levels of the target are missing.
    EXPECT_EQ(Install(Prog("dist") + "/", (Home() + "/Apps/Studio/Dorvalquintex").c_str()),
              ui::IDOK);

    EXPECT_EQ(Shown(), std::vector<std::string>{
                           "Do you want to create a desktop shortcut icon for Dorvalquintex?"});
    ExpectInstalled("home/Apps/Studio/Dorvalquintex");
    EXPECT_TRUE(Exists("home/Apps/Studio/Dorvalquintex/Dorvalquintex.zip"));
    EXPECT_EQ(fs::current_path(), Path("home/Apps/Studio/Dorvalquintex"));

    const std::string folder = Home() + "/Apps/Studio/Dorvalquintex";
    EXPECT_EQ(Read("home/Desktop/Dorvalquintex.desktop"),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Dorvalquintex\n"
              "Comment=Dorvalquintex\n"
              "Exec=\"" + folder + "/Dorvalquintex\"\n"
              "Path=" + folder + "\n"
              "Terminal=false\n");
    EXPECT_NE(fs::status(Path("home/Desktop/Dorvalquintex.desktop")).permissions() &
                  fs::perms::owner_exec,
              fs::perms::none);
}

TEST_F(InstallDialogTest, DefaultFolderAndNoShortcutEndsWithTheCompletionMessage)
{
    fs::create_directories(Path("dist"));
    WriteZip(Path("dist/Dorvalquintex.zip"), Distribution());
    Answer({ui::IDNO, ui::IDOK});
    EXPECT_EQ(Install(Prog("dist"), nullptr), ui::IDOK);
    EXPECT_EQ(Shown()[1], "Installation complete. To start Dorvalquintex,\nrun program "
                          "Dorvalquintex in folder " + Home() + "/Dorvalquintex");
    ExpectInstalled("home/Dorvalquintex");
    EXPECT_FALSE(Exists("home/Desktop"));
}

TEST_F(InstallDialogTest, StartedFromTheTargetFolderItself)
{
    fs::create_directories(Path("home/Dorvalquintex"));
    WriteZip(Path("home/Dorvalquintex/Dorvalquintex.zip"), Distribution());
    Answer({ui::IDNO, ui::IDOK});
    EXPECT_EQ(Install(Home() + "/Dorvalquintex/", nullptr), ui::IDOK);
    EXPECT_EQ(Shown().size(), 2u);
    ExpectInstalled("home/Dorvalquintex");
}

TEST_F(InstallDialogTest, BadTargetPathsKeepTheDialogOpen)
{
    const struct {
        const char* typed;
        std::string message;
    } cases[] = {
        {"", "No path name given"},
        {"Dorvalquintex", "Invalid path"},
        {"apps/Dorvalquintex", "Invalid path, should have format " + Home() + "/FolderName"},
    };
    for (const auto& c : cases) {
        Hooks().messageBoxTexts.clear();
        Answer({ui::IDOK});
        EXPECT_EQ(Install(Prog("dist"), c.typed, false), ui::IDCANCEL) << c.typed;
        EXPECT_EQ(Shown(), std::vector<std::string>{c.message}) << c.typed;
    }
}

TEST_F(InstallDialogTest, TargetThatCannotBeMadeIsReported)
{
    Write("home/blocker", "a file where a folder should go");
    Answer({ui::IDOK});
    EXPECT_EQ(Install(Prog("dist"), (Home() + "/blocker/Dorvalquintex").c_str(), false),
              ui::IDCANCEL);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Can't create folder " + Home() +
                                                "/blocker/Dorvalquintex"});
}

TEST_F(InstallDialogTest, NoZipBesideTheInstallerEndsTheDialog)
{
    Write("dist/readme.txt", "");
    Answer({ui::IDOK});
    EXPECT_EQ(Install(Prog("dist"), nullptr), ui::IDOK);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Zip file not found."});
    EXPECT_TRUE(fs::is_directory(Path("home/Dorvalquintex")));
}

TEST_F(InstallDialogTest, DamagedZipEndsWithoutTheCompletionMessage)
{
    Write("dist/Dorvalquintex.zip", "PK but not really");
    Answer({ui::IDOK});
    EXPECT_EQ(Install(Prog("dist"), nullptr), ui::IDOK);
    EXPECT_EQ(Shown(), std::vector<std::string>{"Error in unZIPping " + Home() +
                                                "/Dorvalquintex/Dorvalquintex.zip"});
}

TEST_F(InstallDialogTest, InstallFromThreeDiskettesRefusingAWrongOne)
{
    // A zip of three diskettes: two full pieces and the rest.
    WriteZip(Path("whole.zip"), Distribution(2 * kPiece + 100000));
    const std::string zip = Read("whole.zip");
    ASSERT_GT(zip.size(), 2 * kPiece);
    const uint32_t last = static_cast<uint32_t>(zip.size()) - 2 * kPiece;
    WriteDiskette("d1", "Dorvalquintex.zip", zip, 0, 0, kPiece);
    WriteDiskette("d2", "Dorvalquintex.zip", zip, 1, kPiece, kPiece);
    WriteDiskette("d3", "Dorvalquintex.zip", zip, 2, 2 * kPiece, last);
    Write("d1/install", "the installer");
    InsertDiskette("d1");

    // The user puts in the third diskette first, then the right ones.
    ChangeDiskettesAt(kNext, {"d3", "d2", "d3"});
    Answer({ui::IDOK, ui::IDYES, ui::IDOK, ui::IDOK, ui::IDNO, ui::IDOK});
    EXPECT_EQ(Install("A:\\", nullptr), ui::IDOK);

    const std::string first = NextDiskette(0, kPiece, zip.size());
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           first, "Can't read recombine information file. Try again?", first,
                           NextDiskette(kPiece, kPiece, zip.size()),
                           "Do you want to create a desktop shortcut icon for Dorvalquintex?",
                           "Installation complete. To start Dorvalquintex,\nrun program "
                           "Dorvalquintex in folder " + Home() + "/Dorvalquintex"}));
    EXPECT_TRUE(Read("home/Dorvalquintex/Dorvalquintex.zip") == zip);
    ExpectInstalled("home/Dorvalquintex", 2 * kPiece + 100000);
}

TEST_F(InstallDialogTest, GivingUpOnTheNextDisketteInstallsNothing)
{
    WriteZip(Path("whole.zip"), Distribution(kPiece + 1000));
    const std::string zip = Read("whole.zip");
    WriteDiskette("d1", "Dorvalquintex.zip", zip, 0, 0, kPiece);
    InsertDiskette("d1");
    Answer({ui::IDOK, ui::IDNO});  // the same diskette is still in the drive
    EXPECT_EQ(Install("A:\\", nullptr), ui::IDOK);
    EXPECT_EQ(Shown(), (std::vector<std::string>{
                           NextDiskette(0, kPiece, zip.size()),
                           "Can't read recombine information file. Try again?"}));
    EXPECT_FALSE(Exists("home/Dorvalquintex/Dorvalquintex.zip"));
}

TEST_F(InstallDialogTest, StartsInItsOwnFolderWithTheDefaultTarget)
{
    Hooks().dialogScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.GetTemplateId(), CInstallDlg::IDD);
        EXPECT_EQ(d.GetWindowText(), "Dorvalquintex installation program");
        auto& dialog = dynamic_cast<CInstallDlg&>(d);
        EXPECT_EQ(dialog.GetSourceFolder(), host::ExecutableFolder() + "/");
        EXPECT_EQ(d.GetDlgItemText(CInstallDlg::kTargetPathId),
                  std::string(std::getenv("HOME")) + "/Dorvalquintex");
        EXPECT_FALSE(d.GetDlgItem(CInstallDlg::kStatusId)->IsWindowVisible());
        ui::test::Click(d, ui::IDCANCEL);
    });
    CInstallApp app;
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(Hooks().dialogsRun, std::vector<int>{CInstallDlg::IDD});
    EXPECT_TRUE(Shown().empty());
}

TEST_F(InstallDialogTest, SystemMenuAboutOpensTheAboutBoxAndTheIconIsSet)
{
    Hooks().dialogScripts.push_back([](ui::Dialog& d) {
        auto& dialog = dynamic_cast<CInstallDlg&>(d);
        using Items = std::vector<std::pair<uint32_t, std::string>>;
        EXPECT_EQ(dialog.GetSystemMenuItems(), (Items{{0, ""}, {0x10, "&About Install..."}}));
        EXPECT_FALSE(dialog.GetIcon(true).IsNull());
        EXPECT_EQ(dialog.GetIcon(false).Letters(), dialog.OnQueryDragIcon().Letters());
        Hooks().dialogScripts.push_back([](ui::Dialog& about) {
            EXPECT_EQ(about.GetWindowText(), "About Install");
            ui::test::Click(about, ui::IDOK);
        });
        EXPECT_TRUE(ui::test::ChooseSystemMenuItem(dialog, CInstallDlg::kAboutCommand));
        EXPECT_FALSE(dialog.OnSysCommand(0xF060));

        // Minimised, the dialog draws its icon in the middle of its client area.
        ui::RecordingDC shown;
        dialog.OnPaint(shown);
        EXPECT_TRUE(shown.Model().pages.back().icons.empty());
        dialog.GetWidget()->showMinimized();
        ASSERT_TRUE(dialog.IsIconic());
        {
            ui::RecordingDC iconic;
            dialog.OnPaint(iconic);
            const ui::DCRect client = dialog.GetClientRect();
            ASSERT_EQ(iconic.Model().pages.back().icons.size(), 1u);
            EXPECT_EQ(iconic.Model().pages.back().icons[0].x, (client.Width() - 31) / 2);
            EXPECT_EQ(iconic.Model().pages.back().icons[0].y, (client.Height() - 31) / 2);
        }
        dialog.GetWidget()->showNormal();
        ui::test::Click(d, ui::IDCANCEL);
    });
    CInstallDlg dialog;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(Hooks().dialogsRun, (std::vector<int>{CInstallDlg::IDD, 100}));
}

}  // namespace
