#include "dialogs/DialogFormat.h"

#include "common/Diagnostic.h"
#include "platform/host/Format.h"
#include "common/QuestionBox.h"
#include "common/TextFormat.h"
#include "database/SettingsRecords.h"
#include "widgets/ControlHelpers.h"
#include "widgets/Prompts.h"
#include "platform/ui/DC.h"
#include "platform/ui/ListBox.h"

#include <cstdlib>

namespace {

constexpr int kIdFonts = 1251;
constexpr int kIdViewFonts = 1256;
constexpr int kIdSize = 1232;
constexpr int kIdSizeSpin = 1252;
constexpr int kIdTabs = 1040;
constexpr int kIdEdit = 1076;
constexpr int kIdAdd = 1047;
constexpr int kIdDelete = 1058;
constexpr int kIdClear = 1053;
constexpr int kIdEqual = 1253;
constexpr int kIdBold = 1178;
constexpr int kIdUnderline = 1203;
constexpr int kIdItalics = 1209;
constexpr int kIdCenter = 1215;
constexpr int kIdSample = 1229;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 227;
constexpr int kMaxSampleHeight = 33;
constexpr uintptr_t kVkT = 'T';

const ui::DialogTemplate kFormatTemplate{227, "Text format", 0, 0, {
    {ui::Ctl::Label, -1, "Font"},
    {ui::Ctl::ListBox, kIdFonts, "", ui::LBS_SORT},
    {ui::Ctl::Button, kIdViewFonts, "View fonts"},
    {ui::Ctl::Label, -1, "Size"},
    {ui::Ctl::Edit, kIdSize, ""},
    {ui::Ctl::Spin, kIdSizeSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Label, -1, "Tab stops (in.)"},
    {ui::Ctl::ListBox, kIdTabs, ""},
    {ui::Ctl::Button, kIdEdit, "Edit"},
    {ui::Ctl::Button, kIdAdd, "Add"},
    {ui::Ctl::Button, kIdDelete, "Delete"},
    {ui::Ctl::Button, kIdClear, "Clear"},
    {ui::Ctl::Button, kIdEqual, "Equal tab spacing"},
    {ui::Ctl::CheckBox, kIdBold, "Bold"},
    {ui::Ctl::CheckBox, kIdUnderline, "Underline"},
    {ui::Ctl::CheckBox, kIdItalics, "Italics"},
    {ui::Ctl::CheckBox, kIdCenter, "Center"},
    {ui::Ctl::Frame, kIdSample, ""},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

// A tab stop as typed: a number of 0 or more, nothing else.
bool ParseTab(const std::string& text, double& value)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    value = std::strtod(begin, &end);
    if (end == begin) return false;
    while (*end == ' ' || *end == '\t') ++end;
    return *end == '\0' && value >= 0.0;
}

}  // namespace

void CFormatSample::OnPaint(ui::DC& dc)
{
    ui::Font font;
    std::string text;
    if (!m_Dialog.GetSample(font, text)) return;
    const ui::DCRect box = GetClientRect();
    const ui::COLORREF grey = ui::RGB(192, 192, 192);
    dc.FillSolidRect(box, grey);
    if (text.empty()) return;
    const ui::Font old = dc.SelectFont(font);
    dc.SetTextColor(ui::kBlack);
    dc.SetBkColor(grey);
    dc.TextOut(1, 0, text);
    dc.SelectFont(old);
}

CDialogFormat::CDialogFormat(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kFormatTemplate, parent), m_pDB(database), m_Sample(*this)
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("CDialogFormat::CDialogFormat()\n");
}

void CDialogFormat::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdSize, m_nSize);
    if (dx.IsSaving() && m_nSize < 1) dx.Fail(kIdSize, "Please enter a positive integer.");
    dx.Check(kIdBold, m_bBold);
    dx.Check(kIdItalics, m_bItalics);
    dx.Check(kIdUnderline, m_bUnderline);
    dx.Check(kIdCenter, m_bCenter);
}

