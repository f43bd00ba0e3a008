#pragma once
// One item of a purchase, with its schedule tokens. Kind 'N' is a limited quantity (the count is
// the number of uses), 'T' a limited time (the count is days from the purchase's start date).

#include <cstdint>
#include <string>

#include "records/RecordBuffer.h"
#include "records/ScheduleToken.h"

class CPurchaseItem {
public:
    static constexpr uint8_t CURRENT_VERSION = 2;

    CPurchaseItem() = default;
    virtual ~CPurchaseItem() = default;
    CPurchaseItem(CPurchaseItem&&) = default;
    CPurchaseItem& operator=(CPurchaseItem&&) = default;

    // Read at the cursor, older versions with their defaults; false when damaged (the object is
    // then unchanged). The writer always writes the current version.
    bool ReadRecord(CRecordReader& r);
    bool WriteRecord(CRecordWriter& w) const;

    void CopyFrom(const CPurchaseItem& other);
    bool IsEqual(const CPurchaseItem& other) const;
    // A limited time ('T') or limited number ('N') of uses.
    bool IsLimited() const { return m_cKind == 'N' || m_cKind == 'T'; }

    // The name of the item's type category; "Untyped" for none or one that does not exist.
    std::string GetTypeName(const ICategoryNames* categories) const;
    // The count less the tokens in state 'U', never below 0.
    uint32_t GetUnusedCount() const;
    uint32_t CountTokens(char state) const;

    // Keeps the item's unused tokens in step when `token` changes to `newState`.
    // - 'N': unless the token already is 'N', or a limited-quantity item has used up its count,
    //   a new unused token (fields of `token` kept) is appended; `token` itself is not touched
    //   and stays with its owner.
    // - any other state: an unused ('N') token of this item is taken out of the item and
    //   destroyed; `token` is then set to null and any other pointer to that token is invalid.
    //   A limited-quantity item that has uses left and no unused token gets a new one.
    //   A token that is not one of this item's tokens is left alone.
    // Gives true when `token` was removed.
    bool SetTokenState(CScheduleToken*& token, char newState);
    // Makes the item's tokens: for 'p' and 's' one per unit, the i-th on preset date i as
    // scheduled ('S') while there are dates, the others undated and unscheduled ('N'); for 'T'
    // and 'N' one unscheduled token without a price-list link; none for other kinds. Each carries
    // the item's kind and lesson value, the teacher, the further code and the current stamp.
    void MakeTokens(const std::vector<DATE>& presetDates, uint32_t priceListCode, uint32_t teacher, uint32_t further);

    uint8_t m_nVersion = CURRENT_VERSION;
    uint32_t m_nPriceListCode = NO_CODE;
    std::string m_sName;
    double m_dAmount = 0.0;        // from version 1
    uint32_t m_nType = NO_CODE;    // category code
    char m_cKind = 0;
    int32_t m_nCount = 1;
    uint32_t m_nTeacher = NO_CODE;
    int32_t m_nLessonValue = 50;
    double m_dField10 = 0.0;       // from version 2
    OwnedList<CScheduleToken> m_Tokens;

private:
    void AppendUnusedToken(int32_t lessonValue, uint32_t field8);

    template <class Self>
    static auto Stored(Self& s)
    {
        return std::tie(s.m_nVersion, s.m_nPriceListCode, s.m_sName, s.m_dAmount, s.m_nType,
                        s.m_cKind, s.m_nCount, s.m_nTeacher, s.m_nLessonValue, s.m_dField10);
    }
};
