#include "dialogs/PrinterChoice.h"

#include "dialogs/DialogPrinterSelect.h"
#include "platform/ui/PrinterDC.h"

namespace {
constexpr const char* kDefaultDevice = "DEFAULT";
}

std::string GetDefaultPrinter() { return ui::PrinterDC::GetDefaultPrinter(); }

void SetDefaultPrinter(const std::string& device)
{
    if (device.empty() || device == kDefaultDevice)
        return;
    ui::PrinterDC::SetDefaultPrinter(device);
}

int ListPrinters(std::vector<std::string>& names, std::vector<std::string>& devices)
{
    names.push_back("System default printer");
    devices.push_back(kDefaultDevice);
    int count = 0;
    for (const std::string& printer : ui::PrinterDC::ListPrinters()) {
        names.push_back(printer);
        devices.push_back(printer);
        ++count;
    }
    return count;
}

std::string SelectPrinter(int makeDefault)
{
    CDialogPrinterSelect dialog(nullptr);
    if (dialog.DoModal() != ui::IDOK)
        return "";
    if (makeDefault == 1)
        SetDefaultPrinter(dialog.m_strPrinter);
    return dialog.m_strPrinter;
}
