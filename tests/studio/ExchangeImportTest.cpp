// The IIF import and the student and contract text imports, through their commands with the file
// dialog and the boxes scripted, checked after the database is closed and opened again.

#include "tests/studio/StudioFixture.h"

#include <fstream>
#include <sstream>

#include "common/DataPaths.h"

namespace {

class ExchangeImportTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        ui::test::GetHooks().scriptFileDialogs = true;
    }
    std::string WriteFile(const std::string& name, const std::string& text)
    {
        const std::string path = folder_ + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    // Runs the command on the file; the boxes it shows, in order.
    std::vector<std::string> Run(void (CDatabase::*command)(), const std::string& path, int boxes)
    {
        ui::test::Hooks& h = ui::test::GetHooks();
        h.fileDialogAnswers.push_back(path);
        for (int i = 0; i < boxes; ++i) h.messageBoxAnswers.push_back(IDOK);
        h.messageBoxTexts.clear();
        (db_.get()->*command)();
        return h.messageBoxTexts;
    }
    const CPerson* FindPerson(const std::string& first, const std::string& last) const
    {
        for (const stIndex& e : *db_->GetItemList(TABLE_PERSON)) {
            const auto* p = static_cast<const CPerson*>(e.pItem);
            if (p->m_sFirstName == first && p->m_sLastName == last) return p;
        }
        return nullptr;
    }
    std::vector<std::string> PersonNames() const
    {
        std::vector<std::string> names;
        for (const stIndex& e : *db_->GetItemList(TABLE_PERSON)) {
            const auto* p = static_cast<const CPerson*>(e.pItem);
            names.push_back(p->m_sLastName + "," + p->m_sFirstName);
        }
        return names;
    }
    void ExpectSequencesInOrder() const
    {
        const std::vector<stIndex>& index = *db_->GetItemList(TABLE_PERSON);
        for (size_t i = 0; i < index.size(); ++i) {
            EXPECT_EQ(index[i].nSequence, i);
            EXPECT_EQ(static_cast<const CPerson*>(index[i].pItem)->m_nSequence, static_cast<int32_t>(i));
        }
        db_->m_aTestReport.clear();
        db_->TestTableSequence(TABLE_PERSON, nullptr, 0);
        EXPECT_TRUE(db_->m_aTestReport.empty());
    }
};

// ---- IIF ----------------------------------------------------------------------------------------

