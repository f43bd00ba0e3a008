#pragma once
// A small studio saved through the record classes into a temporary database, closed and opened
// again, on a clock fixed at Wednesday 4 March 2026 10:00. The week shown by most tests runs from
// Sunday 1 March to Saturday 7 March 2026.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "common/Diagnostic.h"
#include "database/Database.h"
#include "platform/host/Clock.h"
#include "tests/support/FixedClock.h"
#include "platform/host/Format.h"
#include "platform/ui/TestHooks.h"
#include "records/RecordBuffer.h"
#include "tests/support/ScriptedUi.h"
#include "tests/support/TestFiles.h"

inline DATE D(int year, int month, int day, int hour = 0, int minute = 0)
{
    return MakeDate(year, month, day, hour, minute);
}

// The codes of the fixture studio's records.
struct stStudioCodes {
    uint32_t privateType = NO_CODE, groupType = NO_CODE, roomA = NO_CODE, roomB = NO_CODE;
    uint32_t program = NO_CODE, department = NO_CODE, contract = NO_CODE;
    uint32_t ann = NO_CODE, bob = NO_CODE, sue = NO_CODE, carl = NO_CODE;
    uint32_t purchase = NO_CODE;
    uint32_t received = NO_CODE, paidOut = NO_CODE;
    uint32_t tango = NO_CODE, party = NO_CODE;
    uint32_t salsa = NO_CODE, practice = NO_CODE;
};

class StudioTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dqtest::StartScriptedUi();
        FixClock(2026, 3, 4, 10, 0);
        folder_ = dqtest::MakeTempFolder("dq_studio_");
        ASSERT_FALSE(folder_.empty());
        root_ = folder_ + "/studio";
        SetStampUserCode(1);
        db_ = std::make_unique<CDatabase>();
        db_->m_bNetworkDisabled = true;
        ASSERT_TRUE(db_->OpenDatabaseFile(root_));
    }
    void TearDown() override
    {
        DiagnosticLevel = 0;
        if (db_) db_->CloseDatabase();
        db_.reset();
        dqtest::ExpectScriptsUsed();
        ui::test::ResetHooks();
        host::Clock::ResetTestHooks();
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }

    static void FixClock(int year, int month, int day, int hour, int minute)
    {
        dqtest::FixClock(year, month, day, hour, minute);
    }

    // Saves a new record into the file (not into the tables in memory) in table order; its code.
    template <class T>
    uint32_t Save(uint8_t table, T& record)
    {
        record.m_nSequence = static_cast<int32_t>(saved_[table]++);
        uint32_t code = NO_CODE;
        EXPECT_NE(db_->SaveItem(table, &record, &code), LOC_NONE);
        return code;
    }
    // Closes the database and opens it again: the tables are read back from the file.
    void Reopen()
    {
        db_->CloseDatabase();
        db_ = std::make_unique<CDatabase>();
        db_->m_bNetworkDisabled = true;
        ASSERT_TRUE(db_->OpenDatabaseFile(root_));
    }

    uint32_t AddCategory(char type, const std::string& name)
    {
        CCategory c(type);
        c.m_sName = name;
        return Save(TABLE_CATEGORY, c);
    }
    uint32_t AddPerson(char type, const std::string& first, const std::string& last, char status = 'A')
    {
        CPerson p(type);
        p.m_sFirstName = first;
        p.m_sLastName = last;
        p.m_cStatus = status;
        return Save(TABLE_PERSON, p);
    }
    static std::unique_ptr<CScheduleToken> Token(char state, DATE date, uint32_t teacher, uint32_t room = NO_CODE,
                                                 char kind = 'p', int32_t minutes = 45)
    {
        auto t = std::make_unique<CScheduleToken>();
        t->m_cKind = kind;
        t->m_cState = state;
        t->m_dDate = date;
        t->m_nField8 = teacher;
        t->m_nField9 = room;
        t->m_nLessonValue = minutes;
        return t;
    }
    static std::unique_ptr<CPurchaseItem> Item(const std::string& name, char kind, int32_t count, double amount,
                                               uint32_t type, int32_t units = 45)
    {
        auto i = std::make_unique<CPurchaseItem>();
        i->m_sName = name;
        i->m_cKind = kind;
        i->m_nCount = count;
        i->m_dAmount = amount;
        i->m_nType = type;
        i->m_nLessonValue = units;
        return i;
    }
    static std::unique_ptr<CSchedulePayment> Scheduled(char kind, DATE date, double amount,
                                                       uint32_t reference = NO_CODE)
    {
        auto p = std::make_unique<CSchedulePayment>();
        p->m_cKind = kind;
        p->m_dDate = date;
        p->m_dAmount = amount;
        p->m_nReference = reference;
        return p;
    }

    // The fixture studio, saved (call Reopen afterwards).
    void BuildStudio()
    {
        stStudioCodes& c = codes_;
        c.privateType = AddCategory('B', "PRIVATE lesson");
        c.groupType = AddCategory('B', "group class");
        c.roomA = AddCategory('R', "Studio A");
        c.roomB = AddCategory('R', "Studio B");
        c.program = AddCategory('P', "Bronze");
        c.department = AddCategory('D', "Ballroom");
        c.contract = AddCategory('C', "Standard");

        c.ann = AddPerson('E', "Ann", "Teach");
        c.bob = AddPerson('E', "Bob", "Lead");
        c.sue = AddPerson('E', "Sue", "Boss");
        CPerson carl('C');
        carl.m_sFirstName = "Carl";
        carl.m_sLastName = "Student";
        carl.m_dBirthday = D(1961, 3, 12);
        carl.m_nTeacher = c.ann;
        carl.m_nCode28 = c.sue;
        auto interview = std::make_unique<CInterview>();
        interview->m_cKind = 'V';
        interview->m_dDate = D(2026, 3, 2, 10, 0);
        interview->m_nField4 = c.ann;
        interview->m_nField5 = c.sue;
        interview->m_nField8 = 1;
        interview->m_nProgram = c.program;
        interview->m_nField9 = c.contract;
        interview->m_nField10 = c.department;
        interview->m_dField14 = D(2026, 3, 5, 9, 0);
        interview->m_nField15 = 1;
        interview->m_dField16 = D(2026, 3, 6, 9, 0);
        interview->m_nField17 = c.bob;
        interview->m_cField19 = 'P';
        interview->m_dField20 = D(2026, 3, 4, 15, 0);
        interview->m_nField21 = c.ann;
        carl.m_Interviews.push_back(std::move(interview));
        c.carl = Save(TABLE_PERSON, carl);

        CPurchaseRecord purchase;
        purchase.m_nPerson = c.carl;
        purchase.m_sDescription = "Bronze package";
        purchase.m_dDate = D(2026, 3, 2, 11, 0);
        purchase.m_dStartDate = D(2026, 3, 2);
        purchase.m_nProgram = c.program;
        purchase.m_nField12 = c.contract;
        purchase.m_nField13 = c.department;
        purchase.m_nField14 = c.ann;
        purchase.m_nField15 = c.bob;
        purchase.m_nField16 = c.sue;
        purchase.m_dField17 = D(2026, 3, 2, 10, 0);
        auto item = Item("Ten privates", 'N', 10, 480.0, c.privateType);
        item->m_nTeacher = c.ann;
        item->m_Tokens.push_back(Token('U', D(2026, 3, 2, 10, 0), c.ann, c.roomA));
        item->m_Tokens.push_back(Token('S', D(2026, 3, 3, 10, 30), c.ann, c.roomA));
        item->m_Tokens.push_back(Token('S', D(2026, 3, 5, 10, 30), c.bob, c.roomB));
        for (int i = 0; i < 5; ++i) item->m_Tokens.push_back(Token('N', 0.0, c.ann));
        purchase.m_Items.push_back(std::move(item));
        purchase.m_Payments.push_back(Scheduled('R', D(2026, 3, 4, 12, 0), 25.0));
        purchase.m_Payments.push_back(Scheduled('S', D(2026, 3, 6, 12, 0), 100.0));
        purchase.m_Payments.push_back(Scheduled('U', D(2026, 3, 6, 12, 0), 355.0));
        purchase.m_Payments.push_back(Scheduled('d', D(2026, 3, 2, 11, 0), 10.0, 0));
        c.purchase = Save(TABLE_PURCHASE, purchase);

        CPaymentRecord received;
        received.m_cType = 'R';
        received.m_cReceived = 'R';
        received.m_dAmount = 30.5;
        received.m_dDate = D(2026, 3, 4, 14, 0);
        received.m_nPerson = c.carl;
        received.m_sName = "Carl Student";
        received.m_sText = "Cash at desk";
        received.m_nField16 = c.bob;
        c.received = Save(TABLE_PAYMENT, received);
        CPaymentRecord paidOut;
        paidOut.m_cType = 'P';
        paidOut.m_cReceived = 'R';
        paidOut.m_dAmount = 80.0;
        paidOut.m_dDate = D(2026, 3, 3, 9, 0);
        paidOut.m_sName = "Floor Wax Co";
        paidOut.m_sText = "Polish";
        c.paidOut = Save(TABLE_PAYMENT, paidOut);

        CScheduleRecord tango;
        tango.m_sText = "Tango practice";
        tango.m_nTeacher = c.bob;
        tango.m_nRoom = c.roomA;
        tango.m_cRepeat = 'W';
        tango.m_dFirstDate = D(2026, 3, 2, 19, 0);
        tango.m_dLastDate = D(2026, 3, 30, 19, 0);
        tango.m_Changes.push_back({1, 0.0});
        tango.m_Changes.push_back({2, D(2026, 3, 17, 20, 0)});
        c.tango = Save(TABLE_SCHEDULE, tango);
        CScheduleRecord party;
        party.m_sText = "Studio party";
        party.m_cRepeat = 'O';
        party.m_dFirstDate = D(2026, 3, 7, 20, 0);
        c.party = Save(TABLE_SCHEDULE, party);

        CPriceListItem salsa;
        salsa.m_cKind = 's';
        salsa.m_sName = "Group salsa";
        salsa.m_nTeacher = c.bob;
        salsa.m_nBallroom = c.roomB;
        salsa.m_nBasicType = c.groupType;
        salsa.m_nDuration = 60;
        salsa.m_Dates = {D(2026, 3, 3, 19, 0), D(2026, 3, 5, 19, 0)};
        c.salsa = Save(TABLE_PRICELIST, salsa);
        CPriceListItem practice;
        practice.m_cKind = 'p';
        practice.m_sName = "Practice party";
        practice.m_nTeacher = c.ann;
        practice.m_nBallroom = c.roomA;
        practice.m_Dates = {D(2026, 3, 6, 20, 0)};
        c.practice = Save(TABLE_PRICELIST, practice);
    }

    template <class T>
    T* Get(uint8_t table, uint32_t code) const
    {
        return static_cast<T*>(db_->GetItem(table, code));
    }
    CPurchaseRecord* Purchase(uint32_t code) const { return Get<CPurchaseRecord>(TABLE_PURCHASE, code); }
    CPerson* Person(uint32_t code) const { return Get<CPerson>(TABLE_PERSON, code); }

    // An entry as one text: kind, date ("undated" for 0.0), indexes and count.
    static std::string Describe(const stDataToken& e)
    {
        const std::string when = e.date == 0.0 ? std::string("undated") : FormatDateTime(e.date, "%m/%d %H:%M");
        return Format("%c %s %d/%d x%u", e.type, when.c_str(), e.index1, e.index2, e.count);
    }
    static std::vector<std::string> Describe(const std::vector<stDataToken>& list)
    {
        std::vector<std::string> out;
        for (const stDataToken& e : list) out.push_back(Describe(e));
        return out;
    }

    std::string folder_;
    std::string root_;
    std::unique_ptr<CDatabase> db_;
    stStudioCodes codes_;
    size_t saved_[DB_NUM_TABLES + 1] = {};
};
