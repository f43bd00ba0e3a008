#include "records/PackageRecord.h"

uint32_t CPackageRecord::ReadRecord(IRecordStore& store)
{
    return ReadRecordFromStore(*this, store);
}

bool CPackageRecord::ReadRecord(CRecordReader& r)
{
    CPackageRecord p;
    GetUInt32(r, p.m_nSequence);
    GetByte(r, p.m_cField2);
    GetUInt32(r, p.m_nCode);
    GetString(r, p.m_sName);
    GetUInt32(r, p.m_nProgram);
    GetDouble(r, p.m_dPrice);
    GetUIntArray(r, p.m_Items);
    if (!r.IsComplete())
        return false;
    *this = std::move(p);
    return true;
}

uint32_t CPackageRecord::WriteRecord(IRecordStore& store, std::string* error) const
{
    return WriteRecordToStore(*this, store, error);
}

bool CPackageRecord::WriteRecord(CRecordWriter& w) const
{
    PutUInt32(w, m_nSequence);
    PutByte(w, m_cField2);
    PutUInt32(w, m_nCode);
    PutString(w, m_sName);
    PutUInt32(w, m_nProgram);
    PutDouble(w, m_dPrice);
    PutUIntArray(w, m_Items);
    return w.IsValid();
}

uint32_t CPackageRecord::SaveRecord(IRecordStore& store) const
{
    return SaveRecordToStore(*this, store, TABLE_PACKAGE, m_nCode);
}

void CPackageRecord::CopyFrom(const CPackageRecord& other)
{
    Stored(*this) = Stored(other);
}

bool CPackageRecord::IsEqual(const CPackageRecord& other) const
{
    return Stored(*this) == Stored(other);
}
