#include "reports/DialogPrintCheck.h"

#include <cmath>
#include <cstring>

#include "common/CheckLayout.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/Database.h"
#include "dialogs/DialogPaymentEdit.h"
#include "dialogs/PrinterChoice.h"
#include "platform/host/Format.h"
#include "platform/ui/DataExchange.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/PrinterDC.h"
#include "platform/ui/SpinButton.h"
#include "widgets/ControlHelpers.h"
#include "reports/PageLinePrint.h"
#include "widgets/DateTimeControl.h"
#include "widgets/FontListBox.h"

namespace {

constexpr int kIdDate = 1088;
constexpr int kIdPayee = 1097;
constexpr int kIdAmount = 1136;
constexpr int kIdWords = 1103;
constexpr int kIdComment = 1106;
constexpr int kIdFontSize = 1226;
constexpr int kIdFontSpin = 1314;
constexpr int kIdFonts = 1312;
constexpr int kIdBold = 1115;
constexpr int kIdItalic = 1160;
constexpr int kIdLandscape = 1261;
constexpr int kIdOffsetX = 1300;
constexpr int kIdOffsetY = 1298;
constexpr int kIdSpinOffsetX = 1180;
constexpr int kIdSpinOffsetY = 1176;
constexpr int kIdSelectPrinter = 1164;
constexpr int kIdPrinter = 1063;
constexpr int kIdPrint = 1073;
constexpr int kIdOk = 1000;
// The position fields in layout order, and their spin buttons.
constexpr int kPositionIds[11] = {1119, 1124, 1137, 1126, 1131, 1135, 1140, 1144, 1149, 1152, 1156};
constexpr int kPositionSpins[11] = {1183, 1187, 1191, 1197, 1200, 1201, 1202, 1204, 1205, 1206, 1207};
constexpr uint32_t kLayoutSize = 84;

const ui::DialogTemplate kCheckTemplate{230, "Check layout", 360, 220, {
    {ui::Ctl::Label, -1, "Date"},
    {ui::Ctl::Edit, kIdDate, ""},
    {ui::Ctl::Edit, 1119, ""}, {ui::Ctl::Spin, 1183, ""},
    {ui::Ctl::Label, -1, "Xyear"},
    {ui::Ctl::Edit, 1124, ""}, {ui::Ctl::Spin, 1187, ""},
    {ui::Ctl::Edit, 1137, ""}, {ui::Ctl::Spin, 1191, ""},
    {ui::Ctl::Label, -1, "To"},
    {ui::Ctl::Edit, kIdPayee, ""},
    {ui::Ctl::Edit, 1126, ""}, {ui::Ctl::Spin, 1197, ""},
    {ui::Ctl::Edit, 1131, ""}, {ui::Ctl::Spin, 1200, ""},
    {ui::Ctl::Label, -1, "Amount"},
    {ui::Ctl::Edit, kIdAmount, ""},
    {ui::Ctl::Edit, 1135, ""}, {ui::Ctl::Spin, 1201, ""},
    {ui::Ctl::Edit, 1140, ""}, {ui::Ctl::Spin, 1202, ""},
    {ui::Ctl::Edit, kIdWords, ""},
    {ui::Ctl::Edit, 1144, ""}, {ui::Ctl::Spin, 1204, ""},
    {ui::Ctl::Edit, 1149, ""}, {ui::Ctl::Spin, 1205, ""},
    {ui::Ctl::Label, -1, "Comment"},
    {ui::Ctl::Edit, kIdComment, ""},
    {ui::Ctl::Edit, 1152, ""}, {ui::Ctl::Spin, 1206, ""},
    {ui::Ctl::Edit, 1156, ""}, {ui::Ctl::Spin, 1207, ""},
    {ui::Ctl::Label, -1, "Font size"},
    {ui::Ctl::Edit, kIdFontSize, ""},
    {ui::Ctl::Spin, kIdFontSpin, "", ui::UDS_AUTOBUDDY},
    {ui::Ctl::ListBox, kIdFonts, ""},
    {ui::Ctl::CheckBox, kIdBold, "Bold"},
    {ui::Ctl::CheckBox, kIdItalic, "Italics"},
    {ui::Ctl::CheckBox, kIdLandscape, "Landscape"},
    {ui::Ctl::Edit, kIdOffsetX, ""}, {ui::Ctl::Spin, kIdSpinOffsetX, ""},
    {ui::Ctl::Edit, kIdOffsetY, ""}, {ui::Ctl::Spin, kIdSpinOffsetY, ""},
    {ui::Ctl::Button, kIdSelectPrinter, "Select printer"},
    {ui::Ctl::Label, -1, "Selected printer"},
    {ui::Ctl::Label, kIdPrinter, ""},
    {ui::Ctl::Button, kIdPrint, "Print check"},
    {ui::Ctl::DefButton, kIdOk, "OK/Exit"},
}};

std::string WordsOf(double amount)
{
    return AmountInWords(Format("%.2f", amount));
}

}  // namespace

