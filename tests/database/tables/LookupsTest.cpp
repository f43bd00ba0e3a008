// Item lookups, names, combo fillers, person selection and teacher activity records.

#include "TablesFixture.h"

#include "records/PurchaseItem.h"
#include "records/SchedulePayment.h"

#include "common/QuestionBox.h"
#include "platform/host/Clock.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ListBox.h"

namespace {

void AddEntry(CDatabase& db, uint8_t table, uint32_t code)
{
    void* item = db.GetNewItemPointer(table, nullptr);
    VisitTableItem(table, item, [&](auto& r) { r.m_nCode = code; });
    db.AddIndex(table, item, code, 0, 0, 0xFFFFFFFE, -1);
}

// A modeless host for the combo boxes the fillers fill.
const ui::DialogTemplate kComboHost{9001, "Combo", 0, 0, {{ui::Ctl::ComboBox, 100, ""}}};

}  // namespace

TEST_F(TablesTest, FindItemIndexUsesTheCodeAsAHint)
{
    for (uint32_t code : {7u, 1u, 9u, 3u}) AddEntry(*db_, TABLE_PRICELIST, code);
    EXPECT_EQ(db_->FindItemIndex(TABLE_PRICELIST, 3), 3);   // code == size - 1
    EXPECT_EQ(db_->FindItemIndex(TABLE_PRICELIST, 1), 1);
    EXPECT_EQ(db_->FindItemIndex(TABLE_PRICELIST, 7), 0);
    EXPECT_EQ(db_->FindItemIndex(TABLE_PRICELIST, 9), 2);
    EXPECT_EQ(db_->FindItemIndex(TABLE_PRICELIST, 2), -1);
    EXPECT_EQ(db_->FindItemIndex(TABLE_PRICELIST, 0xFFFFFFFF), -1);
    EXPECT_EQ(db_->FindItemIndex(TABLE_MAILLIST, 7), -1);
    // The code equal to the number of entries starts at 0 and still finds the last one.
    AddEntry(*db_, TABLE_PRICELIST, 5);
    EXPECT_EQ(db_->FindItemIndex(TABLE_PRICELIST, 5), 4);
    EXPECT_EQ(db_->GetItemCode(TABLE_PRICELIST, 4), 5u);
    EXPECT_EQ(db_->GetItemCode(TABLE_PRICELIST, 5), 0xFFFFFFFFu);
    EXPECT_EQ(db_->GetItemCode(TABLE_PRICELIST, -1), 0xFFFFFFFFu);
}

TEST_F(TablesTest, NamesOfPersonsAndCategories)
{
    CreateDatabase();
    CPerson* p = AddPerson("L", "F", 0);
    std::string out, last, first;
    db_->GetPersonName(out, 17, 1);
    EXPECT_EQ(out, "Person code 17");
    db_->GetPersonName(out, p->m_nCode, 1, &last, &first);
    EXPECT_EQ(out, "L, F");
    EXPECT_EQ(last, "L");
    EXPECT_EQ(first, "F");
    db_->GetPersonName(out, p->m_nCode, 0);
    EXPECT_EQ(out, "F L");

    CCategory* c = AddCategory("Waltz", 'B', 0);
    EXPECT_EQ(db_->GetCategoryName(0xFFFFFFFE), "Other");
    EXPECT_EQ(db_->GetCategoryName(4242), "");
    EXPECT_EQ(db_->GetCategoryName(c->m_nCode), "Waltz");
    EXPECT_EQ(db_->GetCategoryType(c->m_nCode), 'B');
    // The record classes name an item's category through the database.
    CPurchaseItem item;
    item.m_nType = c->m_nCode;
    EXPECT_EQ(item.GetTypeName(db_.get()), "Waltz");
    item.m_nType = 4242;
    EXPECT_EQ(item.GetTypeName(db_.get()), "Untyped");
    EXPECT_EQ(db_->GetCategoryTypeName(c), "Basic dance item");
    EXPECT_EQ(db_->GetCategoryTypeName(nullptr), "No category type");
    CCategory odd('z');
    EXPECT_EQ(db_->GetCategoryTypeName(&odd), "Unrecognized category");

    p->m_sText10 = "abc12";
    EXPECT_EQ(db_->FindPersonByCheckInCode("ABC12"), p);
    EXPECT_EQ(db_->FindPersonByCheckInCode("nobody"), nullptr);

    std::string description;
    db_->DescribeRecord(description, TABLE_PERSON, p, "Save");
    EXPECT_EQ(description, "Save Person record L, F.");
}

