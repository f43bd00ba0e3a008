// CReports: the studio's activities: the most recent activity of each person, the count and
// roster of studio activities, what the studio still owes, and the lessons each teacher taught.

#include <algorithm>
#include <map>
#include <utility>

#include "common/DateTime.h"
#include "common/Diagnostic.h"
#include "common/QuestionBox.h"
#include "database/Database.h"
#include "dialogs/DialogGetDate.h"
#include "dialogs/DialogMenu.h"
#include "platform/host/Format.h"
#include "reports/Reports.h"

namespace {

// Dates before the program's earliest valid date (1 January 1996) stand for no date.
DATE EarliestValidDate()
{
    static const DATE date = MakeDate(1996, 1, 1, 0, 0);
    return date;
}

}  // namespace

void CReports::MostRecentActivityReport(char kind)
{
    DATE before = 0.0;
    std::vector<std::string> lines;
    stTextReport plan;
    plan.nBodySlot = 28;
    plan.nHeadSlot = 29;
    plan.sHeading = "Name\tDate\tDescription";
    plan.fnSelect = [&] {
        CDialogGetDate dialog(m_pDB);
        dialog.m_nWithTime = 0;
        if (dialog.DoModal() != ui::IDOK) return false;
        before = dialog.m_dDate;
        plan.sTitle = before == 0.0 ? std::string("\tMost recent activity report")
                                    : Format("\tMost recent activity report before %s", FormatDay(before).c_str());
        return true;
    };
    plan.fnCollect = [&] {
        std::vector<stActivityLine> latest;
        if (kind == 'E')
            m_pDB->MakeTeacherActivitySummary(latest);
        else
            m_pDB->MakeStudentActivitySummary(latest);
        for (const stActivityLine& line : latest) {
            if (before != 0.0 && line.dDate >= before) continue;
            // A line of nobody (a lesson without a teacher, a deleted person) names no one.
            if (!m_pDB->GetItem(TABLE_PERSON, line.nPerson)) continue;
            std::string name;
            m_pDB->GetPersonName(name, line.nPerson, 1);
            lines.push_back(Format("%s\t%s\t%s", name.c_str(), FormatDateTime(line.dDate, "%A %B %d, %Y").c_str(),
                                   line.sText.c_str()));
        }
        if (lines.empty()) {
            GetResponse("Nothing to report.", MB_OK);
            return false;
        }
        std::sort(lines.begin(), lines.end());
        return true;
    };
    plan.fnBody = [&] {
        for (const std::string& line : lines) AddLine(line);
    };
    RunTextReport(plan);
}

void CReports::CountPartnersByGender(const CPurchaseRecord& purchase, uint32_t* gentlemen, uint32_t* ladies)
{
    for (uint32_t person : {purchase.m_nPerson, purchase.m_nSecondPerson}) {
        if (person == NO_CODE) continue;
        const char gender = m_pDB->GetPersonField5(person);
        if (gender == 'M' && gentlemen) ++*gentlemen;
        if (gender == 'F' && ladies) ++*ladies;
    }
}

void CReports::ActivityCountReport()
{
    std::vector<stActivityCount> rows;
    stTextReport plan;
    plan.nBodySlot = 28;
    plan.nHeadSlot = 29;
    plan.bGuard = false;
    plan.sTitle = "\tActivity count report";
    plan.sHeading = "Activity\tDate\tGentlemen\tLadies";
    plan.fnCollect = [&] {
        // Rows by activity and moment, kept in the order first met.
        std::map<std::pair<uint32_t, DATE>, size_t> rowOf;
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PURCHASE)) {
            const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(e.pItem);
            if (purchase.m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
            for (const auto& item : purchase.m_Items)
                for (const auto& token : item->m_Tokens) {
                    if (token->m_cState != 'U' || token->m_nActivity == NO_CODE) continue;
                    const CPriceListItem* activity =
                        static_cast<const CPriceListItem*>(m_pDB->GetItem(TABLE_PRICELIST, token->m_nActivity));
                    if (!activity || activity->m_cKind != 's') continue;
                    auto [at, added] = rowOf.try_emplace(std::make_pair(token->m_nActivity, token->m_dDate), rows.size());
                    if (added) rows.push_back({token->m_nActivity, token->m_dDate, 0, 0});
                    stActivityCount& row = rows[at->second];
                    CountPartnersByGender(purchase, &row.nGentlemen, &row.nLadies);
                }
        }
        return true;
    };
    plan.fnBody = [&] {
        for (const stActivityCount& row : rows) {
            const CPriceListItem* activity =
                static_cast<const CPriceListItem*>(m_pDB->GetItem(TABLE_PRICELIST, row.nActivity));
            AddLine(Format("%s\t%s\t%u\t%u", activity ? activity->m_sName.c_str() : "",
                           FormatDateTime(row.dDate, "%m/%d/%Y %I:%M%p").c_str(), row.nGentlemen, row.nLadies));
        }
    };
    RunTextReport(plan);
}

