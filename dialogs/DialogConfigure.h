#pragma once
// "Specify software parameters": refresh and backup settings, the schedule display, invoice
// numbering and activity units, fonts and printers, name tags and the sign-in screen. The values
// are copied into members at start and back (the database's settings and the caller's desk
// values) only on OK; values the settings would refuse on reading are refused here. The font,
// page layout and printer buttons act at once through their own saves.

#include "dialogs/ConfigureAppValues.h"
#include "platform/ui/Colour.h"
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <string>

class CDatabase;

class CDialogConfigure : public ui::Dialog {
public:
    explicit CDialogConfigure(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    // The desk's values; null: their fields stay empty and are not stored.
    stConfigureAppValues* m_pAppValues = nullptr;

    // One sign-in text's look (stored order: flash, italics, border, bold, underline, sunken).
    struct stLook {
        int nFontSize = 0;
        int aChoices[6] = {};
        ui::COLORREF crText = 0;
        ui::COLORREF crBackground = 0;
    };

    int m_nRefreshSeconds = 0;
    int m_nPackedBackups = 0;
    std::string m_strBackupPath;
    int m_nTimedBackups = 0;
    int m_nBackupInterval = 0;
    int m_nStartHour = 0;
    int m_nStartMinute = 0;
    int m_nIncrements = 0;
    int m_nMinutesPerIncrement = 0;
    int m_nStartDay = 0;
    int m_nHeaderFontSize = 0;
    int m_nCellFontSize = 0;
    ui::COLORREF m_crLabel = 0;
    ui::COLORREF m_crCell = 0;
    int m_bShoppingCart = 0;
    int m_nNextInvoice = 0;
    int m_nActivityUnit = 0;
    double m_dFlashSeconds = 0.0;
    std::string m_strWordProcessor;
    int m_bFirstNameOnly = 0;
    std::string m_strLogoText;
    std::string m_strMessageText;
    std::string m_strLogoFile;
    double m_dLogoPercent = 0.0;
    ui::COLORREF m_crCheckInBackground = 0;
    stLook m_LogoLook;
    stLook m_MessageLook;
    stPrinterDef m_ReportPrinter;
    stPrinterDef m_LabelPrinter;

private:
    void ChooseColour(ui::COLORREF& colour);
    void ResetFonts();
    void SearchFile(int editId, const std::string& title, const std::string& filter);
    void SetupPrinter(stPrinterDef& printer);

    CDatabase* m_pDB;
};
