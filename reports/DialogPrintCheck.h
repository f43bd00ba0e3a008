#pragma once
// The cheque dialog: one cheque's date, payee, amount, amount in words and comment, where
// each is printed on the cheque and in which font (kept in the Parameters record), the printer
// with the paper's offset and orientation (kept in the settings line); prints the cheque.

#include <array>
#include <string>

#include "common/DateTime.h"
#include "dialogs/RefreshHoldDialog.h"

struct stCheckData;

class CDialogPrintCheck : public CRefreshHoldDialog {
public:
    CDialogPrintCheck(CDatabase* database, const stCheckData* check, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;

    // One spin click on a position or offset field: delta -1 up 0.03 inch below 10, else down
    // 0.03 above 0.03; never below 0.
    static float StepPosition(float value, int delta);
    void ShowPrinter();
    void OnSelectPrinter();
    void OnAmountChanged();
    // Prints the cheque as the fields show it; false when nothing was printed.
    bool PrintCheck();

    const stCheckData* m_pCheck = nullptr;
    std::string m_strDate;
    std::string m_strPayee;
    double m_dAmount = 0.0;
    std::string m_strWords;
    std::string m_strComment;
    // Date X, year X, date Y, payee X, Y, amount X, Y, words X, Y, comment X, Y (inches).
    std::array<float, 11> m_aPositions{};
    int m_nFontSize = 0;  // points
    std::string m_strFace;
    int m_bBold = 0;
    int m_bItalic = 0;
    int m_bLandscape = 0;
    float m_fOffsetX = 0.0f;
    float m_fOffsetY = 0.0f;
    std::string m_strPrinter;

protected:
    void OnOkButton() override;

private:
    // The position or offset field a spin button moves; null for another control.
    float* SpinField(int spinId);
};
