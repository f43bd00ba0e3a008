#pragma once
// "Scheduled purchase": a recurring booking of a single price-list activity for a student, with
// teacher and ballroom, from which purchases are made on schedule.

#include "dialogs/ScheduleRecordForm.h"

class CDialogScheduledPurchase : public CScheduleRecordForm {
public:
    explicit CDialogScheduledPurchase(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;

private:
    // The chosen price-list item's teacher, ballroom, duration and self check-in.
    void TakeItemDefaults();
};
