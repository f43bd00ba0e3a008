#include "platform/ui/Window.h"

#include "platform/host/Text.h"
#include "platform/ui/Application.h"
#include "platform/ui/DCQt.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowImpl.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QFocusEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPlainTextEdit>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <atomic>
#include <unordered_map>
#include <vector>

namespace ui {

QString ToQ(const std::string& text)
{
    return QString::fromStdString(host::Cp1252ToUtf8(text));
}

std::string FromQ(const QString& text)
{
    return host::Utf8ToCp1252Lossy(text.toStdString());
}

namespace {

std::atomic<uint64_t> g_nextSerial{1};
// Main thread only.
std::unordered_map<uint64_t, Window*>& Registry()
{
    static auto* map = new std::unordered_map<uint64_t, Window*>;  // outlives every window
    return *map;
}
std::unordered_map<const QWidget*, Window*>& WidgetMap()
{
    static auto* map = new std::unordered_map<const QWidget*, Window*>;
    return *map;
}
std::vector<MessageFilter>& Filters()
{
    static auto* filters = new std::vector<MessageFilter>;
    return *filters;
}

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::User + 0x404);

struct PostedMessage : public QEvent {
    PostedMessage(uint64_t s, uint32_t m, uintptr_t w, intptr_t l)
        : QEvent(kPostedMessage), serial(s), message(m), wParam(w), lParam(l) {}
    uint64_t serial;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// Receives the posted messages on the main thread and runs them, in the order posted.
class Poster : public QObject {
public:
    bool event(QEvent* e) override
    {
        if (e->type() != kPostedMessage) return QObject::event(e);
        auto* pm = static_cast<PostedMessage*>(e);
        auto it = Registry().find(pm->serial);
        if (it == Registry().end()) return true;  // window gone: dropped
        Window* w = it->second;
        Msg msg{w, pm->message, pm->wParam, pm->lParam};
        if (!w->PreTranslateMessage(msg)) w->OnMessage(pm->message, pm->wParam, pm->lParam);
        return true;
    }
};

std::atomic<Poster*> g_poster{nullptr};

// The top-level dialog that a window belongs to (a property page's is its sheet).
Dialog* DialogOf(Window* w)
{
    for (Window* p = w; p; p = p->GetParent()) {
        auto* d = dynamic_cast<Dialog*>(p);
        if (d && d->GetWidget() && d->GetWidget()->isWindow()) return d;
    }
    return nullptr;
}

bool IsWantReturnEdit(QWidget* w)
{
    return qobject_cast<QPlainTextEdit*>(w) && w->property("ui.wantreturn").toBool();
}

// The MK_ flags of a mouse event: buttons held and the shift and control keys.
uintptr_t MouseKeys(const QMouseEvent* me)
{
    uintptr_t keys = 0;
    if (me->buttons() & Qt::LeftButton) keys |= MK_LBUTTON;
    if (me->buttons() & Qt::RightButton) keys |= MK_RBUTTON;
    if (me->modifiers() & Qt::ShiftModifier) keys |= MK_SHIFT;
    if (me->modifiers() & Qt::ControlModifier) keys |= MK_CONTROL;
    return keys;
}

intptr_t PointParam(const QPoint& p)
{
    return static_cast<intptr_t>((p.x() & 0xFFFF) | ((p.y() & 0xFFFF) << 16));
}

// Sees every key and mouse event of the program before the widget does: the message filters,
// PreTranslateMessage up the window chain, then the dialog keys.
class LayerFilter {
public:
    static bool Filter(QObject* watched, QEvent* event)
    {
        const QEvent::Type t = event->type();
        if (t != QEvent::KeyPress && t != QEvent::KeyRelease && t != QEvent::MouseButtonPress &&
            t != QEvent::MouseButtonRelease && t != QEvent::MouseButtonDblClick &&
            t != QEvent::MouseMove)
            return false;
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) return false;
        Window* target = WindowFromWidget(widget);
        if (!target) return false;

