#pragma once
// A temporary folder with a new database, a frame to show a view in, scripted message boxes and
// dialogs (anything a test does not expect fails it), user 1 logged on at level 9, and the list
// views' database operations put back between tests.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "widgets/CommandGuards.h"
#include "records/RecordBuffer.h"
#include "database/Database.h"
#include "dialogs/DialogFindFive.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/TestHooks.h"
#include "views/ScrollBase.h"

class ViewsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::test::EnsureApplication();
        ui::test::Hooks& hooks = ui::test::ResetHooks();
        hooks.scriptMessageBoxes = true;
        hooks.driveDialogs = true;
        hooks.manualTimers = true;
        char pattern[] = "/tmp/dq_views_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        SetStampUserCode(1);
        DatabaseOpen = 1;
        UserAccessLevel = 9;
        ListViewOperations() = stListViewOperations{};
        CDialogFindFive::History().clear();
        db_ = std::make_unique<CDatabase>();
        db_->SetUserAccessLevel(10);
        ASSERT_NE(db_->OpenDB(DbPath(), 1), 0);
        db_->SetDefaults();
        db_->InitializeDatabaseFile();
        frame_ = std::make_unique<ui::FrameWindow>();
        ASSERT_TRUE(frame_->CreateFrame("views", {0, 0, 640, 480}));
    }
    void TearDown() override
    {
        frame_.reset();
        db_.reset();
        DatabaseOpen = 0;
        UserAccessLevel = 0;
        ListViewOperations() = DefaultListViewOperations();
        ui::test::Hooks& h = ui::test::GetHooks();
        EXPECT_TRUE(h.failures.empty()) << "unexpected: " << (h.failures.empty() ? "" : h.failures[0]);
        EXPECT_TRUE(h.dialogScripts.empty());
        EXPECT_TRUE(h.messageBoxAnswers.empty());
        ui::test::ResetHooks();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    std::string DbPath() const { return folder_ + "/studio.dbs"; }

    // Shows the view in the frame at the given client height and paints it once.
    void Show(CScrollBase& view, int height = 300)
    {
        ASSERT_TRUE(view.CreateView(frame_.get(), 59649));
        frame_->SwitchView(&view);
        view.MoveWindow({0, 0, 400, height});
        view.OnSize(400, height);
        view.m_nWindowWidth = 400;
        view.m_nWindowHeight = height;
        Paint(view);
    }
    static ui::RecordedPage Paint(CScrollBase& view) { return ui::test::RecordPaint(view); }

    static void Answer(std::initializer_list<int> answers)
    {
        for (int a : answers) ui::test::GetHooks().messageBoxAnswers.push_back(a);
    }
    static const std::vector<std::string>& BoxTexts() { return ui::test::GetHooks().messageBoxTexts; }
    static void Script(std::function<void(ui::Dialog&)> script)
    {
        ui::test::GetHooks().dialogScripts.push_back(std::move(script));
    }

    template <class T>
    T* AddItem(uint8_t table, std::unique_ptr<T> item)
    {
        uint32_t code = 0;
        const uint32_t loc = db_->SaveItem(table, item.get(), &code);
        EXPECT_NE(loc, 0xFFFFFFFFu);
        T* raw = item.release();
        db_->AddItemToIndex(table, raw, loc, 0xFFFFFFFE);
        return raw;
    }
    CPerson* AddPerson(const std::string& last, const std::string& first, char type = 'C',
                       char status = 'A')
    {
        auto p = std::make_unique<CPerson>(type);
        p->m_sLastName = last;
        p->m_sFirstName = first;
        p->m_cStatus = status;
        p->m_nSequence = sequence_++;
        return AddItem(TABLE_PERSON, std::move(p));
    }
    CCategory* AddCategory(const std::string& name, char type)
    {
        auto c = std::make_unique<CCategory>(type);
        c->m_sName = name;
        c->m_nSequence = sequence_++;
        return AddItem(TABLE_CATEGORY, std::move(c));
    }

    std::string folder_;
    std::unique_ptr<CDatabase> db_;
    std::unique_ptr<ui::FrameWindow> frame_;
    int sequence_ = 0;
};