TEST_F(ExchangeImportTest, IifCustomersEmployeesAndAccounts)
{
    AddPerson('E', "Ann", "Teach");
    Reopen();
    const std::string file = WriteFile("in.iif",
        "!CUST\tNAME\tBADDR1\tBADDR2\tBADDR3\tPHONE1\tEMAIL\tNOTEPAD\tFIRSTNAME\tMIDINIT\tLASTNAME\r\n"
        "CUST\t\"Smith, John\"\tJohn Smith\t12 Elm St\tSpring Field, IL 62701\t(217) 555-1234\tj@x.org\tlikes tango\r\n"
        "CUST\tMary Ann Jones\r\n"
        "CUST\tPrince\r\n"
        "CUST\t\t\t\t\t\t\t\tLou\tK\tReed\r\n"
        "CUST\t\t\t\t\t\t\t\tlou\tk\tREED\r\n"
        "CUST\tAnn Teach\r\n"
        "CUST\tBo Lee\t5 Main Rd\tLondon SW1A 1AA\r\n"
        "!EMP\tFIRSTNAME\tLASTNAME\tCITY\tSTATE\tZIP\tSSNO\tADDR1\r\n"
        "EMP\tEve\tStep\tTown\tTX\t75001\t123-45-6789\r\n"
        "EMP\tNo\t\r\n"
        "!ACCNT\tNAME\tACCNTTYPE\r\n"
        "ACCNT\tChecking\tBANK\r\n"
        "ACCNT\tCHECKING\tBANK\r\n"
        "!TRNS\tTRNSTYPE\r\n"
        "TRNS\tDEPOSIT\r\n");
    EXPECT_EQ(Run(&CDatabase::ImportIIF, file, 1),
              std::vector<std::string>{"Imported data:\n4 students\n1 employees\n1 accounts"});
    Reopen();
    EXPECT_EQ(PersonNames(), (std::vector<std::string>{"Jones,Mary Ann", "Lee,Bo", "Reed,Lou K", "Smith,John",
                                                       "Step,Eve", "Teach,Ann"}));
    ExpectSequencesInOrder();
    const CPerson* john = FindPerson("John", "Smith");
    ASSERT_NE(john, nullptr);
    EXPECT_EQ(john->m_cType, 'C');
    EXPECT_EQ(john->m_cSex, 0);
    EXPECT_EQ(john->m_sAddress1, "12 Elm St");
    EXPECT_EQ(john->m_sCity, "Spring Field");
    EXPECT_EQ(john->m_sState, "IL");
    EXPECT_EQ(john->m_sZip, "62701");
    EXPECT_EQ(john->m_sPhone1, "217-555-1234");
    EXPECT_EQ(john->m_sEmail, "j@x.org");
    EXPECT_EQ(john->m_Notes, std::vector<std::string>{"likes tango"});
    const CPerson* bo = FindPerson("Bo", "Lee");
    ASSERT_NE(bo, nullptr);
    EXPECT_EQ(bo->m_sAddress1, "5 Main Rd");
    EXPECT_EQ(bo->m_sAddress2, "London SW1A 1AA") << "a postcode with letters stays an address line";
    EXPECT_EQ(bo->m_sCity, "");
    const CPerson* eve = FindPerson("Eve", "Step");
    ASSERT_NE(eve, nullptr);
    EXPECT_EQ(eve->m_cType, 'E');
    EXPECT_EQ(eve->m_sText9, "123-45-6789");
    EXPECT_EQ(eve->m_sCity, "") << "no address lines: city, state and zip are not applied";
    int accounts = 0;
    for (const stIndex& e : *db_->GetItemList(TABLE_CATEGORY)) {
        const auto* c = static_cast<const CCategory*>(e.pItem);
        if (c->m_cType == 'A') {
            ++accounts;
            EXPECT_EQ(c->m_sName, "Checking");
        }
    }
    EXPECT_EQ(accounts, 1);

    // The same file again adds nothing.
    EXPECT_EQ(Run(&CDatabase::ImportIIF, file, 1),
              std::vector<std::string>{"Imported data:\n0 students\n0 employees\n0 accounts"});
}

TEST_F(ExchangeImportTest, IifSeparatorsQuotesAndUnreadableFiles)
{
    struct Row {
        std::string text;
        std::string message;
        std::vector<std::string> names;
    };
    const Row rows[] = {
        {"!CUST;NAME;LASTNAME\r\nCUST;\"Smith, Jo\";\r\nCUST;x\ty;Tab\r\n", "Imported data:\n2 students\n0 employees\n0 accounts",
         {"Smith,Jo", "Tab,"}},
        {"!CUST|FIRSTNAME|LASTNAME\r\nCUST|Al|Pipe\r\n", "Imported data:\n1 students\n0 employees\n0 accounts",
         {"Pipe,Al"}},
        {"!CUST\tNAME\r\n!EMP\tNAME\r\n!ACCNT\tNAME\r\n", "Imported data:\n0 students\n0 employees\n0 accounts", {}},
        {"CUST\tJo Early\r\n!CUST\tNAME\r\n", "Imported data:\n0 students\n0 employees\n0 accounts", {}},
        {"!CUST\r\nCUST\tA\tB\r\n", "Improperly formatted records.", {}},
        {"\r\n\r\n!CUST;NAME\r\n\r\nCUST;Di Blank\r\n", "Imported data:\n1 students\n0 employees\n0 accounts",
         {"Blank,Di"}},
    };
    int at = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.text);
        const std::string file = WriteFile("sep" + std::to_string(at++) + ".iif", row.text);
        const size_t before = db_->GetItemList(TABLE_PERSON)->size();
        EXPECT_EQ(Run(&CDatabase::ImportIIF, file, 1), std::vector<std::string>{row.message});
        std::vector<std::string> names = PersonNames();
        names.erase(names.begin(), names.begin() + 0);
        EXPECT_EQ(db_->GetItemList(TABLE_PERSON)->size() - before, row.names.size());
        for (const std::string& name : row.names)
            EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    EXPECT_EQ(Run(&CDatabase::ImportIIF, folder_ + "/none.iif", 1),
              std::vector<std::string>{"Can't open file " + folder_ + "/none.iif"});
    EXPECT_EQ(Run(&CDatabase::ImportIIF, "", 0), std::vector<std::string>{}) << "cancelled";
}