        std::vector<Msg> msgs;
        int vk = 0;
        if (t == QEvent::KeyPress) {
            auto* ke = static_cast<QKeyEvent*>(event);
            vk = VirtualKeyOf(ke->key(), ke->text());
            // With Alt held a key is a system key, as on Win32; Alt alone stays a key-down.
            const bool alt = (ke->modifiers() & Qt::AltModifier) && vk != VK_MENU;
            if (vk) msgs.push_back({target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<uintptr_t>(vk), 0});
            const std::string text = FromQ(ke->text());
            if (!alt && text.size() == 1 && static_cast<unsigned char>(text[0]) >= 0x20 &&
                text[0] != 0x7F)
                msgs.push_back({target, WM_CHAR,
                                static_cast<uintptr_t>(static_cast<unsigned char>(text[0])), 0});
        } else if (t == QEvent::KeyRelease) {
            auto* ke = static_cast<QKeyEvent*>(event);
            // Auto-repeat sends presses only, as Win32 does.
            if (ke->isAutoRepeat()) return false;
            vk = VirtualKeyOf(ke->key(), ke->text());
            if (vk) msgs.push_back({target, WM_KEYUP, static_cast<uintptr_t>(vk), 0});
        } else {
            auto* me = static_cast<QMouseEvent*>(event);
            const intptr_t lp = PointParam(me->position().toPoint());
            const uintptr_t keys = MouseKeys(me);
            if (t == QEvent::MouseMove) {
                msgs.push_back({target, WM_MOUSEMOVE, keys, lp});
            } else if (me->button() == Qt::LeftButton) {
                const uint32_t m = t == QEvent::MouseButtonPress     ? WM_LBUTTONDOWN
                                   : t == QEvent::MouseButtonRelease ? WM_LBUTTONUP
                                                                     : WM_LBUTTONDBLCLK;
                msgs.push_back({target, m, keys, lp});
            } else if (me->button() == Qt::RightButton && t != QEvent::MouseButtonDblClick) {
                msgs.push_back({target,
                                t == QEvent::MouseButtonPress ? WM_RBUTTONDOWN : WM_RBUTTONUP,
                                keys, lp});
            }
        }
        if (msgs.empty()) return false;

        for (const Msg& m : msgs) {
            // Innermost filter first; a copy, as filters may push or pop.
            std::vector<MessageFilter> filters = Filters();
            for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
                if ((*it)(m)) return true;
            }
            for (Window* w = target; w; w = w->GetParent()) {
                if (w->PreTranslateMessage(m)) return true;
            }
        }
        if (t == QEvent::KeyPress && (vk == VK_RETURN || vk == VK_ESCAPE) &&
            widget->window()->windowType() != Qt::Popup) {
            Dialog* d = DialogOf(target);
            if (d && !(vk == VK_RETURN && IsWantReturnEdit(widget))) {
                auto* ke = static_cast<QKeyEvent*>(event);
                // A combo box's open list takes its own keys.
                if (ke->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
                return d->HandleDialogKey(vk);
            }
        }
        return false;
    }
};

}  // namespace

bool PreTranslateEvent(QObject* receiver, QEvent* event)
{
    return LayerFilter::Filter(receiver, event);
}

void InstallLayerHooks()
{
    if (!QCoreApplication::instance()) return;
    if (!g_poster.load()) g_poster.store(new Poster);
}

void PushMessageFilter(MessageFilter filter) { Filters().push_back(std::move(filter)); }
void PopMessageFilter()
{
    if (!Filters().empty()) Filters().pop_back();
}

Window* WindowFromWidget(const QWidget* widget)
{
    for (const QWidget* w = widget; w; w = w->parentWidget()) {
        auto it = WidgetMap().find(w);
        if (it != WidgetMap().end()) return it->second;
    }
    return nullptr;
}

void NotifyParentAlways(Window& control, int code)
{
    // Reflected to the control first; a control that keeps it leaves the parent untold.
    if (control.OnNotifyReflect(code)) return;
    if (Window* parent = control.GetParent()) parent->OnCommand(control.GetDlgCtrlID(), code);
}

