// The nested message loop of CMakeModal: it waits for posted messages and ends when told.

#include <gtest/gtest.h>

#include <thread>

#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/Window.h"
#include "widgets/MakeModal.h"

namespace {

// A window whose posted messages are counted; the third ends the waiting loop.
class LoopEndingWindow : public ui::Window {
public:
    explicit LoopEndingWindow(CMakeModal& modal) : modal_(modal) {}
    intptr_t OnMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) override
    {
        if (message != kMessage) return ui::Window::OnMessage(message, wParam, lParam);
        if (++received == 3) modal_.EndModalLoop();
        return 0;
    }
    static constexpr uint32_t kMessage = 0x0400 + 77;
    int received = 0;

private:
    CMakeModal& modal_;
};

TEST(MakeModalTest, RunsUntilEndedFromAMessage)
{
    ui::test::EnsureApplication();
    CMakeModal modal;
    LoopEndingWindow window(modal);
    ASSERT_TRUE(window.Create(nullptr, ui::DCRect{0, 0, 10, 10}));
    // Posted from another thread, as the network threads do; the loop waits for them.
    std::thread poster([&] {
        for (int i = 0; i < 5; ++i) window.PostMessage(LoopEndingWindow::kMessage);
    });
    modal.RunModalLoop();
    poster.join();
    EXPECT_TRUE(modal.IsDone());
    EXPECT_GE(window.received, 3);
    // A second run starts afresh and ends again.
    ui::Application::PumpMessages();
    window.received = 0;
    for (int i = 0; i < 3; ++i) window.PostMessage(LoopEndingWindow::kMessage);
    modal.RunModalLoop();
    EXPECT_EQ(window.received, 3);
    window.DestroyWindow();
}

}  // namespace
