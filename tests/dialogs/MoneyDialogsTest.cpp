// Sales on the spot with credits, the receipt counter, refunds, payments by the studio, payment
// entry, schedule entry editors, categories, default accounts and packages, each through the
// dialogs and the database file.

#include "tests/dialogs/MoneyFixture.h"

#include "database/CreditLedger.h"
#include "database/MoneyRequests.h"
#include "dialogs/DialogCategoryList.h"
#include "dialogs/DialogEditScheduledPayment.h"
#include "dialogs/DialogPackageEdit.h"
#include "dialogs/DialogPackageList.h"
#include "dialogs/DialogPaymentEdit.h"
#include "records/PurchaseItem.h"
#include "records/ScheduleToken.h"
#include "platform/ui/ComboBox.h"
#include "platform/ui/ListBox.h"
#include "widgets/DateTimeControl.h"

namespace {

constexpr int kMenuList = 1237;  // the single-choice list of the selection menu
constexpr int kApplyCredit = 1458;
constexpr int kAmount = 1136;
constexpr int kFor = 1077;
constexpr int kReceipt = 1371;
constexpr int kOk = 1000;

// Picks the line of the selection menu whose text begins with `start`.
void PickMenuLine(ui::Dialog& d, const std::string& start)
{
    ui::ListBox* list = d.List(kMenuList);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->GetCount(); ++i)
        if (list->GetText(i).rfind(start, 0) == 0) {
            ui::test::SelectItem(d, kMenuList, i);
            ui::test::Click(d, ui::IDOK);
            return;
        }
    ADD_FAILURE() << "no line " << start;
    ui::test::Click(d, ui::IDCANCEL);
}

// The purchase stored last.
const CPurchaseRecord* LastPurchase(CDatabase& db)
{
    const auto* list = db.GetItemList(TABLE_PURCHASE);
    return list->empty() ? nullptr : static_cast<const CPurchaseRecord*>(list->back().pItem);
}

TEST_F(MoneyTest, SaleWithCreditsOfThirtyAndEightyOnFifty)
{
    FixClock(2026, 3, 2, 10, 0);
    CPerson* ann = AddStudent("Lee", "Ann");
    CPriceListItem* lesson = AddItem("Private lesson", 50.0);
    const uint32_t lessonCode = lesson->m_nCode;
    const uint32_t small = AddCredit(ann->m_nCode, "Referral", 30.0)->m_nCode;
    const uint32_t large = AddCredit(ann->m_nCode, "Gift", 80.0)->m_nCode;
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kAmount), "50");
        ui::test::Click(d, kApplyCredit);
        EXPECT_EQ(d.GetDlgItemText(kAmount), "20");
        ui::test::Click(d, kApplyCredit);
        EXPECT_EQ(d.GetDlgItemText(kAmount), "0");
        ui::test::Click(d, kOk);
    });
    Script([](ui::Dialog& d) { PickMenuLine(d, "Referral ($30.00)"); });
    Script([](ui::Dialog& d) { PickMenuLine(d, "Gift ($80.00)"); });
    ASSERT_EQ(db_->SellItemNow(ann->m_nCode, NO_CODE, NO_CODE, lesson, 1, 0.0), 1);
    Reopen();
    const CPurchaseRecord* sale = LastPurchase(*db_);
    ASSERT_NE(sale, nullptr);
    EXPECT_EQ(sale->m_sDescription, "Private lesson");
    ASSERT_EQ(sale->m_Payments.size(), 3u);
    EXPECT_EQ(sale->m_Payments[0]->m_cKind, 'R');
    EXPECT_DOUBLE_EQ(sale->m_Payments[0]->m_dAmount, 0.0);
    EXPECT_EQ(sale->m_Payments[1]->m_cKind, 'c');
    EXPECT_DOUBLE_EQ(sale->m_Payments[1]->m_dAmount, 30.0);
    EXPECT_EQ(sale->m_Payments[1]->m_sDescription, "Referral");
    EXPECT_DOUBLE_EQ(sale->m_Payments[2]->m_dAmount, 20.0);
    ASSERT_EQ(sale->m_Items.size(), 1u);
    ASSERT_EQ(sale->m_Items[0]->m_Tokens.size(), 1u);
    EXPECT_EQ(sale->m_Items[0]->m_Tokens[0]->m_cState, 'U');
    EXPECT_EQ(sale->m_Items[0]->m_Tokens[0]->m_nActivity, lessonCode);
    EXPECT_EQ(Payment(small), nullptr) << "a credit used up is deleted";
    ASSERT_NE(Payment(large), nullptr);
    EXPECT_DOUBLE_EQ(Payment(large)->m_dAmount, 60.0);
}

TEST_F(MoneyTest, CancelledSaleLeavesTheCreditsAndStoresNothing)
{
    CPerson* ann = AddStudent("Lee", "Ann");
    CPriceListItem* lesson = AddItem("Private lesson", 50.0);
    const uint32_t credit = AddCredit(ann->m_nCode, "Gift", 80.0)->m_nCode;
    Script([&](ui::Dialog& d) {
        ui::test::Click(d, kApplyCredit);
        ui::test::Click(d, ui::IDCANCEL);
    });
    Script([](ui::Dialog& d) { PickMenuLine(d, "Gift"); });
    EXPECT_EQ(db_->SellItemNow(ann->m_nCode, NO_CODE, NO_CODE, lesson, 1, 0.0), 0);
    Reopen();
    EXPECT_TRUE(db_->GetItemList(TABLE_PURCHASE)->empty());
    ASSERT_NE(Payment(credit), nullptr);
    EXPECT_DOUBLE_EQ(Payment(credit)->m_dAmount, 80.0);
    // Released: the credit can be locked again.
    const uint32_t loc = db_->LockRecord(TABLE_PAYMENT, credit);
    EXPECT_NE(loc, LOC_NONE);
    db_->UnlockRecord(loc);
}

