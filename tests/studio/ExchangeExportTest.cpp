// The IIF exports of persons and transactions, through their commands with the file and date
// dialogs and the boxes scripted, compared byte for byte with the files they must write.

#include "tests/studio/StudioFixture.h"

#include <fstream>
#include <sstream>

#include "platform/host/File.h"
#include "platform/ui/Dialog.h"
#include "widgets/DialogSetDateTime.h"

namespace {

std::string Tabs(int n) { return std::string(static_cast<size_t>(n), '\t'); }

// The first header line of every transaction file.
const std::string kTransactionHeader =
    "!TRNS\tTRNSTYPE\tDATE\tACCNT\tNAME\tAMOUNT\tDOCNUM\tMEMO\tCLEAR\tPAID\tPAYMETH\r\n";

class ExchangeExportTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        ui::test::GetHooks().scriptFileDialogs = true;
        path_ = folder_ + "/out.iif";
    }
    void TearDown() override
    {
        host::ClearInjectedFileErrors();
        StudioTest::TearDown();
    }
    // Answers the date dialog with `date` (0.0 cancels) and keeps the date it proposed.
    void AnswerDate(DATE date)
    {
        ui::test::GetHooks().dialogScripts.push_back([this, date](ui::Dialog& d) {
            proposed_ = d.GetDlgItemText(2042);
            if (date == 0.0) {
                ui::test::Click(d, ui::IDCANCEL);
                return;
            }
            static_cast<CDialogSetDateTime&>(d).m_DateEdit.SetValue(date);
            ui::test::Click(d, 1000);
        });
    }
    std::vector<std::string> Export(const std::function<void()>& command, DATE date,
                                    std::initializer_list<int> answers)
    {
        ui::test::Hooks& h = ui::test::GetHooks();
        h.fileDialogAnswers.push_back(path_);
        AnswerDate(date);
        for (int a : answers) h.messageBoxAnswers.push_back(a);
        h.messageBoxTexts.clear();
        command();
        return h.messageBoxTexts;
    }
    std::string Read() const
    {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream all;
        all << in.rdbuf();
        return all.str();
    }
    uint32_t AddPersonAt(char type, const std::string& first, const std::string& last, DATE updated,
                         const std::function<void(CPerson&)>& fill = {})
    {
        CPerson p(type);
        p.m_sFirstName = first;
        p.m_sLastName = last;
        p.m_dStamp2Date = updated;
        if (fill) fill(p);
        return Save(TABLE_PERSON, p);
    }
    uint32_t AddAccount(const std::string& name, uint8_t type, uint32_t transaction, uint32_t distribution,
                        std::array<int, 5> flags)
    {
        CCategory c('A');
        c.m_sName = name;
        SetCategoryAccountParams(c, type, transaction, distribution, flags);
        return Save(TABLE_CATEGORY, c);
    }
    // A payment of account `category`: its type, state, payer text, method, ID and memo.
    void AddPayment(char type, char received, DATE date, double amount, uint32_t category, uint32_t person,
                    const std::string& name, char method, const std::string& id, const std::string& memo)
    {
        CPaymentRecord p;
        p.m_cType = type;
        p.m_cReceived = received;
        p.m_dDate = date;
        p.m_dAmount = amount;
        p.m_nField15 = category;
        p.m_nPerson = person;
        p.m_sName = name;
        p.m_cMethod = method;
        p.m_sMethodText = id;
        p.m_sText = memo;
        Save(TABLE_PAYMENT, p);
    }
    // A received ('R') payment of that type, without name, ID or memo.
    void AddPaidPayment(char type, DATE date, double amount, uint32_t category, uint32_t person, char method)
    {
        AddPayment(type, 'R', date, amount, category, person, "", method, "", "");
    }
    std::string path_;
    std::string proposed_;
};

