// The person sheet on a real file: a person round-trips unchanged through every page, the
// contact record's dates on the fixed clock, the referral credit, the purchased-activities page
// (weekly dates, split and unsplit, saved at once), the employee and contact editors behind
// CDatabase::EditPerson, and the add-or-select road.

#include "tests/dialogs/MoneyFixture.h"

#include "dialogs/DialogAddPerson.h"
#include "dialogs/DialogContact.h"
#include "dialogs/DialogTeacherData.h"
#include "dialogs/PropertySheetPerson.h"
#include "dialogs/ScheduleWeekly.h"
#include "platform/ui/Application.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ListBox.h"

namespace {

CPropertySheetPerson& Sheet(ui::Dialog& d)
{
    return static_cast<CPropertySheetPerson&>(d);
}

class PersonSheetTest : public MoneyTest {
protected:
    void SetUp() override
    {
        MoneyTest::SetUp();
        FixClock(2026, 3, 7, 10, 0);  // a Saturday
    }
    CPerson* Person(uint32_t code) const { return static_cast<CPerson*>(db_->GetItem(TABLE_PERSON, code)); }
    CPurchaseRecord* Purchase(uint32_t code) const
    {
        return static_cast<CPurchaseRecord*>(db_->GetItem(TABLE_PURCHASE, code));
    }
    // A student with contact mode "None", whose data page is left without an address.
    uint32_t AddUncontacted(const std::string& last, const std::string& first)
    {
        auto p = std::make_unique<CPerson>('C');
        p->m_sLastName = last;
        p->m_sFirstName = first;
        p->m_cField33 = '0';
        return Add(TABLE_PERSON, std::move(p))->m_nCode;
    }
    // A student with every field the sheet shows set, and odd values the sheet must keep.
    CPerson* AddFullStudent()
    {
        const uint32_t program = AddCategory("Bronze", 'P')->m_nCode;
        const uint32_t mailList = AddCategory("Newsletter", 'M')->m_nCode;
        const uint32_t department = AddCategory("Ballroom", 'D')->m_nCode;
        const uint32_t source = AddCategory("Walk-in", 'I')->m_nCode;
        auto teacher = std::make_unique<CPerson>('E');
        teacher->m_sLastName = "Teach";
        teacher->m_sFirstName = "Ann";
        const uint32_t ann = Add(TABLE_PERSON, std::move(teacher))->m_nCode;
        const uint32_t partner = AddStudent("Partner", "Pat")->m_nCode;
        auto p = std::make_unique<CPerson>('C');
        std::string* texts[] = {&p->m_sLastName, &p->m_sFirstName, &p->m_sText9,    &p->m_sText10,  &p->m_sAddress1,
                                &p->m_sAddress2, &p->m_sCity,      &p->m_sState,    &p->m_sZip,     &p->m_sText16,
                                &p->m_sText17,   &p->m_sPhone1,    &p->m_sPhone2,   &p->m_sText20,  &p->m_sFax,
                                &p->m_sEmail,    &p->m_sText23};
        int i = 0;
        for (std::string* t : texts) *t = "text " + std::to_string(++i);
        p->m_cStatus = 0;      // inactive
        p->m_cField33 = '7';   // a contact mode no button stands for
        p->m_cSex = 'M';
        p->m_nField34 = 1;
        p->m_dBirthday = MakeDate(1980, 5, 17, 9, 30);
        p->m_dAnniversary = MakeDate(2005, 6, 1, 0, 0);
        p->m_nTeacher = ann;
        p->m_nCode28 = ann;
        p->m_nCode29 = department;
        p->m_nReferredBy = source;
        p->m_nCode32 = partner;
        p->m_nCode31 = partner;
        p->m_Notes = {"first line", "", "third line"};
        p->m_Numbers = {mailList, program};
        return Add(TABLE_PERSON, std::move(p));
    }
};

TEST_F(PersonSheetTest, APersonRoundTripsUnchangedThroughEveryPage)
{
    const uint32_t code = AddFullStudent()->m_nCode;
    CPerson before;
    before.CopyFrom(*Person(code));
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Person data");
        EXPECT_FALSE(d.GetDlgItem(ui::ID_APPLY_NOW)->IsWindowVisible());
        CDialogPersonData& page = Sheet(d).m_PageData;
        EXPECT_EQ(page.IsDlgButtonChecked(CDialogPersonData::kIdInactive), 1);
        for (int id : {CDialogPersonData::kIdMail, CDialogPersonData::kIdEmailMode, CDialogPersonData::kIdNoContact})
            EXPECT_EQ(page.IsDlgButtonChecked(id), 0);
        EXPECT_EQ(page.GetDlgItemText(CDialogPersonData::kIdDependsOn), "On:Pat Partner");
        for (int p = 1; p < Sheet(d).GetPageCount(); ++p) EXPECT_TRUE(Sheet(d).SetActivePage(p)) << p;
        EXPECT_TRUE(Sheet(d).SetActivePage(0));
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_PERSON, code, nullptr), 2) << "OK without a change";
    EXPECT_TRUE(Person(code)->IsEqual(before));
    Reopen();
    EXPECT_TRUE(Person(code)->IsEqual(before));
}

