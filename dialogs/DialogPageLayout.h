#pragma once
// "Page layout for printer": the margins, the page number's font and size and the orientation
// of one page layout. The caller sets m_pLayout before DoModal; OK stores the form in it.

#include "platform/ui/Dialog.h"

class CDatabase;
struct stPageLayout;

class CDialogPageLayout : public ui::Dialog {
public:
    explicit CDialogPageLayout(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    void OnOK() override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;

    stPageLayout* m_pLayout = nullptr;
    float m_fBottomMargin = 0.0f;
    float m_fLeftMargin = 0.0f;
    float m_fTopMargin = 0.0f;
    int m_nFontSize = 0;
    int m_bLandscape = 0;

private:
    CDatabase* m_pDB;
};