bool CDialogFormat::OnInitDialog()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("Enter CDialogFormat::OnInitDialog()\n");
    SetWindowText(m_strTitle);
    SubclassDlgItem(kIdSample, m_Sample);
    if (m_bTabsEditable == 0)
        for (int id : {kIdTabs, kIdEdit, kIdAdd, kIdDelete, kIdClear, kIdEqual}) EnableDlgItem(id, false);
    if (m_bTabCountChangeable == 0)
        for (int id : {kIdAdd, kIdClear, kIdDelete}) EnableDlgItem(id, false);
    ShowDlgItem(kIdViewFonts, false);
    AttachSpin(*this, kIdSize, kIdSizeSpin, 8, 16);
    if (m_pFormat) {
        m_nSize = m_pFormat->nSize / 10;
        m_bBold = m_pFormat->cBold != 0 ? 1 : 0;
        m_bItalics = m_pFormat->cItalic != 0 ? 1 : 0;
        m_bUnderline = m_pFormat->cUnderline != 0 ? 1 : 0;
        m_bCenter = m_pFormat->cCentred != 0 ? 1 : 0;
        if (ui::ListBox* tabs = List(kIdTabs))
            for (double tab : m_pFormat->aTabStops) tabs->AddString(Format("%.3f", tab));
    }
    ui::Dialog::OnInitDialog();
    // The font list is filled once, when the dialog first shows.
    ViewFonts();
    if (DiagnosticLevel > 0) WriteDiagnosticString("Exit CDialogFormat::OnInitDialog()\n");
    return true;
}

void CDialogFormat::ViewFonts()
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("Enter CDialogFormat::OnViewfont()\n");
    m_bFontsListed = 1;
    ShowDlgItem(kIdViewFonts, false);
    if (ui::ListBox* fonts = List(kIdFonts)) {
        fonts->ResetContent();
        FillFontList(*this, *fonts, m_pFormat ? m_pFormat->GetFace() : std::string());
    }
    RedrawSample();
    if (DiagnosticLevel > 0) WriteDiagnosticString("Exit CDialogFormat::OnViewfont()\n");
}

bool CDialogFormat::GetSample(ui::Font& font, std::string& text) const
{
    if (DiagnosticLevel > 0) WriteDiagnosticString("Enter CDialogFormat::DemoFont()\n");
    ui::ListBox* fonts = List(kIdFonts);
    const int selected = fonts ? fonts->GetCurSel() : -1;
    if (m_bFontsListed != 1 || selected < 0) return false;
    bool ok = false;
    const int size = GetDlgItemInt(kIdSize, &ok);
    int height = static_cast<int>((ok ? size : 0) * 1.5);
    text = "AaBbXxZz";
    if (height > kMaxSampleHeight) {
        height = kMaxSampleHeight;
        text.clear();
    }
    font.face = fonts->GetText(selected);
    font.sizeTenths = height * 10;
    font.bold = IsDlgButtonChecked(kIdBold) == 1;
    font.italic = IsDlgButtonChecked(kIdItalics) == 1;
    font.underline = IsDlgButtonChecked(kIdUnderline) == 1;
    if (DiagnosticLevel > 0) {
        WriteDiagnosticString("  Before drawing demo font\n");
        WriteDiagnosticString("Exit CDialogFormat::DemoFont()\n");
    }
    return true;
}

void CDialogFormat::RedrawSample()
{
    m_Sample.Invalidate();
}

std::vector<std::string> CDialogFormat::TabLines() const
{
    std::vector<std::string> lines;
    if (ui::ListBox* tabs = List(kIdTabs))
        for (int i = 0; i < tabs->GetCount(); ++i) lines.push_back(tabs->GetText(i));
    return lines;
}

void CDialogFormat::InsertTabInOrder(const std::string& text, double value)
{
    ui::ListBox* tabs = List(kIdTabs);
    if (!tabs) return;
    int at = -1;
    for (int i = 0; i < tabs->GetCount(); ++i) {
        if (std::atof(tabs->GetText(i).c_str()) > value) {
            at = i;
            break;
        }
    }
    tabs->InsertString(at, text);
}

void CDialogFormat::AddTab()
{
    const std::string answer = PromptForString("Tab [in.]", 10, "", 'N');
    if (answer.empty()) return;
    double value = 0.0;
    if (!ParseTab(answer, value)) {
        GetResponse("Please enter a number.", MB_OK);
        return;
    }
    InsertTabInOrder(answer, value);
}

void CDialogFormat::EditTab()
{
    ui::ListBox* tabs = List(kIdTabs);
    if (!tabs) return;
    const int selected = GetListCurSel(*tabs, "No item selected");
    if (selected < 0) return;
    const std::string answer = PromptForString("Tab [in.]", 10, tabs->GetText(selected), 'N');
    if (answer.empty()) return;
    double value = 0.0;
    if (!ParseTab(answer, value)) {
        GetResponse("Please enter a number.", MB_OK);
        return;
    }
    tabs->DeleteString(selected);
    InsertTabInOrder(answer, value);
}