TEST_F(MoneyTest, LedgerTakesBetweenZeroAndWhatIsOpen)
{
    CPerson* ann = AddStudent("Lee", "Ann");
    const uint32_t credit = AddCredit(ann->m_nCode, "Gift", 30.0)->m_nCode;
    CCreditLedger ledger(*db_);
    struct Case {
        double wanted, taken, left;
    } cases[] = {{-5.0, 0.0, 30.0}, {10.0, 10.0, 20.0}, {50.0, 20.0, 0.0}};
    for (const Case& c : cases) {
        double taken = -1.0;
        std::string text;
        const bool ok = ledger.Take(credit, c.wanted, taken, text);
        EXPECT_EQ(ok, c.left < 30.0 || c.wanted <= 0.0 || taken >= 0.0);
        EXPECT_DOUBLE_EQ(taken, c.taken) << c.wanted;
        EXPECT_DOUBLE_EQ(ledger.Remaining(credit), c.left) << c.wanted;
    }
    EXPECT_TRUE(ledger.CollectOffers(ann->m_nCode).empty()) << "a spent credit is not offered again";
    double taken = 0.0;
    std::string text;
    EXPECT_FALSE(ledger.Take(credit, 1.0, taken, text));
}

TEST_F(MoneyTest, RepeatSaleAsksOnTheSameDayOnly)
{
    CPerson* ann = AddStudent("Lee", "Ann");
    CPriceListItem* lesson = AddItem("Private lesson", 50.0);
    const DATE monday = MakeDate(2026, 3, 2, 10, 0);
    ASSERT_EQ(db_->SellItemNow(ann->m_nCode, 7, NO_CODE, lesson, 0, monday), 1);
    // Later the same day: asked; No adds nothing.
    Answer({IDNO});
    EXPECT_EQ(db_->SellItemNow(ann->m_nCode, 7, NO_CODE, lesson, 0, monday + 0.25), 0);
    EXPECT_EQ(Boxes().back(), "This person has already purchased\nPrivate lesson\non this date.\nIs this a different purchase?");
    EXPECT_EQ(db_->GetItemList(TABLE_PURCHASE)->size(), 1u);
    // Another day, or another teacher: not asked.
    const size_t asked = Boxes().size();
    EXPECT_EQ(db_->SellItemNow(ann->m_nCode, 7, NO_CODE, lesson, 0, monday + 1.0), 1);
    EXPECT_EQ(db_->SellItemNow(ann->m_nCode, 8, NO_CODE, lesson, 0, monday), 1);
    EXPECT_EQ(Boxes().size(), asked);
    // Without the payment dialog the payment is due, not received.
    EXPECT_EQ(LastPurchase(*db_)->m_Payments[0]->m_cKind, 'U');
}

// A sale of one lesson on 2 March 2026 with teacher 7, as the desk makes it.
CPurchaseRecord LessonSale(uint32_t person)
{
    CPurchaseRecord sale;
    sale.m_nStatus = CPurchaseRecord::STATUS_ACTIVE;
    sale.m_nPerson = person;
    sale.m_dPrice = 50.0;
    sale.m_cPricing = 'T';
    sale.m_sDescription = "Private lesson";
    auto item = std::make_unique<CPurchaseItem>();
    item->m_nPriceListCode = 1;
    auto token = std::make_unique<CScheduleToken>();
    token->m_cState = 'U';
    token->m_dDate = MakeDate(2026, 3, 2, 10, 0);
    token->m_nField8 = 7;
    item->m_Tokens.push_back(std::move(token));
    sale.m_Items.push_back(std::move(item));
    return sale;
}

// Saves the record of `code` for another person, as an edit at the desk does.
template <class Record>
void SaveWithPerson(CDatabase& db, uint8_t table, uint32_t code, uint32_t person)
{
    Record copy;
    copy.CopyFrom(*static_cast<const Record*>(db.GetItem(table, code)));
    copy.m_nPerson = person;
    EXPECT_EQ(db.SaveModifiedItem(table, code, &copy), 1);
}

// The codes of the purchases `sale` repeats: by the database's look-up and by reading every purchase.
std::pair<std::vector<uint32_t>, std::vector<uint32_t>> RepeatCodes(CDatabase& db, const CPurchaseRecord& sale)
{
    std::pair<std::vector<uint32_t>, std::vector<uint32_t>> codes;
    for (const CPurchaseRecord* p : db.FindRepeatSales(sale)) codes.first.push_back(p->m_nCode);
    for (const stIndex& e : *db.GetItemList(TABLE_PURCHASE))
        if (db.IsRepeatSale(*static_cast<const CPurchaseRecord*>(e.pItem), sale)) codes.second.push_back(e.nCode);
    return codes;
}

