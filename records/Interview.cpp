#include "records/Interview.h"

CInterview::CInterview()
    : m_dDate(GetNow()),
      m_dStamp1Date(m_dDate),
      m_cStamp1User(GetStampUserCode()),
      m_dStamp2Date(m_dDate),
      m_cStamp2User(m_cStamp1User)
{
}

bool CInterview::ReadRecord(CRecordReader& r)
{
    CInterview v;
    uint8_t version = 0;
    GetByte(r, version);
    GetByte(r, v.m_cKind);
    GetDouble(r, v.m_dDate);
    GetUInt32(r, v.m_nField4);
    GetUInt32(r, v.m_nField5);
    GetUInt32(r, v.m_nProgram);
    if (version >= 1)
        GetUInt32(r, v.m_nDueTo);
    if (version >= 2)
        GetUInt32(r, v.m_nField8);
    if (version >= 3) {
        GetUInt32(r, v.m_nField9);
        GetUInt32(r, v.m_nField10);
    }
    GetUInt32(r, v.m_nField11);
    GetUInt32(r, v.m_nField12);
    GetUInt32(r, v.m_nField13);
    GetDouble(r, v.m_dField14);
    GetUInt32(r, v.m_nField15);
    GetDouble(r, v.m_dField16);
    GetUInt32(r, v.m_nField17);
    GetUInt32(r, v.m_nField18);
    GetByte(r, v.m_cField19);
    GetDouble(r, v.m_dField20);
    GetUInt32(r, v.m_nField21);
    GetUInt32(r, v.m_nField22);
    GetStringArray(r, v.m_Comments);
    GetStamps(r, v, StampOrder::DateFirst);
    if (!r.IsValid())
        return false;
    v.m_nVersion = CURRENT_VERSION;
    *this = std::move(v);
    return true;
}

bool CInterview::WriteRecord(CRecordWriter& w) const
{
    PutByte(w, CURRENT_VERSION);
    PutByte(w, m_cKind);
    PutDouble(w, m_dDate);
    PutUInt32(w, m_nField4);
    PutUInt32(w, m_nField5);
    PutUInt32(w, m_nProgram);
    PutUInt32(w, m_nDueTo);
    PutUInt32(w, m_nField8);
    PutUInt32(w, m_nField9);
    PutUInt32(w, m_nField10);
    PutUInt32(w, m_nField11);
    PutUInt32(w, m_nField12);
    PutUInt32(w, m_nField13);
    PutDouble(w, m_dField14);
    PutUInt32(w, m_nField15);
    PutDouble(w, m_dField16);
    PutUInt32(w, m_nField17);
    PutUInt32(w, m_nField18);
    PutByte(w, m_cField19);
    PutDouble(w, m_dField20);
    PutUInt32(w, m_nField21);
    PutUInt32(w, m_nField22);
    PutStringArray(w, m_Comments);
    PutStamps(w, *this, StampOrder::DateFirst);
    return w.IsValid();
}

void CInterview::CopyFrom(const CInterview& other)
{
    Stored(*this) = Stored(other);
}

bool CInterview::IsEqual(const CInterview& other) const
{
    return Stored(*this) == Stored(other);
}