TEST_F(TablesTest, CopyItemAsNewTakesAFreshKeyAndSequence)
{
    CreateDatabase();
    CCategory source('B');
    source.m_sName = "Tango";
    auto* target = static_cast<CCategory*>(db_->GetNewItemPointer(TABLE_CATEGORY, nullptr));
    db_->CopyItem(TABLE_CATEGORY, &source, target, 1);
    EXPECT_EQ(target->m_sName, "Tango");
    EXPECT_EQ(target->m_nSequence, 0);
    EXPECT_EQ(target->m_nCode, 1u);
    db_->DeleteItemPointer(TABLE_CATEGORY, target);
    const stDataToken request = MakeDataToken('A', 0.0, nullptr, 7);
    auto* account = static_cast<CCategory*>(db_->GetNewItemPointer(TABLE_CATEGORY, &request));
    EXPECT_EQ(account->m_cType, 'A');
    EXPECT_EQ(account->m_Params[0], 7);
    db_->DeleteItemPointer(TABLE_CATEGORY, account);
}

TEST_F(TablesTest, CategoryComboFiller)
{
    CreateDatabase();
    CCategory* a = AddCategory("Cash", 'A', 0);
    CCategory* b = AddCategory("Bank", 'A', 1);
    a->m_Params[0] = 3;
    AddCategory("Waltz", 'B', 2);
    ui::Dialog host(kComboHost);
    ASSERT_TRUE(host.Create());
    ui::ComboBox* combo = host.Combo(100);
    ASSERT_NE(combo, nullptr);

    db_->FillCategoryComboBox(combo, '$', 1, 1, 0, 0xFFFFFFFF);
    ASSERT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetLBText(combo->GetCurSel()), "Discount amount");

    db_->FillCategoryComboBox(combo, 'A', b->m_nCode, 1, 0, 0xFFFFFFFF);
    ASSERT_EQ(combo->GetCount(), 3);
    EXPECT_EQ(combo->GetLBText(0), "<None>");
    EXPECT_EQ(combo->GetItemData(0), -1);
    EXPECT_EQ(combo->GetLBText(combo->GetCurSel()), "Bank");

    db_->FillCategoryComboBox(combo, 'A', 0xFFFFFFFF, 1, 0, a->m_nCode);
    EXPECT_EQ(combo->GetCount(), 2);
    db_->FillCategoryComboBox(combo, 'A', 0xFFFFFFFF, 1, 3, 0xFFFFFFFF);
    ASSERT_EQ(combo->GetCount(), 2);
    EXPECT_EQ(combo->GetLBText(1), "Cash");

    db_->FillTransactionTypeCombo(combo, 8);
    EXPECT_EQ(combo->GetCount(), 18);
    EXPECT_EQ(combo->GetLBText(combo->GetCurSel()), "CHECK");
    host.DestroyWindow();
}

TEST_F(TablesTest, SelectPersonOffersNoneAndNew)
{
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->SelectPerson('C', 0, 1, 1), -1);
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"No persons specified"}));

    CreateDatabase();
    CPerson* s = AddPerson("Smith", "Sue", 0, 'C');
    AddPerson("Teach", "Tom", 1, 'E');
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Select student");
        ui::ListBox* list = d.List(1394);
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->GetCount(), 3);
        EXPECT_EQ(list->GetText(0), "<none>");
        EXPECT_EQ(list->GetText(1), "<New>");
        EXPECT_EQ(list->GetText(2), "Smith, Sue");
        ui::test::SelectItem(d, 1394, 1);
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(db_->SelectPerson('C', 0, 1, 1), -2);
    Script([](ui::Dialog& d) {
        ui::test::SelectItem(d, 1394, 0);
        ui::test::Click(d, 1000);
    });
    EXPECT_EQ(db_->SelectPerson('C', 0, 0, 0), static_cast<int32_t>(s->m_nCode));
}

