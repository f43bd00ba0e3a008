#pragma once
// CDialogExpandDates: the "List of dates" dialog: every occurrence of a repeating schedule item,
// each by its own index, with its change; single occurrences are moved, deleted or restored in
// the caller's record, which the caller keeps on IDOK.

#include "platform/ui/Dialog.h"

class CScheduleRecord;
namespace ui {
class ListBox;
}

class CDialogExpandDates : public ui::Dialog {
public:
    explicit CDialogExpandDates(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    CScheduleRecord* m_pRecord = nullptr;

private:
    void FillList();
    // The selected occurrence's index, or -1 after telling the user nothing is selected.
    int SelectedIndex();
    // Sets the occurrence's change to `date`, adding one when it has none.
    void SetChange(int index, double date);

    ui::ListBox* m_pList = nullptr;
};
