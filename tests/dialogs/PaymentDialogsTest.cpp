// The payment received, refund and studio credit dialogs: their checks, stamps, receipt numbers,
// printing hand-overs, and the payment editor opening each by the record's type.

#include "tests/dialogs/MoneyFixture.h"

#include "dialogs/DialogEditScheduledPayment.h"
#include "dialogs/DialogPaymentEdit.h"
#include "dialogs/DialogReceivedPayment.h"
#include "dialogs/DialogRefund.h"
#include "dialogs/DialogShoppingCart.h"
#include "dialogs/DialogStudioCredit.h"
#include "platform/ui/ListBox.h"
#include "widgets/DateTimeControl.h"

#include <algorithm>

namespace {

constexpr int kAmount = 1136;
constexpr int kReceipt = 1371;
constexpr int kPrintReceipt = 1372;
constexpr int kPrintCheck = 1150;
constexpr int kOk = 1000;

class PaymentDialogsTest : public MoneyTest {};

// One OK on a dialog with `amount` and `date` typed; the message shown, empty when it closed.
struct stEntryCase {
    const char* amount;
    const char* date;  // null: left as it is
    const char* message;
};

TEST_F(PaymentDialogsTest, ReceivedPaymentAmountsAndDates)
{
    const stEntryCase cases[] = {
        {"0.0009", nullptr, "Zero amount payment"},
        {"0.001", nullptr, nullptr},
        {"-3", nullptr, "Zero amount payment"},
        {"20", "00/00/0000", nullptr},
        {"20", "12/31/1969", "Invalid payment date."},
        {"20", "01/01/1970", nullptr},
    };
    for (const stEntryCase& c : cases) {
        SCOPED_TRACE(c.amount + std::string(" ") + (c.date ? c.date : ""));
        CPaymentRecord payment;
        payment.m_cType = 'R';
        payment.m_sText = "Shoes";
        CDialogReceivedPayment dialog(db_.get());
        dialog.m_pPayment = &payment;
        if (c.message) Answer({IDOK});
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Non-contract payment/purchase");
            ui::test::SetText(d, kAmount, c.amount);
            if (c.date) static_cast<CDialogReceivedPayment&>(d).m_Date.SetValue(CDateTime::ParseText(c.date, 0));
            ui::test::Click(d, kOk);
            if (c.message) {
                EXPECT_EQ(Boxes().back(), c.message);
                ui::test::Click(d, ui::IDCANCEL);
            }
        });
        EXPECT_EQ(dialog.DoModal(), c.message ? IDCANCEL : IDOK);
    }
    CPaymentRecord empty;
    empty.m_cType = 'R';
    empty.m_dAmount = 5.0;
    CDialogReceivedPayment dialog(db_.get());
    dialog.m_pPayment = &empty;
    Answer({IDOK});
    Script([](ui::Dialog& d) {
        ui::test::Click(d, kOk);
        EXPECT_EQ(Boxes().back(), "No description of payment");
        ui::test::Click(d, ui::IDCANCEL);
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(PaymentDialogsTest, ReceivedPaymentTakesTheNextReceiptNumberAndUnchangedIsCancel)
{
    FixClock(2026, 3, 2, 10, 0);
    db_->m_Parameters.SetUInt(param::kNextInvoiceNumber, 41);
    CPaymentRecord payment;
    payment.m_cType = 'R';
    payment.m_sText = "Shoes";
    payment.m_dAmount = 40.0;
    CDialogReceivedPayment dialog(db_.get());
    dialog.m_pPayment = &payment;
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kReceipt), "42");
        ui::test::Click(d, kOk);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(payment.m_nReference, 42u);
    EXPECT_EQ(db_->GetLastReceiptNumber(), 42u);
    EXPECT_EQ(payment.m_cStamp2User, 1);

    // Nothing changed: ends as cancelled, the stamp stays.
    payment.m_cStamp2User = 7;
    payment.m_dStamp2Date = 100.0;
    CDialogReceivedPayment again(db_.get());
    again.m_pPayment = &payment;
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(kReceipt), "42");
        ui::test::Click(d, kOk);
    });
    EXPECT_EQ(again.DoModal(), IDCANCEL);
    EXPECT_EQ(payment.m_cStamp2User, 7);
    EXPECT_EQ(payment.m_dStamp2Date, 100.0);
    EXPECT_EQ(db_->GetLastReceiptNumber(), 42u);
}

