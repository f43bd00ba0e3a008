// CDatabase: the table of the room grid (one day by room, or a week by day) and its entries:
// the bookings that name a room.

#include <algorithm>

#include "database/Database.h"
#include "platform/host/Format.h"
#include "studio/GridPlacement.h"
#include "studio/PersonLookup.h"
#include "studio/ScheduleTexts.h"
#include "studio/ScheduleOccurrences.h"

namespace {

// The room an entry books, NO_CODE for none.
uint32_t RoomOf(const stDataToken& entry)
{
    switch (entry.type) {
    case 'T': {
        const auto* purchase = static_cast<const CPurchaseRecord*>(entry.record);
        if (entry.index1 < 0 || static_cast<size_t>(entry.index1) >= purchase->m_Items.size()) return NO_CODE;
        const CPurchaseItem& item = *purchase->m_Items[static_cast<size_t>(entry.index1)];
        if (entry.index2 < 0 || static_cast<size_t>(entry.index2) >= item.m_Tokens.size()) return NO_CODE;
        return item.m_Tokens[static_cast<size_t>(entry.index2)]->m_nField9;
    }
    case 's': return static_cast<const CScheduleRecord*>(entry.record)->m_nRoom;
    case '$': return static_cast<const CPriceListItem*>(entry.record)->m_nBallroom;
    default: return NO_CODE;
    }
}

}  // namespace

void CDatabase::MakeScheduleGridText(char mode, DATE start, DATE end, CTextArray2D& cells, std::vector<DATE>& days,
                                     std::vector<DATE>& times, std::vector<stDataToken>& list, uint32_t headerColour,
                                     uint32_t cellColour)
{
    days.clear();
    times.clear();
    // Bookings outside the period are never appended: the walk below would drop them.
    auto append = [&](char type, DATE date, void* record, int32_t index1, int32_t index2) {
        if (date < start || date > end) return;
        list.push_back(MakeDataToken(type, date, record, index1, index2));
    };
    // Scheduled lessons with a room, occurrences of schedule items with a room, studio classes.
    for (const stIndex& e : m_aIndex[TABLE_PURCHASE]) {
        CPurchaseRecord* purchase = static_cast<CPurchaseRecord*>(e.pItem);
        if (purchase->m_nStatus != CPurchaseRecord::STATUS_ACTIVE) continue;
        for (size_t i = 0; i < purchase->m_Items.size(); ++i) {
            const CPurchaseItem& item = *purchase->m_Items[i];
            for (size_t j = 0; j < item.m_Tokens.size(); ++j) {
                const CScheduleToken& token = *item.m_Tokens[j];
                if (token.m_cState == 'S' && token.m_nField9 != NO_CODE)
                    append('T', token.m_dDate, purchase, static_cast<int32_t>(i), static_cast<int32_t>(j));
            }
        }
    }
    for (const stIndex& e : m_aIndex[TABLE_SCHEDULE]) {
        CScheduleRecord* record = static_cast<CScheduleRecord*>(e.pItem);
        if (record->m_nRoom == NO_CODE) continue;
        for (const stOccurrence& o : GetShownOccurrences(*record)) append('s', o.date, record, o.index, -1);
    }
    for (const stIndex& e : m_aIndex[TABLE_PRICELIST]) {
        CPriceListItem* item = static_cast<CPriceListItem*>(e.pItem);
        if (item->m_cKind != 's') continue;
        for (size_t i = 0; i < item->m_Dates.size(); ++i)
            append('$', item->m_Dates[i], item, static_cast<int32_t>(i), -1);
    }

    // The period's entries bring their days and times.
    std::vector<stDataToken> kept;
    for (const stDataToken& entry : list) {
        if (entry.date < start || entry.date > end) continue;
        AddToGridAxis(GetGridDay(entry.date), days);
        AddToGridAxis(GetGridTime(entry.date), times);
        kept.push_back(entry);
    }
    list.swap(kept);
    const bool daily = mode == 'D';
    const int dayCount = daily ? 1 : 7;
    const DATE firstDay = GetGridDay(start);
    for (int d = 0; d < dayCount; ++d) AddToGridAxis(firstDay + d, days);
    AddDefaultGridTimes(m_Parameters, times);
    std::sort(days.begin(), days.end());
    std::sort(times.begin(), times.end());

    std::vector<CCategory*> rooms;
    CollectCategoriesByType('R', rooms);
    const int timeRows = static_cast<int>(times.size());
    const int columns = daily ? static_cast<int>(rooms.size()) + 1 : 8;
    const int rows = timeRows + 1;
    cells.SetSize(rows, columns);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) cells.SetAt(r, c, "", r == 0 || c == 0 ? headerColour : cellColour);
    cells.SetAt(0, 0, daily ? "Time/room" : "Time/day", headerColour);
    for (int c = 1; c < columns; ++c)
        cells.SetAt(0, c, daily ? rooms[static_cast<size_t>(c - 1)]->m_sName : FormatDateTime(days[c - 1], "%a %m/%d/%y"),
                    headerColour);
    for (int i = 0; i < timeRows; ++i) cells.SetAt(i + 1, 0, FormatDateTime(times[i], "%I:%M%p"), headerColour);

    const CGridAxisIndex dayIndex(days);
    const CGridAxisIndex timeIndex(times);
    const int cellColumns = columns - 1;
    std::vector<std::string> texts(static_cast<size_t>(timeRows) * static_cast<size_t>(cellColumns));
    std::string kindText, shortText, longText;
    const CPersonLookup persons(m_aIndex[TABLE_PERSON]);
    for (stDataToken& entry : list) {
        const int d = dayIndex.Find(GetGridDay(entry.date));
        const int i = timeIndex.Find(GetGridTime(entry.date));
        if (d < 0 || i < 0) continue;
        const uint32_t room = RoomOf(entry);
        if (room == NO_CODE) continue;
        int c = -1;
        if (daily) {
            if (d != 0) continue;
            for (size_t r = 0; r < rooms.size() && c < 0; ++r)
                if (rooms[r]->m_nCode == room) c = static_cast<int>(r);
            if (c < 0) continue;
        } else {
            // Only the weekly mode 'M' fills the week's cells; another mode leaves them empty.
            if (mode != 'M' || d >= cellColumns) continue;
            c = d;
        }
        MakeEntryTexts(*this, &persons, &entry, kindText, shortText, longText, 1);
        std::string& text = texts[static_cast<size_t>(i) * static_cast<size_t>(cellColumns) + static_cast<size_t>(c)];
        if (daily)
            text = MakeCellLine(shortText);  // a later booking of the room replaces an earlier one
        else
            text += Format("%s:", GetCategoryName(room).c_str()) + MakeCellLine(shortText) + "|";
        entry.row = i;
        entry.column = c;
    }
    for (int i = 0; i < timeRows; ++i)
        for (int c = 0; c < cellColumns; ++c)
            cells.SetAt(i + 1, c + 1, texts[static_cast<size_t>(i) * static_cast<size_t>(cellColumns) + static_cast<size_t>(c)],
                        cellColour);
}
