#pragma once
// One package: its name, the price-list items it holds, its program and its price.

#include <string>

#include "dialogs/RefreshHoldDialog.h"
#include "records/PackageRecord.h"
#include "widgets/ComboMenu.h"

class CDialogPackageEdit : public CRefreshHoldDialog {
public:
    explicit CDialogPackageEdit(CDatabase* database, ui::Window* parent = nullptr);


    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;
    void OnCancel() override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    CPackageRecord* m_pPackage = nullptr;
    CPackageRecord m_Copy;
    CComboMenu m_Program;
    std::string m_strName;
    double m_dPrice = 0.0;

protected:
    void OnOkButton() override;

private:
    void FillItemList();
    // The form into the package; false when a typed value was refused.
    bool StoreForm();
};
