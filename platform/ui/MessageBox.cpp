#include "platform/ui/MessageBox.h"

#include "platform/ui/Application.h"
#include "platform/ui/TestHooks.h"
#include "platform/ui/WindowImpl.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <utility>
#include <vector>

namespace ui {

namespace {

std::vector<int> ButtonsOf(uint32_t style)
{
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

// The answer of closing the box without a button: Cancel when offered, else No, else OK.
int EscapeAnswer(uint32_t style)
{
    const std::vector<int> buttons = ButtonsOf(style);
    for (int b : buttons)
        if (b == IDCANCEL) return b;
    for (int b : buttons)
        if (b == IDNO) return b;
    return buttons.front();
}

const char* ButtonText(int id)
{
    switch (id) {
    case IDOK: return "OK";
    case IDCANCEL: return "Cancel";
    case IDABORT: return "&Abort";
    case IDRETRY: return "&Retry";
    case IDIGNORE: return "&Ignore";
    case IDYES: return "&Yes";
    case IDNO: return "&No";
    default: return "";
    }
}

int Scripted(const std::string& text, const std::string& caption, uint32_t style)
{
    test::Hooks& hooks = test::GetHooks();
    int answer;
    if (hooks.messageBoxAnswers.empty()) {
        test::AddFailure("unexpected message box: \"" + text + "\"");
        answer = ButtonsOf(style).front();
    } else {
        answer = hooks.messageBoxAnswers.front();
        hooks.messageBoxAnswers.pop_front();
        if (!IsAnswerOfStyle(answer, style)) {
            test::AddFailure("scripted answer " + std::to_string(answer) +
                             " is not a button of the box \"" + text + "\"");
        }
    }
    hooks.messageBoxTexts.push_back(text);
    hooks.messageBoxes.push_back({text, caption, style, answer});
    return answer;
}

}  // namespace

bool IsAnswerOfStyle(int answer, uint32_t style)
{
    for (int b : ButtonsOf(style))
        if (b == answer) return true;
    return false;
}

int MessageBox(const std::string& text, uint32_t style, const std::string& caption,
               uint32_t help)
{
    (void)help;  // no help button: the platform's standard box shows none
    const std::string title = caption.empty() ? AppTitle() : caption;
    if (test::GetHooks().scriptMessageBoxes) return Scripted(text, title, style);
    if (!QApplication::instance()) return ButtonsOf(style).front();

    QString body = ToQ(text);
    body.replace("\r\n", "\n");
    QMessageBox box;
    box.setWindowTitle(ToQ(title));
    box.setText(body);
    switch (style & MB_ICONMASK) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
    default: break;
    }
    const std::vector<int> ids = ButtonsOf(style);
    std::vector<std::pair<QAbstractButton*, int>> buttons;
    for (int id : ids) {
        QPushButton* b = box.addButton(QString::fromLatin1(ButtonText(id)),
                                       id == EscapeAnswer(style) && ids.size() > 1
                                           ? QMessageBox::RejectRole
                                           : QMessageBox::AcceptRole);
        buttons.emplace_back(b, id);
    }
    const size_t def = (style & MB_DEFBUTTON2) && ids.size() > 1 ? 1 : 0;
    box.setDefaultButton(static_cast<QPushButton*>(buttons[def].first));
    box.setEscapeButton(buttons[ids.size() > 1 ? 0 : 0].first);
    for (auto& [b, id] : buttons)
        if (id == EscapeAnswer(style)) box.setEscapeButton(b);
    {
        ArrowWhileAsking arrow;
        box.exec();
    }
    QAbstractButton* clicked = box.clickedButton();
    for (auto& [b, id] : buttons)
        if (b == clicked) return id;
    return EscapeAnswer(style);
}

}  // namespace ui
