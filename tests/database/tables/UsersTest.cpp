// The users file, log-on, switching users, adding, editing and deleting users, and the user
// dialogs driven headlessly.

#include "TablesFixture.h"

#include <fstream>
#include <functional>
#include <sstream>

#include "common/QuestionBox.h"
#include "platform/ui/EditBox.h"
#include "platform/ui/ListBox.h"
#include "tests/support/ScriptedUi.h"

namespace {

const auto Entry = dqtest::UserEntry;

void WriteFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

constexpr int kIdUserID = 1018;
constexpr int kIdPassword = 1022;
constexpr int kIdLevel = 1025;
constexpr int kIdStore = 1000;

}  // namespace

class UsersTest : public TablesTest {
protected:
    std::string Name() const { return PathOf("studio"); }
    std::string RgsPath() const { return Name() + ".rgs"; }
    void WriteUsers(const std::string& bytes) const { WriteFile(RgsPath(), bytes); }
    // Scripts the add/edit user dialog.
    static void ScriptAddUser(const std::string& id, const std::string& password, const std::string& level)
    {
        Script([=](ui::Dialog& d) {
            EXPECT_EQ(d.GetTemplateId(), 221);
            ui::test::SetText(d, kIdUserID, id);
            ui::test::SetText(d, kIdPassword, password);
            if (!level.empty()) ui::test::SetText(d, kIdLevel, level);
            ui::test::Click(d, kIdStore);
        });
    }
    static void ScriptPassword(const std::string& text)
    {
        Script([=](ui::Dialog& d) {
            EXPECT_EQ(d.GetTemplateId(), 203);
            ui::test::SetText(d, 1005, text);
            ui::test::Click(d, ui::IDOK);
        });
    }
};

TEST_F(UsersTest, LoadingAcceptsOnlySoundEntries)
{
    WriteUsers(Entry("ann", "A1", 1, 9) + Entry("bob", "B2", 2, 10) + Entry("zero", "Z", 0, 1) +
               Entry("big", "G", 127, 1) + Entry("lvl", "L", 3, 11) + Entry("dup", "D", 2, 1) +
               std::string(32, 'x') + std::string(32, '\0') + std::string("\x05\x01", 2) + std::string(40, 'T'));
    ASSERT_EQ(db_->LoadRegistration(Name(), 0), 1);
    ASSERT_EQ(db_->m_aUsers.size(), 2u);
    EXPECT_EQ(db_->m_aUsers[0].GetUserID(), "ann");
    EXPECT_EQ(db_->m_aUsers[1].nAccessLevel, 10);
    EXPECT_EQ(db_->m_aUserIDs, (std::vector<std::string>{"ann", "bob"}));
    EXPECT_EQ(db_->m_aUserCodes, (std::vector<uint8_t>{1, 2}));
    EXPECT_EQ(db_->GetUserName(2), "bob");
    EXPECT_EQ(db_->GetUserName(9), "User code 9");
}

TEST_F(UsersTest, MissingFileEndsTheLogOn)
{
    db_->SetDatabaseName(Name());
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->TestRegistration(Name(), 0), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Can't find registration file " + RgsPath()}));
    EXPECT_EQ(db_->GetDatabaseName(), "");
}

TEST_F(UsersTest, LogOnIgnoresCaseAndRetries)
{
    WriteUsers(Entry("ann", "secret", 1, 9) + Entry("bob", "OTHER", 2, 4));
    ScriptPassword("WRONG");
    ExpectBoxes({IDYES});
    ScriptPassword("OTHER");
    EXPECT_EQ(db_->TestRegistration(Name(), 0), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Password not recognized. Try again?"}));
    EXPECT_EQ(CDatabase::GetCurrentUser(), 2);
    EXPECT_EQ(db_->GetUserAccessLevel(), 4);

    ScriptPassword("SECRET");  // stored in small letters
    EXPECT_EQ(db_->TestRegistration(Name(), 0), 1);
    EXPECT_EQ(CDatabase::GetCurrentUser(), 1);

    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    EXPECT_EQ(db_->TestRegistration(Name(), 0), 0);
}

TEST_F(UsersTest, PasswordPromptTakesAWholeStoredPassword)
{
    const std::string longest(USER_TEXT_MAX, 'Q');
    WriteUsers(Entry("ann", longest, 1, 9));
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Password for studio");
        ui::test::SetText(d, 1005, longest);
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(db_->TestRegistration(Name(), 0), 1);
}

TEST_F(UsersTest, NewSetupAddsTheFirstUserAsMaster)
{
    ScriptAddUser("boss", "top", "");
    ScriptPassword("TOP");
    EXPECT_EQ(db_->TestRegistration(Name(), 1), 1);
    ASSERT_EQ(db_->m_aUsers.size(), 1u);
    EXPECT_EQ(db_->m_aUsers[0].nUserCode, 1);
    EXPECT_EQ(db_->m_aUsers[0].nAccessLevel, 10);
    EXPECT_EQ(db_->m_aUsers[0].GetPassword(), "TOP");
    EXPECT_EQ(ReadFile(RgsPath()), Entry("boss", "TOP", 1, 10));

    // A second new setup on the same name is refused.
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->LoadRegistration(Name(), 1), 0);
    EXPECT_EQ(BoxTexts().back(), "Registration file " + RgsPath() + " already exists. Aborting new setup.");
}

