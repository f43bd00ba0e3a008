#pragma once
// CScheduleRecordForm: what the two schedule item dialogs share: the recurrence type, the start
// (date and time) and end (date only) with their spins, the duration, the teacher, student and
// ballroom choices, the creation and update line, "View/edit dates", and on OK the conflict test
// and the update stamp. The caller sets m_pRecord (and, optionally, m_pPresetStart) before
// DoModal.

#include "widgets/DateTimeControl.h"
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <memory>

class CDatabase;
class CScheduleRecord;

class CScheduleRecordForm : public ui::Dialog {
public:
    CScheduleRecordForm(const ui::DialogTemplate& tmpl, CDatabase* database, ui::Window* parent);
    ~CScheduleRecordForm() override;

    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    CScheduleRecord* m_pRecord = nullptr;
    // When set, the start the record is shown with (it replaces the record's start).
    const DATE* m_pPresetStart = nullptr;
    CDateTime m_StartDate;
    CDateTime m_EndDate;

protected:
    // Fills the shared controls from the record and takes the copy the stamp compares with.
    void InitForm();
    // The type rule: the end date only for a recurring item (and "View/edit dates" with
    // `hideDates`).
    void ApplyType();
    char GetTypeLetter() const;
    // The selected item data of a combo; `kept` when nothing is selected (a stored code the list
    // does not hold).
    uint32_t GetComboCode(int id, uint32_t kept) const;
    void SelectComboCode(int id, uint32_t code);
    // Stores the shared controls into the record (teacher and ballroom left to the caller).
    bool StoreForm(uint32_t& teacher, uint32_t& ballroom);
    // After the fields are stored: the conflict test (true: the dialog stays open) and the stamp.
    bool FinishOk();
    // Writes type and dates into the record and shows its list of dates.
    void ViewDates();

    CDatabase* m_pDB;
    std::unique_ptr<CScheduleRecord> m_pCopy;
    bool m_bHideDatesButton = false;
    uint32_t m_nHelpContext = 0;
};
