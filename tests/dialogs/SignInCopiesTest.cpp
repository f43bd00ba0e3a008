// Sign-in and the kiosk beside a second running copy (tests/driver) on 127.0.0.2; this test's
// copy, on 127.0.0.1, is the server computer and the lock manager. While the other copy holds a
// student's purchase, a use is refused and nothing changes; after its release the use is stored.
// A student the other copy adds is found by the kiosk while it is open.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "database/Database.h"
#include "database/LanServer.h"
#include "dialogs/DatabaseDialogs.h"
#include "dialogs/DialogAutoCheckIn.h"
#include "platform/ui/Application.h"
#include "platform/ui/ListBox.h"
#include "tests/support/DialogTestSupport.h"
#include "tests/support/DriverProcess.h"

namespace {

using Words = std::vector<std::string>;
constexpr int kActivities = 1181;
constexpr int kMarkUsed = 1189;

void ScriptPassword(const std::string& text)
{
    ui::test::GetHooks().dialogScripts.push_back([=](ui::Dialog& d) {
        ui::test::SetText(d, 1005, text);
        ui::test::Click(d, ui::IDOK);
    });
}

// The window that takes the LAN link's message 0x404, as the main frame does.
class CMessageWindow : public ui::Window {
public:
    CDatabase* m_pDb = nullptr;
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message == WM_MAINFRAME_MSG && wParam == 1 && m_pDb) {
            m_pDb->OnMessage();
            return 0;
        }
        return ui::Window::OnMessage(message, wParam, lParam);
    }
};

class SignInCopiesTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        char pattern[] = "/tmp/dq_signin2_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        ::setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
        for (const char* v : {"DORVALQUINTEX_COMPUTERNAME", "DORVALQUINTEX_ADDRESS", "DORVALQUINTEX_SERVER"})
            ::setenv(v, "127.0.0.1", 1);
        const std::string file = ChooseLanName("S", ".dbs", {"127.0.0.1", "127.0.0.2"}, GetLanPort);
        ASSERT_FALSE(file.empty()) << "no free port";
        name_ = folder_ + "/" + file;
        std::ofstream(name_ + ".rgs", std::ios::binary)
            << dqtest::UserEntry("front", "desk", 1, 9) << dqtest::UserEntry("office", "other", 2, 9);
        std::ofstream(folder_ + "/Dorvalquintex.usr") << "127.0.0.1\r\n127.0.0.2\r\n";
        // This copy works in its own folder, as the program in its program folder: the LAN link
        // reads the computer list there.
        oldFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(folder_);
        MakeFixture();

        db_ = std::make_unique<CDatabase>();
        ASSERT_TRUE(window_.Create(nullptr, ui::DCRect{0, 0, 10, 10}));
        window_.m_pDb = db_.get();
        db_->SetMessageWindow(&window_);
        db_->SetUi(&CDatabaseDialogs::Instance());
        ScriptPassword("desk");
        ASSERT_TRUE(db_->OpenDatabase(name_, 0));

        const std::string otherFolder = folder_ + "/other";
        std::filesystem::create_directory(otherFolder);
        std::ofstream(otherFolder + "/Dorvalquintex.usr") << "127.0.0.1\r\n127.0.0.2\r\n";
        other_ = std::make_unique<DriverProcess>("127.0.0.2", "127.0.0.1", otherFolder);
        ASSERT_TRUE(other_->Started());
        const Words opened = Run("opendb " + name_ + " other");
        ASSERT_EQ(opened.size(), 2u) << other_->Transcript();
        ASSERT_EQ(opened[0], "1");
    }
    void TearDown() override
    {
        if (other_) {
            Run("closedb");
            other_->Stop();
            other_.reset();
        }
        if (db_) db_->CloseDatabase();
        window_.m_pDb = nullptr;
        db_.reset();
        window_.DestroyWindow();
        for (const char* v : {"XDG_RUNTIME_DIR", "DORVALQUINTEX_COMPUTERNAME", "DORVALQUINTEX_ADDRESS",
                              "DORVALQUINTEX_SERVER"})
            ::unsetenv(v);
        DialogTest::TearDown();
        std::error_code ec;
        if (!oldFolder_.empty()) std::filesystem::current_path(oldFolder_, ec);
        std::filesystem::remove_all(folder_, ec);
    }

    // One student with three private lessons, made by a copy working alone.
    void MakeFixture()
    {
        CDatabase db;
        db.SetUi(&CDatabaseDialogs::Instance());
        db.m_bNetworkDisabled = true;
        ScriptPassword("desk");
        ASSERT_TRUE(db.OpenDatabase(name_, 0));
        CPerson student('C');
        student.m_sLastName = "Quill";
        student.m_sFirstName = "Zelda";
        ASSERT_EQ(db.AddTableItem(TABLE_PERSON, LOC_NONE, &student, 0, 0, nullptr), 1);
        student_ = student.m_nCode;
        CPurchaseRecord purchase;
        purchase.m_nPerson = student_;
        purchase.m_sDescription = "Private lessons";
        auto item = std::make_unique<CPurchaseItem>();
        item->m_sName = "Private lesson";
        item->m_cKind = 'p';
        item->m_nCount = 3;
        for (int i = 0; i < 3; ++i) {
            auto token = std::make_unique<CScheduleToken>();
            token->m_cKind = 'p';
            token->m_cState = 'N';
            token->m_nField8 = 0;
            item->m_Tokens.push_back(std::move(token));
        }
        purchase.m_Items.push_back(std::move(item));
        ASSERT_EQ(db.AddTableItem(TABLE_PURCHASE, LOC_NONE, &purchase, 0, 0, nullptr), 1);
        purchase_ = purchase.m_nCode;
        db.CloseDatabase();
    }

    // A command of the other copy answered while this copy keeps its messages (and so its lock
    // manager) running.
    Words Run(const std::string& command, int timeoutMs = 30000)
    {
        other_->Send(command);
        const std::string word = command.substr(0, command.find(' '));
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (std::chrono::steady_clock::now() < until) {
            ui::Application::PumpMessages();
            if (other_->HasAnswerWithin(word, 20)) return other_->Answer(word, 0);
        }
        return {"TIMEOUT"};
    }
    const CPurchaseRecord& Purchase() const
    {
        return *static_cast<const CPurchaseRecord*>(db_->GetItem(TABLE_PURCHASE, purchase_));
    }
    // Signs the student in and marks the first lesson row used; the rows before and after.
    std::pair<Words, Words> MarkFirstUsed()
    {
        Words before, after;
        Hooks().dialogScripts.push_back([&](ui::Dialog& d) {
            ui::ListBox* list = d.List(kActivities);
            for (int i = 0; i < list->GetCount(); ++i) before.push_back(list->GetText(i));
            ui::test::SelectItem(d, kActivities, 0);
            ui::test::Click(d, kMarkUsed);
            for (int i = 0; i < list->GetCount(); ++i) after.push_back(list->GetText(i));
            ui::test::Click(d, 1000);
        });
        db_->RunSignIn(static_cast<CPerson*>(db_->GetItem(TABLE_PERSON, student_)));
        return {before, after};
    }

    std::string folder_;
    std::filesystem::path oldFolder_;
    std::string name_;
    uint32_t student_ = 0;
    uint32_t purchase_ = 0;
    CMessageWindow window_;
    std::unique_ptr<CDatabase> db_;
    std::unique_ptr<DriverProcess> other_;
};