TEST_F(UsersTest, CancelledNewSetupWritesNoFile)
{
    Script([](ui::Dialog& d) { ui::test::Click(d, ui::IDCANCEL); });
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->LoadRegistration(Name(), 1), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Can't find registration file " + RgsPath()}));
    EXPECT_FALSE(std::filesystem::exists(RgsPath()));
}

TEST_F(UsersTest, AddEditDeleteRewriteTheFile)
{
    // bob's password stored in small letters, as an older file may hold it.
    WriteUsers(Entry("ann", "A1", 1, 10) + Entry("bob", "b2", 2, 4));
    ASSERT_EQ(db_->LoadRegistration(Name(), 0), 1);
    SetStampUserCode(1);

    // Level out of range, then a duplicate ID, a password differing only in case, then accepted.
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kIdLevel), "1");
        ui::test::SetText(d, kIdUserID, "bob");
        ui::test::SetText(d, kIdPassword, "c3");
        ui::test::SetText(d, kIdLevel, "12");
        ui::test::Click(d, kIdStore);
        ui::test::SetText(d, kIdLevel, "0");
        ui::test::Click(d, kIdStore);
        ui::test::SetText(d, kIdLevel, "5");
        ui::test::Click(d, kIdStore);
        ui::test::SetText(d, kIdUserID, "cid");
        ui::test::SetText(d, kIdPassword, "b2");
        ui::test::Click(d, kIdStore);
        ui::test::SetText(d, kIdPassword, "c3");
        ui::test::Focus(d, kIdPassword);
        ui::test::PressKey(d, ui::VK_RETURN);  // Enter presses OK
        EXPECT_TRUE(d.HasEnded()) << "add";
    });
    ExpectBoxes({IDOK, IDOK, IDOK, IDOK});
    EXPECT_EQ(db_->AddUser(0), 1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Access level must be in range 1 - 9.",
                                                    "Access level must be in range 1 - 9.",
                                                    "Duplicate user ID: bob", "Duplicate user password: B2"}));
    EXPECT_EQ(ReadFile(RgsPath()), Entry("ann", "A1", 1, 10) + Entry("bob", "b2", 2, 4) + Entry("cid", "C3", 3, 5));
    EXPECT_EQ(db_->m_aUserIDs.back(), "cid");

    // The master user keeps level 10 while its ID changes.
    Script([](ui::Dialog& d) {
        EXPECT_FALSE(d.GetDlgItem(kIdLevel)->IsWindowEnabled());
        ui::test::SetText(d, kIdUserID, "anne");
        ui::test::Click(d, kIdStore);
    });
    db_->EditUser(0);
    EXPECT_EQ(db_->m_aUsers[0].GetUserID(), "anne");
    EXPECT_EQ(db_->m_aUsers[0].nAccessLevel, 10);

    // Cancel (Escape, the close box) leaves the entry unchanged.
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, kIdUserID, "changed");
        ui::test::CloseBox(d);  // as Escape
    });
    db_->EditUser(1);
    EXPECT_EQ(db_->m_aUsers[1].GetUserID(), "bob");

    ExpectBoxes({IDOK});
    db_->DeleteUser(1);
    EXPECT_EQ(BoxTexts().back(), "Can not delete current user.");
    db_->DeleteUser(2);
    EXPECT_EQ(ReadFile(RgsPath()), Entry("anne", "A1", 1, 10) + Entry("cid", "C3", 3, 5));
}