TEST_F(PaymentDialogsTest, ReceiptIsPrintedWithOneLineEachTime)
{
    struct stPrinted {
        uint32_t person;
        std::string payer;
        std::vector<std::string> texts;
        std::vector<double> amounts;
        uint32_t number;
    };
    std::vector<stPrinted> printed;
    CPaymentRecord payment;
    payment.m_cType = 'R';
    payment.m_sName = "Walk-in";
    payment.m_sText = "Shoes";
    payment.m_dAmount = 40.0;
    payment.m_nReference = 9;
    {
        CDialogReceivedPayment dialog(db_.get());
        dialog.m_pPayment = &payment;
        Script([](ui::Dialog& d) {
            EXPECT_FALSE(d.GetDlgItem(kPrintReceipt)->IsWindowEnabled());
            ui::test::Click(d, ui::IDCANCEL);
        });
        dialog.DoModal();
    }
    CDialogReceivedPayment::ReceiptPrinterSeam() = [&](CDatabase&, uint32_t person, const std::string& payer,
                                                        const std::vector<std::string>& texts,
                                                        const std::vector<double>& amounts, uint32_t number) {
        printed.push_back({person, payer, texts, amounts, number});
    };
    CDialogReceivedPayment dialog(db_.get());
    dialog.m_pPayment = &payment;
    Script([](ui::Dialog& d) {
        ui::test::Click(d, kPrintReceipt);
        ui::test::Click(d, kPrintReceipt);
        ui::test::Click(d, ui::IDCANCEL);
    });
    dialog.DoModal();
    CDialogReceivedPayment::ReceiptPrinterSeam() = nullptr;
    ASSERT_EQ(printed.size(), 2u);
    for (const stPrinted& p : printed) {
        EXPECT_EQ(p.person, NO_CODE);
        EXPECT_EQ(p.payer, "Walk-in");
        EXPECT_EQ(p.texts, std::vector<std::string>{"Shoes"});
        EXPECT_EQ(p.amounts, std::vector<double>{40.0});
        EXPECT_EQ(p.number, 9u);
    }
}

TEST_F(PaymentDialogsTest, AddToDatabaseLinksThePaymentToTheNewPerson)
{
    CPaymentRecord payment;
    payment.m_cType = 'R';
    payment.m_sText = "Shoes";
    payment.m_dAmount = 40.0;
    payment.m_nReference = 3;
    CDialogReceivedPayment dialog(db_.get());
    dialog.m_pPayment = &payment;
    Script([](ui::Dialog& d) {
        ui::test::Click(d, 1406);
        EXPECT_FALSE(d.GetDlgItem(1143)->IsWindowEnabled());
        ui::test::Click(d, kOk);
    });
    Script([](ui::Dialog& d) {
        ui::test::SetText(d, 1023, "Lee");
        ui::test::SetText(d, 1024, "Ann");
        d.HandleDialogKey(ui::VK_RETURN);
    });
    ASSERT_EQ(dialog.DoModal(), IDOK);
    const uint32_t added = db_->m_nLastSavedCode;
    ASSERT_NE(added, NO_CODE);
    EXPECT_EQ(payment.m_nPerson, added);
    EXPECT_NE(payment.m_sName.find("Lee"), std::string::npos);
}