TEST_F(SignInCopiesTest, AUseOfAPurchaseHeldElsewhereIsRefusedUntilItsRelease)
{
    const Words held = Run("lockrecord " + std::to_string(TABLE_PURCHASE) + " " + std::to_string(purchase_));
    ASSERT_EQ(held.size(), 1u);
    ASSERT_NE(held[0], "4294967295") << other_->Transcript();
    CPurchaseRecord before;
    before.CopyFrom(Purchase());

    dqtest::QueueAnswers({ui::IDOK});
    auto [shown, refused] = MarkFirstUsed();
    EXPECT_EQ(Hooks().messageBoxTexts, Words{"This data item is locked by another user."});
    EXPECT_EQ(refused, shown);
    EXPECT_TRUE(Purchase().IsEqual(before));
    db_->RefreshItem(TABLE_PURCHASE, purchase_);
    EXPECT_TRUE(Purchase().IsEqual(before));  // the file too

    ASSERT_EQ(Run("unlockrecord " + held[0]), Words{"1"});
    auto [again, used] = MarkFirstUsed();
    EXPECT_EQ(Hooks().messageBoxTexts.size(), 1u);
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(used[0].rfind("(2) ", 0), 0u) << used[0];
    EXPECT_EQ(Purchase().m_Items[0]->CountTokens('U'), 1u);
    db_->RefreshItem(TABLE_PURCHASE, purchase_);
    EXPECT_EQ(Purchase().m_Items[0]->CountTokens('U'), 1u);
}

TEST_F(SignInCopiesTest, TheKioskFindsAStudentTheOtherCopyAdded)
{
    db_->m_aUserPasswords = {"desk"};
    const Words added = Run("addperson Lindqvist Eva");
    ASSERT_EQ(added.size(), 2u);
    ASSERT_EQ(added[0], "1");
    dqtest::QueueAnswers({ui::IDOK});
    Hooks().dialogScripts.push_back([&](ui::Dialog& d) {
        ui::test::SetText(d, 1396, added[1]);
        ui::test::Focus(d, 1396);
        ui::test::PressKey(d, ui::VK_RETURN);
        ui::test::SetText(d, 1396, "DESK");
        ui::test::PressKey(d, ui::VK_RETURN);
    });
    CDialogAutoCheckIn kiosk(db_.get());
    EXPECT_EQ(kiosk.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(Hooks().messageBoxTexts,
              Words{"Nothing scheduled today for Eva Lindqvist.\nPlease check with receptionist."});
}

}  // namespace
