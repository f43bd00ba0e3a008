#include "dialogs/DialogPageLayout.h"

#include "database/SettingsRecords.h"
#include "widgets/ControlHelpers.h"
#include "platform/ui/ListBox.h"

namespace {

constexpr int kIdTop = 1264;
constexpr int kIdBottom = 1265;
constexpr int kIdLeft = 1266;
constexpr int kIdFonts = 1260;
constexpr int kIdSize = 1232;
constexpr int kIdSizeSpin = 1252;
constexpr int kIdLandscape = 1261;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 228;

const ui::DialogTemplate kPageLayoutTemplate{228, "Page layout for printer", 0, 0, {
    {ui::Ctl::GroupBox, -1, "Page margins, inches"},
    {ui::Ctl::Label, -1, "Top"},
    {ui::Ctl::Edit, kIdTop, ""},
    {ui::Ctl::Label, -1, "Bottom"},
    {ui::Ctl::Edit, kIdBottom, ""},
    {ui::Ctl::Label, -1, "Left"},
    {ui::Ctl::Edit, kIdLeft, ""},
    {ui::Ctl::GroupBox, -1, "Page number"},
    {ui::Ctl::ListBox, kIdFonts, "", ui::LBS_SORT},
    {ui::Ctl::Label, -1, "Size"},
    {ui::Ctl::Edit, kIdSize, ""},
    {ui::Ctl::Spin, kIdSizeSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::CheckBox, kIdLandscape, "Landscape"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogPageLayout::CDialogPageLayout(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kPageLayoutTemplate, parent), m_pDB(database)
{
}

void CDialogPageLayout::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdTop, m_fTopMargin);
    dx.Text(kIdBottom, m_fBottomMargin);
    dx.Text(kIdLeft, m_fLeftMargin);
    dx.Text(kIdSize, m_nFontSize);
    dx.Check(kIdLandscape, m_bLandscape);
}

bool CDialogPageLayout::OnInitDialog()
{
    if (m_pLayout) {
        m_fTopMargin = m_pLayout->fTopMargin;
        m_fBottomMargin = m_pLayout->fBottomMargin;
        m_fLeftMargin = m_pLayout->fLeftMargin;
        if (ui::ListBox* fonts = List(kIdFonts)) FillFontList(*this, *fonts, m_pLayout->GetFormatFace());
        m_nFontSize = m_pLayout->nFormatSize / 10;
        m_bLandscape = m_pLayout->nLandscape;
    }
    AttachSpin(*this, kIdSize, kIdSizeSpin, 8, 16);
    return ui::Dialog::OnInitDialog();
}

void CDialogPageLayout::OnOK()
{
    if (!UpdateData(true)) return;
    if (m_pLayout) {
        m_pLayout->fBottomMargin = m_fBottomMargin;
        m_pLayout->fLeftMargin = m_fLeftMargin;
        m_pLayout->fTopMargin = m_fTopMargin;
        ui::ListBox* fonts = List(kIdFonts);
        const int selected = fonts ? fonts->GetCurSel() : -1;
        if (selected >= 0) m_pLayout->SetFormatFace(fonts->GetText(selected));
        m_pLayout->nFormatSize = m_nFontSize * 10;
        m_pLayout->nLandscape = m_bLandscape;
    }
    EndDialog(ui::IDOK);
}

bool CDialogPageLayout::OnCommand(int id, int code)
{
    if (id == kIdOk) {
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogPageLayout::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
