#pragma once
// A schedule item (table 12): an event that happens once or repeats daily, weekly, monthly or
// yearly between its first and last date, with changes to single occurrences. The occurrence
// list lives only in memory and is built by BuildOccurrences.

#include <cstdint>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "records/RecordBuffer.h"

class CScheduleRecord {
public:
    static constexpr uint8_t CURRENT_VERSION = 5;

    CScheduleRecord();
    virtual ~CScheduleRecord() = default;
    CScheduleRecord(CScheduleRecord&&) = default;
    CScheduleRecord& operator=(CScheduleRecord&&) = default;

    // Bytes read, or 0 when the record is damaged (the object is then unchanged). Older versions
    // read with their defaults; the writer always writes the current version.
    uint32_t ReadRecord(IRecordStore& store);
    bool ReadRecord(CRecordReader& r);
    // Bytes written, or 0 when the record cannot be stored (the reason in `error`).
    uint32_t WriteRecord(IRecordStore& store, std::string* error = nullptr) const;
    bool WriteRecord(CRecordWriter& w) const;
    // The record's file location, or RECORD_WRITE_FAILED after telling the user why.
    uint32_t SaveRecord(IRecordStore& store) const;

    // Copies every field, the occurrence list included.
    void CopyFrom(const CScheduleRecord& other);
    // Compares the stored fields.
    bool IsEqual(const CScheduleRecord& other) const;

    // "One time", "Daily", "Weekly", "Monthly", "Yearly" or "Unknown".
    std::string GetRepeatText() const;
    // Fills the occurrence list from the first date up to the last: daily and weekly by days;
    // monthly and yearly as the first date plus n months or years, on the month's last day
    // where the day does not exist. With `applyChanges` each change replaces the occurrence
    // of its index; occurrences dated 0.0 are then removed.
    void BuildOccurrences(bool applyChanges);
    // The index of the first change with that code, or -1.
    int FindCode(int32_t code) const;

    int32_t m_nSequence = 0;
    uint8_t m_nVersion = CURRENT_VERSION;
    uint32_t m_nCode = NO_CODE;
    uint32_t m_nTeacher = NO_CODE;
    uint32_t m_nStudent = NO_CODE;
    uint32_t m_nRoom = NO_CODE;
    std::string m_sText;
    char m_cRepeat = 'O';  // 'O', 'D', 'W', 'M', 'Y'
    DATE m_dFirstDate = 0.0;
    DATE m_dLastDate = 0.0;
    int32_t m_nDuration = 60;          // from version 5
    char m_cKind = 'N';
    uint8_t m_cSelfCheckIn = 0;        // from version 3
    uint32_t m_nPriceListCode = NO_CODE;  // from version 2
    // code: occurrence index; value: its new date-time, 0.0 for a removed occurrence.
    std::vector<stCodeValuePair> m_Changes;  // from version 4
    uint8_t m_cStamp1User;
    DATE m_dStamp1Date;
    uint8_t m_cStamp2User;
    DATE m_dStamp2Date;

    std::vector<DATE> m_Occurrences;  // not stored

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nSequence, s.m_nVersion, s.m_nCode, s.m_nTeacher, s.m_nStudent,
                        s.m_nRoom, s.m_sText, s.m_cRepeat, s.m_dFirstDate, s.m_dLastDate,
                        s.m_nDuration, s.m_cKind, s.m_cSelfCheckIn, s.m_nPriceListCode,
                        s.m_Changes, s.m_cStamp1User, s.m_dStamp1Date, s.m_cStamp2User,
                        s.m_dStamp2Date);
    }
};
