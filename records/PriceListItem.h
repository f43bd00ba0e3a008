#pragma once
// A price-list item (table 8).

#include <cstdint>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "records/RecordBuffer.h"

class CPriceListItem {
public:
    static constexpr uint8_t CURRENT_VERSION = 3;

    CPriceListItem() = default;
    virtual ~CPriceListItem() = default;
    CPriceListItem(CPriceListItem&&) = default;
    CPriceListItem& operator=(CPriceListItem&&) = default;

    // Bytes read, or 0 when the record is damaged (the object is then unchanged). Older versions
    // read with their defaults; the writer always writes the current version.
    uint32_t ReadRecord(IRecordStore& store);
    bool ReadRecord(CRecordReader& r);
    // Bytes written, or 0 when the record cannot be stored (the reason in `error`).
    uint32_t WriteRecord(IRecordStore& store, std::string* error = nullptr) const;
    bool WriteRecord(CRecordWriter& w) const;
    // The record's file location, or RECORD_WRITE_FAILED after telling the user why.
    uint32_t SaveRecord(IRecordStore& store) const;

    void CopyFrom(const CPriceListItem& other);
    bool IsEqual(const CPriceListItem& other) const;
    // Kinds 'p' and 's' are classes with dates.
    bool IsKindPS() const { return m_cKind == 'p' || m_cKind == 's'; }

    int32_t m_nSequence = -1;
    uint8_t m_nVersion = CURRENT_VERSION;
    uint32_t m_nCode = NO_CODE;
    char m_cKind = 0;
    std::string m_sName;
    uint32_t m_nBasicType = NO_CODE;
    double m_dPrice = 0.0;
    int32_t m_nNumber = 1;
    int32_t m_nDuration = 50;
    uint32_t m_nTeacher = NO_CODE;
    uint32_t m_nBallroom = NO_CODE;  // from version 2
    uint8_t m_cPackageOnly = 0;
    uint8_t m_cSelfSignIn = 0;       // from version 3
    std::vector<DATE> m_Dates;       // from version 1

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nSequence, s.m_nVersion, s.m_nCode, s.m_cKind, s.m_sName,
                        s.m_nBasicType, s.m_dPrice, s.m_nNumber, s.m_nDuration, s.m_nTeacher,
                        s.m_nBallroom, s.m_cPackageOnly, s.m_cSelfSignIn, s.m_Dates);
    }
};
