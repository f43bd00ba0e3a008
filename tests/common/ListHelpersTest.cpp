#include "common/ListHelpers.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TempFolder.h"
#include "common/Backup.h"
#include "widgets/WindowList.h"
#include "widgets/DialogWaitBox.h"
#include "platform/ui/TestHooks.h"

namespace {

// Stand-ins for the program's entries: a schedule entry and an index entry.
struct Token {
    char type = 0;
    DATE date = 0.0;
    int id = 0;
};

struct IndexEntry {
    uint32_t code = 0;
    uint32_t sequence = 0;
    uint32_t location = 0;
    void* item = nullptr;
};

std::vector<uint32_t> RandomNumbers(size_t n, uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<uint32_t> out(n);
    for (uint32_t& v : out)
        v = random() % 50; // plenty of equal keys
    return out;
}

} // namespace

TEST(AddUniqueTest, ModesAppendInsertOrOnlyTest) {
    struct Row {
        uint32_t value;
        char mode;
        int result;
        std::vector<uint32_t> after;
    };
    const Row rows[] = {
        {2, 'A', 1, {1, 2, 3}}, // present: nothing changes whatever the mode
        {2, 'I', 1, {1, 2, 3}},
        {9, 'A', 0, {1, 2, 3, 9}},
        {9, 'I', 0, {9, 1, 2, 3}},
        {9, 'x', 0, {1, 2, 3}},
    };
    for (const Row& r : rows) {
        std::vector<uint32_t> list = {1, 2, 3};
        EXPECT_EQ(AddUniqueNumber(r.value, list, r.mode), r.result) << r.value << r.mode;
        EXPECT_EQ(list, r.after) << r.value << r.mode;
    }

    std::vector<uint8_t> bytes = {7};
    EXPECT_EQ(AddUniqueByte(7, bytes, 'A'), 1);
    EXPECT_EQ(AddUniqueByte(8, bytes, 'I'), 0);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{8, 7}));

    std::vector<std::string> names = {"Ann"};
    EXPECT_EQ(AddUniqueString("ann", names, 'A'), 0); // case counts
    EXPECT_EQ(AddUniqueString("Ann", names, 'A'), 1);
    EXPECT_EQ(names, (std::vector<std::string>{"Ann", "ann"}));
}

TEST(AddUniqueTest, DatesWithinHalfASecondAreEqual) {
    const DATE base = MakeDate(2024, 7, 4, 10, 0);
    std::vector<DATE> list = {base};
    EXPECT_EQ(AddUniqueDate(base + 0.4 * kDateOneSecond, list, 'A'), 1);
    EXPECT_EQ(AddUniqueDate(base - 0.4 * kDateOneSecond, list, 'A'), 1);
    EXPECT_EQ(list.size(), 1u);
    EXPECT_EQ(AddUniqueDate(base + 1.0 * kDateOneSecond, list, 'A'), 0);
    EXPECT_EQ(list.size(), 2u);
}

TEST(AddUniqueTest, FindFirstEqualEntry) {
    EXPECT_EQ(FindNumber(5, {1, 5, 5}), 1);
    EXPECT_EQ(FindNumber(6, {1, 5, 5}), -1);
    EXPECT_EQ(FindNumber(6, {}), -1);
    EXPECT_EQ(FindString("b", {"a", "b", "b"}), 1);
    EXPECT_EQ(FindString("B", {"a", "b"}), -1);
}

TEST(SortTest, PlainListsMatchTheStandardOrder) {
    for (size_t n : {0u, 1u, 2u, 3u, 17u, 1000u}) {
        std::vector<uint32_t> numbers = RandomNumbers(n, static_cast<uint32_t>(n));
        std::vector<uint32_t> expected = numbers;
        std::sort(expected.begin(), expected.end());
        SortNumbers(numbers);
        EXPECT_EQ(numbers, expected) << n;

        std::vector<double> dates(numbers.rbegin(), numbers.rend());
        for (double& d : dates)
            d = d * 1.5 - 20.0;
        std::vector<double> expectedDates = dates;
        std::sort(expectedDates.begin(), expectedDates.end());
        SortDates(dates);
        EXPECT_EQ(dates, expectedDates) << n;
    }
    std::vector<std::string> strings = {"b", "B", "a", "\xE9t\xE9", "ab", "", "A"};
    SortStrings(strings);
    // Byte-wise: upper case before lower case, bytes above 0x7F last.
    EXPECT_EQ(strings, (std::vector<std::string>{"", "A", "B", "a", "ab", "b", "\xE9t\xE9"}));
}

