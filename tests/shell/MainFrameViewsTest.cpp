// The main frame opens the list views with their menus, and the launcher's command closes them.

#include "shell/MainFrame.h"
#include "shell/ProgramState.h"
#include "tests/views/ViewsFixture.h"
#include "views/ContactView.h"
#include "views/StudentView.h"

#include <functional>
#include <memory>

namespace {

class MainFrameViewsTest : public ViewsTest {
protected:
    void SetUp() override
    {
        ViewsTest::SetUp();
        AddPerson("Smith", "Ann");
        AddPerson("SMALL", "Bo", 'C', 0);
        AddPerson("Asmith", "Al");
        AddPerson("Smith", "Ann", 'E');
    }
};

TEST_F(MainFrameViewsTest, OpensTheViewsWithTheirMenus)
{
    auto frame = std::make_unique<CMainFrame>();
    ASSERT_TRUE(frame->CreateMainFrame());
    MainFrame = frame.get();
    struct Case {
        int view;
        int menu;
        std::function<void()> open;
    };
    const Case cases[] = {
        {3, 105, [&] { frame->StudentView(db_.get()); }},
        {2, 106, [&] { frame->TeacherView(db_.get()); }},
        {8, 112, [&] { frame->InterviewView(db_.get()); }},
        {1, 103, [&] { frame->DatabaseView(db_.get(), 0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.view);
        c.open();
        EXPECT_EQ(frame->GetCurrentView(), c.view);
        EXPECT_EQ(frame->GetMenu().GetId(), c.menu);
        frame->ReturnToMainView();
        EXPECT_EQ(frame->GetCurrentView(), 0);
    }
    frame->StudentView(db_.get());
    auto* students = dynamic_cast<CStudentView*>(frame->GetViewObject(3));
    ASSERT_NE(students, nullptr);
    EXPECT_EQ(students->m_nMaxLines, 3);
    EXPECT_TRUE(frame->SendCommand(CContactView::kCmdMainView));
    EXPECT_EQ(frame->GetCurrentView(), 0);
    EXPECT_EQ(students->m_nMaxLines, 0);
    frame.reset();
    MainFrame = nullptr;
}

}  // namespace