CDialogPrintCheck::CDialogPrintCheck(CDatabase* database, const stCheckData* check, ui::Window* parent)
    : CRefreshHoldDialog(kCheckTemplate, parent, database, "CDialogPrintCheck", kIdOk), m_pCheck(check)
{
}

bool CDialogPrintCheck::OnInitDialog()
{
    CRefreshHoldDialog::OnInitDialog();
    if (m_pCheck != nullptr) {
        m_strDate = FormatDateTime(m_pCheck->dDate, "%m/%d/%Y");
        m_strPayee = m_pCheck->sPayee;
        m_dAmount = m_pCheck->dAmount;
        m_strComment = m_pCheck->sMemo;
    }
    m_strWords = WordsOf(m_dAmount);
    if (m_pDatabase != nullptr) {
        const stParameters& p = m_pDatabase->m_Parameters;
        for (uint32_t i = 0; i < param::kMeasureCount; ++i) m_aPositions[i] = p.GetFloat(param::kMeasures + 4 * i);
        m_strFace = p.GetFontFace();
        m_nFontSize = p.GetInt(param::kFontSize) / 10;
        m_bBold = p.GetByte(param::kFontFlag1) != 0;
        m_bItalic = p.GetByte(param::kFontFlag2) != 0;
    }
    const stCheckPrinterSettings settings = ParseCheckLayoutLine(CheckLayoutLine);
    m_strPrinter = settings.sPrinter;
    m_fOffsetX = static_cast<float>(settings.dOffsetX);
    m_fOffsetY = static_cast<float>(settings.dOffsetY);
    m_bLandscape = settings.bLandscape ? 1 : 0;
    for (int spin : kPositionSpins) CentreDateSpin(*this, spin);
    CentreDateSpin(*this, kIdSpinOffsetX);
    CentreDateSpin(*this, kIdSpinOffsetY);
    UpdateData(false);
    if (ui::ListBox* fonts = List(kIdFonts)) FillFontListBox(*fonts, m_strFace);
    ShowPrinter();
    return true;
}

void CDialogPrintCheck::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdDate, m_strDate);
    dx.Text(kIdPayee, m_strPayee);
    dx.Text(kIdAmount, m_dAmount);
    dx.Text(kIdWords, m_strWords);
    dx.Text(kIdComment, m_strComment);
    for (size_t i = 0; i < m_aPositions.size(); ++i) dx.Text(kPositionIds[i], m_aPositions[i]);
    dx.Text(kIdFontSize, m_nFontSize);
    dx.Check(kIdBold, m_bBold);
    dx.Check(kIdItalic, m_bItalic);
    dx.Check(kIdLandscape, m_bLandscape);
    dx.Text(kIdOffsetX, m_fOffsetX);
    dx.Text(kIdOffsetY, m_fOffsetY);
}

void CDialogPrintCheck::ShowPrinter()
{
    if (m_strPrinter.empty()) {
        // The default printer's device, driver and port; this system names no driver or port.
        SetDlgItemText(kIdPrinter, Format("Default:%s,%s,%s", ui::PrinterDC::SystemDefaultPrinter().c_str(), "", ""));
    } else {
        SetDlgItemText(kIdPrinter, m_strPrinter);
    }
}

float* CDialogPrintCheck::SpinField(int spinId)
{
    for (size_t i = 0; i < m_aPositions.size(); ++i)
        if (kPositionSpins[i] == spinId) return &m_aPositions[i];
    if (spinId == kIdSpinOffsetX) return &m_fOffsetX;
    if (spinId == kIdSpinOffsetY) return &m_fOffsetY;
    return nullptr;
}

float CDialogPrintCheck::StepPosition(float value, int delta)
{
    if (delta == -1) {
        if (value < 10.0f) value += 0.03f;
    } else if (value > 0.03f) {
        value -= 0.03f;
    }
    return value < 0.0f ? 0.0f : value;
}

bool CDialogPrintCheck::OnCommand(int id, int code)
{
    if (float* field = SpinField(id)) {
        ui::SpinButton* spin = Spin(id);
        if (code == ui::UDN_DELTAPOS && spin != nullptr) {
            // The spin rests at its middle: above it was the up arrow (Win32 delta -1).
            const int pos = spin->GetPos();
            spin->SetPos(50);
            if (pos != 50 && UpdateData(true)) {
                *field = StepPosition(*field, pos > 50 ? -1 : 1);
                UpdateData(false);
            }
        }
        return true;
    }
    if (id == kIdAmount && code == ui::EN_CHANGE) {
        OnAmountChanged();
        return true;
    }
    if (code != ui::BN_CLICKED) return CRefreshHoldDialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOkButton(); return true;
    case kIdSelectPrinter: OnSelectPrinter(); return true;
    case kIdPrint: PrintCheck(); return true;
    default: return CRefreshHoldDialog::OnCommand(id, code);
    }
}