TEST_F(PaymentDialogsTest, RefundChecksAndPrintsACheque)
{
    const stEntryCase cases[] = {
        {"0.0009", nullptr, "Zero amount payment"},
        {"15", "12/31/1969", "Invalid refund date."},
        {"15", "03/02/2026", nullptr},
    };
    for (const stEntryCase& c : cases) {
        CPaymentRecord refund;
        refund.m_cType = 'q';
        refund.m_sText = "Cancelled class";
        CDialogRefund dialog(db_.get());
        dialog.m_pPayment = &refund;
        if (c.message) Answer({IDOK});
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Payment by studio");
            ui::test::SetText(d, kAmount, c.amount);
            if (c.date) static_cast<CDialogRefund&>(d).m_Date.SetValue(CDateTime::ParseText(c.date, 0));
            ui::test::Click(d, kOk);
            if (c.message) {
                EXPECT_EQ(Boxes().back(), c.message);
                ui::test::Click(d, ui::IDCANCEL);
            }
        });
        EXPECT_EQ(dialog.DoModal(), c.message ? IDCANCEL : IDOK) << c.amount;
        // Cancel after a refused OK puts back what the check had already stored.
        if (c.message) {
            EXPECT_DOUBLE_EQ(refund.m_dAmount, 0.0) << c.amount;
        }
    }

    // OK without a change still ends with OK, the stamp untouched.
    CPaymentRecord refund;
    refund.m_cType = 'q';
    refund.m_sName = "J. Doe";
    refund.m_sText = "Cancelled class";
    refund.m_dAmount = 60.0;
    refund.m_dDate = MakeDate(2026, 3, 2, 15, 30);
    refund.m_cStamp2User = 4;
    std::vector<stCheckData> cheques;
    CDialogPaymentEdit::CheckPrinterSeam() = [&](CDatabase&, const stCheckData& c) { cheques.push_back(c); };
    CDialogRefund dialog(db_.get());
    dialog.m_pPayment = &refund;
    Script([](ui::Dialog& d) {
        ui::test::Click(d, kPrintCheck);
        ui::test::Click(d, kOk);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    CDialogPaymentEdit::CheckPrinterSeam() = nullptr;
    EXPECT_EQ(refund.m_cStamp2User, 4);
    ASSERT_EQ(cheques.size(), 1u);
    EXPECT_DOUBLE_EQ(cheques[0].dDate, MakeDate(2026, 3, 2, 0, 0));
    EXPECT_EQ(cheques[0].sPayee, "J. Doe");
    EXPECT_DOUBLE_EQ(cheques[0].dAmount, 60.0);
    EXPECT_EQ(cheques[0].sMemo, "Refund");
}

TEST_F(PaymentDialogsTest, StudioCreditAmounts)
{
    const stEntryCase cases[] = {
        {"0.0005", nullptr, "Zero amount payment"},
        {"-10", nullptr, "Zero amount payment"},
        {"0.001", nullptr, nullptr},
    };
    for (const stEntryCase& c : cases) {
        CPaymentRecord credit;
        credit.m_cType = 'c';
        credit.m_sText = "Referral";
        CDialogStudioCredit dialog(db_.get(), &credit);
        if (c.message) Answer({IDOK});
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Create a credit");
            ui::test::SetText(d, kAmount, c.amount);
            ui::test::Click(d, kOk);
            if (c.message) {
                EXPECT_EQ(Boxes().back(), c.message);
                ui::test::Click(d, ui::IDCANCEL);
            }
        });
        EXPECT_EQ(dialog.DoModal(), c.message ? IDCANCEL : IDOK) << c.amount;
    }
    const CPerson* student = AddStudent("Lane", "Ada");
    CPaymentRecord credit;
    credit.m_cType = 'c';
    credit.m_nPerson = student->m_nCode;
    credit.m_sText = "Referral";
    credit.m_dAmount = 25.0;
    credit.m_cStamp2User = 3;
    credit.m_dStamp2Date = 50.0;
    CDialogStudioCredit dialog(db_.get(), &credit);
    Script([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1143).find("Ada") != std::string::npos, true);
        ui::test::Click(d, kOk);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(credit.m_cStamp2User, 3);
    EXPECT_EQ(credit.m_dStamp2Date, 50.0);
}

TEST_F(PaymentDialogsTest, PaymentEditorOpensTheDialogOfTheType)
{
    const struct {
        char type;
        const char* caption;
    } cases[] = {
        {'R', "Non-contract payment/purchase"},
        {'q', "Payment by studio"},
        {'c', "Create a credit"},
        {'P', "Payment by studio"},
    };
    for (const auto& c : cases) {
        CPaymentRecord payment;
        payment.m_cType = c.type;
        Script([&](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), c.caption) << c.type;
            ui::test::Click(d, ui::IDCANCEL);
        });
        EXPECT_EQ(db_->EditPaymentRecord(&payment, 0, nullptr), IDCANCEL);
    }
}

}  // namespace