TEST_F(ExchangeExportTest, StudentsChangedSinceTheStartGoToACustomerFile)
{
    AddPersonAt('C', "Ann", "Alpha", D(2026, 3, 2), [](CPerson& p) {
        p.m_sAddress1 = "1 Elm";
        p.m_sCity = "Town";
        p.m_sState = "TX";
        p.m_sZip = "75001";
        p.m_sPhone1 = "555-1";
        p.m_sEmail = "a@x";
        p.m_Notes = {"a", "b\tc"};
    });
    AddPersonAt('C', "Bob", "Beta", D(2026, 3, 1), [](CPerson& p) {
        p.m_sState = "TX";
        p.m_sZip = "1";
    });
    AddPersonAt('C', "Old", "Timer", D(2026, 2, 28, 23, 59));
    AddPersonAt('E', "Eve", "Emp", D(2026, 3, 2));
    Reopen();
    EXPECT_EQ(Export([&] { db_->ExportPersonsIIF('C'); }, D(2026, 3, 1, 0, 0), {IDNO}),
              std::vector<std::string>{"2 persons exported.\nWould you like to view IIF file?"});
    EXPECT_EQ(Read(),
              "!CUST\tNAME\tBADDR1\tBADDR2\tBADDR3\tBADDR4\tBADDR5\tPHONE1\tPHONE2\tFAXNUM\tEMAIL\tNOTEPAD\tFIRSTNAME\t"
              "MIDINIT\tLASTNAME\r\n"
              "CUST\tAnn Alpha\t1 Elm\t\tTown, TX 75001\t\t\t555-1\t\t\ta@x\ta;b c;\tAnn\t\tAlpha\r\n"
              "CUST\tBob Beta\t\t\t\t\t\t\t\t\t\t\tBob\t\tBeta\r\n");
    // The next export proposes the moment of this one; Cancel there changes nothing.
    EXPECT_EQ(Export([&] { db_->ExportPersonsIIF('C'); }, 0.0, {}), std::vector<std::string>{});
    EXPECT_EQ(proposed_, "03/04/2026-10:00AM");
    Reopen();
    EXPECT_EQ(db_->m_Parameters.GetDouble(param::kLastExportTime2), D(2026, 3, 4, 10, 0));
    EXPECT_EQ(db_->m_Parameters.GetDouble(param::kLastExportTime1), 0.0) << "the employees' time is its own";
}

TEST_F(ExchangeExportTest, EmployeesGoToAnEmployeeFileWithInitials)
{
    AddPersonAt('E', "Eve", "Emp", D(2026, 3, 2), [](CPerson& p) {
        p.m_sAddress1 = "2 Oak";
        p.m_sCity = "Town";
        p.m_sState = "TX";
        p.m_sZip = "75001";
        p.m_sText9 = "123-45-6789";
    });
    AddPersonAt('E', "", "Solo", D(2026, 3, 2));
    Reopen();
    bool viewed = false;
    db_->m_fnShowSpreadsheet = [&](const std::string& file) { viewed = file == path_; };
    EXPECT_EQ(Export([&] { db_->ExportPersonsIIF('E'); }, D(2026, 3, 1, 0, 0), {IDYES}),
              std::vector<std::string>{"2 persons exported.\nWould you like to view IIF file?"});
    EXPECT_TRUE(viewed);
    EXPECT_EQ(Read(),
              "!EMP\tNAME\tINIT\tADDR1\tADDR2\tADDR3\tADDR4\tADDR5\tCITY\tSTATE\tZIP\tSSNO\tPHONE1\tPHONE2\tFAXNUM\t"
              "EMAIL\tNOTEPAD\tFIRSTNAME\tMIDINIT\tLASTNAME\r\n"
              "EMP\tEve Emp\tEE\tEve Emp\t2 Oak\t\t\t\tTown\tTX\t75001\t123-45-6789\t\t\t\t\t\tEve\t\tEmp\r\n"
              "EMP\t Solo\tS\t Solo\t\t\t\t\t\t\t\t\t\t\t\t\t\t\t\tSolo\r\n");
    // Nobody changed since: the header alone, and the user is told.
    EXPECT_EQ(Export([&] { db_->ExportPersonsIIF('E'); }, D(2026, 3, 5, 0, 0), {IDOK}),
              std::vector<std::string>{"No persons exported."});
    EXPECT_EQ(Read().find("EMP\tEve"), std::string::npos);
}