void NotifyParent(Window& control, int code)
{
    if (WindowAccess::Get(control)->programChange > 0) return;
    NotifyParentAlways(control, code);
}

int VirtualKeyOf(int key, const QString& text)
{
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return '0' + (key - Qt::Key_0);
    if (key >= Qt::Key_A && key <= Qt::Key_Z) return 'A' + (key - Qt::Key_A);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12) return VK_F1 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab: case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return: case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Comma: case Qt::Key_Less: return VK_OEM_COMMA;
    case Qt::Key_Period: case Qt::Key_Greater: return VK_OEM_PERIOD;
    case Qt::Key_Minus: case Qt::Key_Underscore: return VK_OEM_MINUS;
    case Qt::Key_Plus: case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Semicolon: case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_Slash: case Qt::Key_Question: return VK_OEM_2;
    case Qt::Key_Asterisk: return VK_MULTIPLY;
    default: break;
    }
    (void)text;
    return 0;
}

int QtKeyOf(int vk)
{
    if (vk >= '0' && vk <= '9') return Qt::Key_0 + (vk - '0');
    if (vk >= 'A' && vk <= 'Z') return Qt::Key_A + (vk - 'A');
    if (vk >= VK_F1 && vk <= VK_F12) return Qt::Key_F1 + (vk - VK_F1);
    switch (vk) {
    case VK_BACK: return Qt::Key_Backspace;
    case VK_TAB: return Qt::Key_Tab;
    case VK_RETURN: return Qt::Key_Return;
    case VK_SHIFT: return Qt::Key_Shift;
    case VK_CONTROL: return Qt::Key_Control;
    case VK_MENU: return Qt::Key_Alt;
    case VK_ESCAPE: return Qt::Key_Escape;
    case VK_SPACE: return Qt::Key_Space;
    case VK_PRIOR: return Qt::Key_PageUp;
    case VK_NEXT: return Qt::Key_PageDown;
    case VK_END: return Qt::Key_End;
    case VK_HOME: return Qt::Key_Home;
    case VK_LEFT: return Qt::Key_Left;
    case VK_UP: return Qt::Key_Up;
    case VK_RIGHT: return Qt::Key_Right;
    case VK_DOWN: return Qt::Key_Down;
    case VK_INSERT: return Qt::Key_Insert;
    case VK_DELETE: return Qt::Key_Delete;
    case VK_OEM_COMMA: return Qt::Key_Comma;
    case VK_OEM_PERIOD: return Qt::Key_Period;
    case VK_OEM_MINUS: return Qt::Key_Minus;
    case VK_OEM_PLUS: return Qt::Key_Plus;
    default: return 0;
    }
}

// ---- Window::Impl -------------------------------------------------------------------------------

Window::Impl::~Impl()
{
    for (auto& [id, timer] : timers) delete timer;
}

namespace {

const Window* g_recordWindow = nullptr;
DC* g_recorder = nullptr;

// Runs a mouse event through the owner's handlers; false when none of them was overridden.
bool RouteMouse(Window* w, QEvent::Type type, const QMouseEvent* me)
{
    const QPoint p = me->position().toPoint();
    if (type == QEvent::MouseMove) w->OnMouseMove(p.x(), p.y());
    else if (me->button() == Qt::LeftButton) {
        if (type == QEvent::MouseButtonPress) w->OnLButtonDown(p.x(), p.y());
        else if (type == QEvent::MouseButtonRelease) w->OnLButtonUp(p.x(), p.y());
        else w->OnLButtonDblClk(p.x(), p.y());
    } else if (me->button() == Qt::RightButton && type == QEvent::MouseButtonPress)
        w->OnRButtonDown(p.x(), p.y());
    else return false;
    return true;
}

}  // namespace

void SetPaintRecorder(const Window* recordWindow, DC* recorder)
{
    g_recordWindow = recordWindow;
    g_recorder = recorder;
}

