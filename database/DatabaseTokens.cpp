// CDatabase: the schedule token service. Every change to a purchase's lesson and activity tokens
// (use, cancel, give back, schedule, status edit, split, unsplit) is made here, on the caller's
// own purchase or, when saved, on a copy of the stored purchase under the database lock.

#include "database/Database.h"

#include <algorithm>
#include <memory>

#include "common/QuestionBox.h"

namespace {

// Where the token the caller saw at (item, token) is in `purchase` now: its index in the item,
// or -1 when the purchase no longer holds it unchanged.
int32_t FindToken(const CPurchaseRecord& purchase, uint32_t item, uint32_t token, const CScheduleToken& seen)
{
    if (item >= purchase.m_Items.size()) return -1;
    const auto& tokens = purchase.m_Items[item]->m_Tokens;
    if (token < tokens.size() && tokens[token]->IsEqual(seen)) return static_cast<int32_t>(token);
    for (size_t i = 0; i < tokens.size(); ++i)
        if (tokens[i]->IsEqual(seen)) return static_cast<int32_t>(i);
    return -1;
}

bool IsTimeOrQuantity(const CPurchaseItem& item) { return item.m_cKind == 'T' || item.m_cKind == 'N'; }

// Puts `edited` in place of token `at`, keeping the item's unused tokens in step. False when a
// quantity item has no use left to take.
bool PutToken(CPurchaseItem& item, size_t at, const CScheduleToken& edited)
{
    CScheduleToken* current = item.m_Tokens[at].get();
    const char from = current->m_cState;
    const char to = edited.m_cState;
    if (!IsTimeOrQuantity(item) || from == to || (from != 'N' && to != 'N')) {
        current->CopyFrom(edited);
        if (to == 'N') current->m_dDate = 0.0;  // as an unscheduled token reads back
        return true;
    }
    if (from == 'N') {
        // One of the remaining uses is taken: it gets a token of its own.
        if (item.m_cKind == 'N' && to == 'U' && item.GetUnusedCount() == 0) return false;
        auto taken = std::make_unique<CScheduleToken>();
        taken->CopyFrom(edited);
        item.m_Tokens.push_back(std::move(taken));
        // A time pass keeps its unused token; a quantity item keeps one while uses remain.
        if (item.m_cKind == 'N') item.SetTokenState(current, to);
        return true;
    }
    // A use given back: its token goes, and the item has an unused token again.
    std::unique_ptr<CScheduleToken> removed = std::move(item.m_Tokens[at]);
    item.m_Tokens.erase(item.m_Tokens.begin() + static_cast<std::ptrdiff_t>(at));
    if (item.CountTokens('N') == 0) {
        CScheduleToken* given = removed.get();
        item.SetTokenState(given, 'N');
    }
    return true;
}

void Stamp(CScheduleToken& token)
{
    token.m_cStampUser = GetStampUserCode();
    token.m_dStampDate = GetNow();
}

const char* const kTokenChanged = "This item was changed by another user. Nothing was done; please look at it again.";

// Runs `change` on the purchase: directly (save 0) or on the stored purchase under the lock (save
// 1), the caller's purchase then taking the stored result. `change` gets the purchase to change
// and gives false when the tokens it was asked about are no longer there as seen.
int ApplyTokenChange(CDatabase& db, CPurchaseRecord* purchase, int save,
                            const std::function<bool(CPurchaseRecord&, bool& gone)>& change)
{
    if (purchase == nullptr) return 0;
    bool gone = false;
    int result = 0;
    if (save != 1) {
        result = change(*purchase, gone) ? 1 : 0;
    } else {
        const uint32_t code = purchase->m_nCode;
        result = db.ChangeItem(TABLE_PURCHASE, code,
                               [&](void* copy) { return change(*static_cast<CPurchaseRecord*>(copy), gone); });
        void* stored = db.GetItem(TABLE_PURCHASE, code);
        if (result == 1 && stored != nullptr && stored != purchase) db.CopyItem(TABLE_PURCHASE, stored, purchase, 0);
    }
    if (gone) GetResponse(kTokenChanged, MB_OK);
    return result;
}

// One token changed by `edit` on a copy of it, then put back through PutToken.
int EditOneToken(CDatabase& db, CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save,
                        const std::function<bool(CScheduleToken& copy)>& edit)
{
    if (purchase == nullptr || item >= purchase->m_Items.size() || token >= purchase->m_Items[item]->m_Tokens.size())
        return 0;
    CScheduleToken seen;
    seen.CopyFrom(*purchase->m_Items[item]->m_Tokens[token]);
    return ApplyTokenChange(db, purchase, save, [&](CPurchaseRecord& p, bool& gone) {
        const int32_t at = FindToken(p, item, token, seen);
        if (at < 0) {
            gone = true;
            return false;
        }
        CPurchaseItem& owner = *p.m_Items[item];
        CScheduleToken copy;
        copy.CopyFrom(*owner.m_Tokens[static_cast<size_t>(at)]);
        if (!edit(copy)) return false;
        return PutToken(owner, static_cast<size_t>(at), copy);
    });
}

}  // namespace

