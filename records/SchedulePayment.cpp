#include "records/SchedulePayment.h"

#include "platform/host/Format.h"

CSchedulePayment::CSchedulePayment()
    : m_dDate(GetNow()),
      m_cStamp1User(GetStampUserCode()),
      m_dStamp1Date(m_dDate),
      m_cStamp2User(m_cStamp1User),
      m_dStamp2Date(m_dDate)
{
}

bool CSchedulePayment::ReadRecord(CRecordReader& r)
{
    CSchedulePayment p;
    uint8_t version = 0;
    GetByte(r, version);
    GetByte(r, p.m_cKind);
    GetByte(r, p.m_cMethod);
    GetString(r, p.m_sMethodText);
    GetUInt32(r, p.m_nPayer);
    if (version >= 1)
        GetUInt32(r, p.m_nCategory);
    if (version >= 3)
        GetUInt32(r, p.m_nField7);
    GetString(r, p.m_sDescription);
    GetDouble(r, p.m_dAmount);
    if (version >= 2)
        GetUInt32(r, p.m_nReference);
    GetDouble(r, p.m_dDate);
    GetStamps(r, p, StampOrder::UserFirst);
    if (!r.IsValid())
        return false;
    p.m_nVersion = CURRENT_VERSION;
    *this = std::move(p);
    return true;
}

bool CSchedulePayment::WriteRecord(CRecordWriter& w) const
{
    PutByte(w, CURRENT_VERSION);
    PutByte(w, m_cKind);
    PutByte(w, m_cMethod);
    PutString(w, m_sMethodText);
    PutUInt32(w, m_nPayer);
    PutUInt32(w, m_nCategory);
    PutUInt32(w, m_nField7);
    PutString(w, m_sDescription);
    PutDouble(w, m_dAmount);
    PutUInt32(w, m_nReference);
    PutDouble(w, m_dDate);
    PutStamps(w, *this, StampOrder::UserFirst);
    return w.IsValid();
}

void CSchedulePayment::CopyFrom(const CSchedulePayment& other)
{
    Stored(*this) = Stored(other);
}

bool CSchedulePayment::IsEqual(const CSchedulePayment& other) const
{
    return Stored(*this) == Stored(other);
}

std::string CSchedulePayment::GetText(const std::string& text) const
{
    std::string date = FormatDateTime(m_dDate, "%A %B %d, %Y, %I:%M%p");
    const char* d = date.c_str();
    const char* t = text.c_str();
    switch (m_cKind) {
    case 'U': return Format("Payment $%.2f due for %s", m_dAmount, t);
    case 'S': return Format("Payment $%.2f due %s for %s", m_dAmount, d, t);
    case 'R': return Format("Payment $%.2f received %s for %s", m_dAmount, d, t);
    case 'F': return Format("Refund $%.2f paid %s for %s", m_dAmount, d, t);
    case 'd':
        if (m_nReference == 0)
            return Format("Discount %.2f%% granted %s for %s", m_dAmount, d, t);
        return Format("Discount $%.2f granted %s for %s", m_dAmount, d, t);
    case 'c': return Format("Credit $%.2f applied %s for %s", m_dAmount, d, t);
    }
    return std::string();
}
