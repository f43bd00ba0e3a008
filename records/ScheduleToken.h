#pragma once
// One schedulable unit of a purchase item: its kind letter (copied from the item), its state
// ('N' not yet used, 'S' scheduled, 'U' used, 'c' cancelled) and its date.

#include <cstdint>
#include <string>

#include "common/DateTime.h"
#include "records/RecordBuffer.h"

class CPurchaseItem;

class CScheduleToken {
public:
    static constexpr uint8_t CURRENT_VERSION = 2;

    CScheduleToken();
    virtual ~CScheduleToken() = default;
    CScheduleToken(CScheduleToken&&) = default;
    CScheduleToken& operator=(CScheduleToken&&) = default;

    // Read at the cursor, older versions with their defaults; false when damaged (the object is
    // then unchanged). A token in state 'N' reads with date 0.0.
    bool ReadRecord(CRecordReader& r);
    bool WriteRecord(CRecordWriter& w) const;

    void CopyFrom(const CScheduleToken& other);
    bool IsEqual(const CScheduleToken& other) const;

    // One line describing the token. The item word is the name of the item's type category when
    // `categories` is given and knows it, else "item".
    std::string GetText(const CPurchaseItem& item, const std::string& purchaseText,
                        const ICategoryNames* categories) const;
    bool IsKindPS() const { return m_cKind == 'p' || m_cKind == 's'; }
    bool IsKindTN() const { return m_cKind == 'T' || m_cKind == 'N'; }

    uint8_t m_nVersion = CURRENT_VERSION;
    char m_cKind = 0;
    char m_cState = 'N';
    DATE m_dDate = 0.0;
    int32_t m_nLessonValue = 50;
    uint32_t m_nSplitCount = 0;    // from version 1
    uint32_t m_nActivity = NO_CODE;  // from version 2
    uint32_t m_nField8 = NO_CODE;
    uint32_t m_nField9 = NO_CODE;
    uint8_t m_cStampUser;
    DATE m_dStampDate;

private:
    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nVersion, s.m_cKind, s.m_cState, s.m_dDate, s.m_nLessonValue,
                        s.m_nSplitCount, s.m_nActivity, s.m_nField8, s.m_nField9, s.m_cStampUser,
                        s.m_dStampDate);
    }
};
