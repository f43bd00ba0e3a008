#pragma once
// CScheduleView: the master list of the studio's schedule (view 7, menu 111), one line per entry
// (type, date, description), filtered by kind. Adding schedule items, editing and deleting the
// highlighted entry, printing and the view's format.

#include "views/ScrollBase.h"
#include "views/ViewEntry.h"

#include <cstdint>
#include <vector>

class CScheduleView : public CScrollBase {
public:
    static constexpr int kMenuId = 111;
    static constexpr uint32_t kFormatIndex = 7;
    enum : int {
        kCmdMainView = 30036,
        kCmdFindFirst = 30046,
        kCmdFindRepeat = 30049,
        kCmdAllTypes = 32900,
        kCmdPurchased = 32901,
        kCmdMiscellaneous = 32902,
        kCmdPurchasePayments = 32903,
        kCmdOtherPayments = 32904,
        kCmdBirthdays = 32905,
        kCmdInterviews = 32906,
        kCmdGroupLessons = 32907,
        kCmdAddItem = 30045,
        kCmdAddScheduledPurchase = 32913,
        kCmdEdit = 30047,
        kCmdDelete = 30048,
        kCmdFormat = 30066,
        kCmdPrint = 30056,
        kCmdHelp = 57670,
    };

    CScheduleView();
    static void RegisterMenu();

    void ClearLines() override;
    void SetUpLines() override;
    void EditHighlighted() override;
    void DeleteHighlighted() override;
    stFormatRecord* GetLine(int index, char& mark, char& status, std::string& text) override;
    bool OnCommand(int id, int code) override;

    // The filter letter of a View command (0 all) and whether it keeps an entry kind.
    static int FilterOfCommand(int id);
    static bool FilterKeeps(int filter, char kind);
    // Sets the filter and fills the shown entries from all entries.
    void ApplyFilter(int filter);
    // A new schedule item: 'N' dated now, 'S' a scheduled purchase without a date.
    void AddScheduleItem(char kind);
    // The highlighted entry with its record as the database has it now; false when none.
    bool GetHighlightedEntry(stDataToken& entry) const;

    std::vector<stViewEntry> m_aAllEntries;
    // The kind of each of m_aAllEntries, kept apart so that a filter reads a small array.
    std::vector<char> m_aKinds;
    // The shown entries: positions in m_aAllEntries.
    std::vector<uint32_t> m_aShown;
    int32_t m_nFilter = 0;

private:
    void InstallUpdaters();
};
