#pragma once
// "Printer selection": one of the printers, starting at the program's default printer. After
// IDOK m_strPrinter holds the chosen printer's device string (unchanged when no line was
// selected).

#include "platform/ui/Dialog.h"

#include <string>
#include <vector>

class CDialogPrinterSelect : public ui::Dialog {
public:
    explicit CDialogPrinterSelect(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void OnOK() override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    std::string m_strPrinter;
    std::vector<std::string> m_aPrinters;  // device string of each list line
};