TEST_F(UsersTest, AddingStopsBeforeCode127)
{
    WriteUsers(Entry("ann", "A", 1, 9) + Entry("zed", "Z", 126, 9));
    ASSERT_EQ(db_->LoadRegistration(Name(), 0), 1);
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->AddUser(0), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Number of users exceeds maximum."}));
}

TEST_F(UsersTest, FailedSaveKeepsTheOldFile)
{
    const std::string before = Entry("ann", "A", 1, 9);
    WriteUsers(before);
    ASSERT_EQ(db_->LoadRegistration(Name(), 0), 1);
    // The temporary file cannot be made: a folder stands in its place.
    std::filesystem::create_directory(RgsPath() + ".new");
    db_->m_aUsers.clear();
    ExpectBoxes({IDOK});
    db_->SaveRegistration(Name());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Can't open registration file " + RgsPath() + " for save"}));
    EXPECT_EQ(ReadFile(RgsPath()), before);
}

TEST_F(UsersTest, SwitchingUsers)
{
    WriteUsers(Entry("ann", "A1", 1, 9) + Entry("bob", "B2", 2, 4) + Entry("cid", "C3", 3, 2));
    ASSERT_EQ(db_->LoadRegistration(Name(), 0), 1);
    db_->SetCurrentUser(1, 9);
    std::vector<std::string> sent;
    db_->m_fnLanSendLog = [&](const std::string& keyword) { sent.push_back(keyword); };
    db_->m_fnLanUserOnline = [](uint8_t code, std::string& computer) {
        computer = "DESK2";
        return code == 3;
    };
    auto typeAndOk = [](const std::string& text) {
        return [=](ui::Dialog& d) {
            EXPECT_EQ(d.GetTemplateId(), 313);
            ui::test::SetText(d, 1467, text);
            ui::test::Click(d, ui::IDOK);
        };
    };

    // A wrong password is refused and the box stays, then a user on line elsewhere is refused.
    Script([&](ui::Dialog& d) {
        ui::test::SetText(d, 1467, "NOPE");
        ui::test::Click(d, ui::IDOK);
        EXPECT_FALSE(d.HasEnded());
        EXPECT_EQ(d.GetDlgItemText(1467), "");
        ui::test::SetText(d, 1467, "C3");
        ui::test::Click(d, ui::IDOK);
    });
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->SwitchUsers(), 0);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"Invalid password."}));
    EXPECT_EQ(CDatabase::GetCurrentUser(), 1);

    // The current user's own password changes nothing.
    Script(typeAndOk("A1"));
    EXPECT_EQ(db_->SwitchUsers(), 0);

    // The prompt locks the desk: Escape and the close box leave it up; only a registered
    // password ends it.
    Script([](ui::Dialog& d) {
        ui::test::Focus(d, 1467);
        ui::test::PressKey(d, ui::VK_ESCAPE);
        EXPECT_FALSE(d.HasEnded()) << "Escape";
        ui::test::CloseBox(d);
        EXPECT_FALSE(d.HasEnded()) << "close box";
        ui::test::SetText(d, 1467, "A1");
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(db_->SwitchUsers(), 0);
    EXPECT_EQ(CDatabase::GetCurrentUser(), 1);
    EXPECT_TRUE(sent.empty());

    Script(typeAndOk("B2"));
    EXPECT_EQ(db_->SwitchUsers(), 1);
    EXPECT_EQ(CDatabase::GetCurrentUser(), 2);
    EXPECT_EQ(db_->GetUserAccessLevel(), 4);
    EXPECT_EQ(sent, (std::vector<std::string>{"LOG_ON_SWITCH_USER"}));
}

TEST_F(UsersTest, PasswordBoxesShowDots)
{
    WriteUsers(Entry("ann", "A1", 1, 10));
    ASSERT_EQ(db_->LoadRegistration(Name(), 0), 1);
    SetStampUserCode(1);
    auto dots = [](ui::Dialog& d, int id) {
        auto* edit = d.Edit(id);
        return edit != nullptr && edit->IsPasswordMode();
    };
    struct Case {
        int templateId, passwordId;
        std::function<void()> run;
    } cases[] = {
        {203, 1005, [this] { db_->TestRegistration(Name(), 0); }},
        {313, 1467, [this] { db_->SwitchUsers(); }},
        {221, kIdPassword, [this] { db_->EditUser(0); }},
    };
    for (const Case& c : cases) {
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetTemplateId(), c.templateId);
            EXPECT_TRUE(dots(d, c.passwordId)) << c.templateId;
            if (c.templateId == 221) {
                EXPECT_FALSE(dots(d, kIdUserID));
                ui::test::Click(d, ui::IDCANCEL);
            } else {
                ui::test::SetText(d, c.passwordId, "A1");
                ui::test::Click(d, ui::IDOK);
            }
        });
        c.run();
    }
}

