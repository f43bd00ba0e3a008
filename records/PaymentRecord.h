#pragma once
// A payment (table 11): money received or paid by the studio, or still due.

#include <cstdint>
#include <string>

#include "common/DateTime.h"
#include "records/RecordBuffer.h"

class CPaymentRecord {
public:
    static constexpr uint8_t CURRENT_VERSION = 3;

    CPaymentRecord();
    virtual ~CPaymentRecord() = default;
    CPaymentRecord(CPaymentRecord&&) = default;
    CPaymentRecord& operator=(CPaymentRecord&&) = default;

    // Bytes read, or 0 when the record is damaged (the object is then unchanged). Older versions
    // read with their defaults; the writer always writes the current version.
    uint32_t ReadRecord(IRecordStore& store);
    bool ReadRecord(CRecordReader& r);
    // Bytes written, or 0 when the record cannot be stored (the reason in `error`).
    uint32_t WriteRecord(IRecordStore& store, std::string* error = nullptr) const;
    bool WriteRecord(CRecordWriter& w) const;
    // The record's file location, or RECORD_WRITE_FAILED after telling the user why.
    uint32_t SaveRecord(IRecordStore& store) const;

    void CopyFrom(const CPaymentRecord& other);
    bool IsEqual(const CPaymentRecord& other) const;

    int32_t m_nSequence = 0;
    uint8_t m_nVersion = CURRENT_VERSION;
    uint32_t m_nCode = NO_CODE;
    char m_cType = 'P';
    std::string m_sName;
    uint32_t m_nPerson = NO_CODE;
    double m_dAmount = 0.0;
    char m_cReceived = 'R';  // 'R' received; any other letter still due
    char m_cMethod = 'A';    // 'C' check, 'R' card, 'A' cash
    std::string m_sMethodText;
    std::string m_sText;
    uint32_t m_nField12 = NO_CODE;    // from version 1
    uint32_t m_nReference = NO_CODE;  // from version 2
    uint32_t m_nField14 = NO_CODE;
    uint32_t m_nField15 = NO_CODE;
    uint32_t m_nField16 = NO_CODE;    // from version 3
    DATE m_dDate;
    uint8_t m_cStamp1User;
    DATE m_dStamp1Date;
    uint8_t m_cStamp2User;
    DATE m_dStamp2Date;

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nSequence, s.m_nVersion, s.m_nCode, s.m_cType, s.m_sName, s.m_nPerson,
                        s.m_dAmount, s.m_cReceived, s.m_cMethod, s.m_sMethodText, s.m_sText,
                        s.m_nField12, s.m_nReference, s.m_nField14, s.m_nField15, s.m_nField16,
                        s.m_dDate, s.m_cStamp1User, s.m_dStamp1Date, s.m_cStamp2User,
                        s.m_dStamp2Date);
    }
};