// ---- Student and contract text files ----------------------------------------------------------

TEST_F(ExchangeImportTest, StudentLinesAreImportedAlphabetizedAndLinkedToReferrals)
{
    AddPerson('C', "Pat", "Old");
    Reopen();
    const std::string file = WriteFile("students.txt",
        "// students from the old desk\r\n"
        "mary ann\tSMITH\t3/4/2026\t(555) 123-4567\t\t12 elm st\tspring field\tIL\t62701\tm@x.org\tpat old\tActive\tTRUE\r\n"
        "\r\n"
        "Bob\tAdams\t13/45/2026\t\t\t\t\t\t\t\tMary Ann Smith\t\tFALSE\r\n"
        "Cy\tZed\t1/2/2025\t\t\t\t\t\t\t\tnobody here\tG\r\n"
        "Too\tShort\t1/2/2025\r\n"
        "pat\tOLD\t1/2/2025\t\t\t\t\t\t\t\t\tA\r\n");
    EXPECT_EQ(Run(&CDatabase::ImportStudentsAndContracts, file, 0), std::vector<std::string>{});
    Reopen();
    EXPECT_EQ(PersonNames(), (std::vector<std::string>{"Adams,Bob", "Old,Pat", "Smith,Mary Ann", "Zed,Cy"}));
    ExpectSequencesInOrder();
    const CPerson* mary = FindPerson("Mary Ann", "Smith");
    const CPerson* pat = FindPerson("Pat", "Old");
    const CPerson* bob = FindPerson("Bob", "Adams");
    const CPerson* cy = FindPerson("Cy", "Zed");
    ASSERT_TRUE(mary && pat && bob && cy);
    EXPECT_EQ(mary->m_nReferredBy, pat->m_nCode);
    EXPECT_TRUE(mary->m_Notes.empty());
    EXPECT_EQ(mary->m_cStatus, 'A');
    EXPECT_EQ(mary->m_sPhone1, "555-123-4567");
    EXPECT_EQ(mary->m_sAddress1, "12 Elm St");
    EXPECT_EQ(mary->m_sCity, "Spring Field");
    EXPECT_EQ(mary->m_dStamp1Date, D(2026, 3, 4));
    EXPECT_EQ(bob->m_dStamp1Date, D(2026, 3, 4, 10, 0)) << "a date of no real day takes now";
    EXPECT_EQ(bob->m_cStatus, 0);
    EXPECT_EQ(bob->m_nReferredBy, NO_CODE) << "a three-word referral is a note";
    EXPECT_EQ(bob->m_Notes, std::vector<std::string>{"Referred by: Mary Ann Smith"});
    EXPECT_EQ(cy->m_Notes, std::vector<std::string>{"Referred by: nobody here"});
    EXPECT_EQ(cy->m_cStatus, 'G');
}

