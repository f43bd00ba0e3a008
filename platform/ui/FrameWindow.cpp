#include "platform/ui/FrameWindow.h"

#include "platform/ui/DCQt.h"
#include "platform/ui/Messages.h"
#include "platform/ui/View.h"
#include "platform/ui/WindowImpl.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <map>

namespace ui {

namespace {
const char* const kIdleMessage = "Ready";
}

// How often the entries on the bar itself follow their commands' state while the frame shows.
constexpr int kBarUpdateMs = 250;

struct FrameWindow::Impl {
    QPointer<QMenuBar> bar;
    QPointer<QTimer> barTimer;
    std::map<int, QAction*> actions;
    std::vector<QPointer<QMenu>> topMenus;
    std::vector<QPointer<QShortcut>> shortcuts;
};

FrameWindow::FrameWindow() : impl_(std::make_unique<Impl>()) {}
FrameWindow::~FrameWindow()
{
    // The bar timer belongs to the widget, which may outlive this object by a few events: it
    // must not call back into a frame that is gone.
    delete impl_->barTimer.data();
}

bool FrameWindow::CreateFrame(const std::string& title, const DCRect& rect)
{
    if (!Create(nullptr, rect, 0))
        return false;
    SetWindowText(title);
    impl_->bar = new QMenuBar(GetWidget());
    // A popup's entries are brought up to date as it opens; the entries on the bar itself are
    // seen at all times, so they follow their commands' state while the frame is on screen.
    impl_->barTimer = new QTimer(GetWidget());
    QObject::connect(impl_->barTimer, &QTimer::timeout, impl_->barTimer, [this]() {
        if (QWidget* widget = GetWidget(); widget && widget->isVisible())
            UpdateBarState();
    });
    impl_->barTimer->start(kBarUpdateMs);
    DrawMenuBar();
    Layout();
    return true;
}

bool FrameWindow::LoadMenu(int menuId)
{
    const MenuTemplate* tmpl = FindMenuTemplate(menuId);
    if (!tmpl)
        return false;
    SetMenu(Menu(*tmpl));
    return true;
}

void FrameWindow::SetMenu(const Menu& menu)
{
    menu_ = menu;
    DrawMenuBar();
}

void FrameWindow::DrawMenuBar()
{
    QMenuBar* bar = impl_->bar;
    if (!bar)
        return;
    bar->clear();
    impl_->actions.clear();
    impl_->topMenus.clear();
    // Builds the actions of items into a menu (or the bar itself).
    std::function<void(QWidget*, const std::vector<MenuItem>&)> build =
        [&](QWidget* into, const std::vector<MenuItem>& items) {
            for (const MenuItem& item : items) {
                if (item.IsSeparator()) {
                    if (auto* m = qobject_cast<QMenu*>(into))
                        m->addSeparator();
                    continue;
                }
                if (item.IsPopup()) {
                    auto* popup = new QMenu(TextToQString(item.text), into);
                    QObject::connect(popup, &QMenu::aboutToShow, popup,
                                     [this]() { UpdateMenuState(); });
                    // A popup's own entry clears the pane while a menu is open; on the bar with
                    // every menu closed (after Escape) the program is idle again.
                    QObject::connect(popup->menuAction(), &QAction::hovered, popup, [this]() {
                        bool open = false;
                        for (QMenu* menu : impl_->topMenus)
                            open = open || (menu && menu->isVisible());
                        OnMenuSelect(open ? 0 : -1);
                    });
                    build(popup, item.items);
                    if (auto* m = qobject_cast<QMenu*>(into)) {
                        m->addMenu(popup);
                    } else {
                        static_cast<QMenuBar*>(into)->addMenu(popup);
                        QObject::connect(popup, &QMenu::aboutToHide, popup,
                                         [this]() { OnMenuSelect(-1); });
                        impl_->topMenus.push_back(popup);
                    }
                    continue;
                }
                // An item whose text is "-" is drawn as a separator (it keeps its id and state).
                if (item.text == "-") {
                    if (auto* m = qobject_cast<QMenu*>(into)) {
                        QAction* separator = m->addSeparator();
                        separator->setEnabled(item.enabled);
                        impl_->actions[item.id] = separator;
                        continue;
                    }
                }
                // Qt shows text after '\t' as the shortcut text, and '&' marks the mnemonic.
                auto* action = new QAction(TextToQString(item.text), into);
                action->setEnabled(item.enabled);
                action->setCheckable(item.checked);
                action->setChecked(item.checked);
                const int id = item.id;
                // The menu is done before the command runs: the pane goes back to idle (an
                // entry on the bar itself closes no popup that would do it).
                QObject::connect(action, &QAction::triggered, action, [this, id]() {
                    OnMenuSelect(-1);
                    SendCommand(id);
                    UpdateBarState();
                });
                QObject::connect(action, &QAction::hovered, action,
                                 [this, id]() { OnMenuSelect(id); });
                into->addAction(action);
                impl_->actions[id] = action;
            }
        };
    build(bar, menu_.Items());
    UpdateBarState();
    Layout();
}

void FrameWindow::ApplyState(const CmdUI& cmd)
{
    menu_.EnableMenuItem(cmd.GetId(), cmd.IsEnabled());
    menu_.CheckMenuItem(cmd.GetId(), cmd.IsChecked());
    if (cmd.TextSet())
        menu_.SetMenuItemText(cmd.GetId(), cmd.Text());
    auto it = impl_->actions.find(cmd.GetId());
    if (it == impl_->actions.end())
        return;
    QAction* action = it->second;
    action->setEnabled(cmd.IsEnabled());
    action->setCheckable(cmd.IsChecked() || action->isCheckable());
    action->setChecked(cmd.IsChecked());
    if (cmd.TextSet())
        action->setText(TextToQString(cmd.Text()));
}

CmdUI FrameWindow::QueryCommandState(int id)
{
    const MenuItem* item = menu_.Find(id);
    CmdUI cmd(id, item ? item->enabled : true, item ? item->checked : false);
    if (!(activeView_ && activeView_->Updaters().RunUpdateHandler(cmd)))
        updaters_.RunUpdateHandler(cmd);
    return cmd;
}

void FrameWindow::UpdateMenuState()
{
    for (int id : menu_.CommandIds())
        ApplyState(QueryCommandState(id));
}

void FrameWindow::UpdateBarState()
{
    for (const MenuItem& item : menu_.Items())
        if (!item.IsPopup() && !item.IsSeparator())
            ApplyState(QueryCommandState(item.id));
}

void FrameWindow::SetAccelerators(std::vector<Accelerator> accelerators)
{
    accelerators_ = std::move(accelerators);
    for (QShortcut* s : impl_->shortcuts)
        delete s;  // null once the window is gone
    impl_->shortcuts.clear();
    QWidget* widget = GetWidget();
    if (!widget)
        return;
    for (const Accelerator& a : accelerators_) {
        const int key = QtKeyOf(a.vk);
        if (!key)
            continue;
        int combined = key;
        if (a.ctrl)
            combined |= Qt::ControlModifier;
        if (a.shift)
            combined |= Qt::ShiftModifier;
        if (a.alt)
            combined |= Qt::AltModifier;
        auto* shortcut = new QShortcut(QKeySequence(combined), widget);
        shortcut->setContext(Qt::WindowShortcut);
        const Accelerator accel = a;
        QObject::connect(shortcut, &QShortcut::activated, shortcut, [this, accel]() {
            TranslateAccelerator(accel.vk, accel.ctrl, accel.shift, accel.alt);
        });
        impl_->shortcuts.push_back(shortcut);
    }
}

bool FrameWindow::TranslateAccelerator(int vk, bool ctrl, bool shift, bool alt)
{
    for (const Accelerator& a : accelerators_)
        if (a.vk == vk && a.ctrl == ctrl && a.shift == shift && a.alt == alt)
            return SendCommand(a.command);
    return false;
}

void FrameWindow::OnMenuSelect(int id)
{
    if (!hasStatusBar_)
        return;
    statusBar_.SetMessageText(id > 0 ? menu_.GetMenuItemPrompt(id) : id == 0 ? "" : kIdleMessage);
}

bool FrameWindow::HighlightMenuItem(int id)
{
    auto it = impl_->actions.find(id);
    if (it == impl_->actions.end())
        return false;
    it->second->hover();
    return true;
}

void FrameWindow::CloseMenus()
{
    for (QMenu* menu : impl_->topMenus)
        if (menu && menu->isVisible())
            menu->hide();
    OnMenuSelect(-1);
}

bool FrameWindow::CreateStatusBar(const std::vector<int>& paneIds)
{
    if (!statusBar_.Create(this, paneIds))
        return false;
    hasStatusBar_ = true;
    statusBar_.SetMessageText(kIdleMessage);
    Layout();
    return true;
}

DCRect FrameWindow::GetViewRect() const
{
    DCRect r = GetClientRect();
    if (impl_->bar && !impl_->bar->actions().isEmpty())
        r.top += impl_->bar->sizeHint().height();
    if (hasStatusBar_)
        r.bottom -= statusBar_.GetHeight();
    r.bottom = std::max(r.top, r.bottom);
    return r;
}

void FrameWindow::SetActiveView(View* view)
{
    if (view == activeView_)
        return;
    View* old = activeView_;
    activeView_ = view;
    if (old)
        old->OnActivateView(false);
    if (view)
        view->OnActivateView(true);
}

void FrameWindow::SwitchView(View* view)
{
    if (activeView_ && activeView_ != view && activeView_->IsCreated())
        activeView_->ShowWindow(false);
    if (view) {
        view->SetFrame(this);
        if (view->IsCreated()) {
            view->MoveWindow(GetViewRect());
            view->ShowWindow(true);
            view->SetFocus();
            view->Invalidate();
        }
    }
    SetActiveView(view);
    UpdateBarState();
}

bool FrameWindow::SendCommand(int id)
{
    const CmdUI cmd = QueryCommandState(id);
    ApplyState(cmd);
    if (!cmd.IsEnabled())
        return false;
    return OnCmdMsg(id);
}

bool FrameWindow::OnCmdMsg(int id)
{
    if (activeView_ && activeView_->OnCommand(id, 0))
        return true;
    return OnCommand(id, 0);
}

void FrameWindow::OnSize(int, int) { Layout(); }

void FrameWindow::Layout()
{
    QWidget* widget = GetWidget();
    if (!widget)
        return;
    const DCRect client = GetClientRect();
    if (impl_->bar) {
        impl_->bar->setGeometry(0, 0, client.Width(), impl_->bar->sizeHint().height());
        impl_->bar->setVisible(!impl_->bar->actions().isEmpty());
    }
    if (hasStatusBar_)
        statusBar_.MoveWindow({0, client.bottom - statusBar_.GetHeight(), client.Width(),
                               client.bottom});
    if (activeView_ && activeView_->IsCreated())
        activeView_->MoveWindow(GetViewRect());
}

} // namespace ui
