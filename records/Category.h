#pragma once
// A category (table 5): a named code of one type letter with 64 raw parameter bytes whose
// layout depends on the type (for an account: transaction type, two 32-bit account codes, flags).

#include <array>
#include <cstdint>
#include <string>

#include "records/RecordBuffer.h"

class CCategory {
public:
    explicit CCategory(char type = 0);
    virtual ~CCategory() = default;
    CCategory(CCategory&&) = default;
    CCategory& operator=(CCategory&&) = default;

    // Bytes read, or 0 when the record is damaged (the object is then unchanged).
    uint32_t ReadRecord(IRecordStore& store);
    bool ReadRecord(CRecordReader& r);
    // Bytes written, or 0 when the record cannot be stored (the reason in `error`).
    uint32_t WriteRecord(IRecordStore& store, std::string* error = nullptr) const;
    bool WriteRecord(CRecordWriter& w) const;
    // The record's file location, or RECORD_WRITE_FAILED after telling the user why.
    uint32_t SaveRecord(IRecordStore& store) const;

    void CopyFrom(const CCategory& other);
    bool IsEqual(const CCategory& other) const;
    // The category's line of the database dump: name, code, type letter and first parameter.
    std::string GetDumpLine() const;

    int32_t m_nSequence = -1;
    uint32_t m_nCode = NO_CODE;
    uint8_t m_cField3 = 0;
    char m_cType = 0;
    std::string m_sName;
    std::array<uint8_t, 64> m_Params{};

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nSequence, s.m_nCode, s.m_cField3, s.m_cType, s.m_sName, s.m_Params);
    }
};
