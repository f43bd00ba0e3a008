// Indexes, reading tables, sequences (test and repair), moves, the person sort, refreshing one
// item, default categories and the table reference test.

#include "TablesFixture.h"

#include <cstdio>

#include "common/QuestionBox.h"
#include "platform/host/Format.h"

namespace {

// Reads the 4-byte sequence at the start of a record's data in the file.
uint32_t SequenceInFile(CDatabase& db, uint32_t loc)
{
    return db.ReadDwordAt(loc + DB_HEADER_LEN);
}

}  // namespace

TEST_F(TablesTest, ReadTableLoadsRecordsInSequenceOrder)
{
    CreateDatabase();
    // Written in file order 2, 0, 1 by their sequences.
    CPerson* a = AddPerson("Adams", "Ann", 2);
    CPerson* b = AddPerson("Brown", "Bob", 0);
    CPerson* c = AddPerson("Clark", "Cid", 1);
    const std::vector<uint32_t> expected = {b->m_nCode, c->m_nCode, a->m_nCode};
    Reopen();
    EXPECT_EQ(db_->ReadTable(TABLE_PERSON, nullptr), 1);
    EXPECT_EQ(Codes(TABLE_PERSON), expected);
    EXPECT_EQ(db_->TestTableSequence(TABLE_PERSON, nullptr, 0), 0);
    // An empty table loads with no entries; the mail-list table has no index.
    EXPECT_EQ(db_->ReadTable(TABLE_PAYMENT, nullptr), 1);
    EXPECT_TRUE(db_->GetItemList(TABLE_PAYMENT)->empty());
    EXPECT_EQ(db_->ReadTable(TABLE_MAILLIST, nullptr), 1);
    EXPECT_EQ(db_->GetItemList(TABLE_MAILLIST), nullptr);
}

TEST_F(TablesTest, ReadTableAsksAboutADamagedRecord)
{
    CreateDatabase();
    AddPerson("Adams", "Ann", 0);
    CPerson* bad = AddPerson("Brown", "Bob", 1);
    const uint32_t badCode = bad->m_nCode;
    const uint32_t badLoc = db_->GetItemLoc(TABLE_PERSON, badCode, 0, 0);
    // Damage the record's data so that its check fails.
    db_->WriteByteAt(badLoc + DB_HEADER_LEN + 10, 0x7F);
    Reopen();

    // Yes: loading is aborted.
    ExpectBoxes({IDYES});
    EXPECT_EQ(db_->ReadTable(TABLE_PERSON, nullptr), 0);
    ASSERT_EQ(BoxTexts().size(), 1u);
    EXPECT_EQ(BoxTexts()[0].rfind(Format("Error in reading Person table, code %u, location %u.\n", badCode, badLoc), 0), 0u);

    // No: the bad record is marked deleted (kept in the file) and loading goes on.
    ExpectBoxes({IDNO});
    EXPECT_EQ(db_->ReadTable(TABLE_PERSON, nullptr), 1);
    EXPECT_EQ(db_->GetItemList(TABLE_PERSON)->size(), 1u);
    uint8_t table = 0;
    uint32_t key = 0;
    EXPECT_EQ(db_->ReadHeaderStatus(badLoc, table, key), DB_STATUS_MARKDEL);
}