TEST_F(TablesTest, TeacherActivityRecords)
{
    CreateDatabase();
    std::vector<stTeacherActivityData> rows;
    db_->BuildTeacherActivityRecords(rows, 'T');
    EXPECT_TRUE(rows.empty());

    AddCategory("Waltz", 'B', 0);
    AddCategory("Ad", 'I', 1);
    AddCategory("Tango", 'B', 2);
    CPerson* t = AddPerson("Teach", "Tom", 0, 'E');
    CPerson* boss = AddPerson("Boss", "Bea", 1, 'E');
    CPerson* gone = AddPerson("Gone", "Gil", 2, 'E');
    gone->m_cStatus = 'I';
    AddPerson("Student", "Sam", 3, 'C');
    db_->BuildTeacherActivityRecords(rows, 'S');
    EXPECT_TRUE(rows.empty()) << "nobody names a supervisor yet";
    t->m_nCode28 = boss->m_nCode;
    db_->BuildTeacherActivityRecords(rows, 'S');
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].nPerson, static_cast<int32_t>(boss->m_nCode));

    db_->BuildTeacherActivityRecords(rows, 'T');
    ASSERT_EQ(rows.size(), 2u);
    ASSERT_EQ(rows[0].aActivities.size(), 2u);
    EXPECT_EQ(rows[0].aActivities[1].nCode, 3u);

    CPurchaseRecord purchase;
    purchase.m_cPricing = 'P';
    purchase.m_dPrice = 100.0;
    purchase.m_nStatus = CPurchaseRecord::STATUS_CANCELLED;
    db_->AddPurchaseToTeacher(t->m_nCode, purchase, 2.0, rows);
    EXPECT_EQ(rows[0].nTotalSales, 1u);
    EXPECT_DOUBLE_EQ(rows[0].dTotalSalesValue, 50.0);
    EXPECT_EQ(rows[0].nTotalCancellations, 1u);
    EXPECT_DOUBLE_EQ(rows[0].dTotalCancellationsValue, 50.0);
    db_->AddPurchaseToTeacher(4242, purchase, 2.0, rows);
    EXPECT_EQ(rows[1].nTotalSales, 0u);
    db_->FreeTeacherActivityItems(rows);
    EXPECT_TRUE(rows[0].aActivities.empty());
}

