#pragma once
// "Price list item or block of items schedulable by studio": an activity or block of activities
// the studio schedules, with its pre-scheduled dates. The dates change in the caller's record at
// once (the caller stores the record only after OK); the other fields on OK.

#include "platform/ui/Dialog.h"

#include <string>

class CDatabase;
class CPriceListItem;

class CDialogPricelistStudioItem : public ui::Dialog {
public:
    explicit CDialogPricelistStudioItem(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    void UpdatePriceControls();
    void FillDateList();

    CPriceListItem* m_pItem = nullptr;
    int m_nNumber = 0;
    std::string m_strName;
    int m_bPackageOnly = 0;
    double m_dPrice = 0.0;
    unsigned m_nDuration = 0;

private:
    // The number field as typed, refused above the spin's 1000; false after the message.
    bool ReadNumber(int& number);
    void AddDate();
    void EditDate();
    void DeleteDate();
    void MakeDateSeries(int days);

    CDatabase* m_pDB;
};