TEST_F(PersonSheetTest, PageChangesAreStoredAndCancelPutsThePersonBack)
{
    const uint32_t code = AddFullStudent()->m_nCode;
    CPerson before;
    before.CopyFrom(*Person(code));
    // Cancel after a change asks; Yes leaves the person as it was.
    Script([&](ui::Dialog& d) {
        CDialogPersonData& page = Sheet(d).m_PageData;
        ui::test::SetText(page, CDialogPersonData::kIdComments, "one\r\ntwo\r\n");
        ui::test::Click(page, CDialogPersonData::kIdActive);
        EXPECT_TRUE(Sheet(d).SetActivePage(1));
        ui::test::Click(d, ui::IDCANCEL);
    });
    Answer({IDYES});
    EXPECT_EQ(db_->EditTableItem(TABLE_PERSON, code, nullptr), 2);
    EXPECT_TRUE(Person(code)->IsEqual(before));

    // An empty last name keeps the page, with a message; then the changes are stored.
    Script([&](ui::Dialog& d) {
        CDialogPersonData& page = Sheet(d).m_PageData;
        ui::test::SetText(page, CDialogPersonData::kIdLastName, "");
        EXPECT_FALSE(Sheet(d).SetActivePage(1));
        EXPECT_EQ(Boxes().back(), "Student's name not entered.");
        ui::test::SetText(page, CDialogPersonData::kIdLastName, "Newname");
        ui::test::SetText(page, CDialogPersonData::kIdComments, "one\r\ntwo\r\n");
        ui::test::Click(page, CDialogPersonData::kIdActive);
        ui::test::Click(d, ui::IDOK);
    });
    Answer({IDOK});
    EXPECT_EQ(db_->EditTableItem(TABLE_PERSON, code, nullptr), 1);
    Reopen();
    const CPerson& after = *Person(code);
    EXPECT_EQ(after.m_sLastName, "Newname");
    EXPECT_EQ(after.m_Notes, (std::vector<std::string>{"one", "two"}));
    EXPECT_EQ(after.m_cStatus, 'A');
    EXPECT_EQ(after.m_nCode31, NO_CODE) << "Active clears the depends-on person";
    EXPECT_EQ(after.m_cField33, '7');
    EXPECT_EQ(after.m_cStamp2User, 1);
}

TEST_F(PersonSheetTest, ContactModeNeedsItsAddress)
{
    const uint32_t code = AddStudent("Lee", "Ann")->m_nCode;
    Script([&](ui::Dialog& d) {
        CDialogPersonData& page = Sheet(d).m_PageData;
        ui::test::Click(page, CDialogPersonData::kIdMail);
        EXPECT_FALSE(Sheet(d).SetActivePage(1));
        ui::test::Click(page, CDialogPersonData::kIdEmailMode);
        EXPECT_FALSE(Sheet(d).SetActivePage(1));
        ui::test::Click(page, CDialogPersonData::kIdNoContact);
        EXPECT_TRUE(Sheet(d).SetActivePage(1));
        ui::test::Click(d, ui::IDOK);
    });
    Answer({IDOK, IDOK});
    EXPECT_EQ(db_->EditTableItem(TABLE_PERSON, code, nullptr), 1);
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Incomplete address.", "No email address entered."}));
    EXPECT_EQ(Person(code)->m_cField33, '0');
}