TEST_F(TablesTest, AddIndexPlacesEntriesByPositionAndCode)
{
    auto item = [&](uint32_t code) {
        auto* c = new CCategory('B');
        c->m_nCode = code;
        return c;
    };
    db_->AddIndex(TABLE_CATEGORY, item(10), 10, 0, 100, 0xFFFFFFFE, -1);  // append
    db_->AddIndex(TABLE_CATEGORY, item(20), 20, 1, 200, 0xFFFFFFFE, -1);
    db_->AddIndex(TABLE_CATEGORY, item(30), 30, 2, 300, 20, -1);          // before code 20
    db_->AddIndex(TABLE_CATEGORY, item(40), 40, 3, 400, 99, -1);          // unknown code: append
    db_->AddIndex(TABLE_CATEGORY, item(50), 50, 4, 500, 0xFFFFFFFE, 0);   // position 0
    db_->AddIndex(TABLE_CATEGORY, item(60), 60, 5, 600, 0xFFFFFFFE, 99);  // past the end: append
    EXPECT_EQ(Codes(TABLE_CATEGORY), (std::vector<uint32_t>{50, 10, 30, 20, 40, 60}));
    // Insert-at code -1 resets the entry of the same code in place.
    CCategory* replacement = item(30);
    CCategory* old = static_cast<CCategory*>(db_->GetItem(TABLE_CATEGORY, 30));
    db_->DeleteItemPointer(TABLE_CATEGORY, old);
    db_->AddIndex(TABLE_CATEGORY, replacement, 30, 7, 777, 0xFFFFFFFF, -1);
    EXPECT_EQ(Codes(TABLE_CATEGORY), (std::vector<uint32_t>{50, 10, 30, 20, 40, 60}));
    const stIndex& e = (*db_->GetItemList(TABLE_CATEGORY))[2];
    EXPECT_EQ(e.nFileLoc, 777u);
    EXPECT_EQ(e.nSequence, 7u);
    EXPECT_EQ(e.pItem, replacement);
}

TEST_F(TablesTest, SequenceTestReportsAndRepairsGapsAndDuplicates)
{
    CreateDatabase();
    CPerson* a = AddPerson("A", "a", 0);
    CPerson* b = AddPerson("B", "b", 1);
    CPerson* c = AddPerson("C", "c", 3);  // a gap: should be 2
    CPerson* d = AddPerson("D", "d", 4);  // should be 3
    const uint32_t cLoc = (*db_->GetItemList(TABLE_PERSON))[2].nFileLoc;

    EXPECT_EQ(db_->TestTableSequence(TABLE_PERSON, nullptr, 0), 1);
    ASSERT_EQ(db_->m_aTestReport.size(), 2u);
    EXPECT_EQ(db_->m_aTestReport[0],
              Format("Invalid sequence index in table Person table, key %u, file location %u, sequence 3 should be 2\n",
                     c->m_nCode, cLoc));
    db_->m_aTestReport.clear();

    ExpectBoxes({});
    EXPECT_EQ(db_->TestTableSequence(TABLE_PERSON, nullptr, 1), 1);
    EXPECT_EQ(db_->m_aTestReport.size(), 2u);
    EXPECT_NE(db_->m_aTestReport[1].find("sequence 4 should be 3. Has been repaired\n"), std::string::npos);
    // Index, objects and blocks agree; the blocks still read as whole records.
    for (uint32_t i = 0; i < 4; ++i) {
        const stIndex& e = (*db_->GetItemList(TABLE_PERSON))[i];
        EXPECT_EQ(e.nSequence, i);
        EXPECT_EQ(static_cast<CPerson*>(e.pItem)->m_nSequence, static_cast<int32_t>(i));
        EXPECT_EQ(SequenceInFile(*db_, e.nFileLoc), i);
    }
    EXPECT_EQ(d->m_nSequence, 3);
    Reopen();
    ASSERT_EQ(db_->ReadTable(TABLE_PERSON, nullptr), 1);
    EXPECT_EQ(db_->GetItemList(TABLE_PERSON)->size(), 4u);
    EXPECT_EQ(db_->TestTableSequence(TABLE_PERSON, nullptr, 0), 0);
    (void)a;
    (void)b;
}