int CDatabase::UseToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token, uint32_t activity,
                        uint32_t teacher, DATE date, int save)
{
    return EditOneToken(*this, purchase, item, token, save, [&](CScheduleToken& t) {
        if (t.m_cState == 'U') return false;
        t.m_cState = 'U';
        if (activity != NO_CODE) t.m_nActivity = activity;
        if (teacher != NO_CODE) t.m_nField8 = teacher;
        if (date != 0.0) t.m_dDate = date;
        Stamp(t);
        return true;
    });
}

int CDatabase::CancelToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save)
{
    return EditOneToken(*this, purchase, item, token, save, [](CScheduleToken& t) {
        t.m_cState = t.m_cState == 'c' ? 'N' : 'c';
        Stamp(t);
        return true;
    });
}

int CDatabase::MarkTokenUnused(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save)
{
    return EditOneToken(*this, purchase, item, token, save, [](CScheduleToken& t) {
        if (t.m_cState == 'N') return false;
        t.m_cState = 'N';
        t.m_dDate = 0.0;
        Stamp(t);
        return true;
    });
}

int CDatabase::SetTokenStatus(CPurchaseRecord* purchase, uint32_t item, uint32_t token, const CScheduleToken& edited,
                              int save)
{
    return EditOneToken(*this, purchase, item, token, save, [&](CScheduleToken& t) {
        if (t.IsEqual(edited)) return false;
        t.CopyFrom(edited);
        return true;
    });
}

int CDatabase::ScheduleTokens(CPurchaseRecord* purchase, const std::vector<stTokenDate>& dates, int save)
{
    if (purchase == nullptr || dates.empty()) return 0;
    struct Seen {
        stTokenDate where;
        CScheduleToken token;
    };
    std::vector<Seen> seen(dates.size());
    for (size_t i = 0; i < dates.size(); ++i) {
        const stTokenDate& d = dates[i];
        if (d.item >= purchase->m_Items.size() || d.token >= purchase->m_Items[d.item]->m_Tokens.size()) return 0;
        seen[i].where = d;
        seen[i].token.CopyFrom(*purchase->m_Items[d.item]->m_Tokens[d.token]);
    }
    return ApplyTokenChange(*this, purchase, save, [&](CPurchaseRecord& p, bool& gone) {
        // Found first, changed after: a time or quantity item's tokens move as they change.
        std::vector<CScheduleToken*> found;
        for (const Seen& s : seen) {
            const int32_t at = FindToken(p, s.where.item, s.where.token, s.token);
            if (at < 0) {
                gone = true;
                return false;
            }
            found.push_back(p.m_Items[s.where.item]->m_Tokens[static_cast<size_t>(at)].get());
        }
        bool changed = false;
        for (size_t i = 0; i < seen.size(); ++i) {
            CPurchaseItem& owner = *p.m_Items[seen[i].where.item];
            const auto it = std::find_if(owner.m_Tokens.begin(), owner.m_Tokens.end(),
                                         [&](const auto& t) { return t.get() == found[i]; });
            if (it == owner.m_Tokens.end()) continue;
            CScheduleToken copy;
            copy.CopyFrom(**it);
            copy.m_cState = 'S';
            copy.m_dDate = seen[i].where.date;
            Stamp(copy);
            changed = PutToken(owner, static_cast<size_t>(it - owner.m_Tokens.begin()), copy) || changed;
        }
        return changed;
    });
}

