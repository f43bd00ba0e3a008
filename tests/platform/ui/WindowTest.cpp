#include "UiFixture.h"

#include "platform/host/Beep.h"
#include "platform/host/WaitCursor.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/Window.h"

#include <QAbstractButton>
#include <QCursor>
#include <QWidget>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr uint32_t kMsgPing = ui::WM_USER + 4;

// Records the messages and timer ticks it receives, with the thread that ran them.
class Recorder : public ui::Window {
public:
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t) override
    {
        messages.push_back({message, wParam});
        onMainThread = onMainThread && std::this_thread::get_id() == mainThread;
        return 0;
    }
    void OnTimer(uint32_t id) override { ticks.push_back(id); }

    std::vector<std::pair<uint32_t, uintptr_t>> messages;
    std::vector<uint32_t> ticks;
    std::thread::id mainThread = std::this_thread::get_id();
    bool onMainThread = true;
};

// A modal dialog that ends itself from a posted message or a timer.
const ui::DialogTemplate kEmpty{100, "Empty", 0, 0, {{ui::Ctl::Button, ui::IDCANCEL, "Cancel"}}};

class SelfEnding : public ui::Dialog {
public:
    SelfEnding() : ui::Dialog(kEmpty) {}
    bool OnInitDialog() override
    {
        ui::Dialog::OnInitDialog();
        if (useTimer) {
            SetTimer(7, 10);
        } else {
            poster = std::thread([this]() {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                PostMessage(kMsgPing, 41);
            });
        }
        // A guard against a loop that never ends: the dialog gives up after five seconds.
        SetTimer(99, 5000);
        return true;
    }
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t) override
    {
        if (message == kMsgPing) {
            onMainThread = std::this_thread::get_id() == mainThread;
            EndDialog(static_cast<int>(wParam));
        }
        return 0;
    }
    void OnTimer(uint32_t id) override
    {
        if (id == 7) {
            KillTimer(7);
            const QCursor* c = QApplication::overrideCursor();
            shapeWhileOpen = c ? c->shape() : Qt::ArrowCursor;
            EndDialog(42);
        } else if (id == 99) {
            EndDialog(-1);
        }
    }
    ~SelfEnding() override
    {
        if (poster.joinable()) poster.join();
    }

    bool useTimer = false;
    bool onMainThread = false;
    Qt::CursorShape shapeWhileOpen = Qt::BlankCursor;
    std::thread poster;
    std::thread::id mainThread = std::this_thread::get_id();
};

using WindowTest = UiTest;

TEST_F(WindowTest, MessagesPostedFromThreadsArriveInOrderOnTheMainThread)
{
    Recorder window;
    std::thread a([&window]() {
        for (uintptr_t i = 0; i < 50; ++i) window.PostMessage(kMsgPing, i);
    });
    a.join();
    for (int tries = 0; tries < 100 && window.messages.size() < 50; ++tries)
        ui::Application::PumpMessages();
    ASSERT_EQ(window.messages.size(), 50u);
    for (uintptr_t i = 0; i < 50; ++i) EXPECT_EQ(window.messages[i].second, i);
    EXPECT_TRUE(window.onMainThread);
}

TEST_F(WindowTest, MessageForADestroyedWindowIsDropped)
{
    auto window = std::make_unique<Recorder>();
    window->PostMessage(kMsgPing, 1);
    window.reset();
    ui::Application::PumpMessages();  // must not touch the destroyed object
    SUCCEED();
}

TEST_F(WindowTest, PostedMessageIsHandledWhileAModalDialogRuns)
{
    SelfEnding dialog;
    EXPECT_EQ(dialog.DoModal(), 41);
    EXPECT_TRUE(dialog.onMainThread);
}

TEST_F(WindowTest, TimerFiresInsideAModalLoop)
{
    SelfEnding dialog;
    dialog.useTimer = true;
    EXPECT_EQ(dialog.DoModal(), 42);
}

TEST_F(WindowTest, ManualTimersFireOnlyWhenTheTestSaysSo)
{
    hooks->manualTimers = true;
    Recorder window;
    window.SetTimer(3, 1);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    ui::Application::PumpMessages();
    EXPECT_TRUE(window.ticks.empty());
    EXPECT_TRUE(ui::test::FireTimer(window, 3));
    EXPECT_EQ(window.ticks, std::vector<uint32_t>{3});
    EXPECT_TRUE(window.KillTimer(3));
    EXPECT_FALSE(ui::test::FireTimer(window, 3));
    EXPECT_FALSE(window.KillTimer(3));
}