TEST_F(UsersTest, UserListDialog)
{
    WriteUsers(Entry("ann", "A1", 1, 10) + Entry("bob", "B2", 2, 4) + Entry("boss", "M", 10, 9));
    ASSERT_EQ(db_->LoadRegistration(Name(), 0), 1);
    setenv("DORVALQUINTEX_COMPUTERNAME", "FRONTDESK", 1);

    // Below level 10 the user buttons are disabled.
    db_->SetCurrentUser(2, 4);
    Script([](ui::Dialog& d) {
        EXPECT_FALSE(d.GetDlgItem(1044)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(1050)->IsWindowEnabled());
        EXPECT_FALSE(d.GetDlgItem(1056)->IsWindowEnabled());
        ui::test::Click(d, ui::IDOK);
    });
    db_->EditUserList();

    db_->SetCurrentUser(1, 10);
    ExpectBoxes({IDOK, IDOK});
    Script([&](ui::Dialog& d) {
        ui::ListBox* users = d.List(1035);
        ASSERT_NE(users, nullptr);
        ASSERT_EQ(users->GetCount(), 3);
        EXPECT_EQ(users->GetText(0), "1: ann On-line on FRONTDESK");
        EXPECT_EQ(users->GetText(1), "2: bob Off-line");
        EXPECT_EQ(users->GetItemData(2), 10);
        ui::ListBox* computers = d.List(2064);
        ASSERT_EQ(computers->GetCount(), 1);
        EXPECT_EQ(computers->GetText(0), "Local area network disabled.");
        // Nothing selected, then the master user's own line.
        ui::test::Click(d, 1056);
        ui::test::SelectItem(d, 1035, 2);
        ui::test::Click(d, 1056);
        // Deleting bob refills the list.
        ui::test::SelectItem(d, 1035, 1);
        ui::test::Click(d, 1050);
        EXPECT_EQ(users->GetCount(), 2);
        ui::test::Click(d, ui::IDOK);
    });
    db_->EditUserList();
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"No user selected", "Can't edit master user."}));
    EXPECT_EQ(db_->FindUserIndex(2), -1);
}

TEST_F(UsersTest, EditComputerListCreatesAndRewritesTheFile)
{
    WriteUsers(Entry("ann", "A1", 1, 10));
    ASSERT_EQ(db_->LoadRegistration(Name(), 0), 1);
    db_->SetCurrentUser(1, 10);
    db_->m_sComputerListFile = PathOf("Dorvalquintex.usr");

    // No file yet: the editor starts empty, and OK creates the file.
    Script([](ui::Dialog& d) { ui::test::Click(d, 2062); ui::test::Click(d, ui::IDOK); });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1292), "");
        ui::test::SetText(d, 1292, "FRONTDESK\r\nOFFICE");
        ui::test::Click(d, ui::IDOK);
    });
    db_->EditUserList();
    std::ifstream created(PathOf("Dorvalquintex.usr"), std::ios::binary);
    std::stringstream text;
    text << created.rdbuf();
    EXPECT_EQ(text.str(), "FRONTDESK\r\nOFFICE\r\n");

    // The lines come back into the editor; Cancel leaves the file as it was.
    Script([](ui::Dialog& d) { ui::test::Click(d, 2062); ui::test::Click(d, ui::IDOK); });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1292), "FRONTDESK\r\nOFFICE\r\n");
        ui::test::SetText(d, 1292, "");
        ui::test::Click(d, ui::IDCANCEL);
    });
    db_->EditUserList();
    std::ifstream kept(PathOf("Dorvalquintex.usr"), std::ios::binary);
    std::stringstream again;
    again << kept.rdbuf();
    EXPECT_EQ(again.str(), "FRONTDESK\r\nOFFICE\r\n");
}
