// The grouping of a table's records by the persons they name, checked against reading the whole
// index after each kind of change the database makes to it.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "database/RecordsByPerson.h"

namespace {

struct stFakeRecord {
    std::array<uint32_t, 3> aPersons;  // student, second person, payer
};

size_t FakePersons(const void* item, CRecordsByPerson::stPersons& persons)
{
    persons = static_cast<const stFakeRecord*>(item)->aPersons;
    return persons.size();
}

constexpr uint32_t kNone = CRecordsByPerson::kNoPerson;

class RecordsByPersonTest : public ::testing::Test {
protected:
    // Appends a record of a new code naming the persons given, and tells the grouping.
    size_t Add(std::array<uint32_t, 3> persons, size_t at = static_cast<size_t>(-1), bool note = true)
    {
        records_.push_back(std::make_unique<stFakeRecord>(stFakeRecord{persons}));
        stIndex e;
        e.nCode = nextCode_++;
        e.pItem = records_.back().get();
        if (at > index_.size()) at = index_.size();
        index_.insert(index_.begin() + static_cast<long>(at), e);
        if (note) grouping_.Note(index_, at);
        return at;
    }
    void Erase(size_t at, bool forget = true)
    {
        const uint32_t code = index_[at].nCode;
        index_.erase(index_.begin() + static_cast<long>(at));
        if (forget) grouping_.Forget(code);
    }
    stFakeRecord& RecordAt(size_t at) { return *static_cast<stFakeRecord*>(index_[at].pItem); }

    std::vector<size_t> Scan(uint32_t person) const
    {
        std::vector<size_t> found;
        for (size_t i = 0; i < index_.size(); ++i) {
            const auto& p = static_cast<const stFakeRecord*>(index_[i].pItem)->aPersons;
            if (p[0] == person || p[1] == person || p[2] == person) found.push_back(i);
        }
        return found;
    }
    void ExpectAsScan(const std::string& step)
    {
        for (uint32_t person : {0u, 1u, 2u, 3u, 7u, 11u, 99u, kNone})
            EXPECT_EQ(grouping_.Find(index_, person), Scan(person)) << step << ", person " << person;
    }

    std::vector<std::unique_ptr<stFakeRecord>> records_;
    std::vector<stIndex> index_;
    uint32_t nextCode_ = 0;
    CRecordsByPerson grouping_{&FakePersons};
};

TEST_F(RecordsByPersonTest, FollowsTheIndexThroughEveryKindOfChange)
{
    for (uint32_t i = 0; i < 200; ++i) Add({i % 12, i % 5 == 0 ? i % 7 : kNone, i % 9 == 0 ? 3u : kNone});
    ExpectAsScan("read");
    // Inserted ahead of everything, more than an entry is looked for around its old place.
    for (uint32_t i = 0; i < 100; ++i) Add({7, kNone, kNone}, 0);
    ExpectAsScan("inserted first");
    Add({99, 99, 99}, 150);
    ExpectAsScan("one person in every role");
    // A saved record naming another payer, then another student.
    RecordAt(10).aPersons[2] = 11;
    grouping_.Note(index_, 10);
    RecordAt(20).aPersons[0] = 2;
    grouping_.Note(index_, 20);
    ExpectAsScan("saved with other persons");
    Erase(5);
    Erase(42);
    ExpectAsScan("deleted");
    // Changes the grouping was not told of: a record gone, one added, one naming nobody now.
    Erase(0, false);
    ExpectAsScan("deleted untold");
    Add({1, 2, 3}, 3, false);
    ExpectAsScan("added untold");
    RecordAt(30).aPersons = {kNone, kNone, kNone};
    ExpectAsScan("moved away untold");
    grouping_.Reset();
    ExpectAsScan("table read again");
}

TEST_F(RecordsByPersonTest, AnIndexHoldingACodeTwiceIsReadWhole)
{
    for (uint32_t i = 0; i < 20; ++i) Add({i % 4, kNone, kNone});
    ExpectAsScan("read");
    index_.push_back(index_[3]);
    ExpectAsScan("code twice");
}

}  // namespace