bool Window::Impl::eventFilter(QObject* watched, QEvent* event)
{
    QWidget* own = widget.data();
    if (!own) return false;
    Window* w = owner;
    if (watched != own) {
        // A subclassed scroll area's mouse arrives at its viewport, in client coordinates.
        auto* area = qobject_cast<QAbstractScrollArea*>(own);
        if (!subclassed || !area || watched != area->viewport()) return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
            defaultCalled = false;
            if (!RouteMouse(w, event->type(), static_cast<QMouseEvent*>(event))) return false;
            return !defaultCalled;
        default:
            return false;
        }
    }
    switch (event->type()) {
    case QEvent::Paint:
        if (g_recorder && g_recordWindow == w) {
            defaultCalled = false;
            w->OnPaint(*g_recorder);
            return true;
        }
        if (routeEvents) {
            QPainter painter(widget);
            DC dc(&painter);
            w->OnPaint(dc);
            return true;
        }
        if (!subclassed || paint == Paint::Native) return false;
        {
            defaultCalled = false;
            {
                QPainter painter(widget);
                DC dc(&painter);
                w->OnPaint(dc);
            }
            // The class leaves painting to the control: it is never asked again.
            if (defaultCalled) {
                paint = Paint::Native;
                return false;
            }
            paint = Paint::Owner;
            return true;
        }
    case QEvent::KeyPress:
        if (!routeEvents && !subclassed) return false;
        {
            auto* ke = static_cast<QKeyEvent*>(event);
            bool handled = false;
            if (int vk = VirtualKeyOf(ke->key(), ke->text())) handled = w->OnKeyDown(vk);
            const std::string text = FromQ(ke->text());
            if (!handled && text.size() == 1 && static_cast<unsigned char>(text[0]) >= 0x20)
                handled = w->OnChar(static_cast<unsigned char>(text[0]));
            return handled;
        }
    case QEvent::KeyRelease:
        if (!routeEvents && !subclassed) return false;
        {
            auto* ke = static_cast<QKeyEvent*>(event);
            if (ke->isAutoRepeat()) return false;
            const int vk = VirtualKeyOf(ke->key(), ke->text());
            return vk && w->OnKeyUp(vk);
        }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
        if (routeEvents) {
            RouteMouse(w, event->type(), static_cast<QMouseEvent*>(event));
            return true;
        }
        if (!subclassed) return false;
        defaultCalled = false;
        if (!RouteMouse(w, event->type(), static_cast<QMouseEvent*>(event))) return false;
        return !defaultCalled;
    case QEvent::FocusIn:
    case QEvent::FocusOut:
        // A combo box's list opening takes no focus in Win32.
        if (static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
            if (event->type() == QEvent::FocusIn) w->OnSetFocus();
            else w->OnKillFocus();
        }
        return false;
    case QEvent::Resize:
        if (routeEvents) w->OnSize(widget->width(), widget->height());
        return false;
    case QEvent::Show:
        if (routeEvents) w->OnShowWindow(true);
        return false;
    case QEvent::Hide:
        if (routeEvents) w->OnShowWindow(false);
        return false;
    case QEvent::Close:
        if (!widget->isWindow()) return false;
        event->ignore();
        w->OnClose();
        return true;
    default:
        return false;
    }
}

void WindowAccess::Attach(Window& w, QWidget* widget, Window* parent, bool routeEvents)
{
    InstallLayerHooks();
    Window::Impl* impl = w.impl_.get();
    if (impl->widget) w.DestroyWindow();
    impl->widget = widget;
    impl->routeEvents = routeEvents;
    w.parent_ = parent;
    WidgetMap()[widget] = &w;
    widget->installEventFilter(impl);
    QObject::connect(widget, &QObject::destroyed, impl, [widget]() { WidgetMap().erase(widget); });
}

void WindowAccess::Transfer(Window& from, Window& to)
{
    if (to.impl_->widget) to.DestroyWindow();
    std::swap(from.impl_, to.impl_);
    from.impl_->owner = &from;
    to.impl_->owner = &to;
    to.parent_ = from.parent_;
    to.id_ = from.id_;
    Window::Impl* impl = to.impl_.get();
    if (QWidget* widget = impl->widget.data()) {
        WidgetMap()[widget] = &to;
        if (!impl->routeEvents && !impl->subclassed) {
            impl->subclassed = true;
            impl->paint = Window::Impl::Paint::Unknown;
            if (auto* area = qobject_cast<QAbstractScrollArea*>(widget))
                area->viewport()->installEventFilter(impl);
            widget->update();
        }
    }
}