// The repeat look-up reads only the purchaser's purchases: it follows adds (appended and inserted),
// a purchase moved to another person, deletes, and another copy's changes read on its notices.
TEST_F(MoneyTest, RepeatSalesFollowTheTableAndAnotherCopy)
{
    const uint32_t ann = AddStudent("Lee", "Ann")->m_nCode;
    const uint32_t bob = AddStudent("Ray", "Bob")->m_nCode;
    auto store = [](CDatabase& db, uint32_t person, uint32_t insertLoc = LOC_NONE) {
        CPurchaseRecord sale = LessonSale(person);
        EXPECT_EQ(db.AddTableItem(TABLE_PURCHASE, insertLoc, &sale, 0, 0, nullptr), 1);
        return db.m_nLastSavedCode;
    };
    auto setPerson = [](CDatabase& db, uint32_t code, uint32_t person) {
        SaveWithPerson<CPurchaseRecord>(db, TABLE_PURCHASE, code, person);
    };
    using Codes = std::vector<uint32_t>;
    // Asked in the order given: the person who gained a purchase first, before a look-up for the
    // one who lost it could find the change.
    auto expect = [&](const char* step, std::vector<std::pair<uint32_t, Codes>> persons) {
        for (const auto& [person, codes] : persons) {
            const auto [found, read] = RepeatCodes(*db_, LessonSale(person));
            EXPECT_EQ(found, codes) << step << ", person " << person;
            EXPECT_EQ(read, codes) << step << ", person " << person;
        }
    };

    const uint32_t a1 = store(*db_, ann), b1 = store(*db_, bob), a2 = store(*db_, ann);
    expect("added", {{ann, {a1, a2}}, {bob, {b1}}});
    const uint32_t a3 = store(*db_, ann, 0);
    expect("inserted first", {{ann, {a3, a1, a2}}, {bob, {b1}}});
    setPerson(*db_, a1, bob);
    expect("moved to another person", {{bob, {a1, b1}}, {ann, {a3, a2}}});
    ASSERT_EQ(db_->DeleteTableItem(TABLE_PURCHASE, a3, 0), 1);
    expect("deleted", {{ann, {a2}}, {bob, {a1, b1}}});

    // Another copy on the file adds one, moves one and deletes one; this copy reads its notices.
    CDatabase other;
    OpenCopy(other);
    ASSERT_FALSE(HasFatalFailure());
    const uint32_t o1 = store(other, ann);
    setPerson(other, b1, ann);
    ASSERT_EQ(other.DeleteTableItem(TABLE_PURCHASE, a2, 0), 1);
    other.CloseDB();
    db_->m_aRefreshFlags = {{0, LOCK_KIND_HEADER, 0xFFFFFFFF}, {0, TABLE_PURCHASE, o1}, {0, TABLE_PURCHASE, b1},
                            {0, TABLE_PURCHASE, a2}};
    ASSERT_TRUE(db_->DoRefresh(nullptr));
    expect("another copy's changes", {{ann, {b1, o1}}, {bob, {a1}}});
    db_->RefreshTable(TABLE_PURCHASE, 0xFFFFFFFF);
    expect("table read again", {{ann, {b1, o1}}, {bob, {a1}}});
    Reopen();
    expect("reopened", {{ann, {b1, o1}}, {bob, {a1}}});
}

// A person's payments are found without reading the table: the look-up follows adds, a payment
// moved to another person, deletes, and another copy's changes read on its notices.
TEST_F(MoneyTest, PaymentsOfAPersonFollowTheTableAndAnotherCopy)
{
    const uint32_t ann = AddStudent("Lee", "Ann")->m_nCode;
    const uint32_t bob = AddStudent("Ray", "Bob")->m_nCode;
    auto store = [](CDatabase& db, uint32_t person) {
        CPaymentRecord payment;
        payment.m_cType = 'R';
        payment.m_cReceived = 'R';
        payment.m_dAmount = 20.0;
        payment.m_nPerson = person;
        EXPECT_EQ(db.AddTableItem(TABLE_PAYMENT, LOC_NONE, &payment, 0, 0, nullptr), 1);
        return db.m_nLastSavedCode;
    };
    auto setPerson = [](CDatabase& db, uint32_t code, uint32_t person) {
        SaveWithPerson<CPaymentRecord>(db, TABLE_PAYMENT, code, person);
    };
    auto expect = [&](const char* step, std::vector<std::pair<uint32_t, std::vector<uint32_t>>> persons) {
        const std::vector<stIndex>& index = *db_->GetItemList(TABLE_PAYMENT);
        for (const auto& [person, codes] : persons) {
            std::vector<uint32_t> found, read;
            for (size_t at : db_->FindPaymentsOf(person)) found.push_back(index[at].nCode);
            for (const stIndex& e : index)
                if (static_cast<const CPaymentRecord*>(e.pItem)->m_nPerson == person) read.push_back(e.nCode);
            EXPECT_EQ(found, codes) << step << ", person " << person;
            EXPECT_EQ(read, codes) << step << ", person " << person;
        }
    };

    const uint32_t a1 = store(*db_, ann), b1 = store(*db_, bob), a2 = store(*db_, ann);
    expect("added", {{ann, {a1, a2}}, {bob, {b1}}});
    setPerson(*db_, a1, bob);
    expect("moved to another person", {{bob, {a1, b1}}, {ann, {a2}}});
    ASSERT_EQ(db_->DeleteTableItem(TABLE_PAYMENT, b1, 0), 1);
    expect("deleted", {{bob, {a1}}, {ann, {a2}}});

    CDatabase other;
    OpenCopy(other);
    ASSERT_FALSE(HasFatalFailure());
    const uint32_t o1 = store(other, bob);
    setPerson(other, a2, bob);
    other.CloseDB();
    db_->m_aRefreshFlags = {{0, LOCK_KIND_HEADER, 0xFFFFFFFF}, {0, TABLE_PAYMENT, o1}, {0, TABLE_PAYMENT, a2}};
    ASSERT_TRUE(db_->DoRefresh(nullptr));
    expect("another copy's changes", {{bob, {a1, a2, o1}}, {ann, {}}});
}

TEST_F(MoneyTest, ReceiptCounterOnlyRises)
{
    struct Case {
        const char* what;
        uint32_t counter;  // before
        uint32_t wanted, offered;
        uint32_t kept, after;
    } cases[] = {
        {"new payment takes the offer", 41, 42, 42, 42, 42},
        {"offer taken by another desk meanwhile", 42, 42, 42, 43, 43},
        {"old payment set lower keeps its number", 41, 12, 0, 12, 41},
        {"a higher number raises the counter", 41, 50, 0, 50, 50},
    };
    for (const Case& c : cases) {
        db_->m_Parameters.SetUInt(param::kNextInvoiceNumber, c.counter);
        ASSERT_EQ(db_->SaveVarRecord(), 1);
        EXPECT_EQ(db_->ConfirmReceiptNumber(c.wanted, c.offered), c.kept) << c.what;
        EXPECT_EQ(db_->GetLastReceiptNumber(), c.after) << c.what;
    }
    Reopen();
    EXPECT_EQ(db_->GetLastReceiptNumber(), 50u);
}

