// CDatabase: the table of a week's schedule grid, its axes and the placement of its entries.

#include <algorithm>
#include <cmath>

#include "common/Diagnostic.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "studio/GridPlacement.h"
#include "studio/PersonLookup.h"
#include "studio/ScheduleTexts.h"
#include "studio/ScheduleTrace.h"

namespace {

constexpr int kDaysShown = 7;

// The scheduled payment of a 'p' entry, null when the entry points at none.
const CSchedulePayment* ScheduledPaymentOf(const stDataToken& entry)
{
    const auto* purchase = static_cast<const CPurchaseRecord*>(entry.record);
    if (purchase == nullptr || entry.index1 < 0 || static_cast<size_t>(entry.index1) >= purchase->m_Payments.size())
        return nullptr;
    return purchase->m_Payments[static_cast<size_t>(entry.index1)].get();
}

}  // namespace

void CDatabase::MakeScheduleGrid(int32_t person, DATE start, DATE end, CTextArray2D& cells, std::vector<DATE>& days,
                                 std::vector<DATE>& times, std::vector<stDataToken>& list, uint32_t headerColour,
                                 uint32_t cellColour, int32_t hideTaken)
{
    const bool trace = DiagnosticLevel > 0;
    if (trace)
        WriteDiagnosticFormat("CDatabase::MakeScheduleGrid: %s, %s\n", MakeTracePersonText(*this, person).c_str(),
                              MakeTraceRangeText(start, end).c_str());
    days.clear();
    times.clear();
    // Gathering only from the first day on and up to the end (kept) gives the same entries as
    // gathering every date: an early entry moves to 08:00 of its own day, never to another day.
    const DATE gatherFrom = start > 0.0 ? GetGridDay(start) : 0.0;
    GetAllScheduleItems(person, list, 1, gatherFrom, std::nextafter(end, end + 1.0), 0);
    if (trace)
        WriteDiagnosticFormat("CDatabase::MakeScheduleGrid processing %i items from GetAllScheduleItems\n",
                              static_cast<int>(list.size()));

    // Only the period's entries stay; those that stand in time rows bring their times.
    std::vector<stDataToken> kept;
    for (const stDataToken& entry : list) {
        if (entry.date < start || entry.date > end) continue;
        if (trace) WriteDiagnosticFormat(" Test item at %s\n", FormatTraceDate(entry.date).c_str());
        if (!IsEntryDone(entry, hideTaken)) AddToGridAxis(GetGridTime(entry.date), times);
        if (trace) WriteDiagnosticFormat(" Found item at %s\n", FormatTraceDate(entry.date).c_str());
        kept.push_back(entry);
    }
    list.swap(kept);

    const DATE firstDay = GetGridDay(start);
    for (int d = 0; d < kDaysShown; ++d) AddToGridAxis(firstDay + d, days);
    AddDefaultGridTimes(m_Parameters, times);
    std::sort(days.begin(), days.end());
    std::sort(times.begin(), times.end());

    const int timeRows = static_cast<int>(times.size());
    const bool withPayments = person != -2;
    const int rows = timeRows + (withPayments ? 3 : 1);
    const int columns = kDaysShown + 1;
    cells.SetSize(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) cells.SetAt(r, c, "", r == 0 || c == 0 ? headerColour : cellColour);
    cells.SetAt(0, 0, "Time/day", headerColour);
    for (int i = 0; i < timeRows; ++i) cells.SetAt(i + 1, 0, FormatDateTime(times[i], "%I:%M%p"), headerColour);
    if (withPayments) {
        cells.SetAt(timeRows + 1, 0, "Payments due", headerColour);
        cells.SetAt(timeRows + 2, 0, "Payments received", headerColour);
    }
    for (int d = 0; d < kDaysShown; ++d) cells.SetAt(0, d + 1, FormatDateTime(days[d], "%a %m/%d/%y"), headerColour);

    // Each entry goes to the cell of its day and time, in list order.
    const CGridAxisIndex dayIndex(days);
    const CGridAxisIndex timeIndex(times);
    std::vector<std::string> texts(static_cast<size_t>(timeRows) * kDaysShown);
    std::vector<double> due(kDaysShown, 0.0), received(kDaysShown, 0.0);
    std::vector<std::string> dueTexts(kDaysShown), receivedTexts(kDaysShown);
    std::string kindText, shortText, longText;
    const CPersonLookup persons(m_aIndex[TABLE_PERSON]);
    for (stDataToken& entry : list) {
        const int d = dayIndex.Find(GetGridDay(entry.date));
        if (d < 0 || d >= kDaysShown) continue;
        if (!IsEntryDone(entry, hideTaken)) {
            const int i = timeIndex.Find(GetGridTime(entry.date));
            if (i < 0) continue;
            MakeEntryTexts(*this, &persons, &entry, kindText, shortText, longText, 1);
            texts[static_cast<size_t>(i) * kDaysShown + d] += MakeCellLine(shortText) + "|";
            entry.row = i;
            entry.column = d;
            continue;
        }
        if (!withPayments) continue;
        char status = 0;
        double amount = 0.0;
        if (entry.type == 'p') {
            const CSchedulePayment* payment = ScheduledPaymentOf(entry);
            if (payment == nullptr) continue;
            status = payment->m_cKind;
            amount = payment->m_dAmount;
        } else if (entry.type == 'P') {
            const auto* payment = static_cast<const CPaymentRecord*>(entry.record);
            if (payment == nullptr || payment->m_cType != 'R') continue;
            status = payment->m_cReceived;
            amount = payment->m_dAmount;
        }
        if (status != 'R' && status != 'S') continue;
        MakeEntryTexts(*this, &persons, &entry, kindText, shortText, longText, 1);
        const std::string line = "|" + MakeCellLine(shortText);
        if (status == 'R') {
            received[d] += amount;
            receivedTexts[d] += line;
        } else {
            due[d] += amount;
            dueTexts[d] += line;
        }
    }
    for (int i = 0; i < timeRows; ++i)
        for (int d = 0; d < kDaysShown; ++d)
            cells.SetAt(i + 1, d + 1, texts[static_cast<size_t>(i) * kDaysShown + d], cellColour);
    if (withPayments) {
        for (int d = 0; d < kDaysShown; ++d) {
            cells.SetAt(timeRows + 1, d + 1, Format("%.2f Total%s", due[d], dueTexts[d].c_str()), cellColour);
            cells.SetAt(timeRows + 2, d + 1, Format("%.2f Total%s", received[d], receivedTexts[d].c_str()), cellColour);
        }
    }
}
