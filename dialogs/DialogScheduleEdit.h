#pragma once
// "Schedule event": a schedule item that is no scheduled purchase (a lesson, class, party or
// other event with its own description), once or recurring.

#include "dialogs/ScheduleRecordForm.h"

class CDialogScheduleEdit : public CScheduleRecordForm {
public:
    explicit CDialogScheduleEdit(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
};
