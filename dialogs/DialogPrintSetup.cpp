#include "dialogs/DialogPrintSetup.h"

#include "widgets/ControlHelpers.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/SpinButton.h"
#include "dialogs/PrinterChoice.h"

namespace {

constexpr int kIdPause = 1158;
constexpr int kIdDelayOn = 1221;
constexpr int kIdPrinters = 1228;
constexpr int kIdCopies = 1230;
constexpr int kIdCopiesSpin = 1233;
constexpr int kIdDelay = 1234;
constexpr int kIdPageNumbers = 1332;
constexpr int kIdStartPage = 1333;
constexpr int kIdStartPageLabel = 1334;
constexpr int kMaxCopies = 100;
constexpr uint32_t kHelpContext = 0x20000 + 223;

const ui::DialogTemplate kPrintSetupTemplate{223, "Print setup", 0, 0, {
    {ui::Ctl::Label, -1, "Copies"},
    {ui::Ctl::Edit, kIdCopies, "", ui::ES_NUMBER},
    {ui::Ctl::Spin, kIdCopiesSpin, "", ui::UDS_AUTOBUDDY | ui::UDS_SETBUDDYINT},
    {ui::Ctl::CheckBox, kIdPause, "Pause after each page"},
    {ui::Ctl::CheckBox, kIdDelayOn, "Delay after page"},
    {ui::Ctl::Label, -1, "Sec."},
    {ui::Ctl::Edit, kIdDelay, ""},
    {ui::Ctl::CheckBox, kIdPageNumbers, "Print page numbers"},
    {ui::Ctl::Label, kIdStartPageLabel, "Starting page number"},
    {ui::Ctl::Edit, kIdStartPage, ""},
    {ui::Ctl::Label, -1, "Printer"},
    {ui::Ctl::ListBox, kIdPrinters, ""},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogPrintSetup::CDialogPrintSetup(ui::Window* parent) : ui::Dialog(kPrintSetupTemplate, parent)
{
}

void CDialogPrintSetup::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(kIdCopies, m_nCopies);
    dx.MinMax(kIdCopies, m_nCopies, 0, kMaxCopies);
    dx.Check(kIdPause, m_bPause);
    dx.Text(kIdDelay, m_nDelay);
    dx.Check(kIdDelayOn, m_bDelay);
    dx.Check(kIdPageNumbers, m_bPageNumbers);
    dx.Text(kIdStartPage, m_nStartPage);
}

bool CDialogPrintSetup::OnInitDialog()
{
    if (m_nMode == 1) {
        ShowDlgItem(kIdPageNumbers, false);
        ShowDlgItem(kIdStartPage, false);
        ShowDlgItem(kIdStartPageLabel, false);
    }
    if (ui::SpinButton* spin = Spin(kIdCopiesSpin)) {
        spin->SetBuddy(GetDlgItem(kIdCopies));
        spin->SetRange(0, kMaxCopies);
    }

    m_aPrinters.clear();
    std::vector<std::string> names;
    ListPrinters(names, m_aPrinters);
    if (ui::ListBox* list = List(kIdPrinters)) {
        list->ResetContent();
        for (size_t i = 0; i < names.size(); ++i) {
            const int index = list->AddString(names[i]);
            list->SetItemData(index, static_cast<intptr_t>(i));
            if (m_pPrinterDef && m_aPrinters[i] == m_pPrinterDef->sDevice)
                list->SetCurSel(index);
        }
    }

    if (m_pPrinterDef) {
        m_nCopies = m_pPrinterDef->nCopies;
        m_bPause = m_pPrinterDef->nPauseMode == 1 ? 1 : 0;
        m_nDelay = m_pPrinterDef->nWaitSeconds;
        m_bDelay = m_nDelay > 0 ? 1 : 0;
    }
    ui::Dialog::OnInitDialog();
    EnableStartPage();
    return true;
}

void CDialogPrintSetup::EnableStartPage()
{
    EnableDlgItem(kIdStartPage, IsDlgButtonChecked(kIdPageNumbers) == 1);
}

void CDialogPrintSetup::OnOK()
{
    if (!UpdateData(true))
        return;
    if (m_pPrinterDef) {
        ui::ListBox* list = List(kIdPrinters);
        const int index = list ? list->GetCurSel() : -1;
        if (index >= 0) {
            const intptr_t slot = list->GetItemData(index);
            if (slot >= 0 && static_cast<size_t>(slot) < m_aPrinters.size())
                m_pPrinterDef->sDevice = m_aPrinters[static_cast<size_t>(slot)];
        }
        if (m_nMode == 1) {
            m_pPrinterDef->nCopies = m_nCopies;
            m_pPrinterDef->nPageNumbers = m_bPageNumbers;
        }
        m_pPrinterDef->nPauseMode = m_bPause;
        m_pPrinterDef->nWaitSeconds = m_bDelay == 1 ? m_nDelay : 0;
    }
    EndDialog(ui::IDOK);
}

bool CDialogPrintSetup::OnCommand(int id, int code)
{
    if (id == kIdPageNumbers && code == ui::BN_CLICKED) {
        EnableStartPage();
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogPrintSetup::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext))
        return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
