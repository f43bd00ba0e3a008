#pragma once
// Inside of the window layer (Qt side); included by the layer's .cpp files only.

#include "platform/ui/Window.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>
#include <map>
#include <string>

class QLineEdit;
class QTimer;

namespace ui {

// Windows-1252 <-> the screen's text.
QString ToQ(const std::string& text);
std::string FromQ(const QString& text);

struct Window::Impl : public QObject {
    explicit Impl(Window* o) : owner(o) {}
    ~Impl() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

    Window* owner;
    QPointer<QWidget> widget;
    bool routeEvents = false;  // paint, keys, mouse, size, close go to the owner's handlers
    // A control handed to a program class: paint, mouse, keys reach its handlers first.
    bool subclassed = false;
    // Set by the base handlers: the message goes on to the control's own behaviour.
    bool defaultCalled = false;
    // After the first paint of a subclassed control: whether its class draws it.
    enum class Paint { Unknown, Owner, Native } paint = Paint::Unknown;
    int programChange = 0;     // > 0 while code (not the user) changes the control
    std::map<uint32_t, QTimer*> timers;
    Icon icon;
    std::vector<std::pair<uint32_t, std::string>> systemMenu;
    bool systemMenuHooked = false;  // the right click and Alt+Space open it
    bool autoDelete = false;        // the owner is deleted after DestroyWindow
};

// Access to Window internals for the layer's own classes.
struct WindowAccess {
    static Window::Impl* Get(const Window& w) { return w.impl_.get(); }
    static void SetParent(Window& w, Window* parent) { w.parent_ = parent; }
    // Moves the screen window and its state from one object to another (subclassing).
    static void Transfer(Window& from, Window& to);
    static void Attach(Window& w, QWidget* widget, Window* parent, bool routeEvents);
};

// Marks a change made by code: controls send no user notification meanwhile.
class ProgramChange {
public:
    explicit ProgramChange(const Window& w) : impl_(WindowAccess::Get(w)) { ++impl_->programChange; }
    ~ProgramChange() { --impl_->programChange; }
    ProgramChange(const ProgramChange&) = delete;
    ProgramChange& operator=(const ProgramChange&) = delete;

private:
    Window::Impl* impl_;
};

// While a box or modal dialog waits for the user, the pointer is the arrow even when the program
// shows its wait cursor (the wait cursor comes back after).
class ArrowWhileAsking {
public:
    ArrowWhileAsking();
    ~ArrowWhileAsking();
    ArrowWhileAsking(const ArrowWhileAsking&) = delete;
    ArrowWhileAsking& operator=(const ArrowWhileAsking&) = delete;

private:
    bool pushed_ = false;
};

// Sends a control notification to the control's parent unless code is changing the control.
void NotifyParent(Window& control, int code);
// The same without the user-only test (EN_CHANGE).
void NotifyParentAlways(Window& control, int code);

// The Window whose screen window is `widget` or its nearest ancestor; null when none.
Window* WindowFromWidget(const QWidget* widget);

// The window a new box or dialog without an owner of its own belongs to: the modal window in
// front, else the active window, else the program's main window; null when there is none.
QWidget* DefaultOwnerWidget();
// Centres the top-level widget over the owner's window (the screen when there is none), kept
// on the owner's screen. A widget not shown yet first takes the size its layout asks for.
void CentreOverOwner(QWidget* widget, QWidget* owner);

// Upper or lower case as typed (caseStyle 1 or 2) and digits only on a one-line edit.
void SetLineEditRules(QLineEdit* edit, int caseStyle, bool digitsOnly);

// While set, paint messages of `recordWindow` draw into `recorder` instead of the screen (tests).
void SetPaintRecorder(const Window* recordWindow, DC* recorder);

// Virtual-key code of a Qt key event's key (0 when none).
int VirtualKeyOf(int qtKey, const QString& text);
int QtKeyOf(int vk);

// Filters that see every key and mouse-button message of the thread first, innermost last;
// a filter returning true swallows the message.
using MessageFilter = std::function<bool(const Msg&)>;
void PushMessageFilter(MessageFilter filter);
void PopMessageFilter();

// Makes sure the layer's posted-message receiver exists.
void InstallLayerHooks();
// The layer's first look at every key and mouse event of the program, once per delivery (the
// application object calls it before Qt hands the event to its receiver and that receiver's
// parents): the message filters, PreTranslateMessage up the window chain, the dialog keys.
// True swallows the event.
bool PreTranslateEvent(QObject* receiver, QEvent* event);

}  // namespace ui
