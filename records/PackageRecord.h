#pragma once
// A package of price-list items (table 9). No version: every field is always stored.

#include <cstdint>
#include <string>
#include <vector>

#include "records/RecordBuffer.h"

class CPackageRecord {
public:
    CPackageRecord() = default;
    virtual ~CPackageRecord() = default;
    CPackageRecord(CPackageRecord&&) = default;
    CPackageRecord& operator=(CPackageRecord&&) = default;

    // Bytes read, or 0 when the record is damaged (the object is then unchanged).
    uint32_t ReadRecord(IRecordStore& store);
    bool ReadRecord(CRecordReader& r);
    // Bytes written, or 0 when the record cannot be stored (the reason in `error`).
    uint32_t WriteRecord(IRecordStore& store, std::string* error = nullptr) const;
    bool WriteRecord(CRecordWriter& w) const;
    // The record's file location, or RECORD_WRITE_FAILED after telling the user why.
    uint32_t SaveRecord(IRecordStore& store) const;

    void CopyFrom(const CPackageRecord& other);
    bool IsEqual(const CPackageRecord& other) const;

    int32_t m_nSequence = -1;
    uint8_t m_cField2 = 0;
    uint32_t m_nCode = NO_CODE;
    std::string m_sName;
    uint32_t m_nProgram = NO_CODE;
    double m_dPrice = 0.0;
    std::vector<uint32_t> m_Items;  // codes of the package's price-list items

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nSequence, s.m_cField2, s.m_nCode, s.m_sName, s.m_nProgram, s.m_dPrice,
                        s.m_Items);
    }
};
