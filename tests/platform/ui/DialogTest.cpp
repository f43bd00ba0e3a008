#include "UiFixture.h"

#include "platform/ui/EditBox.h"
#include "platform/ui/FrameWindow.h"
#include "platform/ui/MessageBox.h"
#include "platform/ui/PropertyPage.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/RadioButton.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <QWidget>

#include <vector>

namespace {

const ui::DialogTemplate kNumbers{301, "Numbers", 0, 0, {
    {ui::Ctl::Label, -1, "Number"},
    {ui::Ctl::Edit, 1086},
    {ui::Ctl::Label, -1, "Price"},
    {ui::Ctl::Edit, 1003},
    {ui::Ctl::Label, -1, "Duration"},
    {ui::Ctl::Edit, 1013},
    {ui::Ctl::Label, -1, "Level"},
    {ui::Ctl::Edit, 1020},
    {ui::Ctl::Radio, 1212, "Check"},
    {ui::Ctl::Radio, 1133, "Credit card"},
    {ui::Ctl::Radio, 1132, "Cash"},
    {ui::Ctl::Button, 1005, "Print"},
    {ui::Ctl::DefButton, 1000, "OK"},
    {ui::Ctl::Button, ui::IDCANCEL, "Cancel"},
}};

class NumbersDialog : public ui::Dialog {
public:
    NumbersDialog() : ui::Dialog(kNumbers) {}

    void DoDataExchange(ui::DataExchange& dx) override
    {
        dx.Text(1086, number);
        dx.Text(1003, price);
        dx.Text(1013, duration);
        dx.Text(1020, level);
        dx.MinMax(1020, level, 1, 9);
        dx.Radio({{1212, 'C'}, {1133, 'R'}, {1132, 'A'}}, method);
    }
    bool OnCommand(int id, int code) override
    {
        if (code == ui::BN_CLICKED) commands.push_back(id);
        if (id == 1000 && code == ui::BN_CLICKED) {
            OnOK();
            return true;
        }
        return ui::Dialog::OnCommand(id, code);
    }
    bool PreTranslateMessage(const ui::Msg& msg) override
    {
        return swallowF5 && msg.message == ui::WM_KEYDOWN && msg.wParam == ui::VK_F5;
    }

    int number = 5;
    double price = 12.5;
    unsigned duration = 30;
    int level = 3;
    char method = 'R';
    bool swallowF5 = false;
    std::vector<int> commands;  // clicked commands, in order
};

using DialogTest = UiTest;

TEST_F(DialogTest, DataExchangeLoadsTheControls)
{
    hooks->driveDialogs = true;
    hooks->dialogScripts.push_back([](ui::Dialog& d) {
        EXPECT_EQ(d.GetDlgItemText(1086), "5");
        EXPECT_EQ(d.GetDlgItemText(1003), "12.5");
        EXPECT_EQ(d.GetDlgItemText(1013), "30");
        EXPECT_EQ(d.IsDlgButtonChecked(1133), 1);
        EXPECT_EQ(d.IsDlgButtonChecked(1212), 0);
        EXPECT_EQ(d.GetFocusId(), 1086);  // the first control that takes the focus
        d.EndDialog(ui::IDCANCEL);
    });
    NumbersDialog dialog;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(hooks->dialogsRun, std::vector<int>{301});
}

// A text that does not parse keeps the dialog open with the framework's message and the focus on
// the control; the members keep their values.
TEST_F(DialogTest, ValidationFailureKeepsTheDialogOpen)
{
    struct Case {
        int id;
        const char* text;
        const char* message;
    };
    const Case cases[] = {
        {1086, "abc", "Please enter an integer."},
        {1086, "12x", "Please enter an integer."},
        {1003, "1.2.3", "Please enter a number."},
        {1003, "", "Please enter a number."},
        {1013, "-4", "Please enter a positive integer."},
        {1013, "four", "Please enter a positive integer."},
        {1020, "12", "Please enter an integer between 1 and 9."},
        {1020, "0", "Please enter an integer between 1 and 9."},
    };
    for (const Case& c : cases) {
        ui::test::ResetHooks();
        hooks->driveDialogs = true;
        hooks->scriptMessageBoxes = true;
        hooks->messageBoxAnswers = {ui::IDOK};
        hooks->dialogScripts.push_back([&c](ui::Dialog& d) {
            ui::test::SetText(d, c.id, c.text);
            ui::test::Focus(d, 1005);
            ui::test::Click(d, 1000);
            EXPECT_FALSE(d.HasEnded()) << c.text;
            EXPECT_EQ(d.GetFocusId(), c.id) << c.text;
            d.EndDialog(ui::IDCANCEL);
        });
        NumbersDialog dialog;
        EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL) << c.text;
        EXPECT_EQ(hooks->messageBoxTexts, std::vector<std::string>{c.message}) << c.text;
        EXPECT_EQ(dialog.number, 5);
    }
}

