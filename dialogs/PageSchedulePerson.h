#pragma once
// "Purchased activities": the lesson and activity tokens of a person's active purchases (person
// mode, each change stored at once) or of one purchase (purchase mode, the sheet's copy, nothing
// stored), with the buttons that schedule them weekly, mark them used or unused, cancel, split
// and join them. Every token change goes through the database's token service.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "platform/ui/PropertyPage.h"
#include "studio/DataToken.h"

class CDatabase;
class CPerson;
class CPurchaseRecord;
class CScheduleToken;
struct stDaySchedule;

class CPageSchedulePerson : public ui::PropertyPage {
public:
    static constexpr int kIdList = 1116;
    static constexpr int kIdScheduleOne = 1117;
    static constexpr int kIdWeekly = 1188;
    static constexpr int kIdWeeklyFromHere = 1190;
    static constexpr int kIdMarkUsed = 1189;
    static constexpr int kIdSplit = 1191;
    static constexpr int kIdUnsplit = 1350;
    static constexpr int kIdCancel = 1353;
    static constexpr int kIdMarkUnused = 1354;

    explicit CPageSchedulePerson(CDatabase* database);
    ~CPageSchedulePerson() override;

    bool OnInitDialog() override;
    bool OnSetActive() override;
    bool OnKillActive() override;
    bool OnCommand(int id, int code) override;

    void OnEnterPage();
    void OnExitPage();
    // Rebuilds the rows and the list from the purchases.
    void FillRows();
    void UpdateButtons();

    void OnScheduleOne();
    void DoScheduleWeekly(int startRow);
    void OnMarkUsed();
    void OnSplit();
    void OnUnsplit();
    void OnCancelToken();
    void OnMarkUnused();

    // The dates of weekly scheduling for `count` tokens: from the start day, the first slot's
    // weekday, then each next slot's first occurrence after the date before (slots: day 1 Sunday
    // ... 7 Saturday with a time of day).
    static std::vector<DATE> WeeklyDates(DATE start, const std::vector<stDaySchedule>& slots, size_t count);

    CDatabase* m_pDatabase = nullptr;
    CPerson* m_pPerson = nullptr;            // person mode
    CPurchaseRecord* m_pPurchase = nullptr;  // purchase mode
    std::vector<stDataToken> m_aRows;
    bool m_bEntered = false;

private:
    // The selected row, or null after "No item selected" (when `tell`).
    const stDataToken* SelectedRow(bool tell);
    CScheduleToken* TokenOf(const stDataToken& row) const;
    // Runs a token change of the database on the selected row's token and refills when it changed.
    void ChangeSelected(int (CDatabase::*change)(CPurchaseRecord* purchase, uint32_t item, uint32_t token, int save));
    int Save() const { return m_pPerson != nullptr ? 1 : 0; }
};
