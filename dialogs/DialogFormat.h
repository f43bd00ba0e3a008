#pragma once
// "Text format": the font, size, styles and tab stops of one format record, with a sample of the
// font. The caller sets the title, m_pFormat and the two tab flags before DoModal; OK stores the
// form in the record, Cancel leaves it alone.

#include "platform/ui/Dialog.h"
#include "platform/ui/Font.h"

#include <string>
#include <vector>

class CDatabase;
struct stFormatRecord;
class CDialogFormat;

// The sample area: draws the chosen font from the form as it stands.
class CFormatSample : public ui::Window {
public:
    explicit CFormatSample(CDialogFormat& dialog) : m_Dialog(dialog) {}
    void OnPaint(ui::DC& dc) override;

private:
    CDialogFormat& m_Dialog;
};

class CDialogFormat : public ui::Dialog {
public:
    explicit CDialogFormat(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    // The sample's font and text as the form now gives them (the text is empty when the height
    // exceeds the box); false when there is nothing to draw.
    bool GetSample(ui::Font& font, std::string& text) const;

    CDatabase* m_pDB;
    int m_bFontsListed = 0;
    std::string m_strTitle;
    stFormatRecord* m_pFormat = nullptr;
    int m_bTabsEditable = 0;
    int m_bTabCountChangeable = 0;
    int m_nSize = 0;
    int m_bBold = 0;
    int m_bItalics = 0;
    int m_bUnderline = 0;
    int m_bCenter = 0;

private:
    void ViewFonts();
    void RedrawSample();
    void AddTab();
    void EditTab();
    void DeleteTab();
    void EqualTabSpacing();
    void EditAllTabs();
    // Inserts the text before the first line of greater value (at the end otherwise).
    void InsertTabInOrder(const std::string& text, double value);
    std::vector<std::string> TabLines() const;

    CFormatSample m_Sample;
};