TEST_F(DialogTest, ValidValuesAreStoredOnOK)
{
    hooks->driveDialogs = true;
    hooks->dialogScripts.push_back([](ui::Dialog& d) {
        ui::test::SetText(d, 1086, " -17 ");
        ui::test::SetText(d, 1003, "99.95");
        ui::test::SetText(d, 1013, "45");
        ui::test::SetText(d, 1020, "9");
        ui::test::Click(d, 1132);
        ui::test::Click(d, 1000);
    });
    NumbersDialog dialog;
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(dialog.number, -17);
    EXPECT_DOUBLE_EQ(dialog.price, 99.95);
    EXPECT_EQ(dialog.duration, 45u);
    EXPECT_EQ(dialog.level, 9);
    EXPECT_EQ(dialog.method, 'A');
}

TEST_F(DialogTest, RadioGroupMayHaveNoneChecked)
{
    hooks->driveDialogs = true;
    hooks->dialogScripts.push_back([](ui::Dialog& d) {
        for (int id : {1212, 1133, 1132}) EXPECT_EQ(d.IsDlgButtonChecked(id), 0);
        ui::test::Click(d, 1000);
    });
    NumbersDialog dialog;
    dialog.method = 'X';  // no button has this letter
    EXPECT_EQ(dialog.DoModal(), ui::IDOK);
    EXPECT_EQ(dialog.method, 'X');
}

TEST_F(DialogTest, EnterAndEscape)
{
    struct Case {
        const char* what;
        int focus;  // control with the focus
        int vk;
        int command;  // first command the dialog receives
        int result;
    };
    const Case cases[] = {
        {"Enter in an edit clicks the default button", 1086, ui::VK_RETURN, 1000, ui::IDOK},
        {"Enter on a push button clicks it", 1005, ui::VK_RETURN, 1005, -1},
        {"Escape cancels", 1086, ui::VK_ESCAPE, ui::IDCANCEL, ui::IDCANCEL},
    };
    for (const Case& c : cases) {
        ui::test::ResetHooks();
        hooks->driveDialogs = true;
        hooks->dialogScripts.push_back([&c](ui::Dialog& d) {
            ui::test::Focus(d, c.focus);
            ui::test::PressKey(d, c.vk);
            if (!d.HasEnded()) d.EndDialog(-1);
        });
        NumbersDialog dialog;
        EXPECT_EQ(dialog.DoModal(), c.result) << c.what;
        ASSERT_FALSE(dialog.commands.empty()) << c.what;
        EXPECT_EQ(dialog.commands.front(), c.command) << c.what;
    }
}

TEST_F(DialogTest, CloseBoxGivesCancelAndPreTranslateSeesKeysFirst)
{
    hooks->driveDialogs = true;
    hooks->dialogScripts.push_back([](ui::Dialog& d) {
        auto& numbers = static_cast<NumbersDialog&>(d);
        numbers.swallowF5 = true;
        ui::test::Focus(d, 1086);
        ui::test::PressKey(d, ui::VK_F5);
        EXPECT_TRUE(numbers.commands.empty());
        ui::test::CloseBox(d);
    });
    NumbersDialog dialog;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(dialog.commands, std::vector<int>{ui::IDCANCEL});
}

TEST_F(DialogTest, DisabledDefaultButtonIgnoresEnter)
{
    hooks->driveDialogs = true;
    hooks->dialogScripts.push_back([](ui::Dialog& d) {
        d.EnableDlgItem(1000, false);
        ui::test::Focus(d, 1086);
        ui::test::PressKey(d, ui::VK_RETURN);
        EXPECT_FALSE(d.HasEnded());
        d.EndDialog(ui::IDCANCEL);
    });
    NumbersDialog dialog;
    EXPECT_EQ(dialog.DoModal(), ui::IDCANCEL);
    EXPECT_TRUE(dialog.commands.empty());
}

// A dialog opening another: the nested one takes the next script.
class Opener : public ui::Dialog {
public:
    Opener() : ui::Dialog(kNumbers) {}
    bool OnCommand(int id, int code) override
    {
        if (id == 1005 && code == ui::BN_CLICKED) {
            NumbersDialog inner;
            innerResult = inner.DoModal();
            return true;
        }
        return ui::Dialog::OnCommand(id, code);
    }
    int innerResult = 0;
};

