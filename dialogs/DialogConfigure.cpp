#include "dialogs/DialogConfigure.h"

#include "database/Database.h"
#include "database/SettingsRecords.h"
#include "dialogs/DialogPrintSetup.h"
#include "widgets/ControlHelpers.h"
#include "platform/ui/CommonDialogs.h"

namespace {

constexpr int kIdRefresh = 1223;
constexpr int kIdPackedBackups = 1248;
constexpr int kIdBackupPath = 1337;
constexpr int kIdTimedBackups = 1453;
constexpr int kIdInterval = 2038;
constexpr int kIdStartHour = 1267;
constexpr int kIdStartHourSpin = 1277;
constexpr int kIdStartMinute = 1270;
constexpr int kIdStartMinuteSpin = 1278;
constexpr int kIdIncrements = 1034;
constexpr int kIdIncrementsSpin = 1280;
constexpr int kIdMinutes = 1032;
constexpr int kIdMinutesSpin = 1283;
constexpr int kIdStartDay = 1378;
constexpr int kIdStartDaySpin = 1279;
constexpr int kIdHeaderFont = 1268;
constexpr int kIdHeaderFontSpin = 1281;
constexpr int kIdCellFont = 1269;
constexpr int kIdCellFontSpin = 1282;
constexpr int kIdLabelColour = 1442;
constexpr int kIdCellColour = 1443;
constexpr int kIdShoppingCart = 1419;
constexpr int kIdNextInvoice = 1371;
constexpr int kIdActivityUnit = 1385;
constexpr int kIdFlash = 1405;
constexpr int kIdWordProcessor = 1384;
constexpr int kIdSearchWordProcessor = 1360;
constexpr int kIdFirstNameOnly = 1426;
constexpr int kIdLogoText = 1430;
constexpr int kIdLogoFontSize = 1226;
constexpr int kIdLogoForeground = 1410;
constexpr int kIdLogoBackground = 1411;
constexpr int kIdMessageText = 1191;
constexpr int kIdMessageFontSize = 1227;
constexpr int kIdMessageForeground = 1418;
constexpr int kIdMessageBackground = 1420;
constexpr int kIdLogoFile = 1388;
constexpr int kIdSearchLogo = 1361;
constexpr int kIdLogoPercent = 1431;
constexpr int kIdCheckInBackground = 1432;
constexpr int kIdDefaultFont = 1379;
constexpr int kIdNameFont = 1383;
constexpr int kIdTextFont = 1387;
constexpr int kIdResetFonts = 1380;
constexpr int kIdPrinter = 1381;
constexpr int kIdLabelPrinter = 1386;
constexpr int kIdPageLayout = 1382;
constexpr int kIdOk = 1000;
constexpr uint32_t kHelpContext = 0x20000 + 216;

// Stored order of the look choices: flash, italics, border, bold, underline, sunken.
constexpr int kLogoChoices[6] = {1417, 1412, 1416, 1414, 1413, 1415};
constexpr int kMessageChoices[6] = {1427, 1421, 1425, 1423, 1422, 1424};

const ui::DialogTemplate kConfigureTemplate{216, "Specify software parameters", 0, 0, {
    {ui::Ctl::Label, -1, "Seconds between memory refreshes"},
    {ui::Ctl::Edit, kIdRefresh, ""},
    {ui::Ctl::Label, -1, "Number of packed backup files"},
    {ui::Ctl::Edit, kIdPackedBackups, ""},
    {ui::Ctl::Label, -1, "Packed file\nbackup path"},
    {ui::Ctl::Edit, kIdBackupPath, ""},
    {ui::Ctl::Label, -1, "Number of timed unpacked backup files on hard disk"},
    {ui::Ctl::Edit, kIdTimedBackups, ""},
    {ui::Ctl::Label, -1, "Interval\n(Min.)"},
    {ui::Ctl::Edit, kIdInterval, ""},
    {ui::Ctl::Label, -1, "Start hour"},
    {ui::Ctl::Edit, kIdStartHour, ""},
    {ui::Ctl::Spin, kIdStartHourSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Label, -1, "Minute"},
    {ui::Ctl::Edit, kIdStartMinute, ""},
    {ui::Ctl::Spin, kIdStartMinuteSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Label, -1, "Number of time increments"},
    {ui::Ctl::Edit, kIdIncrements, ""},
    {ui::Ctl::Spin, kIdIncrementsSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Label, -1, "Min.\nInc."},
    {ui::Ctl::Edit, kIdMinutes, ""},
    {ui::Ctl::Spin, kIdMinutesSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Label, -1, "Start day of week"},
    {ui::Ctl::Edit, kIdStartDay, ""},
    {ui::Ctl::Spin, kIdStartDaySpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Label, -1, "Header font size"},
    {ui::Ctl::Edit, kIdHeaderFont, ""},
    {ui::Ctl::Spin, kIdHeaderFontSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Label, -1, "Cell font size"},
    {ui::Ctl::Edit, kIdCellFont, ""},
    {ui::Ctl::Spin, kIdCellFontSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::Button, kIdLabelColour, "Label color"},
    {ui::Ctl::Button, kIdCellColour, "Cell color"},
    {ui::Ctl::CheckBox, kIdShoppingCart, "Use shopping cart format for purchase"},
    {ui::Ctl::Label, -1, "Next invoice/receipt number"},
    {ui::Ctl::Edit, kIdNextInvoice, ""},
    {ui::Ctl::Label, -1, "Minutes in activity unit"},
    {ui::Ctl::Edit, kIdActivityUnit, ""},
    {ui::Ctl::Label, -1, "Duration for picture flash on sign-in (Sec.)"},
    {ui::Ctl::Edit, kIdFlash, ""},
    {ui::Ctl::Label, -1, "Word processor program for print preview"},
    {ui::Ctl::Edit, kIdWordProcessor, ""},
    {ui::Ctl::Button, kIdSearchWordProcessor, "Search"},
    {ui::Ctl::Button, kIdDefaultFont, "Specify default font"},
    {ui::Ctl::Button, kIdResetFonts, "Reset all fonts to default"},
    {ui::Ctl::Button, kIdPrinter, "Specify printer"},
    {ui::Ctl::Button, kIdPageLayout, "Page layout"},
    {ui::Ctl::GroupBox, -1, "Name tag"},
    {ui::Ctl::Button, kIdNameFont, "Name font"},
    {ui::Ctl::Button, kIdTextFont, "Text font"},
    {ui::Ctl::Button, kIdLabelPrinter, "Specify label printer"},
    {ui::Ctl::CheckBox, kIdFirstNameOnly, "Use only first name on name tag"},
    {ui::Ctl::GroupBox, -1, "Logo text"},
    {ui::Ctl::Edit, kIdLogoText, ""},
    {ui::Ctl::Label, -1, "Font size"},
    {ui::Ctl::Edit, kIdLogoFontSize, ""},
    {ui::Ctl::Button, kIdLogoForeground, "Foreground color"},
    {ui::Ctl::Button, kIdLogoBackground, "Background color"},
    {ui::Ctl::CheckBox, 1417, "Flash"},
    {ui::Ctl::CheckBox, 1412, "Italics"},
    {ui::Ctl::CheckBox, 1416, "Border"},
    {ui::Ctl::CheckBox, 1414, "Bold"},
    {ui::Ctl::CheckBox, 1413, "Underline"},
    {ui::Ctl::CheckBox, 1415, "Sunken"},
    {ui::Ctl::GroupBox, -1, "Message text"},
    {ui::Ctl::Edit, kIdMessageText, ""},
    {ui::Ctl::Label, -1, "Font size"},
    {ui::Ctl::Edit, kIdMessageFontSize, ""},
    {ui::Ctl::Button, kIdMessageForeground, "Foreground color"},
    {ui::Ctl::Button, kIdMessageBackground, "Background color"},
    {ui::Ctl::CheckBox, 1427, "Flash"},
    {ui::Ctl::CheckBox, 1421, "Italics"},
    {ui::Ctl::CheckBox, 1425, "Border"},
    {ui::Ctl::CheckBox, 1423, "Bold"},
    {ui::Ctl::CheckBox, 1422, "Underline"},
    {ui::Ctl::CheckBox, 1424, "Sunken"},
    {ui::Ctl::Label, -1, "Logo file name"},
    {ui::Ctl::Edit, kIdLogoFile, ""},
    {ui::Ctl::Button, kIdSearchLogo, "Search"},
    {ui::Ctl::Label, -1, "Percent of area for logo"},
    {ui::Ctl::Edit, kIdLogoPercent, ""},
    {ui::Ctl::Button, kIdCheckInBackground, "Dialog box background color"},
    {ui::Ctl::DefButton, kIdOk, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

// The spin ranges are the ranges the settings keep on reading.
struct SpinRange {
    int edit;
    int spin;
    int lower;
    int upper;
};
constexpr SpinRange kSpins[] = {
    {kIdStartHour, kIdStartHourSpin, 1, 23},   {kIdStartMinute, kIdStartMinuteSpin, 0, 59},
    {kIdIncrements, kIdIncrementsSpin, 0, 100}, {kIdMinutes, kIdMinutesSpin, 1, 120},
    {kIdStartDay, kIdStartDaySpin, 1, 7},      {kIdHeaderFont, kIdHeaderFontSpin, 1, 15},
    {kIdCellFont, kIdCellFontSpin, 1, 15},
};

void ReadLook(const stParameters& p, uint32_t offset, CDialogConfigure::stLook& look)
{
    look.nFontSize = p.GetByte(offset);
    for (int i = 0; i < 6; ++i) look.aChoices[i] = p.GetByte(offset + 1 + i) != 0 ? 1 : 0;
    look.crText = p.GetUInt(offset + 8);
    look.crBackground = p.GetUInt(offset + 12);
}

void WriteLook(stParameters& p, uint32_t offset, const CDialogConfigure::stLook& look)
{
    p.SetByte(offset, static_cast<uint8_t>(look.nFontSize));
    for (int i = 0; i < 6; ++i) p.SetByte(offset + 1 + i, static_cast<uint8_t>(look.aChoices[i] != 0 ? 1 : 0));
    p.SetUInt(offset + 8, look.crText);
    p.SetUInt(offset + 12, look.crBackground);
}

}  // namespace

CDialogConfigure::CDialogConfigure(CDatabase* database, ui::Window* parent)
    : ui::Dialog(kConfigureTemplate, parent), m_pDB(database)
{
}

void CDialogConfigure::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdRefresh, m_nRefreshSeconds);
    dx.MinMax(kIdRefresh, m_nRefreshSeconds, 0, 100);
    dx.Text(kIdPackedBackups, m_nPackedBackups);
    dx.MinMax(kIdPackedBackups, m_nPackedBackups, 0, 10);
    dx.Text(kIdBackupPath, m_strBackupPath);
    dx.Text(kIdTimedBackups, m_nTimedBackups);
    dx.MinMax(kIdTimedBackups, m_nTimedBackups, 0, 25);
    dx.Text(kIdInterval, m_nBackupInterval);
    int* spinValues[] = {&m_nStartHour,  &m_nStartMinute,    &m_nIncrements,  &m_nMinutesPerIncrement,
                         &m_nStartDay,   &m_nHeaderFontSize, &m_nCellFontSize};
    for (size_t i = 0; i < std::size(kSpins); ++i) {
        dx.Text(kSpins[i].edit, *spinValues[i]);
        dx.MinMax(kSpins[i].edit, *spinValues[i], kSpins[i].lower, kSpins[i].upper);
    }
    dx.Check(kIdShoppingCart, m_bShoppingCart);
    dx.Text(kIdNextInvoice, m_nNextInvoice);
    dx.MinMax(kIdNextInvoice, m_nNextInvoice, 1, 0x7FFFFFFF);
    dx.Text(kIdActivityUnit, m_nActivityUnit);
    dx.MinMax(kIdActivityUnit, m_nActivityUnit, 1, 60);
    dx.Text(kIdFlash, m_dFlashSeconds);
    dx.MinMax(kIdFlash, m_dFlashSeconds, 0.0, 5.0);
    dx.Text(kIdWordProcessor, m_strWordProcessor);
    dx.Check(kIdFirstNameOnly, m_bFirstNameOnly);
    dx.Text(kIdLogoText, m_strLogoText);
    dx.Text(kIdLogoFontSize, m_LogoLook.nFontSize);
    dx.MinMax(kIdLogoFontSize, m_LogoLook.nFontSize, 0, 255);
    for (int i = 0; i < 6; ++i) dx.Check(kLogoChoices[i], m_LogoLook.aChoices[i]);
    dx.Text(kIdMessageText, m_strMessageText);
    dx.Text(kIdMessageFontSize, m_MessageLook.nFontSize);
    dx.MinMax(kIdMessageFontSize, m_MessageLook.nFontSize, 0, 255);
    for (int i = 0; i < 6; ++i) dx.Check(kMessageChoices[i], m_MessageLook.aChoices[i]);
    dx.Text(kIdLogoFile, m_strLogoFile);
    dx.Text(kIdLogoPercent, m_dLogoPercent);
    dx.MinMax(kIdLogoPercent, m_dLogoPercent, 0.0, 100.0);
}

bool CDialogConfigure::OnInitDialog()
{
    if (m_pDB) {
        const stParameters& p = m_pDB->m_Parameters;
        m_nRefreshSeconds = p.GetInt(param::kRefreshSeconds);
        m_nPackedBackups = p.GetInt(param::kPackedBackups);
        m_nStartHour = p.GetInt(param::kStartHour);
        m_nStartMinute = p.GetInt(param::kStartMinute);
        m_nIncrements = p.GetInt(param::kIncrements);
        m_nMinutesPerIncrement = p.GetInt(param::kMinutesPerIncrement);
        m_nStartDay = p.GetInt(param::kStartDayOfWeek);
        m_nHeaderFontSize = p.GetByte(param::kScheduleHeaderFont);
        m_nCellFontSize = p.GetByte(param::kScheduleCellFont);
        m_crLabel = p.GetUInt(param::kLabelColour);
        m_crCell = p.GetUInt(param::kCellColour);
        m_nNextInvoice = p.GetInt(param::kNextInvoiceNumber);
        m_nActivityUnit = p.GetInt(param::kActivityUnitMinutes);
        m_dFlashSeconds = p.GetFloat(param::kFlashSeconds);
        m_bFirstNameOnly = p.GetByte(param::kNameTagFirstOnly) != 0 ? 1 : 0;
        m_dLogoPercent = p.GetFloat(param::kLogoPercent);
        m_crCheckInBackground = p.GetUInt(param::kCheckInBackground);
        ReadLook(p, param::kLogoTextLook, m_LogoLook);
        ReadLook(p, param::kMessageTextLook, m_MessageLook);
        const stStudioStrings& strings = m_pDB->GetStudioStrings();
        m_strLogoText = strings.sWelcomeLogoText;
        m_strMessageText = strings.sWelcomeMessage;
        m_strLogoFile = strings.sWelcomeLogoFile;
    }
    if (m_pAppValues) {
        m_strBackupPath = m_pAppValues->sBackupDrive;
        m_nTimedBackups = m_pAppValues->nTimedBackups;
        m_nBackupInterval = m_pAppValues->nTimedBackupInterval;
        m_bShoppingCart = m_pAppValues->bShoppingCartFormat;
        m_strWordProcessor = m_pAppValues->sWordProcessor;
        m_ReportPrinter = m_pAppValues->ReportPrinter;
        m_LabelPrinter = m_pAppValues->LabelPrinter;
    }
    for (const SpinRange& s : kSpins)
        AttachSpin(*this, s.edit, s.spin, static_cast<uint32_t>(s.lower), static_cast<int16_t>(s.upper));
    return ui::Dialog::OnInitDialog();
}

void CDialogConfigure::OnOK()
{
    if (!UpdateData(true)) return;
    if (m_pDB) {
        stParameters& p = m_pDB->m_Parameters;
        p.SetInt(param::kRefreshSeconds, m_nRefreshSeconds);
        p.SetInt(param::kPackedBackups, m_nPackedBackups);
        p.SetInt(param::kStartHour, m_nStartHour);
        p.SetInt(param::kStartMinute, m_nStartMinute);
        p.SetInt(param::kIncrements, m_nIncrements);
        p.SetInt(param::kMinutesPerIncrement, m_nMinutesPerIncrement);
        p.SetInt(param::kStartDayOfWeek, m_nStartDay);
        p.SetByte(param::kScheduleHeaderFont, static_cast<uint8_t>(m_nHeaderFontSize));
        p.SetByte(param::kScheduleCellFont, static_cast<uint8_t>(m_nCellFontSize));
        p.SetUInt(param::kLabelColour, m_crLabel);
        p.SetUInt(param::kCellColour, m_crCell);
        p.SetInt(param::kNextInvoiceNumber, m_nNextInvoice);
        p.SetInt(param::kActivityUnitMinutes, m_nActivityUnit);
        p.SetFloat(param::kFlashSeconds, static_cast<float>(m_dFlashSeconds));
        p.SetByte(param::kNameTagFirstOnly, static_cast<uint8_t>(m_bFirstNameOnly));
        p.SetFloat(param::kLogoPercent, static_cast<float>(m_dLogoPercent));
        p.SetUInt(param::kCheckInBackground, m_crCheckInBackground);
        WriteLook(p, param::kLogoTextLook, m_LogoLook);
        WriteLook(p, param::kMessageTextLook, m_MessageLook);
        stStudioStrings& strings = m_pDB->GetStudioStrings();
        strings.sWelcomeLogoText = m_strLogoText;
        strings.sWelcomeMessage = m_strMessageText;
        strings.sWelcomeLogoFile = m_strLogoFile;
    }
    if (m_pAppValues) {
        m_pAppValues->sBackupDrive = m_strBackupPath;
        m_pAppValues->nTimedBackups = m_nTimedBackups;
        m_pAppValues->nTimedBackupInterval = m_nBackupInterval;
        m_pAppValues->bShoppingCartFormat = m_bShoppingCart;
        m_pAppValues->sWordProcessor = m_strWordProcessor;
        m_pAppValues->ReportPrinter = m_ReportPrinter;
        m_pAppValues->LabelPrinter = m_LabelPrinter;
    }
    EndDialog(ui::IDOK);
}

void CDialogConfigure::ChooseColour(ui::COLORREF& colour)
{
    ui::ColourDialog dialog(colour);
    if (dialog.DoModal() == ui::IDOK) colour = dialog.GetColor();
}

void CDialogConfigure::ResetFonts()
{
    if (m_pDB) m_pDB->ResetFonts();
    m_crLabel = param::kDefaultLabelColour;
    m_crCell = param::kDefaultCellColour;
    SetDlgItemInt(kIdHeaderFont, 12);
    SetDlgItemInt(kIdCellFont, 10);
}

void CDialogConfigure::SearchFile(int editId, const std::string& title, const std::string& filter)
{
    ui::FileDialog dialog(true, "", GetDlgItemText(editId), filter);
    dialog.SetTitle(title);
    if (dialog.DoModal() == ui::IDOK) SetDlgItemText(editId, dialog.GetPathName());
}

void CDialogConfigure::SetupPrinter(stPrinterDef& printer)
{
    CDialogPrintSetup dialog(this);
    dialog.m_pPrinterDef = &printer;
    dialog.m_nMode = 1;
    dialog.DoModal();
}

bool CDialogConfigure::OnCommand(int id, int code)
{
    if (code != ui::BN_CLICKED) return ui::Dialog::OnCommand(id, code);
    switch (id) {
    case kIdOk: OnOK(); return true;
    case kIdLabelColour: ChooseColour(m_crLabel); return true;
    case kIdCellColour: ChooseColour(m_crCell); return true;
    case kIdLogoForeground: ChooseColour(m_LogoLook.crText); return true;
    case kIdLogoBackground: ChooseColour(m_LogoLook.crBackground); return true;
    case kIdMessageForeground: ChooseColour(m_MessageLook.crText); return true;
    case kIdMessageBackground: ChooseColour(m_MessageLook.crBackground); return true;
    case kIdCheckInBackground: ChooseColour(m_crCheckInBackground); return true;
    case kIdDefaultFont:
        if (m_pDB) m_pDB->SaveFormatRecord(0, "Default font", 1, 1);
        return true;
    case kIdNameFont:
        if (m_pDB) m_pDB->SaveFormatRecord(36, "Name tag name font", 1, 1);
        return true;
    case kIdTextFont:
        if (m_pDB) m_pDB->SaveFormatRecord(37, "Name tag text font", 1, 1);
        return true;
    case kIdResetFonts: ResetFonts(); return true;
    case kIdPrinter: SetupPrinter(m_ReportPrinter); return true;
    case kIdLabelPrinter: SetupPrinter(m_LabelPrinter); return true;
    case kIdPageLayout:
        if (m_pDB) m_pDB->SavePageLayoutRecord(0, "Reports");
        return true;
    case kIdSearchWordProcessor:
        SearchFile(kIdWordProcessor, "Word processor program", "All files (*)|*||");
        return true;
    case kIdSearchLogo:
        SearchFile(kIdLogoFile, "Logo file", "Logo file (*.jpg;*.bmp)|*.jpg;*.bmp||");
        return true;
    default:
        return ui::Dialog::OnCommand(id, code);
    }
}

bool CDialogConfigure::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext)) return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