TEST_F(ExchangeExportTest, PaidPaymentsBecomeTransactionsWithSplitsAndNameLists)
{
    const uint32_t checking = AddAccount("Checking", 0, NO_CODE, NO_CODE, {});
    const uint32_t tuition = AddAccount("Tuition", 0, NO_CODE, NO_CODE, {});
    const uint32_t deposits = AddAccount("Deposits", 11, checking, tuition, {0, 1, 0, 0, 0});
    const uint32_t sales = AddAccount("Cash sales", 6, checking, NO_CODE, {0, 0, 1, 0, 1});
    const uint32_t none = AddAccount("No type", 0, checking, NO_CODE, {});
    const uint32_t beyond = AddAccount("Beyond", 18, checking, NO_CODE, {});
    const uint32_t carl = AddPerson('C', "Carl", "Student");
    const uint32_t dana = AddPerson('C', "Dana", "Payer");
    AddPayment('R', 'R', D(2026, 3, 1), 50.0, deposits, carl, "", 'C', "1001", "Lessons");
    AddPayment('P', 'R', D(2026, 3, 2, 9, 0), 20.0, sales, NO_CODE, "Floor Wax Co", 'A', "", "Wax");
    AddPayment('c', 'R', D(2026, 3, 2), 5.0, sales, carl, "", 'A', "", "Credit");
    AddPayment('R', 'N', D(2026, 3, 2), 7.0, sales, carl, "", 'A', "", "Still due");
    AddPayment('R', 'R', D(2026, 2, 28, 23, 0), 9.0, sales, carl, "", 'A', "", "Before");
    AddPayment('R', 'R', D(2026, 3, 2), 11.0, none, carl, "", 'A', "", "No type");
    AddPayment('R', 'R', D(2026, 3, 2), 12.0, beyond, carl, "", 'A', "", "Beyond the list");
    AddPayment('q', 'R', D(2026, 3, 2, 12, 0), 12.5, sales, NO_CODE, "Refunded Rita", 'X', "", "Refund");
    CPurchaseRecord purchase;
    purchase.m_nPerson = carl;
    purchase.m_nPayer = dana;
    purchase.m_sDescription = "Bronze";
    auto scheduled = [&](char kind, DATE date, double amount) {
        auto p = std::make_unique<CSchedulePayment>();
        p->m_cKind = kind;
        p->m_cMethod = 'A';
        p->m_dDate = date;
        p->m_dAmount = amount;
        p->m_nCategory = sales;
        p->m_sDescription = "Bronze";
        purchase.m_Payments.push_back(std::move(p));
    };
    scheduled('R', D(2026, 3, 1), 30.0);
    scheduled('R', D(2026, 3, 3, 10, 0), 75.0);
    scheduled('S', D(2026, 3, 3, 11, 0), 80.0);
    Save(TABLE_PURCHASE, purchase);
    Reopen();
    EXPECT_EQ(Export([&] { db_->ExportTransactionsIIF(); }, D(2026, 3, 1, 15, 0), {IDNO}),
              std::vector<std::string>{"4 transactions exported.\nWould you like to view IIF file?"});
    const std::string end = "ENDTRNS" + Tabs(10) + "\r\n";
    EXPECT_EQ(Read(),
              kTransactionHeader +
              "!SPL\tTRNSTYPE\tDATE\tACCNT\tNAME\tAMOUNT\tDOCNUM\tMEMO\tCLEAR\t\t\r\n"
              "!ENDTRNS" + Tabs(10) + "\r\n"
              "!CUST\tNAME" + Tabs(9) + "\r\n"
              "CUST\tCarl Student" + Tabs(9) + "\r\n"
              "CUST\tRefunded Rita" + Tabs(9) + "\r\n"
              "CUST\tPayer, Dana" + Tabs(9) + "\r\n"
              "!VEND\tNAME" + Tabs(9) + "\r\n"
              "VEND\tFloor Wax Co" + Tabs(9) + "\r\n"
              "TRNS\tDEPOSIT\t03/01/26\tChecking\tCarl Student\t50.00\t1001\tLessons\tN\tY\tCheck\r\n"
              "SPL\tDEPOSIT\t03/01/26\tTuition\tCarl Student\t-50.00\t1001\tLessons\tN\t\t\r\n" + end +
              "TRNS\tCASH SALE\t03/02/26\tChecking\tFloor Wax Co\t20.00\t\tWax\tY\tY\tCash\r\n" + end +
              "TRNS\tCASH SALE\t03/02/26\tChecking\tRefunded Rita\t12.50\t\tRefund\tY\tY\t\r\n" + end +
              "TRNS\tCASH SALE\t03/03/26\tChecking\tPayer, Dana\t75.00\t\tBronze\tY\tY\tCash\r\n" + end);
    Reopen();
    EXPECT_EQ(db_->m_Parameters.GetDouble(param::kLastExportTime3), D(2026, 3, 4, 10, 0));

    // From the proposed day only what is dated on or after it; nothing here, so no file is written.
    std::remove(path_.c_str());
    EXPECT_EQ(Export([&] { db_->ExportTransactionsIIF(); }, D(2026, 3, 4, 10, 0), {IDOK}),
              std::vector<std::string>{"No transactions exported."});
    EXPECT_EQ(proposed_, "03/04/2026-10:00AM");
    EXPECT_FALSE(std::filesystem::exists(path_));
}

