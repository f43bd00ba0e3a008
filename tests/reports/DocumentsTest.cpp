// Contracts, invoices and receipts filled from the hand-made templates of tests/fixtures/templates
// into "PRNTFILE.rtf" in the working folder: the bytes written, the messages of what is missing or
// cannot be read or written, the invoice's number, the word processor and the own viewer, and
// the three documents read back by an independent reader.

#include "tests/reports/ActivityReportsFixture.h"

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
#include <unistd.h>

#include "dialogs/DialogEditScheduledPayment.h"
#include "dialogs/DialogReceivedPayment.h"
#include "dialogs/PagePurchaseEdit.h"
#include "widgets/ExternalPrograms.h"

namespace {

namespace fs = std::filesystem;

constexpr int kAll = 1268;  // the menu's "All" button

class Documents : public ActivityReports {
protected:
    void SetUp() override
    {
        ActivityReports::SetUp();
        char here[4096];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        here_ = here;
        ASSERT_EQ(chdir(folder_.c_str()), 0);
        for (const char* name : {"contract.RTF", "invoice.rtf", "receipt.Rtf"})
            fs::copy_file(fs::path(DQ_FIXTURES_DIR) / "templates" / name, fs::path(folder_) / name);
        SetRichTextViewerOpener([this](const std::string& document, const ui::DCRect&) { shown_.push_back(document); });
        // Lea's name holds a brace, a backslash and an accented letter.
        CPerson* lea = Person(act_.lea);
        lea->m_sFirstName = "L\xE9" "a";
        lea->m_sLastName = "{O\\Brien}";
    }
    void TearDown() override
    {
        SetRichTextViewerOpener(nullptr);
        WordProcessorPath.clear();
        if (!here_.empty()) {
            EXPECT_EQ(chdir(here_.c_str()), 0);
        }
        ActivityReports::TearDown();
    }
    std::string Output() const { return dqtest::ReadBytes(folder_ + "/PRNTFILE.rtf"); }
    // The invoice's payments: every one offered is chosen.
    void ChooseAllPayments(std::vector<std::string>* texts = nullptr)
    {
        ui::test::GetHooks().dialogScripts.push_back([texts](ui::Dialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Select one or more payments");
            if (texts) *texts = static_cast<CDialogMenu&>(d).m_aTexts;
            ui::test::Click(d, kAll);
            ui::test::Click(d, ui::IDOK);
        });
    }
    void PrintGoldContract()
    {
        CReports(db_.get()).PrintContract(*Person(act_.lea), *Purchase(act_.gold));
    }
    void PrintWalkInReceipt()
    {
        CReports(db_.get()).PrintReceipt(NO_CODE, "Walk {In}", {"Shoes", "Practice \xE9t\xE9"}, {20.0, 15.5}, 42);
    }