TEST(SortTest, ParallelListsMoveWithTheirKeys) {
    std::vector<std::string> keys = {"delta", "alpha", "charlie", "bravo"};
    std::vector<int> data = {4, 1, 3, 2};
    SortStringsWithData(keys, data);
    EXPECT_EQ(keys, (std::vector<std::string>{"alpha", "bravo", "charlie", "delta"}));
    EXPECT_EQ(data, (std::vector<int>{1, 2, 3, 4}));

    std::vector<double> dates = {3.5, 1.25, 2.0};
    std::vector<uint32_t> codes = {30, 10, 20};
    SortDatesWithData(dates, codes);
    EXPECT_EQ(dates, (std::vector<double>{1.25, 2.0, 3.5}));
    EXPECT_EQ(codes, (std::vector<uint32_t>{10, 20, 30}));

    // Lists of different lengths are not touched.
    std::vector<std::string> shortKeys = {"b", "a"};
    std::vector<int> oneValue = {1};
    SortStringsWithData(shortKeys, oneValue);
    EXPECT_EQ(shortKeys, (std::vector<std::string>{"b", "a"}));
}

TEST(SortTest, RadixSortIsStableAndMatchesTheStandardOrder) {
    struct Keyed {
        uint64_t key = 0;
        uint32_t id = 0;
    };
    // Keys that differ only in a low byte, only in a high byte, in every byte, and not at all.
    const std::vector<std::pair<const char*, uint64_t>> spreads = {
        {"low byte", 0xFF}, {"high byte", 0xFF00000000000000ULL}, {"all bytes", ~uint64_t{0}}, {"none", 0}};
    for (size_t n : {0u, 1u, 2u, 1000u}) {
        for (const auto& [name, mask] : spreads) {
            std::mt19937_64 random(n);
            std::vector<Keyed> list(n);
            for (uint32_t i = 0; i < n; ++i)
                // Few distinct keys, so that ties show whether their order was kept.
                list[i] = {(random() % 7 * 0x0123456789ABCDEFULL) & mask, i};
            std::vector<Keyed> expected = list;
            std::stable_sort(expected.begin(), expected.end(),
                             [](const Keyed& a, const Keyed& b) { return a.key < b.key; });
            list_sort::StableRadixSort(list, [](const Keyed& k) { return k.key; });
            ASSERT_EQ(list.size(), expected.size());
            for (size_t i = 0; i < n; ++i) {
                EXPECT_EQ(list[i].key, expected[i].key) << name << " " << n << " at " << i;
                EXPECT_EQ(list[i].id, expected[i].id) << name << " " << n << " at " << i;
            }
        }
    }
}

TEST(SortTest, IndexedDatesTieOnSignedKind) {
    const DATE day = MakeDate(2024, 7, 4, 10, 0);
    std::vector<Token> tokens = {
        {5, day, 1}, {-3, day, 2}, {'P', day - 1, 3}, {'p', 0.0, 4}, {'P', day, 5},
    };
    SortIndexedDates(tokens);
    std::vector<int> order;
    for (const Token& t : tokens)
        order.push_back(t.id);
    // Undated first, then by date; on equal dates kind -3 before 5 before 'P'.
    EXPECT_EQ(order, (std::vector<int>{4, 3, 2, 1, 5}));
}

TEST(SortTest, BySecondWordAndContiguousSequence) {
    std::vector<uint32_t> sequence = RandomNumbers(200, 7);
    std::vector<IndexEntry> entries;
    for (size_t i = 0; i < sequence.size(); ++i)
        entries.push_back({static_cast<uint32_t>(i + 100), sequence[i], 0, nullptr});
    entries.push_back({1, 0xFFFFFFF0u, 0, nullptr}); // compared unsigned: last
    SortBySecondWord(entries, &IndexEntry::sequence);
    EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end(),
                               [](const IndexEntry& a, const IndexEntry& b) {
                                   return a.sequence < b.sequence;
                               }));
    EXPECT_EQ(entries.back().code, 1u);
    for (const IndexEntry& e : entries) {
        if (e.code >= 100) {
            EXPECT_EQ(e.sequence, sequence[e.code - 100]) << "entry moved whole";
        }
    }

    std::vector<IndexEntry> contiguous = {{9, 0}, {8, 1}, {7, 2}};
    EXPECT_TRUE(IsSequenceContiguous(contiguous, &IndexEntry::sequence));
    contiguous[2].sequence = 3;
    EXPECT_FALSE(IsSequenceContiguous(contiguous, &IndexEntry::sequence));
    std::vector<IndexEntry> fromOne = {{9, 1}, {8, 2}};
    EXPECT_FALSE(IsSequenceContiguous(fromOne, &IndexEntry::sequence));
}

TEST(SortTest, BySecondWordShowsProgressInTheWaitBox) {
    ui::test::EnsureApplication();
    std::vector<IndexEntry> entries;
    for (uint32_t i = 0; i < 40; ++i)
        entries.push_back({i, 39 - i, 0, nullptr});
    CDialogWaitBox* box = ShowWaitBox("Sorting", false, 0);
    ASSERT_NE(box, nullptr);
    SortBySecondWord(entries, &IndexEntry::sequence, box);
    EXPECT_EQ(box->m_dTotal, 40.0);
    EXPECT_EQ(box->m_strPercent, "100.0");
    CloseWaitBox(box);
    EXPECT_TRUE(IsSequenceContiguous(entries, &IndexEntry::sequence));
    EXPECT_EQ(entries.front().code, 39u);
}

