#pragma once
// "Print setup": copies, printer, a pause or a delay after each page, and page numbering for one
// print run, on a printer definition that the caller owns. The caller sets m_pPrinterDef and
// m_nMode (1: page numbering is not offered) before DoModal. On IDOK the definition holds the
// printer, pause and delay chosen (in mode 1 also the copies and the page-numbering choice), and
// the caller may read the dialog's members: copies, page numbering and the starting page.

#include "platform/ui/Dialog.h"
#include "common/PrinterDef.h"

#include <string>
#include <vector>

class CDialogPrintSetup : public ui::Dialog {
public:
    explicit CDialogPrintSetup(ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    stPrinterDef* m_pPrinterDef = nullptr;
    int m_nMode = 0;

    int m_nCopies = 0;
    int m_bPause = 0;
    int m_nDelay = 0;
    int m_bDelay = 0;
    int m_bPageNumbers = 0;
    int m_nStartPage = 1;
    std::vector<std::string> m_aPrinters;  // device string of each list line

private:
    void EnableStartPage();
};
