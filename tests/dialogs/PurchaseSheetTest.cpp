// The purchase sheet on a real file: contents with their tokens, the payment page's credits,
// splits and deletes, and Cancel after changes.

#include "tests/dialogs/MoneyFixture.h"

#include "database/CreditLedger.h"
#include "dialogs/DialogMenu.h"
#include "dialogs/PropertySheetPurchase.h"
#include "platform/host/Format.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/PropertySheet.h"

namespace {

constexpr int kPromptText = 1254;
constexpr int kPaymentList = 1114;
constexpr int kTotals = 1457;

void PickMenuLine(ui::Dialog& d, const std::string& start)
{
    ui::ListBox* list = static_cast<CDialogMenu&>(d).GetShownList();
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->GetCount(); ++i)
        if (list->GetText(i).rfind(start, 0) == 0) {
            ui::test::SelectItem(d, list->GetDlgCtrlID(), i);
            ui::test::Click(d, ui::IDOK);
            return;
        }
    ADD_FAILURE() << "no line " << start;
    ui::test::Click(d, ui::IDCANCEL);
}

void AnswerPrompt(ui::Dialog& d, const std::string& text)
{
    ui::test::SetText(d, kPromptText, text);
    ui::test::Click(d, ui::IDOK);
}

CPropertySheetPurchase& Sheet(ui::Dialog& d)
{
    return static_cast<CPropertySheetPurchase&>(d);
}

// The row of the payment list whose text begins with `start`.
int PaymentRow(ui::Dialog& page, const std::string& start)
{
    ui::ListBox* list = page.List(kPaymentList);
    for (int i = 0; list && i < list->GetCount(); ++i)
        if (list->GetText(i).rfind(start, 0) == 0) return i;
    ADD_FAILURE() << "no payment " << start;
    return -1;
}

class PurchaseSheetTest : public MoneyTest {
protected:
    // A stored purchase of `price` with the payments given (kind, amount, date).
    CPurchaseRecord* AddPurchase(uint32_t person, double price, std::vector<std::tuple<char, double, DATE>> payments)
    {
        auto p = std::make_unique<CPurchaseRecord>();
        p->m_nPerson = person;
        p->m_cPricing = 'P';
        p->m_dPrice = price;
        p->m_sDescription = "Lessons";
        auto item = std::make_unique<CPurchaseItem>();
        item->m_sName = "Lesson";
        item->m_cKind = 'N';
        item->m_dAmount = price;
        p->m_Items.push_back(std::move(item));
        for (const auto& [kind, amount, date] : payments) {
            auto pay = std::make_unique<CSchedulePayment>();
            pay->m_cKind = kind;
            pay->m_dAmount = amount;
            pay->m_dDate = date;
            pay->m_nPayer = person;
            pay->m_sDescription = "Lessons";
            p->m_Payments.push_back(std::move(pay));
        }
        return Add(TABLE_PURCHASE, std::move(p));
    }
    const CPurchaseRecord* Purchase(uint32_t code) const
    {
        return static_cast<const CPurchaseRecord*>(db_->GetItem(TABLE_PURCHASE, code));
    }
};

