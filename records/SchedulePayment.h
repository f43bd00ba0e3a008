#pragma once
// A scheduled payment of a purchase: a payment due ('U' unscheduled, 'S' on a date), received
// ('R'), a refund ('F'), a discount ('d') or a credit ('c').

#include <cstdint>
#include <string>

#include "common/DateTime.h"
#include "records/RecordBuffer.h"

class CSchedulePayment {
public:
    static constexpr uint8_t CURRENT_VERSION = 3;

    CSchedulePayment();
    virtual ~CSchedulePayment() = default;
    CSchedulePayment(CSchedulePayment&&) = default;
    CSchedulePayment& operator=(CSchedulePayment&&) = default;

    // Read at the cursor, older versions with their defaults; false when damaged (the object is
    // then unchanged). The writer always writes the current version.
    bool ReadRecord(CRecordReader& r);
    bool WriteRecord(CRecordWriter& w) const;

    void CopyFrom(const CSchedulePayment& other);
    bool IsEqual(const CSchedulePayment& other) const;

    // One line for the entry's kind, ending with `text`; empty for a kind without one.
    std::string GetText(const std::string& text) const;

    uint8_t m_nVersion = CURRENT_VERSION;
    char m_cKind = 0;
    char m_cMethod = 0;  // 'C' check, 'R' card, 'A' cash
    std::string m_sMethodText;
    uint32_t m_nPayer = NO_CODE;
    uint32_t m_nCategory = NO_CODE;  // from version 1
    uint32_t m_nField7 = NO_CODE;    // from version 3
    std::string m_sDescription;
    double m_dAmount = 0.0;
    uint32_t m_nReference = NO_CODE;  // from version 2
    DATE m_dDate;
    uint8_t m_cStamp1User;
    DATE m_dStamp1Date;
    uint8_t m_cStamp2User;
    DATE m_dStamp2Date;

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nVersion, s.m_cKind, s.m_cMethod, s.m_sMethodText, s.m_nPayer,
                        s.m_nCategory, s.m_nField7, s.m_sDescription, s.m_dAmount, s.m_nReference,
                        s.m_dDate, s.m_cStamp1User, s.m_dStamp1Date, s.m_cStamp2User,
                        s.m_dStamp2Date);
    }
};
