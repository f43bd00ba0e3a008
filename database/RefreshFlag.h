#pragma once
// One pending refresh: who changed what. Table 0xFF is the whole database; 0xFE a record
// header, the key then holding its file location (all bits set: every header); a table code
// 1-12 with key 0xFFFFFFFF the whole table, 0xFFFFFFFE its sequence, any other key one item.

#include <cstdint>

struct stRefreshFlag {
    uint8_t nUser = 0;
    uint8_t nTable = 0;
    uint32_t nKey = 0;
};
