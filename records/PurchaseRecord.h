#pragma once
// A purchase (table 10): its items with their tokens and its scheduled payments.
// Status -1 is active (or completed), -2 cancelled, any other value converted. Pricing 'P' means
// the purchase costs its price; any other letter the sum of its items' amounts.

#include <cstdint>
#include <string>

#include "common/DateTime.h"
#include "records/PurchaseItem.h"
#include "records/RecordBuffer.h"
#include "records/SchedulePayment.h"

class CPurchaseRecord {
public:
    static constexpr uint8_t CURRENT_VERSION = 7;
    static constexpr int32_t STATUS_ACTIVE = -1;
    static constexpr int32_t STATUS_CANCELLED = -2;

    CPurchaseRecord();
    virtual ~CPurchaseRecord() = default;
    CPurchaseRecord(CPurchaseRecord&&) = default;
    CPurchaseRecord& operator=(CPurchaseRecord&&) = default;

    // Bytes read, or 0 when the record is damaged (the object is then unchanged). Older versions
    // read with their defaults; the writer always writes the current version.
    uint32_t ReadRecord(IRecordStore& store);
    bool ReadRecord(CRecordReader& r);
    // Bytes written, or 0 when the record cannot be stored (the reason in `error`).
    uint32_t WriteRecord(IRecordStore& store, std::string* error = nullptr) const;
    bool WriteRecord(CRecordWriter& w) const;
    // The record's file location, or RECORD_WRITE_FAILED after telling the user why.
    uint32_t SaveRecord(IRecordStore& store) const;

    void CopyFrom(const CPurchaseRecord& other);
    bool IsEqual(const CPurchaseRecord& other) const;

    // whole 1: the price or the sum of the items' amounts; 0: that less discounts ('d': a
    // percentage of it for reference 0, else an amount) and credits ('c').
    double GetTotal(int whole) const;
    // GetTotal(0) less the payments received.
    double GetBalance() const;
    // The sum of the payments received ('R').
    double GetReceived() const;
    // "Active", "Completed", "Converted" or "Cancelled".
    std::string GetStatusText() const;
    // The payer, or the purchase's person when there is none.
    uint32_t GetPayer() const { return m_nPayer != NO_CODE ? m_nPayer : m_nPerson; }
    // Whether the person is the purchase's student, its second person or its payer.
    bool IsStudentOf(uint32_t person) const
    {
        return m_nPerson == person || m_nSecondPerson == person || m_nPayer == person;
    }
    // 1 when the item may no longer be used (a limited quantity used up, or a limited time past
    // its end), with the reason in `message` when given; else 0.
    int IsItemBlocked(const CPurchaseItem& item, std::string* message) const;

    int32_t m_nSequence = -1;
    uint8_t m_nVersion = CURRENT_VERSION;
    uint32_t m_nCode = NO_CODE;
    int32_t m_nStatus = STATUS_ACTIVE;  // from version 3
    uint32_t m_nPerson = NO_CODE;
    uint32_t m_nSecondPerson = NO_CODE;
    uint32_t m_nPayer = NO_CODE;
    double m_dPrice = 0.0;
    char m_cPricing = 'T';              // from version 6
    std::string m_sDescription;
    uint32_t m_nProgram = NO_CODE;      // from version 1
    uint32_t m_nField12 = NO_CODE;      // from version 2
    uint32_t m_nField13 = NO_CODE;      // from version 2
    uint32_t m_nField14 = NO_CODE;
    uint32_t m_nField15 = NO_CODE;      // from version 7
    uint32_t m_nField16 = NO_CODE;      // from version 4
    double m_dField17 = 0.0;
    OwnedList<CPurchaseItem> m_Items;
    OwnedList<CSchedulePayment> m_Payments;
    DATE m_dDate;
    DATE m_dStartDate;                  // from version 5; older records start on their date
    DATE m_dStamp1Date;
    uint8_t m_cStamp1User;
    DATE m_dStamp2Date;
    uint8_t m_cStamp2User;

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nSequence, s.m_nVersion, s.m_nCode, s.m_nStatus, s.m_nPerson,
                        s.m_nSecondPerson, s.m_nPayer, s.m_dPrice, s.m_cPricing, s.m_sDescription,
                        s.m_nProgram, s.m_nField12, s.m_nField13, s.m_nField14, s.m_nField15,
                        s.m_nField16, s.m_dField17, s.m_dDate, s.m_dStartDate, s.m_dStamp1Date,
                        s.m_cStamp1User, s.m_dStamp2Date, s.m_cStamp2User);
    }
};