TEST_F(DialogTest, NestedDialogsTakeTheNextScript)
{
    hooks->driveDialogs = true;
    std::vector<std::string> order;
    hooks->dialogScripts.push_back([&order](ui::Dialog& d) {
        order.push_back("outer");
        ui::test::Click(d, 1005);
        order.push_back("outer again");
        d.EndDialog(ui::IDOK);
    });
    hooks->dialogScripts.push_back([&order](ui::Dialog& d) {
        order.push_back("inner");
        d.EndDialog(77);
    });
    Opener outer;
    EXPECT_EQ(outer.DoModal(), ui::IDOK);
    EXPECT_EQ(outer.innerResult, 77);
    EXPECT_EQ(order, (std::vector<std::string>{"outer", "inner", "outer again"}));
}

TEST_F(DialogTest, UnexpectedDialogsAndScriptsThatLeaveThemOpenAreReported)
{
    hooks->driveDialogs = true;
    NumbersDialog first;
    EXPECT_EQ(first.DoModal(), ui::IDCANCEL);
    hooks->dialogScripts.push_back([](ui::Dialog&) {});
    NumbersDialog second;
    EXPECT_EQ(second.DoModal(), ui::IDCANCEL);
    ASSERT_EQ(hooks->failures.size(), 2u);
    EXPECT_NE(hooks->failures[0].find("unexpected dialog 301"), std::string::npos);
    EXPECT_NE(hooks->failures[1].find("left open"), std::string::npos);
    hooks->failures.clear();
}

TEST_F(DialogTest, LifeHookRunsOnceAtCreationAndOnceAtDestruction)
{
    std::vector<std::pair<int, bool>> events;
    ui::SetDialogLifeHook([&events](ui::Dialog& d, bool created) {
        events.emplace_back(d.GetTemplateId(), created);
    });
    {
        NumbersDialog modeless;
        ASSERT_TRUE(modeless.Create());
        modeless.ShowWindow(false);
        modeless.ShowWindow(true);
        modeless.ShowWindow(false);
        EXPECT_EQ(events, (std::vector<std::pair<int, bool>>{{301, true}}));
    }
    EXPECT_EQ(events, (std::vector<std::pair<int, bool>>{{301, true}, {301, false}}));

    events.clear();
    hooks->driveDialogs = true;
    hooks->dialogScripts.push_back([&events](ui::Dialog& d) {
        EXPECT_EQ(events.size(), 1u);
        d.EndDialog(ui::IDOK);
    });
    NumbersDialog modal;
    modal.DoModal();
    EXPECT_EQ(events, (std::vector<std::pair<int, bool>>{{301, true}, {301, false}}));
}

// ---- Property sheets ----------------------------------------------------------------------------

const ui::DialogTemplate kPageOne{401, "First", 0, 0, {
    {ui::Ctl::Label, -1, "Count"},
    {ui::Ctl::Edit, 1101},
}};
const ui::DialogTemplate kPageTwo{402, "Second", 0, 0, {
    {ui::Ctl::CheckBox, 1201, "Flag"},
}};

class CountPage : public ui::PropertyPage {
public:
    CountPage() : ui::PropertyPage(kPageOne) {}
    bool OnInitDialog() override
    {
        ++inits;
        return ui::PropertyPage::OnInitDialog();
    }
    void DoDataExchange(ui::DataExchange& dx) override { dx.Text(1101, count); }
    bool OnKillActive() override
    {
        ++kills;
        if (!ui::PropertyPage::OnKillActive()) return false;
        return count > 0;  // refuses to be left while the count is not positive
    }
    void OnOK() override { ++oks; }

    int count = 0;
    int inits = 0;
    int kills = 0;
    int oks = 0;
};

class FlagPage : public ui::PropertyPage {
public:
    FlagPage() : ui::PropertyPage(kPageTwo) {}
    bool OnInitDialog() override
    {
        ++inits;
        return ui::PropertyPage::OnInitDialog();
    }
    int inits = 0;
};

TEST_F(DialogTest, PropertySheetPageRefusesToBeLeft)
{
    CountPage one;
    FlagPage two;
    hooks->driveDialogs = true;
    hooks->dialogScripts.push_back([&](ui::Dialog& d) {
        auto& sheet = static_cast<ui::PropertySheet&>(d);
        EXPECT_EQ(one.inits, 1);
        EXPECT_EQ(two.inits, 0);  // not made until first shown
        EXPECT_FALSE(two.IsPageCreated());

        // The user clicks the second tab: the first page refuses.
        auto* tabs = d.GetWidget()->findChild<QTabBar*>();
        ASSERT_NE(tabs, nullptr);
        tabs->setCurrentIndex(1);
        EXPECT_EQ(sheet.GetActiveIndex(), 0);
        EXPECT_EQ(tabs->currentIndex(), 0);
        EXPECT_EQ(two.inits, 0);

        // OK is refused the same way.
        ui::test::Click(d, ui::IDOK);
        EXPECT_FALSE(d.HasEnded());

        ui::test::SetText(*sheet.GetPage(0), 1101, "3");
        tabs->setCurrentIndex(1);
        EXPECT_EQ(sheet.GetActiveIndex(), 1);
        EXPECT_EQ(two.inits, 1);
        EXPECT_TRUE(sheet.SetActivePage(0));
        EXPECT_TRUE(sheet.SetActivePage(1));
        EXPECT_EQ(two.inits, 1);  // made once
        ui::test::Click(d, ui::IDOK);
    });
    ui::PropertySheet sheet("Person data");
    sheet.AddPage(&one);
    sheet.AddPage(&two);
    EXPECT_EQ(sheet.DoModal(), ui::IDOK);
    EXPECT_EQ(one.count, 3);
    EXPECT_EQ(one.oks, 1);
    EXPECT_FALSE(one.IsPageCreated());  // the pages' windows went with the sheet's
}