TEST_F(ExchangeExportTest, PayersAreNamedPerAccountOrderAndListedOncePerList)
{
    // Two accounts taken in turn, one naming payers last name first; one payer both paying and
    // paid; two persons of one name; a payment whose person is gone.
    const uint32_t checking = AddAccount("Checking", 0, NO_CODE, NO_CODE, {});
    const uint32_t fees = AddAccount("Fees", 11, checking, NO_CODE, {0, 0, 0, 0, 1});
    const uint32_t shop = AddAccount("Shop", 6, checking, NO_CODE, {0, 0, 1, 0, 0});
    const uint32_t ann = AddPerson('C', "Ann", "Lee");
    const uint32_t otherAnn = AddPerson('C', "Ann", "Lee");
    const uint32_t bob = AddPerson('C', "Bob", "Ray");
    auto pay = [&](char type, DATE date, double amount, uint32_t category, uint32_t person) {
        AddPaidPayment(type, date, amount, category, person, 'C');
    };
    pay('R', D(2026, 3, 1, 9, 0), 10.0, fees, ann);
    pay('P', D(2026, 3, 1, 9, 0), 20.0, shop, ann);
    pay('R', D(2026, 3, 2, 9, 0), 30.0, shop, otherAnn);
    pay('R', D(2026, 3, 2, 9, 0), 40.0, fees, otherAnn);
    pay('R', D(2026, 3, 3, 9, 0), 50.0, shop, 9999);
    pay('P', D(2026, 3, 3, 9, 0), 60.0, fees, bob);
    Reopen();
    EXPECT_EQ(Export([&] { db_->ExportTransactionsIIF(); }, D(2026, 3, 1, 0, 0), {IDNO}),
              std::vector<std::string>{"6 transactions exported.\nWould you like to view IIF file?"});
    const std::string end = "ENDTRNS" + Tabs(10) + "\r\n";
    EXPECT_EQ(Read(),
              kTransactionHeader +
              "!ENDTRNS" + Tabs(10) + "\r\n"
              "!CUST\tNAME" + Tabs(9) + "\r\n"
              "CUST\tLee, Ann" + Tabs(9) + "\r\n"
              "CUST\tAnn Lee" + Tabs(9) + "\r\n"
              "CUST\tPerson code 9999" + Tabs(9) + "\r\n"
              "!VEND\tNAME" + Tabs(9) + "\r\n"
              "VEND\tAnn Lee" + Tabs(9) + "\r\n"
              "VEND\tRay, Bob" + Tabs(9) + "\r\n"
              "TRNS\tDEPOSIT\t03/01/26\tChecking\tLee, Ann\t10.00\t\t\tN\tY\tCheck\r\n" + end +
              "TRNS\tCASH SALE\t03/01/26\tChecking\tAnn Lee\t20.00\t\t\tY\tY\tCheck\r\n" + end +
              "TRNS\tCASH SALE\t03/02/26\tChecking\tAnn Lee\t30.00\t\t\tY\tY\tCheck\r\n" + end +
              "TRNS\tDEPOSIT\t03/02/26\tChecking\tLee, Ann\t40.00\t\t\tN\tY\tCheck\r\n" + end +
              "TRNS\tCASH SALE\t03/03/26\tChecking\tPerson code 9999\t50.00\t\t\tY\tY\tCheck\r\n" + end +
              "TRNS\tDEPOSIT\t03/03/26\tChecking\tRay, Bob\t60.00\t\t\tN\tY\tCheck\r\n" + end);
}

