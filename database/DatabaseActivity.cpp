// CDatabase: the latest-activity summaries of students and teachers, and the schedule conflict
// checks run before a purchase or a schedule item is saved.

#include "database/Database.h"

#include <algorithm>

#include "studio/ScheduleConflict.h"
#include "platform/host/Format.h"

namespace {

// One booked stretch of a person's time.
struct stScheduleEntry {
    uint32_t nPerson = NO_CODE;
    DATE dStart = 0.0;
    int32_t nMinutes = 0;
};

void AddPurchaseEntries(const CPurchaseRecord& p, std::vector<stScheduleEntry>& out)
{
    for (const auto& item : p.m_Items)
        for (const auto& t : item->m_Tokens) {
            if (t->m_cState != 'S') continue;
            out.push_back({p.m_nPerson, t->m_dDate, t->m_nLessonValue});
            if (p.m_nSecondPerson != NO_CODE) out.push_back({p.m_nSecondPerson, t->m_dDate, t->m_nLessonValue});
            if (t->m_nField8 != NO_CODE) out.push_back({t->m_nField8, t->m_dDate, t->m_nLessonValue});
        }
}

void AddScheduleEntries(const CScheduleRecord& item, std::vector<stScheduleEntry>& out)
{
    CScheduleRecord s;
    s.CopyFrom(item);
    const bool repeats = s.m_cRepeat != 'O';
    if (repeats) s.BuildOccurrences(true);
    for (uint32_t person : {s.m_nStudent, s.m_nTeacher}) {
        if (person == 0 || person == NO_CODE) continue;  // nobody
        out.push_back({person, s.m_dFirstDate, s.m_nDuration});
        if (repeats)
            for (size_t i = 1; i < s.m_Occurrences.size(); ++i) out.push_back({person, s.m_Occurrences[i], s.m_nDuration});
    }
}

bool Overlap(const stScheduleEntry& a, const stScheduleEntry& b)
{
    return a.nPerson == b.nPerson && IsTimeInside(a.dStart, a.nMinutes, b.dStart, b.nMinutes);
}

// 1 at the first conflict the user does not allow, else 0.
int CheckEntries(CDatabase& db, const std::vector<stScheduleEntry>& own,
                 const std::vector<std::vector<stScheduleEntry>>& others)
{
    for (size_t i = 0; i < own.size(); ++i)
        for (size_t j = i + 1; j < own.size(); ++j)
            if (Overlap(own[i], own[j]) &&
                !ConfirmScheduleConflict(&db, static_cast<int32_t>(own[i].nPerson), own[i].dStart))
                return 1;
    for (const auto& list : others)
        for (const stScheduleEntry& a : own)
            for (const stScheduleEntry& b : list)
                if (Overlap(a, b) && !ConfirmScheduleConflict(&db, static_cast<int32_t>(a.nPerson), a.dStart))
                    return 1;
    return 0;
}

}  // namespace

void KeepLatestActivity(const stActivityLine& line, std::vector<stActivityLine>& summary)
{
    for (stActivityLine& s : summary)
        if (s.nPerson == line.nPerson) {
            if (s.dDate < line.dDate) {
                s.sText = line.sText;
                s.dDate = line.dDate;
            }
            return;
        }
    summary.push_back(line);
}

void KeepLatestActivity(const stActivityLine& line, std::vector<stActivityLine>& summary,
                        std::unordered_map<uint32_t, size_t>& places)
{
    auto [at, added] = places.try_emplace(line.nPerson, summary.size());
    if (added) {
        summary.push_back(line);
        return;
    }
    stActivityLine& s = summary[at->second];
    if (s.dDate < line.dDate) {
        s.sText = line.sText;
        s.dDate = line.dDate;
    }
}

void CDatabase::MakeStudentActivitySummary(std::vector<stActivityLine>& summary)
{
    // Each person's place in the summary: a long summary is not searched per line.
    std::unordered_map<uint32_t, size_t> places;
    for (size_t i = 0; i < summary.size(); ++i) places.try_emplace(summary[i].nPerson, i);
    auto keep = [&](const stActivityLine& line) { KeepLatestActivity(line, summary, places); };
    for (const stIndex& e : *GetItemList(TABLE_PURCHASE)) {
        const CPurchaseRecord* p = static_cast<const CPurchaseRecord*>(e.pItem);
        if (p->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
        keep({p->m_nPerson, Format("Purchase: %s", p->m_sDescription.c_str()), p->m_dDate});
        for (const auto& sp : p->m_Payments)
            if (sp->m_cKind == 'R')
                keep({p->m_nPerson, Format("Payment on: %s", p->m_sDescription.c_str()), sp->m_dDate});
        for (const auto& item : p->m_Items)
            for (const auto& t : item->m_Tokens) {
                if (t->m_cState != 'U') continue;
                keep({p->m_nPerson, item->m_sName, t->m_dDate});
                if (p->m_nSecondPerson != NO_CODE)
                    keep({p->m_nSecondPerson, item->m_sName, t->m_dDate});
            }
    }
    for (const stIndex& e : *GetItemList(TABLE_PAYMENT)) {
        const CPaymentRecord* p = static_cast<const CPaymentRecord*>(e.pItem);
        if (p->m_cType == 'R' && p->m_cReceived == 'R' && p->m_nPerson != NO_CODE)
            keep({p->m_nPerson, "Payment received", p->m_dDate});
    }
    for (const stIndex& e : *GetItemList(TABLE_PERSON)) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        if (p->m_cType != 'C') continue;
        keep({p->m_nCode, "Initial entry", p->m_dStamp1Date});
        for (const auto& i : p->m_Interviews) keep({p->m_nCode, "Interview", i->m_dDate});
    }
}

