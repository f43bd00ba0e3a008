// CDatabase: one period's figures of the teachers or supervisors added into their rows:
// interviews and resulting sales, total sales and cancellations, payments and refunds taken,
// guests, and lessons enrolled, taken and cancelled per activity type.

#include <cmath>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <utility>

#include "common/Diagnostic.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "studio/PersonLookup.h"
#include "studio/SalesByInterview.h"
#include "studio/ScheduleTrace.h"

namespace {

// A credited person counts only when set: neither -1 nor 0.
bool IsSet(uint32_t code)
{
    return code != NO_CODE && code != 0;
}

// The amount shared by two in whole cents: the first share, the second taking the odd cent.
std::pair<double, double> ShareInTwo(double amount)
{
    const long long cents = std::llround(amount * 100.0);
    const long long first = cents / 2;
    return {static_cast<double>(first) / 100.0, static_cast<double>(cents - first) / 100.0};
}

}  // namespace

void CDatabase::TeacherActivityData(char mode, DATE start, DATE end, std::vector<stTeacherActivityData>& rows)
{
    const bool trace = DiagnosticLevel > 0;
    if (trace)
        WriteDiagnosticFormat("CDatabase::TeacherActivityData %s - %s\n", FormatTraceDate(start).c_str(),
                              FormatTraceDate(end).c_str());
    auto inPeriod = [&](DATE date) { return start <= date && date < end; };
    const bool bySupervisor = mode == 'S';

    // The first row of each person, and of those the rows of employees, who alone are credited
    // with interviews, sales, payments and lessons.
    std::unordered_map<uint32_t, stTeacherActivityData*> rowOf;
    for (stTeacherActivityData& row : rows) rowOf.emplace(static_cast<uint32_t>(row.nPerson), &row);
    auto findRow = [&](uint32_t code) -> stTeacherActivityData* {
        const auto it = rowOf.find(code);
        return it == rowOf.end() ? nullptr : it->second;
    };
    std::unordered_map<uint32_t, stTeacherActivityData*> employeeRow;
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* p = static_cast<const CPerson*>(e.pItem);
        if (p->m_cType != 'E') continue;
        if (trace) WriteDiagnosticFormat("Process teacher %s %u\n", MakeTraceName(*this, p->m_nCode).c_str(), p->m_nCode);
        if (stTeacherActivityData* row = findRow(p->m_nCode)) employeeRow.emplace(p->m_nCode, row);
    }
    auto creditedRow = [&](uint32_t code) -> stTeacherActivityData* {
        const auto it = employeeRow.find(code);
        return it == employeeRow.end() ? nullptr : it->second;
    };

    // Interviews of the period with the sales that resulted from them.
    std::vector<std::pair<const CPerson*, const CInterview*>> interviews;
    std::unordered_set<uint32_t> interviewed;
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* person = static_cast<const CPerson*>(e.pItem);
        for (const auto& interview : person->m_Interviews) {
            if (!inPeriod(interview->m_dDate)) continue;
            interviews.emplace_back(person, interview.get());
            interviewed.insert(person->m_nCode);
        }
    }
    const CSalesByInterview sales(m_aIndex[TABLE_PURCHASE], interviewed);
    for (const auto& [person, interview] : interviews) {
        uint32_t teacher = interview->m_nField4;
        uint32_t supervisor = interview->m_nField5;
        uint32_t count = 0, closed = 0;
        double value = 0.0, closedValue = 0.0;
        for (const CPurchaseRecord* purchase : sales.Find(person->m_nCode, interview->m_dDate)) {
            const double total = purchase->GetTotal(0);
            ++count;
            value += total;
            if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) {
                ++closed;
                closedValue += total;
            }
            if (IsSet(purchase->m_nField14)) teacher = purchase->m_nField14;
            if (IsSet(purchase->m_nField16)) supervisor = purchase->m_nField16;
        }
        if (trace)
            WriteDiagnosticFormat("Adding interview by %s %u with %s %u on %s\n", MakeTraceName(*this, teacher).c_str(),
                                  teacher, MakeTraceName(*this, person->m_nCode).c_str(), person->m_nCode,
                                  FormatTraceDate(interview->m_dDate).c_str());
        stTeacherActivityData* row = creditedRow(bySupervisor ? supervisor : teacher);
        if (row == nullptr) continue;
        if (interview->m_nField8 == 1) {
            ++row->nFirstInterviews;
            row->nFirstSales += count;
            row->dFirstSalesValue += value;
            row->nFirstCancellations += closed;
            row->dFirstCancellationsValue += closedValue;
        } else {
            ++row->nLaterInterviews;
            row->nLaterSales += count;
            row->dLaterSalesValue += value;
            row->nLaterCancellations += closed;
            row->dLaterCancellationsValue += closedValue;
        }
    }

    // Guests of the period, by their creation: to the person credited with them.
    std::unique_ptr<CPersonLookup> persons;
    for (const stIndex& e : m_aIndex[TABLE_PERSON]) {
        const CPerson* guest = static_cast<const CPerson*>(e.pItem);
        if (guest->m_cStatus != 'G' || !inPeriod(guest->m_dStamp1Date)) continue;
        uint32_t credited = bySupervisor ? guest->m_nCode28 : guest->m_nTeacher;
        if (!IsSet(credited) && IsSet(guest->m_nCode30)) {
            if (!persons) persons = std::make_unique<CPersonLookup>(m_aIndex[TABLE_PERSON]);
            const CPerson* referrer = persons->Find(guest->m_nCode30);
            uint32_t teacher = NO_CODE;
            if (referrer != nullptr) teacher = referrer->m_cType == 'E' ? referrer->m_nCode : referrer->m_nTeacher;
            credited = teacher;
            if (bySupervisor) {
                const CPerson* t = IsSet(teacher) ? persons->Find(teacher) : nullptr;
                credited = t != nullptr ? t->m_nCode28 : NO_CODE;
            }
        }
        if (!IsSet(credited)) continue;
        if (stTeacherActivityData* row = findRow(credited)) ++row->nGuests;
    }

    // Sales of the period (a closed one in the period it closed), and enrolments.
    for (const stIndex& e : m_aIndex[TABLE_PURCHASE]) {
        const CPurchaseRecord* purchase = static_cast<const CPurchaseRecord*>(e.pItem);
        const bool active = purchase->m_nStatus == CPurchaseRecord::STATUS_ACTIVE;
        auto credit = [&](uint32_t code, double share) {
            stTeacherActivityData* row = creditedRow(code);
            if (row == nullptr) return;
            ++row->nTotalSales;
            row->dTotalSalesValue += share;
            if (!active) {
                ++row->nTotalCancellations;
                row->dTotalCancellationsValue += share;
            }
        };
        if (inPeriod(active ? purchase->m_dDate : purchase->m_dStamp2Date)) {
            const double total = purchase->GetTotal(0);
            if (bySupervisor) {
                if (IsSet(purchase->m_nField16)) credit(purchase->m_nField16, total);
            } else if (IsSet(purchase->m_nField14) && IsSet(purchase->m_nField15)) {
                const auto [first, second] = ShareInTwo(total);
                credit(purchase->m_nField14, first);
                credit(purchase->m_nField15, second);
            } else if (IsSet(purchase->m_nField14)) {
                credit(purchase->m_nField14, total);
            } else if (IsSet(purchase->m_nField15)) {
                credit(purchase->m_nField15, total);
            }
        }
        if (inPeriod(purchase->m_dDate)) {
            const uint32_t enroller = bySupervisor ? purchase->m_nField16 : purchase->m_nField14;
            if (stTeacherActivityData* row = IsSet(enroller) ? creditedRow(enroller) : nullptr) {
                for (const auto& item : purchase->m_Items) {
                    if (item->m_cKind != 'p' && item->m_cKind != 's' && item->m_cKind != 'N') continue;
                    const uint32_t units = static_cast<uint32_t>(item->m_nLessonValue);
                    if (trace)
                        WriteDiagnosticFormat(" Update enrollment activities: %s, %u units\n", item->m_sName.c_str(), units);
                    AddToActivityTotal('E', item->m_nType, units, row->aActivities, static_cast<uint32_t>(item->m_nCount));
                }
            }
        }
        // Lessons taken or cancelled in the period (a cancelled one when it was cancelled).
        for (const auto& item : purchase->m_Items) {
            for (const auto& token : item->m_Tokens) {
                stTeacherActivityData* row = creditedRow(token->m_nField8);
                if (row == nullptr) continue;
                if (trace)
                    WriteDiagnosticFormat(" Test activities for teacher %u: %s, schedulable %s, duration %u\n",
                                          token->m_nField8, item->m_sName.c_str(),
                                          FormatBool(token->m_cKind == 'p' ? 1 : 0).c_str(),
                                          static_cast<uint32_t>(token->m_nLessonValue));
                if (token->m_cKind != 'p') continue;
                if (token->m_cState != 'c' && token->m_cState != 'U') continue;
                if (!inPeriod(token->m_cState == 'c' ? token->m_dStampDate : token->m_dDate)) continue;
                if (trace) WriteDiagnosticFormat(" Update total person scheduled activities: %s\n", item->m_sName.c_str());
                AddToActivityTotal(token->m_cState == 'c' ? 'C' : 'U', item->m_nType,
                                   static_cast<uint32_t>(token->m_nLessonValue), row->aActivities, 1);
            }
        }
    }

    // Payments and refunds taken in the period.
    for (const stIndex& e : m_aIndex[TABLE_PAYMENT]) {
        const CPaymentRecord* payment = static_cast<const CPaymentRecord*>(e.pItem);
        if (payment->m_cReceived != 'R' || !inPeriod(payment->m_dDate)) continue;
        stTeacherActivityData* row = creditedRow(payment->m_nField16);
        if (row == nullptr) continue;
        if (payment->m_cType == 'R') {
            ++row->nPayments;
            row->dPaymentsAmount += payment->m_dAmount;
        } else if (payment->m_cType == 'q') {
            ++row->nRefunds;
            row->dRefundsAmount += payment->m_dAmount;
        }
    }

    // Classes of the price list taught in the period: every class once, studio classes twice.
    for (const stIndex& e : m_aIndex[TABLE_PRICELIST]) {
        const CPriceListItem* item = static_cast<const CPriceListItem*>(e.pItem);
        if (!item->IsKindPS()) continue;
        stTeacherActivityData* row = creditedRow(item->m_nTeacher);
        if (row == nullptr) continue;
        const uint32_t units = static_cast<uint32_t>(item->m_nDuration);
        for (DATE date : item->m_Dates) {
            if (!inPeriod(date)) continue;
            if (trace) WriteDiagnosticFormat(" Update total activities: %s\n", item->m_sName.c_str());
            AddToActivityTotal('U', item->m_nBasicType, units, row->aActivities, 1);
            if (item->m_cKind != 's') continue;
            if (trace) WriteDiagnosticFormat(" Update total studio scheduled activities: %s\n", item->m_sName.c_str());
            AddToActivityTotal('U', item->m_nBasicType, units, row->aActivities, 1);
        }
    }
}