TEST_F(MoneyTest, PaymentDialogOffersTheNextReceiptNumber)
{
    db_->m_Parameters.SetUInt(param::kNextInvoiceNumber, 41);
    CSchedulePayment payment;
    payment.m_cKind = 'S';
    payment.m_dAmount = 25.0;
    payment.m_sDescription = "Lessons";
    CPurchaseRecord purchase;
    CDialogEditScheduledPayment dialog(db_.get());
    dialog.m_pPayment = &payment;
    dialog.m_pPurchase = &purchase;
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kReceipt), "42");
        EXPECT_FALSE(d.GetDlgItem(kApplyCredit)->IsWindowVisible());
        EXPECT_FALSE(d.GetDlgItem(1372)->IsWindowEnabled()) << "no receipt document yet";
        ui::test::Click(d, 1129);  // Paid
        ui::test::Click(d, kOk);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(payment.m_cKind, 'R');
    EXPECT_EQ(payment.m_nReference, 42u);
    EXPECT_EQ(db_->GetLastReceiptNumber(), 42u);
}

TEST_F(MoneyTest, ScheduledPaymentChecksAndCancel)
{
    FixClock(2026, 3, 2, 10, 0);
    CSchedulePayment payment;
    payment.m_cKind = 'S';
    payment.m_dAmount = 25.0;
    payment.m_sDescription = "Lessons";
    payment.m_nReference = 7;
    CPurchaseRecord purchase;
    CSchedulePayment before;
    before.CopyFrom(payment);
    struct Case {
        const char* forText;
        const char* amount;
        const char* date;  // empty: leave
        const char* message;
    } cases[] = {
        {"", "25", "", "No description of payment"},
        {"Lessons", "0", "", "Zero amount payment"},
        {"Lessons", "0.0009", "", "Zero amount payment"},
        {"Lessons", "25", "12/31/1969-10:00AM", "Invalid payment date."},
    };
    for (const Case& c : cases) {
        CDialogEditScheduledPayment dialog(db_.get());
        dialog.m_pPayment = &payment;
        dialog.m_pPurchase = &purchase;
        Answer({IDOK});
        Script([&](ui::Dialog& d) {
            ui::test::SetText(d, kFor, c.forText);
            ui::test::SetText(d, kAmount, c.amount);
            if (*c.date) static_cast<CDialogEditScheduledPayment&>(d).m_Date.SetValue(CDateTime::ParseText(c.date, 1));
            // Enter reaches the default button: the OK checks run and the dialog stays.
            d.HandleDialogKey(ui::VK_RETURN);
            EXPECT_FALSE(d.HasEnded()) << c.message;
            EXPECT_EQ(Boxes().back(), c.message);
            ui::test::Click(d, ui::IDCANCEL);
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(payment.IsEqual(before)) << "Cancel puts back what a failed check stored: " << c.message;
    }
    // OK without a change ends as Cancel and keeps the stamps.
    CDialogEditScheduledPayment dialog(db_.get());
    dialog.m_pPayment = &payment;
    dialog.m_pPurchase = &purchase;
    Script([](ui::Dialog& d) { ui::test::Click(d, kOk); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(payment.IsEqual(before));
}

TEST_F(MoneyTest, RefundNeverPassesWhatWasReceived)
{
    CPurchaseRecord purchase;
    auto add = [&](char kind, double amount) {
        auto p = std::make_unique<CSchedulePayment>();
        p->m_cKind = kind;
        p->m_dAmount = amount;
        p->m_sDescription = "Lessons";
        purchase.m_Payments.push_back(std::move(p));
        return purchase.m_Payments.back().get();
    };
    add('R', 100.0);
    add('F', 60.0);
    struct Case {
        const char* amount;
        bool accepted;
    } cases[] = {{"40", true}, {"40.01", false}};
    for (const Case& c : cases) {
        CSchedulePayment refund;
        refund.m_cKind = 'F';
        refund.m_sDescription = "Refund";
        refund.m_dAmount = 1.0;
        CDialogEditScheduledPayment dialog(db_.get());
        dialog.m_pPayment = &refund;
        dialog.m_pPurchase = &purchase;
        if (!c.accepted) Answer({IDOK});
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Refund information");
            EXPECT_EQ(d.GetDlgItemText(1367), "To");
            ui::test::SetText(d, kAmount, c.amount);
            ui::test::Click(d, kOk);
            if (!c.accepted) {
                EXPECT_EQ(Boxes().back(), "Refund greater than amount paid.");
                ui::test::Click(d, ui::IDCANCEL);
            }
        });
        EXPECT_EQ(dialog.DoModal(), c.accepted ? IDOK : IDCANCEL) << c.amount;
    }
    // Editing the existing refund of 60 (a working copy): it is not counted twice; 100 is the
    // limit.
    CSchedulePayment copy;
    copy.CopyFrom(*purchase.m_Payments[1]);
    CDialogEditScheduledPayment dialog(db_.get());
    dialog.m_pPayment = &copy;
    dialog.m_pPurchase = &purchase;
    Script([&](ui::Dialog& d) {
        ui::test::SetText(d, kAmount, "100");
        ui::test::Click(d, kOk);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST_F(MoneyTest, PaymentByStudioAmountsAndDates)
{
    struct Case {
        const char* amount;
        const char* date;
        const char* message;  // null: accepted
        DATE stored;
    } cases[] = {
        {"0.001", "00/00/0000", nullptr, 0.0},
        {"0.0009", "03/02/2026", "Zero amount payment", 0.0},
        {"-5", "03/02/2026", "Zero amount payment", 0.0},
        {"12.5", "12/31/1969", "Invalid payment date.", 0.0},
        {"12.5", "03/02/2026", nullptr, MakeDate(2026, 3, 2, 8, 0)},
    };
    for (const Case& c : cases) {
        CPaymentRecord payment;
        payment.m_sText = "Rent";
        payment.m_sMethodText = "101";
        CDialogPaymentEdit dialog(db_.get());
        dialog.m_pPayment = &payment;
        if (c.message) Answer({IDOK});
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Payment by studio");
            EXPECT_EQ(d.GetDlgItemText(1142), "To");
            ui::test::SetText(d, kAmount, c.amount);
            static_cast<CDialogPaymentEdit&>(d).m_Date.SetValue(CDateTime::ParseText(c.date, 0));
            ui::test::Click(d, kOk);
            if (c.message) {
                EXPECT_EQ(Boxes().back(), c.message);
                ui::test::Click(d, ui::IDCANCEL);
            }
        });
        EXPECT_EQ(dialog.DoModal(), c.message ? IDCANCEL : IDOK) << c.amount;
        if (!c.message) {
            EXPECT_DOUBLE_EQ(payment.m_dDate, c.stored);
        }
    }
}

TEST_F(MoneyTest, PrintCheckHandsTheDayAtEight)
{
    std::vector<stCheckData> printed;
    CDialogPaymentEdit::CheckPrinterSeam() = [&](CDatabase&, const stCheckData& c) { printed.push_back(c); };
    CPaymentRecord payment;
    payment.m_sName = "Landlord";
    payment.m_sText = "Rent";
    payment.m_dAmount = 900.0;
    payment.m_dDate = 0.0;
    CDialogPaymentEdit dialog(db_.get());
    dialog.m_pPayment = &payment;
    Script([](ui::Dialog& d) {
        ui::test::Click(d, 1150);
        ui::test::Click(d, ui::IDCANCEL);
    });
    dialog.DoModal();
    CDialogPaymentEdit::CheckPrinterSeam() = nullptr;
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_DOUBLE_EQ(printed[0].dDate, 8.0 / 24.0);
    EXPECT_EQ(printed[0].sPayee, "Landlord");
    EXPECT_DOUBLE_EQ(printed[0].dAmount, 900.0);
    EXPECT_EQ(printed[0].sMemo, "Rent");
}

// An interface that records which editor each request reached, and answers Cancel.
class RecordingUi : public IDatabaseUi {
public:
    int EditItemDialog(CDatabase&, uint8_t table, void*, int, const stDataToken* context) override
    {
        calls.push_back({table, context ? context->type : char(0)});
        return 2;
    }
    // A lesson's status ('T' of a purchase) has a dialog of its own.
    int EditTokenStatus(CDatabase&, CScheduleToken&, const std::string&, const stDataToken* where) override
    {
        calls.push_back({TABLE_PURCHASE, where ? where->type : char(0)});
        return 2;
    }
    int EditScheduledPayment(CDatabase&, stPaymentEditRequest& request) override
    {
        calls.push_back({TABLE_PURCHASE, 'p'});
        if (edit) edit(request);
        return edit ? IDOK : IDCANCEL;
    }
    int32_t SelectOne(const std::string& title, const std::vector<std::pair<uint32_t, std::string>>& items) override
    {
        titles.push_back(title);
        offered = items;
        return pick;
    }
    std::vector<std::pair<uint8_t, char>> calls;
    std::vector<std::string> titles;
    std::vector<std::pair<uint32_t, std::string>> offered;
    int32_t pick = -1;
    std::function<void(stPaymentEditRequest&)> edit;
};

TEST_F(MoneyTest, ScheduleEntryKindsReachTheirEditors)
{
    RecordingUi ui;
    db_->SetUi(&ui);
    CPerson* ann = AddStudent("Lee", "Ann");
    ann->m_Interviews.push_back(std::make_unique<CInterview>());
    // Stored: the editor edits what the file holds.
    ASSERT_EQ(db_->SaveModifiedItem(TABLE_PERSON, ann->m_nCode, ann), 1);
    auto purchase = std::make_unique<CPurchaseRecord>();
    auto due = std::make_unique<CSchedulePayment>();
    due->m_cKind = 'S';
    purchase->m_Payments.push_back(std::move(due));
    auto lessons = std::make_unique<CPurchaseItem>();
    lessons->m_cKind = 'p';
    lessons->m_Tokens.push_back(std::make_unique<CScheduleToken>());
    lessons->m_Tokens[0]->m_cKind = 'p';
    purchase->m_Items.push_back(std::move(lessons));
    CPurchaseRecord* sale = Add(TABLE_PURCHASE, std::move(purchase));
    auto sched = std::make_unique<CScheduleRecord>();
    CScheduleRecord* item = Add(TABLE_SCHEDULE, std::move(sched));
    CPriceListItem* cls = AddItem("Class", 10.0, 'p');
    auto pay = std::make_unique<CPaymentRecord>();
    CPaymentRecord* payment = Add(TABLE_PAYMENT, std::move(pay));
    struct Case {
        char kind;
        void* record;
        uint8_t table;
        char context;
    } cases[] = {
        {'S', item, TABLE_SCHEDULE, 0}, {'s', item, TABLE_SCHEDULE, 0}, {'T', sale, TABLE_PURCHASE, 'T'},
        {'p', sale, TABLE_PURCHASE, 'p'}, {'$', cls, TABLE_PRICELIST, '$'}, {'P', payment, TABLE_PAYMENT, 0},
        // A person's dates: the contact record (on a copy) in the contact editor.
        {'D', ann, TABLE_PERSON, 'I'}, {'N', ann, TABLE_PERSON, 'I'},
    };
    for (const Case& c : cases) {
        ui.calls.clear();
        stDataToken entry = MakeDataToken(c.kind, 0.0, c.record, 0, 0);
        EXPECT_EQ(db_->EditScheduleEntry(&entry), 2) << c.kind;
        ASSERT_EQ(ui.calls.size(), 1u) << c.kind;
        EXPECT_EQ(ui.calls[0].first, c.table) << c.kind;
        EXPECT_EQ(ui.calls[0].second, c.context) << c.kind;
    }
    stDataToken other = MakeDataToken('Z', 0.0, ann);
    EXPECT_EQ(db_->EditScheduleEntry(&other), 2);
    db_->SetUi(nullptr);
}

TEST_F(MoneyTest, RecordPaymentOpensTheOnlyOpenPaymentAndCancelChangesNothing)
{
    RecordingUi ui;
    db_->SetUi(&ui);
    CPerson* ann = AddStudent("Lee", "Ann");
    auto make = [&](double price, double received) {
        auto p = std::make_unique<CPurchaseRecord>();
        p->m_nPerson = ann->m_nCode;
        p->m_sDescription = "Bronze";
        p->m_cPricing = 'P';
        p->m_dPrice = price;
        auto r = std::make_unique<CSchedulePayment>();
        r->m_cKind = 'R';
        r->m_dAmount = received;
        p->m_Payments.push_back(std::move(r));
        auto u = std::make_unique<CSchedulePayment>();
        u->m_cKind = 'U';
        u->m_dAmount = price - received;
        u->m_dDate = 46000.0;
        p->m_Payments.push_back(std::move(u));
        return Add(TABLE_PURCHASE, std::move(p));
    };
    CPurchaseRecord* open = make(300.0, 100.0);
    make(200.0, 200.0);  // balance 0.00: not offered
    CPurchaseRecord kept;
    kept.CopyFrom(*open);
    ui.pick = static_cast<int32_t>(kept.m_nCode);
    db_->RecordPayment();
    ASSERT_EQ(ui.titles.size(), 1u) << "the one open payment is taken without asking";
    EXPECT_EQ(ui.titles[0], "Select item");
    ASSERT_EQ(ui.offered.size(), 4u);
    EXPECT_EQ(ui.offered[3].second, "By Ann Lee for Bronze");
    ASSERT_EQ(ui.calls.size(), 1u);
    const auto* inMemory = static_cast<const CPurchaseRecord*>(db_->GetItem(TABLE_PURCHASE, kept.m_nCode));
    ASSERT_NE(inMemory, nullptr);
    EXPECT_TRUE(inMemory->IsEqual(kept)) << "Cancel leaves memory as it was";
    Reopen();
    const auto* stored = static_cast<const CPurchaseRecord*>(db_->GetItem(TABLE_PURCHASE, kept.m_nCode));
    ASSERT_NE(stored, nullptr);
    EXPECT_TRUE(stored->IsEqual(kept)) << "memory and file agree after Cancel";
    EXPECT_DOUBLE_EQ(stored->m_Payments[1]->m_dDate, 46000.0);
    // OK stores the edited payment.
    db_->SetUi(&ui);
    ui.pick = static_cast<int32_t>(kept.m_nCode);
    ui.edit = [](stPaymentEditRequest& r) {
        r.payment->m_cKind = 'R';
        r.payment->m_nReference = 9;
    };
    db_->RecordPayment();
    Reopen();
    stored = static_cast<const CPurchaseRecord*>(db_->GetItem(TABLE_PURCHASE, kept.m_nCode));
    EXPECT_EQ(stored->m_Payments[1]->m_cKind, 'R');
    EXPECT_EQ(stored->m_Payments[1]->m_nReference, 9u);
}

TEST_F(MoneyTest, CategoryListByTypeAndBlock)
{
    AddCategory("Sales tax", 'T', 'I');
    AddCategory("Rent", 'T', 'E');
    AddCategory("Waltz", 'B', 'P');
    struct Case {
        char type, block;
        std::vector<std::string> lines;
        bool add;
    } cases[] = {
        {0, 0, {"Basic dance item: Waltz [Code 3]", "Tax category: Rent [Code 2]", "Tax category: Sales tax [Code 1]"}, false},
        {'T', 0, {"Rent [Code 2]", "Sales tax [Code 1]"}, true},
        {'T', 'E', {"Rent [Code 2]"}, true},
    };
    for (const Case& c : cases) {
        CDialogCategoryList dialog(db_.get());
        dialog.m_cType = c.type;
        dialog.m_cBlock = c.block;
        Script([&](ui::Dialog& d) {
            ui::ListBox* list = d.List(1009);
            std::vector<std::string> lines;
            for (int i = 0; i < list->GetCount(); ++i) lines.push_back(list->GetText(i));
            EXPECT_EQ(lines, c.lines);
            EXPECT_EQ(d.GetDlgItem(1012)->IsWindowVisible(), c.add);
            ui::test::Click(d, ui::IDOK);
        });
        dialog.DoModal();
    }
    // Edit without a selection.
    CDialogCategoryList dialog(db_.get());
    dialog.m_cType = 'T';
    Answer({IDOK});
    Script([](ui::Dialog& d) {
        ui::test::Click(d, 1017);
        EXPECT_EQ(Boxes().back(), "No Category selected");
        ui::test::Click(d, ui::IDOK);
    });
    dialog.DoModal();
}

TEST_F(MoneyTest, AddedAccountCategoryKeepsItsCodesAndFlags)
{
    const uint32_t bank = AddCategory("Bank", 'A')->m_nCode;
    const uint32_t income = AddCategory("Income", 'A')->m_nCode;
    // Through the list's Add: the account dialog, with a transaction type but no account first.
    CDialogCategoryList dialog(db_.get());
    dialog.m_cType = 'A';
    Script([](ui::Dialog& d) {
        ui::test::Click(d, 1012);
        ui::test::Click(d, ui::IDOK);
    });
    Answer({IDOK});
    Script([&](ui::Dialog& d) {
        ui::test::SetText(d, 1019, "Lessons");
        ui::ComboBox* type = d.Combo(1446);
        ui::test::SelectItem(d, 1446, type->FindStringExact(-1, "DEPOSIT"));
        ui::test::Click(d, ui::IDOK);
        ASSERT_FALSE(Boxes().empty());
        EXPECT_EQ(Boxes().back(),
                  "You have specified a QuickBooks transaction type but not a transaction account.\nYou must select a "
                  "transaction account if you specify a transaction type.");
        ui::test::SelectItem(d, 1455, d.Combo(1455)->FindStringExact(-1, "Bank"));
        ui::test::SelectItem(d, 1448, d.Combo(1448)->FindStringExact(-1, "Income"));
        ui::test::Click(d, 1451);
        ui::test::Click(d, 1454);
        ui::test::Click(d, ui::IDOK);
    });
    dialog.DoModal();
    Reopen();
    std::vector<CCategory*> accounts;
    db_->CollectCategoriesByType('A', accounts);
    ASSERT_EQ(accounts.size(), 3u);
    uint8_t type = 0;
    uint32_t transaction = 0, distribution = 0;
    std::array<int, 5> flags{};
    GetCategoryAccountParams(*accounts[2], type, transaction, distribution, flags);
    EXPECT_EQ(accounts[2]->m_sName, "Lessons");
    EXPECT_EQ(type, 11);
    EXPECT_EQ(transaction, bank);
    EXPECT_EQ(distribution, income);
    EXPECT_EQ(flags, (std::array<int, 5>{0, 0, 1, 0, 1}));
}

TEST_F(MoneyTest, DefaultAccountsAreSeenAfterReopenAndDeletedOnesShowNone)
{
    const uint32_t bank = AddCategory("Bank", 'A')->m_nCode;
    db_->m_Parameters.SetUInt(param::kAccountRefunds, 99);  // a deleted category
    Script([&](ui::Dialog& d) {
        EXPECT_EQ(d.Combo(1150)->GetLBText(d.Combo(1150)->GetCurSel()), "<None>");
        ui::test::SelectItem(d, 1445, d.Combo(1445)->FindStringExact(-1, "Bank"));
        ui::test::Click(d, 1000);
    });
    db_->ShowDefaultAccountsDialog();
    Reopen();
    EXPECT_EQ(db_->m_Parameters.GetUInt(param::kAccountPayments), bank);
    EXPECT_EQ(db_->m_Parameters.GetUInt(param::kAccountRefunds), NO_CODE);
}

TEST_F(MoneyTest, PackageCutCopyPasteAndMoveReachTheFile)
{
    auto pack = [&](const std::string& name) {
        auto p = std::make_unique<CPackageRecord>();
        p->m_sName = name;
        p->m_nSequence = static_cast<int32_t>(db_->GetItemList(TABLE_PACKAGE)->size());
        return Add(TABLE_PACKAGE, std::move(p));
    };
    pack("Bronze");
    pack("Silver");
    pack("Gold");
    auto names = [&]() {
        std::vector<std::string> out;
        for (const stIndex& e : *db_->GetItemList(TABLE_PACKAGE))
            out.push_back(static_cast<const CPackageRecord*>(e.pItem)->m_sName);
        return out;
    };
    CDialogPackageList dialog(db_.get());
    Answer({IDOK, IDOK, IDYES, IDOK});
    Script([&](ui::Dialog& d) {
        ui::test::Click(d, 1308);
        EXPECT_EQ(Boxes().back(), "Copy buffer empty");
        ui::test::SelectItem(d, 1303, 0);
        ui::test::Click(d, 1099);
        EXPECT_EQ(Boxes().back(), "Can't move first item up");
        ui::test::Click(d, 1104);  // Bronze below Silver
        ui::test::SelectItem(d, 1303, 2);
        ui::test::Click(d, 1306);  // cut Gold (asked)
        ui::test::SelectItem(d, 1303, 0);
        ui::test::Click(d, 1308);  // pasted before Silver
        ui::test::SelectItem(d, 1303, 2);
        ui::test::Click(d, 1104);
        EXPECT_EQ(Boxes().back(), "Can't move last item down");
        ui::test::Click(d, 1000);
    });
    dialog.DoModal();
    Reopen();
    EXPECT_EQ(names(), (std::vector<std::string>{"Gold", "Silver", "Bronze"}));
}

}  // namespace

namespace {

TEST_F(MoneyTest, EditPriceListOpensThePriceListFromThePackage)
{
    CPackageRecord package;
    package.m_sName = "Bronze";
    CDialogPackageEdit dialog(db_.get());
    dialog.m_pPackage = &package;
    Script([](ui::Dialog& d) {
        ui::test::Click(d, 1310);
        d.EndDialog(IDCANCEL);
    });
    Script([](ui::Dialog& d) { d.EndDialog(IDCANCEL); });
    const size_t before = ui::test::GetHooks().dialogsRun.size();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    const std::vector<int>& run = ui::test::GetHooks().dialogsRun;
    ASSERT_EQ(run.size(), before + 2);
    EXPECT_EQ(run[before + 1], 232) << "the price list runs over the package dialog";
}

TEST_F(MoneyTest, CodesMissingFromTheListsAreShownAndKept)
{
    const uint32_t teacher = Add(TABLE_PERSON, std::make_unique<CPerson>('E'))->m_nCode;
    AddCategory("Bank", 'A');
    CPaymentRecord payment;
    payment.m_sText = "Rent";
    payment.m_dAmount = 10.0;
    payment.m_nField15 = 99;  // a deleted account
    payment.m_nField14 = 98;  // a deleted tax category
    CDialogPaymentEdit byStudio(db_.get());
    byStudio.m_pPayment = &payment;
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.Combo(1147)->GetLBText(d.Combo(1147)->GetCurSel()), "[Code 99]");
        ui::test::SetText(d, kAmount, "11");
        ui::test::Click(d, kOk);
    });
    EXPECT_EQ(byStudio.DoModal(), IDOK);
    EXPECT_EQ(payment.m_nField15, 99u);
    EXPECT_EQ(payment.m_nField14, 98u);

    // A payer who is not among the students (a teacher) stays the payer.
    CSchedulePayment due;
    due.m_cKind = 'S';
    due.m_sDescription = "Lessons";
    due.m_dAmount = 25.0;
    due.m_nPayer = teacher;
    due.m_nReference = 3;
    CPurchaseRecord purchase;
    CDialogEditScheduledPayment scheduled(db_.get());
    scheduled.m_pPayment = &due;
    scheduled.m_pPurchase = &purchase;
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, kAmount, "30");
        ui::test::Click(d, kOk);
    });
    EXPECT_EQ(scheduled.DoModal(), IDOK);
    EXPECT_EQ(due.m_nPayer, teacher);
    EXPECT_DOUBLE_EQ(due.m_dAmount, 30.0);
}

}  // namespace

