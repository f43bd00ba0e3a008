#pragma once
// "Set date and time": asks for one date, with or without its time of day, in the date/time
// control; the entered date is shown in words above the buttons. The caller sets the caption and
// the date before DoModal and reads the date after IDOK. The database's timed refresh is held
// while it is open.

#include "common/QuestionBox.h"
#include "widgets/DateTimeControl.h"
#include "platform/ui/Dialog.h"

#include <string>

class CDialogSetDateTime : public ui::Dialog {
public:
    // withTime 0: the date alone (its time reads back as 08:00).
    explicit CDialogSetDateTime(ui::Window* parent = nullptr, int withTime = 1);

    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    DATE m_date = 0.0;
    std::string m_strCaption;  // empty: "Specify date/time"
    int m_nWithTime;
    CDateTime m_DateEdit;

private:
    void ShowDateInWords();
    // The refresh hold taken while the window exists (none when no database set one up).
    IRefreshHold* m_pHold = nullptr;
};
