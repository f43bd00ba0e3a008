#pragma once
// The counter sale: the purchaser (looked up or added), price-list items moved into the cart,
// whether and how the total is paid, date, receipt number and account; prints a receipt. The
// opener turns the cart into a purchase after IDOK.

#include <cstdint>
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "dialogs/RefreshHoldDialog.h"
#include "widgets/ComboMenu.h"
#include "widgets/ControlHelpers.h"
#include "widgets/DateTimeControl.h"

class CDialogShoppingCart : public CRefreshHoldDialog {
public:
    explicit CDialogShoppingCart(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;

    void FillPriceList();
    void ShowCart();
    void OnSelect();
    void OnDelete();
    void LookUpPerson();
    void AddPerson();
    void PrintReceipt();
    // Reads the controls into the members; false (after its message) without a purchaser.
    bool CollectData();

    uint32_t m_nPerson = 0xFFFFFFFF;
    std::vector<uint32_t> m_aCodes;
    std::vector<std::string> m_aNames;
    std::vector<double> m_aPrices;
    double m_dTotal = 0.0;
    char m_cStatus = 'R';
    char m_cType = 'A';
    std::string m_strID;
    unsigned m_nReceipt = 0;
    DATE m_dDate = 0.0;
    uint32_t m_nAccount = 0xFFFFFFFF;
    CDateTime m_Date;
    RadioGroup m_StatusButtons;
    RadioGroup m_TypeButtons;
    CComboMenu m_Account;

protected:
    void OnOkButton() override;

private:
    void ShowPurchaser();
    uint32_t m_nOffered = 0;
    uint32_t m_nConfirmed = 0xFFFFFFFF;
};