namespace {

class CartUi : public IDatabaseUi {
public:
    bool RunShoppingCart(CDatabase&, stShoppingCart& c) override
    {
        c = cart;
        return answer;
    }
    bool AskDate(CDatabase&, DATE& date) override
    {
        asked = date;
        date = chosen;
        return answer;
    }
    stShoppingCart cart;
    bool answer = true;
    DATE asked = -1.0, chosen = 0.0;
};

TEST_F(MoneyTest, CartCheckoutMakesTokensAndOnePayment)
{
    CartUi ui;
    db_->SetUi(&ui);
    CPerson* ann = AddStudent("Lee", "Ann");
    CPriceListItem* classes = AddItem("Tango class", 60.0, 'p');
    classes->m_nNumber = 5;
    classes->m_Dates = {MakeDate(2026, 3, 2, 19, 0), MakeDate(2026, 3, 9, 19, 0)};
    CPriceListItem* shoes = AddItem("Shoes", 40.0, 'm');
    ui.cart.nPerson = ann->m_nCode;
    ui.cart.aItems = {classes->m_nCode, shoes->m_nCode};
    ui.cart.dTotal = 100.0;
    ui.cart.cType = 'R';
    ui.cart.cMethod = 'C';
    ui.cart.sMethodText = "1001";
    ui.cart.nReceipt = 17;
    ui.cart.dDate = MakeDate(2026, 3, 1, 12, 0);
    ASSERT_EQ(db_->CheckoutShoppingCart(), 1);
    const CPurchaseRecord* sale = LastPurchase(*db_);
    ASSERT_NE(sale, nullptr);
    EXPECT_EQ(sale->m_sDescription, "Shopping cart");
    ASSERT_EQ(sale->m_Items.size(), 2u);
    std::string states;
    for (const auto& t : sale->m_Items[0]->m_Tokens) states += t->m_cState;
    EXPECT_EQ(states, "SSNNN");
    EXPECT_DOUBLE_EQ(sale->m_Items[0]->m_Tokens[1]->m_dDate, MakeDate(2026, 3, 9, 19, 0));
    EXPECT_TRUE(sale->m_Items[1]->m_Tokens.empty());
    ASSERT_EQ(sale->m_Payments.size(), 1u);
    const CSchedulePayment& p = *sale->m_Payments[0];
    EXPECT_EQ(p.m_cKind, 'R');
    EXPECT_EQ(p.m_cMethod, 'C');
    EXPECT_EQ(p.m_sMethodText, "1001");
    EXPECT_DOUBLE_EQ(p.m_dAmount, 100.0);
    EXPECT_EQ(p.m_nReference, 17u);
    EXPECT_DOUBLE_EQ(p.m_dDate, MakeDate(2026, 3, 1, 12, 0));
    // Cancelled or empty: nothing.
    ui.answer = false;
    EXPECT_EQ(db_->CheckoutShoppingCart(), 2);
    ui.answer = true;
    ui.cart.aItems.clear();
    EXPECT_EQ(db_->CheckoutShoppingCart(), 2);
    EXPECT_EQ(db_->GetItemList(TABLE_PURCHASE)->size(), 1u);
    db_->SetUi(nullptr);
}

TEST_F(MoneyTest, BirthdayEntryAsksOnceAndStores)
{
    CartUi ui;
    db_->SetUi(&ui);
    CPerson* ann = AddStudent("Lee", "Ann");
    const uint32_t code = ann->m_nCode;
    ann->m_dBirthday = MakeDate(1990, 5, 4, 0, 0);
    ui.chosen = MakeDate(1990, 6, 4, 0, 0);
    stDataToken entry = MakeDataToken('B', 0.0, ann);
    EXPECT_EQ(db_->EditScheduleEntry(&entry), 1);
    EXPECT_DOUBLE_EQ(ui.asked, MakeDate(1990, 5, 4, 0, 0));
    db_->SetUi(nullptr);
    Reopen();
    EXPECT_DOUBLE_EQ(static_cast<const CPerson*>(db_->GetItem(TABLE_PERSON, code))->m_dBirthday,
                     MakeDate(1990, 6, 4, 0, 0));
}

TEST_F(MoneyTest, QuickCustomerEntryStoresTheShortForm)
{
    const stDataToken request = MakeDataToken('c', 0.0, nullptr);
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetWindowText(), "Person data");
        ui::test::SetText(d, 1023, "Lee");
        ui::test::SetText(d, 1024, "Ann");
        ui::test::SetText(d, 1038, "555-0101");
        d.HandleDialogKey(ui::VK_RETURN);
    });
    ASSERT_EQ(db_->AddTableItem(TABLE_PERSON, LOC_NONE, nullptr, 1, 0, &request), 1);
    const uint32_t code = db_->m_nLastSavedCode;
    Reopen();
    const CPerson* p = static_cast<const CPerson*>(db_->GetItem(TABLE_PERSON, code));
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->m_cType, 'C');
    EXPECT_EQ(p->m_sLastName, "Lee");
    EXPECT_EQ(p->m_sFirstName, "Ann");
    EXPECT_EQ(p->m_sPhone1, "555-0101");
}

}  // namespace
