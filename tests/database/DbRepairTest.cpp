// Header searches, the list test and its repair, the method comparison, block descriptions.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DbFixture.h"
#include "DbTestBase.h"
#include "database/DbEngine.h"

namespace {

class DbRepairTest : public DbTestBase {
protected:
    void SetUp() override {
        DbTestBase::SetUp();
        path_ = PathOf("repair.dbs");
    }
    // A, B, C with data of 3, 5 and 4 bytes: at 1024, 1063 and 1104.
    std::vector<uint32_t> WriteSound() {
        return DbFixture().Add({6, 1, "abc"}).Add({6, 2, "defgh"}).Add({7, 3, "ijkl"}).Write(path_);
    }
    void Open() { ASSERT_GT(db_.OpenDB(path_, 0), 0); }
    std::vector<uint32_t> Locate(char method) {
        std::vector<uint32_t> locs;
        db_.LocateHeaders(method, locs, nullptr);
        return locs;
    }
    std::vector<std::string> Test(char method, int repair, int expected) {
        std::vector<std::string> report;
        EXPECT_EQ(db_.TestAndRepairHeaders(method, repair, report), expected);
        return report;
    }
    static bool Has(const std::vector<std::string>& report, const std::string& line) {
        return std::find(report.begin(), report.end(), line) != report.end();
    }

    std::string path_;
    CDbEngine db_;
};

}  // namespace

TEST_F(DbRepairTest, EveryMethodFindsTheHeadersOfASoundFile) {
    std::vector<uint32_t> locs = WriteSound();
    Open();
    for (char method : {'F', 'B', 'D', 'a'}) EXPECT_EQ(Locate(method), locs) << method;
    std::vector<std::string> report = Test('F', 0, 1);
    EXPECT_EQ(report, (std::vector<std::string>{
                          "Test linked list structure [To repair problems use menu item 'Repair linked list' or "
                          "'Analyze and reconstruct database']",
                          "", "Number of headers found is 3.", "No problems found."}));
}

TEST_F(DbRepairTest, AnalysisShowsHowTheMethodsAgree) {
    WriteSound();
    Open();
    std::vector<std::string> report;
    db_.AnalyzeHeaderSearches(report);
    ASSERT_GE(report.size(), 5u);
    EXPECT_EQ(report[0], "File\tForward\tBackward\tDelimiters");
    EXPECT_EQ(report[1], "Location\tIndex\tIndex\tIndex");
    EXPECT_EQ(report[2], "1024\t0\t0\t0\tPerson table, key 1, count 1");
    EXPECT_EQ(report[3], "1063\t1\t1\t1\tPerson table, key 2, count 2");
    EXPECT_EQ(report[4], "1104\t2\t2\t2\tMail list table, key 3, count 1");
    EXPECT_TRUE(Has(report, "Possibly usable 3, unusable 0"));
    EXPECT_TRUE(Has(report, "Person table\t\trecords 2, deleted 0"));
}

TEST_F(DbRepairTest, DelimiterScanFindsAHeaderAfterAnOddRunOfU) {
    std::vector<uint32_t> locs =
        DbFixture().Add({6, 1, std::string(33, 'U')}).Add({6, 2, "UUUUU"}).Add({6, 3, "x"}).Write(path_);
    Open();
    std::vector<uint32_t> all;
    db_.FindHeadersFromDelimiters(all, nullptr, 1);
    EXPECT_TRUE(std::find(all.begin(), all.end(), locs[1]) != all.end());
    EXPECT_EQ(Locate('D'), locs) << "candidates inside the data are dropped";
    EXPECT_EQ(Locate('B'), locs);
    Test('D', 0, 1);
}

TEST_F(DbRepairTest, PairAcrossAWindowBorderIsFoundOnce) {
    // The second header starts at 2045: its "UU" straddles the border of the second window.
    std::vector<uint32_t> locs =
        DbFixture().Add({6, 1, "abc", '+', 0, 0, 2045 - 1024 - 36}).Add({6, 2, "def"}).Write(path_);
    ASSERT_EQ(locs[1], 2045u);
    Open();
    std::vector<uint32_t> all;
    db_.FindHeadersFromDelimiters(all, nullptr, 1);
    EXPECT_EQ(all, locs);
}

