#include "records/Person.h"

#include <algorithm>

namespace {
// The fewest bytes a stored interview takes: version 0, no comments.
constexpr uint32_t kMinInterviewSize = 1 + 1 + 8 + 3 * 4 + 3 * 4 + 8 + 4 + 8 + 4 + 4 + 1 + 8 + 4 +
                                       4 + 4 + 8 + 1 + 8 + 1;
}

CPerson::CPerson(char type)
    : m_cType(type),
      m_dStamp1Date(GetNow()),
      m_cStamp1User(GetStampUserCode()),
      m_dStamp2Date(m_dStamp1Date),
      m_cStamp2User(m_cStamp1User)
{
}

uint32_t CPerson::ReadRecord(IRecordStore& store)
{
    return ReadRecordFromStore(*this, store);
}

bool CPerson::ReadRecord(CRecordReader& r)
{
    CPerson p(m_cType);
    uint8_t version = 0;
    GetUInt32(r, p.m_nSequence);
    GetByte(r, version);
    GetUInt32(r, p.m_nCode);
    GetByte(r, p.m_cType);
    GetByte(r, p.m_cSex);
    GetByte(r, p.m_cStatus);
    for (std::string* s : {&p.m_sLastName, &p.m_sFirstName, &p.m_sText9, &p.m_sText10,
                           &p.m_sAddress1, &p.m_sAddress2, &p.m_sCity, &p.m_sState, &p.m_sZip,
                           &p.m_sText16, &p.m_sText17, &p.m_sPhone1, &p.m_sPhone2, &p.m_sText20,
                           &p.m_sFax, &p.m_sEmail})
        GetString(r, *s);
    if (version >= 1)
        GetString(r, p.m_sText23);
    GetDouble(r, p.m_dBirthday);
    if (version >= 4)
        GetDouble(r, p.m_dAnniversary);
    GetUInt32(r, p.m_nReferredBy);
    GetUInt32(r, p.m_nTeacher);
    GetUInt32(r, p.m_nCode28);
    if (version >= 2)
        GetUInt32(r, p.m_nCode29);
    GetUInt32(r, p.m_nCode30);
    GetUInt32(r, p.m_nCode31);
    if (version >= 3) {
        GetUInt32(r, p.m_nCode32);
        GetByte(r, p.m_cField33);
        GetUInt32(r, p.m_nField34);
    } else {
        p.m_cField33 = '0';
    }
    GetStringArray(r, p.m_Notes);
    GetUIntArray(r, p.m_Numbers);
    GetOwnedList(r, p.m_Interviews, kMinInterviewSize);
    GetStamps(r, p, StampOrder::DateFirst);
    if (!r.IsComplete())
        return false;
    p.m_nVersion = CURRENT_VERSION;
    *this = std::move(p);
    return true;
}

uint32_t CPerson::WriteRecord(IRecordStore& store, std::string* error) const
{
    return WriteRecordToStore(*this, store, error);
}

bool CPerson::WriteRecord(CRecordWriter& w) const
{
    PutUInt32(w, m_nSequence);
    PutByte(w, CURRENT_VERSION);
    PutUInt32(w, m_nCode);
    PutByte(w, m_cType);
    PutByte(w, m_cSex);
    PutByte(w, m_cStatus);
    for (const std::string* s : {&m_sLastName, &m_sFirstName, &m_sText9, &m_sText10, &m_sAddress1,
                                 &m_sAddress2, &m_sCity, &m_sState, &m_sZip, &m_sText16,
                                 &m_sText17, &m_sPhone1, &m_sPhone2, &m_sText20, &m_sFax,
                                 &m_sEmail, &m_sText23})
        PutString(w, *s);
    PutDouble(w, m_dBirthday);
    PutDouble(w, m_dAnniversary);
    PutUInt32(w, m_nReferredBy);
    PutUInt32(w, m_nTeacher);
    PutUInt32(w, m_nCode28);
    PutUInt32(w, m_nCode29);
    PutUInt32(w, m_nCode30);
    PutUInt32(w, m_nCode31);
    PutUInt32(w, m_nCode32);
    PutByte(w, m_cField33);
    PutUInt32(w, m_nField34);
    PutStringArray(w, m_Notes);
    PutUIntArray(w, m_Numbers);
    PutOwnedList(w, m_Interviews);
    PutStamps(w, *this, StampOrder::DateFirst);
    return w.IsValid();
}

uint32_t CPerson::SaveRecord(IRecordStore& store) const
{
    return SaveRecordToStore(*this, store, TABLE_PERSON, m_nCode);
}

void CPerson::CopyFrom(const CPerson& other)
{
    Stored(*this) = Stored(other);
    CopyOwnedList(m_Interviews, other.m_Interviews);
}

bool CPerson::IsEqual(const CPerson& other) const
{
    return Stored(*this) == Stored(other) && OwnedListsEqual(m_Interviews, other.m_Interviews);
}

bool CPerson::HasNumber(uint32_t value) const
{
    return std::find(m_Numbers.begin(), m_Numbers.end(), value) != m_Numbers.end();
}
