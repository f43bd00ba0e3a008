#include "PromptsFixture.h"

#include "common/QuestionBox.h"
#include "widgets/DialogWaitBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include <memory>

namespace {

class WaitBoxTest : public PromptsTest {
protected:
    std::unique_ptr<CDialogWaitBox> Open(bool abortable, int steps)
    {
        auto box = std::make_unique<CDialogWaitBox>("Working", abortable, steps, nullptr);
        EXPECT_TRUE(box->Create(nullptr));
        return box;
    }
    // Queues a key press for the box, as the keyboard would.
    static void QueueKey(CDialogWaitBox& box, int key)
    {
        QApplication::postEvent(box.GetWidget(), new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
        QApplication::postEvent(box.GetWidget(), new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier));
    }
};

TEST_F(WaitBoxTest, SixStepsKeepTheLastFive)
{
    auto box = Open(false, 6);
    for (const char* step : {"one", "two", "three", "four", "five", "six"}) box->SetStepText(step);
    EXPECT_EQ(box->GetDlgItemText(CDialogWaitBox::kMessageId),
              "two - DONE\nthree - DONE\nfour - DONE\nfive - DONE\nsix - WORKING");
    EXPECT_EQ(box->m_nStep, 6);
}

TEST_F(WaitBoxTest, SingleModeStepTextIsTheMessage)
{
    auto box = Open(false, 0);
    box->SetStepText("Reading");
    EXPECT_EQ(box->GetDlgItemText(CDialogWaitBox::kMessageId), "Reading");
    EXPECT_EQ(box->m_nStep, 0);
    box->SetMessage("Title");
    EXPECT_EQ(box->GetWindowText(), "Title");
}

TEST_F(WaitBoxTest, Percentages)
{
    {
        auto box = Open(false, 0);
        box->SetProgress(3);  // no total: nothing
        box->SetProgressWeighted(3);
        EXPECT_FALSE(box->m_bBarShown);

        box->SetPercent(-5.0f);
        EXPECT_EQ(box->m_strPercent, "-5.0");
        EXPECT_EQ(box->m_rcFilled.right, box->m_rcInner.left);  // empty bar
        box->SetPercent(150.0f);
        EXPECT_EQ(box->m_strPercent, "150.0");
        EXPECT_EQ(box->m_rcFilled.right, box->m_rcInner.right);  // full bar
        box->SetTotal(8);
        box->SetProgress(2);
        EXPECT_EQ(box->m_strPercent, "25.0");
    }
    {
        auto box = Open(false, 3);
        box->SetStepText("first");
        box->SetStepText("second");
        box->SetStepPercent(50.0f);
        EXPECT_EQ(box->m_strPercent, "50.0");
        box->SetTotal(4);
        box->SetProgress(1);
        EXPECT_EQ(box->m_strPercent, "41.7");
    }
}

TEST_F(WaitBoxTest, WeightedProgressNeverGoesBack)
{
    auto box = Open(false, 0);
    box->SetTotal(10);
    box->m_aWeights = {1.0f, 3.0f};
    box->m_aOffsets = {0.0f, 1.0f};
    box->m_fWeightSum = 4.0;
    box->m_bWeighted = 1;
    box->m_nWeightStep = 1;
    box->SetProgressWeighted(10);  // (3 * 1 + 1) / 4 = 100 %
    EXPECT_EQ(box->m_strPercent, "100.0");
    box->m_nWeightStep = 0;
    box->SetProgressWeighted(5);  // 12.5 % would go back
    EXPECT_EQ(box->m_strPercent, "100.0");
    box->m_nWeightStep = 7;  // beyond the tables: plain fraction, still not backwards
    box->SetProgressWeighted(1);
    EXPECT_EQ(box->m_strPercent, "100.0");
}

TEST_F(WaitBoxTest, EscapeAsksOnceAndYesCancels)
{
    auto box = Open(true, 0);
    hooks->messageBoxAnswers = {IDNO};
    QueueKey(*box, Qt::Key_Escape);
    EXPECT_EQ(box->PumpMessages(), 0);  // No: the operation goes on
    hooks->messageBoxAnswers = {IDYES};
    QueueKey(*box, Qt::Key_Escape);
    box->SetTotal(10);
    EXPECT_EQ(box->SetProgress(1), 1);
    QueueKey(*box, Qt::Key_Escape);  // already cancelled: not asked again
    EXPECT_EQ(box->PumpMessages(), 1);
    EXPECT_EQ(hooks->messageBoxTexts,
              (std::vector<std::string>{"Are you sure you want to abort operation?\n",
                                        "Are you sure you want to abort operation?\n"}));
}

TEST_F(WaitBoxTest, AbortButtonPressAndClickAskOnce)
{
    auto box = Open(true, 0);
    hooks->messageBoxAnswers = {IDYES};
    QWidget* button = box->GetDlgItem(CDialogWaitBox::kAbortId)->GetWidget();
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(box->GetDlgItem(CDialogWaitBox::kAbortId)->IsWindowVisible());
    const QPointF at(3, 3);
    QApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonPress, at, button->mapToGlobal(at),
                                                    Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QApplication::postEvent(button, new QMouseEvent(QEvent::MouseButtonRelease, at, button->mapToGlobal(at),
                                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
    EXPECT_EQ(box->PumpMessages(), 1);
    ui::Application::PumpMessages();
    EXPECT_EQ(hooks->messageBoxTexts.size(), 1u);
}

TEST_F(WaitBoxTest, NotAbortableHidesTheButton)
{
    auto box = Open(false, 0);
    EXPECT_FALSE(box->GetDlgItem(CDialogWaitBox::kAbortId)->IsWindowVisible());
    EXPECT_TRUE(box->IsWindowVisible());
}

}  // namespace
