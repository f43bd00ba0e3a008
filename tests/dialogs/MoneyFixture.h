#pragma once
// A new database in a temporary folder, the program's dialogs as its interface, scripted message
// boxes and dialogs, user 1 logged on at the top level, and helpers that store students, price-list
// items, credits and purchases and reopen the file.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "database/Database.h"
#include "dialogs/DatabaseDialogs.h"
#include "platform/ui/TestHooks.h"
#include "tests/support/DialogTestSupport.h"

class MoneyTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        char pattern[] = "/tmp/dq_money_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder_ = pattern;
        SetStampUserCode(1);
        db_ = std::make_unique<CDatabase>();
        db_->SetUi(&CDatabaseDialogs::Instance());
        db_->SetUserAccessLevel(10);
        ASSERT_NE(db_->OpenDB(DbPath(), 1), 0);
        db_->SetDefaults();
        db_->InitializeDatabaseFile();
    }
    void TearDown() override
    {
        db_.reset();
        DialogTest::TearDown();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::string DbPath() const { return folder_ + "/studio.dbs"; }

    // Opens the file in `db` and reads its tables, as another copy on the file does.
    void OpenCopy(CDatabase& db)
    {
        db.SetUi(&CDatabaseDialogs::Instance());
        db.SetUserAccessLevel(10);
        ASSERT_NE(db.OpenDB(DbPath(), 0), 0);
        db.MakeFileHeaderArray(nullptr, nullptr);
        db.SetDefaults();
        db.ReadVarRecord();
        for (uint8_t t = TABLE_CATEGORY; t <= TABLE_SCHEDULE; ++t)
            if (t != TABLE_MAILLIST) {
                ASSERT_EQ(db.ReadTable(t, nullptr), 1) << int(t);
            }
    }
    // Closes the file and reads it into a new database object.
    void Reopen()
    {
        db_->CloseDB();
        db_ = std::make_unique<CDatabase>();
        OpenCopy(*db_);
    }

    template <class T>
    T* Add(uint8_t table, std::unique_ptr<T> item)
    {
        uint32_t code = 0;
        const uint32_t loc = db_->SaveItem(table, item.get(), &code);
        EXPECT_NE(loc, LOC_NONE);
        T* raw = item.release();
        db_->AddItemToIndex(table, raw, loc, 0xFFFFFFFE);
        return raw;
    }
    CPerson* AddStudent(const std::string& last, const std::string& first)
    {
        auto p = std::make_unique<CPerson>('C');
        p->m_sLastName = last;
        p->m_sFirstName = first;
        return Add(TABLE_PERSON, std::move(p));
    }
    CCategory* AddCategory(const std::string& name, char type, uint8_t param0 = 0)
    {
        auto c = std::make_unique<CCategory>(type);
        c->m_sName = name;
        c->m_Params[0] = param0;
        return Add(TABLE_CATEGORY, std::move(c));
    }
    CPriceListItem* AddItem(const std::string& name, double price, char kind = 'N')
    {
        auto i = std::make_unique<CPriceListItem>();
        i->m_sName = name;
        i->m_dPrice = price;
        i->m_cKind = kind;
        return Add(TABLE_PRICELIST, std::move(i));
    }
    CPaymentRecord* AddCredit(uint32_t person, const std::string& text, double amount)
    {
        auto c = std::make_unique<CPaymentRecord>();
        c->m_cType = 'c';
        c->m_nPerson = person;
        c->m_sText = text;
        c->m_dAmount = amount;
        return Add(TABLE_PAYMENT, std::move(c));
    }
    const CPaymentRecord* Payment(uint32_t code) const
    {
        return static_cast<const CPaymentRecord*>(db_->GetItem(TABLE_PAYMENT, code));
    }
    static void Answer(std::initializer_list<int> answers) { dqtest::QueueAnswers(answers); }
    static const std::vector<std::string>& Boxes() { return ui::test::GetHooks().messageBoxTexts; }

    std::string folder_;
    std::unique_ptr<CDatabase> db_;
};
