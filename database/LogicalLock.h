#pragma once
// A lock permission as the lock manager keeps it: who asked (computer name), what kind (table
// code 1-12, 254 header file location, 255 database) and which value (key, location, or
// 0xFFFFFFFF for a whole table or the database; 0xFFFFFFFE a table's sequence).

#include <cstdint>
#include <string>

struct stLockSpec {
    std::string sOwner;
    uint8_t nKind = 0;
    uint32_t nValue = 0xFFFFFFFF;
};
