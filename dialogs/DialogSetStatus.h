#pragma once
// CDialogSetStatus: "Set date and time" on one lesson token of a purchase: scheduled with a
// date, time, teacher and room, used, or unscheduled. The token is changed in place on OK; OK
// without a change ends as cancelled. A scheduled time that double-books someone is tested
// against the other purchases and schedule items, with the token put into a copy of its
// purchase when the caller names it (SetPurchase).

#include <cstdint>
#include <string>

#include "dialogs/RefreshHoldDialog.h"
#include "records/ScheduleToken.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CPurchaseRecord;

class CDialogSetStatus : public CRefreshHoldDialog {
public:
    CDialogSetStatus(CDatabase* database, CScheduleToken* token, ui::Window* parent = nullptr);

    // The purchase and positions the token belongs to, for the conflict test (null: none).
    void SetPurchase(const CPurchaseRecord* purchase, int32_t item, int32_t token);

    bool OnInitDialog() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    std::string m_strCaption;
    CScheduleToken* m_pToken;
    CScheduleToken m_Original;

protected:
    void OnOkButton() override;

private:
    void ShowDateInWords();

    RadioGroup m_Status;
    CComboMenu m_Teacher;
    CComboMenu m_Room;
    CDateTime m_Date;
    const CPurchaseRecord* m_pPurchase = nullptr;
    int32_t m_nItem = -1;
    int32_t m_nTokenIndex = -1;
};