TEST_F(ExchangeImportTest, ContractRecordsMakePersonsPurchasesTokensAndPayments)
{
    AddPerson('E', "Ann", "Teach");
    CCategory account('A');
    account.m_sName = "Checking";
    const uint32_t checking = Save(TABLE_CATEGORY, account);
    Reopen();
    db_->m_Parameters.SetUInt(param::kAccountPayments, checking);
    const std::string file = WriteFile("contracts.txt",
        "PERSON_RECORD_START\r\n"
        "jo\tdancer\t3/1/2026\t\t\t\t\t\t\t\tAnn Teach\tA\r\n"
        "// the first contract\r\n"
        "CONTRACT_RECORD_START\r\n"
        "Bronze\t3/1/2026\t500\tTeach\tSue Boss\r\n"
        "CONTRACT_PURCHASELIST_START\r\n"
        "PRIVATE_LESSON\tPL1\tPrivate lessons\t10\tAnn\r\n"
        "\r\n"
        "OTHER_ITEM\tDVD1\tDVD\t1\r\n"
        "MYSTERY_ITEM\tX\tX\t1\r\n"
        "GROUP_LESSON\tGL\tClasses\t6/30/2026\r\n"
        "CONTRACT_PURCHASELIST_END\r\n"
        "CONTRACT_PAYMENTLIST_START\r\n"
        "3/1/2026\t100\r\n"
        "3/2/2026\t150.5\r\n"
        "CONTRACT_PAYMENTLIST_END\r\n"
        "CONTRACT_USEDITEMLIST_START\r\n"
        "PL1\t3/2/2026\tAnn Teach\r\n"
        "PL1\t3/3/2026\r\n"
        "CONTRACT_USEDITEMLIST_END\r\n"
        "CONTRACT_RECORD_END\r\n"
        "CONTRACT_RECORD_START\r\n"
        "Silver\t3/4/2026\t80\r\n"
        "CONTRACT_PURCHASELIST_START\r\n"
        "OTHER_ITEM\tD\tdvd\t2\r\n"
        "CONTRACT_PURCHASELIST_END\r\n"
        "CONTRACT_PAYMENTLIST_START\r\n"
        "3/4/2026\t80\r\n"
        "CONTRACT_PAYMENTLIST_END\r\n"
        "CONTRACT_RECORD_END\r\n"
        "PERSON_RECORD_END\r\n"
        "PERSON_RECORD_START\r\n"
        "Al|Bee|3/1/2026|||||||||A\r\n"
        "CONTRACT_RECORD_START\r\n"
        "Party|3/5/2026|20\r\n"
        "CONTRACT_RECORD_END\r\n"
        "PERSON_RECORD_END\r\n");
    EXPECT_EQ(Run(&CDatabase::ImportStudentsAndContracts, file, 0), std::vector<std::string>{});
    Reopen();
    EXPECT_EQ(PersonNames(), (std::vector<std::string>{"Bee,Al", "Boss,Sue", "Dancer,Jo", "Teach,Ann"}));
    ExpectSequencesInOrder();
    const CPerson* jo = FindPerson("Jo", "Dancer");
    const CPerson* ann = FindPerson("Ann", "Teach");
    const CPerson* sue = FindPerson("Sue", "Boss");
    ASSERT_TRUE(jo && ann && sue);
    EXPECT_EQ(sue->m_cType, 'E');
    EXPECT_EQ(jo->m_nReferredBy, ann->m_nCode);
    const std::vector<stIndex>& purchases = *db_->GetItemList(TABLE_PURCHASE);
    ASSERT_EQ(purchases.size(), 3u);
    const auto& bronze = *static_cast<const CPurchaseRecord*>(purchases[0].pItem);
    EXPECT_EQ(bronze.m_nPerson, jo->m_nCode);
    EXPECT_EQ(bronze.m_sDescription, "Bronze");
    EXPECT_EQ(bronze.m_cPricing, 'P');
    EXPECT_EQ(bronze.m_dPrice, 500.0);
    EXPECT_EQ(bronze.m_dDate, D(2026, 3, 1));
    EXPECT_EQ(bronze.m_dStartDate, D(2026, 3, 1));
    EXPECT_EQ(bronze.m_nField14, ann->m_nCode);
    EXPECT_EQ(bronze.m_nField16, sue->m_nCode);
    ASSERT_EQ(bronze.m_Payments.size(), 3u);
    EXPECT_EQ(bronze.m_Payments[0]->m_cKind, 'R');
    EXPECT_EQ(bronze.m_Payments[0]->m_cMethod, 'A');
    EXPECT_EQ(bronze.m_Payments[0]->m_nCategory, checking);
    EXPECT_EQ(bronze.m_Payments[1]->m_dAmount, 150.5);
    EXPECT_EQ(bronze.m_Payments[2]->m_cKind, 'U');
    EXPECT_NEAR(bronze.m_Payments[2]->m_dAmount, 249.5, 1e-9);
    ASSERT_EQ(bronze.m_Items.size(), 3u) << "the unknown keyword is skipped";
    const CPurchaseItem& privates = *bronze.m_Items[0];
    EXPECT_EQ(privates.m_cKind, 'p');
    EXPECT_EQ(privates.m_nCount, 10);
    EXPECT_EQ(privates.m_nTeacher, ann->m_nCode);
    EXPECT_EQ(db_->GetCategoryName(privates.m_nType), "Private lesson");
    ASSERT_EQ(privates.m_Tokens.size(), 10u);
    EXPECT_EQ(privates.m_Tokens[0]->m_cState, 'U');
    EXPECT_EQ(privates.m_Tokens[0]->m_dDate, D(2026, 3, 2));
    EXPECT_EQ(privates.m_Tokens[0]->m_nField8, ann->m_nCode);
    EXPECT_EQ(privates.m_Tokens[1]->m_cState, 'U');
    EXPECT_EQ(privates.m_Tokens[1]->m_nField8, NO_CODE);
    for (size_t i = 2; i < 10; ++i) EXPECT_EQ(privates.m_Tokens[i]->m_cState, 'N');
    const CPurchaseItem& dvd = *bronze.m_Items[1];
    EXPECT_EQ(dvd.m_cKind, 0);
    EXPECT_EQ(db_->GetCategoryType(dvd.m_nType), 'm');
    const CPurchaseItem& classes = *bronze.m_Items[2];
    EXPECT_EQ(classes.m_cKind, 'T');
    EXPECT_EQ(classes.m_nCount, 121) << "days from 1 March to 30 June";
    EXPECT_TRUE(classes.m_Tokens.empty());
    const auto& silver = *static_cast<const CPurchaseRecord*>(purchases[1].pItem);
    ASSERT_EQ(silver.m_Payments.size(), 1u) << "paid in full: no 'U' payment";
    EXPECT_EQ(silver.m_Items[0]->m_nType, bronze.m_Items[1]->m_nType) << "one DVD category, case ignored";
    const auto& party = *static_cast<const CPurchaseRecord*>(purchases[2].pItem);
    EXPECT_EQ(party.m_nPerson, FindPerson("Al", "Bee")->m_nCode);
    EXPECT_EQ(party.m_Payments.size(), 1u);
    EXPECT_EQ(party.m_Payments[0]->m_cKind, 'U');
}

