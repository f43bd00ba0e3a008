#pragma once
// ui::Window: the layer's window, in place of the framework's window class. A Window object is
// made first and its on-screen window later (Create, or a dialog building its controls), as in
// the framework; the object outlives nothing it owns: destroying it destroys the screen window.
//
// Handlers are virtual functions that derived classes override: OnCommand for commands and
// control notifications (WM_COMMAND), OnTimer, OnPaint, OnKeyDown / OnKeyUp, mouse, focus,
// OnSize, OnClose, OnDestroy, and OnMessage for everything else (posted messages, WM_USER + n).
// All of them run on the main thread.
//
// A dialog's control handed to a program class (Dialog::SubclassDlgItem) gets its paint, mouse,
// key and focus messages through these handlers too, after PreTranslateMessage. A handler that is
// not overridden, or whose override calls the base, leaves the message to the control's own
// behaviour (the framework's Default()): a class that overrides OnPaint draws the control itself,
// in client pixels, and its mouse handlers see the same coordinates.
//
// PostMessage may be called from any thread: the message joins one queue that the event loop
// delivers in order on the main thread, also inside modal dialogs and message boxes and in
// Application::PumpMessages. A message for a window destroyed meanwhile is dropped.

#include "platform/ui/DC.h"
#include "platform/ui/Icon.h"
#include "platform/ui/Messages.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class QWidget;

namespace ui {

class Dialog;

// Pointer shapes: the arrow, the left-right sizing arrows (IDC_SIZEWE), the hourglass, the
// four-headed arrow (IDC_SIZEALL).
enum class CursorShape { Arrow, SizeWE, Wait, SizeAll };

class Window {
public:
    Window();
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // Makes a plain child (or, with no parent, top-level) window with the given client rectangle.
    // Its painting comes from OnPaint. Returns false when there is no application object.
    bool Create(Window* parent, const DCRect& rect, int id = 0);
    // Destroys the screen window (OnDestroy runs first); the object stays usable for Create.
    void DestroyWindow();
    bool IsCreated() const;
    // The object deletes itself once its screen window is destroyed, after the handler that
    // destroyed it has returned (a frame made with new, as the framework's frames do). Whoever
    // sets it must not delete the object.
    void SetAutoDelete(bool autoDelete);

    // The control or command id (GetDlgCtrlID) and the parent window (none for top level).
    int GetDlgCtrlID() const { return id_; }
    void SetDlgCtrlID(int id) { id_ = id; }
    Window* GetParent() const { return parent_; }

    // Window text: the caption of a top-level window, the text of a control. Windows-1252.
    virtual void SetWindowText(const std::string& text);
    virtual std::string GetWindowText() const;

    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    // A top-level window shown maximised (Win32 SW_SHOWMAXIMIZED / IsZoomed).
    void ShowMaximized();
    bool IsZoomed() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetFocus();
    bool HasFocus() const;  // this window or one of its children has the keyboard focus

    // The colour of the window's text (a control's text, a label's caption), as the framework's
    // control-colour handler sets it; GetTextColor gives the colour in use.
    void SetTextColor(COLORREF colour);
    COLORREF GetTextColor() const;
    // The font of the window's text, which its controls take unless they have their own
    // (Win32 WM_SETFONT; a dialog template's font).
    void SetFont(const Font& font);
    // The colour the window's background is erased with (Win32: the class brush, or the answer
    // to WM_ERASEBKGND and WM_CTLCOLORDLG).
    void SetBackgroundColor(COLORREF colour);
    // Raises a top-level window to the top of the z-order and activates it.
    void BringWindowToTop();
    // The icon of a top-level window (title bar, task bar; Win32 WM_SETICON big and small: one
    // picture serves both here).
    void SetIcon(const Icon& icon, bool big);
    Icon GetIcon(bool big) const;
    bool IsIconic() const;  // minimised
    // The system menu's items that the program adds (the menu the window manager shows is not
    // ours): a separator for an empty text. The window shows them as its own small menu on a
    // right click on its background or Alt+Space; a choice reaches OnSysCommand.
    void AppendSystemMenuItem(uint32_t command, const std::string& text);
    const std::vector<std::pair<uint32_t, std::string>>& GetSystemMenuItems() const;
    // A system-menu command; true when handled. The base handles none.
    virtual bool OnSysCommand(uint32_t command);
    // The mouse pointer's shape over the window (Win32's class cursor and SetCursor).
    void SetCursorShape(CursorShape shape);
    CursorShape GetCursorShape() const;

