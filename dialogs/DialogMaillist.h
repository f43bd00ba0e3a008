#pragma once
// CDialogMaillist: edits one mail-list format record, the font and layout of a phone list
// (kind 1), mail labels (2) or envelopes (3). Envelopes use some fields differently: the dialog
// relabels and hides controls for them. The caller sets the record and the kind, runs the
// dialog and stores the record after OK.

#include "platform/ui/Dialog.h"

#include <cstdint>
#include <string>

class CDatabase;
class CMailList;

class CDialogMaillist : public ui::Dialog {
public:
    enum : int {
        kIdFontList = 1251,
        kIdFontSize = 1225, kIdFontSizeSpin = 1313,
        kIdColumns = 1231, kIdColumnsSpin = 1315, kIdColumnsLabel = 1319,
        kIdRows = 1235, kIdRowsSpin = 1316, kIdRowsLabel = 1320,
        kIdLinesPerRow = 1238, kIdLinesPerRowSpin = 1317, kIdLinesPerRowLabel = 1321,
        kIdTopLines = 1242, kIdTopLinesSpin = 1318, kIdTopLinesLabel = 1322,
        kIdLeftMargin = 1244, kIdLeftMarginLabel = 1323,
        kIdColumnSpace = 1245, kIdColumnSpaceLabel = 1324,
        kIdHeightScale = 1222,
        kIdBold = 1178, kIdItalics = 1209, kIdLandscape = 1162,
        kIdReturnAddressFlag = 1167,
        kIdReturnAddress = 1336, kIdReturnAddressLabel = 1335,
        kIdOk = 1000,
    };

    CDialogMaillist(CDatabase* database, ui::Window* parent = nullptr);

    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;
    bool OnCommand(int id, int code) override;
    bool PreTranslateMessage(const ui::Msg& msg) override;
    void OnDestroy() override;

    CDatabase* m_pDatabase = nullptr;
    CMailList* m_pMailList = nullptr;
    uint8_t m_cKind = 1;

    int m_nFontSize = 0;
    int m_bBold = 0;
    int m_bItalics = 0;
    int m_bLandscape = 0;
    int m_bRightAddress = 0;
    float m_fHeightScale = 0.0f;
    int m_nColumns = 0;
    int m_nRows = 0;
    int m_nLinesPerRow = 0;
    int m_nTopLines = 0;
    float m_fLeftMargin = 0.0f;
    float m_fColumnSpace = 0.0f;
    std::string m_sReturnAddress;

private:
    void StoreIntoRecord();
    bool m_bHoldsRefresh = false;
};
