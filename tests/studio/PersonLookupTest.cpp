// Persons found by code in a table in name order: names in both orders, unknown codes, and the
// first of two entries that share a code.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "records/Person.h"
#include "studio/PersonLookup.h"

namespace {

struct PersonTable {
    std::vector<std::unique_ptr<CPerson>> persons;
    std::vector<stIndex> index;

    void Add(uint32_t code, const std::string& first, const std::string& last)
    {
        auto person = std::make_unique<CPerson>();
        person->m_sFirstName = first;
        person->m_sLastName = last;
        stIndex entry{};
        entry.nCode = code;
        entry.pItem = person.get();
        index.push_back(entry);
        persons.push_back(std::move(person));
    }
};

}  // namespace

TEST(PersonLookupTest, NamesByCodeInEitherOrderAndUnknownCodes)
{
    PersonTable table;
    // In name order, not in code order, with gaps and a code of the largest kind.
    table.Add(7, "Ann", "Adams");
    table.Add(2, "Bob", "Brown");
    table.Add(4294967294u, "Cy", "Clark");
    table.Add(40, "Dee", "");
    // A damaged file's second entry of one code: the first stays the one found.
    table.Add(2, "Other", "Person");
    const CPersonLookup lookup(table.index);

    struct Case {
        uint32_t code;
        int order;
        std::string name;
    };
    const std::vector<Case> cases = {
        {7, 0, "Ann Adams"},      {7, 1, "Adams, Ann"},       {2, 0, "Bob Brown"},
        {4294967294u, 1, "Clark, Cy"}, {40, 0, "Dee "},       {0, 0, "Person code 0"},
        {3, 1, "Person code 3"},  {4294967295u, 0, "Person code 4294967295"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(lookup.GetName(c.code, c.order), c.name) << c.code;
        std::string text = "> ";
        lookup.AppendName(text, c.code, c.order);
        EXPECT_EQ(text, "> " + c.name) << c.code;
    }
    EXPECT_EQ(lookup.Find(2), table.persons[1].get());
    EXPECT_EQ(lookup.Find(5), nullptr);
    EXPECT_EQ(CPersonLookup({}).Find(0), nullptr);
}