TEST_F(PurchaseSheetTest, NewPurchaseWithLessonsAndPackageIsStoredAsEntered)
{
    FixClock(2026, 3, 2, 10, 0);
    const CPerson* ann = AddStudent("Lee", "Ann");
    CPriceListItem* lesson = AddItem("Private lesson", 40.0, 'p');
    lesson->m_Dates = {MakeDate(2026, 3, 5, 18, 0), MakeDate(2026, 3, 12, 18, 0)};
    ASSERT_NE(db_->SaveModifiedItem(TABLE_PRICELIST, lesson->m_nCode, lesson), 0);
    AddItem("Ten percent off", 10.0, 'D');

    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Purchase");
        EXPECT_FALSE(d.GetDlgItem(ui::ID_APPLY_NOW)->IsWindowVisible());
        CPagePurchaseEdit& page = Sheet(d).m_PageEdit;
        EXPECT_EQ(page.GetDlgItemText(1433), "Lee, Ann");
        // Without contents the page is not left.
        EXPECT_FALSE(Sheet(d).SetActivePage(1));
        EXPECT_EQ(Boxes().back(), "Purchase has no contents");
        ui::test::Click(page, 1075);  // Add private lesson: three
        ui::test::SetText(page, 1077, "Spring lessons");
        EXPECT_TRUE(Sheet(d).SetActivePage(1));
        CPagePaymentSchedule& payments = Sheet(d).m_PagePayments;
        EXPECT_EQ(payments.List(kPaymentList)->GetCount(), 1);
        EXPECT_EQ(payments.GetDlgItemText(kTotals).substr(0, 34), "Total before adjustments: 120.00\r\n");
        ui::test::Click(d, ui::IDOK);
    });
    Script([](ui::Dialog& d) { PickMenuLine(d, "Private lesson"); });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kPromptText), "1");
        AnswerPrompt(d, "3");
    });
    Answer({IDOK});
    const stDataToken request = MakeDataToken('R', 0.0, nullptr, static_cast<int32_t>(ann->m_nCode));
    ASSERT_EQ(db_->AddTableItem(TABLE_PURCHASE, LOC_NONE, nullptr, 1, 0, &request), 1);
    const uint32_t code = db_->m_nLastSavedCode;
    Reopen();
    const CPurchaseRecord* p = Purchase(code);
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_sDescription, "Spring lessons");
    EXPECT_EQ(p->m_cStamp1User, 1);
    ASSERT_EQ(p->m_Items.size(), 1u);
    const CPurchaseItem& item = *p->m_Items[0];
    EXPECT_EQ(item.m_nCount, 3);
    EXPECT_DOUBLE_EQ(item.m_dAmount, 120.0);
    ASSERT_EQ(item.m_Tokens.size(), 3u);
    EXPECT_EQ(item.m_Tokens[0]->m_cState, 'S');
    EXPECT_DOUBLE_EQ(item.m_Tokens[0]->m_dDate, MakeDate(2026, 3, 5, 18, 0));
    EXPECT_EQ(item.m_Tokens[1]->m_cState, 'S');
    EXPECT_DOUBLE_EQ(item.m_Tokens[1]->m_dDate, MakeDate(2026, 3, 12, 18, 0));
    EXPECT_EQ(item.m_Tokens[2]->m_cState, 'N');
    EXPECT_DOUBLE_EQ(item.m_Tokens[2]->m_dDate, 0.0);
    ASSERT_EQ(p->m_Payments.size(), 1u);
    EXPECT_EQ(p->m_Payments[0]->m_cKind, 'U');
    EXPECT_DOUBLE_EQ(p->m_Payments[0]->m_dAmount, 120.0);
}

TEST_F(PurchaseSheetTest, CreditLowersTheDuePaymentsAndIsSpentOnOk)
{
    struct stCase {
        double credit;
        std::vector<double> due;  // what is left due, earliest first
        double applied;
        double kept;  // left of the credit record; 0: deleted
    };
    const stCase cases[] = {{50.0, {20.0}, 50.0, 0.0}, {100.0, {}, 70.0, 30.0}};
    for (const stCase& c : cases) {
        SCOPED_TRACE(c.credit);
        const CPerson* ann = AddStudent("Lee", "Ann");
        const uint32_t credit = AddCredit(ann->m_nCode, "Gift", c.credit)->m_nCode;
        const uint32_t code = AddPurchase(ann->m_nCode, 70.0,
                                          {{'S', 40.0, MakeDate(2026, 4, 1, 0, 0)}, {'S', 30.0, MakeDate(2026, 3, 1, 0, 0)}})
                                  ->m_nCode;
        Script([&](ui::Dialog& d) {
            ASSERT_TRUE(Sheet(d).SetActivePage(1));
            ui::test::Click(Sheet(d).m_PagePayments, 1081);
            ui::test::Click(d, ui::IDOK);
        });
        Script([&](ui::Dialog& d) { PickMenuLine(d, Format("Gift ($%.2f)", c.credit)); });
        ASSERT_EQ(db_->EditTableItem(TABLE_PURCHASE, code, nullptr), 1);
        Reopen();
        const CPurchaseRecord* p = Purchase(code);
        ASSERT_NE(p, nullptr);
        std::vector<double> due;
        double applied = 0.0;
        for (const auto& pay : p->m_Payments) {
            if (pay->m_cKind == 'S') due.push_back(pay->m_dAmount);
            if (pay->m_cKind == 'c') applied += pay->m_dAmount;
        }
        EXPECT_EQ(due, c.due);
        EXPECT_DOUBLE_EQ(applied, c.applied);
        if (c.kept == 0.0) {
            EXPECT_EQ(Payment(credit), nullptr);
        } else {
            ASSERT_NE(Payment(credit), nullptr);
            EXPECT_DOUBLE_EQ(Payment(credit)->m_dAmount, c.kept);
        }
        // The credit is free again.
        if (Payment(credit)) {
            const uint32_t loc = db_->LockRecord(TABLE_PAYMENT, credit);
            EXPECT_NE(loc, LOC_NONE);
            db_->UnlockRecord(loc);
        }
    }
}

