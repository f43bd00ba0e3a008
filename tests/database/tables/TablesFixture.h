#pragma once
// A temporary folder per test with a new database in it, scripted message boxes and dialogs
// (anything a test does not expect fails it), and user 1 logged on.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "dialogs/DatabaseDialogs.h"
#include "records/RecordBuffer.h"
#include "database/Database.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"

class TablesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ui::test::EnsureApplication();
        SetDefaultDatabaseUi(&CDatabaseDialogs::Instance());
        ui::test::Hooks& hooks = ui::test::ResetHooks();
        hooks.scriptMessageBoxes = true;
        hooks.driveDialogs = true;
        char pattern[] = "/tmp/dq_tables_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        SetStampUserCode(1);
        db_ = std::make_unique<CDatabase>();
        db_->SetUserAccessLevel(10);
    }
    void TearDown() override
    {
        db_.reset();
        ui::test::Hooks& h = ui::test::GetHooks();
        EXPECT_TRUE(h.failures.empty()) << "unexpected: " << (h.failures.empty() ? "" : h.failures[0]);
        EXPECT_TRUE(h.dialogScripts.empty());
        EXPECT_TRUE(h.messageBoxAnswers.empty());
        ui::test::ResetHooks();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    std::string PathOf(const std::string& name) const { return folder_ + "/" + name; }
    std::string DbPath() const { return PathOf("studio.dbs"); }

    // A new database file with the default settings records.
    void CreateDatabase()
    {
        ASSERT_NE(db_->OpenDB(DbPath(), 1), 0);
        db_->SetDefaults();
        db_->InitializeDatabaseFile();
    }
    // Closes the file and opens it again in a new database object, headers read.
    void Reopen()
    {
        db_->CloseDB();
        db_ = std::make_unique<CDatabase>();
        db_->SetUserAccessLevel(10);
        ASSERT_NE(db_->OpenDB(DbPath(), 0), 0);
        db_->MakeFileHeaderArray(nullptr, nullptr);
        db_->SetDefaults();
    }

    static void ExpectBoxes(std::initializer_list<int> answers)
    {
        for (int a : answers) ui::test::GetHooks().messageBoxAnswers.push_back(a);
    }
    static const std::vector<std::string>& BoxTexts() { return ui::test::GetHooks().messageBoxTexts; }
    static void Script(std::function<void(ui::Dialog&)> script)
    {
        ui::test::GetHooks().dialogScripts.push_back(std::move(script));
    }

    // Saves a new item of a table through the database and adds it to the index.
    template <class T>
    T* AddItem(uint8_t table, std::unique_ptr<T> item)
    {
        uint32_t code = 0;
        uint32_t loc = db_->SaveItem(table, item.get(), &code);
        EXPECT_NE(loc, 0xFFFFFFFFu);
        T* raw = item.release();
        db_->AddItemToIndex(table, raw, loc, 0xFFFFFFFE);
        return raw;
    }
    CPerson* AddPerson(const std::string& last, const std::string& first, int sequence, char type = 'C')
    {
        auto p = std::make_unique<CPerson>(type);
        p->m_sLastName = last;
        p->m_sFirstName = first;
        p->m_nSequence = sequence;
        return AddItem(TABLE_PERSON, std::move(p));
    }
    CCategory* AddCategory(const std::string& name, char type, int sequence)
    {
        auto c = std::make_unique<CCategory>(type);
        c->m_sName = name;
        c->m_nSequence = sequence;
        return AddItem(TABLE_CATEGORY, std::move(c));
    }
    // The codes of a table's index in display order.
    std::vector<uint32_t> Codes(uint8_t table) const
    {
        std::vector<uint32_t> codes;
        for (const stIndex& e : *db_->GetItemList(table)) codes.push_back(e.nCode);
        return codes;
    }

    std::string folder_;
    std::unique_ptr<CDatabase> db_;
};
