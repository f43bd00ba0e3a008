#include "records/PurchaseRecord.h"

#include <cmath>

#include "platform/host/Format.h"

namespace {
// The fewest bytes a stored item (version 0, no tokens) and a scheduled payment (version 0) take.
constexpr uint32_t kMinItemSize = 1 + 4 + 4 + 4 + 1 + 4 + 4 + 4 + 4;
constexpr uint32_t kMinPaymentSize = 1 + 1 + 1 + 4 + 4 + 4 + 8 + 8 + 1 + 8 + 1 + 8;
// A balance below this (a single-precision 0.001) counts as paid.
constexpr double kPaidTolerance = static_cast<double>(0.001f);
}

CPurchaseRecord::CPurchaseRecord()
    : m_dDate(GetNow()),
      m_dStartDate(m_dDate),
      m_dStamp1Date(m_dDate),
      m_cStamp1User(GetStampUserCode()),
      m_dStamp2Date(m_dDate),
      m_cStamp2User(m_cStamp1User)
{
}

uint32_t CPurchaseRecord::ReadRecord(IRecordStore& store)
{
    return ReadRecordFromStore(*this, store);
}

bool CPurchaseRecord::ReadRecord(CRecordReader& r)
{
    CPurchaseRecord p;
    uint8_t version = 0;
    GetUInt32(r, p.m_nSequence);
    GetByte(r, version);
    GetUInt32(r, p.m_nCode);
    if (version >= 3)
        GetUInt32(r, p.m_nStatus);
    GetUInt32(r, p.m_nPerson);
    GetUInt32(r, p.m_nSecondPerson);
    GetUInt32(r, p.m_nPayer);
    GetDouble(r, p.m_dPrice);
    if (version >= 6)
        GetByte(r, p.m_cPricing);
    GetString(r, p.m_sDescription);
    if (version >= 1)
        GetUInt32(r, p.m_nProgram);
    if (version >= 2) {
        GetUInt32(r, p.m_nField12);
        GetUInt32(r, p.m_nField13);
    }
    GetUInt32(r, p.m_nField14);
    if (version >= 7)
        GetUInt32(r, p.m_nField15);
    if (version >= 4)
        GetUInt32(r, p.m_nField16);
    GetDouble(r, p.m_dField17);
    GetOwnedList(r, p.m_Items, kMinItemSize);
    GetOwnedList(r, p.m_Payments, kMinPaymentSize);
    GetDouble(r, p.m_dDate);
    if (version >= 5)
        GetDouble(r, p.m_dStartDate);
    else
        p.m_dStartDate = p.m_dDate;
    GetStamps(r, p, StampOrder::DateFirst);
    if (!r.IsComplete())
        return false;
    p.m_nVersion = CURRENT_VERSION;
    *this = std::move(p);
    return true;
}

uint32_t CPurchaseRecord::WriteRecord(IRecordStore& store, std::string* error) const
{
    return WriteRecordToStore(*this, store, error);
}

bool CPurchaseRecord::WriteRecord(CRecordWriter& w) const
{
    PutUInt32(w, m_nSequence);
    PutByte(w, CURRENT_VERSION);
    PutUInt32(w, m_nCode);
    PutUInt32(w, m_nStatus);
    PutUInt32(w, m_nPerson);
    PutUInt32(w, m_nSecondPerson);
    PutUInt32(w, m_nPayer);
    PutDouble(w, m_dPrice);
    PutByte(w, m_cPricing);
    PutString(w, m_sDescription);
    PutUInt32(w, m_nProgram);
    PutUInt32(w, m_nField12);
    PutUInt32(w, m_nField13);
    PutUInt32(w, m_nField14);
    PutUInt32(w, m_nField15);
    PutUInt32(w, m_nField16);
    PutDouble(w, m_dField17);
    PutOwnedList(w, m_Items);
    PutOwnedList(w, m_Payments);
    PutDouble(w, m_dDate);
    PutDouble(w, m_dStartDate);
    PutStamps(w, *this, StampOrder::DateFirst);
    return w.IsValid();
}

uint32_t CPurchaseRecord::SaveRecord(IRecordStore& store) const
{
    return SaveRecordToStore(*this, store, TABLE_PURCHASE, m_nCode);
}

void CPurchaseRecord::CopyFrom(const CPurchaseRecord& other)
{
    Stored(*this) = Stored(other);
    CopyOwnedList(m_Items, other.m_Items);
    CopyOwnedList(m_Payments, other.m_Payments);
}

bool CPurchaseRecord::IsEqual(const CPurchaseRecord& other) const
{
    return Stored(*this) == Stored(other) && OwnedListsEqual(m_Items, other.m_Items) &&
           OwnedListsEqual(m_Payments, other.m_Payments);
}

double CPurchaseRecord::GetTotal(int whole) const
{
    double base = 0.0;
    if (m_cPricing == 'P') {
        base = m_dPrice;
    } else {
        for (const auto& item : m_Items)
            base += item->m_dAmount;
    }
    if (whole == 1)
        return base;
    double total = base;
    for (const auto& p : m_Payments) {
        if (p->m_cKind == 'd' && p->m_nReference == 0)
            total -= p->m_dAmount / 100.0 * base;
        else if (p->m_cKind == 'd' || p->m_cKind == 'c')
            total -= p->m_dAmount;
    }
    return total;
}

double CPurchaseRecord::GetReceived() const
{
    double received = 0.0;
    for (const auto& p : m_Payments)
        if (p->m_cKind == 'R')
            received += p->m_dAmount;
    return received;
}

double CPurchaseRecord::GetBalance() const
{
    return GetTotal(0) - GetReceived();
}

std::string CPurchaseRecord::GetStatusText() const
{
    if (m_nStatus == STATUS_CANCELLED)
        return "Cancelled";
    if (m_nStatus != STATUS_ACTIVE)
        return "Converted";
    for (const auto& item : m_Items)
        for (const auto& token : item->m_Tokens)
            if (token->m_cState != 'U')
                return "Active";
    return std::fabs(GetBalance()) < kPaidTolerance ? "Completed" : "Active";
}

int CPurchaseRecord::IsItemBlocked(const CPurchaseItem& item, std::string* message) const
{
    if (item.m_cKind == 'N' && item.GetUnusedCount() == 0) {
        if (message)
            *message = "All items used.";
        return 1;
    }
    if (item.m_cKind == 'T') {
        DATE end = AddToDate(m_dStartDate, item.m_nCount, 0, 0, 0);
        if (GetToday(12) > end) {
            if (message)
                *message = Format("Past date for using this item. Starting %s for %u days ending %s.",
                                  FormatDateTime(m_dStartDate, "%A %B %d, %Y").c_str(),
                                  static_cast<uint32_t>(item.m_nCount),
                                  FormatDateTime(end, "%A %B %d, %Y").c_str());
            return 1;
        }
    }
    return 0;
}