TEST_F(PersonSheetTest, ReferralCreditIsAddedOnlyWhenTheSheetEndsWithOk)
{
    const uint32_t referrer = AddStudent("Ref", "Rita")->m_nCode;
    const uint32_t code = AddUncontacted("Lee", "Ann");
    auto countCredits = [&] {
        int n = 0;
        for (const stIndex& e : *db_->GetItemList(TABLE_PAYMENT))
            if (static_cast<const CPaymentRecord*>(e.pItem)->m_cType == 'c') ++n;
        return n;
    };
    auto chooseReferrer = [&](ui::Dialog& d) {
        CDialogPersonData& page = Sheet(d).m_PageData;
        ui::ComboBox* combo = page.Combo(CDialogPersonData::kIdReferredBy);
        ASSERT_NE(combo, nullptr);
        for (int i = 0; i < combo->GetCount(); ++i)
            if (static_cast<uint32_t>(combo->GetItemData(i)) == referrer) ui::test::SelectItem(page, CDialogPersonData::kIdReferredBy, i);
        ui::Application::PumpMessages();
    };
    for (int ending : {ui::IDCANCEL, ui::IDOK}) {
        SCOPED_TRACE(ending);
        Script([&](ui::Dialog& d) {
            EXPECT_TRUE(Boxes().empty()) << "no question at load";
            chooseReferrer(d);
            ui::test::Click(d, ending);
        });
        Answer({IDYES});
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetDlgItemText(1077), "Credit for referral of Ann Lee");
            ui::test::SetText(d, 1136, "25");
            ui::test::Click(d, 1000);
        });
        db_->EditTableItem(TABLE_PERSON, code, nullptr);
        EXPECT_EQ(countCredits(), ending == ui::IDOK ? 1 : 0);
        ui::test::GetHooks().messageBoxTexts.clear();
    }
    Reopen();
    ASSERT_EQ(countCredits(), 1);
    for (const stIndex& e : *db_->GetItemList(TABLE_PAYMENT)) {
        const auto* p = static_cast<const CPaymentRecord*>(e.pItem);
        EXPECT_EQ(p->m_nPerson, referrer);
        EXPECT_DOUBLE_EQ(p->m_dAmount, 25.0);
    }
}

TEST_F(PersonSheetTest, ContactDatesAgainstTodayOnTheFixedClock)
{
    const DATE today = MakeDate(2026, 3, 7, 0, 0);
    const DATE yesterday = MakeDate(2026, 3, 6, 0, 0);
    struct Case {
        const char* what;
        int doneBox;       // the "Done" box checked, 0 none
        int dateField;
        DATE date;
        int kindButton;    // the next-contact kind, 0 untouched
        const char* refusal;  // nullptr: accepted
    } cases[] = {
        {"mail-out today", 0, CDialogContact::kIdMailDate, today, 0, nullptr},
        {"mail-out yesterday", 0, CDialogContact::kIdMailDate, yesterday, 0, "Mail out date is before today's date."},
        {"mail-out yesterday, done", CDialogContact::kIdMailDone, CDialogContact::kIdMailDate, yesterday, 0, nullptr},
        {"next today", 0, CDialogContact::kIdNextDate, today, CDialogContact::kIdNextPhone, nullptr},
        {"next yesterday", 0, CDialogContact::kIdNextDate, yesterday, CDialogContact::kIdNextPhone,
         "Next contact date is before today's date."},
        {"next yesterday, done", CDialogContact::kIdNextDone, CDialogContact::kIdNextDate, yesterday,
         CDialogContact::kIdNextPhone, nullptr},
        {"next yesterday, kind None", 0, CDialogContact::kIdNextDate, yesterday, CDialogContact::kIdNextNone, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CInterview record;
        record.m_dDate = MakeDate(2026, 3, 6, 15, 0);
        CInterview before;
        before.CopyFrom(record);
        Script([&](ui::Dialog& d) {
            auto& dialog = static_cast<CDialogContact&>(d);
            if (c.dateField == CDialogContact::kIdMailDate) ui::test::Click(d, CDialogContact::kIdMailOut);
            if (c.kindButton != 0) ui::test::Click(d, c.kindButton);
            if (c.doneBox != 0) ui::test::Click(d, c.doneBox);
            (c.dateField == CDialogContact::kIdMailDate ? dialog.m_MailDate : dialog.m_NextDate).SetValue(c.date);
            ui::test::Click(d, CDialogContact::kIdOk);
            if (c.refusal != nullptr) {
                EXPECT_EQ(Boxes().back(), c.refusal);
                EXPECT_FALSE(dialog.HasEnded());
                ui::test::Click(d, ui::IDCANCEL);
            }
        });
        if (c.refusal != nullptr) Answer({IDOK});
        CDialogContact dialog(db_.get());
        dialog.m_pInterview = &record;
        const int result = dialog.DoModal();
        EXPECT_EQ(result, c.refusal == nullptr ? ui::IDOK : ui::IDCANCEL);
        // Refused or cancelled: the record is as it was.
        if (c.refusal != nullptr) {
            EXPECT_TRUE(record.IsEqual(before));
        }
        ui::test::GetHooks().messageBoxTexts.clear();
    }
}

TEST_F(PersonSheetTest, ContactRecordOfAPersonIsEditedOnACopy)
{
    CPerson* person = AddStudent("Lee", "Ann");
    auto interview = std::make_unique<CInterview>();
    interview->m_dDate = MakeDate(2026, 3, 6, 15, 0);
    interview->m_Comments = {"called", "will come"};
    person->m_Interviews.push_back(std::move(interview));
    ASSERT_EQ(db_->SaveModifiedItem(TABLE_PERSON, person->m_nCode, person), 1);
    const uint32_t code = person->m_nCode;
    CPerson before;
    before.CopyFrom(*Person(code));
    const stDataToken contact = MakeDataToken('I', 0.0, nullptr, 0);
    // OK without a change is a cancel; a typed change that is then cancelled leaves the person.
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(CDialogContact::kIdComments), "called\r\nwill come\r\n");
        ui::test::Click(d, CDialogContact::kIdOk);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_PERSON, code, &contact), 2);
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, CDialogContact::kIdComments, "changed");
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_PERSON, code, &contact), 2);
    EXPECT_TRUE(Person(code)->IsEqual(before));
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, CDialogContact::kIdComments, "changed\r\nagain");
        ui::test::Click(d, CDialogContact::kIdOk);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_PERSON, code, &contact), 1);
    Reopen();
    EXPECT_EQ(Person(code)->m_Interviews[0]->m_Comments, (std::vector<std::string>{"changed", "again"}));
}

