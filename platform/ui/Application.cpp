#include "platform/ui/Application.h"

#include "platform/host/Beep.h"
#include "platform/host/UserPrompt.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/Window.h"
#include "platform/ui/WindowImpl.h"

#include <QApplication>
#include <QCursor>
#include <QIcon>
#include <QThread>
#include <QWidget>

#include <clocale>

namespace ui {

namespace {

Application* g_app = nullptr;

// Qt's application with the layer's look at each key and mouse event before it is delivered:
// here, unlike in an event filter, an event that a control ignores and Qt passes on to the
// control's parents is seen once, as Win32 queues one message.
class LayerApplication : public QApplication {
public:
    LayerApplication(int& argc, char** argv) : QApplication(argc, argv) {}
    bool notify(QObject* receiver, QEvent* event) override
    {
        if (receiver && event && PreTranslateEvent(receiver, event)) return true;
        return QApplication::notify(receiver, event);
    }
};

QApplication* g_qapp = nullptr;

int PromptWithMessageBox(const std::string& text, uint32_t style, uint32_t help)
{
    return MessageBox(text, style, AppTitle(), help);
}

// The override cursor belongs to the main thread; a call from elsewhere is queued to it.
void ShowWaitCursor(bool show)
{
    if (!g_qapp) return;
    const auto apply = [show] {
        if (show) QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        else QApplication::restoreOverrideCursor();
    };
    if (QThread::currentThread() == g_qapp->thread()) apply();
    else QMetaObject::invokeMethod(g_qapp, apply, Qt::QueuedConnection);
}

void SoundBeep(uint32_t frequency, uint32_t durationMs)
{
    if (QThread::currentThread() != g_qapp->thread()) return;
    test::GetHooks().beeps.emplace_back(frequency, durationMs);
    QApplication::beep();
}

}  // namespace

Application::Application(int& argc, char** argv)
{
    g_qapp = new LayerApplication(argc, argv);
    // Numbers and dates are the same in every locale.
    std::setlocale(LC_NUMERIC, "C");
    std::setlocale(LC_TIME, "C");
    QApplication::setQuitOnLastWindowClosed(false);
    InstallLayerHooks();
    g_app = this;
    host::SetPromptFunction(&PromptWithMessageBox);
    host::SetWaitCursorFunction(&ShowWaitCursor);
    host::SetBeepFunction(&SoundBeep);
}

Application::~Application()
{
    host::SetPromptFunction(nullptr);
    host::SetWaitCursorFunction(nullptr);
    host::SetBeepFunction(nullptr);
    g_app = nullptr;
    delete g_qapp;
    g_qapp = nullptr;
}

Application* Application::Instance() { return g_app; }

void Application::SetTitle(const std::string& title)
{
    title_ = title;
    QApplication::setApplicationName(ToQ(title));
}

void Application::SetIcon(const Icon& icon)
{
    if (icon.Get()) QApplication::setWindowIcon(*icon.Get());
}

int Application::Run()
{
    if (mainWindow_ && mainWindow_->GetWidget()) {
        QObject::connect(mainWindow_->GetWidget(), &QObject::destroyed, QApplication::instance(),
                         [this]() { Quit(0); });
        mainWindow_->ShowWindow(true);
    }
    exitCode_ = QApplication::exec();
    return exitCode_;
}

void Application::Quit(int exitCode)
{
    exitCode_ = exitCode;
    quitting_ = true;
    QApplication::exit(exitCode);
}

void Application::PumpMessages()
{
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void Application::PumpMessagesWithoutInput()
{
    if (!QCoreApplication::instance()) return;
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Application::PumpMessages(const std::function<bool(const Msg&)>& filter)
{
    PushMessageFilter(filter);
    PumpMessages();
    PopMessageFilter();
}

bool Application::IsQuitting() { return g_app && g_app->quitting_; }

bool Application::RunNestedLoop(const std::function<bool()>& done)
{
    if (!QCoreApplication::instance()) return false;
    while (!done()) {
        if (IsQuitting()) return false;
        // Blocks until messages arrive, then dispatches what is there.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
    return true;
}

bool Application::RunModalWindow(Window& window, const std::function<bool()>& done)
{
    test::Hooks& hooks = test::GetHooks();
    if (hooks.driveDialogs) {
        if (hooks.frameScripts.empty()) {
            test::AddFailure("unexpected modal window \"" + window.GetWindowText() + "\"");
            return true;
        }
        auto script = std::move(hooks.frameScripts.front());
        hooks.frameScripts.pop_front();
        script(window);
        if (!done()) test::AddFailure("script left modal window open");
        return true;
    }
    return RunNestedLoop(done);
}

std::string AppTitle() { return g_app ? g_app->GetTitle() : std::string(); }

}  // namespace ui
