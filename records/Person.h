#pragma once
// A person (table 6): a student, an employee or another kind by its type letter, with the
// person's note lines, number list and interviews.

#include <cstdint>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "records/Interview.h"
#include "records/RecordBuffer.h"

class CPerson {
public:
    static constexpr uint8_t CURRENT_VERSION = 4;

    explicit CPerson(char type = 0);
    virtual ~CPerson() = default;
    CPerson(CPerson&&) = default;
    CPerson& operator=(CPerson&&) = default;

    // Bytes read, or 0 when the record is damaged (the object is then unchanged). Older versions
    // read with their defaults; the writer always writes the current version.
    uint32_t ReadRecord(IRecordStore& store);
    bool ReadRecord(CRecordReader& r);
    // Bytes written, or 0 when the record cannot be stored (the reason in `error`).
    uint32_t WriteRecord(IRecordStore& store, std::string* error = nullptr) const;
    bool WriteRecord(CRecordWriter& w) const;
    // The record's file location, or RECORD_WRITE_FAILED after telling the user why.
    uint32_t SaveRecord(IRecordStore& store) const;

    void CopyFrom(const CPerson& other);
    bool IsEqual(const CPerson& other) const;
    bool HasNumber(uint32_t value) const;

    int32_t m_nSequence = 0;
    uint8_t m_nVersion = CURRENT_VERSION;
    uint32_t m_nCode = 0;
    char m_cType;
    char m_cSex = 'F';
    char m_cStatus = 'A';  // 'A' active
    std::string m_sLastName;
    std::string m_sFirstName;
    std::string m_sText9;
    std::string m_sText10;
    std::string m_sAddress1;
    std::string m_sAddress2;
    std::string m_sCity;
    std::string m_sState;
    std::string m_sZip;
    std::string m_sText16;
    std::string m_sText17;
    std::string m_sPhone1;
    std::string m_sPhone2;
    std::string m_sText20;
    std::string m_sFax;
    std::string m_sEmail;
    std::string m_sText23;  // from version 1
    DATE m_dBirthday = 0.0;
    DATE m_dAnniversary = 0.0;  // from version 4
    uint32_t m_nReferredBy = NO_CODE;
    uint32_t m_nTeacher = NO_CODE;
    uint32_t m_nCode28 = NO_CODE;
    uint32_t m_nCode29 = NO_CODE;  // from version 2
    uint32_t m_nCode30 = NO_CODE;
    uint32_t m_nCode31 = NO_CODE;
    uint32_t m_nCode32 = NO_CODE;  // from version 3
    char m_cField33 = '2';         // from version 3; '0' in older records
    int32_t m_nField34 = 0;        // from version 3
    std::vector<std::string> m_Notes;
    std::vector<uint32_t> m_Numbers;
    OwnedList<CInterview> m_Interviews;
    DATE m_dStamp1Date;
    uint8_t m_cStamp1User;
    DATE m_dStamp2Date;   // who deleted the record and when
    uint8_t m_cStamp2User;

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nSequence, s.m_nVersion, s.m_nCode, s.m_cType, s.m_cSex, s.m_cStatus,
                        s.m_sLastName, s.m_sFirstName, s.m_sText9, s.m_sText10, s.m_sAddress1,
                        s.m_sAddress2, s.m_sCity, s.m_sState, s.m_sZip, s.m_sText16, s.m_sText17,
                        s.m_sPhone1, s.m_sPhone2, s.m_sText20, s.m_sFax, s.m_sEmail, s.m_sText23,
                        s.m_dBirthday, s.m_dAnniversary, s.m_nReferredBy, s.m_nTeacher,
                        s.m_nCode28, s.m_nCode29, s.m_nCode30, s.m_nCode31, s.m_nCode32,
                        s.m_cField33, s.m_nField34, s.m_Notes, s.m_Numbers, s.m_dStamp1Date,
                        s.m_cStamp1User, s.m_dStamp2Date, s.m_cStamp2User);
    }
};