TEST_F(TablesTest, SequenceTestDeletesTheLaterDuplicate)
{
    CreateDatabase();
    AddPerson("A", "a", 0);
    CPerson* b = AddPerson("B", "b", 1);
    // A second block carrying b's key, as a damaged file may hold.
    auto copy = std::make_unique<CPerson>('C');
    copy->CopyFrom(*b);
    copy->m_nSequence = 2;
    db_->GetWrittenLocs().clear();
    uint32_t copyLoc = LOC_NONE;
    {
        // Written through the engine under a free key, then the header's key changed back.
        copy->m_nCode = db_->GetNextKey(TABLE_PERSON);
        copyLoc = copy->SaveRecord(*db_);
        ASSERT_NE(copyLoc, LOC_NONE);
        stDataHeader h;
        ASSERT_TRUE(db_->ReadDbHeader(copyLoc, h, true));
        h.nKey = b->m_nCode;
        db_->WriteDbHeader(copyLoc, h, true);
        copy->m_nCode = b->m_nCode;
    }
    const uint32_t bLoc = (*db_->GetItemList(TABLE_PERSON))[1].nFileLoc;
    db_->AddIndex(TABLE_PERSON, copy.release(), b->m_nCode, 2, copyLoc, 0xFFFFFFFE, -1);

    EXPECT_EQ(db_->TestTableSequence(TABLE_PERSON, nullptr, 1), 2);
    ASSERT_EQ(db_->m_aTestReport.size(), 1u);
    EXPECT_EQ(db_->m_aTestReport[0],
              Format("Duplicate key in table Person table, key %u, indices 1 and 2, file locations %u and %u.\n"
                     "Item at location %u will be marked as deleted.",
                     b->m_nCode, bLoc, copyLoc, copyLoc));
    EXPECT_EQ(db_->GetItemList(TABLE_PERSON)->size(), 2u);
    uint8_t table = 0;
    uint32_t key = 0;
    EXPECT_EQ(db_->ReadHeaderStatus(copyLoc, table, key), DB_STATUS_MARKDEL);
}

struct MoveCase {
    uint32_t first, last, destination;
    std::vector<uint32_t> order;  // positions of the original entries afterwards
};

class MoveTest : public TablesTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(MoveTest, MovesTheBlockAndWritesSequences)
{
    const MoveCase& m = GetParam();
    CreateDatabase();
    std::vector<uint32_t> codes;
    for (int i = 0; i < 5; ++i) codes.push_back(AddPerson(std::string(1, char('A' + i)), "x", i)->m_nCode);
    db_->MoveItemsInTable(TABLE_PERSON, m.first, m.last, m.destination);
    std::vector<uint32_t> expected;
    for (uint32_t p : m.order) expected.push_back(codes[p]);
    EXPECT_EQ(Codes(TABLE_PERSON), expected);
    for (uint32_t i = 0; i < 5; ++i) {
        const stIndex& e = (*db_->GetItemList(TABLE_PERSON))[i];
        EXPECT_EQ(e.nSequence, i);
        EXPECT_EQ(SequenceInFile(*db_, e.nFileLoc), i);
    }
    EXPECT_EQ(db_->ReadByteAt(DB_LOCK_AREA_LOC), 0) << "database lock released";
}

INSTANTIATE_TEST_SUITE_P(Moves, MoveTest,
                         ::testing::Values(MoveCase{2, 3, 0, {2, 3, 0, 1, 4}},
                                           MoveCase{0, 1, 5, {2, 3, 4, 0, 1}},
                                           MoveCase{4, 4, 1, {0, 4, 1, 2, 3}},
                                           MoveCase{0, 0, 2, {1, 0, 2, 3, 4}}),
                         [](const ::testing::TestParamInfo<MoveCase>& info) {
                             const MoveCase& m = info.param;
                             return "Rows" + std::to_string(m.first) + "To" + std::to_string(m.last) + "Before" +
                                    std::to_string(m.destination);
                         });