namespace {

constexpr int kPriceList = 1373;
constexpr int kCart = 1374;

// Selects the price-list line that begins with `start` and moves it into the cart.
void SelectIntoCart(ui::Dialog& d, const std::string& start)
{
    ui::ListBox* list = d.List(kPriceList);
    ASSERT_NE(list, nullptr);
    for (int i = 0; i < list->GetCount(); ++i)
        if (list->GetText(i).rfind(start, 0) == 0) {
            ui::test::SelectItem(d, kPriceList, i);
            ui::test::Click(d, 1375);
            return;
        }
    ADD_FAILURE() << "no line " << start;
}

TEST_F(PaymentDialogsTest, CartNeedsAPurchaserAndCountsEachItemChosen)
{
    const CPerson* buyer = AddStudent("Lane", "Ada");
    AddItem("Shoes", 40.0, 0);
    AddItem("Group class", 15.0, 'N');
    AddItem("Ten percent", 10.0, 'D');
    CPriceListItem* packed = AddItem("Packed lesson", 30.0, 'p');
    packed->m_cPackageOnly = 1;
    db_->m_Parameters.SetUInt(param::kNextInvoiceNumber, 7);

    Answer({IDOK});
    Script([&](ui::Dialog& d) {
        ui::ListBox* prices = d.List(kPriceList);
        ASSERT_NE(prices, nullptr);
        std::vector<std::string> offered;
        for (int i = 0; i < prices->GetCount(); ++i) offered.push_back(prices->GetText(i));
        std::sort(offered.begin(), offered.end());
        EXPECT_EQ(offered, (std::vector<std::string>{"Group class [15.00]", "Shoes [40.00]"}));
        EXPECT_EQ(d.GetDlgItemText(1417), "Purchaser");
        EXPECT_EQ(d.GetDlgItemText(1371), "8");
        SelectIntoCart(d, "Shoes");
        SelectIntoCart(d, "Group class");
        SelectIntoCart(d, "Group class");
        EXPECT_EQ(d.List(kCart)->GetCount(), 3);
        // Out again: the shoes.
        ui::test::SelectItem(d, kCart, 0);
        ui::test::Click(d, 1014);
        EXPECT_EQ(d.List(kCart)->GetCount(), 2);
        ui::test::Click(d, kOk);
        EXPECT_EQ(Boxes().back(), "No purchaser name");
        static_cast<CDialogShoppingCart&>(d).m_nPerson = buyer->m_nCode;
        ui::test::Click(d, 1212);  // Check
        ui::test::SetText(d, 1134, "1001");
        ui::test::Click(d, kOk);
    });
    ASSERT_EQ(db_->CheckoutShoppingCart(), 1);
    const auto* list = db_->GetItemList(TABLE_PURCHASE);
    ASSERT_EQ(list->size(), 1u);
    const CPurchaseRecord* sale = static_cast<const CPurchaseRecord*>(list->back().pItem);
    EXPECT_EQ(sale->m_nPerson, buyer->m_nCode);
    ASSERT_EQ(sale->m_Items.size(), 2u);
    EXPECT_DOUBLE_EQ(sale->GetTotal(1), 30.0);
    ASSERT_EQ(sale->m_Payments.size(), 1u);
    EXPECT_EQ(sale->m_Payments[0]->m_cKind, 'R');
    EXPECT_EQ(sale->m_Payments[0]->m_cMethod, 'C');
    EXPECT_EQ(sale->m_Payments[0]->m_sMethodText, "1001");
    EXPECT_DOUBLE_EQ(sale->m_Payments[0]->m_dAmount, 30.0);
    EXPECT_EQ(sale->m_Payments[0]->m_nReference, 8u);
    EXPECT_EQ(db_->GetLastReceiptNumber(), 8u);
}

TEST_F(PaymentDialogsTest, EmptyCartWithAPurchaserIsAccepted)
{
    const CPerson* buyer = AddStudent("Lane", "Ada");
    CDialogShoppingCart dialog(db_.get());
    Script([&](ui::Dialog& d) {
        static_cast<CDialogShoppingCart&>(d).m_nPerson = buyer->m_nCode;
        ui::test::Click(d, kOk);
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_dTotal, 0.0);
    EXPECT_TRUE(dialog.m_aCodes.empty());
}

}  // namespace
