#pragma once
// One entry of a table's index: the record's key, its place in the display order, where its
// block lies in the file, and the record object that holds it (owned by CDatabase, of the
// record class of the entry's table).

#include <cstdint>

struct stIndex {
    uint32_t nCode = 0xFFFFFFFF;
    uint32_t nSequence = 0;
    uint32_t nFileLoc = 0xFFFFFFFF;
    void* pItem = nullptr;
};