TEST_F(PurchaseSheetTest, CancelAfterChangesAsksAndYesLeavesTheFile)
{
    const CPerson* ann = AddStudent("Lee", "Ann");
    const uint32_t credit = AddCredit(ann->m_nCode, "Gift", 50.0)->m_nCode;
    const uint32_t code = AddPurchase(ann->m_nCode, 100.0, {{'U', 100.0, 0.0}})->m_nCode;
    Script([&](ui::Dialog& d) {
        ASSERT_TRUE(Sheet(d).SetActivePage(1));
        CPagePaymentSchedule& page = Sheet(d).m_PagePayments;
        // The only payment due is not deleted.
        ui::test::SelectItem(page, kPaymentList, PaymentRow(page, "Payment $100.00 due"));
        ui::test::Click(page, 1014);
        EXPECT_EQ(Boxes().back(), "Can not delete all payments for a purchase.");
        ui::test::SelectItem(page, kPaymentList, PaymentRow(page, "Payment $100.00 due"));
        ui::test::Click(page, 1128);  // Split in three
        EXPECT_EQ(page.List(kPaymentList)->GetCount(), 3);
        ui::test::Click(page, 1081);  // and a credit
        // No keeps the sheet and the changes.
        ui::test::Click(d, ui::IDCANCEL);
        EXPECT_EQ(Boxes().back(), "You have made changes in data. Are you sure you want to cancel?");
        // 50 took the first third and part of the second.
        EXPECT_EQ(page.List(kPaymentList)->GetCount(), 3);
        EXPECT_GE(PaymentRow(page, "Credit $50.00 applied"), 0);
        EXPECT_GE(PaymentRow(page, "Payment $16.66 due"), 0);
        ui::test::Click(d, ui::IDCANCEL);
    });
    Script([](ui::Dialog& d) { AnswerPrompt(d, "3"); });
    Script([](ui::Dialog& d) { PickMenuLine(d, "Gift"); });
    Answer({IDOK, IDNO, IDYES});
    EXPECT_EQ(db_->EditTableItem(TABLE_PURCHASE, code, nullptr), 2);
    ASSERT_EQ(Purchase(code)->m_Payments.size(), 1u);
    EXPECT_DOUBLE_EQ(Purchase(code)->m_Payments[0]->m_dAmount, 100.0);
    Reopen();
    ASSERT_EQ(Purchase(code)->m_Payments.size(), 1u);
    ASSERT_NE(Payment(credit), nullptr);
    EXPECT_DOUBLE_EQ(Payment(credit)->m_dAmount, 50.0);
    const uint32_t loc = db_->LockRecord(TABLE_PAYMENT, credit);
    EXPECT_NE(loc, LOC_NONE) << "the credit was given back";
    db_->UnlockRecord(loc);
}

TEST_F(PurchaseSheetTest, DeletedCreditEntryGivesItsAmountBack)
{
    const CPerson* ann = AddStudent("Lee", "Ann");
    const uint32_t credit = AddCredit(ann->m_nCode, "Gift", 50.0)->m_nCode;
    const uint32_t code =
        AddPurchase(ann->m_nCode, 70.0, {{'S', 40.0, MakeDate(2026, 4, 1, 0, 0)}, {'S', 30.0, MakeDate(2026, 3, 1, 0, 0)}})->m_nCode;
    Script([&](ui::Dialog& d) {
        ASSERT_TRUE(Sheet(d).SetActivePage(1));
        CPagePaymentSchedule& page = Sheet(d).m_PagePayments;
        ui::test::Click(page, 1081);
        ui::test::SelectItem(page, kPaymentList, PaymentRow(page, "Credit $50.00 applied"));
        ui::test::Click(page, 1014);
        EXPECT_EQ(Boxes().back(), "Warning: total of payments (20.00) does not equal amount of purchase (70.00).");
        ui::test::Click(d, ui::IDOK);
    });
    Script([](ui::Dialog& d) { PickMenuLine(d, "Gift ($50.00)"); });
    Answer({IDOK});
    ASSERT_EQ(db_->EditTableItem(TABLE_PURCHASE, code, nullptr), 1);
    Reopen();
    ASSERT_NE(Payment(credit), nullptr);
    EXPECT_DOUBLE_EQ(Payment(credit)->m_dAmount, 50.0);
}