void CDialogFormat::DeleteTab()
{
    ui::ListBox* tabs = List(kIdTabs);
    if (!tabs) return;
    const int selected = GetListCurSel(*tabs, "No item selected");
    if (selected >= 0) tabs->DeleteString(selected);
}

void CDialogFormat::EqualTabSpacing()
{
    ui::ListBox* tabs = List(kIdTabs);
    if (!tabs || tabs->GetCount() == 0) return;
    const int start = tabs->GetCurSel() >= 0 ? tabs->GetCurSel() : 0;
    const std::string answer = PromptForString("Tab increment (in.)", 10, "", 'N');
    if (answer.empty()) return;
    double increment = 0.0;
    if (!ParseTab(answer, increment)) {
        GetResponse("Please enter a number.", MB_OK);
        return;
    }
    if (increment < 0.001) return;
    double value = std::atof(tabs->GetText(start).c_str());
    for (int i = start + 1; i < tabs->GetCount(); ++i) {
        value += increment;
        tabs->DeleteString(i);
        tabs->InsertString(i, Format("%.3f", value));
    }
}

void CDialogFormat::EditAllTabs()
{
    if (m_bTabsEditable == 0) return;
    ui::ListBox* tabs = List(kIdTabs);
    if (!tabs) return;
    std::string joined;
    const std::vector<std::string> lines = TabLines();
    for (size_t i = 0; i < lines.size(); ++i) joined += (i ? "," : "") + lines[i];
    const std::string answer = PromptForString("String", 80, joined, 'N');
    if (answer.empty()) return;
    std::vector<std::string> pieces;
    SplitString(answer, ",", pieces, 0, 0);
    for (const std::string& piece : pieces) {
        double value = 0.0;
        if (!ParseTab(piece, value)) {
            GetResponse("Please enter a number.", MB_OK);
            return;
        }
    }
    if (m_bTabCountChangeable == 0 && pieces.size() != lines.size()) return;
    tabs->ResetContent();
    for (const std::string& piece : pieces) tabs->AddString(piece);
}

void CDialogFormat::OnOK()
{
    if (!UpdateData(true)) return;
    if (m_pFormat) {
        m_pFormat->nSize = m_nSize * 10;
        m_pFormat->cBold = static_cast<uint8_t>(m_bBold);
        m_pFormat->cItalic = static_cast<uint8_t>(m_bItalics);
        m_pFormat->cUnderline = static_cast<uint8_t>(m_bUnderline);
        m_pFormat->cCentred = static_cast<uint8_t>(m_bCenter);
        ui::ListBox* fonts = List(kIdFonts);
        const int selected = fonts ? fonts->GetCurSel() : -1;
        if (selected >= 0) m_pFormat->SetFace(fonts->GetText(selected));
        m_pFormat->aTabStops.clear();
        for (const std::string& line : TabLines()) m_pFormat->aTabStops.push_back(std::atof(line.c_str()));
    }
    EndDialog(ui::IDOK);
}

bool CDialogFormat::OnCommand(int id, int code)
{
    switch (id) {
    case kIdOk:
        if (code == ui::BN_CLICKED) OnOK();
        return true;
    case kIdFonts:
        if (code == ui::LBN_SELCHANGE) RedrawSample();
        return true;
    case kIdBold:
    case kIdItalics:
    case kIdUnderline:
        if (code == ui::BN_CLICKED) RedrawSample();
        return true;
    case kIdSize:
        if (code == ui::EN_CHANGE) RedrawSample();
        return true;
    case kIdViewFonts:
        if (code == ui::BN_CLICKED) ViewFonts();
        return true;
    case kIdAdd:
        if (code == ui::BN_CLICKED) AddTab();
        return true;
    case kIdClear:
        if (code == ui::BN_CLICKED)
            if (ui::ListBox* tabs = List(kIdTabs)) tabs->ResetContent();
        return true;
    case kIdEdit:
        if (code == ui::BN_CLICKED) EditTab();
        return true;
    case kIdDelete:
        if (code == ui::BN_CLICKED) DeleteTab();
        return true;
    case kIdEqual:
        if (code == ui::BN_CLICKED) EqualTabSpacing();
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogFormat::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    if (msg.message == ui::WM_SYSKEYDOWN && msg.wParam == kVkT) {
        EditAllTabs();
        return true;
    }
    if (msg.message == ui::WM_KEYDOWN && MoveOnEnterKey(*this, msg)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
