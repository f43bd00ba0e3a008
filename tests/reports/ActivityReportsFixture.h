#pragma once
// The money reports' studio with a student's and the studio's activities beside it: three
// employees (Ann, Bob, and Ivy who did nothing), students of gender M, F and none, studio
// activities in the price list (one of them at price-list code 0), and contracts with tokens in
// every state: five unscheduled units of one item, a unit missed, one scheduled later today, a
// used-up limited-quantity item and an expired limited-time one, a cancelled contract.
// The clock stands at Wednesday 4 March 2026 10:00.

#include "tests/reports/MoneyReportsFixture.h"

#include "dialogs/DialogGetDate.h"

struct stActivityCodes {
    uint32_t ann = NO_CODE, bob = NO_CODE, ivy = NO_CODE;
    uint32_t gus = NO_CODE, lea = NO_CODE, nox = NO_CODE;
    uint32_t hustle = NO_CODE, salsa = NO_CODE, privat = NO_CODE;
    uint32_t gold = NO_CODE, winter = NO_CODE, duo = NO_CODE, oldGold = NO_CODE;
    uint32_t newcomer = NO_CODE, radio = NO_CODE;
};

class ActivityReports : public MoneyReports {
protected:
    uint32_t AddSexedPerson(char type, const std::string& first, const std::string& last, char sex)
    {
        CPerson p(type);
        p.m_sFirstName = first;
        p.m_sLastName = last;
        p.m_cSex = sex;
        return Save(TABLE_PERSON, p);
    }
    static std::unique_ptr<CScheduleToken> Unit(char kind, char state, DATE date, uint32_t teacher,
                                                uint32_t activity = NO_CODE)
    {
        auto t = Token(state, date, teacher, NO_CODE, kind);
        t->m_nActivity = activity;
        return t;
    }
    uint32_t AddClass(const std::string& name, uint32_t teacher, std::vector<DATE> dates)
    {
        CPriceListItem item;
        item.m_cKind = 's';
        item.m_sName = name;
        item.m_nTeacher = teacher;
        item.m_Dates = std::move(dates);
        return Save(TABLE_PRICELIST, item);
    }