TEST_F(TablesTest, MoveRefusesBadBlocks)
{
    struct Case {
        uint32_t first, last, destination;
        const char* message;
    };
    const Case cases[] = {
        {0, 1, 6, "Destination location outside limits of table"},
        {5, 5, 0, "Start of move block outside limits of table"},
        {0, 5, 0, "End of move block outside limits of table"},
        {1, 3, 2, "Marked block contains destination. Can not move."},
        {1, 3, 1, "Marked block contains destination. Can not move."},
        {3, 1, 0, "Start of move block outside limits of table"},
    };
    CreateDatabase();
    for (int i = 0; i < 5; ++i) AddPerson(std::string(1, char('A' + i)), "x", i);
    const std::vector<uint32_t> before = Codes(TABLE_PERSON);
    for (const Case& c : cases) {
        ExpectBoxes({IDOK});
        db_->MoveItemsInTable(TABLE_PERSON, c.first, c.last, c.destination);
        ASSERT_FALSE(BoxTexts().empty());
        EXPECT_EQ(BoxTexts().back(), c.message) << c.first << "-" << c.last << " to " << c.destination;
        EXPECT_EQ(Codes(TABLE_PERSON), before);
    }
}

TEST_F(TablesTest, PersonSortWritesOnlyWhenOutOfOrder)
{
    CreateDatabase();
    CPerson* c = AddPerson("smith", "Zoe", 0);
    CPerson* a = AddPerson("Adams", "Bob", 1);
    CPerson* b = AddPerson("SMITH", "Ann", 2);
    db_->SortRecordsPerson();
    EXPECT_EQ(Codes(TABLE_PERSON), (std::vector<uint32_t>{a->m_nCode, b->m_nCode, c->m_nCode}));
    for (uint32_t i = 0; i < 3; ++i)
        EXPECT_EQ(SequenceInFile(*db_, (*db_->GetItemList(TABLE_PERSON))[i].nFileLoc), i);
    // Already in order: nothing is written.
    db_->m_bDatabaseChanged = false;
    db_->SortRecordsPerson();
    EXPECT_FALSE(db_->m_bDatabaseChanged);
}

TEST_F(TablesTest, RefreshItemFollowsTheFile)
{
    CreateDatabase();
    AddPerson("A", "a", 0);
    CPerson* b = AddPerson("B", "b", 1);
    AddPerson("C", "c", 2);
    const uint32_t code = b->m_nCode;

    // Changed by "another user": the record is re-read in place.
    CPerson changed('C');
    changed.CopyFrom(*b);
    changed.m_sFirstName = "Bert";
    uint32_t loc = changed.SaveRecord(*db_);
    ASSERT_NE(loc, LOC_NONE);
    db_->RefreshItem(TABLE_PERSON, code);
    EXPECT_EQ(db_->FindItemIndex(TABLE_PERSON, code), 1);
    EXPECT_EQ(static_cast<CPerson*>(db_->GetItem(TABLE_PERSON, code))->m_sFirstName, "Bert");

    // Unreadable: the item in memory stays as it was.
    loc = db_->GetItemLoc(TABLE_PERSON, code, 0, 0);
    db_->WriteByteAt(loc + DB_HEADER_LEN + 12, 0x7E);
    db_->RefreshItem(TABLE_PERSON, code);
    ASSERT_NE(db_->GetItem(TABLE_PERSON, code), nullptr);
    EXPECT_EQ(static_cast<CPerson*>(db_->GetItem(TABLE_PERSON, code))->m_sFirstName, "Bert");

    // Deleted: the item leaves memory.
    db_->DeleteRecord(loc, 0, true);
    db_->RefreshItem(TABLE_PERSON, code);
    EXPECT_EQ(db_->FindItemIndex(TABLE_PERSON, code), -1);
    EXPECT_EQ(db_->GetItemList(TABLE_PERSON)->size(), 2u);
}

TEST_F(TablesTest, SaveModifiedItemAfterLockUpdatesTheEntry)
{
    CreateDatabase();
    CPerson* a = AddPerson("A", "a", 0);
    CPerson copy('C');
    copy.CopyFrom(*a);
    copy.m_sFirstName = std::string(300, 'x');  // grows: a new block
    const uint32_t loc = db_->SaveModifiedItemAfterLock(TABLE_PERSON, a->m_nCode, &copy, -1, 1);
    ASSERT_NE(loc, LOC_NONE);
    EXPECT_EQ((*db_->GetItemList(TABLE_PERSON))[0].nFileLoc, loc);
    EXPECT_EQ(a->m_sFirstName, copy.m_sFirstName);
    EXPECT_EQ(db_->SaveModifiedItemAfterLock(TABLE_PERSON, 12345, &copy, -1, 1), 0u);
}