TEST(SortTest, HeapSortReportsEachPlacedEntry) {
    std::vector<uint32_t> list = {5, 3, 9, 1};
    std::vector<size_t> placed;
    list_sort::HeapSort(
        list.size(), [&](size_t i, size_t j) { return list[i] < list[j]; },
        [&](size_t i, size_t j) { std::swap(list[i], list[j]); },
        [&](size_t done) { placed.push_back(done); });
    EXPECT_EQ(list, (std::vector<uint32_t>{1, 3, 5, 9}));
    EXPECT_EQ(placed, (std::vector<size_t>{1, 2, 3, 4}));
}

TEST(TypedKeyTest, PackAndSplit) {
    EXPECT_EQ(MakeTypedKey(2, 5), 33554437u);
    EXPECT_EQ(MakeTypedKey(2, 16777216), 0xFFFFFFFFu);
    EXPECT_EQ(MakeTypedKey(255, 16777215), 0xFFFFFFFFu); // the largest key reads as all ones too
    uint8_t type = 0;
    uint32_t number = 0;
    SplitTypedKey(MakeTypedKey(0xAB, 123456), type, number);
    EXPECT_EQ(type, 0xAB);
    EXPECT_EQ(number, 123456u);
}

TEST(FileCheckTest, ExistsSizeAndLines) {
    TempFolder folder;
    folder.WriteFile("Three.txt", "a\nb\nc");
    folder.WriteFile("Long.txt", std::string(2500, 'x') + "\nend\n");
    folder.WriteFile("Empty.txt", "");

    EXPECT_EQ(FileExists("Three.txt"), 1);
    EXPECT_EQ(FileExists("three.TXT"), 1);
    EXPECT_EQ(FileExists("*.txt"), 1);
    EXPECT_EQ(FileExists("Missing.txt"), 0);
    EXPECT_EQ(FileExists(folder.Path()), 1);

    EXPECT_EQ(GetFileSize32("Three.txt"), 5u);
    EXPECT_EQ(GetFileSize32("Missing.txt"), 0u);

    EXPECT_EQ(CountFileLines("Three.txt"), 3);
    EXPECT_EQ(CountFileLines("Long.txt"), 4); // 1023 + 1023 + 454 + newline, then "end"
    EXPECT_EQ(CountFileLines("Empty.txt"), 0);
    EXPECT_EQ(CountFileLines("Missing.txt"), 0);

    EXPECT_EQ(OpenTextFile("Missing.txt", "r"), nullptr);
    std::FILE* file = OpenTextFile("Three.txt", "r");
    ASSERT_NE(file, nullptr);
    std::fclose(file);
}

TEST(BackupNameTest, Extensions) {
    EXPECT_EQ(GetBackupExtension('Z', 0), ".ZPA");
    EXPECT_EQ(GetBackupExtension('B', 2), ".BKC");
    EXPECT_EQ(GetBackupExtension('P', 25), ".PKZ");
    EXPECT_EQ(GetBackupExtension('X', 0), "");
    EXPECT_EQ(GetBackupExtension('B', 26), "");
    EXPECT_EQ(GetBackupExtension('B', -1), "");

    std::vector<std::string> names = {"old"};
    GetGenerationNames("C:\\data\\Studio", 'B', 3, names);
    EXPECT_EQ(names, (std::vector<std::string>{"", "C:\\data\\Studio.BKA", "C:\\data\\Studio.BKB",
                                               "C:\\data\\Studio.BKC"}));
}

TEST(BackupNameTest, RotationMovesEachGenerationUp) {
    struct Row {
        std::vector<std::string> present; // letters present before, content = letter
        int count;
        std::string after;                // per letter A..D: content or '-' when absent
    };
    const Row rows[] = {
        {{"A"}, 3, "-A--"},
        {{"A", "B", "C"}, 3, "-AB-"},
        {{"A", "C"}, 3, "-A--"},
        {{"B"}, 3, "--B-"},
        {{"A", "B"}, 1, "AB--"},
        {{"A", "B", "C", "D"}, 2, "-ACD"},
    };
    for (const Row& r : rows) {
        TempFolder folder;
        folder.WriteFile("Studio.dbs", "database");
        for (const std::string& letter : r.present)
            folder.WriteFile("Studio.BK" + letter, letter);
        RotateGenerations("Studio", 'B', r.count);
        std::string after;
        for (char letter = 'A'; letter <= 'D'; ++letter) {
            const std::string name = std::string("Studio.BK") + letter;
            after += folder.Exists(name) ? folder.ReadFile(name) : "-";
        }
        EXPECT_EQ(after, r.after) << "count " << r.count;
        EXPECT_EQ(folder.ReadFile("Studio.dbs"), "database");
    }
}
