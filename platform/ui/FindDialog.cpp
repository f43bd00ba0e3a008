#include "platform/ui/FindDialog.h"

#include "platform/ui/DialogTemplate.h"

namespace ui {

namespace {

const DialogTemplate kFindTemplate{FindDialog::kTemplateId, "Find", 0, 0, {
    {Ctl::Label, -1, "Fi&nd what:", 0, -1, -1, 0, 0},
    {Ctl::Edit, FindDialog::kIdText, "", 0, -1, -1, 0, 0},
    {Ctl::CheckBox, FindDialog::kIdMatchCase, "Match &case", 0, -1, -1, 0, 0},
    {Ctl::DefButton, IDOK, "&Find Next", 0, -1, -1, 0, 0},
    {Ctl::Button, IDCANCEL, "Cancel", 0, -1, -1, 0, 0},
}};

}  // namespace

FindDialog::FindDialog(Window* parent, FindNext onFindNext)
    : Dialog(kFindTemplate, parent), parent_(parent), onFindNext_(std::move(onFindNext))
{
}

void FindDialog::Open(const std::string& text)
{
    text_ = text;
    if (IsCreated()) {
        ShowWindow(true);
        BringWindowToTop();
        return;
    }
    Create(parent_);
}

std::string FindDialog::GetFindText() const
{
    return IsCreated() ? GetDlgItemText(kIdText) : text_;
}

bool FindDialog::OnInitDialog()
{
    Dialog::OnInitDialog();
    SetDlgItemText(kIdText, text_);
    return true;
}

void FindDialog::OnOK()
{
    text_ = GetDlgItemText(kIdText);
    if (onFindNext_) onFindNext_(text_, IsDlgButtonChecked(kIdMatchCase) != 0);
}

void FindDialog::OnCancel()
{
    text_ = GetDlgItemText(kIdText);
    DestroyWindow();
}

}  // namespace ui
