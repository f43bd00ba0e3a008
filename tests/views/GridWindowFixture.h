#pragma once
// The fixture of a grid window on the studio fixture: the studio saved and reopened, a main
// window the grid is opened from, and the grid closed (it deletes itself) after each test.

#include "tests/studio/StudioFixture.h"

#include "platform/ui/FrameWindow.h"
#include "platform/ui/TestHooks.h"

#include <memory>

template <class Grid>
class GridWindowTest : public StudioTest {
protected:
    void SetUp() override
    {
        StudioTest::SetUp();
        BuildStudio();
        Reopen();
        main_ = std::make_unique<ui::FrameWindow>();
        ASSERT_TRUE(main_->CreateFrame("main", {0, 0, 900, 700}));
        main_->ShowWindow(true);
    }
    void TearDown() override
    {
        if (grid_ && grid_->IsCreated()) grid_->SendCommand(30055);
        ui::test::DeleteDestroyedWindows();
        main_.reset();
        StudioTest::TearDown();
    }

    std::unique_ptr<ui::FrameWindow> main_;
    Grid* grid_ = nullptr;  // deletes itself
};
