// CDatabase: gathering the dated entries of the schedules and putting them in display order.

#include <algorithm>
#include <memory>

#include "common/Diagnostic.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "studio/PersonLookup.h"
#include "studio/ScheduleOccurrences.h"
#include "studio/ScheduleTexts.h"
#include "studio/ScheduleTrace.h"

namespace {

// An interview date that is not later than this counts as not set.
DATE EarliestInterviewDate()
{
    return MakeDate(1996, 1, 1, 0, 0);
}

// The same month and day this year at 08:00; 29 February stands on 28 February in a common
// year. 0.0 for a value that is no date.
DATE GetDayThisYear(DATE date)
{
    const DATE day = GetDateThisYear(date);
    if (day != 0.0) return day;
    DateFields fields;
    DateFields now;
    if (DateToFields(date, fields) && fields.month == 2 && fields.day == 29 && GetCurrentLocalFields(now))
        return MakeDate(now.year, 2, 28, 8, 0);
    return 0.0;
}

// The most entries the whole schedule can have, a schedule item's occurrences counted as one.
size_t CountEntriesAtMost(const std::vector<stIndex>* index)
{
    size_t count = 0;
    for (const stIndex& e : index[TABLE_PRICELIST]) count += static_cast<const CPriceListItem*>(e.pItem)->m_Dates.size();
    count += index[TABLE_SCHEDULE].size() + index[TABLE_PAYMENT].size();
    for (const stIndex& e : index[TABLE_PURCHASE]) {
        const auto* purchase = static_cast<const CPurchaseRecord*>(e.pItem);
        count += purchase->m_Payments.size();
        for (const auto& item : purchase->m_Items) count += item->m_Tokens.size();
    }
    for (const stIndex& e : index[TABLE_PERSON]) count += 2 + 3 * static_cast<const CPerson*>(e.pItem)->m_Interviews.size();
    return count;
}

}  // namespace

