#pragma once
// ui::Application: the program's one application object. app/ makes it first thing in main(),
// before any window; it owns the toolkit's application, the message loop and the program title
// that message boxes show as their caption.
//
// Right after the toolkit is up, LC_NUMERIC and LC_TIME are put back to "C" so that "%f" writes
// '.' and dates are English in every locale.

#include "platform/ui/Icon.h"
#include "platform/ui/Messages.h"

#include <functional>
#include <string>

namespace ui {

class Window;

class Application {
public:
    Application(int& argc, char** argv);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The one object, or null before it was made / after it was destroyed.
    static Application* Instance();

    // The program title: message-box caption and default window caption.
    void SetTitle(const std::string& title);
    const std::string& GetTitle() const { return title_; }
    // The icon of every window that sets none of its own.
    void SetIcon(const Icon& icon);

    // The main window: shown by Run; the loop ends when it is destroyed.
    void SetMainWindow(Window* window) { mainWindow_ = window; }
    Window* GetMainWindow() const { return mainWindow_; }

    // Runs the message loop until Quit (or the main window's destruction); returns the exit code.
    int Run();
    void Quit(int exitCode = 0);

    // Delivers every message waiting now (posted messages, timers, input, painting) and returns
    // without waiting for more. Safe to call from handlers; does nothing without the object.
    static void PumpMessages();
    // The same, with `filter` seeing every key and mouse-button message of the program first
    // (WM_KEYDOWN, WM_CHAR, WM_LBUTTONDOWN ...; Msg::window is the window it is bound for);
    // returning true swallows the message.
    static void PumpMessages(const std::function<bool(const Msg&)>& filter);
    // Delivers the messages waiting now except the user's input, which stays queued for later.
    static void PumpMessagesWithoutInput();

    // Runs a nested message loop that waits for messages and dispatches them until `done` gives
    // true (tested after each batch of messages) or the program quits. Returns false when it
    // ended because the program is quitting.
    static bool RunNestedLoop(const std::function<bool()>& done);
    // The loop of a modal top-level window: RunNestedLoop until `done`; under the test hooks'
    // dialog driver the next frame script runs instead (TestHooks.h).
    static bool RunModalWindow(Window& window, const std::function<bool()>& done);
    // True once Quit was called (or the main window was destroyed).
    static bool IsQuitting();

private:
    std::string title_;
    Window* mainWindow_ = nullptr;
    int exitCode_ = 0;
    bool quitting_ = false;
};

// The program title ("" without an application object).
std::string AppTitle();

}  // namespace ui