TEST_F(ExchangeExportTest, WithoutDistributionAccountsThereIsNoSplitHeader)
{
    const uint32_t checking = AddAccount("Checking", 0, NO_CODE, NO_CODE, {});
    const uint32_t sales = AddAccount("Cash sales", 6, checking, NO_CODE, {1, 0, 0, 0, 0});
    CPaymentRecord p;
    p.m_cType = 'R';
    p.m_dDate = D(2026, 3, 2);
    p.m_dAmount = 12.5;
    p.m_nField15 = sales;
    p.m_sName = "Walk In";
    p.m_cMethod = 'R';
    Save(TABLE_PAYMENT, p);
    Reopen();
    EXPECT_EQ(Export([&] { db_->ExportTransactionsIIF(); }, D(2026, 3, 1, 0, 0), {IDNO}).size(), 1u);
    EXPECT_EQ(Read(),
              kTransactionHeader +
              "!ENDTRNS" + Tabs(10) + "\r\n"
              "!CUST\tNAME" + Tabs(9) + "\r\n"
              "CUST\tWalk In" + Tabs(9) + "\r\n"
              "TRNS\tCASH SALE\t03/02/26\tChecking\tWalk In\t-12.50\t\t\tN\tY\tCredit card\r\n"
              "ENDTRNS" + Tabs(10) + "\r\n");
}

TEST_F(ExchangeExportTest, EqualAmountsInARunAreWrittenPerAccountAndSign)
{
    // Lines of one day that follow each other with one amount: each account writes it with its
    // own sign, and -0 stays apart from 0.
    const uint32_t checking = AddAccount("Checking", 0, NO_CODE, NO_CODE, {});
    const uint32_t plain = AddAccount("Fees", 11, checking, NO_CODE, {});
    const uint32_t negated = AddAccount("Refunds", 11, checking, NO_CODE, {1, 0, 0, 0, 0});
    const uint32_t ann = AddPerson('C', "Ann", "Lee");
    const DATE day = D(2026, 3, 5, 10, 0);
    AddPaidPayment('R', day, 12.5, plain, ann, 'C');
    AddPaidPayment('R', day, 12.5, negated, ann, 'C');
    AddPaidPayment('R', day, 12.5, plain, ann, 'C');
    AddPaidPayment('R', day, 0.0, plain, ann, 'C');
    AddPaidPayment('R', day, -0.0, plain, ann, 'C');
    Reopen();
    EXPECT_EQ(Export([&] { db_->ExportTransactionsIIF(); }, D(2026, 3, 1, 0, 0), {IDNO}).size(), 1u);
    const std::string end = "ENDTRNS" + Tabs(10) + "\r\n";
    auto trns = [&](const std::string& amount) {
        return "TRNS\tDEPOSIT\t03/05/26\tChecking\tAnn Lee\t" + amount + "\t\t\tN\tY\tCheck\r\n" + end;
    };
    EXPECT_EQ(Read(), kTransactionHeader + "!ENDTRNS" + Tabs(10) + "\r\n" + "!CUST\tNAME" + Tabs(9) + "\r\n" +
                          "CUST\tAnn Lee" + Tabs(9) + "\r\n" + trns("12.50") + trns("-12.50") + trns("12.50") +
                          trns("0.00") + trns("-0.00"));
}