void CDatabase::GetAllScheduleItems(int32_t person, std::vector<stDataToken>& list, int32_t expand, DATE start,
                                    DATE end, int32_t leaveOutPurchasePayments)
{
    const bool trace = DiagnosticLevel > 0;
    if (trace)
        WriteDiagnosticFormat("CDatabase::GetAllScheduleItems: %s, %s\n", MakeTracePersonText(*this, person).c_str(),
                              MakeTraceRangeText(start, end).c_str());
    list.clear();
    // The whole schedule gets its room at once rather than by moving the list as it grows.
    if (person == -1 && start == 0.0) list.reserve(CountEntriesAtMost(m_aIndex));
    const bool everyone = person == -1;
    const uint32_t who = static_cast<uint32_t>(person);
    auto inRange = [&](DATE date) { return start == 0.0 || (start <= date && date < end); };
    auto append = [&](const stDataToken& entry, const char* line) {
        list.push_back(entry);
        if (trace) WriteDiagnosticFormat(line, FormatTokenText(entry).c_str());
    };

    // Class dates of the price list.
    for (const stIndex& e : m_aIndex[TABLE_PRICELIST]) {
        CPriceListItem* item = static_cast<CPriceListItem*>(e.pItem);
        if (!item->IsKindPS()) continue;
        if (!everyone && person != -2 && item->m_nTeacher != who) continue;
        for (size_t i = 0; i < item->m_Dates.size(); ++i) {
            const stDataToken entry = MakeDataToken('$', item->m_Dates[i], item, static_cast<int32_t>(i));
            if (inRange(entry.date)) append(entry, "  Adding schedule item to list %s\n");
        }
    }
    if (person == -2) {
        ArrangeScheduleEntries(list);
        return;
    }

    // Schedule items, expanded into their occurrences when asked.
    for (const stIndex& e : m_aIndex[TABLE_SCHEDULE]) {
        CScheduleRecord* record = static_cast<CScheduleRecord*>(e.pItem);
        if (trace)
            WriteDiagnosticFormat(
                " Test Schedule record for student %u, teacher %u, %s, expand %s, Start %s, End %s\n", record->m_nStudent,
                record->m_nTeacher, record->m_sText.c_str(), FormatBool(expand == 1 ? 1 : 0).c_str(),
                FormatTraceDate(record->m_dFirstDate).c_str(), FormatTraceDate(record->m_dLastDate).c_str());
        if (!everyone && record->m_nStudent != who && record->m_nTeacher != who) continue;
        if (trace) WriteDiagnosticString("  Found person\n");
        if (expand == 1 && record->m_cRepeat != 'O') {
            for (const stOccurrence& o : GetShownOccurrences(*record)) {
                const stDataToken entry = MakeDataToken('s', o.date, record, o.index);
                if (inRange(entry.date)) append(entry, "  Adding schedule item to list %s\n");
            }
        } else {
            const stDataToken entry = MakeDataToken('S', record->m_dFirstDate, record);
            if (inRange(entry.date)) append(entry, "  Adding schedule item to list %s\n");
        }
    }

    // Lessons and scheduled payments of purchases.
    for (const stIndex& e : m_aIndex[TABLE_PURCHASE]) {
        CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(e.pItem);
        if (purchase->m_nStatus == CPurchaseRecord::STATUS_ACTIVE) {
            const bool purchaser = everyone || purchase->m_nPerson == who || purchase->m_nSecondPerson == who;
            for (size_t i = 0; i < purchase->m_Items.size(); ++i) {
                CPurchaseItem& item = *purchase->m_Items[i];
                // The item's unscheduled lessons stand as one entry, the first of them, counting
                // them all; scheduled and taken lessons always have their own entries.
                uint32_t unscheduled = 0;
                int unscheduledAt = -1;
                for (size_t j = 0; j < item.m_Tokens.size(); ++j) {
                    CScheduleToken& token = *item.m_Tokens[j];
                    if (token.m_cState == 'c') continue;
                    if (trace)
                        WriteDiagnosticFormat(" Test ScheduleToken for purchasers %u/%u, teacher %u, %s\n",
                                              purchase->m_nPerson, purchase->m_nSecondPerson, token.m_nField8,
                                              item.m_sName.c_str());
                    if (!purchaser && token.m_nField8 != who) continue;
                    const bool isUnscheduled = token.m_cState == 'N';
                    if (isUnscheduled && ++unscheduled > 1) {
                        if (unscheduledAt >= 0) ++list[static_cast<size_t>(unscheduledAt)].count;
                        continue;
                    }
                    const stDataToken entry = MakeDataToken('T', isUnscheduled ? 0.0 : token.m_dDate, purchase,
                                                        static_cast<int32_t>(i), static_cast<int32_t>(j));
                    if (!inRange(entry.date)) continue;
                    if (isUnscheduled) {
                        token.m_dDate = 0.0;
                        unscheduledAt = static_cast<int>(list.size());
                    }
                    append(entry, "  Adding schedule token to list %s\n");
                }
            }
        }
        if (trace)
            WriteDiagnosticFormat(" Test purchase payments for purchasers %s, bill to %s, %s\n",
                                  JoinWithSlash(MakeTraceName(*this, purchase->m_nPerson),
                                                MakeTraceName(*this, purchase->m_nSecondPerson))
                                      .c_str(),
                                  MakeTraceName(*this, purchase->m_nPayer).c_str(), purchase->m_sDescription.c_str());
        const bool payments = everyone || (leaveOutPurchasePayments == 0 &&
                                           (purchase->m_nPerson == who || purchase->m_nPayer == who));
        if (!payments) continue;
        for (size_t i = 0; i < purchase->m_Payments.size(); ++i) {
            CSchedulePayment& payment = *purchase->m_Payments[i];
            if (payment.m_cKind == 'U') payment.m_dDate = 0.0;
            const stDataToken entry = MakeDataToken('p', payment.m_dDate, purchase, static_cast<int32_t>(i));
            if (inRange(entry.date)) append(entry, "  Adding purchase payment item to list %s\n");
        }
    }

    // Payments received and made by the studio.
    for (const stIndex& e : m_aIndex[TABLE_PAYMENT]) {
        CPaymentRecord* payment = static_cast<CPaymentRecord*>(e.pItem);
        if (trace) WriteDiagnosticFormat(" Test payment to/from for %u, %s\n", payment->m_nPerson, payment->m_sName.c_str());
        if (!everyone && payment->m_nPerson != who) continue;
        if (payment->m_cType != 'R' && payment->m_cType != 'P') continue;
        if (payment->m_cReceived == 'U') payment->m_dDate = 0.0;
        const stDataToken entry = MakeDataToken('P', payment->m_dDate, payment);
        if (inRange(entry.date)) append(entry, "  Adding payment to/from to list %s\n");
    }

    // Birthdays, anniversaries and the follow-up dates of interviews.
    const DATE earliest = EarliestInterviewDate();
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        CPerson* p = static_cast<CPerson*>(e.pItem);
        const bool isPerson = everyone || p->m_nCode == who;
        if (isPerson) {
            if (trace)
                WriteDiagnosticFormat(" Test birthday for person %s %u\n", MakeTraceName(*this, p->m_nCode).c_str(),
                                      p->m_nCode);
            const DATE birthday = p->m_dBirthday != 0.0 ? GetDayThisYear(p->m_dBirthday) : 0.0;
            if (birthday != 0.0 && inRange(birthday))
                append(MakeDataToken('B', birthday, p), "  Adding birthday to list %s\n");
            const DATE anniversary = p->m_dAnniversary != 0.0 ? GetDayThisYear(p->m_dAnniversary) : 0.0;
            if (anniversary != 0.0 && inRange(anniversary))
                append(MakeDataToken('A', anniversary, p), "  Adding anniversary to list %s\n");
        }
        for (size_t i = 0; i < p->m_Interviews.size(); ++i) {
            const CInterview& interview = *p->m_Interviews[i];
            const int32_t index = static_cast<int32_t>(i);
            if (trace)
                WriteDiagnosticFormat(" Test interview for person %s %u, mailout %s %u, contact %s %u\n",
                                      MakeTraceName(*this, p->m_nCode).c_str(), p->m_nCode,
                                      MakeTraceName(*this, interview.m_nField17).c_str(), interview.m_nField17,
                                      MakeTraceName(*this, interview.m_nField21).c_str(), interview.m_nField21);
            if (isPerson && interview.m_dField14 > earliest) {
                if (trace) WriteDiagnosticString("  Found person interviewed\n");
                const stDataToken entry = MakeDataToken('D', interview.m_dField14, p, index);
                if (inRange(entry.date)) append(entry, "  Adding schedule item to list %s\n");
            }
            // A mail-out that is not to be done (its flag 0) is not on the schedule.
            if ((everyone || interview.m_nField17 == who) && interview.m_nField15 != 0 &&
                interview.m_dField16 > earliest) {
                if (trace) WriteDiagnosticString("  Found person doing mailout\n");
                const stDataToken entry = MakeDataToken('M', interview.m_dField16, p, index);
                if (inRange(entry.date)) append(entry, "  Adding schedule item to list %s\n");
            }
            if ((everyone || interview.m_nField21 == who) && interview.m_dField20 > earliest &&
                interview.m_cField19 != 0) {
                if (trace) WriteDiagnosticString("  Found person doing next contact\n");
                const stDataToken entry = MakeDataToken('N', interview.m_dField20, p, index);
                if (inRange(entry.date)) append(entry, "  Adding schedule item to list %s\n");
            }
        }
    }
    ArrangeScheduleEntries(list);
}

