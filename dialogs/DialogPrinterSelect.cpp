#include "dialogs/DialogPrinterSelect.h"

#include "widgets/ControlHelpers.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/PrinterDC.h"
#include "dialogs/PrinterChoice.h"

namespace {

constexpr int kIdPrinters = 1228;
constexpr uint32_t kHelpContext = 0x20000 + 225;

const ui::DialogTemplate kPrinterSelectTemplate{225, "Printer selection", 0, 0, {
    {ui::Ctl::ListBox, kIdPrinters, ""},
    {ui::Ctl::DefButton, ui::IDOK, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

}  // namespace

CDialogPrinterSelect::CDialogPrinterSelect(ui::Window* parent)
    : ui::Dialog(kPrinterSelectTemplate, parent)
{
}

bool CDialogPrinterSelect::OnInitDialog()
{
    ui::Dialog::OnInitDialog();
    m_strPrinter = GetDefaultPrinter();
    // Until the program has a default of its own, the print system's default is the one in use.
    const std::string current =
        m_strPrinter.empty() ? ui::PrinterDC::ResolvePrinterName("") : m_strPrinter;
    m_aPrinters.clear();
    ui::ListBox* list = List(kIdPrinters);
    if (!list)
        return true;
    list->ResetContent();
    for (const std::string& printer : ui::PrinterDC::ListPrinters()) {
        const int index = list->AddString(printer);
        list->SetItemData(index, static_cast<intptr_t>(m_aPrinters.size()));
        m_aPrinters.push_back(printer);
        if (printer == current)
            list->SetCurSel(index);
    }
    return true;
}

void CDialogPrinterSelect::OnOK()
{
    ui::ListBox* list = List(kIdPrinters);
    const int index = list ? list->GetCurSel() : -1;
    if (index >= 0) {
        const intptr_t slot = list->GetItemData(index);
        if (slot >= 0 && static_cast<size_t>(slot) < m_aPrinters.size())
            m_strPrinter = m_aPrinters[static_cast<size_t>(slot)];
    }
    EndDialog(ui::IDOK);
}

bool CDialogPrinterSelect::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext))
        return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