void CDialogPrintCheck::OnAmountChanged()
{
    const double amount = std::atof(GetDlgItemText(kIdAmount).c_str());
    m_strWords = WordsOf(amount);
    SetDlgItemText(kIdWords, m_strWords);
}

void CDialogPrintCheck::OnSelectPrinter()
{
    const std::string chosen = SelectPrinter(0);
    if (chosen.empty()) return;
    m_strPrinter = chosen;
    ShowPrinter();
}

void CDialogPrintCheck::OnOkButton()
{
    if (!UpdateData(true)) return;
    if (ui::ListBox* fonts = List(kIdFonts)) {
        const int at = fonts->GetCurSel();
        if (at >= 0) m_strFace = fonts->GetText(at);
    }
    if (m_pDatabase != nullptr) {
        stParameters layout = m_pDatabase->m_Parameters;
        for (uint32_t i = 0; i < param::kMeasureCount; ++i) layout.SetFloat(param::kMeasures + 4 * i, m_aPositions[i]);
        layout.SetFontFace(m_strFace);
        layout.SetInt(param::kFontSize, m_nFontSize * 10);
        layout.SetByte(param::kFontFlag1, m_bBold ? 1 : 0);
        layout.SetByte(param::kFontFlag2, m_bItalic ? 1 : 0);
        const uint8_t* from = &layout.bytes[param::kMeasures];
        if (std::memcmp(from, &m_pDatabase->m_Parameters.bytes[param::kMeasures], kLayoutSize) != 0) {
            // Only the cheque block is written, onto the record as the file holds it.
            m_pDatabase->SaveParameterFields([from](stParameters& p) {
                std::memcpy(&p.bytes[param::kMeasures], from, kLayoutSize);
                return true;
            });
        }
    }
    stCheckPrinterSettings settings;
    settings.sPrinter = m_strPrinter;
    settings.dOffsetX = m_fOffsetX;
    settings.dOffsetY = m_fOffsetY;
    settings.bLandscape = m_bLandscape != 0;
    CheckLayoutLine = FormatCheckLayoutLine(settings);
    EndDialog(ui::IDOK);
}

bool CDialogPrintCheck::PrintCheck()
{
    if (!UpdateData(true)) return false;
    const DATE date = CDateTime::ParseText(m_strDate, 0);
    if (date == 0.0) {
        GetResponse("Invalid payment date.", MB_OK);
        return false;
    }
    if (ui::ListBox* fonts = List(kIdFonts)) {
        const int at = fonts->GetCurSel();
        if (at >= 0) m_strFace = fonts->GetText(at);
    }
    if (!m_strPrinter.empty() && m_strPrinter != GetDefaultPrinter()) SetDefaultPrinter(m_strPrinter);
    ui::PrinterDC dc;
    if (!dc.Open(m_strPrinter)) return false;
    if (m_bLandscape) dc.SetLandscape(true);
    // The print engine tells of a failed start itself.
    if (dc.StartDoc("Transaction check print job") <= 0) return false;
    dc.StartPage();
    // The device reports its resolution for the orientation the pages have.
    const int dpiX = dc.GetDeviceCaps(ui::LOGPIXELSX);
    const int dpiY = dc.GetDeviceCaps(ui::LOGPIXELSY);
    const int offX = static_cast<int>(m_fOffsetX * dpiX);
    const int offY = static_cast<int>(m_fOffsetY * dpiY);
    auto x = [&](size_t i) { return static_cast<int>(m_aPositions[i] * dpiX) + offX; };
    auto y = [&](size_t i) { return static_cast<int>(m_aPositions[i] * dpiY) + offY; };
    ui::Font font;
    InitPrintFont(font, dc, m_nFontSize * 10, m_strFace, 0, m_bBold ? 1 : 0, m_bItalic ? 1 : 0, 0, 0);
    const ui::Font old = dc.SelectFont(font);
    dc.TextOut(x(0), y(2), FormatDateTime(date, "%b %d"));
    dc.TextOut(x(1), y(2), FormatDateTime(date, "%Y"));
    dc.TextOut(x(3), y(4), m_strPayee);
    dc.TextOut(x(5), y(6), Format("%.2f", m_dAmount));
    dc.TextOut(x(7), y(8), m_strWords);
    dc.TextOut(x(9), y(10), m_strComment);
    dc.SelectFont(old);
    dc.EndPage();
    dc.EndDoc();
    return true;
}