TEST_F(PersonSheetTest, AnEmployeeIsEditedInTheTeacherDialog)
{
    auto e = std::make_unique<CPerson>('E');
    e->m_sLastName = "Teach";
    e->m_cStatus = 'A';
    const uint32_t code = Add(TABLE_PERSON, std::move(e))->m_nCode;
    Script([](ui::Dialog& d) {
        ASSERT_NE(dynamic_cast<CDialogTeacherData*>(&d), nullptr);
        EXPECT_EQ(d.GetDlgItemText(CDialogTeacherData::kIdDependsOn), "On: None");
        ui::test::Click(d, CDialogTeacherData::kIdInactive);
        ui::test::Click(d, CDialogTeacherData::kIdOk);
    });
    EXPECT_EQ(db_->EditTableItem(TABLE_PERSON, code, nullptr), 1);
    Reopen();
    EXPECT_EQ(Person(code)->m_cStatus, 0) << "Inactive stores NUL";
}

TEST_F(PersonSheetTest, WeeklyDatesFollowTheSlots)
{
    const DATE saturday = MakeDate(2026, 3, 7, 9, 0);
    auto slot = [](int day, int hour) { return stDaySchedule{day, hour, 0}; };
    struct Case {
        const char* what;
        std::vector<stDaySchedule> slots;
        std::vector<DATE> dates;
    } cases[] = {
        {"Monday and Thursday",
         {slot(2, 10), slot(5, 18)},
         {MakeDate(2026, 3, 9, 10, 0), MakeDate(2026, 3, 12, 18, 0), MakeDate(2026, 3, 16, 10, 0),
          MakeDate(2026, 3, 19, 18, 0)}},
        {"one slot", {slot(3, 19)}, {MakeDate(2026, 3, 10, 19, 0), MakeDate(2026, 3, 17, 19, 0), MakeDate(2026, 3, 24, 19, 0)}},
        {"two on one weekday",
         {slot(2, 10), slot(2, 18)},
         {MakeDate(2026, 3, 9, 10, 0), MakeDate(2026, 3, 9, 18, 0), MakeDate(2026, 3, 16, 10, 0),
          MakeDate(2026, 3, 16, 18, 0)}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CPageSchedulePerson::WeeklyDates(saturday, c.slots, c.dates.size()), c.dates) << c.what;
}

TEST_F(PersonSheetTest, PurchasedActivitiesAreChangedAndSavedAtOnce)
{
    const uint32_t code = AddUncontacted("Lee", "Ann");
    auto p = std::make_unique<CPurchaseRecord>();
    p->m_nPerson = code;
    p->m_sDescription = "Lessons";
    auto item = std::make_unique<CPurchaseItem>();
    item->m_sName = "Private";
    item->m_cKind = 'p';
    item->m_nCount = 3;
    item->m_nLessonValue = 45;
    item->MakeTokens({}, NO_CODE, NO_CODE, NO_CODE);
    p->m_Items.push_back(std::move(item));
    const uint32_t purchase = Add(TABLE_PURCHASE, std::move(p))->m_nCode;

    Script([&](ui::Dialog& d) {
        ASSERT_TRUE(Sheet(d).SetActivePage(3));
        CPageSchedulePerson& page = Sheet(d).m_PageSchedule;
        ui::ListBox* list = page.List(CPageSchedulePerson::kIdList);
        ASSERT_EQ(list->GetCount(), 1);
        EXPECT_NE(list->GetText(0).find(" (3 items unscheduled)"), std::string::npos) << list->GetText(0);
        EXPECT_FALSE(page.GetDlgItem(CPageSchedulePerson::kIdScheduleOne)->IsWindowEnabled());
        ui::test::SelectItem(page, CPageSchedulePerson::kIdList, 0);
        ASSERT_TRUE(page.GetDlgItem(CPageSchedulePerson::kIdScheduleOne)->IsWindowEnabled());
        // The status dialog, cancelled, changes nothing.
        Script([](ui::Dialog& status) {
            EXPECT_EQ(status.GetTemplateId(), 231);
            EXPECT_EQ(status.GetWindowText(), "Set schedule item status");
            ui::test::Click(status, ui::IDCANCEL);
        });
        ui::test::Click(page, CPageSchedulePerson::kIdScheduleOne);
        EXPECT_EQ(Purchase(purchase)->m_Items[0]->m_Tokens.size(), 3u);
        ui::test::SelectItem(page, CPageSchedulePerson::kIdList, 0);
        ui::test::Click(page, CPageSchedulePerson::kIdSplit);
        EXPECT_EQ(Purchase(purchase)->m_Items[0]->m_Tokens.size(), 4u);
        // The split lesson (its row stands for the item's unscheduled lessons): join it with its
        // unused half.
        ASSERT_EQ(list->GetCount(), 1);
        EXPECT_NE(list->GetText(0).find("[Split 1 times]"), std::string::npos) << list->GetText(0);
        EXPECT_NE(list->GetText(0).find(" (4 items unscheduled)"), std::string::npos) << list->GetText(0);
        ui::test::SelectItem(page, CPageSchedulePerson::kIdList, 0);
        ui::test::Click(page, CPageSchedulePerson::kIdUnsplit);
        ui::test::Click(d, ui::IDCANCEL);
    });
    db_->EditTableItem(TABLE_PERSON, code, nullptr);
    Reopen();
    const CPurchaseItem& stored = *Purchase(purchase)->m_Items[0];
    ASSERT_EQ(stored.m_Tokens.size(), 3u);
    for (const auto& t : stored.m_Tokens) {
        EXPECT_EQ(t->m_nLessonValue, 45);
        EXPECT_EQ(t->m_nSplitCount, 0u);
    }
}

TEST_F(PersonSheetTest, AddOrSelectAddsANewStudentThroughTheSheet)
{
    AddStudent("Smith", "Ann");
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, CDialogAddPerson::kIdLastName, "Jones");
        ui::test::SetText(d, CDialogAddPerson::kIdFirstName, "Bo");
        ui::test::Click(d, CDialogAddPerson::kIdAddNew);
    });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(Sheet(d).m_PageData.GetDlgItemText(CDialogPersonData::kIdLastName), "Jones");
        ui::test::Click(Sheet(d).m_PageData, CDialogPersonData::kIdNoContact);
        ui::test::Click(d, ui::IDOK);
    });
    EXPECT_EQ(db_->AddOrSelectStudent(), 1);
    Reopen();
    int jones = 0;
    for (const stIndex& e : *db_->GetItemList(TABLE_PERSON)) {
        const auto* p = static_cast<const CPerson*>(e.pItem);
        if (p->m_sLastName == "Jones" && p->m_sFirstName == "Bo" && p->m_cType == 'C') ++jones;
    }
    EXPECT_EQ(jones, 1);
}

}  // namespace
