// CDatabase: the sign-in and self check-in entry points, and recording the use of a lesson.

#include "database/Database.h"

#include "common/QuestionBox.h"
#include "platform/host/Clock.h"

void CDatabase::RunSignIn(CPerson* person)
{
    if (person == nullptr) return;
    Ui().RunSignIn(*this, *person);
}

int CDatabase::RunSelfCheckIn(CPerson* person)
{
    if (person == nullptr) return 0;
    std::string notice;
    if (Ui().RunSelfCheckIn(*this, *person, notice) == 0) return 0;
    if (!notice.empty()) GetResponse(notice, MB_OK);
    return 1;
}

void CDatabase::ShowAutoCheckInDialog()
{
    Ui().ShowAutoCheckIn(*this);
}

int CDatabase::RecordTokenUse(uint32_t purchase, uint32_t item, uint32_t token, uint32_t activity, DATE date,
                              uint32_t teacher)
{
    const uint8_t stamp = GetStampUserCode();
    const DATE now = GetNow();
    if (date == 0.0) date = now;
    std::string refusal;
    const int stored = ChangeItem(TABLE_PURCHASE, purchase, [&](void* copy) {
        auto& p = *static_cast<CPurchaseRecord*>(copy);
        if (item >= p.m_Items.size() || token >= p.m_Items[item]->m_Tokens.size()) return false;
        CPurchaseItem& it = *p.m_Items[item];
        if (it.m_cKind == 'N' || it.m_cKind == 'T') {
            // Counted on the stored purchase, so that no desk charges an item past its uses.
            if (p.IsItemBlocked(it, &refusal) == 1) return false;
            auto used = std::make_unique<CScheduleToken>();
            used->m_cKind = it.m_cKind;
            used->m_cState = 'U';
            used->m_dDate = date;
            used->m_nLessonValue = it.m_nLessonValue;
            used->m_nActivity = activity;
            used->m_nField8 = teacher != NO_CODE ? teacher : it.m_Tokens[token]->m_nField8;
            used->m_cStampUser = stamp;
            used->m_dStampDate = now;
            it.m_Tokens.push_back(std::move(used));
            return true;
        }
        CScheduleToken& t = *it.m_Tokens[token];
        if (t.m_cState == 'U') return false;
        t.m_cState = 'U';
        t.m_dDate = date;
        if (activity != NO_CODE) t.m_nActivity = activity;
        if (t.m_nField8 == NO_CODE) t.m_nField8 = teacher;
        t.m_cStampUser = stamp;
        t.m_dStampDate = now;
        return true;
    });
    if (!refusal.empty()) GetResponse(refusal, MB_OK);
    return stored;
}

namespace {

// Whether `twin` is an unused split twin of `lesson` in the item.
bool IsSplitTwin(const CPurchaseItem& item, uint32_t lesson, uint32_t twin)
{
    if (twin == lesson || twin >= item.m_Tokens.size() || lesson >= item.m_Tokens.size()) return false;
    const CScheduleToken& t = *item.m_Tokens[twin];
    return t.m_cState == 'N' && t.IsKindPS() && t.m_nSplitCount >= 1;
}

}  // namespace

int CDatabase::SplitLessonToken(uint32_t purchase, uint32_t item, uint32_t token)
{
    const uint8_t stamp = GetStampUserCode();
    const DATE now = GetNow();
    return ChangeItem(TABLE_PURCHASE, purchase, [&](void* copy) {
        auto& p = *static_cast<CPurchaseRecord*>(copy);
        if (item >= p.m_Items.size() || token >= p.m_Items[item]->m_Tokens.size()) return false;
        CPurchaseItem& it = *p.m_Items[item];
        CScheduleToken& lesson = *it.m_Tokens[token];
        if (lesson.m_cState == 'U' || !lesson.IsKindPS()) return false;
        ++lesson.m_nSplitCount;
        auto twin = std::make_unique<CScheduleToken>();
        twin->m_cKind = 'p';
        twin->m_cState = 'N';
        twin->m_dDate = 0.0;
        twin->m_nLessonValue = lesson.m_nLessonValue;
        twin->m_nSplitCount = lesson.m_nSplitCount;
        twin->m_nActivity = NO_CODE;
        twin->m_nField8 = lesson.m_nField8;
        twin->m_nField9 = NO_CODE;
        twin->m_cStampUser = stamp;
        twin->m_dStampDate = now;
        it.m_Tokens.push_back(std::move(twin));
        return true;
    });
}

std::vector<uint32_t> CDatabase::GetUnsplitCandidates(const CPurchaseRecord& purchase, uint32_t item,
                                                      uint32_t token) const
{
    std::vector<uint32_t> twins;
    if (item >= purchase.m_Items.size()) return twins;
    const CPurchaseItem& it = *purchase.m_Items[item];
    for (uint32_t t = 0; t < it.m_Tokens.size(); ++t)
        if (IsSplitTwin(it, token, t)) twins.push_back(t);
    return twins;
}

int CDatabase::UnsplitLessonToken(uint32_t purchase, uint32_t item, uint32_t token, uint32_t sibling)
{
    return ChangeItem(TABLE_PURCHASE, purchase, [&](void* copy) {
        auto& p = *static_cast<CPurchaseRecord*>(copy);
        if (item >= p.m_Items.size()) return false;
        CPurchaseItem& it = *p.m_Items[item];
        if (!IsSplitTwin(it, token, sibling) || it.m_Tokens[token]->m_nSplitCount < 1) return false;
        --it.m_Tokens[token]->m_nSplitCount;
        it.m_Tokens.erase(it.m_Tokens.begin() + sibling);
        return true;
    });
}
