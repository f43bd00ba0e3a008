#pragma once
// The studio of the studio benchmarks, built in memory: per student a year of weekly lessons,
// monthly scheduled payments, payments and an interview; classes and repeating schedule items
// by the dozen; a teacher per 40 students (at least 5). ReadEveryDate is the yardstick: one pass
// over every dated field of the studio.

#include <algorithm>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "database/Database.h"
#include "platform/host/Clock.h"
#include "records/Interview.h"
#include "records/PurchaseItem.h"
#include "records/SchedulePayment.h"
#include "records/ScheduleToken.h"

namespace bench_studio {

inline const DATE kYearStart = MakeDate(2026, 1, 4, 0, 0);  // a Sunday
inline const DATE kWeekStart = MakeDate(2026, 6, 7, 0, 0);
inline const DATE kWeekEnd = MakeDate(2026, 6, 14, 0, 0);

// A studio of `students` students in the tables of `db`, in memory only.
class CStudioBuilder {
public:
    CStudioBuilder(CDatabase& db, uint32_t students) : m_Db(db), m_nStudents(students) {}

    void Build()
    {
        std::vector<uint32_t> types, rooms, programs;
        for (const char* name : {"Private", "Group", "Practice"}) types.push_back(Category('B', name));
        for (const char* name : {"Studio A", "Studio B", "Studio C", "Studio D"}) rooms.push_back(Category('R', name));
        for (const char* name : {"Bronze", "Silver", "Gold"}) programs.push_back(Category('P', name));
        const uint32_t teacherCount = std::max<uint32_t>(5, m_nStudents / 40);
        std::vector<uint32_t> teachers;
        for (uint32_t t = 0; t < teacherCount; ++t) {
            auto p = std::make_unique<CPerson>('E');
            p->m_sFirstName = "Teacher";
            p->m_sLastName = "T" + std::to_string(t);
            p->m_nCode28 = teachers.empty() ? NO_CODE : teachers[0];
            teachers.push_back(Add(TABLE_PERSON, std::move(p)));
        }
        for (uint32_t s = 0; s < m_nStudents; ++s) {
            const uint32_t teacher = teachers[s % teachers.size()];
            const uint32_t room = rooms[s % rooms.size()];
            const uint32_t type = types[s % 2];
            const uint32_t program = programs[s % programs.size()];
            const DATE lessonTime = AddToDate(kYearStart, static_cast<int>(s % 6), 9 + static_cast<int>(s % 11),
                                              static_cast<int>((s % 2) * 30), 0);
            auto p = std::make_unique<CPerson>('C');
            p->m_sFirstName = "Student";
            p->m_sLastName = "S" + std::to_string(s);
            p->m_nTeacher = teacher;
            p->m_nCode28 = teachers[0];
            p->m_dBirthday = MakeDate(1980 + static_cast<int>(s % 30), 1 + static_cast<int>(s % 12),
                                      1 + static_cast<int>(s % 28), 0, 0);
            auto interview = std::make_unique<CInterview>();
            interview->m_dDate = AddToDate(kYearStart, static_cast<int>(s % 360), 10, 0, 0);
            interview->m_nField4 = teacher;
            interview->m_nField5 = teachers[0];
            interview->m_nField8 = static_cast<int32_t>(s % 2);
            interview->m_nProgram = program;
            interview->m_dField14 = AddToDate(interview->m_dDate, 7, 0, 0, 0);
            interview->m_nField15 = 1;
            interview->m_dField16 = AddToDate(interview->m_dDate, 3, 0, 0, 0);
            interview->m_nField17 = teacher;
            interview->m_cField19 = 'P';
            interview->m_dField20 = AddToDate(interview->m_dDate, 14, 0, 0, 0);
            interview->m_nField21 = teacher;
            const DATE interviewDate = interview->m_dDate;
            p->m_Interviews.push_back(std::move(interview));
            const uint32_t person = Add(TABLE_PERSON, std::move(p));

            auto purchase = std::make_unique<CPurchaseRecord>();
            purchase->m_nPerson = person;
            purchase->m_sDescription = "Year of lessons";
            purchase->m_dDate = interviewDate;
            purchase->m_dStartDate = interviewDate;
            purchase->m_nProgram = program;
            purchase->m_nField14 = teacher;
            purchase->m_nField15 = s % 3 == 0 ? teachers[(s + 1) % teachers.size()] : NO_CODE;
            purchase->m_nField16 = teachers[0];
            purchase->m_dField17 = interviewDate;
            auto item = std::make_unique<CPurchaseItem>();
            item->m_sName = "Weekly lessons";
            item->m_cKind = 'N';
            item->m_nCount = 55;
            item->m_dAmount = 2600.0;
            item->m_nType = type;
            for (int week = 0; week < 52; ++week) {
                auto token = std::make_unique<CScheduleToken>();
                token->m_cKind = 'p';
                token->m_dDate = AddToDate(lessonTime, week * 7, 0, 0, 0);
                token->m_cState = token->m_dDate < kWeekStart ? 'U' : 'S';
                token->m_nField8 = teacher;
                token->m_nField9 = room;
                item->m_Tokens.push_back(std::move(token));
            }
            for (int extra = 0; extra < 3; ++extra) {
                auto token = std::make_unique<CScheduleToken>();
                token->m_cKind = 'p';
                token->m_nField8 = teacher;
                item->m_Tokens.push_back(std::move(token));
            }
            purchase->m_Items.push_back(std::move(item));
            for (int month = 0; month < 12; ++month) {
                auto payment = std::make_unique<CSchedulePayment>();
                payment->m_cKind = month < 5 ? 'R' : 'S';
                payment->m_dAmount = 200.0;
                payment->m_dDate = AddToDateFields(kYearStart, 0, month, 0, 12, 0);
                purchase->m_Payments.push_back(std::move(payment));
            }
            Add(TABLE_PURCHASE, std::move(purchase));

            for (int quarter = 0; quarter < 4; ++quarter) {
                auto payment = std::make_unique<CPaymentRecord>();
                payment->m_cType = quarter == 3 ? 'q' : 'R';
                payment->m_cReceived = 'R';
                payment->m_dAmount = 50.0;
                payment->m_nPerson = person;
                payment->m_nField16 = teacher;
                payment->m_dDate = AddToDate(kYearStart, quarter * 91 + static_cast<int>(s % 91), 15, 0, 0);
                Add(TABLE_PAYMENT, std::move(payment));
            }
        }
        for (uint32_t c = 0; c < m_nStudents / 100 + 1; ++c) {
            auto item = std::make_unique<CPriceListItem>();
            item->m_cKind = c % 2 == 0 ? 's' : 'p';
            item->m_sName = "Class " + std::to_string(c);
            item->m_nTeacher = teachers[c % teachers.size()];
            item->m_nBallroom = rooms[c % rooms.size()];
            item->m_nBasicType = types[2];
            const DATE first = AddToDate(kYearStart, static_cast<int>(c % 7), 18 + static_cast<int>(c % 3), 0, 0);
            for (int week = 0; week < 52; ++week) item->m_Dates.push_back(AddToDate(first, week * 7, 0, 0, 0));
            Add(TABLE_PRICELIST, std::move(item));
            auto record = std::make_unique<CScheduleRecord>();
            record->m_sText = "Practice " + std::to_string(c);
            record->m_nTeacher = teachers[(c + 1) % teachers.size()];
            record->m_nRoom = rooms[(c + 1) % rooms.size()];
            record->m_cRepeat = 'W';
            record->m_dFirstDate = AddToDate(first, 1, 1, 0, 0);
            record->m_dLastDate = AddToDate(record->m_dFirstDate, 51 * 7, 0, 0, 0);
            record->m_Changes.push_back({3, 0.0});
            Add(TABLE_SCHEDULE, std::move(record));
        }
    }

private:
    uint32_t Category(char type, const char* name)
    {
        auto c = std::make_unique<CCategory>(type);
        c->m_sName = name;
        return Add(TABLE_CATEGORY, std::move(c));
    }
    template <class T>
    uint32_t Add(uint8_t table, std::unique_ptr<T> item)
    {
        const uint32_t code = m_nNextCode++;
        item->m_nCode = code;
        const auto sequence = static_cast<uint32_t>(m_Db.GetItemList(table)->size());
        item->m_nSequence = static_cast<int32_t>(sequence);
        m_Db.AddIndex(table, item.release(), code, sequence, 0, 0xFFFFFFFE, -1);
        return code;
    }

