#include "records/PurchaseItem.h"

#include <algorithm>

namespace {
// The fewest bytes a stored token takes (version 0).
constexpr uint32_t kMinTokenSize = 1 + 1 + 1 + 8 + 4 + 4 + 4 + 1 + 8;
}

bool CPurchaseItem::ReadRecord(CRecordReader& r)
{
    CPurchaseItem p;
    uint8_t version = 0;
    GetByte(r, version);
    GetUInt32(r, p.m_nPriceListCode);
    GetString(r, p.m_sName);
    if (version >= 1)
        GetDouble(r, p.m_dAmount);
    GetUInt32(r, p.m_nType);
    GetByte(r, p.m_cKind);
    GetUInt32(r, p.m_nCount);
    GetUInt32(r, p.m_nTeacher);
    GetUInt32(r, p.m_nLessonValue);
    if (version >= 2)
        GetDouble(r, p.m_dField10);
    GetOwnedList(r, p.m_Tokens, kMinTokenSize);
    if (!r.IsValid())
        return false;
    p.m_nVersion = CURRENT_VERSION;
    *this = std::move(p);
    return true;
}

bool CPurchaseItem::WriteRecord(CRecordWriter& w) const
{
    PutByte(w, CURRENT_VERSION);
    PutUInt32(w, m_nPriceListCode);
    PutString(w, m_sName);
    PutDouble(w, m_dAmount);
    PutUInt32(w, m_nType);
    PutByte(w, m_cKind);
    PutUInt32(w, m_nCount);
    PutUInt32(w, m_nTeacher);
    PutUInt32(w, m_nLessonValue);
    PutDouble(w, m_dField10);
    PutOwnedList(w, m_Tokens);
    return w.IsValid();
}

void CPurchaseItem::CopyFrom(const CPurchaseItem& other)
{
    Stored(*this) = Stored(other);
    CopyOwnedList(m_Tokens, other.m_Tokens);
}

bool CPurchaseItem::IsEqual(const CPurchaseItem& other) const
{
    return Stored(*this) == Stored(other) && OwnedListsEqual(m_Tokens, other.m_Tokens);
}

std::string CPurchaseItem::GetTypeName(const ICategoryNames* categories) const
{
    std::string name;
    if (m_nType != NO_CODE && categories && categories->LookupCategoryName(m_nType, name))
        return name;
    return "Untyped";
}

uint32_t CPurchaseItem::CountTokens(char state) const
{
    return static_cast<uint32_t>(std::count_if(m_Tokens.begin(), m_Tokens.end(),
                                               [state](const auto& t) { return t->m_cState == state; }));
}

uint32_t CPurchaseItem::GetUnusedCount() const
{
    int64_t left = static_cast<int64_t>(m_nCount) - CountTokens('U');
    return left > 0 ? static_cast<uint32_t>(left) : 0;
}

void CPurchaseItem::AppendUnusedToken(int32_t lessonValue, uint32_t field8)
{
    auto t = std::make_unique<CScheduleToken>();
    t->m_dDate = 0.0;
    t->m_cKind = m_cKind;
    t->m_cState = 'N';
    t->m_nLessonValue = lessonValue;
    t->m_nField8 = field8;
    m_Tokens.push_back(std::move(t));
}

bool CPurchaseItem::SetTokenState(CScheduleToken*& token, char newState)
{
    if (!token)
        return false;
    // Whether a limited-quantity item has used up its count.
    auto usedUp = [this] {
        return static_cast<int64_t>(CountTokens('U')) >= static_cast<int64_t>(m_nCount);
    };

    if (newState == 'N') {
        if (token->m_cState == 'N' || (m_cKind == 'N' && usedUp()))
            return false;
        AppendUnusedToken(token->m_nLessonValue, token->m_nField8);
        return false;
    }

    if (token->m_cState != 'N')
        return false;
    auto it = std::find_if(m_Tokens.begin(), m_Tokens.end(),
                           [token](const auto& t) { return t.get() == token; });
    if (it == m_Tokens.end())
        return false;
    int32_t lessonValue = token->m_nLessonValue;
    uint32_t field8 = token->m_nField8;
    m_Tokens.erase(it);
    token = nullptr;
    if (m_cKind != 'N' || usedUp() || CountTokens('N') > 0)
        return true;
    AppendUnusedToken(lessonValue, field8);
    return true;
}

void CPurchaseItem::MakeTokens(const std::vector<DATE>& presetDates, uint32_t priceListCode, uint32_t teacher,
                               uint32_t further)
{
    auto make = [&](char state, DATE date, uint32_t code) {
        auto token = std::make_unique<CScheduleToken>();
        token->m_cKind = m_cKind;
        token->m_cState = state;
        token->m_dDate = date;
        token->m_nLessonValue = m_nLessonValue;
        token->m_nActivity = code;
        token->m_nField8 = teacher;
        token->m_nField9 = further;
        token->m_cStampUser = GetStampUserCode();
        token->m_dStampDate = GetNow();
        m_Tokens.push_back(std::move(token));
    };
    if (m_cKind == 'p' || m_cKind == 's') {
        for (int32_t i = 0; i < m_nCount; ++i) {
            const bool dated = static_cast<size_t>(i) < presetDates.size();
            make(dated ? 'S' : 'N', dated ? presetDates[static_cast<size_t>(i)] : 0.0, priceListCode);
        }
    } else if (m_cKind == 'T' || m_cKind == 'N') {
        make('N', 0.0, NO_CODE);
    }
}