// The platform's box: the style's buttons in order, the result the id of the one pressed.
TEST_F(WindowTest, MessageBoxStyleBitsGiveTheirButtonsAndResults)
{
    struct Case {
        uint32_t style;
        int buttons;
        int pressed;  // index of the button pressed
        int result;
    };
    const Case cases[] = {
        {ui::MB_OK, 1, 0, ui::IDOK},         {ui::MB_OKCANCEL, 2, 1, ui::IDCANCEL},
        {ui::MB_YESNO, 2, 0, ui::IDYES},     {ui::MB_YESNO, 2, 1, ui::IDNO},
        {ui::MB_YESNOCANCEL, 3, 2, ui::IDCANCEL}, {ui::MB_YESNOCANCEL, 3, 1, ui::IDNO},
    };
    for (const Case& c : cases) {
        int seen = -1;
        QTimer::singleShot(0, [&]() {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            const QList<QAbstractButton*> buttons = box->buttons();
            seen = static_cast<int>(buttons.size());
            const QStringList order = c.style == ui::MB_OK ? QStringList{"OK"}
                                    : c.style == ui::MB_OKCANCEL ? QStringList{"OK", "Cancel"}
                                    : c.style == ui::MB_YESNO ? QStringList{"&Yes", "&No"}
                                                              : QStringList{"&Yes", "&No", "Cancel"};
            for (QAbstractButton* b : buttons)
                if (b->text() == order[c.pressed]) b->click();
        });
        EXPECT_EQ(ui::MessageBox("Question?", c.style), c.result) << "style " << c.style;
        EXPECT_EQ(seen, c.buttons) << "style " << c.style;
    }
}

TEST_F(WindowTest, ScriptedMessageBoxesRecordTextsAndFlagTheUnexpected)
{
    hooks->scriptMessageBoxes = true;
    hooks->messageBoxAnswers = {ui::IDNO, ui::IDOK};
    EXPECT_EQ(ui::MessageBox("Continue?", ui::MB_YESNO), ui::IDNO);
    EXPECT_EQ(ui::MessageBox("Done.", ui::MB_OK), ui::IDOK);
    EXPECT_EQ(hooks->messageBoxTexts, (std::vector<std::string>{"Continue?", "Done."}));
    EXPECT_EQ(hooks->messageBoxes[0].style, ui::MB_YESNO);
    EXPECT_EQ(hooks->messageBoxes[0].caption, "Dorvalquintex");

    // Unexpected: answered with the first button and reported.
    EXPECT_EQ(ui::MessageBox("Surprise", ui::MB_YESNO), ui::IDYES);
    // An answer the box does not offer is reported too.
    hooks->messageBoxAnswers = {ui::IDYES};
    ui::MessageBox("Only OK", ui::MB_OK);
    ASSERT_EQ(hooks->failures.size(), 2u);
    EXPECT_NE(hooks->failures[0].find("Surprise"), std::string::npos);
    hooks->failures.clear();
}

}  // namespace

namespace {

Qt::CursorShape OverrideShape()
{
    const QCursor* c = QApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}

TEST_F(WindowTest, WaitCursorShowsFromFirstBeginToLastEndAlsoFromAThread)
{
    ASSERT_EQ(host::WaitCursorDepth(), 0);
    {
        host::WaitCursor outer;
        EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
        {
            host::WaitCursor inner;
            EXPECT_EQ(host::WaitCursorDepth(), 2);
        }
        EXPECT_EQ(OverrideShape(), Qt::WaitCursor) << "an inner end keeps it";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    host::EndWaitCursor();
    EXPECT_EQ(host::WaitCursorDepth(), 0) << "an end without a begin does nothing";

    {
        host::WaitCursor waiting;
        SelfEnding dialog;
        dialog.useTimer = true;
        EXPECT_EQ(dialog.DoModal(), 42);
        EXPECT_EQ(dialog.shapeWhileOpen, Qt::ArrowCursor) << "a dialog asks under the arrow";
        EXPECT_EQ(OverrideShape(), Qt::WaitCursor) << "and the wait cursor comes back";
    }
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    std::thread([] { host::BeginWaitCursor(); }).join();
    ui::Application::PumpMessages();
    EXPECT_EQ(OverrideShape(), Qt::WaitCursor);
    std::thread([] { host::EndWaitCursor(); }).join();
    ui::Application::PumpMessages();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(WindowTest, BeepsAreRecordedAndWindowsTakeTheirPointerShape)
{
    host::Beep(1000, 1000);
    EXPECT_EQ(hooks->beeps, (std::vector<std::pair<uint32_t, uint32_t>>{{1000, 1000}}));

    Recorder w;
    ASSERT_TRUE(w.Create(nullptr, {0, 0, 100, 100}, 0));
    EXPECT_EQ(w.GetCursorShape(), ui::CursorShape::Arrow);
    w.SetCursorShape(ui::CursorShape::SizeWE);
    EXPECT_EQ(w.GetCursorShape(), ui::CursorShape::SizeWE);
    EXPECT_EQ(w.GetWidget()->cursor().shape(), Qt::SizeHorCursor);
    w.SetCursorShape(ui::CursorShape::Arrow);
    EXPECT_EQ(w.GetCursorShape(), ui::CursorShape::Arrow);
}

}  // namespace