TEST_F(ExchangeExportTest, OneMomentKeepsPaymentsFirstThenPurchasesInOrderAndAPayerlessPurchaseIsNamedByItsCode)
{
    const uint32_t checking = AddAccount("Checking", 0, NO_CODE, NO_CODE, {});
    const uint32_t fees = AddAccount("Fees", 11, checking, NO_CODE, {});
    const uint32_t ann = AddPerson('C', "Ann", "Lee");
    const uint32_t bob = AddPerson('C', "Bob", "Ray");
    const DATE moment = D(2026, 3, 5, 10, 0);
    auto purchase = [&](uint32_t person, std::initializer_list<double> amounts) {
        CPurchaseRecord p;
        p.m_nPerson = person;
        for (double amount : amounts) {
            auto sp = std::make_unique<CSchedulePayment>();
            sp->m_cKind = 'R';
            sp->m_dDate = moment;
            sp->m_dAmount = amount;
            sp->m_nCategory = fees;
            p.m_Payments.push_back(std::move(sp));
        }
        Save(TABLE_PURCHASE, p);
    };
    // Saved in this order: scheduled payments of Bob's purchase, then a purchase of no one.
    purchase(bob, {3.0, 4.0});
    purchase(NO_CODE, {5.0});
    AddPaidPayment('R', moment, 1.0, fees, ann, 'X');
    AddPaidPayment('R', moment, 2.0, fees, bob, 'X');
    Reopen();
    EXPECT_EQ(Export([&] { db_->ExportTransactionsIIF(); }, D(2026, 3, 1, 0, 0), {IDNO}),
              std::vector<std::string>{"5 transactions exported.\nWould you like to view IIF file?"});
    const std::string end = "ENDTRNS" + Tabs(10) + "\r\n";
    auto trns = [&](const std::string& name, const std::string& amount) {
        return "TRNS\tDEPOSIT\t03/05/26\tChecking\t" + name + "\t" + amount + "\t\t\tN\tY\t\r\n" + end;
    };
    EXPECT_EQ(Read(),
              kTransactionHeader +
              "!ENDTRNS" + Tabs(10) + "\r\n"
              "!CUST\tNAME" + Tabs(9) + "\r\n"
              "CUST\tAnn Lee" + Tabs(9) + "\r\n"
              "CUST\tBob Ray" + Tabs(9) + "\r\n"
              "CUST\tPerson code 4294967295" + Tabs(9) + "\r\n" +
              trns("Ann Lee", "1.00") + trns("Bob Ray", "2.00") + trns("Bob Ray", "3.00") + trns("Bob Ray", "4.00") +
              trns("Person code 4294967295", "5.00"));
}

TEST_F(ExchangeExportTest, AFailedWriteKeepsTheOldFileAndTheOldTime)
{
    AddPersonAt('C', "Ann", "Alpha", D(2026, 3, 2));
    Reopen();
    std::ofstream(path_, std::ios::binary) << "old\r\n";
    host::InjectFileError(host::FileError::DiskFull, 1, host::FileOp::Write);
    EXPECT_EQ(Export([&] { db_->ExportPersonsIIF('C'); }, D(2026, 3, 1, 0, 0), {IDOK}),
              std::vector<std::string>{"Error in writing file " + path_});
    EXPECT_EQ(Read(), "old\r\n");
    Reopen();
    EXPECT_EQ(db_->m_Parameters.GetDouble(param::kLastExportTime2), 0.0);
}

}  // namespace
