#include "records/PaymentRecord.h"

CPaymentRecord::CPaymentRecord()
    : m_dDate(GetNow()),
      m_cStamp1User(GetStampUserCode()),
      m_dStamp1Date(m_dDate),
      m_cStamp2User(m_cStamp1User),
      m_dStamp2Date(m_dDate)
{
}

uint32_t CPaymentRecord::ReadRecord(IRecordStore& store)
{
    return ReadRecordFromStore(*this, store);
}

bool CPaymentRecord::ReadRecord(CRecordReader& r)
{
    CPaymentRecord p;
    uint8_t version = 0;
    GetUInt32(r, p.m_nSequence);
    GetByte(r, version);
    GetUInt32(r, p.m_nCode);
    GetByte(r, p.m_cType);
    GetString(r, p.m_sName);
    GetUInt32(r, p.m_nPerson);
    GetDouble(r, p.m_dAmount);
    GetByte(r, p.m_cReceived);
    GetByte(r, p.m_cMethod);
    GetString(r, p.m_sMethodText);
    GetString(r, p.m_sText);
    if (version >= 1)
        GetUInt32(r, p.m_nField12);
    if (version >= 2)
        GetUInt32(r, p.m_nReference);
    GetUInt32(r, p.m_nField14);
    GetUInt32(r, p.m_nField15);
    if (version >= 3)
        GetUInt32(r, p.m_nField16);
    GetDouble(r, p.m_dDate);
    GetStamps(r, p, StampOrder::UserFirst);
    if (!r.IsComplete())
        return false;
    p.m_nVersion = CURRENT_VERSION;
    *this = std::move(p);
    return true;
}

uint32_t CPaymentRecord::WriteRecord(IRecordStore& store, std::string* error) const
{
    return WriteRecordToStore(*this, store, error);
}

bool CPaymentRecord::WriteRecord(CRecordWriter& w) const
{
    PutUInt32(w, m_nSequence);
    PutByte(w, CURRENT_VERSION);
    PutUInt32(w, m_nCode);
    PutByte(w, m_cType);
    PutString(w, m_sName);
    PutUInt32(w, m_nPerson);
    PutDouble(w, m_dAmount);
    PutByte(w, m_cReceived);
    PutByte(w, m_cMethod);
    PutString(w, m_sMethodText);
    PutString(w, m_sText);
    PutUInt32(w, m_nField12);
    PutUInt32(w, m_nReference);
    PutUInt32(w, m_nField14);
    PutUInt32(w, m_nField15);
    PutUInt32(w, m_nField16);
    PutDouble(w, m_dDate);
    PutStamps(w, *this, StampOrder::UserFirst);
    return w.IsValid();
}

uint32_t CPaymentRecord::SaveRecord(IRecordStore& store) const
{
    return SaveRecordToStore(*this, store, TABLE_PAYMENT, m_nCode);
}

void CPaymentRecord::CopyFrom(const CPaymentRecord& other)
{
    Stored(*this) = Stored(other);
}

bool CPaymentRecord::IsEqual(const CPaymentRecord& other) const
{
    return Stored(*this) == Stored(other);
}
