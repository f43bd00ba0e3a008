#include "platform/ui/TestHooks.h"

#include "platform/ui/Application.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/ListBox.h"
#include "platform/ui/RecordingDC.h"
#include "platform/ui/SpinButton.h"
#include "platform/ui/WindowImpl.h"

#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

#include <algorithm>
#include <cstdlib>

// Qt's own entry to the shortcut map for a key event that did not come from the window system.
Q_GUI_EXPORT bool qt_sendShortcutOverrideEvent(QObject* o, ulong timestamp, int k, Qt::KeyboardModifiers mods,
                                               const QString& text = QString(), bool autorep = false,
                                               ushort count = 1);

namespace ui::test {

Hooks& GetHooks()
{
    static Hooks hooks;
    return hooks;
}

Hooks& ResetHooks()
{
    GetHooks() = Hooks{};
    return GetHooks();
}

void AddFailure(const std::string& what) { GetHooks().failures.push_back(what); }

bool ChooseSystemMenuItem(Window& window, uint32_t command)
{
    for (const auto& [id, text] : window.GetSystemMenuItems()) {
        if (id != command || text.empty()) continue;
        window.OnSysCommand(command);
        return true;
    }
    return false;
}

void EnsureApplication()
{
    if (Application::Instance()) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    // Never destroyed: windows of the test program may outlive any static.
    static Application* app = new Application(argc, argv);
    app->SetTitle("Dorvalquintex");
}

void DeleteDestroyedWindows()
{
    if (QCoreApplication::instance()) QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

namespace {

// Makes a shown top-level window the active one, so that focus changes inside it send their
// focus events; the offscreen platform activates windows only when asked.
void ActivateWindow(QWidget* top)
{
    if (!top || !top->isVisible() || top->isActiveWindow()) return;
    top->activateWindow();
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

QWidget* ControlWidget(Dialog& dialog, int id)
{
    Window* w = dialog.GetDlgItem(id);
    return w ? w->GetWidget() : nullptr;
}

}  // namespace

bool SetText(Dialog& dialog, int id, const std::string& text)
{
    QWidget* w = ControlWidget(dialog, id);
    if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        edit->selectAll();
        edit->insert(ToQ(text));  // as typed: case styles and the limit apply
        return true;
    }
    if (auto* multi = qobject_cast<QPlainTextEdit*>(w)) {
        QString t = ToQ(text);
        multi->setPlainText(t.replace("\r\n", "\n"));
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (!combo->isEditable()) return false;
        combo->lineEdit()->selectAll();
        combo->lineEdit()->insert(ToQ(text));
        return true;
    }
    return false;
}

bool Click(Dialog& dialog, int id)
{
    auto* b = qobject_cast<QAbstractButton*>(ControlWidget(dialog, id));
    if (!b || !b->isEnabled()) return false;
    b->click();
    return true;
}

bool SelectItem(Dialog& dialog, int id, int index)
{
    QWidget* w = ControlWidget(dialog, id);
    if (auto* list = qobject_cast<QListWidget*>(w)) {
        if (index < -1 || index >= list->count()) return false;
        if (index < 0) list->clearSelection();
        else list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
        return true;
    }
    if (auto* combo = qobject_cast<QComboBox*>(w)) {
        if (index < 0 || index >= combo->count()) return false;
        combo->setCurrentIndex(index);
        emit combo->activated(index);
        return true;
    }
    return false;
}

bool ToggleItem(Dialog& dialog, int id, int index)
{
    auto* list = qobject_cast<QListWidget*>(ControlWidget(dialog, id));
    if (!list || index < 0 || index >= list->count()) return false;
    list->setCurrentRow(index, QItemSelectionModel::Toggle);
    return true;
}

bool DoubleClickItem(Dialog& dialog, int id, int index)
{
    auto* list = qobject_cast<QListWidget*>(ControlWidget(dialog, id));
    if (!list || index < 0 || index >= list->count()) return false;
    list->setCurrentRow(index, QItemSelectionModel::ClearAndSelect);
    emit list->itemDoubleClicked(list->item(index));
    return true;
}

bool SpinStep(Dialog& dialog, int id, int delta)
{
    SpinButton* spin = dialog.Spin(id);
    if (!spin) return false;
    spin->Step(delta);
    return true;
}

bool Focus(Dialog& dialog, int id)
{
    Window* w = dialog.GetDlgItem(id);
    if (!w || !w->GetWidget()) return false;
    ActivateWindow(w->GetWidget()->window());
    w->SetFocus();
    return true;
}

namespace {

// The widget and point that take a mouse event at a client point of the window.
QWidget* MouseTarget(Window& window, QPoint& p)
{
    QWidget* w = window.GetWidget();
    if (!w) return nullptr;
    if (auto* area = qobject_cast<QAbstractScrollArea*>(w)) return area->viewport();
    if (QWidget* child = w->childAt(p)) {
        p = child->mapFrom(w, p);
        return child;
    }
    return w;
}

// Sends one mouse event; false when the target went away with an earlier one.
bool SendMouse(const QPointer<QWidget>& target, QEvent::Type type, QPoint p, Qt::MouseButton button,
               Qt::MouseButtons held, Qt::KeyboardModifiers modifiers = {})
{
    if (!target) return false;
    const QPointF local(p);
    QMouseEvent event(type, local, target->mapToGlobal(local), button, held, modifiers);
    QApplication::sendEvent(target.data(), &event);
    return true;
}

}  // namespace

bool ClickAt(Window& window, int x, int y, uintptr_t keys)
{
    QPoint p(x, y);
    QPointer<QWidget> target = MouseTarget(window, p);
    if (!target) return false;
    Qt::KeyboardModifiers modifiers;
    if (keys & MK_SHIFT) modifiers |= Qt::ShiftModifier;
    if (keys & MK_CONTROL) modifiers |= Qt::ControlModifier;
    SendMouse(target, QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, modifiers);
    SendMouse(target, QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, modifiers);
    return true;
}

bool DragAt(Window& window, int x1, int y1, int x2, int y2)
{
    QPoint from(x1, y1);
    QPointer<QWidget> target = MouseTarget(window, from);
    if (!target) return false;
    const QPoint to = from + QPoint(x2 - x1, y2 - y1);
    SendMouse(target, QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
    SendMouse(target, QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    return true;
}

bool RightClickAt(Window& window, int x, int y)
{
    QPoint p(x, y);
    QPointer<QWidget> target = MouseTarget(window, p);
    if (!target) return false;
    SendMouse(target, QEvent::MouseButtonPress, p, Qt::RightButton, Qt::RightButton);
    SendMouse(target, QEvent::MouseButtonRelease, p, Qt::RightButton, Qt::NoButton);
    return true;
}

RecordedPage RecordPaint(Window& window)
{
    QWidget* w = window.GetWidget();
    if (!w) return {};
    RecordingDC dc(std::max(1, w->width()), std::max(1, w->height()), 96);
    SetPaintRecorder(&window, &dc);
    QPaintEvent paint(w->rect());
    QApplication::sendEvent(w, &paint);
    SetPaintRecorder(nullptr, nullptr);
    if (WindowAccess::Get(window)->defaultCalled) return {};
    return dc.CurrentPage();
}

namespace {

void SendKey(Window& window, int vk, bool ctrl, bool alt = false)
{
    QWidget* top = window.GetWidget();
    if (!top) return;
    QWidget* target = top->focusWidget();
    if (!target || !(target == top || top->isAncestorOf(target))) target = top;
    const int key = QtKeyOf(vk);
    const Qt::KeyboardModifiers mods =
        ctrl ? Qt::ControlModifier : alt ? Qt::AltModifier : Qt::NoModifier;
    QString text;
    if (vk == VK_RETURN) text = "\r";
    else if (vk == VK_ESCAPE) text = QString(QChar(27));
    else if (vk == VK_SPACE) text = " ";
    else if (ctrl && vk >= 'A' && vk <= 'Z') text = QString(QChar(vk - 'A' + 1));
    else if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) text = QString(QChar(vk));
    // The shortcut map first, as for a key from the keyboard.
    if (ctrl && qt_sendShortcutOverrideEvent(target, 0, key, mods, text)) return;
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(target, &release);
}

}  // namespace

void PressKey(Window& window, int vk) { SendKey(window, vk, false); }

void PressCtrlKey(Window& window, int vk) { SendKey(window, vk, true); }

void PressAltKey(Window& window, int vk) { SendKey(window, vk, false, true); }

void CloseBox(Window& window)
{
    if (QWidget* w = window.GetWidget()) w->window()->close();
}

bool FireTimer(Window& window, uint32_t id)
{
    if (!window.HasTimer(id)) return false;
    window.OnTimer(id);
    return true;
}

}  // namespace ui::test