// ---- Window -------------------------------------------------------------------------------------

Window::Window() : impl_(std::make_unique<Impl>(this)), serial_(g_nextSerial++)
{
    Registry()[serial_] = this;
}

Window::~Window()
{
    Registry().erase(serial_);
    if (impl_->widget) {
        // Deferred: the window may be going away from inside one of its own handlers.
        QWidget* w = impl_->widget.data();
        WidgetMap().erase(w);
        w->removeEventFilter(impl_.get());
        w->hide();
        w->deleteLater();
    }
}

bool Window::Create(Window* parent, const DCRect& rect, int id)
{
    if (!QApplication::instance()) return false;
    QWidget* parentWidget = parent ? parent->GetWidget() : nullptr;
    auto* widget = new QWidget(parentWidget);
    widget->setAttribute(Qt::WA_OpaquePaintEvent, false);
    widget->setFocusPolicy(Qt::StrongFocus);
    widget->setMouseTracking(true);
    widget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    id_ = id;
    AttachWidget(widget, parent);
    if (parentWidget) widget->show();
    return true;
}

void Window::AttachWidget(QWidget* widget, Window* parent)
{
    WindowAccess::Attach(*this, widget, parent, true);
}

void Window::DestroyWindow()
{
    if (!impl_->widget) return;
    OnDestroy();
    for (auto& [id, timer] : impl_->timers) delete timer;
    impl_->timers.clear();
    QWidget* w = impl_->widget.data();
    impl_->widget.clear();
    if (w) {
        WidgetMap().erase(w);
        w->removeEventFilter(impl_.get());
        w->hide();
        w->deleteLater();
    }
    if (impl_->autoDelete) {
        // Deleted from the event loop, never inside the handler that destroyed it.
        auto* holder = new QObject;
        Window* self = this;
        QObject::connect(holder, &QObject::destroyed, [self] { delete self; });
        holder->deleteLater();
    }
}

void Window::SetAutoDelete(bool autoDelete) { impl_->autoDelete = autoDelete; }

bool Window::IsCreated() const { return !impl_->widget.isNull(); }
QWidget* Window::GetWidget() const { return impl_->widget.data(); }

void Window::SetWindowText(const std::string& text)
{
    QWidget* w = impl_->widget.data();
    if (!w) return;
    const QString q = ToQ(text);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        QString t = q;
        const int caseStyle = edit->property("ui.case").toInt();
        if (caseStyle == 1) t = t.toUpper();
        else if (caseStyle == 2) t = t.toLower();
        {
            QSignalBlocker block(edit);
            edit->setText(t);
        }
        NotifyParentAlways(*this, EN_CHANGE);
    } else if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        QString t = q;
        t.replace("\r\n", "\n");
        const int caseStyle = multi->property("ui.case").toInt();
        if (caseStyle == 1) t = t.toUpper();
        else if (caseStyle == 2) t = t.toLower();
        {
            QSignalBlocker block(multi);
            multi->setPlainText(t);
        }
        NotifyParentAlways(*this, EN_CHANGE);
    } else if (auto* label = qobject_cast<QLabel*>(w)) {
        label->setText(q);
    } else if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(q);
    } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
        group->setTitle(q);
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
        ProgramChange change(*this);
        if (combo->isEditable()) combo->setEditText(q);
        else combo->setCurrentIndex(combo->findText(q, Qt::MatchFixedString));
    } else {
        w->setWindowTitle(q);
    }
}

