#pragma once
// Builds record bytes by hand, field by field, little-endian, the way the stored layouts lay them
// out; independent of the code under test. And a record store over a plain buffer.

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "records/RecordBuffer.h"

class ByteBuilder {
public:
    ByteBuilder& U8(uint8_t v)
    {
        bytes.push_back(v);
        return *this;
    }
    ByteBuilder& Ch(char c) { return U8(static_cast<uint8_t>(c)); }
    ByteBuilder& U32(uint32_t v)
    {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    ByteBuilder& I32(int32_t v) { return U32(static_cast<uint32_t>(v)); }
    ByteBuilder& F32(float f)
    {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        return U32(v);
    }
    ByteBuilder& F64(double d)
    {
        uint64_t v;
        std::memcpy(&v, &d, 8);
        for (int i = 0; i < 8; ++i)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
        return *this;
    }
    ByteBuilder& Str(const std::string& s)
    {
        U32(static_cast<uint32_t>(s.size() + 1));
        bytes.insert(bytes.end(), s.begin(), s.end());
        return U8(0);
    }
    ByteBuilder& Strs(std::initializer_list<std::string> list)
    {
        U32(static_cast<uint32_t>(list.size()));
        for (const auto& s : list)
            Str(s);
        return *this;
    }
    ByteBuilder& U32s(std::initializer_list<uint32_t> list)
    {
        U32(static_cast<uint32_t>(list.size()));
        for (uint32_t v : list)
            U32(v);
        return *this;
    }
    ByteBuilder& F64s(std::initializer_list<double> list)
    {
        U32(static_cast<uint32_t>(list.size()));
        for (double v : list)
            F64(v);
        return *this;
    }
    ByteBuilder& Pairs(std::initializer_list<std::pair<int32_t, double>> list)
    {
        U32(static_cast<uint32_t>(list.size()));
        for (const auto& p : list)
            I32(p.first).F64(p.second);
        return *this;
    }
    ByteBuilder& Fill(size_t n, uint8_t v)
    {
        bytes.insert(bytes.end(), n, v);
        return *this;
    }
    ByteBuilder& Append(const ByteBuilder& other)
    {
        bytes.insert(bytes.end(), other.bytes.begin(), other.bytes.end());
        return *this;
    }

    std::vector<uint8_t> bytes;
};

// A record store over its own 64 KiB buffer that remembers the writes handed to it.
class FakeRecordStore : public IRecordStore {
public:
    struct Write {
        uint32_t length, table, key, subtable, subkey;
        std::vector<uint8_t> data;
    };

    FakeRecordStore() : buffer(RECORD_BUFFER_SIZE, 0xCD) {}

    // Puts a record into the buffer as a read from the file would.
    void Load(const std::vector<uint8_t>& record)
    {
        std::fill(buffer.begin(), buffer.end(), 0xCD);
        std::copy(record.begin(), record.end(), buffer.begin());
        length = static_cast<uint32_t>(record.size());
    }
    std::vector<uint8_t> Written(uint32_t n) const
    {
        return std::vector<uint8_t>(buffer.begin(), buffer.begin() + n);
    }

    uint8_t* GetRecordBuffer() override { return buffer.data(); }
    uint32_t GetRecordLength() const override { return length; }
    uint32_t WriteRecord(uint32_t len, uint32_t table, uint32_t key, uint32_t subtable,
                         uint32_t subkey) override
    {
        writes.push_back({len, table, key, subtable, subkey, Written(len)});
        return result;
    }

    std::vector<uint8_t> buffer;
    uint32_t length = 0;
    uint32_t result = 1024;
    std::vector<Write> writes;
};