TEST_F(PurchaseSheetTest, PersonModeShowsEveryActivePurchaseAndStoresAtOnce)
{
    FixClock(2026, 3, 2, 10, 0);
    CPerson* ann = AddStudent("Lee", "Ann");
    const uint32_t first = AddPurchase(ann->m_nCode, 60.0, {{'U', 60.0, 0.0}})->m_nCode;
    AddPurchase(ann->m_nCode, 40.0, {{'R', 40.0, MakeDate(2026, 2, 1, 0, 0)}});
    CPurchaseRecord* gone = AddPurchase(ann->m_nCode, 99.0, {{'U', 99.0, 0.0}});
    gone->m_nStatus = CPurchaseRecord::STATUS_CANCELLED;

    CPagePaymentSchedule page(db_.get());
    page.m_pPerson = ann;
    page.m_pSheetPerson = ann;
    ui::PropertySheet sheet("Person");
    sheet.AddPage(&page);
    Script([&](ui::Dialog& d) {
        EXPECT_FALSE(page.GetDlgItem(1125)->IsWindowEnabled()) << "no equalizing across purchases";
        EXPECT_EQ(page.List(kPaymentList)->GetCount(), 2);
        EXPECT_EQ(page.GetDlgItemText(kTotals).substr(0, 34), "Total before adjustments: 100.00\r\n");
        ui::test::SelectItem(page, kPaymentList, PaymentRow(page, "Payment $60.00 due"));
        ui::test::Click(page, 1341);  // Mark paid
        EXPECT_GE(PaymentRow(page, "Payment $60.00 received"), 0);
        ui::test::Click(d, ui::IDCANCEL);
    });
    Script([](ui::Dialog& d) { ui::test::Click(d, 1000); });
    sheet.DoModal();
    Reopen();
    ASSERT_EQ(Purchase(first)->m_Payments.size(), 1u);
    EXPECT_EQ(Purchase(first)->m_Payments[0]->m_cKind, 'R') << "stored at once";
    EXPECT_DOUBLE_EQ(Purchase(first)->m_Payments[0]->m_dDate, MakeDate(2026, 3, 2, 0, 0));
}

TEST_F(PurchaseSheetTest, ReferenceInterviewIsChosenByItsTime)
{
    CPerson* ann = AddStudent("Lee", "Ann");
    auto visit = std::make_unique<CInterview>();
    visit->m_cKind = 'V';
    visit->m_dDate = MakeDate(2026, 3, 2, 10, 30);
    ann->m_Interviews.push_back(std::move(visit));
    ASSERT_NE(db_->SaveModifiedItem(TABLE_PERSON, ann->m_nCode, ann), 0);
    const uint32_t code = AddPurchase(ann->m_nCode, 100.0, {{'U', 100.0, 0.0}})->m_nCode;
    Script([](ui::Dialog& d) {
        ui::Dialog& page = Sheet(d).m_PageEdit;
        ui::ComboBox* combo = page.Combo(1085);
        ASSERT_EQ(combo->GetCount(), 2);
        EXPECT_EQ(combo->GetLBText(0), "<None>");
        EXPECT_EQ(combo->GetLBText(1), "Visit Ann Lee Monday March 02, 2026, 10:30AM ");
        ui::test::SelectItem(page, 1085, 1);
        ui::test::Click(d, ui::IDOK);
    });
    ASSERT_EQ(db_->EditTableItem(TABLE_PURCHASE, code, nullptr), 1);
    EXPECT_DOUBLE_EQ(Purchase(code)->m_dField17, MakeDate(2026, 3, 2, 10, 30));
}