void CDatabase::MakeTeacherActivitySummary(std::vector<stActivityLine>& summary)
{
    std::unordered_map<uint32_t, size_t> places;
    for (size_t i = 0; i < summary.size(); ++i) places.try_emplace(summary[i].nPerson, i);
    auto keep = [&](const stActivityLine& line) { KeepLatestActivity(line, summary, places); };
    for (const stIndex& e : *GetItemList(TABLE_PURCHASE)) {
        const CPurchaseRecord* p = static_cast<const CPurchaseRecord*>(e.pItem);
        if (p->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
        for (const auto& item : p->m_Items)
            for (const auto& t : item->m_Tokens)
                if (t->m_cState == 'U') keep({t->m_nField8, item->m_sName, t->m_dDate});
    }
    for (const stIndex& e : *GetItemList(TABLE_PERSON))
        for (const auto& i : static_cast<const CPerson*>(e.pItem)->m_Interviews)
            for (uint32_t teacher : {i->m_nField4, i->m_nField5})
                if (teacher != NO_CODE) keep({teacher, "Interview", i->m_dDate});
}

int CDatabase::CheckPurchaseScheduleConflicts(const CPurchaseRecord& purchase)
{
    if (purchase.m_nStatus != CPurchaseRecord::STATUS_ACTIVE) return 0;
    std::vector<stScheduleEntry> own;
    AddPurchaseEntries(purchase, own);
    if (own.empty()) return 0;
    std::vector<std::vector<stScheduleEntry>> others;
    for (const stIndex& e : *GetItemList(TABLE_PURCHASE)) {
        const CPurchaseRecord* p = static_cast<const CPurchaseRecord*>(e.pItem);
        if (p->m_nCode == purchase.m_nCode || p->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
        others.emplace_back();
        AddPurchaseEntries(*p, others.back());
    }
    for (const stIndex& e : *GetItemList(TABLE_SCHEDULE)) {
        others.emplace_back();
        AddScheduleEntries(*static_cast<const CScheduleRecord*>(e.pItem), others.back());
    }
    return CheckEntries(*this, own, others);
}

int CDatabase::CheckScheduleItemConflicts(const CScheduleRecord& item)
{
    std::vector<stScheduleEntry> own;
    AddScheduleEntries(item, own);
    if (own.empty()) return 0;
    std::vector<std::vector<stScheduleEntry>> others;
    for (const stIndex& e : *GetItemList(TABLE_PURCHASE)) {
        const CPurchaseRecord* p = static_cast<const CPurchaseRecord*>(e.pItem);
        if (p->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
        others.emplace_back();
        AddPurchaseEntries(*p, others.back());
    }
    for (const stIndex& e : *GetItemList(TABLE_SCHEDULE)) {
        const CScheduleRecord* s = static_cast<const CScheduleRecord*>(e.pItem);
        if (s->m_nCode == item.m_nCode) continue;
        others.emplace_back();
        AddScheduleEntries(*s, others.back());
    }
    return CheckEntries(*this, own, others);
}

// ---------------------------------------------------------------------------------------------
// Sign-in

int CDatabase::SelectSignInActivity(const CPurchaseItem& item, uint32_t& priceListCode, DATE& date, int onlyOwn)
{
    // What the purchase item has signed in to already: price-list code and date.
    std::vector<std::pair<uint32_t, DATE>> used;
    for (const auto& t : item.m_Tokens)
        if (t->m_cState == 'U' && t->m_nActivity != NO_CODE && (t->IsKindTN() || item.m_cKind == 's'))
            used.push_back({t->m_nActivity, t->m_dDate});
    auto isUsed = [&](uint32_t code, DATE when) {
        for (const auto& [c, d] : used)
            if (c == code && IsSameMinute(d, when)) return true;
        return false;
    };

    // Open for sign-in: on today's date and not yet over.
    const DATE now = GetNow();
    std::vector<std::pair<uint32_t, DATE>> choices;
    std::vector<std::pair<uint32_t, std::string>> lines;
    for (const stIndex& e : *GetItemList(TABLE_PRICELIST)) {
        const CPriceListItem* p = static_cast<const CPriceListItem*>(e.pItem);
        if (onlyOwn == 1 && p->m_nCode != item.m_nPriceListCode) continue;
        for (DATE d : p->m_Dates) {
            if (!IsSameDay(d, now) || d + std::max(p->m_nDuration, 0) / 1440.0 <= now) continue;
            if (isUsed(p->m_nCode, d)) continue;
            lines.push_back({static_cast<uint32_t>(lines.size()),
                             Format("%s %s", p->m_sName.c_str(), FormatDateTime(d, "%A %B %d, %Y, %I:%M%p").c_str())});
            choices.push_back({p->m_nCode, d});
        }
    }
    if (lines.empty()) {
        GetResponse("No activities scheduled for today remaining for sign-in.", MB_OK);
        return -1;
    }
    const int32_t chosen = Ui().SelectOne("Select activity", lines);
    if (chosen < 0 || static_cast<size_t>(chosen) >= choices.size()) return -1;
    priceListCode = choices[static_cast<size_t>(chosen)].first;
    date = choices[static_cast<size_t>(chosen)].second;
    return chosen;
}