TEST_F(DialogTest, PropertySheetEscapeCancels)
{
    CountPage one;
    hooks->driveDialogs = true;
    hooks->dialogScripts.push_back([](ui::Dialog& d) {
        auto& sheet = static_cast<ui::PropertySheet&>(d);
        ui::test::Focus(*sheet.GetPage(0), 1101);
        ui::test::PressKey(d, ui::VK_ESCAPE);
    });
    ui::PropertySheet sheet("Person data");
    sheet.AddPage(&one);
    EXPECT_EQ(sheet.DoModal(), ui::IDCANCEL);
    EXPECT_EQ(one.oks, 0);
}

}  // namespace

namespace {

TEST_F(DialogTest, DialogWithoutOwnerOpensCentredOverTheMainWindow)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ui::FrameWindow frame;
    struct Case {
        ui::DCRect rect;
        bool inside;  // the frame lies on the screen, so the dialog is centred over it
    } cases[] = {
        {{screen.left() + 40, screen.top() + 30, screen.left() + 640, screen.top() + 480}, true},
        {{screen.left() - 500, screen.top() + 10, screen.left() + 100, screen.top() + 460}, false},
    };
    ASSERT_TRUE(frame.CreateFrame("Studio", cases[0].rect));
    ui::Application::Instance()->SetMainWindow(&frame);
    for (const Case& c : cases) {
        frame.MoveWindow(c.rect);
        frame.ShowWindow(true);
        frame.GetWidget()->activateWindow();
        ui::Application::PumpMessages();
        NumbersDialog dialog;
        ASSERT_TRUE(dialog.Create(nullptr));
        QWidget* widget = dialog.GetWidget();
        ASSERT_EQ(widget->parentWidget(), frame.GetWidget()) << "the main window owns it";
        dialog.CenterWindow();
        const QRect d = widget->frameGeometry();
        const QRect f = frame.GetWidget()->frameGeometry();
        if (c.inside) {
            EXPECT_LE(std::abs(d.center().x() - f.center().x()), 1);
            EXPECT_LE(std::abs(d.center().y() - f.center().y()), 1);
        } else {
            EXPECT_GE(d.left(), screen.left()) << "kept on the screen";
            EXPECT_GE(d.top(), screen.top());
        }
        dialog.DestroyWindow();
    }
    ui::Application::Instance()->SetMainWindow(nullptr);
}

}  // namespace

namespace {

TEST(MessageBoxText, BreaksInsideAParagraphBecomeBlanks)
{
    struct Case {
        std::string text;
        std::string shown;
    } cases[] = {
        // Broken mid-sentence for a narrow box: one paragraph.
        {"This computer is acting as lock manager to coordinate operations of the 2 other\nusers "
         "apparently using the database. The operation you have selected will close the\r\ndatabase.",
         "This computer is acting as lock manager to coordinate operations of the 2 other users "
         "apparently using the database. The operation you have selected will close the database."},
        {"floor use),\nsome sources of new business (newspaper ad, yellow pages), and a\nnumber of tax "
         "categories.",
         "floor use),\nsome sources of new business (newspaper ad, yellow pages), and a number of tax "
         "categories."},
        // Sentences on lines of their own, short lines, capitals and blank lines stay as written.
        {"This is the last resort operation to recover a trashed database.\nYou should do a backup.",
         "This is the last resort operation to recover a trashed database.\nYou should do a backup."},
        {"Name\nphone", "Name\nphone"},
        {"Files copied to the backup folder of the studio\nDorvalquintex.dbs",
         "Files copied to the backup folder of the studio\nDorvalquintex.dbs"},
        {"A paragraph that ends without a stop here\n\nnext paragraph", "A paragraph that ends without a stop here\n\nnext paragraph"},
        {"Line ends with a colon so a list follows:\nfirst item", "Line ends with a colon so a list follows:\nfirst item"},
        {"", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(ui::JoinWrappedLines(c.text), c.shown) << c.text;
}

}  // namespace
