#pragma once
// Builds small `.dbs` files for the engine's tests: a list of records in, a linked file out,
// with patches that break it the ways a damaged file is broken.

#include <cstdint>
#include <string>
#include <vector>

#include "database/DataHeader.h"

struct FixtureRecord {
    uint8_t table = 6;
    uint32_t key = 1;
    std::string data;
    char status = DB_STATUS_USED;
    uint8_t subtable = 0;
    uint32_t subkey = 0;
    uint16_t blockLen = 0;  // 0: the data's length
    uint8_t user = 0;       // 0: the key's user
};

class DbFixture {
public:
    DbFixture& Add(const FixtureRecord& record) {
        records_.push_back(record);
        return *this;
    }
    // Writes the file (header area with close status `closedOK`, then the blocks back to back,
    // linked both ways, each record with its data check) and gives the block locations.
    std::vector<uint32_t> Write(const std::string& path, uint32_t closedOK = 1,
                                uint32_t version = DB_FORMAT_CURRENT) const;

private:
    std::vector<FixtureRecord> records_;
};

// Raw file helpers.
std::string ReadAll(const std::string& path);
void WriteAll(const std::string& path, const std::string& bytes);
uint32_t PeekU32(const std::string& path, uint32_t offset);
void PokeU32(const std::string& path, uint32_t offset, uint32_t value);
void PokeByte(const std::string& path, uint32_t offset, uint8_t value);
stDataHeader PeekHeader(const std::string& path, uint32_t loc);

// Offsets inside a header.
constexpr uint32_t kOffNext = 8;
constexpr uint32_t kOffPrev = 12;
constexpr uint32_t kOffBlockLen = 16;
constexpr uint32_t kOffStatus = 33;