std::string Window::GetWindowText() const
{
    QWidget* w = impl_->widget.data();
    if (!w) return {};
    if (auto* edit = qobject_cast<QLineEdit*>(w)) return FromQ(edit->text());
    if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        QString t = multi->toPlainText();
        t.replace("\n", "\r\n");
        return FromQ(t);
    }
    if (auto* label = qobject_cast<QLabel*>(w)) return FromQ(label->text());
    if (auto* button = qobject_cast<QAbstractButton*>(w)) return FromQ(button->text());
    if (auto* group = qobject_cast<QGroupBox*>(w)) return FromQ(group->title());
    if (auto* combo = qobject_cast<QComboBox*>(w)) return FromQ(combo->currentText());
    return FromQ(w->windowTitle());
}

void Window::ShowWindow(bool show)
{
    if (QWidget* w = impl_->widget.data()) w->setVisible(show);
}

void Window::ShowMaximized()
{
    if (QWidget* w = impl_->widget.data()) w->showMaximized();
}

bool Window::IsZoomed() const
{
    QWidget* w = impl_->widget.data();
    return w && w->isMaximized();
}

bool Window::IsWindowVisible() const
{
    QWidget* w = impl_->widget.data();
    if (!w) return false;
    // A control counts as visible when it is not hidden itself, even while its dialog is hidden.
    return w->isWindow() ? w->isVisible() : !w->isHidden();
}

void Window::EnableWindow(bool enable)
{
    if (QWidget* w = impl_->widget.data()) w->setEnabled(enable);
}

bool Window::IsWindowEnabled() const
{
    QWidget* w = impl_->widget.data();
    return w && w->isEnabled();
}

void Window::SetFocus()
{
    QWidget* w = impl_->widget.data();
    if (!w) return;
    if (auto* edit = qobject_cast<QLineEdit*>(w)) edit->selectAll();
    w->setFocus(Qt::OtherFocusReason);
}

bool Window::HasFocus() const
{
    QWidget* w = impl_->widget.data();
    if (!w) return false;
    QWidget* focus = w->window()->focusWidget();
    return focus && (focus == w || w->isAncestorOf(focus));
}

void Window::SetTextColor(COLORREF colour)
{
    QWidget* w = impl_->widget.data();
    if (!w) return;
    const QColor c = ToQColor(colour);
    QPalette palette = w->palette();
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText}) {
        palette.setColor(QPalette::Active, role, c);
        palette.setColor(QPalette::Inactive, role, c);
    }
    w->setPalette(palette);
}

void Window::SetFont(const Font& font)
{
    if (QWidget* w = impl_->widget.data()) w->setFont(ToQFont(font));
}

void Window::SetBackgroundColor(COLORREF colour)
{
    QWidget* w = impl_->widget.data();
    if (!w) return;
    QPalette palette = w->palette();
    palette.setColor(QPalette::Window, ToQColor(colour));
    w->setPalette(palette);
    w->setAutoFillBackground(true);
}

COLORREF Window::GetTextColor() const
{
    QWidget* w = impl_->widget.data();
    if (!w) return kBlack;
    QPalette::ColorRole role = QPalette::Text;
    if (qobject_cast<QLabel*>(w) || qobject_cast<QGroupBox*>(w)) role = QPalette::WindowText;
    else if (qobject_cast<QAbstractButton*>(w)) role = QPalette::ButtonText;
    return FromQColor(w->palette().color(QPalette::Active, role));
}

void Window::BringWindowToTop()
{
    QWidget* w = impl_->widget.data();
    if (!w) return;
    w->window()->raise();
    w->window()->activateWindow();
}

ArrowWhileAsking::ArrowWhileAsking()
{
    if (!QApplication::overrideCursor()) return;
    QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
    pushed_ = true;
}

ArrowWhileAsking::~ArrowWhileAsking()
{
    if (pushed_) QApplication::restoreOverrideCursor();
}

void Window::SetIcon(const Icon& icon, bool)
{
    impl_->icon = icon;
    QWidget* w = impl_->widget.data();
    if (w && icon.Get()) w->setWindowIcon(*icon.Get());
}

Icon Window::GetIcon(bool) const { return impl_->icon; }

bool Window::IsIconic() const
{
    const QWidget* w = impl_->widget.data();
    return w && w->window()->isMinimized();
}

