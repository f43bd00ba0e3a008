#include "platform/ui/PropertySheet.h"

#include "platform/ui/PropertyPage.h"
#include "platform/ui/WindowImpl.h"

#include <QApplication>
#include <QBoxLayout>
#include <QStackedWidget>
#include <QTabBar>
#include <QWidget>

namespace ui {

namespace {

const DialogTemplate& SheetTemplate()
{
    static const DialogTemplate tmpl{0, "", 0, 0, {
        {Ctl::DefButton, IDOK, "OK"},
        {Ctl::Button, IDCANCEL, "Cancel"},
        {Ctl::Button, ID_APPLY_NOW, "&Apply", WS_DISABLED},
    }};
    return tmpl;
}

}  // namespace

PropertySheet::PropertySheet(const std::string& caption, Window* parent, int startPage)
    : Dialog(SheetTemplate(), parent), caption_(caption), startPage_(startPage)
{
}

PropertySheet::~PropertySheet() = default;

void PropertySheet::AddPage(PropertyPage* page)
{
    if (!page) return;
    page->sheet_ = this;
    WindowAccess::SetParent(*page, this);
    pages_.push_back(page);
    if (auto* tabs = static_cast<QTabBar*>(tabs_)) tabs->addTab(ToQ(page->GetTitle()));
}

PropertyPage* PropertySheet::GetPage(int index) const
{
    return index >= 0 && index < GetPageCount() ? pages_[index] : nullptr;
}

PropertyPage* PropertySheet::GetActivePage() const { return GetPage(active_); }

void PropertySheet::SetTitle(const std::string& caption)
{
    caption_ = caption;
    if (IsCreated()) SetWindowText(caption);
}

bool PropertySheet::BuildWindow(Window* parent)
{
    if (!Dialog::BuildWindow(parent)) return false;
    if (noApply_) ShowDlgItem(ID_APPLY_NOW, false);
    QWidget* host = GetWidget();
    host->setWindowTitle(ToQ(caption_));
    auto* tabs = new QTabBar(host);
    auto* stack = new QStackedWidget(host);
    tabs_ = tabs;
    stack_ = stack;
    for (PropertyPage* page : pages_) tabs->addTab(ToQ(page->GetTitle()));
    if (auto* box = qobject_cast<QBoxLayout*>(host->layout())) {
        box->insertWidget(0, tabs);
        box->insertWidget(1, stack, 1);
    }
    QObject::connect(tabs, &QTabBar::currentChanged, WindowAccess::Get(*this), [this](int index) {
        if (index == active_) return;
        if (!SetActivePage(index)) {
            QSignalBlocker block(static_cast<QTabBar*>(tabs_));
            static_cast<QTabBar*>(tabs_)->setCurrentIndex(active_);
        }
    });
    return true;
}

bool PropertySheet::OnInitDialog()
{
    Dialog::OnInitDialog();
    active_ = -1;
    const int first = startPage_ >= 0 && startPage_ < GetPageCount() ? startPage_ : 0;
    if (!pages_.empty()) ShowPage(first);
    return true;
}

bool PropertySheet::ShowPage(int index)
{
    PropertyPage* page = GetPage(index);
    auto* stack = static_cast<QStackedWidget*>(stack_);
    if (!page || !stack) return false;
    if (!page->created_) {
        auto* widget = new QWidget(stack);
        WindowAccess::Attach(*page, widget, this, false);
        page->BuildControls(widget);
        stack->addWidget(widget);
        page->created_ = true;
        page->modal_ = false;
        page->ended_ = false;
        stack->setCurrentWidget(widget);
        page->OnInitDialog();
    }
    stack->setCurrentWidget(page->GetWidget());
    active_ = index;
    if (auto* tabs = static_cast<QTabBar*>(tabs_)) {
        QSignalBlocker block(tabs);
        tabs->setCurrentIndex(index);
    }
    page->OnSetActive();
    return true;
}

bool PropertySheet::SetActivePage(int index)
{
    if (!GetPage(index)) return false;
    if (index == active_) return true;
    if (PropertyPage* current = GetActivePage(); current && !current->OnKillActive()) return false;
    return ShowPage(index);
}

void PropertySheet::EnableApply(bool enable) { EnableDlgItem(ID_APPLY_NOW, enable); }

void PropertySheet::Apply()
{
    if (PropertyPage* current = GetActivePage(); current && !current->OnKillActive()) return;
    for (PropertyPage* page : pages_)
        if (page->created_ && !page->OnApply()) return;
    EnableApply(false);
}

void PropertySheet::OnOK()
{
    if (PropertyPage* current = GetActivePage(); current && !current->OnKillActive()) return;
    for (PropertyPage* page : pages_)
        if (page->created_) page->OnOK();
    EndDialog(IDOK);
}

void PropertySheet::OnCancel()
{
    for (PropertyPage* page : pages_)
        if (page->created_) page->OnCancel();
    EndDialog(IDCANCEL);
}

bool PropertySheet::OnCommand(int id, int code)
{
    if (id == ID_APPLY_NOW && code == BN_CLICKED) {
        Apply();
        return true;
    }
    return Dialog::OnCommand(id, code);
}

void PropertySheet::OnDestroy()
{
    // The pages' windows go with the sheet's, before it.
    for (PropertyPage* page : pages_) page->DestroyDialogWindow();
    active_ = -1;
    tabs_ = nullptr;
    stack_ = nullptr;
}

}  // namespace ui
