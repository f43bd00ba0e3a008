#pragma once
// Asks for one date, with or without the time of day. After IDOK the caller reads m_dDate.

#include "widgets/DateTimeControl.h"
#include "platform/ui/Dialog.h"

class CDatabase;

class CDialogGetDate : public ui::Dialog {
public:
    explicit CDialogGetDate(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    void OnDestroy() override;

    CDatabase* m_pDatabase = nullptr;
    int m_nWithTime = 0;
    DATE m_dDate = 0.0;
    CDateTime m_Date;

private:
    bool m_bHoldsRefresh = false;
};