TEST_F(PurchaseSheetTest, InterviewChosenSelectsItsTeacherWhoseSecondAndDepartmentFollow)
{
    CPerson* bea = AddStudent("Bell", "Bea");
    bea->m_cType = 'E';
    const uint32_t department = AddCategory("Ballroom", 'D')->m_nCode;
    CPerson* tom = AddStudent("Teach", "Tom");
    tom->m_cType = 'E';
    tom->m_nCode28 = bea->m_nCode;
    tom->m_nCode29 = department;
    CPerson* ann = AddStudent("Lee", "Ann");
    auto visit = std::make_unique<CInterview>();
    visit->m_cKind = 'V';
    visit->m_dDate = MakeDate(2026, 3, 2, 10, 30);
    visit->m_nField4 = tom->m_nCode;
    ann->m_Interviews.push_back(std::move(visit));
    for (CPerson* p : {bea, tom, ann}) ASSERT_EQ(db_->SaveModifiedItem(TABLE_PERSON, p->m_nCode, p), 1);
    const uint32_t code = AddPurchase(ann->m_nCode, 100.0, {{'U', 100.0, 0.0}})->m_nCode;
    Script([&](ui::Dialog& d) {
        ui::Dialog& page = Sheet(d).m_PageEdit;
        // "<None>" chooses no teacher.
        ui::test::SelectItem(page, 1085, 0);
        EXPECT_EQ(page.Combo(1021)->GetItemData(page.Combo(1021)->GetCurSel()), -1);
        ui::test::SelectItem(page, 1085, 1);
        ui::ComboBox* teacher = page.Combo(1021);
        EXPECT_EQ(static_cast<uint32_t>(teacher->GetItemData(teacher->GetCurSel())), tom->m_nCode);
        ui::test::Click(d, ui::IDOK);
    });
    ASSERT_EQ(db_->EditTableItem(TABLE_PURCHASE, code, nullptr), 1);
    EXPECT_EQ(Purchase(code)->m_nField14, tom->m_nCode);
    EXPECT_EQ(Purchase(code)->m_nField15, bea->m_nCode);
    EXPECT_EQ(Purchase(code)->m_nField13, department);
}

TEST_F(PurchaseSheetTest, PackageOnlyItemsAreNotOfferedOnTheirOwn)
{
    const CPerson* ann = AddStudent("Lee", "Ann");
    AddItem("Private lesson", 40.0, 'p');
    CPriceListItem* packaged = AddItem("Packaged lesson", 30.0, 'p');
    packaged->m_cPackageOnly = 1;
    AddItem("Shoes", 60.0, 0)->m_cPackageOnly = 1;
    const uint32_t code = AddPurchase(ann->m_nCode, 100.0, {{'U', 100.0, 0.0}})->m_nCode;
    std::vector<std::vector<std::string>> offered;
    auto lines = [&offered](ui::Dialog& d) {
        ui::ListBox* list = static_cast<CDialogMenu&>(d).GetShownList();
        offered.emplace_back();
        for (int i = 0; list && i < list->GetCount(); ++i) offered.back().push_back(list->GetText(i));
        ui::test::Click(d, ui::IDCANCEL);
    };
    Script([&](ui::Dialog& d) {
        ui::Dialog& page = Sheet(d).m_PageEdit;
        ui::test::Click(page, 1075);  // Add private lesson
        ui::test::Click(page, 1082);  // Add price list item
        ui::test::Click(page, 1078);  // Add merchandise: nothing left to offer
        EXPECT_EQ(Boxes().back(), "No items of type selected have been specified");
        ui::test::Click(d, ui::IDCANCEL);
    });
    Script(lines);
    Script(lines);
    Answer({IDOK});
    EXPECT_EQ(db_->EditTableItem(TABLE_PURCHASE, code, nullptr), 2);
    const std::vector<std::string> one{"Private lesson"};
    EXPECT_EQ(offered, (std::vector<std::vector<std::string>>{one, one}));
}

