#include "dialogs/DialogMaillist.h"

#include "common/TextFormat.h"
#include "database/Database.h"
#include "platform/host/Format.h"
#include "platform/ui/ListBox.h"
#include "widgets/ControlHelpers.h"

namespace {

using D = CDialogMaillist;

const ui::DialogTemplate kMaillistTemplate{217, "Maillist/label format", 196, 295, {
    {ui::Ctl::Label, -1, "Font"},
    {ui::Ctl::ListBox, D::kIdFontList, "", ui::LBS_SORT},
    {ui::Ctl::Label, -1, "Font size"},
    {ui::Ctl::Edit, D::kIdFontSize, ""},
    {ui::Ctl::Spin, D::kIdFontSizeSpin, ""},
    {ui::Ctl::Label, D::kIdColumnsLabel, "No. Columns"},
    {ui::Ctl::Edit, D::kIdColumns, ""},
    {ui::Ctl::Spin, D::kIdColumnsSpin, ""},
    {ui::Ctl::Label, D::kIdRowsLabel, "No. Rows"},
    {ui::Ctl::Edit, D::kIdRows, ""},
    {ui::Ctl::Spin, D::kIdRowsSpin, ""},
    {ui::Ctl::Label, D::kIdLinesPerRowLabel, "Lines/row"},
    {ui::Ctl::Edit, D::kIdLinesPerRow, ""},
    {ui::Ctl::Spin, D::kIdLinesPerRowSpin, ""},
    {ui::Ctl::Label, D::kIdTopLinesLabel, "Lines/top marg."},
    {ui::Ctl::Edit, D::kIdTopLines, ""},
    {ui::Ctl::Spin, D::kIdTopLinesSpin, ""},
    {ui::Ctl::Label, D::kIdLeftMarginLabel, "Left marg. (in.)"},
    {ui::Ctl::Edit, D::kIdLeftMargin, ""},
    {ui::Ctl::Label, D::kIdColumnSpaceLabel, "Col. space (in.)"},
    {ui::Ctl::Edit, D::kIdColumnSpace, ""},
    {ui::Ctl::Label, -1, "Height scale"},
    {ui::Ctl::Edit, D::kIdHeightScale, ""},
    {ui::Ctl::CheckBox, D::kIdBold, "Bold"},
    {ui::Ctl::CheckBox, D::kIdItalics, "Italics"},
    {ui::Ctl::CheckBox, D::kIdLandscape, "Landscape"},
    {ui::Ctl::CheckBox, D::kIdReturnAddressFlag, "Rt. address"},
    {ui::Ctl::Label, D::kIdReturnAddressLabel, "Return adress"},
    {ui::Ctl::Edit, D::kIdReturnAddress, "", ui::ES_MULTILINE | ui::ES_WANTRETURN},
    {ui::Ctl::DefButton, D::kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

// The spins' ranges: edit, spin, lowest, highest.
struct stSpinRange {
    int edit;
    int spin;
    int low;
    int high;
};
const stSpinRange kSpinRanges[] = {
    {D::kIdFontSize, D::kIdFontSizeSpin, 8, 16},
    {D::kIdColumns, D::kIdColumnsSpin, 1, 4},
    {D::kIdRows, D::kIdRowsSpin, 0, 30},
    {D::kIdLinesPerRow, D::kIdLinesPerRowSpin, 1, 10},
    {D::kIdTopLines, D::kIdTopLinesSpin, 0, 20},
};

}  // namespace

CDialogMaillist::CDialogMaillist(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kMaillistTemplate, parent), m_pDatabase(database)
{
}

bool CDialogMaillist::OnInitDialog()
{
    if (m_pDatabase && !m_bHoldsRefresh) {
        m_pDatabase->DisableRefreshOn("CDialogMaillist");
        m_bHoldsRefresh = true;
    }
    switch (m_cKind) {
    case 1: SetWindowText("Phone list"); break;
    case 2: SetWindowText("Mail labels"); break;
    case 3: SetWindowText("Envelopes"); break;
    default: break;
    }
    for (const stSpinRange& r : kSpinRanges)
        AttachSpin(*this, r.edit, r.spin, static_cast<uint32_t>(r.low), static_cast<int16_t>(r.high));
    const bool envelopes = m_cKind == 3;
    if (m_pMailList) {
        const CMailList& m = *m_pMailList;
        m_nFontSize = m.m_nFontSize / 10;
        m_nColumns = m.m_cColumns;
        m_nRows = m.m_cRows;
        m_nLinesPerRow = envelopes ? m.m_cBlankLines : m.m_cLinesPerRow;
        m_nTopLines = m.m_cTopLines;
        m_fLeftMargin = m.m_fLeftPosition;
        m_fColumnSpace = envelopes ? m.m_fEnvelopeIndent : m.m_fColumnWidth;
        m_bBold = m.m_Styles[0] ? 1 : 0;
        m_bItalics = m.m_Styles[1] ? 1 : 0;
        m_bLandscape = m.m_Styles[3] ? 1 : 0;
        m_bRightAddress = m.m_cReturnAddress == 1 ? 1 : 0;
        m_fHeightScale = m.m_fHeightScale;
    }
    if (envelopes) {
        for (int id : {int(kIdColumnsLabel), int(kIdColumns), int(kIdColumnsSpin), int(kIdRowsLabel), int(kIdRows),
                       int(kIdRowsSpin)})
            if (ui::Window* w = GetDlgItem(id)) w->ShowWindow(false);
        SetDlgItemText(kIdLinesPerRowLabel, "Drop down lines");
        SetDlgItemText(kIdColumnSpaceLabel, "Add. marg. (in.)");
        m_sReturnAddress.clear();
        if (m_pMailList && !m_pMailList->m_ReturnAddressLines.empty()) {
            JoinStrings(m_pMailList->m_ReturnAddressLines, m_sReturnAddress, "\n");
        } else if (m_pDatabase) {
            const stStudioStrings& s = m_pDatabase->GetStudioStrings();
            m_sReturnAddress = s.sStudioName;
            if (!s.sAddress1.empty()) m_sReturnAddress += "\n" + s.sAddress1;
            if (!s.sAddress2.empty()) m_sReturnAddress += "\n" + s.sAddress2;
            m_sReturnAddress += "\n" + Format("%s, %s %s", s.sCity.c_str(), s.sState.c_str(), s.sZip.c_str());
            if (!s.sCountry.empty()) m_sReturnAddress += "\n" + s.sCountry;
        }
    } else {
        for (int id : {int(kIdReturnAddressFlag), int(kIdReturnAddress), int(kIdReturnAddressLabel)})
            if (ui::Window* w = GetDlgItem(id)) w->ShowWindow(false);
    }
    ui::Dialog::OnInitDialog();
    if (ui::ListBox* fonts = List(kIdFontList))
        FillFontList(*this, *fonts, m_pMailList ? m_pMailList->m_sFontName : std::string());
    return true;
}

void CDialogMaillist::DoDataExchange(ui::DataExchange& dx)
{
    const bool envelopes = m_cKind == 3;
    dx.Text(kIdFontSize, m_nFontSize);
    dx.MinMax(kIdFontSize, m_nFontSize, 8, 16);
    if (!envelopes) {
        dx.Text(kIdColumns, m_nColumns);
        dx.MinMax(kIdColumns, m_nColumns, 1, 4);
        dx.Text(kIdRows, m_nRows);
        dx.MinMax(kIdRows, m_nRows, 0, 30);
    }
    dx.Text(kIdLinesPerRow, m_nLinesPerRow);
    dx.MinMax(kIdLinesPerRow, m_nLinesPerRow, 1, 10);
    dx.Text(kIdTopLines, m_nTopLines);
    dx.MinMax(kIdTopLines, m_nTopLines, 0, 20);
    dx.Text(kIdLeftMargin, m_fLeftMargin);
    dx.Text(kIdColumnSpace, m_fColumnSpace);
    dx.Text(kIdHeightScale, m_fHeightScale);
    dx.Check(kIdBold, m_bBold);
    dx.Check(kIdItalics, m_bItalics);
    dx.Check(kIdLandscape, m_bLandscape);
    if (envelopes) {
        dx.Check(kIdReturnAddressFlag, m_bRightAddress);
        dx.Text(kIdReturnAddress, m_sReturnAddress);
    }
}

void CDialogMaillist::StoreIntoRecord()
{
    if (!m_pMailList) return;
    CMailList& m = *m_pMailList;
    const bool envelopes = m_cKind == 3;
    m.m_nFontSize = m_nFontSize * 10;
    m.m_cColumns = static_cast<uint8_t>(m_nColumns);
    m.m_cRows = static_cast<uint8_t>(m_nRows);
    if (envelopes) m.m_cBlankLines = static_cast<uint8_t>(m_nLinesPerRow);
    else m.m_cLinesPerRow = static_cast<uint8_t>(m_nLinesPerRow);
    m.m_cTopLines = static_cast<uint8_t>(m_nTopLines);
    m.m_fLeftPosition = m_fLeftMargin;
    if (envelopes) m.m_fEnvelopeIndent = m_fColumnSpace;
    else m.m_fColumnWidth = m_fColumnSpace;
    m.m_Styles[0] = static_cast<uint8_t>(m_bBold);
    m.m_Styles[1] = static_cast<uint8_t>(m_bItalics);
    m.m_Styles[3] = static_cast<uint8_t>(m_bLandscape);
    m.m_cReturnAddress = static_cast<uint8_t>(m_bRightAddress);
    if (envelopes) {
        std::vector<std::string> lines;
        SplitString(m_sReturnAddress, "\n", lines, 0, 1);
        for (std::string& line : lines)
            if (!line.empty() && line.back() == '\r') line.pop_back();
        m.m_ReturnAddressLines = lines;
    }
    m.m_fHeightScale = m_fHeightScale;
    if (ui::ListBox* fonts = List(kIdFontList)) {
        const int at = fonts->GetCurSel();
        if (at >= 0) m.m_sFontName = fonts->GetText(at);
    }
}

bool CDialogMaillist::OnCommand(int id, int code)
{
    if (id == kIdOk && code == ui::BN_CLICKED) {
        // A value that is not a number or lies outside its spin's range keeps the dialog open.
        if (!UpdateData(true)) return true;
        StoreIntoRecord();
        EndDialog(ui::IDOK);
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogMaillist::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, m_cKind == 3 ? 0x20000 + 239 : 0x20000 + 217)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}

void CDialogMaillist::OnDestroy()
{
    if (m_bHoldsRefresh) {
        m_bHoldsRefresh = false;
        if (m_pDatabase) m_pDatabase->DisableRefreshOff("CDialogMaillist");
    }
    ui::Dialog::OnDestroy();
}