TEST_F(DbRepairTest, BrokenListsAreReportedAndRepaired) {
    struct Case {
        const char* name;
        char method;
        void (*breakIt)(const std::string& path, const std::vector<uint32_t>& locs);
        std::vector<std::string> expected;  // the lines after the count line
    } cases[] = {
        {"bad next link", 'D',
         [](const std::string& p, const std::vector<uint32_t>& l) { PokeU32(p, l[0] + kOffNext, 0); },
         {"1 errors found.", "Record at 1024 has invalid pointer 0 to next record at 1063.",
          " Pointer to next record set to 1063."}},
        {"bad previous link", 'F',
         [](const std::string& p, const std::vector<uint32_t>& l) { PokeU32(p, l[1] + kOffPrev, 7777); },
         {"1 errors found.", "Record at 1063 has invalid pointer 7777 to previous record at 1024.",
          " Pointer to previous record set to 1024."}},
        {"first previous link", 'F',
         [](const std::string& p, const std::vector<uint32_t>& l) { PokeU32(p, l[0] + kOffPrev, 5); },
         {"1 errors found.", "First record pointer to previous record wrong (5).",
          " First record pointer to previous record repaired (4294967295)."}},
        {"lost block, forward", 'F',
         [](const std::string& p, const std::vector<uint32_t>& l) {
             PokeU32(p, l[0] + kOffNext, l[2]);
             PokeU32(p, l[2] + kOffPrev, l[0]);
         },
         {"1 errors found.", "Record at 1024 has invalid indicated block size 3 < 44 available.",
          " Block size set to 44."}},
        {"lost block, combined", 'a',
         [](const std::string& p, const std::vector<uint32_t>& l) {
             PokeU32(p, l[0] + kOffNext, l[2]);
             PokeU32(p, l[2] + kOffPrev, l[0]);
         },
         {"2 errors found.", "Record at 1024 has invalid pointer 1104 to next record at 1063.",
          " Pointer to next record set to 1063.",
          "Record at 1104 has invalid pointer 1024 to previous record at 1063.",
          " Pointer to previous record set to 1063."}},
        {"overlapping block", 'F',
         [](const std::string& p, const std::vector<uint32_t>& l) { PokeU32(p, l[0] + kOffBlockLen, 60); },
         {"1 errors found.", "Record at 1024 has invalid indicated block size 60 > 3 available.",
          " Record marked as deleted status -.", " Block size set to 3."}},
        {"bad status", 'F',
         [](const std::string& p, const std::vector<uint32_t>& l) { PokeByte(p, l[1] + kOffStatus, 'x'); },
         {"1 errors found.", "Record at 1063 has invalid status x.", " Record marked as deleted status -."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db_.CloseDB();
        std::vector<uint32_t> locs = WriteSound();
        c.breakIt(path_, locs);
        Open();
        std::vector<std::string> tested = Test(c.method, 0, 0);
        std::vector<std::string> repaired = Test(c.method, 1, 0);
        EXPECT_EQ(repaired[0], "Test and repair linked list structure.");
        ASSERT_EQ(repaired[2], "Number of headers found is " +
                                   std::to_string(c.method == 'F' && std::string(c.name).find("lost") != std::string::npos
                                                      ? 2
                                                      : 3) +
                                   ".");
        std::vector<std::string> after(repaired.begin() + 3, repaired.end());
        EXPECT_EQ(after, c.expected);
        // The test alone reports the same errors without the repair lines.
        EXPECT_EQ(tested[3], c.expected[0]);
        EXPECT_EQ(Test('F', 0, 1).back(), "No problems found.") << "the repaired file passes";
    }
}

TEST_F(DbRepairTest, UserCodeThatDisagreesWithTheKey) {
    std::vector<uint32_t> locs =
        DbFixture().Add({6, 0x02000001, "abc", '+', 0, 0, 0, 5}).Add({6, 2, "x", '-', 0, 0, 0, 9}).Write(path_);
    Open();
    std::vector<std::string> report = Test('F', 1, 0);
    EXPECT_TRUE(Has(report, "Record at 1024, table 6, created by user 5 but key 33554433 out of range "
                            "67108864-83886079."));
    EXPECT_TRUE(Has(report, " User code reset to 3."));
    EXPECT_EQ(report[3], "1 errors found.") << "a freed block is not checked";
    EXPECT_EQ(PeekHeader(path_, locs[0]).nUser, 3);
}

TEST_F(DbRepairTest, BackwardSearchFromAGivenStart) {
    std::vector<uint32_t> locs = WriteSound();
    Open();
    std::vector<uint32_t> found{99};
    db_.FindHeadersByBackwardLink(found, nullptr, locs[1]);
    EXPECT_EQ(found, (std::vector<uint32_t>{locs[0], locs[1]}));
}

TEST_F(DbRepairTest, BlockDescriptions) {
    std::vector<uint32_t> locs =
        DbFixture().Add({6, 1, std::string("ab\x01", 3)}).Add({13, 2, "z", '#', 4}).Write(path_);
    Open();
    EXPECT_EQ(db_.GetBlockDescription(locs[0]),
              "[1024.USED, size 3, used 3, next 1063] [Person table, key 1][User code 1]ab[1]");
    EXPECT_EQ(db_.GetBlockDescription(locs[1]),
              "[1063.MARKDEL, size 1, used 1, LAST] [Table 13/4, key 2/4][User code 1]z");
    EXPECT_EQ(db_.GetBlockDescription(5000), "Error in reading from file location 5000, table 0, key 0");
}
