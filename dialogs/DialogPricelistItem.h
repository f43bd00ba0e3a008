#pragma once
// "Price list item or block of items": one price-list item of any kind but the activities the
// studio schedules: name, price, number, basic type, flags, and for an activity scheduled by the
// student its teacher, ballroom and duration. The caller sets m_pItem before DoModal; OK stores
// the form in it.

#include "platform/ui/Dialog.h"

#include <string>

class CDatabase;
class CPriceListItem;

class CDialogPricelistItem : public ui::Dialog {
public:
    explicit CDialogPricelistItem(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    void UpdateFlagControls();

    CPriceListItem* m_pItem = nullptr;
    int m_nNumber = 0;
    std::string m_strName;
    int m_bPackageOnly = 0;
    double m_dPrice = 0.0;
    unsigned m_nDuration = 0;
    int m_bSelfSignIn = 0;

private:
    CDatabase* m_pDB;
    char m_cKind = 0;
};