TEST_F(PurchaseSheetTest, StoredCreditEntryDeletedGoesBackToItsCreditOnce)
{
    struct stCase {
        const char* name;
        bool creditKept;  // the credit record still holds 20.00; else it was used up and is gone
        int button;       // how the sheet ends
    };
    const stCase cases[] = {{"kept", true, ui::IDOK}, {"used up", false, ui::IDOK}, {"cancelled", true, ui::IDCANCEL}};
    for (const stCase& c : cases) {
        SCOPED_TRACE(c.name);
        const uint32_t ann = AddStudent("Lee", c.name)->m_nCode;
        CPaymentRecord* gift = AddCredit(ann, "Gift", 20.0);
        const uint32_t credit = gift->m_nCode;
        CPurchaseRecord* stored = AddPurchase(ann, 70.0, {{'S', 55.0, MakeDate(2026, 4, 1, 0, 0)}, {'c', 15.0, 0.0}});
        stored->m_Payments[1]->m_nReference = credit;
        stored->m_Payments[1]->m_sDescription = "Gift";
        ASSERT_EQ(db_->SaveModifiedItem(TABLE_PURCHASE, stored->m_nCode, stored), 1);
        const uint32_t code = stored->m_nCode;
        if (!c.creditKept) {
            ASSERT_EQ(db_->DeleteTableItem(TABLE_PAYMENT, credit, 0), 1);
        }
        const size_t paymentsBefore = db_->GetItemList(TABLE_PAYMENT)->size();
        const int button = c.button;
        Script([button](ui::Dialog& d) {
            ASSERT_TRUE(Sheet(d).SetActivePage(1));
            CPagePaymentSchedule& page = Sheet(d).m_PagePayments;
            ui::test::SelectItem(page, kPaymentList, PaymentRow(page, "Credit $15.00 applied"));
            ui::test::Click(page, 1014);
            EXPECT_EQ(page.List(kPaymentList)->GetCount(), 1);
            ui::test::Click(d, button);
        });
        if (button == ui::IDOK) Answer({IDOK});
        else Answer({IDOK, IDYES});
        EXPECT_EQ(db_->EditTableItem(TABLE_PURCHASE, code, nullptr), button == ui::IDOK ? 1 : 2);
        Reopen();
        EXPECT_EQ(Purchase(code)->m_Payments.size(), button == ui::IDOK ? 1u : 2u);
        if (c.creditKept) {
            ASSERT_NE(Payment(credit), nullptr);
            EXPECT_DOUBLE_EQ(Payment(credit)->m_dAmount, button == ui::IDOK ? 35.0 : 20.0);
            EXPECT_EQ(db_->GetItemList(TABLE_PAYMENT)->size(), paymentsBefore);
        } else {
            // A new credit of the payer carries the amount.
            ASSERT_EQ(db_->GetItemList(TABLE_PAYMENT)->size(), paymentsBefore + 1);
            const CPaymentRecord* added = static_cast<const CPaymentRecord*>(db_->GetItemList(TABLE_PAYMENT)->back().pItem);
            EXPECT_EQ(added->m_cType, 'c');
            EXPECT_EQ(added->m_nPerson, ann);
            EXPECT_DOUBLE_EQ(added->m_dAmount, 15.0);
            EXPECT_EQ(added->m_sText, "Gift");
        }
        // Once: the stored purchase no longer carries the entry, nothing more can go back.
        if (button == ui::IDOK) {
            for (const auto& pay : Purchase(code)->m_Payments) EXPECT_NE(pay->m_cKind, 'c');
        }
        if (Payment(credit)) {
            const uint32_t loc = db_->LockRecord(TABLE_PAYMENT, credit);
            EXPECT_NE(loc, LOC_NONE) << "the credit is free again";
            db_->UnlockRecord(loc);
        }
    }
}

TEST_F(PurchaseSheetTest, PersonModeGivesADeletedCreditEntryBackAtOnce)
{
    CPerson* ann = AddStudent("Lee", "Ann");
    const uint32_t credit = AddCredit(ann->m_nCode, "Gift", 20.0)->m_nCode;
    CPurchaseRecord* stored = AddPurchase(ann->m_nCode, 70.0, {{'S', 55.0, MakeDate(2026, 4, 1, 0, 0)}, {'c', 15.0, 0.0}});
    stored->m_Payments[1]->m_nReference = credit;
    ASSERT_EQ(db_->SaveModifiedItem(TABLE_PURCHASE, stored->m_nCode, stored), 1);
    const uint32_t code = stored->m_nCode;

    CCreditLedger ledger(*db_);
    CPagePaymentSchedule page(db_.get());
    page.m_pPerson = ann;
    page.m_pSheetPerson = ann;
    page.m_pLedger = &ledger;
    ui::PropertySheet sheet("Person");
    sheet.AddPage(&page);
    Script([&](ui::Dialog& d) {
        ui::test::SelectItem(page, kPaymentList, PaymentRow(page, "Credit $15.00 applied"));
        ui::test::Click(page, 1014);
        // Stored with the purchase at once, before the sheet ends.
        EXPECT_DOUBLE_EQ(Payment(credit)->m_dAmount, 35.0);
        ui::test::Click(d, ui::IDCANCEL);
    });
    Answer({IDOK});
    sheet.DoModal();
    ledger.Release();
    Reopen();
    ASSERT_EQ(Purchase(code)->m_Payments.size(), 1u);
    EXPECT_DOUBLE_EQ(Payment(credit)->m_dAmount, 35.0);
}