    void AddToStudio() override
    {
        stActivityCodes& a = act_;
        a.newcomer = AddCategory('P', "Newcomer");
        a.radio = AddCategory('I', "Radio");
        a.ann = AddSexedPerson('E', "Ann", "Teach", 'F');
        a.bob = AddSexedPerson('E', "Bob", "Lead", 'M');
        a.ivy = AddSexedPerson('E', "Ivy", "Idle", 0);
        a.gus = AddSexedPerson('C', "Gus", "Gent", 'M');
        a.nox = AddSexedPerson('C', "Nox", "None", 0);
        CPerson lea('C');
        lea.m_sFirstName = "Lea";
        lea.m_sLastName = "Lady";
        lea.m_cSex = 'F';
        lea.m_sAddress1 = "12 Main St";
        lea.m_sCity = "Springfield";
        lea.m_sState = "IL";
        lea.m_sZip = "62701";
        lea.m_sText16 = "Sangamon";
        lea.m_sText17 = "USA";
        lea.m_dBirthday = D(1990, 7, 4);
        lea.m_nCode30 = a.gus;
        lea.m_nTeacher = a.ann;
        lea.m_nReferredBy = money_.flyers;
        auto phone = std::make_unique<CInterview>();
        phone->m_cKind = 'P';
        phone->m_dDate = D(2026, 2, 10, 18, 30);
        phone->m_nProgram = a.newcomer;
        phone->m_nDueTo = a.radio;
        lea.m_Interviews.push_back(std::move(phone));
        auto visit = std::make_unique<CInterview>();
        visit->m_cKind = 'V';
        visit->m_dDate = D(2026, 2, 12, 10, 0);
        lea.m_Interviews.push_back(std::move(visit));
        a.lea = Save(TABLE_PERSON, lea);

        a.hustle = AddClass("Hustle night", NO_CODE, {D(2026, 3, 10, 19, 0)});
        a.salsa = AddClass("Salsa social", a.bob, {D(2026, 3, 2, 19, 0), D(2026, 3, 4, 20, 0), D(2026, 3, 10, 19, 0)});
        CPriceListItem privat;
        privat.m_cKind = 'p';
        privat.m_sName = "Private 45";
        a.privat = Save(TABLE_PRICELIST, privat);

        CPurchaseRecord gold;
        gold.m_nPerson = a.lea;
        gold.m_nSecondPerson = a.gus;
        gold.m_sDescription = "Gold";
        gold.m_dDate = D(2026, 3, 1, 10, 0);
        gold.m_dStartDate = D(2026, 3, 1);
        gold.m_nProgram = a.newcomer;
        auto privates = Item("Private lessons", 'p', 9, 300.0, NO_CODE);
        privates->m_nPriceListCode = a.privat;
        privates->m_Tokens.push_back(Unit('p', 'U', D(2026, 3, 2, 10, 0), a.ann));
        privates->m_Tokens.push_back(Unit('p', 'U', D(2026, 3, 3, 10, 0), a.bob));
        privates->m_Tokens.push_back(Unit('p', 'S', D(2026, 3, 3, 15, 0), a.ann));
        privates->m_Tokens.push_back(Unit('p', 'S', D(2026, 3, 4, 15, 0), a.ann));
        for (int i = 0; i < 5; ++i) privates->m_Tokens.push_back(Unit('p', 'N', D(2026, 2, 1), a.ann));
        gold.m_Items.push_back(std::move(privates));
        auto social = Item("Salsa social", 's', 1, 20.0, NO_CODE);
        social->m_nPriceListCode = a.salsa;
        social->m_Tokens.push_back(Unit('s', 'U', D(2026, 3, 2, 19, 0), a.bob, a.salsa));
        gold.m_Items.push_back(std::move(social));
        auto pass = Item("Practice pass", 'N', 1, 15.0, NO_CODE);
        pass->m_Tokens.push_back(Unit('N', 'U', D(2026, 3, 2, 21, 0), NO_CODE));
        pass->m_Tokens.push_back(Unit('N', 'N', 0.0, NO_CODE));
        gold.m_Items.push_back(std::move(pass));
        gold.m_Payments.push_back(Sched('d', D(2026, 3, 1, 10, 0), 10.0, "Ten off"));
        gold.m_Payments.back()->m_nReference = 0;
        gold.m_Payments.push_back(Sched('c', D(2026, 3, 1, 10, 0), 5.0, "Referral"));
        gold.m_Payments.push_back(Sched('R', D(2026, 3, 3, 12, 0), 60.0, "Deposit"));
        gold.m_Payments.push_back(Sched('S', D(2026, 3, 20, 12, 0), 100.0, "March"));
        gold.m_Payments.push_back(Sched('U', 0.0, 50.0, "Later"));
        gold.m_Payments.push_back(Sched('F', D(2026, 3, 4, 9, 0), 10.0, "Back"));
        a.gold = Save(TABLE_PURCHASE, gold);

        CPurchaseRecord winter;
        winter.m_nPerson = a.lea;
        winter.m_sDescription = "Winter pass";
        winter.m_dDate = D(2026, 1, 1, 9, 0);
        winter.m_dStartDate = D(2026, 1, 1);
        auto month = Item("Month pass", 'T', 30, 50.0, NO_CODE);
        month->m_Tokens.push_back(Unit('T', 'N', 0.0, NO_CODE));
        winter.m_Items.push_back(std::move(month));
        a.winter = Save(TABLE_PURCHASE, winter);

        CPurchaseRecord duo;
        duo.m_nPerson = a.gus;
        duo.m_nSecondPerson = a.nox;
        duo.m_sDescription = "Duo";
        duo.m_dDate = D(2026, 3, 2, 9, 0);
        duo.m_dStartDate = D(2026, 3, 2);
        auto socials = Item("Salsa social", 's', 2, 40.0, NO_CODE);
        socials->m_nPriceListCode = a.salsa;
        socials->m_Tokens.push_back(Unit('s', 'U', D(2026, 3, 2, 19, 0), a.bob, a.salsa));
        socials->m_Tokens.push_back(Unit('s', 'U', D(2026, 3, 2, 20, 0), a.bob, a.salsa));
        duo.m_Items.push_back(std::move(socials));
        auto night = Item("Hustle night", 's', 1, 15.0, NO_CODE);
        night->m_nPriceListCode = a.hustle;
        night->m_Tokens.push_back(Unit('s', 'S', D(2026, 3, 10, 19, 0), NO_CODE, a.hustle));
        duo.m_Items.push_back(std::move(night));
        a.duo = Save(TABLE_PURCHASE, duo);

        CPurchaseRecord oldGold;
        oldGold.m_nPerson = a.lea;
        oldGold.m_nStatus = CPurchaseRecord::STATUS_CANCELLED;
        oldGold.m_sDescription = "Old gold";
        oldGold.m_dDate = D(2026, 2, 20, 10, 0);
        auto old = Item("Private lessons", 'p', 2, 90.0, NO_CODE);
        old->m_nPriceListCode = a.privat;
        old->m_Tokens.push_back(Unit('p', 'U', D(2026, 3, 3, 11, 0), a.bob));
        old->m_Tokens.push_back(Unit('p', 'N', 0.0, a.bob));
        oldGold.m_Items.push_back(std::move(old));
        a.oldGold = Save(TABLE_PURCHASE, oldGold);

        CScheduleRecord coaching;
        coaching.m_cKind = 'S';
        coaching.m_nStudent = a.lea;
        coaching.m_sText = "Coaching";
        coaching.m_dFirstDate = D(2026, 3, 5, 18, 0);
        Save(TABLE_SCHEDULE, coaching);

        AddPayment('R', 'R', a.lea, "Lea Lady", 20.0, D(2026, 3, 3, 12, 0), "Shoes");
        AddPayment('R', 'S', a.lea, "Lea Lady", 15.0, D(2026, 3, 9, 12, 0), "Bag");
        AddPayment('R', 'U', a.lea, "Lea Lady", 7.5, 0.0, "Socks");
    }

    // The date dialog answered with a date (0.0: no date).
    void AnswerDate(DATE date)
    {
        ui::test::GetHooks().dialogScripts.push_back([date](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Get date");
            auto& dialog = static_cast<CDialogGetDate&>(d);
            dialog.m_Date.SetValue(date);
            ui::test::Click(d, 1000);
        });
    }
    // The single-choice menu answered with the entry of that identifier; its title and texts
    // are kept.
    void Pick(uint32_t id, std::string* title = nullptr, std::vector<std::string>* texts = nullptr)
    {
        ui::test::GetHooks().dialogScripts.push_back([=](ui::Dialog& d) {
            auto& menu = static_cast<CDialogMenu&>(d);
            if (title) *title = d.GetWindowText();
            if (texts) *texts = menu.m_aTexts;
            ASSERT_NE(menu.GetShownList(), nullptr);
            for (int i = 0; i < menu.GetShownList()->GetCount(); ++i)
                if (menu.GetShownList()->GetItemData(i) == id) menu.GetShownList()->SetCurSel(i);
            ui::test::Click(d, ui::IDOK);
        });
    }

    stActivityCodes act_;
};
