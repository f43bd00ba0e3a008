#include "records/PriceListItem.h"

uint32_t CPriceListItem::ReadRecord(IRecordStore& store)
{
    return ReadRecordFromStore(*this, store);
}

bool CPriceListItem::ReadRecord(CRecordReader& r)
{
    CPriceListItem p;
    uint8_t version = 0;
    GetUInt32(r, p.m_nSequence);
    GetByte(r, version);
    GetUInt32(r, p.m_nCode);
    GetByte(r, p.m_cKind);
    GetString(r, p.m_sName);
    GetUInt32(r, p.m_nBasicType);
    GetDouble(r, p.m_dPrice);
    GetUInt32(r, p.m_nNumber);
    GetUInt32(r, p.m_nDuration);
    GetUInt32(r, p.m_nTeacher);
    if (version >= 2)
        GetUInt32(r, p.m_nBallroom);
    GetByte(r, p.m_cPackageOnly);
    if (version >= 3)
        GetByte(r, p.m_cSelfSignIn);
    if (version >= 1)
        GetDoubleArray(r, p.m_Dates);
    if (!r.IsComplete())
        return false;
    p.m_nVersion = CURRENT_VERSION;
    *this = std::move(p);
    return true;
}

uint32_t CPriceListItem::WriteRecord(IRecordStore& store, std::string* error) const
{
    return WriteRecordToStore(*this, store, error);
}

bool CPriceListItem::WriteRecord(CRecordWriter& w) const
{
    PutUInt32(w, m_nSequence);
    PutByte(w, CURRENT_VERSION);
    PutUInt32(w, m_nCode);
    PutByte(w, m_cKind);
    PutString(w, m_sName);
    PutUInt32(w, m_nBasicType);
    PutDouble(w, m_dPrice);
    PutUInt32(w, m_nNumber);
    PutUInt32(w, m_nDuration);
    PutUInt32(w, m_nTeacher);
    PutUInt32(w, m_nBallroom);
    PutByte(w, m_cPackageOnly);
    PutByte(w, m_cSelfSignIn);
    PutDoubleArray(w, m_Dates);
    return w.IsValid();
}

uint32_t CPriceListItem::SaveRecord(IRecordStore& store) const
{
    return SaveRecordToStore(*this, store, TABLE_PRICELIST, m_nCode);
}

void CPriceListItem::CopyFrom(const CPriceListItem& other)
{
    Stored(*this) = Stored(other);
}

bool CPriceListItem::IsEqual(const CPriceListItem& other) const
{
    return Stored(*this) == Stored(other);
}
