#pragma once
// Asks for the two cut-off dates of the purge of persons: one for persons whose only activity is
// their initial entry, one for persons having activities. The dates are kept when OK is pressed.

#include "widgets/DateTimeControl.h"
#include "platform/ui/Dialog.h"

class CDatabase;

class CDialogGetPurgeDates : public ui::Dialog {
public:
    explicit CDialogGetPurgeDates(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    void OnDestroy() override;

    CDatabase* m_pDatabase = nullptr;
    CDateTime m_NoActivities;
    CDateTime m_WithActivities;
    // The two dates as they stood when OK was pressed (0 for an empty box).
    DATE m_dNoActivities = 0.0;
    DATE m_dWithActivities = 0.0;

private:
    bool m_bHoldsRefresh = false;
};
