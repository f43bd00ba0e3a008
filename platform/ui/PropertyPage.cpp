#include "platform/ui/PropertyPage.h"

#include "platform/ui/PropertySheet.h"
#include "platform/ui/WindowImpl.h"

#include <QWidget>

namespace ui {

PropertyPage::PropertyPage(const DialogTemplate& tmpl) : Dialog(tmpl, nullptr) {}

PropertyPage::~PropertyPage() = default;

std::string PropertyPage::GetTitle() const
{
    return title_.empty() ? std::string(GetTemplate().caption) : title_;
}

bool PropertyPage::OnSetActive() { return true; }
bool PropertyPage::OnKillActive() { return UpdateData(true); }
void PropertyPage::OnOK() {}
void PropertyPage::OnCancel() {}

bool PropertyPage::OnApply()
{
    OnOK();
    return true;
}

void PropertyPage::SetModified(bool modified)
{
    if (sheet_) sheet_->EnableApply(modified);
}

bool PropertyPage::IsPageCreated() const { return created_; }

}  // namespace ui
