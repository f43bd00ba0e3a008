#include "PromptsFixture.h"

#include "common/QuestionBox.h"
#include "widgets/DialogWaitBox.h"
#include "platform/ui/Window.h"

#include <vector>

namespace {

using WindowListTest = PromptsTest;

TEST_F(WindowListTest, RemoveFromWndList)
{
    struct Case {
        const char* what;
        std::vector<int> list;  // indexes into the windows below
        int remove;
        std::vector<int> after;
        bool message;
    };
    const Case cases[] = {
        {"top window", {0, 1, 2}, 2, {0, 1}, false},
        {"window below the top", {0, 1, 2}, 1, {0, 2}, true},
        {"empty list", {}, 0, {}, true},
        {"window not listed", {0, 1}, 2, {0, 1}, true},
    };
    ui::Window windows[3];
    for (const Case& c : cases) {
        ui::test::ResetHooks().scriptMessageBoxes = true;
        WndList().clear();
        for (int i : c.list) AddToWndList(&windows[i]);
        if (c.message) hooks->messageBoxAnswers = {IDOK};
        RemoveFromWndList(&windows[c.remove]);
        std::vector<ui::Window*> expected;
        for (int i : c.after) expected.push_back(&windows[i]);
        EXPECT_EQ(WndList(), expected) << c.what;
        EXPECT_EQ(hooks->messageBoxTexts,
                  c.message ? std::vector<std::string>{"Error in window sequence."}
                            : std::vector<std::string>{})
            << c.what;
    }
}

TEST_F(WindowListTest, EnableWndListEnablesAndDisablesEveryWindow)
{
    ui::Window windows[3];
    for (ui::Window& w : windows) {
        ASSERT_TRUE(w.Create(nullptr, {0, 0, 50, 50}));
        AddToWndList(&w);
    }
    EnableWndList(false);
    for (ui::Window& w : windows) EXPECT_FALSE(w.IsWindowEnabled());
    EnableWndList(true);
    for (ui::Window& w : windows) EXPECT_TRUE(w.IsWindowEnabled());
}

TEST_F(WindowListTest, WaitBoxTakesInputAloneUntilClosed)
{
    ui::Window frame;
    ASSERT_TRUE(frame.Create(nullptr, {0, 0, 50, 50}));
    AddToWndList(&frame);
    CDialogWaitBox* box = ShowWaitBox("Loading", true, 0);
    ASSERT_NE(box, nullptr);
    EXPECT_FALSE(frame.IsWindowEnabled());
    EXPECT_TRUE(box->IsWindowEnabled());
    EXPECT_EQ(WndList(), std::vector<ui::Window*>{&frame});  // never listed itself
    CloseWaitBox(box);
    EXPECT_TRUE(frame.IsWindowEnabled());

    EnableWndList(false);
    CloseWaitBox(nullptr);  // no box: still enables the windows
    EXPECT_TRUE(frame.IsWindowEnabled());
}

}  // namespace
