#include "records/MailList.h"

#include "common/Diagnostic.h"

CMailList::CMailList(uint32_t code) : m_nCode(code)
{
}

uint32_t CMailList::ReadRecord(IRecordStore& store)
{
    return ReadRecordFromStore(*this, store);
}

bool CMailList::ReadRecord(CRecordReader& r)
{
    if (DiagnosticLevel > 1) {
        DiagnosticText = "CProgramRecord::ReadRecordMailList()\n";
        WriteDiagnostic();
    }
    CMailList m(m_nCode);
    GetUInt32(r, m.m_nCode);
    GetByte(r, m.m_cField2);
    GetString(r, m.m_sFontName);
    GetUInt32(r, m.m_nFontSize);
    GetUInt32(r, m.m_fHeightScale);
    for (uint8_t& b : m.m_Styles)
        GetByte(r, b);
    GetByte(r, m.m_cTopLines);
    GetUInt32(r, m.m_fLeftPosition);
    GetByte(r, m.m_cColumns);
    GetByte(r, m.m_cRows);
    GetByte(r, m.m_cLinesPerRow);
    GetUInt32(r, m.m_fColumnWidth);
    GetByte(r, m.m_cBlankLines);
    GetUInt32(r, m.m_fEnvelopeIndent);
    GetByte(r, m.m_cReturnAddress);
    GetStringArray(r, m.m_ReturnAddressLines);
    if (!r.IsComplete())
        return false;
    *this = std::move(m);
    return true;
}

uint32_t CMailList::WriteRecord(IRecordStore& store, std::string* error) const
{
    return WriteRecordToStore(*this, store, error);
}

bool CMailList::WriteRecord(CRecordWriter& w) const
{
    PutUInt32(w, m_nCode);
    PutByte(w, m_cField2);
    PutString(w, m_sFontName);
    PutUInt32(w, m_nFontSize);
    PutUInt32(w, m_fHeightScale);
    for (uint8_t b : m_Styles)
        PutByte(w, b);
    PutByte(w, m_cTopLines);
    PutUInt32(w, m_fLeftPosition);
    PutByte(w, m_cColumns);
    PutByte(w, m_cRows);
    PutByte(w, m_cLinesPerRow);
    PutUInt32(w, m_fColumnWidth);
    PutByte(w, m_cBlankLines);
    PutUInt32(w, m_fEnvelopeIndent);
    PutByte(w, m_cReturnAddress);
    PutStringArray(w, m_ReturnAddressLines);
    return w.IsValid();
}

uint32_t CMailList::SaveRecord(IRecordStore& store) const
{
    if (DiagnosticLevel > 1)
        WriteDiagnosticFormat("CDatabase::SaveRecordMailList, Timer=%s\n", GetTimerText().c_str());
    return SaveRecordToStore(*this, store, TABLE_MAILLIST, m_nCode);
}

void CMailList::CopyFrom(const CMailList& other)
{
    Stored(*this) = Stored(other);
}

bool CMailList::IsEqual(const CMailList& other) const
{
    return Stored(*this) == Stored(other);
}

std::vector<float> CMailList::GetColumnPositions() const
{
    std::vector<float> positions{m_fLeftPosition};
    if (m_nCode == ENVELOPES) {
        positions.push_back(m_fLeftPosition + m_fEnvelopeIndent);
    } else {
        for (uint8_t i = 1; i <= m_cColumns; ++i)
            positions.push_back(m_fLeftPosition + i * m_fColumnWidth);
    }
    return positions;
}