    CDatabase& m_Db;
    uint32_t m_nStudents;
    uint32_t m_nNextCode = 1;
};

// Reads every dated field of the studio once: the yardstick of a computation that must look at
// the whole studio.
inline double ReadEveryDate(CDatabase& db)
{
    double sum = 0.0;
    for (const stIndex& e : *db.GetItemList(TABLE_PERSON)) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        sum += p->m_dBirthday + p->m_dAnniversary + p->m_dStamp1Date;
        for (const auto& i : p->m_Interviews) sum += i->m_dDate + i->m_dField14 + i->m_dField16 + i->m_dField20;
    }
    for (const stIndex& e : *db.GetItemList(TABLE_PURCHASE)) {
        const CPurchaseRecord* p = static_cast<const CPurchaseRecord*>(e.pItem);
        sum += p->m_dDate + p->m_dStamp2Date + p->m_dField17;
        for (const auto& item : p->m_Items)
            for (const auto& token : item->m_Tokens) sum += token->m_dDate;
        for (const auto& payment : p->m_Payments) sum += payment->m_dDate;
    }
    for (const stIndex& e : *db.GetItemList(TABLE_PAYMENT)) sum += static_cast<const CPaymentRecord*>(e.pItem)->m_dDate;
    for (const stIndex& e : *db.GetItemList(TABLE_PRICELIST))
        for (DATE d : static_cast<const CPriceListItem*>(e.pItem)->m_Dates) sum += d;
    for (const stIndex& e : *db.GetItemList(TABLE_SCHEDULE)) {
        const CScheduleRecord* r = static_cast<const CScheduleRecord*>(e.pItem);
        sum += r->m_dFirstDate + r->m_dLastDate;
    }
    return sum;
}

// Fixes the clock in the middle of the studio's year (the birthdays' year; lessons before the
// week measured are taken).
inline void FixStudioClock()
{
    host::LocalTime now;
    now.year = 2026;
    now.month = 6;
    now.day = 10;
    now.hour = 10;
    now.isDst = -1;
    time_t when = 0;
    if (host::Clock::FromLocal(now, when)) host::Clock::SetFixedTime(when);
}

}  // namespace bench_studio
