#pragma once
// Inputs shared by the archive tests.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace archive_test {

using Bytes = std::vector<uint8_t>;

inline Bytes RandomBytes(size_t n, uint32_t seed)
{
    std::mt19937 gen(seed);
    Bytes b(n);
    for (auto& x : b)
        x = static_cast<uint8_t>(gen());
    return b;
}

// Records of a fixed layout with a few varying fields, like a database file.
inline Bytes DatabaseLike(size_t n)
{
    Bytes b;
    std::mt19937 gen(7);
    int id = 0;
    while (b.size() < n) {
        std::string rec = "P" + std::to_string(1000 + id++) + "|Smith, Anna        |555-01" +
                          std::to_string(gen() % 100) + "|Tango Level 2|";
        rec.resize(64, ' ');
        for (int i = 0; i < 8; ++i)
            rec.push_back(static_cast<char>(gen() % 4 == 0 ? gen() : 0));
        b.insert(b.end(), rec.begin(), rec.end());
    }
    b.resize(n);
    return b;
}

inline Bytes Text(size_t n)
{
    const std::string words[] = {"the ", "studio ", "dance ", "lesson ", "payment ", "is ", "due ",
                                 "on ", "Monday", ".\r\n", "Waltz ", "and ", "Foxtrot "};
    std::mt19937 gen(3);
    std::string s;
    while (s.size() < n)
        s += words[gen() % 13];
    s.resize(n);
    return Bytes(s.begin(), s.end());
}

}  // namespace archive_test