void CReports::PurchaserRosterReport()
{
    uint32_t chosen = NO_CODE;
    stTextReport plan;
    plan.nBodySlot = 28;
    plan.nHeadSlot = 29;
    plan.fnSelect = [&] {
        CDialogMenu menu(m_pDB, "Select item", 'S', 'N', -1, 0, "");
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PRICELIST)) {
            const CPriceListItem& item = *static_cast<const CPriceListItem*>(e.pItem);
            if (item.m_cKind == 's') menu.AddItem(item.m_nCode, Format("%s [Code %u]", item.m_sName.c_str(), item.m_nCode));
        }
        const int result = menu.DoModal();
        if (result < 1) return false;
        chosen = static_cast<uint32_t>(result);
        const CPriceListItem* item = static_cast<const CPriceListItem*>(m_pDB->GetItem(TABLE_PRICELIST, chosen));
        if (!item) return false;
        plan.sTitle = Format("\tRoster of purchasers for %s", item->m_sName.c_str());
        return true;
    };
    plan.fnBody = [&] {
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PURCHASE)) {
            const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(e.pItem);
            if (purchase.m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
            for (const auto& item : purchase.m_Items) {
                if (item->m_nPriceListCode != chosen) continue;
                std::string first, second;
                m_pDB->GetPersonName(first, purchase.m_nPerson, 0);
                if (purchase.m_nSecondPerson != NO_CODE) {
                    m_pDB->GetPersonName(second, purchase.m_nSecondPerson, 0);
                    AddLine(Format("%s/%s", first.c_str(), second.c_str()));
                } else {
                    AddLine(first);
                }
            }
        }
    };
    RunTextReport(plan);
}

void CReports::ObligationsReport(char mode)
{
    std::vector<stDataToken> entries;
    stTextReport plan;
    plan.nBodySlot = 14;
    plan.nHeadSlot = 15;
    plan.nBlankSlot = 7;
    plan.bBlankAfterTitle = false;
    plan.sTitle = mode == 'O' ? "\tCurrent Studio Obligations" : mode == 'M' ? "\tMissed appointments" : "";
    plan.sHeading = "Item\tDate\tDescription";
    plan.cHeadingKind = '-';
    plan.fnCollect = [&] {
        const DATE now = GetNow();
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PURCHASE)) {
            CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(e.pItem);
            if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
            for (size_t i = 0; i < purchase->m_Items.size(); ++i) {
                const CPurchaseItem& item = *purchase->m_Items[i];
                size_t merged = 0;
                bool hasMerged = false;
                for (size_t j = 0; j < item.m_Tokens.size(); ++j) {
                    const CScheduleToken& token = *item.m_Tokens[j];
                    if (DiagnosticLevel > 0)
                        WriteDiagnosticFormat(" Test ScheduleToken for purchasers %u/%u, teacher %u, %s\n",
                                              purchase->m_nPerson, purchase->m_nSecondPerson, token.m_nField8,
                                              token.GetText(item, purchase->m_sDescription, m_pDB).c_str());
                    if (token.m_cState == 'U') continue;
                    if (token.IsKindTN() && purchase->IsItemBlocked(item, nullptr)) continue;
                    // The entry of an unscheduled unit is undated; the token keeps its own date.
                    stDataToken entry = MakeDataToken('T', token.m_cState == 'N' ? 0.0 : token.m_dDate, purchase,
                                                      static_cast<int32_t>(i), static_cast<int32_t>(j));
                    entry.count = 0;  // no count
                    if (mode == 'M') {
                        if (token.IsKindPS() && token.m_cState == 'S' && token.m_dDate < now) entries.push_back(entry);
                        continue;
                    }
                    if (token.IsKindPS() && token.m_cState == 'N') {
                        if (hasMerged) {
                            ++entries[merged].count;
                            continue;
                        }
                        entry.count = 1;
                        merged = entries.size();
                        hasMerged = true;
                    }
                    entries.push_back(entry);
                }
            }
        }
        m_pDB->ArrangeScheduleEntries(entries);
        return true;
    };
    plan.fnBody = [&] {
        for (const stDataToken& entry : entries) {
            const std::string date = entry.date < EarliestValidDate() ? std::string("Unscheduled") : FormatDay(entry.date);
            std::string item, shortText, description;
            m_pDB->MakeScheduleText(&entry, item, shortText, description, 1);
            if (entry.count > 0)
                AddLine(Format("(%i) %s\t%s\t%s", static_cast<int>(entry.count), item.c_str(), date.c_str(),
                               description.c_str()));
            else
                AddLine(Format("%s\t%s\t%s", item.c_str(), date.c_str(), description.c_str()));
        }
    };
    RunTextReport(plan);
}

