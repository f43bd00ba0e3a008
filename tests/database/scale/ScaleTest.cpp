// The person sort that moves one misplaced entry, and the duplicate-key test on large indexes.

#include "tests/database/tables/TablesFixture.h"

#include <algorithm>
#include <cctype>

#include "platform/host/Format.h"

namespace {

std::string Key(const CPerson& p)
{
    std::string key = p.m_sLastName + p.m_sFirstName;
    for (char& c : key) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return key;
}

}  // namespace

class ScaleTest : public TablesTest {
protected:
    // Persons named by `lasts`, added in that order with sequences 0, 1, ...
    void AddPersons(const std::vector<std::string>& lasts)
    {
        for (size_t i = 0; i < lasts.size(); ++i) AddPerson(lasts[i], "x", static_cast<int>(i));
    }
    // The index is in name order, and index, record objects and file agree on 0, 1, 2, ...
    void ExpectSortedAndNumbered()
    {
        const std::vector<stIndex>& index = *db_->GetItemList(TABLE_PERSON);
        for (uint32_t i = 0; i < index.size(); ++i) {
            const CPerson* p = static_cast<const CPerson*>(index[i].pItem);
            if (i > 0) {
                EXPECT_LE(Key(*static_cast<const CPerson*>(index[i - 1].pItem)), Key(*p)) << i;
            }
            EXPECT_EQ(index[i].nSequence, i);
            EXPECT_EQ(static_cast<uint32_t>(p->m_nSequence), i);
            EXPECT_EQ(db_->ReadDwordAt(index[i].nFileLoc + DB_HEADER_LEN), i);
        }
        EXPECT_EQ(db_->TestTableSequence(TABLE_PERSON, nullptr, 0), 0);
    }
};

TEST_F(ScaleTest, PersonSortPutsTheMisplacedEntryInItsPlace)
{
    struct Case {
        std::vector<std::string> lasts;  // in index order
        const char* what;
    };
    const Case cases[] = {
        {{"B", "D", "F", "H", "C"}, "new entry at the end belongs in the middle"},
        {{"B", "D", "F", "H", "A"}, "new entry belongs first"},
        {{"G", "B", "D", "F", "H"}, "first entry belongs later"},
        {{"B", "D", "A", "F", "H"}, "entry in the middle belongs earlier"},
        {{"B", "H", "D", "F", "J"}, "entry in the middle belongs later"},
        {{"B", "D", "D", "F", "C"}, "equal keys around"},
        {{"F", "D", "B", "H", "A"}, "several out of place: sorted whole"},
        {{"ab", "AC", "b", "Ba"}, "in order without regard to case"},
        {{"B", "a"}, "the case of a letter does not place it"},
        {{"A", "Ab"}, "the first name follows the last name: ABX before AX"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        db_ = std::make_unique<CDatabase>();
        db_->SetUserAccessLevel(10);
        CreateDatabase();
        AddPersons(c.lasts);
        db_->SortRecordsPerson();
        ExpectSortedAndNumbered();
        std::vector<std::string> expected = c.lasts, got;
        std::stable_sort(expected.begin(), expected.end(), [](const std::string& a, const std::string& b) {
            CPerson pa('C'), pb('C');
            pa.m_sLastName = a;
            pa.m_sFirstName = "x";
            pb.m_sLastName = b;
            pb.m_sFirstName = "x";
            return Key(pa) < Key(pb);
        });
        for (const stIndex& e : *db_->GetItemList(TABLE_PERSON))
            got.push_back(static_cast<const CPerson*>(e.pItem)->m_sLastName);
        EXPECT_EQ(got, expected);
        db_->CloseDB();
    }
}

TEST_F(ScaleTest, PersonSortAfterARenameMovesOnlyThatPerson)
{
    CreateDatabase();
    AddPersons({"A", "C", "E", "G", "I"});
    CPerson* moved = static_cast<CPerson*>((*db_->GetItemList(TABLE_PERSON))[1].pItem);
    const uint32_t movedCode = moved->m_nCode;
    moved->m_sLastName = "H";
    db_->SortRecordsPerson();
    ExpectSortedAndNumbered();
    EXPECT_EQ(db_->FindItemIndex(TABLE_PERSON, movedCode), 3);
}

TEST_F(ScaleTest, DuplicateKeysAreReportedPairByPairInALargeIndex)
{
    // Codes 1..2000 with 5 and 7 repeated: the report names every pair, from the last entry
    // back, as the full comparison of every pair does.
    std::vector<stIndex> index;
    for (uint32_t code = 1; code <= 2000; ++code) index.push_back({code, 0, 1000 + code, nullptr});
    index.push_back({5, 0, 9001, nullptr});
    index.push_back({7, 0, 9002, nullptr});
    index.push_back({5, 0, 9003, nullptr});
    for (uint32_t i = 0; i < index.size(); ++i) index[i].nSequence = i;
    db_->m_aTestReport.clear();
    EXPECT_EQ(db_->TestTableSequence(TABLE_PERSON, &index, 0), 2);
    auto line = [](uint32_t code, uint32_t i, uint32_t j, uint32_t li, uint32_t lj) {
        return Format("Duplicate key in table Person table, key %u, indices %u and %u, file locations %u and %u.\n",
                      code, i, j, li, lj);
    };
    const std::vector<std::string> expected = {
        line(5, 2000, 2002, 9001, 9003),
        line(7, 6, 2001, 1007, 9002),
        line(5, 4, 2002, 1005, 9003),
        line(5, 4, 2000, 1005, 9001),
    };
    EXPECT_EQ(db_->m_aTestReport, expected);
    EXPECT_EQ(index.size(), 2003u) << "nothing removed without repair";
}
