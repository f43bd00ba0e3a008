#include "records/ScheduleToken.h"

#include "records/PurchaseItem.h"
#include "platform/host/Format.h"

CScheduleToken::CScheduleToken() : m_cStampUser(GetStampUserCode()), m_dStampDate(GetNow())
{
}

bool CScheduleToken::ReadRecord(CRecordReader& r)
{
    CScheduleToken t;
    uint8_t version = 0;
    GetByte(r, version);
    GetByte(r, t.m_cKind);
    GetByte(r, t.m_cState);
    GetDouble(r, t.m_dDate);
    GetUInt32(r, t.m_nLessonValue);
    if (version >= 1)
        GetUInt32(r, t.m_nSplitCount);
    if (version >= 2)
        GetUInt32(r, t.m_nActivity);
    GetUInt32(r, t.m_nField8);
    GetUInt32(r, t.m_nField9);
    GetByte(r, t.m_cStampUser);
    GetDouble(r, t.m_dStampDate);
    if (!r.IsValid())
        return false;
    if (t.m_cState == 'N')
        t.m_dDate = 0.0;
    t.m_nVersion = CURRENT_VERSION;
    *this = std::move(t);
    return true;
}

bool CScheduleToken::WriteRecord(CRecordWriter& w) const
{
    PutByte(w, CURRENT_VERSION);
    PutByte(w, m_cKind);
    PutByte(w, m_cState);
    PutDouble(w, m_dDate);
    PutUInt32(w, m_nLessonValue);
    PutUInt32(w, m_nSplitCount);
    PutUInt32(w, m_nActivity);
    PutUInt32(w, m_nField8);
    PutUInt32(w, m_nField9);
    PutByte(w, m_cStampUser);
    PutDouble(w, m_dStampDate);
    return w.IsValid();
}

void CScheduleToken::CopyFrom(const CScheduleToken& other)
{
    Stored(*this) = Stored(other);
}

bool CScheduleToken::IsEqual(const CScheduleToken& other) const
{
    return Stored(*this) == Stored(other);
}

std::string CScheduleToken::GetText(const CPurchaseItem& item, const std::string& purchaseText,
                                    const ICategoryNames* categories) const
{
    std::string itemWord = "item";
    if (categories && item.m_nType != NO_CODE) {
        std::string name;
        if (categories->LookupCategoryName(item.m_nType, name))
            itemWord = name;
    }
    std::string date = FormatDateTime(m_cState == 'c' ? m_dStampDate : m_dDate, "%m/%d/%Y, %I:%M%p");
    const char* word = itemWord.c_str();
    const char* text = purchaseText.c_str();

    if (IsKindPS()) {
        std::string split = m_nSplitCount > 0 ? Format(" [Split %u times]", m_nSplitCount) : "";
        switch (m_cState) {
        case 'N': return Format("Unscheduled %s from purchase %s%s", word, text, split.c_str());
        case 'S':
            return Format("%s Scheduled %s from purchase %s%s", date.c_str(), word, text,
                          split.c_str());
        case 'U':
            return Format("%s Used %s from purchase %s%s", date.c_str(), word, text, split.c_str());
        case 'c':
            return Format("Cancelled %s, %s from purchase %s%s", date.c_str(), word, text,
                          split.c_str());
        }
        return "Unrecognized item";
    }

    const char* unscheduled = "Unscheduled %s from purchase %s";
    const char* used = "%s Used %s from purchase %s";
    switch (m_cKind) {
    case 'T': unscheduled = "Limited time (unlimited usage) %s from purchase %s"; break;
    case 'D':
    case 'C': used = "%s Applied %s from purchase %s"; break;
    }
    switch (m_cState) {
    case 'N':
        if (m_cKind == 'N')
            return Format("Limited quantity item %s from purchase %s, %u remaining", word, text,
                          item.GetUnusedCount());
        return Format(unscheduled, word, text);
    case 'S': return Format("%s Scheduled %s from purchase %s", date.c_str(), word, text);
    case 'U': return Format(used, date.c_str(), word, text);
    }
    return "Unrecognized item";
}