TEST_F(ExchangeImportTest, ABadContractStopsTheImportWithItsLine)
{
    const std::string person = "PERSON_RECORD_START\r\nJo\tDoe\t3/1/2026\t\t\t\t\t\t\t\t\tA\r\n";
    struct Row {
        std::string body;
        std::string message;
        size_t purchases;
    };
    const Row rows[] = {
        {"CONTRACT_RECORD_START\r\nX\t3/1/2026\t10\r\nBOGUS\r\nCONTRACT_RECORD_END\r\nPERSON_RECORD_END\r\n",
         "The import stopped at line 5: unexpected line \"BOGUS\"", 0},
        {"CONTRACT_RECORD_START\r\nX\t3/1/2026\t10\r\nCONTRACT_PAYMENTLIST_START\r\n3/1/2026\t5\r\nCONTRACT_RECORD_END\r\n",
         "The import stopped at line 7: a payment line needs 2 fields", 0},
        {"CONTRACT_RECORD_START\r\nX\t3/1/2026\t10\r\nCONTRACT_PAYMENTLIST_START\r\n3/1/2026\t5\r\n",
         "The import stopped at line 5: CONTRACT_PAYMENTLIST_END is missing", 0},
        {"CONTRACT_RECORD_START\r\nX\t2/30/2026\t10\r\nCONTRACT_RECORD_END\r\nPERSON_RECORD_END\r\n",
         "The import stopped at line 4: \"2/30/2026\" is no date", 0},
        {"CONTRACT_RECORD_START\r\nX\t3/1/05\t10\r\nCONTRACT_RECORD_END\r\nPERSON_RECORD_END\r\n",
         "The import stopped at line 4: \"3/1/05\" is no date", 0},
        {"CONTRACT_RECORD_START\r\nX\t3/1/2026\r\nCONTRACT_RECORD_END\r\nPERSON_RECORD_END\r\n",
         "The import stopped at line 4: a contract header needs 3 fields", 0},
        {"CONTRACT_RECORD_START\r\nX\t3/1/2026\t10\r\nCONTRACT_RECORD_END\r\nCONTRACT_RECORD_START\r\nY\t3/1/2026\t10\r\n",
         "The import stopped at line 6: CONTRACT_RECORD_END is missing", 1},
    };
    int at = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.body);
        const size_t before = db_->GetItemList(TABLE_PURCHASE)->size();
        const std::string file = WriteFile("bad" + std::to_string(at++) + ".txt", person + row.body);
        EXPECT_EQ(Run(&CDatabase::ImportStudentsAndContracts, file, 1), std::vector<std::string>{row.message});
        EXPECT_EQ(db_->GetItemList(TABLE_PURCHASE)->size() - before, row.purchases);
    }
    // A person line without a last name adds nobody, and its contracts are not stored.
    const std::string file = WriteFile("noname.txt",
        "PERSON_RECORD_START\r\nJo\t\t3/1/2026\t\t\t\t\t\t\t\t\tA\r\nCONTRACT_RECORD_START\r\nX\t3/1/2026\t10\r\n"
        "CONTRACT_RECORD_END\r\nPERSON_RECORD_END\r\n");
    const size_t before = db_->GetItemList(TABLE_PURCHASE)->size();
    EXPECT_EQ(Run(&CDatabase::ImportStudentsAndContracts, file, 1),
              std::vector<std::string>{
                  "No person could be added for the record at line 1; its contracts were not imported."});
    EXPECT_EQ(db_->GetItemList(TABLE_PURCHASE)->size(), before);
    // A person line of fewer than 12 fields stops the import.
    const std::string short_ = WriteFile("short.txt", "PERSON_RECORD_START\r\nJo\tDoe\r\nPERSON_RECORD_END\r\n");
    EXPECT_EQ(Run(&CDatabase::ImportStudentsAndContracts, short_, 1),
              std::vector<std::string>{"Improperly formatted records."});
}

TEST_F(ExchangeImportTest, DumpListsTheCategoriesInTheProgramFolder)
{
    const uint32_t checking = AddCategory('A', "Checking");
    CCategory tax('T');
    tax.m_sName = "TAXES";
    tax.m_Params[0] = 'P';
    const uint32_t taxes = Save(TABLE_CATEGORY, tax);
    Reopen();
    const std::string saved = ProgramFolder;
    ProgramFolder = folder_;
    db_->DumpDatabase();
    db_->DumpDatabase();  // replaces the first
    ProgramFolder = saved;
    std::ifstream in(folder_ + "/Dorvalquintex.dmp", std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    EXPECT_EQ(all.str(), "2 CATEGORIES\r\n" + Format("Category:Checking, code:%u, type:A, param0:", checking) +
                             std::string(1, '\0') + " \r\n" +
                             Format("Category:TAXES, code:%u, type:T, param0:P \r\n", taxes));
}

}  // namespace
