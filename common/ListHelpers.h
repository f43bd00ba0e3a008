#pragma once
// Small operations on the program's lists: add-if-absent, find, in-place heap sorts, typed keys,
// and a few checks on files with the rotation of numbered backup generations.
//
// Add-if-absent members give 1 when the value is already in the list (nothing changes); otherwise
// mode 'A' appends it, 'I' inserts it at the front, any other mode only tests; the result is then 0.
// The sorts are heap sorts into ascending order (entries with equal keys may change their order),
// but for the radix sort.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "common/DateTime.h"
#include "common/ProgressPace.h"
#include "common/ProgressReport.h"

int AddUniqueNumber(uint32_t value, std::vector<uint32_t>& list, char mode);
int AddUniqueByte(uint8_t value, std::vector<uint8_t>& list, char mode);
// Dates within half a second of each other count as equal.
int AddUniqueDate(DATE value, std::vector<DATE>& list, char mode);
// Case-sensitive.
int AddUniqueString(const std::string& value, std::vector<std::string>& list, char mode);

// Index of the first equal entry, or -1.
int FindNumber(uint32_t value, const std::vector<uint32_t>& list);
int FindString(const std::string& value, const std::vector<std::string>& list);

namespace list_sort {

// Heap sort over positions 0..n-1: `less(i, j)` compares two positions, `swap(i, j)` exchanges
// them, `placed(k)` is told each time k entries have reached their final places.
template <class Less, class Swap, class Placed>
void HeapSort(size_t n, Less less, Swap swap, Placed placed) {
    auto siftDown = [&](size_t root, size_t end) {
        for (;;) {
            size_t child = 2 * root + 1;
            if (child >= end)
                return;
            if (child + 1 < end && less(child, child + 1))
                ++child;
            if (!less(root, child))
                return;
            swap(root, child);
            root = child;
        }
    };
    for (size_t i = n / 2; i-- > 0;)
        siftDown(i, n);
    for (size_t end = n; end > 1; --end) {
        swap(0, end - 1);
        placed(n - end + 1);
        siftDown(0, end - 1);
    }
    if (n > 0)
        placed(n);
}

template <class Less, class Swap>
void HeapSort(size_t n, Less less, Swap swap) {
    HeapSort(n, less, swap, [](size_t) {});
}

// Sorts `keys` and moves the entry of `data` at the same position with each key. Lists of
// different lengths are left as they are.
template <class Key, class Data, class KeyLess>
void SortWithData(std::vector<Key>& keys, std::vector<Data>& data, KeyLess keyLess) {
    if (keys.size() != data.size())
        return;
    HeapSort(
        keys.size(), [&](size_t i, size_t j) { return keyLess(keys[i], keys[j]); },
        [&](size_t i, size_t j) {
            std::swap(keys[i], keys[j]);
            std::swap(data[i], data[j]);
        });
}

// Sorts `list` ascending by the 64-bit number `keyOf` gives each entry, a byte of it at a time
// from the lowest; stable: entries of one key keep their order. Bytes in which every key agrees
// take no pass.
template <class Entry, class KeyOf>
void StableRadixSort(std::vector<Entry>& list, KeyOf keyOf) {
    constexpr size_t kBytes = sizeof(uint64_t);
    if (list.size() < 2)
        return;
    std::vector<std::array<size_t, 256>> counts(kBytes);
    for (const Entry& entry : list) {
        const uint64_t key = keyOf(entry);
        for (size_t b = 0; b < kBytes; ++b)
            ++counts[b][(key >> (8 * b)) & 0xFF];
    }
    std::vector<Entry> moved(list.size());
    const uint64_t firstKey = keyOf(list.front());
    for (size_t b = 0; b < kBytes; ++b) {
        std::array<size_t, 256>& places = counts[b];
        if (places[(firstKey >> (8 * b)) & 0xFF] == list.size())
            continue;
        size_t at = 0;
        for (size_t& place : places) {
            const size_t count = place;
            place = at;
            at += count;
        }
        for (const Entry& entry : list)
            moved[places[(keyOf(entry) >> (8 * b)) & 0xFF]++] = entry;
        list.swap(moved);
    }
}

// The wait box's total and progress while a sort places its entries.
void SetWaitBoxTotal(IProgressReport* box, size_t total);
void SetWaitBoxProgress(IProgressReport* box, size_t done);

} // namespace list_sort

