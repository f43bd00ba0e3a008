#pragma once
// A studio on a fixed Tuesday morning (10 March 2026, 09:00) for the sign-in and check-in
// dialogs: classes with dates, purchases of limited items and lessons, and helpers that pick
// lines of the dialogs' lists.

#include "tests/dialogs/MoneyFixture.h"

#include <string>
#include <tuple>
#include <vector>

#include "platform/ui/ListBox.h"

class CheckInTest : public MoneyTest {
protected:
    void SetUp() override
    {
        MoneyTest::SetUp();
        FixClock(2026, 3, 10, 9, 0);
        student_ = AddStudent("Quill", "Zelda");
    }

    static DATE Today(int hour, int minute = 0) { return MakeDate(2026, 3, 10, hour, minute); }
    static DATE DaysAgo(int days) { return MakeDate(2026, 3, 10, 0, 0) - days; }

    CCategory* AddType(const std::string& name) { return AddCategory(name, 'B'); }
    // A class of the price list on the dates given.
    CPriceListItem* AddClass(const std::string& name, uint32_t type, std::vector<DATE> dates, double price = 12.0)
    {
        auto i = std::make_unique<CPriceListItem>();
        i->m_sName = name;
        i->m_cKind = 's';
        i->m_nBasicType = type;
        i->m_dPrice = price;
        i->m_Dates = std::move(dates);
        return Add(TABLE_PRICELIST, std::move(i));
    }
    // A purchase of a limited item ('N' uses or 'T' days) of price-list item `of`, `used` of it
    // used on earlier days (`usedOn` for their date, linked to `of`), one unused token.
    CPurchaseRecord* AddLimited(const CPriceListItem& of, char kind, int count, int used, DATE start,
                                const std::string& name = "", DATE usedOn = 0.0)
    {
        auto p = NewPurchase(name.empty() ? of.m_sName : name);
        p->m_dStartDate = start;
        auto item = std::make_unique<CPurchaseItem>();
        item->m_nPriceListCode = of.m_nCode;
        item->m_nType = of.m_nBasicType;
        item->m_sName = name.empty() ? of.m_sName : name;
        item->m_cKind = kind;
        item->m_nCount = count;
        for (int u = 0; u < used; ++u)
            item->m_Tokens.push_back(Token(kind, 'U', usedOn != 0.0 ? usedOn : DaysAgo(1 + u), of.m_nCode));
        item->m_Tokens.push_back(Token(kind, 'N', 0.0, NO_CODE));
        p->m_Items.push_back(std::move(item));
        return Add(TABLE_PURCHASE, std::move(p));
    }
    // A purchase of private lessons ('p') at `price`: one token per state letter, scheduled ones
    // at `dates`; its scheduled payments (kind, amount, date).
    CPurchaseRecord* AddLessons(const std::string& states, std::vector<DATE> dates = {}, double price = 0.0,
                                std::vector<std::tuple<char, double, DATE>> payments = {})
    {
        auto p = NewPurchase("Private lessons");
        p->m_cPricing = 'P';
        p->m_dPrice = price;
        auto item = std::make_unique<CPurchaseItem>();
        item->m_sName = "Private lesson";
        item->m_cKind = 'p';
        item->m_nCount = static_cast<int32_t>(states.size());
        size_t d = 0;
        for (char state : states) {
            const DATE when = state == 'S' && d < dates.size() ? dates[d++] : 0.0;
            item->m_Tokens.push_back(Token('p', state, when, NO_CODE));
        }
        p->m_Items.push_back(std::move(item));
        for (const auto& [kind, amount, date] : payments) {
            auto pay = std::make_unique<CSchedulePayment>();
            pay->m_cKind = kind;
            pay->m_dAmount = amount;
            pay->m_dDate = date;
            pay->m_sDescription = p->m_sDescription;
            p->m_Payments.push_back(std::move(pay));
        }
        return Add(TABLE_PURCHASE, std::move(p));
    }
    std::unique_ptr<CPurchaseRecord> NewPurchase(const std::string& text)
    {
        auto p = std::make_unique<CPurchaseRecord>();
        p->m_nPerson = student_->m_nCode;
        p->m_sDescription = text;
        p->m_dDate = DaysAgo(10);
        p->m_dStartDate = DaysAgo(10);
        return p;
    }
    static std::unique_ptr<CScheduleToken> Token(char kind, char state, DATE date, uint32_t activity)
    {
        auto t = std::make_unique<CScheduleToken>();
        t->m_cKind = kind;
        t->m_cState = state;
        t->m_dDate = date;
        t->m_nActivity = activity;
        return t;
    }
    const CPurchaseRecord& Purchase(uint32_t code) const
    {
        return *static_cast<const CPurchaseRecord*>(db_->GetItem(TABLE_PURCHASE, code));
    }

    static std::vector<std::string> Lines(ui::Dialog& d, int id)
    {
        std::vector<std::string> lines;
        if (ui::ListBox* list = d.List(id))
            for (int i = 0; i < list->GetCount(); ++i) lines.push_back(list->GetText(i));
        return lines;
    }
    // Selects the first line of list `id` that begins with `start`; its index.
    static int Pick(ui::Dialog& d, int id, const std::string& start)
    {
        const std::vector<std::string> lines = Lines(d, id);
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].rfind(start, 0) == 0) {
                ui::test::SelectItem(d, id, static_cast<int>(i));
                return static_cast<int>(i);
            }
        ADD_FAILURE() << "no line " << start;
        return -1;
    }

    CPerson* student_ = nullptr;
};