    std::string here_;
    std::vector<std::string> shown_;
};

const std::string kAddress =
    "L\\'e9a \\{O\\\\Brien\\}\\par\r\n\\par 12 Main St\r\n\\par Springfield, IL 62701\r\n\\par Sangamon\r\n"
    "\\par USA\r\n";
const std::string kHead = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\r\n";

TEST_F(Documents, ContractIsTheTemplateFilledByteForByte)
{
    std::string title;
    std::vector<std::string> texts;
    Pick(0, &title, &texts);
    PrintGoldContract();
    EXPECT_EQ(title, "Select contract template file");
    // Listed without regard to case, sorted by name; the document itself is no template.
    EXPECT_EQ(texts, (std::vector<std::string>{"contract.RTF", "invoice.rtf", "receipt.Rtf"}));
    EXPECT_EQ(shown_, std::vector<std::string>{"PRNTFILE.rtf"});
    const std::string expected =
        kHead + "\\pard\\f0\\fs20\r\n" + "Contract of March 04, 2026\\par\r\n" + kAddress +
        "Gold, including:\\par\r\n\\par \\tab Private lessons\r\n\\par \\tab Salsa social\r\n"
        "\\par \\tab Practice pass\r\n" +
        "Total $296.50; again $296.50\\par\r\n" + std::string(1200, 'x') + " March 04, 2026 " +
        std::string(300, 'y') + "\\par\r\n" + "No placeholder here\\par\r\n}";
    EXPECT_EQ(Output(), expected);
    // The listing again, with the document beside the templates now.
    Pick(0, nullptr, &texts);
    PrintGoldContract();
    EXPECT_EQ(texts.size(), 3u);
}

TEST_F(Documents, InvoiceListsThePaymentsDueAndTakesTheNextNumber)
{
    const uint32_t last = db_->GetLastReceiptNumber();
    std::vector<std::string> offered;
    ChooseAllPayments(&offered);
    Pick(1);
    CReports(db_.get()).InvoiceReport(act_.lea);
    // Lea's own payment records and the scheduled payments of her contracts still due; "Shoes"
    // is received and never offered.
    EXPECT_EQ(offered, (std::vector<std::string>{"Unscheduled     7.50 Socks", "Unscheduled    50.00 Later",
                                                  "03/09/2026    15.00 Bag", "03/20/2026   100.00 March"}));
    const std::string number = Format("%u", last + 1);
    const std::string expected = kHead + "\\pard\\f0\\fs20\r\n" + "Invoice " + number + " of March 04, 2026\\par\r\n" +
                                 "Balance: $172.50\\par\r\n" + kAddress +
                                 "Invoice for payments, including:\\par\r\n"
                                 "\\par \\tab Unscheduled\\tab     7.50\\tab Socks\r\n"
                                 "\\par \\tab Unscheduled\\tab    50.00\\tab Later\r\n"
                                 "\\par \\tab 03/09/2026\\tab    15.00\\tab Bag\r\n"
                                 "\\par \\tab 03/20/2026\\tab   100.00\\tab March\r\n" +
                                 "}\r\n";
    EXPECT_EQ(Output(), expected);
    EXPECT_EQ(shown_, std::vector<std::string>{"PRNTFILE.rtf"});
    // The number is the database's: it stands in the file read back, and the next invoice rises.
    Reopen();
    DatabaseOpen = 1;
    EXPECT_EQ(db_->GetLastReceiptNumber(), last + 1);
    ChooseAllPayments();
    Pick(1);
    CReports(db_.get()).InvoiceReport(act_.lea);
    EXPECT_NE(Output().find(Format("Invoice %u of", last + 2)), std::string::npos);
}

TEST_F(Documents, ReceiptWithoutAPersonNamesThePayer)
{
    Pick(2);
    PrintWalkInReceipt();
    // A template of LF lines gives CR LF lines; the total stands below the items.
    const std::string expected = kHead + "Receipt 42, March 04, 2026\\par\r\n" + "Walk \\{In\\}\\par\r\n" +
                                 "Item\\tab Price\\par\r\n\\par Shoes\\tab 20.00\r\n"
                                 "\\par Practice \\'e9t\\'e9\\tab 15.50\r\n" +
                                 "Total\\tab 35.50\\par\r\n" + "}\r\n";
    EXPECT_EQ(Output(), expected);
    // With a person the address lines follow the name.
    Pick(2);
    CReports(db_.get()).PrintReceipt(act_.lea, "", {"Shoes"}, {20.0}, 43);
    EXPECT_NE(Output().find("Receipt 43, "), std::string::npos);
    EXPECT_NE(Output().find(kAddress), std::string::npos);
}

// The buttons of the payment dialogs, the shopping cart and the purchase sheet reach the documents.
TEST_F(Documents, DialogButtonsPrintTheirDocuments)
{
    CReports::InstallDocumentPrinters();
    Pick(2);
    CDialogReceivedPayment::ReceiptPrinterSeam()(*db_, NO_CODE, "Walk In", {"Shoes"}, {20.0}, 7);
    EXPECT_NE(Output().find("Receipt 7, "), std::string::npos);
    EXPECT_NE(Output().find("Walk In\\par"), std::string::npos);
    Pick(2);
    CDialogEditScheduledPayment::ReceiptPrinterSeam()(*db_, act_.lea, 8, {"March"}, {100.0});
    EXPECT_NE(Output().find("Receipt 8, "), std::string::npos);
    EXPECT_NE(Output().find(kAddress), std::string::npos);
    Pick(0);
    CPagePurchaseEdit::ContractPrinterSeam()(*db_, *Person(act_.lea), *Purchase(act_.gold));
    EXPECT_NE(Output().find("Gold, including:"), std::string::npos);
    EXPECT_EQ(shown_.size(), 3u);
    CDialogReceivedPayment::ReceiptPrinterSeam() = nullptr;
    CDialogEditScheduledPayment::ReceiptPrinterSeam() = nullptr;
    CPagePurchaseEdit::ContractPrinterSeam() = nullptr;
}

// What cannot be done is said, and no document is shown: never the previous customer's.
TEST_F(Documents, FailuresShowTheirMessageAndNoDocument)
{
    struct Case {
        const char* name;
        std::function<void()> prepare;
        std::function<void()> run;
        std::string box;
    };
    const Case cases[] = {
        {"nothing due", [] {}, [&] { CReports(db_.get()).InvoiceReport(act_.ivy); }, "No payments due."},
        {"no payment chosen", [&] { Cancel(); }, [&] { CReports(db_.get()).InvoiceReport(act_.lea); },
         "None selected"},
        {"a template that cannot be read",
         [&] {
             fs::create_directory(fs::path(folder_) / "broken.rtf");
             Pick(0);
         },
         [&] { PrintGoldContract(); }, "Can't open template file broken.rtf"},
        {"an output that cannot be created",
         [&] {
             fs::remove(fs::path(folder_) / "PRNTFILE.rtf");
             fs::create_directory(fs::path(folder_) / "PRNTFILE.rtf");
             Pick(3);
         },
         [&] { PrintWalkInReceipt(); }, "Can't open output file PRNTFILE.rtf"},
        {"no template at all",
         [&] {
             for (const char* name : {"contract.RTF", "invoice.rtf", "receipt.Rtf", "broken.rtf"})
                 fs::remove_all(fs::path(folder_) / name);
         },
         [&] { PrintGoldContract(); }, "No template files found"},
    };
    // An earlier customer's receipt stands in the folder.
    Pick(2);
    PrintWalkInReceipt();
    shown_.clear();
    const uint32_t number = db_->GetLastReceiptNumber();
    for (const Case& c : cases) {
        c.prepare();
        dqtest::QueueAnswers({IDOK});
        c.run();
        ASSERT_FALSE(Boxes().empty()) << c.name;
        EXPECT_EQ(Boxes().back(), c.box) << c.name;
        EXPECT_TRUE(shown_.empty()) << c.name;
    }
    EXPECT_EQ(db_->GetLastReceiptNumber(), number) << "no invoice took a number";
}

TEST_F(Documents, WordProcessorGetsTheDocument)
{
    fs::path script = fs::path(folder_) / "wp.sh";
    {
        std::ofstream out(script);
        out << "#!/bin/sh\ncp \"$1\" got.tmp && mv got.tmp got.rtf\n";
    }
    fs::permissions(script, fs::perms::owner_all);
    WordProcessorPath = script.string();
    Pick(2);
    PrintWalkInReceipt();
    const fs::path got = fs::path(folder_) / "got.rtf";
    for (int i = 0; i < 1000 && !fs::exists(got); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ASSERT_TRUE(fs::exists(got));
    EXPECT_EQ(dqtest::ReadBytes(got.string()), Output());
    EXPECT_TRUE(shown_.empty());
}

// The three documents as an independent reader reads them: the filled texts and the address.
TEST_F(Documents, AnIndependentReaderSeesTheFilledTexts)
{
    if (std::system("command -v unrtf >/dev/null 2>&1") != 0) GTEST_SKIP() << "unrtf is not installed";
    auto text = [&](const std::string& name) {
        fs::copy_file(fs::path(folder_) / "PRNTFILE.rtf", fs::path(folder_) / name, fs::copy_options::overwrite_existing);
        const std::string out = folder_ + "/" + name + ".txt";
        EXPECT_EQ(std::system(("unrtf --text " + name + " > " + out + " 2>/dev/null").c_str()), 0);
        return dqtest::ReadBytes(out);
    };
    Pick(0);
    PrintGoldContract();
    const std::string contract = text("contract.out");
    ChooseAllPayments();
    Pick(1);
    CReports(db_.get()).InvoiceReport(act_.lea);
    const std::string invoice = text("invoice.out");
    Pick(2);
    PrintWalkInReceipt();
    const std::string receipt = text("receipt.out");
    for (const char* part : {"{O\\Brien}", "12 Main St", "Springfield, IL 62701", "Sangamon", "USA", "Gold, including:",
                             "Private lessons", "Total $296.50; again $296.50", "March 04, 2026"})
        EXPECT_NE(contract.find(part), std::string::npos) << part << "\n" << contract;
    for (const char* part : {"{O\\Brien}", "Springfield, IL 62701", "Invoice for payments, including:", "$172.50",
                             "Socks", "March"})
        EXPECT_NE(invoice.find(part), std::string::npos) << part << "\n" << invoice;
    for (const char* part : {"Receipt 42", "Walk {In}", "Shoes", "20.00", "35.50"})
        EXPECT_NE(receipt.find(part), std::string::npos) << part << "\n" << receipt;
}

}  // namespace