void SortNumbers(std::vector<uint32_t>& list);
void SortDates(std::vector<double>& list);
// Byte-wise, case-sensitive.
void SortStrings(std::vector<std::string>& list);

// Sorts the dates; the parallel entry moves with its date.
template <class Data>
void SortDatesWithData(std::vector<double>& dates, std::vector<Data>& data) {
    list_sort::SortWithData(dates, data, [](double a, double b) { return a < b; });
}

// Sorts the strings byte-wise; the parallel entry moves with its string.
template <class Data>
void SortStringsWithData(std::vector<std::string>& keys, std::vector<Data>& data) {
    list_sort::SortWithData(keys, data, [](const std::string& a, const std::string& b) {
        return a.compare(b) < 0;
    });
}

// Sorts schedule entries by their `date`; equal dates by their kind letter `type`, compared as a
// signed byte.
template <class Entry>
void SortIndexedDates(std::vector<Entry>& list) {
    list_sort::HeapSort(
        list.size(),
        [&](size_t i, size_t j) {
            if (list[i].date != list[j].date)
                return list[i].date < list[j].date;
            return static_cast<signed char>(list[i].type) < static_cast<signed char>(list[j].type);
        },
        [&](size_t i, size_t j) { std::swap(list[i], list[j]); });
}

// Sorts index entries by the unsigned number at `number` (the display sequence). With a wait box,
// its total is the entry count and its progress the entries placed so far.
template <class Entry>
void SortBySecondWord(std::vector<Entry>& list, uint32_t Entry::*number,
                      IProgressReport* box = nullptr) {
    if (box != nullptr)
        list_sort::SetWaitBoxTotal(box, list.size());
    CProgressPace pace;
    list_sort::HeapSort(
        list.size(), [&](size_t i, size_t j) { return list[i].*number < list[j].*number; },
        [&](size_t i, size_t j) { std::swap(list[i], list[j]); },
        [&](size_t done) {
            if (box != nullptr && pace.Due(done, list.size()))
                list_sort::SetWaitBoxProgress(box, done);
        });
}

// True when the numbers at `number` read 0, 1, 2, ... in list order (true for an empty list).
template <class Entry>
bool IsSequenceContiguous(const std::vector<Entry>& list, uint32_t Entry::*number) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].*number != i)
            return false;
    return true;
}

// type x 2^24 + number; all ones when the number does not fit in 24 bits.
uint32_t MakeTypedKey(uint8_t type, uint32_t number);
void SplitTypedKey(uint32_t key, uint8_t& type, uint32_t& number);

// Opens a file with a C library mode ("r", "w", "a", ...); null when it cannot be opened.
std::FILE* OpenTextFile(const std::string& path, const char* mode);
// 1 when a directory search finds the path (a file or a folder; wildcards allowed), else 0.
int FileExists(const std::string& path);
// The low 32 bits of the file's size; 0 when it is not found.
uint32_t GetFileSize32(const std::string& path);
// The number of lines, a line longer than 1023 characters counting once per 1023 characters;
// 0 when the file cannot be opened.
int CountFileLines(const std::string& path);

// An empty string, then for each generation 0 to count - 1 the database name (its path without
// ".dbs") followed by GetBackupExtension(kind, generation): entry k names generation k - 1.
void GetGenerationNames(const std::string& databaseName, char kind, int count,
                        std::vector<std::string>& names);
// Makes room for a new generation A: the oldest generation (letter 'A' + count - 1) is deleted and
// every other one moves one letter up. Failures are not reported; the next step goes on.
void RotateGenerations(const std::string& databaseName, char kind, int count);