TEST_F(TablesTest, BasicCategoriesAreAppendedCapitalised)
{
    CreateDatabase();
    db_->MakeBasicCategories();
    const std::vector<stIndex>& list = *db_->GetItemList(TABLE_CATEGORY);
    ASSERT_EQ(list.size(), 35u);
    for (uint32_t i = 0; i < list.size(); ++i) {
        EXPECT_EQ(list[i].nCode, i + 1);
        EXPECT_EQ(list[i].nSequence, i);
    }
    auto cat = [&](size_t i) { return static_cast<const CCategory*>(list[i].pItem); };
    EXPECT_EQ(cat(0)->m_sName, "Private lesson");
    EXPECT_EQ(cat(0)->m_cType, 'B');
    EXPECT_EQ(cat(1)->m_Params[0], 'S');
    EXPECT_EQ(cat(4)->m_cType, 'I');
    EXPECT_EQ(cat(4)->m_Params[0], 0);
    EXPECT_EQ(cat(8)->m_sName, "Advertising");
    EXPECT_EQ(cat(22)->m_sName, "Other, misc.");
    EXPECT_EQ(cat(26)->m_sName, "Rent income");
    EXPECT_EQ(cat(26)->m_Params[0], 'R');
    // Read back from the file whole.
    Reopen();
    ASSERT_EQ(db_->ReadTable(TABLE_CATEGORY, nullptr), 1);
    EXPECT_EQ(db_->GetItemList(TABLE_CATEGORY)->size(), 35u);
    EXPECT_EQ(db_->GetCategoryName(23), "Other, misc.");
}

TEST_F(TablesTest, ReferenceTestReportsAndRepairsPackages)
{
    CreateDatabase();
    std::vector<std::string> report;
    // No packages: only the heading.
    EXPECT_EQ(db_->TestTableReferences(report, 0, 0), 1);
    EXPECT_EQ(report, (std::vector<std::string>{
                          "Table reference test report [To repair problems use menu item 'Correct table references']",
                          "", "No problems found."}));

    auto item = std::make_unique<CPriceListItem>();
    item->m_sName = "Lesson";
    item->m_nSequence = 0;
    CPriceListItem* known = AddItem(TABLE_PRICELIST, std::move(item));
    auto package = std::make_unique<CPackageRecord>();
    package->m_sName = "Gold";
    package->m_nSequence = 0;
    package->m_Items = {900, known->m_nCode, 901};
    CPackageRecord* gold = AddItem(TABLE_PACKAGE, std::move(package));
    auto second = std::make_unique<CPackageRecord>();
    second->m_sName = "Silver";
    second->m_nSequence = 1;
    second->m_Items = {902};
    AddItem(TABLE_PACKAGE, std::move(second));

    report.clear();
    EXPECT_EQ(db_->TestTableReferences(report, 0, 1), 0);
    EXPECT_EQ(report, (std::vector<std::string>{"3 problems in table references"}));

    report.clear();
    EXPECT_EQ(db_->TestTableReferences(report, 1, 0), 0);
    EXPECT_EQ(report, (std::vector<std::string>{"\t\tTable reference test and repair report", "",
                                                "Package Gold references unknown price list item 901. Remove it.",
                                                "Package Gold references unknown price list item 900. Remove it.",
                                                "Package Silver references unknown price list item 902. Remove it."}));
    EXPECT_EQ(gold->m_Items, (std::vector<uint32_t>{known->m_nCode}));
    // The repair reached the file.
    Reopen();
    ASSERT_EQ(db_->ReadTable(TABLE_PRICELIST, nullptr), 1);
    ASSERT_EQ(db_->ReadTable(TABLE_PACKAGE, nullptr), 1);
    report.clear();
    EXPECT_EQ(db_->TestTableReferences(report, 0, 0), 1);
}