TEST_F(PurchaseSheetTest, PurchaseForAStudentChosenFromTheList)
{
    const CPerson* ann = AddStudent("Lee", "Ann");
    AddItem("Private lesson", 40.0, 'p');
    // Nothing chosen: nothing added.
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Select student");
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(db_->AddPurchaseForStudent(), 2);
    EXPECT_TRUE(db_->GetItemList(TABLE_PURCHASE)->empty());
    // Ann (after "<New>"): her new purchase, with one lesson, is stored.
    Script([](ui::Dialog& d) {
        ui::ListBox* list = d.List(1394);
        ASSERT_EQ(list->GetCount(), 2);
        EXPECT_EQ(list->GetText(0), "<New>");
        ui::test::SelectItem(d, 1394, 1);
        ui::test::Click(d, 1000);
    });
    Script([](ui::Dialog& d) {
        EXPECT_EQ(Sheet(d).m_PageEdit.GetDlgItemText(1433), "Lee, Ann");
        ui::test::Click(Sheet(d).m_PageEdit, 1075);
        ui::test::Click(d, ui::IDOK);
    });
    Script([](ui::Dialog& d) { PickMenuLine(d, "Private lesson"); });
    Script([](ui::Dialog& d) { AnswerPrompt(d, "1"); });
    EXPECT_EQ(db_->AddPurchaseForStudent(), 1);
    Reopen();
    ASSERT_EQ(db_->GetItemList(TABLE_PURCHASE)->size(), 1u);
    const CPurchaseRecord* p = static_cast<const CPurchaseRecord*>(db_->GetItemList(TABLE_PURCHASE)->front().pItem);
    EXPECT_EQ(p->m_nPerson, ann->m_nCode);
    ASSERT_EQ(p->m_Items.size(), 1u);
    EXPECT_EQ(p->m_Items[0]->m_sName, "Private lesson");
}

}  // namespace

// The sheet's third page lists the purchase's own lessons; its changes stay in the sheet until OK.
TEST_F(PurchaseSheetTest, ActivitiesPageChangesThePurchaseOnlyWithOk)
{
    const CPerson* ann = AddStudent("Lee", "Ann");
    CPurchaseRecord* stored = AddPurchase(ann->m_nCode, 80.0, {{'U', 80.0, 0.0}});
    auto token = std::make_unique<CScheduleToken>();
    token->m_cKind = 'p';
    token->m_cState = 'S';
    token->m_dDate = MakeDate(2026, 3, 5, 18, 0);
    stored->m_Items[0]->m_cKind = 'p';
    stored->m_Items[0]->m_Tokens.push_back(std::move(token));
    ASSERT_EQ(db_->SaveModifiedItem(TABLE_PURCHASE, stored->m_nCode, stored), 1);
    const uint32_t code = stored->m_nCode;
    for (const int button : {ui::IDCANCEL, ui::IDOK}) {
        Script([&](ui::Dialog& d) {
            ASSERT_EQ(Sheet(d).GetPageCount(), 3);
            ASSERT_TRUE(Sheet(d).SetActivePage(2));
            CPageSchedulePerson& page = Sheet(d).m_PageSchedule;
            EXPECT_EQ(page.GetTitle(), "Purchased activities");
            ASSERT_EQ(page.List(CPageSchedulePerson::kIdList)->GetCount(), 1);
            ui::test::SelectItem(page, CPageSchedulePerson::kIdList, 0);
            ui::test::Click(page, CPageSchedulePerson::kIdCancel);
            // Not stored while the sheet is open.
            EXPECT_EQ(Purchase(code)->m_Items[0]->m_Tokens[0]->m_cState, 'S');
            ui::test::Click(d, button);
        });
        if (button == ui::IDCANCEL) Answer({IDYES});
        db_->EditTableItem(TABLE_PURCHASE, code, nullptr);
        Reopen();
        EXPECT_EQ(Purchase(code)->m_Items[0]->m_Tokens[0]->m_cState, button == ui::IDOK ? 'c' : 'S');
    }
}
