#include "PromptsFixture.h"

#include "common/QuestionBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <string>
#include <vector>

namespace {

// Stands in for the open database: records each suspension call.
class FakeHold : public IRefreshHold {
public:
    void DisableRefreshOn(const std::string& label) override
    {
        calls.push_back("on " + label);
        ++depth;
    }
    void DisableRefreshOff(const std::string& label) override
    {
        calls.push_back("off " + label);
        --depth;
    }
    std::vector<std::string> calls;
    int depth = 0;
};

class QuestionBoxTest : public PromptsTest {
protected:
    void TearDown() override
    {
        SetRefreshHold(nullptr);
        PromptsTest::TearDown();
    }
};

TEST_F(QuestionBoxTest, StylesGiveTheirButtonIds)
{
    struct Case {
        uint32_t style;
        int answer;
    };
    const Case cases[] = {{MB_OK, IDOK},     {MB_OKCANCEL, IDCANCEL}, {MB_YESNO, IDYES},
                          {MB_YESNO, IDNO},  {MB_YESNOCANCEL, IDCANCEL}};
    for (const Case& c : cases) {
        hooks->messageBoxAnswers = {c.answer};
        EXPECT_EQ(GetResponse("Question?", c.style), c.answer);
        EXPECT_EQ(hooks->messageBoxes.back().style, c.style);
    }
    EXPECT_TRUE(hooks->failures.empty());
}

TEST_F(QuestionBoxTest, SuspendsTheRefreshWhileTheBoxIsUp)
{
    FakeHold hold;
    SetRefreshHold(&hold);
    hooks->messageBoxAnswers = {IDNO};
    EXPECT_EQ(GetResponse("Delete it?\r\nAre you sure?", MB_YESNO), IDNO);
    EXPECT_EQ(hold.calls, (std::vector<std::string>{
                              "on GetResponse entry, prompt:'Delete it?\r\nAre you sure?'",
                              "off GetResponse exit, prompt:'Delete it?\r\nAre you sure?'"}));
    EXPECT_EQ(hold.depth, 0);
    EXPECT_EQ(hooks->messageBoxTexts.back(), "Delete it?\r\nAre you sure?");  // shown as given
}

TEST_F(QuestionBoxTest, WithoutADatabaseOnlyShowsTheBox)
{
    hooks->messageBoxAnswers = {IDOK};
    EXPECT_EQ(GetResponse("Done."), IDOK);
    EXPECT_EQ(hooks->messageBoxTexts, std::vector<std::string>{"Done."});
}

// The real box: the refresh stays suspended while it waits, and ends even when the database
// closed meanwhile (its hold is then not touched again).
TEST_F(QuestionBoxTest, SuspensionEndsOnEveryPathOfARealBox)
{
    hooks->scriptMessageBoxes = false;
    FakeHold hold;
    SetRefreshHold(&hold);
    int depthWhileUp = -1;
    QTimer::singleShot(0, [&]() {
        depthWhileUp = hold.depth;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            for (QAbstractButton* b : box->buttons())
                if (b->text() == "&Yes") b->click();
    });
    EXPECT_EQ(GetResponse("Go on?", MB_YESNO), IDYES);
    EXPECT_EQ(depthWhileUp, 1);
    EXPECT_EQ(hold.depth, 0);

    // The database closes while the question is up.
    QTimer::singleShot(0, [&]() {
        SetRefreshHold(nullptr);
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            for (QAbstractButton* b : box->buttons())
                if (b->text() == "&No") b->click();
    });
    EXPECT_EQ(GetResponse("Go on?", MB_YESNO), IDNO);
    EXPECT_EQ(hold.depth, 1);  // the closed database is not called again
    EXPECT_EQ(hold.calls.size(), 3u);
}

}  // namespace
