#include "records/ScheduleRecord.h"

namespace {
// 1 January 100 and 31 December 9999, the range the calendar arithmetic handles.
constexpr DATE kFirstCalendarDate = -657434.0;
constexpr DATE kLastCalendarDate = 2958465.0;
}

CScheduleRecord::CScheduleRecord()
    : m_cStamp1User(GetStampUserCode()),
      m_dStamp1Date(GetNow()),
      m_cStamp2User(m_cStamp1User),
      m_dStamp2Date(m_dStamp1Date)
{
}

uint32_t CScheduleRecord::ReadRecord(IRecordStore& store)
{
    return ReadRecordFromStore(*this, store);
}

bool CScheduleRecord::ReadRecord(CRecordReader& r)
{
    CScheduleRecord s;
    uint8_t version = 0;
    GetUInt32(r, s.m_nSequence);
    GetByte(r, version);
    GetUInt32(r, s.m_nCode);
    GetUInt32(r, s.m_nTeacher);
    GetUInt32(r, s.m_nStudent);
    GetUInt32(r, s.m_nRoom);
    GetString(r, s.m_sText);
    GetByte(r, s.m_cRepeat);
    GetDouble(r, s.m_dFirstDate);
    GetDouble(r, s.m_dLastDate);
    if (version >= 5)
        GetUInt32(r, s.m_nDuration);
    if (version >= 3) {
        GetByte(r, s.m_cKind);
        GetByte(r, s.m_cSelfCheckIn);
        GetUInt32(r, s.m_nPriceListCode);
    } else if (version >= 1) {
        // Versions 1 and 2 kept the kind in the low byte of a 32-bit value.
        uint32_t kind = 0;
        GetUInt32(r, kind);
        s.m_cKind = static_cast<char>(kind & 0xFF);
        if (version == 2)
            GetUInt32(r, s.m_nPriceListCode);
    }
    if (version >= 4)
        GetCodeValueArray(r, s.m_Changes);
    GetStamps(r, s, StampOrder::UserFirst);
    if (!r.IsComplete())
        return false;
    s.m_nVersion = CURRENT_VERSION;
    s.m_Occurrences = std::move(m_Occurrences);
    *this = std::move(s);
    return true;
}

uint32_t CScheduleRecord::WriteRecord(IRecordStore& store, std::string* error) const
{
    return WriteRecordToStore(*this, store, error);
}

bool CScheduleRecord::WriteRecord(CRecordWriter& w) const
{
    PutUInt32(w, m_nSequence);
    PutByte(w, CURRENT_VERSION);
    PutUInt32(w, m_nCode);
    PutUInt32(w, m_nTeacher);
    PutUInt32(w, m_nStudent);
    PutUInt32(w, m_nRoom);
    PutString(w, m_sText);
    PutByte(w, m_cRepeat);
    PutDouble(w, m_dFirstDate);
    PutDouble(w, m_dLastDate);
    PutUInt32(w, m_nDuration);
    PutByte(w, m_cKind);
    PutByte(w, m_cSelfCheckIn);
    PutUInt32(w, m_nPriceListCode);
    PutCodeValueArray(w, m_Changes);
    PutStamps(w, *this, StampOrder::UserFirst);
    return w.IsValid();
}

uint32_t CScheduleRecord::SaveRecord(IRecordStore& store) const
{
    return SaveRecordToStore(*this, store, TABLE_SCHEDULE, m_nCode);
}

void CScheduleRecord::CopyFrom(const CScheduleRecord& other)
{
    Stored(*this) = Stored(other);
    m_Occurrences = other.m_Occurrences;
}

bool CScheduleRecord::IsEqual(const CScheduleRecord& other) const
{
    return Stored(*this) == Stored(other);
}

std::string CScheduleRecord::GetRepeatText() const
{
    switch (m_cRepeat) {
    case 'O': return "One time";
    case 'D': return "Daily";
    case 'W': return "Weekly";
    case 'M': return "Monthly";
    case 'Y': return "Yearly";
    }
    return "Unknown";
}

void CScheduleRecord::BuildOccurrences(bool applyChanges)
{
    m_Occurrences.clear();
    if (m_dFirstDate == 0.0)
        return;
    // Each occurrence is computed from the first date, so steps never drift and a loop that
    // cannot move forward (a date outside the calendar) stops.
    DATE last = m_dLastDate > kLastCalendarDate ? kLastCalendarDate : m_dLastDate;
    bool repeats = m_dFirstDate >= kFirstCalendarDate && m_dFirstDate <= kLastCalendarDate;
    if (m_cRepeat == 'D' || m_cRepeat == 'W') {
        int step = m_cRepeat == 'D' ? 1 : 7;
        m_Occurrences.push_back(m_dFirstDate);
        for (int n = 1; repeats; ++n) {
            DATE d = AddToDate(m_dFirstDate, n * step, 0, 0, 0);
            if (!(d <= last))
                break;
            m_Occurrences.push_back(d);
        }
    } else if (m_cRepeat == 'M' || m_cRepeat == 'Y') {
        m_Occurrences.push_back(m_dFirstDate);
        DATE previous = m_dFirstDate;
        for (int n = 1; repeats; ++n) {
            DATE d = m_cRepeat == 'M' ? AddToDateFields(m_dFirstDate, 0, n, 0, 0, 0)
                                      : AddToDateFields(m_dFirstDate, n, 0, 0, 0, 0);
            if (!(d > previous) || !(d <= last))
                break;
            m_Occurrences.push_back(d);
            previous = d;
        }
    }
    if (applyChanges) {
        for (const stCodeValuePair& change : m_Changes)
            if (change.code >= 0 && static_cast<size_t>(change.code) < m_Occurrences.size())
                m_Occurrences[change.code] = change.value;
    }
    for (size_t i = m_Occurrences.size(); i-- > 0;)
        if (m_Occurrences[i] == 0.0)
            m_Occurrences.erase(m_Occurrences.begin() + static_cast<std::ptrdiff_t>(i));
}

int CScheduleRecord::FindCode(int32_t code) const
{
    for (size_t i = 0; i < m_Changes.size(); ++i)
        if (m_Changes[i].code == code)
            return static_cast<int>(i);
    return -1;
}
