#include "records/Category.h"

#include <tuple>

#include "platform/host/Format.h"

CCategory::CCategory(char type) : m_cType(type)
{
}

uint32_t CCategory::ReadRecord(IRecordStore& store)
{
    return ReadRecordFromStore(*this, store);
}

bool CCategory::ReadRecord(CRecordReader& r)
{
    CCategory c(m_cType);
    GetUInt32(r, c.m_nSequence);
    GetUInt32(r, c.m_nCode);
    GetByte(r, c.m_cField3);
    GetByte(r, c.m_cType);
    GetString(r, c.m_sName);
    GetBytes(r, c.m_Params.data(), static_cast<uint32_t>(c.m_Params.size()));
    if (!r.IsComplete())
        return false;
    *this = std::move(c);
    return true;
}

uint32_t CCategory::WriteRecord(IRecordStore& store, std::string* error) const
{
    return WriteRecordToStore(*this, store, error);
}

bool CCategory::WriteRecord(CRecordWriter& w) const
{
    PutUInt32(w, m_nSequence);
    PutUInt32(w, m_nCode);
    PutByte(w, m_cField3);
    PutByte(w, m_cType);
    PutString(w, m_sName);
    PutBytes(w, m_Params.data(), static_cast<uint32_t>(m_Params.size()));
    return w.IsValid();
}

uint32_t CCategory::SaveRecord(IRecordStore& store) const
{
    return SaveRecordToStore(*this, store, TABLE_CATEGORY, m_nCode);
}

void CCategory::CopyFrom(const CCategory& other)
{
    Stored(*this) = Stored(other);
}

bool CCategory::IsEqual(const CCategory& other) const
{
    return Stored(*this) == Stored(other);
}

std::string CCategory::GetDumpLine() const
{
    return Format("Category:%s, code:%u, type:%c, param0:%c \n", m_sName.c_str(), m_nCode, m_cType,
                  static_cast<char>(m_Params[0]));
}