bool Window::OnSysCommand(uint32_t) { return false; }

const std::vector<std::pair<uint32_t, std::string>>& Window::GetSystemMenuItems() const
{
    return impl_->systemMenu;
}

void Window::AppendSystemMenuItem(uint32_t command, const std::string& text)
{
    impl_->systemMenu.emplace_back(command, text);
    QWidget* w = impl_->widget.data();
    if (!w || impl_->systemMenuHooked) return;
    impl_->systemMenuHooked = true;
    const auto open = [this](QPoint at) {
        QWidget* widget = impl_->widget.data();
        if (!widget) return;
        QMenu menu(widget);
        for (const auto& [id, label] : impl_->systemMenu) {
            if (label.empty()) {
                menu.addSeparator();
                continue;
            }
            const uint32_t chosen = id;
            QObject::connect(menu.addAction(ToQ(label)), &QAction::triggered, widget,
                             [this, chosen] { OnSysCommand(chosen); });
        }
        menu.exec(widget->mapToGlobal(at));
    };
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(w, &QWidget::customContextMenuRequested, w, open);
    auto* key = new QShortcut(QKeySequence(Qt::AltModifier | Qt::Key_Space), w);
    QObject::connect(key, &QShortcut::activated, w, [open] { open(QPoint(0, 0)); });
}

void Window::SetCursorShape(CursorShape shape)
{
    QWidget* w = impl_->widget.data();
    if (!w) return;
    switch (shape) {
    case CursorShape::Arrow: w->unsetCursor(); break;
    case CursorShape::SizeWE: w->setCursor(Qt::SizeHorCursor); break;
    case CursorShape::Wait: w->setCursor(Qt::WaitCursor); break;
    case CursorShape::SizeAll: w->setCursor(Qt::SizeAllCursor); break;
    }
}

CursorShape Window::GetCursorShape() const
{
    const QWidget* w = impl_->widget.data();
    if (!w || !w->testAttribute(Qt::WA_SetCursor)) return CursorShape::Arrow;
    switch (w->cursor().shape()) {
    case Qt::SizeHorCursor: return CursorShape::SizeWE;
    case Qt::WaitCursor: return CursorShape::Wait;
    case Qt::SizeAllCursor: return CursorShape::SizeAll;
    default: return CursorShape::Arrow;
    }
}

DCRect Window::GetClientRect() const
{
    QWidget* w = impl_->widget.data();
    if (!w) return {};
    return {0, 0, w->width(), w->height()};
}

DCRect Window::GetWindowRect() const
{
    QWidget* w = impl_->widget.data();
    if (!w) return {};
    const QRect g = w->geometry();
    return {g.left(), g.top(), g.left() + g.width(), g.top() + g.height()};
}

void Window::MoveWindow(const DCRect& rect)
{
    QWidget* w = impl_->widget.data();
    if (!w) return;
    if (w->isWindow()) {
        w->move(rect.left, rect.top);
        w->resize(rect.Width(), rect.Height());
    } else {
        w->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    }
}

QWidget* DefaultOwnerWidget()
{
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    if (QWidget* active = QApplication::activeWindow()) return active;
    // Qt's own list, never a stored pointer that may outlive its window: the main window when it
    // is shown, else the first shown top-level window of the program.
    QWidget* shown = nullptr;
    Application* app = Application::Instance();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (!w->isVisible() || w->windowType() == Qt::Popup || w->windowType() == Qt::ToolTip) continue;
        Window* window = WindowFromWidget(w);
        if (!window) continue;
        if (app && app->GetMainWindow() == window) return w;
        if (!shown) shown = w;
    }
    return shown;
}

