#include "dialogs/DialogContinuePrint.h"

#include "widgets/ControlHelpers.h"

namespace {

constexpr int kIdRepeatPage = 1259;
constexpr uint32_t kHelpContext = 0x20000 + 224;

const ui::DialogTemplate kContinuePrintTemplate{224, "Continue printing", 156, 17, {
    {ui::Ctl::DefButton, ui::IDOK, "Continue"},
    {ui::Ctl::Button, kIdRepeatPage, "Repeat page"},
    {ui::Ctl::Button, ui::IDCANCEL, "Abort"},
}};

}  // namespace

CDialogContinuePrint::CDialogContinuePrint(ui::Window* parent)
    : ui::Dialog(kContinuePrintTemplate, parent)
{
}

void CDialogContinuePrint::OnOK() { EndDialog(ui::IDYES); }

void CDialogContinuePrint::OnCancel() { EndDialog(ui::IDNO); }

bool CDialogContinuePrint::OnCommand(int id, int code)
{
    if (id == kIdRepeatPage && code == ui::BN_CLICKED) {
        EndDialog(ui::IDIGNORE);
        return true;
    }
    return ui::Dialog::OnCommand(id, code);
}

bool CDialogContinuePrint::PreTranslateMessage(const ui::Msg& msg)
{
    if (HandleHelpKey(msg, kHelpContext))
        return true;
    return ui::Dialog::PreTranslateMessage(msg);
}