    // Geometry in pixels: the client area (origin 0,0) and the window's place in its parent's
    // client area (or on the screen for a top-level window).
    DCRect GetClientRect() const;
    DCRect GetWindowRect() const;
    void MoveWindow(const DCRect& rect);
    void CenterWindow();

    // Requests a repaint: OnPaint runs from the event loop.
    void Invalidate();
    void UpdateWindow();  // paints now what is invalid

    // Per-window timers: OnTimer(id) every `ms` milliseconds until KillTimer. Setting an id again
    // restarts it. Tests can fire them (ui::test::FireTimer).
    void SetTimer(uint32_t id, uint32_t ms);
    bool KillTimer(uint32_t id);
    bool HasTimer(uint32_t id) const;

    // Queues a message for this window; safe from any thread. False when there is no
    // application object.
    bool PostMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);
    // Runs the message now on the calling (main) thread: PreTranslateMessage, then OnMessage.
    intptr_t SendMessage(uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

    // Handlers. OnCommand returns true when it handled the command; the default passes it on to
    // nothing and returns false.
    virtual bool OnCommand(int id, int code);
    virtual void OnTimer(uint32_t id);
    virtual void OnPaint(DC& dc);
    virtual intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam);
    // Key presses and releases that reach this window (not taken by a control); returns true
    // when handled. Auto-repeat sends further presses without releases.
    virtual bool OnKeyDown(int vk);
    virtual bool OnKeyUp(int vk);
    virtual bool OnChar(unsigned char ch);
    // The window (a control: the control itself) got or lost the keyboard focus. Opening a combo
    // box's list does not count as losing it.
    virtual void OnSetFocus();
    virtual void OnKillFocus();
    virtual void OnLButtonDown(int x, int y);
    virtual void OnLButtonUp(int x, int y);
    virtual void OnLButtonDblClk(int x, int y);
    virtual void OnRButtonDown(int x, int y);
    virtual void OnMouseMove(int x, int y);
    virtual void OnSize(int cx, int cy);
    virtual void OnShowWindow(bool show);
    // The close box of a top-level window; the default destroys it. Dialogs map it to IDCANCEL.
    virtual void OnClose();
    virtual void OnDestroy();
    // Sees key (down and up), character, mouse (buttons and moves) and posted messages bound for
    // this window (a dialog: for any of its controls) before they are handled; returns true to
    // swallow the message.
    virtual bool PreTranslateMessage(const Msg& msg);
    // A notification that this control sends its parent (CBN_SELCHANGE, EN_CHANGE, ...), offered
    // to the control first, as the framework reflects them; returns true to keep it from the
    // parent. The default returns false.
    virtual bool OnNotifyReflect(int code);

    // For the layer and for tests: the Qt widget behind the window (null before Create).
    QWidget* GetWidget() const;
    // The layer's identity of this object for messages queued from other threads.
    uint64_t GetSerial() const { return serial_; }
    // The layer's inside of a window (WindowImpl.h).
    struct Impl;

protected:
    // For window classes of the layer: takes ownership of a widget made by the derived class,
    // routes its events to the handlers above and makes it this window's screen window.
    void AttachWidget(QWidget* widget, Window* parent);

private:
    friend class Dialog;
    friend struct WindowAccess;
    std::unique_ptr<Impl> impl_;
    Window* parent_ = nullptr;
    int id_ = 0;
    uint64_t serial_;
};

// Queues a message for a window (null: dropped); same as window->PostMessage, from any thread.
bool PostMessage(Window* window, uint32_t message, uintptr_t wParam = 0, intptr_t lParam = 0);

}  // namespace ui