void CentreOverOwner(QWidget* widget, QWidget* owner)
{
    if (!widget) return;
    if (!widget->isVisible() && !widget->testAttribute(Qt::WA_Resized)) widget->adjustSize();
    QRect area;
    QScreen* screen = nullptr;
    if (owner && owner->window() != widget && owner->window()->isVisible()) {
        area = owner->window()->frameGeometry();
        screen = owner->window()->screen();
    }
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect();
    if (area.isEmpty()) area = available;
    if (area.isEmpty()) return;
    // frameGeometry less geometry: the title bar and borders the window manager adds.
    const QSize frame = widget->frameGeometry().size() - widget->geometry().size();
    const QSize outer = widget->size() + (frame.isValid() ? frame : QSize());
    QPoint topLeft = area.center() - QPoint(outer.width() / 2, outer.height() / 2);
    if (!available.isEmpty()) {
        topLeft.setX(std::max(available.left(), std::min(topLeft.x(), available.right() + 1 - outer.width())));
        topLeft.setY(std::max(available.top(), std::min(topLeft.y(), available.bottom() + 1 - outer.height())));
    }
    widget->move(topLeft);
}

void Window::CenterWindow()
{
    QWidget* w = impl_->widget.data();
    if (!w) return;
    QWidget* owner = w->parentWidget();
    if (!owner && w->isWindow()) owner = DefaultOwnerWidget();
    CentreOverOwner(w, owner);
}

void Window::Invalidate()
{
    if (QWidget* w = impl_->widget.data()) w->update();
}

void Window::UpdateWindow()
{
    if (QWidget* w = impl_->widget.data()) w->repaint();
}

void Window::SetTimer(uint32_t id, uint32_t ms)
{
    if (!QCoreApplication::instance()) return;
    QTimer*& timer = impl_->timers[id];
    if (!timer) {
        timer = new QTimer;
        Impl* impl = impl_.get();
        QObject::connect(timer, &QTimer::timeout, impl, [impl, id]() { impl->owner->OnTimer(id); });
    }
    timer->stop();
    timer->setInterval(static_cast<int>(ms));
    if (!test::GetHooks().manualTimers) timer->start();
}

bool Window::KillTimer(uint32_t id)
{
    auto it = impl_->timers.find(id);
    if (it == impl_->timers.end()) return false;
    delete it->second;
    impl_->timers.erase(it);
    return true;
}

bool Window::HasTimer(uint32_t id) const { return impl_->timers.count(id) != 0; }

bool Window::PostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    Poster* poster = g_poster.load();
    if (!poster) return false;
    QCoreApplication::postEvent(poster, new PostedMessage(serial_, message, wParam, lParam));
    return true;
}

intptr_t Window::SendMessage(uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    Msg msg{this, message, wParam, lParam};
    if (PreTranslateMessage(msg)) return 0;
    return OnMessage(message, wParam, lParam);
}

// The base handlers of paint and mouse messages leave a control's message to the control itself.
bool Window::OnCommand(int, int) { return false; }
void Window::OnTimer(uint32_t) {}
void Window::OnPaint(DC&) { impl_->defaultCalled = true; }
intptr_t Window::OnMessage(uint32_t, uintptr_t, intptr_t) { return 0; }
bool Window::OnKeyDown(int) { return false; }
bool Window::OnKeyUp(int) { return false; }
bool Window::OnChar(unsigned char) { return false; }
void Window::OnSetFocus() {}
void Window::OnKillFocus() {}
void Window::OnLButtonDown(int, int) { impl_->defaultCalled = true; }
void Window::OnLButtonUp(int, int) { impl_->defaultCalled = true; }
void Window::OnLButtonDblClk(int, int) { impl_->defaultCalled = true; }
void Window::OnRButtonDown(int, int) { impl_->defaultCalled = true; }
void Window::OnMouseMove(int, int) { impl_->defaultCalled = true; }
void Window::OnSize(int, int) {}
void Window::OnShowWindow(bool) {}
void Window::OnClose() { DestroyWindow(); }
void Window::OnDestroy() {}
bool Window::PreTranslateMessage(const Msg&) { return false; }
bool Window::OnNotifyReflect(int) { return false; }

bool PostMessage(Window* window, uint32_t message, uintptr_t wParam, intptr_t lParam)
{
    return window && window->PostMessage(message, wParam, lParam);
}

}  // namespace ui