void CDatabase::ArrangeScheduleEntries(std::vector<stDataToken>& list)
{
    // Positions in gathering order, sorted by date and kind; equal ones keep gathering order. The
    // keys are sorted in one compact array rather than through the entries.
    struct Key {
        DATE date;
        uint32_t at;
        signed char type;
    };
    std::vector<Key> keys;
    keys.reserve(list.size());
    for (size_t i = 0; i < list.size(); ++i)
        keys.push_back({list[i].date, static_cast<uint32_t>(i), static_cast<signed char>(list[i].type)});
    std::sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        if (a.date != b.date) return a.date < b.date;
        if (a.type != b.type) return a.type < b.type;
        return a.at < b.at;
    });
    std::vector<uint32_t> order;
    order.reserve(keys.size());
    for (const Key& k : keys) order.push_back(k.at);
    std::vector<Key>().swap(keys);

    // The undated entries keep their places and take them in the order of their long texts.
    struct Undated {
        std::string text;
        uint32_t gathered;
    };
    std::vector<size_t> places;
    std::vector<Undated> undated;
    std::unique_ptr<CPersonLookup> persons;
    for (size_t place = 0; place < order.size(); ++place) {
        const stDataToken& entry = list[order[place]];
        if (entry.date != 0.0) continue;
        if (!persons) persons = std::make_unique<CPersonLookup>(m_aIndex[TABLE_PERSON]);
        std::string kindText, shortText, longText;
        MakeEntryTexts(*this, persons.get(), &entry, kindText, shortText, longText, 1);
        places.push_back(place);
        undated.push_back({std::move(longText), order[place]});
    }
    std::sort(undated.begin(), undated.end(), [](const Undated& a, const Undated& b) {
        const int c = a.text.compare(b.text);
        return c != 0 ? c < 0 : a.gathered < b.gathered;
    });
    for (size_t i = 0; i < places.size(); ++i) order[places[i]] = undated[i].gathered;

    // The entries put in that order where they stand, cycle by cycle (a place done points at itself).
    for (uint32_t start = 0; start < order.size(); ++start) {
        if (order[start] == start) continue;
        const stDataToken first = list[start];
        uint32_t place = start;
        while (order[place] != start) {
            const uint32_t from = order[place];
            list[place] = list[from];
            order[place] = place;
            place = from;
        }
        list[place] = first;
        order[place] = place;
    }
    for (stDataToken& entry : list)
        if (entry.date != 0.0) entry.date = SetMinimumStartTime(entry.date);
}