TEST_F(TablesTest, SignInOffersTodaysOpenActivitiesNotYetUsed)
{
    host::LocalTime six{};
    six.year = 2024, six.month = 3, six.day = 4, six.hour = 18, six.isDst = -1;
    time_t at = 0;
    ASSERT_TRUE(host::Clock::FromLocal(six, at));
    host::Clock::SetFixedTime(at);
    auto addActivity = [&](uint32_t code, const char* name, std::vector<DATE> dates) {
        auto* p = static_cast<CPriceListItem*>(db_->GetNewItemPointer(TABLE_PRICELIST, nullptr));
        p->m_nCode = code;
        p->m_sName = name;
        p->m_nDuration = 60;
        p->m_Dates = std::move(dates);
        db_->AddIndex(TABLE_PRICELIST, p, code, 0, 0, 0xFFFFFFFE, -1);
    };
    // Salsa: over at 17:30, open at 19:00, tomorrow; Tango: running since 17:15, and used at 20:00.
    addActivity(0, "Salsa", {MakeDate(2024, 3, 4, 16, 30), MakeDate(2024, 3, 4, 19, 0), MakeDate(2024, 3, 5, 19, 0)});
    addActivity(1, "Tango", {MakeDate(2024, 3, 4, 17, 15), MakeDate(2024, 3, 4, 20, 0)});
    CPurchaseItem item;
    item.m_nPriceListCode = 1;
    item.m_cKind = 's';
    auto used = std::make_unique<CScheduleToken>();
    used->m_cState = 'U';
    used->m_nActivity = 1;
    used->m_dDate = MakeDate(2024, 3, 4, 20, 0);
    item.m_Tokens.push_back(std::move(used));

    struct Picker : IDatabaseUi {
        std::string title;
        std::vector<std::string> lines;
        int32_t SelectOne(const std::string& t, const std::vector<std::pair<uint32_t, std::string>>& items) override
        {
            title = t;
            for (const auto& [data, text] : items) lines.push_back(text);
            return items.empty() ? -1 : static_cast<int32_t>(items.back().first);
        }
    } picker;
    db_->SetUi(&picker);
    uint32_t code = 99;
    DATE date = 0;
    EXPECT_EQ(db_->SelectSignInActivity(item, code, date, 0), 1);
    EXPECT_EQ(picker.title, "Select activity");
    EXPECT_EQ(picker.lines, (std::vector<std::string>{"Salsa Monday March 04, 2024, 07:00PM",
                                                      "Tango Monday March 04, 2024, 05:15PM"}));
    EXPECT_EQ(code, 1u);
    EXPECT_TRUE(IsSameMinute(date, MakeDate(2024, 3, 4, 17, 15)));

    // Only the item's own activity, all of it used or over by 19:30.
    picker.lines.clear();
    six.minute = 30;
    six.hour = 19;
    ASSERT_TRUE(host::Clock::FromLocal(six, at));
    host::Clock::SetFixedTime(at);
    ExpectBoxes({IDOK});
    EXPECT_EQ(db_->SelectSignInActivity(item, code, date, 1), -1);
    EXPECT_TRUE(picker.lines.empty());
    EXPECT_EQ(BoxTexts(), (std::vector<std::string>{"No activities scheduled for today remaining for sign-in."}));
    host::Clock::ClearFixedTime();
    db_->SetUi(nullptr);
}

TEST_F(TablesTest, StudentSummaryKeepsEachStudentsLatestActivity)
{
    auto addPurchase = [&](uint32_t code, uint32_t person, int32_t status, DATE date,
                           std::vector<std::pair<char, DATE>> payments) {
        auto* p = static_cast<CPurchaseRecord*>(db_->GetNewItemPointer(TABLE_PURCHASE, nullptr));
        p->m_nCode = code;
        p->m_nPerson = person;
        p->m_nStatus = status;
        p->m_dDate = date;
        p->m_sDescription = "Ten lessons";
        for (auto [kind, when] : payments) {
            auto sp = std::make_unique<CSchedulePayment>();
            sp->m_cKind = kind;
            sp->m_dDate = when;
            p->m_Payments.push_back(std::move(sp));
        }
        db_->AddIndex(TABLE_PURCHASE, p, code, 0, 0, 0xFFFFFFFE, -1);
    };
    const DATE march = MakeDate(2024, 3, 1, 10, 0);
    // Person 1: paid after buying; person 2: a later payment scheduled only ('S'); person 3: a
    // cancelled sale is no activity.
    addPurchase(0, 1, CPurchaseRecord::STATUS_ACTIVE, march, {{'R', march + 7}, {'R', march + 3}});
    addPurchase(1, 2, CPurchaseRecord::STATUS_ACTIVE, march, {{'S', march + 9}});
    addPurchase(2, 3, -2, march, {{'R', march + 1}});
    std::vector<stActivityLine> summary;
    db_->MakeStudentActivitySummary(summary);
    ASSERT_EQ(summary.size(), 2u);
    EXPECT_EQ(summary[0].nPerson, 1u);
    EXPECT_EQ(summary[0].sText, "Payment on: Ten lessons");
    EXPECT_EQ(summary[0].dDate, march + 7);
    EXPECT_EQ(summary[1].nPerson, 2u);
    EXPECT_EQ(summary[1].sText, "Purchase: Ten lessons");
    EXPECT_EQ(summary[1].dDate, march);
}
