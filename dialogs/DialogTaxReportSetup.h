#pragma once
// "Tax report dates": the period of the taxable transactions report and whether its details are
// shown. It opens on 1 January of this year to 1 January of the next; after IDOK the caller
// reads the two date controls and m_bShowDetails.

#include "widgets/DateTimeControl.h"
#include "platform/ui/Dialog.h"

class CDialogTaxReportSetup : public ui::Dialog {
public:
    explicit CDialogTaxReportSetup(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    CDateTime m_StartDate;
    CDateTime m_EndDate;
    int m_bShowDetails = 0;
};