int CDatabase::SplitToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save)
{
    if (purchase == nullptr || item >= purchase->m_Items.size() || token >= purchase->m_Items[item]->m_Tokens.size())
        return 0;
    CScheduleToken seen;
    seen.CopyFrom(*purchase->m_Items[item]->m_Tokens[token]);
    if (seen.m_cKind != 'p') return 0;
    return ApplyTokenChange(*this, purchase, save, [&](CPurchaseRecord& p, bool& gone) {
        const int32_t at = FindToken(p, item, token, seen);
        if (at < 0) {
            gone = true;
            return false;
        }
        CPurchaseItem& owner = *p.m_Items[item];
        CScheduleToken& t = *owner.m_Tokens[static_cast<size_t>(at)];
        const int32_t half = t.m_nLessonValue / 2;
        ++t.m_nSplitCount;
        t.m_nActivity = NO_CODE;
        t.m_nLessonValue -= half;
        Stamp(t);
        auto added = std::make_unique<CScheduleToken>();
        added->m_cKind = 'p';
        added->m_cState = 'N';
        added->m_dDate = 0.0;
        added->m_nLessonValue = half;
        added->m_nSplitCount = t.m_nSplitCount;
        added->m_nField8 = owner.m_nTeacher;
        Stamp(*added);
        owner.m_Tokens.push_back(std::move(added));
        return true;
    });
}

std::vector<uint32_t> CDatabase::GetUnsplitPartners(const CPurchaseRecord& purchase, uint32_t item,
                                                    uint32_t token) const
{
    std::vector<uint32_t> partners;
    if (item >= purchase.m_Items.size()) return partners;
    const auto& tokens = purchase.m_Items[item]->m_Tokens;
    if (token >= tokens.size() || tokens[token]->m_nSplitCount == 0) return partners;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const CScheduleToken& t = *tokens[i];
        if (i != token && t.m_cKind == 'p' && t.m_cState == 'N' && t.m_nSplitCount == tokens[token]->m_nSplitCount)
            partners.push_back(static_cast<uint32_t>(i));
    }
    return partners;
}

int CDatabase::UnsplitToken(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save)
{
    if (purchase == nullptr || item >= purchase->m_Items.size() || token >= purchase->m_Items[item]->m_Tokens.size())
        return 0;
    const CPurchaseItem& owner = *purchase->m_Items[item];
    if (owner.m_Tokens[token]->m_nSplitCount == 0) {
        GetResponse("Not a split lesson", MB_OK);
        return 0;
    }
    const std::vector<uint32_t> partners = GetUnsplitPartners(*purchase, item, token);
    if (partners.empty()) {
        GetResponse("No other split heats from same package found for combine", MB_OK);
        return 0;
    }
    uint32_t partner = partners.front();
    if (partners.size() > 1) {
        std::vector<std::pair<uint32_t, std::string>> lines;
        for (uint32_t i : partners)
            lines.push_back({i, owner.m_Tokens[i]->GetText(owner, purchase->m_sDescription, this)});
        const int32_t chosen = Ui().SelectOne("Select lesson to recombine with", lines);
        if (chosen < 0 || std::find(partners.begin(), partners.end(), static_cast<uint32_t>(chosen)) == partners.end())
            return 0;
        partner = static_cast<uint32_t>(chosen);
    }
    CScheduleToken seenKept, seenPartner;
    seenKept.CopyFrom(*owner.m_Tokens[token]);
    seenPartner.CopyFrom(*owner.m_Tokens[partner]);
    return ApplyTokenChange(*this, purchase, save, [&](CPurchaseRecord& p, bool& gone) {
        const int32_t kept = FindToken(p, item, token, seenKept);
        const int32_t joined = FindToken(p, item, partner, seenPartner);
        if (kept < 0 || joined < 0 || kept == joined) {
            gone = true;
            return false;
        }
        auto& tokens = p.m_Items[item]->m_Tokens;
        CScheduleToken& t = *tokens[static_cast<size_t>(kept)];
        t.m_nLessonValue += tokens[static_cast<size_t>(joined)]->m_nLessonValue;
        --t.m_nSplitCount;
        Stamp(t);
        tokens.erase(tokens.begin() + joined);
        return true;
    });
}