void CReports::LessonsTaughtReport()
{
    DATE start = 0.0, end = 0.0;
    std::vector<stDataToken> entries;
    stTextReport plan;
    plan.nBodySlot = 28;
    plan.nHeadSlot = 29;
    plan.fnSelect = [&] {
        if (!AskReportDates(start, end)) return false;
        plan.sTitle = Format("\tReport on lessons for teachers in period %s - %s", FormatDay(start).c_str(),
                             FormatDay(end).c_str());
        return true;
    };
    plan.fnCollect = [&] {
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PURCHASE)) {
            CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(e.pItem);
            for (size_t i = 0; i < purchase->m_Items.size(); ++i) {
                const CPurchaseItem& item = *purchase->m_Items[i];
                if (item.m_cKind != 'p') continue;
                for (size_t j = 0; j < item.m_Tokens.size(); ++j) {
                    const CScheduleToken& token = *item.m_Tokens[j];
                    if (token.m_cState != 'U' || token.m_nField8 == NO_CODE) continue;
                    if (token.m_dDate < start || token.m_dDate >= end) continue;
                    entries.push_back(MakeDataToken('T', token.m_dDate, purchase, static_cast<int32_t>(i),
                                                    static_cast<int32_t>(j)));
                }
            }
        }
        // Classes count up to noon today at the latest: a class still to come was not taught.
        const DATE last = std::min(end, GetToday(12));
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PRICELIST)) {
            CPriceListItem* item = static_cast<CPriceListItem*>(e.pItem);
            if (!item->IsKindPS() || item->m_nTeacher == NO_CODE) continue;
            for (size_t k = 0; k < item->m_Dates.size(); ++k)
                if (item->m_Dates[k] >= start && item->m_Dates[k] <= last)
                    entries.push_back(MakeDataToken('$', item->m_Dates[k], item, static_cast<int32_t>(k)));
        }
        m_pDB->ArrangeScheduleEntries(entries);
        return true;
    };
    plan.fnBody = [&] {
        // The entries of each teacher, in report order.
        std::map<uint32_t, std::vector<const stDataToken*>> byTeacher;
        for (const stDataToken& entry : entries) {
            uint32_t teacher = NO_CODE;
            if (entry.type == 'T') {
                const CPurchaseRecord& purchase = *static_cast<const CPurchaseRecord*>(entry.record);
                teacher = purchase.m_Items[static_cast<size_t>(entry.index1)]
                              ->m_Tokens[static_cast<size_t>(entry.index2)]
                              ->m_nField8;
            } else {
                teacher = static_cast<const CPriceListItem*>(entry.record)->m_nTeacher;
            }
            byTeacher[teacher].push_back(&entry);
        }
        for (const stIndex& e : *m_pDB->GetItemList(TABLE_PERSON)) {
            const CPerson& person = *static_cast<const CPerson*>(e.pItem);
            if (person.m_cType != 'E') continue;
            AddBlankLine(28);
            SetLineFormat(29, 'H');
            AddLine(Format("%s %s", person.m_sFirstName.c_str(), person.m_sLastName.c_str()));
            SetLineFormat(28, '-');
            auto found = byTeacher.find(person.m_nCode);
            if (found == byTeacher.end()) {
                AddLine("None");
                continue;
            }
            for (const stDataToken* entry : found->second) {
                std::string kind, shortText, description;
                m_pDB->MakeScheduleText(entry, kind, shortText, description, 0);
                AddLine(Format("%s\t%s", FormatDay(entry->date).c_str(), description.c_str()));
            }
        }
    };
    RunTextReport(plan);
}
